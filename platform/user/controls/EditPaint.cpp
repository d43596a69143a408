// Edit engine: painting the visible lines with their formats and the selection, and keeping the caret placed.
#include "platform/user/controls/EditEngine.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/SavedDc.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/Caret.h"
#include "platform/user/controls/EditConstants.h"

#include <algorithm>

namespace korvex::user::edit {

namespace {

struct Colours {
    HBRUSH Back = nullptr;
    bool OwnBack = false;
    COLORREF Text = 0;
};

}   // namespace

void EditControl::Invalidate() {
    InvalidateRect(FHwnd, nullptr, false);
}

void EditControl::InvalidateRange(int start, int end) {
    if (end < start) std::swap(start, end);
    int lh = LineHeight();
    int first = LineOfPos(start);
    int last = LineOfPos(end);
    int visibleEnd = FTopLine + VisibleLines() + 1;
    if (last < FTopLine || first > visibleEnd) return;
    first = std::max(first, FTopLine);
    last = std::min(last, visibleEnd);
    RECT client {};
    GetClientRect(FHwnd, &client);
    RECT r {client.left, FRect.top + (first - FTopLine) * lh, client.right, FRect.top + (last - FTopLine + 1) * lh};
    InvalidateRect(FHwnd, &r, false);
}

void EditControl::UpdateCaret() {
    if (!FFocused) return;
    POINT p = PosFromChar(FCaret);
    SetCaretPos(p.x, p.y);
}

void EditControl::Paint(HDC dc, const RECT& update) {
    RECT client {};
    GetClientRect(FHwnd, &client);
    bool enabled = IsWindowEnabled(FHwnd);
    Colours colours;
    if (FRich) {
        COLORREF back = FHasBack ? FBackColor : gdi::GetSysColor(gdi::COLOR_WINDOW);
        colours.Back = gdi::CreateSolidBrush(back);
        colours.OwnBack = true;
        colours.Text = gdi::GetSysColor(enabled ? gdi::COLOR_WINDOWTEXT : gdi::COLOR_GRAYTEXT);
    } else {
        // The parent picks the colours: WM_CTLCOLORSTATIC for a read-only or disabled edit.
        bool grey = ReadOnly() || !enabled;
        gdi::SetTextColor(dc, gdi::GetSysColor(gdi::COLOR_WINDOWTEXT));
        gdi::SetBkColor(dc, gdi::GetSysColor(grey ? gdi::COLOR_BTNFACE : gdi::COLOR_WINDOW));
        HWND parent = GetParent(FHwnd);
        if (parent)
            colours.Back = reinterpret_cast<HBRUSH>(
                SendMessage(parent, grey ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, WPARAM(dc), LPARAM(FHwnd)));
        if (!IsWindow(FHwnd) || Dead()) return;
        if (!colours.Back) colours.Back = gdi::GetSysColorBrush(grey ? gdi::COLOR_BTNFACE : gdi::COLOR_WINDOW);
        colours.Text = enabled ? gdi::GetTextColor(dc) : gdi::GetSysColor(gdi::COLOR_GRAYTEXT);
    }
    gdi::FillRect(dc, &client, colours.Back);

    gdi::SavedDc saved(dc);
    RECT clip {};
    gdi::IntersectRect(&clip, &FRect, &client);
    gdi::IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    gdi::SetBkMode(dc, gdi::TRANSPARENT);
    bool showSel = (FFocused || (Style() & ES_NOHIDESEL)) && !FHideSelection;
    int selStart = showSel ? SelStart() : 0;
    int selEnd = showSel ? SelEnd() : 0;
    HBRUSH highlight = gdi::GetSysColorBrush(gdi::COLOR_HIGHLIGHT);
    COLORREF highlightText = gdi::GetSysColor(gdi::COLOR_HIGHLIGHTTEXT);
    int lh = LineHeight();
    int lines = LineCount();
    int bottom = std::min<int>(FRect.bottom, update.bottom);
    for (int line = FTopLine; line < lines; ++line) {
        int y = FRect.top + (line - FTopLine) * lh;
        if (y >= bottom) break;
        if (y + lh <= update.top) continue;
        LineRef ref = Line(line);
        int base = FRect.left - FXOffset + LineX(ref);
        int paraStart = ParaStart(ref.Para);
        const std::string_view text = ParaText(ref.Para);
        // Segments of one format and one selection state, drawn in one call.
        int segFormat = -1;
        bool segSelected = false;
        std::size_t segBegin = 0;
        std::size_t segEnd = 0;
        int segX = 0;
        int segWidth = 0;
        std::string segText;
        auto flush = [&]() {
            if (segFormat < 0 || segWidth <= 0) return;
            const CharFormat& cf = FFormats[std::size_t(segFormat)];
            const FormatFont& font = Font(segFormat);
            RECT box {base + segX, y, base + segX + segWidth, y + lh};
            COLORREF colour = cf.AutoColor || !enabled ? colours.Text : cf.Color;
            if (segSelected) {
                gdi::FillRect(dc, &box, highlight);
                colour = highlightText;
            } else if (!cf.AutoBack) {
                HBRUSH b = gdi::CreateSolidBrush(cf.BackColor);
                gdi::FillRect(dc, &box, b);
                gdi::DeleteObject(b);
            }
            gdi::SelectObject(dc, font.Font);
            gdi::SetTextColor(dc, colour);
            std::string_view run = FPasswordChar ? std::string_view(segText)
                                                 : std::string_view(text).substr(segBegin, segEnd - segBegin);
            gdi::TextOut(dc, base + segX, y + (FMaxAscent - font.Ascent), run);
        };
        WalkLine(ref, [&](int i, std::size_t b, std::size_t e, char32_t c, int format, int x, int w) {
            if (x > FXOffset + int(FRect.right - FRect.left) + 64) return false;
            bool selected = paraStart + i >= selStart && paraStart + i < selEnd;
            bool tab = c == U'\t';
            if (format != segFormat || selected != segSelected || tab || segBegin == segEnd) {
                flush();
                segFormat = format;
                segSelected = selected;
                segBegin = b;
                segX = x;
                segWidth = 0;
                segText.clear();
            }
            segEnd = e;
            segWidth += w;
            if (tab) {
                // A tab draws no glyph: only its selection or background.
                std::string none;
                std::swap(segText, none);
                segEnd = segBegin;
                if (selected) {
                    RECT box {base + x, y, base + x + w, y + lh};
                    gdi::FillRect(dc, &box, highlight);
                }
                segFormat = -1;
                return true;
            }
            if (FPasswordChar) base::Utf8Append(segText, c);
            return true;
        });
        flush();
    }
    saved.Restore();
    if (colours.OwnBack) gdi::DeleteObject(colours.Back);
    PaintCaret(FHwnd, dc);
}

}

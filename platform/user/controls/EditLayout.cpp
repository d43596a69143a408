// Edit engine: fonts of the formats, wrapping paragraphs into lines, positions on the screen, scrolling.
#include "platform/user/controls/EditEngine.h"

#include "platform/gdi/Fonts.h"
#include "platform/gdi/GdiObject.h"
#include "platform/user/Painting.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/RichEditConstants.h"

#include <algorithm>
#include <climits>

namespace korvex::user::edit {

// ---------------------------------------------------------------------------------------------------------
// Fonts

void EditControl::FreeFonts() {
    for (FormatFont& f : FFonts)
        if (f.Owned && f.Font) gdi::DeleteObject(f.Font);
    for (FormatFont& f : FFonts)
        f = FormatFont {};
    FLineHeight = -1;
}

void EditControl::SetFont(HFONT font, bool redraw) {
    FFont = font;
    FreeFonts();
    for (Paragraph& p : FParas)
        p.Measured = false;
    MarkLayoutDirty(0);
    if (!FUserRect) ResetFormatRect();
    Relayout();
    if (redraw) Invalidate();
}

const FormatFont& EditControl::Font(int format) {
    FormatFont& f = FFonts[std::size_t(format)];
    if (f.Instance || f.Height) return f;
    HFONT base = FFont ? FFont : gdi::GetStockFont(gdi::DEFAULT_GUI_FONT);
    const CharFormat& cf = FFormats[std::size_t(format)];
    bool plain = !cf.Bold && !cf.Italic && !cf.Underline && !cf.StrikeOut && cf.HeightTwips == 0 && cf.Face.empty();
    f.Font = base;
    if (FRich && !plain) {
        gdi::LOGFONT lf;
        gdi::GetObject(base, &lf);
        lf.lfWeight = cf.Bold ? gdi::FW_BOLD : gdi::FW_NORMAL;
        lf.lfItalic = cf.Italic ? 1 : 0;
        lf.lfUnderline = cf.Underline ? 1 : 0;
        lf.lfStrikeOut = cf.StrikeOut ? 1 : 0;
        if (cf.HeightTwips > 0) lf.lfHeight = -std::max(1, (cf.HeightTwips * gdi::ScreenLogPixels + 720) / 1440);
        if (!cf.Face.empty()) lf.lfFaceName = cf.Face;
        f.Font = gdi::CreateFontIndirect(lf);
        f.Owned = true;
    }
    if (auto* object = gdi::ObjectCast<gdi::Font>(f.Font)) f.Instance = object->Instance();
    if (f.Instance) {
        const gdi::TEXTMETRIC& tm = f.Instance->TextMetrics();
        f.Height = std::max<int>(1, tm.tmHeight);
        f.Ascent = tm.tmAscent;
        for (char32_t c = 0; c < 128; ++c)
            f.Ascii[c] = f.Instance->MapCharacter(c < 0x20 && c != '\t' ? U' ' : c).Advance;
    } else {
        // No font file at all: fixed cells keep the edit usable.
        f.Height = 13;
        f.Ascent = 10;
        f.Ascii.fill(6);
    }
    return f;
}

int EditControl::Advance(const FormatFont& font, char32_t c, int x) const {
    if (c == U'\t') {
        int tab = std::max(1, 8 * (font.Instance ? int(font.Instance->TextMetrics().tmAveCharWidth) : 6));
        return (x / tab + 1) * tab - x;
    }
    if (c < 128) return font.Ascii[c];
    return font.Instance ? font.Instance->MapCharacter(c).Advance : 6;
}

int EditControl::LineHeight() {
    if (FLineHeight > 0) return FLineHeight;
    int height = 1;
    int ascent = 0;
    int descent = 0;
    std::size_t formats = FRich ? FFormats.size() : 1;
    for (std::size_t i = 0; i < formats; ++i) {
        const FormatFont& f = Font(int(i));
        ascent = std::max(ascent, f.Ascent);
        descent = std::max(descent, f.Height - f.Ascent);
        height = std::max(height, f.Height);
    }
    FMaxAscent = ascent;
    FLineHeight = std::max(height, ascent + descent);
    return FLineHeight;
}

// ---------------------------------------------------------------------------------------------------------
// Lines

bool EditControl::Wraps() const {
    DWORD style = Style();
    if (!(style & ES_MULTILINE) || (style & ES_AUTOHSCROLL)) return false;
    return FRich || !(style & WS_HSCROLL);
}

namespace {

// A line wider than this counts as this wide: the widths of a line of a billion characters stay in range.
constexpr int MostLineWidth = 1 << 30;

}

int EditControl::WidthAfter(std::string_view text, const FormatFont& font, bool bytes, int x) const {
    std::size_t pos = 0;
    while (pos < text.size() && x < MostLineWidth) {
        char32_t c = bytes ? char32_t(static_cast<unsigned char>(text[pos++])) : base::Utf8DecodeNext(text, pos);
        if (FPasswordChar) c = FPasswordChar;
        x += c < 128 && c != U'\t' ? font.Ascii[c] : Advance(font, c, x);
    }
    return std::min(x, MostLineWidth);
}

void EditControl::Measure(Paragraph& para, bool wrap) {
    para.Layout.ClearBreaks();
    para.Measured = true;
    const std::string_view text = ParaText(para);
    const std::span<const FormatRun> runs = para.Runs();
    if (!wrap && runs.size() <= 1) {
        // One format on one line, as most lines of a long text: the advances added up.
        para.Width = WidthAfter(text, Font(para.FirstFormat()), std::size_t(para.Length) == text.size(), 0);
        return;
    }
    int limit = wrap ? std::max(1, int(FRect.right - FRect.left)) : INT_MAX;
    int widest = 0;
    int x = 0;
    int lineStart = 0;
    int lastBreak = -1;
    int xAtBreak = 0;
    bool ascii = std::size_t(para.Length) == text.size();
    std::size_t pos = 0;
    std::size_t run = 0;
    const FormatFont* font = &Font(para.FirstFormat());
    for (int i = 0; pos < text.size(); ++i) {
        if (run + 1 < runs.size() && runs[run + 1].Start <= i) font = &Font(runs[++run].Format);
        char32_t c = ascii ? char32_t(static_cast<unsigned char>(text[pos++])) : base::Utf8DecodeNext(text, pos);
        if (FPasswordChar) c = FPasswordChar;
        int w = Advance(*font, c, x);
        if (wrap && x + w > limit && i > lineStart && c != U' ') {
            int brk = i;
            if (lastBreak > lineStart) {
                brk = lastBreak;
                widest = std::max(widest, xAtBreak);
                x -= xAtBreak;
            } else {
                widest = std::max(widest, x);
                x = 0;
            }
            para.Layout.AddBreak(brk);
            lineStart = brk;
            lastBreak = -1;
            w = Advance(*font, c, x);
        }
        x = std::min(x + w, MostLineWidth);
        if (c == U' ' || c == U'\t') {
            lastBreak = i + 1;
            xAtBreak = x;
        }
    }
    para.Width = std::max(widest, x);
}

void EditControl::Relayout() {
    int width = Wraps() ? int(FRect.right - FRect.left) : -1;
    if (width != FLayoutWidth) {
        FLayoutWidth = width;
        for (Paragraph& p : FParas)
            p.Measured = false;
        MarkLayoutDirty(0);
    }
    FLineHeight = -1;
}

void EditControl::EnsureLayout() {
    int n = int(FParas.size());
    if (!Wraps()) {
        FLinesValid = n;
        return;
    }
    if (FLinesValid >= n && int(FLineStarts.size()) == n + 1) return;
    FLineStarts.resize(std::size_t(n) + 1);
    int from = std::min(FLinesValid, n);
    for (int p = from; p < n; ++p) {
        Paragraph& para = FParas[std::size_t(p)];
        if (!para.Measured) Measure(para, true);
        FLineStarts[std::size_t(p) + 1] = FLineStarts[std::size_t(p)] + para.LineCount();
    }
    FLineStarts[0] = 0;
    FLinesValid = n;
}

int EditControl::LineCount() {
    EnsureLayout();
    return Wraps() ? FLineStarts.back() : int(FParas.size());
}

LineRef EditControl::Line(int line) {
    EnsureLayout();
    line = std::clamp(line, 0, LineCount() - 1);
    if (!Wraps()) return LineRef {line, 0, FParas[std::size_t(line)].Length};
    auto it = std::upper_bound(FLineStarts.begin(), FLineStarts.end() - 1, line);
    int p = int(it - FLineStarts.begin()) - 1;
    const Paragraph& para = FParas[std::size_t(p)];
    int k = line - FLineStarts[std::size_t(p)];
    const std::span<const int> breaks = para.Breaks();
    int begin = k == 0 ? 0 : breaks[std::size_t(k - 1)];
    int end = k < int(breaks.size()) ? breaks[std::size_t(k)] : para.Length;
    return LineRef {p, begin, end};
}

int EditControl::LineOfPos(int pos) {
    int para = 0;
    int offset = 0;
    Locate(pos, para, offset);
    EnsureLayout();
    if (!Wraps()) return para;
    const Paragraph& p = FParas[std::size_t(para)];
    const std::span<const int> breaks = p.Breaks();
    int k = int(std::upper_bound(breaks.begin(), breaks.end(), offset) - breaks.begin());
    return FLineStarts[std::size_t(para)] + k;
}

int EditControl::LineStartPos(int line) {
    LineRef ref = Line(line);
    return ParaStart(ref.Para) + ref.Begin;
}

int EditControl::LineX(const LineRef& line) {
    DWORD align = Style() & (ES_CENTER | ES_RIGHT);
    // WS_EX_RIGHT aligns a left-aligned edit's text to the right.
    if (align == 0 && (DWORD(GetWindowLong(FHwnd, GWL_EXSTYLE)) & WS_EX_RIGHT)) align = ES_RIGHT;
    if (align == 0) return 0;
    int width = 0;
    WalkLine(line, [&](int, std::size_t, std::size_t, char32_t, int, int x, int w) {
        width = x + w;
        return true;
    });
    int room = int(FRect.right - FRect.left) - 1;
    if (align & ES_CENTER) return std::max(0, (room - width) / 2);
    return std::max(0, room - width);
}

POINT EditControl::PosFromChar(int pos) {
    pos = ClampPos(pos);
    int line = LineOfPos(pos);
    LineRef ref = Line(line);
    int para = 0;
    int offset = 0;
    Locate(pos, para, offset);
    int x = 0;
    const Paragraph& p = FParas[std::size_t(para)];
    if (!Wraps() && offset >= p.Length && p.Measured) {
        x = p.Width;   // a line's end: no walk along a long line
    } else {
        WalkLine(ref, [&](int i, std::size_t, std::size_t, char32_t, int, int cx, int w) {
            x = cx + w;
            return i + 1 < offset;
        });
    }
    if (offset <= ref.Begin) x = 0;
    int lh = LineHeight();
    return POINT {FRect.left - FXOffset + LineX(ref) + x, FRect.top + (line - FTopLine) * lh};
}

int EditControl::CharFromPoint(POINT p, int* lineOut) {
    int lh = LineHeight();
    int dy = p.y - FRect.top;
    int row = dy >= 0 ? dy / lh : -((-dy + lh - 1) / lh);
    int line = std::clamp(FTopLine + row, 0, LineCount() - 1);
    LineRef ref = Line(line);
    int rel = p.x - (FRect.left - FXOffset + LineX(ref));
    int offset = ref.End;
    WalkLine(ref, [&](int i, std::size_t, std::size_t, char32_t, int, int x, int w) {
        if (rel < x + (w + 1) / 2) {
            offset = i;
            return false;
        }
        return true;
    });
    // A wrapped line's end is the next line's start: past the end stays before the blank it broke at.
    if (offset == ref.End && ref.End > ref.Begin && ref.End < FParas[std::size_t(ref.Para)].Length)
        offset = ref.End - 1;
    if (lineOut) *lineOut = line;
    return ParaStart(ref.Para) + offset;
}

int EditControl::MaxWidth() {
    const bool wrap = Wraps();
    for (int p = FWidthsTaken; p < int(FParas.size()); ++p) {
        Paragraph& para = FParas[std::size_t(p)];
        if (!para.Measured) Measure(para, wrap);
        FMaxWidth = std::max(FMaxWidth, para.Width);
    }
    FWidthsTaken = int(FParas.size());
    return std::max(FMaxWidth, 0);
}

// ---------------------------------------------------------------------------------------------------------
// Formatting rectangle and scrolling

void EditControl::ResetFormatRect() {
    RECT client {};
    GetClientRect(FHwnd, &client);
    FRect = RECT {client.left + FLeftMargin, client.top, client.right - FRightMargin, client.bottom};
    if (!Multi()) {
        int lh = LineHeight();
        int spare = int(client.bottom - client.top) - lh;
        FRect.top = spare > 0 ? spare / 2 : 0;
        FRect.bottom = FRect.top + std::max(lh, int(client.bottom - client.top));
    }
    if (FRect.right < FRect.left) FRect.right = FRect.left;
    if (FRect.bottom < FRect.top) FRect.bottom = FRect.top;
    FUserRect = false;
}

void EditControl::SetFormatRect(const RECT* rect, bool redraw) {
    if (!rect) {
        ResetFormatRect();
    } else {
        FRect = *rect;
        if (FRect.right < FRect.left) FRect.right = FRect.left;
        if (FRect.bottom < FRect.top) FRect.bottom = FRect.top;
        FUserRect = true;
    }
    Relayout();
    ScrollTo(FTopLine, FXOffset, false);
    UpdateScrollBars();
    UpdateCaret();
    if (redraw) Invalidate();
}

int EditControl::VisibleLines() {
    return std::max(1, int(FRect.bottom - FRect.top) / LineHeight());
}

void EditControl::ScrollTo(int topLine, int xOffset, bool) {
    int top = Multi() ? std::clamp(topLine, 0, std::max(0, LineCount() - VisibleLines())) : 0;
    int x = 0;
    if (!Wraps()) {
        int room = int(FRect.right - FRect.left);
        int most = Multi() ? std::max(0, MaxWidth() + 1 - room) : std::max(0, xOffset);
        x = std::clamp(xOffset, 0, most);
    }
    if (top == FTopLine && x == FXOffset) return;
    FTopLine = top;
    FXOffset = x;
    Invalidate();
    UpdateScrollBars();
    UpdateCaret();
}

void EditControl::ScrollCaret() {
    int top = FTopLine;
    if (Multi()) {
        int line = LineOfPos(FCaret);
        int visible = VisibleLines();
        if (line < top) top = line;
        if (line >= top + visible) top = line - visible + 1;
    }
    int x = FXOffset;
    if (!Wraps()) {
        int room = std::max(1, int(FRect.right - FRect.left));
        POINT p = PosFromChar(FCaret);
        int caretX = p.x - FRect.left + FXOffset;
        if (caretX < FXOffset) x = std::max(0, caretX - room / 4);
        if (caretX >= FXOffset + room - 1) x = caretX - room + 1 + room / 4;
        if (!Multi()) {
            // Never scroll further than the text needs.
            LineRef ref = Line(0);
            int width = 0;
            WalkLine(ref, [&](int, std::size_t, std::size_t, char32_t, int, int cx, int w) {
                width = cx + w;
                return true;
            });
            x = std::min(x, std::max(0, width + 1 - room));
            x = std::max(x, 0);
            if (caretX < x) x = caretX;
        }
    }
    ScrollTo(top, x, false);
}

void EditControl::UpdateScrollBars() {
    if (FInScrollUpdate) return;
    DWORD style = Style() | FScrollStyle;
    if (!(style & (WS_VSCROLL | WS_HSCROLL))) return;
    FInScrollUpdate = true;
    // The bars are drawn with the next paint, not at every change: scrolling a long text line by line
    // stays cheap.
    bool redrawFrame = false;
    for (int pass = 0; pass < 3; ++pass) {
        FSizedInScrollUpdate = false;
        bool keep = FRich ? (style & ES_DISABLENOSCROLL) != 0 : true;
        if ((style & WS_VSCROLL) && Multi()) {
            SCROLLINFO si;
            si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | (keep ? SIF_DISABLENOSCROLL : 0);
            si.nMin = 0;
            if (FRich) {
                int lh = LineHeight();
                si.nMax = LineCount() * lh - 1;
                si.nPage = UINT(std::max(0, int(FRect.bottom - FRect.top)));
                si.nPos = FTopLine * lh;
            } else {
                si.nMax = LineCount() - 1;
                si.nPage = UINT(VisibleLines());
                si.nPos = FTopLine;
            }
            if (si.nMax != FLastV.nMax || si.nPage != FLastV.nPage || si.nPos != FLastV.nPos || FLastV.fMask == 0) {
                FLastV = si;
                SetScrollInfo(FHwnd, SB_VERT, &si, false);
                redrawFrame = true;
            }
        }
        if (style & WS_HSCROLL) {
            SCROLLINFO si;
            si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | (keep ? SIF_DISABLENOSCROLL : 0);
            si.nMin = 0;
            si.nMax = Wraps() ? 0 : MaxWidth();
            si.nPage = UINT(std::max(0, int(FRect.right - FRect.left)));
            si.nPos = FXOffset;
            if (si.nMax != FLastH.nMax || si.nPage != FLastH.nPage || si.nPos != FLastH.nPos || FLastH.fMask == 0) {
                FLastH = si;
                SetScrollInfo(FHwnd, SB_HORZ, &si, false);
                redrawFrame = true;
            }
        }
        if (!FSizedInScrollUpdate || !IsWindow(FHwnd)) break;
        // A bar came or went: the client area changed, lay out again and answer the new size.
        if (!FUserRect) ResetFormatRect();
        Relayout();
        int top = std::clamp(FTopLine, 0, std::max(0, LineCount() - VisibleLines()));
        FTopLine = top;
    }
    FInScrollUpdate = false;
    if (redrawFrame && IsWindow(FHwnd))
        RedrawWindow(FHwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

}

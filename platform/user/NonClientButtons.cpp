// Caption buttons: raised or pushed boxes with close, maximize, restore, minimize and help glyphs.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/SavedDc.h"
#include "platform/gdi/Text.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <algorithm>

namespace korvex::user::nc {

namespace {

using namespace gdi;

enum class Glyph { Close, Maximize, Restore, Minimize, Help };

void Block(HDC dc, int left, int top, int right, int bottom, HBRUSH brush) {
    const RECT r {left, top, right, bottom};
    FillRect(dc, &r, brush);
}

// An outlined box with a thicker top, as a window with its caption.
void WindowBox(HDC dc, int x, int y, int w, int h, HBRUSH brush) {
    Block(dc, x, y, x + w, y + 2, brush);
    Block(dc, x, y + h - 1, x + w, y + h, brush);
    Block(dc, x, y, x + 1, y + h, brush);
    Block(dc, x + w - 1, y, x + w, y + h, brush);
}

void DrawGlyph(HDC dc, const RECT& area, Glyph glyph, HBRUSH brush, COLORREF color) {
    const int s = std::max(std::min(area.Width(), area.Height()) - 2, 3);
    const int x = area.left + (area.Width() - s) / 2;
    const int y = area.top + (area.Height() - s) / 2;
    switch (glyph) {
    case Glyph::Close:
        for (int i = 0; i < s; ++i) {
            Block(dc, x + i, y + i, x + i + 2, y + i + 1, brush);
            Block(dc, x + s - 1 - i, y + i, x + s + 1 - i, y + i + 1, brush);
        }
        break;
    case Glyph::Maximize:
        WindowBox(dc, x, y, s + 1, s, brush);
        break;
    case Glyph::Restore: {
        const int t = std::max(s * 2 / 3, 3);
        WindowBox(dc, x + s + 1 - t, y, t, t, brush);
        const RECT front {x, y + s - t, x + t, y + s};
        FillRect(dc, &front, GetSysColorBrush(COLOR_BTNFACE));
        WindowBox(dc, x, y + s - t, t, t, brush);
        break;
    }
    case Glyph::Minimize:
        Block(dc, x + 1, y + s - 2, x + s - 1, y + s, brush);
        break;
    case Glyph::Help: {
        LOGFONT logFont = GetNonClientMetrics().lfCaptionFont;
        logFont.lfHeight = -(area.Height() - 1);
        logFont.lfWeight = FW_BOLD;
        GdiHandle<Font> font(CreateFontIndirect(logFont));
        gdi::SavedDc saved(dc);
        if (font) SelectObject(dc, font.Get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, color);
        RECT r = area;
        DrawText(dc, "?", &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
        break;
    }
    }
}

void DrawCaptionButton(HDC dc, const RECT& rect, Glyph glyph, bool pushed, bool enabled) {
    if (IsRectEmpty(&rect)) return;
    RECT r = rect;
    DrawEdge(dc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    if (pushed) OffsetRect(&r, 1, 1);
    if (enabled) {
        DrawGlyph(dc, r, glyph, GetSysColorBrush(COLOR_BTNTEXT), GetSysColor(COLOR_BTNTEXT));
        return;
    }
    RECT shadow = r;
    OffsetRect(&shadow, 1, 1);
    DrawGlyph(dc, shadow, glyph, GetSysColorBrush(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawGlyph(dc, r, glyph, GetSysColorBrush(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
}

}

void PaintCaptionButton(HDC dc, const RECT& rect, LRESULT hitCode, bool pushed, bool restore) {
    Glyph glyph = Glyph::Help;
    switch (hitCode) {
    case HTCLOSE:
        glyph = Glyph::Close;
        break;
    case HTMAXBUTTON:
        glyph = restore ? Glyph::Restore : Glyph::Maximize;
        break;
    case HTMINBUTTON:
        glyph = restore ? Glyph::Restore : Glyph::Minimize;
        break;
    default:
        break;
    }
    DrawCaptionButton(dc, rect, glyph, pushed, true);
}

bool IsCaptionButtonEnabled(HWND hwnd, const FrameStyle& style, LRESULT hitCode) {
    switch (hitCode) {
    case HTCLOSE:
        return !(GetClassLongPtr(hwnd, GCL_STYLE) & CS_NOCLOSE);
    case HTMAXBUTTON:
        return style.MaxEnabled;
    case HTMINBUTTON:
        return style.MinEnabled;
    case HTHELP:
        return style.Help;
    default:
        return false;
    }
}

void PaintCaptionButtons(HWND hwnd, HDC windowDc, const Layout& l) {
    auto state = FindState(hwnd);
    const LRESULT pressed = state ? state->PressedButton : HTNOWHERE;
    const bool zoomed = IsZoomed(hwnd);
    const bool iconic = IsIconic(hwnd);
    auto draw = [&](const RECT& rect, LRESULT code, Glyph glyph) {
        DrawCaptionButton(windowDc, rect, glyph, pressed == code, IsCaptionButtonEnabled(hwnd, l.Style, code));
    };
    draw(l.CloseButton, HTCLOSE, Glyph::Close);
    draw(l.MaxButton, HTMAXBUTTON, zoomed ? Glyph::Restore : Glyph::Maximize);
    draw(l.MinButton, HTMINBUTTON, iconic ? Glyph::Restore : Glyph::Minimize);
    draw(l.HelpButton, HTHELP, Glyph::Help);
}

}

// Drawing and measuring helpers of the common controls.
#include "platform/user/controls/CommonControlsPaint.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"

#include <algorithm>
#include <climits>

namespace korvex::user::comctl {

FontScope::FontScope(HDC dc, HFONT font)
    : FDc(dc)
    , FOld(font ? gdi::SelectObject(dc, font) : nullptr) {
}

FontScope::~FontScope() {
    if (FOld) gdi::SelectObject(FDc, FOld);
}

void FillSys(HDC dc, const RECT& rect, int colorIndex) {
    gdi::FillRect(dc, &rect, gdi::GetSysColorBrush(colorIndex));
}

void FillColor(HDC dc, const RECT& rect, COLORREF color) {
    gdi::GdiHandle<gdi::Brush> brush(gdi::CreateSolidBrush(gdi::PaintColor(color)));
    gdi::FillRect(dc, &rect, brush.Get());
}

void LineSys(HDC dc, int x1, int y1, int x2, int y2, int colorIndex) {
    gdi::GdiHandle<gdi::Pen> pen(gdi::CreatePen(gdi::PS_SOLID, 1, gdi::GetSysColor(colorIndex)));
    gdi::HPEN old = gdi::SelectObject(dc, pen.Get());
    gdi::MoveToEx(dc, x1, y1, nullptr);
    gdi::LineTo(dc, x2, y2);
    gdi::SelectObject(dc, old);
}

SIZE TextSize(HDC dc, std::string_view text) {
    SIZE size {};
    gdi::GetTextExtentPoint32(dc, text, &size);
    return size;
}

int FontHeight(HWND hwnd, HFONT font) {
    HDC dc = GetDC(hwnd);
    if (!dc) return 13;
    int height = 13;
    {
        FontScope scope(dc, font);
        gdi::TEXTMETRIC tm;
        if (gdi::GetTextMetrics(dc, &tm)) height = tm.tmHeight;
    }
    ReleaseDC(hwnd, dc);
    return height;
}

SIZE TextSizeFor(HWND hwnd, HFONT font, std::string_view text) {
    HDC dc = GetDC(hwnd);
    if (!dc) return SIZE {};
    SIZE size;
    {
        FontScope scope(dc, font);
        size = TextSize(dc, text);
    }
    ReleaseDC(hwnd, dc);
    return size;
}

void DrawLabel(HDC dc, std::string_view text, RECT rect, UINT format, COLORREF color, bool enabled) {
    int oldMode = gdi::SetBkMode(dc, gdi::TRANSPARENT);
    if (enabled) {
        COLORREF old = gdi::SetTextColor(dc, color);
        gdi::DrawText(dc, text, &rect, format);
        gdi::SetTextColor(dc, old);
    } else {
        COLORREF old = gdi::SetTextColor(dc, gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));
        RECT shifted = rect;
        gdi::OffsetRect(&shifted, 1, 1);
        gdi::DrawText(dc, text, &shifted, format);
        gdi::SetTextColor(dc, gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
        gdi::DrawText(dc, text, &rect, format);
        gdi::SetTextColor(dc, old);
    }
    gdi::SetBkMode(dc, oldMode);
}

int ClampToInt(long long value) {
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}

// The plain pictures of the buttons: check boxes, radio circles and group box frames.
#include "platform/user/controls/Button.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/controls/CommonControlsPaint.h"

#include <cmath>

namespace korvex::user {

namespace {

// The tick of a check box: for each of its seven columns the first of the three rows it covers.
constexpr int TickTop[7] = {2, 3, 4, 3, 2, 1, 0};

void Pixel(HDC dc, int x, int y, int colorIndex) {
    gdi::SetPixelV(dc, x, y, gdi::GetSysColor(colorIndex));
}

}

void DrawCheckMark(HDC dc, int x, int y, UINT checkState, bool pushed, bool enabled) {
    RECT box = gdi::Bounds(x, y, CheckMarkSize, CheckMarkSize);
    gdi::DrawEdge(dc, &box, gdi::EDGE_SUNKEN, gdi::BF_RECT | gdi::BF_ADJUST);
    const bool grey = !enabled || pushed || checkState == BST_INDETERMINATE;
    comctl::FillSys(dc, box, grey ? gdi::COLOR_BTNFACE : gdi::COLOR_WINDOW);
    if (checkState == BST_UNCHECKED) return;
    const int tick = (!enabled || checkState == BST_INDETERMINATE) ? gdi::COLOR_BTNSHADOW : gdi::COLOR_WINDOWTEXT;
    for (int col = 0; col < 7; ++col)
        for (int row = 0; row < 3; ++row)
            Pixel(dc, x + 3 + col, y + 3 + TickTop[col] + row, tick);
}

void DrawRadioMark(HDC dc, int x, int y, bool checked, bool pushed, bool enabled) {
    // Two rings of the 3-D edge colours around a round face: shadows on the upper left, lights below right.
    constexpr int size = 12;
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            const double dx = px + 0.5 - size / 2.0;
            const double dy = py + 0.5 - size / 2.0;
            const double d = std::sqrt(dx * dx + dy * dy);
            const bool upperLeft = px + py < size - 1;
            int color;
            if (d > 6.0)
                continue;
            else if (d > 5.0)
                color = upperLeft ? gdi::COLOR_BTNSHADOW : gdi::COLOR_BTNHIGHLIGHT;
            else if (d > 4.0)
                color = upperLeft ? gdi::COLOR_3DDKSHADOW : gdi::COLOR_3DLIGHT;
            else if (checked && d <= 2.0)
                color = enabled ? gdi::COLOR_WINDOWTEXT : gdi::COLOR_BTNSHADOW;
            else
                color = (!enabled || pushed) ? gdi::COLOR_BTNFACE : gdi::COLOR_WINDOW;
            Pixel(dc, x + px, y + py, color);
        }
}

void DrawGroupBox(
    HDC dc, const RECT& rect, const std::string& caption, HFONT font, HBRUSH background, bool enabled, bool noPrefix) {
    comctl::FontScope scope(dc, font);
    gdi::TEXTMETRIC tm;
    if (!gdi::GetTextMetrics(dc, &tm)) tm.tmHeight = 13;
    RECT frame = rect;
    frame.top += tm.tmHeight / 2;
    gdi::DrawEdge(dc, &frame, gdi::EDGE_ETCHED, gdi::BF_RECT);
    if (caption.empty()) return;
    const UINT format = gdi::DT_SINGLELINE | gdi::DT_LEFT | gdi::DT_TOP | (noPrefix ? gdi::DT_NOPREFIX : 0);
    RECT measure {0, 0, 0, 0};
    gdi::DrawText(dc, caption, &measure, format | gdi::DT_CALCRECT);
    // The caption sits on its own strip of background, two pixels wider than the text on each side.
    RECT strip = gdi::Bounds(rect.left + 7, rect.top, measure.Width() + 4, tm.tmHeight);
    if (strip.right > rect.right - 2) strip.right = rect.right - 2;
    if (background) gdi::FillRect(dc, &strip, background);
    RECT text = strip;
    text.left += 2;
    comctl::DrawLabel(dc, caption, text, format, gdi::GetTextColor(dc), enabled);
}

}

// Soft tinted rectangles and nested 3-D frames.
#include "skin/engine/sBitmapEffects.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/Gdi.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sPixelRows.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace korvex::skin {

using detail::PixelView;

void PaintBlurredRect(
    classes::TBitmap* bitmap, classes::TRect rect, int transparency, classes::TColor colour, int blur, int radius) {
    const PixelView target = detail::View24(bitmap);
    if (!target) return;
    // The shape is made over the whole of rect; only its part inside the bitmap is read and written back.
    const std::int64_t fullWidth = std::int64_t(rect.right) - rect.left, fullHeight = std::int64_t(rect.bottom) - rect.top;
    if (fullWidth <= 0 || fullHeight <= 0 || fullWidth > INT32_MAX || fullHeight > INT32_MAX) return;
    const int w = int(fullWidth), h = int(fullHeight);
    const int inLeft = std::max(rect.left, 0), inTop = std::max(rect.top, 0);
    const int inRight = std::min(rect.right, target.Width), inBottom = std::min(rect.bottom, target.Height);
    if (inRight <= inLeft || inBottom <= inTop) return;
    const int inBytes = (inRight - inLeft) * 3;

    auto area = NewBitmap24(w, h);
    auto mask = NewBitmap24(w, h);
    const PixelView a = detail::View24(area.get());
    if (!a || !detail::View24(mask.get())) return;
    for (int y = inTop; y < inBottom; ++y)
        std::memcpy(a.At24(inLeft - rect.left, y - rect.top), target.At24(inLeft, y), std::size_t(inBytes));

    const int half = std::min(w / 2, h / 2);
    const int b = std::clamp(blur, 0, half);
    const int r = std::clamp(radius, 0, half);
    const int level = std::clamp(transparency, 0, 100) * 255 / 100;
    const double step = (255.0 - level) / (b + 1);

    classes::TCanvas* canvas = mask->Canvas();
    canvas->Pen()->SetStyle(classes::psClear);
    canvas->Brush()->SetStyle(classes::bsSolid);
    // Filled shapes without a pen leave the last column and row out: they keep the edge unchanged too.
    canvas->Brush()->SetColor(classes::clWhite);
    canvas->FillRect(classes::TRect {0, 0, w, h});
    for (int i = 0; i <= b; ++i) {
        const int grey = i == 0 ? 255 : (int(std::nearbyint((b - (i - 1)) * step)) + level) % 256;
        canvas->Brush()->SetColor(classes::TColor(gdi::RGB(grey, grey, grey)));
        canvas->RoundRect(i, i, w - i, h - i, r, r);
    }
    canvas->Brush()->SetColor(classes::TColor(gdi::RGB(level, level, level)));
    canvas->RoundRect(b, b, w - b, h - b, b, b);

    TintBitmap(area.get(), mask.get(), colour);
    for (int y = inTop; y < inBottom; ++y)
        std::memcpy(target.At24(inLeft, y), a.At24(inLeft - rect.left, y - rect.top), std::size_t(inBytes));
}

void PaintFrame3D(gdi::HDC dc, classes::TRect& rect, classes::TColor c1, classes::TColor c2, int& width) {
    gdi::GdiHandle<gdi::Pen> light(gdi::CreatePen(gdi::PS_SOLID, 1, gdi::COLORREF(classes::ColorToRGB(c1))));
    gdi::GdiHandle<gdi::Pen> dark(gdi::CreatePen(gdi::PS_SOLID, 1, gdi::COLORREF(c2)));
    const gdi::HPEN oldPen = gdi::SelectObject(dc, light.Get());
    const gdi::HGDIOBJ oldBrush = gdi::SelectObject(dc, gdi::GetStockObject(gdi::NULL_BRUSH));
    rect.right -= 1;
    rect.bottom -= 1;
    while (width > 0) {
        --width;
        const gdi::POINT topLeft[3] = {{rect.left, rect.bottom}, {rect.left, rect.top}, {rect.right, rect.top}};
        gdi::SelectObject(dc, light.Get());
        gdi::Polyline(dc, topLeft, 3);
        const gdi::POINT bottomRight[3]
            = {{rect.right, rect.top}, {rect.right, rect.bottom}, {rect.left - 1, rect.bottom}};
        gdi::SelectObject(dc, dark.Get());
        gdi::Polyline(dc, bottomRight, 3);
        gdi::InflateRect(&rect, -1, -1);
    }
    rect.right += 1;
    rect.bottom += 1;
    if (oldPen) gdi::SelectObject(dc, oldPen);
    if (oldBrush) gdi::SelectObject(dc, oldBrush);
}

}

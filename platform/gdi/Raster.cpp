// Pixel work under a clip region: fast solid rows, binary raster operations, clipped spans.
#include "platform/gdi/Raster.h"

#include <algorithm>
#include <cstring>

namespace korvex::gdi {

RasterTarget TargetOf(HDC dc) {
    if (!IsValidDC(dc)) return {};
    RasterTarget target;
    target.Surface = dc->Surface();
    target.Clip = &dc->EffectiveClip();
    return target;
}

void FillRow(BYTE* row, int x0, int x1, int bytesPerPixel, COLORREF color) {
    if (x1 <= x0) return;
    const BYTE b = GetBValue(color);
    const BYTE g = GetGValue(color);
    const BYTE r = GetRValue(color);
    if (bytesPerPixel == 4) {
        const uint32_t value = uint32_t(b) | (uint32_t(g) << 8) | (uint32_t(r) << 16);
        BYTE* p = row + size_t(x0) * 4;
        const size_t count = size_t(x1 - x0);
        if (b == g && g == r) {
            if (b == 0) {
                std::memset(p, 0, count * 4);
                return;
            }
        }
        for (size_t i = 0; i < count; ++i)
            std::memcpy(p + i * 4, &value, 4);
        return;
    }
    BYTE* p = row + size_t(x0) * 3;
    size_t count = size_t(x1 - x0);
    if (b == g && g == r) {
        std::memset(p, b, count * 3);
        return;
    }
    // Four pixels are three 32-bit words of a repeating pattern.
    BYTE pattern[12] = {b, g, r, b, g, r, b, g, r, b, g, r};
    while (count >= 4) {
        std::memcpy(p, pattern, 12);
        p += 12;
        count -= 4;
    }
    for (; count > 0; --count, p += 3) {
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
}

namespace {

void RopRow(BYTE* row, int x0, int x1, int bytesPerPixel, COLORREF color, int rop2) {
    const BYTE pen[3] = {GetBValue(color), GetGValue(color), GetRValue(color)};
    BYTE* p = row + size_t(x0) * bytesPerPixel;
    for (int x = x0; x < x1; ++x, p += bytesPerPixel) {
        p[0] = Rop2Byte(rop2, pen[0], p[0]);
        p[1] = Rop2Byte(rop2, pen[1], p[1]);
        p[2] = Rop2Byte(rop2, pen[2], p[2]);
    }
}

// Raster operations that ignore the destination become plain fills.
bool SolidColorOf(int rop2, COLORREF color, COLORREF& out) {
    switch (rop2) {
    case R2_COPYPEN:
        out = color;
        return true;
    case R2_BLACK:
        out = 0;
        return true;
    case R2_WHITE:
        out = 0xFFFFFF;
        return true;
    case R2_NOTCOPYPEN:
        out = ~color & 0xFFFFFF;
        return true;
    default:
        return false;
    }
}

void PaintRow(Bitmap& surface, int y, int x0, int x1, COLORREF color, int rop2) {
    if (rop2 == R2_NOP) return;
    BYTE* row = surface.ScanLine(y);
    if (!row) return;
    COLORREF solid;
    if (SolidColorOf(rop2, color, solid))
        FillRow(row, x0, x1, surface.BytesPerPixel(), solid);
    else
        RopRow(row, x0, x1, surface.BytesPerPixel(), color, rop2);
}

}

void FillSpan(const RasterTarget& target, int y, int x0, int x1, COLORREF color, int rop2) {
    if (!target || x0 >= x1) return;
    for (const RECT& r : target.Clip->RowRects(y)) {
        const int a = std::max(x0, int(r.left));
        const int b = std::min(x1, int(r.right));
        if (a < b) PaintRow(*target.Surface, y, a, b, color, rop2);
    }
}

void FillRectRaster(const RasterTarget& target, const RECT& rect, COLORREF color, int rop2) {
    if (!target || IsRectEmpty(&rect)) return;
    const auto& rects = target.Clip->Rects();
    auto it = std::partition_point(rects.begin(), rects.end(), [&rect](const RECT& r) { return r.bottom <= rect.top; });
    for (; it != rects.end() && it->top < rect.bottom; ++it) {
        RECT part;
        if (!IntersectRect(&part, &*it, &rect)) continue;
        for (int y = part.top; y < part.bottom; ++y)
            PaintRow(*target.Surface, y, part.left, part.right, color, rop2);
    }
}

void PlotPixel(const RasterTarget& target, int x, int y, COLORREF color, int rop2) {
    if (target && target.Clip->Contains(x, y)) PaintRow(*target.Surface, y, x, x + 1, color, rop2);
}

void FillSpans(const RasterTarget& target, int top, const std::vector<Span>& spans, COLORREF color, int rop2) {
    for (size_t i = 0; i < spans.size(); ++i)
        FillSpan(target, top + int(i), spans[i].left, spans[i].right, color, rop2);
}

void FillRegionRaster(const RasterTarget& target, const BandedRegion& region, COLORREF color, int rop2) {
    if (!target) return;
    const BandedRegion visible = BandedRegion::Combine(region, *target.Clip, RGN_AND);
    for (const RECT& r : visible.Rects())
        for (int y = r.top; y < r.bottom; ++y)
            PaintRow(*target.Surface, y, r.left, r.right, color, rop2);
}

}

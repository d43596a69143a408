// Pixel work under a clip region: spans, rectangles and points with binary raster operations.
#pragma once

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Shapes.h"

namespace korvex::gdi {

// Where drawing lands: a surface and the clip (surface coordinates). False when nothing can be drawn.
struct RasterTarget {
    Bitmap* Surface = nullptr;
    const BandedRegion* Clip = nullptr;
    explicit operator bool() const { return Surface && Clip && !Clip->IsEmpty(); }
};

RasterTarget TargetOf(HDC dc);   // checks the handle; empty for null or deleted DCs

// Fills pixels [x0, x1) of a row pointer with one colour (fourth byte of 32-bit pixels 0).
void FillRow(BYTE* row, int x0, int x1, int bytesPerPixel, COLORREF color);

// The pixel ops take surface coordinates and clip to the target; colour is 0x00BBGGRR.
void FillSpan(const RasterTarget& target, int y, int x0, int x1, COLORREF color, int rop2 = R2_COPYPEN);
void FillRectRaster(const RasterTarget& target, const RECT& rect, COLORREF color, int rop2 = R2_COPYPEN);
void PlotPixel(const RasterTarget& target, int x, int y, COLORREF color, int rop2 = R2_COPYPEN);
void FillSpans(const RasterTarget& target, int top, const std::vector<Span>& spans, COLORREF color, int rop2);
void FillRegionRaster(const RasterTarget& target, const BandedRegion& region, COLORREF color, int rop2);

// One byte of a binary raster operation (R2_*) of pen byte p over destination byte d.
inline BYTE Rop2Byte(int rop2, BYTE p, BYTE d) {
    const int table = rop2 - 1;
    BYTE result = 0;
    if (table & 1) result |= BYTE(~p & ~d);
    if (table & 2) result |= BYTE(~p & d);
    if (table & 4) result |= BYTE(p & ~d);
    if (table & 8) result |= BYTE(p & d);
    return result;
}

}

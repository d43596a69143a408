// Internal: row operations shared by BitBlt, StretchBlt and AlphaBlend.
#pragma once

#include "platform/gdi/Bitmap.h"

#include <memory>

namespace korvex::gdi {

// Applies a ternary raster operation to `count` pixels of a row; the pattern is a solid colour.
void BlitRow(
    BYTE* dest, PixelFormat destFormat, const BYTE* src, PixelFormat srcFormat, int count, DWORD rop, COLORREF pattern);
RECT SurfaceBounds(const Bitmap& bitmap);
// A new bitmap holding `area` of the source (same format); nullptr when memory is short.
std::unique_ptr<Bitmap> CopyOfArea(const Bitmap& source, const RECT& area);

}

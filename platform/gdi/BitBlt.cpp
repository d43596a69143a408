// BitBlt: clipped, overlap-safe block transfers with format conversion and ternary raster operations.
#include "platform/gdi/BitBlt.h"

#include "platform/gdi/BlitRows.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Recording.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace korvex::gdi {

namespace {

// Copies one row between formats (same format: memcpy).
inline void CopyRow(BYTE* d, PixelFormat dFormat, const BYTE* s, PixelFormat sFormat, int count) {
    if (dFormat == sFormat) {
        std::memcpy(d, s, size_t(count) * BytesPerPixel(dFormat));
    } else if (dFormat == PixelFormat::pf32bit) {
        for (int i = 0; i < count; ++i, d += 4, s += 3) {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
            d[3] = 0;
        }
    } else {
        for (int i = 0; i < count; ++i, d += 3, s += 4) {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        }
    }
}

template <class Op>
void CombineRow(BYTE* d, int dStep, const BYTE* s, int sStep, int count, Op op) {
    for (int i = 0; i < count; ++i, d += dStep, s += sStep) {
        d[0] = op(s[0], d[0]);
        d[1] = op(s[1], d[1]);
        d[2] = op(s[2], d[2]);
        if (dStep == 4) d[3] = op(sStep == 4 ? s[3] : BYTE(0), d[3]);
    }
}

}

void BlitRow(BYTE* d, PixelFormat dFormat, const BYTE* s, PixelFormat sFormat, int count, DWORD rop, COLORREF pattern) {
    const int dStep = BytesPerPixel(dFormat);
    const int sStep = BytesPerPixel(sFormat);
    switch (rop) {
    case SRCCOPY:
        CopyRow(d, dFormat, s, sFormat, count);
        return;
    case SRCINVERT:
        CombineRow(d, dStep, s, sStep, count, [](BYTE a, BYTE b) { return BYTE(a ^ b); });
        return;
    case SRCAND:
        CombineRow(d, dStep, s, sStep, count, [](BYTE a, BYTE b) { return BYTE(a & b); });
        return;
    case SRCPAINT:
        CombineRow(d, dStep, s, sStep, count, [](BYTE a, BYTE b) { return BYTE(a | b); });
        return;
    case NOTSRCCOPY:
        CombineRow(d, dStep, s, sStep, count, [](BYTE a, BYTE) { return BYTE(~a); });
        return;
    default:
        break;
    }
    const BYTE p[4] = {GetBValue(pattern), GetGValue(pattern), GetRValue(pattern), 0};
    for (int i = 0; i < count; ++i, d += dStep, s += sStep) {
        for (int c = 0; c < 3; ++c)
            d[c] = Rop3Byte(rop, p[c], s[c], d[c]);
        if (dStep == 4) d[3] = Rop3Byte(rop, 0, sStep == 4 ? s[3] : 0, d[3]);
    }
}

RECT SurfaceBounds(const Bitmap& bitmap) {
    return RECT {0, 0, bitmap.Width(), bitmap.Height()};
}

std::unique_ptr<Bitmap> CopyOfArea(const Bitmap& source, const RECT& area) {
    std::unique_ptr<Bitmap> copy(Bitmap::Create(area.right - area.left, area.bottom - area.top, source.Format()));
    if (!copy) return nullptr;
    for (int y = area.top; y < area.bottom; ++y)
        std::memcpy(copy->ScanLine(y - area.top), source.ScanLine(y) + size_t(area.left) * source.BytesPerPixel(),
            size_t(area.right - area.left) * source.BytesPerPixel());
    return copy;
}

bool BitBlt(HDC dest, int x, int y, int cx, int cy, HDC src, int xSrc, int ySrc, DWORD rop) {
    if (!IsValidDC(dest) || cx <= 0 || cy <= 0) return false;
    const bool needsSource = RopUsesSource(rop);
    if (needsSource && !IsValidDC(src)) return false;
    const RECT destRect = ClampedRect(x, y, int64_t(x) + cx, int64_t(y) + cy);
    DrawCall call = MakeCall(DrawKind::BitBlt, destRect, {POINT {xSrc, ySrc}});
    call.Flags = rop;
    if (!RecordCall(dest, std::move(call))) return true;
    if (!needsSource) {
        // Pattern and destination only: the same as PatBlt.
        const DcState& state = dest->State();
        const COLORREF pattern = state.Brush && !state.Brush->IsNull() ? state.Brush->Color() : 0;
        Bitmap* surface = dest->Surface();
        if (!surface) return true;
        const BandedRegion visible = dest->EffectiveClip().Intersect(dest->ToSurface(destRect));
        for (const RECT& r : visible.Rects())
            for (int row = r.top; row < r.bottom; ++row) {
                BYTE* d = surface->ScanLine(row) + size_t(r.left) * surface->BytesPerPixel();
                for (int i = r.left; i < r.right; ++i, d += surface->BytesPerPixel()) {
                    const BYTE p[3] = {GetBValue(pattern), GetGValue(pattern), GetRValue(pattern)};
                    for (int c = 0; c < 3; ++c)
                        d[c] = Rop3Byte(rop, p[c], 0, d[c]);
                    if (surface->BytesPerPixel() == 4) d[3] = Rop3Byte(rop, 0, 0, d[3]);
                }
            }
        return true;
    }
    Bitmap* dstSurface = dest->Surface();
    Bitmap* srcSurface = src->Surface();
    if (!dstSurface || !srcSurface) return true;
    // Destination block in surface coordinates and where its top-left corner reads the source.
    const RECT block = dest->ToSurface(destRect);
    const POINT srcAt = src->ToSurface(xSrc, ySrc);
    const int shiftX = srcAt.x - block.left;   // source x = destination x + shiftX
    const int shiftY = srcAt.y - block.top;
    RECT srcInDest = SurfaceBounds(*srcSurface);
    OffsetRect(&srcInDest, -shiftX, -shiftY);
    RECT area;
    if (!IntersectRect(&area, &block, &srcInDest)) return true;
    const BandedRegion visible = dest->EffectiveClip().Intersect(area);
    if (visible.IsEmpty()) return true;

    // Same surface and overlapping: read from a copy so no source pixel is overwritten before it is read.
    const Bitmap* from = srcSurface;
    int fromShiftX = shiftX;
    int fromShiftY = shiftY;
    std::unique_ptr<Bitmap> copy;
    if (srcSurface == dstSurface) {
        RECT srcArea = visible.Box();
        OffsetRect(&srcArea, shiftX, shiftY);
        RECT overlap;
        if (IntersectRect(&overlap, &srcArea, &visible.Box())) {
            copy = CopyOfArea(*srcSurface, srcArea);
            if (!copy) return false;
            from = copy.get();
            fromShiftX = shiftX - srcArea.left;
            fromShiftY = shiftY - srcArea.top;
        }
    }
    const DcState& state = dest->State();
    const COLORREF pattern = state.Brush && !state.Brush->IsNull() ? state.Brush->Color() : 0;
    const int dStep = dstSurface->BytesPerPixel();
    const int sStep = from->BytesPerPixel();
    for (const RECT& r : visible.Rects())
        for (int row = r.top; row < r.bottom; ++row)
            BlitRow(dstSurface->ScanLine(row) + size_t(r.left) * dStep, dstSurface->Format(),
                from->ScanLine(row + fromShiftY) + size_t(r.left + fromShiftX) * sStep, from->Format(),
                r.right - r.left, rop, pattern);
    return true;
}

}

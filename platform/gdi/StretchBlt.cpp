// StretchBlt and AlphaBlend: nearest-neighbour scaling, mirroring and per-pixel alpha blending.
#include "platform/gdi/BitBlt.h"

#include "platform/gdi/BlitRows.h"
#include "platform/gdi/Recording.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace korvex::gdi {

namespace {

// A block given by origin and signed extent: GDI's negative extents run leftwards from x inclusive.
RECT NormalBlock(int x, int y, int width, int height) {
    const int64_t x0 = x, y0 = y;
    RECT r {ClampCoord(x0), ClampCoord(y0), ClampCoord(x0 + width), ClampCoord(y0 + height)};
    if (width < 0) r = RECT {ClampCoord(x0 + width + 1), r.top, ClampCoord(x0 + 1), r.bottom};
    if (height < 0) r = RECT {r.left, ClampCoord(y0 + height + 1), r.right, ClampCoord(y0 + 1)};
    return r;
}

// Source index for each destination index (centre sampling), -1 where it falls outside the source.
// For `count` destination indexes from `first` (of destCount): the source index, or -1 outside the source.
std::vector<int> IndexMap(
    int64_t first, int count, int64_t destCount, int64_t srcCount, int srcStart, int srcLimit, bool mirror) {
    std::vector<int> map(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        const int64_t i = first + k;
        int64_t j = ((2 * i + 1) * srcCount) / (2 * destCount);
        if (mirror) j = srcCount - 1 - j;
        const int64_t at = srcStart + j;
        map[size_t(k)] = at >= 0 && at < srcLimit ? int(at) : -1;
    }
    return map;
}

struct ScaledBlit {
    Bitmap* Dest = nullptr;
    const Bitmap* Source = nullptr;
    RECT DestBlock {};   // surface coordinates
    int MapLeft = 0;   // XMap[0] is for this destination column, YMap[0] for the row MapTop
    int MapTop = 0;
    std::vector<int> XMap;   // per visible destination column: source column or -1
    std::vector<int> YMap;
    BandedRegion Visible;
    std::unique_ptr<Bitmap> Copy;   // the source area when source and destination share a surface
};

// Prepares a scaled blit; false when nothing is to be drawn.
bool PrepareScaled(
    ScaledBlit& blit, HDC dest, const RECT& destRect, HDC src, const RECT& srcRect, bool mirrorX, bool mirrorY) {
    blit.Dest = dest->Surface();
    Bitmap* srcSurface = src->Surface();
    if (!blit.Dest || !srcSurface) return false;
    blit.DestBlock = dest->ToSurface(destRect);
    const RECT s = src->ToSurface(srcRect);
    blit.Visible = dest->EffectiveClip().Intersect(blit.DestBlock);
    if (blit.Visible.IsEmpty()) return false;
    // Maps only for the visible columns and rows, measured from the block's own (unclamped) corner.
    const RECT& vb = blit.Visible.Box();
    const POINT o = dest->SurfaceOffset();
    const int64_t left = int64_t(destRect.left) + o.x;
    const int64_t top = int64_t(destRect.top) + o.y;
    const int64_t w = int64_t(destRect.right) - destRect.left;
    const int64_t h = int64_t(destRect.bottom) - destRect.top;
    blit.MapLeft = vb.left;
    blit.MapTop = vb.top;
    blit.XMap = IndexMap(
        vb.left - left, vb.right - vb.left, w, int64_t(s.right) - s.left, s.left, srcSurface->Width(), mirrorX);
    blit.YMap = IndexMap(
        vb.top - top, vb.bottom - vb.top, h, int64_t(s.bottom) - s.top, s.top, srcSurface->Height(), mirrorY);
    blit.Source = srcSurface;
    if (srcSurface == blit.Dest) {
        RECT area;
        const RECT bounds = SurfaceBounds(*srcSurface);
        if (!IntersectRect(&area, &s, &bounds)) return false;
        blit.Copy = CopyOfArea(*srcSurface, area);
        if (!blit.Copy) return false;
        blit.Source = blit.Copy.get();
        for (int& m : blit.XMap)
            m = m < 0 ? -1 : m - area.left;
        for (int& m : blit.YMap)
            m = m < 0 ? -1 : m - area.top;
    }
    return true;
}

// Gathers one destination row from a source row through the column map.
void StretchCopyRow(
    BYTE* d, const BYTE* srcRow, PixelFormat dFormat, PixelFormat sFormat, const int* xmap, int count, bool allInside) {
    const int dStep = BytesPerPixel(dFormat);
    const int sStep = BytesPerPixel(sFormat);
    if (dFormat == PixelFormat::pf32bit && sFormat == PixelFormat::pf32bit && allInside) {
        int i = 0;
        for (; i + 4 <= count; i += 4) {
            uint32_t v[4];
            std::memcpy(&v[0], srcRow + size_t(xmap[i]) * 4, 4);
            std::memcpy(&v[1], srcRow + size_t(xmap[i + 1]) * 4, 4);
            std::memcpy(&v[2], srcRow + size_t(xmap[i + 2]) * 4, 4);
            std::memcpy(&v[3], srcRow + size_t(xmap[i + 3]) * 4, 4);
            std::memcpy(d + size_t(i) * 4, v, 16);
        }
        for (; i < count; ++i)
            std::memcpy(d + size_t(i) * 4, srcRow + size_t(xmap[i]) * 4, 4);
        return;
    }
    if (dFormat == PixelFormat::pf24bit && sFormat == PixelFormat::pf24bit && allInside) {
        for (int i = 0; i < count; ++i, d += 3) {
            const BYTE* s = srcRow + size_t(xmap[i]) * 3;
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        }
        return;
    }
    for (int i = 0; i < count; ++i, d += dStep) {
        if (xmap[i] < 0) continue;
        const BYTE* s = srcRow + size_t(xmap[i]) * sStep;
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
        if (dStep == 4) d[3] = sStep == 4 ? s[3] : 0;
    }
}

inline int Div255(int v) {
    return (v + 128 + ((v + 128) >> 8)) >> 8;
}

}

bool StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth, int srcHeight,
    DWORD rop) {
    if (!IsValidDC(dest) || width == 0 || height == 0) return false;
    if (!RopUsesSource(rop)) {
        const RECT block = NormalBlock(x, y, width, height);
        return BitBlt(
            dest, block.left, block.top, block.right - block.left, block.bottom - block.top, nullptr, 0, 0, rop);
    }
    if (!IsValidDC(src) || srcWidth == 0 || srcHeight == 0) return false;
    const RECT d = NormalBlock(x, y, width, height);
    const RECT s = NormalBlock(xSrc, ySrc, srcWidth, srcHeight);
    const bool mirrorX = (width < 0) != (srcWidth < 0);
    const bool mirrorY = (height < 0) != (srcHeight < 0);
    if (!mirrorX && !mirrorY && d.right - d.left == s.right - s.left && d.bottom - d.top == s.bottom - s.top)
        return BitBlt(dest, d.left, d.top, d.right - d.left, d.bottom - d.top, src, s.left, s.top, rop);
    DrawCall call = MakeCall(DrawKind::StretchBlt, d, {POINT {s.left, s.top}, POINT {s.right, s.bottom}});
    call.Flags = rop;
    if (!RecordCall(dest, std::move(call))) return true;
    ScaledBlit blit;
    if (!PrepareScaled(blit, dest, d, src, s, mirrorX, mirrorY)) return true;
    const DcState& state = dest->State();
    const COLORREF pattern = state.Brush && !state.Brush->IsNull() ? state.Brush->Color() : 0;
    const int dStep = blit.Dest->BytesPerPixel();
    const int sStep = blit.Source->BytesPerPixel();
    for (const RECT& r : blit.Visible.Rects()) {
        const int* xmap = blit.XMap.data() + (r.left - blit.MapLeft);
        const int count = r.right - r.left;
        const bool allInside = std::all_of(xmap, xmap + count, [](int m) { return m >= 0; });
        int previousSource = -1;
        const BYTE* previousRow = nullptr;
        for (int row = r.top; row < r.bottom; ++row) {
            const int sy = blit.YMap[size_t(row - blit.MapTop)];
            if (sy < 0) continue;
            BYTE* d = blit.Dest->ScanLine(row) + size_t(r.left) * dStep;
            if (rop == SRCCOPY) {
                if (sy == previousSource && previousRow) {
                    std::memcpy(d, previousRow, size_t(count) * dStep);
                } else {
                    StretchCopyRow(d, blit.Source->ScanLine(sy), blit.Dest->Format(), blit.Source->Format(), xmap,
                        count, allInside);
                    previousSource = sy;
                    previousRow = d;
                }
                continue;
            }
            const BYTE* srcRow = blit.Source->ScanLine(sy);
            for (int i = 0; i < count; ++i)
                if (xmap[i] >= 0)
                    BlitRow(d + size_t(i) * dStep, blit.Dest->Format(), srcRow + size_t(xmap[i]) * sStep,
                        blit.Source->Format(), 1, rop, pattern);
        }
    }
    return true;
}

bool AlphaBlend(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth, int srcHeight,
    BLENDFUNCTION blend) {
    if (!IsValidDC(dest) || !IsValidDC(src) || width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0
        || blend.BlendOp != AC_SRC_OVER)
        return false;
    const RECT d = ClampedRect(x, y, int64_t(x) + width, int64_t(y) + height);
    const RECT s {xSrc, ySrc, xSrc + srcWidth, ySrc + srcHeight};
    if (!RecordCall(dest, MakeCall(DrawKind::AlphaBlend, d, {POINT {s.left, s.top}, POINT {s.right, s.bottom}})))
        return true;
    ScaledBlit blit;
    if (!PrepareScaled(blit, dest, d, src, s, false, false)) return true;
    const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) && blit.Source->Format() == PixelFormat::pf32bit;
    const int constant = blend.SourceConstantAlpha;
    const int dStep = blit.Dest->BytesPerPixel();
    const int sStep = blit.Source->BytesPerPixel();
    for (const RECT& r : blit.Visible.Rects()) {
        for (int row = r.top; row < r.bottom; ++row) {
            const int sy = blit.YMap[size_t(row - blit.MapTop)];
            if (sy < 0) continue;
            const BYTE* srcRow = blit.Source->ScanLine(sy);
            BYTE* dp = blit.Dest->ScanLine(row) + size_t(r.left) * dStep;
            for (int col = r.left; col < r.right; ++col, dp += dStep) {
                const int sx = blit.XMap[size_t(col - blit.MapLeft)];
                if (sx < 0) continue;
                const BYTE* sp = srcRow + size_t(sx) * sStep;
                if (perPixel) {
                    // Premultiplied source: d = s * ca + d * (1 - sa * ca).
                    const int sa = Div255(sp[3] * constant);
                    for (int c = 0; c < 3; ++c)
                        dp[c] = BYTE(std::min(255, Div255(sp[c] * constant) + Div255(dp[c] * (255 - sa))));
                    if (dStep == 4) dp[3] = BYTE(std::min(255, sa + Div255(dp[3] * (255 - sa))));
                } else {
                    for (int c = 0; c < 3; ++c)
                        dp[c] = BYTE(Div255(sp[c] * constant + dp[c] * (255 - constant)));
                    if (dStep == 4) dp[3] = BYTE(Div255(constant * 255 + dp[3] * (255 - constant)));
                }
            }
        }
    }
    return true;
}

}

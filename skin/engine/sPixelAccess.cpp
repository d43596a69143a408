// Fast pixel access records, the summing blend, the colour blend of a rectangle and the disabled look.
#include "skin/engine/sPixelAccess.h"

#include "platform/classes/TBitmap.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/engine/sPixelRows.h"
#include "skin/engine/sRoundedMix.h"

#include <algorithm>
#include <cmath>

namespace korvex::skin {

using detail::PixelView;

// ---------------------------------------------------------------------------------------------------------
// TacFast24, TacFast32

bool TacFastPixels::AttachBitmap(classes::TBitmap* bitmap, int bytesPerPixel) {
    const PixelView view = bytesPerPixel == 4 ? detail::View32(bitmap) : detail::View24(bitmap);
    if (!view || view.Width < 2 || view.Height < 2) {
        FWidth = 0;
        return false;
    }
    FBitmap = bitmap;
    FWidth = view.Width;
    FHeight = view.Height;
    FBytesPerPixel = bytesPerPixel;
    FStride = view.Stride;
    FFirstLine = view.Bits;
    return true;
}

std::uint8_t* TacFastPixels::PixelAt(int x, int y) const {
    if (unsigned(x) >= unsigned(FWidth) || unsigned(y) >= unsigned(FHeight)) return nullptr;
    return FFirstLine + y * FStride + std::ptrdiff_t(x) * FBytesPerPixel;
}

void TacFast24::SetPixel(int x, int y, classes::TColor color) {
    if (std::uint8_t* p = PixelAt(x, y)) detail::Bgr::Of(std::uint32_t(color)).Store(p);
}

classes::TColor TacFast24::GetPixel(int x, int y) const {
    const std::uint8_t* p = PixelAt(x, y);
    return p ? classes::TColor(detail::PixelColor(p)) : -1;
}

void TacFast32::SetPixel(int x, int y, classes::TColor color) {
    SetPixelAlpha(x, y, color, 0);
}

void TacFast32::SetPixelAlpha(int x, int y, classes::TColor color, std::uint8_t alpha) {
    std::uint8_t* p = PixelAt(x, y);
    if (!p) return;
    detail::Bgr::Of(std::uint32_t(color)).Store(p);
    p[3] = alpha;
}

// ---------------------------------------------------------------------------------------------------------
// TacFastSum24

bool TacFastSum24::Attach(classes::TBitmap* src, classes::TBitmap* dst) {
    const PixelView s = detail::View24(src);
    const PixelView d = detail::View24(dst);
    if (!s || !d || s.Height < 2 || d.Height < 2 || s.Width < 2 || d.Width < 2) return false;
    FSrc = src;
    FDst = dst;
    FWidth = std::min(s.Width, d.Width);
    FHeight = std::min(s.Height, d.Height);
    return true;
}

void TacFastSum24::Blend() {
    const PixelView s = detail::View24(FSrc);
    const PixelView d = detail::View24(FDst);
    if (!s || !d) return;
    int dx = DstRect.left, dy = DstRect.top;
    int width = DstRect.right - DstRect.left, height = DstRect.bottom - DstRect.top;
    // Source rows are addressed from the bottom edges.
    int sx = SrcRect.left;
    int sy = int(std::int64_t(SrcRect.bottom) - DstRect.bottom + DstRect.top);
    if (!detail::ClipBlock(dx, dy, d.Width, d.Height, sx, sy, s.Width, s.Height, width, height)) return;
    for (int r = 0; r < height; ++r)
        detail::SumRow(d.At24(dx, dy + r), s.At24(sx, sy + r), width * 3, Alpha);
}

// ---------------------------------------------------------------------------------------------------------
// Colour blend and disabled look

void BlendRectWithColor(classes::TBitmap* bitmap, const classes::TRect& rect, int percent, classes::TColor color) {
    const PixelView view = detail::View24(bitmap);
    if (!view) return;
    const int left = std::max(rect.left, 0), top = std::max(rect.top, 0);
    const int right = std::min(rect.right, view.Width), bottom = std::min(rect.bottom, view.Height);
    if (right <= left || bottom <= top) return;

    // The result of a channel depends only on its old value: one exact table per channel, which the integer
    // kernel reproduces (it is built from the tables and refuses where it cannot).
    const int p = percent & 255;
    if (p == 50) {
        // t and 1 - t are exact halves: the double formula is (old + c) / 2 with halves to even.
        const detail::Bgr half = detail::Bgr::Of(std::uint32_t(classes::ColorToRGB(color)));
        for (int y = top; y < bottom; ++y)
            detail::HalfMixRow(view.At24(left, y), right - left, half);
        return;
    }
    const double t = double(p) / 100.0;
    const detail::Bgr c = detail::Bgr::Of(std::uint32_t(classes::ColorToRGB(color)));
    const int channel[3] = {c.B, c.G, c.R};
    std::uint8_t lut[3][256];
    int mix[3];
    for (int ch = 0; ch < 3; ++ch) {
        const double cc = channel[ch] * (1.0 - t);
        mix[ch] = channel[ch] * (100 - p);
        for (int old = 0; old < 256; ++old)
            lut[ch][old] = detail::ClampToByte(int(std::nearbyint(old * t + cc)));
    }
    const detail::RoundedMix kernel(p, mix, lut);
    for (int y = top; y < bottom; ++y) {
        if (kernel.Usable())
            kernel.Row(view.At24(left, y), right - left);
        else
            detail::LookupRow(view.At24(left, y), right - left, lut[0], lut[1], lut[2]);
    }
}

void ApplyDisabledLook(classes::TBitmap* bitmap, TsDisabledKind kind, classes::TColor controlColor,
    classes::TPoint offset, const TsParentCacheInfo& cacheInfo) {
    if (!bitmap) return;
    if (kind.Contains(dkGrayed)) GrayscaleBitmap(bitmap);
    if (!kind.Contains(dkBlended)) return;
    classes::TRect r {0, 0, bitmap->Width(), bitmap->Height()};
    if (cacheInfo.Ready && cacheInfo.Bmp) {
        gdi::OffsetRect(&r, cacheInfo.X + offset.x, cacheInfo.Y + offset.y);
        // A key with the top byte 0xFF: no pixel of the parent counts as transparent.
        BlendBitmapRect(bitmap, 0, 0, cacheInfo.Bmp, r, 0.4, classes::TColor(0xFF000000u));
        return;
    }
    const classes::TColor answer = cacheInfo.ParentAnswer;
    const classes::TColor blend = answer != 0xFF00FF ? answer : classes::ColorToRGB(controlColor);
    BlendRectWithColor(bitmap, classes::TRect {0, 0, bitmap->Width(), bitmap->Height()}, 50, blend);
}

}

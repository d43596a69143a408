// Bitmap routines of the skin engine: new bitmaps, greying, tinting, mask and summing blends, transparent copies.
#include "skin/engine/sBitmapUtils.h"

#include "platform/classes/TBitmap.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sPixelRows.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace korvex::skin {

using detail::PixelView;

namespace {

std::unique_ptr<classes::TBitmap> NewBitmap(int width, int height, classes::TPixelFormat format) {
    auto bitmap = std::make_unique<classes::TBitmap>();
    bitmap->SetPixelFormat(format);
    bitmap->SetHandleType(classes::bmDIB);
    bitmap->SetSize(width, height);
    return bitmap;
}

}

std::unique_ptr<classes::TBitmap> NewBitmap24(int width, int height) {
    return NewBitmap(width, height, classes::pf24bit);
}

std::unique_ptr<classes::TBitmap> NewBitmap24Like(const classes::TBitmap* bitmap) {
    return NewBitmap24(bitmap ? bitmap->Width() : 0, bitmap ? bitmap->Height() : 0);
}

std::unique_ptr<classes::TBitmap> NewBitmap32(int width, int height) {
    return NewBitmap(width, height, classes::pf32bit);
}

// ---------------------------------------------------------------------------------------------------------
// Greying and tinting

void GrayscaleBitmap(classes::TBitmap* bitmap) {
    const PixelView view = detail::View24(bitmap);
    if (!view) return;
    for (int y = 0; y < view.Height; ++y)
        detail::GrayRow(view.Row(y), view.Width);
}

void GrayscaleBitmapExcept(classes::TBitmap* bitmap, classes::TColor color) {
    const PixelView view = detail::View24(bitmap);
    if (!view) return;
    const detail::Bgr except = detail::Bgr::Of(std::uint32_t(color));
    for (int y = 0; y < view.Height; ++y)
        detail::GrayRowExcept(view.Row(y), view.Width, except);
}

void TintBitmap(classes::TBitmap* bitmap, const classes::TBitmap* mask, classes::TColor color) {
    const PixelView view = detail::View24(bitmap);
    const PixelView m = detail::View24(mask);
    if (!view || !m || view.Width != m.Width || view.Height != m.Height) return;
    const detail::Bgr c = detail::Bgr::Of(std::uint32_t(classes::ColorToRGB(color)));
    for (int y = 0; y < view.Height; ++y)
        detail::MaskRowColor(view.Row(y), c, m.Row(y), view.Width);
}

void BlendThroughMask(
    classes::TBitmap* dst, const classes::TBitmap* bg, const classes::TBitmap* mask, const classes::TRect& rect) {
    const PixelView d = detail::View24(dst);
    const PixelView b = detail::View24(bg);
    const PixelView m = detail::View24(mask);
    if (!d || !b || !m) return;
    if (std::int64_t(rect.right) - rect.left > d.Width || std::int64_t(rect.bottom) - rect.top > d.Height) return;
    // Clipped to all three bitmaps: a rectangle that starts inside may still end outside.
    const int left = std::max(rect.left, 0), top = std::max(rect.top, 0);
    const int right = std::min({rect.right, d.Width, b.Width, m.Width});
    const int bottom = std::min({rect.bottom, d.Height, b.Height, m.Height});
    if (right <= left || bottom <= top) return;
    const int bytes = (right - left) * 3;
    std::vector<std::uint8_t> before(std::size_t(bytes), 0);
    for (int y = top; y < bottom; ++y) {
        std::uint8_t* row = d.At24(left, y);
        const std::uint8_t* maskRow = m.At24(left, y);
        std::copy(row, row + bytes, before.begin());
        detail::MaskRow(row, b.At24(left, y), maskRow, bytes, false);
        // The kernel keeps 255/256 of dst under white: white shows dst exactly, without a faint box.
        for (int i = 0; i < bytes; ++i)
            if (maskRow[i] == 255) row[i] = before[std::size_t(i)];
    }
}

// ---------------------------------------------------------------------------------------------------------
// Summing blends

void SumBitmaps(classes::TBitmap* dst, classes::TBitmap* src, std::uint8_t alpha) {
    if (!dst || !src || dst->Width() != src->Width() || dst->Height() != src->Height()) return;
    TacFastSum24 sum;
    if (!sum.Attach(src, dst)) return;
    sum.Alpha = alpha;
    sum.DstRect = classes::TRect {0, 0, sum.Width(), sum.Height()};
    sum.SrcRect = sum.DstRect;
    sum.Blend();
}

void SumBitmapRect(classes::TBitmap* dst, classes::TBitmap* src, std::uint8_t alpha, classes::TRect srcRect,
    classes::TPoint dstPoint) {
    if (!dst || !src) return;
    std::int64_t x = dstPoint.x, y = dstPoint.y;
    std::int64_t left = srcRect.left, top = srcRect.top, right = srcRect.right, bottom = srcRect.bottom;
    if (x < 0) left -= x, x = 0;
    if (y < 0) top -= y, y = 0;
    // A source block starting left of or above the bitmap keeps its pixels where they belong: the
    // destination moves by as much as the source start is cut.
    if (left < 0) x -= left, left = 0;
    if (top < 0) y -= top, top = 0;
    right = std::min<std::int64_t>(right, src->Width());
    bottom = std::min<std::int64_t>(bottom, src->Height());
    if (x + (right - left) > dst->Width()) right = dst->Width() - x + left;
    if (y + (bottom - top) > dst->Height()) bottom = dst->Height() - y + top;
    const std::int64_t width = right - left, height = bottom - top;
    if (width <= 0 || height <= 0) return;
    TacFastSum24 sum;
    if (!sum.Attach(src, dst)) return;
    sum.Alpha = alpha;
    sum.DstRect = classes::TRect {int(x), int(y), int(x + width), int(y + height)};
    sum.SrcRect = classes::TRect {int(left), int(top), int(left + width), int(top + height)};
    sum.Blend();
}

// ---------------------------------------------------------------------------------------------------------
// Factor blend and transparent copies

namespace {

// srcRect (right and bottom inclusive) cut to the source, then the block at (x, y) cut to both bitmaps.
bool ClipInclusive(const PixelView& d, int& x, int& y, const PixelView& s, const classes::TRect& srcRect, int& sx,
    int& sy, int& width, int& height) {
    sx = srcRect.left;
    sy = srcRect.top;
    width = int(std::min<std::int64_t>(std::int64_t(srcRect.right) + 1, s.Width) - sx);
    height = int(std::min<std::int64_t>(std::int64_t(srcRect.bottom) + 1, s.Height) - sy);
    if (width <= 0 || height <= 0) return false;
    return detail::ClipBlock(x, y, d.Width, d.Height, sx, sy, s.Width, s.Height, width, height);
}

}

void BlendBitmapRect(classes::TBitmap* dst, int x, int y, const classes::TBitmap* src, classes::TRect srcRect, double f,
    classes::TColor transparentColor) {
    const PixelView d = detail::View24(dst);
    const PixelView s = detail::View24(src);
    if (!d || !s) return;
    int sx = 0, sy = 0, width = 0, height = 0;
    if (!ClipInclusive(d, x, y, s, srcRect, sx, sy, width, height)) return;
    const bool everyPixel = (std::uint32_t(transparentColor) >> 24) == 0xFF;
    const detail::Bgr key = detail::Bgr::Of(std::uint32_t(transparentColor));
    for (int r = 0; r < height; ++r) {
        const std::uint8_t* sp = s.At24(sx, sy + r);
        std::uint8_t* dp = d.At24(x, y + r);
        for (int c = 0; c < width; ++c, sp += 3, dp += 3) {
            if (!everyPixel && key.Matches(sp)) continue;
            for (int ch = 0; ch < 3; ++ch)
                dp[ch] = detail::ClampToByte(int(std::nearbyint(sp[ch] - (double(sp[ch]) - dp[ch]) * f)));
        }
    }
}

void TransparentCopy(
    classes::TBitmap* dst, const classes::TBitmap* src, int x, int y, classes::TColor transparentColor) {
    if (!src) return;
    TransparentCopyRect(dst, src, x, y, classes::TRect {0, 0, src->Width() - 1, src->Height() - 1}, transparentColor);
}

void TransparentCopyRect(classes::TBitmap* dst, const classes::TBitmap* src, int x, int y, classes::TRect srcRect,
    classes::TColor transparentColor) {
    const PixelView d = detail::View24(dst);
    PixelView s = detail::View24(src);
    if (!d || !s) return;
    int sx = 0, sy = 0, width = 0, height = 0;
    if (!ClipInclusive(d, x, y, s, srcRect, sx, sy, width, height)) return;
    // A copy within one bitmap reads from a snapshot, so overlapping blocks copy as a whole.
    std::vector<std::uint8_t> snapshot;
    if (s.Bits == d.Bits) {
        snapshot.assign(s.Bits, s.Bits + s.Stride * s.Height);
        s.Bits = snapshot.data();
    }
    const detail::Bgr key = detail::Bgr::Of(std::uint32_t(classes::ColorToRGB(transparentColor)));
    for (int r = 0; r < height; ++r)
        detail::CopyRowExcept(d.At24(x, y + r), s.At24(sx, sy + r), width, key);
}

void TransparentCopyRect(classes::TBitmap* dst, const classes::TBitmap* src, int x, int y, classes::TRect srcRect,
    classes::TColor transparentColor, bool, const TsParentCacheInfo&) {
    TransparentCopyRect(dst, src, x, y, srcRect, transparentColor);
}

void TransparentCopyRect(classes::TBitmap* dst, const classes::TBitmap* src, int x, int y, classes::TRect srcRect,
    classes::TColor transparentColor, const TsParentCacheInfo&) {
    TransparentCopyRect(dst, src, x, y, srcRect, transparentColor);
}

}

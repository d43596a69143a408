// Bitmap routines of the skin engine: new bitmaps, greying, tinting, mask and summing blends, transparent copies.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsTypes.h"
#include "skin/engine/sParentCache.h"

#include <cstdint>
#include <memory>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

// Every routine works on pf24bit bitmaps (B, G, R rows) and does nothing with other formats, with null or
// empty bitmaps, or with rectangles that miss the bitmaps; reads and writes are clipped to every bitmap.

std::unique_ptr<classes::TBitmap> NewBitmap24(int width, int height);
std::unique_ptr<classes::TBitmap> NewBitmap24Like(const classes::TBitmap* bitmap);
std::unique_ptr<classes::TBitmap> NewBitmap32(int width, int height);

// Every pixel's three channels := (B + G + R) div 3; the Except form leaves pixels of that colour.
void GrayscaleBitmap(classes::TBitmap* bitmap);
void GrayscaleBitmapExcept(classes::TBitmap* bitmap, classes::TColor color);

// bitmap := color + (bitmap - color) * mask / 256 per channel: a white mask keeps the picture, a black one
// gives the colour. Nothing when the sizes differ.
void TintBitmap(classes::TBitmap* bitmap, const classes::TBitmap* mask, classes::TColor color);

// Inside rect (right and bottom excluded, clipped to all three bitmaps):
// dst := bg + (dst - bg) * mask / 256 per channel.
void BlendThroughMask(
    classes::TBitmap* dst, const classes::TBitmap* bg, const classes::TBitmap* mask, const classes::TRect& rect);

// dst := (src * (255 - alpha) + dst * alpha + 127) >> 8 per byte over two bitmaps of the same size.
void SumBitmaps(classes::TBitmap* dst, classes::TBitmap* src, std::uint8_t alpha);
// The same blend of srcRect of src onto dst at dstPoint; negative starts on either side move both, and the
// block is cut to both bitmaps (nothing when it is empty).
void SumBitmapRect(
    classes::TBitmap* dst, classes::TBitmap* src, std::uint8_t alpha, classes::TRect srcRect, classes::TPoint dstPoint);

// srcRect (right and bottom included) of src onto dst at (x, y): each channel := round(s - (s - d) * f),
// halves to even; f is the weight the destination keeps. Source pixels equal to transparentColor stay out
// unless its top byte is 0xFF (then every pixel is blended).
void BlendBitmapRect(classes::TBitmap* dst, int x, int y, const classes::TBitmap* src, classes::TRect srcRect, double f,
    classes::TColor transparentColor);

// Copies the whole src (or srcRect of it, right and bottom included) to (x, y) of dst, leaving out source
// pixels of transparentColor (system colours resolved). A negative srcRect start moves the destination too.
void TransparentCopy(
    classes::TBitmap* dst, const classes::TBitmap* src, int x, int y, classes::TColor transparentColor);
void TransparentCopyRect(classes::TBitmap* dst, const classes::TBitmap* src, int x, int y, classes::TRect srcRect,
    classes::TColor transparentColor);
// The forms the mask painters use: the parent flag and record do not change the copy.
void TransparentCopyRect(classes::TBitmap* dst, const classes::TBitmap* src, int x, int y, classes::TRect srcRect,
    classes::TColor transparentColor, bool fromParent, const TsParentCacheInfo& cacheInfo);
void TransparentCopyRect(classes::TBitmap* dst, const classes::TBitmap* src, int x, int y, classes::TRect srcRect,
    classes::TColor transparentColor, const TsParentCacheInfo& cacheInfo);

}

// Fast pixel access to 24- and 32-bit bitmaps, the summing blend, colour blends and the disabled look.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsTypes.h"
#include "platform/classes/TSet.h"
#include "skin/engine/sParentCache.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

// Pixel access to a bitmap through its first row and stride: what TacFast24 and TacFast32 share. Attach again
// after the bitmap is resized, converted or freed: the record does not notice.
class TacFastPixels {
public:
    classes::TBitmap* Bitmap() const { return FBitmap; }
    int Width() const { return FWidth; }   // 0: not attached
    int Height() const { return FHeight; }

protected:
    // Refuses (Width() becomes 0) bitmaps under 2 x 2 and bitmaps of another format than bytesPerPixel gives.
    bool AttachBitmap(classes::TBitmap* bitmap, int bytesPerPixel);
    // The pixel's first byte; nullptr outside the attached bitmap.
    std::uint8_t* PixelAt(int x, int y) const;

private:
    classes::TBitmap* FBitmap = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    int FBytesPerPixel = 3;
    std::ptrdiff_t FStride = 0;
    std::uint8_t* FFirstLine = nullptr;
};

// Pixel access to a pf24bit bitmap.
class TacFast24 : public TacFastPixels {
public:
    bool Attach(classes::TBitmap* bitmap) { return AttachBitmap(bitmap, 3); }
    // Points outside the attached bitmap are ignored; GetPixel answers -1 there.
    void SetPixel(int x, int y, classes::TColor color);
    classes::TColor GetPixel(int x, int y) const;
};

// Pixel access to a pf32bit bitmap (B, G, R, then 0 or alpha).
class TacFast32 : public TacFastPixels {
public:
    bool Attach(classes::TBitmap* bitmap) { return AttachBitmap(bitmap, 4); }
    // Stores B, G, R and 0 in the fourth byte whatever the colour's top byte is.
    void SetPixel(int x, int y, classes::TColor color);
    // Stores B, G, R and the alpha (layered windows need it).
    void SetPixelAlpha(int x, int y, classes::TColor color, std::uint8_t alpha);
};

// Blends a source bitmap into a destination: dst := (src * (255 - Alpha) + dst * Alpha + 127) >> 8 per byte.
// The source pixel of destination (x, y) is (x - DstRect.left + SrcRect.left, y - DstRect.bottom + SrcRect.bottom).
class TacFastSum24 {
public:
    // Both bitmaps pf24bit and at least 2 x 2; a failed attach changes nothing.
    bool Attach(classes::TBitmap* src, classes::TBitmap* dst);
    // Over DstRect (right and bottom exclusive), clipped to both bitmaps; nothing when the clip is empty.
    void Blend();

    std::uint8_t Alpha = 0;   // weight of the destination: 0 gives the source, 255 keeps the destination
    classes::TRect DstRect {};
    classes::TRect SrcRect {};

    classes::TBitmap* Source() const { return FSrc; }
    classes::TBitmap* Destination() const { return FDst; }
    int Width() const { return FWidth; }   // the common size
    int Height() const { return FHeight; }

private:
    classes::TBitmap* FSrc = nullptr;
    classes::TBitmap* FDst = nullptr;
    int FWidth = 0;
    int FHeight = 0;
};

enum TsDisabledKindItem { dkBlended, dkGrayed };
using TsDisabledKind = classes::TSet<TsDisabledKindItem>;
inline const TsDisabledKind DefaultDisabledKind {dkBlended};
inline constexpr std::string_view DisabledKindIdents[] = {"dkBlended", "dkGrayed"};   // form text names

// Each channel := round(old * p + colour * (1 - p)), p = (percent & 255) / 100, halves to even. Right and
// bottom are exclusive; the rectangle is clipped to the bitmap (pf24bit only).
void BlendRectWithColor(classes::TBitmap* bitmap, const classes::TRect& rect, int percent, classes::TColor color);

// The disabled look of a control's cache: greyed with dkGrayed, then with dkBlended mixed 0.4 with the
// parent's cache under the control (offset by the cache position plus offset), or half-and-half with
// cacheInfo.ParentAnswer (else the control's own colour) when the parent has no cache.
void ApplyDisabledLook(classes::TBitmap* bitmap, TsDisabledKind kind, classes::TColor controlColor,
    classes::TPoint offset, const TsParentCacheInfo& cacheInfo);

}

// Drawing helpers of the picture classes: transparent and alpha-blended stretches of a gdi bitmap onto a DC.
#pragma once

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DeviceContext.h"

namespace korvex::classes::detail {

// Which source pixels stay out of a transparent copy.
enum class MaskBy : std::uint8_t {
    Color,   // pixels whose B, G, R equal the key colour
    Alpha,   // 32-bit pixels whose fourth byte is below 128
};

// Copies the source block into the destination block (stretched when the sizes differ), leaving the
// destination as it was under transparent source pixels: an AND mask, then the picture ORed in.
// key is 0x00BBGGRR. Blocks outside either surface are clipped by the blits.
void TransparentStretch(gdi::HDC dest, const gdi::RECT& destRect, const gdi::Bitmap& source, const gdi::RECT& srcRect,
    MaskBy mode, gdi::COLORREF key = 0);

// Blends a 32-bit premultiplied source block over the destination block by its per-pixel alpha. The source
// must not be selected into another DC.
void AlphaStretch(gdi::HDC dest, const gdi::RECT& destRect, const gdi::Bitmap& source, const gdi::RECT& srcRect);

// True when some 32-bit pixel has an alpha strictly between 0 and 255.
bool HasPartialAlpha(const gdi::Bitmap& bitmap, const gdi::RECT& rect);

}

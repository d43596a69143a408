// Block transfers between device contexts: BitBlt, StretchBlt and AlphaBlend.
#pragma once

#include "platform/gdi/DeviceContext.h"

namespace korvex::gdi {

// Copies (or combines by the raster operation) a cx x cy block. Coordinates are logical in each DC.
// Every blit clips to the source surface, the destination surface and the destination's clip; the part of
// the destination whose source lies outside the source surface is left as it was. Source and destination
// may be the same surface and overlap. Pixels convert between formats: 32 -> 24 drops the fourth byte,
// 24 -> 32 sets it to 0. Raster operations: any ternary code (SRCCOPY, SRCPAINT, SRCAND, SRCINVERT,
// SRCERASE, NOTSRCCOPY, MERGEPAINT, PATCOPY, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS ...); the pattern
// is the destination's solid brush. Operations without a source accept a null source DC.
bool BitBlt(HDC dest, int x, int y, int cx, int cy, HDC src, int xSrc, int ySrc, DWORD rop);

// Nearest-neighbour stretch of the source block onto the destination block. A negative width or height on
// one side (not both) mirrors the picture; the block then spans x + width + 1 .. x, as in GDI.
bool StretchBlt(
    HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth, int srcHeight, DWORD rop);

// Blends the source over the destination: with AC_SRC_ALPHA the source is 32-bit premultiplied with
// per-pixel alpha, scaled by SourceConstantAlpha; without it the constant alpha alone weighs the source.
// Sizes may differ (nearest neighbour); negative sizes are refused.
bool AlphaBlend(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth, int srcHeight,
    BLENDFUNCTION blend);

// One byte of a ternary raster operation: pattern p, source s, destination d.
inline BYTE Rop3Byte(DWORD rop, BYTE p, BYTE s, BYTE d) {
    const unsigned table = (rop >> 16) & 0xFF;
    BYTE result = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!(table & (1u << i))) continue;
        const BYTE pp = (i & 4) ? p : BYTE(~p);
        const BYTE ss = (i & 2) ? s : BYTE(~s);
        const BYTE dd = (i & 1) ? d : BYTE(~d);
        result |= BYTE(pp & ss & dd);
    }
    return result;
}

inline constexpr bool RopUsesSource(DWORD rop) {
    const unsigned t = (rop >> 16) & 0xFF;
    return ((t >> 2) & 0x33) != (t & 0x33);
}

}

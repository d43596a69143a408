// Basic GDI value types: colours, points, sizes, rectangles and handles (constants in GdiConstants.h).
#pragma once

#include "platform/gdi/Forward.h"

#include <cstdint>

namespace korvex::gdi {

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using COLORREF = uint32_t;   // 0x00BBGGRR, red in the low byte

// ---------------------------------------------------------------------------------------------------------
// Colours
inline constexpr COLORREF RGB(int r, int g, int b) {
    return COLORREF(BYTE(r)) | (COLORREF(BYTE(g)) << 8) | (COLORREF(BYTE(b)) << 16);
}
inline constexpr BYTE GetRValue(COLORREF c) {
    return BYTE(c);
}
inline constexpr BYTE GetGValue(COLORREF c) {
    return BYTE(c >> 8);
}
inline constexpr BYTE GetBValue(COLORREF c) {
    return BYTE(c >> 16);
}

inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;   // GetPixel outside the surface or clip
inline constexpr COLORREF CLR_NONE = 0x1FFFFFFF;
inline constexpr COLORREF CLR_TRANSPARENT_KEY = 0xFF00FF;   // the skins' transparent pixel (magenta)

// ---------------------------------------------------------------------------------------------------------
// Geometry. Rectangles follow Windows: left/top inclusive, right/bottom exclusive.
struct POINT {
    LONG x = 0;
    LONG y = 0;
    friend constexpr bool operator==(const POINT&, const POINT&) = default;
};

struct SIZE {
    LONG cx = 0;
    LONG cy = 0;
    friend constexpr bool operator==(const SIZE&, const SIZE&) = default;
};

struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
    constexpr LONG Width() const { return right - left; }
    constexpr LONG Height() const { return bottom - top; }
    friend constexpr bool operator==(const RECT&, const RECT&) = default;
};

bool SetRect(RECT* rect, int left, int top, int right, int bottom);
bool SetRectEmpty(RECT* rect);
bool CopyRect(RECT* dest, const RECT* src);
bool IsRectEmpty(const RECT* rect);   // width or height <= 0 (or null)
bool EqualRect(const RECT* a, const RECT* b);
bool PtInRect(const RECT* rect, POINT pt);   // right and bottom edges are outside
bool OffsetRect(RECT* rect, int dx, int dy);
bool InflateRect(RECT* rect, int dx, int dy);
bool IntersectRect(RECT* dest, const RECT* a, const RECT* b);   // false and an empty dest when they miss
bool UnionRect(RECT* dest, const RECT* a, const RECT* b);   // empty inputs are ignored
bool SubtractRect(RECT* dest, const RECT* a, const RECT* b);   // only when b cuts a whole side off a

// Coordinates are kept within +-2^27 (as GDI limits them), so sums of a few coordinates never overflow.
inline constexpr LONG MaxCoord = LONG(1) << 27;
inline constexpr LONG ClampCoord(int64_t v) {
    return v < -MaxCoord ? -MaxCoord : v > MaxCoord ? MaxCoord : LONG(v);
}

// A rectangle from 64-bit sums, clamped: callers' origin + extent never overflows.
inline constexpr RECT ClampedRect(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return RECT {ClampCoord(left), ClampCoord(top), ClampCoord(right), ClampCoord(bottom)};
}

// Value helpers for our own code.
inline constexpr RECT Rect(int left, int top, int right, int bottom) {
    return RECT {left, top, right, bottom};
}
inline constexpr RECT Bounds(int left, int top, int width, int height) {
    return RECT {left, top, left + width, top + height};
}

// ---------------------------------------------------------------------------------------------------------
// Handles: plain pointers to our own objects (see GdiObject.h and Forward.h); nullptr is the null handle.
using HGDIOBJ = GdiObject*;
using HDC = DeviceContext*;
using HBITMAP = Bitmap*;
using HPEN = Pen*;
using HBRUSH = Brush*;
using HFONT = Font*;
using HRGN = Region*;

}

#include "platform/gdi/GdiConstants.h"

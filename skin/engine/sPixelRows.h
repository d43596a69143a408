// Internal: raw views of 24- and 32-bit bitmaps and the row kernels every skin painter shares.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsTypes.h"

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin::detail {

// The pixels of a bitmap: rows top-down, Stride bytes apart. Bits is null for a view that cannot be used
// (no bitmap, an empty one, or not the pixel format asked for).
struct PixelView {
    std::uint8_t* Bits = nullptr;
    std::ptrdiff_t Stride = 0;
    int Width = 0;
    int Height = 0;

    explicit operator bool() const { return Bits != nullptr; }
    std::uint8_t* Row(int y) const { return Bits + std::ptrdiff_t(y) * Stride; }
    std::uint8_t* At24(int x, int y) const { return Row(y) + std::ptrdiff_t(x) * 3; }
    bool Contains(int x, int y) const { return unsigned(x) < unsigned(Width) && unsigned(y) < unsigned(Height); }
    classes::TRect Bounds() const { return classes::TRect {0, 0, Width, Height}; }
};

PixelView View24(const classes::TBitmap* bitmap);
PixelView View32(const classes::TBitmap* bitmap);

inline std::uint8_t ClampToByte(int value) {
    return std::uint8_t(value < 0 ? 0 : value > 255 ? 255 : value);
}

// The three bytes of a 24-bit pixel as B, G, R for an 0x00BBGGRR colour.
struct Bgr {
    std::uint8_t B = 0, G = 0, R = 0;
    static Bgr Of(std::uint32_t color) {
        return Bgr {std::uint8_t(color >> 16), std::uint8_t(color >> 8), std::uint8_t(color)};
    }
    bool Matches(const std::uint8_t* p) const { return p[0] == B && p[1] == G && p[2] == R; }
    void Store(std::uint8_t* p) const {
        p[0] = B;
        p[1] = G;
        p[2] = R;
    }
};

inline bool IsKeyPixel(const std::uint8_t* p) {
    return p[0] == 0xFF && p[1] == 0x00 && p[2] == 0xFF;
}

inline std::uint32_t PixelColor(const std::uint8_t* p) {
    return std::uint32_t(p[2]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[0]) << 16);
}

// Intersects two equally sized blocks with their bitmaps: the destination block at (dx, dy) and the source
// block at (sx, sy), both width x height. Moves the starts and shrinks the size so both lie inside their
// bounds; false when nothing is left.
bool ClipBlock(int& dx, int& dy, int dstWidth, int dstHeight, int& sx, int& sy, int srcWidth, int srcHeight, int& width,
    int& height);

// ---------------------------------------------------------------------------------------------------------
// Row kernels over `bytes` bytes (3 a pixel for 24-bit rows). dst and src may be the same row.

// dst := (src * (255 - alpha) + dst * alpha + 127) >> 8
void SumRow(std::uint8_t* dst, const std::uint8_t* src, int bytes, int alpha);
// dst := (src * (256 - m) + dst * m) >> 8, m the mask byte (raised by 100, at most 255, when faded).
// Equal to ((dst - src) * m + src * 256) >> 8, which never leaves 0..255.
void MaskRow(std::uint8_t* dst, const std::uint8_t* src, const std::uint8_t* mask, int bytes, bool faded);
// The same with one colour as the source of every pixel (tinting).
void MaskRowColor(std::uint8_t* dst, Bgr color, const std::uint8_t* mask, int pixels);
// Each channel := (old + colour) / 2, halves to even.
void HalfMixRow(std::uint8_t* row, int pixels, Bgr color);
// Each channel through its table (B, G, R).
void LookupRow(
    std::uint8_t* row, int pixels, const std::uint8_t* lutB, const std::uint8_t* lutG, const std::uint8_t* lutR);
// Every pixel's three channels := (B + G + R) / 3; with `except`, pixels of that colour stay.
void GrayRow(std::uint8_t* row, int pixels);
void GrayRowExcept(std::uint8_t* row, int pixels, Bgr except);
// Copies the pixels that are not `key`.
void CopyRowExcept(std::uint8_t* dst, const std::uint8_t* src, int pixels, Bgr key);

// Finds the pixels of one colour among 16 pixels (48 bytes) at a time.
class PixelMatcher {
public:
    explicit PixelMatcher(Bgr color);
    // Bit 3k is set for each pixel k (of the 16 at p) that has the colour.
    std::uint64_t Bits16(const std::uint8_t* p) const {
#if defined(__SSE2__)
        const auto* v = reinterpret_cast<const __m128i*>(p);
        const std::uint64_t e0 = std::uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(v), FPattern[0])));
        const std::uint64_t e1 = std::uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(v + 1), FPattern[1])));
        const std::uint64_t e2 = std::uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(v + 2), FPattern[2])));
        const std::uint64_t equal = e0 | (e1 << 16) | (e2 << 32);
        return equal & (equal >> 1) & (equal >> 2) & 0x249249249249ull;
#else
        std::uint64_t bits = 0;
        for (int k = 0; k < 16; ++k)
            if (FColor.Matches(p + 3 * k)) bits |= std::uint64_t(1) << (3 * k);
        return bits;
#endif
    }

private:
    Bgr FColor;
#if defined(__SSE2__)
    __m128i FPattern[3];   // the colour's bytes repeated, starting on channel 0, 1 and 2
#endif
};

inline const PixelMatcher& KeyMatcher() {
    static const PixelMatcher matcher(Bgr {0xFF, 0x00, 0xFF});
    return matcher;
}

inline void MaskPixel(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, bool faded) {
    for (int c = 0; c < 3; ++c) {
        const unsigned mm = faded ? (m[c] + 100u > 255u ? 255u : m[c] + 100u) : m[c];
        d[c] = std::uint8_t((s[c] * (256u - mm) + d[c] * mm) >> 8);
    }
}

// MaskRow over a row whose source may hold key pixels: onKey(k) decides pixel k (it may change dst) and
// returns false to end the row there. Blocks of 16 pixels without a key go through the vector kernel.
template <class OnKey>
void MaskRowKeyed(
    std::uint8_t* dst, const std::uint8_t* src, const std::uint8_t* mask, int pixels, bool faded, OnKey&& onKey) {
    const PixelMatcher& keys = KeyMatcher();
    int k = 0;
    while (k < pixels) {
        if (pixels - k >= 16 && keys.Bits16(src + 3 * k) == 0) {
            MaskRow(dst + 3 * k, src + 3 * k, mask + 3 * k, 48, faded);
            k += 16;
            continue;
        }
        const int end = pixels - k >= 16 ? k + 16 : pixels;
        for (; k < end; ++k) {
            if (IsKeyPixel(src + 3 * k)) {
                if (!onKey(k)) return;
                continue;
            }
            MaskPixel(dst + 3 * k, src + 3 * k, mask + 3 * k, faded);
        }
    }
}

}

// Internal: raw bitmap views and the row kernels of the skin painters (SSE2 where the target has it).
#include "skin/engine/sPixelRows.h"

#include "platform/classes/TBitmap.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#endif

namespace korvex::skin::detail {

namespace {

PixelView ViewOf(const classes::TBitmap* bitmap, gdi::PixelFormat format) {
    if (!bitmap) return {};
    gdi::Bitmap* image = bitmap->Handle();
    if (!image || image->Empty() || image->Format() != format) return {};
    return PixelView {image->Bits(), image->BytesPerScanLine(), image->Width(), image->Height()};
}

// One axis of ClipBlock, in 64 bits so coordinates from skin files cannot overflow.
bool ClipAxis(int& d, int dLimit, int& s, int sLimit, int& n) {
    std::int64_t dd = d, ss = s, nn = n;
    if (dd < 0) {
        ss -= dd;
        nn += dd;
        dd = 0;
    }
    if (ss < 0) {
        dd -= ss;
        nn += ss;
        ss = 0;
    }
    nn = std::min({nn, std::int64_t(dLimit) - dd, std::int64_t(sLimit) - ss});
    if (nn <= 0) return false;
    d = int(dd);
    s = int(ss);
    n = int(nn);
    return true;
}

}

PixelView View24(const classes::TBitmap* bitmap) {
    return ViewOf(bitmap, gdi::PixelFormat::pf24bit);
}

PixelView View32(const classes::TBitmap* bitmap) {
    return ViewOf(bitmap, gdi::PixelFormat::pf32bit);
}

bool ClipBlock(int& dx, int& dy, int dstWidth, int dstHeight, int& sx, int& sy, int srcWidth, int srcHeight, int& width,
    int& height) {
    return ClipAxis(dx, dstWidth, sx, srcWidth, width) && ClipAxis(dy, dstHeight, sy, srcHeight, height);
}

PixelMatcher::PixelMatcher(Bgr color)
    : FColor(color) {
#if defined(__SSE2__)
    const std::uint8_t bytes[3] = {color.B, color.G, color.R};
    for (int start = 0; start < 3; ++start) {
        alignas(16) std::uint8_t pattern[16];
        for (int i = 0; i < 16; ++i)
            pattern[i] = bytes[(start + i) % 3];
        FPattern[start] = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern));
    }
#endif
}

void SumRow(std::uint8_t* dst, const std::uint8_t* src, int bytes, int alpha) {
    const unsigned a = unsigned(alpha) & 0xFF;
    const unsigned sa = 255 - a;
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i ws = _mm_set1_epi16(short(sa));
    const __m128i wd = _mm_set1_epi16(short(a));
    const __m128i half = _mm_set1_epi16(127);
    // Products stay below 2^16: 255 * 255 + 127 = 65152.
    for (; i + 16 <= bytes; i += 16) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        __m128i lo = _mm_add_epi16(
            _mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), ws), _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), wd));
        __m128i hi = _mm_add_epi16(
            _mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), ws), _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), wd));
        lo = _mm_srli_epi16(_mm_add_epi16(lo, half), 8);
        hi = _mm_srli_epi16(_mm_add_epi16(hi, half), 8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < bytes; ++i)
        dst[i] = std::uint8_t((src[i] * sa + dst[i] * a + 127) >> 8);
}

void MaskRow(std::uint8_t* dst, const std::uint8_t* src, const std::uint8_t* mask, int bytes, bool faded) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(256);
    const __m128i lift = _mm_set1_epi8(100);
    // s * (256 - m) + d * m <= 255 * 256: fits 16 bits unsigned.
    for (; i + 16 <= bytes; i += 16) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask + i));
        if (faded) m = _mm_adds_epu8(m, lift);
        const __m128i mlo = _mm_unpacklo_epi8(m, zero);
        const __m128i mhi = _mm_unpackhi_epi8(m, zero);
        __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(s, zero), _mm_sub_epi16(full, mlo)),
            _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), mlo));
        __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(s, zero), _mm_sub_epi16(full, mhi)),
            _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), mhi));
        _mm_storeu_si128(
            reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8)));
    }
#endif
    for (; i < bytes; ++i) {
        const unsigned m = faded ? std::min(mask[i] + 100u, 255u) : mask[i];
        dst[i] = std::uint8_t((src[i] * (256u - m) + dst[i] * m) >> 8);
    }
}

void MaskRowColor(std::uint8_t* dst, Bgr color, const std::uint8_t* mask, int pixels) {
    std::uint8_t pattern[48];
    for (int k = 0; k < 16; ++k)
        color.Store(pattern + 3 * k);
    int k = 0;
    for (; k + 16 <= pixels; k += 16)
        MaskRow(dst + 3 * k, pattern, mask + 3 * k, 48, false);
    MaskRow(dst + 3 * k, pattern, mask + 3 * k, 3 * (pixels - k), false);
}

void HalfMixRow(std::uint8_t* row, int pixels, Bgr color) {
    std::uint8_t pattern[48];
    for (int k = 0; k < 16; ++k)
        color.Store(pattern + 3 * k);
    int k = 0;
#if defined(__SSE2__)
    // pavgb rounds halves up; an odd sum whose rounded-up half is odd goes one down instead.
    const __m128i low = _mm_set1_epi8(1);
    for (; k + 16 <= pixels; k += 16) {
        auto* v = reinterpret_cast<__m128i*>(row + 3 * k);
        for (int j = 0; j < 3; ++j) {
            const __m128i old = _mm_loadu_si128(v + j);
            const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern) + j);
            const __m128i up = _mm_avg_epu8(old, c);
            const __m128i down = _mm_and_si128(_mm_and_si128(_mm_xor_si128(old, c), up), low);
            _mm_storeu_si128(v + j, _mm_sub_epi8(up, down));
        }
    }
#endif
    for (std::uint8_t* p = row + 3 * k; k < pixels; ++k, p += 3)
        for (int ch = 0; ch < 3; ++ch) {
            const unsigned up = (p[ch] + pattern[ch] + 1u) >> 1;
            p[ch] = std::uint8_t(up - ((p[ch] ^ pattern[ch]) & up & 1u));
        }
}

void LookupRow(
    std::uint8_t* row, int pixels, const std::uint8_t* lutB, const std::uint8_t* lutG, const std::uint8_t* lutR) {
    int k = 0;
    for (; k + 4 <= pixels; k += 4, row += 12) {
        const std::uint8_t b0 = lutB[row[0]], g0 = lutG[row[1]], r0 = lutR[row[2]];
        const std::uint8_t b1 = lutB[row[3]], g1 = lutG[row[4]], r1 = lutR[row[5]];
        const std::uint8_t b2 = lutB[row[6]], g2 = lutG[row[7]], r2 = lutR[row[8]];
        const std::uint8_t b3 = lutB[row[9]], g3 = lutG[row[10]], r3 = lutR[row[11]];
        row[0] = b0, row[1] = g0, row[2] = r0, row[3] = b1, row[4] = g1, row[5] = r1;
        row[6] = b2, row[7] = g2, row[8] = r2, row[9] = b3, row[10] = g3, row[11] = r3;
    }
    for (; k < pixels; ++k, row += 3) {
        row[0] = lutB[row[0]];
        row[1] = lutG[row[1]];
        row[2] = lutR[row[2]];
    }
}

namespace {

// (B + G + R) / 3 for sums up to 765: multiply by 2^16 / 3 rounded up, exact over that range.
inline std::uint8_t Third(unsigned sum) {
    return std::uint8_t((sum * 21846u) >> 16);
}

#if defined(__x86_64__) || defined(__i386__)
#define KORVEX_GREY_SSSE3 1

bool HasSsse3() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}

__attribute__((target("ssse3"))) inline __m128i Gather(
    __m128i a, __m128i b, __m128i c, __m128i ia, __m128i ib, __m128i ic) {
    return _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(a, ia), _mm_shuffle_epi8(b, ib)), _mm_shuffle_epi8(c, ic));
}

// Greys 16 pixels (48 bytes) at p: the channels are gathered into planes, summed in 16 bits, divided by
// three and spread back over the three bytes of each pixel.
__attribute__((target("ssse3"))) inline void GrayBlock16(std::uint8_t* p) {
    auto* v = reinterpret_cast<__m128i*>(p);
    const __m128i a = _mm_loadu_si128(v), b = _mm_loadu_si128(v + 1), c = _mm_loadu_si128(v + 2);
    // Pixel k's channel lies at byte 3k + channel of the 48: gather each channel into one plane (-1: none).
    const __m128i blue = Gather(a, b, c, _mm_setr_epi8(0, 3, 6, 9, 12, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1),
        _mm_setr_epi8(-1, -1, -1, -1, -1, -1, 2, 5, 8, 11, 14, -1, -1, -1, -1, -1),
        _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 1, 4, 7, 10, 13));
    const __m128i green = Gather(a, b, c, _mm_setr_epi8(1, 4, 7, 10, 13, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1),
        _mm_setr_epi8(-1, -1, -1, -1, -1, 0, 3, 6, 9, 12, 15, -1, -1, -1, -1, -1),
        _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 2, 5, 8, 11, 14));
    const __m128i red = Gather(a, b, c, _mm_setr_epi8(2, 5, 8, 11, 14, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1),
        _mm_setr_epi8(-1, -1, -1, -1, -1, 1, 4, 7, 10, 13, -1, -1, -1, -1, -1, -1),
        _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 3, 6, 9, 12, 15));
    const __m128i zero = _mm_setzero_si128();
    const __m128i third = _mm_set1_epi16(21846);   // (sum * 21846) >> 16 == sum / 3 for sums up to 765
    const __m128i lo
        = _mm_mulhi_epu16(_mm_add_epi16(_mm_add_epi16(_mm_unpacklo_epi8(blue, zero), _mm_unpacklo_epi8(green, zero)),
                              _mm_unpacklo_epi8(red, zero)),
            third);
    const __m128i hi
        = _mm_mulhi_epu16(_mm_add_epi16(_mm_add_epi16(_mm_unpackhi_epi8(blue, zero), _mm_unpackhi_epi8(green, zero)),
                              _mm_unpackhi_epi8(red, zero)),
            third);
    const __m128i grey = _mm_packus_epi16(lo, hi);
    const __m128i s0 = _mm_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5);
    const __m128i s1 = _mm_setr_epi8(5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10);
    const __m128i s2 = _mm_setr_epi8(10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15);
    _mm_storeu_si128(v, _mm_shuffle_epi8(grey, s0));
    _mm_storeu_si128(v + 1, _mm_shuffle_epi8(grey, s1));
    _mm_storeu_si128(v + 2, _mm_shuffle_epi8(grey, s2));
}

// Whole blocks of 16 pixels; returns how many pixels were done. Blocks holding a pixel of `except` are left.
__attribute__((target("ssse3"))) int GrayBlocks(std::uint8_t* row, int pixels, const PixelMatcher* except) {
    int k = 0;
    for (; k + 16 <= pixels; k += 16) {
        if (except && except->Bits16(row + 3 * k) != 0) return k;
        GrayBlock16(row + 3 * k);
    }
    return k;
}
#endif

}

void GrayRow(std::uint8_t* row, int pixels) {
    int k = 0;
#if defined(KORVEX_GREY_SSSE3)
    if (HasSsse3()) k = GrayBlocks(row, pixels, nullptr);
#endif
    for (row += 3 * k; k < pixels; ++k, row += 3) {
        const std::uint8_t v = Third(unsigned(row[0]) + row[1] + row[2]);
        row[0] = row[1] = row[2] = v;
    }
}

void GrayRowExcept(std::uint8_t* row, int pixels, Bgr except) {
    int k = 0;
#if defined(KORVEX_GREY_SSSE3)
    const PixelMatcher matcher(except);
    const bool vector = HasSsse3();
#endif
    while (k < pixels) {
#if defined(KORVEX_GREY_SSSE3)
        if (vector) k += GrayBlocks(row + 3 * k, pixels - k, &matcher);
        if (k >= pixels) break;
#endif
        // One block holding a pixel of `except`, or the row's tail.
        const int end = pixels - k >= 16 ? k + 16 : pixels;
        for (std::uint8_t* p = row + 3 * k; k < end; ++k, p += 3) {
            if (except.Matches(p)) continue;
            const std::uint8_t v = Third(unsigned(p[0]) + p[1] + p[2]);
            p[0] = p[1] = p[2] = v;
        }
    }
}

void CopyRowExcept(std::uint8_t* dst, const std::uint8_t* src, int pixels, Bgr key) {
    const PixelMatcher matcher(key);
    int k = 0;
    while (k < pixels) {
        if (pixels - k >= 16) {
            std::uint64_t bits = matcher.Bits16(src + 3 * k);
            if (bits == 0) {
                std::memcpy(dst + 3 * k, src + 3 * k, 48);
            } else {
                for (int j = 0; j < 16; ++j, bits >>= 3)
                    if (!(bits & 1)) std::memcpy(dst + 3 * (k + j), src + 3 * (k + j), 3);
            }
            k += 16;
            continue;
        }
        if (!key.Matches(src + 3 * k)) std::memcpy(dst + 3 * k, src + 3 * k, 3);
        ++k;
    }
}

}

// Internal: raw bitmap views and the row kernels of the skin painters (SSE2 where the target has it).
#include "skin/engine/sPixelRows.h"

#include "platform/classes/TBitmap.h"

#include <algorithm>
#include <cstring>

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

}

void GrayRow(std::uint8_t* row, int pixels) {
    for (int k = 0; k < pixels; ++k, row += 3) {
        const std::uint8_t v = Third(unsigned(row[0]) + row[1] + row[2]);
        row[0] = row[1] = row[2] = v;
    }
}

void GrayRowExcept(std::uint8_t* row, int pixels, Bgr except) {
    for (int k = 0; k < pixels; ++k, row += 3) {
        if (except.Matches(row)) continue;
        const std::uint8_t v = Third(unsigned(row[0]) + row[1] + row[2]);
        row[0] = row[1] = row[2] = v;
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

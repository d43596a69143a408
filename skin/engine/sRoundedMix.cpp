// Internal: the colour mix kernel (integer rounding with the double formula's own ties), SSE2 and AVX2.
#include "skin/engine/sRoundedMix.h"

#include "platform/base/Assert.h"

#include <algorithm>

#if defined(__SSE2__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define KORVEX_MIX_VECTORS 1
#endif

namespace korvex::skin::detail {

namespace {

// floor(n / 200) == (n * 41944) >> 23 for every n below 43690; the kernel's n stay under 25700.
constexpr int Magic200 = 41944;

// A 16-pixel (or 32-pixel) block is three vectors; the byte at `offset` of vector j holds this channel.
int ChannelOf(int width, int vector, int offset) {
    return (width * vector + offset) % 3;
}

#if defined(KORVEX_MIX_VECTORS)

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

struct Lanes {
    const std::int16_t (*Base)[2][16];
    const std::int16_t (*Low)[2][16];
    const std::int16_t (*High)[2][16];
    const std::uint8_t (*FixOld)[3][32];
    const std::uint8_t (*FixStep)[3][32];
    int Percent;
    int Fixups;
};

// Eight 16-bit lanes: floor((n + 50 - low) / 200) + floor((n + 149 + high) / 200), n = old * percent + mix.
template <bool Zones>
inline __m128i MixHalf(__m128i old, __m128i percent, const std::int16_t* base, const std::int16_t* low,
    const std::int16_t* high) {
    const __m128i magic = _mm_set1_epi16(std::int16_t(Magic200));
    const __m128i n = _mm_add_epi16(_mm_mullo_epi16(old, percent), _mm_load_si128(reinterpret_cast<const __m128i*>(base)));
    __m128i n1 = n, n2 = _mm_add_epi16(n, _mm_set1_epi16(99));
    if constexpr (Zones) {
        n1 = _mm_add_epi16(n1, _mm_cmpgt_epi16(_mm_load_si128(reinterpret_cast<const __m128i*>(low)), old));
        n2 = _mm_sub_epi16(n2, _mm_cmpgt_epi16(old, _mm_load_si128(reinterpret_cast<const __m128i*>(high))));
    }
    return _mm_add_epi16(_mm_srli_epi16(_mm_mulhi_epu16(n1, magic), 7), _mm_srli_epi16(_mm_mulhi_epu16(n2, magic), 7));
}

template <bool Zones>
int MixBlocks16(std::uint8_t* row, int pixels, const Lanes& l) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i percent = _mm_set1_epi16(std::int16_t(l.Percent));
    int k = 0;
    for (; k + 16 <= pixels; k += 16) {
        auto* v = reinterpret_cast<__m128i*>(row + 3 * k);
        for (int j = 0; j < 3; ++j) {
            const __m128i b = _mm_loadu_si128(v + j);
            const __m128i lo = MixHalf<Zones>(_mm_unpacklo_epi8(b, zero), percent, l.Base[j][0], l.Low[j][0], l.High[j][0]);
            const __m128i hi = MixHalf<Zones>(_mm_unpackhi_epi8(b, zero), percent, l.Base[j][1], l.Low[j][1], l.High[j][1]);
            __m128i r = _mm_packus_epi16(lo, hi);
            for (int f = 0; f < l.Fixups; ++f) {
                const __m128i hit = _mm_cmpeq_epi8(b, _mm_load_si128(reinterpret_cast<const __m128i*>(l.FixOld[f][j])));
                r = _mm_add_epi8(r, _mm_and_si128(hit, _mm_load_si128(reinterpret_cast<const __m128i*>(l.FixStep[f][j]))));
            }
            _mm_storeu_si128(v + j, r);
        }
    }
    return k;
}

template <bool Zones>
__attribute__((target("avx2"))) inline __m256i MixHalf32(__m256i old, __m256i percent, const std::int16_t* base,
    const std::int16_t* low, const std::int16_t* high) {
    const __m256i magic = _mm256_set1_epi16(std::int16_t(Magic200));
    const __m256i n
        = _mm256_add_epi16(_mm256_mullo_epi16(old, percent), _mm256_load_si256(reinterpret_cast<const __m256i*>(base)));
    __m256i n1 = n, n2 = _mm256_add_epi16(n, _mm256_set1_epi16(99));
    if constexpr (Zones) {
        n1 = _mm256_add_epi16(n1, _mm256_cmpgt_epi16(_mm256_load_si256(reinterpret_cast<const __m256i*>(low)), old));
        n2 = _mm256_sub_epi16(n2, _mm256_cmpgt_epi16(old, _mm256_load_si256(reinterpret_cast<const __m256i*>(high))));
    }
    return _mm256_add_epi16(
        _mm256_srli_epi16(_mm256_mulhi_epu16(n1, magic), 7), _mm256_srli_epi16(_mm256_mulhi_epu16(n2, magic), 7));
}

// The same over 32 pixels (96 bytes) a step; unpacking and packing work within 128-bit halves, which the
// lane tables follow.
template <bool Zones>
__attribute__((target("avx2"))) int MixBlocks32(std::uint8_t* row, int pixels, const Lanes& l) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i percent = _mm256_set1_epi16(std::int16_t(l.Percent));
    int k = 0;
    for (; k + 32 <= pixels; k += 32) {
        auto* v = reinterpret_cast<__m256i*>(row + 3 * k);
        for (int j = 0; j < 3; ++j) {
            const __m256i b = _mm256_loadu_si256(v + j);
            const __m256i lo
                = MixHalf32<Zones>(_mm256_unpacklo_epi8(b, zero), percent, l.Base[j][0], l.Low[j][0], l.High[j][0]);
            const __m256i hi
                = MixHalf32<Zones>(_mm256_unpackhi_epi8(b, zero), percent, l.Base[j][1], l.Low[j][1], l.High[j][1]);
            __m256i r = _mm256_packus_epi16(lo, hi);
            for (int f = 0; f < l.Fixups; ++f) {
                const __m256i hit
                    = _mm256_cmpeq_epi8(b, _mm256_load_si256(reinterpret_cast<const __m256i*>(l.FixOld[f][j])));
                r = _mm256_add_epi8(
                    r, _mm256_and_si256(hit, _mm256_load_si256(reinterpret_cast<const __m256i*>(l.FixStep[f][j]))));
            }
            _mm256_storeu_si256(v + j, r);
        }
    }
    return k;
}

#endif

}

RoundedMix::RoundedMix(int percent, const int (&mix)[3], const std::uint8_t (&lut)[3][256], Wide wide)
    : FPercent(percent)
    , FLut(lut) {
    if (percent < 0 || percent > 100) return;
#if defined(KORVEX_MIX_VECTORS)
    FWide = wide == Wide::Yes && HasAvx2();
#else
    (void)wide;
#endif
    for (int ch = 0; ch < 3; ++ch) {
        KORVEX_ASSERT(mix[ch] >= 0 && mix[ch] <= 255 * (100 - percent));
        FMix[ch] = mix[ch];
        FLowEnd[ch] = 0;
        FHighStart[ch] = 256;
    }
    for (int ch = 0; ch < 3; ++ch)
        if (!Fit(ch)) return;
    BuildLanes();
    FUsable = true;
}

int RoundedMix::Kernel(int channel, int old) const {
    const int n = old * FPercent + FMix[channel];
    const int n1 = n + 50 - (old < FLowEnd[channel]);
    const int n2 = n + 149 + (old >= FHighStart[channel]);
    return n1 / 200 + n2 / 200;
}

// Chooses the zones of one channel that leave the fewest values to fix, then records those values.
bool RoundedMix::Fit(int channel) {
    const std::uint8_t* lut = FLut[channel];
    auto misses = [&] {
        int count = 0;
        for (int old = 0; old < 256; ++old)
            count += Kernel(channel, old) != lut[old];
        return count;
    };
    if (misses() > 0) {
        // The ties (n = 100 k + 50) and how the table breaks each: down to k, up to k + 1, or neither.
        int ties[256], down[256], up[256], count = 0;
        for (int old = 0; old < 256; ++old) {
            const int n = old * FPercent + FMix[channel];
            if (n % 100 != 50) continue;
            ties[count] = old;
            down[count] = lut[old] == n / 100;
            up[count] = lut[old] == n / 100 + 1;
            ++count;
        }
        // Misses when ties [0, lo) go down, [hi, count) go up and the rest to even, from prefix counts.
        int missDown[257] = {0}, missUp[257] = {0}, missEven[257] = {0};
        for (int i = 0; i < count; ++i) {
            const int n = ties[i] * FPercent + FMix[channel];
            const bool evenUp = ((n / 100 + 1) & 1) == 0;
            missDown[i + 1] = missDown[i] + !down[i];
            missUp[i + 1] = missUp[i] + !up[i];
            missEven[i + 1] = missEven[i] + !(evenUp ? up[i] : down[i]);
        }
        int best = missEven[count], bestLo = 0, bestHi = count;
        for (int lo = 0; lo <= count; ++lo)
            for (int hi = lo; hi <= count; ++hi) {
                const int m = missDown[lo] + (missEven[hi] - missEven[lo]) + (missUp[count] - missUp[hi]);
                if (m < best) best = m, bestLo = lo, bestHi = hi;
            }
        FLowEnd[channel] = bestLo == 0 ? 0 : ties[bestLo - 1] + 1;
        FHighStart[channel] = bestHi == count ? 256 : ties[bestHi];
        FZones = FZones || bestLo > 0 || bestHi < count;
    }
    int fixes = 0;
    for (int old = 0; old < 256; ++old) {
        const int got = Kernel(channel, old);
        if (got == lut[old]) continue;
        if (fixes == MaxFixups) return false;
        FFixOld[fixes][channel] = std::uint8_t(old);
        FFixStep[fixes][channel] = std::uint8_t(lut[old] - got);
        ++fixes;
    }
    FFixups = std::max(FFixups, fixes);
    return true;
}

void RoundedMix::BuildLanes() {
    const int width = FWide ? 32 : 16;
    for (int j = 0; j < 3; ++j) {
        for (int half = 0; half < 2; ++half)
            for (int lane = 0; lane < width / 2; ++lane) {
                // Unpacking takes bytes 0-7 (low) or 8-15 (high) of each 128-bit part.
                const int ch = ChannelOf(width, j, (lane / 8) * 16 + half * 8 + lane % 8);
                FBase[j][half][lane] = std::int16_t(FMix[ch] + 50);
                FLowLanes[j][half][lane] = std::int16_t(FLowEnd[ch]);
                FHighLanes[j][half][lane] = std::int16_t(FHighStart[ch] - 1);
            }
        // Rounds a channel does not need hold step 0 and change nothing.
        for (int f = 0; f < FFixups; ++f)
            for (int offset = 0; offset < width; ++offset) {
                const int ch = ChannelOf(width, j, offset);
                FFixOldLanes[f][j][offset] = FFixOld[f][ch];
                FFixStepLanes[f][j][offset] = FFixStep[f][ch];
            }
    }
}

void RoundedMix::Row(std::uint8_t* row, int pixels) const {
    KORVEX_ASSERT(FUsable);
    int k = 0;
#if defined(KORVEX_MIX_VECTORS)
    const Lanes lanes {FBase, FLowLanes, FHighLanes, FFixOldLanes, FFixStepLanes, FPercent, FFixups};
    // The lane tables follow one vector width: a wide kernel leaves its tail (under 32 pixels) to the tables.
    if (FWide)
        k = FZones ? MixBlocks32<true>(row, pixels, lanes) : MixBlocks32<false>(row, pixels, lanes);
    else
        k = FZones ? MixBlocks16<true>(row, pixels, lanes) : MixBlocks16<false>(row, pixels, lanes);
#endif
    for (std::uint8_t* p = row + 3 * k; k < pixels; ++k, p += 3) {
        p[0] = FLut[0][p[0]];
        p[1] = FLut[1][p[1]];
        p[2] = FLut[2][p[2]];
    }
}

}

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

// With n = 2z (z = old * percent + mix + 50, at most 25550): (n * Magic200) >> 16 has floor(z / 200) in its high
// byte, and its low byte is above 128 exactly when z % 200 > 100 (above 127 when it is 100): the sum of the
// two is round(z / 100 - 1 / 2) with halves to even (tried on every z).
constexpr int Magic200 = 41944;

// Which zones a kernel has (a bit set each).
constexpr int LowZone = 1, HighZone = 2;

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

// Eight 16-bit lanes of n = 2 (old * percent + mix + 50): h = (n * Magic200) >> 16 holds floor(n / 400) in its
// high byte and whether the remainder reaches half of 400 in its low byte; the result is
// (h >> 8) + ((h + 127) >> 8). A low zone takes 1 from the first h and a high zone adds 1 to the second, which
// changes the result at ties only (down and up instead of to even; tried on every z).
template <int Zones>
inline __m128i MixHalf(__m128i old, __m128i percent2, __m128i base, __m128i low, __m128i high) {
    const __m128i n = _mm_add_epi16(_mm_mullo_epi16(old, percent2), base);
    const __m128i h = _mm_mulhi_epu16(n, _mm_set1_epi16(std::int16_t(Magic200)));
    __m128i a = h, t = _mm_add_epi16(h, _mm_set1_epi16(127));
    if constexpr ((Zones & LowZone) != 0) a = _mm_add_epi16(a, _mm_cmpgt_epi16(low, old));
    if constexpr ((Zones & HighZone) != 0) t = _mm_sub_epi16(t, _mm_cmpgt_epi16(old, high));
    return _mm_add_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(t, 8));
}

template <int Zones>
int MixBlocks16(std::uint8_t* row, int pixels, const Lanes& l) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i percent2 = _mm_set1_epi16(std::int16_t(2 * l.Percent));
    // The lane constants are copied into locals: loaded from memory inside the loop they would wait on the
    // row's stores whenever both addresses share their low 12 bits.
    __m128i base[3][2], low[3][2], high[3][2];
    for (int j = 0; j < 3; ++j)
        for (int h = 0; h < 2; ++h) {
            base[j][h] = _mm_load_si128(reinterpret_cast<const __m128i*>(l.Base[j][h]));
            low[j][h] = _mm_load_si128(reinterpret_cast<const __m128i*>(l.Low[j][h]));
            high[j][h] = _mm_load_si128(reinterpret_cast<const __m128i*>(l.High[j][h]));
        }
    const int fixups = l.Fixups;
    int k = 0;
    for (; k + 16 <= pixels; k += 16) {
        auto* v = reinterpret_cast<__m128i*>(row + 3 * k);
        for (int j = 0; j < 3; ++j) {
            const __m128i b = _mm_loadu_si128(v + j);
            const __m128i lo = MixHalf<Zones>(_mm_unpacklo_epi8(b, zero), percent2, base[j][0], low[j][0], high[j][0]);
            const __m128i hi = MixHalf<Zones>(_mm_unpackhi_epi8(b, zero), percent2, base[j][1], low[j][1], high[j][1]);
            __m128i r = _mm_packus_epi16(lo, hi);
            for (int f = 0; f < fixups; ++f) {
                const __m128i hit = _mm_cmpeq_epi8(b, _mm_load_si128(reinterpret_cast<const __m128i*>(l.FixOld[f][j])));
                r = _mm_add_epi8(r, _mm_and_si128(hit, _mm_load_si128(reinterpret_cast<const __m128i*>(l.FixStep[f][j]))));
            }
            _mm_storeu_si128(v + j, r);
        }
    }
    return k;
}

template <int Zones>
__attribute__((target("avx2"))) inline __m256i MixHalf32(
    __m256i old, __m256i percent2, __m256i base, __m256i low, __m256i high) {
    __m256i n
        = _mm256_add_epi16(_mm256_mullo_epi16(old, percent2), base);
    const __m256i h = _mm256_mulhi_epu16(n, _mm256_set1_epi16(std::int16_t(Magic200)));
    __m256i a = h, t = _mm256_add_epi16(h, _mm256_set1_epi16(127));
    if constexpr ((Zones & LowZone) != 0) a = _mm256_add_epi16(a, _mm256_cmpgt_epi16(low, old));
    if constexpr ((Zones & HighZone) != 0) t = _mm256_sub_epi16(t, _mm256_cmpgt_epi16(old, high));
    return _mm256_add_epi16(_mm256_srli_epi16(a, 8), _mm256_srli_epi16(t, 8));
}

// The same over 32 pixels (96 bytes) a step; unpacking and packing work within 128-bit halves, which the
// lane tables follow.
template <int Zones>
__attribute__((target("avx2"))) int MixBlocks32(std::uint8_t* row, int pixels, const Lanes& l) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i percent2 = _mm256_set1_epi16(std::int16_t(2 * l.Percent));
    __m256i base[3][2], low[3][2], high[3][2];
    for (int j = 0; j < 3; ++j)
        for (int h = 0; h < 2; ++h) {
            base[j][h] = _mm256_load_si256(reinterpret_cast<const __m256i*>(l.Base[j][h]));
            low[j][h] = _mm256_load_si256(reinterpret_cast<const __m256i*>(l.Low[j][h]));
            high[j][h] = _mm256_load_si256(reinterpret_cast<const __m256i*>(l.High[j][h]));
        }
    const int fixups = l.Fixups;
    int k = 0;
    for (; k + 32 <= pixels; k += 32) {
        auto* v = reinterpret_cast<__m256i*>(row + 3 * k);
        for (int j = 0; j < 3; ++j) {
            const __m256i b = _mm256_loadu_si256(v + j);
            const __m256i lo
                = MixHalf32<Zones>(_mm256_unpacklo_epi8(b, zero), percent2, base[j][0], low[j][0], high[j][0]);
            const __m256i hi
                = MixHalf32<Zones>(_mm256_unpackhi_epi8(b, zero), percent2, base[j][1], low[j][1], high[j][1]);
            __m256i r = _mm256_packus_epi16(lo, hi);
            for (int f = 0; f < fixups; ++f) {
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
    if (!Choose()) return;
    BuildLanes();
    FUsable = true;
}

int RoundedMix::Kernel(int channel, int old) const {
    const unsigned low = old < FLowEnd[channel], high = old >= FHighStart[channel];
    const unsigned h = (2u * unsigned(old * FPercent + FMix[channel] + 50) * unsigned(Magic200)) >> 16;
    return int(((h - low) >> 8) + ((h + 127u + high) >> 8));
}

// Sets the zones of one channel, among those allowed, that leave the fewest values to fix; returns how many.
int RoundedMix::Fit(int channel, int allowed) {
    const std::uint8_t* lut = FLut[channel];
    auto misses = [&] {
        int count = 0;
        for (int old = 0; old < 256; ++old)
            count += Kernel(channel, old) != lut[old];
        return count;
    };
    FLowEnd[channel] = 0;
    FHighStart[channel] = 256;
    const int plain = misses();
    if (plain == 0 || allowed == 0) return plain;
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
    const int loEnd = (allowed & LowZone) ? count : 0;
    for (int lo = 0; lo <= loEnd; ++lo)
        for (int hi = (allowed & HighZone) ? lo : count; hi <= count; ++hi) {
            const int m = missDown[lo] + (missEven[hi] - missEven[lo]) + (missUp[count] - missUp[hi]);
            if (m < best) best = m, bestLo = lo, bestHi = hi;
        }
    FLowEnd[channel] = bestLo == 0 ? 0 : ties[bestLo - 1] + 1;
    FHighStart[channel] = bestHi == count ? 256 : ties[bestHi];
    return misses();
}

// Picks the cheapest kernel: which zones it has and how many rounds of fixups (the most a channel needs).
bool RoundedMix::Choose() {
    // Extra operations a vector costs, per zone kind (index: the zone bits) and per round of fixups.
    constexpr int zoneCost[4] = {0, 4, 4, 8};
    constexpr int fixupCost = 3;
    int bestCost = -1, bestZones = 0;
    for (int zones : {0, HighZone, LowZone, LowZone | HighZone}) {
        int rounds = 0;
        for (int ch = 0; ch < 3 && rounds <= MaxFixups; ++ch)
            rounds = std::max(rounds, Fit(ch, zones));
        if (rounds > MaxFixups) continue;
        const int cost = zoneCost[zones] + fixupCost * rounds;
        if (bestCost < 0 || cost < bestCost) bestCost = cost, bestZones = zones;
    }
    if (bestCost < 0) return false;
    FZones = 0;
    FFixups = 0;
    for (int ch = 0; ch < 3; ++ch) {
        Fit(ch, bestZones);
        FZones |= (FLowEnd[ch] > 0 ? LowZone : 0) | (FHighStart[ch] < 256 ? HighZone : 0);
        int fixes = 0;
        for (int old = 0; old < 256; ++old) {
            const int got = Kernel(ch, old);
            if (got == FLut[ch][old]) continue;
            KORVEX_ASSERT(fixes < MaxFixups);
            FFixOld[fixes][ch] = std::uint8_t(old);
            FFixStep[fixes][ch] = std::uint8_t(FLut[ch][old] - got);
            ++fixes;
        }
        FFixups = std::max(FFixups, fixes);
    }
    return true;
}

void RoundedMix::BuildLanes() {
    const int width = FWide ? 32 : 16;
    for (int j = 0; j < 3; ++j) {
        for (int half = 0; half < 2; ++half)
            for (int lane = 0; lane < width / 2; ++lane) {
                // Unpacking takes bytes 0-7 (low) or 8-15 (high) of each 128-bit part.
                const int ch = ChannelOf(width, j, (lane / 8) * 16 + half * 8 + lane % 8);
                FBase[j][half][lane] = std::int16_t(std::uint16_t(2 * (FMix[ch] + 50)));
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
    if (FWide) {
        switch (FZones) {
        case 0: k = MixBlocks32<0>(row, pixels, lanes); break;
        case LowZone: k = MixBlocks32<LowZone>(row, pixels, lanes); break;
        case HighZone: k = MixBlocks32<HighZone>(row, pixels, lanes); break;
        default: k = MixBlocks32<LowZone | HighZone>(row, pixels, lanes); break;
        }
    } else {
        switch (FZones) {
        case 0: k = MixBlocks16<0>(row, pixels, lanes); break;
        case LowZone: k = MixBlocks16<LowZone>(row, pixels, lanes); break;
        case HighZone: k = MixBlocks16<HighZone>(row, pixels, lanes); break;
        default: k = MixBlocks16<LowZone | HighZone>(row, pixels, lanes); break;
        }
    }
#endif
    for (std::uint8_t* p = row + 3 * k; k < pixels; ++k, p += 3) {
        p[0] = FLut[0][p[0]];
        p[1] = FLut[1][p[1]];
        p[2] = FLut[2][p[2]];
    }
}

}

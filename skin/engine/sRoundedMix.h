// Internal: the colour mix of 24-bit rows in integers, bit-identical to its table of rounded doubles.
#pragma once

#include <cstdint>

namespace korvex::skin::detail {

// Each channel of a row := lut[channel][old], where lut holds round(old * p + c * (1 - p)) computed in
// doubles (p = percent / 100, mix[channel] = c * (100 - percent)). The kernel computes it instead of looking
// it up: round((old * percent + mix) / 100) with halves to even, from one exact division by 200.
// The double formula breaks some ties its own way (its rounding errors decide them); those are found when
// the kernel is built, by comparing it with the table on all 256 values of each channel, and mended by
//   - a low zone: ties of old values below a threshold go down,
//   - a high zone: ties of old values from a threshold on go up,
//   - up to MaxFixups single old values per channel whose result is moved.
// The cheapest mix of zones and fixups is taken. Anything else (percents above 100, scattered ties) leaves
// the kernel unusable: look the table up instead.
class RoundedMix {
public:
    static constexpr int MaxFixups = 4;
    enum class Wide { Yes, No };   // No keeps to 16-byte vectors even where 32-byte ones run

    RoundedMix(int percent, const int (&mix)[3], const std::uint8_t (&lut)[3][256], Wide wide = Wide::Yes);

    bool Usable() const { return FUsable; }
    bool IsWide() const { return FWide; }
    // Mixes `pixels` pixels (B, G, R) at row; only valid when Usable().
    void Row(std::uint8_t* row, int pixels) const;

    // What the kernel gives for one channel value (the scalar form of the vector code, before the fixups).
    int Kernel(int channel, int old) const;

private:
    int Fit(int channel, int allowed);
    bool Choose();
    void BuildLanes();

    bool FUsable = false;
    int FZones = 0;        // which zones some channel has (bits LowZone, HighZone)
    bool FWide = false;    // 32-byte vectors (AVX2)
    int FPercent = 0;
    int FFixups = 0;       // rounds of single-value fixups
    int FMix[3] {};
    int FLowEnd[3] {};     // ties of old < FLowEnd go down
    int FHighStart[3] {};  // ties of old >= FHighStart go up (256: none)
    std::uint8_t FFixOld[MaxFixups][3] {};
    std::uint8_t FFixStep[MaxFixups][3] {};   // added to the result (mod 256) where old matches
    const std::uint8_t (*FLut)[256] = nullptr;

    // Lanes of the three vectors of a 16- or 32-pixel block: per vector and half (16-bit lanes after
    // widening), and per vector for the byte fixups.
    alignas(32) std::int16_t FBase[3][2][16] {};       // 2 (mix + 50)
    alignas(32) std::int16_t FLowLanes[3][2][16] {};   // FLowEnd
    alignas(32) std::int16_t FHighLanes[3][2][16] {};  // FHighStart - 1
    alignas(32) std::uint8_t FFixOldLanes[MaxFixups][3][32] {};
    alignas(32) std::uint8_t FFixStepLanes[MaxFixups][3][32] {};
};

}

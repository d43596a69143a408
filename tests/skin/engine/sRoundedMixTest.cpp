// The integer colour mix kernel against its tables of rounded doubles.
#include "skin/engine/sRoundedMix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

using korvex::skin::detail::RoundedMix;

namespace {

struct Tables {
    std::uint8_t Lut[3][256];
    int Mix[3];
};

// The double formula for one percent (0..100) and colour, as the colour blend builds it.
Tables BuildTables(int percent, const int (&colour)[3]) {
    Tables t {};
    const double w = percent / 100.0;
    for (int ch = 0; ch < 3; ++ch) {
        t.Mix[ch] = colour[ch] * (100 - percent);
        for (int old = 0; old < 256; ++old)
            t.Lut[ch][old] = std::uint8_t(std::nearbyint(old * w + colour[ch] * (1 - w)));
    }
    return t;
}

// Runs every byte through every channel: pixel x holds x + 1, x + 2 and x + 3 (mod 256), over a length that
// leaves a tail after the vector blocks.
bool MixesLikeTheTables(const RoundedMix& kernel, const Tables& t, int pixels) {
    std::vector<std::uint8_t> row(3 * pixels);
    for (int i = 0; i < 3 * pixels; ++i)
        row[i] = std::uint8_t(i / 3 + i % 3 + 1);
    kernel.Row(row.data(), pixels);
    for (int i = 0; i < 3 * pixels; ++i)
        if (row[i] != t.Lut[i % 3][std::uint8_t(i / 3 + i % 3 + 1)]) return false;
    return true;
}

}

TEST(RoundedMix, EqualsTheDoubleFormulaForEveryPercentColourAndByte) {
    for (RoundedMix::Wide wide : {RoundedMix::Wide::Yes, RoundedMix::Wide::No}) {
        int usable = 0, total = 0;
        for (int percent = 0; percent <= 100; ++percent)
            // The channels together run through every colour byte (every fourth colour in 16-byte vectors,
            // whose lanes differ only in their layout).
            for (int c = 0; c < 256; c += wide == RoundedMix::Wide::Yes ? 2 : 8) {
                const int colour[3] = {c, c + 1, 255 - c};
                const Tables t = BuildTables(percent, colour);
                const RoundedMix kernel(percent, t.Mix, t.Lut, wide);
                ++total;
                if (!kernel.Usable()) continue;
                ++usable;
                ASSERT_TRUE(MixesLikeTheTables(kernel, t, 275)) << "percent " << percent << " colour " << c;
            }
        // Most calls must take the kernel, not the tables (the double formula breaks few ties its own way).
        EXPECT_GT(usable, total * 9 / 10);
    }
}

TEST(RoundedMix, OddLengthsKeepTheBytesPastTheRow) {
    const int colour[3] = {0x99, 0x66, 0x33};
    const Tables t = BuildTables(30, colour);
    for (RoundedMix::Wide wide : {RoundedMix::Wide::Yes, RoundedMix::Wide::No}) {
        const RoundedMix kernel(30, t.Mix, t.Lut, wide);
        ASSERT_TRUE(kernel.Usable());
        for (int pixels : {0, 1, 15, 16, 17, 31, 32, 33, 47, 48, 49, 95, 97}) {
            std::vector<std::uint8_t> row(3 * pixels + 5, 0xAB);
            kernel.Row(row.data(), pixels);
            for (int i = 0; i < 3 * pixels; ++i)
                ASSERT_EQ(row[i], t.Lut[i % 3][0xAB]) << pixels << " pixels, byte " << i;
            for (int i = 3 * pixels; i < int(row.size()); ++i)
                ASSERT_EQ(row[i], 0xAB) << pixels << " pixels: byte " << i << " past the row";
        }
    }
}

TEST(RoundedMix, MendsTheTiesTheDoubleFormulaBreaksItsOwnWay) {
    // At 30 % with 0x66 the double formula rounds 7 * 0.3 + 71.4 = 73.5 down; halves to even would give 74.
    const int colour[3] = {0x66, 0x66, 0x66};
    const Tables t = BuildTables(30, colour);
    ASSERT_EQ(t.Lut[0][7], 73);
    const RoundedMix kernel(30, t.Mix, t.Lut);
    ASSERT_TRUE(kernel.Usable());
    EXPECT_EQ(kernel.Kernel(0, 7), 73);
    EXPECT_TRUE(MixesLikeTheTables(kernel, t, 64));
}

TEST(RoundedMix, RefusesPercentsAboveAHundred) {
    const int colour[3] = {0, 0, 0};
    Tables t {};
    for (int old = 0; old < 256; ++old)
        t.Lut[0][old] = t.Lut[1][old] = t.Lut[2][old] = std::uint8_t(std::min(255, old * 2));
    EXPECT_FALSE(RoundedMix(200, colour, t.Lut).Usable());
}

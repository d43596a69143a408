// Colour routines: HSV conversions and colour mixing.
#include "skin/engine/sColorUtils.h"

#include "platform/gdi/SysColors.h"

#include "support/PixelFixtures.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::pixeltest;

TEST(MixColors50, WeighsTheFirstColourByOneHundredTwentySevenOverTwoHundredFiftySix) {
    EXPECT_EQ(MixColors50(0xFFFFFF, 0x000000), Rgb(126, 126, 126));
    EXPECT_EQ(MixColors50(0x000000, 0xFFFFFF), Rgb(128, 128, 128));
    EXPECT_EQ(MixColors50(Rgb(200, 0, 50), Rgb(0, 200, 50)), Rgb(99, 100, 50));
}

TEST(MixColors50, DropsTheTopByte) {
    EXPECT_EQ(std::uint32_t(MixColors50(classes::TColor(0xFF000000u), 0)) >> 24, 0u);
}

struct MixCase {
    classes::TColor c1, c2;
    double f;
    classes::TColor expected;
};

class MixColorsCases : public testing::TestWithParam<MixCase> { };

TEST_P(MixColorsCases, RoundsTheWeightedMixHalvesToEven) {
    const MixCase c = GetParam();
    EXPECT_EQ(MixColors(c.c1, c.c2, c.f), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MixColorsCases,
    testing::Values(MixCase {Rgb(10, 20, 30), Rgb(50, 60, 70), 0.0, Rgb(50, 60, 70)},
        MixCase {Rgb(10, 20, 30), Rgb(50, 60, 70), 1.0, Rgb(10, 20, 30)},
        MixCase {Rgb(1, 3, 5), Rgb(0, 0, 0), 0.5, Rgb(0, 2, 2)},   // 0.5, 1.5, 2.5
        MixCase {Rgb(255, 0, 0), Rgb(0, 0, 255), 2.0, Rgb(255, 0, 0)},   // limited to 0..255
        MixCase {classes::TColor(0x7F000000u | 0x0000FF), 0, 1.0, classes::TColor(0x7F0000FFu)}));

TEST(ColorAsIs, ReturnsItsArgument) {
    EXPECT_EQ(ColorAsIs(classes::clBtnFace), classes::clBtnFace);
}

TEST(HSVToRGB, GivesThePrimaryAndSecondaryColours) {
    EXPECT_EQ(HSVToRGB(0, 1, 1), Rgb(255, 0, 0));
    EXPECT_EQ(HSVToRGB(60, 1, 1), Rgb(255, 255, 0));
    EXPECT_EQ(HSVToRGB(120, 1, 1), Rgb(0, 255, 0));
    EXPECT_EQ(HSVToRGB(180, 1, 1), Rgb(0, 255, 255));
    EXPECT_EQ(HSVToRGB(240, 1, 1), Rgb(0, 0, 255));
    EXPECT_EQ(HSVToRGB(300, 1, 1), Rgb(255, 0, 255));
    EXPECT_EQ(HSVToRGB(360, 1, 1), HSVToRGB(0, 1, 1));
}

TEST(HSVToRGB, NoSaturationGivesTheRoundedGrey) {
    EXPECT_EQ(HSVToRGB(123, 0, 0.5), Rgb(128, 128, 128));   // 127.5 -> 128
    EXPECT_EQ(HSVToRGB(0, 0, 0), Rgb(0, 0, 0));
}

TEST(HSVToRGB, ValuesOutsideTheirRangeStayWithinAChannel) {
    EXPECT_EQ(HSVToRGB(0, 1, 2), Rgb(255, 0, 0));
    EXPECT_EQ(std::uint32_t(HSVToRGB(30, -1, 1)) >> 24, 0u);
    EXPECT_EQ(std::uint32_t(HSVToRGB(400, 1, 1)) >> 24, 0u);   // a sector past 5 takes the last rule
    // p, q and t come from the value before it is limited: 0.5 x 510 is 255, not half of 255.
    EXPECT_EQ(HSVToRGB(0, 0.5, 2), Rgb(255, 255, 255));
    EXPECT_EQ(HSVToRGB(120, 0.75, 2), Rgb(128, 255, 128));
}

TEST(RGBToHSV, FindsHueSaturationAndValue) {
    TsHSV red = RGBToHSV(Rgb(255, 0, 0));
    EXPECT_EQ(red.H, 0);
    EXPECT_DOUBLE_EQ(red.S, 1);
    EXPECT_DOUBLE_EQ(red.V, 1);
    EXPECT_EQ(RGBToHSV(Rgb(0, 128, 0)).H, 120);
    EXPECT_EQ(RGBToHSV(Rgb(0, 0, 200)).H, 240);
    EXPECT_EQ(RGBToHSV(Rgb(255, 0, 255)).H, 300);
    EXPECT_EQ(RGBToHSV(Rgb(255, 0, 10)).H, 358);   // negative hue wraps by 360 (357.6 rounds up)
    TsHSV grey = RGBToHSV(Rgb(51, 51, 51));
    EXPECT_EQ(grey.H, 0);
    EXPECT_DOUBLE_EQ(grey.S, 0);
    EXPECT_DOUBLE_EQ(grey.V, 0.2);
    EXPECT_DOUBLE_EQ(RGBToHSV(0).S, 0);
}

TEST(RGBToHSV, ResolvesSystemColours) {
    const classes::TColor face = classes::TColor(gdi::GetSysColor(gdi::COLOR_BTNFACE));
    EXPECT_DOUBLE_EQ(RGBToHSV(classes::clBtnFace).V, RGBToHSV(face).V);
}

TEST(HSVToRGB, RoundTripsThroughRGBToHSV) {
    for (classes::TColor c : {Rgb(255, 128, 0), Rgb(10, 200, 90), Rgb(90, 60, 250), Rgb(255, 255, 255)}) {
        const TsHSV hsv = RGBToHSV(c);
        const classes::TColor back = HSVToRGB(hsv.H, hsv.S, hsv.V);
        for (int shift = 0; shift < 24; shift += 8)
            EXPECT_NEAR(int((back >> shift) & 0xFF), int((c >> shift) & 0xFF), 3) << std::hex << c;
    }
}

// Gradient texts: parsing into steps (bad words, clamping, surplus words) and painting modes 0, 1 and 2.
#include "skin/engine/sGradient.h"
#include "platform/classes/TBitmap.h"

#include "support/SkinFixtures.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::test;

namespace {

constexpr classes::TColor GradientBlack = 0x000000;
constexpr classes::TColor GradientWhite = 0xFFFFFF;
constexpr classes::TColor Marker = 0x0000FF;

}

TEST(ParseGradientData, ReadsTheThreeStepExample) {
    const TsGradArray g = ParseGradientData("16777215;12632256;93;0;0;12632256;4539717;6;0;0;4539717;4539717;0;0;0");
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[0].Color1, 16777215);
    EXPECT_EQ(g[0].Color2, 12632256);
    EXPECT_EQ(g[0].Percent, 93);
    EXPECT_EQ(g[0].Mode, 0);
    EXPECT_EQ(g[1].Percent, 6);
    EXPECT_EQ(g[2].Color1, 4539717);
    EXPECT_EQ(g[2].Percent, 0);
}

TEST(ParseGradientData, ABlankOrEmptyTextIsNoGradient) {
    EXPECT_TRUE(ParseGradientData(" ").empty());
    EXPECT_TRUE(ParseGradientData("").empty());
}

TEST(ParseGradientData, SurplusWordsAtTheEndAreIgnored) {
    EXPECT_EQ(ParseGradientData("1;2;50;0;0;3;4;50").size(), 1u);
    EXPECT_TRUE(ParseGradientData("1;2;50;0").empty());
}

TEST(ParseGradientData, EmptyWordsBetweenSeparatorsDoNotCount) {
    const TsGradArray g = ParseGradientData(";;1;;2;50;0;0;;");
    ASSERT_EQ(g.size(), 1u);
    EXPECT_EQ(g[0].Color1, 1);
    EXPECT_EQ(g[0].Color2, 2);
    EXPECT_EQ(g[0].Percent, 50);
}

TEST(ParseGradientData, ABadWordKeepsTheCompleteStepsBeforeIt) {
    const TsGradArray g = ParseGradientData("1;2;50;0;0;3;x;50;0;0;5;6;50;0;0");
    ASSERT_EQ(g.size(), 1u);
    EXPECT_EQ(g[0].Color2, 2);
    EXPECT_TRUE(ParseGradientData("red;2;50;0;0").empty());
}

TEST(ParseGradientData, TheFifthWordIsNeverRead) {
    EXPECT_EQ(ParseGradientData("1;2;50;0;junk").size(), 1u);
}

TEST(ParseGradientData, PercentIsClampedToZeroToHundred) {
    const TsGradArray g = ParseGradientData("1;2;150;0;0;1;2;-5;0;0;1;2;100;0;0");
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[0].Percent, 100);
    EXPECT_EQ(g[1].Percent, 0);
    EXPECT_EQ(g[2].Percent, 100);
}

TEST(ParseGradientData, ReplacesWhatTheArrayHeld) {
    TsGradArray g = ParseGradientData("1;2;50;0;0;3;4;50;0;0");
    ParseGradientData("7;8;100;1;0", g);
    ASSERT_EQ(g.size(), 1u);
    EXPECT_EQ(g[0].Mode, 1);
}

TEST(SplitColor, GivesThePixelOrderBlueGreenRed) {
    std::uint8_t bytes[3];
    SplitColor(0x112233, bytes);
    EXPECT_EQ(bytes[0], 0x11);
    EXPECT_EQ(bytes[1], 0x22);
    EXPECT_EQ(bytes[2], 0x33);
}

TEST(PaintGradient, TwoStepsTopToBottomMeetInWhiteOnRowFifty) {
    auto bmp = MakeBitmap(10, 100, Marker);
    PaintGradient(bmp.get(), classes::Rect(0, 0, 10, 100), ParseGradientData("0;16777215;50;0;0;16777215;0;50;0;0"));
    EXPECT_EQ(PixelAt(*bmp, 0, 0), GradientBlack);
    EXPECT_EQ(PixelAt(*bmp, 9, 50), GradientWhite);
    EXPECT_EQ(PixelAt(*bmp, 5, 99), GradientBlack);
    // single-precision steps: 255 / 50 per row going down, 255 / 49 per row coming back
    EXPECT_EQ(PixelAt(*bmp, 3, 25), 0x7F7F7F);
    EXPECT_EQ(PixelAt(*bmp, 3, 75), 0x7D7D7D);
}

TEST(PaintGradient, TheLastStepRunsToTheBottomEdge) {
    auto bmp = MakeBitmap(4, 40, Marker);
    PaintGradient(bmp.get(), classes::Rect(0, 0, 4, 40), ParseGradientData("0;0;10;0;0;16711680;16711680;10;0;0"));
    EXPECT_EQ(PixelAt(*bmp, 0, 39), 0xFF0000);
    EXPECT_EQ(PixelAt(*bmp, 0, 20), 0xFF0000);
}

TEST(PaintGradient, AZeroSpanStepIsSkippedAndPaintingGoesOn) {
    auto bmp = MakeBitmap(4, 10, Marker);
    // 5 % of 10 rows is 0: the first band is empty
    PaintGradient(
        bmp.get(), classes::Rect(0, 0, 4, 10), ParseGradientData("255;255;5;0;0;0;0;50;0;0;0;16777215;45;0;0"));
    EXPECT_EQ(PixelAt(*bmp, 0, 0), GradientBlack);
    EXPECT_EQ(PixelAt(*bmp, 0, 5), GradientBlack);
    EXPECT_EQ(PixelAt(*bmp, 0, 9), GradientWhite);
}

TEST(PaintGradient, OnlyTheFirstStepsModeCounts) {
    auto bmp = MakeBitmap(10, 10, Marker);
    PaintGradient(bmp.get(), classes::Rect(0, 0, 10, 10), ParseGradientData("0;0;50;0;0;0;16777215;50;1;0"));
    EXPECT_EQ(PixelAt(*bmp, 0, 9), GradientWhite);
    EXPECT_EQ(PixelAt(*bmp, 9, 9), GradientWhite);   // rows, not columns
}

TEST(PaintGradient, LeftToRightPaintsColumns) {
    auto bmp = MakeBitmap(11, 3, Marker);
    PaintGradient(bmp.get(), classes::Rect(0, 0, 11, 3), ParseGradientData("0;16777215;100;1;0"));
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(PixelAt(*bmp, 0, y), GradientBlack);
        EXPECT_EQ(PixelAt(*bmp, 10, y), GradientWhite);
        EXPECT_EQ(PixelAt(*bmp, 5, y), 0x808080);
    }
}

TEST(PaintGradient, LeftToRightSkipsAZeroSpanStep) {
    auto bmp = MakeBitmap(10, 2, Marker);
    PaintGradient(bmp.get(), classes::Rect(0, 0, 10, 2), ParseGradientData("255;255;0;1;0;0;16777215;100;1;0"));
    EXPECT_EQ(PixelAt(*bmp, 0, 1), GradientBlack);
    EXPECT_EQ(PixelAt(*bmp, 9, 1), GradientWhite);
}

TEST(PaintGradient, TrianglesWithOneStepFillInItsFirstColour) {
    auto bmp = MakeBitmap(20, 20, Marker);
    PaintGradient(bmp.get(), classes::Rect(0, 0, 20, 20), ParseGradientData("65280;255;100;2;0"));
    EXPECT_EQ(PixelAt(*bmp, 0, 0), 0x00FF00);
    EXPECT_EQ(PixelAt(*bmp, 10, 10), 0x00FF00);
    EXPECT_EQ(PixelAt(*bmp, 19, 19), 0x00FF00);
}

TEST(PaintGradient, TrianglesTakeTheCornerColoursOfFiveSteps) {
    auto bmp = MakeBitmap(40, 40, Marker);
    PaintGradient(bmp.get(), classes::Rect(0, 0, 40, 40),
        ParseGradientData("255;0;0;2;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0"));
    EXPECT_NE(PixelAt(*bmp, 20, 20), Marker);
    std::uint8_t red = static_cast<std::uint8_t>(PixelAt(*bmp, 0, 0));
    EXPECT_GT(red, 200);   // vertex 0 is red
    EXPECT_LT(static_cast<std::uint8_t>(PixelAt(*bmp, 39, 39)), 20);
}

TEST(PaintGradient, UnknownModesAndEmptyDataPaintNothing) {
    auto bmp = MakeBitmap(5, 5, Marker);
    PaintGradient(bmp.get(), classes::Rect(0, 0, 5, 5), ParseGradientData("0;0;100;7;0"));
    PaintGradient(bmp.get(), classes::Rect(0, 0, 5, 5), {});
    PaintGradient(nullptr, classes::Rect(0, 0, 5, 5), ParseGradientData("0;0;100;0;0"));
    EXPECT_EQ(PixelAt(*bmp, 2, 2), Marker);
}

TEST(PaintGradient, TheRectangleIsClippedToTheBitmap) {
    auto bmp = MakeBitmap(6, 6, Marker);
    PaintGradient(bmp.get(), classes::Rect(-10, 3, 100, 100), ParseGradientData("0;0;100;0;0"));
    EXPECT_EQ(PixelAt(*bmp, 0, 2), Marker);
    EXPECT_EQ(PixelAt(*bmp, 0, 3), GradientBlack);
    EXPECT_EQ(PixelAt(*bmp, 5, 5), GradientBlack);
    PaintGradient(bmp.get(), classes::Rect(-10, 0, 100, 100), ParseGradientData("0;0;100;1;0"));
    EXPECT_EQ(PixelAt(*bmp, 5, 0), GradientBlack);
    PaintGradient(bmp.get(), classes::Rect(10, 10, 20, 20), ParseGradientData("255;255;100;0;0"));
    EXPECT_EQ(PixelAt(*bmp, 5, 5), GradientBlack);
}

TEST(PaintGradient, AOneRowRectangleIsAZeroSpanAndStaysUnpainted) {
    auto bmp = MakeBitmap(4, 4, Marker);
    PaintGradient(bmp.get(), classes::Rect(0, 1, 4, 2), ParseGradientData("0;0;100;0;0"));
    EXPECT_EQ(PixelAt(*bmp, 0, 1), Marker);
}

TEST(PaintGradient, OtherPixelFormatsAreLeftAlone) {
    classes::TBitmap bmp;
    bmp.SetPixelFormat(classes::pf32bit);
    bmp.SetSize(4, 4);
    PaintGradient(&bmp, classes::Rect(0, 0, 4, 4), ParseGradientData("255;255;100;0;0"));
    EXPECT_EQ(bmp.ScanLine(0)[2], 0);
}

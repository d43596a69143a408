// Soft tinted rectangles and nested 3-D frames.
#include "skin/engine/sBitmapEffects.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/gdi/Gdi.h"

#include "support/PixelFixtures.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::pixeltest;
using classes::TRect;

TEST(PaintBlurredRect, WithoutTransparencyTheInsideTakesTheColourAndTheEdgeStays) {
    auto bitmap = Bitmap24(20, 20, Rgb(200, 200, 200));
    PaintBlurredRect(bitmap.get(), TRect {2, 2, 18, 18}, 0, Rgb(0, 0, 0), 2, 0);
    EXPECT_EQ(Px(*bitmap, 10, 10), 0);
    EXPECT_EQ(Px(*bitmap, 2, 10), Rgb(199, 199, 199));   // mask 255 at the edge
    EXPECT_EQ(Px(*bitmap, 1, 10), Rgb(200, 200, 200));   // outside R
    // The ring between rises gradually.
    const int edge = Px(*bitmap, 3, 10) & 0xFF, inner = Px(*bitmap, 4, 10) & 0xFF;
    EXPECT_LT(inner, edge);
    EXPECT_LT(edge, 199);
}

TEST(PaintBlurredRect, TheRightAndBottomEdgesStayLikeTheLeftAndTop) {
    auto bitmap = Bitmap24(20, 20, Rgb(200, 200, 200));
    PaintBlurredRect(bitmap.get(), TRect {2, 2, 18, 18}, 0, Rgb(0, 0, 0), 2, 0);
    for (int i = 2; i < 18; ++i) {
        EXPECT_GE(Px(*bitmap, 17, i) & 0xFF, 199) << i;   // no dark line along the last column
        EXPECT_GE(Px(*bitmap, i, 17) & 0xFF, 199) << i;   // nor along the last row
    }
}

TEST(PaintBlurredRect, ABlurLargerThanHalfTheSmallerSideUsesHalfThatSide) {
    auto a = Bitmap24(30, 12, Rgb(250, 120, 60));
    auto b = Bitmap24(30, 12, Rgb(250, 120, 60));
    PaintBlurredRect(a.get(), TRect {0, 0, 30, 12}, 30, Rgb(0, 0, 90), 100, 100);
    PaintBlurredRect(b.get(), TRect {0, 0, 30, 12}, 30, Rgb(0, 0, 90), 6, 6);
    EXPECT_TRUE(SamePixels(*a, *b));
}

TEST(PaintBlurredRect, OutOfRangeArgumentsAreHeldToTheirLimits) {
    auto over = Bitmap24(16, 16, Rgb(100, 100, 100));
    auto full = Bitmap24(16, 16, Rgb(100, 100, 100));
    PaintBlurredRect(over.get(), TRect {0, 0, 16, 16}, 250, 0, 3, 2);
    PaintBlurredRect(full.get(), TRect {0, 0, 16, 16}, 100, 0, 3, 2);
    EXPECT_TRUE(SamePixels(*over, *full));
    auto negative = Bitmap24(16, 16, Rgb(100, 100, 100));
    auto zero = Bitmap24(16, 16, Rgb(100, 100, 100));
    PaintBlurredRect(negative.get(), TRect {0, 0, 16, 16}, -40, 0, -3, -9);
    PaintBlurredRect(zero.get(), TRect {0, 0, 16, 16}, 0, 0, 0, 0);
    EXPECT_TRUE(SamePixels(*negative, *zero));
}

TEST(PaintBlurredRect, CutsTheRectangleToTheBitmap) {
    auto bitmap = Bitmap24(10, 10, Rgb(100, 100, 100));
    PaintBlurredRect(bitmap.get(), TRect {-50, 5, 500, 500}, 0, 0, 0, 0);
    EXPECT_EQ(Px(*bitmap, 5, 4), Rgb(100, 100, 100));
    EXPECT_EQ(Px(*bitmap, 5, 7), 0);
    PaintBlurredRect(bitmap.get(), TRect {20, 20, 30, 30}, 0, 0, 0, 0);
    PaintBlurredRect(nullptr, TRect {0, 0, 3, 3}, 0, 0, 0, 0);
}

// The soft edge belongs to the rectangle, not to the bitmap: a rectangle reaching past the bitmap keeps its edge
// outside, and the bitmap's part shows what that part of the whole rectangle shows.
TEST(PaintBlurredRect, ARectanglePastTheBitmapKeepsItsSoftEdgeOutside) {
    auto whole = Bitmap24(20, 20, Rgb(200, 200, 200));
    PaintBlurredRect(whole.get(), TRect {0, 0, 20, 20}, 20, Rgb(0, 0, 0), 3, 2);
    auto part = Bitmap24(17, 17, Rgb(200, 200, 200));
    PaintBlurredRect(part.get(), TRect {-3, -3, 17, 17}, 20, Rgb(0, 0, 0), 3, 2);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x) ASSERT_EQ(Px(*part, x, y), Px(*whole, x + 3, y + 3)) << x << "," << y;
}

TEST(PaintFrame3D, DrawsNestedFramesAndShrinksTheRectangle) {
    auto bitmap = Bitmap24(10, 10, Rgb(0, 0, 0));
    gdi::HDC dc = bitmap->Canvas()->Handle();
    const gdi::HGDIOBJ pen = gdi::GetCurrentObject(dc, gdi::OBJ_PEN);
    TRect r {0, 0, 10, 10};
    int width = 2;
    PaintFrame3D(dc, r, classes::clWhite, Rgb(255, 0, 0), width);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(r, (TRect {2, 2, 8, 8}));
    EXPECT_EQ(Px(*bitmap, 0, 0), Rgb(255, 255, 255));
    EXPECT_EQ(Px(*bitmap, 0, 8), Rgb(255, 255, 255));
    EXPECT_EQ(Px(*bitmap, 9, 0), Rgb(255, 0, 0));
    EXPECT_EQ(Px(*bitmap, 0, 9), Rgb(255, 0, 0));
    EXPECT_EQ(Px(*bitmap, 9, 9), Rgb(255, 0, 0));
    EXPECT_EQ(Px(*bitmap, 1, 1), Rgb(255, 255, 255));
    EXPECT_EQ(Px(*bitmap, 8, 8), Rgb(255, 0, 0));
    EXPECT_EQ(Px(*bitmap, 2, 2), 0);
    EXPECT_EQ(gdi::GetCurrentObject(dc, gdi::OBJ_PEN), pen);
}

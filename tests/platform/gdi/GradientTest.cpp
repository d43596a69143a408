// GradientFill tests: vertex colours, coverage without gaps, rectangle modes, bad meshes.
#include "platform/gdi/Drawing.h"

#include "support/TestCanvas.h"

#include <gtest/gtest.h>

using namespace korvex::gdi;
using namespace korvex::gdi::test;

namespace {

TRIVERTEX V(int x, int y, COLORREF c) {
    return TRIVERTEX {x, y, COLOR16(GetRValue(c) << 8), COLOR16(GetGValue(c) << 8), COLOR16(GetBValue(c) << 8), 0};
}

}

TEST(GradientFill, TriangleVertexPixelsTakeTheirVertexColour) {
    TestCanvas canvas(20, 20, PixelFormat::pf24bit, Black);
    const TRIVERTEX v[] = {V(0, 0, Red), V(19, 0, Green), V(0, 19, Blue)};
    const GRADIENT_TRIANGLE t {0, 1, 2};
    EXPECT_TRUE(GradientFill(canvas, v, 3, &t, 1, GRADIENT_FILL_TRIANGLE));
    EXPECT_EQ(canvas.At(0, 0), Red);
    // Along the top edge red fades into green.
    EXPECT_EQ(canvas.At(18, 0), RGB(13, 241, 0));
    EXPECT_EQ(canvas.At(0, 18), RGB(13, 0, 241));
    EXPECT_EQ(canvas.At(19, 19), Black);   // outside the triangle
}

TEST(GradientFill, FourTrianglesThroughTheCentreCoverTheRectangleExactly) {
    // The skin's four-triangle mode: corners and centre, one colour everywhere when all vertices agree.
    TestCanvas canvas(24, 16, PixelFormat::pf32bit, Black);
    const RECT r {2, 3, 22, 13};
    const COLORREF c = RGB(10, 120, 230);
    const TRIVERTEX v[]
        = {V(r.left, r.top, c), V(12, 8, c), V(r.right, r.top, c), V(r.right, r.bottom, c), V(r.left, r.bottom, c)};
    const GRADIENT_TRIANGLE t[] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
    GradientFill(canvas, v, 5, t, 4, GRADIENT_FILL_TRIANGLE);
    EXPECT_EQ(canvas.Count(c), 20 * 10);
    EXPECT_EQ(canvas.At(2, 3), c);
    EXPECT_EQ(canvas.At(21, 12), c);
    EXPECT_EQ(canvas.At(22, 12), Black);
    EXPECT_EQ(canvas.At(21, 13), Black);
}

TEST(GradientFill, HorizontalRectRunsLeftToRight) {
    TestCanvas canvas(11, 2, PixelFormat::pf24bit);
    const TRIVERTEX v[] = {V(0, 0, Black), V(10, 2, RGB(250, 250, 250))};
    const GRADIENT_RECT g {0, 1};
    GradientFill(canvas, v, 2, &g, 1, GRADIENT_FILL_RECT_H);
    EXPECT_EQ(canvas.At(0, 0), Black);
    EXPECT_EQ(canvas.At(5, 1), RGB(125, 125, 125));
    EXPECT_EQ(canvas.At(9, 0), RGB(225, 225, 225));
    EXPECT_EQ(canvas.At(10, 0), White);   // right edge excluded
}

TEST(GradientFill, VerticalRectRunsTopToBottom) {
    TestCanvas canvas(2, 4, PixelFormat::pf24bit);
    const TRIVERTEX v[] = {V(0, 0, Red), V(2, 4, Blue)};
    const GRADIENT_RECT g {0, 1};
    GradientFill(canvas, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
    EXPECT_EQ(canvas.At(1, 0), Red);
    EXPECT_EQ(canvas.At(0, 2), RGB(127, 0, 127));
}

TEST(GradientFill, BadMeshIndexesAndArgumentsAreRefused) {
    TestCanvas canvas(4, 4);
    const TRIVERTEX v[] = {V(0, 0, Red), V(3, 0, Red), V(0, 3, Red)};
    const GRADIENT_TRIANGLE bad {0, 1, 7};
    EXPECT_FALSE(GradientFill(canvas, v, 3, &bad, 1, GRADIENT_FILL_TRIANGLE));
    EXPECT_FALSE(GradientFill(canvas, v, 3, nullptr, 1, GRADIENT_FILL_TRIANGLE));
    EXPECT_FALSE(GradientFill(canvas, v, 3, &bad, 1, 9));
    EXPECT_FALSE(GradientFill(canvas, nullptr, 3, &bad, 1, GRADIENT_FILL_TRIANGLE));
    const GRADIENT_TRIANGLE flat {0, 0, 1};   // zero area: nothing
    EXPECT_TRUE(GradientFill(canvas, v, 3, &flat, 1, GRADIENT_FILL_TRIANGLE));
    EXPECT_EQ(canvas.Count(White), 16);
}

// Rectangle fill, frame, inversion, region fill and PatBlt tests: the excluded right and bottom edge.
#include "platform/gdi/Drawing.h"

#include "support/TestCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace korvex::gdi;
using namespace korvex::gdi::test;

namespace {

struct FillCase {
    PixelFormat Format;
    RECT Rect;
    int Expected;
};

class FillRectCase : public ::testing::TestWithParam<FillCase> { };

}

TEST_P(FillRectCase, FillsLeftTopInclusiveRightBottomExclusive) {
    const FillCase& c = GetParam();
    TestCanvas canvas(10, 10, c.Format);
    HBRUSH brush = CreateSolidBrush(Red);
    FillRect(canvas, &c.Rect, brush);
    EXPECT_EQ(canvas.Count(Red), c.Expected);
    if (c.Expected > 0) {
        EXPECT_EQ(canvas.At(std::max(0, int(c.Rect.left)), std::max(0, int(c.Rect.top))), Red);
        if (c.Rect.right < 10) {
            EXPECT_EQ(canvas.At(c.Rect.right, std::max(0, int(c.Rect.top))), White);
        }
        if (c.Rect.bottom < 10) {
            EXPECT_EQ(canvas.At(std::max(0, int(c.Rect.left)), c.Rect.bottom), White);
        }
    }
    DeleteObject(brush);
}

INSTANTIATE_TEST_SUITE_P(Rects, FillRectCase,
    ::testing::Values(FillCase {PixelFormat::pf24bit, {2, 3, 5, 7}, 12},
        FillCase {PixelFormat::pf32bit, {2, 3, 5, 7}, 12}, FillCase {PixelFormat::pf24bit, {0, 0, 10, 10}, 100},
        FillCase {PixelFormat::pf24bit, {-5, -5, 2, 2}, 4},   // reaches past the top-left
        FillCase {PixelFormat::pf32bit, {8, 8, 20, 20}, 4},   // reaches past the bottom-right
        FillCase {PixelFormat::pf24bit, {5, 5, 5, 9}, 0},   // empty
        FillCase {PixelFormat::pf24bit, {6, 6, 2, 2}, 0},   // inverted
        FillCase {PixelFormat::pf24bit, {20, 20, 30, 30}, 0}));   // outside

TEST(FillRect, ThirtyTwoBitPixelsGetAZeroFourthByte) {
    TestCanvas canvas(3, 1, PixelFormat::pf32bit);
    std::memset(canvas.Bits().Bits(), 0x77, canvas.Bits().ByteSize());
    RECT r {0, 0, 3, 1};
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    FillRect(canvas, &r, brush);
    const BYTE* p = canvas.Bits().ScanLine(0);
    EXPECT_EQ(p[0], 3);
    EXPECT_EQ(p[1], 2);
    EXPECT_EQ(p[2], 1);
    EXPECT_EQ(p[3], 0);
    DeleteObject(brush);
}

TEST(FillRect, TwentyFourBitRowsFillEveryPixelOfOddWidths) {
    for (int width = 1; width <= 9; ++width) {
        TestCanvas canvas(width, 2);
        RECT r {0, 0, width, 2};
        HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
        FillRect(canvas, &r, brush);
        EXPECT_EQ(canvas.Count(RGB(10, 20, 30)), width * 2) << width;
        DeleteObject(brush);
    }
}

TEST(FillRect, NullBrushAndNullArgumentsDrawNothing) {
    TestCanvas canvas(4, 4);
    RECT r {0, 0, 4, 4};
    EXPECT_TRUE(FillRect(canvas, &r, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))));
    EXPECT_FALSE(FillRect(canvas, nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_FALSE(FillRect(canvas, &r, nullptr));
    EXPECT_EQ(canvas.Count(White), 16);
}

TEST(FrameRect, DrawsAOnePixelFrameInsideTheRect) {
    TestCanvas canvas(6, 6);
    RECT r {1, 1, 5, 5};
    HBRUSH brush = CreateSolidBrush(Black);
    FrameRect(canvas, &r, brush);
    EXPECT_EQ(canvas.Picture(Black, 0, 0, 6, 6),
        "......\n"
        ".####.\n"
        ".#..#.\n"
        ".#..#.\n"
        ".####.\n"
        "......\n");
    DeleteObject(brush);
}

TEST(InvertRect, InvertsAndInvertingTwiceRestores) {
    TestCanvas canvas(4, 4, PixelFormat::pf24bit, RGB(10, 200, 30));
    RECT r {1, 1, 3, 3};
    InvertRect(canvas, &r);
    EXPECT_EQ(canvas.At(1, 1), RGB(245, 55, 225));
    EXPECT_EQ(canvas.At(3, 3), RGB(10, 200, 30));
    InvertRect(canvas, &r);
    EXPECT_EQ(canvas.Count(RGB(10, 200, 30)), 16);
}

TEST(FillRgn, FillsTheRegionInLogicalCoordinates) {
    TestCanvas canvas(10, 10);
    SetWindowOrgEx(canvas, 1, 1, nullptr);
    HRGN rgn = CreateRectRgn(1, 1, 3, 3);   // device (0,0)-(2,2)
    HBRUSH brush = CreateSolidBrush(Blue);
    FillRgn(canvas, rgn, brush);
    EXPECT_EQ(canvas.Count(Blue), 4);
    EXPECT_EQ(canvas.At(0, 0), Blue);
    InvertRgn(canvas, rgn);
    EXPECT_EQ(canvas.At(1, 1), RGB(255, 255, 0));
    DeleteObject(rgn);
    DeleteObject(brush);
}

TEST(PatBlt, UsesTheSelectedBrushAndNormalisesNegativeSizes) {
    TestCanvas canvas(6, 6);
    HBRUSH brush = CreateSolidBrush(Red);
    SelectObject(canvas, brush);
    EXPECT_TRUE(PatBlt(canvas, 4, 4, -2, -2, PATCOPY));   // covers (2,2)-(4,4)
    EXPECT_EQ(canvas.Count(Red), 4);
    EXPECT_EQ(canvas.At(2, 2), Red);
    EXPECT_TRUE(PatBlt(canvas, 0, 0, 1, 1, BLACKNESS));
    EXPECT_EQ(canvas.At(0, 0), Black);
    EXPECT_TRUE(PatBlt(canvas, 0, 0, 1, 1, DSTINVERT));
    EXPECT_EQ(canvas.At(0, 0), White);
    EXPECT_FALSE(PatBlt(canvas, 0, 0, 1, 1, SRCCOPY));
    SelectObject(canvas, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DeleteObject(brush);
}

// Line tests: the end point not drawn, pen widths and styles, ROP2, polylines.
#include "platform/gdi/Drawing.h"

#include "support/TestCanvas.h"

#include <gtest/gtest.h>

using namespace korvex::gdi;
using namespace korvex::gdi::test;

TEST(LineTo, TheLastPointIsNotDrawn) {
    TestCanvas canvas(10, 10);
    MoveToEx(canvas, 1, 1, nullptr);
    LineTo(canvas, 5, 1);
    EXPECT_EQ(canvas.Picture(Black, 0, 1, 7, 2), ".####..\n");
    POINT pos;
    GetCurrentPositionEx(canvas, &pos);
    EXPECT_EQ(pos, (POINT {5, 1}));
}

TEST(LineTo, LinesInEveryDirectionStopBeforeTheirEnd) {
    const POINT ends[] = {{8, 4}, {0, 4}, {4, 8}, {4, 0}, {8, 8}, {0, 0}, {8, 0}, {0, 8}, {7, 2}, {1, 6}};
    for (const POINT& end : ends) {
        TestCanvas canvas(9, 9);
        MoveToEx(canvas, 4, 4, nullptr);
        LineTo(canvas, end.x, end.y);
        EXPECT_EQ(canvas.At(4, 4), Black) << end.x << "," << end.y;
        EXPECT_EQ(canvas.At(end.x, end.y), White) << end.x << "," << end.y;
        const int expected = std::max(std::abs(end.x - 4), std::abs(end.y - 4));
        EXPECT_EQ(canvas.Count(Black), expected) << end.x << "," << end.y;
    }
}

TEST(LineTo, AZeroLengthLineDrawsNothing) {
    TestCanvas canvas(4, 4);
    MoveToEx(canvas, 2, 2, nullptr);
    LineTo(canvas, 2, 2);
    EXPECT_EQ(canvas.Count(Black), 0);
}

TEST(Polyline, JointsAreDrawnOnceAndTheFinalPointIsNot) {
    TestCanvas canvas(6, 6);
    SetROP2(canvas, R2_NOT);   // a pixel drawn twice would come back white
    const POINT pts[] = {{1, 1}, {4, 1}, {4, 4}};
    Polyline(canvas, pts, 3);
    EXPECT_EQ(canvas.Picture(Black, 0, 0, 6, 6),
        "......\n"
        ".####.\n"
        "....#.\n"
        "....#.\n"
        "......\n"
        "......\n");
    EXPECT_FALSE(Polyline(canvas, pts, 1));
    EXPECT_FALSE(Polyline(canvas, nullptr, 3));
}

TEST(Pens, NullPenDrawsNothing) {
    TestCanvas canvas(6, 6);
    SelectObject(canvas, static_cast<HPEN>(GetStockObject(NULL_PEN)));
    MoveToEx(canvas, 0, 0, nullptr);
    LineTo(canvas, 5, 5);
    EXPECT_EQ(canvas.Count(White), 36);
}

TEST(Pens, WidePenIsRoundAndCentredOnTheLine) {
    TestCanvas canvas(20, 20);
    HPEN pen = CreatePen(PS_SOLID, 3, Red);
    SelectObject(canvas, pen);
    MoveToEx(canvas, 5, 10, nullptr);
    LineTo(canvas, 15, 10);
    EXPECT_EQ(canvas.At(10, 9), Red);
    EXPECT_EQ(canvas.At(10, 10), Red);
    EXPECT_EQ(canvas.At(10, 11), Red);
    EXPECT_EQ(canvas.At(10, 12), White);
    EXPECT_EQ(canvas.At(10, 8), White);
    SelectObject(canvas, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
    DeleteObject(pen);
}

TEST(Pens, DottedPenLeavesGapsFilledWithTheBackgroundWhenOpaque) {
    TestCanvas canvas(12, 2);
    HPEN pen = CreatePen(PS_DOT, 1, Black);
    SelectObject(canvas, pen);
    SetBkColor(canvas, Red);
    MoveToEx(canvas, 0, 0, nullptr);
    LineTo(canvas, 12, 0);
    EXPECT_EQ(canvas.Picture(Black, 0, 0, 12, 1), "###...###...\n");
    EXPECT_EQ(canvas.At(3, 0), Red);
    SetBkMode(canvas, TRANSPARENT);
    MoveToEx(canvas, 0, 1, nullptr);
    LineTo(canvas, 12, 1);
    EXPECT_EQ(canvas.At(3, 1), White);
    SelectObject(canvas, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
    DeleteObject(pen);
}

TEST(Pens, XorPenDrawnTwiceRestores) {
    TestCanvas canvas(8, 8, PixelFormat::pf32bit, RGB(12, 34, 56));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    SelectObject(canvas, pen);
    SetROP2(canvas, R2_XORPEN);
    for (int i = 0; i < 2; ++i) {
        MoveToEx(canvas, 0, 7, nullptr);
        LineTo(canvas, 7, 0);
    }
    EXPECT_EQ(canvas.Count(RGB(12, 34, 56)), 64);
    SelectObject(canvas, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
    DeleteObject(pen);
}

TEST(Pens, CreatePenClampsWidthAndStyle) {
    LOGPEN lp;
    HPEN pen = CreatePen(77, -3, 0xFF000010u);
    ASSERT_TRUE(GetObject(pen, &lp));
    EXPECT_EQ(lp.lopnStyle, UINT(PS_SOLID));
    EXPECT_EQ(lp.lopnWidth.x, 1);
    EXPECT_EQ(lp.lopnColor, RGB(128, 128, 128));   // the button shadow
    DeleteObject(pen);
}

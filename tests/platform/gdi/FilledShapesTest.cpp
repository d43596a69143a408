// Filled shape tests: Rectangle, RoundRect, Ellipse, Arc, Pie, Chord and Polygon edges.
#include "platform/gdi/Drawing.h"

#include "support/TestCanvas.h"

#include <gtest/gtest.h>

using namespace korvex::gdi;
using namespace korvex::gdi::test;

namespace {

class Shapes : public ::testing::Test {
protected:
    void SetUp() override {
        FBrush = CreateSolidBrush(Red);
        SelectObject(FCanvas, FBrush);
    }
    void TearDown() override {
        SelectObject(FCanvas, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SelectObject(FCanvas, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
        DeleteObject(FBrush);
    }
    TestCanvas FCanvas {20, 20};
    HBRUSH FBrush = nullptr;
};

}

TEST_F(Shapes, RectangleOutlinesWithThePenAndFillsInsideWithTheBrush) {
    Rectangle(FCanvas, 1, 1, 6, 5);
    EXPECT_EQ(FCanvas.Picture(Black, 0, 0, 7, 6),
        ".......\n"
        ".#####.\n"
        ".#...#.\n"
        ".#...#.\n"
        ".#####.\n"
        ".......\n");
    EXPECT_EQ(FCanvas.Count(Red), 6);
    EXPECT_EQ(FCanvas.At(2, 2), Red);
}

TEST_F(Shapes, RectangleWithANullPenFillsOnePixelLessRightAndBottom) {
    SelectObject(FCanvas, static_cast<HPEN>(GetStockObject(NULL_PEN)));
    Rectangle(FCanvas, 0, 0, 5, 4);
    EXPECT_EQ(FCanvas.Count(Red), 4 * 3);
    EXPECT_EQ(FCanvas.At(3, 2), Red);
    EXPECT_EQ(FCanvas.At(4, 2), White);
    EXPECT_EQ(FCanvas.At(3, 3), White);
}

TEST_F(Shapes, RectangleWithANullBrushOnlyOutlines) {
    SelectObject(FCanvas, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    Rectangle(FCanvas, 0, 0, 5, 5);
    EXPECT_EQ(FCanvas.Count(Black), 16);
    EXPECT_EQ(FCanvas.Count(Red), 0);
}

TEST_F(Shapes, InsideFramePenStaysInsideTheBox) {
    HPEN pen = CreatePen(PS_INSIDEFRAME, 3, Blue);
    SelectObject(FCanvas, pen);
    Rectangle(FCanvas, 2, 2, 12, 12);
    EXPECT_EQ(FCanvas.At(2, 2), Blue);
    EXPECT_EQ(FCanvas.At(4, 4), Blue);
    EXPECT_EQ(FCanvas.At(5, 5), Red);
    EXPECT_EQ(FCanvas.At(11, 11), Blue);
    EXPECT_EQ(FCanvas.At(1, 1), White);
    EXPECT_EQ(FCanvas.At(12, 12), White);
    SelectObject(FCanvas, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
    DeleteObject(pen);
}

TEST_F(Shapes, WideSolidPenIsCentredOnTheOutline) {
    HPEN pen = CreatePen(PS_SOLID, 3, Blue);
    SelectObject(FCanvas, pen);
    Rectangle(FCanvas, 5, 5, 15, 15);
    EXPECT_EQ(FCanvas.At(4, 4), Blue);
    EXPECT_EQ(FCanvas.At(6, 6), Blue);
    EXPECT_EQ(FCanvas.At(7, 7), Red);
    EXPECT_EQ(FCanvas.At(3, 3), White);
    SelectObject(FCanvas, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
    DeleteObject(pen);
}

TEST_F(Shapes, EllipseTouchesAllFourSidesOfItsBoxAndNoMore) {
    Ellipse(FCanvas, 2, 2, 13, 13);
    // Left, top, right (12) and bottom (12) edges hold outline pixels on the centre lines.
    EXPECT_EQ(FCanvas.At(2, 7), Black);
    EXPECT_EQ(FCanvas.At(7, 2), Black);
    EXPECT_EQ(FCanvas.At(12, 7), Black);
    EXPECT_EQ(FCanvas.At(7, 12), Black);
    EXPECT_EQ(FCanvas.At(13, 7), White);
    EXPECT_EQ(FCanvas.At(7, 13), White);
    EXPECT_EQ(FCanvas.At(2, 2), White);   // corners stay clear
    EXPECT_EQ(FCanvas.At(7, 7), Red);
}

TEST_F(Shapes, EllipseIsSymmetric) {
    Ellipse(FCanvas, 0, 0, 16, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(FCanvas.At(x, y), FCanvas.At(15 - x, y)) << x << "," << y;
            ASSERT_EQ(FCanvas.At(x, y), FCanvas.At(x, 9 - y)) << x << "," << y;
        }
}

TEST_F(Shapes, DegenerateBoxesDrawNothing) {
    EXPECT_FALSE(Ellipse(FCanvas, 5, 5, 5, 10));
    EXPECT_FALSE(Rectangle(FCanvas, 3, 3, 3, 3));
    EXPECT_FALSE(RoundRect(FCanvas, 0, 4, 10, 4, 3, 3));
    EXPECT_EQ(FCanvas.Count(White), 400);
    // Inverted boxes are normalised as GDI does.
    EXPECT_TRUE(Rectangle(FCanvas, 5, 5, 0, 0));
    EXPECT_EQ(FCanvas.At(0, 0), Black);
}

TEST_F(Shapes, RoundRectCutsItsCorners) {
    RoundRect(FCanvas, 0, 0, 12, 10, 6, 6);
    EXPECT_EQ(FCanvas.At(0, 0), White);
    EXPECT_EQ(FCanvas.At(6, 0), Black);
    EXPECT_EQ(FCanvas.At(0, 5), Black);
    EXPECT_EQ(FCanvas.At(11, 5), Black);
    EXPECT_EQ(FCanvas.At(12, 5), White);
    EXPECT_EQ(FCanvas.At(6, 5), Red);
}

TEST_F(Shapes, ArcRunsCounterClockwiseFromStartToEnd) {
    // Upper-left quarter: from the top radial to the left radial.
    Arc(FCanvas, 0, 0, 15, 15, 7, 0, 0, 7);
    EXPECT_EQ(FCanvas.At(7, 0), Black);
    EXPECT_EQ(FCanvas.At(0, 7), Black);
    EXPECT_EQ(FCanvas.At(2, 2), Black);
    EXPECT_EQ(FCanvas.At(12, 2), White);   // upper-right: outside the sweep
    EXPECT_EQ(FCanvas.At(2, 12), White);
    EXPECT_EQ(FCanvas.At(14, 7), White);
    EXPECT_EQ(FCanvas.Count(Red), 0);   // arcs never fill
}

TEST_F(Shapes, ArcWithSwappedRadialsTakesTheOtherThreeQuarters) {
    Arc(FCanvas, 0, 0, 15, 15, 0, 7, 7, 0);
    EXPECT_EQ(FCanvas.At(2, 2), White);
    EXPECT_EQ(FCanvas.At(12, 2), Black);
    EXPECT_EQ(FCanvas.At(2, 12), Black);
}

TEST_F(Shapes, ArcWithEqualRadialsIsTheWholeEllipse) {
    Arc(FCanvas, 0, 0, 15, 15, 20, 7, 20, 7);
    EXPECT_EQ(FCanvas.At(2, 2), Black);
    EXPECT_EQ(FCanvas.At(12, 12), Black);
}

TEST_F(Shapes, PieFillsItsSectorAndDrawsBothRadials) {
    // The right half: from the bottom radial round to the top one.
    Pie(FCanvas, 0, 0, 15, 15, 7, 20, 7, -5);
    EXPECT_EQ(FCanvas.At(10, 7), Red);
    EXPECT_EQ(FCanvas.At(3, 7), White);
    EXPECT_EQ(FCanvas.At(7, 3), Black);   // the radial to the top
    EXPECT_EQ(FCanvas.At(7, 11), Black);   // the radial to the bottom
}

TEST_F(Shapes, ChordFillsOneSideOfItsLine) {
    Chord(FCanvas, 0, 0, 15, 15, 14, 0, 0, 14);   // upper-left half, cut along the diagonal
    EXPECT_EQ(FCanvas.At(4, 4), Red);
    EXPECT_EQ(FCanvas.At(11, 11), White);
    EXPECT_EQ(FCanvas.At(7, 7), Black);   // on the chord
}

TEST_F(Shapes, PolygonFillsLikeARectangleAndOutlinesThroughEveryVertex) {
    const POINT square[] = {{2, 2}, {8, 2}, {8, 8}, {2, 8}};
    Polygon(FCanvas, square, 4);
    // The outline passes through (8, 8): the polygon covers 7 x 7 pixels.
    EXPECT_EQ(FCanvas.At(8, 8), Black);
    EXPECT_EQ(FCanvas.At(9, 8), White);
    EXPECT_EQ(FCanvas.At(5, 5), Red);
    EXPECT_EQ(FCanvas.Count(Black) + FCanvas.Count(Red), 49);
}

TEST_F(Shapes, PolygonWithANullPenFillsTheHalfOpenInside) {
    SelectObject(FCanvas, static_cast<HPEN>(GetStockObject(NULL_PEN)));
    const POINT square[] = {{2, 2}, {8, 2}, {8, 8}, {2, 8}};
    Polygon(FCanvas, square, 4);
    EXPECT_EQ(FCanvas.Count(Red), 36);
    EXPECT_EQ(FCanvas.At(2, 2), Red);
    EXPECT_EQ(FCanvas.At(8, 2), White);
}

TEST_F(Shapes, PolygonAlternateLeavesTheInnerStarHoleOpenAndWindingFillsIt) {
    SelectObject(FCanvas, static_cast<HPEN>(GetStockObject(NULL_PEN)));
    const POINT star[] = {{10, 0}, {16, 19}, {1, 7}, {19, 7}, {4, 19}};
    Polygon(FCanvas, star, 5);
    EXPECT_EQ(FCanvas.At(10, 11), White);
    EXPECT_EQ(FCanvas.At(10, 3), Red);
    SetPolyFillMode(FCanvas, WINDING);
    Polygon(FCanvas, star, 5);
    EXPECT_EQ(FCanvas.At(10, 11), Red);
}

TEST_F(Shapes, PolygonNeedsTwoPoints) {
    const POINT one[] = {{1, 1}};
    EXPECT_FALSE(Polygon(FCanvas, one, 1));
    EXPECT_FALSE(Polygon(FCanvas, nullptr, 4));
}

TEST_F(Shapes, ShapesAreClippedAtTheSurfaceEdges) {
    Ellipse(FCanvas, -10, -10, 30, 30);
    EXPECT_EQ(FCanvas.At(10, 10), Red);
    Rectangle(FCanvas, -5, -5, 3, 3);
    EXPECT_EQ(FCanvas.At(2, 2), Black);
    EXPECT_EQ(FCanvas.At(1, 1), Red);
}

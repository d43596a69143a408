// Clipping tests: clip rectangles and regions, the clip box, visibility, negative origins.
#include "platform/gdi/Drawing.h"

#include "support/TestCanvas.h"

#include <gtest/gtest.h>

using namespace korvex::gdi;
using namespace korvex::gdi::test;

namespace {

HBRUSH RedBrush() {
    static HBRUSH brush = CreateSolidBrush(Red);
    return brush;
}

void FillAll(HDC dc) {
    RECT all {-100, -100, 100, 100};
    FillRect(dc, &all, RedBrush());
}

}

TEST(IntersectClipRect, LimitsDrawingToTheRect) {
    TestCanvas canvas(10, 10);
    EXPECT_EQ(IntersectClipRect(canvas, 2, 2, 5, 5), SIMPLEREGION);
    FillAll(canvas);
    EXPECT_EQ(canvas.Count(Red), 9);
    EXPECT_EQ(canvas.At(2, 2), Red);
    EXPECT_EQ(canvas.At(5, 5), White);
}

TEST(IntersectClipRect, DisjointRectsLeaveNothingVisible) {
    TestCanvas canvas(10, 10);
    IntersectClipRect(canvas, 0, 0, 3, 3);
    EXPECT_EQ(IntersectClipRect(canvas, 5, 5, 8, 8), NULLREGION);
    FillAll(canvas);
    EXPECT_EQ(canvas.Count(Red), 0);
    RECT box {1, 1, 1, 1};
    EXPECT_EQ(GetClipBox(canvas, &box), NULLREGION);
}

TEST(ExcludeClipRect, PunchesAHole) {
    TestCanvas canvas(10, 10);
    EXPECT_EQ(ExcludeClipRect(canvas, 2, 2, 4, 4), COMPLEXREGION);
    FillAll(canvas);
    EXPECT_EQ(canvas.Count(Red), 96);
    EXPECT_EQ(canvas.At(3, 3), White);
    EXPECT_FALSE(PtVisible(canvas, 2, 2));
    EXPECT_TRUE(PtVisible(canvas, 4, 4));
}

TEST(ClipRegion, IsInDeviceCoordinatesAndRectsInLogical) {
    TestCanvas canvas(10, 10);
    SetWindowOrgEx(canvas, -2, -2, nullptr);   // logical (0,0) is device (2,2)
    IntersectClipRect(canvas, 0, 0, 2, 2);   // device (2,2)-(4,4)
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(canvas, rgn), 1);
    RECT box;
    GetRgnBox(rgn, &box);
    EXPECT_EQ(box, (RECT {2, 2, 4, 4}));
    EXPECT_EQ(GetClipBox(canvas, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT {0, 0, 2, 2}));
    DeleteObject(rgn);
}

TEST(ClipRegion, SelectClipRgnCopiesAndNullRemoves) {
    TestCanvas canvas(10, 10);
    HRGN rgn = CreateRectRgn(0, 0, 3, 3);
    EXPECT_EQ(SelectClipRgn(canvas, rgn), SIMPLEREGION);
    DeleteObject(rgn);   // the DC keeps its own copy
    FillAll(canvas);
    EXPECT_EQ(canvas.Count(Red), 9);
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(SelectClipRgn(canvas, nullptr), SIMPLEREGION);
    EXPECT_EQ(GetClipRgn(canvas, probe), 0);
    DeleteObject(probe);
}

TEST(ClipRegion, ExtSelectClipRgnCombinesWithTheCurrentClip) {
    TestCanvas canvas(10, 10);
    IntersectClipRect(canvas, 0, 0, 6, 6);
    HRGN rgn = CreateRectRgn(4, 4, 10, 10);
    EXPECT_EQ(ExtSelectClipRgn(canvas, rgn, RGN_AND), SIMPLEREGION);
    RECT box;
    GetClipBox(canvas, &box);
    EXPECT_EQ(box, (RECT {4, 4, 6, 6}));
    EXPECT_EQ(ExtSelectClipRgn(canvas, rgn, 42), ERROR);
    DeleteObject(rgn);
}

TEST(ClipBox, IsTheSurfaceWithoutClip) {
    TestCanvas canvas(7, 5);
    RECT box;
    EXPECT_EQ(GetClipBox(canvas, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT {0, 0, 7, 5}));
    SetWindowOrgEx(canvas, 10, 20, nullptr);
    GetClipBox(canvas, &box);
    EXPECT_EQ(box, (RECT {10, 20, 17, 25}));
}

TEST(RectVisible, ChecksAgainstClipAndSurface) {
    TestCanvas canvas(10, 10);
    RECT inside {1, 1, 3, 3};
    RECT outside {10, 0, 12, 5};
    RECT empty {5, 5, 5, 5};
    EXPECT_TRUE(RectVisible(canvas, &inside));
    EXPECT_FALSE(RectVisible(canvas, &outside));
    EXPECT_FALSE(RectVisible(canvas, &empty));
    EXPECT_FALSE(RectVisible(canvas, nullptr));
    ExcludeClipRect(canvas, 0, 0, 5, 5);
    EXPECT_FALSE(RectVisible(canvas, &inside));
}

TEST(ClipRegion, OffsetClipRgnMovesTheClip) {
    TestCanvas canvas(10, 10);
    IntersectClipRect(canvas, 0, 0, 2, 2);
    EXPECT_EQ(OffsetClipRgn(canvas, 3, 3), SIMPLEREGION);
    EXPECT_TRUE(PtVisible(canvas, 3, 3));
    EXPECT_FALSE(PtVisible(canvas, 0, 0));
}

TEST(Clipping, NegativeOriginsDrawOnlyTheVisiblePart) {
    TestCanvas canvas(10, 10);
    SetViewportOrgEx(canvas, -5, -5, nullptr);
    RECT r {0, 0, 8, 8};   // device (-5,-5)-(3,3)
    FillRect(canvas, &r, RedBrush());
    EXPECT_EQ(canvas.Count(Red), 9);
    EXPECT_EQ(canvas.At(2, 2), Red);
    EXPECT_EQ(canvas.At(3, 3), White);
}

TEST(SaveDC, RestoreBringsBackTheClipOfTheSavedState) {
    TestCanvas canvas(10, 10);
    ExcludeClipRect(canvas, 2, 2, 4, 4);
    EXPECT_TRUE(PtVisible(canvas, 5, 5));   // the clip is computed before the save
    const int level = SaveDC(canvas);
    IntersectClipRect(canvas, 0, 0, 3, 3);
    EXPECT_FALSE(PtVisible(canvas, 5, 5));
    ExcludeClipRect(canvas, 0, 0, 1, 1);
    RestoreDC(canvas, level);
    FillAll(canvas);
    EXPECT_EQ(canvas.Count(Red), 96);
    EXPECT_FALSE(PtVisible(canvas, 3, 3));
}

TEST(SaveDC, RestoreKeepsASystemClipSetAfterTheSave) {
    TestCanvas canvas(10, 10);
    HDC dc = canvas;
    IntersectClipRect(dc, 0, 0, 8, 8);
    RECT box;
    GetClipBox(dc, &box);
    const int level = SaveDC(dc);
    const BandedRegion left(RECT {0, 0, 5, 10});
    dc->SetSystemClip(&left);   // what the window layer does when a window moves
    RestoreDC(dc, level);
    GetClipBox(dc, &box);
    EXPECT_EQ(box.right, 5);
    EXPECT_EQ(box.bottom, 8);
    dc->SetSystemClip(nullptr);
}

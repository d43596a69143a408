// Tests for the border drag's arithmetic alone: a position snapped to a work area's edges, and the bounds a
// maximized form gets from the work area and its frame.
#include "skin/windows/sBorderDrag.h"

#include "platform/user/UserTypes.h"
#include "skin/windows/sSkinProvider.h"

#include <gtest/gtest.h>

namespace korvex::skin {
namespace {

using namespace korvex::classes;

// Each edge pulls a form closer than the buffer onto it: right and bottom first, then left and top.
TEST(BorderDragSnap, APositionNearAWorkAreaEdgeGoesOntoIt) {
    const TRect work {0, 0, 1024, 768};
    const TSize size {300, 200};
    struct Row {
        int X, Y, WantX, WantY;
    } rows[] {
        {100, 100, 100, 100},   // far from every edge
        {5, 100, 0, 100},   // left
        {-9, 100, 0, 100},   // left, partly off
        {10, 100, 10, 100},   // the buffer itself is too far
        {-10, 100, -10, 100},
        {100, 3, 100, 0},   // top
        {730, 100, 724, 100},   // right: 730 + 300 is within 10 of 1024
        {715, 100, 724, 100},   // 1015 is 9 short of 1024: snapped
        {100, 570, 100, 568},   // bottom
        {100, 577, 100, 568},
        {100, 578, 100, 578},   // 778 is 10 past 768: stays
        {720, 565, 724, 568},   // the bottom-right corner
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.X << ", " << row.Y);
        int x = row.X;
        int y = row.Y;
        TsBorderDrag::SnapToWorkArea(x, y, size, work, TPoint {0, 0}, 10);
        EXPECT_EQ(x, row.WantX);
        EXPECT_EQ(y, row.WantY);
    }
}

TEST(BorderDragSnap, AWorkAreaAwayFromTheOriginAndAFormAsWideAsIt) {
    struct Row {
        TRect Work;
        TSize Size;
        TPoint Display;
        int Buffer, X, Y, WantX, WantY;
    } rows[] {
        {{1024, 100, 2048, 868}, {300, 200}, {0, 0}, 10, 1030, 95, 1024, 100},   // the work area beside a bar
        {{1024, 100, 2048, 868}, {300, 200}, {0, 0}, 10, 1740, 665, 1748, 668},
        {{0, 0, 300, 400}, {295, 100}, {0, 0}, 10, 3, 50, 0, 50},   // pulled right, then back onto the left edge
        {{0, 0, 1024, 768}, {300, 200}, {0, 0}, 0, 1, 1, 1, 1},   // no buffer, no snap
        // On a display left of the work area's: its left and top edges are measured from the display's corner.
        {{0, 0, 1024, 768}, {300, 200}, {-1280, 0}, 10, -1276, 300, -1276, 300},
        {{0, 0, 1024, 768}, {300, 200}, {-1280, 0}, 10, 1283, 300, 1280, 300},
        {{0, 0, 1024, 768}, {300, 200}, {0, -900}, 10, 100, 904, 100, 900},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.X << ", " << row.Y);
        int x = row.X;
        int y = row.Y;
        TsBorderDrag::SnapToWorkArea(x, y, row.Size, row.Work, row.Display, row.Buffer);
        EXPECT_EQ(x, row.WantX);
        EXPECT_EQ(y, row.WantY);
    }
}

TEST(BorderDragSnap, SnapToEdgeMovesOnlyWithinTheBuffer) {
    struct Row {
        int Pos, Edge, Size, Buffer, Want;
    } rows[] {{5, 0, 0, 10, 0}, {-5, 0, 0, 10, 0}, {10, 0, 0, 10, 10}, {95, 400, 300, 10, 100}, {89, 400, 300, 10, 89}};
    for (const Row& row : rows) {
        int pos = row.Pos;
        SnapToEdge(pos, row.Edge, row.Size, row.Buffer);
        EXPECT_EQ(pos, row.Want) << row.Pos;
    }
}

// What the system left at -1 is the work area grown by the frame on each side; the rest is kept.
TEST(BorderDragMaximized, TheOpenBoundsComeFromTheWorkAreaAndTheFrame) {
    const TRect work {10, 20, 1034, 748};
    struct Row {
        user::POINT Track, Position;
        int FrameX, FrameY;
        user::POINT WantTrack, WantPosition;
    } rows[] {
        {{-1, -1}, {-1, -1}, 4, 4, {1032, 736}, {6, 16}},
        {{-1, -1}, {-1, -1}, 0, 0, {1024, 728}, {10, 20}},
        {{800, -1}, {-1, 5}, 3, 3, {800, 734}, {7, 5}},
        {{640, 480}, {0, 0}, 4, 4, {640, 480}, {0, 0}},
    };
    for (const Row& row : rows) {
        user::MINMAXINFO info {};
        info.ptMaxTrackSize = row.Track;
        info.ptMaxPosition = row.Position;
        TsBorderDrag::FillMaximizedBounds(info, work, row.FrameX, row.FrameY);
        EXPECT_EQ(info.ptMaxTrackSize.x, row.WantTrack.x);
        EXPECT_EQ(info.ptMaxTrackSize.y, row.WantTrack.y);
        EXPECT_EQ(info.ptMaxPosition.x, row.WantPosition.x);
        EXPECT_EQ(info.ptMaxPosition.y, row.WantPosition.y);
    }
}

}
}

// DrawEdge colours and adjustment, DrawFocusRect's dotted XOR frame and frame-control glyphs.
#include "platform/gdi/Drawing.h"
#include "platform/gdi/SysColors.h"

#include "support/TestCanvas.h"

#include <gtest/gtest.h>

using namespace korvex::gdi;
using namespace korvex::gdi::test;

TEST(DrawEdge, SunkenEdgeColoursByRing) {
    TestCanvas canvas(10, 10, PixelFormat::pf24bit, RGB(1, 2, 3));
    RECT r {0, 0, 10, 10};
    DrawEdge(canvas, &r, EDGE_SUNKEN, BF_RECT);
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_BTNSHADOW));   // outer top-left
    EXPECT_EQ(canvas.At(9, 9), GetSysColor(COLOR_BTNHIGHLIGHT));   // outer bottom-right
    EXPECT_EQ(canvas.At(0, 9), GetSysColor(COLOR_BTNHIGHLIGHT));   // bottom-left corner goes to bottom-right colour
    EXPECT_EQ(canvas.At(1, 1), GetSysColor(COLOR_3DDKSHADOW));   // inner top-left
    EXPECT_EQ(canvas.At(8, 8), GetSysColor(COLOR_3DLIGHT));   // inner bottom-right
    EXPECT_EQ(canvas.At(2, 2), RGB(1, 2, 3));   // middle untouched
}

TEST(DrawEdge, RaisedEdgeColoursByRing) {
    TestCanvas canvas(10, 10);
    RECT r {0, 0, 10, 10};
    DrawEdge(canvas, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(canvas.At(9, 0), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(canvas.At(1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(canvas.At(8, 8), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas.At(5, 5), GetSysColor(COLOR_BTNFACE));
}

TEST(DrawEdge, AdjustShrinksByTheBordersDrawn) {
    TestCanvas canvas(10, 10);
    RECT r {0, 0, 10, 10};
    DrawEdge(canvas, &r, EDGE_ETCHED, BF_RECT | BF_ADJUST);
    EXPECT_EQ(r, (RECT {2, 2, 8, 8}));
    RECT side {0, 0, 10, 10};
    DrawEdge(canvas, &side, BDR_RAISEDINNER, BF_LEFT | BF_BOTTOM | BF_ADJUST);
    EXPECT_EQ(side, (RECT {1, 0, 10, 9}));
}

TEST(DrawEdge, OnlyTheChosenSidesAreDrawn) {
    TestCanvas canvas(10, 10);
    RECT r {0, 0, 10, 10};
    DrawEdge(canvas, &r, BDR_SUNKENOUTER, BF_TOP);
    EXPECT_EQ(canvas.At(5, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas.At(0, 5), White);
    EXPECT_EQ(canvas.At(5, 9), White);
}

TEST(DrawEdge, FlatAndMonoUseOneColour) {
    TestCanvas canvas(10, 10);
    RECT r {0, 0, 10, 10};
    DrawEdge(canvas, &r, EDGE_RAISED, BF_RECT | BF_MONO);
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(canvas.At(9, 9), GetSysColor(COLOR_WINDOWFRAME));
}

TEST(DrawEdge, DegenerateInputIsRefused) {
    TestCanvas canvas(4, 4);
    RECT empty {2, 2, 2, 2};
    EXPECT_FALSE(DrawEdge(canvas, &empty, EDGE_RAISED, BF_RECT));
    EXPECT_FALSE(DrawEdge(canvas, nullptr, EDGE_RAISED, BF_RECT));
    EXPECT_FALSE(DrawEdge(nullptr, &empty, EDGE_RAISED, BF_RECT));
    EXPECT_EQ(canvas.Count(White), 16);
}

TEST(DrawFocusRect, InvertsEveryOtherPixelOfTheFrame) {
    TestCanvas canvas(8, 6);
    RECT r {0, 0, 8, 6};
    DrawFocusRect(canvas, &r);
    EXPECT_EQ(canvas.Picture(Black, 0, 0, 8, 6),
        "#.#.#.#.\n"
        ".......#\n"
        "#.......\n"
        ".......#\n"
        "#.......\n"
        ".#.#.#.#\n");
}

TEST(DrawFocusRect, DrawingTwiceRestoresEveryPixel) {
    for (int w = 1; w <= 5; ++w)
        for (int h = 1; h <= 5; ++h) {
            TestCanvas canvas(6, 6, PixelFormat::pf32bit, RGB(40, 90, 200));
            RECT r {0, 0, w, h};
            DrawFocusRect(canvas, &r);
            DrawFocusRect(canvas, &r);
            ASSERT_EQ(canvas.Count(RGB(40, 90, 200)), 36) << w << "x" << h;
        }
}

TEST(DrawFrameControl, ScrollArrowsPointTheirWay) {
    TestCanvas up(17, 17);
    RECT r {0, 0, 17, 17};
    EXPECT_TRUE(DrawFrameControl(up, &r, DFC_SCROLL, DFCS_SCROLLUP));
    const COLORREF glyph = GetSysColor(COLOR_BTNTEXT);
    // An up arrow is wider at its bottom row than at its top row.
    int topRow = -1;
    int bottomRow = -1;
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 17; ++x)
            if (up.At(x, y) == glyph) {
                if (topRow < 0) topRow = y;
                bottomRow = y;
            }
    ASSERT_GE(topRow, 0);
    auto width = [&](int y) {
        int n = 0;
        for (int x = 0; x < 17; ++x)
            n += up.At(x, y) == glyph;
        return n;
    };
    EXPECT_EQ(width(topRow), 1);
    EXPECT_GT(width(bottomRow), 1);

    TestCanvas down(17, 17);
    DrawFrameControl(down, &r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    int downTop = -1;
    for (int y = 0; y < 17 && downTop < 0; ++y)
        for (int x = 0; x < 17; ++x)
            if (down.At(x, y) == glyph) downTop = y;
    int n = 0;
    for (int x = 0; x < 17; ++x)
        n += down.At(x, downTop) == glyph;
    EXPECT_GT(n, 1);
}

TEST(DrawFrameControl, InactiveArrowIsGreyAndPushedButtonIsFlat) {
    TestCanvas canvas(17, 17);
    RECT r {0, 0, 17, 17};
    DrawFrameControl(canvas, &r, DFC_SCROLL, DFCS_SCROLLLEFT | DFCS_INACTIVE);
    EXPECT_EQ(canvas.Count(GetSysColor(COLOR_BTNTEXT)), 0);
    EXPECT_GT(canvas.Count(GetSysColor(COLOR_BTNSHADOW)), 0);
    DrawFrameControl(canvas, &r, DFC_SCROLL, DFCS_SCROLLRIGHT | DFCS_PUSHED);
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas.At(16, 16), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_FALSE(DrawFrameControl(canvas, &r, DFC_BUTTON, 0));
    EXPECT_FALSE(DrawFrameControl(canvas, &r, DFC_SCROLL, 0x77));
}

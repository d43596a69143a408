// Regions and runs of one colour cut from bitmaps and from a skin picture's corner pieces.
#include "skin/engine/sRegionUtils.h"

#include "platform/classes/TBitmap.h"
#include "platform/gdi/Region.h"
#include "skin/engine/sSkinData.h"

#include "support/PixelFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::pixeltest;
using classes::TRect;

TEST(CollectColorRuns, FindsRunsRowByRowAndClosesThemAtTheRowEnd) {
    auto bitmap = Bitmap24(5, 2, 0);
    Fill(*bitmap, TRect {1, 0, 3, 1}, Key);
    Fill(*bitmap, TRect {4, 0, 5, 2}, Key);
    TsRectRuns runs;
    CollectColorRuns(runs, bitmap.get(), Key);
    const TsRectRuns expected {{1, 0, 3, 1}, {4, 0, 5, 1}, {4, 1, 5, 2}};
    EXPECT_EQ(runs, expected);
}

TEST(CollectColorRuns, RunsCrossTheSixteenPixelBlocksOfLongRows) {
    auto bitmap = Bitmap24(70, 2, 0);
    Fill(*bitmap, TRect {10, 0, 50, 1}, Rgb(1, 2, 3));
    Fill(*bitmap, TRect {0, 1, 70, 2}, Rgb(1, 2, 3));
    Put(*bitmap, 33, 1, 0);
    TsRectRuns runs;
    CollectColorRuns(runs, bitmap.get(), Rgb(1, 2, 3));
    const TsRectRuns expected {{10, 0, 50, 1}, {0, 1, 33, 2}, {34, 1, 70, 2}};
    EXPECT_EQ(runs, expected);
}

TEST(CollectColorRuns, NothingForBitmapsBelowTwoByTwo) {
    auto bitmap = Bitmap24(8, 1, Key);
    TsRectRuns runs;
    CollectColorRuns(runs, bitmap.get(), Key);
    EXPECT_TRUE(runs.empty());
}

TEST(RegionFromBitmap, CutsEveryWhiteRun) {
    auto bitmap = Bitmap24(6, 4, 0);
    Fill(*bitmap, TRect {0, 0, 6, 1}, classes::clWhite);
    Put(*bitmap, 5, 3, classes::clWhite);
    gdi::HRGN rgn = nullptr;
    RegionFromBitmap(rgn, bitmap.get());
    ASSERT_NE(rgn, nullptr);
    EXPECT_FALSE(gdi::PtInRegion(rgn, 3, 0));
    EXPECT_FALSE(gdi::PtInRegion(rgn, 5, 3));
    EXPECT_TRUE(gdi::PtInRegion(rgn, 4, 3));
    EXPECT_TRUE(gdi::PtInRegion(rgn, 0, 1));
    EXPECT_FALSE(gdi::PtInRegion(rgn, 6, 1));
    gdi::DeleteObject(rgn);
}

TEST(RegionFromBitmap, ABitmapWithoutWhiteGivesItsRectangle) {
    auto bitmap = Bitmap24(6, 4, 0);
    gdi::HRGN rgn = nullptr;
    RegionFromBitmap(rgn, bitmap.get());
    gdi::RECT box {};
    gdi::GetRgnBox(rgn, &box);
    EXPECT_EQ(box, (TRect {0, 0, 6, 4}));
    EXPECT_EQ(gdi::GetRegionRects(rgn).size(), 1u);
    gdi::DeleteObject(rgn);
}

namespace {

// A 3-state picture over its mask at (4, 2) of the master: 18 x 12, cells 2 x 2.
struct CornerSkin {
    TestSkin Skin {30, 20, Rgb(9, 9, 9)};
    int Index = Skin.AddMask(TRect {4, 2, 22, 14}, 3, 1);
};

}

TEST(CollectCornerTransparentRects, PlacesTheTopCornersAtTheWindowsEdges) {
    CornerSkin s;
    Put(s.Skin.Master(), 4, 2, Key);   // top-left pixel of state 0
    Put(s.Skin.Master(), 5, 3, Key);
    Fill(s.Skin.Master(), TRect {8, 2, 10, 3}, Key);   // the top-right cell's top row
    TsRectRuns runs;
    CollectCornerTransparentRects(runs, 100, s.Skin.Mask(s.Index), 10, false);
    const TsRectRuns expected {{0, 10, 1, 11}, {98, 10, 100, 11}, {1, 11, 2, 12}};
    std::sort(runs.begin(), runs.end(),
        [](const TRect& a, const TRect& b) { return a.top != b.top ? a.top < b.top : a.left < b.left; });
    EXPECT_EQ(runs, expected);
}

TEST(CollectCornerTransparentRects, TakesTheBottomCornersFromTheLastCellRow) {
    CornerSkin s;
    Put(s.Skin.Master(), 4, 2, Key);   // top cell: not collected
    Put(s.Skin.Master(), 4, 7, Key);   // picture rows 4..5 are the bottom cells: row 5
    TsRectRuns runs;
    CollectCornerTransparentRects(runs, 50, s.Skin.Mask(s.Index), 40, true);
    const TsRectRuns expected {{0, 41, 1, 42}};
    EXPECT_EQ(runs, expected);
}

TEST(CollectCornerTransparentRects, CellsPastTheMasterBitmapAreCut) {
    TestSkin skin(30, 8, 0);
    const int index = skin.AddMask(TRect {0, 0, 18, 12}, 3, 0);   // four rows lie below the master
    Fill(skin.Master(), TRect {0, 7, 2, 8}, Key);
    TsRectRuns runs;
    CollectCornerTransparentRects(runs, 20, skin.Mask(index), 0, true);   // cells from row 8 down: none there
    EXPECT_TRUE(runs.empty());
    CollectCornerTransparentRects(runs, 20, skin.Mask(index), 0, false);   // rows 0..3 exist
    EXPECT_TRUE(runs.empty());
}

// A cell row that does not lie in the master bitmap down to its last row but one gives no runs at all.
TEST(CollectCornerTransparentRects, ACellRowReachingPastTheMasterGivesNothing) {
    TestSkin skin(30, 10, 0);
    const int index = skin.AddMask(TRect {0, 0, 18, 12}, 3, 0);   // cells 2 x 4; the bottom row is rows 8..11
    Fill(skin.Master(), TRect {0, 8, 1, 10}, Key);
    TsRectRuns runs;
    CollectCornerTransparentRects(runs, 20, skin.Mask(index), 0, true);   // 10 rows, the cell needs 11
    EXPECT_TRUE(runs.empty());
    TestSkin taller(30, 11, 0);
    const int same = taller.AddMask(TRect {0, 0, 18, 12}, 3, 0);
    Fill(taller.Master(), TRect {0, 8, 1, 11}, Key);
    CollectCornerTransparentRects(runs, 20, taller.Mask(same), 0, true);   // 11 rows: the rows there count
    EXPECT_EQ(runs, (TsRectRuns {{0, 0, 1, 1}, {0, 1, 1, 2}, {0, 2, 1, 3}}));
}

TEST(CollectCornerTransparentRects, OwnBitmapsUseOneSixthOfTheirHeightAsTheCell) {
    TestSkin skin(4, 4, 0);
    auto own = Bitmap24(18, 12, 0);   // cells 2 x 2, picture rows 0..5
    Put(*own, 0, 3, Key);   // a left-side cell, not a corner
    Put(*own, 1, 5, Key);   // bottom-left corner cell (rows 4..5)
    Put(*own, 5, 0, Key);   // top-right corner cell (columns 4..5)
    const int index = skin.AddOwnMask(std::move(own), 3, 1);
    TsRectRuns top, bottom;
    CollectCornerTransparentRects(top, 30, skin.Mask(index), 0, false);
    CollectCornerTransparentRects(bottom, 30, skin.Mask(index), 20, true);
    EXPECT_EQ(top, (TsRectRuns {{29, 0, 30, 1}}));
    EXPECT_EQ(bottom, (TsRectRuns {{1, 21, 2, 22}}));
}

TEST(CollectCornerTransparentRects, BadImageCountsAndMaskTypesCountAsOneAndZero) {
    TestSkin skin(30, 20, 0);
    const int index = skin.AddMask(TRect {0, 0, 6, 6}, 0, -3);   // one state, no mask: cells 2 x 2
    Put(skin.Master(), 0, 0, Key);
    Put(skin.Master(), 5, 4, Key);
    TsRectRuns top, bottom;
    CollectCornerTransparentRects(top, 10, skin.Mask(index), 0, false);
    CollectCornerTransparentRects(bottom, 10, skin.Mask(index), 0, true);
    EXPECT_EQ(top, (TsRectRuns {{0, 0, 1, 1}}));
    EXPECT_EQ(bottom, (TsRectRuns {{9, 0, 10, 1}}));
}

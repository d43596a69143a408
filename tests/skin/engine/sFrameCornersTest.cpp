// Refreshing a control's transparent border corners from its parent's background.
#include "skin/engine/sFrameCorners.h"

#include "platform/classes/TBitmap.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

#include "support/PixelFixtures.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::pixeltest;
using classes::TRect;

namespace {

constexpr classes::TColor Old = Rgb(50, 50, 50);
constexpr classes::TColor Answer = Rgb(0, 200, 0);

// A border of three 12-pixel states over masks (cells 4 x 4, picture 12 rows) and a 20 x 16 control.
struct CornerFixture {
    CornerFixture() {
        Put(Skin.Master(), 0, 0, Key);   // state 0: top-left
        Put(Skin.Master(), 11, 0, Key);   // top-right
        Put(Skin.Master(), 0, 11, Key);   // bottom-left
        Put(Skin.Master(), 11, 11, Key);   // bottom-right
        Fill(Skin.Master(), TRect {12, 0, 14, 1}, Key);   // state 1: two top-left pixels
        Put(Skin.Master(), 35, 11, Key);   // state 2: bottom-right only
        Target.Manager = Skin.Manager();
        Target.BorderIndex = Skin.AddMask(TRect {0, 0, 36, 24}, 3, 1);
        Target.Cache = Cache.get();
        Target.Width = 20;
        Target.Height = 16;
    }

    TestSkin Skin {40, 30, Rgb(90, 90, 90)};
    std::unique_ptr<classes::TBitmap> Cache = Bitmap24(20, 16, Old);
    TsFrameCornerTarget Target;
};

}

TEST(PaintFrameSides, BottomCornersOnlyLeaveTheTopCornersUntouched) {
    CornerFixture f;
    f.Target.ParentCache.ParentAnswer = Answer;
    PaintFrameSides(f.Target, 0, fcBottomLeft | fcBottomRight);
    EXPECT_EQ(Px(*f.Cache, 0, 0), Old);
    EXPECT_EQ(Px(*f.Cache, 19, 0), Old);
    EXPECT_EQ(Px(*f.Cache, 0, 15), Answer);
    EXPECT_EQ(Px(*f.Cache, 19, 15), Answer);
}

TEST(PaintFrameSides, OpaqueSkinPixelsKeepTheirCachePixels) {
    CornerFixture f;
    f.Target.ParentCache.ParentAnswer = Answer;
    PaintFrameAllSides(f.Target, 0);
    EXPECT_EQ(Px(*f.Cache, 0, 0), Answer);
    EXPECT_EQ(Px(*f.Cache, 19, 0), Answer);
    EXPECT_EQ(Px(*f.Cache, 1, 0), Old);
    EXPECT_EQ(Px(*f.Cache, 0, 1), Old);
    EXPECT_EQ(Px(*f.Cache, 10, 8), Old);
}

TEST(PaintFrameSides, WithAReadyParentCacheCopiesTheParentsPixelsUnderTheControl) {
    CornerFixture f;
    auto parent = Bitmap24(100, 100, 0);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            Put(*parent, x, y, Rgb(x, y, 7));
    FillCacheInfo(f.Target.ParentCache, parent.get(), 2, 3);
    f.Target.Position = classes::TPoint {30, 40};
    PaintFrameAllSides(f.Target, 0);
    EXPECT_EQ(Px(*f.Cache, 0, 0), Rgb(32, 43, 7));
    EXPECT_EQ(Px(*f.Cache, 19, 15), Rgb(51, 58, 7));
    EXPECT_EQ(Px(*f.Cache, 1, 1), Old);
}

TEST(PaintFrameSides, TheHotStateRefreshesFromTheSecondColumn) {
    CornerFixture f;
    f.Target.ParentCache.ParentAnswer = Answer;
    PaintFrameAllSides(f.Target, 1);
    EXPECT_EQ(Px(*f.Cache, 0, 0), Answer);
    EXPECT_EQ(Px(*f.Cache, 1, 0), Answer);
    EXPECT_EQ(Px(*f.Cache, 19, 0), Old);
    EXPECT_EQ(Px(*f.Cache, 0, 15), Old);
}

TEST(PaintFrameSides, AStateBeyondTheLastRefreshesFromTheLastColumn) {
    CornerFixture f;
    f.Target.ParentCache.ParentAnswer = Answer;
    PaintFrameAllSides(f.Target, 7);
    EXPECT_EQ(Px(*f.Cache, 19, 15), Answer);
    EXPECT_EQ(Px(*f.Cache, 0, 0), Old);
}

TEST(PaintFrameSides, AnAnswerGoesNoFurtherThanItsTarget) {
    CornerFixture f;
    TsFrameCornerTarget answered = f.Target;
    answered.ParentCache.ParentAnswer = Answer;
    auto other = Bitmap24(20, 16, Old);
    answered.Cache = other.get();
    PaintFrameAllSides(answered, 0);
    EXPECT_EQ(Px(*other, 0, 0), Answer);
    PaintFrameAllSides(f.Target, 0);   // no answer and no parent cache: the corners stay
    EXPECT_EQ(Px(*f.Cache, 0, 0), Old);
    answered.BorderIndex = 99;   // after a guard that fails too
    PaintFrameAllSides(answered, 0);
    PaintFrameAllSides(f.Target, 0);
    EXPECT_EQ(Px(*f.Cache, 0, 0), Old);
}

TEST(PaintFrameSides, FailedGuardsLeaveTheCacheAsItWas) {
    CornerFixture f;
    f.Target.ParentCache.ParentAnswer = Answer;
    TsFrameCornerTarget noManager = f.Target, small = f.Target, badIndex = f.Target;
    noManager.Manager = nullptr;
    small.Width = 1;
    badIndex.BorderIndex = -1;
    for (const TsFrameCornerTarget& t : {noManager, small, badIndex})
        PaintFrameAllSides(t, 0);
    EXPECT_TRUE(AllPixels(*f.Cache, TRect {0, 0, 20, 16}, Old));
}

TEST(PaintFrameSides, OwnBitmapsWithoutImageCountCountAsThreeStatesOverMasks) {
    CornerFixture f;
    auto own = Bitmap24(36, 24, Rgb(1, 1, 1));
    Put(*own, 12, 0, Key);   // state 1 top-left
    f.Target.BorderIndex = f.Skin.AddOwnMask(std::move(own), 0, 0);
    f.Target.ParentCache.ParentAnswer = Answer;
    PaintFrameAllSides(f.Target, 1);
    EXPECT_EQ(Px(*f.Cache, 0, 0), Answer);
}

TEST(PaintFrameSides, CornerCellsBelowTheMasterAndPointsOutsideTheCacheAreSkipped) {
    CornerFixture f;
    f.Skin.Mask(f.Target.BorderIndex).R = TRect {0, 20, 36, 44};   // bottom cells lie below the 30-row master
    f.Target.Width = 40;   // wider than the cache
    f.Target.ParentCache.ParentAnswer = Answer;
    PaintFrameAllSides(f.Target, 0);
    EXPECT_EQ(Px(*f.Cache, 0, 15), Old);
}

// Textures: tiling, stretching and edge bands from the master bitmap, pictures, and masked textures.
#include "skin/engine/sTextures.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TJPEGImage.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Region.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sSkinData.h"

#include "support/PixelFixtures.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::pixeltest;
using classes::TRect;

namespace {

constexpr classes::TColor Tile(int x, int y) {
    return Rgb(4 * x, 4 * y, 9);
}
constexpr classes::TColor Back = Rgb(1, 1, 1);

// A coded 32 x 32 tile at (0, 0) of the master and a 120 x 100 target.
struct TextureFixture {
    explicit TextureFixture(int tileHeight = 32) {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                Put(Skin.Master(), x, y, Tile(x, y));
        Index = Skin.AddMask(TRect {0, 0, 32, tileHeight}, 1, 0);
    }
    const TsMaskData& Mask() const { return Skin.Mask(Index); }
    classes::TCanvas* Canvas() const { return Target->Canvas(); }

    TestSkin Skin {64, 40, 0};
    int Index = -1;
    std::unique_ptr<classes::TBitmap> Target = Bitmap24(120, 100, Back);
};

}

TEST(PaintTexture, ModeZeroTilesAndCutsTheLastColumnAndRow) {
    TextureFixture f;
    TRect r {0, 0, 100, 30};
    PaintTexture(f.Canvas(), r, nullptr, f.Mask(), 0);
    EXPECT_EQ(r, NothingLeft);
    for (int x : {0, 32, 64, 96})
        EXPECT_EQ(Px(*f.Target, x + 3, 29), Tile(3, 29)) << x;
    EXPECT_EQ(Px(*f.Target, 100, 0), Back);
    EXPECT_EQ(Px(*f.Target, 0, 30), Back);
}

TEST(PaintTexture, ModeTenPaintsWholeTileRowsOnly) {
    TextureFixture f;
    TRect r {0, 0, 100, 70};
    PaintTexture(f.Canvas(), r, nullptr, f.Mask(), 10);
    EXPECT_EQ(r, NothingLeft);
    EXPECT_EQ(Px(*f.Target, 5, 63), Tile(5, 31));
    EXPECT_EQ(Px(*f.Target, 5, 64), Back);   // 64 is not below 70 - 32 as a start
    EXPECT_EQ(Px(*f.Target, 99, 40), Tile(3, 8));   // the cut last column uses the same rows
}

TEST(PaintTexture, RepeatedRowsKeepThePhaseOverTheWholeBitmap) {
    TextureFixture f;
    auto whole = Bitmap24(96, 100, Back);   // rows back to back: the fast repeat
    TRect r {0, -7, 96, 100};   // the first tile row is cut by the bitmap's top
    PaintTexture(whole->Canvas(), r, nullptr, f.Mask(), 0);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 96; x += 5)
            ASSERT_EQ(Px(*whole, x, y), Tile(x % 32, (y + 7) % 32)) << x << "," << y;
}

TEST(PaintTexture, ComplexClipsAndPartRowsPaintOnlyWhatIsVisible) {
    TextureFixture f;
    gdi::HDC dc = f.Canvas()->Handle();
    gdi::HRGN clip = gdi::CreateRectRgn(0, 0, 50, 50);
    gdi::HRGN more = gdi::CreateRectRgn(70, 60, 110, 95);
    gdi::CombineRgn(clip, clip, more, gdi::RGN_OR);
    gdi::SelectClipRgn(dc, clip);
    TRect r {3, 5, 110, 99};
    PaintTexture(f.Canvas(), r, nullptr, f.Mask(), 0);
    gdi::SelectClipRgn(dc, nullptr);
    gdi::DeleteObject(clip);
    gdi::DeleteObject(more);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 120; ++x) {
            const bool visible = (x < 50 && y < 50) || (x >= 70 && x < 110 && y >= 60 && y < 95);
            const bool inR = x >= 3 && x < 110 && y >= 5 && y < 99;
            ASSERT_EQ(Px(*f.Target, x, y), visible && inR ? Tile((x - 3) % 32, (y - 5) % 32) : Back) << x << "," << y;
        }
}

TEST(PaintTexture, StretchModesFillBandsOrTheWholeRectangle) {
    TextureFixture f(10);
    TRect top {5, 5, 69, 50};
    PaintTexture(f.Canvas(), top, nullptr, f.Mask(), 4);
    EXPECT_EQ(top, (TRect {5, 15, 69, 50}));
    EXPECT_EQ(Px(*f.Target, 6, 5), Tile(0, 0));   // 64 wide from 32 columns: each twice
    EXPECT_EQ(Px(*f.Target, 7, 14), Tile(1, 9));
    EXPECT_EQ(Px(*f.Target, 7, 15), Back);

    TextureFixture g(10);
    TRect left {0, 0, 50, 40};
    PaintTexture(g.Canvas(), left, nullptr, g.Mask(), 5);
    EXPECT_EQ(left, (TRect {32, 0, 50, 40}));
    EXPECT_EQ(Px(*g.Target, 31, 39), Tile(31, 9));   // 10 rows stretched over 40

    TextureFixture h;
    TRect whole {0, 0, 16, 16};
    PaintTexture(h.Canvas(), whole, nullptr, h.Mask(), 1);
    EXPECT_EQ(whole, NothingLeft);
    EXPECT_EQ(Px(*h.Target, 0, 0), Tile(1, 1));   // a halving stretch samples pixel centres
    EXPECT_EQ(Px(*h.Target, 15, 15), Tile(31, 31));
    EXPECT_EQ(Px(*h.Target, 16, 16), Back);
}

struct EdgeCase {
    int mode;
    TRect rest;
    int x, y;   // a painted pixel
    classes::TColor colour;
};

class PaintTextureEdges : public testing::TestWithParam<EdgeCase> { };

TEST_P(PaintTextureEdges, LayOneRowOrColumnOfTilesAndReturnTheRest) {
    const EdgeCase c = GetParam();
    TextureFixture f;
    TRect r {10, 10, 110, 90};
    PaintTexture(f.Canvas(), r, nullptr, f.Mask(), c.mode);
    EXPECT_EQ(r, c.rest);
    EXPECT_EQ(Px(*f.Target, c.x, c.y), c.colour);
}

INSTANTIATE_TEST_SUITE_P(Modes, PaintTextureEdges,
    testing::Values(EdgeCase {2, {10, 42, 110, 90}, 109, 41, Tile(3, 31)},
        EdgeCase {3, {42, 10, 110, 90}, 41, 89, Tile(31, 15)}, EdgeCase {6, {10, 10, 110, 58}, 10, 58, Tile(0, 0)},
        EdgeCase {7, {10, 10, 78, 90}, 78, 10, Tile(0, 0)}));

TEST(PaintTexture, ModesWithoutMeaningPaintNothingAndKeepR) {
    for (int mode : {8, 9, 11, 14, -1, 99}) {
        TextureFixture f;
        TRect r {0, 0, 50, 50};
        PaintTexture(f.Canvas(), r, nullptr, f.Mask(), mode);
        EXPECT_EQ(r, (TRect {0, 0, 50, 50})) << mode;
        EXPECT_TRUE(AllPixels(*f.Target, TRect {0, 0, 120, 100}, Back)) << mode;
    }
}

TEST(PaintTexture, AnEmptyTileOrAMissingMasterPaintsNothingAndKeepsR) {
    TextureFixture f;
    f.Skin.Mask(f.Index).R = TRect {5, 5, 5, 30};
    TRect r {0, 0, 50, 50};
    PaintTexture(f.Canvas(), r, nullptr, f.Mask(), 0);   // would never end with a zero step
    EXPECT_EQ(r, (TRect {0, 0, 50, 50}));
    TsMaskData orphan;
    orphan.R = TRect {0, 0, 32, 32};
    PaintTexture(f.Canvas(), r, nullptr, orphan, 0);
    EXPECT_EQ(r, (TRect {0, 0, 50, 50}));
    EXPECT_TRUE(AllPixels(*f.Target, TRect {0, 0, 120, 100}, Back));
}

TEST(PaintTexture, ABitmapPictureIsTiledAndCutAtTheEdges) {
    TextureFixture f;
    auto picture = Bitmap24(10, 10, Rgb(0, 0, 200));
    TRect r {0, 0, 15, 15};
    PaintTexture(f.Canvas(), r, picture.get(), f.Mask(), 3);
    EXPECT_EQ(r, NothingLeft);
    EXPECT_EQ(Px(*f.Target, 14, 14), Rgb(0, 0, 200));
    EXPECT_EQ(Px(*f.Target, 15, 14), Back);
}

TEST(TileGraphic, AJpegIsTiledByWholeTilesThatMayReachPastR) {
    TextureFixture f;
    auto source = Bitmap24(10, 10, Rgb(0, 0, 200));
    classes::TJPEGImage jpeg;
    jpeg.Assign(source.get());
    ASSERT_FALSE(jpeg.Empty());
    TileGraphic(f.Canvas(), TRect {0, 0, 15, 15}, &jpeg);
    EXPECT_NE(Px(*f.Target, 19, 19), Back);
    EXPECT_EQ(Px(*f.Target, 20, 20), Back);
    TileGraphic(f.Canvas(), TRect {0, 0, 15, 15}, nullptr);
}

// ---------------------------------------------------------------------------------------------------------
// Masked textures

namespace {

// A masked 16 x 16 tile at (40, 0) of the master, black mask below it.
struct MaskedFixture {
    MaskedFixture() {
        Fill(Skin.Master(), TRect {40, 0, 56, 16}, Rgb(0, 150, 0));
        Put(Skin.Master(), 40, 0, Key);
        Index = Skin.AddMask(TRect {40, 0, 56, 32}, 1, 1);
    }
    const TsMaskData& Mask() const { return Skin.Mask(Index); }

    TestSkin Skin {64, 40, 0};
    int Index = -1;
    std::unique_ptr<classes::TBitmap> Target = Bitmap24(60, 50, Back);
};

}

TEST(PaintMaskedTexture, ModeZeroAddsAWholeColumnThatMayReachPastR) {
    MaskedFixture f;
    TRect r {0, 0, 40, 40};
    PaintMaskedTexture(f.Target.get(), r, EmptyCacheInfo, f.Mask(), 0);
    EXPECT_EQ(r, NothingLeft);
    EXPECT_EQ(Px(*f.Target, 1, 0), Rgb(0, 150, 0));
    EXPECT_EQ(Px(*f.Target, 0, 0), Back);   // a hole with no parent colour
    EXPECT_EQ(Px(*f.Target, 47, 31), Rgb(0, 150, 0));   // the extra column at 32 is whole
    EXPECT_EQ(Px(*f.Target, 48, 0), Back);
    EXPECT_EQ(Px(*f.Target, 1, 32), Back);   // no row is started at or past 40 - 16
}

TEST(PaintMaskedTexture, ModeTenFillsTheStripsLeftFromTheParent) {
    MaskedFixture f;
    TsParentCacheInfo colours;
    colours.ParentColor = Rgb(200, 0, 0);
    TRect r {0, 0, 40, 40};
    PaintMaskedTexture(f.Target.get(), r, colours, f.Mask(), 10);
    EXPECT_EQ(r, NothingLeft);
    EXPECT_EQ(Px(*f.Target, 0, 0), Rgb(200, 0, 0));   // the hole shows the parent colour
    EXPECT_EQ(Px(*f.Target, 31, 31), Rgb(0, 150, 0));
    EXPECT_EQ(Px(*f.Target, 32, 5), Rgb(200, 0, 0));
    EXPECT_EQ(Px(*f.Target, 5, 39), Rgb(200, 0, 0));
    EXPECT_EQ(Px(*f.Target, 40, 5), Back);

    MaskedFixture g;
    auto parent = Bitmap24(100, 100, Rgb(0, 0, 99));
    TsParentCacheInfo cache;
    FillCacheInfo(cache, parent.get(), 0, 0);
    TRect r2 {0, 0, 40, 40};
    PaintMaskedTexture(g.Target.get(), r2, cache, g.Mask(), 10);
    EXPECT_EQ(Px(*g.Target, 35, 35), Rgb(0, 0, 99));
    EXPECT_EQ(Px(*g.Target, 0, 0), Rgb(0, 0, 99));
}

TEST(PaintMaskedTexture, OwnBitmapsAreCopiedFromTheirOwnPicture) {
    MaskedFixture f;
    auto own = Bitmap24(8, 16, 0);
    Fill(*own, TRect {0, 0, 8, 8}, Rgb(7, 77, 177));
    const int index = f.Skin.AddOwnMask(std::move(own), 1, 1);
    TRect r {0, 0, 20, 20};
    PaintMaskedTexture(f.Target.get(), r, EmptyCacheInfo, f.Skin.Mask(index), 0);
    EXPECT_EQ(Px(*f.Target, 9, 9), Rgb(7, 77, 177));
}

TEST(PaintMaskedTexture, OtherModesAndEmptyTilesPaintNothingAndKeepR) {
    MaskedFixture f;
    TRect r {0, 0, 40, 40};
    PaintMaskedTexture(f.Target.get(), r, EmptyCacheInfo, f.Mask(), 3);
    EXPECT_EQ(r, (TRect {0, 0, 40, 40}));
    f.Skin.Mask(f.Index).R = TRect {40, 0, 40, 32};
    PaintMaskedTexture(f.Target.get(), r, EmptyCacheInfo, f.Mask(), 0);
    EXPECT_EQ(r, (TRect {0, 0, 40, 40}));
    TsMaskData orphan;
    orphan.R = TRect {0, 0, 16, 32};
    PaintMaskedTexture(f.Target.get(), r, EmptyCacheInfo, orphan, 0);
    EXPECT_EQ(r, (TRect {0, 0, 40, 40}));
    EXPECT_TRUE(AllPixels(*f.Target, TRect {0, 0, 60, 50}, Back));
}

TEST(PaintMaskedTexture, AnImageCountBelowOneCountsAsOne) {
    MaskedFixture f;
    f.Skin.Mask(f.Index).ImageCount = -2;
    TRect r {0, 0, 20, 20};
    PaintMaskedTexture(f.Target.get(), r, EmptyCacheInfo, f.Mask(), 0);
    EXPECT_EQ(r, NothingLeft);
    EXPECT_EQ(Px(*f.Target, 17, 1), Rgb(0, 150, 0));
}

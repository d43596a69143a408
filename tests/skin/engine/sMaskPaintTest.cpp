// Nine-part frames, state images and masked piece copies, checked pixel by pixel against coded pictures.
#include "skin/engine/sMaskPaint.h"

#include "platform/classes/TBitmap.h"
#include "skin/engine/sPixelAccess.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

#include "support/PixelFixtures.h"

#include <climits>
#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::pixeltest;
using classes::TPoint;
using classes::TRect;

namespace {

// Picture pixel (x, y) of a coded picture: the painted colour tells where it came from.
constexpr classes::TColor Coded(int x, int y) {
    return Rgb(3 * x, 10 * y, 50);
}

// Master bitmap 80 x 60 with a coded picture of three 24-pixel states at (0, 0): cells 8 x 8. With mask
// rows (maskType 1) the picture is 24 rows over 24 black mask rows; without, 24 rows.
struct CodedSkin {
    explicit CodedSkin(int maskType = 1, int borderWidth = 0, int stretchMode = 0) {
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 72; ++x)
                Put(Skin.Master(), x, y, Coded(x, y));
        Index = Skin.AddMask(TRect {0, 0, 72, maskType >= 1 ? 48 : 24}, 3, maskType, borderWidth, stretchMode);
    }
    const TsMaskData& Mask() const { return Skin.Mask(Index); }
    TestSkin Skin {80, 60, Rgb(0, 0, 0)};
    int Index = -1;
};

}

// ---------------------------------------------------------------------------------------------------------
// Nine-part geometry

TEST(PaintNinePartMask, ARectangleOnePixelHighPaintsNothing) {
    CodedSkin s;
    auto bitmap = Bitmap24(40, 40, Rgb(1, 1, 1));
    PaintNinePartMask(bitmap.get(), TRect {0, 0, 40, 1}, true, false, 0, s.Mask(), EmptyCacheInfo);
    PaintNinePartMask(bitmap.get(), TRect {0, 0, 1, 40}, true, false, 0, s.Mask(), EmptyCacheInfo);
    EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 0, 40, 40}, Rgb(1, 1, 1)));
}

TEST(PaintNinePartMask, CornersComeFromTheStateColumnsOuterCells) {
    CodedSkin s;
    auto bitmap = Bitmap24(40, 30, 0);
    PaintNinePartMask(bitmap.get(), TRect {0, 0, 40, 30}, true, false, 1, s.Mask(), EmptyCacheInfo);
    EXPECT_EQ(Px(*bitmap, 0, 0), Coded(24, 0));
    EXPECT_EQ(Px(*bitmap, 39, 0), Coded(47, 0));
    EXPECT_EQ(Px(*bitmap, 0, 29), Coded(24, 23));
    EXPECT_EQ(Px(*bitmap, 39, 29), Coded(47, 23));
    EXPECT_EQ(Px(*bitmap, 7, 7), Coded(31, 7));
}

TEST(PaintNinePartMask, SmallAreasHalveTheCellsWithTheOddPixelToTheRight) {
    CodedSkin s;
    auto even = Bitmap24(10, 20, 0);
    PaintNinePartMask(even.get(), TRect {0, 0, 10, 20}, true, false, 0, s.Mask(), EmptyCacheInfo);
    EXPECT_EQ(Px(*even, 4, 0), Coded(4, 0));   // left piece of 5
    EXPECT_EQ(Px(*even, 5, 0), Coded(19, 0));   // right piece of 5 ends at 24
    auto odd = Bitmap24(11, 20, 0);
    PaintNinePartMask(odd.get(), TRect {0, 0, 11, 20}, true, false, 0, s.Mask(), EmptyCacheInfo);
    EXPECT_EQ(Px(*odd, 4, 0), Coded(4, 0));
    EXPECT_EQ(Px(*odd, 5, 0), Coded(18, 0));   // right piece of 6
}

TEST(PaintNinePartMask, BorderWidthLimitsTheTopAndBottomPiecesOfMasterPictures) {
    TestSkin skin(60, 20, 0);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 45; ++x)
            Put(skin.Master(), x, y, Coded(x, y));
    const int index = skin.AddMask(TRect {0, 0, 45, 15}, 3, 0, 2);   // cells 5 x 5
    auto bitmap = Bitmap24(30, 30, 0);
    PaintNinePartMask(bitmap.get(), TRect {0, 0, 30, 30}, true, false, 0, skin.Mask(index), EmptyCacheInfo);
    EXPECT_EQ(Px(*bitmap, 0, 1), Coded(0, 1));   // top piece: rows 0 and 1
    EXPECT_EQ(Px(*bitmap, 0, 2), Coded(0, 5));   // the left side starts at row 2 with its cell's first row
    EXPECT_EQ(Px(*bitmap, 0, 28), Coded(0, 13));   // bottom piece: the picture's last two rows
    EXPECT_EQ(Px(*bitmap, 1, 0), Coded(1, 0));
    EXPECT_EQ(Px(*bitmap, 2, 0), Coded(5, 0));   // top side after a 2-pixel left piece
    EXPECT_EQ(Px(*bitmap, 15, 15), 0);   // no centre while BorderWidth limits a plain picture
}

TEST(PaintNinePartMask, AStateBeyondTheLastDrawsTheLastState) {
    CodedSkin s;
    auto last = Bitmap24(40, 30, 0), beyond = Bitmap24(40, 30, 0);
    PaintNinePartMask(last.get(), TRect {0, 0, 40, 30}, true, false, 2, s.Mask(), EmptyCacheInfo);
    PaintNinePartMask(beyond.get(), TRect {0, 0, 40, 30}, true, false, 9, s.Mask(), EmptyCacheInfo);
    EXPECT_EQ(Px(*beyond, 0, 0), Coded(48, 0));
    EXPECT_TRUE(SamePixels(*last, *beyond));
}

TEST(PaintNinePartMask, MaskedSidesAreTiledInCellStepsAndCutAtTheEnd) {
    CodedSkin s;
    auto bitmap = Bitmap24(43, 37, 0);
    PaintNinePartMask(bitmap.get(), TRect {0, 0, 43, 37}, false, false, 0, s.Mask(), EmptyCacheInfo);
    // Top side: pieces from x = 8 in steps of 8, the last one cut at 43 - 8 = 35; right corner from 35.
    for (int x : {8, 16, 24, 32})
        EXPECT_EQ(Px(*bitmap, x + 1, 2), Coded(9, 2)) << x;
    EXPECT_EQ(Px(*bitmap, 34, 2), Coded(10, 2));
    EXPECT_EQ(Px(*bitmap, 35, 2), Coded(16, 2));
    // Left side: rows from 8 in steps of 8 up to 37 - 8 = 29.
    EXPECT_EQ(Px(*bitmap, 3, 8), Coded(3, 8));
    EXPECT_EQ(Px(*bitmap, 3, 24), Coded(3, 8));
    EXPECT_EQ(Px(*bitmap, 3, 28), Coded(3, 12));
    EXPECT_EQ(Px(*bitmap, 3, 29), Coded(3, 16));   // the bottom-left corner
    EXPECT_EQ(Px(*bitmap, 20, 20), 0);   // no centre without filling
}

TEST(PaintNinePartMask, FillingTilesTheCentre) {
    CodedSkin s;
    auto bitmap = Bitmap24(43, 37, 0);
    PaintNinePartMask(bitmap.get(), TRect {0, 0, 43, 37}, true, false, 0, s.Mask(), EmptyCacheInfo);
    EXPECT_EQ(Px(*bitmap, 8, 8), Coded(8, 8));
    EXPECT_EQ(Px(*bitmap, 17, 25), Coded(9, 9));
    EXPECT_EQ(Px(*bitmap, 34, 28), Coded(10, 12));
}

TEST(PaintNinePartMask, StretchModeStretchesTheSidesOfPlainPictures) {
    CodedSkin s(0, 0, 1);
    auto bitmap = Bitmap24(40, 40, 0);
    PaintNinePartMask(bitmap.get(), TRect {0, 0, 40, 40}, true, false, 0, s.Mask(), EmptyCacheInfo);
    // The left side cell (8 rows) is stretched over rows 8..31: three rows for each.
    EXPECT_EQ(Px(*bitmap, 0, 8), Coded(0, 8));
    EXPECT_EQ(Px(*bitmap, 0, 12), Coded(0, 9));
    EXPECT_EQ(Px(*bitmap, 0, 31), Coded(0, 15));
    EXPECT_EQ(Px(*bitmap, 20, 20), Coded(12, 12));   // the centre stretched between the sides
}

TEST(PaintNinePartMask, PlainCornersLeaveTheirTransparentPixelsOut) {
    CodedSkin s(0);
    Put(s.Skin.Master(), 0, 0, Key);
    auto bitmap = Bitmap24(30, 30, Rgb(1, 2, 3));
    PaintNinePartMask(bitmap.get(), TRect {0, 0, 30, 30}, true, false, 0, s.Mask(), EmptyCacheInfo);
    EXPECT_EQ(Px(*bitmap, 0, 0), Rgb(1, 2, 3));
    EXPECT_EQ(Px(*bitmap, 1, 0), Coded(1, 0));
}

TEST(PaintNinePartMask, ARectangleReachingOutsideTheBitmapIsClipped) {
    CodedSkin s;
    auto bitmap = Bitmap24(20, 20, 0);
    PaintNinePartMask(bitmap.get(), TRect {-5, -5, 30, 30}, true, false, 0, s.Mask(), EmptyCacheInfo);
    EXPECT_EQ(Px(*bitmap, 0, 0), Coded(5, 5));
    EXPECT_EQ(Px(*bitmap, 19, 19), Coded(8, 8));   // the centre starts at 3: two whole tiles in
}

TEST(PaintNinePartMask, AHugeRectangleFinishesWithoutWalkingEveryTile) {
    CodedSkin s;
    auto bitmap = Bitmap24(50, 50, 0);
    const int big = 1 << 26;
    PaintNinePartMask(bitmap.get(), TRect {-big, -big, big, big}, true, false, 0, s.Mask(), EmptyCacheInfo);
    EXPECT_EQ(Px(*bitmap, 0, 0), Coded(8, 8));   // the tile phase is kept: -2^26 is a multiple of 8
}

// ---------------------------------------------------------------------------------------------------------
// Skins with bad numbers

TEST(PaintNinePartMask, ImageCountBelowOneCountsAsOne) {
    CodedSkin good, zero, negative;
    zero.Skin.Mask(zero.Index).ImageCount = 0;
    negative.Skin.Mask(negative.Index).ImageCount = -4;
    good.Skin.Mask(good.Index).ImageCount = 1;
    auto a = Bitmap24(30, 30, 0), b = Bitmap24(30, 30, 0), c = Bitmap24(30, 30, 0);
    PaintNinePartMask(a.get(), TRect {0, 0, 30, 30}, true, false, 1, good.Mask(), EmptyCacheInfo);
    PaintNinePartMask(b.get(), TRect {0, 0, 30, 30}, true, false, 1, zero.Mask(), EmptyCacheInfo);
    PaintNinePartMask(c.get(), TRect {0, 0, 30, 30}, true, false, 1, negative.Mask(), EmptyCacheInfo);
    EXPECT_EQ(Px(*a, 29, 0), Coded(71, 0));
    EXPECT_TRUE(SamePixels(*a, *b));
    EXPECT_TRUE(SamePixels(*a, *c));
}

TEST(PaintNinePartMask, NegativeMaskTypeCountsAsZero) {
    CodedSkin plain(0), negative(0);
    negative.Skin.Mask(negative.Index).MaskType = -1;
    auto a = Bitmap24(30, 30, 0), b = Bitmap24(30, 30, 0);
    PaintNinePartMask(a.get(), TRect {0, 0, 30, 30}, true, false, 0, plain.Mask(), EmptyCacheInfo);
    PaintNinePartMask(b.get(), TRect {0, 0, 30, 30}, true, false, 0, negative.Mask(), EmptyCacheInfo);
    EXPECT_TRUE(SamePixels(*a, *b));
    auto state = Bitmap24(30, 30, 0), stateNeg = Bitmap24(30, 30, 0);
    DrawMaskStateImage(state.get(), TPoint {0, 0}, 0, plain.Mask(), 1);
    DrawMaskStateImage(stateNeg.get(), TPoint {0, 0}, 0, negative.Mask(), 1);
    EXPECT_TRUE(SamePixels(*state, *stateNeg));
}

TEST(PaintNinePartMask, MaskRowsBelowTheMasterBitmapAreSkipped) {
    TestSkin skin(72, 30, 0);   // the mask rows of picture rows 6..23 lie below the master
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 72; ++x)
            Put(skin.Master(), x, y, Coded(x, y));
    Fill(skin.Master(), TRect {0, 24, 72, 30}, 0);
    const int index = skin.AddMask(TRect {0, 0, 72, 48}, 3, 1);
    auto bitmap = Bitmap24(40, 40, Rgb(1, 1, 1));
    PaintNinePartMask(bitmap.get(), TRect {0, 0, 40, 40}, true, false, 0, skin.Mask(index), EmptyCacheInfo);
    EXPECT_EQ(Px(*bitmap, 0, 5), Coded(0, 5));
    EXPECT_EQ(Px(*bitmap, 0, 6), Rgb(1, 1, 1));
    EXPECT_EQ(Px(*bitmap, 0, 39), Rgb(1, 1, 1));
}

TEST(PaintNinePartMask, AMaskWithoutManagerOrAPictureTooSmallPaintsNothing) {
    CodedSkin s;
    auto bitmap = Bitmap24(30, 30, Rgb(1, 1, 1));
    TsMaskData orphan;
    orphan.R = TRect {0, 0, 72, 48};
    orphan.ImageCount = 3;
    orphan.MaskType = 1;
    PaintNinePartMask(bitmap.get(), TRect {0, 0, 30, 30}, true, false, 0, orphan, EmptyCacheInfo);
    s.Skin.Mask(s.Index).R = TRect {0, 0, 8, 48};   // cells 0 wide
    PaintNinePartMask(bitmap.get(), TRect {0, 0, 30, 30}, true, false, 0, s.Mask(), EmptyCacheInfo);
    EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 0, 30, 30}, Rgb(1, 1, 1)));
}

// ---------------------------------------------------------------------------------------------------------
// Own bitmaps

TEST(PaintNinePartMask, AnOwnBitmapsStatePastItsColumnsPaintsNothing) {
    TestSkin skin(4, 4, 0);
    auto own = Bitmap24(72, 48, 0);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 72; ++x)
            Put(*own, x, y, Coded(x, y));
    const int index = skin.AddOwnMask(std::move(own), 3, 1);
    auto last = Bitmap24(40, 30, Rgb(1, 2, 3)), beyond = Bitmap24(40, 30, Rgb(1, 2, 3));
    PaintNinePartMask(last.get(), TRect {0, 0, 40, 30}, true, false, 2, skin.Mask(index), EmptyCacheInfo);
    PaintNinePartMask(beyond.get(), TRect {0, 0, 40, 30}, true, false, 5, skin.Mask(index), EmptyCacheInfo);
    EXPECT_EQ(Px(*last, 0, 0), Coded(48, 0));
    EXPECT_TRUE(AllPixels(*beyond, TRect {0, 0, 40, 30}, Rgb(1, 2, 3)));
}

TEST(PaintNinePartMask, AnOwnBitmapsNegativeStatePaintsNothing) {
    TestSkin skin(4, 4, 0);
    const int index = skin.AddOwnMask(Bitmap24(72, 48, Rgb(9, 9, 9)), 3, 1);
    for (const int state : {-1, -2, -1000000000}) {
        auto bitmap = Bitmap24(40, 30, Rgb(1, 2, 3));
        PaintNinePartMask(bitmap.get(), TRect {0, 0, 40, 30}, true, false, state, skin.Mask(index), EmptyCacheInfo);
        EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 0, 40, 30}, Rgb(1, 2, 3))) << state;
    }
}

TEST(PaintNinePartMaster, IgnoresOwnBitmapsAndBorderWidth) {
    TestSkin skin(4, 4, 0);
    const int own = skin.AddOwnMask(Bitmap24(72, 48, Rgb(9, 9, 9)), 3, 1);
    auto bitmap = Bitmap24(30, 30, 0);
    PaintNinePartMaster(bitmap.get(), TRect {0, 0, 30, 30}, true, 0, skin.Mask(own), EmptyCacheInfo);
    EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 0, 30, 30}, 0));

    CodedSkin s(0, 2);
    PaintNinePartMaster(bitmap.get(), TRect {0, 0, 30, 30}, true, 0, s.Mask(), EmptyCacheInfo);
    EXPECT_EQ(Px(*bitmap, 0, 7), Coded(0, 7));   // full 8-row corner
    EXPECT_EQ(Px(*bitmap, 15, 15), Coded(15, 15));   // centre painted although BorderWidth is set
}

// ---------------------------------------------------------------------------------------------------------
// Masked copies

TEST(BlendMaskedPiece, MaskBlackCopiesThePictureAndWhiteKeepsTheBackgroundAlmost) {
    TestSkin skin(4, 4, Rgb(200, 100, 0));
    Fill(skin.Master(), TRect {0, 2, 4, 4}, 0);
    Fill(skin.Master(), TRect {2, 2, 4, 4}, Rgb(255, 255, 255));
    const int index = skin.AddMask(TRect {0, 0, 4, 4}, 1, 1);
    auto bitmap = Bitmap24(4, 2, Rgb(0, 50, 250));
    BlendMaskedPiece(TRect {0, 0, 4, 2}, TRect {0, 0, 4, 2}, bitmap.get(), skin.Mask(index), EmptyCacheInfo);
    EXPECT_EQ(Px(*bitmap, 0, 0), Rgb(200, 100, 0));
    // (D - S) * 255 / 256 + S
    EXPECT_EQ(Px(*bitmap, 3, 1), Rgb((-200 * 255 + 200 * 256) >> 8, (-50 * 255 + 100 * 256) >> 8, (250 * 255) >> 8));
}

TEST(BlendMaskedPiece, AHoleKeepsTheBackgroundWithoutParentColourOrCache) {
    TestSkin skin(4, 4, Key);
    const int index = skin.AddMask(TRect {0, 0, 4, 4}, 1, 1);
    Fill(skin.Master(), TRect {0, 2, 4, 4}, 0);
    auto bitmap = Bitmap24(4, 2, Rgb(5, 6, 7));
    BlendMaskedPiece(TRect {0, 0, 4, 2}, TRect {0, 0, 4, 2}, bitmap.get(), skin.Mask(index), EmptyCacheInfo);
    EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 0, 4, 2}, Rgb(5, 6, 7)));
    TsParentCacheInfo colours;
    colours.ParentColor = Rgb(9, 8, 7);
    BlendMaskedPiece(TRect {0, 0, 4, 2}, TRect {0, 0, 4, 2}, bitmap.get(), skin.Mask(index), colours);
    EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 0, 4, 2}, Rgb(9, 8, 7)));
}

TEST(BlendMaskedPiece, AHoleShowsTheParentsPixelWhenItsCacheIsReady) {
    TestSkin skin(40, 8, Key);
    Fill(skin.Master(), TRect {0, 4, 40, 8}, 0);
    const int index = skin.AddMask(TRect {0, 0, 40, 8}, 1, 1);
    auto parent = Bitmap24(30, 10, 0);
    for (int x = 0; x < 30; ++x)
        Fill(*parent, TRect {x, 0, x + 1, 10}, Rgb(x, 100, 0));
    TsParentCacheInfo cache;
    FillCacheInfo(cache, parent.get(), 10, 2);
    auto bitmap = Bitmap24(40, 4, Rgb(1, 1, 1));
    BlendMaskedPiece(TRect {0, 0, 40, 4}, TRect {0, 0, 40, 4}, bitmap.get(), skin.Mask(index), cache);
    EXPECT_EQ(Px(*bitmap, 0, 0), Rgb(10, 100, 0));
    EXPECT_EQ(Px(*bitmap, 19, 3), Rgb(29, 100, 0));
    EXPECT_EQ(Px(*bitmap, 20, 0), Rgb(1, 1, 1));   // past the cache's right edge the row stays
    EXPECT_EQ(Px(*bitmap, 39, 0), Rgb(1, 1, 1));
}

TEST(BlendMaskedPiece, VectorAndPixelPathsAgreeAroundHoles) {
    TestSkin skin(53, 6, 0);
    Noise(skin.Master(), 7);
    for (int x = 0; x < 53; x += 7)
        Put(skin.Master(), x, x % 3, Key);
    const int index = skin.AddMask(TRect {0, 0, 53, 6}, 1, 1);
    auto bitmap = Bitmap24(53, 3, 0);
    Noise(*bitmap, 8);
    auto before = Bitmap24(53, 3, 0);
    before->Assign(bitmap.get());
    BlendMaskedPiece(TRect {0, 0, 53, 3}, TRect {0, 0, 53, 3}, bitmap.get(), skin.Mask(index), EmptyCacheInfo);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 53; ++x) {
            const std::uint8_t* s = skin.Master().ScanLine(y) + 3 * x;
            const std::uint8_t* m = skin.Master().ScanLine(y + 3) + 3 * x;
            const std::uint8_t* d = before->ScanLine(y) + 3 * x;
            const bool hole = s[0] == 0xFF && s[1] == 0 && s[2] == 0xFF;
            for (int c = 0; c < 3; ++c) {
                const int expected = hole ? d[c] : ((d[c] - s[c]) * m[c] + s[c] * 256) >> 8;
                ASSERT_EQ(bitmap->ScanLine(y)[3 * x + c], expected) << x << "," << y;
            }
        }
}

TEST(BlendMaskedPieceOwnBitmap, HolesBlendLikeOtherPixelsWithoutACache) {
    auto own = Bitmap24(2, 4, Key);
    Fill(*own, TRect {0, 2, 2, 4}, 0);
    auto bitmap = Bitmap24(2, 2, Rgb(1, 1, 1));
    BlendMaskedPieceOwnBitmap(TRect {0, 0, 2, 2}, TRect {0, 0, 2, 2}, bitmap.get(), EmptyCacheInfo, own.get());
    EXPECT_EQ(Px(*bitmap, 1, 1), Key);
}

TEST(BlendMaskedPieceOwnBitmap, HolesTakeTheParentAndAPointAboveItEndsTheRow) {
    auto own = Bitmap24(4, 4, Key);
    Fill(*own, TRect {0, 2, 4, 4}, 0);
    auto parent = Bitmap24(10, 10, Rgb(40, 40, 40));
    TsParentCacheInfo cache;
    FillCacheInfo(cache, parent.get(), 1, -1);
    auto bitmap = Bitmap24(4, 2, Rgb(1, 1, 1));
    BlendMaskedPieceOwnBitmap(TRect {0, 0, 4, 2}, TRect {0, 0, 4, 2}, bitmap.get(), cache, own.get());
    EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 0, 4, 1}, Rgb(1, 1, 1)));   // y = -1: the row ends
    EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 1, 4, 2}, Rgb(40, 40, 40)));
}

TEST(BlendMaskedPieceOwnBitmap, AOnePixelCacheStillShowsThroughTheHoles) {
    auto own = Bitmap24(2, 4, Key);
    Fill(*own, TRect {0, 2, 2, 4}, 0);
    auto parent = Bitmap24(1, 1, Rgb(40, 40, 40));
    TsParentCacheInfo cache;
    FillCacheInfo(cache, parent.get(), 0, 0);
    auto bitmap = Bitmap24(2, 2, Rgb(1, 1, 1));
    BlendMaskedPieceOwnBitmap(TRect {0, 0, 2, 2}, TRect {0, 0, 2, 2}, bitmap.get(), cache, own.get());
    EXPECT_EQ(Px(*bitmap, 0, 0), Rgb(40, 40, 40));
    EXPECT_EQ(Px(*bitmap, 1, 0), Rgb(1, 1, 1));   // past the cache's right edge the row ends
    EXPECT_EQ(Px(*bitmap, 0, 1), Rgb(1, 1, 1));   // below it the pixel stays
}

// A negative state must not reach into the picture that lies left of this one in the master bitmap.
TEST(DrawMaskStateImage, ANegativeStateDrawsTheFirstStateNotThePictureToItsLeft) {
    TestSkin skin(80, 60, 0);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 72; ++x)
            Put(skin.Master(), x, y, Coded(x, y));
    for (const int maskType : {0, 1}) {
        const int index = skin.AddMask(TRect {24, 0, 72, maskType == 1 ? 48 : 24}, 2, maskType);
        if (maskType == 1) Fill(skin.Master(), TRect {24, 24, 72, 48}, 0);
        auto state = Bitmap24(30, 30, 0);
        DrawMaskStateImage(state.get(), TPoint {0, 0}, -1, skin.Mask(index), 1);
        EXPECT_EQ(Px(*state, 0, 0), Coded(24, 0)) << maskType;
        auto frame = Bitmap24(30, 30, 0);
        PaintNinePartMask(frame.get(), TRect {0, 0, 24, 24}, true, false, -1, skin.Mask(index), EmptyCacheInfo);
        EXPECT_EQ(Px(*frame, 0, 0), Coded(24, 0)) << maskType;
    }
}

// ---------------------------------------------------------------------------------------------------------
// State images

TEST(DrawMaskStateImage, ANegativeXDropsThatManyColumns) {
    CodedSkin s;
    auto bitmap = Bitmap24(30, 30, 0);
    DrawMaskStateImage(bitmap.get(), TPoint {-3, 0}, 1, s.Mask(), 1);
    EXPECT_EQ(Px(*bitmap, 0, 0), Coded(27, 0));
    EXPECT_EQ(Px(*bitmap, 20, 23), Coded(47, 23));
    EXPECT_EQ(Px(*bitmap, 21, 0), 0);   // nothing of the next state
}

TEST(DrawMaskStateImage, AStateBeyondTheLastDrawsTheLast) {
    CodedSkin s;
    auto bitmap = Bitmap24(30, 30, 0);
    DrawMaskStateImage(bitmap.get(), TPoint {2, 3}, 12, s.Mask(), 1);
    EXPECT_EQ(Px(*bitmap, 2, 3), Coded(48, 0));
    EXPECT_EQ(Px(*bitmap, 25, 26), Coded(71, 23));
    EXPECT_EQ(Px(*bitmap, 26, 26), 0);
}

TEST(DrawMaskStateImage, FadedModeRaisesTheMaskByOneHundredAtMostTo255) {
    TestSkin skin(4, 4, Rgb(0, 0, 0));
    Fill(skin.Master(), TRect {0, 2, 4, 4}, Rgb(200, 100, 0));
    const int index = skin.AddMask(TRect {0, 0, 4, 4}, 1, 1);
    auto bitmap = Bitmap24(4, 2, Rgb(200, 200, 200));
    DrawMaskStateImage(bitmap.get(), TPoint {0, 0}, 0, skin.Mask(index), 2);
    // S = 0: D * m' / 256 with m' = 255, 200, 100
    EXPECT_EQ(Px(*bitmap, 0, 0), Rgb(200 * 255 / 256, 200 * 200 / 256, 200 * 100 / 256));
}

TEST(DrawMaskStateImage, PlainPicturesCopyWithoutTheKeyOrBlendHalfWhenFaded) {
    CodedSkin s(0);
    Put(s.Skin.Master(), 1, 0, Key);
    auto bitmap = Bitmap24(30, 30, Rgb(100, 100, 100));
    DrawMaskStateImage(bitmap.get(), TPoint {0, 0}, 0, s.Mask(), 1);
    EXPECT_EQ(Px(*bitmap, 0, 0), Coded(0, 0));
    EXPECT_EQ(Px(*bitmap, 1, 0), Rgb(100, 100, 100));
    auto faded = Bitmap24(30, 30, Rgb(100, 100, 100));
    DrawMaskStateImage(faded.get(), TPoint {0, 0}, 0, s.Mask(), 2);
    EXPECT_EQ(Px(*faded, 2, 2), Rgb(53, 60, 75));   // round(s - (s - 100) / 2) for s = (6, 20, 50)
}

TEST(BlendMaskedStateImage, HolesOfTheGivenColourKeepTheBackground) {
    TestSkin skin(4, 4, Rgb(1, 2, 3));
    Fill(skin.Master(), TRect {0, 2, 4, 4}, 0);
    Put(skin.Master(), 0, 0, Key);
    const int index = skin.AddMask(TRect {0, 0, 4, 4}, 1, 1);
    auto bitmap = Bitmap24(4, 2, Rgb(9, 9, 9));
    BlendMaskedStateImage(
        TRect {0, 0, 4, 2}, TRect {0, 0, 4, 2}, bitmap.get(), skin.Mask(index), 1, Rgb(1, 2, 3), &skin.Master());
    EXPECT_EQ(Px(*bitmap, 1, 0), Rgb(9, 9, 9));
    EXPECT_EQ(Px(*bitmap, 0, 0), Key);   // not the colour given: copied
}

// ---------------------------------------------------------------------------------------------------------
// Numbers no loader lets through

TEST(PaintNinePartMask, ImagesWithNumbersPastTheirRangePaintNothing) {
    // Extreme rectangles and counts overflowed the painters' arithmetic; made by hand here, refused at load.
    const TRect rects[] = {{INT_MIN, 0, INT_MAX, 30}, {0, INT_MIN + 1, 30, INT_MAX}, {0, 0, 40000, 30}};
    for (const TRect& r : rects) {
        TestSkin skin(60, 30, Rgb(9, 9, 9));
        const int index = skin.AddMask(r, INT_MAX, INT_MAX, INT_MAX, 1);
        const TsMaskData& mask = skin.Mask(index);
        EXPECT_FALSE(HasSaneGeometry(mask));
        auto bitmap = Bitmap24(40, 40, Rgb(1, 1, 1));
        PaintNinePartMask(bitmap.get(), TRect {0, 0, 40, 40}, true, false, 2, mask, EmptyCacheInfo);
        PaintNinePartMaster(bitmap.get(), TRect {0, 0, 40, 40}, true, 2, mask, EmptyCacheInfo);
        DrawMaskStateImage(bitmap.get(), classes::TPoint {-5, -5}, 3, mask, 0);
        BlendMaskedPiece(TRect {0, 0, 10, 10}, TRect {0, 0, 10, 10}, bitmap.get(), mask, EmptyCacheInfo);
        EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 0, 40, 40}, Rgb(1, 1, 1)));
        EXPECT_EQ(skin.Manager()->GetMaskFrameSize(index).cx, 0);
    }
    TestSkin skin(60, 30, Rgb(9, 9, 9));
    // Counts below 1 and mask types below 0 paint as 1 and 0, as before.
    EXPECT_TRUE(HasSaneGeometry(skin.Mask(skin.AddMask(TRect {0, 0, 60, 30}, -5, -7))));
}

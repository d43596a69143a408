// Button borders from the skin and the window region without the picture's transparent pixels.
#include "skin/engine/sButtonRegion.h"

#include "platform/classes/TBitmap.h"
#include "platform/gdi/Region.h"
#include "skin/engine/sSkinData.h"

#include "support/PixelFixtures.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::pixeltest;
using classes::TRect;

namespace {

constexpr classes::TColor StateColour(int state) {
    return Rgb(40 + 60 * state, 10, 20);
}

// A 20 x 16 button and a border of three 12-pixel states over black masks (cells 4 x 4).
struct ButtonFixture {
    explicit ButtonFixture(int maskType = 1) {
        for (int state = 0; state < 3; ++state)
            Fill(Skin.Master(), TRect {12 * state, 0, 12 * state + 12, 12}, StateColour(state));
        Fill(Skin.Master(), TRect {0, 12, 36, 24}, 0);
        Index = Skin.AddMask(TRect {0, 0, 36, maskType >= 1 ? 24 : 12}, 3, maskType);
    }
    ~ButtonFixture() { gdi::DeleteObject(Region); }
    const TsMaskData& Mask() const { return Skin.Mask(Index); }
    std::vector<gdi::RECT> Rects() const { return gdi::GetRegionRects(Region); }

    TestSkin Skin {40, 30, 0};
    int Index = -1;
    std::unique_ptr<classes::TBitmap> Button = Bitmap24(20, 16, Rgb(1, 1, 1));
    gdi::HRGN Region = gdi::CreateRectRgn(0, 0, 20, 16);
};

}

TEST(PaintButtonBordersWithRegion, APlainBorderPaintsTheFrameButKeepsTheRegion) {
    ButtonFixture f(0);
    Put(f.Skin.Master(), 0, 0, Key);
    PaintButtonBordersWithRegion(f.Button.get(), f.Region, true, 0, f.Mask());
    EXPECT_EQ(Px(*f.Button, 0, 0), Key);   // copied as it is
    EXPECT_EQ(Px(*f.Button, 10, 0), StateColour(0));
    EXPECT_EQ(Px(*f.Button, 10, 8), Rgb(1, 1, 1));   // never the centre
    EXPECT_EQ(f.Rects(), (std::vector<gdi::RECT> {{0, 0, 20, 16}}));
}

TEST(PaintButtonBordersWithRegion, AThreePixelRunAtARowsEndRemovesExactlyThosePixels) {
    ButtonFixture f;
    Fill(f.Skin.Master(), TRect {9, 0, 12, 1}, Key);   // the top-right cell's first row, last three pixels
    PaintButtonBordersWithRegion(f.Button.get(), f.Region, true, 0, f.Mask());
    EXPECT_EQ(f.Rects(), (std::vector<gdi::RECT> {{0, 0, 17, 1}, {0, 1, 20, 16}}));
    EXPECT_EQ(Px(*f.Button, 10, 8), StateColour(0));   // filled
    EXPECT_EQ(Px(*f.Button, 18, 0), Rgb(1, 1, 1));
}

TEST(PaintButtonBordersWithRegion, AStateBeyondTheLastPaintsTheLast) {
    ButtonFixture f;
    PaintButtonBordersWithRegion(f.Button.get(), f.Region, false, 5, f.Mask());
    EXPECT_EQ(Px(*f.Button, 0, 0), StateColour(2));
    EXPECT_EQ(Px(*f.Button, 10, 8), Rgb(1, 1, 1));   // no centre without filling
}

TEST(PaintButtonBordersWithRegion, OwnBitmapsAreThreeStatesAndAStatePastThemPaintsNothing) {
    ButtonFixture f;
    auto own = Bitmap24(36, 24, 0);
    for (int state = 0; state < 3; ++state)
        Fill(*own, TRect {12 * state, 0, 12 * state + 12, 12}, StateColour(state));
    Put(*own, 24, 0, Key);
    const int index = f.Skin.AddOwnMask(std::move(own), 1, 0);   // the record's numbers are not used
    PaintButtonBordersWithRegion(f.Button.get(), f.Region, true, 9, f.Skin.Mask(index));
    EXPECT_TRUE(AllPixels(*f.Button, TRect {0, 0, 20, 16}, Rgb(1, 1, 1)));
    EXPECT_EQ(f.Rects(), (std::vector<gdi::RECT> {{0, 0, 20, 16}}));
    PaintButtonBordersWithRegion(f.Button.get(), f.Region, true, 2, f.Skin.Mask(index));
    EXPECT_EQ(Px(*f.Button, 1, 0), StateColour(2));
    EXPECT_FALSE(gdi::PtInRegion(f.Region, 0, 0));
    EXPECT_TRUE(gdi::PtInRegion(f.Region, 1, 0));
}

TEST(PaintButtonBordersWithRegion, OwnBitmapStatesOutsideItsColumnsPaintNothing) {
    ButtonFixture f;
    const int index = f.Skin.AddOwnMask(Bitmap24(36, 24, StateColour(0)), 3, 1);
    for (const int state : {-1, -7, 3, 1 << 30}) {
        PaintButtonBordersWithRegion(f.Button.get(), f.Region, true, state, f.Skin.Mask(index));
        EXPECT_TRUE(AllPixels(*f.Button, TRect {0, 0, 20, 16}, Rgb(1, 1, 1))) << state;
    }
    EXPECT_EQ(f.Rects(), (std::vector<gdi::RECT> {{0, 0, 20, 16}}));
}

TEST(PaintButtonBordersWithRegion, TooSmallBitmapsPaintNothing) {
    ButtonFixture f;
    const int tiny = f.Skin.AddOwnMask(Bitmap24(8, 24, Key), 3, 1);   // under nine pixels wide
    PaintButtonBordersWithRegion(f.Button.get(), f.Region, true, 0, f.Skin.Mask(tiny));
    auto small = Bitmap24(2, 2, Rgb(1, 1, 1));
    const int fine = f.Skin.AddOwnMask(Bitmap24(36, 24, Key), 3, 1);
    PaintButtonBordersWithRegion(small.get(), f.Region, true, 0, f.Skin.Mask(fine));
    EXPECT_TRUE(AllPixels(*f.Button, TRect {0, 0, 20, 16}, Rgb(1, 1, 1)));
    EXPECT_TRUE(AllPixels(*small, TRect {0, 0, 2, 2}, Rgb(1, 1, 1)));
    EXPECT_EQ(f.Rects(), (std::vector<gdi::RECT> {{0, 0, 20, 16}}));
}

TEST(CopyMaskedPieceCutRegion, RunsClosedMidRowStayRemovedWhenCutTwice) {
    ButtonFixture f;
    Fill(f.Skin.Master(), TRect {0, 0, 2, 1}, Key);
    const TRect piece {0, 0, 3, 3};   // right and bottom included
    CopyMaskedPieceCutRegion(piece, piece, f.Button.get(), f.Mask(), f.Region, &f.Skin.Master());
    CopyMaskedPieceCutRegion(piece, piece, f.Button.get(), f.Mask(), f.Region, &f.Skin.Master());
    EXPECT_FALSE(gdi::PtInRegion(f.Region, 0, 0));
    EXPECT_FALSE(gdi::PtInRegion(f.Region, 1, 0));
    EXPECT_TRUE(gdi::PtInRegion(f.Region, 2, 0));
    EXPECT_EQ(Px(*f.Button, 2, 0), StateColour(0));
    EXPECT_EQ(Px(*f.Button, 3, 3), StateColour(0));
    EXPECT_EQ(Px(*f.Button, 4, 4), Rgb(1, 1, 1));
}

TEST(CopyMaskedPieceCutRegion, NegativeStartsCopyNothing) {
    ButtonFixture f;
    CopyMaskedPieceCutRegion(
        TRect {-1, 0, 3, 3}, TRect {0, 0, 3, 3}, f.Button.get(), f.Mask(), f.Region, &f.Skin.Master());
    CopyMaskedPieceCutRegion(
        TRect {0, 0, 3, 3}, TRect {0, -2, 3, 3}, f.Button.get(), f.Mask(), f.Region, &f.Skin.Master());
    EXPECT_TRUE(AllPixels(*f.Button, TRect {0, 0, 20, 16}, Rgb(1, 1, 1)));
}

TEST(CopyMaskedPieceCutRegion, PiecesReachingPastEitherBitmapAreCut) {
    ButtonFixture f;
    CopyMaskedPieceCutRegion(
        TRect {15, 10, 40, 40}, TRect {30, 0, 60, 40}, f.Button.get(), f.Mask(), f.Region, &f.Skin.Master());
    EXPECT_EQ(Px(*f.Button, 19, 10), StateColour(2));   // columns 30..34 of the picture
    EXPECT_EQ(Px(*f.Button, 15, 15), StateColour(2));
    auto low = Bitmap24(20, 16, Rgb(1, 1, 1));
    // From picture row 15 only three rows have their mask rows (12 below) inside the 30-row master.
    CopyMaskedPieceCutRegion(
        TRect {15, 10, 40, 40}, TRect {30, 15, 60, 40}, low.get(), f.Mask(), f.Region, &f.Skin.Master());
    EXPECT_EQ(Px(*low, 15, 12), 0);
    EXPECT_EQ(Px(*low, 15, 13), Rgb(1, 1, 1));
}

TEST(PaintButtonBordersWithRegion, AnImageCountBelowOneCountsAsOne) {
    ButtonFixture zero, one;
    zero.Skin.Mask(zero.Index).ImageCount = 0;
    one.Skin.Mask(one.Index).ImageCount = 1;
    PaintButtonBordersWithRegion(zero.Button.get(), zero.Region, true, 2, zero.Mask());
    PaintButtonBordersWithRegion(one.Button.get(), one.Region, true, 2, one.Mask());
    EXPECT_TRUE(SamePixels(*zero.Button, *one.Button));
    EXPECT_EQ(Px(*one.Button, 19, 0), StateColour(2));   // one state 36 wide: its right cells are state 2's
}

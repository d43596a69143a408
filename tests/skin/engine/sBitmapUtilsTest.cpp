// Bitmap routines: new bitmaps, greying, tinting, mask and summing blends, factor blends and transparent copies.
#include "skin/engine/sBitmapUtils.h"

#include "platform/classes/TBitmap.h"

#include "support/PixelFixtures.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::pixeltest;
using classes::TPoint;
using classes::TRect;

// ---------------------------------------------------------------------------------------------------------
// New bitmaps

TEST(NewBitmap, MakesTheAskedFormatAndSize) {
    auto b24 = NewBitmap24(7, 3);
    EXPECT_EQ(b24->PixelFormat(), classes::pf24bit);
    EXPECT_EQ(b24->Width(), 7);
    EXPECT_EQ(b24->Height(), 3);
    auto like = NewBitmap24Like(b24.get());
    EXPECT_EQ(like->Width(), 7);
    EXPECT_EQ(like->PixelFormat(), classes::pf24bit);
    auto b32 = NewBitmap32(2, 5);
    EXPECT_EQ(b32->PixelFormat(), classes::pf32bit);
    EXPECT_EQ(b32->Height(), 5);
    EXPECT_TRUE(NewBitmap24Like(nullptr)->Empty());
}

// ---------------------------------------------------------------------------------------------------------
// Greying and tinting

TEST(GrayscaleBitmap, EveryPixelBecomesTheTruncatedMeanOfItsChannels) {
    auto bitmap = Bitmap24(37, 3, Rgb(31, 20, 10));   // 61 / 3 = 20
    Put(*bitmap, 36, 2, Rgb(254, 255, 255));
    GrayscaleBitmap(bitmap.get());
    EXPECT_EQ(Px(*bitmap, 0, 0), Rgb(20, 20, 20));
    EXPECT_EQ(Px(*bitmap, 36, 2), Rgb(254, 254, 254));
}

TEST(GrayscaleBitmap, MatchesTheDivisionForEverySum) {
    auto bitmap = Bitmap24(766, 2);
    for (int sum = 0; sum <= 765; ++sum) {
        const int r = std::min(sum, 255), g = std::min(sum - r, 255), b = sum - r - g;
        Put(*bitmap, sum, 0, Rgb(r, g, b));
    }
    GrayscaleBitmap(bitmap.get());
    for (int sum = 0; sum <= 765; ++sum)
        ASSERT_EQ(Px(*bitmap, sum, 0), Rgb(sum / 3, sum / 3, sum / 3)) << sum;
}

TEST(GrayscaleBitmapExcept, LeavesPixelsOfTheColour) {
    auto bitmap = Bitmap24(4, 2, Rgb(30, 60, 90));
    Put(*bitmap, 1, 1, Key);
    GrayscaleBitmapExcept(bitmap.get(), Key);
    EXPECT_EQ(Px(*bitmap, 1, 1), Key);
    EXPECT_EQ(Px(*bitmap, 0, 1), Rgb(60, 60, 60));
}

TEST(GrayscaleBitmapExcept, LeavesTheColourInLongRowsToo) {
    auto bitmap = Bitmap24(70, 2, 0);
    Noise(*bitmap, 5);
    auto before = Bitmap24(70, 2, 0);
    for (int x : {3, 17, 18, 40, 69})
        Put(*bitmap, x, 1, Key);
    before->Assign(bitmap.get());
    GrayscaleBitmapExcept(bitmap.get(), Key);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 70; ++x) {
            const classes::TColor old = Px(*before, x, y);
            const int v = ((old & 0xFF) + ((old >> 8) & 0xFF) + ((old >> 16) & 0xFF)) / 3;
            ASSERT_EQ(Px(*bitmap, x, y), old == Key ? Key : Rgb(v, v, v)) << x << "," << y;
        }
}

TEST(TintBitmap, ABlackMaskGivesTheColourAndAWhiteOneKeepsThePictureAlmost) {
    auto bitmap = Bitmap24(3, 2, Rgb(200, 200, 200));
    auto mask = Bitmap24(3, 2, 0);
    Put(*mask, 2, 1, Rgb(255, 255, 255));
    TintBitmap(bitmap.get(), mask.get(), Rgb(10, 20, 30));
    EXPECT_EQ(Px(*bitmap, 0, 0), Rgb(10, 20, 30));
    auto white = Bitmap24(3, 2, Rgb(200, 200, 200));
    auto whiteMask = Bitmap24(3, 2, Rgb(255, 255, 255));
    TintBitmap(white.get(), whiteMask.get(), 0);
    EXPECT_EQ(Px(*white, 1, 1), Rgb(199, 199, 199));
}

TEST(TintBitmap, DoesNothingWhenTheSizesDiffer) {
    auto bitmap = Bitmap24(3, 2, Rgb(200, 200, 200));
    auto mask = Bitmap24(3, 3, 0);
    TintBitmap(bitmap.get(), mask.get(), 0);
    EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 0, 3, 2}, Rgb(200, 200, 200)));
}

TEST(TintBitmap, VectorRowsAreBitExact) {
    auto bitmap = Bitmap24(53, 7), mask = Bitmap24(53, 7);
    Noise(*bitmap, 1);
    Noise(*mask, 2);
    auto before = Bitmap24(53, 7);
    before->Assign(bitmap.get());
    const classes::TColor c = Rgb(17, 140, 233);
    TintBitmap(bitmap.get(), mask.get(), c);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 53; ++x)
            for (int ch = 0; ch < 3; ++ch) {
                const int b = before->ScanLine(y)[3 * x + ch], m = mask->ScanLine(y)[3 * x + ch];
                const int cc = (c >> (8 * (2 - ch))) & 0xFF;
                ASSERT_EQ(bitmap->ScanLine(y)[3 * x + ch], ((b - cc) * m + cc * 256) >> 8) << x << "," << y;
            }
}

TEST(BlendThroughMask, ShowsTheBodyUnderBlackAndTheBackgroundUnderWhite) {
    auto dst = Bitmap24(4, 4, Rgb(100, 100, 100));
    auto bg = Bitmap24(4, 4, Rgb(0, 50, 250));
    auto mask = Bitmap24(4, 4, 0);
    Fill(*mask, TRect {2, 0, 4, 4}, Rgb(128, 128, 128));
    BlendThroughMask(dst.get(), bg.get(), mask.get(), TRect {0, 0, 4, 3});
    EXPECT_EQ(Px(*dst, 0, 0), Rgb(0, 50, 250));   // mask 0: the background
    EXPECT_EQ(Px(*dst, 3, 2), Rgb(50, 75, 175));   // bg + (dst - bg) / 2
    EXPECT_EQ(Px(*dst, 0, 3), Rgb(100, 100, 100));   // bottom row excluded
}

TEST(BlendThroughMask, AWhiteMaskLeavesTheTargetExactly) {
    auto dst = Bitmap24(20, 2, Rgb(212, 208, 200));
    auto bg = Bitmap24(20, 2, Rgb(0, 0, 0));
    auto mask = Bitmap24(20, 2, Rgb(255, 255, 255));
    Fill(*mask, TRect {0, 1, 20, 2}, Rgb(254, 254, 254));
    BlendThroughMask(dst.get(), bg.get(), mask.get(), TRect {0, 0, 20, 2});
    EXPECT_TRUE(AllPixels(*dst, TRect {0, 0, 20, 1}, Rgb(212, 208, 200)));
    EXPECT_NE(Px(*dst, 10, 1), Rgb(212, 208, 200));   // below white the body shows a little
}

TEST(BlendThroughMask, ClipsTheRectangleToAllThreeBitmaps) {
    auto dst = Bitmap24(8, 8, Rgb(100, 100, 100));
    auto bg = Bitmap24(4, 5, Rgb(0, 0, 0));
    auto mask = Bitmap24(6, 3, 0);
    BlendThroughMask(dst.get(), bg.get(), mask.get(), TRect {-2, -2, 6, 6});
    EXPECT_TRUE(AllPixels(*dst, TRect {0, 0, 4, 3}, 0));
    EXPECT_EQ(Px(*dst, 4, 0), Rgb(100, 100, 100));
    EXPECT_EQ(Px(*dst, 0, 3), Rgb(100, 100, 100));
}

TEST(BlendThroughMask, ARectangleWiderOrTallerThanTheTargetDoesNothing) {
    auto dst = Bitmap24(8, 8, Rgb(100, 100, 100));
    auto bg = Bitmap24(10, 10, Rgb(0, 0, 0));
    auto mask = Bitmap24(10, 10, 0);
    BlendThroughMask(dst.get(), bg.get(), mask.get(), TRect {0, 0, 9, 4});
    BlendThroughMask(dst.get(), bg.get(), mask.get(), TRect {0, 0, 4, 9});
    EXPECT_TRUE(AllPixels(*dst, TRect {0, 0, 8, 8}, Rgb(100, 100, 100)));
}

// A rectangle as wide as the target but starting right of its left edge ends past it: the row after it stays.
TEST(BlendThroughMask, ARectangleEndingPastTheRightEdgeLeavesTheNextRowAlone) {
    auto dst = Bitmap24(4, 3, Rgb(100, 100, 100));
    auto bg = Bitmap24(8, 8, Rgb(0, 0, 0));
    auto mask = Bitmap24(8, 8, 0);
    BlendThroughMask(dst.get(), bg.get(), mask.get(), TRect {2, 0, 6, 1});
    EXPECT_TRUE(AllPixels(*dst, TRect {2, 0, 4, 1}, 0));
    EXPECT_TRUE(AllPixels(*dst, TRect {0, 1, 4, 3}, Rgb(100, 100, 100)));
}

// ---------------------------------------------------------------------------------------------------------
// Summing blends

TEST(SumBitmaps, BlendsBitmapsOfTheSameSizeAndIgnoresOthers) {
    auto dst = Bitmap24(5, 5, Rgb(0, 0, 0)), src = Bitmap24(5, 5, Rgb(255, 255, 255));
    SumBitmaps(dst.get(), src.get(), 0);
    EXPECT_TRUE(AllPixels(*dst, TRect {0, 0, 5, 5}, Rgb(254, 254, 254)));
    auto other = Bitmap24(5, 4, 0);
    SumBitmaps(other.get(), src.get(), 0);
    EXPECT_TRUE(AllPixels(*other, TRect {0, 0, 5, 4}, 0));
}

TEST(SumBitmapRect, ANegativeDestinationStartsTheSourceThatFarIn) {
    auto src = Bitmap24(10, 2);
    for (int x = 0; x < 10; ++x)
        Fill(*src, TRect {x, 0, x + 1, 2}, Rgb(x * 10, 0, 0));
    auto dst = Bitmap24(10, 2, 0);
    SumBitmapRect(dst.get(), src.get(), 0, TRect {0, 0, 10, 2}, TPoint {-5, 0});
    EXPECT_EQ(Px(*dst, 0, 0), Rgb(50, 0, 0));   // source column 5 at destination column 0
    EXPECT_EQ(Px(*dst, 4, 1), Rgb(90, 0, 0));
    EXPECT_EQ(Px(*dst, 5, 0), 0);
}

TEST(SumBitmapRect, ANegativeSourceStartMovesTheDestinationRightNotLeft) {
    auto src = Bitmap24(6, 6, Rgb(200, 200, 200));
    auto dst = Bitmap24(10, 10, 0);
    SumBitmapRect(dst.get(), src.get(), 0, TRect {-3, -2, 4, 4}, TPoint {1, 1});
    // Source (0, 0) belongs at destination (1 + 3, 1 + 2); the part above and left of the source is empty.
    EXPECT_EQ(Px(*dst, 3, 3), 0);
    EXPECT_EQ(Px(*dst, 4, 3), Rgb(199, 199, 199));
    EXPECT_EQ(Px(*dst, 4, 2), 0);
    EXPECT_EQ(Px(*dst, 7, 6), Rgb(199, 199, 199));
    EXPECT_EQ(Px(*dst, 8, 6), 0);
}

TEST(SumBitmapRect, CutsTheBlockAtTheDestinationAndBlendsNothingWhenItIsEmpty) {
    auto src = Bitmap24(8, 8, Rgb(200, 200, 200));
    auto dst = Bitmap24(5, 5, 0);
    SumBitmapRect(dst.get(), src.get(), 0, TRect {0, 0, 8, 8}, TPoint {3, 3});
    EXPECT_TRUE(AllPixels(*dst, TRect {3, 3, 5, 5}, Rgb(199, 199, 199)));
    EXPECT_EQ(Px(*dst, 2, 3), 0);
    auto untouched = Bitmap24(5, 5, 0);
    SumBitmapRect(untouched.get(), src.get(), 0, TRect {0, 0, 8, 8}, TPoint {7, 0});
    SumBitmapRect(untouched.get(), src.get(), 0, TRect {9, 0, 12, 8}, TPoint {0, 0});
    SumBitmapRect(untouched.get(), src.get(), 0, TRect {0, 0, 8, 8}, TPoint {-9, 0});
    SumBitmapRect(untouched.get(), src.get(), 0, TRect {-20, 0, -10, 8}, TPoint {0, 0});
    EXPECT_TRUE(AllPixels(*untouched, TRect {0, 0, 5, 5}, 0));
}

// ---------------------------------------------------------------------------------------------------------
// Factor blend

TEST(BlendBitmapRect, FactorZeroCopiesTheSourceAndOneKeepsTheDestination) {
    auto src = Bitmap24(4, 4, Rgb(10, 20, 30));
    auto dst = Bitmap24(4, 4, Rgb(200, 100, 0));
    BlendBitmapRect(dst.get(), 0, 0, src.get(), TRect {0, 0, 1, 1}, 1.0, Key);
    EXPECT_EQ(Px(*dst, 0, 0), Rgb(200, 100, 0));
    BlendBitmapRect(dst.get(), 0, 0, src.get(), TRect {0, 0, 1, 1}, 0.0, Key);
    EXPECT_TRUE(AllPixels(*dst, TRect {0, 0, 2, 2}, Rgb(10, 20, 30)));   // right and bottom included
    EXPECT_EQ(Px(*dst, 2, 0), Rgb(200, 100, 0));
}

TEST(BlendBitmapRect, RoundsHalvesToEven) {
    auto src = Bitmap24(2, 2, Rgb(1, 3, 0));
    auto dst = Bitmap24(2, 2, Rgb(0, 0, 5));
    BlendBitmapRect(dst.get(), 0, 0, src.get(), TRect {0, 0, 1, 1}, 0.5, Key);
    EXPECT_EQ(Px(*dst, 0, 0), Rgb(0, 2, 2));   // 0.5, 1.5, 2.5
}

TEST(BlendBitmapRect, LeavesOutTheTransparentColourUnlessItsTopByteIsSet) {
    auto src = Bitmap24(2, 1, Key);
    Put(*src, 1, 0, Rgb(0, 0, 0));
    auto dst = Bitmap24(2, 1, Rgb(100, 100, 100));
    BlendBitmapRect(dst.get(), 0, 0, src.get(), TRect {0, 0, 1, 0}, 0.0, Key);
    EXPECT_EQ(Px(*dst, 0, 0), Rgb(100, 100, 100));
    EXPECT_EQ(Px(*dst, 1, 0), 0);
    BlendBitmapRect(dst.get(), 0, 0, src.get(), TRect {0, 0, 1, 0}, 0.0, classes::TColor(0xFF000000u | Key));
    EXPECT_EQ(Px(*dst, 0, 0), Key);
}

TEST(BlendBitmapRect, ANegativeSourceStartShiftsTheDestinationAndEdgesAreClipped) {
    auto src = Bitmap24(3, 3, Rgb(9, 9, 9));
    auto dst = Bitmap24(6, 6, 0);
    BlendBitmapRect(dst.get(), 1, 1, src.get(), TRect {-2, -1, 10, 10}, 0.0, Key);
    EXPECT_TRUE(AllPixels(*dst, TRect {3, 2, 6, 5}, Rgb(9, 9, 9)));
    EXPECT_EQ(Px(*dst, 2, 2), 0);
    EXPECT_EQ(Px(*dst, 3, 5), 0);
    BlendBitmapRect(dst.get(), -100, 4, src.get(), TRect {0, 0, 2, 2}, 0.0, Key);   // wholly outside
}

// ---------------------------------------------------------------------------------------------------------
// Transparent copies

TEST(TransparentCopy, LeavesOutTheKeyAndWhatFallsOutsideTheDestination) {
    auto src = Bitmap24(40, 3, Rgb(1, 2, 3));
    Put(*src, 0, 0, Key);
    Put(*src, 20, 1, Key);
    auto dst = Bitmap24(30, 4, Rgb(50, 50, 50));
    TransparentCopy(dst.get(), src.get(), -2, 1, Key);
    EXPECT_EQ(Px(*dst, 0, 1), Rgb(1, 2, 3));
    EXPECT_EQ(Px(*dst, 18, 2), Rgb(50, 50, 50));   // the key of source (20, 1)
    EXPECT_EQ(Px(*dst, 17, 2), Rgb(1, 2, 3));
    EXPECT_EQ(Px(*dst, 29, 3), Rgb(1, 2, 3));
    EXPECT_EQ(Px(*dst, 5, 0), Rgb(50, 50, 50));
}

TEST(TransparentCopyRect, IncludesRightAndBottomAndClipsToTheSource) {
    auto src = Bitmap24(4, 4, Rgb(7, 7, 7));
    auto dst = Bitmap24(8, 8, 0);
    TransparentCopyRect(dst.get(), src.get(), 2, 2, TRect {1, 1, 2, 2}, Key);
    EXPECT_TRUE(AllPixels(*dst, TRect {2, 2, 4, 4}, Rgb(7, 7, 7)));
    EXPECT_EQ(Px(*dst, 4, 2), 0);
    TransparentCopyRect(dst.get(), src.get(), 5, 5, TRect {2, 2, 100, 100}, Key);
    EXPECT_TRUE(AllPixels(*dst, TRect {5, 5, 7, 7}, Rgb(7, 7, 7)));
    EXPECT_EQ(Px(*dst, 7, 7), 0);
}

TEST(TransparentCopyRect, KeepsThePictureInPlaceWhenTheSourceStartsLeftOfTheBitmap) {
    auto src = Bitmap24(4, 4, Rgb(7, 7, 7));
    Put(*src, 0, 0, Rgb(1, 1, 1));
    auto dst = Bitmap24(8, 8, 0);
    TransparentCopyRect(dst.get(), src.get(), 0, 0, TRect {-2, -1, 1, 1}, Key);
    EXPECT_EQ(Px(*dst, 2, 1), Rgb(1, 1, 1));
    EXPECT_EQ(Px(*dst, 0, 0), 0);
}

TEST(TransparentCopyRect, CopiesOverlappingBlocksWithinOneBitmapAsAWhole) {
    auto bitmap = Bitmap24(20, 1);
    for (int x = 0; x < 20; ++x)
        Put(*bitmap, x, 0, Rgb(x, 0, 0));
    TransparentCopyRect(bitmap.get(), bitmap.get(), 1, 0, TRect {0, 0, 18, 0}, Key);
    for (int x = 1; x < 20; ++x)
        ASSERT_EQ(Px(*bitmap, x, 0), Rgb(x - 1, 0, 0)) << x;
}

TEST(TransparentCopyRect, IgnoresBitmapsThatAreNot24Bit) {
    classes::TBitmap b32;
    b32.SetPixelFormat(classes::pf32bit);
    b32.SetSize(4, 4);
    auto dst = Bitmap24(4, 4, 0);
    TransparentCopyRect(dst.get(), &b32, 0, 0, TRect {0, 0, 3, 3}, Key);
    TransparentCopyRect(&b32, dst.get(), 0, 0, TRect {0, 0, 3, 3}, Key);
    TransparentCopyRect(dst.get(), nullptr, 0, 0, TRect {0, 0, 3, 3}, Key);
    EXPECT_TRUE(AllPixels(*dst, TRect {0, 0, 4, 4}, 0));
}

// Pixel access records, the summing blend, the colour blend of a rectangle and the disabled look.
#include "skin/engine/sPixelAccess.h"

#include "platform/classes/TBitmap.h"
#include "platform/gdi/SysColors.h"

#include "support/PixelFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace korvex;
using namespace korvex::skin;
using namespace korvex::skin::pixeltest;
using classes::clBlack;
using classes::clBlue;
using classes::clBtnFace;
using classes::clRed;
using classes::clWhite;
using classes::TRect;

// ---------------------------------------------------------------------------------------------------------
// TacFast24 / TacFast32

class FastAttachRefuses : public testing::TestWithParam<std::pair<int, int>> { };

TEST_P(FastAttachRefuses, BitmapsBelowTwoByTwoAndLeavesWidthZero) {
    auto good = Bitmap24(4, 4);
    auto bad = Bitmap24(GetParam().first, GetParam().second);
    TacFast24 fast;
    ASSERT_TRUE(fast.Attach(good.get()));
    EXPECT_FALSE(fast.Attach(bad.get()));
    EXPECT_EQ(fast.Width(), 0);
    fast.SetPixel(0, 0, clRed);   // detached: ignored
    EXPECT_EQ(Px(*good, 0, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, FastAttachRefuses, testing::Values(std::pair {1, 5}, std::pair {5, 1}, std::pair {1, 1}, std::pair {0, 0}));

TEST(TacFast24, RefusesBitmapsThatAreNot24Bit) {
    classes::TBitmap bitmap;
    bitmap.SetPixelFormat(classes::pf32bit);
    bitmap.SetSize(4, 4);
    TacFast24 fast;
    EXPECT_FALSE(fast.Attach(&bitmap));
    EXPECT_FALSE(fast.Attach(nullptr));
}

TEST(TacFast24, SetPixelWritesBlueGreenRedAndGetPixelReadsTheColourBack) {
    auto bitmap = Bitmap24(5, 3);
    TacFast24 fast;
    ASSERT_TRUE(fast.Attach(bitmap.get()));
    EXPECT_EQ(fast.Width(), 5);
    EXPECT_EQ(fast.Height(), 3);
    fast.SetPixel(4, 2, 0x123456);
    const std::uint8_t* p = bitmap->ScanLine(2) + 12;
    EXPECT_EQ(p[0], 0x12);
    EXPECT_EQ(p[1], 0x34);
    EXPECT_EQ(p[2], 0x56);
    EXPECT_EQ(fast.GetPixel(4, 2), 0x123456);
}

TEST(TacFast24, PointsOutsideTheBitmapAreIgnored) {
    auto bitmap = Bitmap24(3, 3, 0x0A0B0C);
    TacFast24 fast;
    ASSERT_TRUE(fast.Attach(bitmap.get()));
    fast.SetPixel(3, 0, clWhite);
    fast.SetPixel(-1, 1, clWhite);
    fast.SetPixel(0, 3, clWhite);
    EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 0, 3, 3}, 0x0A0B0C));
    EXPECT_EQ(fast.GetPixel(3, 0), -1);
    EXPECT_EQ(fast.GetPixel(0, -1), -1);
}

TEST(TacFast32, SetPixelWritesTopByteZeroWhateverTheColour) {
    classes::TBitmap bitmap;
    bitmap.SetPixelFormat(classes::pf32bit);
    bitmap.SetSize(3, 3);
    TacFast32 fast;
    ASSERT_TRUE(fast.Attach(&bitmap));
    fast.SetPixel(1, 1, classes::TColor(0xAB123456u));
    const std::uint8_t* p = bitmap.ScanLine(1) + 4;
    EXPECT_EQ(p[0], 0x12);
    EXPECT_EQ(p[1], 0x34);
    EXPECT_EQ(p[2], 0x56);
    EXPECT_EQ(p[3], 0);
}

TEST(TacFast32, SetPixelAlphaStoresTheAlphaForLayeredWindows) {
    classes::TBitmap bitmap;
    bitmap.SetPixelFormat(classes::pf32bit);
    bitmap.SetSize(2, 2);
    TacFast32 fast;
    ASSERT_TRUE(fast.Attach(&bitmap));
    fast.SetPixelAlpha(1, 0, 0x010203, 200);
    const std::uint8_t* p = bitmap.ScanLine(0) + 4;
    EXPECT_EQ(p[0], 0x01);
    EXPECT_EQ(p[2], 0x03);
    EXPECT_EQ(p[3], 200);
    fast.SetPixelAlpha(2, 0, 0, 1);   // outside
    auto b24 = Bitmap24(2, 2);
    EXPECT_FALSE(fast.Attach(b24.get()));
}

// ---------------------------------------------------------------------------------------------------------
// TacFastSum24

TEST(TacFastSum24, AFailedAttachChangesNothing) {
    auto a = Bitmap24(4, 4), b = Bitmap24(6, 3), tiny = Bitmap24(1, 4);
    TacFastSum24 sum;
    ASSERT_TRUE(sum.Attach(a.get(), b.get()));
    EXPECT_EQ(sum.Width(), 4);
    EXPECT_EQ(sum.Height(), 3);
    EXPECT_FALSE(sum.Attach(tiny.get(), b.get()));
    EXPECT_FALSE(sum.Attach(a.get(), tiny.get()));
    EXPECT_EQ(sum.Source(), a.get());
    EXPECT_EQ(sum.Width(), 4);
}

struct SumCase {
    int src, dst, alpha, expected;
};

class SumBlend : public testing::TestWithParam<SumCase> { };

TEST_P(SumBlend, FollowsTheRoundedIntegerFormula) {
    const SumCase c = GetParam();
    auto src = Bitmap24(2, 2, Rgb(c.src, c.src, c.src));
    auto dst = Bitmap24(2, 2, Rgb(c.dst, c.dst, c.dst));
    TacFastSum24 sum;
    ASSERT_TRUE(sum.Attach(src.get(), dst.get()));
    sum.Alpha = std::uint8_t(c.alpha);
    sum.DstRect = sum.SrcRect = TRect {0, 0, 2, 2};
    sum.Blend();
    EXPECT_EQ(Px(*dst, 1, 1), Rgb(c.expected, c.expected, c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, SumBlend,
    testing::Values(SumCase {255, 0, 0, 254}, SumCase {100, 7, 0, 100}, SumCase {128, 0, 0, 127},
        SumCase {0, 200, 255, 199}, SumCase {0, 100, 255, 100}, SumCase {200, 100, 127, 150}));

TEST(TacFastSum24, VectorBlendIsBitExactForEveryByteAndSampledAlphas) {
    // 256 x 256 pixels: the source byte runs along x, the destination byte along y.
    auto src = Bitmap24(256, 256), dst = Bitmap24(256, 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            Put(*src, x, y, Rgb(x, x, x));
    for (int alpha : {0, 1, 2, 77, 127, 128, 200, 254, 255}) {
        for (int y = 0; y < 256; ++y)
            Fill(*dst, TRect {0, y, 256, y + 1}, Rgb(y, y, y));
        TacFastSum24 sum;
        ASSERT_TRUE(sum.Attach(src.get(), dst.get()));
        sum.Alpha = std::uint8_t(alpha);
        sum.DstRect = sum.SrcRect = TRect {0, 0, 256, 256};
        sum.Blend();
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                const int v = (x * (255 - alpha) + y * alpha + 127) >> 8;
                ASSERT_EQ(Px(*dst, x, y), Rgb(v, v, v)) << "alpha " << alpha << " s " << x << " d " << y;
            }
    }
}

TEST(TacFastSum24, BlendClipsRectanglesReachingOutsideEitherBitmap) {
    auto src = Bitmap24(8, 8, clWhite), dst = Bitmap24(6, 6, clBlack);
    TacFastSum24 sum;
    ASSERT_TRUE(sum.Attach(src.get(), dst.get()));
    sum.Alpha = 0;
    sum.DstRect = TRect {-3, -3, 100, 100};
    sum.SrcRect = TRect {0, 0, 103, 3};
    sum.Blend();   // source rows are counted from the bottom edges: they all lie above the source
    EXPECT_TRUE(AllPixels(*dst, TRect {0, 0, 6, 6}, 0));
    sum.DstRect = TRect {-3, -3, 4, 4};
    sum.SrcRect = TRect {0, 0, 7, 7};
    sum.Blend();
    EXPECT_TRUE(AllPixels(*dst, TRect {0, 0, 4, 4}, Rgb(254, 254, 254)));
    EXPECT_EQ(Px(*dst, 4, 0), 0);
}

// A destination rectangle that ends past the right edge would run on into the next row: the row stays.
TEST(TacFastSum24, ARectangleEndingPastTheRightEdgeLeavesTheNextRowAlone) {
    auto src = Bitmap24(8, 8, clWhite), dst = Bitmap24(4, 3, clBlack);
    TacFastSum24 sum;
    ASSERT_TRUE(sum.Attach(src.get(), dst.get()));
    sum.Alpha = 0;
    sum.DstRect = TRect {2, 0, 6, 1};
    sum.SrcRect = TRect {0, 0, 4, 1};
    sum.Blend();
    EXPECT_TRUE(AllPixels(*dst, TRect {2, 0, 4, 1}, Rgb(254, 254, 254)));
    EXPECT_TRUE(AllPixels(*dst, TRect {0, 1, 4, 3}, 0));
}

// ---------------------------------------------------------------------------------------------------------
// BlendRectWithColor

TEST(BlendRectWithColor, RoundsHalvesToEven) {
    auto bitmap = Bitmap24(2, 2, Rgb(255, 1, 3));
    BlendRectWithColor(bitmap.get(), TRect {0, 0, 2, 2}, 50, clBlack);
    EXPECT_EQ(Px(*bitmap, 0, 0), Rgb(128, 0, 2));   // 127.5 -> 128, 0.5 -> 0, 1.5 -> 2
}

TEST(BlendRectWithColor, PercentIsTheWeightOfTheOldPixel) {
    auto keep = Bitmap24(2, 2, Rgb(10, 20, 30));
    BlendRectWithColor(keep.get(), TRect {0, 0, 2, 2}, 100, clWhite);
    EXPECT_EQ(Px(*keep, 1, 1), Rgb(10, 20, 30));
    BlendRectWithColor(keep.get(), TRect {0, 0, 2, 2}, 0, Rgb(1, 2, 3));
    EXPECT_EQ(Px(*keep, 1, 1), Rgb(1, 2, 3));
    auto mixed = Bitmap24(2, 2, Rgb(100, 0, 200));
    BlendRectWithColor(mixed.get(), TRect {0, 0, 2, 2}, 30, Rgb(0, 100, 0));
    EXPECT_EQ(Px(*mixed, 0, 1), Rgb(30, 70, 60));
}

TEST(BlendRectWithColor, TreatsRightAndBottomAsExclusive) {
    auto bitmap = Bitmap24(6, 6, clWhite);
    BlendRectWithColor(bitmap.get(), TRect {1, 1, 3, 3}, 0, clBlack);
    EXPECT_TRUE(AllPixels(*bitmap, TRect {1, 1, 3, 3}, 0));
    EXPECT_EQ(Px(*bitmap, 3, 1), Rgb(255, 255, 255));
    EXPECT_EQ(Px(*bitmap, 1, 3), Rgb(255, 255, 255));
}

TEST(BlendRectWithColor, ClipsARectangleReachingPastTheBitmap) {
    auto bitmap = Bitmap24(5, 4, clWhite);
    BlendRectWithColor(bitmap.get(), TRect {-10, -10, 100, 100}, 0, clRed);
    EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 0, 5, 4}, clRed));
    BlendRectWithColor(bitmap.get(), TRect {3, 3, 1, 1}, 0, clBlue);   // inverted: nothing
    EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 0, 5, 4}, clRed));
}

TEST(BlendRectWithColor, MatchesTheRoundedDoubleFormulaForEveryPercentAndByte) {
    // 261 pixels: sixteen-pixel blocks and a tail; the channels run through every byte at different offsets.
    for (classes::TColor colour : {Rgb(0, 0, 0), Rgb(255, 255, 255), Rgb(0x99, 0x66, 0x33), Rgb(255, 128, 1)}) {
        for (int percent = 0; percent <= 100; ++percent) {
            auto bitmap = Bitmap24(261, 1);
            for (int x = 0; x < 261; ++x)
                Put(*bitmap, x, 0, Rgb(x % 256, (x + 85) % 256, (x * 7) % 256));
            BlendRectWithColor(bitmap.get(), TRect {0, 0, 261, 1}, percent, colour);
            const double t = percent / 100.0;
            for (int x = 0; x < 261; ++x) {
                const int old[3] = {(x * 7) % 256, (x + 85) % 256, x % 256};   // B, G, R
                const int c[3] = {(colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF};
                for (int ch = 0; ch < 3; ++ch)
                    ASSERT_EQ(bitmap->ScanLine(0)[3 * x + ch], int(std::nearbyint(old[ch] * t + c[ch] * (1 - t))))
                        << "percent " << percent << " x " << x << " channel " << ch;
            }
        }
    }
}

namespace {

// round(old * p + c * (1 - p)) in doubles, clamped to a byte, for every channel of one pixel.
classes::TColor Mixed(classes::TColor old, int percent, classes::TColor colour) {
    const double t = (percent & 255) / 100.0;
    classes::TColor out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const double v = ((old >> shift) & 0xFF) * t + ((colour >> shift) & 0xFF) * (1 - t);
        out |= classes::TColor(std::clamp(int(std::nearbyint(v)), 0, 255)) << shift;
    }
    return out;
}

}

TEST(BlendRectWithColor, OddRectanglesChangeTheirPixelsOnlyAndExactly) {
    // Widths around the 16- and 32-pixel blocks, at odd offsets; percents through the kernel's zones,
    // fixups and the tables (above 100 the channels clamp).
    auto source = Bitmap24(90, 5);
    Noise(*source, 7);
    for (int percent : {1, 30, 37, 73, 99, 150, 255, 256 + 30}) {
        for (auto [left, right] : {std::pair {3, 4}, {1, 18}, {5, 38}, {7, 40}, {2, 67}, {0, 90}}) {
            auto bitmap = Bitmap24(90, 5);
            Noise(*bitmap, 7);
            const TRect r {left, 1, right, 4};
            BlendRectWithColor(bitmap.get(), r, percent, Rgb(0x99, 0x66, 0x33));
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 90; ++x) {
                    const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                    const classes::TColor old = Px(*source, x, y);
                    ASSERT_EQ(Px(*bitmap, x, y), inside ? Mixed(old, percent, Rgb(0x99, 0x66, 0x33)) : old)
                        << "percent " << percent << " rect " << left << ".." << right << " at " << x << ", " << y;
                }
        }
    }
}

TEST(BlendRectWithColor, ResolvesSystemColours) {
    auto bitmap = Bitmap24(3, 3, clBlack);
    BlendRectWithColor(bitmap.get(), TRect {0, 0, 3, 3}, 0, clBtnFace);
    EXPECT_EQ(Px(*bitmap, 2, 2), classes::TColor(gdi::GetSysColor(gdi::COLOR_BTNFACE)));
}

// ---------------------------------------------------------------------------------------------------------
// ApplyDisabledLook

TEST(ApplyDisabledLook, AnEmptyKindLeavesTheBitmapUntouched) {
    auto bitmap = Bitmap24(4, 4, Rgb(10, 200, 30));
    ApplyDisabledLook(bitmap.get(), TsDisabledKind {}, clWhite, {}, EmptyCacheInfo);
    EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 0, 4, 4}, Rgb(10, 200, 30)));
}

TEST(ApplyDisabledLook, GrayedOnlyGreysTheBitmap) {
    auto bitmap = Bitmap24(4, 4, Rgb(10, 200, 30));
    ApplyDisabledLook(bitmap.get(), TsDisabledKind {dkGrayed}, clWhite, {}, EmptyCacheInfo);
    EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 0, 4, 4}, Rgb(80, 80, 80)));
}

TEST(ApplyDisabledLook, BothFlagsGreyThenBlendWithTheParentColour) {
    TsParentCacheInfo colours;
    colours.ParentAnswer = Rgb(0, 0, 101);
    auto bitmap = Bitmap24(4, 4, Rgb(10, 200, 30));
    ApplyDisabledLook(bitmap.get(), TsDisabledKind {dkGrayed, dkBlended}, clWhite, {}, colours);
    EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 0, 4, 4}, Rgb(40, 40, 90)));   // 90.5 rounds to 90
}

TEST(ApplyDisabledLook, WithoutAnswerOrCacheBlendsWithTheControlsResolvedColour) {
    auto bitmap = Bitmap24(3, 3, clBlack);
    ApplyDisabledLook(bitmap.get(), DefaultDisabledKind, clBtnFace, {}, EmptyCacheInfo);
    const classes::TColor face = classes::TColor(gdi::GetSysColor(gdi::COLOR_BTNFACE));
    auto expected = Bitmap24(3, 3, face);
    BlendRectWithColor(expected.get(), TRect {0, 0, 3, 3}, 50, clBlack);
    EXPECT_TRUE(SamePixels(*bitmap, *expected));
}

TEST(ApplyDisabledLook, WithAReadyCacheBlendsWithTheParentPixelsUnderTheControl) {
    auto parent = Bitmap24(20, 20, Rgb(0, 0, 0));
    Fill(*parent, TRect {7, 5, 11, 9}, Rgb(100, 100, 100));
    auto bitmap = Bitmap24(4, 4, Rgb(200, 200, 200));
    TsParentCacheInfo cache;
    FillCacheInfo(cache, parent.get(), 5, 3);
    cache.ParentAnswer = clRed;   // not used with a cache
    ApplyDisabledLook(bitmap.get(), DefaultDisabledKind, clWhite, classes::TPoint {2, 2}, cache);
    // round(s - (s - d) * 0.4): s = 100 (parent), d = 200 (control) -> 140
    EXPECT_TRUE(AllPixels(*bitmap, TRect {0, 0, 4, 4}, Rgb(140, 140, 140)));
}

// Blit tests: clipping against both surfaces and the clip, overlap, raster operations, 24/32-bit conversion,
// stretching at 1:1 and 2:1, mirroring and alpha blending.
#include "platform/gdi/BitBlt.h"
#include "platform/gdi/Drawing.h"

#include "support/TestCanvas.h"

#include <gtest/gtest.h>

using namespace korvex::gdi;
using namespace korvex::gdi::test;

namespace {

// A source whose every pixel tells its position: RGB(x, y, 7).
void PaintCoordinates(TestCanvas& canvas) {
    for (int y = 0; y < canvas.Bits().Height(); ++y)
        for (int x = 0; x < canvas.Bits().Width(); ++x)
            canvas.Bits().SetPixelAt(x, y, RGB(x, y, 7));
}

}

TEST(BitBlt, CopiesABlock) {
    TestCanvas src(8, 8);
    PaintCoordinates(src);
    TestCanvas dst(8, 8);
    EXPECT_TRUE(BitBlt(dst, 1, 2, 3, 2, src, 4, 5, SRCCOPY));
    EXPECT_EQ(dst.At(1, 2), RGB(4, 5, 7));
    EXPECT_EQ(dst.At(3, 3), RGB(6, 6, 7));
    EXPECT_EQ(dst.At(4, 2), White);   // right edge excluded
    EXPECT_EQ(dst.At(1, 4), White);   // bottom edge excluded
    EXPECT_EQ(dst.Count(White), 64 - 6);
}

TEST(BitBlt, SourceReachingPastItsSurfaceLeavesTheRestAlone) {
    TestCanvas src(4, 4);
    PaintCoordinates(src);
    TestCanvas dst(10, 10);
    BitBlt(dst, 0, 0, 10, 10, src, -2, -3, SRCCOPY);
    EXPECT_EQ(dst.At(2, 3), RGB(0, 0, 7));
    EXPECT_EQ(dst.At(5, 6), RGB(3, 3, 7));
    EXPECT_EQ(dst.At(1, 3), White);
    EXPECT_EQ(dst.At(6, 6), White);
    EXPECT_EQ(dst.Count(White), 100 - 16);
}

TEST(BitBlt, DestinationReachingPastItsSurfaceIsClipped) {
    TestCanvas src(10, 10);
    PaintCoordinates(src);
    TestCanvas dst(4, 4);
    BitBlt(dst, -3, -2, 10, 10, src, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.At(0, 0), RGB(3, 2, 7));
    EXPECT_EQ(dst.At(3, 3), RGB(6, 5, 7));
    BitBlt(dst, 2, 2, 10, 10, src, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.At(3, 3), RGB(1, 1, 7));
}

TEST(BitBlt, HonoursTheDestinationClipAndOrigins) {
    TestCanvas src(10, 10);
    PaintCoordinates(src);
    TestCanvas dst(10, 10);
    ExcludeClipRect(dst, 0, 0, 5, 10);
    SetWindowOrgEx(src, 1, 1, nullptr);   // source logical (1,1) is its pixel (0,0)
    BitBlt(dst, 0, 0, 10, 10, src, 1, 1, SRCCOPY);
    EXPECT_EQ(dst.At(4, 4), White);
    EXPECT_EQ(dst.At(5, 4), RGB(5, 4, 7));
}

TEST(BitBlt, OverlappingCopyWithinOneSurfaceIsSafeInEveryDirection) {
    const POINT moves[] = {{2, 0}, {-2, 0}, {0, 2}, {0, -2}, {1, 1}, {-1, -1}, {2, -1}};
    for (const POINT& m : moves) {
        TestCanvas canvas(12, 12);
        PaintCoordinates(canvas);
        BitBlt(canvas, 3 + m.x, 3 + m.y, 6, 6, canvas, 3, 3, SRCCOPY);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
                ASSERT_EQ(canvas.At(3 + m.x + x, 3 + m.y + y), RGB(3 + x, 3 + y, 7)) << m.x << "," << m.y;
    }
}

TEST(BitBlt, ConvertsTwentyFourToThirtyTwoWithAZeroFourthByte) {
    TestCanvas src(2, 1, PixelFormat::pf24bit, RGB(10, 20, 30));
    TestCanvas dst(2, 1, PixelFormat::pf32bit);
    std::fill_n(dst.Bits().Bits(), 8, BYTE(0xAB));
    BitBlt(dst, 0, 0, 2, 1, src, 0, 0, SRCCOPY);
    const BYTE* p = dst.Bits().ScanLine(0);
    EXPECT_EQ(p[0], 30);
    EXPECT_EQ(p[1], 20);
    EXPECT_EQ(p[2], 10);
    EXPECT_EQ(p[3], 0);
}

TEST(BitBlt, ConvertsThirtyTwoToTwentyFourDroppingAlpha) {
    TestCanvas src(3, 1, PixelFormat::pf32bit);
    BYTE* s = src.Bits().ScanLine(0);
    for (int i = 0; i < 3; ++i) {
        s[i * 4 + 0] = 1;
        s[i * 4 + 1] = 2;
        s[i * 4 + 2] = 3;
        s[i * 4 + 3] = 200;
    }
    TestCanvas dst(3, 1, PixelFormat::pf24bit);
    BitBlt(dst, 0, 0, 3, 1, src, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.Count(RGB(3, 2, 1)), 3);
}

TEST(BitBlt, ThirtyTwoToThirtyTwoKeepsAlpha) {
    TestCanvas src(1, 1, PixelFormat::pf32bit);
    src.Bits().ScanLine(0)[3] = 77;
    TestCanvas dst(1, 1, PixelFormat::pf32bit);
    BitBlt(dst, 0, 0, 1, 1, src, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.Bits().ScanLine(0)[3], 77);
}

struct RopCase {
    DWORD Rop;
    COLORREF Expected;   // source 0x0F0F0F (as RGB 0x0F), destination 0x33, brush 0x55
};

class BitBltRop : public ::testing::TestWithParam<RopCase> { };

TEST_P(BitBltRop, CombinesSourcePatternAndDestination) {
    TestCanvas src(1, 1, PixelFormat::pf24bit, RGB(0x0F, 0x0F, 0x0F));
    TestCanvas dst(1, 1, PixelFormat::pf24bit, RGB(0x33, 0x33, 0x33));
    HBRUSH brush = CreateSolidBrush(RGB(0x55, 0x55, 0x55));
    SelectObject(dst, brush);
    EXPECT_TRUE(BitBlt(dst, 0, 0, 1, 1, src, 0, 0, GetParam().Rop));
    EXPECT_EQ(dst.At(0, 0), GetParam().Expected);
    SelectObject(dst, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DeleteObject(brush);
}

constexpr COLORREF Grey(int v) {
    return RGB(v, v, v);
}

INSTANTIATE_TEST_SUITE_P(Rops, BitBltRop,
    ::testing::Values(RopCase {SRCCOPY, Grey(0x0F)}, RopCase {SRCINVERT, Grey(0x0F ^ 0x33)},
        RopCase {SRCAND, Grey(0x0F & 0x33)}, RopCase {SRCPAINT, Grey(0x0F | 0x33)}, RopCase {NOTSRCCOPY, Grey(0xF0)},
        RopCase {SRCERASE, Grey(0x0F & 0xCC)}, RopCase {MERGEPAINT, Grey(0xF0 | 0x33)}, RopCase {PATCOPY, Grey(0x55)},
        RopCase {PATINVERT, Grey(0x55 ^ 0x33)}, RopCase {DSTINVERT, Grey(0xCC)}, RopCase {BLACKNESS, Grey(0)},
        RopCase {WHITENESS, Grey(0xFF)}, RopCase {MERGECOPY, Grey(0x0F & 0x55)}));

TEST(BitBlt, DegenerateInputDoesNothing) {
    TestCanvas src(4, 4, PixelFormat::pf24bit, Black);
    TestCanvas dst(4, 4);
    EXPECT_FALSE(BitBlt(dst, 0, 0, 0, 4, src, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(dst, 0, 0, -4, 4, src, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(dst, 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(nullptr, 0, 0, 4, 4, src, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(dst, 100, 100, 4, 4, src, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(dst, 0, 0, 4, 4, src, 100, 100, SRCCOPY));
    EXPECT_EQ(dst.Count(White), 16);
    EXPECT_TRUE(BitBlt(dst, 0, 0, 1, 1, nullptr, 0, 0, BLACKNESS));   // no source needed
    EXPECT_EQ(dst.At(0, 0), Black);
}

TEST(StretchBlt, OneToOneIsAPlainCopy) {
    TestCanvas src(6, 6);
    PaintCoordinates(src);
    TestCanvas dst(6, 6);
    StretchBlt(dst, 0, 0, 6, 6, src, 0, 0, 6, 6, SRCCOPY);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(dst.At(x, y), RGB(x, y, 7));
}

TEST(StretchBlt, DoublingRepeatsEveryPixelTwice) {
    TestCanvas src(4, 4, PixelFormat::pf32bit);
    PaintCoordinates(src);
    TestCanvas dst(8, 8, PixelFormat::pf24bit);
    StretchBlt(dst, 0, 0, 8, 8, src, 0, 0, 4, 4, SRCCOPY);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(dst.At(x, y), RGB(x / 2, y / 2, 7)) << x << "," << y;
}

TEST(StretchBlt, HalvingTakesOnePixelOfEachPair) {
    TestCanvas src(8, 8);
    PaintCoordinates(src);
    TestCanvas dst(4, 4);
    StretchBlt(dst, 0, 0, 4, 4, src, 0, 0, 8, 8, SRCCOPY);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const COLORREF c = dst.At(x, y);
            ASSERT_TRUE(GetRValue(c) / 2 == x && GetGValue(c) / 2 == y) << x << "," << y;
        }
}

TEST(StretchBlt, NegativeWidthMirrors) {
    TestCanvas src(4, 1);
    PaintCoordinates(src);
    TestCanvas dst(4, 1);
    StretchBlt(dst, 3, 0, -4, 1, src, 0, 0, 4, 1, SRCCOPY);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(GetRValue(dst.At(x, 0)), 3 - x);
}

TEST(StretchBlt, ClipsAtEveryEdgeAndWithinOneSurface) {
    TestCanvas canvas(8, 8);
    PaintCoordinates(canvas);
    EXPECT_TRUE(StretchBlt(canvas, -4, -4, 16, 16, canvas, 0, 0, 8, 8, SRCCOPY));
    EXPECT_EQ(canvas.At(0, 0), RGB(2, 2, 7));
    EXPECT_EQ(canvas.At(7, 7), RGB(5, 5, 7));
    EXPECT_FALSE(StretchBlt(canvas, 0, 0, 4, 4, canvas, 0, 0, 0, 4, SRCCOPY));
}

TEST(AlphaBlend, ConstantAlphaMixesSourceAndDestination) {
    TestCanvas src(2, 2, PixelFormat::pf24bit, RGB(255, 0, 0));
    TestCanvas dst(2, 2, PixelFormat::pf32bit, RGB(0, 0, 255));
    BLENDFUNCTION blend {AC_SRC_OVER, 0, 128, 0};
    EXPECT_TRUE(AlphaBlend(dst, 0, 0, 2, 2, src, 0, 0, 2, 2, blend));
    EXPECT_EQ(dst.At(1, 1), RGB(128, 0, 127));
}

TEST(AlphaBlend, PremultipliedPerPixelAlpha) {
    TestCanvas src(3, 1, PixelFormat::pf32bit);
    BYTE* s = src.Bits().ScanLine(0);
    const BYTE pixels[3][4] = {{0, 0, 0, 0}, {0, 0, 255, 255}, {0, 0, 64, 128}};   // clear, opaque red, half red
    for (int i = 0; i < 3; ++i)
        std::copy(pixels[i], pixels[i] + 4, s + i * 4);
    TestCanvas dst(3, 1, PixelFormat::pf24bit, RGB(0, 200, 0));
    BLENDFUNCTION blend {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dst, 0, 0, 3, 1, src, 0, 0, 3, 1, blend);
    EXPECT_EQ(dst.At(0, 0), RGB(0, 200, 0));
    EXPECT_EQ(dst.At(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(dst.At(2, 0), RGB(64, 100, 0));
}

TEST(AlphaBlend, RefusesNegativeSizes) {
    TestCanvas src(2, 2);
    TestCanvas dst(2, 2);
    BLENDFUNCTION blend {};
    EXPECT_FALSE(AlphaBlend(dst, 0, 0, -2, 2, src, 0, 0, 2, 2, blend));
}

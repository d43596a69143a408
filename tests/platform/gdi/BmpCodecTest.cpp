// Tests of the BMP codec: round trips, every depth and header built in code, RLE, hostile headers.
#include "platform/gdi/BmpCodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <unistd.h>

namespace korvex::gdi {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void Set32(Bytes& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = std::uint8_t(v >> (8 * i));
}

// A BMP file put together field by field. Rows are given in file order with their padding.
struct BmpFile {
    std::uint32_t HeaderSize = 40;
    std::int32_t Width = 1;
    std::int32_t Height = 1;
    int Bits = 24;
    std::uint32_t Compression = 0;
    std::uint32_t ColorsUsed = 0;
    std::vector<std::uint32_t> Palette;   // 0x00RRGGBB
    std::vector<std::uint32_t> Masks;   // after a 40-byte header, or inside a V4/V5 header
    Bytes Pixels;

    Bytes Build() const {
        Bytes info;
        if (HeaderSize == 12) {
            Put32(info, 12);
            Put16(info, std::uint32_t(Width));
            Put16(info, std::uint32_t(Height));
            Put16(info, 1);
            Put16(info, std::uint32_t(Bits));
        } else {
            Put32(info, HeaderSize);
            Put32(info, std::uint32_t(Width));
            Put32(info, std::uint32_t(Height));
            Put16(info, 1);
            Put16(info, std::uint32_t(Bits));
            Put32(info, Compression);
            Put32(info, std::uint32_t(Pixels.size()));
            Put32(info, 3780);
            Put32(info, 3780);
            Put32(info, ColorsUsed);
            Put32(info, 0);
            if (HeaderSize > 40) {
                for (std::size_t i = 0; i < 4; ++i)
                    Put32(info, i < Masks.size() ? Masks[i] : 0);
                info.resize(HeaderSize, 0);
            } else {
                for (std::uint32_t mask : Masks)
                    Put32(info, mask);
            }
        }
        for (std::uint32_t color : Palette) {
            info.push_back(std::uint8_t(color));
            info.push_back(std::uint8_t(color >> 8));
            info.push_back(std::uint8_t(color >> 16));
            if (HeaderSize != 12) info.push_back(0);
        }
        Bytes file {'B', 'M'};
        Put32(file, std::uint32_t(14 + info.size() + Pixels.size()));
        Put32(file, 0);
        Put32(file, std::uint32_t(14 + info.size()));
        file.insert(file.end(), info.begin(), info.end());
        file.insert(file.end(), Pixels.begin(), Pixels.end());
        return file;
    }
};

ImageResult Read(const Bytes& bytes) {
    return ReadBmp(bytes);
}

GdiHandle<Bitmap> Pattern(int width, int height, PixelFormat format) {
    GdiHandle<Bitmap> bitmap(Bitmap::Create(width, height, format));
    for (int y = 0; y < height; ++y) {
        BYTE* row = bitmap.Get()->ScanLine(y);
        for (int i = 0; i < width * bitmap.Get()->BytesPerPixel(); ++i)
            row[i] = BYTE(y * 31 + i * 7 + 1);
    }
    return bitmap;
}

class BmpRoundTrip : public testing::TestWithParam<std::tuple<PixelFormat, int, int>> { };

TEST_P(BmpRoundTrip, GivesBackEveryByte) {
    auto [format, width, height] = GetParam();
    auto original = Pattern(width, height, format);
    Bytes file = WriteBmp(*original);
    ASSERT_FALSE(file.empty());
    ImageResult back = ReadBmp(file);
    ASSERT_TRUE(back) << back.Error;
    EXPECT_EQ(back.Image.Get()->Format(), format);
    ASSERT_EQ(back.Image.Get()->Width(), width);
    ASSERT_EQ(back.Image.Get()->Height(), height);
    for (int y = 0; y < height; ++y)
        EXPECT_EQ(0,
            std::memcmp(
                back.Image.Get()->ScanLine(y), original.Get()->ScanLine(y), width * original.Get()->BytesPerPixel()))
            << "row " << y;
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpRoundTrip,
    testing::Combine(testing::Values(PixelFormat::pf24bit, PixelFormat::pf32bit), testing::Values(1, 3, 5, 8),
        testing::Values(1, 4)));

TEST(BmpWrite, WritesABottomUpInfoHeaderFile) {
    auto bitmap = Pattern(3, 2, PixelFormat::pf24bit);
    Bytes file = WriteBmp(*bitmap);
    ASSERT_EQ(file.size(), 14u + 40u + 2u * 12u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[10], 54);   // pixel offset
    EXPECT_EQ(file[22], 2);   // positive height: bottom-up
    EXPECT_EQ(file[28], 24);
    EXPECT_EQ(file[54], bitmap.Get()->ScanLine(1)[0]);   // the bottom row comes first
}

TEST(BmpWrite, RefusesAnEmptyBitmap) {
    GdiHandle<Bitmap> empty(Bitmap::Create(0, 0, PixelFormat::pf24bit));
    EXPECT_TRUE(WriteBmp(*empty).empty());
    std::string error;
    EXPECT_FALSE(WriteBmpFile(*empty, "/nonexistent/x.bmp", &error));
    EXPECT_FALSE(error.empty());
}

TEST(BmpRead, OneBitUsesThePaletteAndCountsRowsFromTheBottom) {
    BmpFile f;
    f.Width = 10;
    f.Height = 2;
    f.Bits = 1;
    f.Palette = {0x000000, 0x00FF8040};
    f.Pixels = {0b10100000, 0b01000000, 0, 0,   // bottom row: pixels 0, 2 and 9 set
        0b00000001, 0b11000000, 0, 0};   // top row: pixels 7, 8 and 9 set
    ImageResult r = Read(f.Build());
    ASSERT_TRUE(r) << r.Error;
    EXPECT_EQ(r.Image.Get()->Format(), PixelFormat::pf24bit);
    EXPECT_EQ(r.Image.Get()->PixelAt(0, 1), RGB(0xFF, 0x80, 0x40));
    EXPECT_EQ(r.Image.Get()->PixelAt(1, 1), RGB(0, 0, 0));
    EXPECT_EQ(r.Image.Get()->PixelAt(2, 1), RGB(0xFF, 0x80, 0x40));
    EXPECT_EQ(r.Image.Get()->PixelAt(9, 1), RGB(0xFF, 0x80, 0x40));
    EXPECT_EQ(r.Image.Get()->PixelAt(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(r.Image.Get()->PixelAt(7, 0), RGB(0xFF, 0x80, 0x40));
    EXPECT_EQ(r.Image.Get()->PixelAt(8, 0), RGB(0xFF, 0x80, 0x40));
}

TEST(BmpRead, FourBitTakesTheHighNibbleFirst) {
    BmpFile f;
    f.Width = 3;
    f.Height = 1;
    f.Bits = 4;
    for (std::uint32_t i = 0; i < 16; ++i)
        f.Palette.push_back(i * 0x111111);
    f.Pixels = {0x1F, 0x70, 0, 0};
    ImageResult r = Read(f.Build());
    ASSERT_TRUE(r) << r.Error;
    EXPECT_EQ(r.Image.Get()->PixelAt(0, 0), RGB(0x11, 0x11, 0x11));
    EXPECT_EQ(r.Image.Get()->PixelAt(1, 0), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(r.Image.Get()->PixelAt(2, 0), RGB(0x77, 0x77, 0x77));
}

TEST(BmpRead, EightBitIndexesPastAShortPaletteAreBlack) {
    BmpFile f;
    f.Width = 3;
    f.Height = 1;
    f.Bits = 8;
    f.ColorsUsed = 2;
    f.Palette = {0x00102030, 0x00405060};
    f.Pixels = {1, 0, 200, 0};
    ImageResult r = Read(f.Build());
    ASSERT_TRUE(r) << r.Error;
    EXPECT_EQ(r.Image.Get()->PixelAt(0, 0), RGB(0x40, 0x50, 0x60));
    EXPECT_EQ(r.Image.Get()->PixelAt(1, 0), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(r.Image.Get()->PixelAt(2, 0), RGB(0, 0, 0));
}

TEST(BmpRead, SixteenBitsWithoutMasksAre555) {
    BmpFile f;
    f.Width = 4;
    f.Height = 1;
    f.Bits = 16;
    f.Pixels = {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x10, 0x42};
    ImageResult r = Read(f.Build());
    ASSERT_TRUE(r) << r.Error;
    EXPECT_EQ(r.Image.Get()->PixelAt(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(r.Image.Get()->PixelAt(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(r.Image.Get()->PixelAt(2, 0), RGB(0, 0, 255));
    EXPECT_EQ(r.Image.Get()->PixelAt(3, 0), RGB(132, 132, 132));
}

TEST(BmpRead, SixteenBitsWithBitFieldsAre565) {
    BmpFile f;
    f.Width = 3;
    f.Height = 1;
    f.Bits = 16;
    f.Compression = 3;
    f.Masks = {0xF800, 0x07E0, 0x001F};
    f.Pixels = {0x00, 0xF8, 0xE0, 0x07, 0x20, 0x00, 0, 0};
    ImageResult r = Read(f.Build());
    ASSERT_TRUE(r) << r.Error;
    EXPECT_EQ(r.Image.Get()->PixelAt(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(r.Image.Get()->PixelAt(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(r.Image.Get()->PixelAt(2, 0), RGB(0, 4, 0));   // one step of six green bits
}

TEST(BmpRead, ThirtyTwoBitsWithAnAlphaMaskInAV5HeaderKeepAlpha) {
    BmpFile f;
    f.HeaderSize = 124;
    f.Width = 2;
    f.Height = 1;
    f.Bits = 32;
    f.Compression = 3;
    f.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};   // R, G, B, A from the low byte up
    f.Pixels = {0x10, 0x20, 0x30, 0x80, 0xFF, 0x00, 0x00, 0xFF};
    ImageResult r = Read(f.Build());
    ASSERT_TRUE(r) << r.Error;
    ASSERT_EQ(r.Image.Get()->Format(), PixelFormat::pf32bit);
    const BYTE* p = r.Image.Get()->ScanLine(0);
    EXPECT_EQ(p[0], 0x30);   // blue
    EXPECT_EQ(p[1], 0x20);
    EXPECT_EQ(p[2], 0x10);   // red
    EXPECT_EQ(p[3], 0x80);   // alpha
    EXPECT_EQ(r.Image.Get()->PixelAt(1, 0), RGB(255, 0, 0));
}

TEST(BmpRead, V4HeaderWithPlainRgbIgnoresItsMasks) {
    BmpFile f;
    f.HeaderSize = 108;
    f.Width = 1;
    f.Height = 1;
    f.Bits = 24;
    f.Masks = {0xFF, 0xFF00, 0xFF0000, 0};
    f.Pixels = {0x01, 0x02, 0x03, 0};
    ImageResult r = Read(f.Build());
    ASSERT_TRUE(r) << r.Error;
    EXPECT_EQ(r.Image.Get()->PixelAt(0, 0), RGB(3, 2, 1));
}

TEST(BmpRead, TopDownAndBottomUpGiveTheSamePicture) {
    BmpFile bottomUp;
    bottomUp.Width = 1;
    bottomUp.Height = 2;
    bottomUp.Pixels = {0, 0, 255, 0, 255, 0, 0, 0};   // bottom red, top blue
    BmpFile topDown = bottomUp;
    topDown.Height = -2;
    topDown.Pixels = {255, 0, 0, 0, 0, 0, 255, 0};   // top blue, bottom red
    ImageResult a = Read(bottomUp.Build());
    ImageResult b = Read(topDown.Build());
    ASSERT_TRUE(a && b);
    for (int y = 0; y < 2; ++y)
        EXPECT_EQ(a.Image.Get()->PixelAt(0, y), b.Image.Get()->PixelAt(0, y));
    EXPECT_EQ(a.Image.Get()->PixelAt(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(a.Image.Get()->PixelAt(0, 1), RGB(255, 0, 0));
}

TEST(BmpRead, Os2CoreHeaderHasThreeBytePaletteEntries) {
    BmpFile f;
    f.HeaderSize = 12;
    f.Width = 2;
    f.Height = 1;
    f.Bits = 8;
    for (std::uint32_t i = 0; i < 256; ++i)
        f.Palette.push_back(i == 5 ? 0x00ABCDEF : 0);
    f.Pixels = {5, 0, 0, 0};
    ImageResult r = Read(f.Build());
    ASSERT_TRUE(r) << r.Error;
    EXPECT_EQ(r.Image.Get()->PixelAt(0, 0), RGB(0xAB, 0xCD, 0xEF));
    EXPECT_EQ(r.Image.Get()->PixelAt(1, 0), RGB(0, 0, 0));
}

TEST(BmpRead, Rle8RunsAbsoluteRunsDeltasAndLineEnds) {
    BmpFile f;
    f.Width = 6;
    f.Height = 3;
    f.Bits = 8;
    f.Compression = 1;
    f.ColorsUsed = 4;
    f.Palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    f.Pixels = {3, 1, 0, 3, 2, 3, 2, 0,   // bottom: 1 1 1 2 3 2, absolute run padded to even
        0, 0,   // end of line
        0, 2, 2, 1,   // delta to x 2 of the top row
        2, 3, 0, 1};   // two 3s, end of bitmap
    ImageResult r = Read(f.Build());
    ASSERT_TRUE(r) << r.Error;
    EXPECT_EQ(r.Image.Get()->PixelAt(0, 2), RGB(255, 0, 0));
    EXPECT_EQ(r.Image.Get()->PixelAt(2, 2), RGB(255, 0, 0));
    EXPECT_EQ(r.Image.Get()->PixelAt(3, 2), RGB(0, 255, 0));
    EXPECT_EQ(r.Image.Get()->PixelAt(4, 2), RGB(0, 0, 255));
    EXPECT_EQ(r.Image.Get()->PixelAt(5, 2), RGB(0, 255, 0));
    EXPECT_EQ(r.Image.Get()->PixelAt(0, 1), RGB(0, 0, 0));   // skipped by the delta
    EXPECT_EQ(r.Image.Get()->PixelAt(2, 0), RGB(0, 0, 255));
    EXPECT_EQ(r.Image.Get()->PixelAt(3, 0), RGB(0, 0, 255));
    EXPECT_EQ(r.Image.Get()->PixelAt(4, 0), RGB(0, 0, 0));
}

TEST(BmpRead, Rle4AlternatesNibbles) {
    BmpFile f;
    f.Width = 5;
    f.Height = 1;
    f.Bits = 4;
    f.Compression = 2;
    for (std::uint32_t i = 0; i < 16; ++i)
        f.Palette.push_back(i * 0x101010);
    f.Pixels = {3, 0x12, 0, 3, 0x45, 0x60, 0, 1};   // 1 2 1, then absolute 4 5 6
    ImageResult r = Read(f.Build());
    ASSERT_TRUE(r) << r.Error;
    const int expected[] = {1, 2, 1, 4, 5};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(r.Image.Get()->PixelAt(x, 0), COLORREF(expected[x] * 0x101010)) << x;
}

TEST(BmpRead, RunsPastTheRightEdgeAreClipped) {
    BmpFile f;
    f.Width = 2;
    f.Height = 1;
    f.Bits = 8;
    f.Compression = 1;
    f.ColorsUsed = 2;
    f.Palette = {0, 0xFFFFFF};
    for (int i = 0; i < 1000; ++i) {   // a line that never ends
        f.Pixels.push_back(255);
        f.Pixels.push_back(1);
    }
    f.Pixels.insert(f.Pixels.end(), {0, 1});
    ImageResult r = Read(f.Build());
    ASSERT_TRUE(r) << r.Error;
    EXPECT_EQ(r.Image.Get()->PixelAt(1, 0), RGB(255, 255, 255));
}

struct HostileCase {
    const char* Name;
    std::function<Bytes()> Make;
};

BmpFile Small() {
    BmpFile f;
    f.Width = 2;
    f.Height = 2;
    f.Pixels.assign(16, 0x55);
    return f;
}

std::vector<HostileCase> HostileFiles() {
    return {
        {"empty", [] { return Bytes {}; }},
        {"signature only",
            [] {
                return Bytes {'B', 'M'};
            }},
        {"wrong signature",
            [] {
                Bytes b = Small().Build();
                b[0] = 'P';
                return b;
            }},
        {"header cut short",
            [] {
                Bytes b = Small().Build();
                b.resize(30);
                return b;
            }},
        {"unknown header size",
            [] {
                Bytes b = Small().Build();
                Set32(b, 14, 20);
                return b;
            }},
        {"zero width",
            [] {
                BmpFile f = Small();
                f.Width = 0;
                return f.Build();
            }},
        {"zero height",
            [] {
                BmpFile f = Small();
                f.Height = 0;
                return f.Build();
            }},
        {"negative width",
            [] {
                BmpFile f = Small();
                f.Width = -2;
                return f.Build();
            }},
        {"most negative height",
            [] {
                BmpFile f = Small();
                f.Height = INT32_MIN;
                return f.Build();
            }},
        {"side over the limit",
            [] {
                BmpFile f = Small();
                f.Width = 40000;
                return f.Build();
            }},
        {"over 256 MB",
            [] {
                BmpFile f = Small();
                f.Width = 30000;
                f.Height = 30000;
                return f.Build();
            }},
        {"pixels one byte short",
            [] {
                Bytes b = Small().Build();
                b.pop_back();
                return b;
            }},
        {"offset past the end",
            [] {
                Bytes b = Small().Build();
                Set32(b, 10, 100000);
                return b;
            }},
        {"offset inside the header",
            [] {
                Bytes b = Small().Build();
                Set32(b, 10, 20);
                return b;
            }},
        {"palette larger than the depth",
            [] {
                BmpFile f = Small();
                f.Bits = 8;
                f.ColorsUsed = 300;
                f.Palette.assign(300, 0);
                return f.Build();
            }},
        {"palette past the end",
            [] {
                BmpFile f = Small();
                f.Bits = 8;
                f.ColorsUsed = 200;
                Bytes b = f.Build();
                b.resize(14 + 40 + 100);
                return b;
            }},
        {"bit count 7",
            [] {
                BmpFile f = Small();
                f.Bits = 7;
                return f.Build();
            }},
        {"JPEG compression",
            [] {
                BmpFile f = Small();
                f.Compression = 4;
                return f.Build();
            }},
        {"RLE for 24 bits",
            [] {
                BmpFile f = Small();
                f.Compression = 1;
                return f.Build();
            }},
        {"top-down RLE",
            [] {
                BmpFile f;
                f.Bits = 8;
                f.Height = -1;
                f.Compression = 1;
                f.Palette = {0};
                f.ColorsUsed = 1;
                f.Pixels = {1, 0, 0, 1};
                return f.Build();
            }},
        {"RLE without its end",
            [] {
                BmpFile f;
                f.Bits = 8;
                f.Compression = 1;
                f.Palette = {0};
                f.ColorsUsed = 1;
                f.Pixels = {1, 0, 0};
                return f.Build();
            }},
        {"RLE absolute run past the end",
            [] {
                BmpFile f;
                f.Bits = 8;
                f.Compression = 1;
                f.Palette = {0};
                f.ColorsUsed = 1;
                f.Pixels = {0, 200, 1, 2};
                return f.Build();
            }},
        {"RLE of 192 bytes declaring 9000 x 9000",
            [] {
                BmpFile f;
                f.Bits = 8;
                f.Compression = 1;
                f.Width = 9000;
                f.Height = 9000;
                f.Palette = {0};
                f.ColorsUsed = 1;
                for (int i = 0; i < 68; ++i)
                    f.Pixels.insert(f.Pixels.end(), {0, 0});   // line ends
                f.Pixels.insert(f.Pixels.end(), {0, 1});
                return f.Build();
            }},
        {"RLE of 192 bytes declaring 9000 x 9000 without its end",
            [] {
                BmpFile f;
                f.Bits = 4;
                f.Compression = 2;
                f.Width = 9000;
                f.Height = 9000;
                f.Palette = {0};
                f.ColorsUsed = 1;
                f.Pixels.assign(138, 0);
                return f.Build();
            }},
        {"bit-field masks missing",
            [] {
                BmpFile f = Small();
                f.Bits = 16;
                f.Compression = 3;
                Bytes b = f.Build();
                b.resize(14 + 40 + 4);
                Set32(b, 10, 14 + 40);
                return b;
            }},
    };
}

TEST(BmpRead, RefusesHostileFilesWithAMessage) {
    for (const HostileCase& c : HostileFiles()) {
        ImageResult r = ReadBmp(c.Make());
        EXPECT_FALSE(r) << c.Name;
        EXPECT_EQ(r.Error.rfind("BMP: ", 0), 0u) << c.Name << ": " << r.Error;
    }
}

TEST(BmpRead, AnRleStreamIsMeasuredAgainstTheSizeItDeclaresBeforeThePictureIsMade) {
    struct Case {
        int Width;
        int Height;
        std::size_t Runs;   // full encoded runs of 255 pixels before the end mark
        bool Read;
    };
    // Up to 255 pixels a two-byte run; small pictures pass whatever their stream.
    const Case cases[] = {
        {256, 256, 0, true},   // only the end mark
        {257, 256, 0, false},
        {1000, 1000, 3921, true},   // 3921 runs + end mark: 7844 bytes, up to 1000110 pixels
        {1000, 1000, 3900, false},
        {8000, 8000, 0, false},
    };
    for (const Case& c : cases) {
        BmpFile f;
        f.Bits = 8;
        f.Compression = 1;
        f.Width = c.Width;
        f.Height = c.Height;
        f.Palette = {0, 0xFFFFFF};
        f.ColorsUsed = 2;
        for (std::size_t i = 0; i < c.Runs; ++i)
            f.Pixels.insert(f.Pixels.end(), {255, 1});
        f.Pixels.insert(f.Pixels.end(), {0, 1});
        ImageResult r = ReadBmp(f.Build());
        EXPECT_EQ(bool(r), c.Read) << c.Width << " x " << c.Height << ": " << r.Error;
        if (!c.Read) {
            EXPECT_NE(r.Error.find("cannot fill"), std::string::npos) << r.Error;
        }
    }
}

TEST(BmpRead, EveryTruncationOfAValidFileIsRefusedWithoutReadingPastIt) {
    BmpFile f;
    f.Width = 5;
    f.Height = 3;
    f.Bits = 4;
    f.Palette.assign(16, 0x123456);
    f.Pixels.assign(12, 0x12);
    Bytes full = f.Build();
    ASSERT_TRUE(ReadBmp(full));
    for (std::size_t size = 0; size < full.size(); ++size) {
        Bytes cut(full.begin(), full.begin() + std::ptrdiff_t(size));   // exact size, so ASan sees overreads
        EXPECT_FALSE(ReadBmp(cut)) << size;
    }
}

TEST(BmpRead, RandomlyDamagedHeadersNeverCrash) {
    std::mt19937 random(4711);
    BmpFile f;
    f.Width = 7;
    f.Height = 5;
    f.Bits = 8;
    f.Palette.assign(256, 0x808080);
    f.Pixels.assign(40, 3);
    const Bytes valid = f.Build();
    for (int round = 0; round < 2000; ++round) {
        Bytes damaged = valid;
        int flips = 1 + int(random() % 4);
        for (int i = 0; i < flips; ++i)
            damaged[random() % 60] = std::uint8_t(random());
        ImageResult r = ReadBmp(damaged);
        EXPECT_TRUE(r || !r.Error.empty());
    }
}

TEST(BmpFileIo, WritesAndReadsBackAFile) {
    auto path = std::filesystem::temp_directory_path() / ("korvex-bmp-" + std::to_string(::getpid()) + ".bmp");
    auto bitmap = Pattern(9, 4, PixelFormat::pf24bit);
    std::string error;
    ASSERT_TRUE(WriteBmpFile(*bitmap, path.string(), &error)) << error;
    ImageResult r = ReadBmpFile(path.string());
    ASSERT_TRUE(r) << r.Error;
    EXPECT_EQ(r.Image.Get()->PixelAt(8, 3), bitmap.Get()->PixelAt(8, 3));
    std::filesystem::remove(path);
}

TEST(BmpFileIo, AMissingFileIsRefusedNamingIt) {
    ImageResult r = ReadBmpFile("/nonexistent/folder/Master.bmp");
    EXPECT_FALSE(r);
    EXPECT_NE(r.Error.find("/nonexistent/folder/Master.bmp"), std::string::npos);
}

}
}

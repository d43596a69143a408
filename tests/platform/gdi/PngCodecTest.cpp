// Tests of the PNG codec: round trips with and without alpha, palette input, damaged files.
#include "platform/gdi/PngCodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <unistd.h>

#include <png.h>

namespace korvex::gdi {
namespace {

using Bytes = std::vector<std::uint8_t>;

GdiHandle<Bitmap> PngPattern(int width, int height, PixelFormat format) {
    GdiHandle<Bitmap> bitmap(Bitmap::Create(width, height, format));
    for (int y = 0; y < height; ++y) {
        BYTE* row = bitmap.Get()->ScanLine(y);
        for (int i = 0; i < width * bitmap.Get()->BytesPerPixel(); ++i)
            row[i] = BYTE(y * 29 + i * 13 + 5);
    }
    return bitmap;
}

// A 2-bit palette PNG with one transparent entry, written with libpng directly.
Bytes PalettePng() {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t length) {
            auto* sink = static_cast<Bytes*>(png_get_io_ptr(p));
            sink->insert(sink->end(), data, data + length);
        },
        nullptr);
    png_set_IHDR(png, info, 4, 1, 2, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    png_color palette[3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    png_set_PLTE(png, info, palette, 3);
    png_byte alpha[1] = {0};   // entry 0 fully transparent
    png_set_tRNS(png, info, alpha, 1, nullptr);
    png_write_info(png, info);
    png_byte row[1] = {0b00011000};   // indexes 0 1 2 0
    png_write_row(png, row);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

TEST(PngRoundTrip, TwentyFourBitsComeBackExactly) {
    auto original = PngPattern(13, 7, PixelFormat::pf24bit);
    Bytes file = WritePng(*original);
    ASSERT_FALSE(file.empty());
    ImageResult r = ReadPng(file);
    ASSERT_TRUE(r) << r.Error;
    Bitmap& image = *r.Image.Get();
    EXPECT_EQ(image.Format(), PixelFormat::pf24bit);
    ASSERT_EQ(image.Width(), 13);
    ASSERT_EQ(image.Height(), 7);
    for (int y = 0; y < 7; ++y)
        EXPECT_EQ(0, std::memcmp(image.ScanLine(y), original.Get()->ScanLine(y), 13 * 3));
}

TEST(PngRoundTrip, ThirtyTwoBitsKeepAlphaWhenAsked) {
    auto original = PngPattern(5, 3, PixelFormat::pf32bit);
    ImageResult r = ReadPng(WritePng(*original, PngAlpha::Keep));
    ASSERT_TRUE(r) << r.Error;
    EXPECT_EQ(r.Image.Get()->Format(), PixelFormat::pf32bit);
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(0, std::memcmp(r.Image.Get()->ScanLine(y), original.Get()->ScanLine(y), 20));
}

TEST(PngRoundTrip, ThirtyTwoBitsDropTheFourthByteByDefault) {
    auto original = PngPattern(5, 3, PixelFormat::pf32bit);
    ImageResult r = ReadPng(WritePng(*original));
    ASSERT_TRUE(r) << r.Error;
    EXPECT_EQ(r.Image.Get()->Format(), PixelFormat::pf24bit);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(r.Image.Get()->PixelAt(x, y), original.Get()->PixelAt(x, y));
}

TEST(PngRead, PaletteWithTransparencyGivesAlpha) {
    ImageResult r = ReadPng(PalettePng());
    ASSERT_TRUE(r) << r.Error;
    Bitmap& image = *r.Image.Get();
    ASSERT_EQ(image.Format(), PixelFormat::pf32bit);
    EXPECT_EQ(image.ScanLine(0)[3], 0);   // transparent red
    EXPECT_EQ(image.ScanLine(0)[4 + 3], 255);   // opaque green
    EXPECT_EQ(image.PixelAt(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(image.PixelAt(2, 0), RGB(0, 0, 255));
}

TEST(PngRead, RefusesDamagedFiles) {
    Bytes valid = WritePng(*PngPattern(20, 20, PixelFormat::pf24bit));
    Bytes badCrc = valid;
    badCrc[29] ^= 0xFF;   // inside the IHDR chunk, so its checksum fails
    Bytes badSignature = valid;
    badSignature[1] = 'Q';
    const std::pair<const char*, Bytes> cases[] = {
        {"empty", {}},
        {"signature only", Bytes(valid.begin(), valid.begin() + 8)},
        {"bad signature", badSignature},
        {"bad checksum", badCrc},
        {"cut in the data", Bytes(valid.begin(), valid.begin() + std::ptrdiff_t(valid.size() / 2))},
    };
    for (const auto& [name, bytes] : cases) {
        ImageResult r = ReadPng(bytes);
        EXPECT_FALSE(r) << name;
        EXPECT_EQ(r.Error.rfind("PNG: ", 0), 0u) << name << ": " << r.Error;
    }
    for (std::size_t size = 0; size < valid.size(); size += 5)
        EXPECT_FALSE(ReadPng(Bytes(valid.begin(), valid.begin() + std::ptrdiff_t(size)))) << size;
}

TEST(PngRead, RefusesOversizedDimensions) {
    Bytes file = WritePng(*PngPattern(2, 2, PixelFormat::pf24bit));
    // IHDR width at bytes 16..19; the checksum is then wrong too, either way it must be refused.
    file[16] = 0x00;
    file[17] = 0x01;
    file[18] = 0x00;
    file[19] = 0x00;
    EXPECT_FALSE(ReadPng(file));
}

// PNG's chunk checksum (CRC-32 of the type and data).
std::uint32_t ChunkCrc(const std::uint8_t* bytes, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

TEST(PngRead, RefusesASizeItsDataCannotFillBeforeAllocatingIt) {
    Bytes file = WritePng(*PngPattern(4, 4, PixelFormat::pf24bit));
    // IHDR (type at 12, data 16..28, checksum 29..32) made to say 8000 x 8000, its checksum made right.
    for (int at : {16, 20}) {
        file[std::size_t(at)] = 0x00;
        file[std::size_t(at) + 1] = 0x00;
        file[std::size_t(at) + 2] = 0x1F;
        file[std::size_t(at) + 3] = 0x40;
    }
    const std::uint32_t crc = ChunkCrc(file.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        file[29 + std::size_t(i)] = std::uint8_t(crc >> (24 - 8 * i));
    ImageResult r = ReadPng(file);
    EXPECT_FALSE(r);
    EXPECT_NE(r.Error.find("larger than its data"), std::string::npos) << r.Error;
    // A large plain picture whose data can fill it still reads.
    GdiHandle<Bitmap> plain(Bitmap::Create(3000, 2000, PixelFormat::pf24bit));
    plain.Get()->Fill(RGB(10, 20, 30));
    ImageResult back = ReadPng(WritePng(*plain.Get()));
    ASSERT_TRUE(back) << back.Error;
    EXPECT_EQ(back.Image.Get()->PixelAt(2999, 1999), RGB(10, 20, 30));
}

TEST(PngWrite, RefusesAnEmptyBitmap) {
    GdiHandle<Bitmap> empty(Bitmap::Create(0, 0, PixelFormat::pf32bit));
    std::string error;
    EXPECT_TRUE(WritePng(*empty, PngAlpha::Drop, &error).empty());
    EXPECT_FALSE(error.empty());
}

TEST(PngFileIo, WritesAndReadsBackAFile) {
    auto path = std::filesystem::temp_directory_path() / ("korvex-png-" + std::to_string(::getpid()) + ".png");
    auto bitmap = PngPattern(8, 8, PixelFormat::pf24bit);
    std::string error;
    ASSERT_TRUE(WritePngFile(*bitmap, path.string(), PngAlpha::Drop, &error)) << error;
    ImageResult r = ReadPngFile(path.string());
    ASSERT_TRUE(r) << r.Error;
    EXPECT_EQ(r.Image.Get()->PixelAt(7, 7), bitmap.Get()->PixelAt(7, 7));
    std::filesystem::remove(path);
    EXPECT_FALSE(WritePngFile(*bitmap, "/nonexistent/dir/x.png", PngAlpha::Drop, &error));
    EXPECT_NE(error.find("/nonexistent/dir/x.png"), std::string::npos);
}

}
}

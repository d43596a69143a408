// Tests of the JPEG codec: encode and decode round trips, grey and CMYK input, damaged and hostile files.
#include "platform/gdi/JpegCodec.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <unistd.h>

#include <jpeglib.h>

namespace korvex::gdi {
namespace {

using Bytes = std::vector<std::uint8_t>;

GdiHandle<Bitmap> Filled(int width, int height, COLORREF color, PixelFormat format = PixelFormat::pf24bit) {
    GdiHandle<Bitmap> bitmap(Bitmap::Create(width, height, format));
    bitmap.Get()->Fill(color);
    return bitmap;
}

// Where the frame header (FFC0) starts, 0 when there is none.
std::size_t FrameHeader(const Bytes& file) {
    for (std::size_t i = 0; i + 9 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == 0xC0) return i;
    return 0;
}

void ExpectNear(COLORREF actual, COLORREF expected, int tolerance, const std::string& where) {
    EXPECT_NEAR(GetRValue(actual), GetRValue(expected), tolerance) << where << " red";
    EXPECT_NEAR(GetGValue(actual), GetGValue(expected), tolerance) << where << " green";
    EXPECT_NEAR(GetBValue(actual), GetBValue(expected), tolerance) << where << " blue";
}

// A JPEG written with libjpeg directly: row(y) gives row y's samples, components interleaved per pixel; tune
// sets what differs from libjpeg's defaults.
Bytes EncodeRows(int width, int height, int components, J_COLOR_SPACE space,
    const std::function<const JSAMPLE*(int)>& row, const std::function<void(jpeg_compress_struct&)>& tune) {
    jpeg_compress_struct cinfo {};
    jpeg_error_mgr err {};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    tune(cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW line = const_cast<JSAMPROW>(row(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &line, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// A JPEG of other colour spaces. samples: components interleaved per pixel.
Bytes EncodeRaw(int width, int height, int components, J_COLOR_SPACE space, const Bytes& samples, bool adobe) {
    return EncodeRows(
        width, height, components, space,
        [&](int y) { return samples.data() + std::size_t(y) * std::size_t(width * components); },
        [&](jpeg_compress_struct& cinfo) {
            jpeg_set_colorspace(&cinfo, space);
            cinfo.write_Adobe_marker = adobe ? TRUE : FALSE;
            jpeg_set_quality(&cinfo, 95, TRUE);
        });
}

// A flat picture coded arithmetically (as libjpeg's own tools write with -arithmetic), optionally progressive.
Bytes EncodeFlatArithmetic(int width, int height, COLORREF color, bool progressive) {
    Bytes row;
    for (int x = 0; x < width; ++x)
        row.insert(row.end(), {GetRValue(color), GetGValue(color), GetBValue(color)});
    return EncodeRows(
        width, height, 3, JCS_RGB, [&](int) { return row.data(); },
        [&](jpeg_compress_struct& cinfo) {
            cinfo.arith_code = TRUE;
            if (progressive) jpeg_simple_progression(&cinfo);
        });
}

// Where the frame header of an arithmetic-coded file (FFC9 sequential, FFCA progressive) starts, 0 for none.
std::size_t ArithmeticFrameHeader(const Bytes& file) {
    for (std::size_t i = 0; i + 12 < file.size(); ++i)
        if (file[i] == 0xFF && (file[i + 1] == 0xC9 || file[i + 1] == 0xCA)) return i;
    return 0;
}

void SetFrameSize(Bytes& file, std::size_t sof, int width, int height) {
    file[sof + 5] = std::uint8_t(height >> 8);
    file[sof + 6] = std::uint8_t(height);
    file[sof + 7] = std::uint8_t(width >> 8);
    file[sof + 8] = std::uint8_t(width);
}

TEST(JpegRoundTrip, GivesTheSizeAndColourBack) {
    auto original = Filled(64, 48, RGB(200, 100, 50));
    Bytes file = WriteJpeg(*original, 95);
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file[0], 0xFF);
    EXPECT_EQ(file[1], 0xD8);
    ImageResult r = ReadJpeg(file);
    ASSERT_TRUE(r) << r.Error;
    Bitmap& image = *r.Image.Get();
    EXPECT_EQ(image.Width(), 64);
    EXPECT_EQ(image.Height(), 48);
    EXPECT_EQ(image.Format(), PixelFormat::pf24bit);
    for (auto [x, y] : {std::pair {0, 0}, {63, 47}, {31, 20}, {5, 40}})
        ExpectNear(image.PixelAt(x, y), RGB(200, 100, 50), 4, std::to_string(x) + "," + std::to_string(y));
}

TEST(JpegRoundTrip, KeepsBlueGreenRedOrder) {
    GdiHandle<Bitmap> halves(Bitmap::Create(32, 16, PixelFormat::pf32bit));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x)
            halves.Get()->SetPixelAt(x, y, x < 16 ? RGB(255, 0, 0) : RGB(0, 0, 255));
    ImageResult r = ReadJpeg(WriteJpeg(*halves, 95));
    ASSERT_TRUE(r) << r.Error;
    ExpectNear(r.Image.Get()->PixelAt(4, 8), RGB(255, 0, 0), 12, "left");
    ExpectNear(r.Image.Get()->PixelAt(28, 8), RGB(0, 0, 255), 12, "right");
    EXPECT_EQ(r.Image.Get()->ScanLine(8)[2 + 3 * 4] > 200, true);   // red is the third byte
}

TEST(JpegRoundTrip, OddSizesAndQualityExtremesWork) {
    auto bitmap = Filled(17, 3, RGB(10, 220, 30));
    for (int quality : {-5, 1, 50, 100, 400}) {
        std::string error;
        Bytes file = WriteJpeg(*bitmap, quality, &error);
        ASSERT_FALSE(file.empty()) << quality << ": " << error;
        ImageResult r = ReadJpeg(file);
        ASSERT_TRUE(r) << r.Error;
        EXPECT_EQ(r.Image.Get()->Width(), 17);
        EXPECT_EQ(r.Image.Get()->Height(), 3);
    }
    auto big = Filled(64, 64, RGB(10, 220, 30));
    EXPECT_GT(WriteJpeg(*big, 100).size(), WriteJpeg(*big, 10).size());
}

TEST(JpegRead, GreyscaleBecomesEqualChannels) {
    Bytes grey(8 * 8, 150);
    ImageResult r = ReadJpeg(EncodeRaw(8, 8, 1, JCS_GRAYSCALE, grey, false));
    ASSERT_TRUE(r) << r.Error;
    COLORREF c = r.Image.Get()->PixelAt(3, 3);
    EXPECT_NEAR(GetRValue(c), 150, 2);
    EXPECT_EQ(GetRValue(c), GetGValue(c));
    EXPECT_EQ(GetGValue(c), GetBValue(c));
}

TEST(JpegRead, CmykIsConvertedWithAndWithoutTheAdobeInversion) {
    // Plain CMYK: cyan ink full, others none -> (0, 255, 255).
    Bytes plain;
    for (int i = 0; i < 64; ++i)
        plain.insert(plain.end(), {255, 0, 0, 0});
    ImageResult a = ReadJpeg(EncodeRaw(8, 8, 4, JCS_CMYK, plain, false));
    ASSERT_TRUE(a) << a.Error;
    ExpectNear(a.Image.Get()->PixelAt(4, 4), RGB(0, 255, 255), 6, "plain");
    // Adobe files store every ink inverted: full cyan and no other ink are the samples 0, 255, 255, 255.
    Bytes inverted;
    for (int i = 0; i < 64; ++i)
        inverted.insert(inverted.end(), {0, 255, 255, 255});
    ImageResult b = ReadJpeg(EncodeRaw(8, 8, 4, JCS_CMYK, inverted, true));
    ASSERT_TRUE(b) << b.Error;
    ExpectNear(b.Image.Get()->PixelAt(4, 4), RGB(0, 255, 255), 6, "adobe");
}

TEST(JpegRead, RefusesDamagedDataWithoutEndingTheProcess) {
    auto bitmap = Filled(40, 40, RGB(1, 2, 3));
    Bytes valid = WriteJpeg(*bitmap, 80);
    ASSERT_FALSE(valid.empty());
    Bytes garbage(500);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = std::uint8_t(i * 37 + 11);
    Bytes headerOnly(valid.begin(), valid.begin() + 20);
    Bytes half(valid.begin(), valid.begin() + std::ptrdiff_t(valid.size() / 2));
    Bytes noStart = valid;
    noStart[1] = 0x00;
    const std::pair<const char*, Bytes> cases[] = {
        {"empty", {}},
        {"garbage", garbage},
        {"header only", headerOnly},
        {"half", half},
        {"no SOI", noStart},
    };
    for (const auto& [name, bytes] : cases) {
        ImageResult r = ReadJpeg(bytes);
        EXPECT_FALSE(r) << name;
        EXPECT_EQ(r.Error.rfind("JPEG: ", 0), 0u) << name << ": " << r.Error;
    }
}

TEST(JpegRead, EveryTruncationIsRefusedOrDecodedNeverCrashes) {
    auto bitmap = Filled(16, 16, RGB(90, 90, 200));
    Bytes valid = WriteJpeg(*bitmap, 75);
    int refused = 0;
    for (std::size_t size = 0; size + 2 < valid.size(); size += 7) {
        Bytes cut(valid.begin(), valid.begin() + std::ptrdiff_t(size));
        refused += ReadJpeg(cut) ? 0 : 1;
    }
    EXPECT_GT(refused, 0);
    EXPECT_TRUE(ReadJpeg(valid));
}

TEST(JpegRead, RefusesOversizedDimensionsBeforeDecoding) {
    auto bitmap = Filled(8, 8, RGB(0, 0, 0));
    Bytes file = WriteJpeg(*bitmap, 75);
    // The frame header (FFC0): length, precision, height, width.
    const std::size_t sof = FrameHeader(file);
    ASSERT_NE(sof, 0u);
    file[sof + 5] = 0xEA;   // height 60000
    file[sof + 6] = 0x60;
    file[sof + 7] = 0xEA;   // width 60000
    file[sof + 8] = 0x60;
    ImageResult r = ReadJpeg(file);
    EXPECT_FALSE(r);
    EXPECT_NE(r.Error.find("too large"), std::string::npos) << r.Error;
}

TEST(JpegRead, RefusesASizeItsDataCannotFillBeforeAllocatingIt) {
    auto bitmap = Filled(8, 8, RGB(0, 0, 0));
    Bytes file = WriteJpeg(*bitmap, 75);
    const std::size_t sof = FrameHeader(file);
    ASSERT_NE(sof, 0u);
    file[sof + 5] = 0x1F;   // height 8000: within the limits, but a few hundred bytes cannot code it
    file[sof + 6] = 0x40;
    file[sof + 7] = 0x1F;   // width 8000
    file[sof + 8] = 0x40;
    ImageResult r = ReadJpeg(file);
    EXPECT_FALSE(r);
    EXPECT_NE(r.Error.find("cannot be filled"), std::string::npos) << r.Error;
    // A large plain picture codes in little, and still reads.
    auto plain = Filled(2000, 2000, RGB(90, 120, 200));
    ImageResult back = ReadJpeg(WriteJpeg(*plain, 75));
    ASSERT_TRUE(back) << back.Error;
    ExpectNear(back.Image.Get()->PixelAt(1999, 1999), RGB(90, 120, 200), 4, "corner");
}

// Arithmetic coding codes a flat block in a small fraction of a bit: a few hundred bytes hold a large flat
// picture, which reads; only the size limit and the memory cap bound such a file.
TEST(JpegRead, ALargeFlatArithmeticCodedPictureReads) {
    const Bytes file = EncodeFlatArithmetic(4000, 4000, RGB(40, 160, 90), false);
    ASSERT_LT(file.size(), 1000u);
    ImageResult r = ReadJpeg(file);
    ASSERT_TRUE(r) << r.Error;
    ASSERT_EQ(r.Image.Get()->Width(), 4000);
    ASSERT_EQ(r.Image.Get()->Height(), 4000);
    ExpectNear(r.Image.Get()->PixelAt(0, 0), RGB(40, 160, 90), 4, "top left");
    ExpectNear(r.Image.Get()->PixelAt(3999, 3999), RGB(40, 160, 90), 4, "bottom right");
}

TEST(JpegRead, ArithmeticCodedBombsAreStillRefused) {
    // Beyond the size limit: refused from the header.
    Bytes huge = EncodeFlatArithmetic(64, 64, RGB(0, 0, 0), false);
    const std::size_t sof = ArithmeticFrameHeader(huge);
    ASSERT_NE(sof, 0u);
    SetFrameSize(huge, sof, 20000, 20000);
    ImageResult tooLarge = ReadJpeg(huge);
    EXPECT_FALSE(tooLarge);
    EXPECT_NE(tooLarge.Error.find("too large"), std::string::npos) << tooLarge.Error;
    // Within the size limit, but a progressive file keeps every coefficient: more than the memory cap.
    Bytes progressive = EncodeFlatArithmetic(64, 64, RGB(0, 0, 0), true);
    const std::size_t psof = ArithmeticFrameHeader(progressive);
    ASSERT_NE(psof, 0u);
    ASSERT_EQ(progressive[psof + 1], 0xCA);
    progressive[psof + 11] = 0x11;   // the first component unsampled: every component at full size
    SetFrameSize(progressive, psof, 9000, 9000);
    EXPECT_FALSE(ReadJpeg(progressive));
}

TEST(JpegWrite, RefusesAnEmptyBitmap) {
    GdiHandle<Bitmap> empty(Bitmap::Create(0, 5, PixelFormat::pf24bit));
    std::string error;
    EXPECT_TRUE(WriteJpeg(*empty, 90, &error).empty());
    EXPECT_FALSE(error.empty());
}

TEST(JpegFileIo, WritesAndReadsBackAFile) {
    auto path = std::filesystem::temp_directory_path() / ("korvex-jpeg-" + std::to_string(::getpid()) + ".jpg");
    auto bitmap = Filled(30, 20, RGB(40, 80, 120));
    std::string error;
    ASSERT_TRUE(WriteJpegFile(*bitmap, path.string(), 90, &error)) << error;
    ImageResult r = ReadJpegFile(path.string());
    ASSERT_TRUE(r) << r.Error;
    ExpectNear(r.Image.Get()->PixelAt(10, 10), RGB(40, 80, 120), 4, "centre");
    std::filesystem::remove(path);
    EXPECT_FALSE(ReadJpegFile(path.string()));
}

}
}

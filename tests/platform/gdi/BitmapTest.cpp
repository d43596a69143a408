// Bitmap tests: stride, scan lines, resizing, format conversion, copies and refused sizes.
#include "platform/gdi/Bitmap.h"

#include <gtest/gtest.h>

#include <memory>

using namespace korvex::gdi;

namespace {

struct Deleter {
    void operator()(Bitmap* b) const { DeleteObject(b); }
};
using BitmapPtr = std::unique_ptr<Bitmap, Deleter>;

}

TEST(Bitmap, TwentyFourBitRowsArePaddedToFourBytes) {
    EXPECT_EQ(BytesPerScanLine(1, PixelFormat::pf24bit), 4);
    EXPECT_EQ(BytesPerScanLine(5, PixelFormat::pf24bit), 16);
    EXPECT_EQ(BytesPerScanLine(4, PixelFormat::pf24bit), 12);
    EXPECT_EQ(BytesPerScanLine(5, PixelFormat::pf32bit), 20);
    BitmapPtr b(Bitmap::Create(5, 3, PixelFormat::pf24bit));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->ScanLine(1) - b->ScanLine(0), 16);   // top-down, positive stride
    EXPECT_EQ(b->ScanLine(3), nullptr);
    EXPECT_EQ(b->ScanLine(-1), nullptr);
}

TEST(Bitmap, PixelsAreBlueGreenRed) {
    BitmapPtr b(Bitmap::Create(2, 1, PixelFormat::pf24bit));
    b->SetPixelAt(1, 0, RGB(0x11, 0x22, 0x33));
    const BYTE* p = b->ScanLine(0) + 3;
    EXPECT_EQ(p[0], 0x33);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x11);
    EXPECT_EQ(b->PixelAt(1, 0), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(b->PixelAt(2, 0), CLR_INVALID);
    b->SetPixelAt(-1, 0, 0);   // ignored
}

TEST(Bitmap, NewPixelsAreBlack) {
    BitmapPtr b(Bitmap::Create(3, 3, PixelFormat::pf32bit));
    for (size_t i = 0; i < b->ByteSize(); ++i)
        ASSERT_EQ(b->Bits()[i], 0);
}

TEST(Bitmap, RefusesNegativeAndHugeSizes) {
    EXPECT_EQ(Bitmap::Create(-1, 5, PixelFormat::pf24bit), nullptr);
    EXPECT_EQ(Bitmap::Create(5, Bitmap::MaxDimension + 1, PixelFormat::pf24bit), nullptr);
    EXPECT_EQ(Bitmap::Create(30000, 30000, PixelFormat::pf32bit), nullptr);   // over the byte limit
    BitmapPtr empty(Bitmap::Create(0, 0, PixelFormat::pf24bit));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->Empty());
    EXPECT_EQ(empty->ScanLine(0), nullptr);
}

TEST(Bitmap, SetSizeKeepsTheTopLeftPixels) {
    BitmapPtr b(Bitmap::Create(3, 3, PixelFormat::pf24bit));
    b->SetPixelAt(1, 1, RGB(9, 9, 9));
    b->SetPixelAt(2, 2, RGB(8, 8, 8));
    EXPECT_TRUE(b->SetSize(5, 2));
    EXPECT_EQ(b->Width(), 5);
    EXPECT_EQ(b->BytesPerScanLine(), 16);
    EXPECT_EQ(b->PixelAt(1, 1), RGB(9, 9, 9));
    EXPECT_EQ(b->PixelAt(4, 1), 0u);
    EXPECT_FALSE(b->SetSize(-3, 2));
    EXPECT_EQ(b->Width(), 5);
    EXPECT_TRUE(b->SetSize(0, 0));
    EXPECT_TRUE(b->Empty());
}

TEST(Bitmap, FormatConversionKeepsColoursAndZeroesTheFourthByte) {
    BitmapPtr b(Bitmap::Create(3, 2, PixelFormat::pf24bit));
    b->SetPixelAt(2, 1, RGB(1, 2, 3));
    EXPECT_TRUE(b->SetFormat(PixelFormat::pf32bit));
    EXPECT_EQ(b->PixelAt(2, 1), RGB(1, 2, 3));
    EXPECT_EQ(b->ScanLine(1)[2 * 4 + 3], 0);
    b->ScanLine(1)[2 * 4 + 3] = 99;
    EXPECT_TRUE(b->SetFormat(PixelFormat::pf24bit));
    EXPECT_EQ(b->PixelAt(2, 1), RGB(1, 2, 3));
    EXPECT_EQ(b->BytesPerScanLine(), 12);
}

TEST(Bitmap, CloneAndAssignCopyPixels) {
    BitmapPtr a(Bitmap::Create(4, 4, PixelFormat::pf24bit));
    a->Fill(RGB(5, 6, 7));
    BitmapPtr c(a->Clone());
    ASSERT_TRUE(c);
    EXPECT_EQ(c->PixelAt(3, 3), RGB(5, 6, 7));
    BitmapPtr d(Bitmap::Create(1, 1, PixelFormat::pf32bit));
    EXPECT_TRUE(d->Assign(*a));
    EXPECT_EQ(d->Format(), PixelFormat::pf24bit);
    EXPECT_EQ(d->PixelAt(2, 2), RGB(5, 6, 7));
    EXPECT_TRUE(d->Assign(*d));
}

TEST(CreateBitmap, TakesTopDownRowsWithTheDibStride) {
    const BYTE rows[8] = {1, 2, 3, 0, 4, 5, 6, 0};   // 1x2, 24-bit, rows padded to 4
    BitmapPtr b(CreateBitmap(1, 2, 1, 24, rows));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->PixelAt(0, 0), RGB(3, 2, 1));
    EXPECT_EQ(b->PixelAt(0, 1), RGB(6, 5, 4));
    EXPECT_EQ(CreateBitmap(1, 1, 1, 8, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(1, 1, 2, 24, nullptr), nullptr);
}

TEST(CreateDIBSection, GivesWritableTopDownBits) {
    BITMAPINFOHEADER info;
    info.biWidth = 3;
    info.biHeight = -2;
    info.biBitCount = 32;
    void* bits = nullptr;
    BitmapPtr b(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits));
    ASSERT_TRUE(b);
    ASSERT_NE(bits, nullptr);
    static_cast<BYTE*>(bits)[12 + 2] = 200;   // row 1, pixel 0, red
    EXPECT_EQ(b->PixelAt(0, 1), RGB(200, 0, 0));
    BITMAP bm;
    ASSERT_TRUE(GetObject(b.get(), &bm));
    EXPECT_EQ(bm.bmWidth, 3);
    EXPECT_EQ(bm.bmHeight, 2);
    EXPECT_EQ(bm.bmWidthBytes, 12);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    info.biBitCount = 16;
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits), nullptr);
    EXPECT_EQ(bits, nullptr);
}

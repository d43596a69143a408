// TBitmap and TJPEGImage: scan lines in both formats, format and size changes, the canvas, transparency,
// BMP and JPEG streams and files, assignment, and the "Data" entry of component text.
#include "platform/classes/TBitmap.h"

#include "platform/classes/TCanvas.h"
#include "platform/classes/TJPEGImage.h"
#include "platform/classes/TMemoryStream.h"
#include "platform/gdi/BmpCodec.h"
#include "platform/gdi/JpegCodec.h"

#include "support/GraphicsTestKit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::test;

namespace {

std::filesystem::path TempDir() {
    auto dir = std::filesystem::temp_directory_path()
        / ("korvex-tbitmap-" + std::to_string(::getpid()) + "-"
            + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
    return dir;
}

class TempFolder {
public:
    TempFolder()
        : FPath(TempDir()) { }
    ~TempFolder() { std::filesystem::remove_all(FPath); }
    std::string File(const std::string& name) const { return (FPath / name).string(); }

private:
    std::filesystem::path FPath;
};

// A picture with a different colour in each quarter, so copies and scaling can be checked.
std::unique_ptr<TBitmap> Quarters(int width, int height, TPixelFormat format = pf24bit) {
    auto bitmap = MakeBitmap(width, height, clRed, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2, bottom = y >= height / 2;
            SetPixelOf(*bitmap, x, y, right ? (bottom ? clWhite : clLime) : (bottom ? clBlue : clRed));
        }
    return bitmap;
}

bool Near(TColor a, TColor b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) > tolerance) return false;
    return true;
}

void WriteAll(TMemoryStream& stream, const std::vector<std::uint8_t>& bytes) {
    stream.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
    stream.SetPosition(0);
}

}

// ---------------------------------------------------------------------------------------------------------
// Size, format, scan lines

TEST(TBitmap, StartsEmptyInTheDeviceFormat) {
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_EQ(bitmap.Height(), 0);
    EXPECT_EQ(bitmap.PixelFormat(), pfDevice);
    EXPECT_NE(bitmap.Handle(), nullptr);
}

TEST(TBitmap, ScanLinesOf24BitRowsArePaddedToFourBytes) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(5, 3);
    EXPECT_EQ(bitmap.ScanLine(1) - bitmap.ScanLine(0), 16);
    EXPECT_EQ(bitmap.ScanLine(2) - bitmap.ScanLine(1), 16);
}

TEST(TBitmap, ScanLineAddressesBlueGreenRedIn24Bit) {
    auto bitmap = MakeBitmap(5, 3, clWhite, pf24bit);
    std::uint8_t* row = bitmap->ScanLine(1);
    row[3 * 2 + 0] = 0x30;   // blue
    row[3 * 2 + 1] = 0x20;   // green
    row[3 * 2 + 2] = 0x10;   // red
    EXPECT_EQ(bitmap->Canvas()->Pixels(2, 1), TColor(0x302010));
    EXPECT_EQ(bitmap->Canvas()->Pixels(1, 1), clWhite);
    EXPECT_EQ(bitmap->Canvas()->Pixels(2, 0), clWhite);
}

TEST(TBitmap, ScanLineAddressesFourBytesAPixelIn32Bit) {
    auto bitmap = MakeBitmap(5, 3, clBlack, pf32bit);
    EXPECT_EQ(bitmap->ScanLine(1) - bitmap->ScanLine(0), 20);
    bitmap->Canvas()->SetPixels(3, 2, TColor(0x112233));
    const std::uint8_t* p = bitmap->ScanLine(2) + 4 * 3;
    EXPECT_EQ(p[0], 0x11);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x33);
    EXPECT_EQ(p[3], 0x00);
}

TEST(TBitmap, TheDeviceFormatIs32Bit) {
    TBitmap bitmap;
    bitmap.SetSize(3, 2);
    EXPECT_EQ(bitmap.ScanLine(1) - bitmap.ScanLine(0), 12);
}

TEST(TBitmap, ScanLineOutsideTheRowsRaises) {
    auto bitmap = MakeBitmap(4, 4, clWhite);
    EXPECT_THROW(bitmap->ScanLine(-1), EInvalidGraphicOperation);
    EXPECT_THROW(bitmap->ScanLine(4), EInvalidGraphicOperation);
    TBitmap empty;
    EXPECT_THROW(empty.ScanLine(0), EInvalidGraphicOperation);
}

TEST(TBitmap, ChangingTheFormatKeepsTheColours) {
    auto bitmap = Quarters(6, 4, pf24bit);
    bitmap->SetPixelFormat(pf32bit);
    EXPECT_EQ(bitmap->PixelFormat(), pf32bit);
    EXPECT_EQ(PixelOf(*bitmap, 5, 0), clLime);
    bitmap->SetPixelFormat(pf24bit);
    EXPECT_EQ(PixelOf(*bitmap, 0, 3), clBlue);
    EXPECT_EQ(bitmap->ScanLine(1) - bitmap->ScanLine(0), 20);
}

TEST(TBitmap, ResizingKeepsTheTopLeftPixelsAndBlackensTheNewOnes) {
    auto bitmap = MakeBitmap(2, 2, clRed);
    bitmap->SetWidth(4);
    bitmap->SetHeight(3);
    EXPECT_EQ(PixelOf(*bitmap, 1, 1), clRed);
    EXPECT_EQ(PixelOf(*bitmap, 3, 2), clBlack);
    bitmap->SetSize(-5, 2);
    EXPECT_TRUE(bitmap->Empty());
}

TEST(TBitmap, TheCanvasFollowsTheBitmapThroughResizing) {
    auto bitmap = MakeBitmap(4, 4, clWhite);
    bitmap->Canvas()->Brush()->SetColor(clRed);
    bitmap->Canvas()->FillRect(Rect(0, 0, 4, 4));
    bitmap->SetSize(8, 8);
    bitmap->SetPixelFormat(pf32bit);
    bitmap->Canvas()->FillRect(Rect(6, 6, 8, 8));
    EXPECT_EQ(PixelOf(*bitmap, 7, 7), clRed);
    EXPECT_EQ(PixelOf(*bitmap, 0, 0), clRed);
    EXPECT_EQ(PixelOf(*bitmap, 5, 5), clBlack);
}

TEST(TBitmap, DrawingOnTheCanvasFiresOnChange) {
    auto bitmap = MakeBitmap(4, 4, clWhite);
    int changes = 0;
    bitmap->OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, bitmap.get());
        ++changes;
    };
    bitmap->Canvas()->FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(changes, 1);
    bitmap->SetSize(5, 5);
    EXPECT_EQ(changes, 2);
    bitmap->SetSize(5, 5);
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(bitmap->Modified());
}

// ---------------------------------------------------------------------------------------------------------
// Transparency

TEST(TBitmap, TheAutomaticTransparentColourIsTheBottomLeftPixel) {
    auto bitmap = MakeBitmap(3, 3, clRed);
    SetPixelOf(*bitmap, 0, 2, clFuchsia);
    EXPECT_EQ(bitmap->TransparentMode(), tmAuto);
    EXPECT_EQ(bitmap->TransparentColor(), clFuchsia);
    SetPixelOf(*bitmap, 0, 2, clAqua);
    EXPECT_EQ(bitmap->TransparentColor(), clAqua);
    TBitmap empty;
    EXPECT_EQ(empty.TransparentColor(), clDefault);
}

TEST(TBitmap, SettingATransparentColourFixesItAndClDefaultGoesBackToAuto) {
    auto bitmap = MakeBitmap(3, 3, clRed);
    bitmap->SetTransparentColor(clBlue);
    EXPECT_EQ(bitmap->TransparentMode(), tmFixed);
    EXPECT_EQ(bitmap->TransparentColor(), clBlue);
    bitmap->SetTransparentColor(clDefault);
    EXPECT_EQ(bitmap->TransparentMode(), tmAuto);
    EXPECT_EQ(bitmap->TransparentColor(), clRed);
    bitmap->SetTransparentMode(tmFixed);   // fixes the colour it has now
    SetPixelOf(*bitmap, 0, 2, clGreen);
    EXPECT_EQ(bitmap->TransparentColor(), clRed);
}

// ---------------------------------------------------------------------------------------------------------
// BMP streams and files

class BmpRoundTrip : public ::testing::TestWithParam<TPixelFormat> { };

TEST_P(BmpRoundTrip, SaveAndLoadGiveTheSamePixelsAndFormat) {
    auto bitmap = Quarters(7, 5, GetParam());
    TMemoryStream stream;
    bitmap->SaveToStream(stream);
    stream.SetPosition(0);
    TBitmap loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.Width(), 7);
    EXPECT_EQ(loaded.Height(), 5);
    EXPECT_EQ(loaded.PixelFormat(), GetParam());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(PixelOf(loaded, x, y), PixelOf(*bitmap, x, y)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Formats, BmpRoundTrip, ::testing::Values(pf24bit, pf32bit));

TEST(TBitmap, SaveToFileAndLoadFromFileRoundTrip) {
    TempFolder folder;
    auto bitmap = Quarters(8, 6);
    bitmap->SaveToFile(folder.File("quarters.bmp"));
    TBitmap loaded;
    loaded.LoadFromFile(folder.File("quarters.bmp"));
    EXPECT_EQ(PixelOf(loaded, 7, 0), clLime);
    EXPECT_EQ(PixelOf(loaded, 0, 5), clBlue);
}

TEST(TBitmap, LoadFromFileFindsTheFileWithoutCase) {
    TempFolder folder;
    MakeBitmap(2, 2, clRed)->SaveToFile(folder.File("Master.bmp"));
    TBitmap loaded;
    loaded.LoadFromFile(folder.File("MASTER.BMP"));
    EXPECT_EQ(PixelOf(loaded, 1, 1), clRed);
}

TEST(TBitmap, AMissingFileRaisesAndTheTryTwinAnswersFalse) {
    TempFolder folder;
    auto bitmap = MakeBitmap(2, 2, clRed);
    EXPECT_THROW(bitmap->LoadFromFile(folder.File("none.bmp")), os::EFOpenError);
    EXPECT_FALSE(bitmap->TryLoadFromFile(folder.File("none.bmp")));
    EXPECT_EQ(bitmap->Width(), 2);
}

TEST(TBitmap, DamagedBytesRaiseEInvalidGraphicAndLeaveThePictureAlone) {
    auto bitmap = MakeBitmap(3, 3, clRed);
    TMemoryStream stream;
    std::vector<std::uint8_t> bytes = gdi::WriteBmp(*MakeBitmap(4, 4, clBlue)->Handle());
    bytes.resize(bytes.size() / 2);   // truncated
    WriteAll(stream, bytes);
    EXPECT_THROW(bitmap->LoadFromStream(stream), EInvalidGraphic);
    TMemoryStream empty;
    EXPECT_THROW(bitmap->LoadFromStream(empty), EInvalidGraphic);
    EXPECT_EQ(bitmap->Width(), 3);
    EXPECT_EQ(PixelOf(*bitmap, 1, 1), clRed);
}

TEST(TBitmap, AnEmptyBitmapSavesNothing) {
    TBitmap bitmap;
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    EXPECT_EQ(stream.Size(), 0);
}

// ---------------------------------------------------------------------------------------------------------
// Assign

TEST(TBitmap, AssignCopiesPixelsFormatAndTransparencyIndependently) {
    auto source = Quarters(4, 4, pf32bit);
    source->SetTransparentColor(clLime);
    source->SetTransparent(true);
    TBitmap copy;
    int changes = 0;
    copy.OnChange = [&](TObject*) { ++changes; };
    copy.Assign(source.get());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(copy.PixelFormat(), pf32bit);
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(copy.TransparentColor(), clLime);
    EXPECT_EQ(PixelOf(copy, 3, 0), clLime);
    SetPixelOf(*source, 3, 0, clBlack);
    EXPECT_EQ(PixelOf(copy, 3, 0), clLime);
}

TEST(TBitmap, AssignNullEmptiesTheBitmap) {
    auto bitmap = MakeBitmap(3, 3, clRed);
    bitmap->Assign(nullptr);
    EXPECT_TRUE(bitmap->Empty());
}

TEST(TBitmap, AssignFromAFontRaisesEConvertError) {
    TBitmap bitmap;
    TFont font;
    EXPECT_THROW(bitmap.Assign(&font), base::EConvertError);
}

// ---------------------------------------------------------------------------------------------------------
// Component text

TEST(TBitmap, TheDataEntryRoundTripsThePicture) {
    auto bitmap = Quarters(6, 4);
    CaptureFiler filer;
    bitmap->DefineProperties(filer);
    ASSERT_EQ(filer.Binaries.count("Data"), 1u);
    EXPECT_TRUE(filer.Binaries["Data"].HasData);
    TMemoryStream stream;
    filer.Binaries["Data"].Write(stream);
    stream.SetPosition(0);

    TBitmap loaded;
    CaptureFiler reader;
    loaded.DefineProperties(reader);
    EXPECT_FALSE(reader.Binaries["Data"].HasData);   // empty: nothing to write
    reader.Binaries["Data"].Read(stream);
    EXPECT_EQ(PixelOf(loaded, 5, 3), clWhite);
    EXPECT_EQ(PixelOf(loaded, 0, 0), clRed);
}

TEST(TBitmap, TheDataEntryAlsoReadsALengthPrefixedFile) {
    const std::vector<std::uint8_t> file = gdi::WriteBmp(*MakeBitmap(3, 2, clBlue)->Handle());
    std::vector<std::uint8_t> bytes(4);
    const std::uint32_t size = std::uint32_t(file.size());
    for (int i = 0; i < 4; ++i)
        bytes[size_t(i)] = std::uint8_t(size >> (8 * i));
    bytes.insert(bytes.end(), file.begin(), file.end());
    TMemoryStream stream;
    WriteAll(stream, bytes);
    TBitmap loaded;
    CaptureFiler filer;
    loaded.DefineProperties(filer);
    filer.Binaries["Data"].Read(stream);
    EXPECT_EQ(loaded.Width(), 3);
    EXPECT_EQ(PixelOf(loaded, 2, 1), clBlue);
}

// ---------------------------------------------------------------------------------------------------------
// TJPEGImage

namespace {

std::vector<std::uint8_t> JpegOf(const TBitmap& bitmap) {
    return gdi::WriteJpeg(*bitmap.Handle(), 95);
}

}

TEST(TJPEGImage, LoadsAJpegAndAssignsItToABitmap) {
    TMemoryStream stream;
    WriteAll(stream, JpegOf(*Quarters(32, 16)));
    TJPEGImage jpeg;
    jpeg.LoadFromStream(stream);
    EXPECT_FALSE(jpeg.Empty());
    EXPECT_EQ(jpeg.Width(), 32);
    EXPECT_EQ(jpeg.Height(), 16);

    TBitmap bitmap;
    bitmap.Assign(&jpeg);
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    EXPECT_EQ(bitmap.Width(), 32);
    EXPECT_TRUE(Near(PixelOf(bitmap, 4, 4), clRed, 24));
    EXPECT_TRUE(Near(PixelOf(bitmap, 28, 4), clLime, 24));
    EXPECT_TRUE(Near(PixelOf(bitmap, 4, 12), clBlue, 24));
    EXPECT_TRUE(Near(PixelOf(bitmap, 28, 12), clWhite, 24));
}

TEST(TJPEGImage, DrawsOnACanvas) {
    TMemoryStream stream;
    WriteAll(stream, JpegOf(*MakeBitmap(8, 8, clBlue)));
    TJPEGImage jpeg;
    jpeg.LoadFromStream(stream);
    auto target = MakeBitmap(20, 20, clWhite);
    target->Canvas()->Draw(4, 4, &jpeg);
    EXPECT_TRUE(Near(PixelOf(*target, 8, 8), clBlue, 16));
    EXPECT_EQ(PixelOf(*target, 12, 12), clWhite);
}

TEST(TJPEGImage, SavesTheFileItRead) {
    const std::vector<std::uint8_t> file = JpegOf(*Quarters(16, 16));
    TMemoryStream in;
    WriteAll(in, file);
    TJPEGImage jpeg;
    jpeg.LoadFromStream(in);
    TMemoryStream out;
    jpeg.SaveToStream(out);
    EXPECT_EQ(std::vector<std::uint8_t>(out.Bytes().begin(), out.Bytes().end()), file);
}

TEST(TJPEGImage, ADamagedFileRaisesEJpegAndKeepsThePicture) {
    TMemoryStream good;
    WriteAll(good, JpegOf(*MakeBitmap(8, 8, clRed)));
    TJPEGImage jpeg;
    jpeg.LoadFromStream(good);
    std::vector<std::uint8_t> bad = JpegOf(*MakeBitmap(8, 8, clBlue));
    bad.resize(20);
    TMemoryStream stream;
    WriteAll(stream, bad);
    EXPECT_THROW(jpeg.LoadFromStream(stream), EJPEG);
    EXPECT_EQ(jpeg.Width(), 8);
    EXPECT_TRUE(Near(PixelOf(*jpeg.Bitmap(), 2, 2), clRed, 16));
}

TEST(TJPEGImage, AssignCopiesAnotherJpegAndCompressesABitmap) {
    TJPEGImage fromBitmap;
    fromBitmap.Assign(Quarters(16, 8).get());
    EXPECT_EQ(fromBitmap.Width(), 16);
    TMemoryStream stream;
    fromBitmap.SaveToStream(stream);
    EXPECT_GT(stream.Size(), 0);

    TJPEGImage copy;
    copy.Assign(&fromBitmap);
    EXPECT_EQ(copy.Height(), 8);
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
    EXPECT_EQ(fromBitmap.Height(), 8);
}

TEST(TJPEGImage, TheDataEntryCarriesTheFile) {
    TMemoryStream in;
    WriteAll(in, JpegOf(*MakeBitmap(10, 6, clRed)));
    TJPEGImage jpeg;
    jpeg.LoadFromStream(in);
    CaptureFiler filer;
    jpeg.DefineProperties(filer);
    TMemoryStream data;
    filer.Binaries["Data"].Write(data);
    data.SetPosition(0);
    TJPEGImage loaded;
    CaptureFiler reader;
    loaded.DefineProperties(reader);
    reader.Binaries["Data"].Read(data);
    EXPECT_EQ(loaded.Width(), 10);
    EXPECT_EQ(loaded.Height(), 6);
}

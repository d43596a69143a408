// TPicture: the graphic's class from copies and file extensions, the bitmap view, and the "Data" entry.
#include "platform/classes/TPicture.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TIcon.h"
#include "platform/classes/TJPEGImage.h"
#include "platform/classes/TMemoryStream.h"

#include "support/GraphicsTestKit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::test;

TEST(TPicture, AssignCopiesAGraphicOfTheSameClass) {
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &picture);
        ++changes;
    };
    auto bitmap = MakeBitmap(3, 2, clRed);
    picture.SetGraphic(bitmap.get());
    EXPECT_EQ(changes, 1);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_NE(picture.Graphic(), bitmap.get());
    EXPECT_EQ(picture.Graphic()->ClassName(), "TBitmap");
    EXPECT_EQ(picture.Width(), 3);
    picture.Graphic()->SetWidth(5);   // changes of the graphic reach the picture's listeners
    EXPECT_EQ(changes, 2);

    TIcon icon;
    icon.Assign(bitmap.get());
    TPicture other;
    other.Assign(&icon);
    picture.Assign(&other);
    EXPECT_EQ(picture.Graphic()->ClassName(), "TIcon");
    picture.Assign(nullptr);
    EXPECT_EQ(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Width(), 0);
}

TEST(TPicture, BitmapReplacesAnotherKindOfGraphic) {
    TPicture picture;
    TIcon icon;
    icon.Assign(MakeBitmap(2, 2, clRed).get());
    picture.SetGraphic(&icon);
    TBitmap* bitmap = picture.Bitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_TRUE(bitmap->Empty());
    EXPECT_EQ(picture.Bitmap(), bitmap);
}

TEST(TPicture, LoadFromFileChoosesTheClassByExtension) {
    const auto dir = std::filesystem::temp_directory_path() / ("korvex-tpicture-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    MakeBitmap(4, 3, clBlue)->SaveToFile((dir / "a.bmp").string());
    TJPEGImage jpeg;
    jpeg.Assign(MakeBitmap(6, 5, clRed).get());
    jpeg.SaveToFile((dir / "b.JPG").string());
    TPicture picture;
    picture.LoadFromFile((dir / "a.bmp").string());
    EXPECT_EQ(picture.Graphic()->ClassName(), "TBitmap");
    picture.LoadFromFile((dir / "b.JPG").string());
    EXPECT_EQ(picture.Graphic()->ClassName(), "TJPEGImage");
    EXPECT_EQ(picture.Width(), 6);
    EXPECT_THROW(picture.LoadFromFile((dir / "c.gif").string()), EInvalidGraphic);
    EXPECT_EQ(picture.Width(), 6);
    std::filesystem::remove_all(dir);
}

TEST(TPicture, TheDataEntryCarriesTheClassNameAndThePicture) {
    TPicture picture;
    picture.SetGraphic(MakeBitmap(2, 2, clLime).get());
    CaptureFiler filer;
    picture.DefineProperties(filer);
    ASSERT_TRUE(filer.Binaries["Data"].HasData);
    TMemoryStream stream;
    filer.Binaries["Data"].Write(stream);
    EXPECT_EQ(stream.Bytes()[0], 7);   // "TBitmap"
    stream.SetPosition(0);
    TPicture back;
    CaptureFiler reader;
    back.DefineProperties(reader);
    EXPECT_FALSE(reader.Binaries["Data"].HasData);
    reader.Binaries["Data"].Read(stream);
    ASSERT_NE(back.Graphic(), nullptr);
    EXPECT_EQ(PixelOf(*back.Bitmap(), 1, 1), clLime);

    TMemoryStream unknown;
    unknown.WriteBuffer("\x04TGIF", 5);
    unknown.SetPosition(0);
    EXPECT_THROW(reader.Binaries["Data"].Read(unknown), EInvalidGraphic);
}

TEST(TPicture, AFileLargerThanAnyPictureIsRefusedBeforeItIsRead) {
    const auto dir = std::filesystem::temp_directory_path() / ("korvex-tpicture-big-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    // Sparse: a hundred GB claimed, nothing on the disk.
    for (const char* name : {"huge.png", "huge.bmp", "huge.jpg"}) {
        const auto path = dir / name;
        std::ofstream(path, std::ios::binary) << "\x89PNG\r\n\x1a\n";
        std::filesystem::resize_file(path, std::uintmax_t(100) << 30);
    }
    TIcon icon;
    TBitmap bitmap;
    TJPEGImage jpeg;
    EXPECT_FALSE(icon.TryLoadFromFile((dir / "huge.png").string()));
    EXPECT_FALSE(bitmap.TryLoadFromFile((dir / "huge.bmp").string()));
    EXPECT_FALSE(jpeg.TryLoadFromFile((dir / "huge.jpg").string()));
    TPicture picture;
    EXPECT_THROW(picture.LoadFromFile((dir / "huge.bmp").string()), EInvalidGraphic);
    std::filesystem::remove_all(dir);
}

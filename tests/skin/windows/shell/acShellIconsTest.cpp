// Tests of the namespace's drawn icons: which icon each item gets, and a picture of both lists.
#include "skin/windows/shell/acShellIcons.h"
#include "skin/windows/shell/acShellNamespace.h"
#include "support/ShellTree.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TImageList.h"
#include "platform/gdi/PngCodec.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace korvex::skin;
using namespace korvex::classes;
using korvex::skin::shelltest::ShellTree;

namespace {

struct Bgr {
    int B, G, R;
};

Bgr PixelAt(TBitmap& image, int x, int y) {
    const std::uint8_t* row = image.ScanLine(y);
    return {row[x * 3], row[x * 3 + 1], row[x * 3 + 2]};
}

// The desktop's data and settings folders pointed at one folder for a test (the system's themes unseen).
class DesktopFolders {
public:
    explicit DesktopFolders(const std::string& folder)
        : FDataHome("XDG_DATA_HOME", folder)
        , FDataDirs("XDG_DATA_DIRS", folder + "/system")
        , FConfigHome("XDG_CONFIG_HOME", folder + "/config") {}

private:
    korvex::os::filetest::EnvOverride FDataHome, FDataDirs, FConfigHome;
};

// A one-colour PNG picture of size pixels.
void WriteIconPng(const std::string& path, int size, TColor color) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    TBitmap picture;
    picture.SetPixelFormat(pf32bit);
    picture.SetSize(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            std::uint8_t* p = picture.ScanLine(y) + 4 * x;
            p[0] = std::uint8_t(color >> 16);
            p[1] = std::uint8_t(color >> 8);
            p[2] = std::uint8_t(color);
            p[3] = 255;
        }
    ASSERT_TRUE(korvex::gdi::WritePngFile(*picture.Handle(), path));
}

}

TEST(ShellIcons, EachKindOfItemGetsItsIcon) {
    ShellTree tree;
    const DesktopFolders noTheme(tree.Root());   // no icon theme: files show the program's own icon
    TItemIDList home = TItemIDList::Item(TacItemKind::Home, "");
    auto entry = [&](const char* name) {
        TItemIDList item = TItemIDList::Item(TacItemKind::Entry, name);
        return ConcatPIDLs(&home, item);
    };
    EXPECT_EQ(GetShellImage(TItemIDList(), false, false), siDesktop);
    EXPECT_EQ(GetShellImage(home, false, false), siHome);
    EXPECT_EQ(GetShellImage(TItemIDList::Item(TacItemKind::Computer, ""), true, false), siComputer);
    EXPECT_EQ(GetShellImage(*ParseDisplayName("/"), false, false), siDrive);
    EXPECT_EQ(GetShellImage(entry("Folder A"), false, false), siFolder);
    EXPECT_EQ(GetShellImage(entry("Folder A"), false, true), siFolderOpen);
    EXPECT_EQ(GetShellImage(entry("cycle"), false, false), siFolder);
    EXPECT_EQ(GetShellImage(entry("file one.txt"), false, true), siFile);
    EXPECT_EQ(GetShellImage(entry("self"), false, false), siFile);
    EXPECT_EQ(GetShellImage(entry("missing"), false, false), siFile);
}

TEST(ShellIcons, ListsHoldEveryIconAndDrawThemWithoutTheKey) {
    TImageList* small = SystemImageList(false);
    TImageList* large = SystemImageList(true);
    ASSERT_GE(small->Count(), int(siCount));   // file type icons met so far follow the drawn ones
    ASSERT_EQ(large->Count(), small->Count());
    EXPECT_EQ(small->Width(), 16);
    EXPECT_EQ(large->Width(), 32);
    EXPECT_EQ(SystemImageList(false), small);   // one list for the process

    TBitmap sheet;
    sheet.SetPixelFormat(pf24bit);
    sheet.SetSize(siCount * 40 + 8, 64);
    sheet.Canvas()->Brush()->SetColor(clWhite);
    sheet.Canvas()->FillRect(Rect(0, 0, sheet.Width(), sheet.Height()));
    for (int i = 0; i < siCount; ++i) {
        small->Draw(sheet.Canvas(), 8 + i * 40 + 8, 4, i);
        large->Draw(sheet.Canvas(), 8 + i * 40, 26, i);
    }
    std::filesystem::create_directories(KORVEX_PICTURE_DIR);
    EXPECT_TRUE(korvex::gdi::WritePngFile(*sheet.Handle(), std::string(KORVEX_PICTURE_DIR) + "/shell-icons.png"));

    for (int y = 0; y < sheet.Height(); ++y)
        for (int x = 0; x < sheet.Width(); ++x) {
            Bgr p = PixelAt(sheet, x, y);
            ASSERT_FALSE(p.R == 255 && p.G == 0 && p.B == 255) << x << "," << y;   // the key is transparent
        }
    // The closed folder's front is amber, the file's page white, inside the large icons.
    Bgr folder = PixelAt(sheet, 8 + siFolder * 40 + 16, 26 + 22);
    EXPECT_GT(folder.R, 200);
    EXPECT_LT(folder.B, 120);
    Bgr page = PixelAt(sheet, 8 + siFile * 40 + 14, 26 + 6);
    EXPECT_EQ(page.R + page.G + page.B, 3 * 255);
    Bgr corner = PixelAt(sheet, 8 + siFolder * 40, 26);   // outside the shape: the background shows
    EXPECT_EQ(corner.R + corner.G + corner.B, 3 * 255);
}

TEST(ShellIcons, AFileShowsTheDesktopThemesIconOfItsTypeAndTheProgramsWithoutOne) {
    ShellTree tree;
    const std::string desktop = tree.Root() + "/desktop";
    const DesktopFolders folders(desktop);
    std::filesystem::create_directories(desktop + "/config/gtk-3.0");
    std::ofstream(desktop + "/config/gtk-3.0/settings.ini") << "[Settings]\ngtk-icon-theme-name=Farm\n";
    std::filesystem::create_directories(desktop + "/icons/Farm");
    std::ofstream(desktop + "/icons/Farm/index.theme")
        << "[Icon Theme]\nName=Farm\nDirectories=16x16/mimetypes,32x32/mimetypes\n"
           "[16x16/mimetypes]\nSize=16\nType=Fixed\n[32x32/mimetypes]\nSize=32\nType=Fixed\n";
    // With or without the system's MIME database a ".txt" file is one of these two types.
    const TColor green = 0x30A020;
    for (const char* name : {"text-plain", "application-octet-stream"})
        for (int size : {16, 32})
            WriteIconPng(desktop + "/icons/Farm/" + std::to_string(size) + "x" + std::to_string(size) + "/mimetypes/"
                    + name + ".png",
                size, green);
    TItemIDList home = TItemIDList::Item(TacItemKind::Home, "");
    const TItemIDList file = ConcatPIDLs(&home, TItemIDList::Item(TacItemKind::Entry, "file one.txt"));
    const int index = GetShellImage(file, false, false);
    ASSERT_GE(index, int(siCount));
    EXPECT_EQ(GetShellImage(file, true, false), index);   // the same index in the large list
    for (bool large : {false, true}) {
        TImageList* list = SystemImageList(large);
        ASSERT_EQ(list->Count(), SystemImageList(!large)->Count());
        TBitmap shown;
        shown.SetPixelFormat(pf24bit);
        shown.SetSize(list->Width(), list->Height());
        shown.Canvas()->Brush()->SetColor(clWhite);
        shown.Canvas()->FillRect(Rect(0, 0, shown.Width(), shown.Height()));
        list->Draw(shown.Canvas(), 0, 0, index);
        const Bgr centre = PixelAt(shown, list->Width() / 2, list->Height() / 2);
        EXPECT_EQ(centre.R, 0x20) << large;
        EXPECT_EQ(centre.G, 0xA0) << large;
        EXPECT_EQ(centre.B, 0x30) << large;
    }
    // A folder keeps the program's folder; once the theme is gone the file shows the program's file again.
    EXPECT_EQ(GetShellImage(ConcatPIDLs(&home, TItemIDList::Item(TacItemKind::Entry, "Folder A")), false, false),
        siFolder);
    std::filesystem::remove_all(desktop + "/icons");
    std::filesystem::create_directories(desktop + "/elsewhere");
    setenv("XDG_DATA_HOME", (desktop + "/elsewhere").c_str(), 1);
    EXPECT_EQ(GetShellImage(file, false, false), siFile);
}

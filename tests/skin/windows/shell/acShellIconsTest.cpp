// Tests of the namespace's drawn icons: which icon each item gets, and a picture of both lists.
#include "skin/windows/shell/acShellIcons.h"
#include "skin/windows/shell/acShellNamespace.h"
#include "support/ShellTree.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TImageList.h"
#include "platform/gdi/PngCodec.h"

#include <filesystem>
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

}

TEST(ShellIcons, EachKindOfItemGetsItsIcon) {
    ShellTree tree;
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
    ASSERT_EQ(small->Count(), siCount);
    ASSERT_EQ(large->Count(), siCount);
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

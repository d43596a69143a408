// The sheet of a loaded skin: shaped corners show what lies below, sections show their colours.
#include "platform/classes/TBitmap.h"
#include "skin/engine/sSkinManager.h"
#include "tools/skingen/Sheet.h"
#include "tools/skingen/SkinGen.h"

#include "support/SkinFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvex;
using namespace korvex::skingen;
using skin::test::ManagerHost;
using skin::test::PixelAt;
using skin::test::TempFolder;

namespace {

skin::TsSkinManager* Load(ManagerHost& host, const TempFolder& dir, const std::string& name) {
    std::vector<TSkinModel> skins = BuildSkins(name);
    skins.front().WriteFolder(dir.Path());
    skin::TsSkinManager* sm = host.NewManager();
    skin::test::LoadFolderSkin(*sm, dir.Path(), name);
    return sm;
}

bool IsDesk(classes::TColor c) {
    return c == 0x8A8A8A || c == 0x9A9A9A;
}

}

TEST(SkinGenSheet, RoundedWindowCornersShowTheDeskBelow) {
    TempFolder dir;
    ManagerHost host;
    auto sheet = PaintSheet(*Load(host, dir, "LongHorn (internal)"));
    ASSERT_EQ(sheet->Width(), 780);
    ASSERT_EQ(sheet->Height(), 560);
    EXPECT_TRUE(IsDesk(PixelAt(*sheet, 8, 8)));   // the window's top-left corner is a hole
    EXPECT_FALSE(IsDesk(PixelAt(*sheet, 400, 12)));   // the title band
    EXPECT_TRUE(IsDesk(PixelAt(*sheet, 4, 4)));
}

TEST(SkinGenSheet, SquareWindowsCoverTheirCorners) {
    TempFolder dir;
    ManagerHost host;
    auto sheet = PaintSheet(*Load(host, dir, "NextStyle (internal)"));
    EXPECT_EQ(PixelAt(*sheet, 8, 8), 0xFFFFFF);   // the white outer line
    EXPECT_EQ(PixelAt(*sheet, 400, 12), 0x000000);   // the black title
}

TEST(SkinGenSheet, PicturesOfFoldersGivenRelativeToTheWorkingFolderAreWritten) {
    TempFolder dir;
    // The generator is started in the folder, as a shell starts it: the spawn gives it its working folder.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, dir.Path().c_str());
    std::vector<std::string> args {SKINGEN_PATH, "--skin", "Office2003 (internal)", "--out", "rel", "--sheet", "pics"};
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = -1;
    const int started = posix_spawn(&child, SKINGEN_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ASSERT_EQ(started, 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "pics/Office2003-internal-sheet.png"));
    EXPECT_TRUE(std::filesystem::exists(dir / "rel/Office2003 (internal)/Master.bmp"));
}

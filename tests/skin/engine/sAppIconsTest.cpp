// The program file's icons: read from what is built into the program by size, and held for the run.
#include "skin/engine/sAppIcons.h"
#include "skin/engine/sUtils.h"

#include "platform/classes/TIcon.h"
#include "platform/os/ProgramFolder.h"
#include "platform/user/Icons.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace korvex;
using namespace korvex::skin;

namespace {

std::unique_ptr<classes::TIcon> ProgramPicture(const char* name) {
    auto icon = std::make_unique<classes::TIcon>();
    icon->LoadFromFile(std::string(KORVEX_SOURCE_DIR) + "/tray/icons/" + name);
    return icon;
}

bool SamePicture(const classes::TIcon& a, const classes::TIcon& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Image()->PixelAt(x, y) != b.Image()->PixelAt(x, y)) return false;
    return true;
}

}

TEST(ProgramFileIcons, TheProgramFileGivesTheIconBuiltIntoItOfTheAskedSize) {
    std::unique_ptr<classes::TIcon> small(GetFileIcon(os::ProgramFileName(), true));
    std::unique_ptr<classes::TIcon> large(GetFileIcon(os::ProgramFileName(), false));
    ASSERT_NE(small, nullptr);
    ASSERT_NE(large, nullptr);
    EXPECT_TRUE(SamePicture(*small, *ProgramPicture("normal-16-0.png")));
    EXPECT_TRUE(SamePicture(*large, *ProgramPicture("normal-32-0.png")));
}

TEST(ProgramFileIcons, TheHolderGivesThemToTheWindowLayerWhileItLives) {
    {
        const TsAppIcons icons;
        ASSERT_NE(AppSmallIcon(), nullptr);
        ASSERT_NE(AppLargeIcon(), nullptr);
        EXPECT_EQ(AppSmallIcon()->Width(), 16);
        EXPECT_EQ(AppLargeIcon()->Width(), 32);
        EXPECT_EQ(user::ProgramIcon(user::ICON_SMALL), AppSmallIcon()->Handle());
        EXPECT_EQ(user::ProgramIcon(user::ICON_BIG), AppLargeIcon()->Handle());
        EXPECT_EQ(user::IconPicture(user::ProgramIcon(user::ICON_BIG)), AppLargeIcon()->Image());
    }
    EXPECT_EQ(AppSmallIcon(), nullptr);
    EXPECT_EQ(AppLargeIcon(), nullptr);
    EXPECT_EQ(user::ProgramIcon(user::ICON_SMALL), nullptr);
    EXPECT_EQ(user::ProgramIcon(user::ICON_BIG), nullptr);
}

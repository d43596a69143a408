// Tests of the autostart entry beside a user's own desktop files: a link in its place is never written through.
#include "platform/os/Autostart.h"
#include "platform/os/Registry.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvex::os;
using korvex::os::filetest::ReadFile;
using korvex::os::filetest::SandboxedEnvironment;
using korvex::os::filetest::WriteFile;

namespace {

constexpr const char* AutostartRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

}

// The user linked the menu's desktop file into the autostart folder: turning the start with the session on
// replaces the link by the program's own entry, and turning it off removes that; the menu's file keeps every line.
TEST(AutostartEntry, ALinkInItsPlaceIsReplacedAndRemovedButWhatItLeadsToStays) {
    namespace fs = std::filesystem;
    SandboxedEnvironment env;
    const std::string entry = AutostartFilePath();
    const std::string menuFile = env.Folder() / "applications/korvex.desktop";
    const std::string menuText = "[Desktop Entry]\nType=Application\nName=KORVEX\nComment=Folding farm monitor\n"
                                 "Icon=korvex\nCategories=Utility;Monitor;\nExec=/usr/bin/korvex\n";
    fs::create_directories(fs::path(menuFile).parent_path());
    WriteFile(menuFile, menuText);
    fs::create_directories(fs::path(entry).parent_path());
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(AutostartRunKey, true));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        fs::remove(entry);
        fs::create_symlink(menuFile, entry);
        reg.WriteString("Tellvar", "\"/opt/korvex/korvex\"");   // on
        EXPECT_FALSE(fs::is_symlink(entry));
        EXPECT_NE(ReadFile(entry).find("Exec=/opt/korvex/korvex\n"), std::string::npos) << ReadFile(entry);
        EXPECT_EQ(ReadFile(menuFile), menuText);
        if (round == 1) {   // off with the link back in place: only the link goes
            fs::remove(entry);
            fs::create_symlink(menuFile, entry);
        }
        EXPECT_TRUE(reg.DeleteValue("Tellvar"));   // off
        EXPECT_FALSE(korvex::os::filetest::Exists(entry));
        EXPECT_EQ(ReadFile(menuFile), menuText);
    }
    EXPECT_TRUE(fs::is_empty(fs::path(entry).parent_path()));   // no temporary file left
}

// A link to something that is no desktop file (an entry the user masked with /dev/null) stays as it is.
TEST(AutostartEntry, ALinkToADeviceInItsPlaceIsLeftAlone) {
    namespace fs = std::filesystem;
    SandboxedEnvironment env;
    const std::string entry = AutostartFilePath();
    fs::create_directories(fs::path(entry).parent_path());
    fs::create_symlink("/dev/null", entry);
    EXPECT_FALSE(WriteAutostartEntry("\"/opt/korvex/korvex\""));
    EXPECT_TRUE(fs::is_symlink(entry));
    EXPECT_EQ(fs::read_symlink(entry), "/dev/null");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

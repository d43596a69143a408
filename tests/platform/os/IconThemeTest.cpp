// Icons of the desktop's icon theme in folders the test writes: the nearest size, inheritance, hicolor last,
// generic MIME icons, the theme named in GTK's settings; PNG pictures only.
#include "platform/os/IconTheme.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace korvex::os;

namespace {

void WriteText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << text;
}

// Two data folders: the user's with the theme "Farm" (16 and 48 pixel folders, a scalable one, inheriting
// "Base"), the system's with "Base" and "hicolor".
class IconThemeTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteText(User / "icons/Farm/index.theme",
            "[Icon Theme]\nName=Farm\nInherits=Base, /etc/evil\nDirectories=16x16/mimetypes,48x48/mimetypes,scalable/mimetypes\n"
            "[16x16/mimetypes]\nSize=16\nType=Fixed\n[48x48/mimetypes]\nSize=48\nType=Fixed\n"
            "[scalable/mimetypes]\nSize=64\nType=Scalable\n");
        WriteText(User / "icons/Farm/16x16/mimetypes/text-plain.png", "png16");
        WriteText(User / "icons/Farm/48x48/mimetypes/text-plain.png", "png48");
        WriteText(User / "icons/Farm/scalable/mimetypes/image-png.svg", "<svg/>");
        WriteText(System / "icons/Base/index.theme",
            "[Icon Theme]\nName=Base\nInherits=Farm\nDirectories=32x32/mimetypes\n[32x32/mimetypes]\nSize=32\n");
        WriteText(System / "icons/Base/32x32/mimetypes/text-x-generic.png", "generic");
        WriteText(System / "icons/hicolor/index.theme",
            "[Icon Theme]\nName=Hicolor\nDirectories=22x22/apps\n[22x22/apps]\nSize=22\n");
        WriteText(System / "icons/hicolor/22x22/apps/korvex.png", "app");
        WriteText(System / "mime/generic-icons", "text/x-log:text-x-generic\ntext/plain:text-x-generic\n");
    }
    std::vector<std::string> Folders() const { return {User.Path(), System.Path()}; }

    filetest::TempFolder User {"korvex-icons-user"};
    filetest::TempFolder System {"korvex-icons-system"};
};

TEST_F(IconThemeTest, TheNearestSizeThenInheritedThemesThenHicolor) {
    struct Case {
        std::vector<std::string> Names;
        int Size;
        std::string Expected;   // relative to the data folder, "" for none
    };
    const Case cases[] = {
        {{"text-plain"}, 16, "user:icons/Farm/16x16/mimetypes/text-plain.png"},
        {{"text-plain"}, 40, "user:icons/Farm/48x48/mimetypes/text-plain.png"},
        {{"text-plain"}, 24, "user:icons/Farm/16x16/mimetypes/text-plain.png"},
        {{"missing", "text-x-generic"}, 16, "system:icons/Base/32x32/mimetypes/text-x-generic.png"},
        {{"korvex"}, 16, "system:icons/hicolor/22x22/apps/korvex.png"},
        {{"image-png"}, 16, ""},   // only as SVG
        {{"../../etc/passwd", ""}, 16, ""},
    };
    for (const Case& c : cases) {
        std::string expected = c.Expected;
        if (expected.rfind("user:", 0) == 0) expected = User / expected.substr(5);
        if (expected.rfind("system:", 0) == 0) expected = System / expected.substr(7);
        EXPECT_EQ(FindThemeIcon(c.Names, c.Size, "Farm", Folders()), expected) << c.Names[0] << " " << c.Size;
    }
    // An unknown theme still finds hicolor's; without any theme nothing is found.
    EXPECT_EQ(FindThemeIcon({"korvex"}, 22, "Nowhere", Folders()), System / "icons/hicolor/22x22/apps/korvex.png");
    EXPECT_EQ(FindThemeIcon({"text-plain"}, 16, "Farm", {User.Path() + "/none"}), "");
}

TEST_F(IconThemeTest, MimeTypesGiveTheirOwnNameThenTheGenericOnes) {
    EXPECT_EQ(MimeIconNames("text/x-log", Folders()), (std::vector<std::string> {"text-x-log", "text-x-generic"}));
    EXPECT_EQ(MimeIconNames("application/pdf", Folders()),
        (std::vector<std::string> {"application-pdf", "application-x-generic"}));
    EXPECT_TRUE(MimeIconNames("nonsense", Folders()).empty());
    EXPECT_TRUE(MimeIconNames("/x", Folders()).empty());
}

TEST_F(IconThemeTest, TheDesktopThemeComesFromGtkSettingsElseAdwaita) {
    filetest::TempFolder config {"korvex-icons-config"};
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    EXPECT_EQ(DesktopIconTheme(), "Adwaita");
    WriteText(config / "gtk-3.0/settings.ini", "[Settings]\ngtk-theme-name=X\ngtk-icon-theme-name = Farm\n");
    EXPECT_EQ(DesktopIconTheme(), "Farm");
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

}

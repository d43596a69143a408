// Icons of the desktop's icon theme in folders the test writes: the nearest size, inheritance, hicolor last,
// generic MIME icons, the theme named in GTK's settings; PNG pictures only.
#include "platform/os/IconTheme.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>

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

    // The desktop theme with XDG_CONFIG_HOME pointing at `config` for the call.
    static std::string ThemeWithConfig(const std::string& config) {
        const char* old = std::getenv("XDG_CONFIG_HOME");
        const std::string saved = old ? old : "";
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        std::string theme = DesktopIconTheme();
        if (old)
            setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        return theme;
    }

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


// What is put in the place of a desktop file: a pipe nobody writes, a file over a MB whose start reads well,
// a link to an endless device.
enum class Hostile { Pipe, Oversized, EndlessDevice };

void PutHostile(const std::string& path, Hostile kind, const std::string& start) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::filesystem::remove(path);
    switch (kind) {
    case Hostile::Pipe: ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); break;
    case Hostile::Oversized:
        WriteText(path, start);
        std::filesystem::resize_file(path, std::uintmax_t(3) << 20);   // sparse zeros after the good start
        break;
    case Hostile::EndlessDevice: std::filesystem::create_symlink("/dev/zero", path); break;
    }
}

// Runs the look-up; one blocked on the pipe past a generous limit is freed by opening the pipe for writing.
template <class LookUp>
auto WithinLimit(LookUp lookUp, const std::string& pipe, bool& inTime) {
    auto result = std::async(std::launch::async, lookUp);
    inTime = result.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    if (!inTime) {
        const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    }
    return result.get();
}

TEST_F(IconThemeTest, SettingsThemeIndexesAndGenericIconsAreReadOnlyFromSmallRegularFiles) {
    filetest::TempFolder config {"korvex-icons-config"};
    const std::string settings = config / "gtk-3.0/settings.ini";
    const std::string index = User / "icons/Farm/index.theme";
    const std::string generic = System / "mime/generic-icons";
    const std::string goodIndex = "[Icon Theme]\nDirectories=16x16/mimetypes\n[16x16/mimetypes]\nSize=16\n";
    // The oversized case first: it fails without hanging where nothing is refused.
    for (Hostile kind : {Hostile::Oversized, Hostile::Pipe, Hostile::EndlessDevice}) {
        SCOPED_TRACE(int(kind));
        bool inTime = false;
        PutHostile(settings, kind, "[Settings]\ngtk-icon-theme-name=Farm\n");
        EXPECT_EQ(WithinLimit([&] { return ThemeWithConfig(config.Path()); }, settings, inTime), "Adwaita");
        ASSERT_TRUE(inTime);
        PutHostile(index, kind, goodIndex);
        EXPECT_EQ(WithinLimit([&] { return FindThemeIcon({"text-plain"}, 16, "Farm", Folders()); }, index, inTime), "");
        ASSERT_TRUE(inTime);
        PutHostile(generic, kind, "application/x-farm:farm-node\n");
        EXPECT_EQ(WithinLimit([&] { return MimeIconNames("application/x-farm", Folders()); }, generic, inTime),
            (std::vector<std::string> {"application-x-farm", "application-x-generic"}));
        ASSERT_TRUE(inTime);
    }
}

TEST_F(IconThemeTest, EachIndexOfAChainOfThemesIsReadOncePerLookUp) {
    const int themes = 40;
    const int watcher = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watcher, 0);
    std::map<int, int> opens;   // by watch: openings of index.theme
    for (int i = 0; i < themes; ++i) {
        const std::string folder = User / ("icons/Chain" + std::to_string(i));
        WriteText(folder + "/index.theme",
            "[Icon Theme]\nInherits=Chain" + std::to_string(i + 1)
                + "\nDirectories=16x16/apps,32x32/apps\n[16x16/apps]\nSize=16\n[32x32/apps]\nSize=32\n");
        const int watch = ::inotify_add_watch(watcher, folder.c_str(), IN_OPEN);
        ASSERT_GE(watch, 0);
        opens[watch] = 0;
    }
    EXPECT_EQ(FindThemeIcon({"node-1", "node-2", "node-3", "node-4", "node-5"}, 16, "Chain0", Folders()), "");
    alignas(inotify_event) char buffer[65536];
    for (ssize_t n; (n = ::read(watcher, buffer, sizeof buffer)) > 0;)
        for (char* p = buffer; p < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            if (event->len > 0 && std::string(event->name) == "index.theme") ++opens[event->wd];
            p += sizeof(inotify_event) + event->len;
        }
    ::close(watcher);
    int read = 0;
    for (const auto& [watch, count] : opens) {
        EXPECT_LE(count, 1) << "watch " << watch;
        read += count > 0;
    }
    EXPECT_GE(read, 30);   // the chain is followed, up to its cap
}

}

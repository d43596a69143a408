// A user's first day with the installed program on Xvfb: `cmake --install` into a temporary prefix, then the
// program from there against a fake farm, each step checked on its own files (settings, history, log) and on
// the screen: the first start, nodes added, a skin chosen from the window menu and kept over a restart, "Run
// minimized" with a tray (monitoring while hidden, the icon's frames running) and without one (the window stays
// reachable, a second start quits without a word), -5 typed into "Updating", quick delete down to one node, and F12.
#include "support/KorvexRun.h"
#include "support/TrayManager.h"

#include "app/settings/Settings.h"
#include "tools/fakefarm/FarmControlService.h"
#include "platform/os/Registry.h"
#include "platform/user/SystemMetrics.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace korvex::e2e {
namespace {

namespace fs = std::filesystem;

#ifdef KORVEX_BUILD_DIR
const char* const BuildDir = KORVEX_BUILD_DIR;
const char* const Xshot = KORVEX_XSHOT;
const char* const PictureDir = KORVEX_PICTURE_DIR;
#else
const char* const BuildDir = nullptr;
const char* const Xshot = nullptr;
const char* const PictureDir = nullptr;
#endif

const char* const MainTitle = "KORVEX. Ver. 2.6.0.11";

std::string Picture(const std::string& name) {
    return std::string(PictureDir) + "/first-day-" + name + ".png";
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// The mean brightness (0..255) of a rectangle of the picture.
int Brightness(const gdi::Bitmap& shot, const gdi::RECT& r) {
    long sum = 0, n = 0;
    for (int y = std::max(0, int(r.top)); y < std::min(shot.Height(), int(r.bottom)); ++y)
        for (int x = std::max(0, int(r.left)); x < std::min(shot.Width(), int(r.right)); ++x) {
            const gdi::COLORREF c = shot.PixelAt(x, y);
            sum += (c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF);
            n += 3;
        }
    return n == 0 ? -1 : int(sum / n);
}

// Pixels of the status squares' yellow (0x00BBGGRR) inside a rectangle.
int YellowPixels(const gdi::Bitmap& shot, const gdi::RECT& r) {
    int n = 0;
    for (int y = std::max(0, int(r.top)); y < std::min(shot.Height(), int(r.bottom)); ++y)
        for (int x = std::max(0, int(r.left)); x < std::min(shot.Width(), int(r.right)); ++x)
            n += shot.PixelAt(x, y) == 0x00FFFF;
    return n;
}

// The pixels of a rectangle, to tell two pictures of it apart.
std::vector<gdi::COLORREF> Pixels(const gdi::Bitmap& shot, const gdi::RECT& r) {
    std::vector<gdi::COLORREF> pixels;
    for (int y = std::max(0, int(r.top)); y < std::min(shot.Height(), int(r.bottom)); ++y)
        for (int x = std::max(0, int(r.left)); x < std::min(shot.Width(), int(r.right)); ++x)
            pixels.push_back(shot.PixelAt(x, y));
    return pixels;
}

// The main window's client point (x, y) on the screen: the frame and the caption and menu bands are the
// platform's (the skin paints over them, it does not change them).
std::pair<int, int> ClientPoint(const gdi::RECT& window, int x, int y, bool menu = true) {
    const int dx = user::GetSystemMetrics(user::SM_CXFIXEDFRAME);
    const int dy = user::GetSystemMetrics(user::SM_CYFIXEDFRAME) + user::GetSystemMetrics(user::SM_CYCAPTION)
        + (menu ? user::GetSystemMetrics(user::SM_CYMENU) : 0);
    return {window.left + dx + x, window.top + dy + y};
}

class KorvexFirstDay : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        XInitThreads();   // the tray manager's connection lives on a thread of its own
        Server = new XvfbServer(1280, 800);
        if (!BuildDir) return;
        char pattern[] = "/tmp/korvex-prefix-XXXXXX";
        if (!::mkdtemp(pattern)) return;
        Prefix = pattern;
        std::string output;
        InstallStatus = RunProcess({"cmake", "--install", BuildDir, "--prefix", Prefix}, {}, 120000, &output);
    }
    static void TearDownTestSuite() {
        delete Server;
        Server = nullptr;
        std::error_code ignored;
        if (!Prefix.empty()) fs::remove_all(Prefix, ignored);
    }
    void SetUp() override {
        KORVEX_E2E_NEED(BuildDir, "the program is not built");
        KORVEX_E2E_NEED(Server->Running(), "no Xvfb: " << Server->Error());
        ASSERT_EQ(InstallStatus, 0) << "cmake --install failed";
    }

    static std::string Program() { return Prefix + "/lib/korvex/korvex"; }

    std::unique_ptr<TKorvexRun> MakeRun(int nodes, Environment extra) {
        TKorvexRunOptions options;
        options.Extra = std::move(extra);
        options.Farm.Nodes = nodes;
        options.Farm.StepSeconds = 30;
        options.MinuteMs = 1000;
        options.InPlace = true;
        return std::make_unique<TKorvexRun>(Program(), Xshot, *Server, options);
    }
    // Waits until every answering node of the farm has a line in the history.
    static bool HistoryHasEveryNode(TKorvexRun& run, int timeoutMs = 60000) {
        return TKorvexRun::WaitUntil(
            [&] {
                const std::vector<std::string> lines = run.HistoryLines();
                for (const fakefarm::TFakeNode& node : run.Farm().Nodes) {
                    if (node.Role == fakefarm::TNodeRole::Unreachable) continue;
                    const bool found = std::any_of(lines.begin(), lines.end(),
                        [&](const std::string& l) { return l.find("=" + node.Label) != std::string::npos; });
                    if (!found) return false;
                }
                return true;
            },
            timeoutMs);
    }
    static bool Shows(TKorvexRun& run, const std::string& title, int timeoutMs = 30000) {
        return TKorvexRun::WaitUntil([&] { return run.WindowRect(title).has_value(); }, timeoutMs);
    }
    static bool ClickAt(TKorvexRun& run, std::pair<int, int> p) {
        return run.Xdotool({"mousemove", std::to_string(p.first), std::to_string(p.second), "click", "1"});
    }
    // The main window's title band (right of the icon, left of the caption buttons).
    static gdi::RECT TitleBand(const gdi::RECT& w) {
        return gdi::RECT {w.left + 30, w.top + 3, w.right - 80, w.top + 17};
    }

    static XvfbServer* Server;
    static std::string Prefix;
    static int InstallStatus;
};

XvfbServer* KorvexFirstDay::Server = nullptr;
std::string KorvexFirstDay::Prefix;
int KorvexFirstDay::InstallStatus = -1;

TEST_F(KorvexFirstDay, FromTheInstallThroughTheFirstDay) {
    // ---- The install: the program beside its skin folders, a desktop entry naming it where it is.
    const std::string entry = Slurp(Prefix + "/share/applications/korvex.desktop");
    EXPECT_NE(entry.find("\nExec=" + Program() + "\n"), std::string::npos) << entry;
    EXPECT_TRUE(fs::exists(Prefix + "/lib/korvex/MacOS (internal)/Options.dat"));

    // Node 0's control service answers its status query 0.7 s late: the node stays busy that long in each cycle
    // once it is in FARM mode (the tray's frames run then).
    fakefarm::TFarmControlService slow("127.0.0.3", 0, "127.0.0.1", 0);
    ASSERT_TRUE(slow.Listening());
    fakefarm::TFarmBehaviour late;
    late.Answer = fakefarm::TFarmAnswer::Late;
    late.DelayMs = 700;
    slow.SetBehaviour(late);
    auto run = MakeRun(3, {{"KORVEX_FARM_SERVICE_PORT", std::to_string(slow.Port())}});
    slow.SetReplyPort(run->FarmPort());
    // The farm's folders, as the user will type them into the options; the first start has no settings.
    const std::string settings = fakefarm::RegistryFile(run->Farm().Dir);
    std::vector<std::pair<std::string, std::string>> farmNodes;
    for (const fakefarm::TFakeNode& node : run->Farm().Nodes)
        farmNodes.emplace_back(node.Label, *run->SettingString(app::PathKey, "Path" + std::to_string(node.Index)));
    fs::remove(settings);

    // ---- First start: one node, "Local host", in the default skin (dark glass).
    SCOPED_TRACE("first start");
    ASSERT_TRUE(run->Start());
    ASSERT_TRUE(Shows(*run, MainTitle)) << run->ProgramLog();
    EXPECT_TRUE(TKorvexRun::WaitUntil([&] { return run->SettingInteger(app::OptionsKey, "HostCount") == 1; }, 60000));
    EXPECT_EQ(run->SettingString(app::LabelKey, "Label0"), "Local host");
    EXPECT_NE(run->ProgramLog().find("] Start monitor"), std::string::npos);
    gdi::RECT main = *run->WindowRect(MainTitle);
    {
        auto shot = run->Screenshot(Picture("1-first-start"));
        ASSERT_TRUE(shot);
        EXPECT_LT(Brightness(*shot.Get(), TitleBand(main)), 110) << "LongHorn's title band is dark";
    }

    // ---- Add nodes: "Quick add host" twice; each adds a row.
    SCOPED_TRACE("add nodes");
    const auto addHost = ClientPoint(main, 165 + 13, 3 + 12);
    for (int hosts = 2; hosts <= 3; ++hosts) {
        ASSERT_TRUE(ClickAt(*run, addHost));
        EXPECT_TRUE(
            TKorvexRun::WaitUntil([&] { return run->SettingInteger(app::OptionsKey, "HostCount") == hosts; }, 60000))
            << hosts;
    }
    ASSERT_TRUE(TKorvexRun::WaitUntil(
        [&] {
            const auto grown = run->WindowRect(MainTitle);
            return grown && grown->Height() == main.Height() + 2 * 16;
        },
        60000));
    main = *run->WindowRect(MainTitle);
    // Three rows, each with its yellow square (no data yet); a square takes the window's colour while its node
    // is read, so the picture is taken again until all three show.
    EXPECT_TRUE(TKorvexRun::WaitUntil(
        [&] {
            auto shot = run->Screenshot(Picture("2-nodes-added"));
            return shot && YellowPixels(*shot.Get(), main) >= 3 * 13 * 13;
        },
        60000));

    // ---- A skin from the window menu: a right click on the title, "Available skins", the second one.
    SCOPED_TRACE("skin from the window menu");
    // Each key waits for the menu it goes to: a loaded machine shows a menu late. Menus are the untitled
    // windows (a button's hint is titled with its text, and may come or go meanwhile).
    const auto untitled = [&] {
        const std::vector<std::string> windows = run->VisibleWindows();
        return std::count(windows.begin(), windows.end(), std::string());
    };
    const auto menusBefore = untitled();
    const auto menusOpen = [&](int menus) {
        return TKorvexRun::WaitUntil([&] { return untitled() >= menusBefore + menus; }, 60000);
    };
    ASSERT_TRUE(run->Xdotool(
        {"mousemove", std::to_string(main.left + main.Width() / 2), std::to_string(main.top + 10), "click", "3"}));
    ASSERT_TRUE(menusOpen(1)) << "no window menu";
    run->Screenshot(Picture("3-window-menu"));
    // The skins are listed once each: LongHorn, MacOS, NextStyle, Office2003.
    ASSERT_TRUE(run->Xdotool({"key", "Down", "Right"}));
    ASSERT_TRUE(menusOpen(2)) << "no skins menu";
    ASSERT_TRUE(run->Xdotool({"key", "Down", "Return"}));
    EXPECT_TRUE(TKorvexRun::WaitUntil(
        [&] { return run->SettingString(app::OptionsKey, "SkinName") == "MacOS (internal)"; }, 60000))
        << run->SettingString(app::OptionsKey, "SkinName").value_or("(none)");
    {
        bool light = false;
        TKorvexRun::WaitUntil(
            [&] {
                auto shot = run->Screenshot(Picture("4-macos"));
                light = shot && Brightness(*shot.Get(), TitleBand(main)) > 150;
                return light;
            },
            60000);
        EXPECT_TRUE(light) << "MacOS's title band is light";
    }

    // ---- Restart: the same skin. The user has meanwhile typed the farm's folders into the options.
    SCOPED_TRACE("restart");
    ASSERT_EQ(run->Terminate(), 0);
    for (std::size_t i = 0; i < farmNodes.size(); ++i) {
        run->SetSettingString(app::LabelKey, "Label" + std::to_string(i), farmNodes[i].first);
        run->SetSettingString(app::PathKey, "Path" + std::to_string(i), farmNodes[i].second);
    }
    ASSERT_TRUE(run->Start());
    ASSERT_TRUE(Shows(*run, MainTitle));
    main = *run->WindowRect(MainTitle);
    {
        bool light = false;
        TKorvexRun::WaitUntil(
            [&] {
                auto shot = run->Screenshot(Picture("5-restarted"));
                light = shot && Brightness(*shot.Get(), TitleBand(main)) > 150;
                return light;
            },
            60000);
        EXPECT_TRUE(light) << "still MacOS after the restart";
    }
    EXPECT_EQ(run->SettingString(app::OptionsKey, "SkinName"), "MacOS (internal)");
    ASSERT_EQ(run->Terminate(), 0);

    // ---- "Run minimized" with a tray: the hidden program monitors; its icon's frames run while it reads.
    SCOPED_TRACE("run minimized with a tray");
    TrayManager tray;
    ASSERT_TRUE(tray.Start(Server->Name()));
    run->SetSettingInteger(app::OptionsKey, "RunMinimized", 1);
    run->SetSettingInteger(app::GetWUKey, "Get0", 1);
    run->SetSettingString(app::GetWUKey, "RSPath0", "C:\\FAH");
    run->SetSettingString(app::PathKey, "Ip0", "127.0.0.3");
    fs::remove(run->ProgramFolder() + "/KORVEX.WUS");
    ASSERT_TRUE(run->Start());
    ASSERT_TRUE(TKorvexRun::WaitUntil([&] { return !tray.Icons().empty(); }, 60000));
    bool everShown = false;
    const bool monitored = TKorvexRun::WaitUntil(
        [&] {
            everShown = everShown || run->WindowRect(MainTitle).has_value();
            return HistoryHasEveryNode(*run, 0);
        },
        60000);
    EXPECT_TRUE(monitored) << "history lines while the window was never opened\n" << run->ProgramLog();
    EXPECT_FALSE(everShown);
    // The icon slot's pictures while the nodes are read: the frames change.
    const TrayManager::Docked icon = tray.Icons()[0];
    const gdi::RECT slot {icon.X, icon.Y, icon.X + icon.Size, icon.Y + icon.Size};
    std::set<std::vector<gdi::COLORREF>> frames;
    TKorvexRun::WaitUntil(
        [&] {
            if (auto shot = run->Screenshot(Picture("6-tray-icon"))) frames.insert(Pixels(*shot.Get(), slot));
            return frames.size() >= 3;
        },
        60000);
    EXPECT_GE(frames.size(), 3u) << "the tray icon's frames while busy; queries " << slow.Messages().size();
    // The icon brings the window.
    ASSERT_TRUE(ClickAt(*run, {icon.X + icon.Size / 2, icon.Y + icon.Size / 2}));
    EXPECT_TRUE(Shows(*run, MainTitle));
    run->Screenshot(Picture("7-from-the-tray"));
    ASSERT_EQ(run->Terminate(), 0);

    // ---- The same without a tray: iconified (unmapped without a window manager), never lost.
    SCOPED_TRACE("run minimized without a tray");
    tray.Stop();
    const int noTrayBefore = Count(run->ProgramLog(), "No notification area");
    ASSERT_TRUE(run->Start());
    ASSERT_TRUE(TKorvexRun::WaitUntil([&] { return run->HasWindow(MainTitle); }, 60000));
    EXPECT_TRUE(TKorvexRun::WaitUntil(
        [&] { return Count(run->ProgramLog(), "No notification area") == noTrayBefore + 1; }, 60000))
        << run->ProgramLog();
    EXPECT_FALSE(run->WindowRect(MainTitle).has_value());
    // A second start quits silently: it brings no window and logs nothing.
    const int starts = Count(run->ProgramLog(), "] Start monitor");
    // Watched while it runs, up to its end: the sign that the moment it could have shown one has passed.
    bool showed = false;
    EXPECT_EQ(run->StartAnother(60000, [&] { showed = showed || !run->VisibleWindows().empty(); }), 0);
    EXPECT_FALSE(showed) << "the second start showed a window";
    EXPECT_FALSE(run->WindowRect(MainTitle).has_value()) << "the second start showed a window";
    EXPECT_EQ(Count(run->ProgramLog(), "] Start monitor"), starts);
    EXPECT_EQ(run->VisibleWindows().size(), 0u) << "the second start showed something";
    run->Screenshot(Picture("8-second-start"));
    // Started again without "Run minimized", the window shows.
    ASSERT_EQ(run->Terminate(), 0);
    run->SetSettingInteger(app::OptionsKey, "RunMinimized", 0);
    ASSERT_TRUE(run->Start());
    ASSERT_TRUE(Shows(*run, MainTitle));
    main = *run->WindowRect(MainTitle);

    // ---- -5 typed into "Updating": kept within 1..180, and the watchdog asks nothing.
    SCOPED_TRACE("-5 in Updating");
    // "Options" is disabled while nodes are read: the user presses F3 again until it opens.
    ASSERT_TRUE(run->Xdotool({"search", "--name", MainTitle, "windowfocus", "--sync"}));
    ASSERT_TRUE(TKorvexRun::WaitUntil(
        [&] {
            return run->Xdotool({"key", "F3"}) && Shows(*run, "Options", 700);
        },
        60000));
    const gdi::RECT options = *run->WindowRect("Options");
    // Each step waits until the window's picture shows that it was taken.
    const auto optionsPicture = [&](const std::string& name) {
        auto shot = run->Screenshot(Picture(name));
        return shot ? Pixels(*shot.Get(), options) : std::vector<gdi::COLORREF> {};
    };
    const auto changesFrom = [&](const std::vector<gdi::COLORREF>& before, const std::string& name) {
        return TKorvexRun::WaitUntil([&] { return optionsPicture(name) != before; }, 30000);
    };
    std::vector<gdi::COLORREF> picture = optionsPicture("9-options");
    ASSERT_TRUE(ClickAt(*run, ClientPoint(options, 130, 10, false)));   // the "Interface control" tab
    ASSERT_TRUE(changesFrom(picture, "9-options")) << "no other page";
    // The "Updating" spin edit: everything in it deleted, then "-5" typed: the window shows what was typed
    // and says that it is not stored.
    picture = optionsPicture("9-options");
    const std::optional<int> stored = run->SettingInteger(app::OptionsKey, "Update");
    ASSERT_TRUE(stored && *stored >= 1 && *stored <= 180);
    ASSERT_TRUE(ClickAt(*run, ClientPoint(options, 6 + 6 + 120 + 20, 22 + 4 + 20 + 8, false)));
    ASSERT_TRUE(run->Xdotool({"key", "End", "BackSpace", "BackSpace", "BackSpace", "BackSpace", "minus", "5"}));
    EXPECT_TRUE(changesFrom(picture, "9-updating")) << "the keys did not reach the field";
    EXPECT_EQ(run->SettingInteger(app::OptionsKey, "Update"), stored) << "only a whole value within 1..180 is stored";
    ASSERT_TRUE(run->Xdotool({"key", "Tab"}));
    // Closed with its close box; node 0's next cycles pass without a question (each begins with a query of
    // its service, and each cycle of a 1 s minute is a watchdog's chance to ask).
    ASSERT_TRUE(ClickAt(*run, {options.right - 11, options.top + 12}));
    EXPECT_TRUE(TKorvexRun::WaitUntil([&] { return !run->WindowRect("Options"); }, 30000));
    const std::size_t queries = slow.Messages().size();
    EXPECT_TRUE(slow.WaitForMessages(queries + 4, 60000)) << "node 0 stopped its cycles";
    const std::vector<std::string> windows = run->VisibleWindows();
    EXPECT_EQ(std::find(windows.begin(), windows.end(), "Confirm"), windows.end()) << "the watchdog asked";
    for (int i = 0; i < 3 && run->VisibleWindows().size() > 1; ++i) {   // answer what was asked, if anything
        const std::size_t open = run->VisibleWindows().size();
        run->Xdotool({"key", "Escape"});
        TKorvexRun::WaitUntil([&] { return run->VisibleWindows().size() < open; }, 30000);
    }

    // ---- Quick delete down to one node: the last one stays.
    SCOPED_TRACE("quick delete");
    const auto deleteHost = ClientPoint(main, 192 + 13, 3 + 12);
    const int hosts = run->SettingInteger(app::OptionsKey, "HostCount").value_or(0);
    ASSERT_EQ(hosts, 3);
    for (int click = 0; click < 3; ++click) {   // each click after the last one's node is gone
        ASSERT_TRUE(ClickAt(*run, deleteHost));
        const int left = std::max(1, hosts - click - 1);
        EXPECT_TRUE(TKorvexRun::WaitUntil(
            [&] { return run->SettingInteger(app::OptionsKey, "HostCount") == left; }, 30000))
            << "after click " << click + 1;
    }
    run->Screenshot(Picture("10-one-node"));

    // ---- F12: the check-points view, reached only by its shortcut.
    SCOPED_TRACE("F12");
    // The pointer leaves the tool bar, so no button's hint comes up; the window F12 brings is a new title.
    ASSERT_TRUE(run->Xdotool({"mousemove", "1", "1"}));
    const std::vector<std::string> before = run->VisibleWindows();
    ASSERT_TRUE(run->Xdotool({"search", "--name", MainTitle, "windowfocus", "--sync"}));
    ASSERT_TRUE(run->Xdotool({"key", "F12"}));
    EXPECT_TRUE(TKorvexRun::WaitUntil(
        [&] {
            for (const std::string& title : run->VisibleWindows())
                if (std::find(before.begin(), before.end(), title) == before.end()) return true;
            return false;
        },
        60000))
        << "no check-points window";
    // The window came after the last quick delete's click, which was taken first: it deleted nothing.
    EXPECT_EQ(run->SettingInteger(app::OptionsKey, "HostCount"), 1);
    run->Screenshot(Picture("11-check-points"));
    run->Xdotool({"key", "Return"});
    EXPECT_EQ(run->Terminate(), 0);
}

}
}

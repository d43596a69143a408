// The program itself on Xvfb against fake farms: rows after the first cycles beside the readings of the same
// folders, a finishing unit, the unreachable host, the farm exchange with loopback control services, the
// watchdog's restart, close to tray and back, and Exit while the node threads read.
#include "support/KorvexRun.h"
#include "support/TrayManager.h"
#include "tools/fakefarm/FarmControlService.h"
#include "tools/fakefarm/FarmServices.h"
#include "tools/fakefarm/SmbAnswerer.h"

#include "app/nodes/NodeFiles.h"
#include "app/settings/Settings.h"
#include "app/cache/WorkUnitFiles.h"
#include "platform/base/DateTime.h"
#include "platform/gdi/PngCodec.h"
#include "platform/os/SingleInstance.h"
#include "platform/os/TimeZone.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace korvex::e2e {
namespace {

using fakefarm::TFarmAnswer;
using fakefarm::TFarmBehaviour;
using fakefarm::TFarmControlService;

#ifdef KORVEX_PROGRAM
const char* const Program = KORVEX_PROGRAM;
const char* const Xshot = KORVEX_XSHOT;
const char* const PictureDir = KORVEX_PICTURE_DIR;
#else
const char* const Program = nullptr;
const char* const Xshot = nullptr;
const char* const PictureDir = nullptr;
#endif

// History lines of a unit: "[date] name*rcg#points=node".
int LinesOfUnit(const std::vector<std::string>& lines, const std::string& name, const std::string& rcg) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
        [&](const std::string& line) { return line.find("] " + name + "*" + rcg + "#") != std::string::npos; }));
}

int PixelsOf(const gdi::Bitmap& shot, gdi::COLORREF color) {
    int count = 0;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x)
            count += shot.PixelAt(x, y) == color;
    return count;
}

// Photographs the screen until at least `pixels` pixels have the colour (a square takes the form's colour while
// its node's cycle runs, so one picture may catch it between two colours); false after timeoutMs.
bool ScreenShows(TKorvexRun& run, const std::string& picture, gdi::COLORREF color, int pixels, int timeoutMs = 60000) {
    return TKorvexRun::WaitUntil(
        [&] {
            auto shot = run.Screenshot(picture);
            return shot && PixelsOf(*shot.Get(), color) >= pixels;
        },
        timeoutMs);
}

constexpr gdi::COLORREF Red = 0x0000FF;   // 0x00BBGGRR
constexpr gdi::COLORREF Lime = 0x00FF00;

std::string Farm(int command) {
    return "#" + std::to_string(command) + "*";
}

int CountCommands(const TFarmControlService& service, int command) {
    const std::vector<std::string> messages = service.Messages();
    return static_cast<int>(std::count_if(messages.begin(), messages.end(),
        [&](const std::string& m) { return m.find(Farm(command)) != std::string::npos; }));
}

class KorvexProgram : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        XInitThreads();   // the tray manager's connection lives on a thread of its own
        Server = new XvfbServer(1280, 800);
    }
    static void TearDownTestSuite() {
        delete Server;
        Server = nullptr;
    }
    void SetUp() override {
        KORVEX_E2E_NEED(Program, "the program is not built");
        KORVEX_E2E_NEED(Server->Running(), "no Xvfb: " << Server->Error());
    }

    std::unique_ptr<TKorvexRun> Run(int nodes, int minuteMs, Environment extra = {},
        const std::function<void(TKorvexRun&)>& before = {}) {
        TKorvexRunOptions options;
        options.Farm.Nodes = nodes;
        options.Farm.StepSeconds = 30;
        options.MinuteMs = minuteMs;
        options.Extra = std::move(extra);
        auto run = std::make_unique<TKorvexRun>(Program, Xshot, *Server, options);
        if (before) before(*run);
        EXPECT_TRUE(run->Start());
        return run;
    }
    // Waits until every node that answers has its unit in the history.
    static bool FirstCyclesDone(TKorvexRun& run, int timeoutMs = 60000) {
        return TKorvexRun::WaitUntil(
            [&] {
                const std::vector<std::string> lines = run.HistoryLines();
                for (const fakefarm::TFakeNode& node : run.Farm().Nodes)
                    if (node.Role != fakefarm::TNodeRole::Unreachable
                        && LinesOfUnit(lines, fakefarm::UnitName(node), ReadingOf(node).RCG) == 0)
                        return false;
                return true;
            },
            timeoutMs);
    }
    static std::string Picture(const std::string& name) { return std::string(PictureDir) + "/" + name + ".png"; }

    static XvfbServer* Server;
};

XvfbServer* KorvexProgram::Server = nullptr;

TEST_F(KorvexProgram, FirstCyclesShowWhatTheFoldersSayAndTheDownHostRed) {
    auto run = Run(6, 1500);
    ASSERT_TRUE(FirstCyclesDone(*run)) << run->ProgramLog();
    // One history line for each unit, with the node's name: the row the program made from the same folder.
    const std::vector<std::string> lines = run->HistoryLines();
    for (const fakefarm::TFakeNode& node : run->Farm().Nodes) {
        if (node.Role == fakefarm::TNodeRole::Unreachable) continue;
        const app::TNodeReading reading = ReadingOf(node);
        ASSERT_EQ(LinesOfUnit(lines, reading.WUName, reading.RCG), 1) << node.Label;
        const auto line = std::find_if(lines.begin(), lines.end(),
            [&](const std::string& l) { return l.find(reading.WUName + "*" + reading.RCG) != std::string::npos; });
        EXPECT_NE(line->find("=" + node.Label), std::string::npos) << *line;
    }
    // The unreachable node's three squares are red; nothing else in the window is.
    EXPECT_TRUE(ScreenShows(*run, Picture("korvex-first-cycles"), Red, 3 * 100));
    // Exit saves each gauge's progress: the progress the folder gives.
    ASSERT_EQ(run->Terminate(), 0);
    for (const fakefarm::TFakeNode& node : run->Farm().Nodes) {
        if (node.Role == fakefarm::TNodeRole::Unreachable) continue;
        EXPECT_EQ(run->SettingInteger(app::DataKey, "Progress" + std::to_string(node.Index)), ReadingOf(node).Progress)
            << node.Label;
    }
    const std::string log = run->ProgramLog();
    EXPECT_NE(log.find("] Start monitor"), std::string::npos) << log;
    EXPECT_NE(log.find("] Stop monitor"), std::string::npos) << log;
}

// A lock the program cannot trust (here a link planted under its name in the user's lock folder) is an error
// said in the log, and the program ends with a failure before any window: it is not taken for another run.
TEST_F(KorvexProgram, ALockThatIsNotTheUsersOwnIsAnErrorNotAnotherRun) {
    std::string planted;
    auto run = Run(1, 1500, {}, [&planted](TKorvexRun& r) {
        std::string why;
        const std::string folder = os::SingleInstanceFolder(why);
        ASSERT_FALSE(folder.empty()) << why;
        planted = os::SingleInstanceLockPath(os::InstanceMutexName, folder, r.ProgramFolder());
        // The key is the folder's inode: a lock file left by an earlier run whose folder had the same inode may
        // sit there already.
        std::filesystem::remove(planted);
        std::filesystem::create_symlink(r.Folder() + "/elsewhere", planted);
    });
    // The link sits in the user's own lock folder, outside the run's folder: it goes with the test.
    const auto removeLink = std::unique_ptr<const std::string, void (*)(const std::string*)>(
        &planted, [](const std::string* path) { if (!path->empty()) ::unlink(path->c_str()); });
    EXPECT_EQ(run->WaitForEnd(60000), 1);
    const std::string log = run->ProgramLog();
    EXPECT_NE(log.find("] Cannot take the single-instance lock: "), std::string::npos) << log;
    EXPECT_NE(log.find("link"), std::string::npos) << log;
    EXPECT_EQ(log.find("Start monitor"), std::string::npos) << log;
    EXPECT_FALSE(std::filesystem::exists(run->Folder() + "/elsewhere"));
}

TEST_F(KorvexProgram, AFinishingUnitAddsExactlyOneHistoryLine) {
    // Node 0 is in FARM mode: each of its cycles starts with a status query, so the service counts its cycles.
    TFarmControlService service("127.0.0.3", 0, "127.0.0.1", 0);
    ASSERT_TRUE(service.Listening());
    auto run = Run(3, 1000, {{"KORVEX_FARM_SERVICE_PORT", std::to_string(service.Port())}}, [](TKorvexRun& r) {
        r.SetSettingInteger(app::GetWUKey, "Get0", 1);
        r.SetSettingString(app::GetWUKey, "RSPath0", "C:\\FAH");
        r.SetSettingString(app::PathKey, "Ip0", "127.0.0.3");
    });
    service.SetReplyPort(run->FarmPort());
    ASSERT_TRUE(FirstCyclesDone(*run)) << run->ProgramLog();
    const std::size_t before = run->HistoryLines().size();
    const int unit = run->Farm().Nodes[0].Unit;
    while (run->Farm().Nodes[0].Unit == unit) run->StepFarm();   // node 0 finishes its unit and starts the next
    const app::TNodeReading next = ReadingOf(run->Farm().Nodes[0]);
    ASSERT_TRUE(TKorvexRun::WaitUntil(
        [&] { return LinesOfUnit(run->HistoryLines(), next.WUName, next.RCG) > 0; }, 30000));
    // Three more of node 0's cycles see the same unit and write nothing: the fourth query after the line
    // shows that they ended, and their history writes with them.
    const std::size_t queries = service.Messages().size();
    ASSERT_TRUE(service.WaitForMessages(queries + 4, 60000)) << run->ProgramLog();
    const std::vector<std::string> lines = run->HistoryLines();
    EXPECT_EQ(lines.size(), before + 1);
    EXPECT_EQ(LinesOfUnit(lines, next.WUName, next.RCG), 1);
    EXPECT_EQ(run->Terminate(), 0);
}

// Node 0 asks the service at 127.0.0.3, node 3 the one at 127.0.0.4, node 4 an address where nothing listens.
void MakeFarmNodes(TKorvexRun& run) {
    const struct {
        int Node;
        const char* Ip;
    } nodes[] = {{0, "127.0.0.3"}, {3, "127.0.0.4"}, {4, "127.0.0.5"}};
    for (const auto& n : nodes) {
        const std::string i = std::to_string(n.Node);
        run.SetSettingInteger(app::GetWUKey, "Get" + i, 1);
        run.SetSettingString(app::GetWUKey, "RSPath" + i, "C:\\FAH");
        run.SetSettingString(app::PathKey, "Ip" + i, n.Ip);
    }
}

TEST_F(KorvexProgram, FarmExchangeRepliesSilenceRefusalAndAReplyFromAnotherNode) {
    // The services listen on a port of their own: the program listens on its farm port on every address.
    TFarmControlService first("127.0.0.3", 0, "127.0.0.1", 0);
    ASSERT_TRUE(first.Listening());
    TFarmControlService second("127.0.0.4", first.Port(), "127.0.0.1", 0);
    ASSERT_TRUE(second.Listening());
    TFarmBehaviour split;
    split.Answer = TFarmAnswer::Split;
    second.SetBehaviour(split);
    // A minute of 7 s: the watchdog allows 14 s, more than a status query's 10 s wait.
    auto run = Run(6, 7000, {{"KORVEX_FARM_SERVICE_PORT", std::to_string(first.Port())}}, MakeFarmNodes);
    first.SetReplyPort(run->FarmPort());
    second.SetReplyPort(run->FarmPort());

    // Replies in one piece and in three: both taken, so neither node is asked to start its console.
    ASSERT_TRUE(first.WaitForReplies(1, 60000)) << run->ProgramLog();
    ASSERT_TRUE(second.WaitForReplies(1, 60000)) << run->ProgramLog();
    ASSERT_TRUE(FirstCyclesDone(*run));
    // The next status query of each node shows that its replied cycle has ended, start command or not.
    ASSERT_TRUE(TKorvexRun::WaitUntil(
        [&] { return CountCommands(first, 3) >= 2 && CountCommands(second, 3) >= 2; }, 60000)) << run->ProgramLog();
    EXPECT_EQ(CountCommands(first, 1), 0);
    EXPECT_EQ(CountCommands(second, 1), 0);
    const std::string status = "#3*C:\\FAH^";
    EXPECT_NE(first.Messages()[0].find(status + "Node 00"), std::string::npos) << first.Messages()[0];
    EXPECT_NE(second.Messages()[0].find(status + "Node 03"), std::string::npos) << second.Messages()[0];
    EXPECT_TRUE(ScreenShows(*run, Picture("korvex-farm-replied"), Lime, 2 * 100));   // the replied nodes' squares

    // Now neither answers its own queries, and the first answers late, while the second's query waits: the
    // reply is not the second's, so after its wait the second is asked to start, as the first is.
    TFarmBehaviour silent;
    silent.Answer = TFarmAnswer::NoReply;
    first.SetBehaviour(silent);
    std::atomic<int> foreignReplies{0};
    second.OnMessage = [&](const std::string& message) {
        if (message.find("#3*") != std::string::npos && first.ReplyNow()) ++foreignReplies;
    };
    second.SetBehaviour(silent);
    const int queriesBefore = CountCommands(second, 3);
    ASSERT_TRUE(TKorvexRun::WaitUntil(
        [&] { return foreignReplies > 0 && CountCommands(second, 3) > queriesBefore && CountCommands(second, 1) > 0; },
        60000))
        << "foreign replies " << foreignReplies << ", start commands " << CountCommands(second, 1);
    EXPECT_TRUE(TKorvexRun::WaitUntil([&] { return CountCommands(first, 1) > 0; }, 60000));
    EXPECT_TRUE(run->Running());
    EXPECT_EQ(run->Terminate(), 0);
}

TEST_F(KorvexProgram, TheFakeFarmsControlServicesAnswerEveryFarmNode) {
    // The demo's farm: every node whose host answers is in FARM mode, its service on an address of its own.
    TKorvexRunOptions options;
    options.Farm.Nodes = 4;
    options.Farm.StepSeconds = 30;
    options.Farm.FarmServicePort = fakefarm::FreeLoopbackPort();
    options.MinuteMs = 3000;
    options.Extra = {{"KORVEX_FARM_SERVICE_PORT", std::to_string(options.Farm.FarmServicePort)}};
    TKorvexRun run(Program, Xshot, *Server, options);
    fakefarm::TFarm farm = run.Farm();
    farm.FarmPort = run.FarmPort();
    fakefarm::TFarmServices services(farm);
    ASSERT_EQ(services.Count(), 3);
    ASSERT_TRUE(run.Start());
    for (int i = 0; i < services.Count(); ++i)
        ASSERT_TRUE(services.Service(i).WaitForReplies(1, 60000)) << i << run.ProgramLog();
    ASSERT_TRUE(FirstCyclesDone(run));
    // The next status query of each node shows that its replied cycle has ended, start command or not.
    for (int i = 0; i < services.Count(); ++i)
        ASSERT_TRUE(TKorvexRun::WaitUntil([&] { return CountCommands(services.Service(i), 3) >= 2; }, 60000)) << i;
    for (int i = 0; i < services.Count(); ++i)
        EXPECT_EQ(CountCommands(services.Service(i), 1), 0) << i;   // replied: no start asked for
    // Three farm squares of 7 x 13 pixels in lime, beside the status squares of the running nodes.
    EXPECT_TRUE(ScreenShows(run, Picture("korvex-fakefarm-services"), Lime, 3 * 7 * 13));
    EXPECT_EQ(run.Terminate(), 0);
}

TEST_F(KorvexProgram, TheWatchdogRestartsAReaderThatStopsMoving) {
    // Node 0's status query waits 10 s for a reply that never comes: with a minute of 1 s the watchdog allows
    // 2 s, asks, and on Yes the node's thread is replaced without waiting out the query.
    TFarmControlService silent("127.0.0.3", 0, "127.0.0.1", 0);
    ASSERT_TRUE(silent.Listening());
    TFarmBehaviour quiet;
    quiet.Answer = TFarmAnswer::NoReply;
    silent.SetBehaviour(quiet);
    auto run = Run(1, 1000, {{"KORVEX_FARM_SERVICE_PORT", std::to_string(silent.Port())}}, [](TKorvexRun& r) {
        r.SetSettingInteger(app::GetWUKey, "Get0", 1);
        r.SetSettingString(app::PathKey, "Ip0", "127.0.0.3");
    });
    ASSERT_TRUE(silent.WaitForMessages(1, 30000)) << run->ProgramLog();
    ASSERT_TRUE(TKorvexRun::WaitUntil(
        [&] {
            const std::vector<std::string> windows = run->VisibleWindows();
            return std::find(windows.begin(), windows.end(), "Confirm") != windows.end();
        },
        30000));
    run->Screenshot(Picture("korvex-watchdog"));
    ASSERT_TRUE(run->Xdotool({"key", "Return"}));   // Yes has the focus
    // The new thread asks at once: the next message is its status query, where the old thread would have
    // waited out its query and then asked the node to start.
    ASSERT_TRUE(silent.WaitForMessages(2, 30000));
    EXPECT_NE(silent.Messages()[1].find(Farm(3)), std::string::npos) << silent.Messages()[1];
    EXPECT_EQ(run->Terminate(), 0);
}

const char* const MainTitle = "KORVEX. Ver. 2.6.0.11";

// The window manager shows the program's emblem for its window: the 16 and the 32 pixel one in turn.
TEST_F(KorvexProgram, TheMainWindowCarriesTheProgramsIconsForTheWindowManager) {
    auto run = Run(1, 1000);
    std::vector<std::uint32_t> icons;
    ASSERT_TRUE(TKorvexRun::WaitUntil([&] { return !(icons = run->WindowIcons(MainTitle)).empty(); }, 30000))
        << run->ProgramLog();
    ASSERT_EQ(icons.size(), std::size_t(2 + 16 * 16 + 2 + 32 * 32));
    EXPECT_EQ(icons[0], 16u);
    EXPECT_EQ(icons[1], 16u);
    ASSERT_EQ(icons[2 + 256], 32u);
    ASSERT_EQ(icons[2 + 256 + 1], 32u);
    const gdi::ImageResult emblem = gdi::ReadPngFile(std::string(KORVEX_SOURCE_DIR) + "/tray/icons/normal-32-0.png");
    ASSERT_TRUE(emblem);
    ASSERT_EQ(emblem.Image.Get()->Format(), gdi::PixelFormat::pf32bit);
    int differing = 0, covered = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const gdi::BYTE* p = emblem.Image.Get()->ScanLine(y) + x * 4;
            const std::uint32_t shown = icons[2 + 256 + 2 + std::size_t(y * 32 + x)];
            const std::uint32_t alpha = shown >> 24;
            if (alpha != p[3]) ++differing;
            if (alpha != 255) continue;   // the colour of a partly covering pixel comes back within rounding
            ++covered;
            if (shown != (0xFF000000u | std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0])) ++differing;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(covered, 200);
    EXPECT_EQ(run->Terminate(), 0);
}

TEST_F(KorvexProgram, TheCloseBoxHidesTheWindowInTheTrayAndTheIconBringsItBack) {
    TrayManager tray;
    ASSERT_TRUE(tray.Start(Server->Name()));
    auto run = Run(2, 1000);
    ASSERT_TRUE(FirstCyclesDone(*run));
    std::optional<gdi::RECT> frame;
    ASSERT_TRUE(TKorvexRun::WaitUntil([&] { return (frame = run->WindowRect(MainTitle)).has_value(); }, 30000));
    // The close box sits at the right end of the title bar.
    ASSERT_TRUE(run->Xdotool({"mousemove", std::to_string(frame->right - 16), std::to_string(frame->top + 9),
        "click", "1"}));
    ASSERT_TRUE(TKorvexRun::WaitUntil([&] { return !run->WindowRect(MainTitle); }, 30000));
    ASSERT_TRUE(TKorvexRun::WaitUntil([&] { return !tray.Icons().empty(); }, 30000));
    EXPECT_TRUE(run->Running());
    EXPECT_NE(run->ProgramLog().find("] Stop monitor"), std::string::npos);
    const TrayManager::Docked icon = tray.Icons()[0];
    ASSERT_TRUE(run->Xdotool({"mousemove", std::to_string(icon.X + icon.Size / 2), std::to_string(icon.Y + icon.Size / 2),
        "click", "1"}));
    EXPECT_TRUE(TKorvexRun::WaitUntil([&] { return run->WindowRect(MainTitle).has_value(); }, 30000));
    run->Screenshot(Picture("korvex-restored"));
    EXPECT_EQ(run->Terminate(), 0);
    tray.Stop();
}

// The top left pixel of the first 13 x 13 square of one colour set off on all four sides inside the
// rectangle: a node's status square, whatever its colour.
std::optional<gdi::POINT> FirstStatusSquare(const gdi::Bitmap& shot, const gdi::RECT& within) {
    constexpr int Side = 13;
    const int top = std::max(1, int(within.top)), bottom = std::min(shot.Height() - Side - 1, int(within.bottom));
    const int left = std::max(1, int(within.left)), right = std::min(shot.Width() - Side - 1, int(within.right));
    auto square = [&](int x0, int y0) {
        const gdi::COLORREF color = shot.PixelAt(x0, y0);
        for (int y = y0; y < y0 + Side; ++y)
            for (int x = x0; x < x0 + Side; ++x)
                if (shot.PixelAt(x, y) != color) return false;
        return shot.PixelAt(x0 - 1, y0 + Side / 2) != color && shot.PixelAt(x0 + Side, y0 + Side / 2) != color
            && shot.PixelAt(x0 + Side / 2, y0 - 1) != color && shot.PixelAt(x0 + Side / 2, y0 + Side) != color;
    };
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (square(x, y)) return gdi::POINT{x, y};
    return std::nullopt;
}

// The title of the program's visible window that starts with `prefix`; empty when there is none.
std::string WindowStartingWith(TKorvexRun& run, const std::string& prefix) {
    for (const std::string& title : run.VisibleWindows())
        if (title.rfind(prefix, 0) == 0) return title;
    return "";
}

TEST_F(KorvexProgram, TheStatusSquareOpensTheNodeInformationWindowInTwoSkins) {
    for (const char* skin : {"LongHorn (internal)", "Office2003 (internal)"}) {
        SCOPED_TRACE(skin);
        // One node that backs up, with a backup and a ready cache beside the program: all three groups fill.
        auto run = Run(1, 1000, {}, [skin](TKorvexRun& r) {
            r.SetSettingString(app::OptionsKey, "SkinName", skin);
            r.SetSettingInteger(app::GetWUKey, "Backup0", 1);
            const std::string node = r.Farm().Nodes[0].Folder;
            for (const std::string& copy : {app::BackupFolder(r.Folder(), 0), app::CacheFolder(r.Folder(), 0)}) {
                std::filesystem::create_directories(copy);
                std::filesystem::copy(node, copy, std::filesystem::copy_options::recursive);
            }
        });
        ASSERT_TRUE(FirstCyclesDone(*run)) << run->ProgramLog();
        std::optional<gdi::RECT> main;   // the history may be written before the window is mapped
        ASSERT_TRUE(TKorvexRun::WaitUntil([&] { return (main = run->WindowRect(MainTitle)).has_value(); }, 30000));
        std::optional<gdi::POINT> square;
        ASSERT_TRUE(TKorvexRun::WaitUntil(
            [&] {
                auto shot = run->Screenshot(Picture("korvex-before-node-information"));
                square = shot ? FirstStatusSquare(*shot.Get(), *main) : std::nullopt;
                return square.has_value();
            },
            60000));
        ASSERT_TRUE(run->Xdotool({"mousemove", std::to_string(square->x + 6), std::to_string(square->y + 6),
            "click", "1"}));
        const std::string title = "Node information " + run->Farm().Nodes[0].Label;
        ASSERT_TRUE(TKorvexRun::WaitUntil([&] { return !WindowStartingWith(*run, title).empty(); }, 60000))
            << WindowStartingWith(*run, "");
        const std::optional<gdi::RECT> info = run->WindowRect(title);
        ASSERT_TRUE(info);
        // The cached and backed-up units are read on threads after the window shows: the window is done when
        // its picture has changed from the first one and two pictures of it agree, or when it has not changed
        // for five pictures (the readings were in before the first one: files that read at once are not
        // waited for).
        const std::string picture = Picture(std::string("korvex-node-information-") + std::string(skin).substr(0, 4));
        auto windowPixels = [&] {
            std::vector<gdi::COLORREF> pixels;
            auto shot = run->Screenshot(picture);
            if (!shot) return pixels;
            for (int y = info->top; y < std::min(shot.Get()->Height(), int(info->bottom)); ++y)
                for (int x = info->left; x < std::min(shot.Get()->Width(), int(info->right)); ++x)
                    pixels.push_back(shot.Get()->PixelAt(x, y));
            return pixels;
        };
        const std::vector<gdi::COLORREF> first = windowPixels();
        ASSERT_FALSE(first.empty());
        std::vector<gdi::COLORREF> last = first;
        int unchanged = 0;
        EXPECT_TRUE(TKorvexRun::WaitUntil(
            [&] {
                std::vector<gdi::COLORREF> pixels = windowPixels();
                unchanged = pixels == first ? unchanged + 1 : 0;
                const bool done = (pixels != first && pixels == last) || unchanged >= 5;
                last = std::move(pixels);
                std::this_thread::sleep_for(std::chrono::milliseconds(300));
                return done;
            },
            60000));
        EXPECT_EQ(run->Terminate(), 0);
    }
}

TEST_F(KorvexProgram, ExitWhileTheNodeThreadsRead) {
    // Forty nodes on a minute of 200 ms: at any moment some thread is inside a read or a row refresh.
    auto run = Run(40, 200);
    ASSERT_TRUE(TKorvexRun::WaitUntil([&] { return run->HistoryLines().size() >= 10; }, 60000));
    EXPECT_EQ(run->Terminate(60000), 0);   // -1 when Exit hangs on a reading thread
    EXPECT_NE(run->ProgramLog().find("] Stop monitor"), std::string::npos);
}

}
}

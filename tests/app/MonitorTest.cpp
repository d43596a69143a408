// The monitor with real node threads: rows reaching the view, history lines, the farm exchange, hosts that
// do not answer, restarts, one-shot readings and stopping while threads are busy.
#include "app/monitor/Monitor.h"
#include "app/cache/WorkUnitFiles.h"
#include "app/farm/FarmLink.h"
#include "app/monitor/MonitorCore.h"
#include "app/nodes/NodeFiles.h"
#include "app/monitor/RowRefresh.h"
#include "support/AppEnvironment.h"
#include "support/FakeFarmService.h"

#include "platform/base/DateTime.h"
#include "platform/os/EventLoop.h"
#include "platform/os/EventLoopDispatcher.h"
#include "platform/os/Network.h"
#include "platform/os/RegistryStore.h"
#include "platform/os/ServerSocket.h"
#include "platform/os/TextFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <tuple>

namespace korvex::app {
namespace {

const base::TDateTime MonitorNow = base::EncodeDateTime(2024, 12, 6, 8, 0, 0, 0);

class TFakeView : public IMonitorView {
public:
    void RowRefreshed(const TRowRefresh& refresh) override {
        ++Calls;
        ++Refreshes[refresh.Row.Node];
        Rows[refresh.Row.Node] = refresh.Row;
        if (KeepRefreshes) Refreshed.push_back(refresh);
    }
    bool KeepRefreshes = false;
    void CycleStarted(int node) override {
        ++Calls;
        ++Cycles[node];
    }
    void BusyChanged(bool anyNodeBusy) override {
        ++Calls;
        Busy.push_back(anyNodeBusy);
    }

    int Calls = 0;
    std::map<int, int> Refreshes;
    std::map<int, int> Cycles;
    std::map<int, TRowView> Rows;
    std::vector<bool> Busy;
    std::vector<TRowRefresh> Refreshed;   // kept only by the tests that ask for it
};

// A client folder with a running unit.
void WriteNode(
    const std::string& folder, const std::string& protein = "p2605_Protein in water", int run = 5, int percent = 45) {
    test::TClientLog log;
    log.ClientStart().StepUnit(protein, "December 5 20:10:09", run, 33, 12, percent, 60);
    test::WriteFile(folder + "/FAHlog.txt", log.Text());
    test::WriteFile(folder + "/unitinfo.txt",
        test::JoinLines(test::UnitInfo(protein, "December 5 20:10:09", "December 11 20:10:09", percent)));
}

// Generous for a loaded machine: conditions end the waits, and a wait that runs out fails the test.
constexpr int WaitMs = 60000;
// A reply wait far beyond any limit here: a thread that waits it out instead of waking is left behind.
constexpr int LongPollMs = 30 * 60 * 1000;

class MonitorTest : public testing::Test {
protected:
    void SetUp() override {
        env.SetNow(MonitorNow);
        projects.Add(TProjectRow {"p2605_Protein in water", "GROMACS", 120});
        dispatcher.Install();
        timings.IntervalMs = 550;   // 50 ms asleep between cycles
        timings.FilePauseMs = 1;
        timings.JoinTimeoutMs = WaitMs;   // a thread that ends is never left behind, however busy the machine
        monitor.SetTimings(timings);
        monitor.FarmLink().SetPort(0);
        monitor.FarmLink().SetServicePort(service.Port());
        monitor.FarmLink().SetReplyWait(WaitMs / 20, 20);   // a reply that comes is always in time
    }
    void TearDown() override { monitor.Stop(); }

    TNodeSettings& AddNode(const std::string& label) {
        TNodeSettings node;
        node.Label = label;
        node.Path = env.File(label);
        WriteNode(node.Path);
        settings.Nodes.push_back(node);
        return settings.Nodes.back();
    }
    void Start() {
        history.Load();
        monitor.Start(settings, projects, history);
    }
    bool RefreshedAll(int times) {
        return test::PumpUntil(loop, [&] {
            for (int node = 0; node < static_cast<int>(settings.Nodes.size()); ++node)
                if (view.Refreshes[node] < times) return false;
            return true;
        });
    }

    test::TAppEnvironment env;
    std::atomic<int> skewMs {0};   // moves the loop's clock ahead
    os::TEventLoop loop {
        [this] { return std::chrono::steady_clock::now() + std::chrono::milliseconds(skewMs.load()); }};
    os::TEventLoopDispatcher dispatcher {loop};
    test::TFakeFarmService service {loop};
    TFakeView view;
    TMonitorTimings timings;
    TMonitor monitor {loop, view, env.Folder()};
    TSettings settings;
    TProjectTable projects;
    TWorkUnitHistory history;
};

// A node folder on a network share that hangs: a reader that blocks until released, as a read that never returns.
class TBlockingReader {
public:
    TFolderReader Reader(int hungNode) {   // hungNode < 0: every node
        return [this, hungNode](int node, const std::string& folder, base::TDateTime now) {
            if (hungNode < 0 || node == hungNode) {
                std::unique_lock<std::mutex> lock(FLock);
                ++FBlocked;
                FChanged.wait(lock, [this] { return FReleased; });
                --FBlocked;
            }
            return ReadNodeFolder(folder, now, FixedUtcOffset(0));
        };
    }
    int Blocked() {
        std::lock_guard<std::mutex> lock(FLock);
        return FBlocked;
    }
    void Release() {
        std::lock_guard<std::mutex> lock(FLock);
        FReleased = true;
        FChanged.notify_all();
    }

private:
    std::mutex FLock;
    std::condition_variable FChanged;
    int FBlocked = 0;
    bool FReleased = false;
};

TEST_F(MonitorTest, EveryNodeRefreshesItsRowAndStopSilencesTheView) {
    AddNode("one");
    AddNode("two");
    Start();
    EXPECT_TRUE(monitor.Running());
    EXPECT_EQ(monitor.NodeCount(), 2);
    ASSERT_TRUE(RefreshedAll(2));
    EXPECT_EQ(view.Rows[0].Progress, 45);
    EXPECT_EQ(view.Rows[1].Cell(TGridColumn::UnitKey), "2605 * 5-33-12");
    EXPECT_EQ(view.Rows[1].Cells[MarkerColumn], "1");   // the same unit on both
    EXPECT_EQ(view.Rows[0].Status.Color, StatusColor(TNodeStatus::Running));
    EXPECT_GE(view.Cycles[0], 2);
    ASSERT_FALSE(view.Busy.empty());
    EXPECT_TRUE(view.Busy.front());

    monitor.Stop();
    const int calls = view.Calls;
    loop.RunOnce(100);
    loop.ProcessPending();
    EXPECT_EQ(view.Calls, calls);
    EXPECT_FALSE(monitor.Running());
    EXPECT_EQ(monitor.NodeCount(), 0);
    EXPECT_EQ(monitor.SeenProgress(1), 45);   // kept for the exit-time save
}

// Each refresh sets the status bar's totals itself: the row it hands to the view carries the sum over every row
// as that refresh left it, with nothing left for a timer to show later.
TEST_F(MonitorTest, EveryRefreshBringsTheTotalsAsItLeftThem) {
    for (int i = 0; i < 3; ++i) {
        TNodeSettings node;
        node.Label = "node" + std::to_string(i);
        node.Path = env.File(node.Label);
        settings.Nodes.push_back(node);
    }
    settings.Language = 1;
    view.KeepRefreshes = true;
    auto core = std::make_shared<TMonitorCore>(
        view, std::make_shared<TFarmLink>(loop, "127.0.0.1"), settings, projects, history, env.Folder());
    std::thread nodes([&] {
        for (int i = 0; i < 3; ++i) {
            TNodeReading reading;
            reading.WUName = "p2605_Protein in water";
            reading.RCG = "5-33-" + std::to_string(i);
            reading.Progress = 40 + i;
            reading.Status = TNodeStatus::Running;
            reading.Start = MonitorNow - 0.5;
            reading.Deadline = MonitorNow + 5;
            reading.TimePerPercent = i == 1 ? NoTimeText : "00:12:00";
            core->RefreshRow(i, 0, TNodeCycle {reading, MonitorNow, {}});
        }
    });
    nodes.join();
    loop.ProcessPending();
    ASSERT_EQ(view.Refreshed.size(), 3u);
    std::vector<TNodeState> rows;
    for (int i = 0; i < 3; ++i)
        rows.push_back(MakeNodeState(i, settings.Nodes[static_cast<std::size_t>(i)]));
    EXPECT_FALSE(view.Rows[0].Cells[6].empty());
    EXPECT_TRUE(view.Rows[1].Cells[6].empty());
    for (int i = 0; i < 3; ++i) {
        rows[static_cast<std::size_t>(i)].Row = view.Refreshed[static_cast<std::size_t>(i)].Row;   // as it stood then
        EXPECT_EQ(view.Refreshed[static_cast<std::size_t>(i)].TotalsText, TotalsText(rows, 1)) << "refresh " << i;
    }
    core->Close();
}

// Each refresh of a node whose service replied looks at the node's cache folder itself: a cache made after
// another node's refresh in the same farm cycle shows at once, and one removed is gone at once.
TEST_F(MonitorTest, EachRefreshLooksAtItsNodesCacheFolderItself) {
    for (int i = 0; i < 2; ++i) {
        TNodeSettings node;
        node.Label = "node" + std::to_string(i);
        node.Path = env.File(node.Label);
        node.Get = true;
        settings.Nodes.push_back(node);
    }
    auto core = std::make_shared<TMonitorCore>(
        view, std::make_shared<TFarmLink>(loop, "127.0.0.1"), settings, projects, history, env.Folder());
    TNodeReading reading;
    reading.WUName = "p2605_Protein in water";
    reading.RCG = "5-33-1";
    reading.Progress = 40;
    reading.Status = TNodeStatus::Running;
    reading.Start = MonitorNow - 0.5;
    reading.TimePerPercent = "00:12:00";
    const TNodeCycle cycle {reading, MonitorNow, TFarmReply {true, FarmColorReplied, FarmStateRunning}};
    const std::string cache = CacheFolder(env.Folder(), 1);
    core->RefreshRow(0, 0, cycle);
    std::filesystem::create_directories(cache);
    core->RefreshRow(1, 0, cycle);
    loop.ProcessPending();
    EXPECT_EQ(view.Rows[1].Farm.Color, ColorAqua);
    EXPECT_NE(view.Rows[1].Farm.Hint.find("Node cashed"), std::string::npos);
    std::filesystem::remove(cache);
    core->RefreshRow(1, 0, cycle);
    loop.ProcessPending();
    EXPECT_EQ(view.Rows[1].Farm.Color, ColorLime);
    core->Close();
}

TEST_F(MonitorTest, AFinishingUnitAddsExactlyOneHistoryLine) {
    AddNode("one");
    Start();
    ASSERT_TRUE(RefreshedAll(3));
    EXPECT_EQ(history.Count(), 1);
    WriteNode(settings.Nodes[0].Path, "p2605_Protein in water", 5, 100);
    const int seen = view.Refreshes[0];
    ASSERT_TRUE(RefreshedAll(seen + 2));
    WriteNode(settings.Nodes[0].Path, "p2605_Protein in water", 6, 2);   // the next unit
    ASSERT_TRUE(RefreshedAll(seen + 4));
    ASSERT_EQ(history.Count(), 2);
    EXPECT_EQ(history.Entries()[0].RCG, "5-33-12");
    EXPECT_EQ(history.Entries()[1].RCG, "6-33-12");
}

// The core driven by hand through farm cycles of three nodes: the units and speeds their refreshes find are in
// the history file at once; the settings values (speeds, backup levels) in the store at once and in the settings
// file once, when every node has ended a cycle.
TEST_F(MonitorTest, AFarmCycleWritesTheSettingsFileOnceWhenItsLastNodeEndsAndTheHistoryAtOnce) {
    for (const char* label : {"one", "two", "three"})
        AddNode(label);
    settings.AutoBackup = true;
    for (TNodeSettings& node : settings.Nodes)
        node.Backup = true;
    history.Load();
    TMonitorCore core(view, std::make_shared<TFarmLink>(loop, "127.0.0.1"), settings, projects, history, env.Folder());
    core.SetFlushInterval(3600000);
    const std::string file = env.File("KORVEX.WUS");
    auto refresh = [&](int node, int progress, const char* timePerPercent = "00:12:00") {
        TNodeCycle c;
        c.Reading.WUName = "p2605_Protein in water";
        c.Reading.RCG = std::to_string(node) + "-33-12";
        c.Reading.Progress = progress;
        c.Reading.Status = TNodeStatus::Running;
        c.Reading.Start = MonitorNow - 0.5;
        c.Reading.TimePerPercent = timePerPercent;
        c.CycleStart = MonitorNow;
        core.CycleStarted(node, 0);
        core.RefreshRow(node, 0, c);
    };
    // A file written again: another inode, time or content than when last asked.
    std::map<std::string, std::string> seen;
    auto changed = [&](const std::string& path) {
        struct stat st {};
        ::stat(path.c_str(), &st);
        const std::string now = std::to_string(st.st_ino) + "/" + std::to_string(st.st_mtim.tv_sec) + "."
            + std::to_string(st.st_mtim.tv_nsec) + "/" + test::ReadFileText(path);
        const bool result = seen[path] != now;
        seen[path] = now;
        return result;
    };
    for (int node = 0; node < 3; ++node)
        refresh(node, 45);
    // The history file has each unit and speed at once, the store each value; the settings file waits.
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_NE(env.ReadFile("KORVEX.WUS").find("*2-33-12#120=three@10.00\r\n"), std::string::npos);
    EXPECT_TRUE(env.Stored(DataKey, "Gromacs2"));
    EXPECT_TRUE(env.Stored(DataKey, "BackLevel1"));
    core.CycleEnded(0, 0);
    core.CycleEnded(2, 0);
    EXPECT_FALSE(std::filesystem::exists(env.RegistryFile()));
    core.CycleEnded(1, 0);
    ASSERT_TRUE(std::filesystem::exists(env.RegistryFile()));
    EXPECT_TRUE(os::RegistryStore(env.RegistryFile()).GetValue(os::HKEY_LOCAL_MACHINE, DataKey, "Gromacs2"));
    EXPECT_TRUE(os::RegistryStore(env.RegistryFile()).GetValue(os::HKEY_LOCAL_MACHINE, DataKey, "BackLevel1"));
    changed(file);
    changed(env.RegistryFile());

    // A cycle that measures the same speeds changes nothing and writes nothing.
    refresh(0, 46);
    refresh(1, 46);
    core.CycleEnded(0, 0);
    core.CycleEnded(1, 0);
    EXPECT_FALSE(changed(file));
    EXPECT_FALSE(changed(env.RegistryFile()));

    // A refresh after the last cycle's end: its speed in the history file at once, in the settings file when
    // the monitor closes.
    refresh(2, 47, "00:06:00");
    EXPECT_TRUE(changed(file));
    EXPECT_FALSE(changed(env.RegistryFile()));
    core.Close();
    EXPECT_TRUE(changed(env.RegistryFile()));
    EXPECT_EQ(env.ReadFile("KORVEX.WUS").find("*2-33-12#120=three@10.00"), std::string::npos);
}

// Nodes read one after another are idle together after each of them, several times a farm cycle: the
// settings file is still written once a farm cycle, when every node has ended one; the history at each new speed.
TEST_F(MonitorTest, NodesIdleTogetherSeveralTimesACycleWriteTheSettingsFileOnceACycle) {
    for (const char* label : {"one", "two", "three"})
        AddNode(label);
    history.Load();
    TMonitorCore core(view, std::make_shared<TFarmLink>(loop, "127.0.0.1"), settings, projects, history, env.Folder());
    core.SetFlushInterval(3600000);
    // Each write of a file renames a new one over it: another inode, or a freed one used again with a new
    // change time.
    using TFileIdentity = std::tuple<ino_t, time_t, long>;
    auto identity = [](const std::string& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? TFileIdentity {st.st_ino, st.st_ctim.tv_sec, st.st_ctim.tv_nsec}
                                              : TFileIdentity {};
    };
    std::vector<TFileIdentity> historyWrites, settingsWrites;
    auto noteWrites = [&] {
        for (auto [path, writes] : {std::pair {env.File("KORVEX.WUS"), &historyWrites},
                 std::pair {env.RegistryFile(), &settingsWrites}})
            if (const TFileIdentity now = identity(path);
                now != TFileIdentity {} && (writes->empty() || writes->back() != now))
                writes->push_back(now);
    };
    for (int farmCycle = 0; farmCycle < 3; ++farmCycle)
        for (int node = 0; node < 3; ++node) {   // one at a time: none busy after each
            TNodeCycle c;
            c.Reading.WUName = "p2605_Protein in water";
            c.Reading.RCG = std::to_string(node) + "-33-12";
            c.Reading.Progress = 40 + farmCycle;   // a new speed every cycle
            c.Reading.Status = TNodeStatus::Running;
            c.Reading.TimePerPercent = farmCycle == 1 ? "00:06:00" : "00:12:00";
            c.CycleStart = MonitorNow;
            core.CycleStarted(node, 0);
            core.RefreshRow(node, 0, c);
            core.CycleEnded(node, 0);
            noteWrites();
            EXPECT_EQ(historyWrites.size(), std::size_t(farmCycle * 3 + node + 1)) << farmCycle << node;
            EXPECT_EQ(settingsWrites.size(), std::size_t(farmCycle + (node == 2 ? 1 : 0))) << farmCycle << node;
        }
    core.Close();
}

TEST_F(MonitorTest, ANodeThatStaysBusyHoldsTheWritesBackNoLongerThanTheFlushInterval) {
    AddNode("stuck");
    AddNode("working");
    history.Load();
    TMonitorCore core(view, std::make_shared<TFarmLink>(loop, "127.0.0.1"), settings, projects, history, env.Folder());
    core.SetFlushInterval(0);   // due at every cycle's end
    TNodeCycle c;
    c.Reading.WUName = "p2605_Protein in water";
    c.Reading.RCG = "1-2-3";
    c.Reading.Progress = 10;
    c.Reading.Status = TNodeStatus::Running;
    c.Reading.TimePerPercent = "00:12:00";
    c.CycleStart = MonitorNow;
    core.CycleStarted(0, 0);   // never ends
    core.CycleStarted(1, 0);
    core.RefreshRow(1, 0, c);
    core.CycleEnded(1, 0);
    EXPECT_NE(env.ReadFile("KORVEX.WUS").find("*1-2-3#120=working@10.00\r\n"), std::string::npos);
    core.Close();
}

// Each refresh that measures a new speed rewrites the history before it returns: two nodes' speeds are two
// rewrites, each refresh's in the file when it ends.
TEST_F(MonitorTest, EachNewSpeedRewritesTheHistoryWithinItsRefresh) {
    for (const char* label : {"one", "two"})
        AddNode(label);
    history.Load();
    TMonitorCore core(view, std::make_shared<TFarmLink>(loop, "127.0.0.1"), settings, projects, history, env.Folder());
    core.SetFlushInterval(3600000);
    const std::string file = env.File("KORVEX.WUS");
    std::atomic<int> rewrites {0};
    os::SetReplaceProbe([&](const std::string& target) {
        if (target == file) ++rewrites;
    });
    auto cycle = [](int node, int progress) {
        TNodeCycle c;
        c.Reading.WUName = "p2605_Protein in water";
        c.Reading.RCG = std::to_string(node) + "-33-12";
        c.Reading.Progress = progress;
        c.Reading.Status = TNodeStatus::Running;
        c.Reading.TimePerPercent = "00:12:00";
        c.CycleStart = MonitorNow;
        return c;
    };
    // The first cycles add the units' lines; the next ones give both a speed.
    for (int node = 0; node < 2; ++node) {
        core.CycleStarted(node, 0);
        core.RefreshRow(node, 0, cycle(node, 45));
        core.CycleEnded(node, 0);
    }
    history.ReSaveWU("p2605_Protein in water", "0-33-12", 1);   // speeds the next refreshes change again
    history.ReSaveWU("p2605_Protein in water", "1-33-12", 1);
    rewrites = 0;
    const char* const lines[] = {"*0-33-12#120=one@10.00\r\n", "*1-33-12#120=two@10.00\r\n"};
    for (int node = 0; node < 2; ++node) {
        core.CycleStarted(node, 0);
        core.RefreshRow(node, 0, cycle(node, 46));
        EXPECT_NE(env.ReadFile("KORVEX.WUS").find(lines[node]), std::string::npos) << node;
        EXPECT_EQ(rewrites.load(), node + 1);
        core.CycleEnded(node, 0);
    }
    os::SetReplaceProbe(nullptr);
    core.Close();
}

// A node whose folder vanished reads nothing: its square turns yellow (nothing decided), its progress and
// unit cells go; the points per day and per hour keep their last values, as every refresh without a time per
// percent does.
TEST_F(MonitorTest, ANodeWhoseFolderVanishedShowsYellow) {
    AddNode("gone");
    Start();
    ASSERT_TRUE(RefreshedAll(1));
    EXPECT_EQ(view.Rows[0].Status.Color, StatusColor(TNodeStatus::Running));
    const std::string day = view.Rows[0].Cells[6];
    std::filesystem::remove_all(settings.Nodes[0].Path);
    const int seen = view.Refreshes[0];
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return view.Refreshes[0] >= seen + 2; }));
    EXPECT_EQ(view.Rows[0].Status.Color, StatusColor(TNodeStatus::Undecided));
    EXPECT_EQ(view.Rows[0].Progress, 0);
    EXPECT_EQ(view.Rows[0].Cells[8], " * ");
    EXPECT_EQ(view.Rows[0].Cells[6], day);
}

// Every cycle start tells the view the farm is busy (it checks its tray then); only an end that leaves no node
// busy tells it the farm is idle, and at once.
TEST_F(MonitorTest, EveryCycleStartIsBusyAndTheLastEndIsIdle) {
    AddNode("first");
    AddNode("second");
    history.Load();
    TMonitorCore core(view, std::make_shared<TFarmLink>(loop, "127.0.0.1"), settings, projects, history, env.Folder());
    core.CycleStarted(0, 0);
    core.CycleStarted(1, 0);
    core.CycleEnded(0, 0);
    core.CycleEnded(1, 0);
    core.CycleStarted(1, 0);
    core.CycleEnded(1, 0);
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return view.Busy.size() == 5; }));
    EXPECT_EQ(view.Busy, std::vector<bool>({true, true, false, true, false}));
    EXPECT_EQ(core.Stage(1), 18);
    core.Close();
}

TEST_F(MonitorTest, TheStatusQueryReachesTheServiceAndItsReplyColoursTheFarmSquare) {
    TNodeSettings& node = AddNode("farm");
    node.Get = true;
    node.Ip = "127.0.0.1";
    node.RSPath = "C:\\FAH";
    ASSERT_TRUE(monitor.OpenFarmServer());
    const int serverPort = monitor.FarmLink().ServerPort();
    service.OnMessage = [&](const std::string& message) {
        if (message.find("#3*") != std::string::npos) test::SendReply(serverPort, "127.0.0.1#4*C:\\FAH^farm");
    };
    Start();
    ASSERT_TRUE(RefreshedAll(1));
    EXPECT_EQ(view.Rows[0].Farm.Color, ColorLime);
    EXPECT_EQ(view.Rows[0].Farm.Hint, "Service of control is AKTIVE");
    EXPECT_EQ(monitor.FarmState(0), FarmStateRunning);
    EXPECT_TRUE(monitor.LastFarmReply(0).Replied);
    EXPECT_EQ(monitor.LastFarmReply(0).Color, FarmColorReplied);
    EXPECT_EQ(view.Rows[0].RCG, "5-33-12");
    EXPECT_EQ(service.Messages()[0], os::LocalIP() + "#3*C:\\FAH^farm");
}

TEST_F(MonitorTest, WithoutAReplyTheFarmSquareIsRedAndTheServiceIsAskedToStart) {
    TNodeSettings& node = AddNode("farm");
    node.Get = true;
    node.Ip = "127.0.0.1";
    monitor.FarmLink().SetReplyWait(2, 10);
    Start();
    ASSERT_TRUE(RefreshedAll(1));
    EXPECT_EQ(view.Rows[0].Farm.Color, ColorRed);
    EXPECT_FALSE(monitor.LastFarmReply(0).Replied);
    EXPECT_EQ(monitor.LastFarmReply(5).Color, FarmColorNoReply);
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return service.Messages().size() >= 2; }));
    EXPECT_NE(service.Messages()[1].find("#1*"), std::string::npos);
}

TEST_F(MonitorTest, AHostThatDoesNotAnswerTurnsItsRowRed) {
    ::setenv("KORVEX_SMB_PORT", "1", 1);
    TNodeSettings& node = AddNode("down");
    node.Path = "\\\\127.0.0.1\\fah";
    Start();
    ASSERT_TRUE(RefreshedAll(1));
    ::unsetenv("KORVEX_SMB_PORT");
    EXPECT_EQ(view.Rows[0].Status.Color, ColorRed);
    EXPECT_EQ(view.Rows[0].Farm.Color, ColorRed);
    EXPECT_FALSE(view.Rows[0].GaugeEnabled);
}

TEST_F(MonitorTest, RestartReplacesTheThreadWithoutBlockingOnceTheOldOneEnded) {
    timings.IntervalMs = 60000;
    monitor.SetTimings(timings);
    AddNode("one");
    Start();
    ASSERT_TRUE(RefreshedAll(1));
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return monitor.Stage(0) == 77; }));   // asleep
    monitor.RestartNode(0);
    EXPECT_EQ(view.Refreshes[0], 1);
    ASSERT_TRUE(test::PumpUntil(loop, [&] {
        monitor.Tick();
        return view.Refreshes[0] == 2;
    }));
    EXPECT_EQ(monitor.NodeCount(), 1);
}

TEST_F(MonitorTest, ARestartWaitsForTheOldThreadAtMostTheRestartTime) {
    settings.AutoBackup = true;
    AddNode("stuck").Backup = true;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<int> backups {0};
    TMonitorWorkers workers;
    workers.StartBackup = [&, released](int) {
        ++backups;
        released.wait();   // the old thread hangs inside its refresh
    };
    monitor.SetWorkers(workers);
    Start();
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return backups == 1; }));
    monitor.RestartNode(0);
    loop.RunOnce(50);
    monitor.Tick();
    loop.RunOnce(50);
    EXPECT_EQ(view.Cycles[0], 1);   // the old one still runs: no new thread yet
    skewMs += timings.RestartWaitMs;
    monitor.Tick();
    EXPECT_TRUE(test::PumpUntil(loop, [&] { return view.Cycles[0] == 2; }));
    release.set_value();
    EXPECT_TRUE(test::PumpUntil(loop, [&] { return view.Refreshes[0] >= 2; }));
}

TEST_F(MonitorTest, StopWhileThreadsAreReadingEndsThemAll) {
    TBlockingReader files;   // each read waits: a stop comes in the middle
    monitor.SetFolderReader(files.Reader(-1));
    for (int i = 0; i < 6; ++i)
        AddNode("n" + std::to_string(i));
    Start();
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return view.Cycles.size() == 6 && files.Blocked() == 6; }));
    files.Release();
    monitor.Stop();
    const int calls = view.Calls;
    loop.RunOnce(50);
    EXPECT_EQ(view.Calls, calls);
    EXPECT_TRUE(view.Refreshes.empty());
    // Started again, the monitor works as before.
    Start();
    EXPECT_TRUE(RefreshedAll(1));
}

// One node's refresh sends a farm command while another node's status query holds the farm lock in its
// reply wait: Stop wakes the query instead of waiting out the reply time behind the refresh.
TEST_F(MonitorTest, StopDoesNotWaitOutAReplyWaitThatARefreshQueuesBehind) {
    settings.AutoBackup = true;
    AddNode("sender").Backup = true;
    TNodeSettings& querying = AddNode("querying");
    querying.Get = true;
    querying.Ip = "127.0.0.1";   // the service never answers
    monitor.FarmLink().SetReplyWait(1, LongPollMs);
    ASSERT_TRUE(monitor.OpenFarmServer());   // a reply could come: the query waits
    std::atomic<bool> sending {false};
    TMonitorWorkers workers;
    workers.StartBackup = [&](int) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitMs);
        while (monitor.Stage(1) != 52 && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        sending = true;
        monitor.StartServ(0);   // inside the refresh, behind the query
    };
    monitor.SetWorkers(workers);
    Start();
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return sending.load(); }));
    ASSERT_EQ(monitor.Stage(1), 52);   // the query is in its reply wait
    monitor.Stop();
    EXPECT_EQ(monitor.AbandonedThreads(), 0);   // both ended: none waited out the reply
    EXPECT_FALSE(monitor.Running());
}

// A reply port that cannot listen (another process holds it) stalls nothing: every FARM node of a cycle counts
// as not replied at once instead of waiting out its reply wait under the farm lock, one after another.
TEST_F(MonitorTest, WhileTheReplyPortIsClosedAFarmOfFarmNodesIsRefreshedWithoutWaiting) {
    for (int i = 0; i < 4; ++i) {
        TNodeSettings& node = AddNode("farm" + std::to_string(i));
        node.Get = true;
        node.Ip = "127.0.0.1";   // the service never answers
    }
    monitor.FarmLink().SetReplyWait(1, LongPollMs);
    ASSERT_FALSE(monitor.FarmServerOpen());
    Start();
    ASSERT_TRUE(RefreshedAll(2));   // twice round: a wait of LongPollMs would fail here
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(monitor.LastFarmReply(i).Replied);
        EXPECT_EQ(view.Rows[std::size_t(i)].Farm.Color, ColorRed);
    }
}

// A node thread in its reply wait wakes as soon as it is asked to stop, not at the wait's end.
TEST_F(MonitorTest, ANodeThreadWaitingForItsFarmReplyStopsPromptly) {
    TNodeSettings& node = AddNode("waiting");
    node.Get = true;
    node.Ip = "127.0.0.1";   // the service never answers
    monitor.FarmLink().SetReplyWait(1, LongPollMs);
    ASSERT_TRUE(monitor.OpenFarmServer());   // a reply could come: the query waits
    Start();
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return monitor.Stage(0) == 52; }));
    monitor.Stop();
    EXPECT_EQ(monitor.AbandonedThreads(), 0);   // woke and ended within Stop's join
}

// A start command given on the UI thread while a status query waits must not hold up the loop that
// delivers that query's reply.
TEST_F(MonitorTest, AFarmCommandFromTheUiThreadLetsTheWaitingQueryHaveItsReply) {
    TNodeSettings& node = AddNode("farm");
    node.Get = true;
    node.Ip = "127.0.0.1";
    ASSERT_TRUE(monitor.OpenFarmServer());
    const int serverPort = monitor.FarmLink().ServerPort();
    bool asked = false;
    service.OnMessage = [&](const std::string& message) { asked = asked || message.find("#3*") != std::string::npos; };
    Start();
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return asked; }));
    monitor.StartServ(0);   // the query holds the farm lock in its reply wait
    test::SendReply(serverPort, "127.0.0.1#4*C:\\FAH^farm");
    ASSERT_TRUE(RefreshedAll(1));
    EXPECT_EQ(view.Rows[0].Farm.Color, ColorLime);
    EXPECT_TRUE(test::PumpUntil(loop, [&] {
        return std::any_of(service.Messages().begin(), service.Messages().end(),
            [](const std::string& message) { return message.find("#1*") != std::string::npos; });
    }));
}

// A reading of a node's folder copy marks the node busy; the tray is left alone, and the idle tray waits
// until the node's own cycle has ended.
TEST_F(MonitorTest, AOneShotReadingMarksItsNodeBusyUntilTheNodesNextCycleEnds) {
    AddNode("first");
    AddNode("second");
    history.Load();
    TMonitorCore core(view, std::make_shared<TFarmLink>(loop, "127.0.0.1"), settings, projects, history, env.Folder());
    core.CycleStarted(0, 0);
    core.MarkBusy(1);
    core.CycleEnded(0, 0);
    EXPECT_TRUE(core.Busy(1));
    core.CycleStarted(1, 0);
    core.CycleEnded(1, 0);
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return view.Busy.size() == 3; }));
    EXPECT_EQ(view.Busy, std::vector<bool>({true, true, false}));
    EXPECT_FALSE(core.Busy(1));
    core.Close();
}

TEST_F(MonitorTest, AOneShotReadingComesBackOnTheUiThreadAndMarksOnlyTheBusyFlag) {
    timings.IntervalMs = 60000;
    monitor.SetTimings(timings);
    AddNode("copy");
    Start();
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return monitor.Stage(0) == 77 && view.Busy.size() == 2; }));
    std::optional<TNodeReading> got;
    monitor.ReadFolderOnce(2, 0, settings.Nodes[0].Path, [&](int node, const TNodeReading& reading) {
        EXPECT_EQ(node, 0);
        EXPECT_TRUE(os::CurrentThreadIsUi());
        got = reading;
    });
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return got.has_value(); }));
    EXPECT_EQ(got->Progress, 45);
    EXPECT_EQ(view.Busy, std::vector<bool>({true, false}));
    EXPECT_TRUE(monitor.Busy(0));
}

TEST_F(MonitorTest, AHungShareBlocksNeitherTheWindowNorOtherNodesAndRestartsNeverPileUpThreads) {
    AddNode("hung");
    AddNode("fine");
    TBlockingReader share;
    monitor.SetFolderReader(share.Reader(0));
    Start();
    // The other node goes on refreshing while the hung one's thread waits in its read.
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return share.Blocked() == 1 && view.Refreshes[1] >= 2; }));

    // The watchdog's restart leaves the stuck thread after the restart time; the new one hangs as well.
    EXPECT_TRUE(monitor.RestartNode(0));
    skewMs += timings.RestartWaitMs;
    monitor.Tick();
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return share.Blocked() == 2; }));
    EXPECT_EQ(monitor.AbandonedThreads(), 1);
    // Further restarts are refused while the folder's old thread is stuck: no more threads.
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(monitor.RestartNode(0));
        skewMs += timings.RestartWaitMs;
        monitor.Tick();
        loop.RunOnce(20);
    }
    EXPECT_EQ(share.Blocked(), 2);
    EXPECT_EQ(monitor.AbandonedThreads(), 1);

    // Stopped and started again ("Refresh data"): the folder gets no new thread while its old ones hang.
    monitor.Stop();
    EXPECT_EQ(monitor.AbandonedThreads(), 2);
    view.Refreshes.clear();
    Start();
    ASSERT_TRUE(test::PumpUntil(loop, [&] { return view.Refreshes[1] >= 2; }));
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(monitor.RestartNode(0));
        monitor.Tick();
    }
    EXPECT_EQ(share.Blocked(), 2);
    EXPECT_EQ(view.Refreshes[0], 0);
    monitor.Stop();   // a pending start of the hung folder adds no thread to wait for or to leave
    EXPECT_EQ(monitor.AbandonedThreads(), 2);
    Start();

    // The share answers again: the old threads end (the tick that finds them gone forgets them, which may come
    // after the node's first new reading) and the node is read once more.
    share.Release();
    EXPECT_TRUE(test::PumpUntil(loop, [&] {
        monitor.Tick();
        return view.Refreshes[0] >= 1 && monitor.AbandonedThreads() == 0;
    }));
}

}
}

// The fake farm: the node reading of every folder it makes and advances, its roles, settings and state.
#include "tools/fakefarm/FakeFarm.h"
#include "support/ClientFiles.h"
#include "support/ToolRun.h"

#include "app/nodes/NodeFiles.h"
#include "app/settings/Settings.h"
#include "platform/base/DateTime.h"
#include "platform/os/EventLoop.h"
#include "platform/os/Paths.h"
#include "platform/os/Registry.h"
#include "platform/os/ServerSocket.h"
#include "tools/fakefarm/SmbAnswerer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace korvex::fakefarm {
namespace {

using app::test::Slurp;

const base::TDateTime NowUtc = base::EncodeDateTime(2026, 12, 7, 18, 0, 0, 0);
constexpr double Second = 1.0 / 86400;

// The folder read as a monitoring thread reads it, at `now` in a zone on UTC.
app::TNodeReading Read(const std::string& folder, base::TDateTime now) {
    os::TRetryOptions once;
    once.Attempts = 1;
    once.Pause = [](int) { return true; };
    return app::ReadNodeFolder(folder, now, app::FixedUtcOffset(0), once);
}

std::string Hms(int seconds) {
    return base::FormatDateTime("hh:nn:ss", seconds * Second);
}

// What the reading of a node must say, from the farm's own model of it.
void ExpectReadingMatches(const TFakeNode& node, int stepSeconds, const app::TNodeReading& reading) {
    SCOPED_TRACE(node.Label);
    EXPECT_EQ(reading.WUName, UnitName(node));
    EXPECT_EQ(reading.RCG, std::to_string(UnitRun(node)) + "-" + std::to_string(UnitClone(node)) + "-"
            + std::to_string(UnitGen(node)));
    EXPECT_EQ(reading.Progress, ProgressPercent(node));
    EXPECT_EQ(reading.Status, app::TNodeStatus::Running);
    EXPECT_EQ(reading.Team, "12345");
    EXPECT_NEAR(reading.Start, node.Downloaded, Second);
    EXPECT_NEAR(reading.Deadline, node.Downloaded + 7, Second);
    const int itemSeconds = node.TicksPerItem * stepSeconds;
    if (node.Kind == TCoreKind::Frames) {
        EXPECT_EQ(reading.CoreRequired, "FahCore_65.exe");
        EXPECT_EQ(reading.TotalFrames, FramesPerUnit);
        EXPECT_EQ(reading.CurrentFrame, node.Done);
        EXPECT_EQ(reading.FrameTime, Hms(itemSeconds));
        EXPECT_EQ(reading.TimePerPercent, Hms(itemSeconds * FramesPerUnit / 100));
    } else {
        EXPECT_EQ(reading.CoreRequired, "FahCore_78.exe");
        EXPECT_EQ(reading.TimePerPercent, Hms(itemSeconds));
    }
}

class FakeFarmTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("KORVEX_UNC_ROOT");
        FHadUncRoot = old != nullptr;
        if (old) FOldUncRoot = old;
        ::setenv("KORVEX_UNC_ROOT", UncRoot(FDir.Path()).c_str(), 1);
    }
    void TearDown() override {
        if (FHadUncRoot) ::setenv("KORVEX_UNC_ROOT", FOldUncRoot.c_str(), 1);
        else ::unsetenv("KORVEX_UNC_ROOT");
    }
    TFarm Init(int nodes, int stepSeconds = 60) {
        TFarmOptions options;
        options.Nodes = nodes;
        options.StepSeconds = stepSeconds;
        return InitFarm(FDir.Path(), options, 4450, NowUtc);
    }

    app::test::TTempDir FDir;

private:
    std::string FOldUncRoot;
    bool FHadUncRoot = false;
};

TEST_F(FakeFarmTest, EveryNodeAsMadeReadsBackThroughItsSettingsPath) {
    TFarm farm = Init(8);
    ASSERT_EQ(farm.Nodes.size(), 8u);
    for (const TFakeNode& node : farm.Nodes) {
        // The path the program gets (UNC ones mapped through $KORVEX_UNC_ROOT) finds the node's own files.
        EXPECT_EQ(os::MapPath(node.SettingsPath), node.Folder);
        ExpectReadingMatches(node, farm.StepSeconds, Read(node.SettingsPath, NowUtc));
    }
}

TEST_F(FakeFarmTest, RolesKindsAndPathsFollowTheIndex) {
    TFarm farm = Init(8);
    EXPECT_EQ(farm.Nodes[0].Done, 97);   // about to finish
    EXPECT_EQ(farm.Nodes[1].Role, TNodeRole::Stuck);
    EXPECT_EQ(farm.Nodes[2].Role, TNodeRole::Unreachable);
    EXPECT_EQ(farm.Nodes[2].SettingsPath, "\\\\127.0.0.2\\fah\\node02");
    EXPECT_EQ(farm.Nodes[3].SettingsPath, "\\\\localhost\\fah\\node03");
    EXPECT_EQ(farm.Nodes[7].SettingsPath, "\\\\localhost\\fah\\node07");
    EXPECT_EQ(farm.Nodes[5].SettingsPath, farm.Dir + "/nodes/node05");
    for (const TFakeNode& node : farm.Nodes)
        EXPECT_EQ(node.Kind == TCoreKind::Frames, node.Index % 3 == 1) << node.Index;
    // A one-node farm has neither a stuck nor an unreachable node.
    app::test::TTempDir other;
    TFarm single = InitFarm(other.Path(), TFarmOptions{.Nodes = 1}, 4450, NowUtc);
    EXPECT_EQ(single.Nodes[0].Role, TNodeRole::Running);
}

TEST_F(FakeFarmTest, SettingsNameEveryNode) {
    TFarm farm = Init(5);
    os::RegistryStore store(RegistryFile(farm.Dir));
    os::TRegistry reg(store);
    reg.SetRootKey(os::HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKeyReadOnly(std::string("\\") + app::OptionsKey));
    EXPECT_EQ(reg.ReadInteger("HostCount"), 5);
    EXPECT_EQ(reg.ReadInteger("Update"), 1);
    EXPECT_FALSE(reg.ReadBool("RunStartup"));
    for (const TFakeNode& node : farm.Nodes) {
        const std::string i = std::to_string(node.Index);
        ASSERT_TRUE(reg.OpenKeyReadOnly(std::string("\\") + app::LabelKey));
        EXPECT_EQ(reg.ReadString("Label" + i), node.Label);
        ASSERT_TRUE(reg.OpenKeyReadOnly(std::string("\\") + app::PathKey));
        EXPECT_EQ(reg.ReadString("Path" + i), node.SettingsPath);
        ASSERT_TRUE(reg.OpenKeyReadOnly(std::string("\\") + app::GetWUKey));
        EXPECT_FALSE(reg.ReadBool("Get" + i));
    }
    const std::string env = Slurp(EnvFile(farm.Dir));
    EXPECT_NE(env.find("KORVEX_REGISTRY='" + RegistryFile(farm.Dir) + "'\n"), std::string::npos);
    EXPECT_NE(env.find("KORVEX_UNC_ROOT='" + UncRoot(farm.Dir) + "'\n"), std::string::npos);
    EXPECT_NE(env.find("KORVEX_SMB_PORT=4450\n"), std::string::npos);
    EXPECT_EQ(env.find("KORVEX_FARM_PORT"), std::string::npos);   // none asked for
    EXPECT_EQ(env.find("KORVEX_FARM_SERVICE_PORT"), std::string::npos);
}

TEST_F(FakeFarmTest, WithAServicePortEveryNodeWhoseHostAnswersIsInFarmMode) {
    TFarmOptions options;
    options.Nodes = 5;
    options.FarmPort = 13801;
    options.FarmServicePort = 13802;
    TFarm farm = InitFarm(FDir.Path(), options, 4450, NowUtc);
    os::RegistryStore store(RegistryFile(farm.Dir));
    os::TRegistry reg(store);
    reg.SetRootKey(os::HKEY_LOCAL_MACHINE);
    for (const TFakeNode& node : farm.Nodes) {
        SCOPED_TRACE(node.Label);
        const std::string i = std::to_string(node.Index);
        const bool farmMode = node.Role != TNodeRole::Unreachable;
        EXPECT_EQ(node.ServiceIp, farmMode ? ServiceAddress(node.Index) : "");
        ASSERT_TRUE(reg.OpenKeyReadOnly(std::string("\\") + app::GetWUKey));
        EXPECT_EQ(reg.ReadBool("Get" + i), farmMode);
        EXPECT_EQ(reg.ReadString("RSPath" + i), farmMode ? node.Folder : "");
        ASSERT_TRUE(reg.OpenKeyReadOnly(std::string("\\") + app::PathKey));
        EXPECT_EQ(reg.ReadString("Ip" + i), node.ServiceIp);
    }
    EXPECT_EQ(ServiceAddress(0), "127.1.0.1");
    EXPECT_EQ(ServiceAddress(254), "127.1.1.1");
    const std::string env = Slurp(EnvFile(farm.Dir));
    EXPECT_NE(env.find("KORVEX_FARM_PORT=13801\n"), std::string::npos);
    EXPECT_NE(env.find("KORVEX_FARM_SERVICE_PORT=13802\n"), std::string::npos);
    // The state keeps the ports and the services.
    farm.Nodes[3].ConsoleStopped = true;
    SaveFarm(farm);
    TFarm loaded = LoadFarm(farm.Dir);
    EXPECT_EQ(loaded.FarmPort, 13801);
    EXPECT_EQ(loaded.FarmServicePort, 13802);
    for (std::size_t n = 0; n < farm.Nodes.size(); ++n)
        EXPECT_EQ(loaded.Nodes[n], farm.Nodes[n]) << n;
}

TEST_F(FakeFarmTest, TicksAdvanceTheLogsFinishUnitsAndLeaveTheStuckNodeAlone) {
    TFarm farm = Init(6, 30);
    const std::string stuckLog = Slurp(farm.Nodes[1].Folder + "/FAHlog.txt");
    const TFarm before = farm;
    base::TDateTime now = NowUtc;
    for (int tick = 0; tick < 6; ++tick) {
        now += 30 * Second;
        StepFarm(farm, now);
    }
    EXPECT_EQ(farm.Tick, 6);
    // Node 0 went 97 -> 100 in three ticks, then started its next unit and made three percent of it.
    EXPECT_EQ(farm.Nodes[0].Unit, before.Nodes[0].Unit + 1);
    EXPECT_EQ(farm.Nodes[0].Done, 3);
    EXPECT_NEAR(farm.Nodes[0].Downloaded, NowUtc + 90 * Second, Second);
    EXPECT_NE(UnitName(farm.Nodes[0]), UnitName(before.Nodes[0]));
    // Slower nodes move one item every TicksPerItem ticks; frame nodes a frame a tick.
    for (std::size_t i = 2; i < farm.Nodes.size(); ++i)
        EXPECT_EQ(farm.Nodes[i].Done, before.Nodes[i].Done + 6 / before.Nodes[i].TicksPerItem) << i;
    EXPECT_EQ(Slurp(farm.Nodes[1].Folder + "/FAHlog.txt"), stuckLog);
    EXPECT_EQ(farm.Nodes[1], before.Nodes[1]);
    for (const TFakeNode& node : farm.Nodes)
        if (node.Role != TNodeRole::Stuck) ExpectReadingMatches(node, farm.StepSeconds, Read(node.Folder, now));
    // The unit just begun is read with its start from the log and its progress from unitinfo.txt.
    app::TNodeReading fresh = Read(farm.Nodes[0].Folder, now);
    EXPECT_EQ(fresh.Progress, 3);
}

// A monitoring thread's reading follows each log as the farm appends to it, and reads what a fresh reading does.
TEST_F(FakeFarmTest, FollowedLogsReadAsFreshOnesTickAfterTick) {
    TFarm farm = Init(6, 30);
    os::TRetryOptions once;
    once.Attempts = 1;
    once.Pause = [](int) { return true; };
    std::vector<app::TClientLogFollower> followers(farm.Nodes.size());
    base::TDateTime now = NowUtc;
    int appended = 0;
    for (int tick = 0; tick < 12; ++tick) {
        for (std::size_t i = 0; i < farm.Nodes.size(); ++i) {
            const std::string& folder = farm.Nodes[i].Folder;
            app::TNodeReading followed;
            app::ReadClientLog(followers[i], folder, now, app::FixedUtcOffset(0), once, followed);
            app::ReadUnitInfo(folder, now, app::FixedUtcOffset(0), once, followed);
            EXPECT_EQ(followed, Read(folder, now)) << "node " << i << " tick " << tick;
            if (tick > 0 && followers[i].LastScan() == app::TClientLogFollower::TScan::Appended) ++appended;
        }
        now += 30 * Second;
        StepFarm(farm, now);
    }
    EXPECT_EQ(appended, 11 * 6);   // never read from the start again
}

TEST_F(FakeFarmTest, ANodeWhoseFolderIsGoneWaitsWhileTheOthersGoOnAndResumesWhenItIsBack) {
    TFarm farm = Init(6, 30);
    const TFarm before = farm;
    const std::string folder = farm.Nodes[0].Folder;
    std::filesystem::rename(folder, folder + ".away");
    base::TDateTime now = NowUtc;
    for (int tick = 0; tick < 2; ++tick) {
        now += 30 * Second;
        EXPECT_EQ(StepFarm(farm, now), std::vector<int> {0});
    }
    EXPECT_EQ(farm.Nodes[0], before.Nodes[0]);
    EXPECT_FALSE(std::filesystem::exists(folder));   // not made anew while it is gone
    EXPECT_EQ(farm.Nodes[4].Done, before.Nodes[4].Done + 2 / before.Nodes[4].TicksPerItem);
    // Back as it was: its log goes on from where it stood.
    std::filesystem::rename(folder + ".away", folder);
    now += 30 * Second;
    EXPECT_TRUE(StepFarm(farm, now).empty());
    EXPECT_EQ(farm.Nodes[0].Done, before.Nodes[0].Done + 1);
    const app::TNodeReading resumed = Read(folder, now);   // its last step took the time it stood, too
    EXPECT_EQ(resumed.Progress, ProgressPercent(farm.Nodes[0]));
    EXPECT_EQ(resumed.TimePerPercent, Hms(3 * farm.StepSeconds + 60));
    // Back empty: its files are written whole.
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    now += 30 * Second;
    EXPECT_TRUE(StepFarm(farm, now).empty());
    ExpectReadingMatches(farm.Nodes[0], farm.StepSeconds, Read(folder, now));
}

TEST_F(FakeFarmTest, StateSurvivesASaveAndALoad) {
    TFarm farm = Init(4);
    StepFarm(farm, NowUtc + 60 * Second);
    TFarm loaded = LoadFarm(farm.Dir);
    EXPECT_EQ(loaded.Tick, 1);
    EXPECT_EQ(loaded.StepSeconds, farm.StepSeconds);
    EXPECT_EQ(loaded.SmbPort, 4450);
    ASSERT_EQ(loaded.Nodes.size(), farm.Nodes.size());
    for (std::size_t i = 0; i < farm.Nodes.size(); ++i) {
        EXPECT_EQ(loaded.Nodes[i].SettingsPath, farm.Nodes[i].SettingsPath);
        EXPECT_EQ(loaded.Nodes[i].Label, farm.Nodes[i].Label);
        EXPECT_EQ(loaded.Nodes[i].Done, farm.Nodes[i].Done);
        EXPECT_NEAR(loaded.Nodes[i].Downloaded, farm.Nodes[i].Downloaded, 1e-9);
    }
}

TEST_F(FakeFarmTest, DamagedOrMissingStateIsAnError) {
    EXPECT_THROW(LoadFarm(FDir.Path()), std::runtime_error);
    const TFarm farm = Init(2);
    const std::string good = Slurp(StateFile(farm.Dir));
    for (const std::string& bad : {std::string("fakefarm 2\n"), good.substr(0, good.find("node ")),
             good.substr(0, good.size() / 2 + 10), std::string("\x01\x02garbage"),
             [&] {
                 std::string s = good;
                 s.replace(s.find("node 0 0 0 3 97"), 15, "node 0 0 0 3 100");   // past the unit's end
                 return s;
             }()}) {
        app::test::WriteFile(StateFile(farm.Dir), bad);
        EXPECT_THROW(LoadFarm(farm.Dir), std::runtime_error) << bad;
    }
}

TEST(FreeLoopbackPort, LiesBelowTheEphemeralPortsAndTakesTheProgramsListener) {
    os::TEventLoop loop;
    for (int i = 0; i < 20; ++i) {
        const int port = FreeLoopbackPort();
        EXPECT_GE(port, 1024);
        EXPECT_LT(port, EphemeralPortsStart());
        os::TServerSocket listener(loop);   // as the farm link listens: on every address
        listener.SetPort(port);
        EXPECT_TRUE(listener.Open()) << port;
    }
}

}
}

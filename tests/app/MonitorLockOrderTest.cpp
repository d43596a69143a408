// The monitor's lock order as its assertions keep it: a lock taken, or a look-up made, while a lock that must
// come later is held stops an assertion build.
#include "app/farm/FarmLink.h"
#include "app/monitor/MonitorCore.h"
#include "support/AppEnvironment.h"

#include "platform/os/CriticalSection.h"
#include "platform/os/EventLoop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

namespace korvex::app {
namespace {

class TSilentView : public IMonitorView {
public:
    void RowRefreshed(const TRowRefresh&) override { }
    void CycleStarted(int) override { }
    void BusyChanged(bool) override { }
};

class MonitorLockOrderTest : public testing::Test {
protected:
    void SetUp() override {
        TNodeSettings node;
        node.Label = "box";
        node.Path = env.File("box");
        settings.Nodes.push_back(node);
        core = std::make_shared<TMonitorCore>(view, link, settings, projects, history, env.Folder());
    }
    void TearDown() override { core->Close(); }

    test::TAppEnvironment env;
    os::TEventLoop loop;
    std::shared_ptr<TFarmLink> link = std::make_shared<TFarmLink>(loop, "10.0.0.5");
    TSilentView view;
    TSettings settings;
    TProjectTable projects;
    TWorkUnitHistory history;
    std::shared_ptr<TMonitorCore> core;
};

TEST_F(MonitorLockOrderTest, EveryLockIsFreeAgainAfterACycle) {
    core->CycleStarted(0, 0);
    core->RefreshRow(0, 0, TNodeCycle {});
    core->CycleEnded(0, 0);
    EXPECT_FALSE(link->FarmLock().HeldByCurrentThread());
    EXPECT_FALSE(core->Busy(0));
}

// A node whose host is not known yet waits for the farm lock before it looks the host up: while another
// node's exchange holds the lock its stage stays where the host test left it.
TEST_F(MonitorLockOrderTest, AHostIsLookedUpOnlyUnderTheFarmLock) {
    core->SetStage(0, 0, 2);
    std::optional<os::TCriticalSectionLock> farm(std::in_place, link->FarmLock());
    std::jthread query([this] { core->QueryFarm(0, 0, "\\\\box\\FAH", std::stop_token()); });
    // Not waited for to the end: a thread that took no lock first is at its look-up at once.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    while (core->Stage(0) == 2 && std::chrono::steady_clock::now() < limit)
        std::this_thread::yield();
    EXPECT_EQ(core->Stage(0), 2);
    farm.reset();
    query.join();
    EXPECT_EQ(core->Stage(0), 51);   // looked up, addressed, the socket tried
}

#ifdef KORVEX_ASSERTS
TEST_F(MonitorLockOrderTest, ARowRefreshUnderTheFarmLockIsCaught) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            os::TCriticalSectionLock farm(link->FarmLock());
            core->RefreshRow(0, 0, TNodeCycle {});
        },
        "assertion failed");
}

TEST_F(MonitorLockOrderTest, NewWorkersUnderTheFarmLockAreCaught) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            os::TCriticalSectionLock farm(link->FarmLock());
            core->SetWorkers(TMonitorWorkers {});
        },
        "assertion failed");
}

TEST_F(MonitorLockOrderTest, AStatusQueryStartedUnderTheFarmLockIsCaught) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            os::TCriticalSectionLock farm(link->FarmLock());
            core->QueryFarm(0, 0, "\\\\box\\FAH", std::stop_token());
        },
        "assertion failed");
}

// A worker the refresh calls runs under the update lock: what it must not do there is caught.
TEST_F(MonitorLockOrderTest, AFlushUnderTheUpdateLockIsCaught) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TMonitorWorkers workers;
    workers.BackupOutcome = [this](int) {
        core->FlushWrites();
        return TBackupOutcome::None;
    };
    core->SetWorkers(workers);
    EXPECT_DEATH(core->RefreshRow(0, 0, TNodeCycle {}), "assertion failed");
}

TEST_F(MonitorLockOrderTest, AStatusQueryUnderTheUpdateLockIsCaught) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TMonitorWorkers workers;
    workers.BackupOutcome = [this](int) {
        core->QueryFarm(0, 0, "\\\\box\\FAH", std::stop_token());
        return TBackupOutcome::None;
    };
    core->SetWorkers(workers);
    EXPECT_DEATH(core->RefreshRow(0, 0, TNodeCycle {}), "assertion failed");
}

TEST_F(MonitorLockOrderTest, AHostLookedUpUnderTheFarmLockIsCaught) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            os::TCriticalSectionLock farm(link->FarmLock());
            link->Send(FarmStart, TFarmTarget {"127.0.0.1", "C:\\FAH", "box"});
        },
        "assertion failed");
}
#endif

}
}

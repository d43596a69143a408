// The node thread's host test: local paths, UNC hosts that answer or not, and a stop while waiting; the stages
// of a cycle whose files read at once.
#include "app/monitor/MyThread.h"
#include "support/ClientFiles.h"
#include "support/FakeFarmService.h"
#include "support/TestDispatcher.h"

#include "platform/os/EventLoop.h"
#include "platform/os/Network.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <future>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <sys/inotify.h>
#include <unistd.h>

namespace korvex::app {
namespace {

TEST(PathHostAnswers, LocalPathsAnswerAndUncHostsAreProbedOnTheirPort) {
    os::TEventLoop loop;
    test::TFakeFarmService listener(loop);   // something that accepts connections
    const std::string open = std::to_string(listener.Port());
    struct Case {
        const char* Path;
        std::string Port;
        bool Stopped;
        bool Answers;
    } cases[] = {
        {"/srv/fah", "1", false, true}, {"C:\\FAH", "1", false, true}, {"\\\\127.0.0.1\\fah", open, false, true},
        {"\\\\127.0.0.1\\fah", "1", false, false},   // refused
        {"\\\\127.0.0.1\\fah", open, true, false},   // stopped: no test
        {"\\\\\\fah", open, false, false},   // no host
    };
    for (const Case& c : cases) {
        ::setenv("KORVEX_SMB_PORT", c.Port.c_str(), 1);
        EXPECT_EQ(PathHostAnswers(c.Path, 1000, [&] { return c.Stopped; }), c.Answers) << c.Path << " " << c.Stopped;
    }
    ::unsetenv("KORVEX_SMB_PORT");
}

// The lock every node's host test shares is not held over a name look-up (which has no time limit of its own):
// a name that does not resolve is answered while another test holds the lock.
TEST(PathHostAnswers, AnUnknownHostNameIsAnsweredWithoutWaitingForTheLock) {
    HostTestLock().Enter();
    auto answer = std::async(std::launch::async, [] { return PathHostAnswers("\\\\no-such-host.invalid\\fah", 1000); });
    const bool returned = answer.wait_for(std::chrono::seconds(60)) == std::future_status::ready;
    HostTestLock().Leave();
    EXPECT_TRUE(returned);
    EXPECT_FALSE(answer.get());
}

// A name look-up has no time limit of its own: one that hangs must not stall every other node's host test.
// The shared lock is taken for the probe alone, so another node's test answers while the look-up still hangs.
TEST(PathHostAnswers, ALookUpThatHangsStallsNoOtherNodesHostTest) {
    os::TEventLoop loop;
    test::TFakeFarmService listener(loop);   // something that accepts connections
    ::setenv("KORVEX_SMB_PORT", std::to_string(listener.Port()).c_str(), 1);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> hanging {false};
    os::SetNameLookUpOverride([&](const std::string& name) {
        if (name != "hung-host") return std::string("127.0.0.1");
        hanging = true;
        released.wait();
        return std::string();
    });
    auto hung = std::async(std::launch::async, [] { return PathHostAnswers("\\\\hung-host\\fah", 1000); });
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!hanging && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(hanging);
    auto other = std::async(std::launch::async, [] { return PathHostAnswers("\\\\box\\fah", 1000); });
    const bool answered = other.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    release.set_value();
    EXPECT_TRUE(answered);
    EXPECT_TRUE(other.get());
    EXPECT_FALSE(hung.get());
    os::SetNameLookUpOverride({});
    ::unsetenv("KORVEX_SMB_PORT");
}

// Records the stages and the rows of a monitoring thread.
class TRecordingHost : public INodeHost {
public:
    void SetStage(int, int, int stage) override {
        std::lock_guard<std::mutex> lock(FLock);
        Stages.push_back(stage);
    }
    void CycleStarted(int, int) override { }
    TFarmReply QueryFarm(int, int, const std::string&, std::stop_token) override { return {}; }
    void RefreshRow(int, int, const TNodeCycle& cycle) override {
        std::lock_guard<std::mutex> lock(FLock);
        Readings.push_back(cycle.Reading);
        FRefreshed.notify_all();
    }
    void CycleEnded(int, int) override { }

    // A pause after a file attempt, noted among the stages.
    static constexpr int PauseMark = -250;
    void Paused() {
        std::lock_guard<std::mutex> lock(FLock);
        Stages.push_back(PauseMark);
    }

    bool WaitForRows(std::size_t count) {
        std::unique_lock<std::mutex> lock(FLock);
        return FRefreshed.wait_for(lock, std::chrono::seconds(30), [&] { return Readings.size() >= count; });
    }

    std::vector<int> Stages;
    std::vector<TNodeReading> Readings;

private:
    std::mutex FLock;
    std::condition_variable FRefreshed;
};

// The first cycle of a monitoring thread on `folder` (its stages and its row), file pauses made by `pause`.
void RunFirstCycle(TRecordingHost& host, const std::string& folder, std::function<bool(int)> pause) {
    auto shared = std::shared_ptr<TRecordingHost>(&host, [](TRecordingHost*) { });
    TThreadTimings timings;
    timings.IntervalMs = 600000;
    timings.FilePauseMs = 600000;   // a real pause would hold the first row for ten minutes
    timings.FilePause = std::move(pause);
    auto* thread = new MyThread(shared, 0, 0, folder, false, timings);
    thread->SetFreeOnTerminate(true);
    os::TThreadHandle handle = thread->Handle();
    thread->Start();
    const bool refreshed = host.WaitForRows(1);
    handle.Terminate();
    handle.WaitFor();
    ASSERT_TRUE(refreshed);
}

void WriteNodeFolder(test::TTempDir& dir, bool unitInfo = true, const std::string& protein = "p2605_Protein in water",
    int run = 5) {
    test::TClientLog log;
    log.ClientStart().StepUnit(protein, "December 5 20:10:09", run, 33, 12, 45, 750);
    test::WriteFile(dir.File("FAHlog.txt"), log.Text());
    if (unitInfo)
        test::WriteFile(dir.File("unitinfo.txt"),
            test::JoinLines(test::UnitInfo(protein, "December 5 20:10:09", "December 11 20:10:09", 45)));
}

// Every open and load attempt of the two files is followed by a pause, files read at once included; the log's
// scan reports its stages between its load and the pause after it.
TEST(MyThread, EveryFileAttemptIsFollowedByAPauseAndTheStagesComeInOrder) {
    test::TTempDir dir;
    WriteNodeFolder(dir);
    TRecordingHost host;
    RunFirstCycle(host, dir.Path(), [&host](int ms) {
        EXPECT_EQ(ms, 600000);
        host.Paused();
        return true;
    });
    EXPECT_EQ(host.Readings[0].Progress, 45);
    const int P = TRecordingHost::PauseMark;
    const std::vector<int> expected {0, 1, 2, 7, 8, 9, 90, 91, 92, 93, 931, 94, 95, 96, 97, 98, 99, P, 994, 10, 11, P,
        12, 13, 14, P, 15, 16, P, 17, 171};
    EXPECT_EQ(
        std::vector<int>(host.Stages.begin(), host.Stages.begin() + std::min(host.Stages.size(), expected.size())),
        expected);
}

// A file that is missing is retried as one that cannot be opened: a unit file that appears meanwhile is read.
TEST(MyThread, AMissingFileIsRetried) {
    test::TTempDir dir;
    WriteNodeFolder(dir, false);
    TRecordingHost host;
    int pauses = 0;
    RunFirstCycle(host, dir.Path(), [&](int) {
        // The log's two pauses, then two of the unit file's open attempts.
        if (++pauses == 4) WriteNodeFolder(dir);
        return true;
    });
    EXPECT_EQ(host.Readings[0].Progress, 45);
    EXPECT_EQ(pauses, 6);   // the third open succeeds: its load and its open are each followed by a pause
}
// A client that moves to its next unit between the reads of the two files does not make a reading of two units:
// the log changed meanwhile, so both are read again.
TEST(MyThread, ALogThatChangesWhileTheUnitFileIsReadIsReadAgainWithIt) {
    test::TTempDir dir;
    WriteNodeFolder(dir);
    TRecordingHost host;
    int pauses = 0;
    RunFirstCycle(host, dir.Path(), [&](int) {
        if (++pauses == 1) WriteNodeFolder(dir, true, "p2669_Next unit", 7);   // after the log's load
        return true;
    });
    EXPECT_EQ(host.Readings[0].WUName, "p2669_Next unit");
    EXPECT_EQ(host.Readings[0].RCG, "7-33-12");
    EXPECT_EQ(std::count(host.Stages.begin(), host.Stages.end(), 7), 2);   // read twice
}


// The same unit's progress appended to the log while the unit file is read names no other unit: the reading
// stands, and neither file is read again.
TEST(MyThread, ALogThatOnlyGrewByTheSameUnitsProgressIsNotReadAgain) {
    test::TTempDir dir;
    WriteNodeFolder(dir);
    TRecordingHost host;
    int pauses = 0;
    RunFirstCycle(host, dir.Path(), [&](int) {
        if (++pauses == 1) {   // after the log's load
            std::ofstream log(dir.File("FAHlog.txt"), std::ios::binary | std::ios::app);
            log << "[20:23:40] Completed 46 out of 100 steps  (46%)\r\n";
        }
        return true;
    });
    EXPECT_EQ(host.Readings[0].WUName, "p2605_Protein in water");
    EXPECT_EQ(host.Readings[0].RCG, "5-33-12");
    EXPECT_EQ(std::count(host.Stages.begin(), host.Stages.end(), 7), 1);   // read once
}

// The opens of each file of a folder, counted by inotify.
class TFolderOpens {
public:
    explicit TFolderOpens(const std::string& folder)
        : FFd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        inotify_add_watch(FFd, folder.c_str(), IN_OPEN);
    }
    ~TFolderOpens() { ::close(FFd); }
    TFolderOpens(const TFolderOpens&) = delete;
    TFolderOpens& operator=(const TFolderOpens&) = delete;
    std::map<std::string, int> Counts() {
        alignas(inotify_event) char buffer[16384];
        for (ssize_t got; (got = ::read(FFd, buffer, sizeof buffer)) > 0;)
            for (ssize_t at = 0; at < got;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                if (e->len > 0) ++FCounts[e->name];
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
        return FCounts;
    }

private:
    int FFd;
    std::map<std::string, int> FCounts;
};

// A cycle whose log did not change while the unit file was read opens each file once: the look whether the log
// changed is no second open.
TEST(MyThread, ACycleOpensEachClientFileOnce) {
    test::TTempDir dir;
    WriteNodeFolder(dir);
    TFolderOpens opens(dir.Path());
    TRecordingHost host;
    RunFirstCycle(host, dir.Path(), [](int) { return true; });
    EXPECT_EQ(host.Readings[0].Progress, 45);
    const std::map<std::string, int> counts = opens.Counts();
    EXPECT_EQ(counts, (std::map<std::string, int> {{"FAHlog.txt", 1}, {"unitinfo.txt", 1}}));
}

// A reading of a folder copy is handed to the UI thread by a call the thread waits for: the thread is still
// there while the call runs, and ends after it.
TEST(MyThread, AOneShotReadingWaitsForTheUiThreadToTakeIt) {
    test::TTempDir dir;
    WriteNodeFolder(dir);
    os::threadtest::TestDispatcher ui;
    os::SetUiDispatcher(&ui);
    struct TUninstall {
        ~TUninstall() { os::SetUiDispatcher(nullptr); }
    } uninstall;
    TThreadTimings timings;
    timings.FilePause = [](int) { return true; };
    os::TThreadHandle handle;
    std::optional<TNodeReading> got;
    bool endedBeforeTaken = false;
    auto* thread = new MyThread(
        TThreadMode::BackupReading, 0, dir.Path(),
        [&](int, const TNodeReading& reading) {
            // A thread that did not wait ends at once after handing the reading over.
            const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(1);
            while (!handle.Finished() && std::chrono::steady_clock::now() < limit)
                std::this_thread::yield();
            endedBeforeTaken = handle.Finished();
            got = reading;
        },
        timings);
    thread->SetFreeOnTerminate(true);
    handle = thread->Handle();
    thread->Start();
    ASSERT_TRUE(ui.WaitForTask());
    EXPECT_EQ(ui.RunAll(), 1);
    handle.WaitFor();
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->Progress, 45);
    EXPECT_FALSE(endedBeforeTaken);
}
}
}

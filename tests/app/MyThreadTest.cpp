// The node thread's host test: local paths, UNC hosts that answer or not, and a stop while waiting; the stages
// of a cycle whose files read at once.
#include "app/monitor/MyThread.h"
#include "support/ClientFiles.h"
#include "support/FakeFarmService.h"

#include "platform/os/EventLoop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <future>
#include <mutex>

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

TEST(MyThread, FilesThatReadAtOnceAreNotWaitedFor) {
    test::TTempDir dir;
    test::TClientLog log;
    log.ClientStart().StepUnit("p2605_Protein in water", "December 5 20:10:09", 5, 33, 12, 45, 750);
    test::WriteFile(dir.File("FAHlog.txt"), log.Text());
    test::WriteFile(dir.File("unitinfo.txt"),
        test::JoinLines(test::UnitInfo("p2605_Protein in water", "December 5 20:10:09", "December 11 20:10:09", 45)));
    auto host = std::make_shared<TRecordingHost>();
    TThreadTimings timings;
    timings.IntervalMs = 600000;
    timings.FilePauseMs = 600000;   // a pause would hold the first row for ten minutes
    auto* thread = new MyThread(host, 0, 0, dir.Path(), false, timings);
    thread->SetFreeOnTerminate(true);
    os::TThreadHandle handle = thread->Handle();
    thread->Start();
    const bool refreshed = host->WaitForRows(1);
    handle.Terminate();
    handle.WaitFor();
    ASSERT_TRUE(refreshed);
    EXPECT_EQ(host->Readings[0].Progress, 45);
    const std::vector<int> expected {0, 1, 2, 7, 8, 9, 10, 11, 12, 13, 15, 16, 17, 171};
    EXPECT_EQ(
        std::vector<int>(host->Stages.begin(), host->Stages.begin() + std::min(host->Stages.size(), expected.size())),
        expected);   // no 994 nor 14: the stages of the pauses after a failed load
}

}
}

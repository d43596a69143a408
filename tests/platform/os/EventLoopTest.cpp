// Tests of TEventLoop: posted tasks, timers on a fake clock, descriptor readiness, exceptions, the UI adapter.
#include "platform/os/EventLoop.h"
#include "platform/os/EventLoopDispatcher.h"
#include "platform/os/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <future>
#include <stdexcept>
#include <unistd.h>
#include <vector>

using namespace korvex::os;
using namespace std::chrono_literals;

namespace {

constexpr int LoopPatience = 10000;

struct FakeClock {
    TEventLoop::TimePoint Now {};
    TEventLoop::TClock Source() {
        return [this] { return Now; };
    }
};

struct Pipe {
    Pipe() {
        if (pipe2(Fds, O_NONBLOCK | O_CLOEXEC) != 0) std::abort();
    }
    ~Pipe() {
        for (int fd : Fds)
            if (fd >= 0) close(fd);
    }
    void CloseWriter() {
        close(Fds[1]);
        Fds[1] = -1;
    }
    int Reader() const { return Fds[0]; }
    int Writer() const { return Fds[1]; }
    int Fds[2];
};

// Rounds until done() or a generous number of rounds.
template <typename Done>
bool RunUntil(TEventLoop& loop, Done done) {
    for (int round = 0; round < 1000 && !done(); ++round)
        loop.RunOnce(LoopPatience / 100);
    return done();
}

}

TEST(TEventLoop, TasksPostedFromManyThreadsAllRunInPostingOrderPerThread) {
    TEventLoop loop;
    constexpr int Threads = 8, Posts = 200;
    std::vector<std::vector<int>> seen(Threads);
    std::atomic<int> total = 0;
    std::vector<std::thread> posters;
    for (int t = 0; t < Threads; ++t)
        posters.emplace_back([&, t] {
            for (int i = 0; i < Posts; ++i)
                loop.Post([&, t, i] {
                    seen[t].push_back(i);
                    ++total;
                });
        });
    EXPECT_TRUE(RunUntil(loop, [&] { return total == Threads * Posts; }));
    for (auto& poster : posters)
        poster.join();
    for (auto& list : seen) {
        ASSERT_EQ(list.size(), size_t(Posts));
        EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
    }
}

TEST(TEventLoop, PostingWakesALoopBlockedWithoutTimeLimit) {
    TEventLoop loop;
    std::atomic<bool> ran {false};
    auto runner = std::async(std::launch::async, [&] { loop.Run(); });
    while (loop.IsLoopThread())
        std::this_thread::yield();   // the runner has entered its first round
    loop.Post([&] {
        ran = true;
        loop.Quit();
    });
    // Run would block for good had the post not woken its poll (the test then hangs at the runner's end).
    ASSERT_EQ(runner.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    EXPECT_TRUE(ran);
}

// Posts one after another, each only once the last has run, so that the loop is asleep in its poll at every post:
// each one wakes it, also after the wakes of a burst were taken together.
TEST(TEventLoop, EveryPostWakesTheLoopAgainAfterABurstWasTakenInOneWake) {
    TEventLoop loop;
    std::atomic<int> ran {0};
    auto runner = std::async(std::launch::async, [&] { loop.Run(); });
    while (loop.IsLoopThread())
        std::this_thread::yield();
    constexpr int Burst = 500, OneByOne = 200;
    for (int i = 0; i < Burst; ++i)
        loop.Post([&] { ++ran; });
    bool inTime = true;
    const auto burstLimit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (ran.load() < Burst && (inTime = std::chrono::steady_clock::now() < burstLimit))
        std::this_thread::yield();
    for (int i = 0; i < OneByOne && inTime; ++i) {
        const int before = ran.load();
        loop.Post([&] { ++ran; });
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (ran.load() == before && (inTime = std::chrono::steady_clock::now() < limit))
            std::this_thread::yield();
    }
    loop.Post([&] { loop.Quit(); });
    ASSERT_EQ(runner.wait_for(std::chrono::seconds(60)), std::future_status::ready);
    EXPECT_TRUE(inTime);
    EXPECT_EQ(ran, Burst + OneByOne);
}

TEST(TEventLoop, QuitBeforeRunMakesRunReturnAtOnce) {
    TEventLoop loop;
    loop.Quit();
    auto run = std::async(std::launch::async, [&] { loop.Run(); });
    EXPECT_EQ(run.wait_for(std::chrono::seconds(60)), std::future_status::ready);
}

TEST(TEventLoop, TasksPostedByATaskRunInTheNextRound) {
    TEventLoop loop;
    std::vector<int> order;
    loop.Post([&] {
        order.push_back(1);
        loop.Post([&] { order.push_back(3); });
    });
    loop.Post([&] { order.push_back(2); });
    EXPECT_EQ(loop.ProcessPending(), 2);
    EXPECT_EQ(order, (std::vector<int> {1, 2}));
    EXPECT_EQ(loop.ProcessPending(), 1);
    EXPECT_EQ(order, (std::vector<int> {1, 2, 3}));
}

TEST(TEventLoop, TimersFireInDueOrderOnAFakeClock) {
    FakeClock clock;
    TEventLoop loop(clock.Source());
    std::vector<int> order;
    loop.SetTimer(
        30, [&] { order.push_back(30); }, TTimerKind::OneShot);
    loop.SetTimer(
        10, [&] { order.push_back(10); }, TTimerKind::OneShot);
    loop.SetTimer(
        20, [&] { order.push_back(20); }, TTimerKind::OneShot);
    clock.Now += 9ms;
    EXPECT_EQ(loop.ProcessPending(), 0);
    clock.Now += 21ms;
    EXPECT_EQ(loop.ProcessPending(), 3);
    EXPECT_EQ(order, (std::vector<int> {10, 20, 30}));
}

TEST(TEventLoop, TimersDueAtTheSameTimeFireInTheOrderTheyWereSet) {
    FakeClock clock;
    TEventLoop loop(clock.Source());
    std::vector<int> order;
    for (int i = 0; i < 4; ++i)
        loop.SetTimer(
            5, [&order, i] { order.push_back(i); }, TTimerKind::OneShot);
    clock.Now += 5ms;
    loop.ProcessPending();
    EXPECT_EQ(order, (std::vector<int> {0, 1, 2, 3}));
}

TEST(TEventLoop, APeriodicTimerFiresOnceWhenLateAndIsDueAgainAnIntervalLater) {
    FakeClock clock;
    TEventLoop loop(clock.Source());
    int ticks = 0;
    TTimerId id = loop.SetTimer(100, [&] { ++ticks; });
    clock.Now += 1000ms;
    loop.ProcessPending();
    EXPECT_EQ(ticks, 1);
    clock.Now += 99ms;
    loop.ProcessPending();
    EXPECT_EQ(ticks, 1);
    clock.Now += 1ms;
    loop.ProcessPending();
    EXPECT_EQ(ticks, 2);
    EXPECT_TRUE(loop.TimerActive(id));
}

TEST(TEventLoop, AOneShotTimerFiresOnceAndIsGone) {
    FakeClock clock;
    TEventLoop loop(clock.Source());
    int ticks = 0;
    TTimerId id = loop.SetTimer(
        10, [&] { ++ticks; }, TTimerKind::OneShot);
    clock.Now += 50ms;
    loop.ProcessPending();
    clock.Now += 50ms;
    loop.ProcessPending();
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(loop.TimerActive(id));
    EXPECT_FALSE(loop.KillTimer(id));
}

TEST(TEventLoop, ATimerCanKillItselfInsideItsCallback) {
    FakeClock clock;
    TEventLoop loop(clock.Source());
    int ticks = 0;
    TTimerId id = 0;
    id = loop.SetTimer(10, [&] {
        if (++ticks == 2) {
            EXPECT_TRUE(loop.KillTimer(id));
        }
    });
    for (int i = 0; i < 5; ++i) {
        clock.Now += 10ms;
        loop.ProcessPending();
    }
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(loop.TimerActive(id));
}

TEST(TEventLoop, ATimerKilledByAnEarlierCallbackOfTheRoundDoesNotFire) {
    FakeClock clock;
    TEventLoop loop(clock.Source());
    bool secondFired = false;
    TTimerId second = 0;
    loop.SetTimer(
        5, [&] { loop.KillTimer(second); }, TTimerKind::OneShot);
    second = loop.SetTimer(
        6, [&] { secondFired = true; }, TTimerKind::OneShot);
    clock.Now += 10ms;
    loop.ProcessPending();
    EXPECT_FALSE(secondFired);
}

TEST(TEventLoop, ATimerSetInsideACallbackWaitsForItsInterval) {
    FakeClock clock;
    TEventLoop loop(clock.Source());
    int inner = 0;
    loop.SetTimer(
        1,
        [&] {
            loop.SetTimer(
                1, [&] { ++inner; }, TTimerKind::OneShot);
        },
        TTimerKind::OneShot);
    clock.Now += 5ms;
    loop.ProcessPending();
    EXPECT_EQ(inner, 0);
    clock.Now += 1ms;
    loop.ProcessPending();
    EXPECT_EQ(inner, 1);
}

TEST(TEventLoop, ARealTimerWakesARoundWithoutTimeLimit) {
    TEventLoop loop;
    bool fired = false;
    loop.SetTimer(
        1, [&] { fired = true; }, TTimerKind::OneShot);
    EXPECT_TRUE(RunUntil(loop, [&] { return fired; }));
}

TEST(TEventLoop, AReadableDescriptorCallsItsWatcher) {
    TEventLoop loop;
    Pipe pipe;
    unsigned seen = 0;
    std::string data;
    loop.Watch(pipe.Reader(), feRead, [&](int fd, unsigned events) {
        seen |= events;
        char buffer[16];
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) data.append(buffer, static_cast<size_t>(n));
    });
    EXPECT_EQ(loop.ProcessPending(), 0);
    ASSERT_EQ(write(pipe.Writer(), "hi", 2), 2);
    EXPECT_TRUE(RunUntil(loop, [&] { return data == "hi"; }));
    EXPECT_EQ(seen, unsigned(feRead));
}

TEST(TEventLoop, AWritableDescriptorAndAPausedWatch) {
    TEventLoop loop;
    Pipe pipe;
    int calls = 0;
    loop.Watch(pipe.Writer(), feWrite, [&](int, unsigned events) {
        EXPECT_TRUE(events & feWrite);
        ++calls;
    });
    EXPECT_EQ(loop.RunOnce(LoopPatience), 1);
    EXPECT_TRUE(loop.SetEvents(pipe.Writer(), feNone));
    EXPECT_EQ(loop.ProcessPending(), 0);
    EXPECT_EQ(calls, 1);
}

TEST(TEventLoop, AHangUpIsReportedAsReadableWithAnError) {
    TEventLoop loop;
    Pipe pipe;
    unsigned seen = 0;
    loop.Watch(pipe.Reader(), feRead, [&](int fd, unsigned events) {
        seen = events;
        loop.Unwatch(fd);
    });
    pipe.CloseWriter();
    EXPECT_EQ(loop.RunOnce(LoopPatience), 1);
    EXPECT_EQ(seen, unsigned(feRead | feError));
    EXPECT_FALSE(loop.Watching(pipe.Reader()));
}

TEST(TEventLoop, ADescriptorClosedWithoutUnwatchingIsReportedOnceAndDropped) {
    TEventLoop loop;
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    unsigned seen = 0;
    loop.Watch(fds[0], feRead, [&](int, unsigned events) { seen = events; });
    close(fds[0]);
    close(fds[1]);
    EXPECT_EQ(loop.RunOnce(LoopPatience), 1);
    EXPECT_TRUE(seen & feError);
    EXPECT_FALSE(loop.Watching(fds[0]));
}

TEST(TEventLoop, AWatcherUnwatchedByAnEarlierCallbackOfTheRoundIsNotCalled) {
    TEventLoop loop;
    Pipe first, second;
    int calls = 0;
    loop.Watch(first.Reader(), feRead, [&](int, unsigned) {
        ++calls;
        loop.Unwatch(second.Reader());
    });
    loop.Watch(second.Reader(), feRead, [&](int, unsigned) {
        ++calls;
        loop.Unwatch(first.Reader());
    });
    ASSERT_EQ(write(first.Writer(), "x", 1), 1);
    ASSERT_EQ(write(second.Writer(), "x", 1), 1);
    loop.RunOnce(LoopPatience);
    EXPECT_EQ(calls, 1);
}

TEST(TEventLoop, AnExceptionGoesToOnException) {
    TEventLoop loop;
    std::vector<std::string> errors;
    loop.OnException = [&](std::exception_ptr error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            errors.push_back(e.what());
        }
    };
    bool after = false;
    loop.Post([] { throw std::runtime_error("task"); });
    loop.Post([&] { after = true; });
    loop.ProcessPending();
    EXPECT_EQ(errors, (std::vector<std::string> {"task"}));
    EXPECT_TRUE(after);
}

TEST(TEventLoop, WithoutOnExceptionItLeavesTheRoundAndTheRestRunsNextRound) {
    TEventLoop loop;
    std::vector<int> order;
    loop.Post([&] { order.push_back(1); });
    loop.Post([] { throw std::runtime_error("task"); });
    loop.Post([&] { order.push_back(3); });
    EXPECT_THROW(loop.ProcessPending(), std::runtime_error);
    EXPECT_EQ(order, (std::vector<int> {1}));
    loop.ProcessPending();
    EXPECT_EQ(order, (std::vector<int> {1, 3}));
}

TEST(TEventLoop, ShutdownDestroysPendingTasksAndRefusesNewOnes) {
    TEventLoop loop;
    auto token = std::make_shared<int>(0);
    bool ran = false;
    loop.Post([&ran, token] { ran = true; });
    loop.Shutdown();
    EXPECT_EQ(token.use_count(), 1);
    EXPECT_FALSE(loop.Post([&] { ran = true; }));
    loop.ProcessPending();
    EXPECT_FALSE(ran);
    EXPECT_TRUE(loop.IsShutDown());
}

TEST(TEventLoopDispatcher, SynchronizeRunsOnTheLoopThread) {
    TEventLoop loop;
    TEventLoopDispatcher dispatcher(loop);
    dispatcher.Install();
    std::thread::id ranOn;
    std::atomic<bool> result = false;
    std::thread worker([&] { result = TThread::Synchronize([&] { ranOn = std::this_thread::get_id(); }); });
    EXPECT_TRUE(RunUntil(loop, [&] { return ranOn != std::thread::id(); }));
    worker.join();
    EXPECT_TRUE(result);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    dispatcher.Uninstall();
    EXPECT_FALSE(dispatcher.Installed());
}

TEST(TEventLoopDispatcher, ShuttingTheLoopDownReleasesAWaitingSynchronize) {
    TEventLoop loop;
    TEventLoopDispatcher dispatcher(loop);
    dispatcher.Install();
    std::atomic<int> result = -1;
    bool ran = false;
    std::thread worker([&] { result = TThread::Synchronize([&] { ran = true; }); });
    loop.Shutdown();   // before the call arrives the post is refused, after it the queued call is destroyed
    worker.join();
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(ran);
}

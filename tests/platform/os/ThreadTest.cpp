// Tests of TThread: start, sleep and terminate, waiting, free-on-terminate, exceptions, UI calls, priority.
#include "platform/os/Thread.h"
#include "support/TestDispatcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <stop_token>
#include <sys/resource.h>
#include <unistd.h>

using namespace korvex::os;
using korvex::os::threadtest::TestDispatcher;

namespace {

constexpr int Forever = 600000;   // a sleep that only Terminate ends
constexpr int ThreadPatience = 10000;   // how long a test waits for what must happen at once

// Runs a function as its Execute.
class FnThread : public TThread {
public:
    explicit FnThread(std::function<void(FnThread&)> body, std::atomic<bool>* destroyed = nullptr)
        : TThread(true)
        , FBody(std::move(body))
        , FDestroyed(destroyed) { }
    ~FnThread() override {
        Terminate();
        WaitFor();
        if (FDestroyed) *FDestroyed = true;
    }
    bool Nap(int ms) { return Sleep(ms); }
    std::stop_token Token() const { return StopToken(); }

protected:
    void Execute() override { FBody(*this); }

private:
    std::function<void(FnThread&)> FBody;
    std::atomic<bool>* FDestroyed;
};

class ThreadUi : public ::testing::Test {
protected:
    void SetUp() override { SetUiDispatcher(&Dispatcher); }
    void TearDown() override { SetUiDispatcher(nullptr); }
    TestDispatcher Dispatcher;
};

}

TEST(TThread, CreatedSuspendedRunsOnlyAfterStart) {
    std::atomic<bool> ran = false;
    FnThread thread([&](FnThread&) { ran = true; });
    EXPECT_TRUE(thread.Suspended());
    EXPECT_FALSE(thread.Finished());
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(thread.Finished());
    EXPECT_FALSE(thread.Suspended());
}

TEST(TThread, ResumeStartsASuspendedThreadAndStartingTwiceIsHarmless) {
    std::atomic<int> runs = 0;
    FnThread thread([&](FnThread&) { ++runs; });
    thread.Resume();
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(runs, 1);
}

TEST(TThread, TerminateEndsALongSleepAtOnce) {
    std::atomic<bool> asleep = false;
    std::atomic<bool> sleptFully = true;
    FnThread thread([&](FnThread& self) {
        asleep = true;
        sleptFully = self.Nap(Forever);
    });
    thread.Start();
    while (!asleep)
        std::this_thread::yield();
    thread.Terminate();
    ASSERT_TRUE(thread.WaitFor(ThreadPatience));
    EXPECT_FALSE(sleptFully);
    EXPECT_TRUE(thread.Terminated());
}

TEST(TThread, TerminateEndsAWaitOnAnotherConditionVariableAtOnce) {
    std::mutex lock;
    std::condition_variable_any never;
    std::atomic<bool> waiting = false;
    FnThread thread([&](FnThread& self) {
        std::unique_lock guard(lock);
        waiting = true;
        never.wait_for(guard, self.Token(), std::chrono::milliseconds(Forever), [] { return false; });
    });
    thread.Start();
    while (!waiting)
        std::this_thread::yield();
    const auto asked = std::chrono::steady_clock::now();
    thread.Terminate();
    ASSERT_TRUE(thread.WaitFor(ThreadPatience));
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(ThreadPatience));
    EXPECT_TRUE(thread.Token().stop_requested());
}

TEST(TThread, SleepAfterTerminateReturnsAtOnceAndAShortSleepCompletes) {
    std::atomic<int> results = 0;
    std::atomic<bool> napped = false;
    FnThread thread([&](FnThread& self) {
        if (self.Nap(1)) results |= 1;
        napped = true;
        while (!self.Terminated())
            self.Nap(Forever);
        if (!self.Nap(Forever)) results |= 2;
    });
    thread.Start();
    while (!napped)
        std::this_thread::yield();
    thread.Terminate();
    thread.WaitFor();
    EXPECT_EQ(results, 3);
}

// A pause that nothing ends lasts its whole time, a second and more too, and says the thread goes on.
TEST(TThread, ASleepThatIsNotEndedLastsItsWholeTime) {
    for (int ms : {1, 40, 1100}) {
        SCOPED_TRACE(ms);
        std::atomic<bool> goesOn = false;
        std::chrono::steady_clock::duration slept {};
        FnThread thread([&](FnThread& self) {
            const auto start = std::chrono::steady_clock::now();
            goesOn = self.Nap(ms);
            slept = std::chrono::steady_clock::now() - start;
        });
        thread.Start();
        ASSERT_TRUE(thread.WaitFor(ThreadPatience));
        EXPECT_TRUE(goesOn);
        EXPECT_GE(slept, std::chrono::milliseconds(ms));
    }
}

TEST(TThread, WaitForOnAnUnstartedThreadReturnsAtOnce) {
    FnThread thread([](FnThread&) {});
    EXPECT_TRUE(thread.WaitFor(0));
    TThreadHandle empty;
    empty.WaitFor();
    EXPECT_TRUE(empty.WaitFor(0));
}

TEST(TThread, WaitForWithTimeLimitReportsARunningThread) {
    FnThread thread([](FnThread& self) { self.Nap(Forever); });
    thread.Start();
    EXPECT_FALSE(thread.WaitFor(1));
    thread.Terminate();
    EXPECT_TRUE(thread.WaitFor(ThreadPatience));
}

TEST(TThread, DestroyingARunningThreadStopsAndJoinsIt) {
    std::atomic<bool> left = false;
    {
        FnThread thread([&](FnThread& self) {
            while (!self.Terminated())
                self.Nap(Forever);
            left = true;
        });
        thread.Start();
    }
    EXPECT_TRUE(left);
}

TEST(TThread, FreeOnTerminateFreesTheObjectAndTheHandleStillJoins) {
    std::atomic<bool> destroyed = false;
    auto* thread = new FnThread([](FnThread&) {}, &destroyed);
    thread->SetFreeOnTerminate(true);
    TThreadHandle handle = thread->Handle();
    thread->Start();
    handle.WaitFor();
    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(handle.Finished());
}

TEST(TThread, OwnerStopsAFreeOnTerminateThreadThroughItsHandle) {
    std::atomic<bool> destroyed = false;
    std::atomic<bool> running = false;
    auto* thread = new FnThread(
        [&](FnThread& self) {
            running = true;
            while (!self.Terminated())
                self.Nap(Forever);
        },
        &destroyed);
    thread->SetFreeOnTerminate(true);
    thread->SetPriority(tpLowest);
    TThreadHandle handle = thread->Handle();
    thread->Start();
    while (!running)
        std::this_thread::yield();
    handle.Terminate();
    EXPECT_TRUE(handle.Terminated());
    ASSERT_TRUE(handle.WaitFor(ThreadPatience));
    EXPECT_TRUE(destroyed);
}

TEST(TThread, AnExceptionEscapingExecuteIsKept) {
    FnThread thread([](FnThread&) { throw std::runtime_error("boom"); });
    thread.Start();
    thread.WaitFor();
    ASSERT_TRUE(thread.FatalException());
    try {
        std::rethrow_exception(thread.FatalException());
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "boom");
    }
}

TEST(TThread, AFreeOnTerminateThreadsExceptionIsKeptInItsHandle) {
    auto* thread = new FnThread([](FnThread&) { throw 42; });
    thread->SetFreeOnTerminate(true);
    TThreadHandle handle = thread->Handle();
    thread->Start();
    handle.WaitFor();
    EXPECT_TRUE(handle.FatalException());
}

TEST(TThread, LowestPriorityRaisesTheThreadsNiceValue) {
    std::atomic<int> before = 0, after = 0;
    before = getpriority(PRIO_PROCESS, 0);
    FnThread thread([&](FnThread&) { after = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())); });
    thread.SetPriority(tpLowest);
    EXPECT_EQ(thread.Priority(), tpLowest);
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(after, std::min(before + 10, 19));
}

TEST(TThread, RaisingPriorityNeverFailsTheThread) {
    std::atomic<bool> ran = false;
    FnThread thread([&](FnThread&) { ran = true; });
    thread.SetPriority(tpTimeCritical);   // refused without privileges: the thread runs all the same
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(ran);
    EXPECT_EQ(thread.Priority(), tpTimeCritical);
}

TEST(TThreadSynchronize, WithoutADispatcherRunsOnTheCallingThread) {
    std::thread::id ranOn;
    std::thread::id worker;
    FnThread thread([&](FnThread&) {
        worker = std::this_thread::get_id();
        EXPECT_TRUE(TThread::Synchronize([&] { ranOn = std::this_thread::get_id(); }));
    });
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(ranOn, worker);
}

TEST(TThreadSynchronize, OnTheUiThreadRunsDirectly) {
    EXPECT_TRUE(CurrentThreadIsUi());
    bool ran = false;
    EXPECT_TRUE(TThread::Synchronize([&] { ran = true; }));
    EXPECT_TRUE(ran);
}

TEST_F(ThreadUi, SynchronizeRunsOnTheUiThreadAndWaits) {
    std::thread::id ranOn;
    std::atomic<bool> returned = false;
    FnThread thread([&](FnThread&) {
        EXPECT_FALSE(CurrentThreadIsUi());
        EXPECT_TRUE(TThread::Synchronize([&] { ranOn = std::this_thread::get_id(); }));
        returned = true;
    });
    thread.Start();
    ASSERT_TRUE(Dispatcher.WaitForTask());
    EXPECT_FALSE(returned);
    EXPECT_EQ(Dispatcher.RunAll(), 1);
    thread.WaitFor();
    EXPECT_TRUE(returned);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST_F(ThreadUi, SynchronizeRaisesTheCallsExceptionInTheWorker) {
    std::atomic<bool> caught = false;
    FnThread thread([&](FnThread&) {
        try {
            TThread::Synchronize([] { throw std::logic_error("ui failed"); });
        } catch (const std::logic_error&) {
            caught = true;
        }
    });
    thread.Start();
    ASSERT_TRUE(Dispatcher.WaitForTask());
    Dispatcher.RunAll();
    thread.WaitFor();
    EXPECT_TRUE(caught);
}

TEST_F(ThreadUi, AWaitingSynchronizeEndsUnrunWhenTheDispatcherShutsDown) {
    std::atomic<bool> ran = false;
    std::atomic<int> result = -1;
    FnThread thread([&](FnThread&) { result = TThread::Synchronize([&] { ran = true; }); });
    thread.Start();
    ASSERT_TRUE(Dispatcher.WaitForTask());
    Dispatcher.Close();
    ASSERT_TRUE(thread.WaitFor(ThreadPatience));
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(ran);
}

TEST_F(ThreadUi, AWaitingSynchronizeEndsWhenTheDispatcherIsUninstalled) {
    std::atomic<bool> ran = false;
    std::atomic<int> result = -1;
    FnThread thread([&](FnThread&) { result = TThread::Synchronize([&] { ran = true; }); });
    thread.Start();
    ASSERT_TRUE(Dispatcher.WaitForTask());
    SetUiDispatcher(nullptr);
    ASSERT_TRUE(thread.WaitFor(ThreadPatience));
    EXPECT_EQ(result, 0);
    Dispatcher.RunAll();   // the late task must not run the abandoned call
    EXPECT_FALSE(ran);
}

TEST_F(ThreadUi, WaitForOnTheUiThreadRunsAPendingSynchronize) {
    std::atomic<bool> ran = false;
    FnThread thread([&](FnThread&) { TThread::Synchronize([&] { ran = true; }); });
    thread.Start();
    ASSERT_TRUE(thread.WaitFor(ThreadPatience));   // the dispatcher is never pumped: WaitFor must run the call
    EXPECT_TRUE(ran);
    Dispatcher.RunAll();
}

TEST_F(ThreadUi, QueueDoesNotWaitAndKeepsTheOrder) {
    std::vector<int> order;
    FnThread thread([&](FnThread&) {
        for (int i = 0; i < 3; ++i)
            TThread::Queue([&order, i] { order.push_back(i); });
    });
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(order.empty());
    Dispatcher.RunAll();
    EXPECT_EQ(order, (std::vector<int> {0, 1, 2}));
}

TEST_F(ThreadUi, CheckSynchronizeRunsQueuedCallsAndTheirTasksThenDoNothing) {
    int runs = 0;
    FnThread thread([&](FnThread&) { TThread::Queue([&] { ++runs; }); });
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(CheckSynchronize());
    EXPECT_FALSE(CheckSynchronize());
    Dispatcher.RunAll();
    EXPECT_EQ(runs, 1);
}

TEST_F(ThreadUi, AQueuedCallsExceptionComesOutOfTheUiSide) {
    FnThread thread([](FnThread&) { TThread::Queue([] { throw std::runtime_error("queued"); }); });
    thread.Start();
    thread.WaitFor();
    EXPECT_THROW(Dispatcher.RunAll(), std::runtime_error);
}

TEST_F(ThreadUi, TheInstallingThreadIsTheUiThread) {
    EXPECT_EQ(UiThreadID(), std::this_thread::get_id());
    EXPECT_EQ(MainThreadID(), std::this_thread::get_id());
    EXPECT_EQ(UiDispatcher(), &Dispatcher);
}

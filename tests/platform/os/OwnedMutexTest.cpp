// TOwnedMutex: it tells the thread that holds it from every other, also around a condition variable's wait.
#include "platform/os/OwnedMutex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

using korvex::os::TOwnedMutex;

TEST(TOwnedMutex, OnlyTheThreadThatLockedItHoldsIt) {
    TOwnedMutex lock;
    EXPECT_FALSE(lock.HeldByCurrentThread());
    {
        std::lock_guard guard(lock);
        EXPECT_TRUE(lock.HeldByCurrentThread());
        bool heldElsewhere = true;
        std::thread([&] { heldElsewhere = lock.HeldByCurrentThread(); }).join();
        EXPECT_FALSE(heldElsewhere);
        bool taken = true;
        std::thread([&] { taken = lock.try_lock(); }).join();
        EXPECT_FALSE(taken);
    }
    EXPECT_FALSE(lock.HeldByCurrentThread());
}

TEST(TOwnedMutex, AConditionVariableWaitGivesItUpAndTakesItBack) {
    TOwnedMutex lock;
    std::condition_variable_any changed;
    bool ready = false;
    std::atomic<bool> heldDuringWait = true;
    std::unique_lock guard(lock);
    std::thread other([&] {
        std::lock_guard inner(lock);   // only possible while the waiter has let go
        heldDuringWait = false;
        ready = true;
        changed.notify_all();
    });
    changed.wait(guard, [&] { return ready; });
    EXPECT_TRUE(lock.HeldByCurrentThread());
    EXPECT_FALSE(heldDuringWait);
    guard.unlock();
    other.join();
}

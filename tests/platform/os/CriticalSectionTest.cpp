// Tests of TCriticalSection: recursion, exclusion between threads, the scope guard.
#include "platform/os/CriticalSection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace korvex::os;

namespace {

bool TryFromAnotherThread(TCriticalSection& section) {
    bool entered = false;
    std::thread other([&] {
        entered = section.TryEnter();
        if (entered) section.Leave();
    });
    other.join();
    return entered;
}

}

TEST(TCriticalSection, TheOwnerMayEnterAgainAndOthersWaitUntilItLeftAsOftenAsItEntered) {
    TCriticalSection section;
    section.Enter();
    section.Enter();
    EXPECT_TRUE(section.TryEnter());
    EXPECT_TRUE(section.HeldByCurrentThread());
    EXPECT_FALSE(TryFromAnotherThread(section));
    section.Leave();
    section.Leave();
    EXPECT_FALSE(TryFromAnotherThread(section));
    section.Leave();
    EXPECT_FALSE(section.HeldByCurrentThread());
    EXPECT_TRUE(TryFromAnotherThread(section));
}

TEST(TCriticalSection, KeepsThreadsOutOfEachOther) {
    TCriticalSection section;
    int counter = 0;   // unprotected but for the section
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                TCriticalSectionLock lock(section);
                ++counter;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(counter, 40000);
}

TEST(TCriticalSectionLock, LeavesOnEveryPathOutOfTheScope) {
    TCriticalSection section;
    try {
        TCriticalSectionLock lock(section);
        TCriticalSectionLock again(section);
        throw std::runtime_error("out");
    } catch (const std::runtime_error&) { }
    EXPECT_FALSE(section.HeldByCurrentThread());
    EXPECT_TRUE(TryFromAnotherThread(section));
}

TEST(TCriticalSection, WorksWithTheStandardLockHelpers) {
    TCriticalSection section;
    {
        std::scoped_lock lock(section);
        EXPECT_TRUE(section.HeldByCurrentThread());
    }
    EXPECT_TRUE(TryFromAnotherThread(section));
}

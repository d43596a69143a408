// Scope guard tests: rollbacks restore the old value on every exit, scope exits run once and pass errors on.
#include "platform/base/ScopeGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using korvex::base::ScopeExit;
using korvex::base::ValueRollback;

TEST(ValueRollback, RestoresTheOldValueNotADefault) {
    // A flag that was already set stays set when an inner scope ends.
    for (bool before : {false, true}) {
        bool flag = before;
        {
            ValueRollback<bool> changing(flag, true);
            EXPECT_TRUE(flag);
            EXPECT_EQ(changing.OldValue(), before);
        }
        EXPECT_EQ(flag, before);
    }
}

TEST(ValueRollback, RestoresWhenTheScopeEndsByAnException) {
    std::string text = "old";
    EXPECT_THROW(
        {
            ValueRollback<std::string> scope(text, "new");
            EXPECT_EQ(text, "new");
            throw std::runtime_error("load failed");
        },
        std::runtime_error);
    EXPECT_EQ(text, "old");
}

TEST(ValueRollback, NestedScopesUnwindInOrder) {
    int depth = 0;
    {
        ValueRollback<int> outer(depth, 1);
        {
            ValueRollback<int> inner(depth, 2);
            EXPECT_EQ(depth, 2);
        }
        EXPECT_EQ(depth, 1);
    }
    EXPECT_EQ(depth, 0);
}

TEST(ValueRollback, AnOverrideReplacesWhatIsRestored) {
    int value = 1;
    {
        ValueRollback<int> scope(value);
        value = 5;
        scope.SetOverride(7);
    }
    EXPECT_EQ(value, 7);
}

TEST(ScopeExit, RunsOnceOnNormalAndExceptionalExit) {
    int runs = 0;
    { ScopeExit done([&] { ++runs; }); }
    EXPECT_EQ(runs, 1);
    EXPECT_THROW(
        {
            ScopeExit done([&] { ++runs; });
            throw std::logic_error("x");
        },
        std::logic_error);
    EXPECT_EQ(runs, 2);
}

TEST(ScopeExit, ADismissedGuardDoesNothing) {
    int runs = 0;
    {
        ScopeExit undo([&] { ++runs; });
        undo.Dismiss();
    }
    EXPECT_EQ(runs, 0);
}

TEST(ScopeExit, AnErrorOfTheCleanupReachesTheCallerWhenNothingElseFailed) {
    auto body = [] { ScopeExit cleanup([] { throw std::runtime_error("cleanup"); }); };
    try {
        body();
        FAIL() << "the cleanup's error was lost";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "cleanup");
    }
}

TEST(ScopeExit, TheFirstErrorWinsOverOneOfTheCleanup) {
    int runs = 0;
    auto body = [&] {
        ScopeExit cleanup([&] {
            ++runs;
            throw std::runtime_error("cleanup");
        });
        throw std::logic_error("body");
    };
    try {
        body();
        FAIL() << "nothing was thrown";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "body");   // not std::terminate, and not the cleanup's error
    }
    EXPECT_EQ(runs, 1);
}

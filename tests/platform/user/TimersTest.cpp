// Window timers on the fake clock: firing, priority, restarting, and freeing inside a tick.
#include "support/UserTestSupport.h"

#include "platform/user/Messages.h"
#include "platform/user/Timers.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

namespace {

using Timers = UserTest;

TEST_F(Timers, ATimerFiresOncePerIntervalAndNotBefore) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    EXPECT_EQ(SetTimer(w, 5, 100, nullptr), 5u);
    Advance(99);
    EXPECT_EQ(Count(w, WM_TIMER), 0);
    Advance(1);
    EXPECT_EQ(Count(w, WM_TIMER), 1);
    EXPECT_EQ(Log(w).back().WParam, 5u);
    Advance(100);
    EXPECT_EQ(Count(w, WM_TIMER), 2);
}

TEST_F(Timers, ALateTimerFiresOnceNotOncePerMissedPeriod) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    SetTimer(w, 1, 50, nullptr);
    Advance(500);
    EXPECT_EQ(Count(w, WM_TIMER), 1);
}

TEST_F(Timers, SettingAnExistingTimerRestartsItWithTheNewInterval) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    SetTimer(w, 1, 100, nullptr);
    Advance(80);
    SetTimer(w, 1, 100, nullptr);
    Advance(80);
    EXPECT_EQ(Count(w, WM_TIMER), 0);
    Advance(20);
    EXPECT_EQ(Count(w, WM_TIMER), 1);
    SetTimer(w, 1, 30, nullptr);
    Advance(30);
    EXPECT_EQ(Count(w, WM_TIMER), 2);
}

TEST_F(Timers, ATimerKilledInItsOwnTickNeverFiresAgain) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    SetHandler(w, [](HWND h, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_TIMER) KillTimer(h, wp);
        return std::nullopt;
    });
    SetTimer(w, 9, 10, nullptr);
    Advance(10);
    Advance(10);
    Advance(100);
    EXPECT_EQ(Count(w, WM_TIMER), 1);
    EXPECT_FALSE(KillTimer(w, 9));
}

TEST_F(Timers, AWindowFreedInsideItsOwnTickTakesItsTimersWithIt) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    HWND other = Create(WS_POPUP, 0, 0, 10, 10);
    SetHandler(w, [](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_TIMER) DestroyWindow(h);
        return std::nullopt;
    });
    SetTimer(w, 1, 10, nullptr);
    SetTimer(w, 2, 10, nullptr);   // due in the same turn as the first
    SetTimer(other, 1, 10, nullptr);
    Advance(10);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(Count(w, WM_TIMER), 1);
    Advance(10);
    EXPECT_EQ(Count(w, WM_TIMER), 1);
    EXPECT_EQ(Count(other, WM_TIMER), 2);
}

TEST_F(Timers, PostedMessagesComeBeforeADueTimer) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    SetTimer(w, 1, 10, nullptr);
    Clock.Advance(10);
    PostMessage(w, WM_USER, 0, 0);
    Pump();
    auto messages = Messages(w);
    auto user = std::find(messages.begin(), messages.end(), WM_USER);
    auto timer = std::find(messages.begin(), messages.end(), WM_TIMER);
    ASSERT_NE(user, messages.end());
    ASSERT_NE(timer, messages.end());
    EXPECT_LT(user, timer);
}

int gProcTicks = 0;
void CountTick(HWND, UINT, std::uintptr_t, DWORD) {
    ++gProcTicks;
}

TEST_F(Timers, ATimerProcedureIsCalledInsteadOfTheWindow) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    gProcTicks = 0;
    SetTimer(w, 3, 20, CountTick);
    std::uintptr_t free = SetTimer(nullptr, 0, 20, CountTick);
    EXPECT_NE(free, 0u);
    Advance(20);
    EXPECT_EQ(gProcTicks, 2);
    EXPECT_EQ(Count(w, WM_TIMER), 0);
    EXPECT_TRUE(KillTimer(nullptr, free));
}

TEST_F(Timers, TimersOfDeadWindowsAreRefused) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    DestroyWindow(w);
    EXPECT_EQ(SetTimer(w, 1, 10, nullptr), 0u);
}

TEST_F(Timers, IntervalsBelowTheMinimumAreRaisedToIt) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    SetTimer(w, 1, 1, nullptr);
    Advance(5);
    EXPECT_EQ(Count(w, WM_TIMER), 0);
    Advance(5);
    EXPECT_EQ(Count(w, WM_TIMER), 1);
}

}   // namespace

}

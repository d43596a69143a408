// The light window timer on the fake clock: the shared window, its states, and ticks that come too late.
#include "support/TrayTestKit.h"

#include "platform/user/Messages.h"
#include "platform/user/Timers.h"
#include "platform/user/Window.h"
#include "tray/SimpleTimer.h"

namespace korvex::tray::test {

namespace {

using SimpleTimer = TrayTest;

struct Ticks {
    int Count = 0;
    classes::TObject* LastSender = nullptr;
    classes::TNotifyEvent Event() {
        return [this](classes::TObject* sender) {
            ++Count;
            LastSender = sender;
        };
    }
};

TEST_F(SimpleTimer, TwoTimersMakeTheSharedWindowOnceAndTheSecondFreedDestroysIt) {
    EXPECT_EQ(TSimpleTimer::SharedWindow(), nullptr);
    auto first = std::make_unique<TSimpleTimer>();
    user::HWND window = TSimpleTimer::SharedWindow();
    ASSERT_NE(window, nullptr);
    auto second = std::make_unique<TSimpleTimer>();
    EXPECT_EQ(TSimpleTimer::SharedWindow(), window);
    EXPECT_EQ(TSimpleTimer::SharedRefCount(), 2u);
    first.reset();
    EXPECT_TRUE(user::IsWindow(window));
    second.reset();
    EXPECT_FALSE(user::IsWindow(window));
    EXPECT_EQ(TSimpleTimer::SharedWindow(), nullptr);
    TSimpleTimer again;
    EXPECT_NE(TSimpleTimer::SharedWindow(), nullptr);
    EXPECT_TRUE(user::IsWindow(TSimpleTimer::SharedWindow()));
}

TEST_F(SimpleTimer, ANewTimerIsInactiveWithIntervalOneSecond) {
    TSimpleTimer timer;
    EXPECT_FALSE(timer.Active());
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_FALSE(timer.OnTimer());
}

TEST_F(SimpleTimer, StartWithIntervalZeroAnswersFalseAndStaysInactive) {
    TSimpleTimer timer;
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Start());
    EXPECT_FALSE(timer.Active());
}

TEST_F(SimpleTimer, TicksComeEveryIntervalWithTheTimerAsSender) {
    Ticks ticks;
    TSimpleTimer timer(100, ticks.Event());
    EXPECT_TRUE(timer.Start());
    Advance(99);
    EXPECT_EQ(ticks.Count, 0);
    Advance(1);
    EXPECT_EQ(ticks.Count, 1);
    EXPECT_EQ(ticks.LastSender, &timer);
    Advance(100);
    EXPECT_EQ(ticks.Count, 2);
}

TEST_F(SimpleTimer, IntervalZeroPausesWithActiveStillTrueAndANewIntervalResumes) {
    Ticks ticks;
    TSimpleTimer timer(100, ticks.Event());
    timer.SetActive(true);
    Advance(100);
    EXPECT_EQ(ticks.Count, 1);
    timer.SetInterval(0);
    EXPECT_TRUE(timer.Active());
    Advance(1000);
    EXPECT_EQ(ticks.Count, 1);
    timer.SetInterval(500);
    Advance(499);
    EXPECT_EQ(ticks.Count, 1);
    Advance(1);
    EXPECT_EQ(ticks.Count, 2);
    Advance(500);
    EXPECT_EQ(ticks.Count, 3);
}

TEST_F(SimpleTimer, SettingTheSameIntervalDoesNotStartThePeriodOver) {
    Ticks ticks;
    TSimpleTimer timer(100, ticks.Event());
    timer.Start();
    Advance(60);
    timer.SetInterval(100);
    Advance(40);
    EXPECT_EQ(ticks.Count, 1);
}

TEST_F(SimpleTimer, ANewIntervalOnARunningTimerStartsThePeriodOver) {
    Ticks ticks;
    TSimpleTimer timer(100, ticks.Event());
    timer.Start();
    Advance(60);
    timer.SetInterval(80);
    Advance(40);
    EXPECT_EQ(ticks.Count, 0);
    Advance(40);
    EXPECT_EQ(ticks.Count, 1);
}

TEST_F(SimpleTimer, ClearingOnTimerPausesAndANewEventWaitsForStart) {
    Ticks ticks;
    TSimpleTimer timer(100, ticks.Event());
    timer.Start();
    timer.SetOnTimer(nullptr);
    EXPECT_TRUE(timer.Active());
    Advance(300);
    timer.SetOnTimer(ticks.Event());
    Advance(300);
    EXPECT_EQ(ticks.Count, 0);
    EXPECT_TRUE(timer.Start());
    Advance(100);
    EXPECT_EQ(ticks.Count, 1);
}

TEST_F(SimpleTimer, StopWithoutClearingKeepsActiveAndStopWithClearingDoesNot) {
    TSimpleTimer timer(100, [](classes::TObject*) {});
    timer.Start();
    EXPECT_TRUE(timer.Stop(false));
    EXPECT_TRUE(timer.Active());
    timer.Start();
    EXPECT_TRUE(timer.Stop(true));
    EXPECT_FALSE(timer.Active());
    EXPECT_FALSE(timer.Stop(true));   // nothing left to kill
}

TEST_F(SimpleTimer, FreeingARunningTimerKillsItsSystemTimer) {
    TSimpleTimer keeper;   // keeps the shared window
    Ticks ticks;
    auto timer = std::make_unique<TSimpleTimer>(100, ticks.Event());
    timer->Start();
    std::uintptr_t id = timer->Id();
    timer.reset();
    EXPECT_FALSE(user::KillTimer(TSimpleTimer::SharedWindow(), id));
    Advance(500);
    EXPECT_EQ(ticks.Count, 0);
}

TEST_F(SimpleTimer, ATickArrivingAfterItsTimerWasFreedFindsNothing) {
    TSimpleTimer keeper;
    Ticks ticks;
    auto timer = std::make_unique<TSimpleTimer>(100, ticks.Event());
    std::uintptr_t id = timer->Id();
    timer.reset();
    // A timer made now may take the freed one's memory; the stale tick must not reach it.
    auto successor = std::make_unique<TSimpleTimer>(100, ticks.Event());
    EXPECT_NE(successor->Id(), id);
    user::PostMessage(TSimpleTimer::SharedWindow(), user::WM_TIMER, id, 0);
    Pump();
    EXPECT_EQ(ticks.Count, 0);
}

TEST_F(SimpleTimer, ATimerMayFreeItselfInItsOwnTick) {
    TSimpleTimer keeper;
    TSimpleTimer* self = nullptr;
    int count = 0;
    self = new TSimpleTimer(50, [&](classes::TObject* sender) {
        ++count;
        EXPECT_EQ(sender, self);
        delete self;
    });
    self->Start();
    Advance(50);
    Advance(50);
    EXPECT_EQ(count, 1);
}

TEST_F(SimpleTimer, AWindowLostWithItsQueueIsMadeAgainOnStart) {
    TSimpleTimer timer(100, [](classes::TObject*) {});
    user::HWND old = TSimpleTimer::SharedWindow();
    user::DestroyWindow(old);
    EXPECT_TRUE(timer.Start());
    EXPECT_NE(TSimpleTimer::SharedWindow(), old);
    EXPECT_TRUE(user::IsWindow(TSimpleTimer::SharedWindow()));
}

TEST_F(SimpleTimer, TheSharedHandlerFreedAtProgramEndLeavesLeftoverTimersHarmless) {
    Ticks ticks;
    auto leftover = std::make_unique<TSimpleTimer>(100, ticks.Event());
    ASSERT_TRUE(leftover->Start());
    user::HWND window = TSimpleTimer::SharedWindow();
    TSimpleTimer::FreeSharedHandler();
    EXPECT_FALSE(user::IsWindow(window));
    EXPECT_EQ(TSimpleTimer::SharedWindow(), nullptr);
    EXPECT_EQ(TSimpleTimer::SharedRefCount(), 0u);
    Advance(300);
    EXPECT_EQ(ticks.Count, 0);
    TSimpleTimer::FreeSharedHandler();   // nothing left to free

    Ticks laterTicks;
    TSimpleTimer later(100, laterTicks.Event());
    ASSERT_TRUE(later.Start());
    EXPECT_EQ(TSimpleTimer::SharedRefCount(), 1u);
    leftover.reset();   // no user of the new handler
    EXPECT_EQ(TSimpleTimer::SharedRefCount(), 1u);
    EXPECT_TRUE(user::IsWindow(TSimpleTimer::SharedWindow()));
    Advance(100);
    EXPECT_EQ(laterTicks.Count, 1);
    EXPECT_EQ(ticks.Count, 0);
}

}   // namespace

}

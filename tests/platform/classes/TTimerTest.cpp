// TTimer: ticks on the fake clock, enabling and intervals, a timer freed in its own tick, failing handlers.
#include "support/ControlsTestKit.h"

#include <stdexcept>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class TimerTest : public ControlsTest {
protected:
    TTimer* NewTimer(unsigned interval, int* ticks) {
        auto* timer = Create<TTimer>(Application);
        timer->SetInterval(interval);
        timer->OnTimer = [ticks](TObject*) { ++*ticks; };
        return timer;
    }
};

// Counts its ticks through the overridable Timer.
class TCountingTimer : public TTimer {
public:
    using TTimer::TTimer;
    int Ticks = 0;

protected:
    void Timer() override {
        ++Ticks;
        TTimer::Timer();
    }
};

}

TEST_F(TimerTest, TicksOncePerIntervalOnTheClock) {
    int ticks = 0;
    NewTimer(1000, &ticks);
    Advance(999);
    EXPECT_EQ(ticks, 0);
    Advance(1);
    EXPECT_EQ(ticks, 1);
    Advance(1000);
    Advance(1000);
    EXPECT_EQ(ticks, 3);
}

TEST_F(TimerTest, ADisabledTimerDoesNotTickAndEnablingStartsThePeriodOver) {
    int ticks = 0;
    TTimer* timer = NewTimer(100, &ticks);
    Advance(60);
    timer->SetEnabled(false);
    Advance(500);
    EXPECT_EQ(ticks, 0);
    timer->SetEnabled(true);
    Advance(60);
    EXPECT_EQ(ticks, 0);
    Advance(40);
    EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, IntervalZeroStopsTheTimer) {
    int ticks = 0;
    TTimer* timer = NewTimer(100, &ticks);
    timer->SetInterval(0);
    Advance(1000);
    EXPECT_EQ(ticks, 0);
    timer->SetInterval(50);
    Advance(50);
    EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, ATimerMayFreeItselfInItsOwnTick) {
    auto* timer = Create<TTimer>(Application);
    timer->SetInterval(100);
    int ticks = 0;
    timer->OnTimer = [&ticks](TObject* sender) {
        ++ticks;
        static_cast<TTimer*>(sender)->Free();
    };
    Advance(100);
    Advance(100);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(Application->ComponentCount(), 0);
}

TEST_F(TimerTest, TheOwnerFreesItsTimers) {
    int ticks = 0;
    TForm* form = NewForm();
    auto* timer = Create<TTimer>(form);
    timer->SetInterval(100);
    timer->OnTimer = [&ticks](TObject*) { ++ticks; };
    form->Free();
    Advance(300);
    EXPECT_EQ(ticks, 0);
}

TEST_F(TimerTest, AFailingHandlerReachesOnExceptionAndTheTimerGoesOn) {
    int ticks = 0;
    TTimer* timer = NewTimer(100, &ticks);
    timer->OnTimer = [&ticks](TObject*) {
        ++ticks;
        throw std::runtime_error("tick failed");
    };
    Advance(100);
    Advance(100);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(Exceptions, std::vector<std::string>({"tick failed", "tick failed"}));
}

TEST_F(TimerTest, TheTickCanBeOverriddenAndRunsWithoutAHandler) {
    auto* timer = Create<TCountingTimer>(Application);
    timer->SetInterval(20);
    Advance(20);
    Advance(20);
    EXPECT_EQ(timer->Ticks, 2);
}

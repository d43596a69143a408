// Speed, remaining time, finish and points rates, with the worked figures of the row refresh.
#include "app/nodes/Estimates.h"
#include "app/settings/Settings.h"
#include "support/AppEnvironment.h"

#include "platform/base/DateTime.h"
#include "platform/os/Registry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace korvex::app {
namespace {

const base::TDateTime EstimateNow = base::EncodeDateTime(2024, 12, 6, 14, 0, 0, 0);
constexpr double Minute = 1.0 / 1440;

TNodeReading Reading(int progress, double minutesSinceStart) {
    TNodeReading r;
    r.Progress = progress;
    r.Start = EstimateNow - minutesSinceStart * Minute;
    return r;
}

TEST(PercentSpeed, TwelveMinutesPerPercentWithCredit120Gives10) {
    EXPECT_DOUBLE_EQ(PercentSpeed("00:12:00", 120), 10);
}

TEST(PercentSpeed, UnreadableTimeCountsTwentyMinutesAndZeroTimeFive) {
    EXPECT_DOUBLE_EQ(PercentSpeed("garbage", 200), 200 * 60000.0 / 1200000);
    EXPECT_DOUBLE_EQ(PercentSpeed("00:00:00", 200), 10);
    EXPECT_DOUBLE_EQ(PercentSpeed("00:12:00", 0), 0);
}

struct TBlendCase {
    double Old, V, Expected;
};

class BlendSpeedCases : public testing::TestWithParam<TBlendCase> { };

TEST_P(BlendSpeedCases, WeighsTheNewMeasurementByItsDistance) {
    EXPECT_DOUBLE_EQ(BlendSpeed(GetParam().Old, GetParam().V), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Figures, BlendSpeedCases,
    testing::Values(TBlendCase {40, 42, 40.5}, TBlendCase {40, 44, 40.25}, TBlendCase {40, 48, 40.125},
        TBlendCase {40, 40, 40}, TBlendCase {42, 40, 41.5}));

TEST(BlendSpeed, FarMeasurementKeepsTheThreeToFourRatioBetweenBothValues) {
    // Old 40 and new 60 must land between them: (3 * 40 + 4 * 60) / 7.
    double r = BlendSpeed(40, 60);
    EXPECT_DOUBLE_EQ(r, 360.0 / 7);
    EXPECT_GT(r, 40);
    EXPECT_LT(r, 60);
    EXPECT_DOUBLE_EQ(BlendSpeed(60, 40), 340.0 / 7);
}

// The minutes elapsed count to the moment of the refresh; the finish is counted from the cycle's start.
TEST(EstimateFinish, ElapsedCountsToNowAndTheFinishFromTheCycleStart) {
    TNodeReading r;
    r.Progress = 50;
    r.Start = base::EncodeDateTime(2024, 12, 6, 0, 0, 0, 0);
    const base::TDateTime cycleStart = base::EncodeDateTime(2024, 12, 6, 9, 59, 0, 0);
    const base::TDateTime now = base::EncodeDateTime(2024, 12, 6, 10, 0, 0, 0);
    const TFinishEstimate e = EstimateFinish(r, "GROMACS", now, cycleStart);
    EXPECT_DOUBLE_EQ(e.RemainMinutes, 600);   // 600 minutes elapsed, not 599
    EXPECT_NEAR(e.Finish, base::EncodeDateTime(2024, 12, 6, 19, 59, 0, 0), 1e-9);
}

TEST(SpeedValueName, NamesTheCoreFamilyAndTheNode) {
    EXPECT_EQ(SpeedValueName("AMBER", 2), "Amber2");
    EXPECT_EQ(SpeedValueName("TINKER", 0), "Tinker0");
    EXPECT_EQ(SpeedValueName("QMD", 1), "Qmd1");
    EXPECT_EQ(SpeedValueName("GROMACS", 3), "Gromacs3");
    EXPECT_EQ(SpeedValueName("GROMACS33", 3), "Gromacs3");
    EXPECT_EQ(SpeedValueName("DGROMACS", 12), "Dgromacs12");
    EXPECT_EQ(SpeedValueName("GBGROMACS", 4), "Gbgromacs4");
    EXPECT_EQ(SpeedValueName("", 4), "");
    EXPECT_EQ(SpeedValueName("SMP", 4), "");
}

double StoredSpeed(const std::string& name) {
    os::TRegistry reg;
    reg.SetRootKey(os::HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(reg.OpenKey(DataKey, false));
    return reg.ReadFloat(name);
}

TEST(StoreCoreSpeed, FirstMeasurementStoresItself) {
    test::TAppEnvironment env;
    EXPECT_DOUBLE_EQ(StoreCoreSpeed(2, "GROMACS", 10), 10);
    EXPECT_DOUBLE_EQ(StoredSpeed("Gromacs2"), 10);
}

TEST(StoreCoreSpeed, LaterMeasurementsAreBlendedIntoTheStoredValue) {
    test::TAppEnvironment env;
    StoreCoreSpeed(0, "AMBER", 40);
    EXPECT_DOUBLE_EQ(StoreCoreSpeed(0, "AMBER", 42), 40.5);
    EXPECT_DOUBLE_EQ(StoredSpeed("Amber0"), 40.5);
    // Another node's value is its own.
    EXPECT_DOUBLE_EQ(StoreCoreSpeed(1, "AMBER", 7), 7);
}

TEST(StoreCoreSpeed, StoredZeroCountsAsTheNewMeasurement) {
    test::TAppEnvironment env;
    StoreCoreSpeed(0, "QMD", 0);
    EXPECT_DOUBLE_EQ(StoreCoreSpeed(0, "QMD", 30), 30);
}

TEST(StoreCoreSpeed, UnknownCoreIsBlendedIntoTheKeysDefaultValue) {
    test::TAppEnvironment env;
    EXPECT_DOUBLE_EQ(StoreCoreSpeed(3, "", 0), 0);
    EXPECT_DOUBLE_EQ(StoredSpeed(""), 0);
}

TEST(StoreCoreSpeed, WrongTypedValueIsLeftAloneAndLogged) {
    test::TAppEnvironment env;
    {
        os::TRegistry reg;
        reg.SetRootKey(os::HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(reg.OpenKey(DataKey, true));
        reg.WriteString("Tinker0", "fast");
    }
    EXPECT_DOUBLE_EQ(StoreCoreSpeed(0, "TINKER", 12), 12);
    os::TRegistry reg;
    reg.SetRootKey(os::HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(DataKey, false));
    EXPECT_EQ(reg.ReadString("Tinker0"), "fast");
    EXPECT_NE(env.ReadFile("KORVEX.LOG").find("Tinker0"), std::string::npos);
}

TEST(EstimateFinish, NoProgressAfterHalfAnHourGivesTenThousandMinutes) {
    TFinishEstimate e = EstimateFinish(Reading(0, 30), "GROMACS", EstimateNow);
    EXPECT_DOUBLE_EQ(e.RemainMinutes, 10000);
    EXPECT_EQ(e.RemainText, "166.7");
    EXPECT_FALSE(e.Refined);
    // Ten thousand minutes are 6 days, 22 hours and 40 minutes.
    EXPECT_NEAR(e.Finish, base::EncodeDateTime(2024, 12, 13, 12, 40, 0, 0), 1e-9);
    EXPECT_DOUBLE_EQ(EstimateFinish(Reading(0, 5000), "GROMACS", EstimateNow).RemainMinutes, 10000);
}

TEST(EstimateFinish, HalfDoneAfterTenHoursLeavesTenHours) {
    TNodeReading r = Reading(50, 600);
    r.TimePerPercent = "00:12:00";
    TFinishEstimate e = EstimateFinish(r, "GROMACS", EstimateNow);
    EXPECT_DOUBLE_EQ(e.RemainMinutes, 600);
    EXPECT_EQ(e.RemainText, "10.0");
    EXPECT_FALSE(e.Refined);
    EXPECT_NEAR(e.Finish, EstimateNow + 600 * Minute, 1e-9);
}

TEST(EstimateFinish, NearTheEndTheLastStepRefinesTheEstimate) {
    // p = 90 and R = 300 minutes need 2700 minutes since the start.
    TNodeReading r = Reading(90, 2700);
    r.TimePerPercent = "00:03:00";
    r.LastStepTime = EstimateNow - 60.0 / 86400;
    TFinishEstimate e = EstimateFinish(r, "GROMACS", EstimateNow);
    EXPECT_TRUE(e.Refined);
    EXPECT_DOUBLE_EQ(e.RemainMinutes, 1740000.0 / 60000);
    EXPECT_EQ(e.RemainText, "0.5");
    EXPECT_NEAR(e.Finish, EstimateNow + 1740000.0 / base::MSecsPerDay, 1e-9);
}

TEST(EstimateFinish, LastStepBeforeMidnightCountsTheTimeAcrossIt) {
    const base::TDateTime afterMidnight = base::EncodeDateTime(2024, 12, 7, 0, 10, 0, 0);
    TNodeReading r;
    r.Progress = 90;
    r.Start = afterMidnight - 2700 * Minute;
    r.TimePerPercent = "00:03:00";
    r.LastStepTime = base::EncodeDateTime(2024, 12, 6, 23, 50, 0, 0);
    TFinishEstimate e = EstimateFinish(r, "GROMACS", afterMidnight);
    EXPECT_DOUBLE_EQ(e.RemainMinutes, (1800000.0 - 1200000) / 60000);
    EXPECT_EQ(e.RemainText, "0.2");
}

TEST(EstimateFinish, LastStepAheadOfOurClockCountsNoTimeSinceIt) {
    TNodeReading r = Reading(90, 2700);
    r.TimePerPercent = "00:03:00";
    r.LastStepTime = EstimateNow + 5 * Minute;
    EXPECT_DOUBLE_EQ(EstimateFinish(r, "GROMACS", EstimateNow).RemainMinutes, 30);
}

TEST(EstimateFinish, TinkerRefinesFromFramesAfterNinetyFivePercent) {
    TNodeReading r = Reading(96, 3000);
    r.FrameTime = "00:03:00";
    r.TotalFrames = 400;
    r.CurrentFrame = 390;
    r.LastStepTime = EstimateNow - 60.0 / 86400;
    TFinishEstimate e = EstimateFinish(r, "TINKER", EstimateNow);
    EXPECT_TRUE(e.Refined);
    EXPECT_DOUBLE_EQ(e.RemainMinutes, 1740000.0 / 60000);
    r.Progress = 95;
    EXPECT_FALSE(EstimateFinish(r, "TINKER", EstimateNow).Refined);
}

TEST(EstimateFinish, RefinementBelowZeroFallsBackToFiveMinutes) {
    TNodeReading r = Reading(99, 2700);
    r.TimePerPercent = "00:03:00";
    r.LastStepTime = EstimateNow - 10 * Minute;
    TFinishEstimate e = EstimateFinish(r, "GROMACS", EstimateNow);
    EXPECT_DOUBLE_EQ(e.RemainMinutes, 5);
}

TEST(EstimateFinish, StartAfterNowWithProgressGivesSixtyThousandMinutes) {
    TFinishEstimate e = EstimateFinish(Reading(50, -30), "GROMACS", EstimateNow);
    EXPECT_DOUBLE_EQ(e.RemainMinutes, 60000);
    EXPECT_EQ(e.RemainText, "1000.0");
}

TEST(EstimateFinish, CompleteUnitShowsEnd) {
    TFinishEstimate e = EstimateFinish(Reading(100, 600), "GROMACS", EstimateNow);
    EXPECT_EQ(e.RemainText, "END");
    EXPECT_NEAR(e.Finish, EstimateNow, 1e-9);
}

TEST(EstimateFinish, UnitWithoutStartGivesAFiniteFinish) {
    TNodeReading r;
    r.Progress = 1;
    TFinishEstimate e = EstimateFinish(r, "", EstimateNow);
    EXPECT_GT(e.RemainMinutes, 0);
    EXPECT_GE(e.Finish, 0);
}

TEST(EstimateFinish, NumbersAtTheEndsOfTheirRangeGiveFiniteFigures) {
    constexpr int Min = std::numeric_limits<int>::min();
    constexpr int Max = std::numeric_limits<int>::max();
    for (int progress : {Min, -1, 96, 101, Max})
        for (auto [total, current] : {std::pair {Min, Max}, std::pair {Max, Min}, std::pair {0, 0}})
            for (const char* core : {"TINKER", "GROMACS"}) {
                TNodeReading r = Reading(progress, 600);
                r.TotalFrames = total;
                r.CurrentFrame = current;
                r.FrameTime = "00:03:00";
                r.TimePerPercent = "00:03:00";
                r.LastStepTime = EstimateNow - Minute;
                TFinishEstimate e = EstimateFinish(r, core, EstimateNow);
                EXPECT_TRUE(std::isfinite(e.RemainMinutes)) << progress << " " << core;
                EXPECT_GE(e.Finish, 0);
                EXPECT_TRUE(std::isfinite(PointsRates(progress, 120, e.RemainText).PerDay)) << progress;
            }
}

TEST(PointsRates, CreditLeftOverTheRemainingHours) {
    TPointsRates rates = PointsRates(50, 200, "10.0");
    EXPECT_DOUBLE_EQ(rates.PerHour, 10);
    EXPECT_EQ(rates.HourText, "10.00");
    EXPECT_EQ(rates.DayText, "240.00");
}

TEST(PointsRates, EndCountsAsHundredHours) {
    TPointsRates rates = PointsRates(40, 200, "END");
    EXPECT_DOUBLE_EQ(rates.PerHour, 60 * 200 / 10000.0);
    EXPECT_EQ(rates.HourText, "1.20");
    EXPECT_EQ(rates.DayText, "28.80");
}

TEST(PointsRates, UnknownProjectAndZeroHoursGiveZero) {
    EXPECT_EQ(PointsRates(50, 0, "10.0").DayText, "0");
    EXPECT_EQ(PointsRates(50, 100, "0.0").HourText, "0");
}

}
}

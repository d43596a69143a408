// Tests of date and time encoding, the clock, time stamps and the date-time readers.
#include "platform/base/DateTime.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Strings.h"

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

using namespace korvex::base;

namespace {

// Restores the wall clock when a test that fakes it ends.
struct FakeNow {
    explicit FakeNow(TDateTime value) {
        SetNowProvider([value] { return value; });
    }
    ~FakeNow() { ResetNowProvider(); }
};

}

TEST(EncodeDate, CountsDaysFromTheEpoch) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1970, 1, 1), UnixDateDelta);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
    EXPECT_EQ(EncodeDate(2007, 12, 5), 39421);
    EXPECT_EQ(EncodeDate(1, 1, 1), 1 - DateDelta);
}

struct DateCase {
    int Year, Month, Day;
};

class InvalidDates : public testing::TestWithParam<DateCase> { };

TEST_P(InvalidDates, RaiseEConvertError) {
    auto [y, m, d] = GetParam();
    EXPECT_THROW(EncodeDate(y, m, d), EConvertError);
    TDateTime untouched = 42;
    EXPECT_FALSE(TryEncodeDate(y, m, d, untouched));
    EXPECT_EQ(untouched, 42);
}

INSTANTIATE_TEST_SUITE_P(EncodeDate, InvalidDates,
    testing::Values(DateCase {2007, 2, 29}, DateCase {1900, 2, 29}, DateCase {2007, 13, 1}, DateCase {2007, 0, 1},
        DateCase {2007, 4, 31}, DateCase {2007, 1, 0}, DateCase {0, 1, 1}, DateCase {10000, 1, 1}));

TEST(EncodeDate, AcceptsLeapDays) {
    EXPECT_NO_THROW(EncodeDate(2008, 2, 29));
    EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_EQ(DaysInMonth(2007, 2), 28);
    EXPECT_EQ(DaysInMonth(2008, 2), 29);
    EXPECT_EQ(DaysInMonth(2008, 13), 0);
}

TEST(EncodeTime, RejectsHour24AndOtherOutOfRangeParts) {
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
    EXPECT_THROW(EncodeTime(-1, 0, 0, 0), EConvertError);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_THROW(EncodeDateTime(2007, 2, 29, 1, 0, 0, 0), EConvertError);
}

TEST(DecodeDate, RoundTripsEveryFewDaysOfTheCalendar) {
    for (int stamp = 1; stamp <= 3652059; stamp += 997) {
        TDateTime dt = stamp - DateDelta;
        int y = 0, m = 0, d = 0;
        DecodeDate(dt, y, m, d);
        ASSERT_EQ(EncodeDate(y, m, d), dt) << y << "-" << m << "-" << d;
    }
    int y = 0, m = 0, d = 0;
    DecodeDate(EncodeDate(9999, 12, 31), y, m, d);
    EXPECT_EQ((std::vector {y, m, d}), (std::vector {9999, 12, 31}));
    DecodeDate(EncodeDate(2000, 12, 31), y, m, d);
    EXPECT_EQ((std::vector {y, m, d}), (std::vector {2000, 12, 31}));
}

TEST(DecodeDateTime, RoundsToTheMillisecondAcrossMidnight) {
    int y, mo, d, h, mi, s, ms;
    DecodeDateTime(EncodeDate(2007, 12, 31) + 86399999.6 / MSecsPerDay, y, mo, d, h, mi, s, ms);
    EXPECT_EQ((std::vector {y, mo, d, h, mi, s, ms}), (std::vector {2008, 1, 1, 0, 0, 0, 0}));
    DecodeDateTime(EncodeDateTime(2007, 12, 5, 20, 10, 15, 7), y, mo, d, h, mi, s, ms);
    EXPECT_EQ((std::vector {y, mo, d, h, mi, s, ms}), (std::vector {2007, 12, 5, 20, 10, 15, 7}));
}

TEST(DecodeDateTime, ReadsDaysBeforeTheEpochWithAPositiveTimeOfDay) {
    int y, mo, d, h, mi, s, ms;
    DecodeDateTime(-1.25, y, mo, d, h, mi, s, ms);
    EXPECT_EQ((std::vector {y, mo, d, h, mi}), (std::vector {1899, 12, 29, 6, 0}));
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
}

TEST(DecodeDate, TreatsValuesOutsideTheCalendarAsTheEpoch) {
    int y = 0, m = 0, d = 0;
    DecodeDate(1e12, y, m, d);
    EXPECT_EQ((std::vector {y, m, d}), (std::vector {1899, 12, 30}));
    DecodeDate(std::nan(""), y, m, d);
    EXPECT_EQ((std::vector {y, m, d}), (std::vector {1899, 12, 30}));
}

TEST(DayOfWeek, CountsFromSunday) {
    EXPECT_EQ(DayOfWeek(EncodeDate(2007, 12, 5)), 4);   // a Wednesday
    EXPECT_EQ(DayOfWeek(EncodeDate(2007, 12, 9)), 1);
    EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2);
}

TEST(Now, UsesTheInjectedProviderUntilReset) {
    TDateTime fake = EncodeDateTime(2007, 12, 5, 20, 10, 15, 0);
    {
        FakeNow now(fake);
        EXPECT_EQ(Now(), fake);
        EXPECT_EQ(Date(), EncodeDate(2007, 12, 5));
        EXPECT_DOUBLE_EQ(Time(), EncodeTime(20, 10, 15, 0));
    }
    EXPECT_NE(Now(), fake);
    EXPECT_GT(Now(), EncodeDate(2020, 1, 1));   // the wall clock, in local time
    SetNowProvider(nullptr);
    EXPECT_NE(Now(), fake);
}

TEST(Now, MayBeCalledFromManyThreadsWhileTheProviderChanges) {
    std::atomic<bool> stop = false;
    std::vector<std::thread> readers;
    for (int i = 0; i < 3; ++i)
        readers.emplace_back([&] {
            while (!stop)
                EXPECT_GE(Now(), 1.0);
        });
    for (int i = 0; i < 200; ++i)
        SetNowProvider([i] { return 1.0 + i; });
    stop = true;
    for (auto& reader : readers)
        reader.join();
    ResetNowProvider();
}

TEST(DateTimeToTimeStamp, CountsDaysFromYearOneAndMillisecondsOfTheDay) {
    TTimeStamp epoch = DateTimeToTimeStamp(0);
    EXPECT_EQ(epoch.Date, DateDelta);
    EXPECT_EQ(epoch.Time, 0);
    EXPECT_EQ(DateTimeToTimeStamp(EncodeDate(1, 1, 1)).Date, 1);
    TTimeStamp ts = DateTimeToTimeStamp(EncodeDateTime(2007, 12, 5, 20, 10, 15, 0));
    EXPECT_EQ(ts.Date, 39421 + DateDelta);
    EXPECT_EQ(ts.Time, 72615000);
    EXPECT_EQ(DateTimeToTimeStamp(-1.25).Time, 6 * 3600000);
    EXPECT_EQ(DateTimeToTimeStamp(-1.25).Date, DateDelta - 1);
}

TEST(DateTimeToTimeStamp, GivesMinutesElapsedAcrossMidnight) {
    TTimeStamp start = DateTimeToTimeStamp(EncodeDateTime(2007, 12, 5, 23, 50, 0, 0));
    TTimeStamp now = DateTimeToTimeStamp(EncodeDateTime(2007, 12, 6, 0, 10, 0, 0));
    int days = now.Date - start.Date;
    int minutes = (now.Time - start.Time) / 60000;   // negative here, as the day count makes up for it
    EXPECT_EQ(days, 1);
    EXPECT_EQ(minutes, -1420);
    EXPECT_EQ(minutes + days * 1440, 20);
}

TEST(TimeStampToDateTime, AddsMillisecondsBeyondOneDay) {
    TTimeStamp ts {86400000 + 3600000, 39421 + DateDelta};
    EXPECT_DOUBLE_EQ(TimeStampToDateTime(ts), EncodeDateTime(2007, 12, 6, 1, 0, 0, 0));
    TTimeStamp back = DateTimeToTimeStamp(TimeStampToDateTime(DateTimeToTimeStamp(39421.75)));
    EXPECT_EQ(back.Time, 18 * 3600000);
}

TEST(TimeStampToDateTime, RaisesEConvertErrorForANegativeTimeOrNoDay) {
    EXPECT_THROW(TimeStampToDateTime(TTimeStamp {-1, 700000}), EConvertError);
    EXPECT_THROW(TimeStampToDateTime(TTimeStamp {0, 0}), EConvertError);
    TDateTime untouched = 7;
    EXPECT_FALSE(TryTimeStampToDateTime(TTimeStamp {0, -3}, untouched));
    EXPECT_EQ(untouched, 7);
}

TEST(TimeStampToMSecs, IsInvertedByMSecsToTimeStamp) {
    TTimeStamp ts {72615000, 39421 + DateDelta};
    std::int64_t ms = TimeStampToMSecs(ts);
    EXPECT_EQ(ms, std::int64_t(39421 + DateDelta) * 86400000 + 72615000);
    TTimeStamp back = MSecsToTimeStamp(ms);
    EXPECT_EQ(back.Date, ts.Date);
    EXPECT_EQ(back.Time, ts.Time);
}

TEST(DateTimeToUnix, CountsSecondsFrom1970) {
    EXPECT_EQ(DateTimeToUnix(EncodeDate(1970, 1, 1)), 0);
    EXPECT_EQ(DateTimeToUnix(EncodeDateTime(2001, 9, 9, 1, 46, 40, 0)), 1000000000);
    EXPECT_EQ(DateTimeToUnix(EncodeDateTime(1969, 12, 31, 23, 59, 59, 0)), -1);
    for (std::int64_t s : {0LL, 1LL, 1000000000LL, 1196885415LL, -86401LL})
        EXPECT_EQ(DateTimeToUnix(UnixToDateTime(s)), s);
}

struct TimeCase {
    const char* Text;
    bool Valid;
    int Hour = 0, Min = 0, Sec = 0, MSec = 0;
};

class StrToTimeForms : public testing::TestWithParam<TimeCase> { };

TEST_P(StrToTimeForms, ReadsHoursMinutesAndOptionalSeconds) {
    const TimeCase& c = GetParam();
    TDateTime value = -1;
    EXPECT_EQ(TryStrToTime(c.Text, value), c.Valid) << c.Text;
    if (c.Valid)
        EXPECT_DOUBLE_EQ(value, EncodeTime(c.Hour, c.Min, c.Sec, c.MSec)) << c.Text;
    else
        EXPECT_EQ(value, -1) << c.Text;
}

INSTANTIATE_TEST_SUITE_P(StrToTime, StrToTimeForms,
    testing::Values(TimeCase {"20:10:15", true, 20, 10, 15, 0}, TimeCase {" 7:05 ", true, 7, 5, 0, 0},
        TimeCase {"00:12:30", true, 0, 12, 30, 0}, TimeCase {"23:59:59.5", true, 23, 59, 59, 500},
        TimeCase {"1:2:3.045", true, 1, 2, 3, 45}, TimeCase {"24:00:00", false}, TimeCase {"20:60:00", false},
        TimeCase {"20:10:61", false}, TimeCase {"", false}, TimeCase {"20", false}, TimeCase {"20:10:15x", false},
        TimeCase {"123:00", false}, TimeCase {"20.10.15", false}, TimeCase {"-1:00", false}, TimeCase {"20:10:", false},
        TimeCase {"ab:cd:ef", false}));

TEST(StrToTime, ReadsTheStampOfALogLine) {
    EXPECT_DOUBLE_EQ(StrToTime(Copy("[20:10:15] Completed 5%", 2, 8)), EncodeTime(20, 10, 15, 0));
    EXPECT_THROW(StrToTime(Copy("[garbage] x", 2, 8)), EConvertError);
}

TEST(StrToDate, ReadsDayMonthYear) {
    EXPECT_EQ(StrToDate("05.12.2007"), EncodeDate(2007, 12, 5));
    EXPECT_EQ(StrToDate(" 5.1.2007"), EncodeDate(2007, 1, 5));
    for (const char* bad : {"29.02.2007", "32.01.2007", "01.13.2007", "2007-12-05", "05.12", "05.12.2007.", ""})
        EXPECT_THROW(StrToDate(bad), EConvertError) << bad;
}

TEST(StrToDate, PlacesTwoDigitYearsInTheCenturyWindowAroundToday) {
    FakeNow now(EncodeDate(2026, 6, 1));
    EXPECT_EQ(StrToDate("05.12.07"), EncodeDate(2007, 12, 5));
    EXPECT_EQ(StrToDate("05.12.80"), EncodeDate(1980, 12, 5));
    EXPECT_EQ(StrToDate("05.12.75"), EncodeDate(2075, 12, 5));
}

TEST(StrToDateTime, ReadsDateWithOptionalTime) {
    EXPECT_DOUBLE_EQ(StrToDateTime("05.12.2007 20:10:15"), EncodeDateTime(2007, 12, 5, 20, 10, 15, 0));
    EXPECT_DOUBLE_EQ(StrToDateTime("05.12.2007   20:10"), EncodeDateTime(2007, 12, 5, 20, 10, 0, 0));
    EXPECT_EQ(StrToDateTime("05.12.2007"), EncodeDate(2007, 12, 5));
    EXPECT_DOUBLE_EQ(StrToDateTime("20:10:15"), EncodeTime(20, 10, 15, 0));
    for (const char* bad : {"05.12.2007 25:00:00", "05.12.2007 x", "x 20:10:15", ""})
        EXPECT_THROW(StrToDateTime(bad), EConvertError) << bad;
}

TEST(DateTimeToStr, WritesShortDateAndLongTimeAndLeavesOutMidnight) {
    EXPECT_EQ(DateTimeToStr(EncodeDateTime(2007, 12, 5, 20, 10, 15, 0)), "05.12.2007 20:10:15");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2007, 12, 5)), "05.12.2007");
    EXPECT_EQ(DateTimeToStr(EncodeDateTime(2007, 12, 5, 0, 0, 0, 400)), "05.12.2007");
    EXPECT_EQ(DateToStr(EncodeDateTime(2007, 1, 2, 3, 4, 5, 0)), "02.01.2007");
    EXPECT_EQ(TimeToStr(EncodeTime(3, 4, 5, 0)), "03:04:05");
}

TEST(DateTimeToStr, ReadsBackThroughStrToDateTime) {
    for (TDateTime dt = EncodeDate(1999, 12, 31); dt < EncodeDate(2009, 1, 1); dt += 37.123456) {
        TDateTime whole = TimeStampToDateTime(
            TTimeStamp {DateTimeToTimeStamp(dt).Time / 1000 * 1000, DateTimeToTimeStamp(dt).Date});
        EXPECT_EQ(DateTimeToStr(StrToDateTime(DateTimeToStr(whole))), DateTimeToStr(whole));
        EXPECT_NEAR(StrToDateTime(DateTimeToStr(whole)), whole, 1e-9);
    }
}

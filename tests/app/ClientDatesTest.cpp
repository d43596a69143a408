// Client date texts, stamps and durations.
#include "app/nodes/ClientDates.h"

#include "platform/base/DateTime.h"

#include <gtest/gtest.h>

namespace korvex::app {
namespace {

struct TDateCase {
    const char* Text;
    bool Readable;
    int Month, Day, Hour, Min, Sec;
};

class ParseClientDateCases : public testing::TestWithParam<TDateCase> { };

TEST_P(ParseClientDateCases, ReadsMonthNameDayAndTime) {
    const TDateCase& c = GetParam();
    std::optional<TClientDate> date = ParseClientDate(c.Text);
    ASSERT_EQ(date.has_value(), c.Readable) << c.Text;
    if (!date) return;
    EXPECT_EQ(date->Month, c.Month);
    EXPECT_EQ(date->Day, c.Day);
    EXPECT_EQ(date->Hour, c.Hour);
    EXPECT_EQ(date->Min, c.Min);
    EXPECT_EQ(date->Sec, c.Sec);
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseClientDateCases,
    testing::Values(TDateCase {"December 5 20:10:15", true, 12, 5, 20, 10, 15},
        TDateCase {"January 31 00:00:01", true, 1, 31, 0, 0, 1}, TDateCase {"May 1 7:5:3 ", true, 5, 1, 7, 5, 3},
        TDateCase {"March  9  10:11:12", true, 3, 9, 10, 11, 12}, TDateCase {"June x 10:11:12", true, 6, 1, 10, 11, 12},
        TDateCase {"July 4 aa:bb:cc", true, 7, 4, 0, 0, 0}, TDateCase {"August 4", true, 8, 4, 0, 0, 0},
        TDateCase {"september 5 20:10:15", false, 0, 0, 0, 0, 0}, TDateCase {"Dec 5 20:10:15", false, 0, 0, 0, 0, 0},
        TDateCase {"Thirteenth 5 20:10:15", false, 0, 0, 0, 0, 0}, TDateCase {"", false, 0, 0, 0, 0, 0},
        TDateCase {"   ", false, 0, 0, 0, 0, 0}));

TEST(PlaceClientDate, LatestNotAfterAndFirstNotBeforeChooseTheYear) {
    TClientDate date {12, 30, 22, 0, 0};
    const base::TDateTime january = base::EncodeDateTime(2025, 1, 3, 0, 0, 0, 0);
    EXPECT_DOUBLE_EQ(*LatestNotAfter(date, january), base::EncodeDateTime(2024, 12, 30, 22, 0, 0, 0));
    EXPECT_DOUBLE_EQ(*FirstNotBefore(date, january), base::EncodeDateTime(2025, 12, 30, 22, 0, 0, 0));
    EXPECT_DOUBLE_EQ(*Nearest(date, january), base::EncodeDateTime(2024, 12, 30, 22, 0, 0, 0));
    TClientDate never {2, 30, 0, 0, 0};
    EXPECT_FALSE(LatestNotAfter(never, january));
    EXPECT_FALSE(FirstNotBefore(never, january));
    EXPECT_FALSE(Nearest(never, january));
}

TEST(StampMSecs, ReadsTheTimeInsideTheBrackets) {
    EXPECT_EQ(StampMSecs("[20:10:15] x"), (20 * 3600 + 10 * 60 + 15) * 1000);
    EXPECT_EQ(StampMSecs("[00:00:00]"), 0);
    EXPECT_FALSE(StampMSecs("[24:00:00] x"));
    EXPECT_FALSE(StampMSecs("no stamp here"));
    EXPECT_FALSE(StampMSecs(""));
    EXPECT_FALSE(StampMSecs("["));
}

TEST(StampDifference, AddsADayAcrossMidnight) {
    EXPECT_EQ(StampDifference(1000, 4000), 3000);
    EXPECT_EQ(StampDifference(86399000, 1000), 2000);
    EXPECT_EQ(StampDifference(5000, 5000), 0);
}

TEST(DurationText, FormatsHoursMinutesAndSeconds) {
    EXPECT_EQ(DurationText(750000), "00:12:30");
    EXPECT_EQ(DurationText(0), "00:00:00");
    EXPECT_EQ(DurationText(23 * 3600000 + 59 * 60000 + 59999), "23:59:59");
    EXPECT_EQ(DurationText(25 * 3600000), "01:00:00");
}

}
}

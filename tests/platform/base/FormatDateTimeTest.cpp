// Tests of FormatDateTime specifiers with the fixed English settings.
#include "platform/base/DateTime.h"
#include "platform/base/FormatSettings.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace korvex::base;

namespace {

const TDateTime Evening = EncodeDateTime(2007, 12, 5, 20, 10, 15, 7);   // a Wednesday

}

struct PatternCase {
    const char* Format;
    const char* Expected;
};

class FormatDateTimePatterns : public testing::TestWithParam<PatternCase> { };

TEST_P(FormatDateTimePatterns, FormatsTheEvening) {
    EXPECT_EQ(FormatDateTime(GetParam().Format, Evening), GetParam().Expected) << GetParam().Format;
}

INSTANTIATE_TEST_SUITE_P(FormatDateTime, FormatDateTimePatterns,
    testing::Values(PatternCase {"dd mmm hh:nn:ss", "05 Dec 20:10:15"}, PatternCase {"d/m/yy", "5.12.07"},
        PatternCase {"dddd, d mmmm yyyy", "Wednesday, 5 December 2007"}, PatternCase {"ddd", "Wed"},
        PatternCase {"hh:mm", "20:10"}, PatternCase {"hh:mm dd.mm", "20:10 05.12"},
        PatternCase {"h:n:s.z", "20:10:15.7"}, PatternCase {"hh:nn:ss.zzz", "20:10:15.007"},
        PatternCase {"\"Date:\" dd", "Date: 05"}, PatternCase {"'mm' mm", "mm 12"}, PatternCase {"h am/pm", "8 pm"},
        PatternCase {"hh AM/PM", "08 PM"}, PatternCase {"h a/p", "8 p"}, PatternCase {"h ampm", "8 PM"},
        PatternCase {"c", "05.12.2007 20:10:15"}, PatternCase {"ddddd", "05.12.2007"},
        PatternCase {"dddddd", "5 December 2007"}, PatternCase {"t", "20:10"}, PatternCase {"tt", "20:10:15"},
        PatternCase {"", "05.12.2007 20:10:15"}, PatternCase {"x q-", "x q-"},
        PatternCase {"DD MMM YYYY", "05 Dec 2007"}, PatternCase {"yyy", "2007"}, PatternCase {"dd 'open", "05 open"}));

TEST(FormatDateTime, ShowsTwelveForMidnightOnTheTwelveHourClock) {
    EXPECT_EQ(FormatDateTime("hh:nn AM/PM", EncodeTime(0, 30, 0, 0)), "12:30 AM");
    EXPECT_EQ(FormatDateTime("h:nn am/pm", EncodeTime(12, 5, 0, 0)), "12:05 pm");
    EXPECT_EQ(FormatDateTime("hh:nn", EncodeTime(0, 30, 0, 0)), "00:30");
}

TEST(FormatDateTime, WritesEveryMonthNameOfTheFixedSettings) {
    for (int month = 1; month <= 12; ++month) {
        TDateTime dt = EncodeDate(2007, month, 1);
        EXPECT_EQ(FormatDateTime("mmm", dt), FormatSettings().ShortMonthNames[static_cast<std::size_t>(month - 1)]);
        EXPECT_EQ(FormatDateTime("mmmm", dt), FormatSettings().LongMonthNames[static_cast<std::size_t>(month - 1)]);
    }
}

TEST(FormatDateTime, FormatsTheEpochAndUnreadableValuesAsTheEpoch) {
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:nn:ss", 0), "30.12.1899 00:00:00");
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:nn:ss.zzz", std::nan("")), "30.12.1899 00:00:00.000");
    EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:nn:ss.zzz", 1e12), "30.12.1899 00:00:00.000");
    EXPECT_EQ(FormatDateTime("dd mmm hh:nn:ss", -1.25), "29 Dec 06:00:00");
}

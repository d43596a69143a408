// Tests of FormatFloat with the section patterns the program uses.
#include "platform/base/Numbers.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace korvex::base;

struct FormatCase {
    const char* Format;
    double Value;
    const char* Expected;
};

class FormatFloatPatterns : public testing::TestWithParam<FormatCase> { };

TEST_P(FormatFloatPatterns, FormatsLikeTheRunTime) {
    EXPECT_EQ(FormatFloat(GetParam().Format, GetParam().Value), GetParam().Expected)
        << GetParam().Format << " with " << GetParam().Value;
}

INSTANTIATE_TEST_SUITE_P(RemainHours, FormatFloatPatterns,
    testing::Values(FormatCase {"##0.0;;END", 166.66666, "166.7"}, FormatCase {"##0.0;;END", 10, "10.0"},
        FormatCase {"##0.0;;END", 0.5, "0.5"}, FormatCase {"##0.0;;END", 0, "END"},
        FormatCase {"##0.0;;END", 0.04, "END"}, FormatCase {"##0.0;;END", -0.04, "END"},
        FormatCase {"##0.0;;END", 0.05, "0.1"}, FormatCase {"##0.0;;END", -2.5, "-2.5"},
        FormatCase {"##0.0;;END", 12345.67, "12345.7"}));

INSTANTIATE_TEST_SUITE_P(PointsRates, FormatFloatPatterns,
    testing::Values(FormatCase {"##0.00;;0", 12.5, "12.50"}, FormatCase {"##0.00;;0", 0, "0"},
        FormatCase {"##0.00;;0", 0.004, "0"}, FormatCase {"##0.00;;0", -1.234, "-1.23"},
        FormatCase {"##0.00;;0", 22.5, "22.50"}, FormatCase {"##0.00;;0", 0.125, "0.13"}));

INSTANTIATE_TEST_SUITE_P(Totals, FormatFloatPatterns,
    testing::Values(FormatCase {"0.00;;?", 300.5, "300.50"}, FormatCase {"0.00;;?", 0, "?"},
        FormatCase {"0.00;;?", -3, "-3.00"}, FormatCase {"0.00;;?", 1.005, "1.01"},
        FormatCase {"0.00;;?", 2.675, "2.68"}, FormatCase {"0.00;;?", 0.999, "1.00"}));

INSTANTIATE_TEST_SUITE_P(PlainPatterns, FormatFloatPatterns,
    testing::Values(FormatCase {"0.00", 0, "0.00"}, FormatCase {"0.00", -0.001, "0.00"},
        FormatCase {"0.00", 1e6, "1000000.00"}, FormatCase {"0", 2.5, "3"}, FormatCase {"0", -2.5, "-3"},
        FormatCase {"0", 0.4, "0"}, FormatCase {"0", 1e20, "100000000000000000000"},
        FormatCase {"#,##0", 1234567, "1,234,567"}, FormatCase {"#,##0", 999, "999"}, FormatCase {"#,##0", 0, "0"},
        FormatCase {"#,##0", -1234, "-1,234"}, FormatCase {"#,##0.00", 1234.5, "1,234.50"},
        FormatCase {"0.##", 1.5, "1.5"}, FormatCase {"0.##", 2, "2"}, FormatCase {"0.##", 1.239, "1.24"},
        FormatCase {"#.##", 0.5, ".5"}, FormatCase {"000", 7, "007"}));

INSTANTIATE_TEST_SUITE_P(SectionsAndLiterals, FormatFloatPatterns,
    testing::Values(FormatCase {"0.00;(0.00)", -5, "(5.00)"}, FormatCase {"0.00;(0.00)", 5, "5.00"},
        FormatCase {"0.0 h", 5, "5.0 h"}, FormatCase {"\"x;\"0", 5, "x;5"}, FormatCase {"'#'0", 5, "#5"},
        FormatCase {"0;-0;zero", 0.2, "zero"}, FormatCase {"0;;", 0, "0"}, FormatCase {"END", 12, "END"},
        FormatCase {"", 2.5, "2.5"}));

TEST(FormatFloat, WritesNonFiniteValuesAsWords) {
    EXPECT_EQ(FormatFloat("0.00", NAN), "NAN");
    EXPECT_EQ(FormatFloat("0.00", -INFINITY), "-INF");
}

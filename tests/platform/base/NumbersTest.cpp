// Tests of integer and float text conversion and of rounding.
#include "platform/base/Numbers.h"
#include "platform/base/Exceptions.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

using namespace korvex::base;

TEST(IntToStr, WritesEveryIntegerWidth) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(IntToStr(std::size_t {7}), "7");
}

struct IntCase {
    const char* Text;
    bool Valid;
    int Value;
};

class StrToIntForms : public testing::TestWithParam<IntCase> { };

TEST_P(StrToIntForms, AcceptsTheRunTimeFormsOnly) {
    int value = -12345;
    EXPECT_EQ(TryStrToInt(GetParam().Text, value), GetParam().Valid) << GetParam().Text;
    EXPECT_EQ(value, GetParam().Valid ? GetParam().Value : -12345) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(StrToInt, StrToIntForms,
    testing::Values(IntCase {"42", true, 42}, IntCase {"  42", true, 42}, IntCase {"\t-7", true, -7},
        IntCase {"+5", true, 5}, IntCase {"010", true, 10}, IntCase {"$FF", true, 255}, IntCase {"0x1F", true, 31},
        IntCase {"0X1f", true, 31}, IntCase {"-$10", true, -16}, IntCase {"$FFFFFFFF", true, -1},
        IntCase {"$80000000", true, std::numeric_limits<int>::min()}, IntCase {"2147483647", true, 2147483647},
        IntCase {"-2147483648", true, std::numeric_limits<int>::min()}, IntCase {"", false, 0},
        IntCase {"   ", false, 0}, IntCase {"42 ", false, 0}, IntCase {"4 2", false, 0}, IntCase {"12a", false, 0},
        IntCase {"1.0", false, 0}, IntCase {"- 5", false, 0}, IntCase {"2147483648", false, 0},
        IntCase {"-2147483649", false, 0}, IntCase {"99999999999999999999", false, 0}, IntCase {"$100000000", false, 0},
        IntCase {"$", false, 0}, IntCase {"0x", false, 0}, IntCase {"$-1", false, 0}, IntCase {"$G", false, 0},
        IntCase {"-", false, 0}));

TEST(StrToInt, RaisesEConvertErrorOnTrailingGarbage) {
    try {
        StrToInt("12a");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12a' is not a valid integer value");
    }
}

TEST(StrToInt, RaisesEConvertErrorOnOverflow) {
    EXPECT_THROW(StrToInt("4294967296"), EConvertError);
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

TEST(StrToIntDef, FallsBackOnlyWhenTheTextIsNotAnInteger) {
    EXPECT_EQ(StrToIntDef("399", 0), 399);
    EXPECT_EQ(StrToIntDef("39,9", 7), 7);
    EXPECT_EQ(StrToIntDef("0x", 7), 7);
}

TEST(StrToInt64, CoversTheFullRangeAndHexBitPatterns) {
    EXPECT_EQ(StrToInt64("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(StrToInt64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("$FFFFFFFF"), 4294967295);
    EXPECT_EQ(StrToInt64Def("$1FFFFFFFFFFFFFFFF", 3), 3);
}

struct FloatCase {
    const char* Text;
    bool Valid;
    double Value;
};

class StrToFloatForms : public testing::TestWithParam<FloatCase> { };

TEST_P(StrToFloatForms, ReadsThePointFormOnly) {
    double value = -999;
    EXPECT_EQ(TryStrToFloat(GetParam().Text, value), GetParam().Valid) << GetParam().Text;
    EXPECT_DOUBLE_EQ(value, GetParam().Valid ? GetParam().Value : -999) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(StrToFloat, StrToFloatForms,
    testing::Values(FloatCase {"1.5", true, 1.5}, FloatCase {" 2.5 ", true, 2.5}, FloatCase {"-0.25", true, -0.25},
        FloatCase {"1e3", true, 1000}, FloatCase {"1E-2", true, 0.01}, FloatCase {"+3", true, 3},
        FloatCase {".5", true, 0.5}, FloatCase {"5.", true, 5}, FloatCase {"300.50", true, 300.5},
        FloatCase {"1e-400", true, 0}, FloatCase {"0.0000e999", true, 0}, FloatCase {"1e400", false, 0},
        FloatCase {"1,5", false, 0}, FloatCase {"abc", false, 0}, FloatCase {"", false, 0}, FloatCase {"END", false, 0},
        FloatCase {"1.5x", false, 0}, FloatCase {"1e", false, 0}, FloatCase {"1.2.3", false, 0},
        FloatCase {".", false, 0}, FloatCase {"inf", false, 0}, FloatCase {"nan", false, 0},
        FloatCase {"0x10", false, 0}, FloatCase {"- 1", false, 0}));

TEST(StrToFloat, RaisesEConvertErrorWithTheText) {
    try {
        StrToFloat("END");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'END' is not a valid floating point value");
    }
    EXPECT_DOUBLE_EQ(StrToFloatDef("END", 100), 100);
}

TEST(FloatToStr, WritesTheShortestGeneralForm) {
    EXPECT_EQ(FloatToStr(0), "0");
    EXPECT_EQ(FloatToStr(-0.0), "0");
    EXPECT_EQ(FloatToStr(0.5), "0.5");
    EXPECT_EQ(FloatToStr(100), "100");
    EXPECT_EQ(FloatToStr(123.456), "123.456");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
    EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
    EXPECT_EQ(FloatToStr(1e15), "1E15");
    EXPECT_EQ(FloatToStr(1e20), "1E20");
    EXPECT_EQ(FloatToStr(1234567890123456.0), "1.23456789012346E15");
    EXPECT_EQ(FloatToStr(0.0001), "0.0001");
    EXPECT_EQ(FloatToStr(0.00001), "1E-5");
    EXPECT_EQ(FloatToStr(-1.5e-7), "-1.5E-7");
    EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
    EXPECT_EQ(FloatToStr(-INFINITY), "-INF");
}

TEST(FloatToStrF, WritesFixedNumberAndGeneralForms) {
    EXPECT_EQ(FloatToStrF(2.5, TFloatFormat::Fixed, 18, 2), "2.50");
    EXPECT_EQ(FloatToStrF(2.0, TFloatFormat::Fixed, 18, 0), "2");
    EXPECT_EQ(FloatToStrF(-0.001, TFloatFormat::Fixed, 15, 2), "0.00");
    EXPECT_EQ(FloatToStrF(-1.25, TFloatFormat::Fixed, 15, 1), "-1.3");
    EXPECT_EQ(FloatToStrF(1234.5, TFloatFormat::Number, 15, 1), "1,234.5");
    EXPECT_EQ(FloatToStrF(1e20, TFloatFormat::Fixed, 15, 2), "1E20");
    EXPECT_EQ(FloatToStrF(3.14159, TFloatFormat::General, 3, 0), "3.14");
    EXPECT_EQ(FloatToStrF(1234.0, TFloatFormat::General, 2, 0), "1.2E3");
}

struct RoundCase {
    double Value;
    std::int64_t Expected;
};

class RoundHalves : public testing::TestWithParam<RoundCase> { };

TEST_P(RoundHalves, RoundsHalvesToEven) {
    EXPECT_EQ(Round(GetParam().Value), GetParam().Expected) << GetParam().Value;
}

INSTANTIATE_TEST_SUITE_P(Round, RoundHalves,
    testing::Values(RoundCase {0.5, 0}, RoundCase {1.5, 2}, RoundCase {2.5, 2}, RoundCase {-0.5, 0},
        RoundCase {-1.5, -2}, RoundCase {-2.5, -2}, RoundCase {0.49999999999999994, 0}, RoundCase {2.6, 3},
        RoundCase {-2.6, -3}, RoundCase {4503599627370497.0, 4503599627370497},
        RoundCase {1e300, std::numeric_limits<std::int64_t>::max()},
        RoundCase {-1e300, std::numeric_limits<std::int64_t>::min()}, RoundCase {NAN, 0}));

TEST(Trunc, CutsTowardZeroAndSaturatesInsteadOfOverflowing) {
    EXPECT_EQ(Trunc(2.9), 2);
    EXPECT_EQ(Trunc(-2.9), -2);
    EXPECT_EQ(Trunc(1e19), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Trunc(-1e19), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Trunc(INFINITY), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Trunc(NAN), 0);
    EXPECT_EQ(Trunc(-9223372036854775808.0), std::numeric_limits<std::int64_t>::min());
}

TEST(Frac, KeepsTheSignOfTheValue) {
    EXPECT_DOUBLE_EQ(Frac(2.75), 0.75);
    EXPECT_DOUBLE_EQ(Frac(-2.75), -0.75);
    EXPECT_DOUBLE_EQ(Int(-2.75), -2);
    EXPECT_DOUBLE_EQ(Int(2.75), 2);
}

TEST(MulDiv, RoundsHalfAwayFromZeroFromTheExactProduct) {
    struct Case {
        int Number, Numerator, Denominator, Expected;
    };
    for (const Case& c : std::initializer_list<Case> {{16, 7, 4, 28}, {10, 7, 4, 18}, {14, 15, 8, 26},
             {-10, 7, 4, -18}, {10, -7, 4, -18}, {10, 7, -4, -18}, {1 << 30, 1 << 20, 1 << 25, 1 << 25}, {0, 5, 3, 0}}) {
        SCOPED_TRACE(testing::Message() << c.Number << " * " << c.Numerator << " / " << c.Denominator);
        EXPECT_EQ(MulDiv(c.Number, c.Numerator, c.Denominator), c.Expected);
    }
}

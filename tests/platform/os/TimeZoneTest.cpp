// Tests of the UTC offset in force at an instant and the UTC <-> local conversions.
#include "platform/os/TimeZone.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace korvex::os;
using korvex::os::filetest::EnvOverride;

namespace {

constexpr std::int64_t Jan15_2024 = 1705320000;   // 2024-01-15 12:00:00 UTC
constexpr std::int64_t Jul15_2024 = 1721044800;   // 2024-07-15 12:00:00 UTC

double Days(std::int64_t unixSeconds) {
    return 25569.0 + unixSeconds / 86400.0;
}

bool HaveZone(const char* name) {
    return std::filesystem::exists(std::string("/usr/share/zoneinfo/") + name);
}

}

struct ZoneCase {
    const char* Zone;
    int Winter;
    int Summer;
};

class UtcOffsetTable : public testing::TestWithParam<ZoneCase> { };

TEST_P(UtcOffsetTable, GivesTheOffsetInForceAtTheInstant) {
    if (!HaveZone(GetParam().Zone)) GTEST_SKIP() << "no zone data for " << GetParam().Zone;
    EnvOverride tz("TZ", GetParam().Zone);
    EXPECT_EQ(UtcOffsetMinutesAt(Jan15_2024), GetParam().Winter);
    EXPECT_EQ(UtcOffsetMinutesAt(Jul15_2024), GetParam().Summer);
    EXPECT_EQ(UtcOffsetMinutesAtUtc(Days(Jan15_2024)), GetParam().Winter);
    EXPECT_EQ(UtcOffsetMinutesAtUtc(Days(Jul15_2024)), GetParam().Summer);
}

INSTANTIATE_TEST_SUITE_P(TimeZone, UtcOffsetTable,
    testing::Values(ZoneCase {"Europe/Berlin", 60, 120}, ZoneCase {"Asia/Kolkata", 330, 330},
        ZoneCase {"America/St_Johns", -210, -150}, ZoneCase {"America/New_York", -300, -240},
        ZoneCase {"Australia/Sydney", 660, 600}, ZoneCase {"UTC", 0, 0}));

TEST(UtcOffset, FollowsAChangedTzAtOnce) {
    EnvOverride berlin("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ(UtcOffsetMinutesAt(Jan15_2024), 60);
    EnvOverride kolkata("TZ", "IST-5:30");
    EXPECT_EQ(UtcOffsetMinutesAt(Jan15_2024), 330);
}

TEST(UtcOffset, ChangesExactlyAtTheDaylightSavingSwitch) {
    EnvOverride tz("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    constexpr std::int64_t switchAt = 1711846800;   // 2024-03-31 01:00:00 UTC
    EXPECT_EQ(UtcOffsetMinutesAt(switchAt - 1), 60);
    EXPECT_EQ(UtcOffsetMinutesAt(switchAt), 120);
}

TEST(UtcOffset, ForALocalTimeIsTheOffsetInForceAtThatWallClockTime) {
    EnvOverride tz("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ(UtcOffsetMinutesAtLocal(Days(Jan15_2024)), 60);
    EXPECT_EQ(UtcOffsetMinutesAtLocal(Days(Jul15_2024)), 120);
    EXPECT_EQ(CurrentUtcOffsetMinutes() % 60, 0);
}

TEST(UtcToLocal, ShiftsByTheOffsetOfThatInstant) {
    EnvOverride tz("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_DOUBLE_EQ(UtcToLocal(Days(Jan15_2024)), Days(Jan15_2024) + 1.0 / 24);
    EXPECT_DOUBLE_EQ(UtcToLocal(Days(Jul15_2024)), Days(Jul15_2024) + 2.0 / 24);
}

TEST(LocalToUtc, IsTheInverseOutsideTheSwitchHours) {
    EnvOverride zone("TZ", "NST3:30NDT,M3.2.0,M11.1.0");
    for (std::int64_t t : {Jan15_2024, Jul15_2024, Jan15_2024 + 1234}) {
        double utc = Days(t);
        EXPECT_NEAR(LocalToUtc(UtcToLocal(utc)), utc, 1e-9) << t;
    }
    EXPECT_NEAR(UtcToLocal(Days(Jan15_2024)), Days(Jan15_2024) - 3.5 / 24, 1e-9);
}

TEST(LocalToUtc, KeepsMilliseconds) {
    EnvOverride tz("TZ", "IST-5:30");
    double local = Days(Jan15_2024) + 0.123 / 86400;
    EXPECT_NEAR(LocalToUtc(local), local - 5.5 / 24, 1e-9);
}

TEST(UnixToLocalDateTime, GivesLocalFileTimes) {
    EnvOverride tz("TZ", "IST-5:30");
    EXPECT_NEAR(UnixToLocalDateTime(Jan15_2024, 500000000), Days(Jan15_2024) + 5.5 / 24 + 0.5 / 86400, 1e-9);
}

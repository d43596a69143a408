// The unit-info scan and the reading's dates: years placed around now, zones applied at each instant.
#include "app/nodes/NodeReading.h"
#include "support/ClientFiles.h"

#include "platform/base/DateTime.h"

#include <gtest/gtest.h>

namespace korvex::app {
namespace {

using base::EncodeDateTime;

const base::TDateTime December = EncodeDateTime(2024, 12, 6, 8, 0, 0, 0);

TNodeReading Read(const std::vector<std::string>& unitInfo, base::TDateTime now = December,
    const TUtcOffsetFunc& offset = FixedUtcOffset(0), const std::vector<std::string>& log = {}) {
    return ReadNode(TTextLines::FromLines(log), TTextLines::FromLines(unitInfo), now, offset);
}

TEST(UnitInfoScan, ReadsNameStartDeadlineAndProgress) {
    TNodeReading r = Read(test::UnitInfo("p2605_Protein in water", "December 5 20:10:09", "December 11 20:10:09", 45));
    EXPECT_EQ(r.WUName, "p2605_Protein in water");
    EXPECT_DOUBLE_EQ(r.Start, EncodeDateTime(2024, 12, 5, 20, 10, 9, 0));
    EXPECT_DOUBLE_EQ(r.Deadline, EncodeDateTime(2024, 12, 11, 20, 10, 9, 0));
    EXPECT_EQ(r.Progress, 45);
}

TEST(UnitInfoScan, UnitStartedInDecemberReadInJanuaryKeepsItsYear) {
    const base::TDateTime january = EncodeDateTime(2025, 1, 3, 9, 0, 0, 0);
    TNodeReading r = Read(test::UnitInfo("p2605_x", "December 30 22:00:00", "January 15 22:00:00", 20), january);
    EXPECT_DOUBLE_EQ(r.Start, EncodeDateTime(2024, 12, 30, 22, 0, 0, 0));
    EXPECT_DOUBLE_EQ(r.Deadline, EncodeDateTime(2025, 1, 15, 22, 0, 0, 0));
    // A deadline in December of a unit started in December stays in that year.
    r = Read(test::UnitInfo("p2605_x", "December 20 22:00:00", "December 31 22:00:00", 20), january);
    EXPECT_DOUBLE_EQ(r.Deadline, EncodeDateTime(2024, 12, 31, 22, 0, 0, 0));
}

TEST(UnitInfoScan, StartUpToADayAheadOfNowIsThisYearsDate) {
    // A node in a zone ahead of ours may write a date that is still tomorrow here.
    TNodeReading r = Read(test::UnitInfo("p2605_x", "December 6 20:00:00", "December 20 20:00:00", 0));
    EXPECT_DOUBLE_EQ(r.Start, EncodeDateTime(2024, 12, 6, 20, 0, 0, 0));
    r = Read(test::UnitInfo("p2605_x", "December 8 20:00:00", "December 20 20:00:00", 0));
    EXPECT_DOUBLE_EQ(r.Start, EncodeDateTime(2023, 12, 8, 20, 0, 0, 0));
    EXPECT_DOUBLE_EQ(r.Deadline, EncodeDateTime(2023, 12, 20, 20, 0, 0, 0));
}

TEST(UnitInfoScan, LeapDayGoesToTheLatestLeapYear) {
    TNodeReading r = Read(test::UnitInfo("p2605_x", "February 29 10:00:00", "February 28 10:00:00", 5),
        EncodeDateTime(2025, 3, 1, 0, 0, 0, 0));
    EXPECT_DOUBLE_EQ(r.Start, EncodeDateTime(2024, 2, 29, 10, 0, 0, 0));
    EXPECT_DOUBLE_EQ(r.Deadline, EncodeDateTime(2025, 2, 28, 10, 0, 0, 0));
}

TEST(UnitInfoScan, DatesAreShiftedByTheOffsetInForceAtEachInstant) {
    // A zone at +60 in winter and +120 from April to October.
    TUtcOffsetFunc summerTime = [](base::TDateTime utc) {
        int y = 0, m = 0, d = 0;
        base::DecodeDate(utc, y, m, d);
        return (m >= 4 && m <= 10) ? 120 : 60;
    };
    TNodeReading r = Read(test::UnitInfo("p2605_x", "October 20 10:00:00", "November 10 10:00:00", 5),
        EncodeDateTime(2024, 11, 1, 12, 0, 0, 0), summerTime);
    EXPECT_DOUBLE_EQ(r.Start, EncodeDateTime(2024, 10, 20, 12, 0, 0, 0));
    EXPECT_DOUBLE_EQ(r.Deadline, EncodeDateTime(2024, 11, 10, 11, 0, 0, 0));
}

TEST(UnitInfoScan, HalfHourZonesKeepTheirMinutes) {
    TNodeReading r = Read(test::UnitInfo("p2605_x", "December 5 20:10:09", "", 5), December, FixedUtcOffset(330));
    EXPECT_DOUBLE_EQ(r.Start, EncodeDateTime(2024, 12, 6, 1, 40, 9, 0));
    r = Read(test::UnitInfo("p2605_x", "December 5 20:10:09", "", 5), December, FixedUtcOffset(-210));
    EXPECT_DOUBLE_EQ(r.Start, EncodeDateTime(2024, 12, 5, 16, 40, 9, 0));
}

TEST(UnitInfoScan, QmdAndAmberNamesKeepTheLogsName) {
    std::vector<std::string> log = {"", "[10:00:00] Protein: p1910_ALA-d"};
    EXPECT_EQ(Read(test::UnitInfo("QMD p1910", "December 5 20:10:09", "", 5), December, FixedUtcOffset(0), log).WUName,
        "p1910_ALA-d");
    EXPECT_EQ(Read(test::UnitInfo("Amber run", "December 5 20:10:09", "", 5), December, FixedUtcOffset(0), log).WUName,
        "p1910_ALA-d");
    EXPECT_EQ(Read(test::UnitInfo("p2605_x", "December 5 20:10:09", "", 5), December, FixedUtcOffset(0), log).WUName,
        "p2605_x");
}

// The name line names the unit even when the name on it is empty.
TEST(UnitInfoScan, AnEmptyNameLineReplacesTheLogsName) {
    std::vector<std::string> log = {"", "[10:00:00] Protein: p1910_ALA-d"};
    EXPECT_EQ(Read({"C", "-", "Name: ", "Download time: December 5 20:10:09"}, December, FixedUtcOffset(0), log).WUName,
        "");
    EXPECT_EQ(Read({"C", "-", "Name", "Download time: December 5 20:10:09"}, December, FixedUtcOffset(0), log).WUName,
        "");
}

TEST(UnitInfoScan, StartTextFromTheLogWinsOverTheDownloadLine) {
    test::TClientLog log;
    log.ClientStart().StepUnit("p2605_x", "December 4 10:00:00", 1, 2, 3, 1, 600);
    TNodeReading r
        = Read(test::UnitInfo("p2605_x", "December 5 20:10:09", "", 5), December, FixedUtcOffset(0), log.Lines());
    EXPECT_DOUBLE_EQ(r.Start, EncodeDateTime(2024, 12, 4, 10, 0, 0, 0));
}

TEST(UnitInfoScan, StartTextWithoutUnitInfoStillGivesTheStart) {
    test::TClientLog log;
    log.ClientStart().StepUnit("p2605_x", "December 4 10:00:00", 1, 2, 3, 1, 600);
    EXPECT_DOUBLE_EQ(
        Read({}, December, FixedUtcOffset(0), log.Lines()).Start, EncodeDateTime(2024, 12, 4, 10, 0, 0, 0));
}

TEST(UnitInfoScan, WithoutDueLineTheProgressIsOnTheLineBefore) {
    TNodeReading r = Read(test::UnitInfo("p2605_x", "December 5 20:10:09", "", 37));
    EXPECT_EQ(r.Deadline, 0);
    EXPECT_EQ(r.Progress, 37);
}

// The progress is the number as written; only a text that is no 32-bit number gives 0.
TEST(UnitInfoScan, AProgressIsTakenAsWrittenWhenItIsANumber) {
    const std::pair<const char*, int> cases[] = {{"Progress: -2147483648% [    ]", -2147483647 - 1},
        {"Progress: 2147483647%", 2147483647}, {"Progress: 99999999999%", 0}, {"Progress: -1%", -1},
        {"Progress: 101%", 101}, {"Progress: 100%", 100}, {"Progress: 0%", 0}, {"Progress:  7% [|  ]", 7},
        {"Progress: 7x% [|  ]", 0}, {"Progress 7", 0}, {"Progress: 7 % [|  ]", 0}};
    for (auto [line, progress] : cases)
        EXPECT_EQ(Read({"C", "-", "Name: p", "Download time: x", "Due time: x", line}).Progress, progress) << line;
}

TEST(UnitInfoScan, ANameOfMegabytesIsCutToItsCap) {
    TNodeReading r = Read({"C", "-", "Name: " + std::string(20 << 20, 'n')});
    EXPECT_EQ(r.WUName, std::string(MaxClientText, 'n'));
}

struct TMissingCase {
    const char* Name;
    std::vector<std::string> Lines;
    TNodeReading Expected;
};

TNodeReading With(std::string name, base::TDateTime start, base::TDateTime deadline, int progress) {
    TNodeReading r;
    r.WUName = std::move(name);
    r.Start = start;
    r.Deadline = deadline;
    r.Progress = progress;
    return r;
}

class UnitInfoMissingLines : public testing::TestWithParam<TMissingCase> { };

TEST_P(UnitInfoMissingLines, LeaveTheirFieldsAtTheCycleStartValues) {
    EXPECT_EQ(Read(GetParam().Lines), GetParam().Expected);
}

const base::TDateTime Dec5 = EncodeDateTime(2024, 12, 5, 20, 10, 9, 0);

INSTANTIATE_TEST_SUITE_P(Files, UnitInfoMissingLines,
    testing::Values(TMissingCase {"Empty", {}, TNodeReading()},
        TMissingCase {"HeaderOnly", {"Current Work Unit", "-----------------"}, TNodeReading()},
        TMissingCase {"NameOnly", {"Current Work Unit", "---", "Name: p2605_x"}, With("p2605_x", 0, 0, 0)},
        TMissingCase {"NoProgress",
            {"C", "-", "Name: p2605_x", "Download time: December 5 20:10:09", "Due time: December 9 20:10:09"},
            With("p2605_x", Dec5, EncodeDateTime(2024, 12, 9, 20, 10, 9, 0), 0)},
        TMissingCase {"CutInTheName", {"C", "-", "Na"}, TNodeReading()},
        TMissingCase {"CutInTheDate", {"C", "-", "Name: p2605_x", "Download time: Dece"}, With("p2605_x", 0, 0, 0)},
        TMissingCase {"CutInTheProgress",
            {"C", "-", "Name: p", "Download time: December 5 20:10:09", "Due time: December 9 20:10:09", "Progress: 4"},
            With("p", Dec5, EncodeDateTime(2024, 12, 9, 20, 10, 9, 0), 0)},
        TMissingCase {
            "ProgressNotANumber", {"C", "-", "Name: p", "Download time: x", "Progress: many%"}, With("p", 0, 0, 0)},
        TMissingCase {"UnknownMonth",
            {"C", "-", "Name: p", "Download time: Dezember 5 20:10:09", "Due time: Smarch 9 20:10:09", "Progress: 12%"},
            With("p", 0, 0, 12)},
        TMissingCase {"ImpossibleDay",
            {"C", "-", "Name: p", "Download time: February 30 20:10:09", "Due time: April 31 20:10:09",
                "Progress: 12%"},
            With("p", 0, 0, 12)}),
    [](const testing::TestParamInfo<TMissingCase>& info) { return info.param.Name; });

}
}

// The client log scan on logs as step-counting and frame-counting cores write them.
#include "app/nodes/ClientLogMarks.h"
#include "app/nodes/NodeReading.h"
#include "support/ClientFiles.h"

#include "platform/base/DateTime.h"

#include <gtest/gtest.h>

namespace korvex::app {
namespace {

using test::TClientLog;

const base::TDateTime DecemberMorning = base::EncodeDateTime(2024, 12, 6, 8, 0, 0, 0);

TNodeReading ReadLog(const std::vector<std::string>& lines, base::TDateTime now = DecemberMorning, int offset = 0) {
    return ReadNode(TTextLines::FromLines(lines), TTextLines(), now, FixedUtcOffset(offset));
}

TNodeReading ReadLog(const TClientLog& log, base::TDateTime now = DecemberMorning, int offset = 0) {
    return ReadLog(log.Lines(), now, offset);
}

// The scan reports where it has got to, in its order; the frame rule's marks only where that rule runs.
TEST(ClientLogScan, ReportsItsStagesInOrder) {
    using S = TLogScanStage;
    TClientLog steps;
    steps.ClientStart().StepUnit("p2605_Protein in water", "December 5 20:10:09", 5, 33, 12, 45, 750);
    TClientLog frames;
    frames.ClientStart().FrameUnit("p1234_Frames", "December 5 20:10:09", 1, 2, 3, 10, 400, 180);
    TClientLog bare;
    bare.ClientStart();
    struct Case {
        const char* Name;
        const TClientLog& Log;
        std::vector<S> Stages;
    } cases[] = {
        {"steps", steps,
            {S::Version, S::Identity, S::UserAndQueue, S::Status, S::StartLineFound, S::StartTextTaken,
                S::StartTextDone, S::RunCloneGenFound, S::RunCloneGenDone, S::StepLinesDone, S::TimePerPercentDone}},
        {"frames", frames,
            {S::Version, S::Identity, S::UserAndQueue, S::Status, S::StartLineFound, S::StartTextTaken,
                S::StartTextDone, S::RunCloneGenFound, S::RunCloneGenDone, S::StepLinesDone, S::TimePerPercentDone,
                S::FrameLinesFound, S::FrameStepTimeRead, S::FramesDone}},
        {"no unit", bare,
            {S::Version, S::Identity, S::UserAndQueue, S::Status, S::StartTextDone, S::RunCloneGenDone,
                S::StepLinesDone, S::TimePerPercentDone, S::FramesDone}},
    };
    for (const Case& c : cases) {
        const TLogMarks marks = FindLogMarks(c.Log.Text());
        std::vector<S> passed;
        TNodeReading r;
        ScanClientLog(marks, DecemberMorning, FixedUtcOffset(0), r, [&passed](S stage) { passed.push_back(stage); });
        EXPECT_EQ(passed, c.Stages) << c.Name;
        TNodeReading unheard;
        ScanClientLog(marks, DecemberMorning, FixedUtcOffset(0), unheard);
        EXPECT_EQ(r, unheard) << c.Name;   // the same reading as without the hook
        EXPECT_FALSE(r.Version.empty()) << c.Name;
    }
    EXPECT_EQ(static_cast<int>(S::StartLineFound), 931);
    EXPECT_EQ(static_cast<int>(S::FramesDone), 993);
}

TEST(ClientLogScan, StepCoreLogGivesEveryFieldOfTheUnit) {
    TClientLog log;
    log.ClientStart().StepUnit("p2605_Protein in water", "December 5 20:10:09", 5, 33, 12, 45, 750);
    TNodeReading r = ReadLog(log, DecemberMorning, 60);
    EXPECT_EQ(r.Version, "Version 1.90 (March 8, 2006)");
    EXPECT_EQ(r.CoreRequired, "FahCore_78.exe");
    EXPECT_EQ(r.UserName, "Tellvar");
    EXPECT_EQ(r.Team, "12345");
    EXPECT_EQ(r.WUName, "p2605_Protein in water");
    EXPECT_EQ(r.RCG, "5-33-12");
    EXPECT_EQ(r.Status, TNodeStatus::Running);
    EXPECT_EQ(r.StartText, "December 5 20:10:09");
    EXPECT_EQ(r.TimePerPercent, "00:12:30");
    EXPECT_EQ(r.FrameTime, NoTimeText);
    EXPECT_EQ(r.TotalFrames, 0);
    // 45 steps of 12:30 from 20:10:16 end at 05:32:46 UTC, 06:32:46 at UTC+1.
    EXPECT_EQ(log.Stamp(), "05:32:46");
    EXPECT_DOUBLE_EQ(r.LastStepTime, base::EncodeDateTime(2024, 12, 6, 6, 32, 46, 0));
    // Start and progress come with the unit-info file; the log alone leaves the start's date unread.
    EXPECT_EQ(r.Progress, 0);
}

TEST(ClientLogScan, FrameCoreLogTakesTimePerPercentFromFrames) {
    TClientLog log("10:00:00");
    log.ClientStart().FrameUnit("p1160_L939_K12M_298K_DT_20ns_clones", "January 3 10:00:00", 3, 7, 1, 5, 400, 180);
    TNodeReading r = ReadLog(log, base::EncodeDateTime(2025, 1, 3, 12, 0, 0, 0));
    EXPECT_EQ(r.WUName, "p1160_L939_K12M_298K_DT_20ns_clones");
    EXPECT_EQ(r.CoreRequired, "FahCore_65.exe");
    EXPECT_EQ(r.Version, "Version 4.05 (October 4, 2004)");
    EXPECT_EQ(r.RCG, "3-7-1");
    EXPECT_EQ(r.Status, TNodeStatus::Running);
    EXPECT_EQ(r.StartText, "January 3 10:00:00");
    EXPECT_EQ(r.TotalFrames, 400);
    EXPECT_EQ(r.CurrentFrame, 5);
    EXPECT_EQ(r.FrameTime, "00:03:00");
    EXPECT_EQ(r.TimePerPercent, "00:12:00");
    EXPECT_DOUBLE_EQ(r.LastStepTime, base::EncodeDateTime(2025, 1, 3, 10, 15, 2, 0));
}

TEST(ClientLogScan, FewerThanHundredFramesLeaveTimePerPercentEmpty) {
    TClientLog log;
    log.ClientStart().FrameUnit("p1160_x", "January 3 10:00:00", 3, 7, 1, 2, 50, 180);
    TNodeReading r = ReadLog(log);
    EXPECT_EQ(r.TotalFrames, 50);
    EXPECT_EQ(r.FrameTime, "00:03:00");
    EXPECT_EQ(r.TimePerPercent, NoTimeText);
}

TEST(ClientLogScan, FrameCountsOfThreeAndFourDigitsAreReadWhole) {
    TClientLog log;
    log.ClientStart().FrameUnit("p1160_x", "January 3 10:00:00", 3, 7, 1, 150, 1400, 60);
    TNodeReading r = ReadLog(log);
    EXPECT_EQ(r.TotalFrames, 1400);
    EXPECT_EQ(r.CurrentFrame, 150);
    EXPECT_EQ(r.TimePerPercent, "00:14:00");
}

// A count is read from its column over 3 characters, or further while its digits go on: other text in those
// characters makes it no number (0); text behind them is not looked at.
TEST(ClientLogScan, AFrameCountIsReadFromItsColumnAndOtherTextInItIsNoNumber) {
    const struct {
        const char* Line;
        int Total;
    } cases[] = {
        {"[10:00:00] - Frames Completed: 12a, Remaining: 388", 388},
        {"[10:00:00] - Frames Completed: 12, Remaining: 388x", 400},
        {"[10:00:00] - Frames Completed: 1,200, Remaining: 1,300", 2500},
        {"[10:00:00] - Frames Completed: a12, Remaining: 388", 388},
    };
    for (const auto& c : cases) {
        TNodeReading r = ReadLog(std::vector<std::string> {
            "", c.Line, "[10:00:00] Finished a frame (12)", "[10:03:00] Finished a frame (13)"});
        EXPECT_EQ(r.TotalFrames, c.Total) << c.Line;
    }
}

// Without a count line there is no count: the log's first line, whatever its columns hold, is none.
TEST(ClientLogScan, FrameLinesWithoutACountLineCountNoFrames) {
    TNodeReading r = ReadLog(std::vector<std::string> {"--- Opening Log file [December 5 20:10:09 UTC]",
        "[10:00:00] Finished a frame (12)", "[10:03:00] Finished a frame (13)"});
    EXPECT_EQ(r.TotalFrames, 0);
    EXPECT_EQ(r.CurrentFrame, 13);
    EXPECT_EQ(r.FrameTime, "00:03:00");
}

TEST(ClientLogScan, SingleFrameLineGivesNoFrameTime) {
    TClientLog log;
    log.ClientStart().FrameUnit("p1160_x", "January 3 10:00:00", 3, 7, 1, 1, 400, 180);
    TNodeReading r = ReadLog(log);
    EXPECT_EQ(r.FrameTime, NoTimeText);
    EXPECT_EQ(r.TimePerPercent, NoTimeText);
    EXPECT_EQ(r.CurrentFrame, 0);
}

TEST(ClientLogScan, LogWithoutQueueLineReadsStatusFromTheFirstLine) {
    TClientLog log;
    log.ClientStart(false).StepUnit("p2605_x", "December 5 20:10:09", 5, 33, 12, 2, 600);
    EXPECT_EQ(ReadLog(log).Status, TNodeStatus::Running);

    TClientLog idle;
    idle.ClientStart(false);
    EXPECT_EQ(ReadLog(idle).Status, TNodeStatus::Undecided);
}

TEST(ClientLogScan, QueueLineOnTheFirstLineStillCounts) {
    EXPECT_EQ(ReadLog(std::vector<std::string> {"[10:00:00] Loaded queue successfully.", "[10:00:01] x"}).Status,
        TNodeStatus::QueueLoaded);
}

TEST(ClientLogScan, VersionOnlyOnTheFirstLineIsNotTaken) {
    TNodeReading r = ReadLog(std::vector<std::string> {"[10:00:00] Version 5", "[10:00:01] x"});
    EXPECT_EQ(r.Version, "");
}

struct TStatusCase {
    const char* Name;
    std::vector<std::string> After;   // lines after the client start and its queue line
    TNodeStatus Expected;
};

class ClientLogStatus : public testing::TestWithParam<TStatusCase> { };

TEST_P(ClientLogStatus, LastKeywordOfTheOrderAfterTheAnchorDecides) {
    TClientLog log;
    log.ClientStart();
    for (const std::string& line : GetParam().After)
        log.Line(line);
    EXPECT_EQ(ReadLog(log).Status, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Keywords, ClientLogStatus,
    testing::Values(TStatusCase {"QueueOnly", {"+ Processing work unit"}, TNodeStatus::QueueLoaded},
        TStatusCase {"StepLine", {"Completed 2500 out of 250000 steps  (1%)"}, TNodeStatus::Running},
        TStatusCase {"FramesLine", {" - Frames Completed: 1, Remaining: 399"}, TNodeStatus::Running},
        TStatusCase {"ServiceStop", {"Completed 2500 out of 250000 steps  (1%)", "Service stop request"},
            TNodeStatus::Undecided},
        TStatusCase {
            "ClientShutdown", {"Completed 2500 out of 250000 steps  (1%)", "Client Shutdown."}, TNodeStatus::Undecided},
        TStatusCase {"AttemptError", {"- Error: Attempt #2  to get work failed, and no other work to do."},
            TNodeStatus::AttemptError},
        TStatusCase {"ErrorWinsOverALaterStep",
            {"- Error: Attempt #1  to get work failed", "Completed 2500 out of 250000 steps  (1%)"},
            TNodeStatus::AttemptError},
        TStatusCase {"KeywordsBeforeTheSentResultsDoNotCount",
            {"- Error: Attempt #1  to get work failed", "+ Results successfully sent",
                "Completed 2500 out of 250000 steps  (1%)"},
            TNodeStatus::Running},
        TStatusCase {"SentResultsWithNothingAfter",
            {"Completed 250000 out of 250000 steps  (100%)", "+ Results successfully sent"}, TNodeStatus::QueueLoaded}),
    [](const testing::TestParamInfo<TStatusCase>& info) { return info.param.Name; });

TEST(ClientLogScan, UnitChangedMidFileReadsOnlyTheNewUnit) {
    TClientLog log;
    log.ClientStart()
        .StepUnit("p2605_Protein in water", "December 5 20:10:09", 5, 33, 12, 100, 600)
        .FinishAndSend("December 6 13:00:00")
        .StepUnit("p2008_BBA5", "December 6 13:01:00", 7, 8, 9, 0, 900);
    TNodeReading r = ReadLog(log, base::EncodeDateTime(2024, 12, 6, 14, 0, 0, 0));
    EXPECT_EQ(r.WUName, "p2008_BBA5");
    EXPECT_EQ(r.RCG, "7-8-9");
    EXPECT_EQ(r.StartText, "December 6 13:01:00");
    EXPECT_EQ(r.Status, TNodeStatus::Running);
    // The new unit has logged its first step only: the old unit's steps must not give a time.
    EXPECT_EQ(r.TimePerPercent, NoTimeText);

    log.Advance(900).Line("Completed 2500 out of 250000 steps  (1%)");
    EXPECT_EQ(ReadLog(log, base::EncodeDateTime(2024, 12, 6, 14, 0, 0, 0)).TimePerPercent, "00:15:00");
}

TEST(ClientLogScan, StartTextNeedsTheFirstStepNearTheProteinLine) {
    TClientLog log;
    log.ClientStart().Line("Working on Unit 01 [December 5 20:10:09]").Line("Protein: p2605_x");
    for (int i = 0; i < 51; ++i)
        log.Line("Writing local files");
    log.Line("Completed 0 out of 250000 steps  (0%)").Line("Completed 2500 out of 250000 steps  (1%)");
    EXPECT_EQ(ReadLog(log).StartText, "");
}

TEST(ClientLogScan, StartTextComesFromTheUnitWhoseProteinMatchesTheName) {
    TClientLog log;
    log.ClientStart()
        .StepUnit("p2605_x", "December 5 20:10:09", 5, 33, 12, 1, 600)
        .Line("Working on Unit 02 [December 5 21:00:00]")
        .Line("Protein: p9999_other")
        .Line("Completed 0 out of 1000 steps  (0%)")
        .Line("System: p2605_x");
    TNodeReading r = ReadLog(log);
    EXPECT_EQ(r.WUName, "p2605_x");
    EXPECT_EQ(r.StartText, "December 5 20:10:09");
}

TEST(ClientLogScan, SystemLineNamesTheUnitBeforeAnyProteinLine) {
    TNodeReading r = ReadLog(std::vector<std::string> {
        "", "[10:00:00] System: p1910_ALA-d", "[10:00:01] Protein: p2605_other", "[10:00:02] x"});
    EXPECT_EQ(r.WUName, "p1910_ALA-d");
}

TEST(ClientLogScan, RunCloneGenFromTheProjectLine) {
    TNodeReading r = ReadLog(std::vector<std::string> {"", "[20:10:16] Project: 2605 (Run 5, Clone 33, Gen 12)"});
    EXPECT_EQ(r.RCG, "5-33-12");
    EXPECT_EQ(ReadLog(std::vector<std::string> {"", "[20:10:16] Project: 2605"}).RCG, "");
}

TEST(ClientLogScan, RunCloneGenOfOddProjectLinesFollowsTheCutsLiterally) {
    const std::pair<const char*, const char*> cases[] = {
        {"[x] Clone 3 Gen 4)", "[x]-3-4"},   // no "Run": the whole line
        {"[t] R un,Clone 1", "[t]-1"},   // a "Run" made by dropping the marks goes too
        {"Clone x Run", "Ru"},   // from "Run" to the end, less one character
        {"Run 1, Clone 2, Gen 3 Run 4, Clone 5, Gen 6)", "1-2-3Run4Clone5Gen6"},   // the first of each only
        {"Run1 Gen2 Clone3)", "1-2-3"},
        {"Clone", "-"},
        {"RunClone", "Clon"},
        {"GeRunn Clone", "nClon"},
        {"Run (Clone: -7, Gen: 0x)", "-7-0x"},
    };
    for (auto [line, rcg] : cases)
        EXPECT_EQ(ReadLog(std::vector<std::string> {"", line}).RCG, rcg) << line;
}

TEST(ClientLogScan, TextsFromLinesOfMegabytesAreCutToTheirCaps) {
    const std::string junk(20 << 20, 'x');
    TNodeReading r = ReadLog(std::vector<std::string> {
        "", "[20:10:16] Project: 2605 (Run 5, Clone 33, Gen 12) " + junk + ")", "[20:10:17] Version " + junk});
    EXPECT_EQ(r.RCG, "5-33-12" + std::string(MaxRunCloneGen - 7, 'x'));
    EXPECT_EQ(r.Version, "Version " + std::string(MaxClientText - 8, 'x'));

    // Cut on a code point: a name of two-byte characters keeps whole ones only.
    std::string name;
    for (int i = 0; i < 300; ++i)
        name += "\xC3\xA9";
    r = ReadLog(
        std::vector<std::string> {"", "[20:10:16] Protein: " + name, "[20:10:17] - User name: " + name + " (Team 1)"});
    EXPECT_EQ(r.WUName, name.substr(0, MaxClientText - 1));
    EXPECT_EQ(r.UserName, name.substr(0, MaxClientText - 1));
}

// The frame number is the number as written (0 when it is no 32-bit number); counts that add up past any sane
// frame count are none.
TEST(ClientLogScan, AFrameNumberIsTakenAsWrittenAndCountsPastTheSaneBoundAreNone) {
    const std::pair<const char*, int> frames[] = {
        {"(-7)", -7}, {"(4294967296)", 0}, {"(-2147483648)", -2147483647 - 1}, {"(2000000000)", 2000000000}};
    for (auto [frame, number] : frames) {
        TNodeReading r = ReadLog(
            std::vector<std::string> {"", "[10:00:00]  - Frames Completed: 999,999,999, Remaining: 999,999,999",
                "[10:00:00] Finished a frame (1)", std::string("[10:03:00] Finished a frame ") + frame});
        EXPECT_EQ(r.CurrentFrame, number) << frame;
        EXPECT_EQ(r.TotalFrames, 0) << frame;   // their sum passes the sane count
        EXPECT_EQ(r.FrameTime, "00:03:00") << frame;
    }
}

TEST(ClientLogScan, UserNameAndTeamAreCutAtTheirColumnsWhereverTheTeamStands) {
    struct TCase {
        const char* Line;
        const char* UserName;
        const char* Team;
    };
    const TCase cases[] = {
        {"[20:10:09] - User name: (Team 5)", "", "5)"},   // the team before the name's column
        {"[20:10:09] - User name: Tellvar (Team 123", "Tellvar", "123"},
        {"[20:10:09] - User name: Tellvar(Team 1234567)", "Tellvar(Team 1234567)", "12345"},
        {"User name: x (Team ", "", ""},
        {"[20:10:09] - User name: A (Team 1) (Team 2)", "A", "1) (T"},
    };
    for (const TCase& c : cases) {
        TNodeReading r = ReadLog(std::vector<std::string> {"", c.Line});
        EXPECT_EQ(r.UserName, c.UserName) << c.Line;
        EXPECT_EQ(r.Team, c.Team) << c.Line;
    }
}

TEST(ClientLogScan, UserNameWithoutTeamKeepsTheWholeName) {
    TNodeReading r = ReadLog(std::vector<std::string> {"", "[20:10:09] - User name: Tellvar"});
    EXPECT_EQ(r.UserName, "Tellvar");
    EXPECT_EQ(r.Team, "");
}

TEST(ClientLogScan, StepsAcrossMidnightGiveAPositiveTime) {
    TClientLog log("23:40:00");
    log.ClientStart().Line("Project: 2605 (Run 5, Clone 33, Gen 12)");
    log.Advance(15 * 60).Line("Completed 2500 out of 250000 steps  (1%)");
    log.Advance(12 * 60 + 30).Line("Completed 5000 out of 250000 steps  (2%)");
    ASSERT_EQ(log.Stamp(), "00:07:30");
    TNodeReading r = ReadLog(log, base::EncodeDateTime(2024, 12, 7, 0, 10, 0, 0));
    EXPECT_EQ(r.TimePerPercent, "00:12:30");
    EXPECT_DOUBLE_EQ(r.LastStepTime, base::EncodeDateTime(2024, 12, 7, 0, 7, 30, 0));
}

TEST(ClientLogScan, LastStepBeforeMidnightReadAfterItLiesOnTheDayBefore) {
    TClientLog log("23:50:00");
    log.ClientStart().Line("Project: 2605 (Run 5, Clone 33, Gen 12)").Line("Completed 2500 out of 250000 steps  (1%)");
    TNodeReading r = ReadLog(log, base::EncodeDateTime(2024, 12, 7, 0, 20, 0, 0));
    EXPECT_DOUBLE_EQ(r.LastStepTime, base::EncodeDateTime(2024, 12, 6, 23, 50, 0, 0));
}

TEST(ClientLogScan, LastStepIsShiftedByTheOffsetOfAHalfHourZone) {
    TClientLog log("10:00:00");
    log.ClientStart().Line("Project: 2605 (Run 5, Clone 33, Gen 12)").Line("Completed 2500 out of 250000 steps  (1%)");
    TNodeReading r = ReadLog(log, base::EncodeDateTime(2024, 12, 6, 16, 0, 0, 0), 330);
    EXPECT_DOUBLE_EQ(r.LastStepTime, base::EncodeDateTime(2024, 12, 6, 15, 30, 0, 0));
}

TEST(ClientLogScan, UnreadableStampsLeaveTheTimeEmpty) {
    TNodeReading r = ReadLog(std::vector<std::string> {
        "", "[xx:yy:zz] Completed 1 out of 100 steps  (1%)", "[10:00:00] Completed 2 out of 100 steps  (2%)"});
    EXPECT_EQ(r.TimePerPercent, NoTimeText);
    r = ReadLog(std::vector<std::string> {
        "", "[10:00:00] Completed 1 out of 100 steps  (1%)", "[garbage!] Completed 2 out of 100 steps  (2%)"});
    EXPECT_EQ(r.TimePerPercent, NoTimeText);
    EXPECT_EQ(r.LastStepTime, 0);
}

TEST(ClientLogScan, KeywordsAreFoundAtEveryPlaceInALineAndAtTheEndOfTheText) {
    for (std::size_t offset = 0; offset < 40; ++offset) {
        std::string text = "\r\n" + std::string(offset, 'x') + "Loaded queue successfully\r\n";
        EXPECT_EQ(ReadNode(TTextLines::FromText(text), TTextLines(), DecemberMorning, FixedUtcOffset(0)).Status,
            TNodeStatus::QueueLoaded)
            << offset;
        text += std::string(offset, 'y') + "Error: Attempt";   // a last line without its end
        EXPECT_EQ(ReadNode(TTextLines::FromText(text), TTextLines(), DecemberMorning, FixedUtcOffset(0)).Status,
            TNodeStatus::AttemptError)
            << offset;
    }
}

TEST(ClientLogScan, KeywordsNeverReachAcrossALineEnd) {
    TNodeReading r = ReadLog(std::vector<std::string> {"", "[10:00:00] Loaded queue successfully.", "[10:00:01] ] ",
        "Completed 1 out of 2 steps", "[10:00:02]  - Frames", "Completed: 1, Remaining: 399", "Loaded queue",
        " successfully"});
    EXPECT_EQ(r.Status, TNodeStatus::QueueLoaded);
}

TEST(ClientLogScan, LinesEndAtCarriageReturnsAsTheClientsFilesAreLoaded) {
    // Line 1 holds the version, line 2 the rest; a "Working on" line as the last of three lines is not taken.
    TNodeReading r = ReadNode(TTextLines::FromText("\r[10:00:00] Version 5\r6\r\n[10:00:01] x\r"), TTextLines(),
        DecemberMorning, FixedUtcOffset(0));
    EXPECT_EQ(r.Version, "Version 5");
    r = ReadNode(TTextLines::FromText("\n[1] Working on [May 1 10:00:00]\r[2] Protein: \rCompleted 0 out\r"),
        TTextLines(), DecemberMorning, FixedUtcOffset(0));
    EXPECT_EQ(r.StartText, "May 1 10:00:00");
}

TEST(ClientLogScan, StartTextTakesTheLastWorkingLineBeforeTheProteinLine) {
    TClientLog log;
    log.ClientStart()
        .Line("Working on Unit 01 [December 4 10:00:00]")
        .Line("Working on Unit 01 [December 4 11:00:00]")
        .Line("Protein: p2605_x")
        .Line("Completed 0 out of 10 steps  (0%)")
        .Line("Working on Unit 02 [December 4 12:00:00]");   // the last line: never taken
    EXPECT_EQ(ReadLog(log).StartText, "December 4 11:00:00");
}

TEST(ClientLogScan, EmptyLogGivesTheCycleStartValues) {
    EXPECT_EQ(ReadLog(std::vector<std::string> {}), TNodeReading());
}

}
}

// The cache console's log scan: the first deciding line, the cores named, names that could leave the folder.
#include "app/cache/MyKillU.h"

#include <gtest/gtest.h>

using namespace korvex::app;
using TOutcome = TCacheLogScan::TOutcome;

namespace {

struct ScanCase {
    const char* Label;
    std::string Log;
    std::string Trigger;
    TOutcome Outcome;
    std::string Core, NewCore;
};

class CacheLogScanTest : public testing::TestWithParam<ScanCase> { };

TEST_P(CacheLogScanTest, FindsTheFirstDecidingLineAndTheCores) {
    const ScanCase& c = GetParam();
    TCacheLogScan scan = ScanCacheLog(korvex::app::TTextLines::FromText(c.Log), c.Trigger);
    EXPECT_EQ(scan.Outcome, c.Outcome);
    EXPECT_EQ(scan.Core, c.Core);
    EXPECT_EQ(scan.NewCore, c.NewCore);
}

INSTANTIATE_TEST_SUITE_P(MyKill, CacheLogScanTest,
    testing::Values(
        ScanCase {"NothingYet", "[20:10:09] Connecting\r\n[20:10:10] Loaded queue\r\n", "Completed", TOutcome::None,
            "", ""},
        ScanCase {"DownloadCompleted",
            "[20:10:09] Core required: FahCore_a1.exe\r\n[20:10:15] Completed 0 out of 250000 steps\r\n", "Completed",
            TOutcome::Done, "FahCore_a1.exe", ""},
        ScanCase {"NewCoreDownloaded",
            "[20:10:09] Downloading new core: FahCore_78.exe\r\n[20:10:12] Completed\r\n", "Completed", TOutcome::Done,
            "FahCore_78.exe", "FahCore_78.exe"},
        ScanCase {"FifthAttemptAboveTheTriggerRetries", "[20:10:09] Attempt #5 failed\n[20:10:15] Completed\n",
            "Completed", TOutcome::Retry, "", ""},
        ScanCase {"TriggerAboveTheFifthAttemptIsDone", "[20:10:09] Completed\n[20:10:15] Attempt #5\n", "Completed",
            TOutcome::Done, "", ""},
        ScanCase {"TriggerWinsOnItsOwnLine", "Completed after Attempt #5\n", "Completed", TOutcome::Done, "", ""},
        ScanCase {"LinesAfterTheDecidingOneAreNotRead", "Completed\nCore: FahCore_a2.exe\n", "Completed",
            TOutcome::Done, "", ""},
        ScanCase {"ResultsSent", "Completed\n[20:10:09] + Results successfully sent\n", ResultsSentText,
            TOutcome::Done, "", ""},
        ScanCase {"CoreNameThatNamesAPathIsIgnored", "FahCore_/../../x\nFahCore_..xxxxx\nCompleted\n", "Completed",
            TOutcome::Done, "", ""},
        ScanCase {"ShortCoreNameAtTheLineEnd", "Running FahCore_a\nCompleted\n", "Completed", TOutcome::Done,
            "FahCore_a", ""}),
    [](const testing::TestParamInfo<ScanCase>& info) { return std::string(info.param.Label); });

}

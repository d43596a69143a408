// Reading a node folder: file names without case, Windows paths, missing files and the retry hooks.
#include "app/NodeFiles.h"
#include "support/ClientFiles.h"

#include "platform/base/DateTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace korvex::app {
namespace {

const base::TDateTime Now = base::EncodeDateTime(2024, 12, 6, 8, 0, 0, 0);

// A node folder with a running unit of 45 percent.
void WriteNode(const std::string& folder, const std::string& logName = "FAHlog.txt",
    const std::string& unitInfoName = "unitinfo.txt") {
    test::TClientLog log;
    log.ClientStart().StepUnit("p2605_Protein in water", "December 5 20:10:09", 5, 33, 12, 45, 750);
    test::WriteFile(folder + "/" + logName, log.Text());
    test::WriteFile(folder + "/" + unitInfoName,
        test::JoinLines(test::UnitInfo("p2605_Protein in water", "December 5 20:10:09", "December 11 20:10:09", 45)));
}

os::TRetryOptions CountingPauses(int& pauses) {
    os::TRetryOptions options;
    options.Pause = [&pauses](int) {
        ++pauses;
        return true;
    };
    return options;
}

TNodeReading ReadFolder(const std::string& folder) {
    int pauses = 0;
    return ReadNodeFolder(folder, Now, FixedUtcOffset(0), CountingPauses(pauses));
}

TEST(ReadNodeFolder, ReadsTheClientFilesOfAFolder) {
    test::TTempDir dir;
    WriteNode(dir.Path());
    TNodeReading r = ReadFolder(dir.Path());
    EXPECT_EQ(r.WUName, "p2605_Protein in water");
    EXPECT_EQ(r.RCG, "5-33-12");
    EXPECT_EQ(r.Progress, 45);
    EXPECT_EQ(r.Status, StatusRunning);
    EXPECT_EQ(r.TimePerPercent, "00:12:30");
    EXPECT_DOUBLE_EQ(r.Deadline, base::EncodeDateTime(2024, 12, 11, 20, 10, 9, 0));
}

TEST(ReadNodeFolder, FileNamesResolveWithoutCase) {
    test::TTempDir dir;
    WriteNode(dir.Path(), "FAHLog.txt", "UnitInfo.TXT");
    TNodeReading r = ReadFolder(dir.Path());
    EXPECT_EQ(r.RCG, "5-33-12");
    EXPECT_EQ(r.Progress, 45);
}

TEST(ReadNodeFolder, UncPathFindsTheHostsShareUnderTheUncRoot) {
    test::TTempDir dir;
    WriteNode(dir.Path() + "/box/fah");
    const char* old = std::getenv("KORVEX_UNC_ROOT");
    std::string saved = old ? old : "";
    ::setenv("KORVEX_UNC_ROOT", dir.Path().c_str(), 1);
    TNodeReading r = ReadFolder("\\\\box\\fah");
    if (old)
        ::setenv("KORVEX_UNC_ROOT", saved.c_str(), 1);
    else
        ::unsetenv("KORVEX_UNC_ROOT");
    EXPECT_EQ(r.Progress, 45);
}

TEST(ReadNodeFolder, MissingFolderGivesTheCycleStartValuesWithoutRetrying) {
    test::TTempDir dir;
    int pauses = 0;
    TNodeReading r = ReadNodeFolder(dir.Path() + "/gone", Now, FixedUtcOffset(0), CountingPauses(pauses));
    EXPECT_EQ(r, TNodeReading());
    EXPECT_EQ(pauses, 0);
}

TEST(LoadTextLinesRetrying, PausesAfterTheLoadAndAfterTheOpenAsTheClientNeeds) {
    test::TTempDir dir;
    test::WriteFile(dir.File("f.txt"), "a\r\nb\r\n");
    int pauses = 0;
    std::vector<os::TRetryStep> steps;
    os::TRetryOptions options = CountingPauses(pauses);
    options.OnStep = [&steps](os::TRetryStep step) { steps.push_back(step); };
    TTextLines lines;
    os::TRetryResult result = LoadTextLinesRetrying(dir.File("f.txt"), lines, options);
    EXPECT_TRUE(result.Loaded);
    EXPECT_EQ(lines.Text(), "a\r\nb\r\n");
    EXPECT_EQ(pauses, 2);
    EXPECT_EQ(steps,
        (std::vector<os::TRetryStep> {os::TRetryStep::Opened, os::TRetryStep::LoadAttempted, os::TRetryStep::LoadPaused,
            os::TRetryStep::OpenAttempted}));
}

TEST(LoadTextLinesRetrying, StopRequestedDuringAPauseEndsTheLoad) {
    test::TTempDir dir;
    test::WriteFile(dir.File("f.txt"), "a\r\n");
    os::TRetryOptions options;
    options.Pause = [](int) { return false; };
    TTextLines lines;
    os::TRetryResult result = LoadTextLinesRetrying(dir.File("f.txt"), lines, options);
    EXPECT_TRUE(result.Stopped);
    EXPECT_EQ(result.OpenAttempts, 1);
}

TEST(LoadTextLinesRetrying, FileAboveTheSizeLimitIsNotLoaded) {
    test::TTempDir dir;
    test::WriteFile(dir.File("f.txt"), std::string(1000, 'x'));
    os::TRetryOptions options;
    options.PauseMs = 0;
    options.Limits.MaxTotalSize = 100;
    TTextLines lines;
    os::TRetryResult result = LoadTextLinesRetrying(dir.File("f.txt"), lines, options);
    EXPECT_FALSE(result.Loaded);
    EXPECT_EQ(result.Error, EFBIG);
    EXPECT_EQ(result.LoadAttempts, 1);
    EXPECT_TRUE(lines.Empty());
}

TEST(LoadTextLinesRetrying, FolderInPlaceOfTheFileIsNotRetried) {
    test::TTempDir dir;
    std::filesystem::create_directory(dir.File("FAHlog.txt"));
    int pauses = 0;
    TTextLines lines;
    EXPECT_FALSE(LoadTextLinesRetrying(dir.File("FAHlog.txt"), lines, CountingPauses(pauses)).Loaded);
    EXPECT_EQ(pauses, 0);
}

}
}

// Reading a node folder: file names without case, Windows paths, missing files and the retry hooks.
#include "app/nodes/NodeFiles.h"
#include "support/ClientFiles.h"

#include "platform/base/DateTime.h"
#include "platform/os/FileStream.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace korvex::app {
namespace {

const base::TDateTime FilesNow = base::EncodeDateTime(2024, 12, 6, 8, 0, 0, 0);

// A node folder with a running unit of 45 percent.
void WriteClientFiles(const std::string& folder, const std::string& logName = "FAHlog.txt",
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

TNodeReading ReadClientFolder(const std::string& folder) {
    int pauses = 0;
    return ReadNodeFolder(folder, FilesNow, FixedUtcOffset(0), CountingPauses(pauses));
}

TEST(ReadNodeFolder, ReadsTheClientFilesOfAFolder) {
    test::TTempDir dir;
    WriteClientFiles(dir.Path());
    TNodeReading r = ReadClientFolder(dir.Path());
    EXPECT_EQ(r.WUName, "p2605_Protein in water");
    EXPECT_EQ(r.RCG, "5-33-12");
    EXPECT_EQ(r.Progress, 45);
    EXPECT_EQ(r.Status, TNodeStatus::Running);
    EXPECT_EQ(r.TimePerPercent, "00:12:30");
    EXPECT_DOUBLE_EQ(r.Deadline, base::EncodeDateTime(2024, 12, 11, 20, 10, 9, 0));
}

TEST(ReadNodeFolder, FileNamesResolveWithoutCase) {
    test::TTempDir dir;
    WriteClientFiles(dir.Path(), "FAHLog.txt", "UnitInfo.TXT");
    TNodeReading r = ReadClientFolder(dir.Path());
    EXPECT_EQ(r.RCG, "5-33-12");
    EXPECT_EQ(r.Progress, 45);
}

TEST(ReadNodeFolder, UncPathFindsTheHostsShareUnderTheUncRoot) {
    test::TTempDir dir;
    WriteClientFiles(dir.Path() + "/box/fah");
    const char* old = std::getenv("KORVEX_UNC_ROOT");
    std::string saved = old ? old : "";
    ::setenv("KORVEX_UNC_ROOT", dir.Path().c_str(), 1);
    TNodeReading r = ReadClientFolder("\\\\box\\fah");
    if (old)
        ::setenv("KORVEX_UNC_ROOT", saved.c_str(), 1);
    else
        ::unsetenv("KORVEX_UNC_ROOT");
    EXPECT_EQ(r.Progress, 45);
}

TEST(ReadNodeFolder, MissingFolderGivesTheCycleStartValuesWithoutRetrying) {
    test::TTempDir dir;
    int pauses = 0;
    TNodeReading r = ReadNodeFolder(dir.Path() + "/gone", FilesNow, FixedUtcOffset(0), CountingPauses(pauses));
    EXPECT_EQ(r, TNodeReading());
    EXPECT_EQ(pauses, 0);
}

TEST(LoadTextLinesRetrying, AFileThatOpensAndLoadsAtOnceIsReadWithoutAPause) {
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
    EXPECT_EQ(pauses, 0);
    EXPECT_EQ(steps,
        (std::vector<os::TRetryStep> {os::TRetryStep::Opened, os::TRetryStep::Loaded, os::TRetryStep::LoadAttempted,
            os::TRetryStep::Closed, os::TRetryStep::OpenAttempted}));
}

TEST(ReadRetrying, PausesOnlyAfterAFailedLoad) {
    test::TTempDir dir;
    test::WriteFile(dir.File("f.txt"), "a");
    int pauses = 0;
    int loads = 0;
    std::vector<os::TRetryStep> steps;
    os::TRetryOptions options = CountingPauses(pauses);
    options.OnStep = [&steps](os::TRetryStep step) { steps.push_back(step); };
    os::TRetryResult result = os::ReadRetrying(
        dir.File("f.txt"),
        [&loads](os::TFileStream&, int& error) {
            error = EIO;
            return ++loads == 3;   // the client held it twice
        },
        options);
    EXPECT_TRUE(result.Loaded);
    EXPECT_EQ(result.LoadAttempts, 3);
    EXPECT_EQ(pauses, 2);
    using S = os::TRetryStep;
    EXPECT_EQ(steps,
        (std::vector<S> {S::Opened, S::LoadAttempted, S::LoadPaused, S::LoadAttempted, S::LoadPaused, S::Loaded,
            S::LoadAttempted, S::Closed, S::OpenAttempted}));
}

// Asked to, every open and load attempt is followed by a pause, successful or not; a missing file costs one pause
// unless it is retried.
TEST(ReadRetrying, PausesAfterEveryAttemptWhenAsked) {
    using S = os::TRetryStep;
    struct Case {
        const char* Name;
        bool Present;
        int FailedLoads;
        bool RetryMissing;
        int Pauses;
        int OpenAttempts;
        std::vector<S> Steps;
    } cases[] = {
        {"read at once", true, 0, false, 2, 1, {S::Opened, S::Loaded, S::LoadAttempted, S::LoadPaused, S::Closed,
                                                    S::OpenAttempted}},
        {"held once", true, 1, false, 3, 1,
            {S::Opened, S::LoadAttempted, S::LoadPaused, S::Loaded, S::LoadAttempted, S::LoadPaused, S::Closed,
                S::OpenAttempted}},
        {"missing", false, 0, false, 1, 1, {S::OpenAttempted}},
        {"missing, retried", false, 0, true, 3, 3, {S::OpenAttempted, S::OpenAttempted, S::OpenAttempted}},
    };
    for (const Case& c : cases) {
        test::TTempDir dir;
        if (c.Present) test::WriteFile(dir.File("f.txt"), "a");
        int pauses = 0;
        int loads = 0;
        std::vector<S> steps;
        os::TRetryOptions options = CountingPauses(pauses);
        options.Attempts = 3;
        options.PauseAfterEveryAttempt = true;
        options.RetryMissing = c.RetryMissing;
        options.OnStep = [&steps](S step) { steps.push_back(step); };
        const os::TRetryResult result = os::ReadRetrying(
            dir.File("f.txt"),
            [&](os::TFileStream&, int& error) {
                error = EIO;
                return ++loads > c.FailedLoads;
            },
            options);
        EXPECT_EQ(result.Loaded, c.Present) << c.Name;
        EXPECT_EQ(pauses, c.Pauses) << c.Name;
        EXPECT_EQ(result.OpenAttempts, c.OpenAttempts) << c.Name;
        EXPECT_EQ(steps, c.Steps) << c.Name;
    }
}

// The log is scanned right after the load that read it, before the pause that follows the load.
TEST(ReadClientLog, ScansBetweenTheLoadAndThePauseAfterIt) {
    test::TTempDir dir;
    WriteClientFiles(dir.Path());
    std::vector<std::string> events;
    os::TRetryOptions options;
    options.PauseAfterEveryAttempt = true;
    options.Pause = [&events](int) {
        events.push_back("pause");
        return true;
    };
    options.OnStep = [&events](os::TRetryStep step) {
        if (step == os::TRetryStep::LoadAttempted) events.push_back("load");
        if (step == os::TRetryStep::LoadPaused) events.push_back("paused");
    };
    TClientLogFollower follower;
    TNodeReading reading;
    ReadClientLog(follower, dir.Path(), FilesNow, FixedUtcOffset(0), options, reading, [&events](TLogScanStage stage) {
        if (stage == TLogScanStage::Version || stage == TLogScanStage::TimePerPercentDone)
            events.push_back(std::to_string(static_cast<int>(stage)));
    });
    EXPECT_EQ(events, (std::vector<std::string> {"load", "90", "99", "pause", "paused", "pause"}));
    EXPECT_EQ(reading.RCG, "5-33-12");
}

TEST(ReadRetrying, StopRequestedDuringAPauseEndsTheLoad) {
    test::TTempDir dir;
    test::WriteFile(dir.File("f.txt"), "a\r\n");
    os::TRetryOptions options;
    options.Pause = [](int) { return false; };
    os::TRetryResult result = os::ReadRetrying(
        dir.File("f.txt"),
        [](os::TFileStream&, int& error) {
            error = EIO;
            return false;
        },
        options);
    EXPECT_TRUE(result.Stopped);
    EXPECT_FALSE(result.Loaded);
    EXPECT_EQ(result.OpenAttempts, 1);
    EXPECT_EQ(result.LoadAttempts, 1);
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

// ---- Following a growing log ---------------------------------------------------------------------------------

// What a follower makes of the file now, and what a fresh one does.
struct TFollowed {
    TClientLogFollower::TScan Scan;
    TLogMarks Marks;
    TLogMarks Fresh;
    std::int64_t End;
};

TFollowed Follow(TClientLogFollower& follower, const std::string& path) {
    os::TFileStream stream;
    EXPECT_TRUE(stream.TryOpen(path, os::fmOpenRead | os::fmShareDenyNone)) << path;
    int error = 0;
    EXPECT_TRUE(follower.Read(stream, error)) << error;
    TClientLogFollower fresh;
    EXPECT_TRUE(fresh.Read(stream, error)) << error;
    return {follower.LastScan(), follower.Marks(), fresh.Marks(), follower.End()};
}

void Append(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << text;
    ASSERT_TRUE(out.good());
}

// Logs as clients write them, and the fuzz corpus's logs (the part before the unit-info file).
std::vector<std::string> FollowedLogs() {
    test::TClientLog steps;
    steps.ClientStart()
        .StepUnit("p2008_BBA5", "December 1 10:00:00", 1, 2, 3, 100, 60)
        .FinishAndSend("December 1 12:00:00");
    steps.StepUnit("p2605_Protein in water", "December 5 20:10:09", 5, 33, 12, 45, 750);
    test::TClientLog frames("10:00:00");
    frames.ClientStart().FrameUnit("p1160_L939", "January 3 10:00:00", 3, 7, 1, 5, 400, 180);
    std::vector<std::string> logs {steps.Text(), frames.Text()};
    for (const auto& entry : std::filesystem::directory_iterator(NODE_READING_CORPUS)) {
        const std::string text = test::ReadFileText(entry.path().string());
        logs.push_back(text.substr(0, text.find("\n@@unitinfo\n")));
    }
    return logs;
}

TEST(ClientLogFollower, AppendsAloneAreReadAndGiveWhatAFullReadingGives) {
    test::TTempDir dir;
    const std::string path = dir.File("FAHlog.txt");
    for (const std::string& log : FollowedLogs()) {
        // Cut everywhere: inside lines (a last line completed by the append), between CR and LF, at line ends.
        const std::size_t step = std::max<std::size_t>(1, log.size() / 150);
        for (std::size_t cut = 0; cut <= log.size(); cut += step) {
            test::WriteFile(path, log.substr(0, cut));
            TClientLogFollower follower;
            TFollowed before = Follow(follower, path);
            ASSERT_EQ(before.Scan, TClientLogFollower::TScan::Full);
            ASSERT_EQ(before.Marks, before.Fresh) << cut;
            // The rest in two appends, the second one byte.
            const std::size_t middle = cut + (log.size() - cut) / 2;
            for (std::size_t end : {middle, log.size() - std::min<std::size_t>(1, log.size() - cut), log.size()}) {
                Append(path, log.substr(static_cast<std::size_t>(follower.End()), end - follower.End()));
                TFollowed after = Follow(follower, path);
                ASSERT_EQ(after.Scan, TClientLogFollower::TScan::Appended) << cut;
                ASSERT_EQ(after.End, static_cast<std::int64_t>(end));
                ASSERT_EQ(after.Marks, after.Fresh) << "cut " << cut << " end " << end;
            }
            EXPECT_EQ(follower.Marks(), FindLogMarks(log));
        }
    }
}

TEST(ClientLogFollower, ALogReplacedCutOrRewrittenIsReadFromItsStart) {
    test::TClientLog log;
    log.ClientStart().StepUnit("p2605_Protein in water", "December 5 20:10:09", 5, 33, 12, 45, 750);
    const std::string text = log.Text();
    test::TClientLog other;
    other.ClientStart(false, "Other").FrameUnit("p1160_L939", "January 3 10:00:00", 3, 7, 1, 5, 400, 180);
    std::string otherText;
    while (otherText.size() <= text.size())
        otherText += other.Text();
    struct TCase {
        const char* Name;
        std::function<void(const std::string& path)> Change;
        TClientLogFollower::TScan Scan;
    };
    const TCase cases[] = {
        {"unchanged", [](const std::string&) {}, TClientLogFollower::TScan::Appended},
        {"rotated: a new file in its place",
            [&](const std::string& path) {
                std::filesystem::rename(path, path + ".old");
                test::WriteFile(path, text + "[06:00:00] Completed 46 out of 100 steps\r\n");
            },
            TClientLogFollower::TScan::Full},
        {"cut shorter", [&](const std::string& path) { std::filesystem::resize_file(path, text.size() / 2); },
            TClientLogFollower::TScan::Full},
        {"emptied and written again, longer",
            [&](const std::string& path) {
                std::filesystem::resize_file(path, 0);
                Append(path, otherText);
            },
            TClientLogFollower::TScan::Full},
        {"same size, its last byte changed",
            [&](const std::string& path) {
                std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
                file.seekp(static_cast<std::streamoff>(text.size() - 3));
                file.put('7');
            },
            TClientLogFollower::TScan::Full},
        {"its first byte changed and grown",
            [&](const std::string& path) {
                std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
                file.put('#');
                file.close();
                Append(path, "[06:00:00] Completed 46 out of 100 steps\r\n");
            },
            TClientLogFollower::TScan::Full},
    };
    for (const TCase& c : cases) {
        test::TTempDir dir;
        const std::string path = dir.File("FAHlog.txt");
        test::WriteFile(path, text);
        TClientLogFollower follower;
        Follow(follower, path);
        c.Change(path);
        TFollowed after = Follow(follower, path);
        EXPECT_EQ(after.Scan, c.Scan) << c.Name;
        EXPECT_EQ(after.Marks, after.Fresh) << c.Name;
        EXPECT_EQ(after.Marks, FindLogMarks(test::ReadFileText(path))) << c.Name;
    }
}

TEST(ClientLogFollower, AReadingOfAFolderFollowsItsLogFromCycleToCycle) {
    test::TTempDir dir;
    WriteClientFiles(dir.Path());
    TClientLogFollower follower;
    os::TRetryOptions options;
    options.Pause = [](int) { return true; };
    TNodeReading first;
    ReadClientLog(follower, dir.Path(), FilesNow, FixedUtcOffset(0), options, first);
    EXPECT_EQ(follower.LastScan(), TClientLogFollower::TScan::Full);
    Append(dir.File("FAHlog.txt"), "[05:45:16] Completed 46 out of 100 steps  (46%)\r\n");
    TNodeReading second;
    ReadClientLog(follower, dir.Path(), FilesNow, FixedUtcOffset(0), options, second);
    EXPECT_EQ(follower.LastScan(), TClientLogFollower::TScan::Appended);
    ReadUnitInfo(dir.Path(), FilesNow, FixedUtcOffset(0), options, second);
    EXPECT_EQ(second, ReadClientFolder(dir.Path()));
    EXPECT_DOUBLE_EQ(second.LastStepTime, base::EncodeDateTime(2024, 12, 6, 5, 45, 16, 0));
}


// The first line of a folder's file opened through kept names, or "" when it does not open.
std::string FirstLineThroughNames(TNodeFileNames& names, const std::string& path) {
    os::TFileStream stream;
    if (!names.Open(stream, path, os::fmOpenRead | os::fmShareDenyNone)) return "";
    char buffer[64] = {};
    const std::int64_t got = stream.Read(buffer, sizeof buffer - 1);
    return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : "";
}

// A name found without case is opened again while it opens, even when a file of the exact name comes beside it;
// once it no longer opens the folder is searched again, and a file that comes back under another case is found.
TEST(NodeFileNames, ANameFoundWithoutCaseIsKeptWhileItOpens) {
    test::TTempDir dir;
    const std::string path = dir.Path() + "\\FAHlog.txt";
    TNodeFileNames names;
    EXPECT_EQ(FirstLineThroughNames(names, path), "");   // none yet
    test::WriteFile(dir.File("fahlog.TXT"), "lower");
    EXPECT_EQ(FirstLineThroughNames(names, path), "lower");
    test::WriteFile(dir.File("FAHlog.txt"), "exact");
    EXPECT_EQ(FirstLineThroughNames(names, path), "lower");   // kept
    std::filesystem::remove(dir.File("fahlog.TXT"));
    EXPECT_EQ(FirstLineThroughNames(names, path), "exact");   // searched again
    std::filesystem::rename(dir.File("FAHlog.txt"), dir.File("FAHLOG.TXT"));
    EXPECT_EQ(FirstLineThroughNames(names, path), "exact");
    std::filesystem::remove(dir.File("FAHLOG.TXT"));
    EXPECT_EQ(FirstLineThroughNames(names, path), "");
    // Each name given is kept apart.
    test::WriteFile(dir.File("UNITINFO.txt"), "unit");
    EXPECT_EQ(FirstLineThroughNames(names, dir.Path() + "/unitinfo.txt"), "unit");
    EXPECT_EQ(FirstLineThroughNames(names, path), "");
}

// The status of a file through its kept name: the file it opened under, another one once that is gone.
TEST(NodeFileNames, TheStatusOfAFileFollowsItsKeptName) {
    test::TTempDir dir;
    const std::string path = dir.Path() + "/FAHlog.txt";
    TNodeFileNames names;
    EXPECT_FALSE(names.Identity(path).Exists);
    test::WriteFile(dir.File("FAHLOG.txt"), "12345");
    EXPECT_EQ(FirstLineThroughNames(names, path), "12345");
    EXPECT_EQ(names.Identity(path), os::IdentityOfPath(dir.File("FAHLOG.txt")));
    test::WriteFile(dir.File("FAHlog.txt"), "1234567");
    EXPECT_EQ(names.Identity(path).Size, 5);   // still the kept one
    std::filesystem::remove(dir.File("FAHLOG.txt"));
    EXPECT_EQ(names.Identity(path).Size, 7);
}

// Whether the log is still as read: the same file and size only; a grown, replaced or missing log has changed.
TEST(ClientLogFollower, TheLogIsUnchangedOnlyAsTheSameFileOfTheSizeRead) {
    test::TTempDir dir;
    WriteClientFiles(dir.Path());
    const std::string log = dir.File("FAHlog.txt");
    TClientLogFollower follower;
    EXPECT_TRUE(follower.Unchanged(os::FileIdentity {}));   // nothing read yet
    os::TRetryOptions options;
    options.Pause = [](int) { return true; };
    TNodeReading reading;
    ReadClientLog(follower, dir.Path(), FilesNow, FixedUtcOffset(0), options, reading);
    EXPECT_TRUE(follower.Unchanged(os::IdentityOfPath(log)));
    Append(log, "[05:45:16] Completed 46 out of 100 steps  (46%)\r\n");
    EXPECT_FALSE(follower.Unchanged(os::IdentityOfPath(log)));
    ReadClientLog(follower, dir.Path(), FilesNow, FixedUtcOffset(0), options, reading);
    EXPECT_TRUE(follower.Unchanged(os::IdentityOfPath(log)));
    test::WriteFile(log + ".new", test::ReadFileText(log));   // as long, but another file
    std::filesystem::rename(log + ".new", log);
    EXPECT_FALSE(follower.Unchanged(os::IdentityOfPath(log)));
    std::filesystem::remove(log);
    EXPECT_FALSE(follower.Unchanged(os::IdentityOfPath(log)));
}

// Whether the log only grew by lines without given keys: the appended lines are looked at, with the start of a
// line the last read ended inside; a file that is another one, or not only grown, is no such log.
TEST(ClientLogFollower, GrewWithoutLooksAtTheLinesAppendedSinceTheRead) {
    struct TCase {
        const char* Label;
        std::function<void(const std::string& log)> Change;
        bool Without;
    };
    const std::vector<TCase> cases = {
        {"unchanged", [](const std::string&) {}, true},
        {"a step appended",
            [](const std::string& log) { Append(log, "[05:45:16] Completed 46 out of 100 steps  (46%)\r\n"); }, true},
        {"a unit's name appended",
            [](const std::string& log) { Append(log, "[05:45:16] Protein: p2669_Next unit\r\n"); }, false},
        {"a line begun, no key in it yet",
            [](const std::string& log) {
                Append(log, "[05:45:16] Project: 2669 (Run 7, Cl");   // read so far
            },
            true},
        {"rewritten as another file",
            [](const std::string& log) {
                test::WriteFile(log + ".new", test::ReadFileText(log) + "x\r\n");
                std::filesystem::rename(log + ".new", log);
            },
            false},
        {"cut shorter", [](const std::string& log) { std::filesystem::resize_file(log, 100); }, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label);
        test::TTempDir dir;
        WriteClientFiles(dir.Path());
        const std::string log = dir.File("FAHlog.txt");
        TClientLogFollower follower;
        os::TRetryOptions options;
        options.Pause = [](int) { return true; };
        TNodeReading reading;
        os::TFileStream before;
        ASSERT_TRUE(before.TryOpen(log, options.Mode));
        EXPECT_FALSE(follower.GrewWithout(before, {"Clone"}));   // nothing read yet
        ReadClientLog(follower, dir.Path(), FilesNow, FixedUtcOffset(0), options, reading);
        c.Change(log);
        os::TFileStream stream;
        ASSERT_TRUE(stream.TryOpen(log, options.Mode));
        EXPECT_EQ(follower.GrewWithout(stream, {"Protein:", "Clone"}), c.Without);
    }
    // A line the read ended inside is looked at whole once it is finished.
    test::TTempDir dir;
    WriteClientFiles(dir.Path());
    const std::string log = dir.File("FAHlog.txt");
    Append(log, "[05:45:16] Project: 2669 (Run 7, Cl");
    TClientLogFollower follower;
    os::TRetryOptions options;
    options.Pause = [](int) { return true; };
    TNodeReading reading;
    ReadClientLog(follower, dir.Path(), FilesNow, FixedUtcOffset(0), options, reading);
    Append(log, "one 33, Gen 12)\r\n");
    os::TFileStream stream;
    ASSERT_TRUE(stream.TryOpen(log, options.Mode));
    EXPECT_FALSE(follower.GrewWithout(stream, {"Clone"}));
    EXPECT_TRUE(follower.GrewWithout(stream, {"Protein:"}));
}

}
}

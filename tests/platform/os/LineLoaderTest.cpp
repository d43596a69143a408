// Tests of loading files as lines and of the retrying load of a file another program holds.
#include "platform/os/LineLoader.h"
#include "support/TempFolder.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvex::os;
using korvex::os::filetest::TempFolder;
using korvex::os::filetest::WriteFile;

using Lines = std::vector<std::string>;

struct SplitCase {
    std::string Content;
    Lines Expected;
};

class LineEndings : public testing::TestWithParam<SplitCase> { };

TEST_P(LineEndings, SplitLikeTheRunTimesStringList) {
    TempFolder tmp;
    WriteFile(tmp / "f", GetParam().Content);
    Lines lines {"stale"};
    LoadLines(tmp / "f", lines);
    EXPECT_EQ(lines, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(LineLoader, LineEndings,
    testing::Values(SplitCase {"", {}}, SplitCase {"a\r\nb\r\n", {"a", "b"}}, SplitCase {"a\nb\n", {"a", "b"}},
        SplitCase {"a\rb\r", {"a", "b"}}, SplitCase {"a\r\nb", {"a", "b"}}, SplitCase {"a\n\nb", {"a", "", "b"}},
        SplitCase {"\r\n", {""}}, SplitCase {"\n\r", {"", ""}}, SplitCase {"a\r\r\nb", {"a", "", "b"}},
        SplitCase {"x\n\r\n\ry", {"x", "", "", "y"}},
        SplitCase {std::string("a\0b\nc\0", 6), {std::string("a\0b", 3), std::string("c\0", 2)}},
        SplitCase {"\xff\xfe\x80\n", {"\xff\xfe\x80"}}));

TEST(LoadLines, PairsACrLfSplitAcrossReadBlocks) {
    TempFolder tmp;
    std::string content(1 << 20, 'a');   // one block exactly
    content[content.size() - 1] = '\r';
    content += "\nnext";
    WriteFile(tmp / "f", content);
    Lines lines;
    LoadLines(tmp / "f", lines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), (1u << 20) - 1);
    EXPECT_EQ(lines[1], "next");
}

TEST(LoadLines, CutsHugeLinesAtTheLimitAndKeepsTheFollowingLines) {
    TempFolder tmp;
    std::string huge(3 * (1 << 20) + 5, 'x');
    WriteFile(tmp / "f", "first\n" + huge + "\nlast");
    Lines lines;
    LoadLines(tmp / "f", lines);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].size(), std::size_t(1) << 20);
    EXPECT_EQ(lines[2], "last");

    TLineLimits limits;
    limits.MaxLineLength = 4;
    LoadLines(tmp / "f", lines, limits);
    EXPECT_EQ(lines, (Lines {"firs", "xxxx", "last"}));
}

TEST(LoadLines, RefusesAFileLargerThanTheTotalLimit) {
    TempFolder tmp;
    WriteFile(tmp / "f", "0123456789\n0123456789\n");
    TLineLimits limits;
    limits.MaxTotalSize = 15;
    Lines lines {"stale"};
    int error = 0;
    EXPECT_FALSE(TryLoadLines(tmp / "f", lines, &error, limits));
    EXPECT_EQ(error, EFBIG);
    EXPECT_TRUE(lines.empty());
    EXPECT_THROW(LoadLines(tmp / "f", lines, limits), EReadError);
}

TEST(LoadLines, ReadsAManyLineFileCompletely) {
    TempFolder tmp;
    std::string content;
    for (int i = 0; i < 50000; ++i)
        content += "[12:00:00] Completed " + std::to_string(i) + " out of 250000 steps\r\n";
    WriteFile(tmp / "FAHlog.txt", content);
    Lines lines;
    LoadLines(tmp / "fahlog.TXT", lines);
    ASSERT_EQ(lines.size(), 50000u);
    EXPECT_EQ(lines.back(), "[12:00:00] Completed 49999 out of 250000 steps");
}

TEST(LoadLines, RaisesEFOpenErrorForAMissingFile) {
    TempFolder tmp;
    Lines lines;
    EXPECT_THROW(LoadLines(tmp / "missing", lines), EFOpenError);
    int error = 0;
    EXPECT_FALSE(TryLoadLines(tmp / "missing", lines, &error));
    EXPECT_EQ(error, ENOENT);
}

namespace {

// Records the pauses instead of sleeping; can run an action at a given pause.
struct FakePause {
    std::vector<int> Pauses;
    int StopAt = -1;
    std::function<void(int)> Action;
    TRetryOptions Options() {
        TRetryOptions options;
        options.Pause = [this](int ms) {
            Pauses.push_back(ms);
            int n = static_cast<int>(Pauses.size());
            if (Action) Action(n);
            return n != StopAt;
        };
        return options;
    }
};

}

TEST(LoadLinesRetrying, DoesNotPauseWhenAllGoesWell) {
    TempFolder tmp;
    WriteFile(tmp / "unitinfo.txt", "a\r\nb\r\n");
    FakePause fake;
    std::vector<TRetryStep> steps;
    TRetryOptions options = fake.Options();
    options.OnStep = [&](TRetryStep s) { steps.push_back(s); };
    Lines lines;
    TRetryResult r = LoadLinesRetrying(tmp / "unitinfo.txt", lines, options);
    EXPECT_TRUE(r.Loaded);
    EXPECT_EQ(lines, (Lines {"a", "b"}));
    EXPECT_EQ(r.OpenAttempts, 1);
    EXPECT_EQ(r.LoadAttempts, 1);
    EXPECT_TRUE(fake.Pauses.empty());
    EXPECT_EQ(
        steps, (std::vector<TRetryStep> {TRetryStep::Opened, TRetryStep::Loaded, TRetryStep::LoadAttempted,
                   TRetryStep::Closed, TRetryStep::OpenAttempted}));
}

TEST(LoadLinesRetrying, RetriesWhileTheFileCannotBeOpenedAndLoadsWhenItCan) {
    TempFolder tmp;
    std::string path = tmp / "FAHlog.txt";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);   // something that does not open as a file: the client holds it
    FakePause fake;
    fake.Action = [&](int n) {
        if (n == 3) {
            std::filesystem::remove(path);
            WriteFile(path, "[01:02:03] Completed 10 out of 100 steps\n");
        }
    };
    Lines lines;
    TRetryResult r = LoadLinesRetrying(tmp / "FAHLog.txt", lines, fake.Options());
    EXPECT_TRUE(r.Loaded);
    EXPECT_EQ(r.OpenAttempts, 4);
    EXPECT_EQ(lines.size(), 1u);
    EXPECT_EQ(fake.Pauses.size(), 3u);   // after the three failed opens only
}

TEST(LoadLinesRetrying, GivesUpAfterTheAttemptsWithNoLines) {
    TempFolder tmp;
    std::string path = tmp / "FAHlog.txt";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    FakePause fake;
    Lines lines {"stale"};
    TRetryResult r = LoadLinesRetrying(path, lines, fake.Options());
    EXPECT_FALSE(r.Loaded);
    EXPECT_EQ(r.OpenAttempts, 20);
    EXPECT_EQ(fake.Pauses.size(), 20u);
    EXPECT_TRUE(lines.empty());
    EXPECT_NE(r.Error, 0);
}

TEST(LoadLinesRetrying, DoesNotRetryAMissingFileUnlessAskedTo) {
    TempFolder tmp;
    FakePause fake;
    Lines lines;
    TRetryResult r = LoadLinesRetrying(tmp / "unitinfo.txt", lines, fake.Options());
    EXPECT_FALSE(r.Loaded);
    EXPECT_EQ(r.OpenAttempts, 1);
    EXPECT_EQ(r.Error, ENOENT);
    EXPECT_TRUE(fake.Pauses.empty());

    FakePause patient;
    patient.Action = [&](int n) {
        if (n == 2) WriteFile(tmp / "unitinfo.txt", "x");
    };
    TRetryOptions options = patient.Options();
    options.RetryMissing = true;
    options.Attempts = 5;
    options.PauseMs = 10;
    r = LoadLinesRetrying(tmp / "unitinfo.txt", lines, options);
    EXPECT_TRUE(r.Loaded);
    EXPECT_EQ(r.OpenAttempts, 3);
    EXPECT_EQ(patient.Pauses.front(), 10);
}

TEST(LoadLinesRetrying, StopsAtOnceWhenThePauseIsInterrupted) {
    TempFolder tmp;
    std::string path = tmp / "FAHlog.txt";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    FakePause fake;
    fake.StopAt = 2;
    Lines lines;
    TRetryResult r = LoadLinesRetrying(path, lines, fake.Options());
    EXPECT_TRUE(r.Stopped);
    EXPECT_FALSE(r.Loaded);
    EXPECT_EQ(r.OpenAttempts, 2);
    EXPECT_EQ(fake.Pauses.size(), 2u);
}

TEST(LoadLinesRetrying, DoesNotRetryAFileOverTheSizeLimit) {
    TempFolder tmp;
    WriteFile(tmp / "f", "0123456789");
    FakePause fake;
    TRetryOptions options = fake.Options();
    options.Limits.MaxTotalSize = 5;
    Lines lines;
    TRetryResult r = LoadLinesRetrying(tmp / "f", lines, options);
    EXPECT_FALSE(r.Loaded);
    EXPECT_EQ(r.Error, EFBIG);
    EXPECT_EQ(r.LoadAttempts, 1);
    EXPECT_EQ(r.OpenAttempts, 1);
}

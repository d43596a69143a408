// Reading the end of a log within a byte budget: where the first whole line starts, files smaller and larger
// than the budget, line ends split by the cut, a line longer than the budget, a missing file.
#include "app/nodes/LogTail.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>

namespace korvex::app {
namespace {

using os::filetest::TempFolder;
using os::filetest::WriteFile;

os::TRetryOptions NoPause() {
    os::TRetryOptions options;
    options.Attempts = 2;
    options.Pause = [](int) { return true; };
    return options;
}

TEST(FirstLineStart, SkipsThePartOfALineCutByTheBudget) {
    struct Case {
        int Before;
        std::string Text;
        std::size_t Start;
    };
    const Case cases[] = {
        {-1, "partial\nnext", 0},   // the file's start
        {'\n', "whole\nnext", 0},
        {'\r', "\nnext", 1},   // a CR LF split by the cut
        {'\r', "next", 0},   // a lone CR ended the line before
        {'x', "tail of a line\r\nnext", 16},
        {'x', "tail of a line\rnext", 15},
        {'x', "tail of a line\nnext", 15},
        {'x', "no line end at all", 0},
        {'x', "ends here\r", 10},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FirstLineStart(c.Before, c.Text), c.Start) << c.Text;
}

TEST(LoadLogTail, GivesTheWholeFileWithinTheBudgetAndItsLastLinesBeyondIt) {
    TempFolder folder;
    const std::string path = folder / "FAHlog.txt";
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += "[12:00:00] line " + std::to_string(i) + "\r\n";
    WriteFile(path, text);

    TLogTail whole = LoadLogTail(path, text.size(), NoPause());
    EXPECT_TRUE(whole.Loaded);
    EXPECT_FALSE(whole.Cut);
    EXPECT_EQ(whole.Text, text);

    for (std::size_t budget : {std::size_t(100), std::size_t(1000), std::size_t(4097)}) {
        TLogTail tail = LoadLogTail(path, budget, NoPause());
        ASSERT_TRUE(tail.Loaded);
        EXPECT_TRUE(tail.Cut);
        EXPECT_LE(tail.Text.size(), budget);
        EXPECT_EQ(text.compare(text.size() - tail.Text.size(), tail.Text.size(), tail.Text), 0);
        EXPECT_EQ(tail.Text.rfind("[12:00:00] line ", 0), 0u) << "begins with a whole line: " << tail.Text.substr(0, 20);
        EXPECT_GT(tail.Text.size() + 40, budget);   // no more than a line less than the budget
    }
    // The cut falls between CR and LF: the line after it is the first.
    const std::size_t crlf = text.rfind("\r\n", text.size() - 3);
    TLogTail split = LoadLogTail(path, text.size() - crlf - 1, NoPause());
    EXPECT_EQ(split.Text, text.substr(crlf + 2));
}

TEST(LoadLogTail, KeepsTheEndOfALineLongerThanTheBudgetAndLeavesAMissingFileUnloaded) {
    TempFolder folder;
    const std::string path = folder / "FAHlog.txt";
    WriteFile(path, "first\n" + std::string(5000, 'x') + "END");
    TLogTail tail = LoadLogTail(path, 100, NoPause());
    ASSERT_TRUE(tail.Loaded);
    EXPECT_EQ(tail.Text, std::string(97, 'x') + "END");

    int pauses = 0;
    os::TRetryOptions options = NoPause();
    options.Pause = [&](int) { return ++pauses, true; };
    EXPECT_FALSE(LoadLogTail(folder / "missing.txt", 100, options).Loaded);
    EXPECT_EQ(pauses, 0);   // nobody holds a missing file: it is not tried again
}


// The reader in pieces gives what LoadLogTail gives at once: the whole file, the last lines within a budget, a
// stretch without line ends kept to its end; no piece larger than PieceBytes.
TEST(TLogTailReader, ReadsInPiecesWhatLoadLogTailGivesAtOnce) {
    TempFolder folder;
    const std::string path = folder / "FAHlog.txt";
    std::string text;
    for (int i = 0; text.size() < (std::size_t(10) << 20); ++i)
        text += "[12:00:00] line " + std::to_string(i) + "\r\n";
    text += std::string(std::size_t(5) << 20, 'x') + "\r\nend";
    WriteFile(path, text);
    const std::size_t budgets[] = {text.size(), text.size() - 1, std::size_t(9) << 20, std::size_t(3) << 20, 100};
    for (std::size_t budget : budgets) {
        SCOPED_TRACE(budget);
        TLogTailReader reader;
        ASSERT_TRUE(reader.Open(path, budget, NoPause()));
        std::size_t read = 0;
        int steps = 0;
        while (!reader.Step(std::chrono::nanoseconds(0))) {
            ASSERT_GT(reader.ReadBytes(), read);
            EXPECT_LE(reader.ReadBytes() - read, TLogTailReader::PieceBytes);
            read = reader.ReadBytes();
            ASSERT_LT(++steps, 100);
        }
        EXPECT_LE(reader.ReadBytes() - read, TLogTailReader::PieceBytes);
        const std::size_t start = reader.LinesStart();
        const std::string all = reader.TakeText();
        const TLogTail tail = LoadLogTail(path, budget, NoPause());
        ASSERT_TRUE(tail.Loaded);
        EXPECT_TRUE(all.substr(start) == tail.Text) << all.size() - start << " bytes, not " << tail.Text.size();
    }
    TLogTailReader missing;
    EXPECT_FALSE(missing.Open(folder / "missing.txt", 100, NoPause()));
    EXPECT_TRUE(missing.Step(std::chrono::nanoseconds(0)));
}

}
}

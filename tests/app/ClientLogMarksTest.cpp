// The log's marks fed in pieces: after every piece they are those of one pass over what was fed, however the
// log is cut (inside a keyword, between a CR and its LF, inside a line of any length), and their memory stays
// bounded whatever the log holds.
#include "app/nodes/ClientLogMarks.h"
#include "app/nodes/NodeReading.h"
#include "support/ClientFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace korvex::app {
namespace {

// Feeds the text cut at the given points and checks the marks at each cut against one pass over that prefix.
void ExpectPiecesGiveTheWholePass(const std::string& text, std::vector<std::size_t> cuts, const std::string& what) {
    std::sort(cuts.begin(), cuts.end());
    cuts.push_back(text.size());
    TLogMarkScanner scanner;
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        if (cut < from) continue;
        scanner.Feed(std::string_view(text).substr(from, cut - from));
        from = cut;
        ASSERT_EQ(scanner.Marks(), FindLogMarks(std::string_view(text).substr(0, cut))) << what << " cut at " << cut;
    }
    EXPECT_EQ(scanner.Bytes(), text.size());
}

// A client's log: a finished unit, a step unit and a frame unit, with the lines that decide the status.
std::string ClientLikeLog() {
    test::TClientLog log;
    log.ClientStart()
        .StepUnit("p2008_BBA5", "December 1 10:00:00", 1, 2, 3, 100, 60)
        .FinishAndSend("December 1 12:00:00")
        .StepUnit("p2605_Protein in water", "December 5 20:10:09", 5, 33, 12, 45, 750)
        .FinishAndSend("December 5 22:00:00")
        .FrameUnit("p1160_L939", "December 6 01:00:00", 3, 7, 1, 5, 400, 180);
    log.Line("Error: Attempt #1 to get work failed").Line("+ Service stop").Line("Client Shutdown.");
    return log.Text();
}

TEST(LogMarkScanner, AClientsLogCutAtEveryByteGivesTheWholePassAtEachCut) {
    const std::string text = ClientLikeLog();
    for (std::size_t cut = 0; cut <= text.size(); cut += 3)
        ExpectPiecesGiveTheWholePass(text, {cut}, "client log");
}

TEST(LogMarkScanner, CutsInsideKeywordsLineEndsAndLongLinesGiveTheWholePass) {
    const std::string longLine(3 * MaxKeptLineBytes + 7, 'x');
    const std::string cases[] = {
        "\r\nLoaded queue successfully\r\n[1] Results successfully sent\r\n] Completed 3\r\n",
        "a\r\rb\r\n\n\rFrames Completed: 1, Remaining: 399\rFinished a frame (1)\r",
        longLine + "Clone 1 Run 2 Gen 3)\r\n" + longLine + "Working on [May 1 10:00:00]\r\nProtein: " + longLine
            + "\nCompleted 0 out\n",
        "Version 5\r\n" + longLine + "Error: Attempt",
    };
    for (const std::string& text : cases) {
        for (std::size_t a = 0; a <= text.size(); ++a)
            ExpectPiecesGiveTheWholePass(text, {a}, text.substr(0, 40));
        for (std::size_t a = 0; a <= text.size(); a += 13)
            for (std::size_t b = a; b <= text.size(); b += 37)
                ExpectPiecesGiveTheWholePass(text, {a, b, b + 1}, text.substr(0, 40));
    }
}

// Random logs of keywords, line ends and other bytes, cut at random points many times.
TEST(LogMarkScanner, RandomLogsCutAtRandomPointsGiveTheWholePass) {
    static const std::vector<std::string> pieces = {"Completed ", "Completed 0 out", "] Completed ", "Completed",
        "Clone", "Run", "Gen", "(", ")", "Working on", "[May 1 10:00:00]", "[", "]", "Protein: p1", "Protein: p2",
        "System: p1", "User name: x (Team 5)", "Frames Completed: 4", "Remaining: 3", "Finished a frame (1)",
        "Finished a frame", "Loaded queue successfully", "Results successfully sent", "Error: Attempt", "Version",
        "Core required:", "Service stop", "Client Shutdown.", "[10:00:00] ", "\r\n", "\n", "\r", std::string(1, '\0')};
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const std::size_t size = random() % 3000;
        while (text.size() < size)
            text += random() % 3 == 0 ? std::string(1, static_cast<char>(random())) : pieces[random() % pieces.size()];
        std::vector<std::size_t> cuts(random() % 8);
        for (std::size_t& cut : cuts)
            cut = text.empty() ? 0 : random() % (text.size() + 1);
        ExpectPiecesGiveTheWholePass(text, cuts, "round " + std::to_string(round));
    }
}

TEST(LogMarkScanner, KeptTextsAndUnitStartsStayBoundedWhateverTheLogHolds) {
    const std::string huge(5 << 20, 'y');
    TLogMarkScanner scanner;
    scanner.Feed("[10:00:00] Project: 1 (Run 1, Clone 2, Gen 3) " + huge + "\r\n");
    for (int unit = 0; unit < 2000; ++unit)
        scanner.Feed(test::Cat("[10:00:00] Working on Unit 01 [May 1 10:00:00]\r\n[10:00:01] Protein: p",
            std::to_string(unit), "\r\n[10:00:02] Completed 0 out of 100 steps\r\n"));
    scanner.Feed("[10:00:03] Version " + huge);
    const TLogMarks marks = scanner.Marks();
    EXPECT_EQ(marks.Clone.Text.size(), MaxKeptLineBytes);
    EXPECT_EQ(marks.Version.Text.size(), MaxKeptLineBytes);
    EXPECT_EQ(marks.UnitStarts.size(), MaxUnitStarts);
    EXPECT_EQ(marks.UnitStarts.back().Name, "p1999");
    EXPECT_EQ(marks.UnitStarts.back().StartText, "May 1 10:00:00");
    EXPECT_EQ(marks.LastLine, 1 + 3 * 2000);
}

}
}

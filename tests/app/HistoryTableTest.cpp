// The history window's rows: fields cut from history lines, totals, sorting by a column and search.
#include "app/views/HistoryTable.h"
#include "app/nodes/WorkUnitHistory.h"
#include "support/ClientFiles.h"

#include <gtest/gtest.h>

#include <fstream>

namespace korvex::app {
namespace {

THistoryRow Row(std::string index, std::string date, std::string name, std::string rcg, std::string points,
    std::string node, std::string speed) {
    return {index, date, name, rcg, points, node, speed};
}

TEST(ParseHistoryRecord, CutsTheFieldsAtTheFirstMarks) {
    struct Case {
        const char* line;
        THistoryRow expected;
    };
    const Case cases[] = {
        {"[05.12.2024 20:10:15] p2605_Protein*5-33-12#120=Local host",
            Row("1", "05.12.2024 20:10:15", "p2605_Protein", "5-33-12", "120", "Local host", "")},
        {"[05.12.2024 20:10:15] p2605_Protein*5-33-12#120=box@45.25",
            Row("1", "05.12.2024 20:10:15", "p2605_Protein", "5-33-12", "120", "box", "45.25")},
        {"[05.12.2024 20:10:15] p1*1-2-3#7=box@0", Row("1", "05.12.2024 20:10:15", "p1", "1-2-3", "7", "box", "0")},
        // A field holding a mark is written encoded and shown as it was.
        {"[05.12.2024 20:10:15] a%2Ab*1-2#9=n%40x@3",
            Row("1", "05.12.2024 20:10:15", "a*b", "1-2", "9", "n@x", "3")},
        {"", Row("1", "", "", "", "", "", "")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseHistoryRecord(c.line, 1), c.expected) << c.line;
}

TEST(ParseHistoryRecord, AMissingMarkShiftsOnlyThatLinesFields) {
    // No "]": the date is empty and the name starts at the second character.
    const THistoryRow row = ParseHistoryRecord("[05.12 p1*1-2#7=box", 4);
    EXPECT_EQ(row[hcIndex], "4");
    EXPECT_EQ(row[hcDate], "");
    EXPECT_EQ(row[hcName], "05.12 p1");
    EXPECT_EQ(row[hcNode], "box");
    // No "=": points and node take what the positions give, nothing crashes.
    const THistoryRow noEqual = ParseHistoryRecord("[d] n*r#12", 1);
    EXPECT_EQ(noEqual[hcRunCloneGen], "r");
    EXPECT_EQ(noEqual[hcPoints], "");
}

class ReadHistoryTest : public testing::Test {
protected:
    void Write(const std::string& text) { std::ofstream(dir.File(HistoryFileName), std::ios::binary) << text; }
    std::string Path() const { return dir.File(HistoryFileName); }
    test::TTempDir dir;
};

TEST_F(ReadHistoryTest, NumbersEveryLineFromOne) {
    Write("[d1] a*1-1-1#10=n1\r\n[d2] b*2-2-2#20=n2@1.5\r\n[d3] c*3-3-3#x=n3\r\n");
    const std::vector<THistoryRow> rows = ReadHistory(Path());
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], Row("1", "d1", "a", "1-1-1", "10", "n1", ""));
    EXPECT_EQ(rows[1], Row("2", "d2", "b", "2-2-2", "20", "n2", "1.5"));
    EXPECT_EQ(rows[2][hcIndex], "3");
    EXPECT_EQ(HistoryPointsTotal(rows), 30);   // "x" counts 0
}

TEST_F(ReadHistoryTest, EveryBlankLineIsARowOfItsOwnWithEmptyFields) {
    Write("\r\n[d1] a*1-1-1#10=n1\n\n  \r\r\n[d2] b*2-2-2#20=n2\r\n\t\n");
    const std::vector<THistoryRow> rows = ReadHistory(Path());
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], Row("1", "", "", "", "", "", ""));
    EXPECT_EQ(rows[1], Row("2", "d1", "a", "1-1-1", "10", "n1", ""));
    EXPECT_EQ(rows[2], Row("3", "", "", "", "", "", ""));
    EXPECT_EQ(rows[3], Row("4", "", "", "", "", "  ", ""));   // no "=": the node is the whole line
    EXPECT_EQ(rows[4], Row("5", "", "", "", "", "", ""));
    EXPECT_EQ(rows[5], Row("6", "d2", "b", "2-2-2", "20", "n2", ""));
    EXPECT_EQ(rows[6], Row("7", "", "", "", "", "\t", ""));
    EXPECT_EQ(HistoryPointsTotal(rows), 30);
}

TEST_F(ReadHistoryTest, AFileLongerThanTheRowsKeptGivesItsLastLinesAndCountsTheWhole) {
    Write("[d1] a*1-1-1#10=n1\r\n\n[d3] c*3-3-3#30=n3\r\n\r\n[d5] e*5-5-5#50=n5\r\n\n\n");
    struct Case {
        std::size_t Keep;
        std::vector<std::string> Numbers;   // of the rows kept
    };
    const Case cases[] = {
        {100, {"1", "2", "3", "4", "5", "6", "7"}},
        {7, {"1", "2", "3", "4", "5", "6", "7"}},
        {6, {"2", "3", "4", "5", "6", "7"}},
        {3, {"5", "6", "7"}},
        {1, {"7"}},
    };
    for (const Case& c : cases) {
        const THistoryRead read = ReadHistoryTail(Path(), c.Keep);
        std::vector<std::string> numbers;
        for (const THistoryRow& row : read.Rows)
            numbers.push_back(row[hcIndex]);
        EXPECT_EQ(numbers, c.Numbers) << c.Keep;
        EXPECT_EQ(read.Lines, 7);
        EXPECT_EQ(read.PointsTotal, 90);
    }
    const THistoryRead three = ReadHistoryTail(Path(), 3);
    EXPECT_EQ(three.Rows[0], Row("5", "d5", "e", "5-5-5", "50", "n5", ""));
    EXPECT_EQ(three.Rows[1], Row("6", "", "", "", "", "", ""));
    EXPECT_EQ(ReadHistoryTail(Path() + ".missing", 3).Lines, 0);
}

TEST_F(ReadHistoryTest, AMissingOrEmptyFileGivesNoRowsAndZeroPoints) {
    EXPECT_TRUE(ReadHistory(Path()).empty());
    Write("");
    EXPECT_TRUE(ReadHistory(Path()).empty());
    EXPECT_EQ(HistoryPointsTotal({}), 0);
}

TEST_F(ReadHistoryTest, ReadsTheLinesTheWriterAppends) {
    TWorkUnitHistory history(dir.Path());
    ASSERT_TRUE(history.SaveWU("p2605_Protein", "5-33-12", 120, "rack=2@top"));
    ASSERT_TRUE(history.ReSaveWU("p2605_Protein", "5-33-12", 12.5));
    ASSERT_TRUE(history.Flush());
    const std::vector<THistoryRow> rows = ReadHistory(Path());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][hcNode], "rack=2@top");
    EXPECT_EQ(rows[0][hcSpeed], "12.50");
}

TEST(HistoryPointsTotal, SumsBeyondTheIntegerRange) {
    std::vector<THistoryRow> rows(3, Row("", "", "", "", "2000000000", "", ""));
    rows.push_back(Row("", "", "", "", "-5", "", ""));
    rows.push_back(Row("", "", "", "", " 12abc", "", ""));
    EXPECT_EQ(HistoryPointsTotal(rows), 5999999995LL);
}

std::vector<std::string> Column(const std::vector<THistoryRow>& rows, int column) {
    std::vector<std::string> out;
    for (const THistoryRow& row : rows)
        out.push_back(row[column]);
    return out;
}

TEST(SortHistory, OrdersByTheColumnsTextStably) {
    std::vector<THistoryRow> rows = {
        Row("1", "10.12.2024 08:00:00", "p2", "1", "9", "beta", ""),
        Row("2", "02.01.2025 08:00:00", "p1", "2", "10", "alpha", ""),
        Row("3", "10.12.2024 07:00:00", "p2", "3", "100", "alpha", ""),
        Row("4", "05.12.2024 08:00:00", "p1", "4", "2", "beta", ""),
    };
    // Dates sort as text: "02.01.2025" comes before "05.12.2024".
    SortHistory(rows, hcDate);
    EXPECT_EQ(Column(rows, hcIndex), (std::vector<std::string> {"2", "4", "3", "1"}));
    // Points sort as text too.
    SortHistory(rows, hcPoints);
    EXPECT_EQ(Column(rows, hcPoints), (std::vector<std::string> {"10", "100", "2", "9"}));
    // Sorting by another column keeps the previous order among equal keys; twice changes nothing.
    SortHistory(rows, hcDate);
    SortHistory(rows, hcNode);
    const std::vector<std::string> byNode = Column(rows, hcIndex);
    EXPECT_EQ(byNode, (std::vector<std::string> {"2", "3", "4", "1"}));
    SortHistory(rows, hcNode);
    EXPECT_EQ(Column(rows, hcIndex), byNode);
    SortHistory(rows, 7);
    EXPECT_EQ(Column(rows, hcIndex), byNode);
}

TEST(SortHistory, ComparesBytesUnsigned) {
    std::vector<THistoryRow> rows = {Row("1", "", "Ящик", "", "", "", ""), Row("2", "", "zeta", "", "", "", ""),
        Row("3", "", "Alpha", "", "", "", "")};
    SortHistory(rows, hcName);
    EXPECT_EQ(Column(rows, hcName), (std::vector<std::string> {"Alpha", "zeta", "Ящик"}));
}

TEST(FindHistoryRow, FindsTheNextRowHoldingTheTextAndWraps) {
    const std::vector<THistoryRow> rows = {Row("1", "d", "p2605_Protein", "1-2-3", "10", "Ящик", ""),
        Row("2", "d", "p2008_BBA5", "4-5-6", "20", "box", ""), Row("3", "d", "p2605_Other", "7-8-9", "30", "box", "")};
    EXPECT_EQ(FindHistoryRow(rows, "p2605", -1), 0);
    EXPECT_EQ(FindHistoryRow(rows, "p2605", 0), 2);
    EXPECT_EQ(FindHistoryRow(rows, "p2605", 2), 0);   // wraps round
    EXPECT_EQ(FindHistoryRow(rows, "BOX", 0), 1);   // case folded
    EXPECT_EQ(FindHistoryRow(rows, "ящик", 1), 0);   // Cyrillic folded too
    EXPECT_EQ(FindHistoryRow(rows, "7-8", -1), 2);
    EXPECT_EQ(FindHistoryRow(rows, "missing", -1), -1);
    EXPECT_EQ(FindHistoryRow(rows, "", -1), -1);
    EXPECT_EQ(FindHistoryRow({}, "x", -1), -1);
}

}
}

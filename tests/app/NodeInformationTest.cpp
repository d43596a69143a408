// The node information window's values of a backed-up or cached unit: the project look-up, the expected
// speed from the history and the lamp colour.
#include "app/views/NodeInformation.h"

#include <gtest/gtest.h>

namespace korvex::app {
namespace {

THistoryRow HistoryRowOf(const std::string& name, const std::string& node, const std::string& speed) {
    THistoryRow row;
    row[hcName] = name;
    row[hcNode] = node;
    row[hcSpeed] = speed;
    return row;
}

// A user row stored without its name (a missing Name<n>) comes after the built-in rows; taken as contained in
// every unit's name it would give every unit its core and credit.
TEST(NodeInformation, AUserRowWithoutANameTakesNoUnit) {
    TProjectTable table;
    table.Add({"p2008_BBA5", "GROMACS", 219});
    table.Add({"", "", 999});
    EXPECT_EQ(FindUnitProject(table, "p2008_BBA5"), table.Count() - 1);
    TNodeReading reading;
    reading.WUName = "p2008_BBA5";
    EXPECT_EQ(MakeUnitInfoView(reading, table).Points, "219");
    reading.WUName = "p7777_none";
    EXPECT_EQ(MakeUnitInfoView(reading, table).Points, "0");
}

TEST(NodeInformation, TheProjectIsTheLastRowMatchedEitherWay) {
    TProjectTable table;
    table.Add({"p9001_first", "GROMACS", 100});
    table.Add({"p9002", "AMBER", 200});
    table.Add({"p9001_first", "DGROMACS", 300});
    EXPECT_EQ(table.Core(FindUnitProject(table, "p9001_first")), "DGROMACS");
    EXPECT_EQ(table.Credit(FindUnitProject(table, "p9002_longer_name")), 200);   // the row's name is inside
    EXPECT_EQ(table.Credit(FindUnitProject(table, "9001_fi")), 300);   // the unit's name is inside
    EXPECT_EQ(FindUnitProject(table, ""), 0);
    EXPECT_EQ(FindUnitProject(table, "p7777_none"), 0);

    TNodeReading reading;
    reading.Progress = 37;
    reading.RCG = "1-2-3";
    TUnitInfoView empty = MakeUnitInfoView(reading, table);
    EXPECT_EQ(empty.Core, "");
    EXPECT_EQ(empty.Points, "0");
    EXPECT_EQ(empty.RCG, "1-2-3");
    EXPECT_EQ(empty.Progress, 37);
    reading.WUName = "p9002";
    EXPECT_EQ(MakeUnitInfoView(reading, table).Points, "200");
}

TEST(NodeInformation, CachedSpeedPrefersTheShownNodesFirstEntry) {
    const std::vector<THistoryRow> history = {HistoryRowOf("p4444_x", "other", "7.5"), HistoryRowOf("p4444_y", "farm1", "12.25"),
        HistoryRowOf("p4444_z", "farm1", "99"), HistoryRowOf("p5555", "farm1", "1")};
    EXPECT_EQ(CachedUnitSpeed("p4444_cached", "farm1 (Linux)", history), "12.25");
}

TEST(NodeInformation, CachedSpeedAveragesOtherNodesWithThreeForAnUnreadableSpeed) {
    const std::vector<THistoryRow> history
        = {HistoryRowOf("p4444_a", "n1", "10"), HistoryRowOf("p4444_b", "n2", "12"), HistoryRowOf("p4444_c", "n3", "fast"), HistoryRowOf("p5", "x", "")};
    EXPECT_EQ(CachedUnitSpeed("p4444", "mine", history), "8.33");
    EXPECT_EQ(CachedUnitSpeed("p6666", "mine", history), "");
    EXPECT_EQ(CachedUnitSpeed("p4444", "mine", {}), "");
}

TEST(NodeInformation, CachedSpeedsAreReadAndTheMeanShownAsTheRunTimeDoes) {
    struct TCase {
        const char* First;
        const char* Second;
        const char* Mean;
    } const cases[] = {
        {" 10", "+12", "11.00"},   // blanks and a sign are a number
        {"nan", "9", "6.00"},   // no NAN: it counts 3
        {"inf", "9", "6.00"},
        {"1.005", "1.005", "1.01"},   // halves round away from zero on the decimal digits
    };
    for (const TCase& c : cases) {
        const std::vector<THistoryRow> history = {HistoryRowOf("p4444_a", "n1", c.First), HistoryRowOf("p4444_b", "n2", c.Second)};
        EXPECT_EQ(CachedUnitSpeed("p4444", "mine", history), c.Mean) << c.First << " " << c.Second;
    }
}

TEST(NodeInformation, AnEntryWithoutANodeNameIsNoEntryOfTheShownNode) {
    const std::vector<THistoryRow> history = {HistoryRowOf("p4444_a", "", "10"), HistoryRowOf("p4444_b", "n2", "12")};
    EXPECT_EQ(CachedUnitSpeed("p4444", "farm1", history), "11.00");
}

TEST(NodeInformation, AGreenSquareShowsALimeLamp) {
    EXPECT_EQ(NodeLampColor(32768), 0x00FF00);
    EXPECT_EQ(NodeLampColor(255), 255);
    EXPECT_EQ(NodeLampColor(65535), 65535);
}

}
}

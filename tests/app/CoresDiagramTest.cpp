// The cores diagram's numbers: scale, section ends, stored speeds, the current core's row and the texts.
#include "app/views/CoresDiagram.h"
#include "app/settings/Settings.h"
#include "app/settings/SettingsKey.h"
#include "support/AppEnvironment.h"

#include <gtest/gtest.h>

namespace korvex::app {
namespace {

TEST(CoresDiagramScale, PerfectValuesLabelsAndSectionEnds) {
    EXPECT_EQ(PerfectValue(0), 1000);
    EXPECT_EQ(PerfectValue(5), 3000);
    EXPECT_EQ(PerfectValue(9), 3000);   // kept within the scale
    EXPECT_EQ(PerfectValue(-1), 1000);
    EXPECT_STREQ(ScaleLabel(5, true), "30");
    EXPECT_STREQ(ScaleLabel(5, false), "720");
    EXPECT_STREQ(ScaleLabel(1, false), "288");
    EXPECT_EQ(SectionEndValue(1000, 30), 300);
    EXPECT_EQ(SectionEndValue(1200, 55), 660);
    EXPECT_EQ(SectionEndValue(1500, 33), 495);   // integer arithmetic
}

TEST(CoresDiagramValues, PerDayIsTwentyFourTimesAndTheBarScalesBy417) {
    EXPECT_DOUBLE_EQ(DiagramValue(10, true), 10);
    EXPECT_DOUBLE_EQ(DiagramValue(10, false), 240);
    EXPECT_DOUBLE_EQ(BarPosition(10, true), 1000);
    EXPECT_NEAR(BarPosition(10, false), 1000.8, 1e-9);
}

TEST(CurrentCoreRow, NamesOfEachCoreType) {
    const std::pair<const char*, int> cases[] = {{"AMBER", 0}, {"TINKER", 1}, {"GROMACS", 2}, {"GROMACS33", 2},
        {"DGROMACS", 3}, {"GBGROMACS", 4}, {"QMD", 5}, {"", -1}, {"Gromacs", -1}, {"A4", -1}};
    for (const auto& [name, row] : cases)
        EXPECT_EQ(CurrentCoreRow(name), row) << name;
}

TEST(NodeTexts, WithoutSpeedsOnlyTheFirstLineAndSixUnknowns) {
    const TNodeSpeeds none {};
    EXPECT_EQ(NodePanelHint(none, true), "Perfect value PPH:  \r\n");
    EXPECT_EQ(NodePanelHint(none, false), "Perfect value PPD:  \r\n");
    EXPECT_EQ(NodeResultsText("box", none, true),
        "Information for  \"box\"  node:\r\r"
        "AMBER            - unknown\r"
        "TINKER           - unknown\r"
        "GROMACS       - unknown\r"
        "DGROMACS     - unknown\r"
        "GBGROMACS   - unknown\r"
        "QMD                - unknown\r"
        "\r");
}

TEST(NodeTexts, StoredSpeedsInTheModesUnits) {
    TNodeSpeeds speeds {};
    speeds[2] = 10;
    speeds[5] = 0.125;
    EXPECT_EQ(NodePanelHint(speeds, false), "Perfect value PPD:  \r\nGROMACS   - 240.00\r\nQMD -       3.00\r\n");
    const std::string text = NodeResultsText("n", speeds, true);
    EXPECT_NE(text.find("GROMACS       - 10.00\r"), std::string::npos);
    EXPECT_NE(text.find("QMD                - 0.13\r"), std::string::npos);
    EXPECT_NE(text.find("AMBER            - unknown\r"), std::string::npos);
}

TEST(ReadNodeSpeeds, TakesTheNodesStoredValuesOnly) {
    test::TAppEnvironment env;
    TSettingsKey data(DataKey);
    data.WriteFloat("Gromacs1", 12.5);
    data.WriteFloat("Qmd1", 3);
    data.WriteFloat("Amber0", 7);
    data.WriteText("Tinker1", "not a number");
    const TNodeSpeeds speeds = ReadNodeSpeeds(1);
    EXPECT_EQ(speeds[2], 12.5);
    EXPECT_EQ(speeds[5], 3.0);
    EXPECT_FALSE(speeds[0]);
    EXPECT_FALSE(speeds[1]);   // wrong-typed: no value
    EXPECT_FALSE(ReadNodeSpeeds(4)[2]);
}

}
}

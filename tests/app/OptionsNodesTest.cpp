// The options window's copy of the node list in the store: read with the window's defaults, stored whole.
#include "app/settings/OptionsNodes.h"
#include "support/AppEnvironment.h"

#include <gtest/gtest.h>

namespace korvex::app {
namespace {

std::vector<TNodeSettings> ThreeNodes() {
    std::vector<TNodeSettings> nodes;
    for (int i = 0; i < 3; ++i) {
        TNodeSettings n;
        n.Label = "host" + std::to_string(i);
        n.Path = "/srv/host" + std::to_string(i);
        n.Ip = "10.0.0." + std::to_string(i);
        n.RSPath = "C:\\fah" + std::to_string(i);
        n.Get = i == 1;
        n.CPU = i == 2;
        n.Send = i != 0;
        n.Backup = i == 0;
        n.Hint = i == 2;
        n.Trycore = i == 1;
        n.Verbo = i == 2;
        n.VerboN = 4 + i;
        n.Level = 50 + 5 * i;
        n.Core = i + 1;
        n.MID = 3 + i;
        n.Progress = 20 * i;
        n.BackLevel = 7 * i;
        nodes.push_back(n);
    }
    return nodes;
}

TEST(OptionsNodes, AStoredListReadsBackTheSame) {
    test::TAppEnvironment env;
    const std::vector<TNodeSettings> nodes = ThreeNodes();
    StoreOptionsNodes(nodes);
    EXPECT_EQ(ReadOptionsNodes(3), nodes);
    const TSettings loaded = LoadSettings();   // the main window reads the same list, but the window's own three
    EXPECT_EQ(loaded.HostCount, 3);
    std::vector<TNodeSettings> asLoaded = nodes;
    for (TNodeSettings& node : asLoaded) {
        node.Trycore = false;
        node.Verbo = false;
        node.VerboN = 3;
    }
    EXPECT_EQ(loaded.Nodes, asLoaded);
}

TEST(OptionsNodes, MissingValuesGetTheWindowsDefaultsAndTheGetWUOnesAreWritten) {
    test::TAppEnvironment env;
    const std::vector<TNodeSettings> nodes = ReadOptionsNodes(2);
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[1].Label, "");
    EXPECT_EQ(nodes[1].Core, 0);
    EXPECT_EQ(nodes[1].Level, 90);
    EXPECT_EQ(nodes[1].VerboN, 3);
    EXPECT_FALSE(nodes[1].Hint);
    EXPECT_TRUE(env.Stored(GetWUKey, "Level1"));
    EXPECT_TRUE(env.Stored(GetWUKey, "BackUp1"));
    EXPECT_FALSE(env.Stored(HintKey, "Hint1"));   // read, never written
    EXPECT_FALSE(env.Stored(LabelKey, "Label1"));
}

TEST(OptionsNodes, AShorterListLeavesTheValuesPastItsEndInTheStore) {
    test::TAppEnvironment env;
    std::vector<TNodeSettings> nodes = ThreeNodes();
    StoreOptionsNodes(nodes);
    const std::vector<TNodeSettings> three = ReadOptionsNodes(3);
    nodes.erase(nodes.begin());
    StoreOptionsNodes(nodes);
    EXPECT_EQ(ReadOptionsNodes(2), nodes);
    EXPECT_EQ(env.Stored(OptionsKey, "HostCount"), os::MakeDwordValue(2));
    for (const auto& [key, name] : {std::pair {LabelKey, "Label2"}, {PathKey, "Ip2"}, {GetWUKey, "Core2"},
             {GetWUKey, "Trycore2"}, {HintKey, "Hint2"}, {DataKey, "Progress2"}})
        EXPECT_TRUE(env.Stored(key, name)) << name;
    // A node added later reads what the store kept there.
    StoreHostCount(3);
    EXPECT_EQ(ReadOptionsNodes(3)[2], three[2]);
}

}
}

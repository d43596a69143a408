// The image table's name index: first match in load order, exact names, and the index kept through removals.
#include "skin/engine/sImageTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korvex::skin;

namespace {

struct Image {
    std::string ClassName;
    std::string PropertyName;
    int Tag = 0;
};

TsImageTable<Image> TableOf(std::initializer_list<Image> images) {
    TsImageTable<Image> table;
    for (const Image& image : images)
        table.push_back(image);
    return table;
}

}

TEST(TsImageTable, FindsTheFirstImageOfANameInLoadOrder) {
    const auto table
        = TableOf({{"BUTTON", "BORDERSMASK", 1}, {"EDIT", "BORDERSMASK", 2}, {"BUTTON", "BORDERSMASK", 3}});
    EXPECT_EQ(table.FindFirst("BUTTON", "BORDERSMASK"), 0);
    EXPECT_EQ(table.FindFirst("EDIT", "BORDERSMASK"), 1);
    EXPECT_EQ(table.Find("BUTTON", "BORDERSMASK"), (std::vector<int> {0, 2}));
}

TEST(TsImageTable, ComparesNamesExactly) {
    const auto table = TableOf({{"BUTTON", "PATTERN", 1}});
    const std::pair<const char*, const char*> misses[] = {{"button", "PATTERN"}, {"BUTTON", "pattern"},
        {"BUTTON ", "PATTERN"}, {"BUTTONPATTERN", ""}, {"", "BUTTONPATTERN"}};
    for (const auto& [section, property] : misses)
        EXPECT_EQ(table.FindFirst(section, property), -1) << section << "/" << property;
}

TEST(TsImageTable, TheAcceptedImageIsTheFirstTheTestTakes) {
    const auto table = TableOf({{"PANEL", "PATTERN", 1}, {"PANEL", "PATTERN", 2}, {"PANEL", "PATTERN", 3}});
    EXPECT_EQ(table.FindFirst("PANEL", "PATTERN", [](const Image& i) { return i.Tag >= 2; }), 1);
    EXPECT_EQ(table.FindFirst("PANEL", "PATTERN", [](const Image& i) { return i.Tag > 3; }), -1);
}

TEST(TsImageTable, RemovingTheLastImageForgetsOnlyItsIndex) {
    auto table = TableOf({{"A", "X", 1}, {"B", "X", 2}, {"A", "X", 3}});
    table.pop_back();
    EXPECT_EQ(table.Find("A", "X"), (std::vector<int> {0}));
    table.pop_back();
    EXPECT_EQ(table.FindFirst("B", "X"), -1);
    table.push_back({"B", "X", 4});
    EXPECT_EQ(table.FindFirst("B", "X"), 1);
    EXPECT_EQ(table[1].Tag, 4);
}

TEST(TsImageTable, ClearingEmptiesTheIndexToo) {
    auto table = TableOf({{"A", "X", 1}});
    table.clear();
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(table.FindFirst("A", "X"), -1);
}

TEST(TsImageTable, ARenamedImageIsFoundUnderItsNewNamesInItsLoadPlace) {
    auto table = TableOf({{"A", "X", 1}, {"B", "Y", 2}, {"A", "X", 3}});
    table.Rename(0, "A", "HIDDEN");
    EXPECT_EQ(table.FindFirst("A", "X"), 2);
    table.Rename(2, "B", "Y");
    table.Rename(0, "B", "Y");
    EXPECT_EQ(table.Find("B", "Y"), (std::vector<int> {0, 1, 2}));
    EXPECT_EQ(table.FindFirst("A", "HIDDEN"), -1);
}

// The section table's name index: the first section of a name, exact names, renames.
#include "skin/engine/sSectionTable.h"

#include <gtest/gtest.h>

#include <string>

using namespace korvex::skin;

TEST(TsSectionTable, FindsTheFirstSectionOfANameAndFollowsARename) {
    struct Section {
        std::string ClassName;
    };
    TsSectionTable<Section> table;
    for (const char* name : {"FORM", "BUTTON", "BUTTON", "EDIT"})
        table.push_back({name});
    EXPECT_EQ(table.IndexOf("BUTTON"), 1);
    EXPECT_EQ(table.IndexOf("button"), -1);
    table.Rename(1, "PANEL");
    EXPECT_EQ(table.IndexOf("BUTTON"), 2);
    EXPECT_EQ(table.IndexOf("PANEL"), 1);
    table.Rename(3, "FORM");
    EXPECT_EQ(table.IndexOf("FORM"), 0);
    table.clear();
    EXPECT_EQ(table.IndexOf("FORM"), -1);
}

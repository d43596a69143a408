// Projects added by hand: refused when known, numbered on in the user's list, credits rounded.
#include "app/nodes/ManualProject.h"
#include "app/nodes/ProjectSummary.h"
#include "app/settings/Settings.h"
#include "app/settings/SettingsKey.h"
#include "support/AppEnvironment.h"

#include "platform/base/DateTime.h"

#include <gtest/gtest.h>

#include <limits>

namespace korvex::app {
namespace {

const base::TDateTime Added = base::EncodeDateTime(2024, 12, 5, 20, 10, 15, 0);

class ManualProjectTest : public testing::Test {
protected:
    void SetUp() override { env.SetNow(Added); }
    std::optional<os::TRegValue> Unit(const std::string& name) const { return env.Stored(UnitsKey, name); }
    test::TAppEnvironment env;
};

TEST_F(ManualProjectTest, TwoAdditionsGetConsecutiveNumbers) {
    TProjectTable table;
    const auto first = AddManualProject(table, {"p9001_New", "GROMACS", 321});
    ASSERT_TRUE(first);
    EXPECT_EQ(first->UnitsCount, 1);
    EXPECT_EQ(first->Date, Added);
    const auto second = AddManualProject(table, {"p9002_Other", "my own core", 7});
    ASSERT_TRUE(second);
    EXPECT_EQ(second->UnitsCount, 2);
    EXPECT_EQ(table.Count(), BuiltInProjectCount + 2);
    EXPECT_EQ(table.Row(BuiltInProjectCount + 2), (TProjectRow {"p9002_Other", "my own core", 7}));
    EXPECT_EQ(os::DwordOf(*Unit("UnitsCount")), 2u);
    EXPECT_EQ(Unit("Name1")->Data, "p9001_New");
    EXPECT_EQ(Unit("Core2")->Data, "my own core");   // stored unchanged, not a core the program knows
    EXPECT_EQ(os::DwordOf(*Unit("Credit1")), 321u);
    EXPECT_EQ(TSettingsKey(UnitsKey).FloatIfPresent("Date"), Added);
    // The next load reads them back after the built-in rows.
    const TProjectTable loaded = LoadProjectTable();
    EXPECT_EQ(loaded.Count(), BuiltInProjectCount + 2);
    EXPECT_EQ(loaded.Name(BuiltInProjectCount + 1), "p9001_New");
}

TEST_F(ManualProjectTest, ContinuesAnExistingList) {
    env.Store(UnitsKey, "UnitsCount", os::MakeDwordValue(4));
    TProjectTable table;
    const auto added = AddManualProject(table, {"p9003", "QMD", 1});
    ASSERT_TRUE(added);
    EXPECT_EQ(added->UnitsCount, 5);
    EXPECT_EQ(Unit("Name5")->Data, "p9003");
}

TEST_F(ManualProjectTest, KnownAndEmptyNamesAreNotAdded) {
    TProjectTable table;
    ASSERT_TRUE(AddManualProject(table, {"p1", "AMBER", 5}));
    const char* const refused[] = {
        "p2008_something else",   // the first five characters of built-in row "p2008_BBA5"
        "p697_",   // a three-digit project's prefix
        "p1",   // shorter than five: compared by what it has
    };
    for (const char* name : refused)
        EXPECT_FALSE(AddManualProject(table, {name, "GROMACS", 10})) << '"' << name << '"';
    EXPECT_EQ(table.Count(), BuiltInProjectCount + 1);
    EXPECT_EQ(os::DwordOf(*Unit("UnitsCount")), 1u);
    EXPECT_FALSE(Unit("Name2"));
}

// An empty name (or blanks only) names no project: nothing is added to the table or the list.
TEST_F(ManualProjectTest, AnEmptyNameAddsNoProject) {
    TProjectTable table;
    for (const char* name : {"", "   ", "\t"})
        EXPECT_FALSE(AddManualProject(table, {name, "GROMACS", 10})) << '"' << name << '"';
    EXPECT_EQ(table.Count(), BuiltInProjectCount);
    EXPECT_FALSE(Unit("UnitsCount"));
    EXPECT_FALSE(Unit("Name1"));
    EXPECT_EQ(table.Lookup(""), 0);
}

TEST(CreditOfValue, RoundsToTheNearestIntegerWithinRange) {
    EXPECT_EQ(CreditOfValue(120.4), 120);
    EXPECT_EQ(CreditOfValue(120.6), 121);
    EXPECT_EQ(CreditOfValue(-3.7), -4);
    EXPECT_EQ(CreditOfValue(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(CreditOfValue(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(CreditOfValue(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(ProjectsAddedText, InBothLanguagesAndNoneElse) {
    EXPECT_EQ(ProjectSummaryAddedText(1, Added, 3, 173), "Last update: 05.12.2024 20:10:15 Known units: 3/173");
    EXPECT_EQ(ProjectSummaryAddedText(0, Added, 3, 173), "Посл.обновл: 05.12.2024 20:10:15 Известно WU: 3/173");
    EXPECT_EQ(ProjectSummaryAddedText(2, Added, 3, 173), "");
}

}
}

// The project table: its built-in rows, the five-character look-up and the user's rows from the store.
#include "app/nodes/ProjectTable.h"
#include "app/settings/Settings.h"
#include "support/AppEnvironment.h"

#include <gtest/gtest.h>

#include <map>
#include <numeric>

namespace korvex::app {
namespace {

using os::MakeDwordValue;
using os::MakeStringValue;

TEST(ProjectTable, HoldsTheHundredSeventyBuiltInRowsAfterAnEmptyRowZero) {
    TProjectTable table;
    ASSERT_EQ(table.Count(), BuiltInProjectCount);
    EXPECT_EQ(table.Row(0), TProjectRow());
    EXPECT_EQ(table.Row(171), TProjectRow());
    EXPECT_EQ(table.Row(-1), TProjectRow());

    int credits = 0;
    std::map<std::string, int> cores;
    for (int k = 1; k <= table.Count(); ++k) {
        credits += table.Credit(k);
        ++cores[table.Core(k)];
    }
    EXPECT_EQ(credits, 38843);
    EXPECT_EQ(cores,
        (std::map<std::string, int> {
            {"AMBER", 4}, {"DGROMACS", 43}, {"GBGROMACS", 21}, {"GROMACS", 84}, {"QMD", 3}, {"TINKER", 15}}));
}

struct TRowCase {
    int Number;
    const char* Name;   // the whole name, or its first five characters for the rows that fix only those
    const char* Core;
    int Credit;
};

class BuiltInRow : public testing::TestWithParam<TRowCase> { };

TEST_P(BuiltInRow, HasItsNameCoreAndCredit) {
    const TRowCase& c = GetParam();
    TProjectTable table;
    std::string name = c.Name;
    if (name.size() == 5)
        EXPECT_EQ(table.Name(c.Number).substr(0, 5), name);
    else
        EXPECT_EQ(table.Name(c.Number), name);
    EXPECT_EQ(table.Core(c.Number), c.Core);
    EXPECT_EQ(table.Credit(c.Number), c.Credit);
}

INSTANTIATE_TEST_SUITE_P(Rows, BuiltInRow,
    testing::Values(TRowCase {1, "p697_", "TINKER", 238}, TRowCase {2, "p752_vln2.8pbc", "GROMACS", 149},
        TRowCase {21, "p935_LG2 in water", "DGROMACS", 68}, TRowCase {27, "p990_fkligveq_pop", "DGROMACS", 23},
        TRowCase {28, "p1110_L939_K12M_nat_min1", "TINKER", 249}, TRowCase {44, "p1477_release31_0", "GROMACS", 364},
        TRowCase {72, "p1808", "AMBER", 153}, TRowCase {76, "p1910_ALA-d", "QMD", 450},
        TRowCase {82, "p2008_BBA5", "GROMACS", 218}, TRowCase {85, "p2011_BBA5_ext", "GROMACS", 136},
        TRowCase {86, "p2012_BBA5", "GROMACS", 136}, TRowCase {112, "p2073_A21_OPLS", "GBGROMACS", 190},
        TRowCase {113, "p2074_Fs", "GBGROMACS", 225}, TRowCase {126, "p2352_FKBP", "DGROMACS", 686},
        TRowCase {134, "p2364", "DGROMACS", 586}, TRowCase {135, "p2365", "DGROMACS", 589},
        TRowCase {147, "p2378", "GROMACS", 146}, TRowCase {148, "p2379", "GROMACS", 123},
        TRowCase {149, "p2380", "GROMACS", 123}, TRowCase {150, "p2306_BBA5_pfold in water", "GBGROMACS", 188},
        TRowCase {162, "p2390_Coiled coil", "DGROMACS", 1112},
        TRowCase {169, "p1162_L939_K12M_298K_DT_50ns", "TINKER", 241},
        TRowCase {170, "p2500_BBA5_pfold", "GBGROMACS", 208}));

TEST(ProjectTable, EveryBuiltInNameIsAProjectNumberAndEveryPrefixIsUnique) {
    TProjectTable table;
    std::map<std::string, int> prefixes;
    for (int k = 1; k <= table.Count(); ++k) {
        const std::string& name = table.Name(k);
        ASSERT_GE(name.size(), 5u) << k;
        EXPECT_EQ(name[0], 'p') << k;
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(name[1]))) << k;
        EXPECT_EQ(++prefixes[name.substr(0, 5)], 1) << name;
    }
}

TEST(ProjectTable, LookupComparesTheFirstFiveCharacters) {
    TProjectTable table;
    EXPECT_EQ(table.Lookup("p2008_BBA5"), 82);
    EXPECT_EQ(table.Lookup("p2008_anything else"), 82);
    EXPECT_EQ(table.Lookup("p697_x"), 1);   // three digits: the underscore is part of the key
    EXPECT_EQ(table.Lookup("p6970"), 0);
    EXPECT_EQ(table.Lookup("p1110"), 28);
    EXPECT_EQ(table.Lookup("p9999_unknown"), 0);
    EXPECT_EQ(table.Lookup("P2008_BBA5"), 0);   // case counts
}

TEST(ProjectTable, EmptyNameMatchesNoRowEvenAnEmptyOne) {
    TProjectTable table;
    table.Add({"", "", 0});
    EXPECT_EQ(table.Lookup(""), 0);
    EXPECT_EQ(table.Lookup("p2008_BBA5"), 82);
}

TEST(ProjectTable, LaterRowsWin) {
    TProjectTable table;
    table.Add({"p2008_mine", "GROMACS", 300});
    EXPECT_EQ(table.Lookup("p2008_BBA5"), 171);
    EXPECT_EQ(table.Credit(table.Lookup("p2008_BBA5")), 300);
}

TEST(LoadProjectTable, WithoutTheUnitsKeyHoldsTheBuiltInRowsOnly) {
    test::TAppEnvironment env;
    EXPECT_EQ(LoadProjectTable().Count(), 170);
}

TEST(LoadProjectTable, UserRowsFollowTheBuiltInRowsAndOverrideThem) {
    test::TAppEnvironment env;
    env.Store(UnitsKey, "UnitsCount", MakeDwordValue(3));
    env.Store(UnitsKey, "Name1", MakeStringValue("p2008_BBA5_new"));
    env.Store(UnitsKey, "Core1", MakeStringValue("GROMACS"));
    env.Store(UnitsKey, "Credit1", MakeDwordValue(300));
    env.Store(UnitsKey, "Credit2", MakeStringValue("lots"));   // no name, a wrong-typed credit
    env.Store(UnitsKey, "Name3", MakeStringValue("p4000_new"));
    env.Store(UnitsKey, "Core3", MakeStringValue("SMP"));
    env.Store(UnitsKey, "Credit3", MakeDwordValue(1500));

    TProjectTable table = LoadProjectTable();
    ASSERT_EQ(table.Count(), 173);
    EXPECT_EQ(table.Row(171), (TProjectRow {"p2008_BBA5_new", "GROMACS", 300}));
    EXPECT_EQ(table.Row(172), TProjectRow());
    EXPECT_EQ(table.Row(173), (TProjectRow {"p4000_new", "SMP", 1500}));
    EXPECT_EQ(table.Credit(table.Lookup("p2008_BBA5")), 300);
    EXPECT_EQ(table.Lookup(""), 0);
    EXPECT_NE(env.ReadFile("KORVEX.LOG").find("Credit2"), std::string::npos);
}

// A user's list grows with every update from the summary page: a long one is read whole.
TEST(LoadProjectTable, AListOfMoreThanAThousandProjectsIsReadWhole) {
    test::TAppEnvironment env;
    env.Store(UnitsKey, "UnitsCount", MakeDwordValue(1200));
    env.Store(UnitsKey, "Name1200", MakeStringValue("p9999_last"));
    env.Store(UnitsKey, "Credit1200", MakeDwordValue(77));
    const TProjectTable table = LoadProjectTable();
    ASSERT_EQ(table.Count(), 1370);
    EXPECT_EQ(table.Credit(table.Lookup("p9999_x")), 77);
}

TEST(LoadProjectTable, MissingOrWrongTypedCountGivesNoUserRows) {
    test::TAppEnvironment env;
    env.Store(UnitsKey, "Name1", MakeStringValue("p4000_new"));
    EXPECT_EQ(LoadProjectTable().Count(), 170);
    env.Store(UnitsKey, "UnitsCount", MakeStringValue("1"));
    EXPECT_EQ(LoadProjectTable().Count(), 170);
    EXPECT_FALSE(env.Stored(UnitsKey, "UnitsCount") == MakeDwordValue(0));   // nothing written there
    env.Store(UnitsKey, "UnitsCount", MakeDwordValue(static_cast<std::uint32_t>(-4)));
    EXPECT_EQ(LoadProjectTable().Count(), 170);
}

}
}

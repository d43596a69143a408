// Skin INI sections read once: keys in file order, parents resolved to sections, inherited reads along chains.
#include "skin/engine/sSkinIniIndex.h"

#include "platform/classes/TMemIniFile.h"
#include "platform/classes/TStringList.h"

#include <cctype>
#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::skin;

namespace {

void FillIni(classes::TMemIniFile& ini, const std::string& text) {
    classes::TStringList lines;
    lines.SetText(text);
    ini.SetStrings(lines);
}

}

TEST(TsSkinIniIndex, KeepsSectionsOnceAndKeysInFileOrderWithTheFirstValueOfADuplicate) {
    classes::TMemIniFile ini;
    FillIni(ini, "[A]\nX=1\nno key\nx=2\nY=3\n[b]\nZ=4\n[a]\nW=5\n");
    const TsSkinIniIndex index(ini);
    ASSERT_EQ(index.Count(), 2);
    EXPECT_EQ(index.Name(1), "b");
    EXPECT_EQ(index.IndexOf("B"), 1);
    EXPECT_EQ(index.IndexOf("missing"), -1);
    const auto& keys = index.Keys(0);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[1].Name, "x");
    EXPECT_EQ(keys[1].Value, "1");   // as the INI reads "x": its first key of that name
    EXPECT_EQ(*index.Value(0, "y"), "3");
    EXPECT_EQ(index.Value(0, "W"), nullptr);   // a repeated section is not read
}

struct InheritCase {
    const char* What;
    const char* Text;
    const char* Section;
    int Integer;   // InheritedInteger(Section, "COLOR", 7)
    const char* String;   // InheritedString(Section, "COLOR", "def")
};

class InheritedReads : public testing::TestWithParam<InheritCase> { };

TEST_P(InheritedReads, FollowTheParentChainAsFarAsItGoes) {
    const InheritCase& c = GetParam();
    classes::TMemIniFile ini;
    FillIni(ini, c.Text);
    const TsSkinIniIndex index(ini);
    // Read every section first in both orders, so answers kept for a chain must not depend on where it began.
    for (int i = index.Count() - 1; i >= 0; --i)
        index.InheritedInteger(i, "COLOR", 7);
    EXPECT_EQ(index.InheritedInteger(index.IndexOf(c.Section), "COLOR", 7), c.Integer) << c.What;
    EXPECT_EQ(index.InheritedString(index.IndexOf(c.Section), "color", "def"), c.String) << c.What;
    const TsSkinIniIndex fresh(ini);
    EXPECT_EQ(fresh.InheritedInteger(fresh.IndexOf(c.Section), "COLOR", 7), c.Integer) << c.What;
    EXPECT_EQ(fresh.InheritedString(fresh.IndexOf(c.Section), "COLOR", "def"), c.String) << c.What;
}

INSTANTIATE_TEST_SUITE_P(TsSkinIniIndex, InheritedReads,
    testing::Values(InheritCase {"own value", "[A]\nCOLOR=5\n", "A", 5, "5"},
        InheritCase {
            "from the grandparent", "[A]\nPARENTCLASS=b\n[B]\nPARENTCLASS=C\n[C]\nCOLOR=0x10\n", "A", 16, "0x10"},
        InheritCase {"-1 counts as missing", "[A]\nCOLOR=-1\nPARENTCLASS=B\n[B]\nCOLOR=3\n", "A", 3, "-1"},
        InheritCase {"not a number counts as missing", "[A]\nCOLOR=red\nPARENTCLASS=B\n[B]\nCOLOR=3\n", "A", 3, "red"},
        InheritCase {"? counts as missing", "[A]\nCOLOR=?\nPARENTCLASS=B\n[B]\nCOLOR=3\n", "A", 3, "3"},
        InheritCase {"missing parent", "[A]\nPARENTCLASS=NOWHERE\n", "A", 7, "def"},
        InheritCase {"itself as parent", "[A]\nPARENTCLASS=a\n", "A", 7, "def"},
        InheritCase {
            "a loop without the key", "[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=C\n[C]\nPARENTCLASS=A\n", "B", 7, "def"},
        InheritCase {"a loop with the key", "[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=C\n[C]\nPARENTCLASS=A\nCOLOR=9\n",
            "A", 9, "9"},
        InheritCase {
            "into a loop from outside", "[X]\nPARENTCLASS=A\n[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=A\n", "X", 7, "def"},
        InheritCase {"missing section", "[A]\nCOLOR=1\n", "NOWHERE", 7, "def"}),
    [](const testing::TestParamInfo<InheritCase>& info) {
        std::string name;
        for (const char* p = info.param.What; *p; ++p)
            if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
        return name;
    });

TEST(TsSkinIniIndex, ALongChainIsWalkedOncePerKey) {
    std::string text = "[S0]\nCOLOR=42\n";
    for (int i = 1; i < 20000; ++i)
        text += "[S" + std::to_string(i) + "]\nPARENTCLASS=S" + std::to_string(i - 1) + "\n";
    classes::TMemIniFile ini;
    FillIni(ini, text);
    const TsSkinIniIndex index(ini);
    for (int i = index.Count() - 1; i >= 0; --i)
        ASSERT_EQ(index.InheritedInteger(i, "COLOR", -5), 42) << i;
    EXPECT_EQ(index.InheritedString(index.Count() - 1, "GRADIENTDATA", " "), " ");
}

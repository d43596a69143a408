// Tests of the settings store's tree and change records: look-ups without case, order of values, deep copies,
// and changes checked without touching the tree.
#include "platform/os/RegistryTree.h"
#include "platform/os/RegistryChange.h"
#include "platform/os/RegistryFormat.h"

#include <cerrno>
#include <gtest/gtest.h>

using namespace korvex::os;

namespace {

std::vector<std::string> Names(const RegValueList& values) {
    std::vector<std::string> names;
    for (const RegValueEntry& entry : values)
        names.push_back(entry.Name);
    return names;
}

}

TEST(RegValueList, FindsValuesByNameInAnyCase) {
    RegValueList values;
    values.Set("HostCount", MakeDwordValue(3));
    values.Set("", MakeStringValue("default"));
    ASSERT_NE(values.Find("hostcount"), nullptr);
    EXPECT_EQ(values.Find("HOSTCOUNT")->Value, MakeDwordValue(3));
    EXPECT_EQ(values.Find("")->Value, MakeStringValue("default"));
    EXPECT_EQ(values.Find("HostCount0"), nullptr);
    EXPECT_EQ(values.Find("HostCoun"), nullptr);
    EXPECT_EQ(NameHash {}("Label12"), NameHash {}("LABEL12"));
}

TEST(RegValueList, ASecondWriteKeepsThePlaceAndTheFirstSpelling) {
    RegValueList values;
    values.Set("W2", MakeDwordValue(1));
    values.Set("W1W", MakeDwordValue(74));
    values.Set("w2", MakeDwordValue(0));
    EXPECT_EQ(Names(values), (std::vector<std::string> {"W2", "W1W"}));
    EXPECT_EQ(values.Find("W2")->Value, MakeDwordValue(0));
    EXPECT_EQ(values.Size(), 2u);
}

TEST(RegValueList, RemovingKeepsTheOrderAndEveryOtherValueFound) {
    RegValueList values;
    for (int i = 0; i < 1000; ++i)
        values.Set("Progress" + std::to_string(i), MakeDwordValue(static_cast<std::uint32_t>(i)));
    EXPECT_TRUE(values.Remove("PROGRESS500"));
    EXPECT_TRUE(values.Remove("Progress0"));
    EXPECT_FALSE(values.Remove("Progress500"));
    EXPECT_EQ(values.Size(), 998u);
    for (int i = 1; i < 1000; ++i)
        if (i != 500) {
            const RegValueEntry* entry = values.Find("progress" + std::to_string(i));
            ASSERT_NE(entry, nullptr) << i;
            EXPECT_EQ(entry->Value, MakeDwordValue(static_cast<std::uint32_t>(i)));
        }
    values.Set("Progress0", MakeDwordValue(0));   // back at the end
    std::vector<std::string> names = Names(values);
    EXPECT_EQ(names.front(), "Progress1");
    EXPECT_EQ(names[498], "Progress499");
    EXPECT_EQ(names[499], "Progress501");
    EXPECT_EQ(names.back(), "Progress0");
}

TEST(RegKey, ACopyIsDeep) {
    RegTree tree;
    bool changed = false;
    tree.Create(HKEY_CURRENT_USER, {"A", "B"}, changed)->Values.Set("X", MakeDwordValue(1));
    RegTree copy = tree;
    copy.Find(HKEY_CURRENT_USER, {"a", "b"})->Values.Set("x", MakeDwordValue(2));
    copy.Find(HKEY_CURRENT_USER, {"A"})->AddSubKey("C");
    EXPECT_EQ(tree.Find(HKEY_CURRENT_USER, {"A", "B"})->FindValue("X")->Value, MakeDwordValue(1));
    EXPECT_EQ(tree.Find(HKEY_CURRENT_USER, {"A", "C"}), nullptr);
    EXPECT_EQ(copy.Find(HKEY_CURRENT_USER, {"A", "B"})->FindValue("X")->Value, MakeDwordValue(2));
}

TEST(RegKey, CopyingWalkingAndFreeingADeepChainDoNotRecurse) {
    // Far deeper than any stack holds as nested calls; only code that builds a tree by hand gets here.
    RegKey root;
    RegKey* key = &root;
    for (int i = 0; i < 300000; ++i) {
        key = &key->AddSubKey("k");
        key->Virtual = true;
    }
    key->Values.Set("Leaf", MakeDwordValue(1), true);
    root.Virtual = true;
    EXPECT_FALSE(root.HasRealContent());
    key->Virtual = false;
    EXPECT_TRUE(root.HasRealContent());
    RegKey copy = root;
    const RegKey* last = &copy;
    for (int i = 0; i < 300000 && last; ++i)
        last = last->FindSubKey("K");
    ASSERT_NE(last, nullptr);
    EXPECT_FALSE(last->Virtual);
    EXPECT_EQ(last->FindValue("leaf")->Value, MakeDwordValue(1));
}

TEST(RegTree, RefusesToCreateKeysPastTheDepthLimit) {
    RegTree tree;
    bool changed = false;
    EXPECT_EQ(tree.Create(HKEY_CURRENT_USER, std::vector<std::string>(MaxKeyDepth + 1, "k"), changed), nullptr);
    EXPECT_FALSE(changed);
    EXPECT_NE(tree.Create(HKEY_CURRENT_USER, std::vector<std::string>(MaxKeyDepth, "k"), changed), nullptr);
    EXPECT_TRUE(changed);
}

TEST(RegTree, EveryRootExistsBeforeAnythingIsStoredUnderIt) {
    const RegTree tree;
    ASSERT_NE(tree.Find(HKEY_USERS, {}), nullptr);
    EXPECT_EQ(tree.Find(HKEY_USERS, {"Missing"}), nullptr);
    EXPECT_EQ(tree.Find(0x1234, {}), nullptr);
}

struct ChangeCase {
    const char* What;
    RegChange Change;
    int Result;
    int Error;   // errno when the result is -1
};

class RegChangeCheck : public testing::TestWithParam<ChangeCase> {
protected:
    static RegTree Fixture() {
        RegTree tree;
        std::vector<int> damaged;
        ParseRegistryText(
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tellvar\\Options]\n\"FSize\"=dword:00000008\n", tree, damaged);
        bool changed = false;
        RegKey* made = tree.Create(HKEY_CLASSES_ROOT, {"htmlfile"}, changed);
        made->Virtual = true;   // a key the store made up
        made->Values.Set("", MakeStringValue(""), true);
        return tree;
    }
};

TEST_P(RegChangeCheck, PredictsWhatApplyingDoesWithoutTouchingTheTree) {
    const ChangeCase& c = GetParam();
    RegTree tree = Fixture();
    const std::string before = FormatRegistryText(tree);
    errno = 0;
    EXPECT_EQ(CheckChange(tree, c.Change), c.Result) << c.What;
    if (c.Result < 0) {
        EXPECT_EQ(errno, c.Error) << c.What;
    }
    EXPECT_EQ(FormatRegistryText(tree), before) << c.What;
    errno = 0;
    EXPECT_EQ(ApplyChange(tree, c.Change), c.Result) << c.What;
    if (c.Result < 0) {
        EXPECT_EQ(errno, c.Error) << c.What;
    }
    EXPECT_EQ(FormatRegistryText(tree) != before, c.Result > 0) << c.What;
    bool makes = c.Change.Kind == RegChange::TKind::CreateKey || c.Change.Kind == RegChange::TKind::SetValue;
    if (makes && c.Result >= 0) {
        EXPECT_EQ(CheckChange(tree, c.Change), 0) << c.What << ": nothing more to make";
    }
}

constexpr HKEY Hklm = HKEY_LOCAL_MACHINE;
constexpr const char* Opts = "SOFTWARE\\Tellvar\\Options";

std::string TooDeep() {
    std::string path = "k";
    for (std::size_t i = 0; i < MaxKeyDepth; ++i)
        path += "\\k";
    return path;
}

INSTANTIATE_TEST_SUITE_P(RegistryTree, RegChangeCheck,
    testing::Values(ChangeCase {"existing key", RegChange::CreateKey(Hklm, "software\\TELLVAR"), 0, 0},
        ChangeCase {"new key", RegChange::CreateKey(Hklm, "SOFTWARE\\Tellvar\\Data"), 1, 0},
        ChangeCase {"made-up key", RegChange::CreateKey(HKEY_CLASSES_ROOT, "HTMLFILE"), 1, 0},
        ChangeCase {"control character", RegChange::CreateKey(Hklm, "Bad\x01Name"), -1, EINVAL},
        ChangeCase {"unknown root", RegChange::CreateKey(0x1234, "A"), -1, EINVAL},
        ChangeCase {"nested too deep", RegChange::CreateKey(Hklm, TooDeep()), -1, EINVAL},
        ChangeCase {"same value", RegChange::SetValue(Hklm, Opts, "fsize", MakeDwordValue(8)), 0, 0},
        ChangeCase {"other value", RegChange::SetValue(Hklm, Opts, "FSize", MakeDwordValue(9)), 1, 0},
        ChangeCase {"other type", RegChange::SetValue(Hklm, Opts, "FSize", MakeStringValue("8")), 1, 0},
        ChangeCase {"new value", RegChange::SetValue(Hklm, Opts, "Team", MakeStringValue("1")), 1, 0},
        ChangeCase {"missing key", RegChange::SetValue(Hklm, "SOFTWARE\\X", "A", MakeDwordValue(1)), -1, ENOENT},
        ChangeCase {"virtual value", RegChange::SetValue(HKEY_CLASSES_ROOT, "htmlfile", "", MakeStringValue("")), 1, 0},
        ChangeCase {"delete value", RegChange::DeleteValue(Hklm, Opts, "FSIZE"), 1, 0},
        ChangeCase {"delete missing value", RegChange::DeleteValue(Hklm, Opts, "Team"), -1, ENOENT},
        ChangeCase {"delete key", RegChange::DeleteKey(Hklm, "SOFTWARE\\Tellvar"), 1, 0},
        ChangeCase {"delete missing key", RegChange::DeleteKey(Hklm, "SOFTWARE\\Nothing"), -1, ENOENT},
        ChangeCase {"delete a root", RegChange::DeleteKey(Hklm, ""), -1, EINVAL}));

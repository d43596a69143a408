// Tests of the settings file's text: writing every value type and reading back, damaged lines.
#include "platform/os/RegistryFormat.h"

#include <gtest/gtest.h>

#include <cctype>

using namespace korvex::os;

namespace {

RegTree Parse(const std::string& text, std::vector<int>* damaged = nullptr) {
    RegTree tree;
    std::vector<int> lines;
    ParseRegistryText(text, tree, lines);
    if (damaged) *damaged = lines;
    return tree;
}

TRegValue ValueOf(RegTree& tree, HKEY root, const std::string& path, const std::string& name) {
    RegKey* key = tree.Find(root, SplitKeyPath(path));
    if (!key) return {};
    RegValueEntry* entry = key->FindValue(name);
    return entry ? entry->Value : TRegValue {};
}

}

TEST(RegistryFormat, EveryValueTypeAndEveryByteSurvivesARoundTrip) {
    RegTree tree;
    bool changed = false;
    RegKey* key = tree.Create(HKEY_CURRENT_USER, {"Soft]ware", "Ключ"}, changed);
    std::string allBytes;
    for (int i = 0; i < 256; ++i)
        allBytes += static_cast<char>(i);
    TRegValue multi {REG_MULTI_SZ, std::string("a\0b\0\0", 5)};
    key->Values.Set("", MakeStringValue("default"));
    key->Values.Set("Text", MakeStringValue(allBytes));
    key->Values.Set("Name \"with\" \\ and =", MakeDwordValue(0xDEADBEEF));
    key->Values.Set("Bin", MakeBinaryValue(allBytes.data(), 256));
    key->Values.Set("Multi", multi);
    key->Values.Set("Empty", MakeBinaryValue("", 0));
    key->Values.Set("Virtual", MakeStringValue("no"), true);
    std::string text = FormatRegistryText(tree);
    std::vector<int> damaged;
    RegTree back = Parse(text, &damaged);
    EXPECT_TRUE(damaged.empty());
    EXPECT_EQ(ValueOf(back, HKEY_CURRENT_USER, "Soft]ware\\Ключ", ""), MakeStringValue("default"));
    EXPECT_EQ(ValueOf(back, HKEY_CURRENT_USER, "Soft]ware\\Ключ", "Text"), MakeStringValue(allBytes));
    EXPECT_EQ(
        ValueOf(back, HKEY_CURRENT_USER, "Soft]ware\\Ключ", "name \"WITH\" \\ and ="), MakeDwordValue(0xDEADBEEF));
    EXPECT_EQ(ValueOf(back, HKEY_CURRENT_USER, "Soft]ware\\Ключ", "Bin"), MakeBinaryValue(allBytes.data(), 256));
    EXPECT_EQ(ValueOf(back, HKEY_CURRENT_USER, "Soft]ware\\Ключ", "Multi"), multi);
    EXPECT_EQ(ValueOf(back, HKEY_CURRENT_USER, "Soft]ware\\Ключ", "Empty"), MakeBinaryValue("", 0));
    EXPECT_EQ(ValueOf(back, HKEY_CURRENT_USER, "Soft]ware\\Ключ", "Virtual").Type, REG_NONE);   // never written
    EXPECT_EQ(FormatRegistryText(back), text);
    EXPECT_EQ(text.find('\r'), std::string::npos);   // one value, one line
}

TEST(RegistryFormat, ReadsFilesExportedElsewhere) {
    std::vector<int> damaged;
    RegTree tree = Parse("\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tellvar\\Options]\r\n"
                         "\"Update\"=dword:1\r\n"
                         "  \"Team\" = \"123\"  \r\n"
                         "@=\"d\"\r\n"
                         "\"Date\"=hex:00,00,00,\\\r\n"
                         "  00,00,00,f0,3f\r\n"
                         "; a comment\r\n",
        &damaged);
    EXPECT_TRUE(damaged.empty());
    EXPECT_EQ(ValueOf(tree, HKEY_LOCAL_MACHINE, "SOFTWARE\\Tellvar\\Options", "Update"), MakeDwordValue(1));
    EXPECT_EQ(ValueOf(tree, HKEY_LOCAL_MACHINE, "SOFTWARE\\Tellvar\\Options", "Team"), MakeStringValue("123"));
    EXPECT_EQ(ValueOf(tree, HKEY_LOCAL_MACHINE, "SOFTWARE\\Tellvar\\Options", ""), MakeStringValue("d"));
    EXPECT_EQ(ValueOf(tree, HKEY_LOCAL_MACHINE, "SOFTWARE\\Tellvar\\Options", "Date").Data.size(), 8u);
}

TEST(RegistryFormat, ALaterValueOfTheSameNameWinsAndSectionsMerge) {
    RegTree tree
        = Parse("[HKEY_CURRENT_USER\\A]\n\"X\"=dword:00000001\n[HKEY_CURRENT_USER\\a]\n\"x\"=dword:00000002\n");
    EXPECT_EQ(ValueOf(tree, HKEY_CURRENT_USER, "A", "X"), MakeDwordValue(2));
    EXPECT_EQ(tree.Find(HKEY_CURRENT_USER, {"A"})->Values.Size(), 1u);
}

struct DamageCase {
    const char* Line;
};

class DamagedLines : public testing::TestWithParam<DamageCase> { };

TEST_P(DamagedLines, AreSkippedAndNamedWhileTheRestLoads) {
    std::vector<int> damaged;
    RegTree tree = Parse(std::string("[HKEY_CURRENT_USER\\K]\n\"A\"=dword:00000001\n") + GetParam().Line
            + "\n[HKEY_CURRENT_USER\\K]\n\"B\"=\"b\"\n",
        &damaged);
    EXPECT_EQ(damaged, std::vector<int> {3}) << GetParam().Line;
    EXPECT_EQ(ValueOf(tree, HKEY_CURRENT_USER, "K", "A"), MakeDwordValue(1));
    EXPECT_EQ(ValueOf(tree, HKEY_CURRENT_USER, "K", "B"), MakeStringValue("b"));
}

INSTANTIATE_TEST_SUITE_P(RegistryFormat, DamagedLines,
    testing::Values(DamageCase {"garbage"}, DamageCase {"\"A\"=dword:123456789"}, DamageCase {"\"A\"=dword:"},
        DamageCase {"\"A\"=dword:12g"}, DamageCase {"\"A\"=hex:1,zz"}, DamageCase {"\"A\"=hex:01,"},
        DamageCase {"\"A\"=hex(x):01"}, DamageCase {"\"A\"=\"unterminated"}, DamageCase {"\"A\"=\"bad \\q escape\""},
        DamageCase {"\"A\"=\"text\" trailing"}, DamageCase {"\"A\""}, DamageCase {"\"A\"=-"}, DamageCase {"@"},
        DamageCase {"[HKEY_NOWHERE\\X]"}, DamageCase {"[-HKEY_CURRENT_USER\\K]"}, DamageCase {"[HKEY_CURRENT_USER\\K"},
        DamageCase {"[HKEY_CURRENT_USER\\\\K]"}, DamageCase {"\"A\"=\"\\x4\""}),
    // Named by the damaged line's letters and digits ("A_dword_12g"), so the names are the same in every build.
    [](const testing::TestParamInfo<DamageCase>& info) {
        std::string name;
        for (char c : std::string(info.param.Line))
            if (std::isalnum(static_cast<unsigned char>(c)))
                name += c;
            else if (!name.empty() && name.back() != '_')
                name += '_';
        return std::to_string(info.index) + "_" + name;
    });

TEST(RegistryFormat, ValuesUnderADamagedHeaderAreDamagedToo) {
    std::vector<int> damaged;
    RegTree tree = Parse("\"Orphan\"=dword:00000001\n[HKEY_BAD\\X]\n\"Lost\"=dword:00000001\n", &damaged);
    EXPECT_EQ(damaged, (std::vector<int> {1, 2, 3}));
}

namespace {

std::string DeepHeader(std::size_t depth) {
    std::string header = "[HKEY_CURRENT_USER";
    for (std::size_t i = 0; i < depth; ++i)
        header += "\\k";
    return header + "]";
}

}

TEST(RegistryFormat, KeysNestedPastTheLimitAreDamagedLinesWithTheirValues) {
    std::vector<int> damaged;
    RegTree tree = Parse("[HKEY_CURRENT_USER\\Before]\n\"A\"=dword:00000001\n" + DeepHeader(MaxKeyDepth + 1)
            + "\n\"Lost\"=dword:00000002\n" + DeepHeader(100000) + "\n[HKEY_CURRENT_USER\\After]\n\"B\"=\"b\"\n",
        &damaged);
    EXPECT_EQ(damaged, (std::vector<int> {3, 4, 5}));
    EXPECT_EQ(ValueOf(tree, HKEY_CURRENT_USER, "Before", "A"), MakeDwordValue(1));
    EXPECT_EQ(ValueOf(tree, HKEY_CURRENT_USER, "After", "B"), MakeStringValue("b"));
    EXPECT_EQ(tree.Find(HKEY_CURRENT_USER, {"k"}), nullptr);   // nothing of the refused paths was created
}

TEST(RegistryFormat, KeysAtTheDepthLimitSurviveARoundTrip) {
    std::vector<int> damaged;
    RegTree tree = Parse(DeepHeader(MaxKeyDepth) + "\n\"Deep\"=dword:00000007\n", &damaged);
    EXPECT_TRUE(damaged.empty());
    const std::string text = FormatRegistryText(tree);
    RegTree back = Parse(text, &damaged);
    EXPECT_TRUE(damaged.empty());
    EXPECT_EQ(FormatRegistryText(back), text);
    std::string path = "k";
    for (std::size_t i = 1; i < MaxKeyDepth; ++i)
        path += "\\k";
    EXPECT_EQ(ValueOf(back, HKEY_CURRENT_USER, path, "Deep"), MakeDwordValue(7));
}

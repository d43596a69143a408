// Tests of the in-memory INI file: parsing as the skin files are read, look-ups without case, first wins, writing.
#include "platform/classes/TMemIniFile.h"
#include "platform/classes/TStringList.h"
#include "support/StringsItems.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace korvex;
using namespace korvex::classes;
using korvex::classes::test::Items;

namespace {

std::unique_ptr<TMemIniFile> FromText(const std::string& text) {
    TStringList lines;
    lines.SetText(text);
    auto ini = std::make_unique<TMemIniFile>();
    ini->SetStrings(lines);
    return ini;
}

const char* const Options = "key before any section=lost\r\n"
                            "[GLOBALINFO]\r\n"
                            "; a comment\r\n"
                            "  VERSION=4.5  \r\n"
                            "\r\n"
                            "MasterBitmap=master.bmp\r\n"
                            "[Button]\r\n"
                            "Color=255\r\n"
                            "PARENTCLASS=FORM\r\n"
                            "no equals sign\r\n"
                            "COLOR=0\r\n"
                            "Spaced = 1\r\n"
                            "[ button ]\r\n"
                            "Color=7\r\n"
                            "Extra=1\r\n"
                            "[Form]\r\n";

}

TEST(TMemIniFile, SectionsAndKeysAreFoundWithoutCase) {
    auto ini = FromText(Options);
    EXPECT_EQ(ini->ReadString("globalinfo", "version", "?"), "4.5");
    EXPECT_EQ(ini->ReadString("GlobalInfo", "MASTERBITMAP", "?"), "master.bmp");
    EXPECT_TRUE(ini->SectionExists("FORM"));
    EXPECT_TRUE(ini->ValueExists("BUTTON", "parentclass"));
    EXPECT_FALSE(ini->ValueExists("BUTTON", "Missing"));
    EXPECT_EQ(ini->ReadString("Nope", "Color", "def"), "def");
}

TEST(TMemIniFile, TheFirstOfRepeatedSectionsAndKeysWins) {
    auto ini = FromText(Options);
    EXPECT_EQ(ini->ReadInteger("BUTTON", "COLOR", -1), 255);
    EXPECT_FALSE(ini->ValueExists("Button", "Extra"));   // only in the repeated section
    TStringList sections;
    ini->ReadSections(sections);
    EXPECT_EQ(Items(sections), (std::vector<std::string> {"GLOBALINFO", "Button", "Form"}));
}

TEST(TMemIniFile, BlanksAroundTheEqualsSignBelongToKeyAndValue) {
    auto ini = FromText(Options);
    EXPECT_FALSE(ini->ValueExists("Button", "Spaced"));
    EXPECT_EQ(ini->ReadString("Button", "Spaced ", "?"), " 1");
}

TEST(TMemIniFile, SectionsListKeysInFileOrderSkippingCommentsBlanksAndLinesWithoutEquals) {
    auto ini = FromText(Options);
    TStringList keys;
    ini->ReadSection("button", keys);
    EXPECT_EQ(Items(keys), (std::vector<std::string> {"Color", "PARENTCLASS", "COLOR", "Spaced "}));
    ini->ReadSection("GLOBALINFO", keys);
    EXPECT_EQ(Items(keys), (std::vector<std::string> {"VERSION", "MasterBitmap"}));
    ini->ReadSectionValues("GLOBALINFO", keys);
    EXPECT_EQ(Items(keys), (std::vector<std::string> {"VERSION=4.5", "MasterBitmap=master.bmp"}));
    ini->ReadSection("Form", keys);
    EXPECT_EQ(keys.Count(), 0);
}

TEST(TMemIniFile, NumbersBooleansAndFloats) {
    auto ini = FromText("[S]\nHex=$FF\nCHex=0x10\nBad=12a\nTrue=1\nFalse=0\nF=2.5\nNeg=-3\n");
    EXPECT_EQ(ini->ReadInteger("S", "Hex", 0), 255);
    EXPECT_EQ(ini->ReadInteger("S", "CHex", 0), 16);
    EXPECT_EQ(ini->ReadInteger("S", "Bad", -1), -1);
    EXPECT_EQ(ini->ReadInteger("S", "Neg", 0), -3);
    EXPECT_TRUE(ini->ReadBool("S", "True", false));
    EXPECT_FALSE(ini->ReadBool("S", "False", true));
    EXPECT_TRUE(ini->ReadBool("S", "Missing", true));
    EXPECT_TRUE(ini->ReadBool("S", "Bad", true));
    EXPECT_EQ(ini->ReadFloat("S", "F", 0), 2.5);
    EXPECT_EQ(ini->ReadFloat("S", "Bad", 1.5), 1.5);
}

TEST(TMemIniFile, WritesReplaceTheFirstKeyOrAppendAndKeepFileOrder) {
    auto ini = FromText("[B]\nx=1\n[A]\ny=2\n");
    ini->WriteString("b", "X", "9");
    ini->WriteInteger("A", "z", 3);
    ini->WriteBool("C", "flag", true);
    ini->WriteFloat("C", "f", 0.5);
    TStringList lines;
    ini->GetStrings(lines);
    EXPECT_EQ(Items(lines),
        (std::vector<std::string> {"[B]", "X=9", "", "[A]", "y=2", "z=3", "", "[C]", "flag=1", "f=0.5", ""}));
    ini->DeleteKey("A", "Y");
    ini->EraseSection("b");
    ini->GetStrings(lines);
    EXPECT_EQ(Items(lines), (std::vector<std::string> {"[A]", "z=3", "", "[C]", "flag=1", "f=0.5", ""}));
}

TEST(TMemIniFile, ReadsAFileAndWritesItBack) {
    auto path = std::filesystem::temp_directory_path() / ("korvex_ini_" + std::to_string(::getpid()) + ".dat");
    {
        std::ofstream out(path, std::ios::binary);
        out << Options;
    }
    TMemIniFile ini(path.string());
    EXPECT_EQ(ini.ReadString("GLOBALINFO", "VERSION", ""), "4.5");
    ini.WriteString("Form", "Color", "1");
    ini.UpdateFile();
    TMemIniFile again(path.string());
    EXPECT_EQ(again.ReadString("FORM", "COLOR", ""), "1");
    EXPECT_EQ(again.ReadString("Button", "Color", ""), "255");
    std::filesystem::remove(path);
    TMemIniFile missing(path.string());
    TStringList sections;
    missing.ReadSections(sections);
    EXPECT_EQ(sections.Count(), 0);
}

TEST(TMemIniFile, DeletingAndErasingKeepLookUpsRight) {
    auto ini = FromText("[A]\nK=1\nk=2\nL=3\n[B]\nM=4\n[a]\nN=5\n[C]\nO=6\n");
    ini->DeleteKey("a", "K");
    EXPECT_EQ(ini->ReadString("A", "K", "-"), "2");   // the later key of that name now comes first
    EXPECT_EQ(ini->ReadString("A", "L", "-"), "3");
    ini->EraseSection("A");   // both sections of that name
    EXPECT_FALSE(ini->SectionExists("a"));
    EXPECT_EQ(ini->ReadString("C", "O", "-"), "6");
    TStringList sections;
    ini->ReadSections(sections);
    EXPECT_EQ(Items(sections), (std::vector<std::string> {"B", "C"}));
    ini->WriteString("a", "N", "7");
    EXPECT_EQ(ini->ReadString("A", "n", "-"), "7");
}

TEST(TMemIniFile, NamesCompareWithoutCaseBeyondAscii) {
    auto ini = FromText("[Кнопка]\nЦвет=1\n");
    EXPECT_EQ(ini->ReadString("КНОПКА", "цвет", "-"), "1");
}

TEST(TMemIniFile, ManySectionsKeysAndLongNamesReadQuickly) {
    // Look-ups by hash: a file of many sections and keys reads in linear time (tens of seconds before).
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "[S" + std::to_string(i) + "]\nK=" + std::to_string(i) + "\n";
    text += "[" + std::string(200000, 'n') + "]\n";
    for (int i = 0; i < 20000; ++i)
        text += "K" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    auto ini = FromText(text);
    TStringList sections;
    ini->ReadSections(sections);
    ASSERT_EQ(sections.Count(), 20001);
    for (int i = 0; i < 20000; ++i)
        ASSERT_EQ(ini->ReadInteger("s" + std::to_string(i), "k", -1), i);
    const std::string longName = sections.Strings(20000);
    for (int i = 0; i < 20000; i += 997)
        ASSERT_EQ(ini->ReadInteger(longName, "k" + std::to_string(i), -1), i);
}

TEST(TMemIniFile, HostileTextIsReadWithoutFault) {
    std::string text = "[\n]\n[]\n=x\n==\n[[x]]\n[unclosed\n";
    text += std::string(100000, '[') + "\n";
    text += '\0';
    text += "\xff\xfe=\x01\n";
    auto ini = FromText(text);
    EXPECT_TRUE(ini->SectionExists(""));
    EXPECT_TRUE(ini->SectionExists("[x]"));
    EXPECT_EQ(ini->ReadString("", "", "?"), "x");
}

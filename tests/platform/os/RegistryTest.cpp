// Tests of TRegistry: keys, typed values, names without case, missing values and type mismatches.
#include "platform/os/Registry.h"
#include "support/TempFolder.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace korvex::os;
using korvex::os::filetest::ReadFile;
using korvex::os::filetest::OptionsKey;
using korvex::os::filetest::SandboxedEnvironment;

namespace {


// A sandboxed store and an accessor on HKEY_LOCAL_MACHINE with the options key open.
class RegistryTest : public testing::Test {
protected:
    void SetUp() override {
        Reg.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(Reg.OpenKey(OptionsKey, true));
    }

    std::string RaisedMessage(const std::function<void()>& action) {
        try {
            action();
        } catch (const ERegistryException& e) {
            return e.Message();
        }
        return "(nothing raised)";
    }

    SandboxedEnvironment Env;
    TRegistry Reg;
};

}

TEST_F(RegistryTest, StartsOnHkeyCurrentUserLikeTheRunTime) {
    TRegistry fresh;
    EXPECT_EQ(fresh.RootKey(), HKEY_CURRENT_USER);
    EXPECT_EQ(fresh.CurrentPath(), "");
    EXPECT_EQ(Reg.CurrentPath(), "SOFTWARE\\Tellvar\\Options");
}

TEST_F(RegistryTest, ReadsBackEveryTypedWrite) {
    Reg.WriteInteger("FSize", 8);
    Reg.WriteInteger("Negative", -5);
    Reg.WriteString("SkinName", "LongHorn (internal)");
    Reg.WriteString("Russian", "Кэширование...");
    Reg.WriteBool("HintTray", true);
    Reg.WriteBool("RunMinimized", false);
    Reg.WriteFloat("Amber0", 1234.5678);
    Reg.WriteDateTime("Date", 39421.84045);
    const unsigned char bytes[] = {0, 1, 2, 0xFF};
    Reg.WriteBinaryData("Blob", bytes, sizeof bytes);
    EXPECT_EQ(Reg.ReadInteger("FSize"), 8);
    EXPECT_EQ(Reg.ReadInteger("Negative"), -5);
    EXPECT_EQ(Reg.ReadString("SkinName"), "LongHorn (internal)");
    EXPECT_EQ(Reg.ReadString("Russian"), "Кэширование...");
    EXPECT_TRUE(Reg.ReadBool("HintTray"));
    EXPECT_FALSE(Reg.ReadBool("RunMinimized"));
    EXPECT_DOUBLE_EQ(Reg.ReadFloat("Amber0"), 1234.5678);
    EXPECT_DOUBLE_EQ(Reg.ReadDateTime("Date"), 39421.84045);
    unsigned char back[8] = {};
    EXPECT_EQ(Reg.ReadBinaryData("Blob", back, sizeof back), 4);
    EXPECT_EQ(std::vector<unsigned char>(back, back + 4), std::vector<unsigned char>(bytes, bytes + 4));
    EXPECT_EQ(Reg.GetDataType("FSize"), TRegDataType::rdInteger);
    EXPECT_EQ(Reg.GetDataType("HintTray"), TRegDataType::rdInteger);
    EXPECT_EQ(Reg.GetDataType("SkinName"), TRegDataType::rdString);
    EXPECT_EQ(Reg.GetDataType("Amber0"), TRegDataType::rdBinary);
    EXPECT_EQ(Reg.GetDataType("Missing"), TRegDataType::rdUnknown);
    EXPECT_EQ(Reg.GetDataSize("SkinName"), 20);
    EXPECT_EQ(Reg.GetDataSize("FSize"), 4);
    EXPECT_EQ(Reg.GetDataSize("Date"), 8);
    EXPECT_EQ(Reg.GetDataSize("Missing"), -1);
}

TEST_F(RegistryTest, StoresFloatsAsEightLittleEndianBytes) {
    Reg.WriteFloat("One", 1.0);
    unsigned char raw[8] = {};
    ASSERT_EQ(Reg.ReadBinaryData("One", raw, sizeof raw), 8);
    const unsigned char expected[8] = {0, 0, 0, 0, 0, 0, 0xF0, 0x3F};
    EXPECT_EQ(0, std::memcmp(raw, expected, 8));
    EXPECT_NE(ReadFile(Env.RegistryFile()).find("\"One\"=hex:00,00,00,00,00,00,f0,3f"), std::string::npos);
}

TEST_F(RegistryTest, AnyNonZeroDwordReadsAsTrue) {
    Reg.WriteInteger("Get0", 7);
    EXPECT_TRUE(Reg.ReadBool("Get0"));
}

TEST_F(RegistryTest, ComparesKeyAndValueNamesWithoutCaseAndKeepsTheFirstSpelling) {
    Reg.WriteBool("Backup0", true);
    EXPECT_TRUE(Reg.ValueExists("BackUp0"));
    EXPECT_TRUE(Reg.ReadBool("BACKUP0"));
    Reg.WriteBool("BackUp0", false);
    EXPECT_EQ(Reg.GetValueNames(), std::vector<std::string> {"Backup0"});
    EXPECT_FALSE(Reg.ReadBool("backup0"));
    TRegistry other;
    other.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(other.OpenKey("software\\TELLVAR\\options", false));
    EXPECT_TRUE(other.ValueExists("backup0"));
    other.CloseKey();
    EXPECT_EQ(other.CurrentPath(), "");
    ASSERT_TRUE(other.OpenKey("SOFTWARE", false));
    EXPECT_EQ(other.GetKeyNames(), std::vector<std::string> {"Tellvar"});
}

TEST_F(RegistryTest, MissingValuesReadAsTheRunTimeReadsThem) {
    EXPECT_EQ(Reg.ReadString("UName"), "");
    EXPECT_EQ(RaisedMessage([&] { Reg.ReadInteger("HostCount"); }), "Failed to get data for 'HostCount'");
    EXPECT_EQ(RaisedMessage([&] { Reg.ReadBool("Taskbar"); }), "Failed to get data for 'Taskbar'");
    EXPECT_EQ(RaisedMessage([&] { Reg.ReadFloat("Amber0"); }), "Failed to get data for 'Amber0'");
    EXPECT_EQ(RaisedMessage([&] { Reg.ReadDateTime("Date"); }), "Failed to get data for 'Date'");
    char buffer[8];
    EXPECT_EQ(Reg.ReadBinaryData("Blob", buffer, sizeof buffer), 0);
    EXPECT_FALSE(Reg.ValueExists("UName"));
}

TEST_F(RegistryTest, ATypeMismatchRaisesInvalidDataType) {
    Reg.WriteString("Credit1", "110");
    Reg.WriteInteger("Team", 32);
    Reg.WriteBinaryData("Four", "abcd", 4);
    Reg.WriteBinaryData("Long", "0123456789", 10);
    EXPECT_EQ(RaisedMessage([&] { Reg.ReadInteger("Credit1"); }), "Invalid data type for 'Credit1'");
    EXPECT_EQ(RaisedMessage([&] { Reg.ReadBool("Credit1"); }), "Invalid data type for 'Credit1'");
    EXPECT_EQ(RaisedMessage([&] { Reg.ReadString("Team"); }), "Invalid data type for 'Team'");
    EXPECT_EQ(RaisedMessage([&] { Reg.ReadInteger("Four"); }), "Invalid data type for 'Four'");
    EXPECT_EQ(RaisedMessage([&] { Reg.ReadFloat("Four"); }), "Invalid data type for 'Four'");
    EXPECT_EQ(RaisedMessage([&] { Reg.ReadFloat("Team"); }), "Invalid data type for 'Team'");
    char small[4];
    EXPECT_EQ(RaisedMessage([&] { Reg.ReadBinaryData("Long", small, sizeof small); }), "Invalid data type for 'Long'");
    EXPECT_EQ(RaisedMessage([&] { Reg.ReadBinaryData("Team", small, sizeof small); }), "Invalid data type for 'Team'");
    EXPECT_THROW(Reg.ReadInteger("Credit1"), korvex::base::Exception);
}

TEST_F(RegistryTest, TryReadsReturnFalseInsteadOfRaising) {
    Reg.WriteString("Text", "x");
    Reg.WriteInteger("Number", 3);
    int number = -1;
    std::string text = "unchanged";
    double d = -1;
    bool flag = false;
    EXPECT_FALSE(Reg.TryReadInteger("Text", number));
    EXPECT_FALSE(Reg.TryReadInteger("Missing", number));
    EXPECT_EQ(number, -1);
    EXPECT_TRUE(Reg.TryReadInteger("Number", number));
    EXPECT_EQ(number, 3);
    EXPECT_FALSE(Reg.TryReadString("Number", text));
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(Reg.TryReadString("Missing", text));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(Reg.TryReadFloat("Number", d));
    EXPECT_FALSE(Reg.TryReadDateTime("Missing", d));
    EXPECT_TRUE(Reg.TryReadBool("Number", flag));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(Reg.TryWriteFloat("F", 2.5));
    EXPECT_TRUE(Reg.TryReadFloat("F", d));
    EXPECT_EQ(d, 2.5);
}

TEST_F(RegistryTest, TheEmptyNameIsTheKeysDefaultValue) {
    Reg.WriteString("", "default text");
    EXPECT_TRUE(Reg.ValueExists(""));
    EXPECT_EQ(Reg.ReadString(""), "default text");
    EXPECT_NE(ReadFile(Env.RegistryFile()).find("@=\"default text\""), std::string::npos);
    EXPECT_EQ(Reg.GetValueNames(), std::vector<std::string> {""});
}

TEST_F(RegistryTest, OpensRelativeToTheOpenKeyOrAbsoluteWithALeadingBackslash) {
    ASSERT_TRUE(Reg.OpenKey("Units", true));
    EXPECT_EQ(Reg.CurrentPath(), "SOFTWARE\\Tellvar\\Options\\Units");
    ASSERT_TRUE(Reg.OpenKey("\\SOFTWARE\\Tellvar\\Data", true));
    EXPECT_EQ(Reg.CurrentPath(), "SOFTWARE\\Tellvar\\Data");
    EXPECT_FALSE(Reg.OpenKey("Missing", false));
    EXPECT_EQ(Reg.CurrentPath(), "SOFTWARE\\Tellvar\\Data");   // unchanged after a failed open
    EXPECT_TRUE(Reg.KeyExists("\\SOFTWARE\\Tellvar\\Options\\Units"));
    EXPECT_FALSE(Reg.KeyExists("Units"));
}

TEST_F(RegistryTest, EnumeratesSubKeysSortedAndValuesInWritingOrder) {
    Reg.WriteInteger("W2", 1);
    Reg.WriteInteger("W1W", 74);
    Reg.WriteInteger("W10W", 97);
    Reg.CloseKey();
    ASSERT_TRUE(Reg.OpenKey("SOFTWARE\\Tellvar", false));
    for (const char* key : {"Path", "Label", "GetWU", "data"})
        ASSERT_TRUE(Reg.CreateKey(key));
    EXPECT_EQ(Reg.GetKeyNames(), (std::vector<std::string> {"data", "GetWU", "Label", "Options", "Path"}));
    EXPECT_TRUE(Reg.HasSubKeys());
    ASSERT_TRUE(Reg.OpenKey("Options", false));
    EXPECT_EQ(Reg.GetValueNames(), (std::vector<std::string> {"W2", "W1W", "W10W"}));
    EXPECT_FALSE(Reg.HasSubKeys());
}

TEST_F(RegistryTest, DeleteValueAndDeleteKeyWithItsSubKeys) {
    Reg.WriteInteger("A", 1);
    EXPECT_TRUE(Reg.DeleteValue("a"));
    EXPECT_FALSE(Reg.DeleteValue("a"));
    ASSERT_TRUE(Reg.OpenKey("Units", true));
    Reg.WriteInteger("UnitsCount", 1);
    ASSERT_TRUE(Reg.OpenKey("Deeper\\Still", true));
    Reg.CloseKey();
    Reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(Reg.OpenKey("SOFTWARE\\PandeGroup\\FAH", true));
    Reg.CloseKey();
    EXPECT_TRUE(Reg.KeyExists("SOFTWARE\\PandeGroup"));
    EXPECT_TRUE(Reg.DeleteKey("software\\pandegroup"));
    EXPECT_FALSE(Reg.KeyExists("SOFTWARE\\PandeGroup"));
    EXPECT_FALSE(Reg.DeleteKey("SOFTWARE\\PandeGroup"));
    EXPECT_FALSE(Reg.DeleteKey(""));
    Reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_TRUE(Reg.DeleteKey("SOFTWARE\\Tellvar\\Options\\Units"));
    EXPECT_FALSE(Reg.KeyExists("SOFTWARE\\Tellvar\\Options\\Units\\Deeper"));
    EXPECT_TRUE(Reg.KeyExists("SOFTWARE\\Tellvar\\Options"));
}

TEST_F(RegistryTest, WritesToAKeyDeletedMeanwhileRaise) {
    TRegistry other;
    other.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(other.DeleteKey(OptionsKey));
    EXPECT_EQ(RaisedMessage([&] { Reg.WriteInteger("FSize", 8); }), "Failed to set data for 'FSize'");
    EXPECT_FALSE(Reg.TryWriteString("X", "y"));
}

TEST_F(RegistryTest, AReadOnlyKeyReadsButRefusesWrites) {
    Reg.WriteInteger("FSize", 8);
    TRegistry reader;
    reader.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reader.OpenKeyReadOnly(OptionsKey));
    EXPECT_EQ(reader.ReadInteger("FSize"), 8);
    EXPECT_THROW(reader.WriteInteger("FSize", 9), ERegistryException);
    EXPECT_FALSE(reader.DeleteValue("FSize"));
    EXPECT_FALSE(reader.OpenKeyReadOnly("Missing"));
    ASSERT_TRUE(reader.OpenKey(std::string("\\") + OptionsKey, false));
    reader.WriteInteger("FSize", 9);   // a normal open writes again
    EXPECT_EQ(Reg.ReadInteger("FSize"), 9);
}

TEST_F(RegistryTest, OpenKeyWithoutCreateLeavesTheFileAlone) {
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    std::string before = ReadFile(Env.RegistryFile());
    EXPECT_FALSE(reg.OpenKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", false));
    EXPECT_EQ(ReadFile(Env.RegistryFile()), before);
}

TEST_F(RegistryTest, ValuesWithoutAnOpenKeyBelongToTheRoot) {
    TRegistry reg;
    reg.SetRootKey(HKEY_USERS);
    reg.WriteString("RootValue", "r");
    EXPECT_EQ(reg.ReadString("RootValue"), "r");
    EXPECT_NE(ReadFile(Env.RegistryFile()).find("[HKEY_USERS]\n\"RootValue\"=\"r\""), std::string::npos);
}

TEST_F(RegistryTest, TheBrowserCommandIsAnsweredWithTheOpener) {
    korvex::os::filetest::EnvOverride opener("KORVEX_OPENER", "/usr/local/bin/fake-opener");
    TRegistry reg;
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    ASSERT_TRUE(reg.OpenKey("htmlfile\\shell\\open\\command", false));
    EXPECT_EQ(reg.ReadString(""), "\"/usr/local/bin/fake-opener\" \"%1\"");
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\http\\shell\\open\\command"));
    EXPECT_EQ(reg.ReadString(""), "\"/usr/local/bin/fake-opener\" \"%1\"");
    Reg.WriteInteger("Something", 1);
    EXPECT_EQ(ReadFile(Env.RegistryFile()).find("htmlfile"), std::string::npos);   // never stored
}

TEST_F(RegistryTest, AStoredBrowserCommandWinsOverTheAnswer) {
    TRegistry reg;
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    ASSERT_TRUE(reg.OpenKey("htmlfile\\shell\\open\\command", false));
    reg.WriteString("", "\"/opt/browser\" \"%1\"");
    TRegistry again;
    again.SetRootKey(HKEY_CLASSES_ROOT);
    ASSERT_TRUE(again.OpenKey("htmlfile\\shell\\open\\command", false));
    EXPECT_EQ(again.ReadString(""), "\"/opt/browser\" \"%1\"");
    EXPECT_NE(
        ReadFile(Env.RegistryFile()).find("[HKEY_CLASSES_ROOT\\htmlfile\\shell\\open\\command]"), std::string::npos);
}

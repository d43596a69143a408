// The settings record in the settings store: first run, reload, wrong types, ranges and the exit-time save.
#include "app/settings/Settings.h"
#include "support/AppEnvironment.h"

#include "platform/os/RegistryStore.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace korvex::app {
namespace {

using os::MakeDwordValue;
using os::MakeStringValue;
using os::TRegValue;

TRegValue Dword(int v) {
    return MakeDwordValue(static_cast<std::uint32_t>(v));
}

struct TDefault {
    const char* Key;
    const char* Name;
    TRegValue Value;
};

TEST(LoadSettings, FirstRunWritesEveryDefault) {
    test::TAppEnvironment env;
    TSettings s = LoadSettings();

    const std::vector<TDefault> defaults = {{OptionsKey, "Ver", MakeStringValue("KORVEX 2.6.0.11")},
        {OptionsKey, "WUCount", Dword(167)}, {OptionsKey, "SkinPath", MakeStringValue("")},
        {OptionsKey, "SkinName", MakeStringValue("LongHorn (internal)")},
        {OptionsKey, "Team", MakeStringValue("12345")},
        {OptionsKey, "CustomerStr", MakeStringValue("KORVEX farm monitor 2.6.0.11")}, {OptionsKey, "FSize", Dword(8)},
        {OptionsKey, "HintTray", Dword(1)}, {OptionsKey, "Language", Dword(1)}, {OptionsKey, "RunStartup", Dword(1)},
        {OptionsKey, "RunMinimized", Dword(0)}, {OptionsKey, "Taskbar", Dword(1)},
        {OptionsKey, "ServiceName", MakeStringValue("")}, {OptionsKey, "PathService", MakeStringValue(env.Folder())},
        {OptionsKey, "PathName", MakeStringValue(env.Folder())}, {OptionsKey, "WarningColor", Dword(255)},
        {OptionsKey, "WarningFontColor", Dword(255)}, {OptionsKey, "AutoBackup", Dword(0)},
        {OptionsKey, "W2", Dword(1)}, {OptionsKey, "W9", Dword(1)}, {OptionsKey, "W1W", Dword(74)},
        {OptionsKey, "W2W", Dword(41)}, {OptionsKey, "W3W", Dword(87)}, {OptionsKey, "W6W", Dword(33)},
        {OptionsKey, "W7W", Dword(41)}, {OptionsKey, "W8W", Dword(34)}, {OptionsKey, "W9W", Dword(93)},
        {OptionsKey, "W10W", Dword(97)}, {OptionsKey, "W11W", Dword(156)}, {OptionsKey, "HostCount", Dword(1)},
        {OptionsKey, "Update", Dword(1)}, {OptionsKey, "F3H", Dword(480)}, {OptionsKey, "F3W", Dword(670)},
        {OptionsKey, "F3P1H", Dword(330)}, {OptionsKey, "F3P1W", Dword(662)}, {OptionsKey, "F3P2H", Dword(111)},
        {OptionsKey, "F3P2W", Dword(662)}, {OptionsKey, "F5H", Dword(430)}, {OptionsKey, "F5W", Dword(630)},
        {OptionsKey, "F5C1", Dword(120)}, {OptionsKey, "F5C2", Dword(255)}, {OptionsKey, "F5C6", Dword(62)},
        {OptionsKey, "End1", Dword(30)}, {OptionsKey, "End2", Dword(55)}, {OptionsKey, "Scale", Dword(0)},
        {OptionsKey, "HPP", Dword(1)}, {LabelKey, "Label0", MakeStringValue("Local host")},
        {PathKey, "Path0", MakeStringValue(env.Folder())}, {PathKey, "Ip0", MakeStringValue("")},
        {HintKey, "Hint0", Dword(1)}, {GetWUKey, "Get0", Dword(0)}, {GetWUKey, "Level0", Dword(90)},
        {GetWUKey, "RSPath0", MakeStringValue("")}, {GetWUKey, "CPU0", Dword(0)}, {GetWUKey, "Send0", Dword(0)},
        {GetWUKey, "Backup0", Dword(0)}, {GetWUKey, "Core0", Dword(3)}, {GetWUKey, "MID0", Dword(8)},
        {DataKey, "Progress0", Dword(0)}, {DataKey, "BackLevel0", Dword(0)}};
    for (const TDefault& d : defaults) {
        std::optional<TRegValue> stored = env.Stored(d.Key, d.Name);
        ASSERT_TRUE(stored) << d.Name;
        EXPECT_EQ(*stored, d.Value) << d.Name;
    }
    EXPECT_FALSE(env.Stored(OptionsKey, "UName"));   // written by the options window only
    for (const char* name : {"Trycore0", "Verbo0", "VerboN0"})
        EXPECT_FALSE(env.Stored(GetWUKey, name)) << name;
    EXPECT_FALSE(os::RegistryStore::Default().KeyExists(os::HKEY_LOCAL_MACHINE, UnitsKey));

    ASSERT_EQ(s.Nodes.size(), 1u);
    EXPECT_EQ(s.Nodes[0].Label, "Local host");
    EXPECT_EQ(s.Nodes[0].Path, env.Folder());
    EXPECT_TRUE(s.Nodes[0].Hint);
    EXPECT_EQ(s.Nodes[0].Core, 3);
    EXPECT_EQ(s.PathService, env.Folder());
    EXPECT_EQ(s.Update, 1);
}

TEST(LoadSettings, SecondRunChangesNothingAndReadsTheSameRecord) {
    test::TAppEnvironment env;
    TSettings first = LoadSettings();
    std::string file = env.ReadFile("registry.reg");
    TSettings second = LoadSettings();
    EXPECT_EQ(second, first);
    EXPECT_EQ(env.ReadFile("registry.reg"), file);
}

TEST(LoadSettings, ReloadReadsStoredValues) {
    test::TAppEnvironment env;
    TSettings first = LoadSettings();
    env.Store(OptionsKey, "Language", Dword(0));
    env.Store(OptionsKey, "FSize", Dword(11));
    env.Store(OptionsKey, "SkinName", MakeStringValue("MacOS (internal)"));
    env.Store(OptionsKey, "W4", Dword(0));
    env.Store(OptionsKey, "Update", Dword(5));
    env.Store(OptionsKey, "HostCount", Dword(2));
    env.Store(LabelKey, "Label1", MakeStringValue("box"));
    env.Store(PathKey, "Path1", MakeStringValue("\\\\box\\fah"));
    env.Store(GetWUKey, "Get1", Dword(7));   // any non-zero value is set
    env.Store(DataKey, "Progress1", Dword(42));

    TSettings s = LoadSettings();
    EXPECT_EQ(s.Language, 0);
    EXPECT_EQ(s.FSize, 11);
    EXPECT_EQ(s.SkinName, "MacOS (internal)");
    EXPECT_FALSE(s.W[4]);
    EXPECT_TRUE(s.W[5]);
    EXPECT_EQ(s.Update, 5);
    ASSERT_EQ(s.Nodes.size(), 2u);
    EXPECT_EQ(s.Nodes[0], first.Nodes[0]);
    EXPECT_EQ(s.Nodes[1].Label, "box");
    EXPECT_EQ(s.Nodes[1].Path, "\\\\box\\fah");
    EXPECT_TRUE(s.Nodes[1].Get);
    EXPECT_EQ(s.Nodes[1].Progress, 42);
    EXPECT_EQ(s.Nodes[1].Level, 90);
    EXPECT_EQ(s.Nodes[1].Core, 3);
}

TEST(LoadSettings, NodeWithoutLabelGetsAnEmptyNameWritten) {
    test::TAppEnvironment env;
    LoadSettings();
    env.Store(OptionsKey, "HostCount", Dword(2));
    TSettings s = LoadSettings();
    ASSERT_EQ(s.Nodes.size(), 2u);
    EXPECT_EQ(s.Nodes[1].Label, "");
    EXPECT_EQ(env.Stored(LabelKey, "Label1"), MakeStringValue(""));
    EXPECT_EQ(env.Stored(PathKey, "Path1"), MakeStringValue(""));
    EXPECT_EQ(env.Stored(HintKey, "Hint1"), Dword(0));
}

TEST(LoadSettings, WrongTypedValuesGiveDefaultsAndTheLoadGoesOn) {
    test::TAppEnvironment env;
    env.Store(OptionsKey, "FSize", MakeStringValue("big"));
    env.Store(OptionsKey, "HintTray", MakeStringValue("yes"));
    env.Store(OptionsKey, "SkinName", Dword(3));
    env.Store(OptionsKey, "HostCount", MakeStringValue("two"));
    env.Store(OptionsKey, "Update", Dword(7));
    env.Store(LabelKey, "Label0", MakeStringValue("mine"));
    env.Store(GetWUKey, "Level0", MakeStringValue("ninety"));

    TSettings s = LoadSettings();
    EXPECT_EQ(s.FSize, 8);
    EXPECT_TRUE(s.HintTray);
    EXPECT_EQ(s.SkinName, DefaultSkinName);
    EXPECT_EQ(s.Update, 7);
    ASSERT_EQ(s.Nodes.size(), 1u);
    EXPECT_EQ(s.Nodes[0].Label, "mine");
    EXPECT_EQ(s.Nodes[0].Level, 90);
    // The stored values stay as they were, and the wrong-typed HostCount is no first run.
    EXPECT_EQ(env.Stored(OptionsKey, "FSize"), MakeStringValue("big"));
    EXPECT_EQ(env.Stored(OptionsKey, "SkinName"), Dword(3));
    EXPECT_EQ(env.Stored(OptionsKey, "HostCount"), MakeStringValue("two"));
    EXPECT_EQ(env.Stored(GetWUKey, "Level0"), MakeStringValue("ninety"));
    std::string log = env.ReadFile("KORVEX.LOG");
    for (const char* name : {"FSize", "HintTray", "SkinName", "HostCount", "Level0"})
        EXPECT_NE(log.find(name), std::string::npos) << name;
}

// The interval is used as stored (the options window keeps its own range); only what could not be slept (none,
// or more milliseconds than an int holds) is kept within bounds.
TEST(LoadSettings, UpdateIsUsedAsStoredFromAMinuteToWhatAnIntHoldsInMilliseconds) {
    test::TAppEnvironment env;
    for (auto [stored, expected] : {std::pair {0, 1}, {-3, 1}, {500, 500}, {180, 180}, {1, 1}, {60, 60},
             {35790, 35790}, {35791, 35790}, {2000000000, 35790}}) {
        env.Store(OptionsKey, "Update", Dword(stored));
        EXPECT_EQ(LoadSettings().Update, expected) << stored;
        EXPECT_EQ(env.Stored(OptionsKey, "Update"), Dword(stored));
    }
}

TEST(LoadSettings, NegativeHostCountGivesNoNodes) {
    test::TAppEnvironment env;
    env.Store(OptionsKey, "HostCount", Dword(-5));
    TSettings s = LoadSettings();
    EXPECT_EQ(s.HostCount, 0);
    EXPECT_TRUE(s.Nodes.empty());
    EXPECT_FALSE(env.Stored(LabelKey, "Label0"));
}

TEST(LoadSettings, AThousandNodesLoadWithTheirDefaultsAndMoreAreCut) {
    test::TAppEnvironment env;
    LoadSettings();
    env.Store(OptionsKey, "HostCount", Dword(5000));
    env.Store(LabelKey, "Label999", MakeStringValue("last"));
    TSettings first = LoadSettings();
    EXPECT_EQ(first.HostCount, 1000);
    ASSERT_EQ(first.Nodes.size(), 1000u);
    EXPECT_EQ(first.Nodes[0].Label, "Local host");
    EXPECT_EQ(first.Nodes[999].Label, "last");
    EXPECT_EQ(first.Nodes[500].Core, 3);
    EXPECT_EQ(env.Stored(OptionsKey, "HostCount"), Dword(5000));
    EXPECT_EQ(env.Stored(LabelKey, "Label998"), MakeStringValue(""));
    EXPECT_EQ(env.Stored(GetWUKey, "MID999"), Dword(8));
    EXPECT_FALSE(env.Stored(GetWUKey, "VerboN999"));   // the options window's value: written by it
    EXPECT_EQ(env.Stored(DataKey, "BackLevel999"), Dword(0));
    EXPECT_FALSE(env.Stored(LabelKey, "Label1000"));
    std::string file = env.ReadFile("registry.reg");
    EXPECT_EQ(LoadSettings(), first);
    EXPECT_EQ(env.ReadFile("registry.reg"), file);
}

TEST(SettingsRanges, CountsAreKeptWithinZeroToAThousand) {
    EXPECT_EQ(ClampCount(5000), 1000);
    EXPECT_EQ(ClampCount(1000), 1000);
    EXPECT_EQ(ClampCount(-1), 0);
    EXPECT_EQ(ClampUpdate(181), 180);
    EXPECT_EQ(ClampUpdate(0), 1);
    // The longest stored interval, in milliseconds and with the watchdog's minute, still fits an int.
    EXPECT_LE(static_cast<long long>(MaxStoredUpdate) * 60000 + 60000, std::numeric_limits<int>::max());
}

TEST(SaveData, WritesProgressAndMachineIdsAndKeepsHiddenColumnWidths) {
    test::TAppEnvironment env;
    TSettings s = LoadSettings();
    s.Nodes[0].Progress = 57;
    s.Nodes[0].MID = 4;
    s.WW[3] = 0;   // the Start column is hidden
    s.WW[5] = 120;
    s.W[3] = false;
    s.WW[10] = 0;
    s.WW[11] = 200;
    SaveData(s);
    EXPECT_EQ(env.Stored(DataKey, "Progress0"), Dword(57));
    EXPECT_EQ(env.Stored(GetWUKey, "MID0"), Dword(4));
    EXPECT_EQ(env.Stored(OptionsKey, "W3W"), Dword(87));
    EXPECT_EQ(env.Stored(OptionsKey, "W5W"), Dword(120));
    EXPECT_EQ(env.Stored(OptionsKey, "W3"), Dword(0));
    EXPECT_EQ(env.Stored(OptionsKey, "W10W"), Dword(0));   // always written
    EXPECT_EQ(env.Stored(OptionsKey, "W11W"), Dword(200));
    EXPECT_FALSE(env.Stored(OptionsKey, "W1"));   // the Core column is always shown
}

// A settings file that is there and cannot be read (here its reading fails with an I/O error) keeps the
// user's farm: the program runs on the first-run defaults, saves nothing over it, and says so once in the log and
// on stderr.
TEST(LoadSettings, AnUnreadableSettingsFileRunsOnDefaultsSavesNothingAndIsSaidOnce) {
    namespace fs = std::filesystem;
    test::TAppEnvironment env;
    fs::create_symlink("/proc/self/mem", env.RegistryFile());
    ReportSettingsFileTrouble();
    testing::internal::CaptureStderr();
    TSettings s = LoadSettings();
    EXPECT_TRUE(ReadTaskbar());
    SaveData(s);
    WriteSkinName("NextStyle (internal)");
    WriteStartWithWindows(true);
    const std::string said = testing::internal::GetCapturedStderr();
    os::RegistryStore::Default().SetDamageHandler(nullptr);

    ASSERT_EQ(s.Nodes.size(), 1u);
    EXPECT_EQ(s.Nodes[0].Label, "Local host");
    EXPECT_EQ(s.Nodes[0].Path, env.Folder());
    EXPECT_EQ(s.SkinName, DefaultSkinName);
    EXPECT_EQ(s.Update, 1);
    EXPECT_TRUE(fs::is_symlink(env.RegistryFile()));
    EXPECT_EQ(fs::read_symlink(env.RegistryFile()), "/proc/self/mem");
    EXPECT_FALSE(fs::exists(env.Folder() + "/config/autostart/korvex.desktop"));

    const auto count = [](const std::string& text, const std::string& what) {
        int n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    };
    const std::string log = env.ReadFile("KORVEX.LOG");
    EXPECT_EQ(count(log, env.RegistryFile() + " was not read: input/output error"), 1) << log;
    EXPECT_EQ(count(log, "\n"), 1) << "[" << log << "]";   // and nothing else about it
    EXPECT_EQ(count(said, env.RegistryFile() + " was not read"), 1) << said;
}

TEST(WriteSkinName, StoresTheSkinInUse) {
    test::TAppEnvironment env;
    WriteSkinName("NextStyle (internal)");
    EXPECT_EQ(env.Stored(OptionsKey, "SkinName"), MakeStringValue("NextStyle (internal)"));
}

TEST(WriteStartWithWindows, WritesTheQuotedProgramPathAndDeletesIt) {
    test::TAppEnvironment env;
    WriteStartWithWindows(true);
    EXPECT_EQ(env.Stored(RunKey, RunValueName), MakeStringValue("\"" + env.Folder() + "\\KORVEX.exe\""));
    WriteStartWithWindows(false);
    EXPECT_FALSE(env.Stored(RunKey, RunValueName));
}

TEST(ReadRunMinimized, MissingValueIsWrittenAsClearAndNothingElse) {
    test::TAppEnvironment env;
    EXPECT_FALSE(ReadRunMinimized());
    EXPECT_EQ(env.Stored(OptionsKey, "RunMinimized"), Dword(0));
    EXPECT_FALSE(env.Stored(OptionsKey, "HostCount"));   // no first run behind the question
    EXPECT_FALSE(env.Stored(LabelKey, "Label0"));
    env.Store(OptionsKey, "RunMinimized", Dword(1));
    EXPECT_TRUE(ReadRunMinimized());
}

TEST(ReadTaskbar, MissingValueIsWrittenAsSet) {
    test::TAppEnvironment env;
    EXPECT_TRUE(ReadTaskbar());
    EXPECT_EQ(env.Stored(OptionsKey, "Taskbar"), Dword(1));
    env.Store(OptionsKey, "Taskbar", Dword(0));
    EXPECT_FALSE(ReadTaskbar());
}

}
}

// Loading and saving the settings record through the settings store.
#include "app/Settings.h"

#include "app/ProgramLog.h"
#include "app/SettingsKey.h"

#include "platform/base/Numbers.h"
#include "platform/os/ProgramFolder.h"
#include "platform/os/RegistryBatch.h"
#include "platform/os/Version.h"

namespace korvex::app {

namespace {

// Bulk reads and writes in one batch of the settings store: the file is written once, at the end.
struct TSettingsBatch {
    os::TRegistryBatch Batch;
    ~TSettingsBatch() {
        if (!Batch.Commit()) WLog("Settings: cannot write the settings file");
    }
};

void LoadOptions(TSettings& s) {
    TSettingsKey options(OptionsKey);
    options.WriteText("Ver", ProgramVersionText);
    s.Ver = options.Text("Ver", ProgramVersionText);
    s.WUCount = options.Integer("WUCount", 167);
    s.SkinPath = options.Text("SkinPath", "");
    s.SkinName = options.Text("SkinName", DefaultSkinName);
    s.Team = options.Text("Team", DefaultTeam);
    s.CustomerStr = options.Text("CustomerStr", DefaultCustomerStr());
    s.FSize = options.Integer("FSize", 8);
    s.HintTray = options.Flag("HintTray", true);
    s.Language = options.Integer("Language", 1);
    s.RunStartup = options.Flag("RunStartup", true);
    s.RunMinimized = options.Flag("RunMinimized", false);
    s.ServiceName = options.Text("ServiceName", "");
    s.WarningColor = options.Integer("WarningColor", 255);
    s.WarningFontColor = options.Integer("WarningFontColor", 255);
    s.PathName = options.Text("PathName", os::ProgramFolder());
    s.PathService = options.Text("PathService", os::ProgramFolder());
    s.AutoBackup = options.Flag("AutoBackup", false);
    const TSettings defaults;
    for (int k = 2; k <= 9; ++k)
        s.W[static_cast<std::size_t>(k)] = options.Flag(NodeValue("W", k), true);
    for (int k = 1; k <= 11; ++k) {
        const auto at = static_cast<std::size_t>(k);
        s.WW[at] = options.Integer(NodeValue("W", k) + "W", defaults.WW[at]);
    }
    // Values the other windows keep here; read once so that every default exists after the first run.
    s.UName = options.TextIfPresent("UName").value_or("");
    s.Taskbar = options.Flag("Taskbar", true);
    s.F3H = options.Integer("F3H", defaults.F3H);
    s.F3W = options.Integer("F3W", defaults.F3W);
    s.F3P1H = options.Integer("F3P1H", defaults.F3P1H);
    s.F3P1W = options.Integer("F3P1W", defaults.F3P1W);
    s.F3P2H = options.Integer("F3P2H", defaults.F3P2H);
    s.F3P2W = options.Integer("F3P2W", defaults.F3P2W);
    s.F5H = options.Integer("F5H", defaults.F5H);
    s.F5W = options.Integer("F5W", defaults.F5W);
    for (int k = 1; k <= 6; ++k) {
        const auto at = static_cast<std::size_t>(k);
        s.F5C[at] = options.Integer(NodeValue("F5C", k), defaults.F5C[at]);
    }
    s.End1 = options.Integer("End1", defaults.End1);
    s.End2 = options.Integer("End2", defaults.End2);
    s.Scale = options.Integer("Scale", defaults.Scale);
    s.HPP = options.Integer("HPP", defaults.HPP);
}

// The first run's node: the program folder itself, named "Local host".
void WriteFirstNode() {
    TSettingsKey(LabelKey).WriteText("Label0", FirstNodeLabel);
    {
        TSettingsKey path(PathKey);
        path.WriteText("Path0", os::ProgramFolder());
        path.WriteText("Ip0", "");
    }
    TSettingsKey(HintKey).WriteFlag("Hint0", true);
    {
        TSettingsKey get(GetWUKey);
        get.WriteFlag("Get0", false);
        get.WriteInteger("Level0", 90);
        get.WriteText("RSPath0", "");
        get.WriteFlag("CPU0", false);
        get.WriteFlag("Send0", false);
        get.WriteFlag("Backup0", false);
        get.WriteInteger("Core0", 3);
    }
    TSettingsKey data(DataKey);
    data.WriteInteger("Progress0", 0);
    data.WriteInteger("BackLevel0", 0);
}

// The per-node keys, open for the whole node list.
struct TNodeKeys {
    TSettingsKey Label {LabelKey};
    TSettingsKey Path {PathKey};
    TSettingsKey Data {DataKey};
    TSettingsKey Get {GetWUKey};
    TSettingsKey Hint {HintKey};
};

TNodeSettings LoadNode(TNodeKeys& keys, int i) {
    TNodeSettings n;
    const TNodeSettings d;
    n.Label = keys.Label.Text(NodeValue("Label", i), "");
    n.Path = keys.Path.Text(NodeValue("Path", i), "");
    n.Ip = keys.Path.Text(NodeValue("Ip", i), "");
    n.Progress = keys.Data.Integer(NodeValue("Progress", i), 0);
    n.BackLevel = keys.Data.Integer(NodeValue("BackLevel", i), 0);
    TSettingsKey& get = keys.Get;
    n.Get = get.Flag(NodeValue("Get", i), d.Get);
    n.Level = get.Integer(NodeValue("Level", i), d.Level);
    n.Backup = get.Flag(NodeValue("Backup", i), d.Backup);
    n.Send = get.Flag(NodeValue("Send", i), d.Send);
    n.CPU = get.Flag(NodeValue("CPU", i), d.CPU);
    n.Core = get.Integer(NodeValue("Core", i), d.Core);
    n.MID = get.Integer(NodeValue("MID", i), d.MID);
    n.RSPath = get.Text(NodeValue("RSPath", i), "");
    n.Trycore = get.Flag(NodeValue("Trycore", i), d.Trycore);
    n.Verbo = get.Flag(NodeValue("Verbo", i), d.Verbo);
    n.VerboN = get.Integer(NodeValue("VerboN", i), d.VerboN);
    n.Hint = keys.Hint.Flag(NodeValue("Hint", i), false);
    return n;
}

}

std::string NodeValue(const char* name, int index) {
    std::string value = name;
    value += base::IntToStr(index);
    return value;
}

std::string DefaultCustomerStr() {
    std::string text = "KORVEX farm monitor ";
    text += os::FileVersionText(4);
    return text;
}

TSettings LoadSettings() {
    TSettingsBatch batch;
    TSettings s;
    LoadOptions(s);
    {
        TSettingsKey options(OptionsKey);
        if (options.IsOpen() && !options.Exists("HostCount")) {
            options.WriteInteger("HostCount", 1);
            WriteFirstNode();
        }
        s.HostCount = ClampCount(options.Integer("HostCount", 1));
    }
    s.Update = ClampUpdate(TSettingsKey(OptionsKey).Integer("Update", 1));
    s.Nodes.clear();
    if (s.HostCount == 0) return s;
    TNodeKeys keys;
    for (int i = 0; i < s.HostCount; ++i)
        s.Nodes.push_back(LoadNode(keys, i));
    return s;
}

void SaveData(const TSettings& s) {
    TSettingsBatch batch;
    for (std::size_t i = 0; i < s.Nodes.size(); ++i) {
        const int index = static_cast<int>(i);
        TSettingsKey(DataKey).WriteInteger(NodeValue("Progress", index), s.Nodes[i].Progress);
        TSettingsKey(GetWUKey).WriteInteger(NodeValue("MID", index), s.Nodes[i].MID);
    }
    TSettingsKey options(OptionsKey);
    for (int k = 1; k <= 9; ++k) {
        const auto at = static_cast<std::size_t>(k);
        if (s.WW[at] != 0) options.WriteInteger(NodeValue("W", k) + "W", s.WW[at]);
        if (k < 9) options.WriteFlag(NodeValue("W", k + 1), s.W[at + 1]);
    }
    options.WriteInteger("W10W", s.WW[10]);
    options.WriteInteger("W11W", s.WW[11]);
}

void WriteSkinName(const std::string& skinName) {
    TSettingsKey(OptionsKey).WriteText("SkinName", skinName);
}

void WriteStartWithWindows(bool runStartup) {
    // The Run key always exists on the system the layout comes from; here it may not yet, so switching the
    // start on creates it.
    TSettingsKey run(RunKey, runStartup);
    if (!run.IsOpen()) return;
    if (!runStartup) {
        if (run.Exists(RunValueName)) run.Registry().DeleteValue(RunValueName);
        return;
    }
    std::string program = "\"";
    program += os::ProgramFolder();
    program += "\\KORVEX.exe\"";
    run.WriteText(RunValueName, program);
}

bool ReadTaskbar() {
    return TSettingsKey(OptionsKey).Flag("Taskbar", true);
}

}

// Loading and saving the settings record through the settings store.
#include "app/settings/Settings.h"

#include "app/settings/ProgramLog.h"
#include "app/settings/SettingsKey.h"

#include "platform/base/Numbers.h"
#include "platform/os/ProgramFolder.h"
#include "platform/os/RegistryStore.h"
#include "platform/os/Version.h"

#include <cstdio>

namespace korvex::app {

namespace {

void LoadOptions(TSettings& s) {
    const TSettings d;   // the defaults
    TSettingsKey options(OptionsKey);
    options.WriteText("Ver", d.Ver);
    s.Ver = options.Text("Ver", d.Ver);
    s.WUCount = options.Integer("WUCount", d.WUCount);
    s.SkinPath = options.Text("SkinPath", d.SkinPath);
    s.SkinName = options.Text("SkinName", d.SkinName);
    s.Team = options.Text("Team", d.Team);
    s.CustomerStr = options.Text("CustomerStr", DefaultCustomerStr());
    s.FSize = options.Integer("FSize", d.FSize);
    s.HintTray = options.Flag("HintTray", d.HintTray);
    s.Language = options.Integer("Language", d.Language);
    s.RunStartup = options.Flag("RunStartup", d.RunStartup);
    s.RunMinimized = options.Flag("RunMinimized", d.RunMinimized);
    s.ServiceName = options.Text("ServiceName", d.ServiceName);
    s.WarningColor = options.Integer("WarningColor", d.WarningColor);
    s.WarningFontColor = options.Integer("WarningFontColor", d.WarningFontColor);
    s.PathName = options.Text("PathName", os::ProgramFolder());
    s.PathService = options.Text("PathService", os::ProgramFolder());
    s.AutoBackup = options.Flag("AutoBackup", d.AutoBackup);
    for (int k = 2; k <= 9; ++k) {
        const auto at = static_cast<std::size_t>(k);
        s.W[at] = options.Flag(NodeValue("W", k), d.W[at]);
    }
    for (int k = 1; k <= 11; ++k) {
        const auto at = static_cast<std::size_t>(k);
        s.WW[at] = options.Integer(NodeValue("W", k) + "W", d.WW[at]);
    }
    // Values the other windows keep here; read once so that every default exists after the first run.
    s.UName = options.TextIfPresent("UName").value_or(d.UName);
    s.Taskbar = options.Flag("Taskbar", d.Taskbar);
    s.F3H = options.Integer("F3H", d.F3H);
    s.F3W = options.Integer("F3W", d.F3W);
    s.F3P1H = options.Integer("F3P1H", d.F3P1H);
    s.F3P1W = options.Integer("F3P1W", d.F3P1W);
    s.F3P2H = options.Integer("F3P2H", d.F3P2H);
    s.F3P2W = options.Integer("F3P2W", d.F3P2W);
    s.F5H = options.Integer("F5H", d.F5H);
    s.F5W = options.Integer("F5W", d.F5W);
    for (int k = 1; k <= 6; ++k) {
        const auto at = static_cast<std::size_t>(k);
        s.F5C[at] = options.Integer(NodeValue("F5C", k), d.F5C[at]);
    }
    s.End1 = options.Integer("End1", d.End1);
    s.End2 = options.Integer("End2", d.End2);
    s.Scale = options.Integer("Scale", d.Scale);
    s.HPP = options.Integer("HPP", d.HPP);
}

// The first run's node: the program folder itself, named "Local host", listed in the tray hint.
void WriteFirstNode() {
    TNodeSettings n;
    n.Label = FirstNodeLabel;
    n.Path = os::ProgramFolder();
    n.Hint = true;
    TSettingsKey(LabelKey).WriteText("Label0", n.Label);
    {
        TSettingsKey path(PathKey);
        path.WriteText("Path0", n.Path);
        path.WriteText("Ip0", n.Ip);
    }
    TSettingsKey(HintKey).WriteFlag("Hint0", n.Hint);
    {
        TSettingsKey get(GetWUKey);
        get.WriteFlag("Get0", n.Get);
        get.WriteInteger("Level0", n.Level);
        get.WriteText("RSPath0", n.RSPath);
        get.WriteFlag("CPU0", n.CPU);
        get.WriteFlag("Send0", n.Send);
        get.WriteFlag("Backup0", n.Backup);
        get.WriteInteger("Core0", n.Core);
    }
    TSettingsKey data(DataKey);
    data.WriteInteger("Progress0", n.Progress);
    data.WriteInteger("BackLevel0", n.BackLevel);
}

TNodeSettings LoadNode(TNodeKeys& keys, int i) {
    TNodeSettings n;
    const TNodeSettings d;
    n.Label = keys.Label.Text(NodeValue("Label", i), d.Label);
    n.Path = keys.Path.Text(NodeValue("Path", i), d.Path);
    n.Ip = keys.Path.Text(NodeValue("Ip", i), d.Ip);
    n.Progress = keys.Data.Integer(NodeValue("Progress", i), d.Progress);
    n.BackLevel = keys.Data.Integer(NodeValue("BackLevel", i), d.BackLevel);
    TSettingsKey& get = keys.Get;
    n.Get = get.Flag(NodeValue("Get", i), d.Get);
    n.Level = get.Integer(NodeValue("Level", i), d.Level);
    n.Backup = get.Flag(NodeValue("Backup", i), d.Backup);
    n.Send = get.Flag(NodeValue("Send", i), d.Send);
    n.CPU = get.Flag(NodeValue("CPU", i), d.CPU);
    n.Core = get.Integer(NodeValue("Core", i), d.Core);
    n.MID = get.Integer(NodeValue("MID", i), d.MID);
    n.RSPath = get.Text(NodeValue("RSPath", i), d.RSPath);
    n.Hint = keys.Hint.Flag(NodeValue("Hint", i), d.Hint);
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
    const TSettings d;
    LoadOptions(s);
    {
        TSettingsKey options(OptionsKey);
        if (options.IsOpen() && !options.Exists("HostCount")) {
            options.WriteInteger("HostCount", d.HostCount);
            WriteFirstNode();
        }
        s.HostCount = ClampCount(options.Integer("HostCount", d.HostCount));
    }
    s.Update = ClampStoredUpdate(TSettingsKey(OptionsKey).Integer("Update", d.Update));
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
    return TSettingsKey(OptionsKey).Flag("Taskbar", TSettings {}.Taskbar);
}

bool ReadRunMinimized() {
    return TSettingsKey(OptionsKey).Flag("RunMinimized", TSettings {}.RunMinimized);
}

void ReportSettingsFileTrouble() {
    os::RegistryStore::Default().SetDamageHandler([](const std::string& message) {
        WLog(message);
        std::fprintf(stderr, "korvex: %s\n", message.c_str());
    });
}

}

// The settings record: the program's options and node list as the settings store keeps them, with their
// defaults, the first run, the load and the exit-time save.
#pragma once

#include <array>
#include <limits>
#include <string>
#include <vector>

namespace korvex::app {

// Keys under HKEY_LOCAL_MACHINE.
inline constexpr const char* OptionsKey = "SOFTWARE\\Tellvar\\Options";
inline constexpr const char* UnitsKey = "SOFTWARE\\Tellvar\\Options\\Units";
inline constexpr const char* LabelKey = "SOFTWARE\\Tellvar\\Label";
inline constexpr const char* PathKey = "SOFTWARE\\Tellvar\\Path";
inline constexpr const char* HintKey = "SOFTWARE\\Tellvar\\Hint";
inline constexpr const char* GetWUKey = "SOFTWARE\\Tellvar\\GetWU";
inline constexpr const char* DataKey = "SOFTWARE\\Tellvar\\Data";
inline constexpr const char* RunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* RunValueName = "Tellvar";

inline constexpr const char* ProgramVersionText = "KORVEX 2.6.0.11";
inline constexpr const char* DefaultSkinName = "LongHorn (internal)";
inline constexpr const char* DefaultTeam = "12345";
inline constexpr const char* FirstNodeLabel = "Local host";

// Ranges the load keeps values in (memory only; the store keeps what it holds).
inline constexpr int MinUpdate = 1;   // minutes
inline constexpr int MaxUpdate = 180;
inline constexpr int MaxHostCount = 1000;
inline constexpr int MaxUnitsCount = 100000;   // more user projects than the settings file can hold

// A stored interval is used as it is, but kept to at least a minute and short enough that it in milliseconds,
// with the watchdog's minute on top, fits an int.
inline constexpr int MaxStoredUpdate = (std::numeric_limits<int>::max() - 60000) / 60000;

inline int ClampUpdate(int minutes) {
    return minutes < MinUpdate ? MinUpdate : minutes > MaxUpdate ? MaxUpdate : minutes;
}
inline int ClampStoredUpdate(int minutes) {
    return minutes < MinUpdate ? MinUpdate : minutes > MaxStoredUpdate ? MaxStoredUpdate : minutes;
}
inline int ClampCount(int count) {
    return count < 0 ? 0 : count > MaxHostCount ? MaxHostCount : count;
}
inline int ClampUnitsCount(int count) {
    return count < 0 ? 0 : count > MaxUnitsCount ? MaxUnitsCount : count;
}

// One node's values; members are named after their registry values without the node index.
struct TNodeSettings {
    std::string Label;
    std::string Path;   // the client folder, a local or UNC path
    std::string Ip;   // the host's address once resolved
    bool Hint = false;   // listed in the tray hint
    bool Get = false;   // FARM mode
    int Level = 90;   // progress at which the next unit is fetched into the cache
    std::string RSPath;
    bool CPU = false;
    bool Send = false;
    bool Backup = false;
    int Core = 3;
    int MID = 8;
    bool Trycore = false;   // the options window's three; the main window's load leaves them
    bool Verbo = false;
    int VerboN = 3;
    int Progress = 0;   // last progress seen
    int BackLevel = 0;   // progress at the last automatic backup

    bool operator==(const TNodeSettings&) const = default;
};

// Program-wide options; members are named after their registry values. Arrays are indexed by the number in
// the value's name: W[2]..W[9] (W[0], W[1] unused), WW[1]..WW[11] for W1W..W11W, F5C[1]..F5C[6].
struct TSettings {
    std::string Ver = ProgramVersionText;
    int WUCount = 167;
    std::string SkinPath;
    std::string SkinName = DefaultSkinName;
    std::string Team = DefaultTeam;
    std::string UName;
    std::string CustomerStr;
    int FSize = 8;
    bool HintTray = true;
    int Language = 1;   // 0 Russian, 1 English
    bool RunStartup = true;
    bool RunMinimized = false;
    bool Taskbar = true;
    std::string ServiceName;
    std::string PathService;
    std::string PathName;
    int WarningColor = 255;
    int WarningFontColor = 255;
    bool AutoBackup = false;
    std::array<bool, 10> W = {true, true, true, true, true, true, true, true, true, true};
    std::array<int, 12> WW = {0, 74, 41, 87, 87, 87, 33, 41, 34, 93, 97, 156};
    int HostCount = 1;
    int Update = 1;   // minutes
    int F3H = 480, F3W = 670, F3P1H = 330, F3P1W = 662, F3P2H = 111, F3P2W = 662;
    int F5H = 430, F5W = 630;
    std::array<int, 7> F5C = {0, 120, 255, 105, 62, 105, 62};   // wider than F5W together: the grid scrolls
    int End1 = 30, End2 = 55, Scale = 0, HPP = 1;
    std::vector<TNodeSettings> Nodes;

    bool operator==(const TSettings&) const = default;
};

// The default status-bar credit: a fixed text ending with the program's four-part version.
std::string DefaultCustomerStr();

// Loads every option and the node list, writing each missing value's default first. A missing HostCount is
// the first run: one node, "Local host", watching the program folder. Wrong-typed values give their defaults
// (logged); Update is kept at least 1 (and below an int's worth of milliseconds), HostCount within 0..1000.
TSettings LoadSettings();

// The exit-time save: each node's Progress and MID, then the column widths (a width of 0, a hidden column,
// keeps the stored one) with the columns' shown flags, the node-name and progress widths always.
void SaveData(const TSettings& settings);

// The skin-name write-back after a skin change.
void WriteSkinName(const std::string& skinName);

// Start with the session: the Run value written (quoted program path; the Run key made when missing) or deleted.
void WriteStartWithWindows(bool runStartup);

// A damaged settings file, or one that is there and cannot be read (the program then runs on the defaults and
// saves nothing to it), is said once in the program log and on stderr.
void ReportSettingsFileTrouble();

// The task-bar option, read before any window exists (written as set when missing).
bool ReadTaskbar();

// The start-hidden option alone, for the tray's start-up question (written as clear when missing).
bool ReadRunMinimized();

// "Name<i>" of node i: the per-node value names.
std::string NodeValue(const char* name, int index);

}

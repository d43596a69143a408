// The row refresh: one node's fresh reading turned into its row, squares, balloons and totals, with the
// history, speed, backup, cache and farm steps it triggers on the way.
#pragma once

#include "app/farm/FarmLink.h"
#include "app/monitor/Monitor.h"
#include "app/nodes/NodeReading.h"
#include "app/nodes/ProjectTable.h"
#include "app/settings/Settings.h"
#include "app/nodes/WorkUnitHistory.h"
#include "platform/base/DateTimeType.h"

#include <functional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace korvex::app {

// Square colours (0x00BBGGRR).
inline constexpr int ColorRed = 255;
inline constexpr int ColorLime = 0xFF00;
inline constexpr int ColorGreen = 0x8000;
inline constexpr int ColorYellow = 0xFFFF;
inline constexpr int ColorBlue = 0xFF0000;
inline constexpr int ColorAqua = 0xFFFF00;
inline constexpr int ColorPink = 0xCBC0FF;
inline constexpr int ColorLightGreen = 0x90EE90;

inline constexpr int CacheMachineId = 8;

// What the monitor keeps of one node between refreshes; read and written under the update lock only.
struct TNodeState {
    TNodeSettings Settings;
    TRowView Row;   // as last handed to the view; its cells are the monitor's copy of the grid
    int SeenProgress = 0;   // the progress at the previous refresh
    int BackLevel = 0;   // the progress at the last automatic backup that was made
    int BackupPending = 0;   // the progress an automatic backup under way was started at; 0: none
    std::string NodeCore;
    bool Warned = false;   // the unknown-unit balloon was shown
    bool CompletionArmed = true;   // the completion balloon may come
    bool UnitStarted = true;   // the current unit showed progress above 0
    bool Cached = false;   // the node's cache folder exists
    // The unit (name and run-clone-gen) the history is known to hold, and the history's length then: the
    // next refreshes need not look through the whole history again while it has not shrunk.
    std::string RecordedName, RecordedRCG;
    std::int64_t RecordedCount = 0;
};

// A fresh node state: the row as the window builds it before the first refresh.
TNodeState MakeNodeState(int node, const TNodeSettings& settings);

// What one cycle brought for a node.
struct TNodeCycle {
    TNodeReading Reading;
    base::TDateTime CycleStart = 0;   // local time the cycle began
    TFarmReply Farm;
};

// Calls out of the refresh; each may be empty.
struct TRowActions {
    std::function<void(int stage)> Stage;   // watchdog stages 20 to 39 and their sub-stages
    std::function<void(int node)> StartServ;
    TMonitorWorkers Workers;
};

// The figures of every row's day cell (column 6), kept beside the rows: a refresh parses only its own cell, and
// the totals add figures instead of parsing every row's text again.
class TDayTotals {
public:
    explicit TDayTotals(std::size_t nodes = 0)
        : FDays(nodes, 0.0) { }
    void Set(int node, const std::string& dayCell);   // an empty or non-numeric cell counts 0
    // The status bar's totals text; nothing for a language without one.
    std::optional<std::string> Text(int language) const;

private:
    std::vector<double> FDays;
};

// The row states of every node, indexed by node: a vector of them, or the states kept in the monitor's slots.
class TNodeStateList {
public:
    TNodeStateList(std::vector<TNodeState>& states)
        : FVector(&states) { }
    explicit TNodeStateList(std::vector<TNodeState*> states)
        : FPointers(std::move(states)) { }
    std::size_t size() const { return FVector ? FVector->size() : FPointers.size(); }
    TNodeState& operator[](std::size_t node) const { return FVector ? (*FVector)[node] : *FPointers[node]; }

private:
    std::vector<TNodeState>* FVector = nullptr;
    std::vector<TNodeState*> FPointers;
};

// The rows by their unit key (column 8), so that a refresh finds the rows showing its unit without reading every
// row. Kept beside the rows: every change of a row's key goes through Set.
class TUnitKeyIndex {
public:
    explicit TUnitKeyIndex(const TNodeStateList& nodes);
    void Set(int node, const std::string& key);
    // The rows whose key is `key`, in node order; none when no row has it.
    const std::set<int>* Rows(const std::string& key) const;

private:
    std::vector<std::string> FKeys;   // by node
    std::unordered_map<std::string, std::set<int>> FRows;
};

// The tables one refresh works on.
struct TRowRefreshContext {
    TNodeStateList Nodes;
    const TProjectTable& Projects;
    TWorkUnitHistory* History = nullptr;   // none: nothing recorded
    bool AutoBackup = false;
    bool HintTray = true;
    int Language = 1;
    std::string ProgramFolder;
    bool& CacheBusy;
    TRowActions Actions;
    TDayTotals* Totals = nullptr;   // the rows' day figures; none: the totals are summed from every row's text
    // Whether a node's cache folder exists; none: the folder is looked at.
    std::function<bool(int node)> CacheFolderExists {};
    TUnitKeyIndex* UnitKeys = nullptr;   // the rows by their key; none: every row is compared
};

// Refreshes node `node` from its cycle and returns what the view is to show. The caller holds the update
// lock. Records units and speeds in the history file, sets the speed and backup level values of the settings
// store, and calls the actions.
TRowRefresh ReadData(TRowRefreshContext& context, int node, const TNodeCycle& cycle);

// The unit key of column 8: characters 2 to 5 of the name, " * ", the run-clone-gen, the first "_" removed.
std::string UnitKey(const std::string& wuName, const std::string& rcg);

// The status bar's totals text over the day cells of every row; nothing for a language without one. Reads
// every row: a refresh with TDayTotals reads only its own.
std::optional<std::string> TotalsText(const std::vector<TNodeState>& nodes, int language);
std::optional<std::string> TotalsText(const TNodeStateList& nodes, int language);

// The node's cache folder: the program folder, "WU", "WU" and the node index.

}

// The row refresh of one node: cells, gauge, squares, balloons, totals and the steps they trigger.
#include "app/monitor/RowRefresh.h"

#include "app/nodes/Estimates.h"
#include "app/settings/ProgramLog.h"
#include "app/settings/SettingsKey.h"
#include "app/cache/WorkUnitFiles.h"
#include "platform/base/Assert.h"
#include "platform/base/DateTime.h"
#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"
#include "platform/os/Files.h"

namespace korvex::app {

namespace {

constexpr const char* CRLF = "\r\n";
constexpr const char* BalloonTitle = "KORVEX Info";

// The text of the language: 0 Russian, 1 English, nothing for any other.
std::string Lang(int language, const char* russian, const char* english) {
    return language == 0 ? russian : language == 1 ? english : "";
}

void SetColor(TSquareView& square, int color) {
    square.Color = color;
    square.ParentColor = false;
}

// Column 9 of every other row showing the same unit, and of this one, := "1".
void MarkDuplicates(TRowRefreshContext& context, int node, TRowRefresh& refresh) {
    TRowView& row = context.Nodes[static_cast<std::size_t>(node)].Row;
    row.Cell(TGridColumn::Marker).clear();
    auto mark = [&](std::size_t j) {
        if (static_cast<int>(j) == node) return;
        TRowView& other = context.Nodes[j].Row;
        if (other.Cell(TGridColumn::UnitKey) != row.Cell(TGridColumn::UnitKey)) return;
        row.Cell(TGridColumn::Marker) = "1";
        if (other.Cell(TGridColumn::Marker) != "1") {
            other.Cell(TGridColumn::Marker) = "1";
            refresh.Markers.emplace_back(static_cast<int>(j), "1");
        }
    };
    if (context.UnitKeys) {
        if (const std::set<int>* rows = context.UnitKeys->Rows(row.Cell(TGridColumn::UnitKey)))
            for (int j : *rows)
                mark(static_cast<std::size_t>(j));
        return;
    }
    for (std::size_t j = 0; j < context.Nodes.size(); ++j)
        mark(j);
}

void MeasureSpeed(TRowRefreshContext& context, int node, const TNodeReading& reading, int k) {
    const double v = PercentSpeed(reading.TimePerPercent, context.Projects.Credit(k));
    const double r = StoreCoreSpeed(node, context.Projects.Core(k), v);
    if (context.History) context.History->ReSaveWU(reading.WUName, reading.RCG, r);
}

void RecordBackLevel(int node, TNodeState& state, int level) {
    state.BackLevel = level;
    TSettingsKey(DataKey).WriteInteger(NodeValue("BackLevel", node), level);
}

// The level is recorded once the backup started for it was made, so that one that failed is tried again at
// the next refresh; none is started while the last one still runs.
void AutomaticBackup(TRowRefreshContext& context, int node, TNodeState& state, int progress, TBackupOutcome outcome,
    const std::function<void(int)>& stage) {
    const TMonitorWorkers& workers = context.Actions.Workers;
    if (state.BackupPending > 0 && outcome != TBackupOutcome::Running) {
        if (outcome == TBackupOutcome::Made) RecordBackLevel(node, state, state.BackupPending);
        state.BackupPending = 0;
    }
    const bool on = context.AutoBackup && state.Settings.Backup;
    stage(242);
    if (progress > state.BackLevel + 5 && progress > 5 && on) {
        if (state.BackupPending > 0) return;
        stage(243);
        stage(244);
        if (workers.StartBackup) workers.StartBackup(node);
        if (workers.BackupOutcome)
            state.BackupPending = progress;
        else
            RecordBackLevel(node, state, progress);
        stage(245);
    } else {
        stage(246);
        if (progress < state.BackLevel) {
            stage(2471);
            if (state.BackLevel >= 95) {
                stage(2472);
                state.BackLevel = 0;
                stage(2473);
            }
        }
        stage(2474);
    }
}

void FarmSquare(TRowRefreshContext& context, int node, TNodeState& state, const TNodeCycle& cycle) {
    TRowView& row = state.Row;
    const bool get = state.Settings.Get;
    if (cycle.Farm.Color == FarmColorReplied && get) {
        row.Farm.Hint = "Service of control is AKTIVE";
        SetColor(row.Farm, ColorLime);
        if (cycle.Reading.Status == TNodeStatus::Running) SetColor(row.Status, ColorLime);
        state.Cached = context.CacheFolderExists ? context.CacheFolderExists(node)
                                                 : os::DirectoryExists(CacheFolder(context.ProgramFolder, node));
        if (state.Cached) {
            SetColor(row.Farm, ColorAqua);
            row.Farm.Hint += CRLF;
            row.Farm.Hint += "Node cashed";
        }
    }
    if (context.Actions.Stage) context.Actions.Stage(29);
    if (cycle.Farm.Color == FarmColorNoReply) {
        row.Farm.Hint = Lang(context.Language, "Сервис управления остановлен", "Service of control is stopped ");
        SetColor(row.Farm, get ? ColorRed : ColorPink);
    }
    if (get && !cycle.Farm.Replied && context.Actions.StartServ) context.Actions.StartServ(node);
}

// Marks the unit "2" when the history saw its run-clone-gen on another day (the whole date compared: a part
// of it takes 07.12 and 17.12 for one day).
void MarkSeenBefore(TRowRefreshContext& context, TNodeState& state, const std::string& rcg) {
    if (!context.History || rcg.empty()) return;
    const std::string today = base::DateToStr(base::Now());
    bool seen = false;
    context.History->ForEachUnit([&](const THistoryEntry& entry) {
        seen = seen || (base::Pos(rcg, entry.RCG) > 0 && entry.Date != today);
    });
    if (seen) state.Row.Cell(TGridColumn::Marker) = "2";
}

void HostDown(TRowRefreshContext& context, TRowView& row) {
    row.GaugeEnabled = false;
    SetColor(row.Status, ColorRed);
    SetColor(row.Farm, ColorRed);
    SetColor(row.Backup, ColorRed);
    row.Cell(TGridColumn::Core).clear();
    row.Status.Hint = Lang(context.Language, "Хост не доступен...", "Host not working...");
}

// One refresh under way: the node's state, its reading, and what goes to the view.
struct TRefresh {
    TRowRefreshContext& Context;
    const int Node;
    const TNodeCycle& Cycle;
    const TNodeReading& Reading;
    TNodeState& State;
    TRowView& Row;
    TRowRefresh Out;

    void Stage(int stage) const {
        if (Context.Actions.Stage) Context.Actions.Stage(stage);
    }
    std::string& Cell(TGridColumn column) { return Row.Cell(column); }
};

// Stage 20: what every refresh sets afresh.
void StartRow(TRefresh& r) {
    r.Stage(20);
    TRowView& row = r.Row;
    row.Node = r.Node;
    row.GaugeEnabled = true;
    row.GaugeHint.clear();
    row.Status.Hint.clear();
    row.Farm.Hint.clear();
    row.Backup.Hint.clear();
    row.CoreRequired = r.Reading.CoreRequired;
    row.Version = r.Reading.Version;
    row.WUName = r.Reading.WUName;
    row.RCG = r.Reading.RCG;
    row.NodeStatus = r.Reading.Status;
}

// Stages 38 and 39: the row as the view gets it.
TRowRefresh FinishRow(TRefresh& r) {
    r.Stage(38);
    r.Out.Row = r.Row;
    r.Stage(39);
    return std::move(r.Out);
}

// Stage 21: the unit's key (" * " without a unit), the duplicate markers and the label's hint.
void ShowUnitKey(TRefresh& r) {
    r.Stage(21);
    r.Cell(TGridColumn::UnitKey) = UnitKey(r.Reading.WUName, r.Reading.RCG);
    if (r.Context.UnitKeys) r.Context.UnitKeys->Set(r.Node, r.Cell(TGridColumn::UnitKey));
    MarkDuplicates(r.Context, r.Node, r.Out);
    r.Row.LabelHint = r.State.Settings.Path + CRLF + " UserName: " + r.Reading.UserName + " Team: " + r.Reading.Team;
}

// Stage 22: the unit's project row (0: unknown) with the core and points it gives, and the unknown-unit
// balloon once.
int ShowProject(TRefresh& r) {
    r.Stage(22);
    const TProjectTable& projects = r.Context.Projects;
    const int k = projects.Lookup(r.Reading.WUName);
    if (r.Reading.Status == TNodeStatus::Running && k != 0) {
        r.State.NodeCore = projects.Core(k);
        r.Cell(TGridColumn::Points) = std::to_string(projects.Credit(k));
    } else {
        r.State.NodeCore.clear();
        r.Cell(TGridColumn::Points).clear();
    }
    r.Cell(TGridColumn::Core) = r.State.NodeCore;
    if (k == 0 && !r.Reading.WUName.empty() && !r.State.Warned) {
        r.State.Warned = true;
        r.Out.Balloon = TBalloon {BalloonTitle,
            Lang(r.Context.Language, "Неизвестный WU.\r\nОбновите базу данных из Интернет.",
                "Unknown WU.\r\nUpdate database from Internet."),
            10};
    }
    return k;
}

// Lists the node's unit in the history unless it is known. A history only grows while it is not loaded
// again, so once it holds the unit the node's later refreshes skip the search through every line.
void RecordUnit(TWorkUnitHistory& history, TNodeState& state, const TNodeReading& reading, int credit) {
    const std::int64_t count = history.Count();
    if (reading.WUName == state.RecordedName && reading.RCG == state.RecordedRCG && count >= state.RecordedCount)
        return;
    if (!history.SaveWU(reading.WUName, reading.RCG, credit, state.Settings.Label)
        && !history.IsKnown(reading.WUName, reading.RCG))
        return;   // not listed (a history that cannot be read): tried again next time
    state.RecordedName = reading.WUName;
    state.RecordedRCG = reading.RCG;
    state.RecordedCount = history.Count();
}

// Stage 23: the unit's dates and progress, its history line and the core's speed.
void ShowUnitProgress(TRefresh& r, int k, int credit) {
    r.Stage(23);
    const TNodeReading& reading = r.Reading;
    r.Row.GaugeHint = reading.WUName;
    r.Cell(TGridColumn::Start) = reading.Start != 0 ? DTTM(reading.Start) : "";
    r.Cell(TGridColumn::Deadline) = reading.Deadline != 0 ? DTTM(reading.Deadline) : "";
    r.Row.Progress = reading.Progress;
    if (k != 0 && r.Context.History) RecordUnit(*r.Context.History, r.State, reading, credit);
    if (r.Row.Progress > r.State.SeenProgress && reading.TimePerPercent != NoTimeText)
        MeasureSpeed(r.Context, r.Node, reading, k);
}

// Stage 24: the status and backup squares, and the automatic backup.
void ShowStatusAndBackup(TRefresh& r) {
    r.Stage(24);
    TRowView& row = r.Row;
    SetColor(row.Status, StatusColor(r.Reading.Status));
    const bool backupOn = r.Context.AutoBackup && r.State.Settings.Backup;
    SetColor(row.Backup, backupOn ? ColorLime : ColorPink);
    row.Backup.Hint = backupOn ? "Backup ON" : "Backup OFF";
    const TMonitorWorkers& workers = r.Context.Actions.Workers;
    const TBackupOutcome backup = workers.BackupOutcome ? workers.BackupOutcome(r.Node) : TBackupOutcome::None;
    if (backup == TBackupOutcome::Failed)
        row.Backup.Hint += CRLF + Lang(r.Context.Language, "Последнее резервирование не удалось", "Last backup failed");
    r.Stage(241);
    AutomaticBackup(r.Context, r.Node, r.State, r.Reading.Progress, backup, [&r](int s) { r.Stage(s); });
}

// Stage 25: the progress this refresh saw; returns the one the refresh before saw.
int KeepSeenProgress(TRefresh& r) {
    r.Stage(25);
    const int previous = r.State.SeenProgress;
    r.State.SeenProgress = r.Row.Progress;
    return previous;
}

// Stages 26 and 261 to 269: the remaining time and the finish.
TFinishEstimate ShowEstimate(TRefresh& r) {
    r.Stage(26);
    const TFinishEstimate estimate = EstimateFinish(
        r.Reading, r.State.NodeCore, base::Now(), r.Cycle.CycleStart, [&r](int stage) { r.Stage(stage); });
    r.Cell(TGridColumn::Remain) = estimate.RemainText;
    r.Cell(TGridColumn::Finish) = DTTM(estimate.Finish);
    return estimate;
}

// Stages 27 to 29: the host answers; the farm square.
void ShowHostAnswers(TRefresh& r) {
    r.Stage(27);
    r.Stage(28);
    r.Row.GaugeEnabled = true;
    r.Row.Status.Hint = "Host OK... ";
    FarmSquare(r.Context, r.Node, r.State, r.Cycle);
}

// Stages 30 to 32: the status square's warnings: a finish after the deadline, and no unit to show (the square
// says why, the unit's columns are emptied).
void ShowStatusWarnings(TRefresh& r, const TFinishEstimate& estimate) {
    r.Stage(30);
    TRowView& row = r.Row;
    const TNodeReading& reading = r.Reading;
    const int language = r.Context.Language;
    if (estimate.Finish > reading.Deadline && !r.Cell(TGridColumn::Deadline).empty()
        && reading.Status != TNodeStatus::Undecided) {
        SetColor(row.Status, ColorBlue);
        row.Status.ParentShowHint = false;
        row.Status.Hint += CRLF + Lang(language, "Дидлайн превышает прогноз.", "Deadline out of range.");
    }
    r.Stage(31);
    auto noUnit = [&](int color, const char* russian, const char* english) {
        row.Status.Hint = Lang(language, russian, english);
        SetColor(row.Status, color);
        for (TGridColumn column : {TGridColumn::Core, TGridColumn::Remain, TGridColumn::Start, TGridColumn::Deadline,
                 TGridColumn::Finish, TGridColumn::Points})
            r.Cell(column).clear();
    };
    if (reading.Status == TNodeStatus::AttemptError) {
        row.Progress = 0;
        noUnit(ColorYellow, "Статус неизвестен.\r\nНет новых WU...", "Status unknown.\r\nNo new WU...");
    }
    r.Stage(32);
    if (reading.Status == TNodeStatus::QueueLoaded)
        noUnit(ColorLightGreen, "Host OK.\r\nFAH Сервис запускается", "Host OK.\r\nFAH Service is started");
}

// Stage 33: the completion balloon, once a unit, and the tray icon's cycling.
void CompletionBalloon(TRefresh& r) {
    r.Stage(33);
    if (!r.Context.HintTray || r.Reading.Progress != 100 || !r.State.CompletionArmed) return;
    r.Out.Balloon = TBalloon {BalloonTitle,
        Lang(r.Context.Language, "WU посчитан.\r\n Попытка отправки результата ",
            "WU Complete.\r\n Attempting to send results "),
        10};
    r.State.CompletionArmed = false;
    r.Out.CycleTrayIcons = true;
}

// Stage 34: a unit at 0: the cache is no longer busy, and a new unit is marked when seen on another day.
void NewUnit(TRefresh& r) {
    r.Stage(34);
    TNodeState& state = r.State;
    if (r.Reading.Progress != 0 || !(state.Cached || state.UnitStarted)) return;
    r.Stage(341);
    r.Context.CacheBusy = false;
    r.Stage(342);
    if (r.Context.Actions.Workers.ClearCacheBusy) r.Context.Actions.Workers.ClearCacheBusy();
    r.Stage(343);
    if (!state.UnitStarted) return;
    r.Stage(344);
    state.UnitStarted = false;
    r.Stage(345);
    MarkSeenBefore(r.Context, state, r.Reading.RCG);
    r.Stage(346);
}

// Stage 35: the unit's flags, then the cache: the work of a cached node that went idle, or a new cache.
void UnitFlagsAndCache(TRefresh& r, int previous) {
    r.Stage(35);
    TNodeState& state = r.State;
    const TNodeReading& reading = r.Reading;
    if (reading.Progress < previous) state.Warned = false;
    if (reading.Progress > 0 && !state.UnitStarted) state.UnitStarted = true;
    const auto& workers = r.Context.Actions.Workers;
    const bool idle = reading.Status == TNodeStatus::AttemptError || reading.Status == TNodeStatus::Undecided
        || reading.Status == TNodeStatus::HostDown;
    if ((reading.Progress == 100 || reading.Progress == 0) && idle && state.Cached && workers.CashWork)
        workers.CashWork(r.Node);
    const int level = state.Settings.Level;
    const bool cacheBusy = r.Context.CacheBusy || (workers.CacheBusy && workers.CacheBusy());
    if (state.Settings.Get && !state.Cached && (reading.Progress > level || (reading.Progress == level && !cacheBusy))
        && workers.CashMake) {
        // A cache started now shows on the status square until the next refresh; one that was there
        // already does not.
        if (workers.CashMake(r.Node, CacheMachineId)) {
            SetColor(r.Row.Status, ColorAqua);
            r.Row.Status.Hint += CRLF;
            r.Row.Status.Hint += Lang(r.Context.Language, "Кэширование...", "Cashing in progress");
        }
    }
}

// Still stage 35: the points per hour and per day.
void ShowRates(TRefresh& r, int credit) {
    if (r.Reading.TimePerPercent == NoTimeText) return;
    const TPointsRates rates = PointsRates(r.Reading.Progress, credit, r.Cell(TGridColumn::Remain));
    r.Cell(TGridColumn::PerHour) = rates.HourText;
    r.Cell(TGridColumn::PerDay) = rates.DayText;
}

// Stages 36 and 37: the status bar's totals with this row's day figure.
void ShowTotals(TRefresh& r) {
    r.Stage(36);
    TRowRefreshContext& context = r.Context;
    if (context.Totals) {
        context.Totals->Set(r.Node, r.Cell(TGridColumn::PerDay));
        r.Out.TotalsText = context.Totals->Text(context.Language);
    } else {
        r.Out.TotalsText = TotalsText(context.Nodes, context.Language);
    }
    r.Stage(37);
}
}

TNodeState MakeNodeState(int node, const TNodeSettings& settings) {
    TNodeState state;
    state.Settings = settings;
    state.Row.Node = node;
    state.Row.Progress = settings.Progress;
    state.Row.LabelHint = settings.Path;
    state.SeenProgress = settings.Progress;
    state.BackLevel = settings.BackLevel;
    return state;
}

std::string UnitKey(const std::string& wuName, const std::string& rcg) {
    std::string key = base::Copy(wuName, 2, 4) + " * " + rcg;
    if (int at = base::Pos("_", key)) key.erase(static_cast<std::size_t>(at - 1), 1);
    return key;
}

TUnitKeyIndex::TUnitKeyIndex(const TNodeStateList& nodes) {
    for (std::size_t node = 0; node < nodes.size(); ++node) {
        FKeys.push_back(nodes[node].Row.Cell(TGridColumn::UnitKey));
        FRows[FKeys.back()].insert(static_cast<int>(node));
    }
}

void TUnitKeyIndex::Set(int node, const std::string& key) {
    KORVEX_ASSERT(node >= 0 && static_cast<std::size_t>(node) < FKeys.size());
    std::string& old = FKeys[static_cast<std::size_t>(node)];
    if (old == key) return;
    if (auto it = FRows.find(old); it != FRows.end()) {
        it->second.erase(node);
        if (it->second.empty()) FRows.erase(it);
    }
    FRows[key].insert(node);
    old = key;
}

const std::set<int>* TUnitKeyIndex::Rows(const std::string& key) const {
    auto it = FRows.find(key);
    return it == FRows.end() ? nullptr : &it->second;
}

void TDayTotals::Set(int node, const std::string& dayCell) {
    KORVEX_ASSERT(node >= 0 && static_cast<std::size_t>(node) < FDays.size());
    double value = 0;
    if (dayCell.empty() || !base::TryStrToFloat(dayCell, value)) value = 0;
    FDays[static_cast<std::size_t>(node)] = value;
}

std::optional<std::string> TDayTotals::Text(int language) const {
    if (language != 0 && language != 1) return std::nullopt;
    double sum = 0;
    for (double day : FDays)
        sum += day;
    const std::string count = std::to_string(FDays.size());
    const std::string figure = base::FormatFloat("0.00;;?", sum);
    if (language == 1) return "TOTAL: " + count + " nodes gives an average result of " + figure + " points per day.";
    return "ИТОГО: " + count + " нод дают средний результат " + figure + " очков в день.";
}

namespace {

template <class TStates>
std::optional<std::string> SummedTotals(const TStates& nodes, int language) {
    TDayTotals totals(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i)
        totals.Set(static_cast<int>(i), nodes[i].Row.Cell(TGridColumn::PerDay));
    return totals.Text(language);
}

}

std::optional<std::string> TotalsText(const TNodeStateList& nodes, int language) {
    return SummedTotals(nodes, language);
}

std::optional<std::string> TotalsText(const std::vector<TNodeState>& nodes, int language) {
    return SummedTotals(nodes, language);
}

TRowRefresh ReadData(TRowRefreshContext& context, int node, const TNodeCycle& cycle) {
    KORVEX_ASSERT(node >= 0 && node < static_cast<int>(context.Nodes.size()));
    TNodeState& state = context.Nodes[static_cast<std::size_t>(node)];
    TRefresh r {context, node, cycle, cycle.Reading, state, state.Row, {}};
    StartRow(r);
    if (r.Reading.Status == TNodeStatus::HostDown) {
        HostDown(context, r.Row);
        return FinishRow(r);
    }
    ShowUnitKey(r);
    const int k = ShowProject(r);
    const int credit = context.Projects.Credit(k);
    ShowUnitProgress(r, k, credit);
    ShowStatusAndBackup(r);
    const int previous = KeepSeenProgress(r);
    const TFinishEstimate estimate = ShowEstimate(r);
    ShowHostAnswers(r);
    ShowStatusWarnings(r, estimate);
    CompletionBalloon(r);
    NewUnit(r);
    UnitFlagsAndCache(r, previous);
    ShowRates(r, credit);
    ShowTotals(r);
    return FinishRow(r);
}

}

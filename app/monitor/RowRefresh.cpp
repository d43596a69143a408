// The row refresh of one node: cells, gauge, squares, balloons, totals and the steps they trigger.
#include "app/monitor/RowRefresh.h"

#include "app/nodes/CoreSpeed.h"
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
void MarkDuplicates(TRowRefreshContext& context, int node, const TNodeReading& reading, TRowRefresh& refresh) {
    auto& cells = context.Nodes[static_cast<std::size_t>(node)].Row.Cells;
    cells[MarkerColumn].clear();
    // Nodes without a unit all show " * ": they are not one unit running twice.
    if (reading.WUName.empty() || reading.RCG.empty()) return;
    for (std::size_t j = 0; j < context.Nodes.size(); ++j) {
        if (static_cast<int>(j) == node) continue;
        auto& other = context.Nodes[j].Row.Cells;
        if (other[8] != cells[8]) continue;
        cells[MarkerColumn] = "1";
        if (other[MarkerColumn] != "1") {
            other[MarkerColumn] = "1";
            refresh.Markers.emplace_back(static_cast<int>(j), "1");
        }
    }
}

void MeasureSpeed(TRowRefreshContext& context, int node, const TNodeReading& reading, int k) {
    const double v = PercentSpeed(reading.TimePerPercent, context.Projects.Credit(k));
    const double r = context.SettingsWrites ? StoreCoreSpeed(*context.SettingsWrites, node, context.Projects.Core(k), v)
                                            : StoreCoreSpeed(node, context.Projects.Core(k), v);
    if (context.History) context.History->ReSaveWU(reading.WUName, reading.RCG, r);
}

void RecordBackLevel(TRowRefreshContext& context, int node, TNodeState& state, int level) {
    state.BackLevel = level;
    if (context.SettingsWrites)
        context.SettingsWrites->WriteInteger(DataKey, NodeValue("BackLevel", node), level);
    else
        TSettingsKey(DataKey).WriteInteger(NodeValue("BackLevel", node), level);
}

// The level is recorded once the backup started for it was made, so that one that failed is tried again at
// the next refresh; none is started while the last one still runs.
void AutomaticBackup(TRowRefreshContext& context, int node, TNodeState& state, int progress, TBackupOutcome outcome,
    const std::function<void(int)>& stage) {
    const TMonitorWorkers& workers = context.Actions.Workers;
    if (state.BackupPending > 0 && outcome != TBackupOutcome::Running) {
        if (outcome == TBackupOutcome::Made) RecordBackLevel(context, node, state, state.BackupPending);
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
            RecordBackLevel(context, node, state, progress);
        stage(245);
    } else {
        stage(246);
        if (progress < state.BackLevel && state.BackLevel >= 95) state.BackLevel = 0;
        stage(2474);
    }
}

void FarmSquare(TRowRefreshContext& context, int node, TNodeState& state, const TNodeCycle& cycle) {
    TRowView& row = state.Row;
    const bool get = state.Settings.Get;
    if (cycle.Farm.Color == FarmColorReplied && get) {
        row.Farm.Hint = "Service of control is AKTIVE";
        SetColor(row.Farm, ColorLime);
        if (cycle.Reading.Status == StatusRunning) SetColor(row.Status, ColorLime);
        state.Cached = os::DirectoryExists(CacheFolder(context.ProgramFolder, node));
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
    for (const THistoryEntry& entry : context.History->Entries())
        if (base::Pos(rcg, entry.RCG) > 0 && entry.Date != today) state.Row.Cells[MarkerColumn] = "2";
}

void HostDown(TRowRefreshContext& context, TRowView& row) {
    row.GaugeEnabled = false;
    SetColor(row.Status, ColorRed);
    SetColor(row.Farm, ColorRed);
    SetColor(row.Backup, ColorRed);
    row.Cells[0].clear();
    row.Status.Hint = Lang(context.Language, "Хост не доступен...", "Host not working...");
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
        totals.Set(static_cast<int>(i), nodes[i].Row.Cells[6]);
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
    auto stage = [&](int s) {
        if (context.Actions.Stage) context.Actions.Stage(s);
    };
    TNodeState& state = context.Nodes[static_cast<std::size_t>(node)];
    const TNodeReading& reading = cycle.Reading;
    TRowView& row = state.Row;
    TRowRefresh refresh;
    auto& cells = row.Cells;

    stage(20);
    row.Node = node;
    row.GaugeEnabled = true;
    row.GaugeHint.clear();
    row.Status.Hint.clear();
    row.Farm.Hint.clear();
    row.Backup.Hint.clear();
    row.CoreRequired = reading.CoreRequired;
    row.Version = reading.Version;
    row.WUName = reading.WUName;
    row.RCG = reading.RCG;

    if (reading.Status == StatusHostDown) {
        HostDown(context, row);
        stage(38);
        refresh.Row = row;
        stage(39);
        return refresh;
    }

    stage(21);
    // Before a node's first unit nothing is known of it: its key, remaining time and finish stay empty
    // rather than showing " * " and the estimate of no progress.
    const bool noData = reading.WUName.empty() && reading.RCG.empty();
    cells[8] = noData ? "" : UnitKey(reading.WUName, reading.RCG);
    MarkDuplicates(context, node, reading, refresh);
    row.LabelHint = state.Settings.Path + CRLF + " UserName: " + reading.UserName + " Team: " + reading.Team;

    stage(22);
    const int k = context.Projects.Lookup(reading.WUName);
    const int credit = context.Projects.Credit(k);
    if (reading.Status == StatusRunning && k != 0) {
        state.NodeCore = context.Projects.Core(k);
        cells[5] = std::to_string(credit);
    } else {
        state.NodeCore.clear();
        cells[5].clear();
    }
    cells[0] = state.NodeCore;
    if (k == 0 && !reading.WUName.empty() && !state.Warned) {
        state.Warned = true;
        refresh.Balloon = TBalloon {BalloonTitle,
            Lang(context.Language, "Неизвестный WU.\r\nОбновите базу данных из Интернет.",
                "Unknown WU.\r\nUpdate database from Internet."),
            10};
    }

    stage(23);
    row.GaugeHint = reading.WUName;
    cells[2] = reading.Start != 0 ? DTTM(reading.Start) : "";
    cells[3] = reading.Deadline != 0 ? DTTM(reading.Deadline) : "";
    row.Progress = reading.Progress;
    if (k != 0 && context.History) context.History->SaveWU(reading.WUName, reading.RCG, credit, state.Settings.Label);
    if (row.Progress > state.SeenProgress && reading.TimePerPercent != NoTimeText)
        MeasureSpeed(context, node, reading, k);

    stage(24);
    SetColor(row.Status, reading.Status);
    const bool backupOn = context.AutoBackup && state.Settings.Backup;
    SetColor(row.Backup, backupOn ? ColorLime : ColorPink);
    row.Backup.Hint = backupOn ? "Backup ON" : "Backup OFF";
    const TBackupOutcome backup
        = context.Actions.Workers.BackupOutcome ? context.Actions.Workers.BackupOutcome(node) : TBackupOutcome::None;
    if (backup == TBackupOutcome::Failed) row.Backup.Hint += CRLF + std::string("Last backup failed");
    stage(241);
    AutomaticBackup(context, node, state, reading.Progress, backup, stage);

    stage(25);
    const int previous = state.SeenProgress;
    state.SeenProgress = row.Progress;

    stage(26);
    const TFinishEstimate estimate = EstimateFinish(reading, state.NodeCore, cycle.CycleStart);
    cells[1] = noData ? "" : estimate.RemainText;
    cells[4] = noData ? "" : DTTM(estimate.Finish);

    stage(27);
    stage(28);
    row.GaugeEnabled = true;
    row.Status.Hint = "Host OK... ";
    FarmSquare(context, node, state, cycle);

    stage(30);
    if (estimate.Finish > reading.Deadline && !cells[3].empty() && reading.Status != StatusUndecided) {
        SetColor(row.Status, ColorBlue);
        row.Status.ParentShowHint = false;
        row.Status.Hint += CRLF + Lang(context.Language, "Дидлайн превышает прогноз.", "Deadline out of range.");
    }
    stage(31);
    // No unit to show: the square says why, the unit's columns are emptied.
    auto noUnit = [&](int color, const char* russian, const char* english) {
        row.Status.Hint = Lang(context.Language, russian, english);
        SetColor(row.Status, color);
        for (int c = 0; c <= 5; ++c)
            cells[static_cast<std::size_t>(c)].clear();
    };
    if (reading.Status == StatusAttemptError) {
        row.Progress = 0;
        noUnit(ColorYellow, "Статус неизвестен.\r\nНет новых WU...", "Status unknown.\r\nNo new WU...");
    }
    stage(32);
    if (reading.Status == StatusQueueLoaded)
        noUnit(ColorLightGreen, "Host OK.\r\nFAH Сервис запускается", "Host OK.\r\nFAH Service is started");
    stage(33);
    if (context.HintTray && reading.Progress == 100 && state.CompletionArmed) {
        refresh.Balloon = TBalloon {BalloonTitle,
            Lang(context.Language, "WU посчитан.\r\n Попытка отправки результата ",
                "WU Complete.\r\n Attempting to send results "),
            10};
        state.CompletionArmed = false;
        refresh.CycleTrayIcons = true;
    }

    stage(34);
    if (reading.Progress == 0 && (state.Cached || state.UnitStarted)) {
        stage(341);
        context.CacheBusy = false;
        if (context.Actions.Workers.ClearCacheBusy) context.Actions.Workers.ClearCacheBusy();
        stage(343);
        if (state.UnitStarted) {
            stage(344);
            state.UnitStarted = false;
            stage(345);
            MarkSeenBefore(context, state, reading.RCG);
            stage(346);
        }
    }
    stage(35);
    if (reading.Progress < previous) state.Warned = false;
    if (reading.Progress > 0 && !state.UnitStarted) state.UnitStarted = true;
    const bool idle
        = reading.Status == StatusAttemptError || reading.Status == StatusUndecided || reading.Status == StatusHostDown;
    if ((reading.Progress == 100 || reading.Progress == 0) && idle && state.Cached && context.Actions.Workers.CashWork)
        context.Actions.Workers.CashWork(node);
    const int level = state.Settings.Level;
    const auto& workers = context.Actions.Workers;
    const bool cacheBusy = context.CacheBusy || (workers.CacheBusy && workers.CacheBusy());
    if (state.Settings.Get && !state.Cached && (reading.Progress > level || (reading.Progress == level && !cacheBusy))
        && workers.CashMake) {
        // A cache started now shows on the status square until the next refresh; one that was there
        // already does not.
        if (workers.CashMake(node, CacheMachineId)) {
            SetColor(row.Status, ColorAqua);
            row.Status.Hint += CRLF;
            row.Status.Hint += Lang(context.Language, "Кэширование...", "Cashing in progress");
        }
    }
    if (reading.TimePerPercent != NoTimeText) {
        const TPointsRates rates = PointsRates(reading.Progress, credit, cells[1]);
        cells[7] = rates.HourText;
        cells[6] = rates.DayText;
    }

    stage(36);
    if (context.Totals) {
        context.Totals->Set(node, cells[6]);
        refresh.TotalsText = context.Totals->Text(context.Language);
    } else {
        refresh.TotalsText = TotalsText(context.Nodes, context.Language);
    }
    stage(37);
    stage(38);
    refresh.Row = row;
    stage(39);
    return refresh;
}

}

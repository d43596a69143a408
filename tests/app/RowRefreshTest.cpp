// The row refresh: cells, squares, hints, balloons, totals, duplicates, history, speed, backup and cache steps.
#include "app/monitor/RowRefresh.h"
#include "app/cache/WorkUnitFiles.h"
#include "app/settings/ProgramLog.h"
#include "support/AppEnvironment.h"

#include "platform/base/DateTime.h"
#include "platform/os/RegistryBatch.h"
#include "platform/os/RegistryTypes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace korvex::app {
namespace {

const base::TDateTime RefreshNow = base::EncodeDateTime(2024, 12, 6, 8, 0, 0, 0);

TNodeReading Running(int progress = 45) {
    TNodeReading r;
    r.WUName = "p2605_Protein in water";
    r.RCG = "5-33-12";
    r.UserName = "Tellvar";
    r.Team = "12345";
    r.Progress = progress;
    r.Status = TNodeStatus::Running;
    r.Start = RefreshNow - 0.5;
    r.Deadline = RefreshNow + 5;
    r.TimePerPercent = "00:12:00";
    return r;
}

class RowRefreshTest : public testing::Test {
protected:
    void SetUp() override {
        env.SetNow(RefreshNow);
        projects.Add(TProjectRow {"p2605_Protein in water", "GROMACS", 120});
        for (int i = 0; i < 3; ++i) {
            TNodeSettings s;
            s.Label = "node" + std::to_string(i);
            s.Path = "/fah/" + std::to_string(i);
            nodes.push_back(MakeNodeState(i, s));
        }
    }

    TRowRefresh Refresh(int node, const TNodeReading& reading, TFarmReply farm = {}) {
        TRowRefreshContext context {
            nodes, projects, &history, autoBackup, true, language, env.Folder(), cacheBusy, actions};
        return ReadData(context, node, TNodeCycle {reading, RefreshNow, farm});
    }
    TRowView& Row(int node) { return nodes[static_cast<std::size_t>(node)].Row; }

    test::TAppEnvironment env;
    TProjectTable projects;
    TWorkUnitHistory history;
    std::vector<TNodeState> nodes;
    bool autoBackup = false;
    int language = 1;
    bool cacheBusy = false;
    TRowActions actions;
};

TEST(UnitKey, TakesTheProjectNumberAndDropsTheFirstUnderscore) {
    EXPECT_EQ(UnitKey("p2605_x", "5-33-12"), "2605 * 5-33-12");
    EXPECT_EQ(UnitKey("p697_x", "5-33-12"), "697 * 5-33-12");
    EXPECT_EQ(UnitKey("", ""), " * ");
}

TEST_F(RowRefreshTest, ARunningKnownUnitFillsTheRowAndRecordsItOnce) {
    TRowRefresh r = Refresh(0, Running());
    const TRowView& row = r.Row;
    EXPECT_EQ(row.Cells[0], "GROMACS");
    EXPECT_EQ(row.Cells[5], "120");
    EXPECT_EQ(row.Cells[8], "2605 * 5-33-12");
    EXPECT_EQ(row.Cells[2], DTTM(RefreshNow - 0.5));
    EXPECT_EQ(row.Cells[3], DTTM(RefreshNow + 5));
    EXPECT_FALSE(row.Cells[1].empty());
    EXPECT_FALSE(row.Cells[6].empty());
    EXPECT_EQ(row.Progress, 45);
    EXPECT_EQ(row.GaugeHint, "p2605_Protein in water");
    EXPECT_EQ(row.LabelHint, "/fah/0\r\n UserName: Tellvar Team: 12345");
    EXPECT_EQ(row.Status.Color, ColorGreen);
    EXPECT_FALSE(row.Status.ParentColor);
    EXPECT_EQ(row.Status.Hint, "Host OK... ");
    EXPECT_EQ(row.Backup.Color, ColorPink);
    EXPECT_EQ(row.Backup.Hint, "Backup OFF");
    EXPECT_FALSE(r.Balloon);
    Refresh(0, Running());
    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(nodes[0].SeenProgress, 45);
}

// A node remembers that the history holds its unit, but not past a history loaded again without it.
TEST_F(RowRefreshTest, AUnitIsListedAgainInAHistoryLoadedAgainWithoutIt) {
    Refresh(0, Running());
    ASSERT_TRUE(history.Flush());
    std::filesystem::remove(history.FilePath());
    history.Load();
    ASSERT_EQ(history.Count(), 0);
    Refresh(0, Running());
    EXPECT_EQ(history.Count(), 1);
    EXPECT_TRUE(history.IsKnown("p2605_Protein in water", "5-33-12"));
}

TEST_F(RowRefreshTest, TotalsSumTheDayCellsOfEveryRow) {
    Row(0).Cells[6] = "100.5";
    Row(2).Cells[6] = "200";
    EXPECT_EQ(TotalsText(nodes, 1), "TOTAL: 3 nodes gives an average result of 300.50 points per day.");
    EXPECT_EQ(TotalsText(nodes, 0), "ИТОГО: 3 нод дают средний результат 300.50 очков в день.");
    EXPECT_EQ(TotalsText(nodes, 2), std::nullopt);
    Row(2).Cells[6] = "n/a";
    EXPECT_EQ(TotalsText(nodes, 1), "TOTAL: 3 nodes gives an average result of 100.50 points per day.");
    Row(0).Cells[6].clear();
    Row(2).Cells[6].clear();
    EXPECT_EQ(TotalsText(nodes, 1), "TOTAL: 3 nodes gives an average result of ? points per day.");
}

// The watchdog stages a refresh passes, in their order: the watchdog's question names the last one.
TEST_F(RowRefreshTest, ARefreshPassesTheWatchdogStagesInOrder) {
    TNodeReading down;
    down.Status = TNodeStatus::HostDown;
    auto joined = [](std::initializer_list<std::vector<int>> parts) {
        std::vector<int> all;
        for (const std::vector<int>& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    const std::vector<int> start {20, 21, 22, 23, 24, 241, 242, 246};
    const std::vector<int> estimate {2474, 25, 26, 261, 262, 263, 264, 265};
    const std::vector<int> middle {27, 28, 29, 30, 31, 32, 33, 34};
    const std::vector<int> tail {35, 36, 37, 38, 39};
    struct Case {
        int Node;
        TNodeReading Reading;
        int BackLevel;
        std::vector<int> Stages;
    } cases[] = {
        {0, down, 0, {20, 38, 39}},
        {1, Running(45), 0, joined({start, estimate, middle, tail})},
        {2, Running(0), 0, joined({start, estimate, middle, {341, 342, 343, 344, 345, 346}, tail})},   // a new unit
        {1, Running(3), 96, joined({start, {2471, 2472, 2473}, estimate, middle, tail})},   // the level reset
        {1, Running(90), 0, joined({start, estimate, {266, 267, 268, 269}, middle, tail})},   // refined near the end
    };
    for (const Case& c : cases) {
        std::vector<int> stages;
        actions.Stage = [&stages](int stage) { stages.push_back(stage); };
        nodes[static_cast<std::size_t>(c.Node)].BackLevel = c.BackLevel;
        Refresh(c.Node, c.Reading);
        EXPECT_EQ(stages, c.Stages) << "node " << c.Node << " at " << c.Reading.Progress;
    }
}

TEST_F(RowRefreshTest, AFinishAfterTheDeadlineTurnsTheStatusSquareBlue) {
    struct Case {
        TNodeStatus Status;
        int Color;
        int Language;
        std::string Hint;
    } cases[] = {
        {TNodeStatus::Running, ColorBlue, 1, "Host OK... \r\nDeadline out of range."},
        {TNodeStatus::Running, ColorBlue, 0, "Host OK... \r\nДидлайн превышает прогноз."},
        {TNodeStatus::Undecided, StatusColor(TNodeStatus::Undecided), 1, "Host OK... "},
        {TNodeStatus::AttemptError, ColorYellow, 1, "Status unknown.\r\nNo new WU..."},
        {TNodeStatus::QueueLoaded, ColorLightGreen, 0, "Host OK.\r\nFAH Сервис запускается"},
    };
    for (const Case& c : cases) {
        TNodeReading r = Running(10);
        r.Deadline = RefreshNow + 0.01;   // 10 percent in half a day: days to go
        r.Status = c.Status;
        language = c.Language;
        TRowView row = Refresh(1, r).Row;
        EXPECT_EQ(row.Status.Color, c.Color) << StatusColor(c.Status);
        EXPECT_EQ(row.Status.Hint, c.Hint) << StatusColor(c.Status);
        EXPECT_EQ(row.Status.ParentShowHint, c.Status == TNodeStatus::Undecided) << StatusColor(c.Status);
        Row(1).Status.ParentShowHint = true;
    }
}

TEST_F(RowRefreshTest, AttemptErrorClearsTheFirstSixColumnsAndTheGaugeButKeepsTheRates) {
    Refresh(0, Running());
    TNodeReading r = Running();
    r.Status = TNodeStatus::AttemptError;
    TRowView row = Refresh(0, r).Row;
    for (int c = 0; c <= 5; ++c)
        EXPECT_EQ(row.Cells[static_cast<std::size_t>(c)], "") << c;
    EXPECT_FALSE(row.Cells[6].empty());
    EXPECT_FALSE(row.Cells[7].empty());
    EXPECT_EQ(row.Progress, 0);
}

TEST_F(RowRefreshTest, FarmSquareFollowsTheReplyAndTheFarmMode) {
    int started = -1;
    actions.StartServ = [&](int node) { started = node; };
    // Not in farm mode: pink, no start request.
    TRowView row = Refresh(0, Running()).Row;
    EXPECT_EQ(row.Farm.Color, ColorPink);
    EXPECT_EQ(row.Farm.Hint, "Service of control is stopped ");
    EXPECT_EQ(started, -1);
    // Farm mode without a reply: red, and the service is asked to start.
    nodes[0].Settings.Get = true;
    language = 0;
    row = Refresh(0, Running()).Row;
    EXPECT_EQ(row.Farm.Color, ColorRed);
    EXPECT_EQ(row.Farm.Hint, "Сервис управления остановлен");
    EXPECT_EQ(started, 0);
    // A reply: lime, and a running unit turns the status square lime too; a cache folder makes it aqua.
    started = -1;
    TFarmReply reply {true, FarmColorReplied, FarmStateRunning};
    row = Refresh(0, Running(), reply).Row;
    EXPECT_EQ(row.Farm.Color, ColorLime);
    EXPECT_EQ(row.Farm.Hint, "Service of control is AKTIVE");
    EXPECT_EQ(row.Status.Color, ColorLime);
    EXPECT_EQ(started, -1);
    std::filesystem::create_directories(CacheFolder(env.Folder(), 0));
    row = Refresh(0, Running(), reply).Row;
    EXPECT_EQ(row.Farm.Color, ColorAqua);
    EXPECT_EQ(row.Farm.Hint, "Service of control is AKTIVE\r\nNode cashed");
    EXPECT_TRUE(nodes[0].Cached);
}

TEST_F(RowRefreshTest, AHostThatDoesNotAnswerTurnsEverySquareRedAndKeepsTheOtherCells) {
    Refresh(2, Running());
    TNodeReading down;
    down.Status = TNodeStatus::HostDown;
    language = 0;
    TRowRefresh r = Refresh(2, down);
    EXPECT_FALSE(r.Row.GaugeEnabled);
    for (const TSquareView* square : {&r.Row.Status, &r.Row.Farm, &r.Row.Backup})
        EXPECT_EQ(square->Color, ColorRed);
    EXPECT_EQ(r.Row.Status.Hint, "Хост не доступен...");
    EXPECT_EQ(r.Row.Cells[0], "");
    EXPECT_EQ(r.Row.Cells[5], "120");
    EXPECT_EQ(r.Row.Cells[8], "2605 * 5-33-12");
    EXPECT_FALSE(r.TotalsText);
}

// The rows kept by unit key mark the same rows as comparing every row does, through units coming, moving from
// node to node and going.
TEST_F(RowRefreshTest, TheRowsByUnitKeyMarkAsComparingEveryRowDoes) {
    auto unit = [](const std::string& name, int run) {
        TNodeReading r = Running();
        r.WUName = name;
        r.RCG = std::to_string(run) + "-33-12";
        return r;
    };
    TNodeReading none;
    none.Status = TNodeStatus::Undecided;
    const std::vector<std::pair<int, TNodeReading>> steps {{0, unit("p2605_A", 5)}, {1, unit("p2605_A", 5)},
        {2, unit("p2605_A", 6)}, {2, unit("p2605_A", 5)}, {0, none}, {1, unit("p2669_B", 5)}, {0, unit("p2669_B", 5)},
        {2, none}, {1, none}, {2, unit("p2669_B", 5)}};
    std::vector<TNodeState> compared = nodes, indexed = nodes;
    TUnitKeyIndex keys {TNodeStateList(indexed)};
    for (const auto& [node, reading] : steps) {
        TRowRefreshContext a {compared, projects, nullptr, false, true, 1, env.Folder(), cacheBusy, actions};
        TRowRefreshContext b {indexed, projects, nullptr, false, true, 1, env.Folder(), cacheBusy, actions};
        b.UnitKeys = &keys;
        const TNodeCycle cycle {reading, RefreshNow, {}};
        const TRowRefresh fromAll = ReadData(a, node, cycle);
        const TRowRefresh fromKeys = ReadData(b, node, cycle);
        EXPECT_EQ(fromKeys.Markers, fromAll.Markers) << node;
        EXPECT_EQ(fromKeys.Row, fromAll.Row) << node;
        for (std::size_t i = 0; i < nodes.size(); ++i)
            EXPECT_EQ(indexed[i].Row.Cells[MarkerColumn], compared[i].Row.Cells[MarkerColumn]) << node << " " << i;
    }
    EXPECT_EQ(compared[0].Row.Cells[MarkerColumn], "1");   // B runs on nodes 0 and 2 at the end
    ASSERT_NE(keys.Rows(compared[0].Row.Cells[8]), nullptr);
    EXPECT_EQ(*keys.Rows(compared[0].Row.Cells[8]), (std::set<int> {0, 2}));
    EXPECT_EQ(keys.Rows("2605 * 5-33-12"), nullptr);   // no row shows A any more
}

TEST_F(RowRefreshTest, SameUnitOnTwoNodesIsMarkedAndSoAreNodesWithoutAUnit) {
    Refresh(0, Running());
    TRowRefresh second = Refresh(1, Running());
    EXPECT_EQ(second.Row.Cells[MarkerColumn], "1");
    EXPECT_EQ(second.Markers, (std::vector<std::pair<int, std::string>> {{0, "1"}}));
    EXPECT_EQ(Row(0).Cells[MarkerColumn], "1");

    TNodeReading none;
    none.Status = TNodeStatus::Undecided;
    Refresh(0, none);
    TRowRefresh idle = Refresh(2, none);
    EXPECT_EQ(idle.Row.Cells[8], " * ");   // the key of no unit, the same on both
    EXPECT_EQ(idle.Row.Cells[MarkerColumn], "1");
    EXPECT_EQ(idle.Markers, (std::vector<std::pair<int, std::string>> {{0, "1"}}));
}

TEST_F(RowRefreshTest, AutomaticBackupRunsEveryFivePercentOnlyWhenBothSwitchesAreOn) {
    std::vector<int> backups;
    actions.Workers.StartBackup = [&](int node) { backups.push_back(node); };
    nodes[1].BackLevel = 90;
    Refresh(1, Running(96));
    EXPECT_TRUE(backups.empty());   // AutoBackup off
    autoBackup = true;
    Refresh(1, Running(96));
    EXPECT_TRUE(backups.empty());   // the node's switch off
    nodes[1].Settings.Backup = true;
    TRowView row = Refresh(1, Running(96)).Row;
    EXPECT_EQ(backups, std::vector<int>({1}));
    EXPECT_EQ(nodes[1].BackLevel, 96);
    EXPECT_EQ(env.Stored(DataKey, "BackLevel1"), os::MakeDwordValue(96));
    EXPECT_EQ(row.Backup.Color, ColorLime);
    EXPECT_EQ(row.Backup.Hint, "Backup ON");
    Refresh(1, Running(100));
    EXPECT_EQ(backups.size(), 1u);   // 100 is not above 96 + 5
    Refresh(1, Running(3));   // a new unit
    EXPECT_EQ(backups.size(), 1u);
    EXPECT_EQ(nodes[1].BackLevel, 0);
}

// The level is recorded only once the backup started for it was made: a failed one is tried again at the
// next refresh (once a refresh), and none starts while the last one runs.
TEST_F(RowRefreshTest, AutomaticBackupLevelIsRecordedOnlyAfterTheBackupWasMade) {
    autoBackup = true;
    nodes[1].Settings.Backup = true;
    nodes[1].BackLevel = 90;
    int started = 0;
    TBackupOutcome outcome = TBackupOutcome::None;
    actions.Workers.StartBackup = [&](int) {
        ++started;
        outcome = TBackupOutcome::Running;
    };
    actions.Workers.BackupOutcome = [&](int) { return outcome; };
    const struct {
        int Progress;
        TBackupOutcome Before;   // what the last backup came to since the previous refresh
        int Started;   // backups started so far
        int Level;   // the recorded level afterwards
        bool FailedHint;
    } steps[] = {
        {96, TBackupOutcome::None, 1, 90, false},   // started, not recorded yet
        {97, TBackupOutcome::Running, 1, 90, false},   // still running: none more
        {97, TBackupOutcome::Failed, 2, 90, true},   // failed: tried again, the level stays
        {98, TBackupOutcome::Failed, 3, 90, true},   // and again at the next refresh
        {99, TBackupOutcome::Made, 3, 98, false},   // made: the level of the refresh that started it
        {100, TBackupOutcome::Made, 3, 98, false},
    };
    for (const auto& step : steps) {
        if (step.Before != TBackupOutcome::None) outcome = step.Before;
        TRowView row = Refresh(1, Running(step.Progress)).Row;
        EXPECT_EQ(started, step.Started) << step.Progress;
        EXPECT_EQ(nodes[1].BackLevel, step.Level) << step.Progress;
        EXPECT_EQ(row.Backup.Hint.find("Last backup failed") != std::string::npos, step.FailedHint) << step.Progress;
    }
    language = 0;
    EXPECT_EQ(Refresh(1, Running(100)).Row.Backup.Hint, "Backup ON");   // made: no failure to tell
    outcome = TBackupOutcome::Failed;
    EXPECT_EQ(Refresh(1, Running(100)).Row.Backup.Hint, "Backup ON\r\nПоследнее резервирование не удалось");
    EXPECT_EQ(env.Stored(DataKey, "BackLevel1"), os::MakeDwordValue(98));
}

TEST_F(RowRefreshTest, UnknownUnitWarnsOnceUntilANewUnitStarts) {
    TNodeReading r = Running(50);
    r.WUName = "p9999_Unknown";
    TRowRefresh first = Refresh(0, r);
    ASSERT_TRUE(first.Balloon);
    EXPECT_EQ(first.Balloon->Title, "KORVEX Info");
    EXPECT_EQ(first.Balloon->Text, "Unknown WU.\r\nUpdate database from Internet.");
    EXPECT_EQ(first.Row.Cells[0], "");
    EXPECT_EQ(first.Row.Cells[5], "");
    EXPECT_FALSE(first.Row.Cells[1].empty());   // remain and finish still shown
    EXPECT_FALSE(first.Row.Cells[4].empty());
    EXPECT_EQ(history.Count(), 0);
    EXPECT_FALSE(Refresh(0, r).Balloon);
    r.Progress = 1;
    Refresh(0, r);   // progress dropped: armed again
    language = 0;
    ASSERT_TRUE(Refresh(0, r).Balloon);
}

TEST_F(RowRefreshTest, CompletionBalloonComesOnceAndCyclesTheTrayIcons) {
    TRowRefresh done = Refresh(0, Running(100));
    ASSERT_TRUE(done.Balloon);
    EXPECT_EQ(done.Balloon->Text, "WU Complete.\r\n Attempting to send results ");
    EXPECT_TRUE(done.CycleTrayIcons);
    TRowRefresh again = Refresh(0, Running(100));
    EXPECT_FALSE(again.Balloon);
    EXPECT_FALSE(again.CycleTrayIcons);
}

TEST_F(RowRefreshTest, EachPercentMeasuresTheSpeedIntoTheStoreAndTheHistoryLine) {
    Refresh(0, Running(45));
    nodes[0].SeenProgress = 44;
    Refresh(0, Running(45));
    // 120 points, 12 minutes a percent: 10 per minute.
    auto stored = env.Stored(DataKey, "Gromacs0");
    ASSERT_TRUE(stored);
    ASSERT_TRUE(history.Flush());
    EXPECT_NE(env.ReadFile("KORVEX.WUS").find("@10.00"), std::string::npos);
}

// A node thread refreshes under a hold of the settings store: its values are in the store for every reader at
// once and in the settings file at the next write; the history line is in its file at once.
TEST_F(RowRefreshTest, UnderAHoldTheValuesAreInTheStoreAtOnceAndTheSettingsFileIsWrittenAtTheNextWrite) {
    autoBackup = true;
    nodes[0].Settings.Backup = true;
    {
        os::TRegistryHold hold;
        Refresh(0, Running(45));   // records the unit, backs up at 45
        nodes[0].SeenProgress = 44;
        Refresh(0, Running(45));   // measures the speed
    }
    EXPECT_FALSE(std::filesystem::exists(env.RegistryFile()));
    std::optional<os::TRegValue> backLevel, speed;
    std::thread reader([&] {
        backLevel = env.Stored(DataKey, "BackLevel0");
        speed = env.Stored(DataKey, "Gromacs0");
    });
    reader.join();
    ASSERT_TRUE(backLevel);
    EXPECT_EQ(os::DwordOf(*backLevel), 45u);
    EXPECT_TRUE(speed);
    EXPECT_FALSE(history.Dirty());
    EXPECT_NE(env.ReadFile("KORVEX.WUS").find("#120=node0@10.00\r\n"), std::string::npos);

    ASSERT_TRUE(os::RegistryStore::Default().WriteHeld());
    os::RegistryStore file(env.RegistryFile());
    EXPECT_EQ(file.GetValue(os::HKEY_LOCAL_MACHINE, DataKey, "BackLevel0"), backLevel);
    EXPECT_EQ(file.GetValue(os::HKEY_LOCAL_MACHINE, DataKey, "Gromacs0"), speed);
    // The same speed again: nothing held, the history file not written again.
    const auto written = std::filesystem::last_write_time(env.File("KORVEX.WUS"));
    nodes[0].SeenProgress = 44;
    {
        os::TRegistryHold hold;
        Refresh(0, Running(45));
    }
    EXPECT_FALSE(os::RegistryStore::Default().HasHeld());
    EXPECT_EQ(std::filesystem::last_write_time(env.File("KORVEX.WUS")), written);
}

TEST_F(RowRefreshTest, CacheStepsFollowTheLevelAndTheCacheFolder) {
    std::vector<std::pair<int, int>> made;
    std::vector<int> used;
    actions.Workers.CashMake = [&](int node, int mid) {
        made.emplace_back(node, mid);
        return true;
    };
    actions.Workers.CashWork = [&](int node) { used.push_back(node); };
    nodes[0].Settings.Get = true;
    nodes[0].Settings.Level = 90;
    Refresh(0, Running(89));
    EXPECT_TRUE(made.empty());
    Refresh(0, Running(91));
    EXPECT_EQ(made, (std::vector<std::pair<int, int>> {{0, CacheMachineId}}));
    cacheBusy = true;
    Refresh(0, Running(90));
    EXPECT_EQ(made.size(), 1u);   // at the level only while no cache client runs
    nodes[0].Cached = true;
    TNodeReading finished = Running(100);
    finished.Status = TNodeStatus::Undecided;
    Refresh(0, finished);
    EXPECT_EQ(used, std::vector<int>({0}));
    EXPECT_EQ(made.size(), 1u);
}

TEST_F(RowRefreshTest, TheWorkersBusyFlagGatesTheCacheAndANewUnitClearsIt) {
    bool workersBusy = true;
    int made = 0;
    actions.Workers.CacheBusy = [&] { return workersBusy; };
    actions.Workers.ClearCacheBusy = [&] { workersBusy = false; };
    actions.Workers.CashMake = [&](int node, int) {
        ++made;
        return std::filesystem::create_directories(CacheFolder(env.Folder(), node));
    };
    nodes[0].Settings.Get = true;
    nodes[0].Settings.Level = 90;
    Refresh(0, Running(90));
    EXPECT_EQ(made, 0);
    Refresh(0, Running(0));
    EXPECT_FALSE(workersBusy);
    // A cache made in this refresh shows on the status square, in either language.
    TRowView row = Refresh(0, Running(90)).Row;
    EXPECT_EQ(made, 1);
    EXPECT_EQ(row.Status.Color, ColorAqua);
    EXPECT_EQ(row.Status.Hint, "Host OK... \r\nCashing in progress");
    std::filesystem::remove_all(CacheFolder(env.Folder(), 0));
    nodes[0].Cached = false;
    language = 0;
    row = Refresh(0, Running(95)).Row;
    EXPECT_TRUE(row.Status.Hint.ends_with("\r\nКэширование...")) << row.Status.Hint;
    // The folder stands (no farm reply told the refresh): no new cache, and the square says nothing of one.
    row = Refresh(0, Running(96)).Row;
    EXPECT_EQ(made, 3);
    EXPECT_EQ(row.Status.Color, ColorGreen);
    EXPECT_EQ(row.Status.Hint, "Host OK... ");
}

TEST_F(RowRefreshTest, AUnitSeenOnAnotherDayIsMarkedTwoWhenItsNodeStartsOver) {
    env.SetNow(RefreshNow - 3);
    history.SaveWU("p2605_Protein in water", "5-33-12", 120, "node0");
    env.SetNow(RefreshNow);
    TNodeReading r = Running(0);
    EXPECT_EQ(Refresh(0, r).Row.Cells[MarkerColumn], "2");
    EXPECT_FALSE(nodes[0].UnitStarted);
    r.RCG.clear();   // no run-clone-gen matches nothing
    nodes[0].UnitStarted = true;
    EXPECT_EQ(Refresh(0, r).Row.Cells[MarkerColumn], "");
}

// The whole date counts: 07.12 and 17.12 (the same four characters "7.12") are different days, while the
// same date is no other day.
TEST_F(RowRefreshTest, TheDayMarkerComparesTheWholeDate) {
    struct Case {
        base::TDateTime Seen;
        base::TDateTime Today;
        const char* Marker;
    };
    const Case cases[] = {
        {base::EncodeDateTime(2024, 12, 7, 9, 0, 0, 0), base::EncodeDateTime(2024, 12, 17, 9, 0, 0, 0), "2"},
        {base::EncodeDateTime(2023, 12, 17, 9, 0, 0, 0), base::EncodeDateTime(2024, 12, 17, 9, 0, 0, 0), "2"},
        {base::EncodeDateTime(2024, 12, 17, 1, 0, 0, 0), base::EncodeDateTime(2024, 12, 17, 23, 0, 0, 0), ""},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(history.FilePath());
        history.Load();
        env.SetNow(c.Seen);
        history.SaveWU("p2605_Protein in water", "5-33-12", 120, "node0");
        env.SetNow(c.Today);
        nodes[0].UnitStarted = true;
        EXPECT_EQ(Refresh(0, Running(0)).Row.Cells[MarkerColumn], c.Marker) << base::DateTimeToStr(c.Seen);
    }
}

// A node that has shown no unit yet (a first run's "Local host", a host just added) keeps the cells that would
// only hold guesses empty: no remaining time, no finish, no unit key.
// A node that read nothing shows the key of no unit and the estimate of no progress; core and points stay empty.
TEST_F(RowRefreshTest, ANodeWithoutDataShowsTheKeyOfNoUnitAndTheEstimate) {
    for (TNodeStatus status : {TNodeStatus::Undecided, TNodeStatus::Running, TNodeStatus::QueueLoaded}) {
        TNodeReading none;
        none.Status = status;
        const TRowView row = Refresh(1, none).Row;
        EXPECT_EQ(row.Cells[8], " * ") << StatusColor(status);
        EXPECT_EQ(row.Cells[0], "") << StatusColor(status);
        EXPECT_EQ(row.Cells[5], "") << StatusColor(status);
        EXPECT_EQ(row.Cells[2], "") << StatusColor(status);   // no start: no date of 1899
        if (status == TNodeStatus::Undecided) {
            EXPECT_FALSE(row.Cells[1].empty());
            EXPECT_FALSE(row.Cells[4].empty());
        }
    }
    // Data arriving fills them.
    const TRowView row = Refresh(1, Running()).Row;
    EXPECT_FALSE(row.Cells[1].empty());
    EXPECT_FALSE(row.Cells[4].empty());
    EXPECT_EQ(row.Cells[8], "2605 * 5-33-12");
}

}
}

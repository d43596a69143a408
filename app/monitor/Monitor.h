// The monitor: per-node state, node threads, row refresh and farm link behind the main window. The node
// threads fill the rows under the update lock and hand each new row to the UI thread by value; the UI never
// reads a thread's fields.
#pragma once

#include "app/farm/FarmLink.h"
#include "app/nodes/NodeFiles.h"
#include "app/nodes/NodeReading.h"
#include "app/nodes/ProjectTable.h"
#include "app/settings/Settings.h"
#include "app/nodes/WorkUnitHistory.h"
#include "platform/os/Thread.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace korvex::os {
class TEventLoop;
}

namespace korvex::app {

// The main grid's columns in their order: nine shown ones and the duplicate marker, never shown.
enum class TGridColumn {
    Core,
    Remain,
    Start,
    Deadline,
    Finish,
    Points,
    PerDay,
    PerHour,
    UnitKey,   // project, run, clone and gen
    Marker,   // "1": the unit runs on another node as well; "2": the history saw it on another day
};
inline constexpr int GridColumnCount = static_cast<int>(TGridColumn::Marker) + 1;
inline constexpr int MarkerColumn = static_cast<int>(TGridColumn::Marker);
constexpr int ColumnIndex(TGridColumn column) {
    return static_cast<int>(column);
}

// One of a row's three squares as the row refresh leaves it.
struct TSquareView {
    int Color = 0;   // 0x00BBGGRR; ParentColor means the form's colour
    bool ParentColor = true;
    bool ParentShowHint = true;
    std::string Hint;

    bool operator==(const TSquareView&) const = default;
};

// What the main window shows of one node after a refresh.
struct TRowView {
    int Node = 0;
    std::array<std::string, GridColumnCount> Cells;   // by TGridColumn
    std::string& Cell(TGridColumn column) { return Cells[static_cast<std::size_t>(column)]; }
    const std::string& Cell(TGridColumn column) const { return Cells[static_cast<std::size_t>(column)]; }
    int Progress = 0;
    bool GaugeEnabled = true;
    std::string GaugeHint;
    std::string LabelHint;
    TSquareView Status, Farm, Backup;
    std::string CoreRequired;   // for the core column's hint
    std::string WUName;   // of the reading, for the node information window
    std::string RCG;
    std::string Version;
    // The status of the node's last reading; none before the first refresh, and while a cycle runs in the
    // window's copy (the status square shows the form's colour then).
    std::optional<TNodeStatus> NodeStatus;

    bool operator==(const TRowView&) const = default;
};

struct TBalloon {
    std::string Title;
    std::string Text;
    int TimeoutSeconds = 10;
};

// One row refresh, handed to the UI thread by value.
struct TRowRefresh {
    TRowView Row;
    std::vector<std::pair<int, std::string>> Markers;   // other rows whose marker cell changed: row, new text
    std::optional<TBalloon> Balloon;
    bool CycleTrayIcons = false;   // a unit completed: the tray icon starts cycling
    std::optional<std::string> TotalsText;   // the status bar's second panel (width 350) and its hint
};

// The main window's side, called on the UI thread only (queued by the node threads; never waited for).
class IMonitorView {
public:
    virtual ~IMonitorView() = default;
    virtual void RowRefreshed(const TRowRefresh& refresh) = 0;
    virtual void CycleStarted(int node) = 0;   // the status square takes the form's colour
    virtual void BusyChanged(bool anyNodeBusy) = 0;   // at every cycle start (true) and every end that leaves none busy
};

// What became of a node's last backup.
enum class TBackupOutcome { None, Running, Made, Failed };

// The workers the row refresh triggers (backup and work-unit cache); each may be empty.
struct TMonitorWorkers {
    std::function<void(int node)> StartBackup;   // does nothing while the node's last backup still runs
    // The node's last backup; when empty, a backup counts as made once started.
    std::function<TBackupOutcome(int node)> BackupOutcome;
    std::function<void(int node)> CashWork;
    std::function<bool(int node, int machineId)> CashMake;   // true when a cache was started
    // The workers' cache busy flag (set while a cache console is being started) and its reset at a new unit;
    // when empty the monitor keeps a flag of its own.
    std::function<bool()> CacheBusy;
    std::function<void()> ClearCacheBusy;
};

// Timings of the node threads and the monitor; zero or unset values take the defaults (tests shorten them).
struct TMonitorTimings {
    int IntervalMs = 0;   // 0: the settings' Update minutes
    int FilePauseMs = 250;   // after every open and load attempt of a client file
    int HostTimeoutMs = 3000;   // the host test's connect
    int JoinTimeoutMs = 5000;   // how long Stop waits for the node threads altogether
    int RestartWaitMs = 20000;   // how long a restart waits for the old thread
};

class TFarmLink;
class TMonitorCore;

// Owned by the main window for the whole run. Everything here is called on the UI thread unless noted.
class TMonitor {
public:
    TMonitor(os::TEventLoop& loop, IMonitorView& view, std::string programFolder);
    ~TMonitor();   // stops as Stop does
    TMonitor(const TMonitor&) = delete;
    TMonitor& operator=(const TMonitor&) = delete;

    // The farm link's server socket (port os::FarmPort()); a failed listen is logged and returned.
    bool OpenFarmServer();
    void CloseFarmServer();
    bool FarmServerOpen() const;

    // Builds the per-node state from the settings and starts one thread per node (after the window is loaded).
    void Start(const TSettings& settings, const TProjectTable& projects, TWorkUnitHistory& history);
    // Stops every node thread, waits for each (bounded) and drops their queued rows. The view gets no call
    // after Stop returns.
    void Stop();
    bool Running() const;
    int NodeCount() const;

    // Watchdog, read by the one-second timer.
    int Stage(int node) const;
    // The interval the node threads of the current run sleep (set by Start; an option changed since is
    // taken only by the next run).
    int IntervalMs() const { return FIntervalMs; }
    // Restarts a node's thread without blocking: the old one is asked to stop; the new one starts once the
    // old has ended or 20 s have passed (checked by Tick), the old one then left to end by itself. A node
    // folder has at most one such thread: while one is still stuck (in a read of a hung network share), the
    // node is not restarted again (false) and a new run starts the node only once it ended.
    bool RestartNode(int node);
    int AbandonedThreads() const;   // left to end by themselves and still running
    // Every second, from Timer1: the restarts due, and the farm link's server socket listens again once the port
    // it could not have is free (it stays closed after CloseFarmServer).
    void Tick();
    int RepeatCount(int node) const;
    void SetRepeatCount(int node, int count);

    // The progress each node showed at its last refresh (saved at exit as Progress<i>).
    int SeenProgress(int node) const;
    bool Busy(int node) const;   // false while monitoring is off

    // Farm commands: start (1) and stop (2) of a node's console service. Any thread; from the UI thread they
    // are sent on a thread of their own, in the order given, so that the UI never waits for the farm lock.
    void StartServ(int node);
    void StopServ(int node);

    void SetWorkers(TMonitorWorkers workers);

    // The service state the last status query of the node reported (0 before any reply).
    int FarmState(int node) const;
    // What the node's last status query learnt (no reply before the first).
    TFarmReply LastFarmReply(int node) const;

    // One reading of a copy of a node's folder (a backup folder: mode 2, a cache folder: mode 3) on its own
    // thread, handed to `done` on the UI thread, which the thread waits for; dropped when the monitor goes
    // first. While monitoring runs, the reading marks the node busy until the end of its next cycle.
    void ReadFolderOnce(
        int mode, int node, const std::string& folder, std::function<void(int node, const TNodeReading& reading)> done);
    // Whether a one-shot reading's thread still runs (one that ended has had its reading handed over).
    bool ReadingOnce() const;

    void SetTimings(const TMonitorTimings& timings) { FTimings = timings; }
    void SetFolderReader(TFolderReader reader) { FReader = std::move(reader); }   // tests: a fake in its place
    TFarmLink& FarmLink() { return *FLink; }   // ports and waits of the farm link

private:
    struct TPendingRestart;
    struct TAbandoned {
        std::string Path;
        os::TThreadHandle Thread;
    };
    void StartThread(int node);
    const os::TThreadHandle* StuckOn(const std::string& path);   // an abandoned thread of the folder still running
    void FarmCommand(int node, int command);
    std::shared_ptr<TMonitorCore> Core() const;

    os::TEventLoop& FLoop;
    IMonitorView& FView;
    std::string FProgramFolder;
    TMonitorTimings FTimings;
    int FIntervalMs = 60000;   // the node threads' update interval of the current run
    TMonitorWorkers FWorkers;
    std::shared_ptr<TFarmLink> FLink;
    mutable std::mutex FCoreLock;   // guards FCore against the farm commands of other threads
    std::shared_ptr<TMonitorCore> FCore;   // while running
    std::vector<os::TThreadHandle> FThreads;
    std::vector<TPendingRestart> FRestarts;
    std::vector<TAbandoned> FAbandoned;   // kept from one run to the next
    TFolderReader FReader;
    std::vector<int> FLastSeen;   // the seen progress when the monitor stopped
    std::vector<os::TThreadHandle> FReaders;
    std::shared_ptr<std::atomic<bool>> FReadersAlive;
    std::vector<os::TThreadHandle> FSenders;   // farm commands given on the UI thread
};

}

// The work-unit cache and backup workers of all nodes: what the row refresh triggers and what the node
// information window commands, in one object the main window owns.
#pragma once

#include "app/cache/CacheContext.h"
#include "app/monitor/Monitor.h"
#include "app/cache/MyBackupU.h"

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace korvex::app {

struct TSettings;

inline constexpr int SendingMachineId = 7;   // the machine ID the sent results' client.cfg gets
inline constexpr const char* PandeGroupKey = "SOFTWARE\\PandeGroup";   // the console's identity, per user

// The machine ID "Make new cash" passes after m: 8, 7, ... 3, 2, then 8 again.
inline int NextMachineId(int m) {
    return m < 3 ? 8 : m - 1;
}

// Why no cache was made.
enum class TCashFailure {
    None,
    Exists,   // the node has a cache already
    Folder,   // its cache folder cannot be made
    Console,   // no console to copy: neither the node's own nor the "FAH Console path" option's
    ClientConfig,   // the node's client.cfg cannot be copied
    ClientConfigWrite,   // the copy cannot be patched
};

// Every member may be called from any thread unless noted; the events and farm commands are set before
// the first call. Its threads are stopped and joined, and the consoles it started ended, when it goes.
class TCacheWorkers {
public:
    explicit TCacheWorkers(std::string programFolder, const TCacheTimings& timings = {});
    ~TCacheWorkers();
    TCacheWorkers(const TCacheWorkers&) = delete;
    TCacheWorkers& operator=(const TCacheWorkers&) = delete;

    // The node list and options in use (after every load); machine IDs are taken from it.
    void SetSettings(const TSettings& settings);
    int MachineId(int node) const;   // as CashMake left it: saved as MID<i> at exit

    // The farm commands of the monitor (any thread).
    std::function<void(int node)> StartServ;
    std::function<void(int node)> StopServ;
    // A backup ended (UI thread): ok is false when nothing or not everything could be copied, or the disk
    // lacked the room for it.
    std::function<void(int node, bool ok)> OnBackupDone;
    // The free bytes where the backups go; empty: the disk's own (tests replace it).
    TDiskFree DiskFree;

    // The callbacks the row refresh calls.
    TMonitorWorkers Workers();

    // Prepares node's cache with machine ID m: the folder made, the console, client.cfg (patched) and cores
    // copied, the console started and watched until the download completed. True when a cache was started;
    // false when one exists or a copy failed (the new folder then removed again), and why in `failure`.
    bool CashMake(int node, int machineId, TCashFailure* failure = nullptr);
    // Hands a ready cache over (FARM mode, nothing being started, the download done): the node's results
    // moved to the ready-results folder and sent from there when the node sends, the cached files moved into
    // the node folder. The node's console service is asked to start in every case.
    void CashWork(int node);

    bool CacheBusy() const { return FContext.CacheBusy; }
    void ClearCacheBusy() { FContext.CacheBusy = false; }   // the row refresh's reset at a new unit
    bool HasCache(int node) const;   // the node's cache folder exists
    bool CacheReady(int node) const;   // it exists and its download is not being watched any more
    bool Sending() const;   // results are being sent from the ready-results folder

    // The node information window's commands (UI thread). False when the node's flags rule them out.
    bool MakeBackup(int node);   // only with the node's backup flag
    // The automatic backup: the row refresh checked the flags. Nothing while the node's last one still runs.
    void StartBackup(int node);
    TBackupOutcome BackupOutcome(int node) const;
    // FARM mode only: the node's console service stopped, the backup's files moved back into the node folder,
    // the service started; each step after the one before has ended. True when files were moved.
    bool Restore(int node);
    // Restore on a worker thread of its own (the UI thread's command): the farm commands are sent there, where
    // they wait for the farm lock, so the stop has gone before the copy begins without the UI waiting. False
    // outside FARM mode.
    bool StartRestore(int node);
    // The old cache ended and removed, a new one made with the next machine ID (false, and why, as CashMake).
    bool MakeNewCash(int node, TCashFailure* failure = nullptr);

    // Waits until every worker thread has ended (tests); false on time-out.
    bool WaitIdle(int timeoutMs);

private:
    struct TNode {
        std::string Path;
        bool Get = false;
        bool Send = false;
        bool Backup = false;
        int Core = 3;
        int MID = 8;
    };
    bool Node(int node, TNode& values) const;
    std::string PathService() const;
    void Watch(int node, const std::string& exeName, const std::string& trigger, const std::string& folder);
    bool Watching(const std::string& folder) const;
    void ConsoleNotStarted(const std::string& folder);
    bool HandOverResults(int node, const TNode& values);

    const std::string FProgramFolder;
    mutable std::mutex FLock;   // the fields below
    std::vector<TNode> FNodes;
    std::string FPathService;
    std::vector<std::pair<std::string, os::TThreadHandle>> FWatchers;   // by folder
    std::map<int, TBackupOutcome> FBackups;   // each node's last backup
    std::mutex FBackupLock;   // one backup copy or restore at a time
    TCacheContext FContext;   // last: its threads end first
};

}

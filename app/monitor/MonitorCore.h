// The monitor's state shared with its node threads for one run: one slot per node (its watchdog figures, row
// state, busy flag, address and farm reply), the update lock, and the hand-over of refreshed rows to the view.
#pragma once

#include "app/farm/FarmLink.h"
#include "app/monitor/CacheFolderList.h"
#include "app/monitor/Monitor.h"
#include "app/monitor/MyThread.h"
#include "app/monitor/RowRefresh.h"
#include "platform/os/CriticalSection.h"
#include "platform/os/OwnedMutex.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <vector>

namespace korvex::app {

// Lock order. A thread takes these locks only in this order and never takes one while it holds a later one:
// the flush lock, then the update lock, then the farm lock (TFarmLink), then one of the short locks under
// which nothing else is taken (a slot's lock, the busy lock, the farm link's slot lock, the settings store's
// and the history's own locks, TMonitor's core lock, the host-test lock). So the flush lock is never taken
// under the update lock: Close leaves the update lock before it takes the flush lock. A row refresh, under
// the update lock, may send a farm command and so wait for the farm lock; a status query holds the farm lock
// from its host's look-up (and the address's store) to the end of its reply wait, so it takes neither the
// update nor the flush lock. The entries that need a lock held, or not held, assert it (KORVEX_ASSERT).

// What the monitor keeps of one node. Node threads hold on to their slot: slots never move for a run.
struct TNodeSlot {
    TNodeSlot(int node, const TNodeSettings& settings, bool cached);
    TNodeSlot(const TNodeSlot&) = delete;
    TNodeSlot& operator=(const TNodeSlot&) = delete;

    std::atomic<int> Seen;   // the progress at the last refresh
    std::atomic<int> FarmState {0};   // the service state of the last reply
    std::atomic<int> Generation {0};   // the thread whose calls count; a restart counts up

    TNodeState Row;   // under the update lock (its Settings never change: read without it)
    bool Busy = false;   // under the busy lock
    bool EndedSinceFlush = false;   // a cycle ended since the last write (under the busy lock)

    mutable os::TOwnedMutex Lock;   // guards the two below
    std::string Ip;   // written by the status query's look-up
    TFarmReply Reply;   // of the last status query
};

// Node threads keep the core alive; after Close nothing they do reaches the view, the history, the
// workers or the row state, so a thread that outlives its monitor only finishes its step.
class TMonitorCore : public INodeHost {
public:
    TMonitorCore(IMonitorView& view, std::shared_ptr<TFarmLink> link, const TSettings& settings,
        const TProjectTable& projects, TWorkUnitHistory& history, std::string programFolder);

    int NodeCount() const { return static_cast<int>(FSlots.size()); }
    const TNodeSettings& Settings(int node) const { return Slot(node).Row.Settings; }

    // Under the update lock: no refresh starts after this, and queued view calls are dropped. Then writes
    // the settings file with what the last refreshes held, before the history goes back to its owner. UI thread.
    void Close();
    // A node thread's settings writes (row refresh, address look-up) are in the settings store at once, for
    // every reader, and held for the file (os::TRegistryHold); this writes the file with them (outside the
    // update lock), and the history's speeds a failed write left. The node threads call it once a farm cycle:
    // when every node has ended a cycle since the last write; or when the last write is older than the flush
    // interval (a node that stays busy, such as one stuck in a hung share).
    void FlushWrites();
    void SetFlushInterval(int ms) { FFlushIntervalMs = ms; }
    void SetWorkers(const TMonitorWorkers& workers);

    int Stage(int node) const { return Watch(node).Stage.load(); }
    int RepeatCount(int node) const { return Watch(node).Repeats.load(); }
    void SetRepeatCount(int node, int count) { Watch(node).Repeats = count; }
    int SeenProgress(int node) const { return Slot(node).Seen.load(); }
    int FarmState(int node) const { return Slot(node).FarmState.load(); }
    TFarmReply LastFarmReply(int node) const;
    int Generation(int node) const { return Slot(node).Generation.load(); }
    int NextGeneration(int node) { return ++Slot(node).Generation; }
    bool Busy(int node) const;
    // A one-shot reading of the node's folder copy marks the node busy; its next monitoring cycle's end clears it.
    void MarkBusy(int node);

    TFarmTarget Target(int node) const;   // any thread
    void StartServ(int node);
    void StopServ(int node);

    // INodeHost
    void SetStage(int node, int generation, int stage) override;
    void CycleStarted(int node, int generation) override;
    TFarmReply QueryFarm(int node, int generation, const std::string& path, std::stop_token stop) override;
    void RefreshRow(int node, int generation, const TNodeCycle& cycle) override;
    void CycleEnded(int node, int generation) override;

private:
    // The watchdog's counters of a node, written by its thread (the stage) and the UI thread: no lock.
    struct TWatchCounters {
        std::atomic<int> Stage {0};
        std::atomic<int> Repeats {0};
    };

    TNodeSlot& Slot(int node) const;
    TWatchCounters& Watch(int node) const;
    void SetBusy(TNodeSlot& slot, bool busy);   // the busy lock held
    TNodeState& RowState(int node);   // the update lock held
    TNodeStateList RowStates();   // the update lock held
    bool AnyBusy() const;   // the busy lock held
    std::string LookUpIp(int node, const std::string& path, const std::function<void(int)>& stage);
    bool Current(int node, int generation) const { return Generation(node) == generation; }
    void ToView(std::function<void(IMonitorView&)> call);

    IMonitorView& FView;
    std::shared_ptr<TFarmLink> FLink;
    const bool FAutoBackup;
    const bool FHintTray;
    const int FLanguage;
    const std::string FProgramFolder;
    const TProjectTable FProjects;
    std::shared_ptr<std::atomic<bool>> FAlive = std::make_shared<std::atomic<bool>>(true);
    std::vector<std::unique_ptr<TNodeSlot>> FSlots;   // fixed for the run
    // Side by side, one per slot: the watchdog's round each second reads every node's, not every slot.
    std::unique_ptr<TWatchCounters[]> FWatch;

    os::TCriticalSection FUpdateLock;   // guards the slots' row state, the workers and the history use below
    bool FClosed = false;
    TDayTotals FDayTotals;
    std::unique_ptr<TUnitKeyIndex> FUnitKeys;   // the rows by unit key (under the update lock)
    bool FCacheBusy = false;
    TWorkUnitHistory* FHistory;
    TMonitorWorkers FWorkers;

    os::TOwnedMutex FFlushLock;   // one flush at a time
    std::atomic<std::int64_t> FLastFlushMs {0};   // steady clock
    std::atomic<int> FFlushIntervalMs {60000};

    mutable os::TOwnedMutex FBusyLock;   // the slots' busy flags
    int FBusyCount = 0;   // slots whose Busy is set (under the busy lock)
    int FEndedSinceFlush = 0;   // slots whose EndedSinceFlush is set (under the busy lock)
};

}

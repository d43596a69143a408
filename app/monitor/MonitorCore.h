// The monitor's state shared with its node threads for one run: per-node rows, watchdog and busy tables,
// the update lock, and the hand-over of refreshed rows to the view.
#pragma once

#include "app/farm/FarmLink.h"
#include "app/monitor/Monitor.h"
#include "app/monitor/MyThread.h"
#include "app/monitor/RowRefresh.h"
#include "app/settings/SettingsWrites.h"
#include "platform/os/CriticalSection.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace korvex::app {

// Node threads keep the core alive; after Close nothing they do reaches the view, the history, the
// workers or the row state, so a thread that outlives its monitor only finishes its step.
class TMonitorCore : public INodeHost {
public:
    TMonitorCore(IMonitorView& view, std::shared_ptr<TFarmLink> link, const TSettings& settings,
        const TProjectTable& projects, TWorkUnitHistory& history, std::string programFolder);

    int NodeCount() const { return static_cast<int>(FNodes.size()); }
    const TNodeSettings& Settings(int node) const { return FNodes[static_cast<std::size_t>(node)].Settings; }

    // Under the update lock: no refresh starts after this, and queued view calls are dropped. Then writes
    // what the last refreshes changed, before the history goes back to its owner. UI thread.
    void Close();
    // The settings values and the history the refreshes changed, written (outside the update lock). The
    // node threads call it when the last busy node ends its cycle, or when the last write is older than the
    // flush interval (nodes that are never idle together).
    void FlushWrites();
    void SetFlushInterval(int ms) { FFlushIntervalMs = ms; }
    void SetWorkers(const TMonitorWorkers& workers);

    int Stage(int node) const { return FStages[Index(node)].load(); }
    int RepeatCount(int node) const { return FRepeats[Index(node)].load(); }
    void SetRepeatCount(int node, int count) { FRepeats[Index(node)] = count; }
    int SeenProgress(int node) const { return FSeen[Index(node)].load(); }
    int FarmState(int node) const { return FFarmStates[Index(node)].load(); }
    TFarmReply LastFarmReply(int node) const;
    int Generation(int node) const { return FGenerations[Index(node)].load(); }
    int NextGeneration(int node) { return ++FGenerations[Index(node)]; }
    bool Busy(int node) const;

    TFarmTarget Target(int node) const;   // any thread
    void StartServ(int node);
    void StopServ(int node);

    // INodeHost
    void SetStage(int node, int generation, int stage) override;
    void CycleStarted(int node, int generation) override;
    TFarmReply QueryFarm(int node, int generation, const std::string& path, const TFarmLink::TPause& pause) override;
    void RefreshRow(int node, int generation, const TNodeCycle& cycle) override;
    void CycleEnded(int node, int generation) override;

private:
    std::size_t Index(int node) const;
    bool Current(int node, int generation) const { return Generation(node) == generation; }
    void ToView(std::function<void(IMonitorView&)> call);
    void QueueTotals(std::string text);

    IMonitorView& FView;
    std::shared_ptr<TFarmLink> FLink;
    const bool FAutoBackup;
    const bool FHintTray;
    const int FLanguage;
    const std::string FProgramFolder;
    const TProjectTable FProjects;
    std::shared_ptr<std::atomic<bool>> FAlive = std::make_shared<std::atomic<bool>>(true);

    os::TCriticalSection FUpdateLock;   // guards the row state, the workers and the history use below
    bool FClosed = false;
    std::vector<TNodeState> FNodes;
    TDayTotals FDayTotals;
    bool FCacheBusy = false;
    TWorkUnitHistory* FHistory;
    TMonitorWorkers FWorkers;
    TSettingsWrites FSettingsWrites;

    std::mutex FFlushLock;   // one flush at a time; taken before the update lock, never under it
    std::atomic<std::int64_t> FLastFlushMs {0};   // steady clock
    std::atomic<int> FFlushIntervalMs {60000};

    mutable std::mutex FIpLock;   // the IP slots, written by the status query's look-up
    std::vector<std::string> FIps;

    mutable std::mutex FBusyLock;   // the busy flags and whether the view shows busy
    std::vector<char> FBusy;
    bool FBusyShown = false;

    std::unique_ptr<std::atomic<int>[]> FStages;
    std::unique_ptr<std::atomic<int>[]> FRepeats;
    std::unique_ptr<std::atomic<int>[]> FSeen;
    std::unique_ptr<std::atomic<int>[]> FFarmStates;
    mutable std::mutex FReplyLock;   // the last replies
    std::vector<TFarmReply> FReplies;
    std::unique_ptr<std::atomic<int>[]> FGenerations;

    // The latest totals text and whether a call to show it is queued: one call carries the totals of every
    // refresh that comes before the UI thread runs it.
    struct TTotalsSlot {
        std::mutex Lock;
        std::string Text;
        bool Queued = false;
    };
    std::shared_ptr<TTotalsSlot> FTotals = std::make_shared<TTotalsSlot>();
};

}

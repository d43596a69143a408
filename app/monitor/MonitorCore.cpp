// The monitor's run state: the node threads' calls, the update lock around each row refresh, and the
// queued hand-over of every refreshed row to the view.
#include "app/monitor/MonitorCore.h"

#include "app/settings/ProgramLog.h"
#include "app/settings/SettingsKey.h"
#include "app/cache/WorkUnitFiles.h"
#include "platform/base/Assert.h"
#include "platform/os/Files.h"
#include "platform/os/Network.h"
#include "platform/os/RegistryBatch.h"
#include "platform/os/Thread.h"

#include <algorithm>
#include <chrono>

namespace korvex::app {

namespace {

std::int64_t SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The settings file written with what the node threads' refreshes hold; a failure logged, the values stay held.
void WriteHeldSettings() {
    if (!os::RegistryStore::Default().WriteHeld()) WLog("Settings: cannot write the settings file");
}

}

TNodeSlot::TNodeSlot(int node, const TNodeSettings& settings, bool cached)
    : Seen(settings.Progress)
    , Row(MakeNodeState(node, settings))
    , Ip(settings.Ip) {
    Row.Cached = cached;
}

TMonitorCore::TMonitorCore(IMonitorView& view, std::shared_ptr<TFarmLink> link, const TSettings& settings,
    const TProjectTable& projects, TWorkUnitHistory& history, std::string programFolder)
    : FView(view)
    , FLink(std::move(link))
    , FAutoBackup(settings.AutoBackup)
    , FHintTray(settings.HintTray)
    , FLanguage(settings.Language)
    , FProgramFolder(std::move(programFolder))
    , FProjects(projects)
    , FHistory(&history) {
    const std::size_t count = settings.Nodes.size();
    FWatch = std::make_unique<TWatchCounters[]>(count);
    TCacheFolderList cacheFolders(FProgramFolder, static_cast<int>(count));   // one listing for every node
    for (std::size_t i = 0; i < count; ++i) {
        const int node = static_cast<int>(i);
        FSlots.push_back(std::make_unique<TNodeSlot>(node, settings.Nodes[i], cacheFolders.Exists(node)));
    }
    FDayTotals = TDayTotals(count);
    {
        os::TCriticalSectionLock update(FUpdateLock);
        FUnitKeys = std::make_unique<TUnitKeyIndex>(RowStates());
    }
    FLastFlushMs = SteadyMs();
}

TNodeSlot& TMonitorCore::Slot(int node) const {
    KORVEX_ASSERT(node >= 0 && node < NodeCount());
    return *FSlots[static_cast<std::size_t>(node)];
}

TMonitorCore::TWatchCounters& TMonitorCore::Watch(int node) const {
    KORVEX_ASSERT(node >= 0 && node < NodeCount());
    return FWatch[static_cast<std::size_t>(node)];
}

TNodeState& TMonitorCore::RowState(int node) {
    KORVEX_ASSERT(FUpdateLock.HeldByCurrentThread());
    return Slot(node).Row;
}

TNodeStateList TMonitorCore::RowStates() {
    KORVEX_ASSERT(FUpdateLock.HeldByCurrentThread());
    std::vector<TNodeState*> states;
    states.reserve(FSlots.size());
    for (const std::unique_ptr<TNodeSlot>& slot : FSlots)
        states.push_back(&slot->Row);
    return TNodeStateList(std::move(states));
}

bool TMonitorCore::AnyBusy() const {
    KORVEX_ASSERT(FBusyLock.HeldByCurrentThread());
    return FBusyCount > 0;
}

void TMonitorCore::SetBusy(TNodeSlot& slot, bool busy) {
    KORVEX_ASSERT(FBusyLock.HeldByCurrentThread());
    if (slot.Busy == busy) return;
    slot.Busy = busy;
    FBusyCount += busy ? 1 : -1;
    KORVEX_ASSERT(FBusyCount >= 0 && FBusyCount <= NodeCount());
}

void TMonitorCore::Close() {
    KORVEX_ASSERT(!FUpdateLock.HeldByCurrentThread());
    TWorkUnitHistory* history = nullptr;
    {
        os::TCriticalSectionLock update(FUpdateLock);
        history = FHistory;
        FClosed = true;
        *FAlive = false;
        FHistory = nullptr;
        FWorkers = {};
    }
    std::lock_guard flush(FFlushLock);   // a node thread's flush ends first
    WriteHeldSettings();
    if (history) history->Flush();
}

void TMonitorCore::FlushWrites() {
    KORVEX_ASSERT(!FUpdateLock.HeldByCurrentThread());
    KORVEX_ASSERT(!FFlushLock.HeldByCurrentThread());
    std::lock_guard flush(FFlushLock);
    TWorkUnitHistory* history = nullptr;
    {
        os::TCriticalSectionLock update(FUpdateLock);
        history = FHistory;   // Close waits for this flush before the history goes
    }
    {
        // Cycles that end from now on count for the next write; those ended before are in this one.
        std::lock_guard busy(FBusyLock);
        for (const std::unique_ptr<TNodeSlot>& slot : FSlots)
            slot->EndedSinceFlush = false;
        FEndedSinceFlush = 0;
    }
    FLastFlushMs = SteadyMs();
    WriteHeldSettings();
    if (history) history->Flush();
}

void TMonitorCore::SetWorkers(const TMonitorWorkers& workers) {
    KORVEX_ASSERT(!FLink->FarmLock().HeldByCurrentThread());
    os::TCriticalSectionLock update(FUpdateLock);
    if (!FClosed) FWorkers = workers;
}

void TMonitorCore::ToView(std::function<void(IMonitorView&)> call) {
    std::shared_ptr<std::atomic<bool>> alive = FAlive;
    IMonitorView* view = &FView;
    os::TThread::Queue([alive, view, call = std::move(call)] {
        if (*alive) call(*view);
    });
}

TFarmReply TMonitorCore::LastFarmReply(int node) const {
    const TNodeSlot& slot = Slot(node);
    std::lock_guard guard(slot.Lock);
    return slot.Reply;
}

bool TMonitorCore::Busy(int node) const {
    const TNodeSlot& slot = Slot(node);
    std::lock_guard guard(FBusyLock);
    return slot.Busy;
}

void TMonitorCore::MarkBusy(int node) {
    std::lock_guard guard(FBusyLock);
    SetBusy(Slot(node), true);
}

TFarmTarget TMonitorCore::Target(int node) const {
    const TNodeSlot& slot = Slot(node);
    const TNodeSettings& settings = slot.Row.Settings;
    std::lock_guard guard(slot.Lock);
    return TFarmTarget {slot.Ip, settings.RSPath, settings.Label};
}

void TMonitorCore::StartServ(int node) {
    FLink->Send(FarmStart, Target(node));
}

void TMonitorCore::StopServ(int node) {
    FLink->Send(FarmStop, Target(node));
}

void TMonitorCore::SetStage(int node, int generation, int stage) {
    if (Current(node, generation)) Watch(node).Stage = stage;
}

void TMonitorCore::CycleStarted(int node, int generation) {
    if (!Current(node, generation)) return;
    {
        std::lock_guard guard(FBusyLock);
        TNodeSlot& slot = Slot(node);
        SetBusy(slot, true);
        // The view shows the form's colour until the refresh colours the square again (every refresh does).
        ToView([node](IMonitorView& view) {
            view.BusyChanged(true);
            view.CycleStarted(node);
        });
    }
}

void TMonitorCore::CycleEnded(int node, int generation) {
    if (!Current(node, generation)) return;
    bool idle = false;
    bool farmCycleOver = false;
    {
        std::lock_guard guard(FBusyLock);
        TNodeSlot& slot = Slot(node);
        SetBusy(slot, false);
        if (!slot.EndedSinceFlush) {
            slot.EndedSinceFlush = true;
            farmCycleOver = ++FEndedSinceFlush == NodeCount();   // this end completed it: one write
        }
        idle = !AnyBusy();
        if (idle) {
            for (int i = 0; i < NodeCount(); ++i)
                Watch(i).Repeats = 0;
            SetStage(node, generation, 18);
            ToView([](IMonitorView& view) { view.BusyChanged(false); });
        }
    }
    // Every node has ended a cycle since the last write: the farm's changes are written once a farm cycle,
    // however often the nodes happen to be idle together in it.
    if (farmCycleOver || SteadyMs() - FLastFlushMs >= FFlushIntervalMs) FlushWrites();
}

// Resolved once and kept in the store; a name that does not resolve is tried again next cycle.
std::string TMonitorCore::LookUpIp(int node, const std::string& path, const std::function<void(int)>& stage) {
    TNodeSlot& slot = Slot(node);
    std::string ip;
    {
        std::lock_guard guard(slot.Lock);
        ip = slot.Ip;
    }
    const std::string host = os::HostOfUncPath(path);
    if (!ip.empty() || host.empty()) return ip;
    stage(3);
    ip = os::NameToIP(host);
    stage(4);
    {
        std::lock_guard guard(slot.Lock);
        slot.Ip = ip;
    }
    {
        os::TRegistryHold hold;
        TSettingsKey(PathKey).WriteText(NodeValue("Ip", node), ip);
    }
    stage(5);
    return ip;
}

TFarmReply TMonitorCore::QueryFarm(int node, int generation, const std::string& path, std::stop_token stop) {
    KORVEX_ASSERT(!FUpdateLock.HeldByCurrentThread());
    KORVEX_ASSERT(!FLink->FarmLock().HeldByCurrentThread());
    auto stage = [this, node, generation](int s) { SetStage(node, generation, s); };
    // Held from the look-up to the end of the reply wait.
    os::TCriticalSectionLock farm(FLink->FarmLock());
    const std::string ip = LookUpIp(node, path, stage);
    stage(6);
    TFarmTarget target = Target(node);
    target.Ip = ip;
    TFarmReply reply = FLink->Query(node, target, std::move(stop), stage);
    TNodeSlot& slot = Slot(node);
    if (reply.Replied) slot.FarmState = reply.State;
    {
        std::lock_guard guard(slot.Lock);
        slot.Reply = reply;
    }
    return reply;
}

void TMonitorCore::RefreshRow(int node, int generation, const TNodeCycle& cycle) {
    KORVEX_ASSERT(!FLink->FarmLock().HeldByCurrentThread());
    os::TCriticalSectionLock update(FUpdateLock);
    if (FClosed || !Current(node, generation)) return;
    os::TRegistryHold hold;   // its settings values in the store now, in the file once a farm cycle
    TRowRefreshContext context {
        RowStates(), FProjects, FHistory, FAutoBackup, FHintTray, FLanguage, FProgramFolder, FCacheBusy, {}};
    context.Actions.Stage = [this, node, generation](int s) { SetStage(node, generation, s); };
    context.Actions.StartServ = [this](int n) { StartServ(n); };
    context.Actions.Workers = FWorkers;
    context.Totals = &FDayTotals;
    context.UnitKeys = FUnitKeys.get();
    TRowRefresh refresh = ReadData(context, node, cycle);
    Slot(node).Seen = RowState(node).SeenProgress;
    ToView([refresh = std::move(refresh)](IMonitorView& view) { view.RowRefreshed(refresh); });
}

}

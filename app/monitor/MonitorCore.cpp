// The monitor's run state: the node threads' calls, the update lock around each row refresh, and the
// queued hand-over of every refreshed row to the view.
#include "app/monitor/MonitorCore.h"

#include "app/settings/SettingsKey.h"
#include "app/cache/WorkUnitFiles.h"
#include "platform/base/Assert.h"
#include "platform/os/Files.h"
#include "platform/os/Network.h"
#include "platform/os/Thread.h"

#include <algorithm>
#include <chrono>

namespace korvex::app {

namespace {

std::int64_t SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::unique_ptr<std::atomic<int>[]> Table(std::size_t count, const std::function<int(std::size_t)>& value) {
    auto table = std::make_unique<std::atomic<int>[]>(count);
    for (std::size_t i = 0; i < count; ++i)
        table[i] = value(i);
    return table;
}

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
    for (std::size_t i = 0; i < count; ++i) {
        TNodeState state = MakeNodeState(static_cast<int>(i), settings.Nodes[i]);
        state.Cached = os::DirectoryExists(CacheFolder(FProgramFolder, static_cast<int>(i)));
        FNodes.push_back(std::move(state));
        FIps.push_back(settings.Nodes[i].Ip);
    }
    FDayTotals = TDayTotals(count);
    FBusy.assign(count, 0);
    FStages = Table(count, [](std::size_t) { return 0; });
    FRepeats = Table(count, [](std::size_t) { return 0; });
    FSeen = Table(count, [&](std::size_t i) { return settings.Nodes[i].Progress; });
    FFarmStates = Table(count, [](std::size_t) { return 0; });
    FReplies.assign(count, TFarmReply {});
    FGenerations = Table(count, [](std::size_t) { return 0; });
    FLastFlushMs = SteadyMs();
}

std::size_t TMonitorCore::Index(int node) const {
    KORVEX_ASSERT(node >= 0 && node < NodeCount());
    return static_cast<std::size_t>(node);
}

void TMonitorCore::Close() {
    TWorkUnitHistory* history = nullptr;
    {
        os::TCriticalSectionLock update(FUpdateLock);
        history = FHistory;
        FClosed = true;
        *FAlive = false;
        FHistory = nullptr;
        FWorkers = {};
    }
    std::lock_guard<std::mutex> flush(FFlushLock);   // a node thread's flush ends first
    FSettingsWrites.Flush();
    if (history) history->Flush();
}

void TMonitorCore::FlushWrites() {
    std::lock_guard<std::mutex> flush(FFlushLock);
    TWorkUnitHistory* history = nullptr;
    {
        os::TCriticalSectionLock update(FUpdateLock);
        history = FHistory;   // Close waits for this flush before the history goes
    }
    FLastFlushMs = SteadyMs();
    FSettingsWrites.Flush();
    if (history) history->Flush();
}

void TMonitorCore::SetWorkers(const TMonitorWorkers& workers) {
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

void TMonitorCore::QueueTotals(std::string text) {
    std::shared_ptr<TTotalsSlot> slot = FTotals;
    {
        std::lock_guard<std::mutex> guard(slot->Lock);
        slot->Text = std::move(text);
        if (slot->Queued) return;
        slot->Queued = true;
    }
    ToView([slot](IMonitorView& view) {
        std::string latest;
        {
            std::lock_guard<std::mutex> guard(slot->Lock);
            latest = slot->Text;
            slot->Queued = false;
        }
        view.TotalsChanged(latest);
    });
}

TFarmReply TMonitorCore::LastFarmReply(int node) const {
    std::lock_guard<std::mutex> guard(FReplyLock);
    return FReplies[Index(node)];
}

bool TMonitorCore::Busy(int node) const {
    std::lock_guard<std::mutex> guard(FBusyLock);
    return FBusy[Index(node)] != 0;
}

TFarmTarget TMonitorCore::Target(int node) const {
    const TNodeSettings& settings = Settings(node);
    std::lock_guard<std::mutex> guard(FIpLock);
    return TFarmTarget {FIps[Index(node)], settings.RSPath, settings.Label};
}

void TMonitorCore::StartServ(int node) {
    FLink->Send(FarmStart, Target(node));
}

void TMonitorCore::StopServ(int node) {
    FLink->Send(FarmStop, Target(node));
}

void TMonitorCore::SetStage(int node, int generation, int stage) {
    if (Current(node, generation)) FStages[Index(node)] = stage;
}

void TMonitorCore::CycleStarted(int node, int generation) {
    if (!Current(node, generation)) return;
    {
        std::lock_guard<std::mutex> guard(FBusyLock);
        FBusy[Index(node)] = 1;
        if (!FBusyShown) {
            FBusyShown = true;
            ToView([](IMonitorView& view) { view.BusyChanged(true); });
        }
    }
    // The view shows the form's colour until the refresh colours the square again (every refresh does).
    ToView([node](IMonitorView& view) { view.CycleStarted(node); });
}

void TMonitorCore::CycleEnded(int node, int generation) {
    if (!Current(node, generation)) return;
    bool idle = false;
    {
        std::lock_guard<std::mutex> guard(FBusyLock);
        FBusy[Index(node)] = 0;
        idle = std::none_of(FBusy.begin(), FBusy.end(), [](char busy) { return busy != 0; });
        if (idle) {
            for (int i = 0; i < NodeCount(); ++i)
                FRepeats[static_cast<std::size_t>(i)] = 0;
            SetStage(node, generation, 18);
            if (FBusyShown) {
                FBusyShown = false;
                ToView([](IMonitorView& view) { view.BusyChanged(false); });
            }
        }
    }
    // The farm's cycle is over: its changes are written once, not once per node.
    if (idle || SteadyMs() - FLastFlushMs >= FFlushIntervalMs) FlushWrites();
}

TFarmReply TMonitorCore::QueryFarm(int node, int generation, const std::string& path, const TFarmLink::TPause& pause) {
    auto stage = [this, node, generation](int s) { SetStage(node, generation, s); };
    os::TCriticalSectionLock farm(FLink->FarmLock());
    std::string ip;
    {
        std::lock_guard<std::mutex> guard(FIpLock);
        ip = FIps[Index(node)];
    }
    const std::string host = os::HostOfUncPath(path);
    if (ip.empty() && !host.empty()) {
        // Resolved once and kept in the store; a name that does not resolve is tried again next cycle.
        stage(3);
        ip = os::NameToIP(host);
        stage(4);
        {
            std::lock_guard<std::mutex> guard(FIpLock);
            FIps[Index(node)] = ip;
        }
        FSettingsWrites.WriteText(PathKey, NodeValue("Ip", node), ip);
        stage(5);
    }
    stage(6);
    TFarmTarget target = Target(node);
    target.Ip = ip;
    TFarmReply reply = FLink->Query(node, target, pause, stage);
    if (reply.Replied) FFarmStates[Index(node)] = reply.State;
    {
        std::lock_guard<std::mutex> guard(FReplyLock);
        FReplies[Index(node)] = reply;
    }
    return reply;
}

void TMonitorCore::RefreshRow(int node, int generation, const TNodeCycle& cycle) {
    os::TCriticalSectionLock update(FUpdateLock);
    if (FClosed || !Current(node, generation)) return;
    TRowRefreshContext context {
        FNodes, FProjects, FHistory, FAutoBackup, FHintTray, FLanguage, FProgramFolder, FCacheBusy, {}};
    context.Actions.Stage = [this, node, generation](int s) { SetStage(node, generation, s); };
    context.Actions.StartServ = [this](int n) { StartServ(n); };
    context.Actions.Workers = FWorkers;
    context.Totals = &FDayTotals;
    context.SettingsWrites = &FSettingsWrites;
    TRowRefresh refresh = ReadData(context, node, cycle);
    FSeen[Index(node)] = FNodes[Index(node)].SeenProgress;
    std::optional<std::string> totals = std::move(refresh.TotalsText);
    refresh.TotalsText.reset();
    ToView([refresh = std::move(refresh)](IMonitorView& view) { view.RowRefreshed(refresh); });
    if (totals) QueueTotals(std::move(*totals));
}

}

// TMonitor: starting and stopping the node threads, the watchdog's restarts and the farm commands.
#include "app/monitor/Monitor.h"

#include "app/farm/FarmLink.h"
#include "app/settings/MinuteLength.h"
#include "app/monitor/MonitorCore.h"
#include "app/monitor/MyThread.h"
#include "app/settings/ProgramLog.h"
#include "platform/base/Assert.h"
#include "platform/os/EventLoop.h"
#include "platform/os/Network.h"

#include <algorithm>
#include <chrono>

namespace korvex::app {

struct TMonitor::TPendingRestart {
    int Node = 0;
    os::TEventLoop::TimePoint Deadline;
    os::TThreadHandle Old;
    bool Abandoned = false;   // Old is an abandoned thread of an earlier run (kept in FAbandoned)
};

namespace {

// Waits for every thread, all of them together within timeoutMs; false when one is still running.
bool JoinAll(std::vector<os::TThreadHandle>& threads, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    bool all = true;
    for (os::TThreadHandle& thread : threads) {
        if (!thread) continue;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (!thread.WaitFor(static_cast<int>(std::max<std::int64_t>(0, left.count())))) all = false;
    }
    return all;
}

// A farm command sent off the UI thread: the farm lock may be held by a status query waiting for a reply
// that only the UI thread's loop can deliver. Each waits for the one before, so commands keep their order.
class TFarmCommandThread : public os::TThread {
public:
    TFarmCommandThread(os::TThreadHandle previous, std::function<void()> send)
        : os::TThread(true)
        , FPrevious(std::move(previous))
        , FSend(std::move(send)) { }

protected:
    void Execute() override {
        FPrevious.WaitFor();
        FSend();
    }

private:
    os::TThreadHandle FPrevious;
    std::function<void()> FSend;
};

}

TMonitor::TMonitor(os::TEventLoop& loop, IMonitorView& view, std::string programFolder)
    : FLoop(loop)
    , FView(view)
    , FProgramFolder(std::move(programFolder))
    , FLink(std::make_shared<TFarmLink>(loop, os::LocalIP()))
    , FReadersAlive(std::make_shared<std::atomic<bool>>(true)) {
}

TMonitor::~TMonitor() {
    Stop();
    *FReadersAlive = false;
    for (os::TThreadHandle& reader : FReaders)
        reader.Terminate();
    JoinAll(FReaders, FTimings.JoinTimeoutMs);
    if (!JoinAll(FSenders, FTimings.JoinTimeoutMs)) WLog("A farm command did not end in time");
    FLink->CloseServer();   // the link may outlive us in a thread that did not end: never its server socket
}

bool TMonitor::OpenFarmServer() {
    return FLink->OpenServer();
}

void TMonitor::CloseFarmServer() {
    FLink->CloseServer();
}

bool TMonitor::FarmServerOpen() const {
    return FLink->ServerOpen();
}

std::shared_ptr<TMonitorCore> TMonitor::Core() const {
    std::lock_guard<std::mutex> guard(FCoreLock);
    return FCore;
}

void TMonitor::Start(const TSettings& settings, const TProjectTable& projects, TWorkUnitHistory& history) {
    Stop();
    auto core = std::make_shared<TMonitorCore>(FView, FLink, settings, projects, history, FProgramFolder);
    core->SetWorkers(FWorkers);
    const int count = core->NodeCount();
    FLink->SetNodeCount(count);
    {
        std::lock_guard<std::mutex> guard(FCoreLock);
        FCore = core;
    }
    FThreads.assign(static_cast<std::size_t>(count), os::TThreadHandle());
    FIntervalMs = FTimings.IntervalMs > 0 ? FTimings.IntervalMs : ClampStoredUpdate(settings.Update) * MinuteMs();
    core->SetFlushInterval(std::min(FIntervalMs, 60000));   // a node that stays busy delays the writes a minute at most
    for (int node = 0; node < count; ++node) {
        // A thread of an earlier run still stuck in this folder: this node starts once it ended.
        if (const os::TThreadHandle* stuck = StuckOn(core->Settings(node).Path))
            FRestarts.push_back(TPendingRestart {node, os::TEventLoop::TimePoint::max(), *stuck, true});
        else
            StartThread(node);
    }
}

void TMonitor::StartThread(int node) {
    std::shared_ptr<TMonitorCore> core = Core();
    KORVEX_ASSERT(core != nullptr);
    const TNodeSettings& settings = core->Settings(node);
    TThreadTimings timings;
    timings.IntervalMs = FIntervalMs;
    timings.FilePauseMs = MinutePauseMs(FTimings.FilePauseMs);
    timings.HostTimeoutMs = FTimings.HostTimeoutMs;
    auto* thread = new MyThread(core, node, core->Generation(node), settings.Path, settings.Get, timings);
    if (FReader) thread->SetReader(FReader);
    thread->SetPriority(os::tpLowest);
    thread->SetFreeOnTerminate(true);
    FThreads[static_cast<std::size_t>(node)] = thread->Handle();
    thread->Start();
}

const os::TThreadHandle* TMonitor::StuckOn(const std::string& path) {
    std::erase_if(FAbandoned, [](const TAbandoned& a) { return a.Thread.Finished(); });
    for (const TAbandoned& a : FAbandoned)
        if (a.Path == path) return &a.Thread;
    return nullptr;
}

int TMonitor::AbandonedThreads() const {
    return static_cast<int>(
        std::count_if(FAbandoned.begin(), FAbandoned.end(), [](const TAbandoned& a) { return !a.Thread.Finished(); }));
}

void TMonitor::Stop() {
    std::shared_ptr<TMonitorCore> core = Core();
    if (!core) return;
    std::vector<TAbandoned> threads;
    for (std::size_t node = 0; node < FThreads.size(); ++node)
        threads.push_back({core->Settings(static_cast<int>(node)).Path, FThreads[node]});
    for (TPendingRestart& restart : FRestarts)
        if (!restart.Abandoned) threads.push_back({core->Settings(restart.Node).Path, restart.Old});
    FRestarts.clear();
    FThreads.clear();
    // Asked to stop first: a refresh that waits for the farm lock gets it as soon as the status query
    // holding it wakes from its reply wait, so closing below waits for that refresh only briefly.
    // A thread in a folder where an older one is stuck is most likely stuck as well: not waited for.
    std::vector<os::TThreadHandle> handles;
    for (TAbandoned& thread : threads) {
        thread.Thread.Terminate();
        if (!StuckOn(thread.Path)) handles.push_back(thread.Thread);
    }
    core->Close();
    if (!JoinAll(handles, FTimings.JoinTimeoutMs)) WLog("A node thread did not stop in time");
    // Those still running are left to end by themselves; the next run starts none in their folders before.
    for (TAbandoned& thread : threads)
        if (thread.Thread && !thread.Thread.Finished()) FAbandoned.push_back(std::move(thread));
    FLastSeen.clear();
    for (int node = 0; node < core->NodeCount(); ++node)
        FLastSeen.push_back(core->SeenProgress(node));
    FLink->SetNodeCount(0);
    std::lock_guard<std::mutex> guard(FCoreLock);
    FCore.reset();
}

bool TMonitor::Running() const {
    return Core() != nullptr;
}

int TMonitor::NodeCount() const {
    std::shared_ptr<TMonitorCore> core = Core();
    return core ? core->NodeCount() : 0;
}

int TMonitor::Stage(int node) const {
    std::shared_ptr<TMonitorCore> core = Core();
    return core && node >= 0 && node < core->NodeCount() ? core->Stage(node) : 0;
}

bool TMonitor::RestartNode(int node) {
    std::shared_ptr<TMonitorCore> core = Core();
    if (!core || node < 0 || node >= core->NodeCount()) return false;
    for (const TPendingRestart& restart : FRestarts)
        if (restart.Node == node) return false;
    if (StuckOn(core->Settings(node).Path)) {
        WLog("Node " + std::to_string(node + 1) + " is not restarted: its previous thread is still stuck");
        return false;
    }
    os::TThreadHandle old = FThreads[static_cast<std::size_t>(node)];
    old.Terminate();
    core->NextGeneration(node);   // from now on the old thread's calls do not count
    FThreads[static_cast<std::size_t>(node)] = os::TThreadHandle();
    FRestarts.push_back(
        TPendingRestart {node, FLoop.Now() + std::chrono::milliseconds(FTimings.RestartWaitMs), std::move(old), false});
    return true;
}

void TMonitor::Tick() {
    FLink->RetryServer();   // another process may have let the farm port go
    std::shared_ptr<TMonitorCore> core = Core();
    if (!core) return;
    std::vector<int> starting;
    for (auto it = FRestarts.begin(); it != FRestarts.end();) {
        if (!it->Old.Finished() && FLoop.Now() < it->Deadline) {
            ++it;
            continue;
        }
        const int node = it->Node;
        const std::string& path = core->Settings(node).Path;
        if (!it->Old.Finished()) {
            // Left to end by itself, as the only one of its folder.
            if (StuckOn(path)) {
                ++it;
                continue;
            }
            FAbandoned.push_back({path, it->Old});
        }
        it = FRestarts.erase(it);
        starting.push_back(node);
    }
    for (int node : starting)
        StartThread(node);
    std::erase_if(FReaders, [](const os::TThreadHandle& reader) { return reader.Finished(); });
}

int TMonitor::RepeatCount(int node) const {
    std::shared_ptr<TMonitorCore> core = Core();
    return core && node >= 0 && node < core->NodeCount() ? core->RepeatCount(node) : 0;
}

void TMonitor::SetRepeatCount(int node, int count) {
    std::shared_ptr<TMonitorCore> core = Core();
    if (core && node >= 0 && node < core->NodeCount()) core->SetRepeatCount(node, count);
}

bool TMonitor::Busy(int node) const {
    std::shared_ptr<TMonitorCore> core = Core();
    return core && node >= 0 && node < core->NodeCount() && core->Busy(node);
}

int TMonitor::SeenProgress(int node) const {
    std::shared_ptr<TMonitorCore> core = Core();
    if (core) return node >= 0 && node < core->NodeCount() ? core->SeenProgress(node) : 0;
    return node >= 0 && node < static_cast<int>(FLastSeen.size()) ? FLastSeen[static_cast<std::size_t>(node)] : 0;
}

int TMonitor::FarmState(int node) const {
    std::shared_ptr<TMonitorCore> core = Core();
    return core && node >= 0 && node < core->NodeCount() ? core->FarmState(node) : 0;
}

TFarmReply TMonitor::LastFarmReply(int node) const {
    std::shared_ptr<TMonitorCore> core = Core();
    return core && node >= 0 && node < core->NodeCount() ? core->LastFarmReply(node) : TFarmReply {};
}

void TMonitor::StartServ(int node) {
    FarmCommand(node, FarmStart);
}

void TMonitor::StopServ(int node) {
    FarmCommand(node, FarmStop);
}

void TMonitor::FarmCommand(int node, int command) {
    std::shared_ptr<TMonitorCore> core = Core();
    if (!core || node < 0 || node >= core->NodeCount()) return;
    auto send = [core, node, command] { command == FarmStart ? core->StartServ(node) : core->StopServ(node); };
    if (!os::CurrentThreadIsUi()) {
        send();
        return;
    }
    std::erase_if(FSenders, [](const os::TThreadHandle& sender) { return sender.Finished(); });
    auto* thread = new TFarmCommandThread(FSenders.empty() ? os::TThreadHandle() : FSenders.back(), send);
    thread->SetFreeOnTerminate(true);
    FSenders.push_back(thread->Handle());
    thread->Start();
}

void TMonitor::SetWorkers(TMonitorWorkers workers) {
    FWorkers = std::move(workers);
    if (std::shared_ptr<TMonitorCore> core = Core()) core->SetWorkers(FWorkers);
}

void TMonitor::ReadFolderOnce(
    int mode, int node, const std::string& folder, std::function<void(int, const TNodeReading&)> done) {
    KORVEX_ASSERT(
        mode == static_cast<int>(TThreadMode::BackupReading) || mode == static_cast<int>(TThreadMode::CacheReading));
    std::shared_ptr<std::atomic<bool>> alive = FReadersAlive;
    auto guarded = [alive, done = std::move(done)](int n, const TNodeReading& reading) {
        if (*alive && done) done(n, reading);
    };
    TThreadTimings timings;
    timings.FilePauseMs = MinutePauseMs(FTimings.FilePauseMs);
    timings.HostTimeoutMs = FTimings.HostTimeoutMs;
    auto* thread = new MyThread(static_cast<TThreadMode>(mode), node, folder, guarded, timings);
    if (FReader) thread->SetReader(FReader);
    std::shared_ptr<TMonitorCore> core = Core();
    if (core && node >= 0 && node < core->NodeCount())
        thread->SetMarkBusy([weak = std::weak_ptr<TMonitorCore>(core), node] {
            if (std::shared_ptr<TMonitorCore> running = weak.lock()) running->MarkBusy(node);
        });
    thread->SetPriority(os::tpLowest);
    thread->SetFreeOnTerminate(true);
    FReaders.push_back(thread->Handle());
    thread->Start();
}

bool TMonitor::ReadingOnce() const {
    return std::any_of(FReaders.begin(), FReaders.end(), [](const os::TThreadHandle& reader) { return !reader.Finished(); });
}

}

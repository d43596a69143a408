// MyThread: the monitoring cycle of one node and the one-shot folder reading.
#include "app/monitor/MyThread.h"

#include "app/nodes/NodeFiles.h"
#include "platform/base/Assert.h"
#include "platform/base/DateTime.h"
#include "platform/os/Network.h"

#include <algorithm>
#include <array>

namespace korvex::app {

os::TCriticalSection& HostTestLock() {
    static os::TCriticalSection lock;
    return lock;
}

bool PathHostAnswers(const std::string& path, int timeoutMs, const std::function<bool()>& stopped) {
    if (path.find("\\\\") == std::string::npos) return true;
    const std::string host = os::HostOfUncPath(path);
    if (host.empty()) return false;
    // The name is looked up before the lock: a look-up has no time limit of its own, and other nodes' tests
    // wait for the lock.
    const std::string ip = os::NameToIP(host);
    if (ip.empty()) return false;
    os::TCriticalSectionLock guard(HostTestLock());
    if (stopped && stopped()) return false;
    return os::HostAnswers(ip, timeoutMs);
}

MyThread::MyThread(
    std::shared_ptr<INodeHost> host, int node, int generation, std::string path, bool get, TThreadTimings timings)
    : os::TThread(true)
    , FMode(TThreadMode::Monitor)
    , FNode(node)
    , FGeneration(generation)
    , FPath(std::move(path))
    , FGet(get)
    , FTimings(timings)
    , FHost(std::move(host)) {
    KORVEX_ASSERT(FHost != nullptr);
}

MyThread::MyThread(TThreadMode mode, int node, std::string path, TReadingDone done, TThreadTimings timings)
    : os::TThread(true)
    , FMode(mode)
    , FNode(node)
    , FPath(std::move(path))
    , FTimings(timings)
    , FDone(std::move(done)) {
    KORVEX_ASSERT(mode != TThreadMode::Monitor);
}

void MyThread::Stage(int stage) {
    if (FHost) FHost->SetStage(FNode, FGeneration, stage);
}

TNodeReading MyThread::ReadFolder(bool withStages) {
    const base::TDateTime now = base::Now();
    const TUtcOffsetFunc offset = SystemUtcOffset();
    if (FReader) return FReader(FNode, FPath, now);
    TNodeReading reading;
    // The stages are those of a file's open, load, pause after a failed load, and of freeing its lines and its
    // stream.
    auto options = [&](std::array<int, 3> stages) {
        os::TRetryOptions o;
        o.PauseMs = FTimings.FilePauseMs;
        o.Pause = [this](int ms) { return Sleep(ms); };
        if (withStages)
            o.OnStep = [this, stages](os::TRetryStep step) {
                if (step == os::TRetryStep::Opened) Stage(stages[0]);
                if (step == os::TRetryStep::LoadAttempted) Stage(stages[1]);
                if (step == os::TRetryStep::LoadPaused) Stage(stages[2]);
            };
        return o;
    };
    auto freed = [&](int lines, int stream) {
        if (!withStages) return;
        Stage(lines);
        Stage(stream);
    };
    if (withStages) Stage(7);
    ReadClientLog(FLog, FPath, now, offset, options({8, 9, 994}), reading);
    freed(10, 11);
    if (Terminated()) return reading;
    ReadUnitInfo(FPath, now, offset, options({12, 13, 14}), reading);
    freed(15, 16);
    return reading;
}

void MyThread::MonitorCycle() {
    FHost->CycleStarted(FNode, FGeneration);
    // The busy flag is cleared on every way out of the cycle.
    struct TCycleEnd {
        MyThread& Thread;
        ~TCycleEnd() { Thread.FHost->CycleEnded(Thread.FNode, Thread.FGeneration); }
    } cycleEnd {*this};

    TNodeCycle cycle;
    cycle.CycleStart = base::Now();
    const bool answers = PathHostAnswers(FPath, FTimings.HostTimeoutMs, [this] { return Terminated(); });
    Stage(1);
    if (!answers) {
        cycle.Reading.Status = TNodeStatus::HostDown;
        cycle.Reading.TimePerPercent = NoTimeText;
    } else {
        Stage(2);
        if (FGet) {
            cycle.Farm = FHost->QueryFarm(FNode, FGeneration, FPath, StopToken());
            Stage(53);
        }
        if (Terminated()) return;
        cycle.Reading = ReadFolder(true);
    }
    if (Terminated()) return;
    Stage(17);
    FHost->RefreshRow(FNode, FGeneration, cycle);
    Stage(171);
}

void MyThread::Execute() {
    if (FMode != TThreadMode::Monitor) {
        TNodeReading reading;
        if (PathHostAnswers(FPath, FTimings.HostTimeoutMs))
            reading = ReadFolder(false);
        else
            reading.Status = TNodeStatus::HostDown;
        if (!Terminated() && FDone) {
            TReadingDone done = FDone;
            const int node = FNode;
            os::TThread::Queue([done, node, reading] { done(node, reading); });
        }
        Terminate();
        return;
    }
    Stage(0);
    while (!Terminated()) {
        MonitorCycle();
        if (Terminated()) break;
        Stage(77);
        Sleep(std::max(0, FTimings.IntervalMs - 500));
        Stage(19);
    }
    Stage(-1);
}

}

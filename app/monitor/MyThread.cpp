// MyThread: the monitoring cycle of one node and the one-shot folder reading.
#include "app/monitor/MyThread.h"

#include "app/nodes/NodeFiles.h"
#include "platform/base/Assert.h"
#include "platform/base/DateTime.h"
#include "platform/os/FileStream.h"
#include "platform/os/Network.h"

#include <algorithm>

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
    // Every open and load attempt is followed by a pause, and a missing file is retried too: a client may be
    // writing it anew. Stages of a file: open, load (the unit-info file: loaded, then every load attempt), the
    // pause after a load attempt (the log), and its lines and stream freed after a successful open.
    struct TFileStages {
        int Opened, Loaded, LoadAttempted, LoadPaused, LinesFreed, StreamFreed;
    };
    auto options = [&](const TFileStages& stages) {
        os::TRetryOptions o;
        o.PauseMs = FTimings.FilePauseMs;
        o.PauseAfterEveryAttempt = true;
        o.RetryMissing = true;
        FNames.Use(o);
        o.Pause = [this](int ms) { return FTimings.FilePause ? FTimings.FilePause(ms) && !Terminated() : Sleep(ms); };
        if (withStages)
            o.OnStep = [this, stages](os::TRetryStep step) {
                switch (step) {
                case os::TRetryStep::Opened:
                    return Stage(stages.Opened);
                case os::TRetryStep::Loaded:
                    if (stages.Loaded != 0) Stage(stages.Loaded);
                    return;
                case os::TRetryStep::LoadAttempted:
                    return Stage(stages.LoadAttempted);
                case os::TRetryStep::LoadPaused:
                    if (stages.LoadPaused != 0) Stage(stages.LoadPaused);
                    return;
                case os::TRetryStep::Closed:
                    Stage(stages.LinesFreed);
                    return Stage(stages.StreamFreed);
                case os::TRetryStep::OpenAttempted:
                    return;
                }
            };
        return o;
    };
    TLogScanStages scanStages;
    if (withStages) scanStages = [this](TLogScanStage stage) { Stage(static_cast<int>(stage)); };
    // The pauses leave time between the two files for a client to move to its next unit: when the log changed
    // while the unit file was read, and the lines it gained name a unit, the two may tell of two units, and both
    // are read again. Lines of the same unit's progress leave the reading as it is.
    constexpr int ReadRounds = 3;
    for (int round = 1;; ++round) {
        if (withStages) Stage(7);
        ReadClientLog(FLog, FPath, now, offset, options({8, 0, 9, 994, 10, 11}), reading, scanStages);
        if (Terminated()) return reading;
        ReadUnitInfo(FPath, now, offset, options({12, 13, 14, 0, 15, 16}), reading);
        if (round == ReadRounds || Terminated() || LogUnchanged() || LogGrewWithTheSameUnit()) return reading;
        reading = TNodeReading();
    }
}

// Whether the log only grew since it was read, by lines without the keywords that name a unit: its name
// ("System:", "Protein:") and its run, clone and gen (the "Clone" line).
bool MyThread::LogGrewWithTheSameUnit() {
    os::TFileStream stream;
    const os::TRetryOptions options;
    if (!FNames.Open(stream, NodeFilePath(FPath, ClientLogName), options.Mode)) return false;
    return FLog.GrewWithout(stream, {"System:", "Protein:", "Clone"});
}

// Whether the log is still as the reading left it: one look at its status, by the name it opened under.
bool MyThread::LogUnchanged() {
    return FLog.Unchanged(FNames.Identity(NodeFilePath(FPath, ClientLogName)));
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
        if (FMarkBusy) FMarkBusy();
        TNodeReading reading;
        if (PathHostAnswers(FPath, FTimings.HostTimeoutMs))
            reading = ReadFolder(false);
        else
            reading.Status = TNodeStatus::HostDown;
        if (!Terminated() && FDone) {
            os::TThread::Synchronize([this, &reading] { FDone(FNode, reading); });
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

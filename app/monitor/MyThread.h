// MyThread: a node's monitoring thread (host test, farm query, client files, row refresh, sleep) and the
// one-shot reading of a copy of a node's folder.
#pragma once

#include "app/farm/FarmLink.h"
#include "app/nodes/NodeFiles.h"
#include "app/nodes/NodeReading.h"
#include "app/monitor/RowRefresh.h"
#include "platform/os/CriticalSection.h"
#include "platform/os/Thread.h"

#include <functional>
#include <memory>
#include <stop_token>
#include <string>

namespace korvex::app {

enum class TThreadMode : int {
    Monitor = 1,   // the endless monitoring cycle
    BackupReading = 2,   // one reading of a backup folder
    CacheReading = 3,   // one reading of a cache folder
};

// The monitor's side of a monitoring thread, called on that thread. Every call names the node and the
// thread's generation: a thread replaced by a restart keeps running until it notices, but its calls no
// longer count.
class INodeHost {
public:
    virtual ~INodeHost() = default;
    virtual void SetStage(int node, int generation, int stage) = 0;
    virtual void CycleStarted(int node, int generation) = 0;   // busy flag, busy view, status square
    // The farm status query with the host's address looked up first when unknown; its wait for the reply
    // ends at once when `stop` is requested.
    virtual TFarmReply QueryFarm(int node, int generation, const std::string& path, std::stop_token stop) = 0;
    virtual void RefreshRow(int node, int generation, const TNodeCycle& cycle) = 0;
    virtual void CycleEnded(int node, int generation) = 0;   // busy flag cleared; all idle: view told
};

// Timings a monitoring thread uses (tests shorten them).
struct TThreadTimings {
    int IntervalMs = 60000;   // the update interval; the thread sleeps 500 ms less
    int FilePauseMs = 250;   // after every open and load attempt of a client file
    int HostTimeoutMs = 3000;   // the host test's connect
    // Makes the pause after a file attempt in place of the thread's own sleep; false stops the reading (tests).
    std::function<bool(int ms)> FilePause;
};

// The lock around host tests: at most one runs at a time.
os::TCriticalSection& HostTestLock();

// Whether the host of a UNC path answers, under the host-test lock; a local path always answers. A caller
// asked to stop while it waited for the lock (`stopped`) gets false without a test.
bool PathHostAnswers(const std::string& path, int timeoutMs, const std::function<bool()>& stopped = {});

class MyThread : public os::TThread {
public:
    // Mode 1: the monitoring cycle of `node`, reporting to `host`.
    MyThread(
        std::shared_ptr<INodeHost> host, int node, int generation, std::string path, bool get, TThreadTimings timings);
    // Modes 2 and 3: one reading of `path`, handed to `done` on the UI thread (the thread waits for it); the
    // thread then ends.
    using TReadingDone = std::function<void(int node, const TNodeReading& reading)>;
    MyThread(TThreadMode mode, int node, std::string path, TReadingDone done, TThreadTimings timings = {});

    TThreadMode Mode() const { return FMode; }
    int Node() const { return FNode; }
    void SetReader(TFolderReader reader) { FReader = std::move(reader); }   // before the thread starts
    // Modes 2 and 3: marks the node busy as the reading starts (before the thread starts).
    void SetMarkBusy(std::function<void()> markBusy) { FMarkBusy = std::move(markBusy); }

protected:
    void Execute() override;

private:
    void Stage(int stage);
    TNodeReading ReadFolder(bool withStages);
    bool LogUnchanged();
    bool LogGrewWithTheSameUnit();
    void MonitorCycle();

    TThreadMode FMode;
    int FNode;
    int FGeneration = 0;
    std::string FPath;
    bool FGet = false;
    TThreadTimings FTimings;
    std::shared_ptr<INodeHost> FHost;
    TReadingDone FDone;
    std::function<void()> FMarkBusy;
    TFolderReader FReader;
    TClientLogFollower FLog;   // the log as the last cycle read it
    TNodeFileNames FNames;   // the folder's file names as they resolved
};

}

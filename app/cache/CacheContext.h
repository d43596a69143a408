// What the cache workers' threads share: timings, the consoles started, the worker threads, the busy flag.
#pragma once

#include "app/cache/CacheConsole.h"
#include "app/monitor/WorkerThreads.h"
#include "app/settings/ProgramLog.h"

#include <atomic>
#include <functional>
#include <string>

namespace korvex::app {

struct TCacheTimings {
    int LogPollMs = 500;   // how often a watcher looks for the console's log
    int LogSettleMs = 1500;   // pause before the log is read
    int RetryPauseMs = 3000;   // before and after a console is started again
    int EndGraceMs = 2000;   // from the request to end to the kill
};

// Owned by the cache workers; their threads are joined before it goes (members end in reverse order:
// threads first, then the consoles).
struct TCacheContext {
    explicit TCacheContext(const TCacheTimings& timings)
        : Timings(timings)
        , Consoles(timings.EndGraceMs) { }

    const TCacheTimings Timings;
    TCacheConsoles Consoles;
    // Set while a console is being started; it gates the next hand-over and cache.
    std::atomic<bool> CacheBusy = false;
    // Called on the starting thread when a folder's console could not be started.
    std::function<void(const std::string& folder)> OnStartFailed;
    // What the row refresh tries again every cycle (a node's cache, its backup) logs a failure when it starts
    // and when it ends.
    TRepeatedFailures Failures;
    TWorkerThreads Threads;
};

}

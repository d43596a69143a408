// Internal: the state a thread shares with its handles, and the registry that joins threads and UI calls.
#pragma once

#include "platform/os/Thread.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <stop_token>
#include <sys/types.h>
#include <thread>

namespace korvex::os::detail {

struct ThreadState {
    ~ThreadState();   // joins a thread that was never waited for, or detaches when run on that thread

    // 1 once terminated: Sleep waits on it (a futex: no mutex to take again after each pause), Terminate wakes it.
    std::atomic<int> Terminated {0};
    std::stop_source Stop;   // requested by Terminate, for waits on other condition variables
    std::mutex Mutex;   // guards the fields below
    bool Started = false;
    bool FreeOnTerminate = false;
    TThreadPriority Priority = tpNormal;
    pid_t Tid = 0;   // kernel thread id while running, for the priority
    int BaseNice = 0;   // nice the thread started with
    std::thread::id Id;
    std::exception_ptr Fatal;

    bool Finished = false;   // guarded by the registry lock (SignalFinished, WaitFinished, IsFinished)

    std::mutex JoinMutex;   // guards Thread
    std::thread Thread;
};

// Marks the thread finished and wakes its waiters.
void SignalFinished(ThreadState& state);
bool IsFinished(ThreadState& state);
// Waits until finished (timeoutMs < 0: no limit); on the UI thread, runs waiting Synchronize calls meanwhile.
bool WaitFinished(ThreadState& state, int timeoutMs);

}

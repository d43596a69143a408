// The worker threads of one owner: started through it, and all stopped and joined when it goes.
#pragma once

#include "platform/os/Thread.h"

#include <memory>
#include <mutex>
#include <vector>

namespace korvex::app {

class TWorkerThreads {
public:
    TWorkerThreads() = default;
    ~TWorkerThreads();   // StopAll
    TWorkerThreads(const TWorkerThreads&) = delete;
    TWorkerThreads& operator=(const TWorkerThreads&) = delete;

    // Starts a suspended thread at the lowest priority, freeing itself when done; its handle, or an empty one
    // (the thread deleted unstarted) once StopAll has begun. Any thread may start one, also a worker.
    os::TThreadHandle Start(std::unique_ptr<os::TThread> thread);

    // Takes no more threads, asks every running one to stop and waits for each.
    void StopAll();
    // Waits until every thread started so far has ended (those they start meanwhile included); false on time-out.
    bool WaitIdle(int timeoutMs);

private:
    std::vector<os::TThreadHandle> Running();

    std::mutex FLock;
    bool FStopping = false;
    std::vector<os::TThreadHandle> FHandles;
};

}

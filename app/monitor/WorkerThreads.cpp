// Worker threads kept by handle so that their owner can stop and join them.
#include "app/monitor/WorkerThreads.h"

#include <algorithm>
#include <chrono>

namespace korvex::app {

TWorkerThreads::~TWorkerThreads() {
    StopAll();
}

os::TThreadHandle TWorkerThreads::Start(std::unique_ptr<os::TThread> thread) {
    std::lock_guard lock(FLock);
    if (FStopping) return {};
    std::erase_if(FHandles, [](const os::TThreadHandle& handle) { return handle.Finished(); });
    thread->SetPriority(os::tpLowest);
    thread->SetFreeOnTerminate(true);
    os::TThreadHandle handle = thread->Handle();
    FHandles.push_back(handle);
    // Started under the lock: StopAll never misses a thread that is about to run.
    thread.release()->Start();
    return handle;
}

std::vector<os::TThreadHandle> TWorkerThreads::Running() {
    std::lock_guard lock(FLock);
    std::erase_if(FHandles, [](const os::TThreadHandle& handle) { return handle.Finished(); });
    return FHandles;
}

void TWorkerThreads::StopAll() {
    {
        std::lock_guard lock(FLock);
        FStopping = true;
    }
    for (os::TThreadHandle& handle : Running())
        handle.Terminate();
    for (os::TThreadHandle& handle : Running())
        handle.WaitFor();
}

bool TWorkerThreads::WaitIdle(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        std::vector<os::TThreadHandle> running = Running();
        if (running.empty()) return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !running.front().WaitFor(static_cast<int>(left.count()))) return false;
    }
}

}

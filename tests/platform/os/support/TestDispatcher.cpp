// Test helper for the thread tests: a UI dispatcher whose tasks the test runs by hand on its own thread.
#include "support/TestDispatcher.h"

#include <chrono>

namespace korvex::os::threadtest {

bool TestDispatcher::Post(std::function<void()> task) {
    std::lock_guard lock(FMutex);
    if (FClosed) return false;
    FTasks.push_back(std::move(task));
    FPosted.notify_all();
    return true;
}

bool TestDispatcher::WaitForTask(int timeoutMs) {
    std::unique_lock lock(FMutex);
    return FPosted.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !FTasks.empty(); });
}

int TestDispatcher::RunAll() {
    int count = 0;
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard lock(FMutex);
            if (FTasks.empty()) return count;
            task = std::move(FTasks.front());
            FTasks.pop_front();
        }
        task();
        ++count;
    }
}

void TestDispatcher::Close() {
    std::deque<std::function<void()>> dropped;   // destroyed unrun after the lock is released
    {
        std::lock_guard lock(FMutex);
        FClosed = true;
        dropped.swap(FTasks);
    }
}

}

// Test helper for the thread tests: a UI dispatcher whose tasks the test runs by hand on its own thread.
#pragma once

#include "platform/os/Thread.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace korvex::os::threadtest {

class TestDispatcher : public IUiDispatcher {
public:
    bool Post(std::function<void()> task) override;
    bool WaitForTask(int timeoutMs = 10000);   // true when a task waits (at once, or within the time)
    int RunAll();   // runs the waiting tasks, and those they post; how many ran
    void Close();   // as a loop shutting down: refuses new tasks and destroys the queued ones unrun

private:
    std::mutex FMutex;
    std::condition_variable FPosted;
    std::deque<std::function<void()>> FTasks;
    bool FClosed = false;
};

}

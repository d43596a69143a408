// A clock the test moves by hand, for an event loop or a message queue; it starts an hour after the epoch.
#pragma once

#include "platform/os/EventLoop.h"

#include <chrono>
#include <memory>

namespace korvex::os::test {

class FakeClock {
public:
    TEventLoop::TClock Clock() {
        auto now = FNow;
        return [now] { return *now; };
    }
    void Advance(int ms) { *FNow += std::chrono::milliseconds(ms); }

private:
    std::shared_ptr<std::chrono::steady_clock::time_point> FNow
        = std::make_shared<std::chrono::steady_clock::time_point>(std::chrono::hours(1));
};

}

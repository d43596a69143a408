// Test support: feeding a menu loop step by step from its idle hook.
#pragma once

#include "platform/user/Menus.h"

#include <deque>
#include <functional>
#include <memory>
#include <utility>

namespace korvex::user::test {

// The next menu loop runs the steps, one per idle turn; the menu is ended when they run out. The hook stays
// set: clear it (SetMenuLoopIdleHook({})) in the test's tear-down.
inline void MenuLoopSteps(std::deque<std::function<void()>> steps) {
    auto queue = std::make_shared<std::deque<std::function<void()>>>(std::move(steps));
    SetMenuLoopIdleHook([queue] {
        if (queue->empty()) return false;
        auto step = std::move(queue->front());
        queue->pop_front();
        step();
        return true;
    });
}

}

// Window timers on the thread's event loop: WM_TIMER marked due by the loop, retrieved when nothing else waits.
#include "platform/user/Timers.h"

#include "platform/user/MessageQueue.h"
#include "platform/user/Window.h"
#include "platform/user/WindowObject.h"

#include <algorithm>

namespace korvex::user {

namespace {

void Arm(detail::ThreadQueue& queue, detail::TimerRecord& timer) {
    if (timer.LoopTimer) queue.Loop->KillTimer(timer.LoopTimer);
    timer.Pending = false;
    auto key = std::make_pair(timer.Hwnd, timer.Id);
    detail::ThreadQueue* q = &queue;
    timer.LoopTimer = queue.Loop->SetTimer(int(timer.Elapse), [q, key] {
        auto it = q->Timers.find(key);
        if (it == q->Timers.end()) return;
        it->second.Pending = true;
        it->second.FiredAt = ++q->FireSequence;
    });
}

}   // namespace

std::uintptr_t SetTimer(HWND hwnd, std::uintptr_t id, UINT elapseMs, TIMERPROC proc) {
    if (hwnd) {
        detail::WindowObject* w = detail::FromHandle(hwnd);
        if (!w || w->Thread != std::this_thread::get_id()) return 0;
    }
    detail::ThreadQueue& queue = detail::CurrentQueue();
    if (!hwnd && !queue.Timers.count({nullptr, id})) {
        do
            id = queue.NextTimerId++;
        while (id == 0 || queue.Timers.count({nullptr, id}));
    }
    detail::TimerRecord& timer = queue.Timers[{hwnd, id}];
    timer.Hwnd = hwnd;
    timer.Id = id;
    timer.Elapse = std::clamp(elapseMs, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    timer.Proc = proc;
    Arm(queue, timer);
    return hwnd ? (id ? id : 1) : id;
}

bool KillTimer(HWND hwnd, std::uintptr_t id) {
    detail::ThreadQueue* queue = detail::CurrentQueueIfAny();
    if (!queue) return false;
    auto it = queue->Timers.find({hwnd, id});
    if (it == queue->Timers.end()) return false;
    if (it->second.LoopTimer) queue->Loop->KillTimer(it->second.LoopTimer);
    queue->Timers.erase(it);
    return true;
}

DWORD GetTickCount() {
    return detail::CurrentQueue().NowMs();
}

namespace detail {

void KillTimersOf(HWND hwnd) {
    ThreadQueue* queue = CurrentQueueIfAny();
    if (!queue || !hwnd) return;
    for (auto it = queue->Timers.begin(); it != queue->Timers.end();) {
        if (it->first.first == hwnd) {
            if (it->second.LoopTimer) queue->Loop->KillTimer(it->second.LoopTimer);
            it = queue->Timers.erase(it);
        } else {
            ++it;
        }
    }
}

}

}

// Retrieving messages in priority order, translating keys into characters, dispatching, and the loops.
#include "platform/user/MessageLoop.h"

#include "platform/base/Utf8.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Screen.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Window.h"
#include "platform/user/WindowObject.h"

#include <algorithm>

namespace korvex::user {

namespace {

MessageFilter& Filter() {
    static MessageFilter filter;
    return filter;
}

constexpr int MaxPumpedMessages = 10000;
constexpr int MaxPumpRounds = 10000;
// Posted messages come first, but at most this many in a row: then the event loop runs a round (display
// events, timers, tasks) and input, paint and timers go before posted messages until none is left, so a
// window that keeps posting to itself cannot shut input out.
constexpr int PostedTurn = 64;

bool InRange(UINT message, UINT min, UINT max) {
    return (min == 0 && max == 0) || (message >= min && message <= max);
}

bool Matches(const MSG& m, HWND filter, UINT min, UINT max) {
    if (filter == reinterpret_cast<HWND>(std::intptr_t(-1))) {
        if (m.hwnd) return false;
    } else if (filter && m.hwnd != filter) {
        return false;
    }
    return InRange(m.message, min, max);
}

void Remember(detail::ThreadQueue& queue, const MSG& m) {
    queue.Last = m;
}

bool FetchPosted(detail::ThreadQueue& queue, MSG* out, HWND filter, UINT min, UINT max, bool remove) {
    std::unique_lock lock(queue.Mutex);
    for (auto it = queue.Posted.begin(); it != queue.Posted.end(); ++it) {
        if (!Matches(*it, filter, min, max)) continue;
        *out = *it;
        if (remove) queue.Posted.erase(it);
        lock.unlock();
        Remember(queue, *out);
        if (remove) ++queue.PostedStreak;
        return true;
    }
    return false;
}

// Input, WM_QUIT, paint and timers, in that order.
bool FetchOthers(detail::ThreadQueue& queue, MSG* out, HWND filter, UINT min, UINT max, bool remove) {
    for (;;) {
        auto it = std::find_if(
            queue.Routed.begin(), queue.Routed.end(), [&](const MSG& m) { return Matches(m, filter, min, max); });
        if (it != queue.Routed.end()) {
            *out = *it;
            if (remove) queue.Routed.erase(it);
            Remember(queue, *out);
            return true;
        }
        if (queue.Input.empty()) break;
        InputEvent event = queue.Input.front();
        queue.Input.pop_front();
        detail::RouteInput(queue, event);
    }
    {
        std::lock_guard lock(queue.Mutex);
        if (queue.QuitPosted && !filter && InRange(WM_QUIT, min, max)) {
            *out = MSG {};
            out->message = WM_QUIT;
            out->wParam = WPARAM(queue.QuitCode);
            out->time = queue.NowMs();
            if (remove) queue.QuitPosted = false;
            return true;
        }
    }
    if (InRange(WM_PAINT, min, max) && filter != reinterpret_cast<HWND>(std::intptr_t(-1))) {
        if (detail::WindowObject* w = detail::FindPaintWindow(queue.Thread, filter)) {
            *out = MSG {};
            out->hwnd = w->Handle;
            out->message = WM_PAINT;
            out->time = queue.NowMs();
            Remember(queue, *out);
            return true;
        }
    }
    if (InRange(WM_TIMER, min, max)) {
        detail::TimerRecord* first = nullptr;
        for (auto& [key, timer] : queue.Timers) {
            if (!timer.Pending) continue;
            if (filter && timer.Hwnd != filter) continue;
            if (!first || timer.FiredAt < first->FiredAt) first = &timer;
        }
        if (first) {
            *out = MSG {};
            out->hwnd = first->Hwnd;
            out->message = WM_TIMER;
            out->wParam = first->Id;
            out->lParam = reinterpret_cast<LPARAM>(first->Proc);
            out->time = queue.NowMs();
            if (remove) first->Pending = false;
            Remember(queue, *out);
            return true;
        }
    }
    return false;
}

bool Fetch(detail::ThreadQueue& queue, MSG* out, HWND filter, UINT min, UINT max, bool remove) {
    queue.RunSentCalls();
    if (queue.PostedStreak == PostedTurn) {
        ++queue.PostedStreak;   // the others' turn, until they have nothing left
        FlushDisplay();
        queue.Loop->ProcessPending();
        queue.RunSentCalls();
    }
    if (queue.PostedStreak > PostedTurn) {
        if (FetchOthers(queue, out, filter, min, max, remove)) return true;
        queue.PostedStreak = 0;
        return FetchPosted(queue, out, filter, min, max, remove);
    }
    if (FetchPosted(queue, out, filter, min, max, remove)) return true;
    queue.PostedStreak = 0;
    return FetchOthers(queue, out, filter, min, max, remove);
}

bool Peek(MSG* msg, HWND hwnd, UINT min, UINT max, UINT removeFlags, bool runLoop) {
    if (!msg) return false;
    if (hwnd && hwnd != reinterpret_cast<HWND>(std::intptr_t(-1)) && !IsWindow(hwnd)) return false;
    detail::ThreadQueue& queue = detail::CurrentQueue();
    if (runLoop) queue.Loop->ProcessPending();
    return Fetch(queue, msg, hwnd, min, max, (removeFlags & PM_REMOVE) != 0);
}

}   // namespace

int GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (!msg) return -1;
    if (hwnd && hwnd != reinterpret_cast<HWND>(std::intptr_t(-1)) && !IsWindow(hwnd)) return -1;
    auto queue = detail::CurrentQueuePtr();
    for (;;) {
        if (Fetch(*queue, msg, hwnd, filterMin, filterMax, true)) return msg->message == WM_QUIT ? 0 : 1;
        if (queue->Loop->IsShutDown()) return -1;
        FlushDisplay();
        queue->Loop->RunOnce(-1);
    }
}

bool PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    bool found = Peek(msg, hwnd, filterMin, filterMax, removeFlags, true);
    // An unfiltered look that finds nothing ends a turn of a hand-made loop: show what changed.
    if (!found && !hwnd && !filterMin && !filterMax) FlushDisplay();
    return found;
}

bool WaitMessage() {
    auto queue = detail::CurrentQueuePtr();
    MSG m;
    while (!Fetch(*queue, &m, nullptr, 0, 0, false)) {
        if (queue->Loop->IsShutDown()) return false;
        FlushDisplay();
        queue->Loop->RunOnce(-1);
    }
    return true;
}

bool TranslateMessage(const MSG* msg) {
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return false;
    detail::ThreadQueue& queue = detail::CurrentQueue();
    std::string text;
    if (auto it = queue.KeyTexts.find(msg->lPrivate); msg->lPrivate && it != queue.KeyTexts.end()) {
        text = it->second;
        queue.KeyTexts.erase(it);
    }
    if (text.empty()) {
        switch (msg->wParam) {
        case VK_RETURN:
            text = "\r";
            break;
        case VK_BACK:
            text = "\b";
            break;
        case VK_TAB:
            text = "\t";
            break;
        case VK_ESCAPE:
            text = "\x1b";
            break;
        default:
            return false;
        }
    }
    std::vector<char32_t> chars;
    for (std::size_t pos = 0; pos < text.size();)
        chars.push_back(base::Utf8DecodeNext(text, pos));
    UINT charMsg = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    // Characters come before anything else queued, as the key that made them.
    for (auto it = chars.rbegin(); it != chars.rend(); ++it) {
        MSG m = *msg;
        m.message = charMsg;
        m.wParam = WPARAM(*it);
        m.lPrivate = 0;
        detail::PostToQueue(queue, m, true);
    }
    return true;
}

LRESULT DispatchMessage(const MSG* msg) {
    if (!msg) return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        if (msg->hwnd && !IsWindow(msg->hwnd)) return 0;
        try {
            proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
        } catch (...) {
            detail::HandleProcException(std::current_exception());
        }
        return 0;
    }
    detail::WindowObject* w = detail::FromHandle(msg->hwnd);
    if (!w || w->Thread != std::this_thread::get_id()) return 0;
    if (msg->message == WM_PAINT) return detail::SendPaint(w);
    return detail::Send(w, msg->message, msg->wParam, msg->lParam);
}

void SetMessageFilter(MessageFilter filter) {
    Filter() = std::move(filter);
}

bool CallMessageFilter(MSG& msg) {
    MessageFilter filter = Filter();
    if (!filter) return false;
    try {
        return filter(msg);
    } catch (...) {
        detail::HandleProcException(std::current_exception());
        return true;
    }
}

void ProcessMessage(MSG& msg) {
    if (CallMessageFilter(msg)) return;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
}

int RunMessageLoop() {
    MSG msg;
    for (;;) {
        int got = GetMessage(&msg, nullptr, 0, 0);
        if (got == 0) return int(msg.wParam);
        if (got < 0) return 0;
        ProcessMessage(msg);
    }
}

int PumpMessages(bool* hitLimit) {
    auto queue = detail::CurrentQueuePtr();
    int count = 0;
    bool settled = false;
    if (hitLimit) *hitLimit = false;
    for (int round = 0; round < MaxPumpRounds; ++round) {
        int ran = queue->Loop->ProcessPending();
        bool any = false;
        MSG msg;
        // A bound, so a window that asks for itself again in every message cannot hold the caller forever.
        while (count < MaxPumpedMessages && Peek(&msg, nullptr, 0, 0, PM_REMOVE, false)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(int(msg.wParam));
                FlushDisplay();
                return count;
            }
            ProcessMessage(msg);
            ++count;
            any = true;
        }
        if (!ran && !any) {
            settled = true;
            break;
        }
        if (count >= MaxPumpedMessages) break;
    }
    if (hitLimit) *hitLimit = !settled;
    FlushDisplay();
    return count;
}

void FlushDisplay() {
    detail::PresentAll();
    if (Display* display = CurrentDisplay()) display->Flush();
}

}

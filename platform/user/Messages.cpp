// Sending and posting messages, procedure calls with contained exceptions, registered messages.
#include "platform/user/Messages.h"

#include "platform/base/Strings.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Window.h"
#include "platform/user/WindowObject.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>

namespace korvex::user {

namespace {

std::mutex& HookMutex() {
    static std::mutex mutex;
    return mutex;
}
WindowProcExceptionHandler& ExceptionHandler() {
    static WindowProcExceptionHandler handler;
    return handler;
}
CallWndProcHook& CallHook() {
    static CallWndProcHook hook;
    return hook;
}

LRESULT CrossThreadSend(const std::shared_ptr<detail::ThreadQueue>& target, HWND hwnd, UINT msg, WPARAM wParam,
    LPARAM lParam, bool notify) {
    auto call = std::make_shared<detail::SentCall>();
    call->Hwnd = hwnd;
    call->Msg = msg;
    call->WParam = wParam;
    call->LParam = lParam;
    call->Notify = notify;
    {
        std::lock_guard lock(target->Mutex);
        if (target->ShutDown) return 0;
        target->Sent.push_back(call);
    }
    if (!target->Wake()) {
        std::lock_guard lock(target->Mutex);
        std::erase(target->Sent, call);
        return 0;
    }
    if (notify) return 1;
    // Wait; calls sent to this thread meanwhile are handled, so two threads sending to each other don't lock.
    detail::ThreadQueue* own = detail::CurrentQueueIfAny();
    std::unique_lock lock(call->Mutex);
    while (!call->Done) {
        if (own) {
            lock.unlock();
            own->RunSentCalls();
            lock.lock();
            if (call->Done) break;
            call->Cv.wait_for(lock, std::chrono::milliseconds(2));
        } else {
            call->Cv.wait(lock);
        }
    }
    return call->Result;
}

// HWND_BROADCAST: every top-level window there is now (one destroyed on the way is skipped).
template <class Deliver>
void Broadcast(Deliver&& deliver) {
    std::vector<HWND> tops;
    EnumWindows([&](HWND h) {
        tops.push_back(h);
        return true;
    });
    for (HWND h : tops)
        deliver(h);
}

}   // namespace

namespace detail {

void HandleProcException(std::exception_ptr error) {
    WindowProcExceptionHandler handler;
    {
        std::lock_guard lock(HookMutex());
        handler = ExceptionHandler();
    }
    if (handler) {
        try {
            handler(error);
        } catch (...) {
            std::fputs("korvex: the window-procedure exception handler threw\n", stderr);
        }
        return;
    }
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvex: exception in a window procedure: %s\n", e.what());
    } catch (...) {
        std::fputs("korvex: exception in a window procedure\n", stderr);
    }
}

LRESULT CallProc(WindowObject* w, WNDPROC proc, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!proc) return 0;
    KeepAlive hold(w);
    HWND hwnd = w ? w->Handle : nullptr;
    CallWndProcHook hook;
    {
        std::lock_guard lock(HookMutex());
        hook = CallHook();
    }
    try {
        if (hook) hook(hwnd, msg, wParam, lParam);
        return proc(hwnd, msg, wParam, lParam);
    } catch (...) {
        HandleProcException(std::current_exception());
        return 0;
    }
}

LRESULT Send(WindowObject* w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!w || w->Destroyed) return 0;
    return CallProc(w, w->Proc, msg, wParam, lParam);
}

}   // namespace detail

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // No catching here: an exception goes up the chain to the outermost call, which hands it to the handler.
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd == HWND_BROADCAST) {
        Broadcast([&](HWND h) { SendMessage(h, msg, wParam, lParam); });
        return 0;
    }
    auto target = detail::QueueOfHandle(hwnd);
    if (!target) return 0;
    if (target->Thread != std::this_thread::get_id()) return CrossThreadSend(target, hwnd, msg, wParam, lParam, false);
    detail::WindowObject* w = detail::FromHandle(hwnd);
    return w ? detail::Send(w, msg, wParam, lParam) : 0;
}

bool SendNotifyMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto target = detail::QueueOfHandle(hwnd);
    if (!target) return false;
    if (target->Thread != std::this_thread::get_id())
        return CrossThreadSend(target, hwnd, msg, wParam, lParam, true) != 0;
    SendMessage(hwnd, msg, wParam, lParam);
    return true;
}

bool InSendMessage() {
    detail::ThreadQueue* queue = detail::CurrentQueueIfAny();
    return queue && queue->InSendFromOther > 0;
}

bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd == HWND_BROADCAST) {
        Broadcast([&](HWND h) { PostMessage(h, msg, wParam, lParam); });
        return true;
    }
    if (!hwnd) return PostThreadMessage(std::this_thread::get_id(), msg, wParam, lParam);
    auto target = detail::QueueOfHandle(hwnd);
    if (!target) return false;
    MSG m;
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    return detail::PostToQueue(*target, m);
}

bool PostThreadMessage(std::thread::id thread, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto target = thread == std::this_thread::get_id() ? detail::CurrentQueuePtr() : detail::QueueOfThread(thread);
    if (!target) return false;
    MSG m;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    return detail::PostToQueue(*target, m);
}

void PostQuitMessage(int exitCode) {
    detail::ThreadQueue& queue = detail::CurrentQueue();
    {
        std::lock_guard lock(queue.Mutex);
        queue.QuitPosted = true;
        queue.QuitCode = exitCode;
    }
    queue.Wake();
}

UINT RegisterWindowMessage(const std::string& name) {
    if (name.empty()) return 0;
    static std::mutex mutex;
    static std::map<std::string, UINT> numbers;
    static UINT next = FirstRegisteredMessage;
    std::lock_guard lock(mutex);
    auto key = base::UpperCase(name);
    auto it = numbers.find(key);
    if (it != numbers.end()) return it->second;
    if (next > 0xFFFF) return 0;
    numbers[key] = next;
    return next++;
}

void SetWindowProcExceptionHandler(WindowProcExceptionHandler handler) {
    std::lock_guard lock(HookMutex());
    ExceptionHandler() = std::move(handler);
}

void SetCallWndProcHook(CallWndProcHook hook) {
    std::lock_guard lock(HookMutex());
    CallHook() = std::move(hook);
}

DWORD GetMessageTime() {
    detail::ThreadQueue* queue = detail::CurrentQueueIfAny();
    return queue ? queue->Last.time : 0;
}

DWORD GetMessagePos() {
    detail::ThreadQueue* queue = detail::CurrentQueueIfAny();
    if (!queue) return 0;
    return MAKELONG(WORD(queue->Last.pt.x), WORD(queue->Last.pt.y));
}

}

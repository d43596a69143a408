// The light window timer and its shared hidden window.
#include "tray/SimpleTimer.h"

#include "platform/classes/AllocateHWnd.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Timers.h"
#include "platform/user/Window.h"

#include <unordered_map>

namespace korvex::tray {

namespace {

struct TSimpleTimerHandler {
    unsigned RefCount = 0;
    user::HWND Window = nullptr;
    std::unordered_map<std::uintptr_t, TSimpleTimer*> Live;
};

TSimpleTimerHandler* Handler = nullptr;
std::uintptr_t NextId = 1;

void HandlerProc(classes::TMessage& message) {
    if (message.Msg != user::WM_TIMER) {
        message.Result
            = user::DefWindowProc(Handler ? Handler->Window : nullptr, message.Msg, message.WParam, message.LParam);
        return;
    }
    if (Handler == nullptr) return;
    auto found = Handler->Live.find(message.WParam);
    if (found == Handler->Live.end()) return;   // freed meanwhile
    TSimpleTimer* timer = found->second;
    if (timer->OnTimer()) {
        classes::TNotifyEvent event = timer->OnTimer();   // the handler may free the timer
        event(timer);
    }
}

// The window may have gone with its thread's queue; a new one takes over.
user::HWND HandlerWindow() {
    if (Handler == nullptr) return nullptr;
    if (Handler->Window == nullptr || !user::IsWindow(Handler->Window)) {
        classes::DeallocateHWnd(Handler->Window);
        Handler->Window = classes::AllocateHWnd(HandlerProc);
    }
    return Handler->Window;
}

}   // namespace

TSimpleTimer::TSimpleTimer() {
    Acquire();
}

TSimpleTimer::TSimpleTimer(unsigned interval, classes::TNotifyEvent onTimer)
    : FInterval(interval) {
    Acquire();
    SetOnTimer(std::move(onTimer));
}

TSimpleTimer::~TSimpleTimer() {
    if (FActive) Stop(true);
    Release();
}

void TSimpleTimer::Acquire() {
    if (Handler == nullptr) Handler = new TSimpleTimerHandler();
    ++Handler->RefCount;
    FId = NextId++;
    Handler->Live[FId] = this;
    HandlerWindow();
}

void TSimpleTimer::Release() {
    // A timer that outlived a freed handler is no user of the one made after it.
    if (Handler == nullptr || Handler->Live.erase(FId) == 0) return;
    if (Handler->RefCount > 0) --Handler->RefCount;
    if (Handler->RefCount == 0) FreeSharedHandler();
}

void TSimpleTimer::FreeSharedHandler() {
    if (Handler == nullptr) return;
    classes::DeallocateHWnd(Handler->Window);
    delete Handler;
    Handler = nullptr;
}

bool TSimpleTimer::Start() {
    if (FInterval == 0) return false;
    if (FActive) Stop(true);
    user::HWND window = HandlerWindow();
    if (window == nullptr || user::SetTimer(window, FId, FInterval, nullptr) == 0) return false;
    FActive = true;
    return true;
}

bool TSimpleTimer::Stop(bool clearActive) {
    if (clearActive) FActive = false;
    // Killing the system timer also drops a tick that is due and not yet taken.
    return Handler != nullptr && Handler->Window != nullptr && user::KillTimer(Handler->Window, FId);
}

void TSimpleTimer::SetActive(bool value) {
    if (value)
        Start();
    else
        Stop(true);
}

void TSimpleTimer::SetInterval(unsigned value) {
    if (value == FInterval) return;
    FInterval = value;
    if (!FActive) return;
    if (value != 0)
        Start();
    else
        Stop(false);
}

void TSimpleTimer::SetOnTimer(classes::TNotifyEvent value) {
    FOnTimer = std::move(value);
    if (!FOnTimer && FActive) Stop(false);
}

user::HWND TSimpleTimer::SharedWindow() {
    return Handler != nullptr ? Handler->Window : nullptr;
}

unsigned TSimpleTimer::SharedRefCount() {
    return Handler != nullptr ? Handler->RefCount : 0;
}

}

// TTimer: window timers on a hidden window, ticks to OnTimer.
#include "platform/classes/TTimer.h"

#include "platform/classes/AllocateHWnd.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Timers.h"
#include "platform/user/Window.h"

namespace korvex::classes {

using namespace user;

namespace {
constexpr std::uintptr_t TimerId = 1;
}

TTimer::TTimer(TComponent* owner)
    : TComponent(owner) {
    // The window keeps this object's address only while it lives: the destructor takes it down first.
    FWindow = AllocateHWnd([this](TMessage& m) {
        if (m.Msg == WM_TIMER) {
            try {
                Timer();   // may free the timer: nothing of it is touched afterwards
            } catch (...) {
                if (Application == nullptr) throw;
                Application->HandleException(nullptr);
            }
            return;
        }
        m.Result = user::DefWindowProc(nullptr, m.Msg, m.WParam, m.LParam);
    });
    UpdateTimer();
}

TTimer::~TTimer() {
    FEnabled = false;
    if (FWindow != nullptr) KillTimer(FWindow, TimerId);
    DeallocateHWnd(FWindow);
    FWindow = nullptr;
}

TClass TTimer::StaticClass() {
    static const TClassInfo info = MakeClass<TTimer, TComponent>("TTimer", [](auto& p) {
        p.Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true);
        p.Int("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000);
        p.Event("OnTimer", &TTimer::OnTimer);
    });
    return &info;
}

void TTimer::UpdateTimer() {
    if (FWindow == nullptr) return;
    KillTimer(FWindow, TimerId);
    if (FEnabled && FInterval != 0) SetTimer(FWindow, TimerId, FInterval, nullptr);
}

void TTimer::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
    if (value == FInterval) return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::Timer() {
    if (FEnabled && OnTimer) OnTimer(this);
}

}

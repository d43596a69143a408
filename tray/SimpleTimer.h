// The light window timer: plain timer objects whose ticks all come through one shared hidden window.
#pragma once

#include "platform/classes/TObject.h"
#include "platform/user/UserTypes.h"

#include <cstdint>

namespace korvex::tray {

// Every timer of the process shares one hidden window, made with the first timer and destroyed with the
// last. A tick finds its timer by the timer's id (a number never given twice, not the object's address),
// and only among the timers alive: a tick that was on its way when its timer was freed finds nothing.
// States: Inactive (Active false), Running (Active, system timer set), Paused (Active, system timer killed
// because Interval became 0 or OnTimer was cleared). User-interface thread only.
class TSimpleTimer : public classes::TObject {
public:
    TSimpleTimer();   // Interval 1000, no OnTimer, inactive
    TSimpleTimer(unsigned interval, classes::TNotifyEvent onTimer);
    ~TSimpleTimer() override;   // a running timer is killed before the shared window is let go

    // Starts (or restarts) the system timer; false with Interval 0 or when the system refuses (Active false).
    bool Start();
    // Kills the system timer; clearActive also makes the timer inactive. True when a system timer was killed.
    bool Stop(bool clearActive);

    bool Active() const { return FActive; }
    void SetActive(bool value);   // true: Start; false: Stop(true)
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned value);   // restarts a running timer; 0 pauses it
    const classes::TNotifyEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(classes::TNotifyEvent value);   // clearing it pauses a running timer
    std::uintptr_t Id() const { return FId; }

    // The shared window and the number of timers using it (nullptr and 0 while there is none).
    static user::HWND SharedWindow();
    static unsigned SharedRefCount();
    // At program end, before the window layer goes: frees the shared window and its handler when they are
    // still there. Timers left over stop ticking; freeing them afterwards is safe.
    static void FreeSharedHandler();

private:
    void Acquire();
    void Release();

    std::uintptr_t FId = 0;
    bool FActive = false;
    unsigned FInterval = 1000;
    classes::TNotifyEvent FOnTimer;
};

}

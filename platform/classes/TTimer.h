// TTimer: a component that calls OnTimer every Interval milliseconds while Enabled, on the UI thread.
#pragma once

#include "platform/classes/TComponent.h"
#include "platform/user/UserTypes.h"

namespace korvex::classes {

// Runs on a hidden window's timer of the thread that made it. Changing Enabled or Interval starts the
// period over; Interval 0 stops it. OnTimer may free the timer.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned value);

    TNotifyEvent OnTimer;

protected:
    virtual void Timer();   // one tick: OnTimer

private:
    void UpdateTimer();

    bool FEnabled = true;
    unsigned FInterval = 1000;
    user::HWND FWindow = nullptr;
};

}

// TComponentWatch: tells whether a component still exists after user code that may have freed it.
#pragma once

#include "platform/classes/TComponent.h"

#include <utility>

namespace korvex::classes {

// How code that runs user code guards itself
// ------------------------------------------
// A handler (OnClick, OnChange, OnKeyDown, a menu item's OnClick ...) and every virtual that may call one
// (Click, Change, DoEnter, KeyPress, DoMouseDown ...) may free the component it runs for, its parent or its
// form. So may a message sent to a window (SendMessage, Perform, DefaultHandler: a native control notifies
// its parent, which calls a handler).
// - A path that touches the component after such a call watches it first and leaves as soon as it is gone:
//       TComponentWatch self(this);
//       Click();
//       if (!self.Alive()) return;
//   (or `if (!RunUserCode(this, [&] { Click(); })) return;` for a single call). A call that is the path's
//   last statement needs no watch.
// - Another component the path goes on with after user code (a sibling, an item, the next control to focus)
//   is watched the same way; a list of them is re-read, never iterated past user code.
// - A window procedure touches nothing of its control after WindowProc returns (TWinControl::MainWndProc).
//   The native controls in platform/user keep their state through a message with the shared prologue
//   (ControlPrologue with KeptStateHooks: the state holds a shared pointer to itself, Keep, until
//   WM_NCDESTROY; every message in progress holds a copy, and after each notification to the parent the
//   procedure tests whether Keep is gone before it goes on with the window).
// - A raw pointer to a component is fine for one the holder owns, while no user code runs between taking and
//   using it, and as the target of a watch. A member pointer to a component owned elsewhere is cleared in
//   Notification after FreeNotification (see TComponent).

// Asks the watched component for a free notification and forgets it when it is freed; a watch that is freed
// first takes its request back. Make one on the stack around a call that may free the component, then test
// Alive() (or Get()) before touching it again.
class TComponentWatch : public TComponent {
public:
    explicit TComponentWatch(TComponent* watched);
    ~TComponentWatch() override;

    bool Alive() const { return FWatched != nullptr; }
    // The watched component; nullptr once it is freed. Being destroyed still counts as alive.
    TComponent* Get() const { return FWatched; }
    template <class T>
    T* As() const {
        return static_cast<T*>(FWatched);
    }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TComponent* FWatched = nullptr;
};

// Runs user code that may free `component`; true when the component outlived it.
template <class Fn>
[[nodiscard]] bool RunUserCode(TComponent* component, Fn&& userCode) {
    TComponentWatch watch(component);
    std::forward<Fn>(userCode)();
    return watch.Alive();
}

}

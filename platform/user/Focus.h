// Keyboard focus and window activation.
#pragma once

#include "platform/user/UserTypes.h"

namespace korvex::user {

// SetFocus: WM_KILLFOCUS to the old focus (wParam: the new one), then WM_SETFOCUS to the new (wParam: the
// old one); activates the new focus's top-level window first. nullptr removes the focus. A window that is
// disabled (or has a disabled ancestor) cannot take it (nullptr answered). Returns the previous focus.
// Hiding the focus window gives the focus to its parent; disabling it removes the focus.
HWND SetFocus(HWND hwnd);
HWND GetFocus();

// Activation of top-level windows: WM_NCACTIVATE and WM_ACTIVATE (WA_INACTIVE / WA_ACTIVE / WA_CLICKACTIVE,
// the other window in lParam) to the old and the new window, WM_ACTIVATEAPP when the application as a whole
// gains or loses activation; the default WM_ACTIVATE gives the focus to the activated window. A child's
// top-level window is activated instead of the child.
HWND SetActiveWindow(HWND hwnd);   // the previously active window
HWND GetActiveWindow();
bool SetForegroundWindow(HWND hwnd);   // activates and raises the window; asks the display to focus it
HWND GetForegroundWindow();

// True while the application has a top-level window active (the display's focus is ours).
bool IsApplicationActive();

}

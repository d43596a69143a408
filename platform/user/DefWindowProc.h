// The default window procedure, and object-bound window procedures for subclassing.
#pragma once

#include "platform/user/UserTypes.h"

#include <functional>

namespace korvex::user {

// Default handling of every message a window procedure passes on. The non-client messages go to the
// non-client area's handler (NonClient.h).
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// A plain WNDPROC that calls a function object: for procedures bound to an object (the class library's window
// procedure, subclassing hooks). The pointer is unique while it lives, so it can be compared with
// GetWindowLongPtr(GWL_WNDPROC). nullptr when all instances are in use. Free it once no window uses it.
using ObjectWndProc = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
WNDPROC MakeObjectInstance(ObjectWndProc proc);
void FreeObjectInstance(WNDPROC instance);
inline constexpr int MaxObjectInstances = 4096;

}

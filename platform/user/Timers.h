// Window timers: WM_TIMER on the owning thread, and timer procedures.
#pragma once

#include "platform/user/UserTypes.h"

#include <cstdint>

namespace korvex::user {

// SetTimer with a window: the id is the caller's (returned as given); an existing (window, id) timer gets the
// new interval and starts over. Without a window a new id is made. Elapse is clamped to at least 10 ms, as
// Windows does. WM_TIMER is low priority: it comes when no other message is waiting, and a late timer fires
// once. With a procedure, DispatchMessage calls it instead of the window procedure. A timer may be killed, or
// its window destroyed, inside its own tick. Destroying a window kills its timers. 0 on failure.
std::uintptr_t SetTimer(HWND hwnd, std::uintptr_t id, UINT elapseMs, TIMERPROC proc);
bool KillTimer(HWND hwnd, std::uintptr_t id);

inline constexpr UINT USER_TIMER_MINIMUM = 10;
inline constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF;

// Milliseconds on the calling thread's queue clock (the fake clock in tests).
DWORD GetTickCount();

}

// Monitors: which one holds a window or a point, and each one's bounds and work area.
#pragma once

#include "platform/user/UserTypes.h"

namespace korvex::user {

struct HMONITOR__;
using HMONITOR = HMONITOR__*;   // the monitor's place in the display's list, plus one; valid until it changes

inline constexpr DWORD MONITOR_DEFAULTTONULL = 0;
inline constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
inline constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
inline constexpr DWORD MONITORINFOF_PRIMARY = 1;

struct MONITORINFO {
    DWORD cbSize = sizeof(MONITORINFO);
    RECT rcMonitor {};
    RECT rcWork {};
    DWORD dwFlags = 0;
};

// The monitor that shares the largest area with the rectangle (a point: that holds it); when none does, flags
// choose nullptr, the primary monitor or the nearest one.
HMONITOR MonitorFromRect(const RECT* rect, DWORD flags);
HMONITOR MonitorFromPoint(POINT point, DWORD flags);
// By the window rectangle (a minimized window: where it was restored from is not kept; its rectangle).
HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
bool GetMonitorInfo(HMONITOR monitor, MONITORINFO* info);
// The work area of the monitor that holds the window (the nearest one).
RECT GetWindowWorkArea(HWND hwnd);

}

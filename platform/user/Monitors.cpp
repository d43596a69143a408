// Monitors: which one holds a window or a point, and each one's bounds and work area.
#include "platform/user/Monitors.h"

#include "platform/user/Screen.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace korvex::user {

namespace {

std::vector<MonitorArea> AllMonitors() {
    Display* display = CurrentDisplay();
    if (display == nullptr) return {MonitorArea {RECT {0, 0, 1024, 768}, RECT {0, 0, 1024, 738}}};
    return display->Monitors();
}

HMONITOR HandleOf(std::size_t index) {
    return reinterpret_cast<HMONITOR>(std::uintptr_t(index + 1));
}

std::int64_t OverlapArea(const RECT& a, const RECT& b) {
    const std::int64_t w = std::int64_t(std::min(a.right, b.right)) - std::max(a.left, b.left);
    const std::int64_t h = std::int64_t(std::min(a.bottom, b.bottom)) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance between the rectangles (0 when they touch or overlap).
std::int64_t Distance(const RECT& a, const RECT& b) {
    const std::int64_t dx = std::max<std::int64_t>({0, std::int64_t(b.left) - a.right, std::int64_t(a.left) - b.right});
    const std::int64_t dy = std::max<std::int64_t>({0, std::int64_t(b.top) - a.bottom, std::int64_t(a.top) - b.bottom});
    return dx * dx + dy * dy;
}

}

HMONITOR MonitorFromRect(const RECT* rect, DWORD flags) {
    if (rect == nullptr) return nullptr;
    const std::vector<MonitorArea> monitors = AllMonitors();
    // An empty rectangle counts as the one pixel at its corner.
    const RECT r {rect->left, rect->top, std::max(rect->right, rect->left + 1), std::max(rect->bottom, rect->top + 1)};
    std::size_t best = monitors.size();
    std::int64_t bestArea = 0;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const std::int64_t area = OverlapArea(r, monitors[i].Bounds);
        if (area > bestArea) {
            bestArea = area;
            best = i;
        }
    }
    if (best < monitors.size()) return HandleOf(best);
    if (flags == MONITOR_DEFAULTTOPRIMARY) return HandleOf(0);
    if (flags != MONITOR_DEFAULTTONEAREST) return nullptr;
    std::size_t nearest = 0;
    for (std::size_t i = 1; i < monitors.size(); ++i)
        if (Distance(r, monitors[i].Bounds) < Distance(r, monitors[nearest].Bounds)) nearest = i;
    return HandleOf(nearest);
}

HMONITOR MonitorFromPoint(POINT point, DWORD flags) {
    const RECT r {point.x, point.y, point.x + 1, point.y + 1};
    return MonitorFromRect(&r, flags);
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
    RECT r {};
    if (!GetWindowRect(hwnd, &r)) return flags == MONITOR_DEFAULTTONULL ? nullptr : HandleOf(0);
    return MonitorFromRect(&r, flags);
}

bool GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
    if (info == nullptr || monitor == nullptr) return false;
    const std::vector<MonitorArea> monitors = AllMonitors();
    const std::size_t index = std::size_t(reinterpret_cast<std::uintptr_t>(monitor)) - 1;
    if (index >= monitors.size()) return false;
    info->rcMonitor = monitors[index].Bounds;
    info->rcWork = monitors[index].Work;
    info->dwFlags = index == 0 ? MONITORINFOF_PRIMARY : 0;
    return true;
}

RECT GetWindowWorkArea(HWND hwnd) {
    MONITORINFO info;
    if (!GetMonitorInfo(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info)) return RECT {};
    return info.rcWork;
}

}

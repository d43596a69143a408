// WM_SYSCOMMAND's default, and the minimized, maximized and track sizes a window starts from.
#include "platform/user/Focus.h"
#include "platform/user/Menus.h"
#include "platform/user/Messages.h"
#include "platform/user/Monitors.h"
#include "platform/user/NonClient.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <algorithm>

namespace korvex::user {

namespace {

// A top-level window's maximized bounds are asked in terms of the primary monitor's work area and then moved
// to the work area of the monitor that holds the window: the position by the difference of the corners, a
// size that spans the primary work area by the difference of the sizes.
void MoveToOwnMonitor(HWND hwnd, MINMAXINFO& info) {
    if (GetWindowStyle(hwnd) & WS_CHILD) return;
    RECT primary {};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &primary);
    const RECT own = GetWindowWorkArea(hwnd);
    if (own == primary || own.Width() <= 0 || own.Height() <= 0) return;
    info.ptMaxPosition.x += own.left - primary.left;
    info.ptMaxPosition.y += own.top - primary.top;
    const LONG dw = own.Width() - primary.Width();
    const LONG dh = own.Height() - primary.Height();
    if (info.ptMaxSize.x >= primary.Width()) info.ptMaxSize.x += dw;
    if (info.ptMaxSize.y >= primary.Height()) info.ptMaxSize.y += dh;
    if (dw > 0 && info.ptMaxTrackSize.x >= primary.Width()) info.ptMaxTrackSize.x += dw;
    if (dh > 0 && info.ptMaxTrackSize.y >= primary.Height()) info.ptMaxTrackSize.y += dh;
}

}

MINMAXINFO DefaultMinMaxInfo(HWND hwnd) {
    MINMAXINFO info;
    const DWORD style = GetWindowStyle(hwnd);
    const SIZE frame = FrameThickness(style, GetWindowExStyle(hwnd));
    // A child maximizes over its parent's client area, a top-level window over the primary monitor's work
    // area (QueryMinMaxInfo moves it to the window's own monitor); the frame lies outside either.
    HWND parent = (style & WS_CHILD) ? GetAncestor(hwnd, GA_PARENT) : nullptr;
    RECT area {};
    if (parent)
        area = ClientRect(parent);
    else
        SystemParametersInfo(SPI_GETWORKAREA, 0, &area);
    info.ptMaxSize = POINT {area.Width() + 2 * frame.cx, area.Height() + 2 * frame.cy};
    info.ptMaxPosition = POINT {area.left - frame.cx, area.top - frame.cy};
    info.ptMinTrackSize = POINT {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info.ptMaxTrackSize = POINT {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    if (info.ptMaxTrackSize.x <= 0 || info.ptMaxTrackSize.y <= 0) {
        info.ptMaxTrackSize = POINT {
            GetSystemMetrics(SM_CXVIRTUALSCREEN) + 2 * frame.cx, GetSystemMetrics(SM_CYVIRTUALSCREEN) + 2 * frame.cy};
    }
    return info;
}

MINMAXINFO QueryMinMaxInfo(HWND hwnd) {
    MINMAXINFO info = DefaultMinMaxInfo(hwnd);
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    MoveToOwnMonitor(hwnd, info);
    // A window that asks for a larger minimum than maximum gets its minimum.
    info.ptMinTrackSize.x = std::max<LONG>(info.ptMinTrackSize.x, 0);
    info.ptMinTrackSize.y = std::max<LONG>(info.ptMinTrackSize.y, 0);
    info.ptMaxTrackSize.x = std::max(info.ptMaxTrackSize.x, info.ptMinTrackSize.x);
    info.ptMaxTrackSize.y = std::max(info.ptMaxTrackSize.y, info.ptMinTrackSize.y);
    return info;
}

RECT GetMaximizedBounds(HWND hwnd) {
    if (!IsWindow(hwnd)) return RECT {};
    const MINMAXINFO info = QueryMinMaxInfo(hwnd);
    return RECT {info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxPosition.x + info.ptMaxSize.x,
        info.ptMaxPosition.y + info.ptMaxSize.y};
}

namespace nc {

LRESULT HandleSysCommand(HWND hwnd, WPARAM command, LPARAM lParam) {
    // The low four bits belong to the system (the hit code or sizing edge of a mouse-started command).
    switch (command & 0xFFF0) {
    case SC_MOVE:
    case SC_SIZE:
        RunMoveSizeLoop(hwnd, command, lParam);
        break;
    case SC_MINIMIZE:
        if (!IsIconic(hwnd)) ShowWindow(hwnd, hwnd == GetActiveWindow() ? SW_MINIMIZE : SW_SHOWMINNOACTIVE);
        break;
    case SC_MAXIMIZE:
        if (!IsZoomed(hwnd)) ShowWindow(hwnd, SW_MAXIMIZE);
        break;
    case SC_RESTORE:
        if (IsIconic(hwnd) || IsZoomed(hwnd)) ShowWindow(hwnd, SW_RESTORE);
        break;
    case SC_CLOSE:
        if (!(GetClassLongPtr(hwnd, GCL_STYLE) & CS_NOCLOSE)) SendMessage(hwnd, WM_CLOSE, 0, 0);
        break;
    case SC_HSCROLL:
        TrackWindowScrollBar(hwnd, SB_HORZ, LParamToPoint(lParam));
        break;
    case SC_VSCROLL:
        TrackWindowScrollBar(hwnd, SB_VERT, LParamToPoint(lParam));
        break;
    case SC_MOUSEMENU:
        if (LRESULT(command & 0x0F) == HTSYSMENU)
            TrackSystemMenu(hwnd, SystemMenuPoint(hwnd));
        else
            TrackMenuBarHook(hwnd, LRESULT(command & 0x0F), LParamToPoint(lParam));
        break;
    case SC_KEYMENU:
        // Alt+Space opens the window menu of the top-level window; another key the menu bar's item.
        if (lParam == ' ')
            TrackSystemMenu(GetAncestor(hwnd, GA_ROOT), SystemMenuPoint(GetAncestor(hwnd, GA_ROOT)));
        else if (!(GetWindowStyle(hwnd) & WS_CHILD))
            TrackMenuBarKey(hwnd, char(lParam));
        break;
    default:
        break;
    }
    return 0;
}

}

}

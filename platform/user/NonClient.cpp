// Dispatch of the default non-client messages, the frame size calculation, activation and per-window state.
#include "platform/user/NonClient.h"

#include "platform/gdi/Drawing.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/Input.h"
#include "platform/user/MessageIds.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <mutex>
#include <unordered_map>
#include <vector>

namespace korvex::user {

namespace {

// Frame state by window. Handles are never reused, so an entry of a dead window is only wasted memory: it
// is dropped when the window says so, or swept when the table has doubled since the last sweep.
struct StateTable {
    std::mutex Lock;
    std::unordered_map<HWND, std::shared_ptr<nc::WindowState>> States;
    size_t SweepAt = 64;
};

StateTable& States() {
    static StateTable* table = new StateTable;   // outlives windows destroyed during static destruction
    return *table;
}

std::mutex& HookLock() {
    static std::mutex lock;
    return lock;
}

MenuBarHooks& Hooks() {
    static MenuBarHooks hooks;
    return hooks;
}

thread_local int LoopDepth = 0;

LRESULT CalcSize(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (!lParam) return 0;
    RECT* rect = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    const DWORD style = GetWindowStyle(hwnd);
    if (style & WS_MINIMIZE) {
        // A minimized window has no client area.
        *rect = RECT {rect->left, rect->top, rect->left, rect->top};
        return 0;
    }
    const int width = rect->right - rect->left;
    const nc::Layout layout = nc::ComputeLayout(
        style, GetWindowExStyle(hwnd), width, rect->bottom - rect->top, nc::MenuBarHeight(hwnd, style, width));
    RECT client = layout.Client;
    gdi::OffsetRect(&client, rect->left, rect->top);
    *rect = client;
    return 0;
}

// Repaints only what the active state changes: the caption bar, and the whole frame only where the sizing
// border has an active colour of its own. A procedure that paints the frame itself keeps its pixels.
LRESULT NcActivate(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    auto state = nc::StateOf(hwnd);
    const bool active = wParam != 0;
    const bool changed = !state || state->Active != active;
    if (state) state->Active = active;
    if (!changed || lParam == -1 || !IsWindowVisible(hwnd)) return 1;
    const DWORD style = GetWindowStyle(hwnd);
    const bool borderColours = (style & WS_THICKFRAME)
        && gdi::GetSysColor(gdi::COLOR_ACTIVEBORDER) != gdi::GetSysColor(gdi::COLOR_INACTIVEBORDER);
    if (borderColours)
        PaintNonClient(hwnd, nullptr);
    else
        RedrawCaption(hwnd);
    return 1;
}

// Answers the defaults whatever the sender put in: a window procedure that wants other values sets them
// after calling the default (the system's own prefill is not relied on).
LRESULT GetMinMaxInfo(HWND hwnd, LPARAM lParam) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (!info) return 0;
    // The sender filled the record with the defaults (QueryMinMaxInfo); what a procedure set before passing
    // the message on stays, as on Windows.
    (void)hwnd;
    return 0;
}

}

bool IsNonClientMessage(UINT msg) {
    switch (msg) {
    case WM_NCCALCSIZE:
    case WM_NCHITTEST:
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_NCMBUTTONDBLCLK:
    case WM_NCMOUSELEAVE:
    case WM_SYSCOMMAND:
    case WM_GETMINMAXINFO:
        return true;
    default:
        return false;
    }
}

LRESULT DefNonClientProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(hwnd)) return 0;
    switch (msg) {
    case WM_NCCALCSIZE:
        return CalcSize(hwnd, wParam, lParam);
    case WM_NCHITTEST:
        return nc::HitTest(hwnd, LParamToPoint(lParam));
    case WM_NCPAINT:
        PaintNonClient(hwnd, reinterpret_cast<HRGN>(wParam));
        return 0;
    case WM_NCACTIVATE:
        return NcActivate(hwnd, wParam, lParam);
    case WM_SYSCOMMAND:
        return nc::HandleSysCommand(hwnd, wParam, lParam);
    case WM_GETMINMAXINFO:
        return GetMinMaxInfo(hwnd, lParam);
    default:
        if (IsNonClientMessage(msg)) return nc::HandleNcMouse(hwnd, msg, wParam, lParam);
        return 0;
    }
}

void NonClientWindowDestroyed(HWND hwnd) {
    nc::DropState(hwnd);
    nc::DropSystemMenu(hwnd);
}

bool IsFrameActive(HWND hwnd) {
    auto state = nc::FindState(hwnd);
    return state && state->Active;
}

int CursorIdForHitTest(HWND hwnd, LRESULT hitCode) {
    switch (hitCode) {
    case HTLEFT:
    case HTRIGHT:
        return IDC_SIZEWE;
    case HTTOP:
    case HTBOTTOM:
        return IDC_SIZENS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        return IDC_SIZENWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        return IDC_SIZENESW;
    case HTSIZE:
        return (GetWindowStyle(hwnd) & WS_THICKFRAME) && !IsZoomed(hwnd) ? IDC_SIZENWSE : IDC_ARROW;
    case HTCLIENT:
        return 0;
    default:
        return IDC_ARROW;
    }
}

void SetMenuBarHooks(MenuBarHooks hooks) {
    std::lock_guard lock(HookLock());
    Hooks() = std::move(hooks);
}

bool InNonClientLoop() {
    return LoopDepth > 0;
}

namespace nc {

std::shared_ptr<WindowState> StateOf(HWND hwnd) {
    if (!IsWindow(hwnd)) return nullptr;
    StateTable& table = States();
    std::shared_ptr<WindowState> state;
    std::vector<HWND> sweep;
    {
        std::lock_guard lock(table.Lock);
        auto& slot = table.States[hwnd];
        if (!slot) {
            slot = std::make_shared<WindowState>();
            if (table.States.size() >= table.SweepAt) {
                for (const auto& entry : table.States)
                    sweep.push_back(entry.first);
                table.SweepAt = std::max<size_t>(64, table.States.size() * 2);
            }
        }
        state = slot;
    }
    // The window layer is asked outside our lock.
    std::erase_if(sweep, [](HWND candidate) { return IsWindow(candidate); });
    if (!sweep.empty()) {
        std::lock_guard lock(table.Lock);
        for (HWND dead : sweep)
            table.States.erase(dead);
    }
    return state;
}

std::shared_ptr<WindowState> FindState(HWND hwnd) {
    StateTable& table = States();
    std::lock_guard lock(table.Lock);
    auto it = table.States.find(hwnd);
    return it == table.States.end() ? nullptr : it->second;
}

void DropState(HWND hwnd) {
    StateTable& table = States();
    std::lock_guard lock(table.Lock);
    table.States.erase(hwnd);
}

int MenuBarHeightHook(HWND hwnd, int windowWidth) {
    std::function<int(HWND, int)> height;
    {
        std::lock_guard lock(HookLock());
        height = Hooks().Height;
    }
    // The menu layer installs the hook with the first SetMenu: without it no window has a menu, so no bar.
    return height ? height(hwnd, windowWidth) : 0;
}

void PaintMenuBarHook(HWND hwnd, HDC windowDc, const RECT& bar) {
    std::function<void(HWND, HDC, const RECT&)> paint;
    {
        std::lock_guard lock(HookLock());
        paint = Hooks().Paint;
    }
    if (paint)
        paint(hwnd, windowDc, bar);
    else
        gdi::FillRect(windowDc, &bar, GetSysColorBrush(gdi::COLOR_MENU));
}

void TrackMenuBarHook(HWND hwnd, LRESULT hitCode, POINT screenPoint) {
    std::function<void(HWND, LRESULT, POINT)> track;
    {
        std::lock_guard lock(HookLock());
        track = Hooks().Track;
    }
    if (track) track(hwnd, hitCode, screenPoint);
}

bool NextLoopMessage(HWND hwnd, MSG& msg) {
    if (!IsWindow(hwnd) || GetCapture() != hwnd) return false;
    const int got = GetMessage(&msg, nullptr, 0, 0);
    if (got == 0) {
        PostQuitMessage(int(msg.wParam));
        return false;
    }
    return got > 0;
}

bool IsMouseMessage(UINT msg) {
    return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK);
}

bool IsKeyMessage(UINT msg) {
    return msg >= WM_KEYFIRST && msg <= WM_KEYLAST;
}

LoopScope::LoopScope() {
    ++LoopDepth;
}

LoopScope::~LoopScope() {
    --LoopDepth;
}

}

}

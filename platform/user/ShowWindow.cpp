// Showing and hiding, minimizing, maximizing and restoring windows, and their placement.
#include "platform/user/Focus.h"
#include "platform/user/NonClient.h"
#include "platform/user/Screen.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowObject.h"

namespace korvex::user {

using detail::FromHandle;
using detail::WindowObject;

namespace {

void SetSurfaceState(WindowObject* w, SurfaceState state) {
    if (w->Top && w->Top->Surface)
        if (Display* display = CurrentDisplay()) display->SetSurfaceState(w->Top->Surface, state);
}

bool IsTop(WindowObject* w) {
    return detail::IsTopLevel(w) && w->Parent->IsDesktop;
}

std::vector<WindowObject*> OwnedWindows(WindowObject* owner) {
    std::vector<WindowObject*> owned;
    for (WindowObject* top : detail::Desktop()->Children)
        if (top->Owner == owner) owned.push_back(top);
    return owned;
}

void HideOwned(WindowObject* w) {
    for (WindowObject* o : OwnedWindows(w)) {
        if (!o->Visible()) continue;
        detail::KeepAlive hold(o);
        o->HiddenByOwner = true;
        detail::Send(o, WM_SHOWWINDOW, 0, SW_PARENTCLOSING);
        if (hold.Alive())
            detail::SetWindowPosInternal(
                o, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE, true);
    }
}

void ShowOwned(WindowObject* w) {
    for (WindowObject* o : OwnedWindows(w)) {
        if (!o->HiddenByOwner) continue;
        detail::KeepAlive hold(o);
        o->HiddenByOwner = false;
        detail::Send(o, WM_SHOWWINDOW, 1, SW_PARENTOPENING);
        if (hold.Alive())
            detail::SetWindowPosInternal(
                o, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE, true);
    }
}

MINMAXINFO MinMaxInfo(WindowObject* w) {
    return QueryMinMaxInfo(w->Handle);   // the frame's defaults, then WM_GETMINMAXINFO
}

void Minimize(WindowObject* w, bool show) {
    if (w->Style & WS_MINIMIZE) return;
    detail::KeepAlive hold(w);
    if (w->Style & WS_MAXIMIZE) {
        w->RestoreMaximized = true;
    } else {
        w->RestoreMaximized = false;
        w->NormalRect = w->Rect;
    }
    w->Style = (w->Style & ~WS_MAXIMIZE) | WS_MINIMIZE;
    if (IsTop(w)) HideOwned(w);
    if (!hold.Alive()) return;
    SetSurfaceState(w, SurfaceState::Minimized);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_STATECHANGED | (show ? SWP_SHOWWINDOW : 0);
    detail::SetWindowPosInternal(
        w, nullptr, -32000, -32000, GetSystemMetrics(SM_CXMINIMIZED), GetSystemMetrics(SM_CYMINIMIZED), flags, true);
    if (hold.Alive() && detail::ActiveWindowObject() == w) detail::AfterHide(w);
}

void Maximize(WindowObject* w, UINT extraFlags) {
    detail::KeepAlive hold(w);
    bool wasMinimized = (w->Style & WS_MINIMIZE) != 0;
    if (!(w->Style & (WS_MAXIMIZE | WS_MINIMIZE))) w->NormalRect = w->Rect;
    MINMAXINFO info = MinMaxInfo(w);
    if (!hold.Alive()) return;
    w->Style = (w->Style & ~WS_MINIMIZE) | WS_MAXIMIZE;
    w->RestoreMaximized = false;
    SetSurfaceState(w, SurfaceState::Maximized);
    detail::SetWindowPosInternal(w, HWND_TOP, info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxSize.x,
        info.ptMaxSize.y, SWP_FRAMECHANGED | SWP_STATECHANGED | extraFlags, true);
    if (hold.Alive() && wasMinimized && IsTop(w)) ShowOwned(w);
}

void Restore(WindowObject* w, UINT extraFlags) {
    detail::KeepAlive hold(w);
    if (w->Style & WS_MINIMIZE) {
        w->Style &= ~WS_MINIMIZE;
        if (w->RestoreMaximized) {
            w->Style &= ~WS_MAXIMIZE;
            Maximize(w, extraFlags);
            return;
        }
    } else if (!(w->Style & WS_MAXIMIZE)) {
        return;
    }
    w->Style &= ~WS_MAXIMIZE;
    SetSurfaceState(w, SurfaceState::Normal);
    RECT r = w->NormalRect;
    detail::SetWindowPosInternal(
        w, HWND_TOP, r.left, r.top, r.Width(), r.Height(), SWP_FRAMECHANGED | SWP_STATECHANGED | extraFlags, true);
    if (hold.Alive() && IsTop(w)) ShowOwned(w);
}

}   // namespace

bool ShowWindow(HWND hwnd, int command) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || w->IsDesktop || w->Thread != std::this_thread::get_id()) return false;
    detail::KeepAlive hold(w);
    bool wasVisible = w->Visible();
    bool top = IsTop(w);
    auto announceShow = [&] {
        if (!wasVisible) detail::Send(w, WM_SHOWWINDOW, 1, 0);
        return hold.Alive();
    };
    UINT keep = SWP_NOMOVE | SWP_NOSIZE;
    switch (command) {
    case SW_HIDE:
        if (!wasVisible) return false;
        detail::Send(w, WM_SHOWWINDOW, 0, 0);
        if (hold.Alive())
            detail::SetWindowPosInternal(
                w, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | keep | SWP_NOZORDER | SWP_NOACTIVATE, true);
        if (hold.Alive()) detail::FocusToParentOfHidden(w);
        return wasVisible;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
        if (!announceShow()) return wasVisible;
        if (w->Style & WS_MINIMIZE) {
            if (!wasVisible)
                detail::SetWindowPosInternal(
                    w, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | keep | SWP_NOZORDER | SWP_NOACTIVATE, true);
        } else {
            Minimize(w, true);
        }
        return wasVisible;
    case SW_SHOWMAXIMIZED:
        if (!announceShow()) return wasVisible;
        if (w->Style & WS_MAXIMIZE) {
            detail::SetWindowPosInternal(w, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | keep, true);
        } else {
            Maximize(w, SWP_SHOWWINDOW);
        }
        return wasVisible;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
        if (!announceShow()) return wasVisible;
        if (w->Style & (WS_MINIMIZE | WS_MAXIMIZE)) {
            Restore(w, SWP_SHOWWINDOW);
            if (hold.Alive() && top && w->Visible()) SetActiveWindow(hwnd);
        } else {
            detail::SetWindowPosInternal(
                w, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | keep | (top ? 0 : SWP_NOZORDER | SWP_NOACTIVATE), true);
        }
        return wasVisible;
    case SW_SHOW:
        if (!announceShow()) return wasVisible;
        detail::SetWindowPosInternal(
            w, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | keep | (top ? 0 : SWP_NOZORDER | SWP_NOACTIVATE), true);
        return wasVisible;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
        if (!announceShow()) return wasVisible;
        detail::SetWindowPosInternal(
            w, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | keep | SWP_NOACTIVATE | (top ? 0 : SWP_NOZORDER), true);
        return wasVisible;
    default:
        return wasVisible;
    }
}

bool ShowOwnedPopups(HWND owner, bool show) {
    WindowObject* w = FromHandle(owner);
    if (!w) return false;
    if (show)
        ShowOwned(w);
    else
        HideOwned(w);
    return true;
}

bool IsIconic(HWND hwnd) {
    WindowObject* w = FromHandle(hwnd);
    return w && (w->Style & WS_MINIMIZE);
}

bool IsZoomed(HWND hwnd) {
    WindowObject* w = FromHandle(hwnd);
    return w && (w->Style & WS_MAXIMIZE);
}

bool OpenIcon(HWND hwnd) {
    if (!IsIconic(hwnd)) return false;
    ShowWindow(hwnd, SW_RESTORE);
    return true;
}

bool CloseWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) return false;
    ShowWindow(hwnd, SW_MINIMIZE);
    return true;
}

bool GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || !placement) return false;
    placement->flags = w->RestoreMaximized ? WPF_RESTORETOMAXIMIZED : 0;
    placement->showCmd = !w->Visible() ? SW_HIDE
        : (w->Style & WS_MINIMIZE)     ? SW_SHOWMINIMIZED
        : (w->Style & WS_MAXIMIZE)     ? SW_SHOWMAXIMIZED
                                       : SW_SHOWNORMAL;
    placement->ptMinPosition = POINT {-32000, -32000};
    placement->ptMaxPosition = POINT {w->Rect.left, w->Rect.top};
    placement->rcNormalPosition = (w->Style & (WS_MINIMIZE | WS_MAXIMIZE)) ? w->NormalRect : w->Rect;
    return true;
}

bool SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || !placement) return false;
    RECT r = placement->rcNormalPosition;
    if (w->Style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        w->NormalRect = r;
    } else {
        detail::KeepAlive hold(w);
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        if (!hold.Alive()) return false;
    }
    if (placement->showCmd != 0) ShowWindow(hwnd, int(placement->showCmd));
    return true;
}

}

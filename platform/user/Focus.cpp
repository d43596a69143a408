// Keyboard focus and activation of top-level windows.
#include "platform/user/Focus.h"

#include "platform/user/Input.h"
#include "platform/user/InputState.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Screen.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowObject.h"

namespace korvex::user {

using detail::FromHandle;
using detail::WindowObject;

namespace {

void SendToTopLevels(UINT msg, WPARAM wParam, LPARAM lParam) {
    std::vector<HWND> tops;
    for (WindowObject* top : detail::Desktop()->Children)
        if (top->Thread == std::this_thread::get_id()) tops.push_back(top->Handle);
    for (HWND h : tops)
        if (WindowObject* w = FromHandle(h)) detail::Send(w, msg, wParam, lParam);
}

bool CanActivate(const WindowObject* w) {
    return w && w->Visible() && w->Enabled() && !(w->Style & WS_MINIMIZE) && !(w->ExStyle & WS_EX_NOACTIVATE)
        && w->Thread == std::this_thread::get_id();
}

// The window that takes over when the active one goes: its owner, else the topmost ordinary window.
WindowObject* NextToActivate(WindowObject* leaving) {
    if (leaving && CanActivate(leaving->Owner)) return leaving->Owner;
    for (WindowObject* top : detail::Desktop()->Children) {
        if (top == leaving || !CanActivate(top) || (top->ExStyle & WS_EX_TOOLWINDOW)) continue;
        if ((top->Style & WS_POPUP) && (top->Style & WS_CAPTION) != WS_CAPTION && !top->Owner) continue;
        if (leaving && detail::IsDescendant(leaving, top)) continue;
        return top;
    }
    return nullptr;
}

}   // namespace

namespace detail {

WindowObject* ActiveWindowObject() {
    return FromHandle(Input().Active);
}

HWND ActivateWindow(WindowObject* w, WORD state, bool fromDisplay) {
    InputState& s = Input();
    if (w) w = TopLevelOf(w);
    if (w && w->Parent != Desktop()) return nullptr;
    WindowObject* old = FromHandle(s.Active);
    HWND oldHandle = old ? old->Handle : nullptr;
    if (w == old) return oldHandle;
    HWND newHandle = w ? w->Handle : nullptr;
    KeepAlive holdNew(w);
    s.Active = newHandle;
    if (old) {
        KeepAlive holdOld(old);
        Send(old, WM_NCACTIVATE, 0, 0);
        if (holdOld.Alive())
            Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, (old->Style & WS_MINIMIZE) ? 1 : 0), LPARAM(newHandle));
    }
    if (s.Active != newHandle) return oldHandle;   // changed again meanwhile
    if (!w) {
        if (WindowObject* focus = FromHandle(s.Focus); focus && (!old || IsDescendant(old, focus))) SetFocus(nullptr);
        if (s.AppActive) {
            s.AppActive = false;
            SendToTopLevels(WM_ACTIVATEAPP, 0, 0);
        }
        return oldHandle;
    }
    if (!holdNew.Alive()) return oldHandle;
    if (!s.AppActive) {
        s.AppActive = true;
        SendToTopLevels(WM_ACTIVATEAPP, 1, 0);
        if (!holdNew.Alive() || s.Active != newHandle) return oldHandle;
    }
    if (Desktop()->Children.empty() || Desktop()->Children.front() != w) {
        PlaceInZOrder(w, HWND_TOP);
        for (WindowObject* top : Desktop()->Children)
            if (top->Top && top->Top->Surface) SyncSurface(top, false, false);
    }
    if (!fromDisplay && w->Top && w->Top->Surface)
        if (Display* display = CurrentDisplay()) display->ActivateSurface(w->Top->Surface);
    Send(w, WM_NCACTIVATE, 1, 0);
    if (holdNew.Alive() && s.Active == newHandle)
        Send(w, WM_ACTIVATE, MAKEWPARAM(state, (w->Style & WS_MINIMIZE) ? 1 : 0), LPARAM(oldHandle));
    return oldHandle;
}

// The front-most window of the same root owner that still takes input is the one the disabled window waits
// for (the modal window, or a window above it).
void BringBackEnabledPopup(WindowObject* disabled) {
    WindowObject* top = TopLevelOf(disabled);
    if (!top || top->Parent != Desktop()) return;
    const HWND root = GetAncestor(top->Handle, GA_ROOTOWNER);
    for (WindowObject* w : Desktop()->Children) {
        if (w == top || !w->Visible() || !w->Enabled() || (w->ExStyle & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW))
            || w->Thread != std::this_thread::get_id() || GetAncestor(w->Handle, GA_ROOTOWNER) != root)
            continue;
        const HWND popup = w->Handle;
        if (w->Style & WS_MINIMIZE) ShowWindow(popup, SW_RESTORE);
        if (FromHandle(popup)) SetForegroundWindow(popup);
        return;
    }
}

void AfterHide(WindowObject* w) {
    InputState& s = Input();
    KeepAlive hold(w);
    if (WindowObject* capture = FromHandle(s.Capture); capture && IsDescendant(w, capture)) ReleaseCapture();
    // A hidden child keeps the focus until something else takes it; ShowWindow hands it to the parent.
    if (WindowObject* focus = FromHandle(s.Focus); focus && IsTopLevel(w) && IsDescendant(w, focus)) SetFocus(nullptr);
    if (!hold.Alive()) return;
    if (FromHandle(s.Active) == w) ActivateWindow(NextToActivate(w), WA_ACTIVE, false);
}

void FocusToParentOfHidden(WindowObject* w) {
    if (IsTopLevel(w) || w->Visible()) return;
    if (WindowObject* focus = FromHandle(Input().Focus); focus && IsDescendant(w, focus))
        SetFocus(w->Parent ? w->Parent->Handle : nullptr);
}

void ForgetWindow(WindowObject* w) {
    InputState& s = Input();
    auto forget = [&](HWND& h) {
        if (WindowObject* x = FromHandle(h); x && IsDescendant(w, x)) h = nullptr;
    };
    if (FromHandle(s.Active) == w) AfterHide(w);
    forget(s.Focus);
    forget(s.Active);
    forget(s.Capture);
    forget(s.Track);
    forget(s.LastDownWnd);
}

}   // namespace detail

HWND SetFocus(HWND hwnd) {
    detail::InputState& s = detail::Input();
    WindowObject* old = FromHandle(s.Focus);
    HWND oldHandle = old ? old->Handle : nullptr;
    if (!hwnd) {
        s.Focus = nullptr;
        if (old) detail::Send(old, WM_KILLFOCUS, 0, 0);
        return oldHandle;
    }
    WindowObject* w = FromHandle(hwnd);
    if (!w || w->Thread != std::this_thread::get_id() || !detail::EnabledChain(w)) return nullptr;
    WindowObject* top = detail::TopLevelOf(w);
    if (!top || top->Parent != detail::Desktop()) return nullptr;
    detail::KeepAlive hold(w);
    if (FromHandle(s.Active) != top) {
        detail::ActivateWindow(top, WA_ACTIVE, false);
        if (!hold.Alive()) return nullptr;
        old = FromHandle(s.Focus);
        oldHandle = old ? old->Handle : nullptr;
    }
    if (old == w) return oldHandle;
    s.Focus = hwnd;
    if (old) {
        detail::Send(old, WM_KILLFOCUS, WPARAM(hwnd), 0);
        if (s.Focus != hwnd || !hold.Alive()) return oldHandle;
    }
    detail::Send(w, WM_SETFOCUS, WPARAM(oldHandle), 0);
    return oldHandle;
}

HWND GetFocus() {
    WindowObject* w = FromHandle(detail::Input().Focus);
    return w ? w->Handle : nullptr;
}

HWND SetActiveWindow(HWND hwnd) {
    WindowObject* w = hwnd ? FromHandle(hwnd) : nullptr;
    if (hwnd && (!w || !CanActivate(detail::TopLevelOf(w)))) return nullptr;
    return detail::ActivateWindow(w, WA_ACTIVE, false);
}

HWND GetActiveWindow() {
    WindowObject* w = detail::ActiveWindowObject();
    return w ? w->Handle : nullptr;
}

bool SetForegroundWindow(HWND hwnd) {
    WindowObject* w = FromHandle(hwnd);
    if (!w) return false;
    WindowObject* top = detail::TopLevelOf(w);
    if (!top || top->Parent != detail::Desktop() || !top->Visible()) return false;
    if (top->Style & WS_MINIMIZE) return false;
    detail::ActivateWindow(top, WA_ACTIVE, false);
    if (top->Top && top->Top->Surface)
        if (Display* display = CurrentDisplay()) display->ActivateSurface(top->Top->Surface);
    return true;
}

HWND GetForegroundWindow() {
    return GetActiveWindow();
}

bool IsApplicationActive() {
    return detail::Input().AppActive;
}

}

// Input routing: display events to mouse and key messages, capture, mouse tracking, cursors, key state.
#include "platform/user/Input.h"

#include "platform/user/Focus.h"
#include "platform/user/InputState.h"
#include "platform/user/MessageIds.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Screen.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowObject.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace korvex::user {

struct CursorObject {
    int Id;
    CursorShape Shape;
};

using detail::FromHandle;
using detail::WindowObject;

namespace detail {

InputState& Input() {
    static InputState state;
    return state;
}

void SetKeyState(std::array<BYTE, 256>& keys, unsigned vk, bool down) {
    if (vk > 255) return;
    BYTE& k = keys[vk];
    if (down && !(k & 0x80)) k ^= 0x01;
    k = BYTE(down ? (k | 0x80) : (k & ~0x80));
}

void SetAsyncKey(unsigned vk, bool down) {
    if (vk > 255) return;
    Input().AsyncKeys[vk] = down ? 0x80 : 0;
}

namespace {

unsigned ButtonKey(MouseButton button) {
    switch (button) {
    case MouseButton::Left:
        return VK_LBUTTON;
    case MouseButton::Right:
        return VK_RBUTTON;
    case MouseButton::Middle:
        return VK_MBUTTON;
    case MouseButton::X1:
        return VK_XBUTTON1;
    case MouseButton::X2:
        return VK_XBUTTON2;
    default:
        return 0;
    }
}

void ModifierKeys(unsigned modifiers, bool async) {
    auto set = [&](unsigned vk, bool down) {
        if (async)
            SetAsyncKey(vk, down);
        else
            SetKeyState(Input().Keys, vk, down);
    };
    set(VK_SHIFT, modifiers & ModShift);
    set(VK_CONTROL, modifiers & ModControl);
    set(VK_MENU, modifiers & ModAlt);
}

WPARAM MouseKeys(const InputState& s) {
    WPARAM mk = 0;
    if (s.Keys[VK_LBUTTON] & 0x80) mk |= MK_LBUTTON;
    if (s.Keys[VK_RBUTTON] & 0x80) mk |= MK_RBUTTON;
    if (s.Keys[VK_MBUTTON] & 0x80) mk |= MK_MBUTTON;
    if (s.Keys[VK_XBUTTON1] & 0x80) mk |= MK_XBUTTON1;
    if (s.Keys[VK_XBUTTON2] & 0x80) mk |= MK_XBUTTON2;
    if (s.Keys[VK_SHIFT] & 0x80) mk |= MK_SHIFT;
    if (s.Keys[VK_CONTROL] & 0x80) mk |= MK_CONTROL;
    return mk;
}

// Client message numbers for a button event; the non-client ones are WM_NC* = client - 0x160 (plus 0xA0 base).
UINT ClientMessage(InputKind kind, MouseButton button, bool doubleClick) {
    if (kind == InputKind::MouseMove) return WM_MOUSEMOVE;
    int index = button == MouseButton::Left ? 0
        : button == MouseButton::Right      ? 1
        : button == MouseButton::Middle     ? 2
                                            : -1;
    if (index < 0) return 0;
    UINT base = WM_LBUTTONDOWN + UINT(index) * 3;
    if (kind == InputKind::ButtonUp) return base + 1;
    return doubleClick ? base + 2 : base;
}

UINT NonClientMessage(UINT clientMessage) {
    return clientMessage - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
}

void PostTo(ThreadQueue& queue, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const InputEvent& event) {
    MSG m;
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = DWORD(event.TimeMs);
    m.pt = event.ScreenPos;
    queue.Routed.push_back(m);
}

void UpdateTracking(ThreadQueue& queue, WindowObject* target, LRESULT hit, const InputEvent& event) {
    InputState& s = Input();
    if (!s.Track) return;
    WindowObject* tracked = FromHandle(s.Track);
    if (!tracked) {
        s.Track = nullptr;
        return;
    }
    bool nonClient = (s.TrackFlags & TME_NONCLIENT) != 0;
    bool inside = target == tracked && (nonClient ? hit != HTCLIENT : hit == HTCLIENT);
    if (inside) return;
    s.Track = nullptr;
    PostTo(queue, tracked->Handle, nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0, event);
}

void RouteMouse(ThreadQueue& queue, const InputEvent& event) {
    InputState& s = Input();
    POINT pt = event.ScreenPos;
    ModifierKeys(event.Modifiers, false);
    if (event.Kind == InputKind::ButtonDown || event.Kind == InputKind::ButtonUp)
        SetKeyState(s.Keys, ButtonKey(event.Button), event.Kind == InputKind::ButtonDown);

    if (event.Kind == InputKind::Wheel) {
        WindowObject* target = FromHandle(s.Focus);
        if (!target) target = FromHandle(s.Active);
        if (!target) return;
        PostTo(queue, target->Handle, WM_MOUSEWHEEL, MAKEWPARAM(int(MouseKeys(s)), event.WheelDelta),
            MAKELPARAM(pt.x, pt.y), event);
        return;
    }

    WindowObject* capture = FromHandle(s.Capture);
    if (capture) {
        // The window holding the capture is asked what lies under the pointer, as the one under it would be.
        Send(capture, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
        capture = FromHandle(s.Capture);   // the answer may have let the capture go
    }
    WindowObject* target = capture;
    LRESULT hit = HTCLIENT;
    if (!target) target = HitWindow(pt, &hit, true);
    UpdateTracking(queue, target, hit, event);
    if (!target) return;
    if (!capture && !EnabledChain(target)) {   // a disabled top-level window takes no mouse input
        if (event.Kind == InputKind::ButtonDown) BringBackEnabledPopup(target);
        return;
    }
    HWND hwnd = target->Handle;
    if (target->Top && target->Top->Surface)
        s.CursorSurface = target->Top->Surface;
    else if (WindowObject* top = TopLevelOf(target); top && top->Top)
        s.CursorSurface = top->Top->Surface;

    bool client = hit == HTCLIENT;
    bool doubleClick = false;
    if (event.Kind == InputKind::ButtonDown) {
        std::uint64_t time = event.TimeMs;
        bool near = std::abs(pt.x - s.LastDownPos.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2
            && std::abs(pt.y - s.LastDownPos.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
        bool allowed = !client || (target->Class->Style & CS_DBLCLKS);
        if (s.LastDownWnd == hwnd && s.LastDownButton == event.Button && s.LastDownClient == client && near
            && time - s.LastDownMs <= GetDoubleClickTime() && allowed) {
            doubleClick = true;
            s.LastDownWnd = nullptr;
        } else {
            s.LastDownWnd = hwnd;
            s.LastDownButton = event.Button;
            s.LastDownMs = time;
            s.LastDownPos = pt;
            s.LastDownClient = client;
        }
    }
    UINT msg = ClientMessage(event.Kind, event.Button, doubleClick);
    if (!msg) return;
    if (!client) msg = NonClientMessage(msg);

    KeepAlive hold(target);
    if (!capture) {
        Send(target, WM_SETCURSOR, WPARAM(hwnd), MAKELPARAM(int(hit), int(msg)));
        if (!hold.Alive()) return;
    }
    if (event.Kind == InputKind::ButtonDown) {
        WindowObject* top = TopLevelOf(target);
        if (top && top->Parent == Desktop() && FromHandle(s.Active) != top && !(top->ExStyle & WS_EX_NOACTIVATE)) {
            LRESULT answer = Send(target, WM_MOUSEACTIVATE, WPARAM(top->Handle), MAKELPARAM(int(hit), int(msg)));
            if (!hold.Alive()) return;
            if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT || answer == 0) {
                ActivateWindow(top, WA_CLICKACTIVE, false);
                if (!hold.Alive()) return;
            }
            if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT) return;
        }
        // A press inside an MDI child that is not the active one activates it.
        for (WindowObject* c = target; c && c != top; c = c->Parent) {
            if (!(c->ExStyle & WS_EX_MDICHILD)) continue;
            Send(c, WM_CHILDACTIVATE, 0, 0);
            if (!hold.Alive()) return;
            break;
        }
    }
    if (client) {
        POINT origin = ClientOrigin(target);
        PostTo(queue, hwnd, msg, MouseKeys(s), MAKELPARAM(pt.x - origin.x, pt.y - origin.y), event);
    } else {
        PostTo(queue, hwnd, msg, WPARAM(hit), MAKELPARAM(pt.x, pt.y), event);
    }
}

void RouteKey(ThreadQueue& queue, const InputEvent& event) {
    InputState& s = Input();
    bool down = event.Kind == InputKind::KeyDown;
    unsigned vk = event.VirtualKey & 0xFF;
    bool wasDown = (s.Keys[vk] & 0x80) != 0;
    ModifierKeys(event.Modifiers, false);
    SetKeyState(s.Keys, vk, down);
    if (vk == VK_MENU) {
        if (down && !wasDown) s.AltAlone = true;
        if (!down) s.AltReleasedAlone = std::exchange(s.AltAlone, false);
    } else if (down) {
        s.AltAlone = false;
    }
    WindowObject* target = FromHandle(s.Focus);
    bool noFocus = target == nullptr;
    if (!target) target = FromHandle(s.Active);
    if (!target) return;
    bool alt = (event.Modifiers & ModAlt) != 0 || vk == VK_MENU;
    bool sys = (alt && !(event.Modifiers & ModControl)) || vk == VK_F10 || noFocus;
    UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    LPARAM lParam = 1 | (LPARAM(vk & 0xFF) << 16);
    if (alt) lParam |= KF_ALTDOWN_BIT;
    if (down ? wasDown : true) lParam |= KF_REPEAT_BIT;
    if (!down) lParam |= KF_UP_BIT;
    MSG m;
    m.hwnd = target->Handle;
    m.message = msg;
    m.wParam = vk;
    m.lParam = lParam;
    m.time = DWORD(event.TimeMs);
    m.pt = POINT {s.CursorX.load(), s.CursorY.load()};
    if (down && !event.Text.empty()) {
        m.lPrivate = queue.NextKeyTag++;
        if (queue.NextKeyTag == 0) queue.NextKeyTag = 1;
        queue.KeyTexts[m.lPrivate] = event.Text;
        while (queue.KeyTexts.size() > 64)
            queue.KeyTexts.erase(queue.KeyTexts.begin());
    }
    queue.Routed.push_back(m);
}

}   // namespace

void NoteAsyncInput(const InputEvent& event) {
    InputState& s = Input();
    s.LastInputMs = event.TimeMs;
    switch (event.Kind) {
    case InputKind::MouseMove:
    case InputKind::ButtonDown:
    case InputKind::ButtonUp:
    case InputKind::Wheel:
        s.CursorX = event.ScreenPos.x;
        s.CursorY = event.ScreenPos.y;
        if (event.Kind != InputKind::MouseMove && event.Kind != InputKind::Wheel)
            SetAsyncKey(ButtonKey(event.Button), event.Kind == InputKind::ButtonDown);
        ModifierKeys(event.Modifiers, true);
        break;
    case InputKind::KeyDown:
    case InputKind::KeyUp:
        ModifierKeys(event.Modifiers, true);
        SetAsyncKey(event.VirtualKey & 0xFF, event.Kind == InputKind::KeyDown);
        break;
    case InputKind::Leave:
        break;
    }
}

void ResetInputState() {
    InputState& s = Input();
    s.Focus = s.Active = s.Capture = s.Track = s.LastDownWnd = nullptr;
    s.AppActive = false;
    s.TrackFlags = 0;
    s.Cursor = nullptr;
    s.CursorSurface = 0;
    s.Keys.fill(0);
    for (auto& k : s.AsyncKeys)
        k = 0;
    s.LastDownButton = MouseButton::None;
    s.LastDownMs = 0;
    s.Confined = false;
    s.AltAlone = s.AltReleasedAlone = false;
}

void RouteInput(ThreadQueue& queue, const InputEvent& event) {
    switch (event.Kind) {
    case InputKind::KeyDown:
    case InputKind::KeyUp:
        RouteKey(queue, event);
        break;
    case InputKind::Leave:
        UpdateTracking(queue, nullptr, HTNOWHERE, event);
        break;
    default:
        if (event.Kind == InputKind::ButtonDown) Input().AltAlone = false;   // Alt+click is no menu key
        RouteMouse(queue, event);
        break;
    }
}

}   // namespace detail

// ---------------------------------------------------------------------------------------------------------
// Capture and tracking
HWND SetCapture(HWND hwnd) {
    detail::InputState& s = detail::Input();
    WindowObject* w = FromHandle(hwnd);
    if (!w) return nullptr;
    WindowObject* old = FromHandle(s.Capture);
    HWND oldHandle = old ? old->Handle : nullptr;
    if (old == w) return oldHandle;
    s.Capture = hwnd;
    if (old) detail::Send(old, WM_CAPTURECHANGED, 0, LPARAM(hwnd));
    if (WindowObject* top = detail::TopLevelOf(w); top && top->Top && top->Top->Surface)
        if (Display* display = CurrentDisplay()) display->GrabPointer(top->Top->Surface, true);
    return oldHandle;
}

bool ReleaseCapture() {
    detail::InputState& s = detail::Input();
    WindowObject* old = FromHandle(s.Capture);
    s.Capture = nullptr;
    if (!old) return true;
    if (WindowObject* top = detail::TopLevelOf(old); top && top->Top && top->Top->Surface)
        if (Display* display = CurrentDisplay()) display->GrabPointer(top->Top->Surface, false);
    detail::Send(old, WM_CAPTURECHANGED, 0, 0);
    return true;
}

HWND GetCapture() {
    WindowObject* w = FromHandle(detail::Input().Capture);
    return w ? w->Handle : nullptr;
}

bool TrackMouseEvent(TRACKMOUSEEVENT* tme) {
    if (!tme) return false;
    detail::InputState& s = detail::Input();
    if (tme->dwFlags & TME_QUERY) {
        tme->hwndTrack = FromHandle(s.Track) ? s.Track : nullptr;
        tme->dwFlags = tme->hwndTrack ? (s.TrackFlags | TME_LEAVE) : 0;
        return true;
    }
    WindowObject* w = FromHandle(tme->hwndTrack);
    if (!w) return false;
    bool nonClient = (tme->dwFlags & TME_NONCLIENT) != 0;
    if (tme->dwFlags & TME_CANCEL) {
        if (s.Track == tme->hwndTrack && ((s.TrackFlags & TME_NONCLIENT) != 0) == nonClient) s.Track = nullptr;
        return true;
    }
    if (!(tme->dwFlags & TME_LEAVE)) return true;
    // Not over the window now: the leave comes at once.
    POINT pt {s.CursorX.load(), s.CursorY.load()};
    LRESULT hit = HTNOWHERE;
    WindowObject* under = FromHandle(s.Capture) ? FromHandle(s.Capture) : detail::HitWindow(pt, &hit, true);
    if (FromHandle(s.Capture)) hit = HTCLIENT;
    bool inside = under == w && (nonClient ? hit != HTCLIENT : hit == HTCLIENT);
    if (!inside) {
        MSG m;
        m.hwnd = tme->hwndTrack;
        m.message = nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE;
        detail::PostToQueue(*w->Queue, m);
        return true;
    }
    s.Track = tme->hwndTrack;
    s.TrackFlags = tme->dwFlags & TME_NONCLIENT;
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Cursors
HCURSOR LoadCursor(HINSTANCE, int id) {
    static const CursorObject cursors[] = {
        {IDC_ARROW, CursorShape::Arrow},
        {IDC_IBEAM, CursorShape::IBeam},
        {IDC_WAIT, CursorShape::Wait},
        {IDC_CROSS, CursorShape::Cross},
        {IDC_UPARROW, CursorShape::Arrow},
        {IDC_SIZENWSE, CursorShape::SizeNWSE},
        {IDC_SIZENESW, CursorShape::SizeNESW},
        {IDC_SIZEWE, CursorShape::SizeWE},
        {IDC_SIZENS, CursorShape::SizeNS},
        {IDC_SIZEALL, CursorShape::SizeAll},
        {IDC_NO, CursorShape::No},
        {IDC_HAND, CursorShape::Hand},
        {IDC_APPSTARTING, CursorShape::Wait},
        {IDC_HELP, CursorShape::Arrow},
    };
    for (const CursorObject& c : cursors)
        if (c.Id == id) return &c;
    return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
    detail::InputState& s = detail::Input();
    HCURSOR old = s.Cursor;
    s.Cursor = cursor;
    if (cursor && cursor != old && s.CursorSurface)
        if (Display* display = CurrentDisplay()) display->SetCursor(s.CursorSurface, cursor->Shape);
    return old;
}

HCURSOR GetCursor() {
    return detail::Input().Cursor;
}

bool GetCursorPos(POINT* point) {
    if (!point) return false;
    *point = POINT {detail::Input().CursorX.load(), detail::Input().CursorY.load()};
    return true;
}

bool SetCursorPos(int x, int y) {
    detail::InputState& s = detail::Input();
    if (s.Confined) {
        x = std::clamp<int>(x, s.Confine.left, s.Confine.right - 1);
        y = std::clamp<int>(y, s.Confine.top, s.Confine.bottom - 1);
    }
    s.CursorX = x;
    s.CursorY = y;
    return true;
}

bool ClipCursor(const RECT* rect) {
    detail::InputState& s = detail::Input();
    const RECT screen = gdi::Bounds(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
        GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    s.Confined = rect != nullptr;
    if (s.Confined) {
        // A rectangle off the screen or without area holds the pointer at its nearest screen point.
        RECT r = *rect;
        r.left = std::clamp<int>(r.left, screen.left, screen.right - 1);
        r.top = std::clamp<int>(r.top, screen.top, screen.bottom - 1);
        r.right = std::clamp<int>(r.right, r.left + 1, screen.right);
        r.bottom = std::clamp<int>(r.bottom, r.top + 1, screen.bottom);
        s.Confine = r;
        SetCursorPos(s.CursorX, s.CursorY);
    }
    if (Display* display = CurrentDisplay()) display->ConfinePointer(s.Confined ? &s.Confine : nullptr);
    return true;
}

bool GetClipCursor(RECT* rect) {
    if (!rect) return false;
    const detail::InputState& s = detail::Input();
    *rect = s.Confined ? s.Confine
                       : gdi::Bounds(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                           GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    return true;
}

int ShowCursor(bool show) {
    return show ? ++detail::Input().CursorCount : --detail::Input().CursorCount;
}

// ---------------------------------------------------------------------------------------------------------
// Key state
short GetKeyState(int vk) {
    if (vk < 0 || vk > 255) return 0;
    BYTE k = detail::Input().Keys[std::size_t(vk)];
    return short(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

short GetAsyncKeyState(int vk) {
    if (vk < 0 || vk > 255) return 0;
    BYTE k = detail::Input().AsyncKeys[std::size_t(vk)];
    return short((k & 0x80) ? 0x8000 : 0);
}

bool GetKeyboardState(BYTE state[256]) {
    if (!state) return false;
    for (int i = 0; i < 256; ++i)
        state[i] = detail::Input().Keys[std::size_t(i)];
    return true;
}

DWORD GetLastInputTime() {
    return DWORD(detail::Input().LastInputMs.load());
}

}

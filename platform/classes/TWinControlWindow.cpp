// TWinControl's window: class registration, creation on demand, destruction, the window procedure entry,
// the default handling and the reflection of child notifications.
#include "platform/base/ScopeGuard.h"
#include "platform/classes/Errors.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TControlCanvas.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TScreen.h"
#include "platform/classes/TWinControl.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

namespace korvex::classes {

using namespace user;

namespace {

constexpr const char* ControlProp = "KorvexControl";
thread_local TWinControl* gCreationControl = nullptr;

bool MovesTheMouseControl(UINT msg) {
    return msg == WM_MOUSEMOVE || msg == WM_MOUSELEAVE || msg == WM_NCMOUSEMOVE || msg == WM_NCMOUSELEAVE;
}

// Mouse messages as a screen point: WM_MOUSEMOVE carries a client point, WM_NCMOUSEMOVE a screen point, the
// leave messages none.
TPoint ClientToScreenPoint(HWND hwnd, UINT msg, LPARAM lParam) {
    POINT p;
    if (msg == WM_MOUSEMOVE) {
        p = LParamToPoint(lParam);
        user::ClientToScreen(hwnd, &p);
    } else if (msg == WM_NCMOUSEMOVE) {
        p = LParamToPoint(lParam);
    } else {
        GetCursorPos(&p);
    }
    return p;
}

}

// The class procedure of every window the library makes: the first message ties the window to the control
// being made and moves the window onto that control's own procedure.
LRESULT TWinControl::InitWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = gCreationControl;
    if (control == nullptr) return user::DefWindowProc(hwnd, msg, wParam, lParam);
    gCreationControl = nullptr;
    control->FHandle = hwnd;
    SetProp(hwnd, ControlProp, control);
    SetWindowLongPtr(hwnd, GWL_WNDPROC, LongFromProc(control->FObjectInstance));
    return CallWindowProc(control->FObjectInstance, hwnd, msg, wParam, lParam);
}

TWinControl* TWinControl::FindControl(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    return static_cast<TWinControl*>(GetProp(hwnd, ControlProp));
}

void TWinControl::FreeObjectInstance() {
    if (FObjectInstance == nullptr) return;
    user::FreeObjectInstance(FObjectInstance);
    FObjectInstance = nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// Creation

HWND TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle != nullptr) return;
    if (FParent != nullptr) FParent->HandleNeeded();
    CreateHandle();
}

void TWinControl::SetParentWindow(HWND value) {
    if (FParent != nullptr || value == FParentWindow) return;
    if (FHandle != nullptr && value != nullptr) {
        user::SetParent(FHandle, value);
        FParentWindow = value;
        return;
    }
    DestroyHandle();
    FParentWindow = value;
    UpdateControlState();
}

void TWinControl::CreateParams(TCreateParams& params) {
    params = TCreateParams();
    params.Caption = FText;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle.Contains(csAcceptsControls)) {
        params.Style |= WS_CLIPCHILDREN;
        params.ExStyle |= WS_EX_CONTROLPARENT;
    }
    if (!Enabled()) params.Style |= WS_DISABLED;
    if (FTabStop) params.Style |= WS_TABSTOP;
    if (UseRightToLeftAlignment()) params.ExStyle |= WS_EX_RIGHT;
    if (UseRightToLeftReading()) params.ExStyle |= WS_EX_RTLREADING;
    if (UseRightToLeftScrollBar()) params.ExStyle |= WS_EX_LEFTSCROLLBAR;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    params.WndParent = FParent != nullptr ? FParent->Handle() : FParentWindow;
    params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.WindowClass.lpfnWndProc = user::DefWindowProc;
    params.WindowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    params.WinClassName = ClassName();
}

// Builds on a native class: its procedure becomes DefWndProc and its class settings the window class's.
void TWinControl::CreateSubClass(TCreateParams& params, const std::string& nativeClass) {
    WNDCLASSEX native;
    if (!GetClassInfoEx(nativeClass, &native)) return;
    params.WindowClass.lpfnWndProc = native.lpfnWndProc;
    params.WindowClass.style = native.style & ~CS_GLOBALCLASS;
    params.WindowClass.cbWndExtra = native.cbWndExtra;
    params.WindowClass.hCursor = native.hCursor;
    params.WindowClass.hbrBackground = native.hbrBackground;
    params.WindowClass.hIcon = native.hIcon;
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if (params.WndParent == nullptr && (params.Style & WS_CHILD))
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    FDefWndProc = params.WindowClass.lpfnWndProc;
    WNDCLASSEX registered;
    bool isRegistered = GetClassInfoEx(params.WinClassName, &registered);
    if (!isRegistered || registered.lpfnWndProc != &InitWndProc) {
        if (isRegistered) UnregisterClass(params.WinClassName);
        WNDCLASSEX wc = params.WindowClass;
        wc.lpfnWndProc = &InitWndProc;
        wc.lpszClassName = params.WinClassName;
        if (RegisterClassEx(&wc) == 0 && !GetClassInfoEx(params.WinClassName, &registered))
            throw EInvalidOperation("Cannot register the window class " + params.WinClassName);
    }
    if (FObjectInstance == nullptr) {
        FObjectInstance = MakeObjectInstance([this](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (MovesTheMouseControl(msg) && Application != nullptr) {
                bool left = msg == WM_MOUSELEAVE || msg == WM_NCMOUSELEAVE;
                Application->UpdateMouseControl(ClientToScreenPoint(hwnd, msg, lParam), left ? hwnd : nullptr,
                    msg == WM_NCMOUSELEAVE ? TMouseArea::NonClient : TMouseArea::Client);
                if (FindControl(hwnd) != this) return 0;   // freed by an enter or leave handler
            }
            TMessage message {msg, wParam, lParam, 0};
            MainWndProc(message);
            return message.Result;
        });
        if (FObjectInstance == nullptr) throw EInvalidOperation("Out of window procedures");
    }
    {
        FControlState.Include(csCreating);
        base::ScopeExit created([this] { FControlState.Exclude(csCreating); });
        base::ValueRollback<TWinControl*> creating(gCreationControl, this);
        CreateWindowHandle(params);
    }
    if (FHandle == nullptr) throw EInvalidOperation("Cannot create the window of '" + Name() + "'");
    // Children get an id of their own, so notifications that carry only the id find them.
    if ((GetWindowStyle(FHandle) & WS_CHILD) && GetDlgCtrlID(FHandle) == 0)
        SetWindowLongPtr(FHandle, GWL_ID, reinterpret_cast<LONG_PTR>(FHandle) & 0x7FFFFFFF);
    UpdateBounds();
    Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
    CreateWindowEx(params.ExStyle, params.WinClassName, params.Caption, params.Style, params.X, params.Y, params.Width,
        params.Height, params.WndParent, nullptr, nullptr, params.Param);
}

void TWinControl::CreateHandle() {
    if (FHandle != nullptr) return;
    CreateWnd();
    if (FParent != nullptr) {
        // Below the next windowed sibling that has a window, or on top when none has: the z-order follows the list.
        HWND above = HWND_TOP;
        auto& list = FParent->FWinControls;
        auto it = std::find(list.begin(), list.end(), this);
        for (++it; it < list.end(); ++it)
            if ((*it)->FHandle != nullptr) {
                above = (*it)->FHandle;
                break;
            }
        SetWindowPos(FHandle, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->UpdateAnchorRules();
}

// ---------------------------------------------------------------------------------------------------------
// Destruction

void TWinControl::DestroyHandle() {
    if (FHandle == nullptr) return;
    for (TWinControl* child : FWinControls)
        child->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd() {
    FText = GetWindowText(FHandle);
    FreeDeviceContexts();
    DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
    FControlState.Include(csDestroyingHandle);
    HWND handle = FHandle;
    DestroyWindow(handle);
    FControlState.Exclude(csDestroyingHandle);
    if (FHandle == handle) {   // WM_NCDESTROY never reached the control (a replaced procedure)
        RemoveProp(handle, ControlProp);
        FHandle = nullptr;
        FShowing = false;
    }
}

void TWinControl::WMNCDestroy(TMessage& m) {
    DefaultHandler(m);
    if (FHandle != nullptr) RemoveProp(FHandle, ControlProp);
    FHandle = nullptr;
    FShowing = false;
}

void TWinControl::RecreateWnd() {
    if (FHandle != nullptr) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage&) {
    bool wasFocused = Focused();
    DestroyHandle();
    UpdateControlState();
    if (wasFocused && FHandle != nullptr) user::SetFocus(FHandle);
}

// ---------------------------------------------------------------------------------------------------------
// Showing

void TWinControl::UpdateControlState() {
    TWinControl* top = this;
    while (top->FParent != nullptr) {
        top = top->FParent;
        if (!top->FShowing) return;
    }
    if (dynamic_cast<TCustomForm*>(top) != nullptr || top->FParentWindow != nullptr) UpdateShowing();
}

void TWinControl::UpdateShowing() {
    bool show = Visible() && !FControlState.Contains(csReadingState) && !ComponentState().Contains(csLoading);
    if (show) {
        if (FHandle == nullptr) CreateHandle();
        for (std::size_t i = 0; i < FWinControls.size(); ++i)
            FWinControls[i]->UpdateShowing();
    }
    if (FHandle != nullptr && FShowing != show) {
        FShowing = show;
        base::ScopeExit undo([this, show] { FShowing = !show; });   // a failed change is not shown
        Perform(CM_SHOWINGCHANGED, 0, 0);
        undo.Dismiss();
    }
}

void TWinControl::CMShowingChanged(TMessage&) {
    UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, flags | (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

// ---------------------------------------------------------------------------------------------------------
// The window procedure

// Nothing of the control is touched after WindowProc returns: a handler may have freed it.
void TWinControl::MainWndProc(TMessage& message) {
    TWndMethod proc = WindowProc;
    try {
        if (proc)
            proc(message);
        else
            WndProc(message);
    } catch (...) {
        if (Application == nullptr) throw;
        Application->HandleException(this);
    }
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (FHandle == nullptr) {
        TControl::DefaultHandler(m);
        return;
    }
    if (m.Msg >= WM_CTLCOLORMSGBOX && m.Msg <= WM_CTLCOLORSTATIC) {
        HWND child = reinterpret_cast<HWND>(m.LParam);
        if (child != FHandle && FindControl(child) != nullptr) {
            m.Result = SendMessage(child, CN_BASE + m.Msg, m.WParam, m.LParam);
            return;
        }
    }
    if (m.Msg == WM_SETTEXT) FText = m.LParam != 0 ? reinterpret_cast<const char*>(m.LParam) : "";
    m.Result = CallWindowProc(FDefWndProc ? FDefWndProc : user::DefWindowProc, FHandle, m.Msg, m.WParam, m.LParam);
}

std::string TWinControl::GetText() const {
    if (FHandle != nullptr) return GetWindowText(FHandle);
    return FText;
}

// ---------------------------------------------------------------------------------------------------------
// Reflection

bool TWinControl::DoControlMsg(HWND child, TMessage& m) {
    TWinControl* control = FindControl(child);
    if (control == nullptr || control == this) return false;
    m.Result = control->Perform(m.Msg + CN_BASE, m.WParam, m.LParam);
    return true;
}

void TWinControl::WMCommand(TMessage& m) {
    if (!DoControlMsg(reinterpret_cast<HWND>(m.LParam), m)) DefaultHandler(m);
}

void TWinControl::WMNotify(TMessage& m) {
    HWND child = FHandle != nullptr ? GetDlgItem(FHandle, static_cast<int>(m.WParam)) : nullptr;
    if (!DoControlMsg(child, m)) DefaultHandler(m);
}

void TWinControl::WMHScroll(TMessage& m) {
    if (!DoControlMsg(reinterpret_cast<HWND>(m.LParam), m)) DefaultHandler(m);
}

void TWinControl::WMVScroll(TMessage& m) {
    if (!DoControlMsg(reinterpret_cast<HWND>(m.LParam), m)) DefaultHandler(m);
}

// WM_DRAWITEM, WM_DELETEITEM and WM_COMPAREITEM: the control id in wParam (0: a menu item, which the form's
// menu has taken before).
void TWinControl::WMDrawItem(TMessage& m) {
    HWND child = (FHandle != nullptr && m.WParam != 0) ? GetDlgItem(FHandle, static_cast<int>(m.WParam)) : nullptr;
    if (!DoControlMsg(child, m)) DefaultHandler(m);
}

void TWinControl::WMMeasureItem(TMessage& m) {
    HWND child = (FHandle != nullptr && m.WParam != 0) ? GetDlgItem(FHandle, static_cast<int>(m.WParam)) : nullptr;
    if (!DoControlMsg(child, m)) DefaultHandler(m);
}

// ---------------------------------------------------------------------------------------------------------
// Position

void TWinControl::SetBounds(int left, int top, int width, int height) {
    left = gdi::ClampCoord(left), top = gdi::ClampCoord(top);
    width = gdi::ClampCoord(width), height = gdi::ClampCoord(height);
    AutoSizeAndConstrain(width, height);
    if (left == Left() && top == Top() && width == Width() && height == Height()) return;
    if (FHandle != nullptr && !IsIconic(FHandle)) {
        SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        FLeft = left;
        FTop = top;
        FWidth = width;
        FHeight = height;
        if (FHandle != nullptr) UpdateBounds();
    }
    UpdateAnchorRules();
    RequestAlign();
}

// Takes the position the window has now (moved by the system, the user or a SetWindowPos).
void TWinControl::UpdateBounds() {
    if (FHandle == nullptr || IsIconic(FHandle)) return;
    RECT r;
    GetWindowRect(FHandle, &r);
    HWND parent = GetParent(FHandle);
    if ((GetWindowStyle(FHandle) & WS_CHILD) && parent != nullptr) MapWindowRect(nullptr, parent, &r);
    bool sized = r.right - r.left != FWidth || r.bottom - r.top != FHeight;
    FLeft = r.left;
    FTop = r.top;
    FWidth = r.right - r.left;
    FHeight = r.bottom - r.top;
    if (sized) UpdateAnchorRules();
}

void TWinControl::WMSize(TMessage& m) {
    UpdateBounds();
    DefaultHandler(m);
    Realign();
    if (!ComponentState().Contains(csLoading)) Resize();
}

void TWinControl::WMMove(TMessage& m) {
    UpdateBounds();
    DefaultHandler(m);
}

void TWinControl::WMWindowPosChanged(TMessage& m) {
    bool framed = false;
    if (auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam)) framed = (pos->flags & SWP_FRAMECHANGED) != 0;
    if (framed) UpdateBounds();
    DefaultHandler(m);
}

void TWinControl::SetZOrder(bool topMost) {
    if (FParent == nullptr) {
        if (FHandle != nullptr)
            SetWindowPos(FHandle, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return;
    }
    if (!MoveInZOrder(FParent->FWinControls, static_cast<TWinControl*>(this), topMost)) return;
    if (FHandle != nullptr)
        SetWindowPos(FHandle, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TPoint TWinControl::ClientOrigin() const {
    if (FHandle == nullptr) return TControl::ClientOrigin();
    POINT p {0, 0};
    user::ClientToScreen(FHandle, &p);
    return p;
}

TRect TWinControl::GetClientRect() const {
    if (FHandle == nullptr) return TControl::GetClientRect();
    RECT r;
    user::GetClientRect(FHandle, &r);
    return r;
}

// ---------------------------------------------------------------------------------------------------------
// Cursor and wheel

void TWinControl::WMSetCursor(TMessage& m) {
    if (reinterpret_cast<HWND>(m.WParam) == FHandle && static_cast<short>(LOWORD(m.LParam)) == HTCLIENT
        && Screen != nullptr) {
        TCursor cursor = Screen->Cursor();
        if (cursor == crDefault) {
            POINT p;
            GetCursorPos(&p);
            TControl* control = ControlAtPos(ScreenToClient(p), false);
            if (control != nullptr) cursor = control->Cursor();
            if (cursor == crDefault) cursor = Cursor();
        }
        if (cursor != crDefault) {
            user::SetCursor(Screen->Cursors(cursor));
            m.Result = 1;
            return;
        }
    }
    DefaultHandler(m);
}

void TWinControl::WMMouseWheel(TMessage& m) {
    m.Result = Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
    if (m.Result == 0) DefaultHandler(m);
}

}

// TTrayIcon: the tray's callbacks turned into events, click deferral, the exit poll and the popup menu.
#include "tray/TrayIcon.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TWinControl.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemMetrics.h"
#include "tray/TrayMenu.h"

namespace korvex::tray {

using namespace classes;

namespace {

TShiftState AsyncShift() {
    TShiftState shift;
    if (user::GetAsyncKeyState(user::VK_SHIFT) < 0) shift.Include(ssShift);
    if (user::GetAsyncKeyState(user::VK_CONTROL) < 0) shift.Include(ssCtrl);
    if (user::GetAsyncKeyState(user::VK_MENU) < 0) shift.Include(ssAlt);
    return shift;
}

bool IsMouseCode(user::UINT code) {
    return (code >= user::WM_MOUSEMOVE && code <= user::WM_MBUTTONDBLCLK) || code == user::WM_CONTEXTMENU
        || code == user::NIN_SELECT || code == user::NIN_KEYSELECT;
}

TShiftState With(TShiftState shift, TShiftStateItem item) {
    shift.Include(item);
    return shift;
}

}   // namespace

void TTrayIcon::Click() {
    if (OnClick) OnClick(this);
}

void TTrayIcon::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TTrayIcon::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TTrayIcon::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TTrayIcon::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TTrayIcon::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TTrayIcon::MouseExit() {
    if (OnMouseExit) OnMouseExit(this);
}

// Every handler may free the component: after each one nothing of it is touched unless it is still alive.
void TTrayIcon::Callback(user::LPARAM lParam) {
    auto code = user::UINT(lParam);
    if (IsMouseCode(code) && !FEnabled) return;
    user::POINT p {};
    user::GetCursorPos(&p);
    TShiftState shift = AsyncShift();
    std::shared_ptr<TTrayIcon*> alive = FAlive;
    switch (code) {
    case user::WM_MOUSEMOVE:
        if (FWantEnterExitEvents && FCursorOutside) {
            MouseEnter();
            if (*alive == nullptr) return;
            FCursorOutside = false;
        }
        MouseMove(shift, p.x, p.y);
        if (*alive == nullptr) return;
        FLastMouse = p;
        break;
    case user::WM_LBUTTONDOWN:
        if (OnDblClick) {
            FClickTimer->SetInterval(user::GetDoubleClickTime());
            FClickTimer->Start();
        }
        MouseDown(mbLeft, With(shift, ssLeft), p.x, p.y);
        if (*alive == nullptr) return;
        FLeftDown = true;
        if (FLeftPopup) PopupAtCursor();
        break;
    case user::WM_LBUTTONUP:
        if (FLeftDown) {
            FClickPending = true;
            if (!FClickTimer->Active()) {
                FClickPending = false;
                FDblClickSeen = false;
                Click();
                if (*alive == nullptr) return;
            }
        }
        FLeftDown = false;
        MouseUp(mbLeft, With(shift, ssLeft), p.x, p.y);
        break;
    case user::WM_LBUTTONDBLCLK: {
        FClickPending = false;
        FDblClickSeen = true;
        DblClick();
        if (*alive == nullptr) return;
        const TTrayMenuHooks& hooks = TrayMenuHooks();
        if (FPopupMenu != nullptr && !FLeftPopup && hooks.AutoPopup && hooks.AutoPopup(FPopupMenu)
            && hooks.ClickDefaultItem)
            hooks.ClickDefaultItem(FPopupMenu);
        break;
    }
    case user::WM_RBUTTONDOWN:
        MouseDown(mbRight, With(shift, ssRight), p.x, p.y);
        if (*alive == nullptr) return;
        PopupAtCursor();
        break;
    case user::WM_RBUTTONUP:
        if (FNotificationVersion == nvClassic) MouseUp(mbRight, With(shift, ssRight), p.x, p.y);
        break;
    case user::WM_CONTEXTMENU:
    case user::NIN_SELECT:
    case user::NIN_KEYSELECT:
        if (FNotificationVersion == nvVersion3) MouseUp(mbRight, With(shift, ssRight), p.x, p.y);
        break;
    case user::WM_MBUTTONDOWN:
        MouseDown(mbMiddle, With(shift, ssMiddle), p.x, p.y);
        break;
    case user::WM_MBUTTONUP:
        MouseUp(mbMiddle, With(shift, ssMiddle), p.x, p.y);
        break;
    case user::NIN_BALLOONSHOW:
        if (OnBalloonHintShow) OnBalloonHintShow(this);
        break;
    case user::NIN_BALLOONHIDE:
        if (OnBalloonHintHide) OnBalloonHintHide(this);
        break;
    case user::NIN_BALLOONTIMEOUT:
        if (OnBalloonHintTimeout) OnBalloonHintTimeout(this);
        break;
    case user::NIN_BALLOONUSERCLICK:
        if (OnBalloonHintClick) OnBalloonHintClick(this);
        break;
    default:
        break;
    }
}

// A single click waits out the double-click time; a double click in between cancels it.
void TTrayIcon::ClickTick() {
    FClickTimer->SetActive(false);
    if (!FDblClickSeen && FClickPending) {
        FClickPending = false;
        std::shared_ptr<TTrayIcon*> alive = FAlive;
        Click();
        if (*alive == nullptr) return;
    }
    FDblClickSeen = false;
}

// The pointer has left when it is no longer where the last move callback saw it.
void TTrayIcon::ExitTick() {
    if (FCursorOutside) return;
    user::POINT p {};
    user::GetCursorPos(&p);
    if (p.x == FLastMouse.x && p.y == FLastMouse.y) return;
    FCursorOutside = true;
    MouseExit();
}

void TTrayIcon::PopupAtCursor() {
    const TTrayMenuHooks& hooks = TrayMenuHooks();
    if (FPopupMenu == nullptr || !hooks.AutoPopup || !hooks.AutoPopup(FPopupMenu)) return;
    user::POINT p {};
    if (!user::GetCursorPos(&p)) return;
    std::shared_ptr<TTrayIcon*> alive = FAlive;
    if (Application != nullptr) {
        user::SetForegroundWindow(Application->Handle());
        Application->ProcessMessages();
        if (*alive == nullptr || FPopupMenu == nullptr) return;
    }
    if (hooks.Popup) hooks.Popup(FPopupMenu, this, p.x, p.y);
    if (*alive == nullptr) return;
    // Lets the menu's loop end when the owner window gets a message, as the shell wants.
    if (auto* owner = dynamic_cast<TWinControl*>(Owner()); owner != nullptr && owner->HandleAllocated())
        user::PostMessage(owner->WindowHandle(), user::WM_NULL, 0, 0);
}

}

// TControl's mouse: the capture (windowless controls through their parent's window), the mouse messages
// and their events, cancel mode, context menus, the wheel, and entering and leaving.
#include "platform/classes/TControl.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TWinControl.h"
#include "platform/user/Input.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"

namespace korvex::classes {

using namespace user;

namespace {
TControl* gCaptureControl = nullptr;
}

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState s;
    if (keys & MK_SHIFT) s.Include(ssShift);
    if (keys & MK_CONTROL) s.Include(ssCtrl);
    if (keys & MK_LBUTTON) s.Include(ssLeft);
    if (keys & MK_RBUTTON) s.Include(ssRight);
    if (keys & MK_MBUTTON) s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

TControl* GetCaptureControl() {
    if (gCaptureControl != nullptr) {
        TWinControl* parent = gCaptureControl->Parent();
        if (parent == nullptr || !parent->HandleAllocated() || GetCapture() != parent->WindowHandle())
            gCaptureControl = nullptr;
    }
    if (gCaptureControl != nullptr) return gCaptureControl;
    return TWinControl::FindControl(GetCapture());
}

void SetCaptureControl(TControl* control) {
    ReleaseCapture();
    gCaptureControl = nullptr;
    if (control == nullptr) return;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        SetCapture(win->Handle());
        return;
    }
    if (control->Parent() == nullptr) return;
    gCaptureControl = control;
    SetCapture(control->Parent()->Handle());
}

// ---------------------------------------------------------------------------------------------------------
// Capture

bool TControl::MouseCapture() const {
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool value) {
    if (value == MouseCapture()) return;
    SetCaptureControl(value ? this : nullptr);
}

void TControl::DropMouseCapture() {
    if (gCaptureControl == this) SetCaptureControl(nullptr);
}

// ---------------------------------------------------------------------------------------------------------
// Mouse

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::DoMouseDown(TMessage& m, TMouseButton button, TShiftState shift) {
    if (FControlStyle.Contains(csNoStdEvents)) return;
    MouseDown(button, KeysToShiftState(m.WParam) + shift, MessageX(m), MessageY(m));
}

void TControl::DoMouseUp(TMessage& m, TMouseButton button) {
    if (FControlStyle.Contains(csNoStdEvents)) return;
    MouseUp(button, KeysToShiftState(m.WParam), MessageX(m), MessageY(m));
}

void TControl::SendCancelMode(TControl* sender) {
    for (TControl* c = this; c != nullptr; c = c->Parent())
        if (auto* form = dynamic_cast<TCustomForm*>(c)) form->SendCancelMode(sender);
}

void TControl::WMLButtonDown(TMessage& m) {
    SendCancelMode(this);
    DefaultHandler(m);
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
    DoMouseDown(m, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& m) {
    SendCancelMode(this);
    DefaultHandler(m);
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents)) DblClick();
    DoMouseDown(m, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& m) {
    DefaultHandler(m);
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (FControlState.Contains(csClicked)) {
        FControlState.Exclude(csClicked);
        TRect client = ClientRect();
        if (gdi::PtInRect(&client, Point(MessageX(m), MessageY(m)))) Click();
    }
    DoMouseUp(m, mbLeft);
}

void TControl::WMRButtonDown(TMessage& m) {
    DefaultHandler(m);
    DoMouseDown(m, mbRight, {});
}

void TControl::WMRButtonUp(TMessage& m) {
    DefaultHandler(m);
    DoMouseUp(m, mbRight);
}

void TControl::WMRButtonDblClk(TMessage& m) {
    DefaultHandler(m);
    DoMouseDown(m, mbRight, {ssDouble});
}

void TControl::WMMButtonDown(TMessage& m) {
    DefaultHandler(m);
    DoMouseDown(m, mbMiddle, {});
}

void TControl::WMMButtonUp(TMessage& m) {
    DefaultHandler(m);
    DoMouseUp(m, mbMiddle);
}

void TControl::WMMouseMove(TMessage& m) {
    DefaultHandler(m);
    if (!FControlStyle.Contains(csNoStdEvents)) MouseMove(KeysToShiftState(m.WParam), MessageX(m), MessageY(m));
}

void TControl::WMCancelMode(TMessage& m) {
    DefaultHandler(m);
    if (MouseCapture()) {
        SetMouseCapture(false);
        if (FControlState.Contains(csLButtonDown)) Perform(WM_LBUTTONUP, 0, MAKELPARAM(-1, -1));
    } else {
        FControlState.Exclude(csLButtonDown);
    }
}

// OnContextPopup first, then the PopupMenu when it pops up by itself.
void TControl::WMContextMenu(TMessage& m) {
    if (m.Result != 0) return;
    TPoint pos = Point(MessageX(m), MessageY(m));
    TPoint local = pos.x == -1 && pos.y == -1 ? Point(-1, -1) : ScreenToClient(pos);
    bool handled = false;
    if (OnContextPopup) OnContextPopup(this, local, handled);
    if (!handled && pos.x != -1 && PopupContextMenu(FPopupMenu, this, pos)) handled = true;
    if (handled) {
        m.Result = 1;
        return;
    }
    DefaultHandler(m);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
    if (handled) return true;
    if (wheelDelta < 0 && OnMouseWheelDown) OnMouseWheelDown(this, shift, mousePos, handled);
    if (wheelDelta > 0 && OnMouseWheelUp) OnMouseWheelUp(this, shift, mousePos, handled);
    return handled;
}

void TControl::CMMouseWheel(TMessage& m) {
    TPoint pos = Point(MessageX(m), MessageY(m));
    if (DoMouseWheel(KeysToShiftState(LOWORD(m.WParam)), GET_WHEEL_DELTA_WPARAM(m.WParam), pos)) {
        m.Result = 1;
        return;
    }
    if (FParent != nullptr) m.Result = FParent->Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
}

// Enter and leave pass up the parents, naming the control the mouse came to or left.
void TControl::CMMouseEnter(TMessage& m) {
    if (FParent != nullptr)
        FParent->Perform(CM_MOUSEENTER, 0, m.LParam != 0 ? m.LParam : reinterpret_cast<LPARAM>(this));
}

void TControl::CMMouseLeave(TMessage& m) {
    if (FParent != nullptr)
        FParent->Perform(CM_MOUSELEAVE, 0, m.LParam != 0 ? m.LParam : reinterpret_cast<LPARAM>(this));
}

}

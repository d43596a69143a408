// TControl's mouse: the capture (windowless controls through their parent's window), the mouse messages
// and their events, cancel mode, context menus, the wheel, and entering and leaving.
#include "platform/classes/TControl.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TBasicAction.h"
#include "platform/classes/TComponentWatch.h"
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
    if (OnClick)
        OnClick(this);
    else if (FActionLink != nullptr)
        FActionLink->Execute();
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

bool TControl::DefaultSurvives(TMessage& m) {
    return RunUserCode(this, [&] { DefaultHandler(m); });
}

void TControl::SendCancelMode(TControl* sender) {
    for (TControl* c = this; c != nullptr; c = c->Parent()) {
        auto* form = dynamic_cast<TCustomForm*>(c);
        if (form != nullptr && !RunUserCode(form, [&] { form->SendCancelMode(sender); })) return;
    }
}

// Cancel mode, the default handling (a native control notifies its parent) and the events all run user code
// that may free the control: each step of the mouse messages checks it is still there.

// What a left press and a double click start with: cancel mode around, the default handling, the capture.
// False when that freed the control.
bool TControl::LeftPressSurvives(TMessage& m) {
    TComponentWatch self(this);
    SendCancelMode(this);
    if (!self.Alive() || !DefaultSurvives(m)) return false;
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
    return true;
}

void TControl::WMLButtonDown(TMessage& m) {
    if (!LeftPressSurvives(m)) return;
    if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
    DoMouseDown(m, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& m) {
    if (!LeftPressSurvives(m)) return;
    if (FControlStyle.Contains(csClickEvents) && !RunUserCode(this, [this] { DblClick(); })) return;
    DoMouseDown(m, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& m) {
    TComponentWatch self(this);
    DefaultHandler(m);
    if (!self.Alive()) return;
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
    if (FControlState.Contains(csClicked)) {
        FControlState.Exclude(csClicked);
        TRect client = ClientRect();
        if (gdi::PtInRect(&client, Point(MessageX(m), MessageY(m)))) Click();
        if (!self.Alive()) return;
    }
    DoMouseUp(m, mbLeft);
}

void TControl::WMRButtonDown(TMessage& m) {
    if (DefaultSurvives(m)) DoMouseDown(m, mbRight, {});
}

void TControl::WMRButtonUp(TMessage& m) {
    if (DefaultSurvives(m)) DoMouseUp(m, mbRight);
}

void TControl::WMRButtonDblClk(TMessage& m) {
    if (DefaultSurvives(m)) DoMouseDown(m, mbRight, {ssDouble});
}

void TControl::WMMButtonDown(TMessage& m) {
    if (DefaultSurvives(m)) DoMouseDown(m, mbMiddle, {});
}

void TControl::WMMButtonUp(TMessage& m) {
    if (DefaultSurvives(m)) DoMouseUp(m, mbMiddle);
}

void TControl::WMMouseMove(TMessage& m) {
    if (!DefaultSurvives(m)) return;
    if (!FControlStyle.Contains(csNoStdEvents)) MouseMove(KeysToShiftState(m.WParam), MessageX(m), MessageY(m));
}

void TControl::WMCancelMode(TMessage& m) {
    if (!DefaultSurvives(m)) return;
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
    if (OnContextPopup && !RunUserCode(this, [&] { OnContextPopup(this, local, handled); })) return;
    if (!handled && pos.x != -1 && PopupContextMenu(FPopupMenu, this, pos)) handled = true;
    if (handled) {
        m.Result = 1;
        return;
    }
    DefaultHandler(m);
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    bool handled = false;
    if (OnMouseWheel && !RunUserCode(this, [&] { OnMouseWheel(this, shift, wheelDelta, mousePos, handled); }))
        return handled;
    if (handled) return true;
    if (wheelDelta < 0 && OnMouseWheelDown) OnMouseWheelDown(this, shift, mousePos, handled);
    if (wheelDelta > 0 && OnMouseWheelUp) OnMouseWheelUp(this, shift, mousePos, handled);
    return handled;
}

void TControl::CMMouseWheel(TMessage& m) {
    TComponentWatch self(this);
    TPoint pos = Point(MessageX(m), MessageY(m));
    if (DoMouseWheel(KeysToShiftState(LOWORD(m.WParam)), GET_WHEEL_DELTA_WPARAM(m.WParam), pos)) {
        m.Result = 1;
        return;
    }
    if (!self.Alive()) return;
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

// TButton: clicks, dialog keys, the default-button look and the modal result.
#include "platform/classes/TButton.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TForm.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Window.h"
#include "platform/user/controls/Button.h"

namespace korvex::classes {

using namespace user;

TButton::TButton(TComponent* owner)
    : TButtonControl(owner) {
    FControlStyle = TControlStyle {csSetCaption, csDoubleClicks};
    SetBounds(Left(), Top(), 75, 25);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clBtnFace);
}

TClass TButton::StaticClass() {
    static const TClassInfo info = MakeClass<TButton, TButtonControl>("TButton", [](auto& p) {
        p.Bool("Cancel", &TButton::Cancel, &TButton::SetCancel, false);
        p.Color("Color", &TButton::Color, &TButton::SetColor, clBtnFace);
        p.Bool("Default", &TButton::Default, &TButton::SetDefault, false);
        p.Int("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, mrNone);
        p.Bool("ParentColor", &TButton::ParentColor, &TButton::SetParentColor, false);
        p.Bool("TabStop", &TButton::TabStop, &TButton::SetTabStop, true);
    });
    return &info;
}

void TButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    CreateSubClass(params, ButtonClassName);
    params.Style |= (FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_MULTILINE;
    params.WindowClass.style &= ~CS_DBLCLKS;   // two quick clicks are two clicks
}

void TButton::CreateWnd() {
    TButtonControl::CreateWnd();
    FActive = FDefault;
}

void TButton::SetDefault(bool value) {
    if (FDefault == value) return;
    FDefault = value;
    if (!HandleAllocated()) return;
    // The buttons of the form work out again which one Enter clicks.
    if (TCustomForm* form = GetParentForm(this))
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
}

void TButton::SetButtonStyle(bool isDefault) {
    if (!HandleAllocated()) return;
    const DWORD kind = GetWindowStyle(WindowHandle()) & BS_TYPEMASK;
    const DWORD wanted = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if (kind != wanted) SendMessage(WindowHandle(), BM_SETSTYLE, wanted, 1);
}

void TButton::Click() {
    if (TCustomForm* form = GetParentForm(this); form != nullptr && FModalResult != mrNone)
        form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::CNCommand(TMessage& m) {
    if (HIWORD(m.WParam) == BN_CLICKED) Click();
}

void TButton::CMDialogKey(TMessage& m) {
    const bool wanted = (m.WParam == VK_RETURN && FActive) || (m.WParam == VK_ESCAPE && FCancel);
    if (wanted && KeyDataToShiftState(m.LParam).Empty() && CanFocus()) {
        Click();
        m.Result = 1;
        return;
    }
    TButtonControl::CMDialogKey(m);
}

void TButton::CMDialogChar(TMessage& m) {
    if (IsAccel(char32_t(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
        return;
    }
    TButtonControl::CMDialogChar(m);
}

void TButton::CMFocusChanged(TMessage& m) {
    auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
    FActive = dynamic_cast<TButton*>(focused) != nullptr ? focused == this : FDefault;
    SetButtonStyle(FActive);
    TButtonControl::CMFocusChanged(m);
}

}

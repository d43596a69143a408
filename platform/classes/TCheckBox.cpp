// TCustomCheckBox and TCheckBox: states, toggling, alignment and the published properties.
#include "platform/classes/TCheckBox.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/Button.h"

namespace korvex::classes {

using namespace user;

TCustomCheckBox::TCustomCheckBox(TComponent* owner)
    : TButtonControl(owner) {
    FControlStyle = TControlStyle {csSetCaption, csDoubleClicks};
    SetBounds(Left(), Top(), 97, 17);
    SetTabStop(true);
}

TClass TCustomCheckBox::StaticClass() {
    static const TClassInfo info = MakeClass<TCustomCheckBox, TButtonControl>("TCustomCheckBox");
    return &info;
}

void TCustomCheckBox::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    CreateSubClass(params, ButtonClassName);
    params.Style |= BS_3STATE;
    if (FAlignment == taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd() {
    TButtonControl::CreateWnd();
    SendMessage(WindowHandle(), BM_SETCHECK, WPARAM(FState), 0);
}

void TCustomCheckBox::SetAlignment(TLeftRight value) {
    if (value == taCenter) value = taRightJustify;
    if (FAlignment == value) return;
    FAlignment = value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomCheckBox::SetState(TCheckBoxState value) {
    if (FState == value) return;
    FState = value;
    if (HandleAllocated()) SendMessage(WindowHandle(), BM_SETCHECK, WPARAM(value), 0);
    if (ClicksDisabled() || ComponentState().Contains(csLoading)) return;
    Changed();   // CM_CHANGED: a control that paints itself shows the new state
    Click();
}

void TCustomCheckBox::Toggle() {
    switch (FState) {
    case cbUnchecked:
        SetState(FAllowGrayed ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbChecked);
        break;
    }
}

void TCustomCheckBox::CNCommand(TMessage& m) {
    if (HIWORD(m.WParam) == BN_CLICKED) Toggle();
}

void TCustomCheckBox::CMDialogChar(TMessage& m) {
    if (IsAccel(char32_t(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        if (Focused()) Toggle();
        m.Result = 1;
        return;
    }
    TButtonControl::CMDialogChar(m);
}

TCheckBox::TCheckBox(TComponent* owner)
    : TCustomCheckBox(owner) {
}

TClass TCheckBox::StaticClass() {
    static const TClassInfo info = MakeClass<TCheckBox, TCustomCheckBox>("TCheckBox", [](auto& p) {
        p.Enum("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment, AlignmentIdents, taRightJustify);
        p.Bool("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed, false);
        p.Bool("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked, false);
        p.Enum("State", &TCheckBox::State, &TCheckBox::SetState, CheckBoxStateIdents, cbUnchecked);
        p.Bool("TabStop", &TCheckBox::TabStop, &TCheckBox::SetTabStop, true);
    });
    return &info;
}

}

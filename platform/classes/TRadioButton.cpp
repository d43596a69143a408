// TRadioButton: checking, the group of a parent, accelerators and the published properties.
#include "platform/classes/TRadioButton.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/Button.h"

namespace korvex::classes {

using namespace user;

TRadioButton::TRadioButton(TComponent* owner)
    : TButtonControl(owner) {
    FControlStyle = TControlStyle {csSetCaption, csDoubleClicks};
    SetBounds(Left(), Top(), 113, 17);
}

TClass TRadioButton::StaticClass() {
    static const TClassInfo info = MakeClass<TRadioButton, TButtonControl>("TRadioButton", [](auto& p) {
        p.Enum("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment, AlignmentIdents, taRightJustify);
        p.Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked, false);
    });
    return &info;
}

void TRadioButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    CreateSubClass(params, ButtonClassName);
    params.Style |= BS_RADIOBUTTON;
    if (FAlignment == taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd() {
    TButtonControl::CreateWnd();
    SendMessage(WindowHandle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetAlignment(TAlignment value) {
    if (value == taCenter) value = taRightJustify;
    if (FAlignment == value) return;
    FAlignment = value;
    if (HandleAllocated()) RecreateWnd();
}

void TRadioButton::SetChecked(bool value) {
    if (FChecked == value) return;
    FChecked = value;
    SetTabStop(value);
    if (HandleAllocated()) SendMessage(WindowHandle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!value) return;
    TurnSiblingsOff();
    if (!ClicksDisabled() && !ComponentState().Contains(csLoading)) Click();
}

void TRadioButton::TurnSiblingsOff() {
    if (Parent() == nullptr) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); other != nullptr && other != this)
            other->SetChecked(false);
}

void TRadioButton::CNCommand(TMessage& m) {
    switch (HIWORD(m.WParam)) {
    case BN_CLICKED:
        SetChecked(true);
        break;
    case BN_DOUBLECLICKED:
        DblClick();
        break;
    default:
        break;
    }
}

void TRadioButton::CMDialogChar(TMessage& m) {
    if (IsAccel(char32_t(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        if (Focused()) SetChecked(true);
        m.Result = 1;
        return;
    }
    TButtonControl::CMDialogChar(m);
}

}

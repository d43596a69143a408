// TsRadioButton: construction and the radio button's own messages over the shared check layer.
#include "skin/controls/sRadioButton.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/user/controls/Button.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sCommonData.h"

namespace korvex::skin {

using namespace korvex::classes;

TsRadioButton::TsRadioButton(TComponent* owner) : TacCheckControl(owner, TacControlKind::RadioButton) {
    FCore.MaskName = [this] { return std::string(Checked() ? "RADIOCHECKED" : "RADIOUNCHECKED"); };
    FCore.CheckedMaskName = [] { return std::string("RADIOCHECKED"); };
    FCore.Release = [this] { SetChecked(true); };   // a checked radio button stays checked
    FCore.RefreshResizes = false;
    FCore.ReadOnlyRefusesStateAlways = true;
    FCore.PaintsBesideSpentFade = true;
}

TClass TsRadioButton::StaticClass() {
    using T = TsRadioButton;
    static const TClassInfo info = MakeClass<T, TRadioButton>("TsRadioButton", [](TPropertyBuilder<T>& p) {
        p.Enum("Alignment", &T::Alignment, &T::SetAlignment, AlignmentIdents, taRightJustify);
        p.Bool("AutoSize", &T::AutoSize, &T::SetAutoSize, true);
        p.Bool("Checked", &T::Checked, &T::SetChecked, false);
        p.Event("OnClick", &T::OnClick);
        PublishCheckProperties(p);
        PublishCheckTail(p);
    });
    return &info;
}

void TsRadioButton::WndProc(TMessage& message) {
    if (message.Msg == user::BM_SETCHECK && FCore.Painting()) {
        if (FCore.FadeTimer != nullptr && FCore.FadeTimer->Direction() != 0
            && FCore.FadeTimer->Step <= FCore.FadeTimer->Iterations) {
            FCore.StopFade();
            FSkinData->BGChanged = true;
            Repaint();
        }
        if (message.WParam == user::BST_UNCHECKED) SetChecked(false);
        if (message.WParam == user::BST_CHECKED) SetChecked(true);
        if (!ControlDesigning(this))
            FCore.Changed(aeMouseUp);   // co_
        else
            FSkinData->Invalidate();
        return;
    }
    if (FCore.WndProc(message, [this](TMessage& m) { TRadioButton::WndProc(m); })) return;
    if (message.Msg == user::BM_SETCHECK && ReadOnly() && FCore.Pressed) return;
    TRadioButton::WndProc(message);
}

}

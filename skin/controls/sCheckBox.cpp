// TsCheckBox: construction, the image-list properties and the check box's own messages over the shared layer.
#include "skin/controls/sCheckBox.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBasicAction.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TImageList.h"
#include "platform/user/controls/Button.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sCommonData.h"

namespace korvex::skin {

using namespace korvex::classes;

TsCheckBox::TsCheckBox(TComponent* owner) : TacCheckControl(owner, TacControlKind::CheckBox) {
    FCore.MaskName = [this] {
        return State() == cbChecked ? "BOXCHECKED" : State() == cbGrayed ? "BOXGRAYED" : "BOXUNCHECKED";
    };
    FCore.CheckedMaskName = [] { return std::string("BOXCHECKED"); };
    FCore.Release = [this] { Toggle(); };
    FCore.NativeCheck = [this] { return int(State()); };   // grey stays grey
}

TClass TsCheckBox::StaticClass() {
    using T = TsCheckBox;
    static const TClassInfo info = MakeClass<T, TCustomCheckBox>("TsCheckBox", [](TPropertyBuilder<T>& p) {
        p.Component("Action", &T::ActionComponent, &T::SetActionComponent).Info().ObjectClassOf
            = &TBasicAction::StaticClass;
        p.Enum("Alignment", &T::Alignment, &T::SetAlignment, AlignmentIdents, taRightJustify);
        p.Bool("AllowGrayed", &T::AllowGrayed, &T::SetAllowGrayed, false);
        p.Bool("AutoSize", &T::AutoSize, &T::SetAutoSize, true);
        p.Bool("Checked", &T::Checked, &T::SetChecked, false);
        p.Enum("State", &T::State, &T::SetState, CheckBoxStateIdents, cbUnchecked);
        p.Event("OnClick", &T::OnClick);
        PublishCheckProperties(p);
        p.Component("Images", &T::Images, &T::SetImages);
        p.Int("ImgChecked", &T::ImgChecked, &T::SetImgChecked, -1);
        p.Int("ImgUnchecked", &T::ImgUnchecked, &T::SetImgUnchecked, -1);
        PublishCheckTail(p);
    });
    return &info;
}

void TsCheckBox::SetImages(TCustomImageList* value) {
    if (FCore.Images == value) return;
    if (FCore.Images != nullptr) FCore.Images->RemoveFreeNotification(this);
    FCore.Images = value;
    if (value != nullptr) value->FreeNotification(this);
    SizeChanged();
}

void TsCheckBox::SetImgChecked(int value) {
    if (FCore.ImgChecked == value) return;
    FCore.ImgChecked = value;
    if (FCore.AutoSize) FCore.AdjustSize();
    if (Checked()) Invalidate();
}

void TsCheckBox::SetImgUnchecked(int value) {
    if (FCore.ImgUnchecked == value) return;
    FCore.ImgUnchecked = value;
    if (FCore.AutoSize) FCore.AdjustSize();
    if (!Checked()) Invalidate();
}

void TsCheckBox::Notification(TComponent* component, TOperation operation) {
    TacCheckControl::Notification(component, operation);
    if (operation == opRemove && component == FCore.Images) FCore.Images = nullptr;
}

void TsCheckBox::WndProc(TMessage& message) {
    // Skinned, the box shows State itself: the change is painted on CM_CHANGED.
    if (message.Msg == user::BM_SETCHECK && FCore.Painting()) {
        FCore.StopFadeWithStepsLeft();
        return;
    }
    if (FCore.WndProc(message, [this](TMessage& m) { TCustomCheckBox::WndProc(m); })) return;
    if (message.Msg == user::BM_SETCHECK && ReadOnly() && FCore.Pressed) return;
    TCustomCheckBox::WndProc(message);
}


void TsCheckBox::ActionChange(TObject* sender, bool checkDefaults) {
    SkinData()->BGChanged = true;
    TCustomCheckBox::ActionChange(sender, checkDefaults);
    Repaint();
}
}

// TsCheckBox: construction, properties and the check box's own messages over the shared check core.
#include "skin/controls/sCheckBox.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TImageList.h"
#include "platform/user/controls/Button.h"
#include "skin/controls/sControlFrame.h"
#include "skin/controls/sPushControl.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"

namespace korvex::skin {

using namespace korvex::classes;

TsCheckBox::TsCheckBox(TComponent* owner)
    : TCustomCheckBox(owner), FSkinData(std::make_unique<TsCommonData>(this, false)), FCore(this, FSkinData.get()) {
    FSkinData->ControlKind = ckCheckBox;
    FCore.MaskName = [this] {
        return State() == cbChecked ? "BOXCHECKED" : State() == cbGrayed ? "BOXGRAYED" : "BOXUNCHECKED";
    };
    FCore.CheckedMaskName = [] { return std::string("BOXCHECKED"); };
    FCore.Release = [this] { Toggle(); };
    FCore.Alignment = [this] { return Alignment(); };
}

TsCheckBox::~TsCheckBox() {
    FCore.StopFade();
}

TClass TsCheckBox::StaticClass() {
    static const TClassInfo info = MakeClass<TsCheckBox, TCustomCheckBox>("TsCheckBox", [](auto& p) {
        p.Enum("Alignment", &TsCheckBox::Alignment, &TsCheckBox::SetAlignment, AlignmentIdents, taRightJustify);
        p.Bool("AllowGrayed", &TsCheckBox::AllowGrayed, &TsCheckBox::SetAllowGrayed, false);
        p.Bool("AutoSize", &TsCheckBox::AutoSize, &TsCheckBox::SetAutoSize, true);
        p.Bool("Checked", &TsCheckBox::Checked, &TsCheckBox::SetChecked, false);
        p.Enum("State", &TsCheckBox::State, &TsCheckBox::SetState, CheckBoxStateIdents, cbUnchecked);
        p.Event("OnClick", &TsCheckBox::OnClick);
        p.Object("SkinData", &TsCheckBox::SkinData);
        p.Set("DisabledKind", &TsCheckBox::DisabledKind, &TsCheckBox::SetDisabledKind, DisabledKindIdents,
            DefaultDisabledKind);
        p.Object("GlyphChecked", &TsCheckBox::GlyphChecked, &TsCheckBox::SetGlyphChecked);
        p.Object("GlyphUnChecked", &TsCheckBox::GlyphUnChecked, &TsCheckBox::SetGlyphUnChecked);
        p.Int("TextIndent", &TsCheckBox::TextIndent, &TsCheckBox::SetTextIndent, 0);
        p.Bool("MultiLine", &TsCheckBox::MultiLine, &TsCheckBox::SetMultiLine, false);
        p.Bool("ShowFocus", &TsCheckBox::ShowFocus, &TsCheckBox::SetShowFocus, true);
        p.Int("Margin", &TsCheckBox::Margin, &TsCheckBox::SetMargin, 2);
        p.Component("Images", &TsCheckBox::Images, &TsCheckBox::SetImages);
        p.Int("ImgChecked", &TsCheckBox::ImgChecked, &TsCheckBox::SetImgChecked, -1);
        p.Int("ImgUnchecked", &TsCheckBox::ImgUnchecked, &TsCheckBox::SetImgUnchecked, -1);
        p.Set("AnimatEvents", &TsCheckBox::AnimatEvents, &TsCheckBox::SetAnimatEvents, AnimatEventIdents,
            TacAnimatEvents {aeGlobalDef});
        p.Bool("ReadOnly", &TsCheckBox::ReadOnly, &TsCheckBox::SetReadOnly, false);
    });
    return &info;
}

void TsCheckBox::AfterConstruction() {
    TCustomCheckBox::AfterConstruction();
    FSkinData->Loaded();
}

void TsCheckBox::Loaded() {
    TCustomCheckBox::Loaded();
    FSkinData->Loaded();
    FCore.AdjustSize();
}

void TsCheckBox::Invalidate() {
    TCustomCheckBox::Invalidate();
    if (FCore.AutoSize) FCore.MultiLine = false;
}

void TsCheckBox::SizeChanged() {
    if (FCore.AutoSize) FCore.AdjustSize();
    Invalidate();
}

void TsCheckBox::SetAutoSize(bool value) {
    if (FCore.AutoSize == value) return;
    FCore.AutoSize = value;
    SizeChanged();
}

void TsCheckBox::SetDisabledKind(TsDisabledKind value) {
    if (FCore.DisabledKind == value) return;
    FCore.DisabledKind = value;
    FSkinData->Invalidate();
}

void TsCheckBox::SetGlyphChecked(const TBitmap* value) {
    FCore.GlyphChecked->Assign(value);
    SizeChanged();
}

void TsCheckBox::SetGlyphUnChecked(const TBitmap* value) {
    FCore.GlyphUnChecked->Assign(value);
    SizeChanged();
}

void TsCheckBox::SetTextIndent(int value) {
    if (FCore.TextIndent == value) return;
    FCore.TextIndent = value;
    SizeChanged();
}

void TsCheckBox::SetMultiLine(bool value) {
    if (FCore.MultiLine == value) return;
    FCore.MultiLine = value;
    if (value && FCore.AutoSize) FCore.AutoSize = false;   // a wrapped caption needs the width it is given
    Invalidate();
}

void TsCheckBox::SetShowFocus(bool value) {
    if (FCore.ShowFocus == value) return;
    FCore.ShowFocus = value;
    Invalidate();
}

void TsCheckBox::SetMargin(int value) {
    if (FCore.Margin == value) return;
    FCore.Margin = value;
    SizeChanged();
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

void TsCheckBox::SetChecked(bool value) {
    if (ComponentState().Contains(csLoading)) {
        TCustomCheckBox::SetChecked(value);
        return;
    }
    const bool changed = value != Checked();
    if (changed) FSkinData->BGChanged = true;
    TCustomCheckBox::SetChecked(value);
    if (changed && FCore.Painting()) Repaint();
}

void TsCheckBox::Notification(TComponent* component, TOperation operation) {
    TCustomCheckBox::Notification(component, operation);
    if (operation == opRemove && component == FCore.Images) FCore.Images = nullptr;
}

void TsCheckBox::WndProc(TMessage& message) {
    if (message.Msg == user::BM_SETCHECK && FCore.Painting()) {
        FCore.StopFade();
        return;
    }
    if (FCore.WndProc(message, [this](TMessage& m) { TCustomCheckBox::WndProc(m); })) return;
    if (message.Msg == user::BM_SETCHECK && ReadOnly() && FCore.Pressed) return;
    TCustomCheckBox::WndProc(message);
}

void TsCheckBox::CNCommand(TMessage& message) {
    // Skinned, the control toggles on its own release; read-only, it never toggles.
    if ((FCore.Painting() || ReadOnly()) && user::HIWORD(message.WParam) == user::BN_CLICKED) return;
    TCustomCheckBox::CNCommand(message);
}

}

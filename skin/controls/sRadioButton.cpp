// TsRadioButton: construction, properties and the radio button's own messages over the shared check core.
#include "skin/controls/sRadioButton.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/user/controls/Button.h"
#include "skin/controls/sControlFrame.h"
#include "skin/controls/sPushControl.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"

namespace korvex::skin {

using namespace korvex::classes;

TsRadioButton::TsRadioButton(TComponent* owner)
    : TRadioButton(owner), FSkinData(std::make_unique<TsCommonData>(this, false)), FCore(this, FSkinData.get()) {
    FSkinData->ControlKind = ckRadioButton;
    FCore.MaskName = [this] { return std::string(Checked() ? "RADIOCHECKED" : "RADIOUNCHECKED"); };
    FCore.CheckedMaskName = [] { return std::string("RADIOCHECKED"); };
    FCore.Release = [this] { SetChecked(true); };   // a checked radio button stays checked
    FCore.Alignment = [this] { return Alignment(); };
}

TsRadioButton::~TsRadioButton() {
    FCore.StopFade();
}

TClass TsRadioButton::StaticClass() {
    static const TClassInfo info = MakeClass<TsRadioButton, TRadioButton>("TsRadioButton", [](auto& p) {
        p.Enum("Alignment", &TsRadioButton::Alignment, &TsRadioButton::SetAlignment, AlignmentIdents, taRightJustify);
        p.Bool("AutoSize", &TsRadioButton::AutoSize, &TsRadioButton::SetAutoSize, true);
        p.Bool("Checked", &TsRadioButton::Checked, &TsRadioButton::SetChecked, false);
        p.Event("OnClick", &TsRadioButton::OnClick);
        p.Object("SkinData", &TsRadioButton::SkinData);
        p.Set("DisabledKind", &TsRadioButton::DisabledKind, &TsRadioButton::SetDisabledKind, DisabledKindIdents,
            DefaultDisabledKind);
        p.Object("GlyphChecked", &TsRadioButton::GlyphChecked, &TsRadioButton::SetGlyphChecked);
        p.Object("GlyphUnChecked", &TsRadioButton::GlyphUnChecked, &TsRadioButton::SetGlyphUnChecked);
        p.Int("TextIndent", &TsRadioButton::TextIndent, &TsRadioButton::SetTextIndent, 0);
        p.Bool("MultiLine", &TsRadioButton::MultiLine, &TsRadioButton::SetMultiLine, false);
        p.Bool("ShowFocus", &TsRadioButton::ShowFocus, &TsRadioButton::SetShowFocus, true);
        p.Int("Margin", &TsRadioButton::Margin, &TsRadioButton::SetMargin, 2);
        p.Set("AnimatEvents", &TsRadioButton::AnimatEvents, &TsRadioButton::SetAnimatEvents, AnimatEventIdents,
            TacAnimatEvents {aeGlobalDef});
        p.Bool("ReadOnly", &TsRadioButton::ReadOnly, &TsRadioButton::SetReadOnly, false);
    });
    return &info;
}

void TsRadioButton::AfterConstruction() {
    TRadioButton::AfterConstruction();
    FSkinData->Loaded();
}

void TsRadioButton::Loaded() {
    TRadioButton::Loaded();
    FSkinData->Loaded();
    FCore.AdjustSize();
}

void TsRadioButton::Invalidate() {
    TRadioButton::Invalidate();
    if (FCore.AutoSize) FCore.MultiLine = false;
}

void TsRadioButton::SizeChanged() {
    if (FCore.AutoSize) FCore.AdjustSize();
    Invalidate();
}

void TsRadioButton::SetAutoSize(bool value) {
    if (FCore.AutoSize == value) return;
    FCore.AutoSize = value;
    SizeChanged();
}

void TsRadioButton::SetDisabledKind(TsDisabledKind value) {
    if (FCore.DisabledKind == value) return;
    FCore.DisabledKind = value;
    FSkinData->Invalidate();
}

void TsRadioButton::SetGlyphChecked(const TBitmap* value) {
    FCore.GlyphChecked->Assign(value);
    SizeChanged();
}

void TsRadioButton::SetGlyphUnChecked(const TBitmap* value) {
    FCore.GlyphUnChecked->Assign(value);
    SizeChanged();
}

void TsRadioButton::SetTextIndent(int value) {
    if (FCore.TextIndent == value) return;
    FCore.TextIndent = value;
    SizeChanged();
}

void TsRadioButton::SetMultiLine(bool value) {
    if (FCore.MultiLine == value) return;
    FCore.MultiLine = value;
    if (value && FCore.AutoSize) FCore.AutoSize = false;   // a wrapped caption needs the width it is given
    Invalidate();
}

void TsRadioButton::SetShowFocus(bool value) {
    if (FCore.ShowFocus == value) return;
    FCore.ShowFocus = value;
    Invalidate();
}

void TsRadioButton::SetMargin(int value) {
    if (FCore.Margin == value) return;
    FCore.Margin = value;
    SizeChanged();
}

void TsRadioButton::SetChecked(bool value) {
    if (ComponentState().Contains(csLoading)) {
        TRadioButton::SetChecked(value);
        return;
    }
    const bool changed = value != Checked();
    if (changed) FSkinData->BGChanged = true;
    TRadioButton::SetChecked(value);
    if (changed && FCore.Painting()) Repaint();
}

void TsRadioButton::WndProc(TMessage& message) {
    if (message.Msg == user::BM_SETCHECK && FCore.Painting()) {
        FCore.StopFade();
        const bool value = message.WParam != 0;
        if (value != Checked()) SetChecked(value);
        FSkinData->Invalidate();
        return;
    }
    if (FCore.WndProc(message, [this](TMessage& m) { TRadioButton::WndProc(m); })) return;
    if (message.Msg == user::BM_SETCHECK && ReadOnly() && FCore.Pressed) return;
    TRadioButton::WndProc(message);
}

void TsRadioButton::CNCommand(TMessage& message) {
    // Skinned, the control checks itself on its own release; read-only, it never changes.
    if ((FCore.Painting() || ReadOnly()) && user::HIWORD(message.WParam) == user::BN_CLICKED) return;
    TRadioButton::CNCommand(message);
}

}

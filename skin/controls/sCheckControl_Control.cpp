// TacCheckControl: the skin data, the core and the shared properties of the skinned check box and radio button.
#include "skin/controls/sCheckControl.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCheckBox.h"
#include "platform/classes/TRadioButton.h"
#include "platform/user/controls/Button.h"
#include "skin/engine/sCommonData.h"

#include <type_traits>

namespace korvex::skin {

using namespace korvex::classes;

template <class Base>
TacCheckControl<Base>::TacCheckControl(TComponent* owner, TacControlKind kind)
    : Base(owner), FSkinData(std::make_unique<TsCommonData>(this, false)), FCore(this, FSkinData.get()) {
    FSkinData->ControlKind = kind;
    FCore.Alignment = [this] { return this->Alignment(); };
}

template <class Base>
TacCheckControl<Base>::~TacCheckControl() {
    FCore.StopFade();
}

template <class Base>
void TacCheckControl<Base>::AfterConstruction() {
    Base::AfterConstruction();
    FSkinData->Loaded();
}

template <class Base>
void TacCheckControl<Base>::Loaded() {
    Base::Loaded();
    FSkinData->Loaded();
    FCore.AdjustSize();
}

template <class Base>
void TacCheckControl<Base>::Invalidate() {
    Base::Invalidate();
    if (FCore.AutoSize) FCore.MultiLine = false;
}

template <class Base>
void TacCheckControl<Base>::SizeChanged() {
    if (FCore.AutoSize) FCore.AdjustSize();
    Invalidate();
}

template <class Base>
void TacCheckControl<Base>::SetAutoSize(bool value) {
    if (FCore.AutoSize == value) return;
    FCore.AutoSize = value;
    SizeChanged();
}

template <class Base>
void TacCheckControl<Base>::SetDisabledKind(TsDisabledKind value) {
    if (FCore.DisabledKind == value) return;
    FCore.DisabledKind = value;
    FSkinData->Invalidate();
}

template <class Base>
void TacCheckControl<Base>::SetGlyphChecked(const TBitmap* value) {
    FCore.GlyphChecked->Assign(value);
    SizeChanged();
}

template <class Base>
void TacCheckControl<Base>::SetGlyphUnChecked(const TBitmap* value) {
    FCore.GlyphUnChecked->Assign(value);
    SizeChanged();
}

template <class Base>
void TacCheckControl<Base>::SetTextIndent(int value) {
    if (FCore.TextIndent == value) return;
    FCore.TextIndent = value;
    SizeChanged();
}

template <class Base>
void TacCheckControl<Base>::SetMultiLine(bool value) {
    if (FCore.MultiLine == value) return;
    FCore.MultiLine = value;
    if (value && FCore.AutoSize) FCore.AutoSize = false;   // a wrapped caption needs the width it is given
    Invalidate();
}

template <class Base>
void TacCheckControl<Base>::SetShowFocus(bool value) {
    if (FCore.ShowFocus == value) return;
    FCore.ShowFocus = value;
    Invalidate();
}

template <class Base>
void TacCheckControl<Base>::SetMargin(int value) {
    if (FCore.Margin == value) return;
    FCore.Margin = value;
    SizeChanged();
}

template <class Base>
void TacCheckControl<Base>::SetChecked(bool value) {
    // The radio button's change is painted when its window takes BM_SETCHECK.
    if constexpr (std::is_same_v<Base, TRadioButton>) {
        Base::SetChecked(value);
    } else {
        if (this->ComponentState().Contains(csLoading)) {
            Base::SetChecked(value);
            return;
        }
        if (value != this->Checked()) FSkinData->BGChanged = true;
        Base::SetChecked(value);
        if (FSkinData->BGChanged) this->Repaint();
    }
}

template <class Base>
bool TacCheckControl<Base>::CanAutoSize(int& newWidth, int& newHeight) {
    if (!FCore.Painting()) return Base::CanAutoSize(newWidth, newHeight);
    int w = 0;
    int h = 0;
    if (!FCore.AutoSizeBounds(w, h)) return true;
    newWidth = w;
    newHeight = h;
    return true;
}

template <class Base>
void TacCheckControl<Base>::CNCommand(TMessage& message) {
    // A read-only control never changes, not even by a click on the plain native button.
    if (ReadOnly() && user::HIWORD(message.WParam) == user::BN_CLICKED) return;
    Base::CNCommand(message);
}

template class TacCheckControl<TCustomCheckBox>;
template class TacCheckControl<TRadioButton>;

}

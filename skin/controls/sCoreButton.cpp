// TsCoreButton: construction, the core's settings and the click and focus messages of TsButton and TsBitBtn.
#include "skin/controls/sCoreButton.h"

#include "platform/classes/TBitBtn.h"
#include "platform/classes/TButton.h"
#include "platform/user/controls/Button.h"
#include "skin/engine/sCommonData.h"

namespace korvex::skin {

using namespace korvex::classes;

template <class TNativeButton>
TsCoreButton<TNativeButton>::TsCoreButton(TComponent* owner)
    : TNativeButton(owner), FSkinData(std::make_unique<TsCommonData>(this, true)), FCore(this, FSkinData.get()) {
    this->SetControlStyle(this->ControlStyle() - TControlStyle {csOpaque});
}

template <class TNativeButton>
TsCoreButton<TNativeButton>::~TsCoreButton() = default;

template <class TNativeButton>
void TsCoreButton<TNativeButton>::AfterConstruction() {
    TNativeButton::AfterConstruction();
    FCore.InitCache();
}

template <class TNativeButton>
void TsCoreButton<TNativeButton>::Loaded() {
    TNativeButton::Loaded();
    FCore.InitCache();
}

template <class TNativeButton>
void TsCoreButton<TNativeButton>::SetDisabledKind(TsDisabledKind value) {
    if (FCore.DisabledKind == value) return;
    FCore.DisabledKind = value;
    FSkinData->Invalidate();
}

template <class TNativeButton>
void TsCoreButton<TNativeButton>::WndProc(TMessage& message) {
    if (FCore.WndProc(message, [this](TMessage& m) { TNativeButton::WndProc(m); })) return;
    TNativeButton::WndProc(message);
}

template <class TNativeButton>
void TsCoreButton<TNativeButton>::CNCommand(TMessage& message) {
    if (FCore.Painting() && user::HIWORD(message.WParam) == user::BN_CLICKED) return;
    TNativeButton::CNCommand(message);
}

// A skinned default button looks active unless another skinned push button has the focus.
template <class TNativeButton>
void TsCoreButton<TNativeButton>::CMFocusChanged(TMessage& message) {
    if (FCore.Painting() && this->Default()) {
        auto* focused = reinterpret_cast<TWinControl*>(message.LParam);
        const bool pushButton = dynamic_cast<TsCoreButton<TButton>*>(focused) != nullptr
            || dynamic_cast<TsCoreButton<TBitBtn>*>(focused) != nullptr;
        const bool active = !pushButton || focused == this;
        if (active != FCore.ActiveDefault) {
            FCore.ActiveDefault = active;
            FSkinData->Invalidate();
        }
    }
    TNativeButton::CMFocusChanged(message);
}

template class TsCoreButton<TButton>;
template class TsCoreButton<TBitBtn>;

}

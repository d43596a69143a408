// TsCoreButton: what TsButton and TsBitBtn add alike to their native button: the skin data, the TacButtonCore
// that presses, paints and fades them, its published settings, and the click and focus messages.
#pragma once

#include "skin/controls/sButtonCore.h"

#include <memory>

namespace korvex::skin {

class TsCommonData;

// Instantiated for TButton and TBitBtn (sCoreButton.cpp); each button's header declares its own.
template <class TNativeButton>
class TsCoreButton : public TNativeButton {
public:
    void AfterConstruction() override;   // the native button's, then the core's cache
    void Loaded() override;   // likewise

    TsCommonData* SkinData() const { return FSkinData.get(); }
    bool Down() const { return FCore.Down(); }   // pressed by the user or held by the program
    void SetDown(bool value) { FCore.SetDown(value); }
    int FocusMargin() const { return FCore.FocusMargin; }
    void SetFocusMargin(int value) { FCore.FocusMargin = value; }
    TsDisabledKind DisabledKind() const { return FCore.DisabledKind; }
    void SetDisabledKind(TsDisabledKind value);   // the skin data invalidated only on change
    TacAnimatEvents AnimatEvents() const { return FCore.AnimatEvents; }
    void SetAnimatEvents(TacAnimatEvents value) { FCore.AnimatEvents = value; }

    classes::TNotifyEvent& OnMouseEnter = FCore.OnMouseEnter;
    classes::TNotifyEvent& OnMouseLeave = FCore.OnMouseLeave;

    virtual int CurrentState() const { return FCore.CurrentState(); }

protected:
    explicit TsCoreButton(classes::TComponent* owner);   // not opaque: the skin's corners show the parent
    ~TsCoreButton() override;

    TacButtonCore& Core() { return FCore; }
    const TacButtonCore& Core() const { return FCore; }

    void WndProc(classes::TMessage& message) override;   // the core first, then the native button
    // While skinned the button clicks on release itself; the native notification would click twice.
    void CNCommand(classes::TMessage& message) override;
    void CMFocusChanged(classes::TMessage& message) override;   // the active default look

private:
    std::unique_ptr<TsCommonData> FSkinData;
    TacButtonCore FCore;
};

}

// TsButton: the push button painted from the skin (section BUTTON): background and border by state, a window
// region cut from the border, the caption and a dotted focus mark.
#pragma once

#include "platform/classes/TButton.h"
#include "skin/controls/sButtonCore.h"

#include <memory>
#include <string>

namespace korvex::classes {
class TCanvas;
}

namespace korvex::skin {

class TsCommonData;

class TsButton : public classes::TButton {
public:
    explicit TsButton(classes::TComponent* owner);
    ~TsButton() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;
    void Loaded() override;

    TsCommonData* SkinData() const { return FSkinData.get(); }
    bool Down() const { return FCore.Down(); }   // pressed by the user or held by the program
    void SetDown(bool value) { FCore.SetDown(value); }
    int FocusMargin() const { return FCore.FocusMargin; }
    void SetFocusMargin(int value) { FCore.FocusMargin = value; }
    TsDisabledKind DisabledKind() const { return FCore.DisabledKind; }
    void SetDisabledKind(TsDisabledKind value);
    TacAnimatEvents AnimatEvents() const { return FCore.AnimatEvents; }
    void SetAnimatEvents(TacAnimatEvents value) { FCore.AnimatEvents = value; }

    classes::TNotifyEvent& OnMouseEnter = FCore.OnMouseEnter;
    classes::TNotifyEvent& OnMouseLeave = FCore.OnMouseLeave;

    virtual int CurrentState() const { return FCore.CurrentState(); }

protected:
    void WndProc(classes::TMessage& message) override;
    // While skinned the button clicks on release itself; the native notification would click twice.
    void CNCommand(classes::TMessage& message) override;
    void CMFocusChanged(classes::TMessage& message) override;
    virtual void PrepareCache();

private:
    std::unique_ptr<TsCommonData> FSkinData;
    TacButtonCore FCore;
};

// The caption's size for the button's width (DT_CALCRECT, word-wrapped in maxWidth); (0, 0) for no text.
classes::TSize ButtonCaptionSize(classes::TCanvas* canvas, const std::string& caption, int maxWidth);

}

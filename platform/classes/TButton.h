// TButton: the push button of the forms over the native BUTTON class: default and cancel buttons, modal results.
#pragma once

#include "platform/classes/TButtonControl.h"

namespace korvex::classes {

// Clicked by the mouse, the space bar, its accelerator, and through the form's dialog keys: Enter clicks the
// active default button (Default, or whichever button has the focus), Escape the Cancel button. A click sets
// the parent form's ModalResult to the button's (when not mrNone) before OnClick.
class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    // The button Enter clicks now: the focused button, or the default one while no button has the focus.
    bool Active() const { return FActive; }

    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    // Shows the button as the default button or not (BM_SETSTYLE here; an owner-drawn button repaints).
    virtual void SetButtonStyle(bool isDefault);
    void CNCommand(TMessage& m) override;
    void CMDialogKey(TMessage& m) override;
    void CMDialogChar(TMessage& m) override;
    void CMFocusChanged(TMessage& m) override;

private:
    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false;
    TModalResult FModalResult = mrNone;
};

}

// TButtonControl: the base of the controls over the native BUTTON class (push buttons, check boxes, radio buttons).
#pragma once

#include "platform/classes/TWinControl.h"

#include <string>

namespace korvex::classes {

// A press on a control that does not have the focus gives it the focus first, with clicks disabled: a radio
// button's report of being reached then does not count as a click. Checked is the check state of the kinds
// that have one (plain push buttons have none).
class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool Checked() const { return GetChecked(); }
    virtual void SetChecked(bool value) { (void)value; }
    bool ClicksDisabled() const { return FClicksDisabled; }
    void SetClicksDisabled(bool value) { FClicksDisabled = value; }

protected:
    virtual bool GetChecked() const { return false; }
    void WndProc(TMessage& message) override;
    virtual void CNCommand(TMessage& m) { (void)m; }   // BN_* notifications of the window
    void ActionChange(TObject* sender, bool checkDefaults) override;   // also the action's Checked

private:
    bool FClicksDisabled = false;
};

// Whether key is the accelerator of caption: the character after a single "&", without case.
bool IsAccel(char32_t key, const std::string& caption);

}

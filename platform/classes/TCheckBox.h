// TCustomCheckBox and TCheckBox: the check box over the native BUTTON class, with an optional grey state.
#pragma once

#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TButtonControl.h"

#include <string_view>

namespace korvex::classes {

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
inline constexpr std::string_view CheckBoxStateIdents[] = {"cbUnchecked", "cbChecked", "cbGrayed"};
// Where the text goes: taRightJustify puts the box on the left and the text on its right.
using TLeftRight = TAlignment;

// A click (mouse, space bar, accelerator) calls Toggle: unchecked -> checked (grey first with AllowGrayed),
// checked -> unchecked, grey -> checked. Every change of State, by the user or the program, sends CM_CHANGED
// and fires OnClick (not while loading, nor while clicks are disabled).
class TCustomCheckBox : public TButtonControl {
public:
    explicit TCustomCheckBox(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TLeftRight Alignment() const { return FAlignment; }
    void SetAlignment(TLeftRight value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }
    void SetChecked(bool value) override { SetState(value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    virtual void SetState(TCheckBoxState value);
    virtual void Toggle();

protected:
    bool GetChecked() const override { return FState == cbChecked; }
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void CNCommand(TMessage& m) override;
    void CMDialogChar(TMessage& m) override;

private:
    TLeftRight FAlignment = taRightJustify;
    bool FAllowGrayed = false;
    TCheckBoxState FState = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
public:
    explicit TCheckBox(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

}

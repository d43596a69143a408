// TRadioButton: the radio button over the native BUTTON class; checking one clears its siblings.
#pragma once

#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TButtonControl.h"

namespace korvex::classes {

// The radio buttons of one parent are one group: checking one (by the user or the program) clears the
// others and makes it the group's tab stop. The user checks one by a click, the space bar, its accelerator,
// or by reaching it with the arrow keys (the form moves the focus; the native button reports the visit). A
// checked button stays checked when clicked. A change to checked fires OnClick.
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    void SetChecked(bool value) override;   // true clears the siblings

protected:
    bool GetChecked() const override { return FChecked; }
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void CNCommand(TMessage& m) override;
    void CMDialogChar(TMessage& m) override;

private:
    void TurnSiblingsOff();

    TAlignment FAlignment = taRightJustify;
    bool FChecked = false;
};

}

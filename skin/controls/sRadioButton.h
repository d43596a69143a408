// TsRadioButton: the radio button painted from the skin (section RADIOBUTTON, circle images of GLOBALINFO),
// with the user's glyphs instead, read-only and auto-sized.
#pragma once

#include "platform/classes/TRadioButton.h"
#include "skin/controls/sCheckControl.h"

namespace korvex::skin {

class TsRadioButton : public TacCheckControl<classes::TRadioButton> {
public:
    explicit TsRadioButton(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

protected:
    void WndProc(classes::TMessage& message) override;
};

}

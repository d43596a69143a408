// TsButton: the push button painted from the skin (section BUTTON): background and border by state, a window
// region cut from the border, the caption and a dotted focus mark.
#pragma once

#include "platform/classes/TButton.h"
#include "skin/controls/sCoreButton.h"

#include <string>

namespace korvex::classes {
class TCanvas;
}

namespace korvex::skin {

extern template class TsCoreButton<classes::TButton>;

class TsButton : public TsCoreButton<classes::TButton> {
public:
    explicit TsButton(classes::TComponent* owner);
    ~TsButton() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

protected:
    virtual void PrepareCache();
    void ActionChange(classes::TObject* sender, bool checkDefaults) override;   // then the action's Enabled
};

// The caption's size for the button's width (DT_CALCRECT, word-wrapped in maxWidth); (0, 0) for no text.
classes::TSize ButtonCaptionSize(classes::TCanvas* canvas, const std::string& caption, int maxWidth);

}

// TCustomGroupBox and TGroupBox: a container with an etched frame and its caption at the top left.
#pragma once

#include "platform/classes/TCustomControl.h"

namespace korvex::classes {

// The frame runs through the middle of the caption's line; the children sit inside it, below the caption
// (AdjustClientRect). The accelerator of the caption focuses the first child that takes the focus.
class TCustomGroupBox : public TCustomControl {
public:
    explicit TCustomGroupBox(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

protected:
    void Paint() override;
    void AdjustClientRect(TRect& rect) override;
    int CaptionHeight();   // the font's line
    void CMDialogChar(TMessage& m) override;
    void CMTextChanged(TMessage& m) override;
    void CMFontChanged(TMessage& m) override;
};

class TGroupBox : public TCustomGroupBox {
public:
    explicit TGroupBox(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }
};

}

// TCommonControl: a control over a native common control that notifies its parent and has its parts drawn.
#pragma once

#include "platform/classes/TControlCanvas.h"
#include "platform/classes/TWinControl.h"

#include <memory>

namespace korvex::classes {

// The native control's reports come back as CN_NOTIFY, its owner-drawn parts (tabs, header sections) as
// CN_DRAWITEM, which draws them on Canvas.
class TCommonControl : public TWinControl {
public:
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TCanvas* Canvas() const { return FCanvas.get(); }   // the paint DC while a part is drawn

protected:
    explicit TCommonControl(TComponent* owner);

    void WndProc(TMessage& message) override;   // CN_NOTIFY and CN_DRAWITEM
    virtual void CNNotify(TMessage& m) = 0;
    virtual void CNDrawItem(TMessage& m) = 0;

    std::unique_ptr<TControlCanvas> FCanvas;
};

}

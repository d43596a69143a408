// TGraphicControl: a windowless control painted by its parent's WM_PAINT on a canvas at its own bounds.
#pragma once

#include "platform/classes/TCanvas.h"
#include "platform/classes/TControl.h"

namespace korvex::classes {

class TControlCanvas;

// Gets WM_PAINT with the parent's DC in WParam (origin moved to the control, clip cut to its bounds), sets it
// as the canvas handle and calls Paint.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TCanvas* Canvas() const;

protected:
    virtual void Paint() { }
    void Dispatch(TMessage& message) override;
    virtual void WMPaint(TMessage& m);

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

}

// TCustomControl: a windowed control that paints itself on a canvas: Paint is called from its WM_PAINT.
#pragma once

#include "platform/classes/TCanvas.h"
#include "platform/classes/TWinControl.h"

namespace korvex::classes {

// WM_PAINT sets csCustomPaint, paints through PaintHandler (the control around its opaque windowless
// children, then those), with the canvas on the paint DC while Paint runs.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TCanvas* Canvas() const;

protected:
    virtual void Paint() { }
    void PaintWindow(user::HDC dc) override;
    void WMPaint(TMessage& m) override;

private:
    std::unique_ptr<TControlCanvas> FCanvas;
};

}

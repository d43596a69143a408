// TControlCanvas: the canvas of a control, on its paint DC while it paints and on a window DC otherwise.
#pragma once

#include "platform/classes/TCanvas.h"
#include "platform/user/UserTypes.h"

namespace korvex::classes {

class TControl;

// While the control paints, the library sets the paint DC as the handle. Asked for a handle at any other time
// the canvas gets one itself: the control's window DC, or for a windowless control its parent's, moved to the
// control's position and clipped to its bounds. Such a DC is kept until FreeHandle, the control's window going
// away, or FreeDeviceContexts (the application calls it when idle).
class TControlCanvas : public TCanvas {
public:
    TControlCanvas() = default;
    explicit TControlCanvas(TControl* control)
        : FControl(control) { }
    ~TControlCanvas() override;

    TControl* Control() const { return FControl; }
    void SetControl(TControl* value);
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TControl* FControl = nullptr;
    user::HDC FDeviceContext = nullptr;
    user::HWND FWindowHandle = nullptr;
};

// Releases every DC the control canvases took for themselves.
void FreeDeviceContexts();

// Lends a canvas a paint DC for the length of a scope, with the canvas locked; the DC goes back at the end,
// also when painting throws.
class CanvasPaintScope {
public:
    CanvasPaintScope(TCanvas& canvas, user::HDC dc)
        : FCanvas(canvas) {
        FCanvas.Lock();
        FCanvas.SetHandle(dc);
    }
    ~CanvasPaintScope() {
        FCanvas.SetHandle(nullptr);
        FCanvas.Unlock();
    }
    CanvasPaintScope(const CanvasPaintScope&) = delete;
    CanvasPaintScope& operator=(const CanvasPaintScope&) = delete;

private:
    TCanvas& FCanvas;
};

}

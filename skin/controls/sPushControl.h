// The paint cycle the windowed push controls share (buttons, check boxes, radio buttons): the cache rendered
// when it is stale, copied whole, and the window region built during the render handed to the window.
#pragma once

#include "platform/classes/ControlMessages.h"
#include "platform/gdi/Types.h"

#include <functional>

namespace korvex::classes {
class TControl;
class TWinControl;
}

namespace korvex::skin {

class TsCommonData;

// A window region being built while the cache renders; freed unless it was handed to the window.
class TacPendingRegion {
public:
    TacPendingRegion() = default;
    ~TacPendingRegion() { Reset(); }
    TacPendingRegion(const TacPendingRegion&) = delete;
    TacPendingRegion& operator=(const TacPendingRegion&) = delete;

    gdi::HRGN Get() const { return FRegion; }
    void Reset(gdi::HRGN region = nullptr);   // frees the old one
    gdi::HRGN Release();   // the caller owns it now

private:
    gdi::HRGN FRegion = nullptr;
};

// What one push control's paint needs.
struct TacPushPaint {
    classes::TWinControl* Control = nullptr;
    TsCommonData* Data = nullptr;
    int State = 0;   // 0 normal, 1 hot, 2 pressed
    std::function<void()> Prepare;   // renders the cache (clears BGChanged)
    bool* RegionChanged = nullptr;   // buttons: a new window region is due
    TacPendingRegion* Region = nullptr;
};

// WM_PAINT of a skinned push control: on the message's DC, else between BeginPaint and EndPaint. Nothing is
// drawn while the skin state is updating. The region goes to the window without a redraw.
void PaintPushControl(const TacPushPaint& paint, classes::TMessage& message);

// True when a part of the control lies outside its parent's client area (the cache missed a part of it).
bool BoundsOutsideParentClient(const classes::TControl* control);

}

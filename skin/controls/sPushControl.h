// What the windowed push controls share (buttons, check boxes, radio buttons): the end of a press, and the
// paint cycle (the cache rendered when stale, copied whole, the region built during the render handed over).
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
class TsFadeTimer;

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
    TsFadeTimer** FadeTimer = nullptr;   // the control's cross-fade, nil while none runs
};

// WM_PAINT of a skinned push control: on the message's DC, else between BeginPaint and EndPaint through a window
// DC. Nothing is drawn while the skin state is updating or a cross-fade runs (its frames are on screen); a fade
// that has ended is stopped. The region goes to the window without a redraw.
void PaintPushControl(const TacPushPaint& paint, classes::TMessage& message);

// ---- Skin commands --------------------------------------------------------------------------------------------
// The answers every push control gives whatever its state: code 7 (LParam := 1) and 16 (its fade stopped) are
// done (true); 23 renders the cache through prepare and goes on (false), as does every other code.
bool PushControlQuery(classes::TMessage& message, TsFadeTimer*& fadeTimer, const std::function<void()>& prepare);
// Codes 1 to 3 (new skin, skin removed, refresh) from the control's own manager: the fade stopped and the
// common handling done, true; the caller adds its own steps. False for anything else.
bool PushControlSkinChange(classes::TMessage& message, TsCommonData* data, TsFadeTimer*& fadeTimer);

// ---- Presses ----------------------------------------------------------------------------------------------
// A press by the left button or the space bar shows the control pressed and ends in one action on release.

// The point of a mouse message (client coordinates in LParam) lies in the control's client area.
bool MessageInside(const classes::TControl* control, const classes::TMessage& message);
// co_ Ends a press: pressed := False, then action when run is set. False when the action freed the control or
// began its destruction: the caller returns at once.
bool FinishPress(classes::TControl* control, bool& pressed, bool run, const std::function<void()>& action);

// True when a part of the control lies outside its parent's client area (the cache missed a part of it).
bool BoundsOutsideParentClient(const classes::TControl* control);

}

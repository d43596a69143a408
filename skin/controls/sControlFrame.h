// What every skinned control shares: the skin-command prologue, the WM_PAINT wrapper of windowed
// containers, the container paint routine, and a saturating float-to-int conversion for computed sizes.
#pragma once

#include "platform/classes/ControlMessages.h"
#include "platform/classes/GraphicsTypes.h"
#include "platform/gdi/Types.h"

#include <functional>
#include <string>

namespace korvex::classes {
class TBitmap;
class TCanvas;
class TComponent;
class TControl;
class TWinControl;
}

namespace korvex::skin {

class TsCommonData;

bool ControlDestroying(const classes::TComponent* component);
bool ControlDesigning(const classes::TComponent* component);

// ---- Numbers -----------------------------------------------------------------------------------------------
// A computed size or position as an int: NaN gives 0, out-of-range values the nearest int limit. Truncates.
int SaturateToInt(double value);

// ---- Skin commands -----------------------------------------------------------------------------------------
// What a control adds to the shared handling of SM_SKINCMD. Unset hooks are skipped.
struct TacFrameHooks {
    bool Container = false;   // commands 1 to 3 go on to the children; code 10 is answered here
    std::function<void()> StopFade;   // controls with a fade timer (codes 1 to 3 and 16)
    std::function<void()> PrepareFade;   // code 23: render the new look into the cache now
    std::function<void()> RenderCache;   // code 9 with the mark set: render the cache now, without blitting
    std::function<void()> RemoveRegion;   // code 2, before the invalidate: drop a window region
    std::function<void()> NewSkin;   // code 1: mark what has to be rebuilt (a region-changed flag)
};

enum class TacStep { Done, Continue };

// The first step of every skinned control's WndProc, before any other test: codes 1, 2 and 3 from the
// control's own manager (fade stopped, CommonWndProc, children for containers: code 1 before, 2 and 3 after;
// then 2 invalidates and 3 repaints), 7 (LParam := 1), 16 (stop fading) and 23 (prepare, then continue).
// Done: the message was used and must not reach the base class.
TacStep SkinCommandPrologue(classes::TMessage& message, TsCommonData* data, const TacFrameHooks& hooks);

// The remaining skin commands of a paintable, skinned control: 6 (repaint after the parent's update), 9 (paint
// mark, rendering at once when set), 10 for containers, every other code to CommonMessage (containers) or
// CommonWndProc. Continue for other messages or when the control is not paintable and skinned.
TacStep SkinCommandWhenSkinned(classes::TMessage& message, TsCommonData* data, const TacFrameHooks& hooks);

// Paintable (created, loaded, on a parent, not being destroyed) and skinned with a loaded skin.
bool PaintsSkinned(const TsCommonData* data);

// ---- Painting ----------------------------------------------------------------------------------------------
// The WM_PAINT handler of a windowed container: csCustomPaint, the message's DC or else BeginPaint and GetDC, the
// DC's state saved, the canvas locked on the DC, paint(dc), and all of it undone in reverse order even on a throw.
void ContainerWMPaint(classes::TWinControl* control, classes::TCanvas* canvas, classes::TMessage& message,
    const std::function<void(gdi::HDC)>& paint);

// WM_ERASEBKGND and WM_PAINT of a skinned windowed container: nothing erased under the cache (answered 1), and
// the paint through ContainerWMPaint. Hidden outside design, a WM_PAINT is left to the caller (Continue) unless
// hidden is Paint. Done: the message was used.
enum class TacHiddenPaint { Skip, Paint };
TacStep ContainerPaintMessage(classes::TMessage& message, classes::TWinControl* control, classes::TCanvas* canvas,
    TacHiddenPaint hidden, const std::function<void(gdi::HDC)>& paint);

// WM_PRINT of a skinned bar: the control given WM_PAINT, then WM_NCPAINT, both with the message's parameters.
void PrintAsPaintMessages(classes::TWinControl* control, const classes::TMessage& message);

// The container paint routine onto dc: leaves while destroying, the parent is being made, unskinned or updating;
// renders the cache when BGChanged or cache-incomplete was set and no paint mark holds (background for state 0,
// then ownParts(cache) for captions, cells and OnPaint), frames it, blits it around opaque children, composes
// the windowless children and tells the windowed ones the parent has painted. onRendered runs after the render.
void PaintContainerSkin(classes::TWinControl* control, TsCommonData* data, gdi::HDC dc,
    const std::function<void(classes::TBitmap* cache)>& ownParts);

// Renders a container's cache (background, ownParts, BGChanged := False) without blitting.
void RenderContainerCache(classes::TWinControl* control, TsCommonData* data,
    const std::function<void(classes::TBitmap* cache)>& ownParts);

// The control's cache made when missing, at the control's size, its canvas with the control's font.
classes::TBitmap* ControlSizedCache(classes::TControl* control, TsCommonData* data);

// Cache-incomplete for a container whose background depends on what lies beneath: a corner point (inset by
// inset) lies outside the parent's client rectangle.
bool OutsideParentClient(const classes::TControl* control, int inset);

// Where the client area's top-left corner lies inside the window (the width of the frame on the left and top).
classes::TPoint ClientOffsetInWindow(const classes::TWinControl* control);

// Copies a cache that covers the whole window onto the non-client bands around the client area (the border,
// edges and bevels), on the window DC. Nothing without a cache or a window.
void BlitNonClientBands(classes::TWinControl* control, TsCommonData* data);

// A caption drawn the container way: the control's font, vertically centred on the height of "W", the flags'
// alignment with DT_NOPREFIX, in the section's colours, never hot; enabled as the control is, or always.
enum class TacAlwaysEnabled { No, Yes };
void PaintContainerCaption(classes::TControl* control, TsCommonData* data, classes::TCanvas* canvas,
    const std::string& text, classes::TRect r, unsigned alignFlags, TacAlwaysEnabled always = TacAlwaysEnabled::No);

}

// Control-tree and window routines of the skin engine: notifications down the tree, the colour query, the skin
// provider of a form, windowless children composed over a cache, owner and name look-ups, window questions.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/ControlMessages.h"
#include "platform/classes/Forward.h"
#include "platform/classes/GraphicsTypes.h"
#include "platform/classes/StdCtrlsTypes.h"
#include "platform/gdi/Types.h"

#include <string>

namespace korvex::skin {

// ---- Messages down the tree ----------------------------------------------------------------------------------
// SMC_PARENTUPDATED to every windowed child that is not being destroyed; a receiver's exception is swallowed.
void NotifyChildrenUpdated(classes::TWinControl* control);
// SMC_SETPAINTMARK (low word 0) to the control and, for a windowed one, to all its descendants.
void ResetPaintMarks(classes::TControl* control);
// The control's background colour as RGB: its SMC_GETCOLOR answer, else its Color. 0xFF00FF for no control.
classes::TColor QueryControlColor(classes::TWinControl* control);
// The record to the first skin provider among the form's components that is not being destroyed.
void PassToSkinProvider(classes::TCustomForm* form, classes::TMessage& message);

// ---- Windowless children over a cache ------------------------------------------------------------------------
// Paints the control's windowless children onto dc over the control's own cache (asked with SMC_GETCACHE).
// An empty clip box only marks the control's cache incomplete (SMC_SETCACHEINCOMPLETE).
void ComposeGraphicChildren(gdi::HDC dc, classes::TWinControl* control);

// ---- Window questions -----------------------------------------------------------------------------------------
// kind 0: WS_HSCROLL, 1: WS_VSCROLL, 3: both; anything else false.
bool HasScrollBar(user::HWND window, int kind);
void GetWorkAreaRect(classes::TRect& rect);
// Not null, not creating its window, reading state, loading or being destroyed, and on a parent.
bool IsControlPaintable(const classes::TControl* control);
// Shows the window without moving, sizing or activating it.
void ShowWindowNoActivate(classes::TWinControl* control);

// ---- Owners and names -----------------------------------------------------------------------------------------
classes::TCustomForm* GetOwnerForm(classes::TComponent* component);   // up the Owner chain; nullptr when none
// The frame class that GetOwnerFrame and dotted paths look for; nothing here sets it.
inline classes::TClass FrameClass = nullptr;
classes::TComponent* GetOwnerFrame(classes::TComponent* component);
// A plain name among the owner's components, without case; "A.B" finds B inside the frame A (nullptr here).
classes::TComponent* FindComponentByPath(classes::TComponent* owner, const std::string& name);
// DrawText flags for an alignment: DT_LEFT / DT_RIGHT / DT_CENTER with DT_VCENTER and DT_EXPANDTABS.
unsigned TextAlignFlags(const classes::TControl* control, classes::TAlignment alignment);

}

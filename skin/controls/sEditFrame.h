// What the skinned edits share: the window DC of a frame paint, the 2-pixel frame strips copied from the cache,
// the cache-incomplete test, rendering of the cache, and the bound label's upkeep after each message.
#pragma once

#include "platform/classes/ControlMessages.h"
#include "platform/classes/GraphicsTypes.h"
#include "platform/gdi/Types.h"
#include "platform/user/UserTypes.h"
#include "skin/controls/sControlFrame.h"
#include "skin/engine/sPixelAccess.h"

#include <functional>
#include <string>

namespace korvex::classes {
class TBitmap;
class TControl;
class TCustomEdit;
class TWinControl;
}

namespace korvex::skin {

class TsBoundLabel;
class TsCommonData;

// The DC of a frame paint: the one given (a WM_PRINT or WM_PAINT wParam), else the window DC (origin at the
// window's top-left, the non-client border included), released at the end of the scope. Saved and restored.
class TacFrameDc {
public:
    TacFrameDc(user::HWND window, gdi::HDC given);
    ~TacFrameDc();
    TacFrameDc(const TacFrameDc&) = delete;
    TacFrameDc& operator=(const TacFrameDc&) = delete;
    gdi::HDC Dc() const { return FDc; }

private:
    user::HWND FWindow;
    gdi::HDC FDc;
    bool FOwned;
    int FSaved = 0;
};

// The four 2-pixel strips of the frame (top, left, bottom, right), copied from the cache to the same places.
void BlitFrameStrips(const classes::TControl* control, classes::TBitmap* cache, gdi::HDC dc);

// The control's bounds do not lie wholly inside its parent's client rectangle.
bool OutsideParentClientRect(const classes::TControl* control);

// Before a paint from the cache: BGChanged also when the cache was incomplete or the parent's is; then
// cache-incomplete worked out again for this paint.
void CheckEditCache(classes::TControl* control, TsCommonData* data);

// The edit's cache: the section's look for state over the whole control (the parent's cache showing through),
// text(cache) when given, the disabled look when disabled; BGChanged := False.
void RenderEditCache(classes::TControl* control, TsCommonData* data, int state, TsDisabledKind disabledKind,
    const std::function<void(classes::TBitmap*)>& text);

// What an edit shows of its text in the cache: the text, or the password character as often as it has characters.
std::string ShownEditText(const classes::TCustomEdit* edit, const std::string& text);

// The frame paint: the frame strips from the cache (rendered first by prepare when BGChanged) onto the given DC
// or the window DC. Nothing without a window.
void PaintEditFrame(classes::TWinControl* control, TsCommonData* data, gdi::HDC given,
    const std::function<void()>& prepare);

// The whole paint from the cache inside BeginPaint/EndPaint onto the given DC or the window DC: nothing while
// the skin data is updating (it then stays updating until the parent has painted); otherwise the cache checked
// (CheckEditCache), rendered by prepare when BGChanged (unless skipWhenMarked and the paint mark is set), its
// frame corners refreshed and the whole of it copied.
void PaintEditFromCache(classes::TWinControl* control, TsCommonData* data, gdi::HDC given, bool skipWhenMarked,
    const std::function<void()>& prepare);

// The colours the native control paints its client area with kept in step with the section: Color := the
// section's HotColor while hot, else its Color (unless CustomColor); the font colour likewise from the hot or
// normal font colours (unless CustomFont). Set only when different.
void KeepEditColors(classes::TControl* control, TsCommonData* data, bool hot, bool fontToo = true);

// Invalidates the client area and the frame (the next paint shows a new state or look in both); now: they are
// painted before it returns.
void RedrawClientAndFrame(classes::TWinControl* control, bool now = false);

// After a focus or mouse message (WM_SETFOCUS, WM_KILLFOCUS, CM_MOUSEENTER, CM_MOUSELEAVE; others are ignored):
// when the hot state changed, the cache is marked and client and frame redrawn (hot or not decides who paints
// the client area, and the frame's state).
void FollowHotChange(const classes::TMessage& message, classes::TWinControl* control, TsCommonData* data, bool wasHot);

// What an edit adds to the skin commands 1 to 3 of its own manager, each after CommonWndProc. Unset: nothing.
struct TacEditCommandHooks {
    std::function<void()> NewSkin;   // code 1 (the border is made bsSingle and Ctl3D first)
    std::function<void()> Removing;   // code 2, before the window is made again
    std::function<void()> Refresh;   // code 3
    std::function<void()> ParentUpdated;   // code 6 while updating (Updating is cleared first)
    std::function<void()> RenderCache;   // code 9 with the paint mark set
};

// The start of the message handling of the edits built on the native edit: codes 1 to 3 of the own manager
// (hooks, and code 2 makes the window again), the shared prologue, every message to base while not skinned,
// code 6 and the other skin commands. Continue: an ordinary message of a skinned edit.
TacStep EditSkinPrologue(classes::TMessage& message, classes::TCustomEdit* edit, TsCommonData* data,
    const TacEditCommandHooks& hooks, const std::function<void(classes::TMessage&)>& base);

// After a control's own codes 1 to 3: the shared prologue, every message to base while not skinned, code 6
// (parentUpdated after Updating is cleared) and the other skin commands (renderCache for code 9). Continue: an
// ordinary message of a skinned control.
TacStep SkinCommandRest(classes::TMessage& message, TsCommonData* data, const std::function<void()>& parentUpdated,
    const std::function<void()>& renderCache, const std::function<void(classes::TMessage&)>& base);

// WM_PRINT of a skinned edit: the cache rendered first by prepare when BGChanged, then PrintEditSkin with the
// native edit's WM_PRINTCLIENT for the client area.
void PrintEditMessage(const classes::TMessage& message, classes::TWinControl* control, TsCommonData* data,
    bool fromCache, const std::function<void()>& prepare);

// Where the client area starts in the window (the width of the native border).
classes::TPoint ClientOffsetInWindow(user::HWND window);

// WM_PRINT of a skinned edit-like control into dc (origin at the window's corner with PRF_NONCLIENT, else at
// the client's): the whole cache when fromCache, else the native client (nativeClient with the DC's origin at
// the client's corner) under the frame strips.
void PrintEditSkin(classes::TWinControl* control, TsCommonData* data, gdi::HDC dc, intptr_t flags, bool fromCache,
    const std::function<void(gdi::HDC)>& nativeClient);

// After every message of a control with a bound label: CM_VISIBLECHANGED, CM_ENABLEDCHANGED and CM_BIDIMODECHANGED
// copy Visible, Enabled and BiDiMode to the label; those, WM_SIZE, WM_MOVE and WM_WINDOWPOSCHANGED re-align it.
void BoundLabelUpkeep(const classes::TMessage& message, classes::TControl* control, TsBoundLabel* bound);

}

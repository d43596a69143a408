// The skinned scroll bars of the multi-line edits: made for a host, fed from the native scroll information,
// moved back into the native control, freed.
#pragma once

#include "platform/classes/ControlTypes.h"
#include "platform/classes/TScrollBar.h"
#include "platform/user/UserTypes.h"

#include <functional>

namespace korvex::classes {
class TWinControl;
}

namespace korvex::skin {

class TsCommonData;
class TsScrollBar;

// A bar for host: owned by it, on the host's parent, the host's own manager, hidden, no tab stop, the kind
// given and the native bar's thickness (SM_CXVSCROLL / SM_CYHSCROLL). moved(bar) runs after the user moved it.
TsScrollBar* MakeEditBar(classes::TWinControl* host, TsCommonData* data, classes::TScrollBarKind kind,
    std::function<void(TsScrollBar*)> moved);

// Shows a bar that is not shown yet (ShowSkinScrollBar): showing raises it over its siblings, which repaints
// the host beneath, so a shown bar is left alone. A host on another parent takes the bar along.
void ShowEditBar(TsScrollBar* bar, classes::TControl* host);

// The frame of a multi-line edit onto its window DC: the strips from the cache (rendered first by prepare when
// BGChanged), then the gaps between the given bars (nullptr: none) and the client area in the control's Color (a
// vertical bar in the left half of the control has its gap on the left).
void PaintFrameBesideBars(classes::TWinControl* control, TsCommonData* data, TsScrollBar* vertBar, TsScrollBar* horzBar,
    const std::function<void()>& prepare);

// Frees the bar (when any) and clears the pointer.
void FreeEditBar(TsScrollBar*& bar);
void FreeEditBars(TsScrollBar*& vertBar, TsScrollBar*& horzBar);

// Clears the pointer to whichever bar is the component being removed (from the host's Notification).
void ForgetEditBars(const classes::TComponent* component, TsScrollBar*& vertBar, TsScrollBar*& horzBar);

// Whether the host's bars can be kept in step now: NotNow while it is created or destroyed, without a parent
// or a window; Free while it is not skinned, hidden (outside design) or smaller than 16 x 16; else Update.
enum class TacEditBarsStep { NotNow, Free, Update };
TacEditBarsStep EditBarsStep(classes::TWinControl* host, const TsCommonData* data);

// Makes the bar when wanted and missing (MakeEditBar), frees it when not wanted; returns it.
TsScrollBar* KeepEditBar(TsScrollBar*& bar, bool wanted, classes::TWinControl* host, TsCommonData* data,
    classes::TScrollBarKind kind, const std::function<void(TsScrollBar*)>& moved);

// Lays the bars (nullptr: none) over the native ones inside the host's 2-pixel frame, each shortened by the
// other's thickness, and shows them. A leftInset of 0 or more puts the vertical bar that far from the host's left
// edge instead of along its right one.
void PlaceEditBars(classes::TWinControl* host, TsScrollBar* vertBar, TsScrollBar* horzBar, int leftInset = -1);

// The native range onto the bar, without calling its hook. With something to scroll (nMax >= nMin and
// nMax - nPage + 1 > nMin, a page of 0 taken as 1) and withValues: Min nMin, Max nMax - nPage + 1, Position nPos, PageSize nPage,
// LargeChange the page (at least 1), Enabled as given. Otherwise Min 0, Max 1, Position -1 (so 0), PageSize nPage,
// disabled. A page longer than the text (nMax - nPage + 1 below nMin) thus never gives a Max below Min.
void FeedEditBar(TsScrollBar* bar, const user::SCROLLINFO& info, bool enabled, bool withValues = true);

// The bar's position sent to the host as WM_VSCROLL / WM_HSCROLL with code. A position past 16 bits is first
// written into the host's own bar, whose exact position the native control then takes.
void SendBarPosition(classes::TWinControl* host, TsScrollBar* bar, user::WORD code);

}

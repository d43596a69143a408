// The SCROLLBAR window class: a scroll bar control (SB_CTL) with range, page, position and thumb tracking.
#pragma once

#include "platform/user/ScrollBars.h"
#include "platform/user/UserTypes.h"

namespace korvex::user {

// Scroll bar control styles
inline constexpr DWORD SBS_HORZ = 0x0000;
inline constexpr DWORD SBS_VERT = 0x0001;
inline constexpr DWORD SBS_TOPALIGN = 0x0002;   // horizontal: the standard height at the top of the rectangle
inline constexpr DWORD SBS_LEFTALIGN = 0x0002;   // vertical: the standard width at the left
inline constexpr DWORD SBS_BOTTOMALIGN = 0x0004;
inline constexpr DWORD SBS_RIGHTALIGN = 0x0004;

inline constexpr const char* ScrollBarClassName = "SCROLLBAR";

// Registers "SCROLLBAR"; nonzero when the class exists afterwards.
//
// A new bar has the range 0..0 (SBM_* and the SB_CTL calls of ScrollBars.h set it). The control never moves
// itself: it reports to its parent with WM_HSCROLL / WM_VSCROLL (lParam: the bar) and the parent sets the
// position. A press on an arrow or a page area reports SB_LINE* / SB_PAGE* at once, again after
// ScrollRepeatDelayMs and then every ScrollRepeatMs while the pointer stays on it (a page area only until the
// thumb reaches the pointer); dragging the thumb reports SB_THUMBTRACK for each new position (GetScrollInfo
// with SIF_TRACKPOS reads it), and the release SB_THUMBPOSITION; every press ends with SB_ENDSCROLL. Keys:
// arrows SB_LINEUP / SB_LINEDOWN, Page Up and Down SB_PAGE*, Home SB_TOP, End SB_BOTTOM, each followed by
// SB_ENDSCROLL when the key is released. A click gives the bar the focus when it has WS_TABSTOP.
// SBS_TOPALIGN / SBS_BOTTOMALIGN (horizontal) and SBS_LEFTALIGN / SBS_RIGHTALIGN (vertical) give the bar its
// standard thickness at that side of the rectangle it was created with.
ATOM RegisterScrollBarClass();

inline constexpr unsigned ScrollRepeatDelayMs = 500;
inline constexpr unsigned ScrollRepeatMs = 100;

}

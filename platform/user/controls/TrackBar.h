// Track bar control "msctls_trackbar32": a thumb on a channel between a minimum and a maximum, with tick marks.
#pragma once

#include "platform/user/controls/ControlsCommon.h"

namespace korvex::user {

inline constexpr const char* TRACKBAR_CLASS = "msctls_trackbar32";

// Styles
inline constexpr DWORD TBS_AUTOTICKS = 0x0001;   // a tick at every TBM_SETTICFREQ step
inline constexpr DWORD TBS_HORZ = 0x0000;
inline constexpr DWORD TBS_VERT = 0x0002;
inline constexpr DWORD TBS_BOTTOM = 0x0000;   // ticks below (horizontal) ...
inline constexpr DWORD TBS_RIGHT = 0x0000;   // ... or right (vertical)
inline constexpr DWORD TBS_TOP = 0x0004;   // ticks above ...
inline constexpr DWORD TBS_LEFT = 0x0004;   // ... or left
inline constexpr DWORD TBS_BOTH = 0x0008;   // ticks on both sides, a square thumb
inline constexpr DWORD TBS_NOTICKS = 0x0010;
inline constexpr DWORD TBS_ENABLESELRANGE = 0x0020;
inline constexpr DWORD TBS_FIXEDLENGTH = 0x0040;   // the thumb's length comes from TBM_SETTHUMBLENGTH
inline constexpr DWORD TBS_NOTHUMB = 0x0080;
inline constexpr DWORD TBS_TOOLTIPS = 0x0100;
inline constexpr DWORD TBS_REVERSED = 0x0200;

// Messages
inline constexpr UINT TBM_GETPOS = WM_USER;
inline constexpr UINT TBM_GETRANGEMIN = WM_USER + 1;
inline constexpr UINT TBM_GETRANGEMAX = WM_USER + 2;
inline constexpr UINT TBM_GETTIC = WM_USER + 3;   // wParam: tick (not the first or last); result: position or -1
inline constexpr UINT TBM_SETTIC = WM_USER + 4;   // lParam: position of a manual tick
inline constexpr UINT TBM_SETPOS = WM_USER + 5;   // wParam: redraw; lParam: position
inline constexpr UINT TBM_SETRANGE = WM_USER + 6;   // wParam: redraw; lParam: MAKELONG(min, max)
inline constexpr UINT TBM_SETRANGEMIN = WM_USER + 7;   // wParam: redraw; lParam: min
inline constexpr UINT TBM_SETRANGEMAX = WM_USER + 8;
inline constexpr UINT TBM_CLEARTICS = WM_USER + 9;
inline constexpr UINT TBM_SETSEL = WM_USER + 10;   // wParam: redraw; lParam: MAKELONG(start, end)
inline constexpr UINT TBM_SETSELSTART = WM_USER + 11;
inline constexpr UINT TBM_SETSELEND = WM_USER + 12;
inline constexpr UINT TBM_GETTICPOS = WM_USER + 15;   // wParam: tick (not the first or last); result: pixel or -1
inline constexpr UINT TBM_GETNUMTICS = WM_USER + 16;   // ticks including the first and the last
inline constexpr UINT TBM_GETSELSTART = WM_USER + 17;
inline constexpr UINT TBM_GETSELEND = WM_USER + 18;
inline constexpr UINT TBM_CLEARSEL = WM_USER + 19;
inline constexpr UINT TBM_SETTICFREQ = WM_USER + 20;   // wParam: step of the automatic ticks
inline constexpr UINT TBM_SETPAGESIZE = WM_USER + 21;   // lParam: size; result: the old one
inline constexpr UINT TBM_GETPAGESIZE = WM_USER + 22;
inline constexpr UINT TBM_SETLINESIZE = WM_USER + 23;
inline constexpr UINT TBM_GETLINESIZE = WM_USER + 24;
inline constexpr UINT TBM_GETTHUMBRECT = WM_USER + 25;   // lParam: RECT*
// lParam: RECT*. For TBS_VERT the rectangle comes as if the bar were horizontal (x and y swapped), as Windows does.
inline constexpr UINT TBM_GETCHANNELRECT = WM_USER + 26;
inline constexpr UINT TBM_SETTHUMBLENGTH = WM_USER + 27;   // wParam: thickness across the bar (TBS_FIXEDLENGTH)
inline constexpr UINT TBM_GETTHUMBLENGTH = WM_USER + 28;

// Codes of the WM_HSCROLL / WM_VSCROLL the bar sends its parent (LOWORD of wParam; lParam: the bar). Only
// TB_THUMBPOSITION and TB_THUMBTRACK carry the position in the high word.
inline constexpr WORD TB_LINEUP = 0;
inline constexpr WORD TB_LINEDOWN = 1;
inline constexpr WORD TB_PAGEUP = 2;
inline constexpr WORD TB_PAGEDOWN = 3;
inline constexpr WORD TB_THUMBPOSITION = 4;
inline constexpr WORD TB_THUMBTRACK = 5;
inline constexpr WORD TB_TOP = 6;
inline constexpr WORD TB_BOTTOM = 7;
inline constexpr WORD TB_ENDTRACK = 8;

// Geometry: the channel runs TrackBarChannelMargin pixels in from both ends; the thumb is TrackBarThumbWidth
// long along the bar and the thumb length (default TrackBarDefaultThumbLength) across it.
inline constexpr int TrackBarChannelMargin = 8;
inline constexpr int TrackBarThumbWidth = 11;
inline constexpr int TrackBarDefaultThumbLength = 23;
inline constexpr int TrackBarTickLength = 3;
// Paging while the button is held on the channel: the first repeat after the delay, then one per interval.
inline constexpr UINT TrackBarRepeatDelay = 400;
inline constexpr UINT TrackBarRepeatInterval = 100;

bool RegisterTrackBarClass();

}

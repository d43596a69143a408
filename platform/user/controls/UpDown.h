// Up-down control "msctls_updown32": two arrow buttons that step a position, optionally shown in a buddy window.
#pragma once

#include "platform/user/controls/ControlsCommon.h"

namespace korvex::user {

inline constexpr const char* UPDOWN_CLASS = "msctls_updown32";

// Styles
inline constexpr DWORD UDS_WRAP = 0x0001;   // past one end the position goes on from the other
inline constexpr DWORD UDS_SETBUDDYINT = 0x0002;   // the buddy's text shows (and gives) the position
inline constexpr DWORD UDS_ALIGNRIGHT = 0x0004;   // sits at the buddy's right edge, the buddy narrowed
inline constexpr DWORD UDS_ALIGNLEFT = 0x0008;
inline constexpr DWORD UDS_AUTOBUDDY = 0x0010;   // the previous sibling becomes the buddy at creation
inline constexpr DWORD UDS_ARROWKEYS = 0x0020;   // Up and Down keys in the buddy (or the control) step
inline constexpr DWORD UDS_HORZ = 0x0040;   // left and right arrows; WM_HSCROLL instead of WM_VSCROLL
inline constexpr DWORD UDS_NOTHOUSANDS = 0x0080;   // no thousands separators in the buddy's text
inline constexpr DWORD UDS_HOTTRACK = 0x0100;

// Messages
inline constexpr UINT UDM_SETRANGE = WM_USER + 101;   // lParam: MAKELONG(max, min) (16-bit)
inline constexpr UINT UDM_GETRANGE = WM_USER + 102;   // result: MAKELONG(max, min)
inline constexpr UINT UDM_SETPOS = WM_USER + 103;   // lParam: 16-bit position; result: the old one
inline constexpr UINT UDM_GETPOS = WM_USER + 104;   // result: MAKELONG(position, error)
inline constexpr UINT UDM_SETBUDDY = WM_USER + 105;   // wParam: the buddy (nullptr: none); result: the old one
inline constexpr UINT UDM_GETBUDDY = WM_USER + 106;
inline constexpr UINT UDM_SETACCEL = WM_USER + 107;   // wParam: count; lParam: const UDACCEL*
inline constexpr UINT UDM_GETACCEL = WM_USER + 108;   // wParam: count; lParam: UDACCEL*; result: count held
inline constexpr UINT UDM_SETBASE = WM_USER + 109;   // wParam: 10 or 16; result: the old base (0: refused)
inline constexpr UINT UDM_GETBASE = WM_USER + 110;
inline constexpr UINT UDM_SETRANGE32 = WM_USER + 111;   // wParam: min; lParam: max
inline constexpr UINT UDM_GETRANGE32 = WM_USER + 112;   // wParam: int* min; lParam: int* max
inline constexpr UINT UDM_SETPOS32 = WM_USER + 113;   // lParam: position; result: the old one
inline constexpr UINT UDM_GETPOS32 = WM_USER + 114;   // lParam: bool* error (may be null); result: position

// Notification (WM_NOTIFY) before each step; a nonzero answer stops the step. iDelta may be changed.
inline constexpr UINT UDN_FIRST = 0u - 721u;
inline constexpr UINT UDN_DELTAPOS = UDN_FIRST - 1;
struct NMUPDOWN {
    NMHDR hdr;
    int iPos = 0;   // the position before the step
    int iDelta = 0;   // the proposed change
};

// Acceleration: after nSec seconds of holding a button, steps of nInc increments.
struct UDACCEL {
    UINT nSec = 0;
    UINT nInc = 1;
};

inline constexpr int UD_MAXVAL = 0x7FFF;
inline constexpr int UD_MINVAL = -UD_MAXVAL;

// Auto-repeat while a button is held: the first repeat after this delay, then one per interval.
inline constexpr UINT UpDownRepeatDelay = 400;
inline constexpr UINT UpDownRepeatInterval = 100;

// Registers the class (once; false when it cannot be registered).
bool RegisterUpDownClass();

}

// Status bar control "msctls_statusbar32": parts with text along the parent's bottom, a simple mode, a size grip.
#pragma once

#include "platform/user/controls/ControlsCommon.h"

namespace korvex::user {

inline constexpr const char* STATUSCLASSNAME = "msctls_statusbar32";

// Styles (with CCS_TOP, CCS_NORESIZE, CCS_NOPARENTALIGN)
inline constexpr DWORD SBARS_SIZEGRIP = 0x0100;   // a grip at the bottom right that sizes the top-level window
inline constexpr DWORD SBARS_TOOLTIPS = 0x0800;

// Messages
inline constexpr UINT SB_SETTEXT = WM_USER + 1;   // wParam: part | SBT_*; lParam: const char* (or owner data)
inline constexpr UINT SB_GETTEXT = WM_USER + 2;   // wParam: part; lParam: char* of SB_GETTEXTLENGTH + 1 bytes
inline constexpr UINT SB_GETTEXTLENGTH = WM_USER + 3;   // result: MAKELONG(bytes, SBT_* type)
inline constexpr UINT SB_SETPARTS
    = WM_USER + 4;   // wParam: count (1..256); lParam: const int* right edges (-1: to the end)
inline constexpr UINT SB_GETPARTS = WM_USER + 6;   // wParam: room; lParam: int* or null; result: count
inline constexpr UINT SB_GETBORDERS = WM_USER + 7;   // lParam: int[3] (horizontal, vertical, between parts)
inline constexpr UINT SB_SETMINHEIGHT = WM_USER + 8;   // wParam: height of the text area
inline constexpr UINT SB_SIMPLE = WM_USER + 9;   // wParam: simple mode on
inline constexpr UINT SB_GETRECT = WM_USER + 10;   // wParam: part; lParam: RECT*; result: success
inline constexpr UINT SB_ISSIMPLE = WM_USER + 14;
inline constexpr UINT SB_SETBKCOLOR = CCM_SETBKCOLOR;

// Text types (in SB_SETTEXT's wParam with the part, and in SB_GETTEXT's result)
inline constexpr UINT SBT_NOBORDERS = 0x0100;
inline constexpr UINT SBT_POPOUT = 0x0200;   // raised instead of sunken
inline constexpr UINT SBT_RTLREADING = 0x0400;
inline constexpr UINT SBT_NOTABPARSING = 0x0800;   // tabs are text, not alignment
inline constexpr UINT SBT_OWNERDRAW = 0x1000;   // the parent draws the part (WM_DRAWITEM, itemData = lParam)
inline constexpr UINT SB_SIMPLEID = 0x00FF;   // the part number of the simple mode's text

// Notification when the simple mode changes.
inline constexpr UINT SBN_SIMPLEMODECHANGE = 0u - 880u;

inline constexpr int StatusBarMaxParts = 256;

bool RegisterStatusBarClass();

}

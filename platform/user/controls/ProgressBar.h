// Progress bar control "msctls_progress32": a position within a range shown as a growing bar.
#pragma once

#include "platform/user/controls/ControlsCommon.h"

namespace korvex::user {

inline constexpr const char* PROGRESS_CLASS = "msctls_progress32";

// Styles
inline constexpr DWORD PBS_SMOOTH = 0x01;   // one solid bar instead of blocks
inline constexpr DWORD PBS_VERTICAL = 0x04;   // grows from the bottom up

// Messages. The position always stays within the range.
inline constexpr UINT PBM_SETRANGE = WM_USER + 1;   // lParam: MAKELONG(min, max) 16-bit; result: the old pair
inline constexpr UINT PBM_SETPOS = WM_USER + 2;   // wParam: position; result: the old one
inline constexpr UINT PBM_DELTAPOS = WM_USER + 3;   // wParam: change; result: the old position
inline constexpr UINT PBM_SETSTEP = WM_USER + 4;   // wParam: step; result: the old step (default 10)
inline constexpr UINT PBM_STEPIT = WM_USER + 5;   // past the maximum it starts over from the minimum
inline constexpr UINT PBM_SETRANGE32 = WM_USER + 6;   // wParam: min; lParam: max
inline constexpr UINT PBM_GETRANGE = WM_USER + 7;   // wParam: true for min; lParam: PBRANGE* or null
inline constexpr UINT PBM_GETPOS = WM_USER + 8;
inline constexpr UINT PBM_SETBARCOLOR = WM_USER + 9;   // lParam: COLORREF or CLR_DEFAULT; result: the old
inline constexpr UINT PBM_SETBKCOLOR = CCM_SETBKCOLOR;
inline constexpr UINT PBM_GETSTEP = WM_USER + 13;
inline constexpr UINT PBM_GETBKCOLOR = WM_USER + 14;
inline constexpr UINT PBM_GETBARCOLOR = WM_USER + 15;

struct PBRANGE {
    int iLow = 0;
    int iHigh = 0;
};

// The length in pixels of the filled part for a position (0 for an empty range), as the control draws it.
int ProgressFillLength(int min, int max, int pos, int length);

bool RegisterProgressBarClass();

}

// The STATIC window class: text labels, etched lines and frames, filled and framed rectangles.
#pragma once

#include "platform/user/UserTypes.h"

namespace korvex::user {

// Static styles (the low five bits are the kind)
inline constexpr DWORD SS_LEFT = 0x00000000;   // word-wrapped, left aligned
inline constexpr DWORD SS_CENTER = 0x00000001;
inline constexpr DWORD SS_RIGHT = 0x00000002;
inline constexpr DWORD SS_ICON = 0x00000003;
inline constexpr DWORD SS_BLACKRECT = 0x00000004;
inline constexpr DWORD SS_GRAYRECT = 0x00000005;
inline constexpr DWORD SS_WHITERECT = 0x00000006;
inline constexpr DWORD SS_BLACKFRAME = 0x00000007;
inline constexpr DWORD SS_GRAYFRAME = 0x00000008;
inline constexpr DWORD SS_WHITEFRAME = 0x00000009;
inline constexpr DWORD SS_USERITEM = 0x0000000A;
inline constexpr DWORD SS_SIMPLE = 0x0000000B;   // one line, left aligned, not clipped by words
inline constexpr DWORD SS_LEFTNOWORDWRAP = 0x0000000C;
inline constexpr DWORD SS_OWNERDRAW = 0x0000000D;   // the parent paints it (WM_DRAWITEM)
inline constexpr DWORD SS_BITMAP = 0x0000000E;
inline constexpr DWORD SS_ENHMETAFILE = 0x0000000F;
inline constexpr DWORD SS_ETCHEDHORZ = 0x00000010;   // an etched line along the top
inline constexpr DWORD SS_ETCHEDVERT = 0x00000011;   // an etched line down the left
inline constexpr DWORD SS_ETCHEDFRAME = 0x00000012;
inline constexpr DWORD SS_TYPEMASK = 0x0000001F;
inline constexpr DWORD SS_REALSIZECONTROL = 0x00000040;
inline constexpr DWORD SS_NOPREFIX = 0x00000080;   // "&" is shown as it is
inline constexpr DWORD SS_NOTIFY = 0x00000100;   // takes the mouse and reports STN_CLICKED, STN_DBLCLK
inline constexpr DWORD SS_CENTERIMAGE = 0x00000200;   // text: one line, vertically centred
inline constexpr DWORD SS_RIGHTJUST = 0x00000400;
inline constexpr DWORD SS_REALSIZEIMAGE = 0x00000800;
inline constexpr DWORD SS_SUNKEN = 0x00001000;   // a sunken edge round the control
inline constexpr DWORD SS_EDITCONTROL = 0x00002000;
inline constexpr DWORD SS_ENDELLIPSIS = 0x00004000;
inline constexpr DWORD SS_PATHELLIPSIS = 0x00008000;
inline constexpr DWORD SS_WORDELLIPSIS = 0x0000C000;
inline constexpr DWORD SS_ELLIPSISMASK = 0x0000C000;

// Messages (images are kept for the caller; the plain look draws none)
inline constexpr UINT STM_SETICON = 0x0170;
inline constexpr UINT STM_GETICON = 0x0171;
inline constexpr UINT STM_SETIMAGE = 0x0172;
inline constexpr UINT STM_GETIMAGE = 0x0173;

// Notifications (with SS_NOTIFY)
inline constexpr WORD STN_CLICKED = 0;
inline constexpr WORD STN_DBLCLK = 1;
inline constexpr WORD STN_ENABLE = 2;
inline constexpr WORD STN_DISABLE = 3;

inline constexpr const char* StaticClassName = "STATIC";

// Registers "STATIC"; nonzero when the class exists afterwards. Text statics ask their parent for colours
// with WM_CTLCOLORSTATIC. Without SS_NOTIFY a static is transparent to the mouse (HTTRANSPARENT).
ATOM RegisterStaticClass();

}

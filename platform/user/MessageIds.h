// Window message numbers (the Windows values) and the codes that travel in their parameters.
#pragma once

#include "platform/user/UserTypes.h"

namespace korvex::user {

inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;   // lParam: client origin in parent client coordinates
inline constexpr UINT WM_SIZE = 0x0005;   // wParam: SIZE_*; lParam: client width and height
inline constexpr UINT WM_ACTIVATE = 0x0006;   // LOWORD(wParam): WA_*; HIWORD: minimized; lParam: the other window
inline constexpr UINT WM_SETFOCUS = 0x0007;   // wParam: the window that lost the focus
inline constexpr UINT WM_KILLFOCUS = 0x0008;   // wParam: the window that gets the focus
inline constexpr UINT WM_ENABLE = 0x000A;
inline constexpr UINT WM_SETREDRAW = 0x000B;
inline constexpr UINT WM_SETTEXT = 0x000C;   // lParam: const char* (UTF-8)
inline constexpr UINT WM_GETTEXT = 0x000D;   // wParam: buffer bytes; lParam: char*; result: bytes copied
inline constexpr UINT WM_GETTEXTLENGTH = 0x000E;   // result: bytes
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUERYENDSESSION = 0x0011;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ERASEBKGND = 0x0014;   // wParam: HDC; result nonzero: erased
inline constexpr UINT WM_SYSCOLORCHANGE = 0x0015;
inline constexpr UINT WM_ENDSESSION = 0x0016;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;   // wParam: shown; lParam: SW_PARENTCLOSING ... or 0
inline constexpr UINT WM_CTLCOLOR = 0x0019;
inline constexpr UINT WM_SETTINGCHANGE = 0x001A;
inline constexpr UINT WM_ACTIVATEAPP = 0x001C;   // wParam: active
inline constexpr UINT WM_FONTCHANGE = 0x001D;
inline constexpr UINT WM_CANCELMODE = 0x001F;
inline constexpr UINT WM_SETCURSOR = 0x0020;   // wParam: window under the cursor; lParam: hit code, mouse message
inline constexpr UINT WM_MOUSEACTIVATE = 0x0021;   // wParam: top-level; lParam: hit code, mouse message; MA_*
inline constexpr UINT WM_CHILDACTIVATE = 0x0022;
inline constexpr UINT WM_GETMINMAXINFO = 0x0024;   // lParam: MINMAXINFO*
inline constexpr UINT WM_DRAWITEM = 0x002B;
inline constexpr UINT WM_MEASUREITEM = 0x002C;
inline constexpr UINT WM_DELETEITEM = 0x002D;
inline constexpr UINT WM_SETFONT = 0x0030;
inline constexpr UINT WM_GETFONT = 0x0031;
inline constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;   // lParam: WINDOWPOS* (writable)
inline constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;   // lParam: WINDOWPOS*
inline constexpr UINT WM_NOTIFY = 0x004E;
inline constexpr UINT WM_CONTEXTMENU = 0x007B;
inline constexpr UINT WM_STYLECHANGING = 0x007C;   // wParam: GWL_STYLE or GWL_EXSTYLE; lParam: STYLESTRUCT*
inline constexpr UINT WM_STYLECHANGED = 0x007D;
inline constexpr UINT WM_GETICON = 0x007F;
inline constexpr UINT WM_SETICON = 0x0080;
inline constexpr UINT WM_NCCREATE = 0x0081;   // lParam: CREATESTRUCT*; result 0 stops the creation
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_NCCALCSIZE = 0x0083;   // wParam: valid rects; lParam: NCCALCSIZE_PARAMS* or RECT*
inline constexpr UINT WM_NCHITTEST = 0x0084;   // lParam: screen point; result: HT*
inline constexpr UINT WM_NCPAINT = 0x0085;   // wParam: 1 (whole frame) or an HRGN in screen coordinates
inline constexpr UINT WM_NCACTIVATE = 0x0086;   // wParam: draw as active
inline constexpr UINT WM_GETDLGCODE = 0x0087;
// WM_GETDLGCODE answers: the keys and characters the control keeps from the dialog navigation.
inline constexpr LRESULT DLGC_WANTARROWS = 0x0001;
inline constexpr LRESULT DLGC_WANTTAB = 0x0002;
inline constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
inline constexpr LRESULT DLGC_WANTMESSAGE = 0x0004;
inline constexpr LRESULT DLGC_HASSETSEL = 0x0008;
inline constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
inline constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
inline constexpr LRESULT DLGC_RADIOBUTTON = 0x0040;
inline constexpr LRESULT DLGC_WANTCHARS = 0x0080;
inline constexpr LRESULT DLGC_STATIC = 0x0100;
inline constexpr LRESULT DLGC_BUTTON = 0x2000;
inline constexpr UINT WM_NCMOUSEMOVE = 0x00A0;   // wParam: hit code; lParam: screen point
inline constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr UINT WM_NCLBUTTONUP = 0x00A2;
inline constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
inline constexpr UINT WM_NCRBUTTONDOWN = 0x00A4;
inline constexpr UINT WM_NCRBUTTONUP = 0x00A5;
inline constexpr UINT WM_NCRBUTTONDBLCLK = 0x00A6;
inline constexpr UINT WM_NCMBUTTONDOWN = 0x00A7;
inline constexpr UINT WM_NCMBUTTONUP = 0x00A8;
inline constexpr UINT WM_NCMBUTTONDBLCLK = 0x00A9;
inline constexpr UINT WM_KEYFIRST = 0x0100;
inline constexpr UINT WM_KEYDOWN = 0x0100;   // wParam: VK_*; lParam: repeat, scan code, flags
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;   // wParam: the Unicode code point
inline constexpr UINT WM_DEADCHAR = 0x0103;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_SYSCHAR = 0x0106;
inline constexpr UINT WM_SYSDEADCHAR = 0x0107;
inline constexpr UINT WM_KEYLAST = 0x0109;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;   // wParam: SC_* (low four bits are the system's); lParam: point
inline constexpr UINT WM_TIMER = 0x0113;   // wParam: timer id; lParam: TIMERPROC or 0
inline constexpr UINT WM_HSCROLL = 0x0114;
inline constexpr UINT WM_VSCROLL = 0x0115;
inline constexpr UINT WM_INITMENU = 0x0116;
inline constexpr UINT WM_INITMENUPOPUP = 0x0117;
inline constexpr UINT WM_MENUSELECT = 0x011F;
inline constexpr UINT WM_MENUCHAR = 0x0120;
inline constexpr UINT WM_ENTERIDLE = 0x0121;
inline constexpr UINT WM_UPDATEUISTATE = 0x0128;
inline constexpr UINT WM_CTLCOLORMSGBOX = 0x0132;
inline constexpr UINT WM_CTLCOLOREDIT = 0x0133;
inline constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
inline constexpr UINT WM_CTLCOLORBTN = 0x0135;
inline constexpr UINT WM_CTLCOLORDLG = 0x0136;
inline constexpr UINT WM_CTLCOLORSCROLLBAR = 0x0137;
inline constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
// WM_CTLCOLORMSGBOX .. WM_CTLCOLORSTATIC: a child asks its parent for the brush of its background.
inline constexpr bool IsCtlColorMessage(UINT msg) {
    return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC;
}
inline constexpr UINT WM_MOUSEFIRST = 0x0200;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;   // wParam: MK_*; lParam: client point
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;   // wParam: MK_*, delta in the high word; lParam: screen point
inline constexpr UINT WM_MOUSELAST = 0x020A;
inline constexpr UINT WM_PARENTNOTIFY = 0x0210;
inline constexpr UINT WM_ENTERMENULOOP = 0x0211;
inline constexpr UINT WM_EXITMENULOOP = 0x0212;
inline constexpr UINT WM_SIZING = 0x0214;
inline constexpr UINT WM_CAPTURECHANGED = 0x0215;   // lParam: the window that gets the capture
inline constexpr UINT WM_MOVING = 0x0216;
inline constexpr UINT WM_MDICREATE = 0x0220;
inline constexpr UINT WM_MDIDESTROY = 0x0221;
inline constexpr UINT WM_MDIACTIVATE = 0x0222;   // to the client: wParam the child; to children: deactivated, activated
inline constexpr UINT WM_MDIRESTORE = 0x0223;   // wParam: the child
inline constexpr UINT WM_MDINEXT = 0x0224;   // wParam: the child (0: the active one); lParam: nonzero for the previous
inline constexpr UINT WM_MDIMAXIMIZE = 0x0225;   // wParam: the child
inline constexpr UINT WM_MDIGETACTIVE = 0x0229;   // lParam: a bool* that gets whether it is maximized
inline constexpr UINT WM_ENTERSIZEMOVE = 0x0231;
inline constexpr UINT WM_EXITSIZEMOVE = 0x0232;
inline constexpr UINT WM_DROPFILES = 0x0233;
inline constexpr UINT WM_NCMOUSELEAVE = 0x02A2;
inline constexpr UINT WM_MOUSELEAVE = 0x02A3;
inline constexpr UINT WM_CUT = 0x0300;
inline constexpr UINT WM_COPY = 0x0301;
inline constexpr UINT WM_PASTE = 0x0302;
inline constexpr UINT WM_CLEAR = 0x0303;
inline constexpr UINT WM_UNDO = 0x0304;
inline constexpr UINT WM_PALETTECHANGED = 0x0311;
inline constexpr UINT WM_PRINT = 0x0317;   // wParam: HDC; lParam: PRF_*
inline constexpr UINT WM_PRINTCLIENT = 0x0318;
inline constexpr UINT WM_APP = 0x8000;
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT FirstRegisteredMessage = 0xC000;   // RegisterWindowMessage numbers start here

// WM_ACTIVATE states
inline constexpr WORD WA_INACTIVE = 0;
inline constexpr WORD WA_ACTIVE = 1;
inline constexpr WORD WA_CLICKACTIVE = 2;

// WM_MOUSEACTIVATE answers
inline constexpr LRESULT MA_ACTIVATE = 1;
inline constexpr LRESULT MA_ACTIVATEANDEAT = 2;
inline constexpr LRESULT MA_NOACTIVATE = 3;
inline constexpr LRESULT MA_NOACTIVATEANDEAT = 4;

// WM_SIZE codes
inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;
inline constexpr WPARAM SIZE_MAXSHOW = 3;
inline constexpr WPARAM SIZE_MAXHIDE = 4;

// WM_SHOWWINDOW reasons (lParam)
inline constexpr LPARAM SW_PARENTCLOSING = 1;
inline constexpr LPARAM SW_OTHERZOOM = 2;
inline constexpr LPARAM SW_PARENTOPENING = 3;
inline constexpr LPARAM SW_OTHERUNZOOM = 4;

// WM_NCCALCSIZE answers when wParam is nonzero
inline constexpr LRESULT WVR_ALIGNTOP = 0x0010;
inline constexpr LRESULT WVR_HREDRAW = 0x0100;
inline constexpr LRESULT WVR_VREDRAW = 0x0200;
inline constexpr LRESULT WVR_REDRAW = WVR_HREDRAW | WVR_VREDRAW;
inline constexpr LRESULT WVR_VALIDRECTS = 0x0400;

// WM_PRINT flags
inline constexpr LPARAM PRF_CHECKVISIBLE = 0x0001;
inline constexpr LPARAM PRF_NONCLIENT = 0x0002;
inline constexpr LPARAM PRF_CLIENT = 0x0004;
inline constexpr LPARAM PRF_ERASEBKGND = 0x0008;
inline constexpr LPARAM PRF_CHILDREN = 0x0010;
inline constexpr LPARAM PRF_OWNED = 0x0020;

// Key message lParam bits
inline constexpr LPARAM KF_EXTENDED_BIT = LPARAM(1) << 24;
inline constexpr LPARAM KF_ALTDOWN_BIT = LPARAM(1) << 29;   // context code: Alt held
inline constexpr LPARAM KF_REPEAT_BIT = LPARAM(1) << 30;   // the key was down before
inline constexpr LPARAM KF_UP_BIT = LPARAM(1) << 31;   // transition: released

// WHEEL_DELTA: one notch of the wheel
inline constexpr int WHEEL_DELTA = 120;

}

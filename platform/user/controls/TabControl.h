// Tab control "SysTabControl32": a row (or rows) of tabs above, below or beside a page area.
#pragma once

#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/ImageListSource.h"

namespace korvex::user {

inline constexpr const char* WC_TABCONTROL = "SysTabControl32";

// Styles
inline constexpr DWORD TCS_SCROLLOPPOSITE = 0x0001;
inline constexpr DWORD TCS_BOTTOM = 0x0002;   // tabs below the page
inline constexpr DWORD TCS_RIGHT = 0x0002;   // with TCS_VERTICAL: tabs right of the page
inline constexpr DWORD TCS_MULTISELECT = 0x0004;
inline constexpr DWORD TCS_FLATBUTTONS = 0x0008;   // with TCS_BUTTONS: flat buttons
inline constexpr DWORD TCS_FORCEICONLEFT = 0x0010;
inline constexpr DWORD TCS_FORCELABELLEFT = 0x0020;
inline constexpr DWORD TCS_HOTTRACK = 0x0040;   // the tab under the mouse shows its caption hot
inline constexpr DWORD TCS_VERTICAL = 0x0080;   // tabs left of the page (always several rows when needed)
inline constexpr DWORD TCS_TABS = 0x0000;
inline constexpr DWORD TCS_BUTTONS = 0x0100;
inline constexpr DWORD TCS_SINGLELINE = 0x0000;   // one row; arrows (an up-down child) when the tabs overflow
inline constexpr DWORD TCS_MULTILINE = 0x0200;
inline constexpr DWORD TCS_RIGHTJUSTIFY = 0x0000;
inline constexpr DWORD TCS_FIXEDWIDTH = 0x0400;   // every tab as wide as TCM_SETITEMSIZE says
inline constexpr DWORD TCS_RAGGEDRIGHT = 0x0800;   // rows are not stretched to the full width
inline constexpr DWORD TCS_FOCUSONBUTTONDOWN = 0x1000;
inline constexpr DWORD TCS_OWNERDRAWFIXED = 0x2000;   // the parent draws each tab's content (WM_DRAWITEM)
inline constexpr DWORD TCS_TOOLTIPS = 0x4000;
inline constexpr DWORD TCS_FOCUSNEVER = 0x8000;   // a click does not take the focus

// Messages
inline constexpr UINT TCM_FIRST = 0x1300;
inline constexpr UINT TCM_GETIMAGELIST = TCM_FIRST + 2;
inline constexpr UINT TCM_SETIMAGELIST = TCM_FIRST + 3;   // lParam: HIMAGELIST; result: the old one
inline constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
inline constexpr UINT TCM_GETITEM = TCM_FIRST + 5;   // wParam: index; lParam: TCITEM*
inline constexpr UINT TCM_SETITEM = TCM_FIRST + 6;   // wParam: index; lParam: const TCITEM*
inline constexpr UINT TCM_INSERTITEM = TCM_FIRST + 7;   // wParam: index; lParam: const TCITEM*; result: index or -1
inline constexpr UINT TCM_DELETEITEM = TCM_FIRST + 8;
inline constexpr UINT TCM_DELETEALLITEMS = TCM_FIRST + 9;
inline constexpr UINT TCM_GETITEMRECT = TCM_FIRST + 10;   // wParam: index; lParam: RECT* (scrolled tabs lie left of 0)
inline constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
inline constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;   // no notifications; result: the old selection or -1
inline constexpr UINT TCM_HITTEST = TCM_FIRST + 13;   // lParam: TCHITTESTINFO*; result: index or -1
inline constexpr UINT TCM_SETITEMEXTRA = TCM_FIRST + 14;
inline constexpr UINT TCM_ADJUSTRECT = TCM_FIRST + 40;   // wParam: larger; lParam: RECT* window <-> page area
inline constexpr UINT TCM_SETITEMSIZE = TCM_FIRST + 41;   // lParam: MAKELPARAM(width, height); result: the old size
inline constexpr UINT TCM_REMOVEIMAGE = TCM_FIRST + 42;
inline constexpr UINT TCM_SETPADDING = TCM_FIRST + 43;   // lParam: MAKELPARAM(cx, cy)
inline constexpr UINT TCM_GETROWCOUNT = TCM_FIRST + 44;
inline constexpr UINT TCM_GETCURFOCUS = TCM_FIRST + 47;
inline constexpr UINT TCM_SETCURFOCUS = TCM_FIRST + 48;   // selects with notifications
inline constexpr UINT TCM_SETMINTABWIDTH = TCM_FIRST + 49;   // lParam: width (-1: the default); result: the old

// TCITEM
inline constexpr UINT TCIF_TEXT = 0x0001;
inline constexpr UINT TCIF_IMAGE = 0x0002;
inline constexpr UINT TCIF_RTLREADING = 0x0004;
inline constexpr UINT TCIF_PARAM = 0x0008;
inline constexpr UINT TCIF_STATE = 0x0010;
inline constexpr DWORD TCIS_BUTTONPRESSED = 0x0001;
inline constexpr DWORD TCIS_HIGHLIGHTED = 0x0002;

struct TCITEM {
    UINT mask = 0;   // TCIF_*
    DWORD dwState = 0;
    DWORD dwStateMask = 0;
    char* pszText = nullptr;   // set: the text (UTF-8); get: a buffer of cchTextMax bytes
    int cchTextMax = 0;
    int iImage = -1;
    LPARAM lParam = 0;
};

inline constexpr UINT TCHT_NOWHERE = 0x0001;
inline constexpr UINT TCHT_ONITEMICON = 0x0002;
inline constexpr UINT TCHT_ONITEMLABEL = 0x0004;
inline constexpr UINT TCHT_ONITEM = TCHT_ONITEMICON | TCHT_ONITEMLABEL;
struct TCHITTESTINFO {
    POINT pt {};   // client coordinates
    UINT flags = 0;   // TCHT_*
};

// Notifications (WM_NOTIFY). A nonzero answer to TCN_SELCHANGING keeps the old tab.
inline constexpr UINT TCN_FIRST = 0u - 550u;
inline constexpr UINT TCN_KEYDOWN = TCN_FIRST - 0;
inline constexpr UINT TCN_SELCHANGE = TCN_FIRST - 1;
inline constexpr UINT TCN_SELCHANGING = TCN_FIRST - 2;
struct NMTCKEYDOWN {
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

// The id of the up-down child shown when single-line tabs overflow.
inline constexpr int TabScrollerId = 1;

bool RegisterTabControlClass();

}

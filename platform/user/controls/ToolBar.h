// Tool bar control "ToolbarWindow32": a row of image and text buttons that send WM_COMMAND, with custom draw.
#pragma once

#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/ImageListSource.h"

namespace korvex::user {

inline constexpr const char* TOOLBARCLASSNAME = "ToolbarWindow32";

// Window styles (with CCS_*)
inline constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
inline constexpr DWORD TBSTYLE_WRAPABLE = 0x0200;   // buttons wrap onto more rows when the bar is too narrow
inline constexpr DWORD TBSTYLE_ALTDRAG = 0x0400;
inline constexpr DWORD TBSTYLE_FLAT = 0x0800;   // flat buttons that show an edge while hot
inline constexpr DWORD TBSTYLE_LIST = 0x1000;   // text right of the image
inline constexpr DWORD TBSTYLE_CUSTOMERASE = 0x2000;   // NM_CUSTOMDRAW for the background erase too
inline constexpr DWORD TBSTYLE_TRANSPARENT = 0x8000;   // the parent's background shows through

// Extended styles (TB_SETEXTENDEDSTYLE)
inline constexpr DWORD TBSTYLE_EX_DRAWDDARROWS = 0x0001;   // drop-down buttons get a separate arrow part

// Button styles
inline constexpr BYTE BTNS_BUTTON = 0x00;
inline constexpr BYTE BTNS_SEP = 0x01;   // a gap of iBitmap pixels (8 when 0)
inline constexpr BYTE BTNS_CHECK = 0x02;   // toggles checked on each click
inline constexpr BYTE BTNS_GROUP = 0x04;   // with BTNS_CHECK: one checked button among its neighbours
inline constexpr BYTE BTNS_CHECKGROUP = BTNS_CHECK | BTNS_GROUP;
inline constexpr BYTE BTNS_DROPDOWN = 0x08;   // TBN_DROPDOWN on press
inline constexpr BYTE BTNS_AUTOSIZE = 0x10;   // as wide as its image and text
inline constexpr BYTE BTNS_NOPREFIX = 0x20;
inline constexpr BYTE BTNS_SHOWTEXT = 0x40;
inline constexpr BYTE BTNS_WHOLEDROPDOWN = 0x80;
inline constexpr BYTE TBSTYLE_BUTTON = BTNS_BUTTON;
inline constexpr BYTE TBSTYLE_SEP = BTNS_SEP;
inline constexpr BYTE TBSTYLE_CHECK = BTNS_CHECK;
inline constexpr BYTE TBSTYLE_GROUP = BTNS_GROUP;
inline constexpr BYTE TBSTYLE_CHECKGROUP = BTNS_CHECKGROUP;
inline constexpr BYTE TBSTYLE_DROPDOWN = BTNS_DROPDOWN;
inline constexpr BYTE TBSTYLE_AUTOSIZE = BTNS_AUTOSIZE;

// Button states
inline constexpr BYTE TBSTATE_CHECKED = 0x01;
inline constexpr BYTE TBSTATE_PRESSED = 0x02;
inline constexpr BYTE TBSTATE_ENABLED = 0x04;
inline constexpr BYTE TBSTATE_HIDDEN = 0x08;
inline constexpr BYTE TBSTATE_INDETERMINATE = 0x10;
inline constexpr BYTE TBSTATE_WRAP = 0x20;   // the next button starts a new row
inline constexpr BYTE TBSTATE_ELLIPSES = 0x40;
inline constexpr BYTE TBSTATE_MARKED = 0x80;

// One button. iString: an index of the bar's strings (TB_ADDSTRING) when below 65536, else a const char*
// text that the bar copies; -1 for none.
struct TBBUTTON {
    int iBitmap = 0;   // image index; the width of a separator
    int idCommand = 0;
    BYTE fsState = TBSTATE_ENABLED;
    BYTE fsStyle = BTNS_BUTTON;
    std::uintptr_t dwData = 0;
    std::intptr_t iString = -1;
};

inline constexpr DWORD TBIF_IMAGE = 0x00000001;
inline constexpr DWORD TBIF_TEXT = 0x00000002;
inline constexpr DWORD TBIF_STATE = 0x00000004;
inline constexpr DWORD TBIF_STYLE = 0x00000008;
inline constexpr DWORD TBIF_LPARAM = 0x00000010;
inline constexpr DWORD TBIF_COMMAND = 0x00000020;
inline constexpr DWORD TBIF_SIZE = 0x00000040;
inline constexpr DWORD TBIF_BYINDEX = 0x80000000;   // the id argument is the button's index

struct TBBUTTONINFO {
    UINT cbSize = sizeof(TBBUTTONINFO);
    DWORD dwMask = 0;   // TBIF_*
    int idCommand = 0;
    int iImage = 0;
    BYTE fsState = 0;
    BYTE fsStyle = 0;
    WORD cx = 0;   // width (TBIF_SIZE); 0: the bar's button width
    std::uintptr_t lParam = 0;
    char* pszText = nullptr;   // set: the new text; get: a buffer of cchText bytes
    int cchText = 0;
};

// Messages. "id" arguments are command ids unless said otherwise.
inline constexpr UINT TB_ENABLEBUTTON = WM_USER + 1;   // wParam: id; lParam: enable
inline constexpr UINT TB_CHECKBUTTON = WM_USER + 2;   // wParam: id; lParam: check
inline constexpr UINT TB_PRESSBUTTON = WM_USER + 3;   // wParam: id; lParam: press
inline constexpr UINT TB_HIDEBUTTON = WM_USER + 4;   // wParam: id; lParam: hide
inline constexpr UINT TB_INDETERMINATE = WM_USER + 5;
inline constexpr UINT TB_MARKBUTTON = WM_USER + 6;
inline constexpr UINT TB_ISBUTTONENABLED = WM_USER + 9;
inline constexpr UINT TB_ISBUTTONCHECKED = WM_USER + 10;
inline constexpr UINT TB_ISBUTTONPRESSED = WM_USER + 11;
inline constexpr UINT TB_ISBUTTONHIDDEN = WM_USER + 12;
inline constexpr UINT TB_SETSTATE = WM_USER + 17;   // wParam: id; lParam: TBSTATE_*
inline constexpr UINT TB_GETSTATE = WM_USER + 18;   // wParam: id; result: TBSTATE_* or -1
inline constexpr UINT TB_ADDBUTTONS = WM_USER + 20;   // wParam: count; lParam: const TBBUTTON*
inline constexpr UINT TB_INSERTBUTTON = WM_USER + 21;   // wParam: index (past the end: append); lParam: const TBBUTTON*
inline constexpr UINT TB_DELETEBUTTON = WM_USER + 22;   // wParam: index
inline constexpr UINT TB_GETBUTTON
    = WM_USER + 23;   // wParam: index; lParam: TBBUTTON* (iString: the string index or -1)
inline constexpr UINT TB_BUTTONCOUNT = WM_USER + 24;
inline constexpr UINT TB_COMMANDTOINDEX = WM_USER + 25;   // result: index or -1
inline constexpr UINT TB_ADDSTRING
    = WM_USER + 28;   // lParam: strings, each ended by '\0', the list by "\0\0"; result: first index
inline constexpr UINT TB_GETITEMRECT = WM_USER + 29;   // wParam: index; lParam: RECT*; false for hidden buttons
inline constexpr UINT TB_BUTTONSTRUCTSIZE = WM_USER + 30;   // wParam: sizeof(TBBUTTON)
inline constexpr UINT TB_SETBUTTONSIZE = WM_USER + 31;   // lParam: MAKELONG(cx, cy); 0 parts keep the computed size
inline constexpr UINT TB_SETBITMAPSIZE = WM_USER + 32;   // lParam: MAKELONG(cx, cy) without an image list
inline constexpr UINT TB_AUTOSIZE = WM_USER + 33;   // fits the bar's height to its rows (and its parent's width)
inline constexpr UINT TB_SETPARENT = WM_USER + 37;   // wParam: the window notifications go to
inline constexpr UINT TB_GETROWS = WM_USER + 40;
inline constexpr UINT TB_SETCMDID = WM_USER + 42;   // wParam: index; lParam: id
inline constexpr UINT TB_GETBUTTONTEXT = WM_USER + 45;   // wParam: id; lParam: char* (or null); result: bytes or -1
inline constexpr UINT TB_SETINDENT = WM_USER + 47;
inline constexpr UINT TB_SETIMAGELIST = WM_USER + 48;   // lParam: HIMAGELIST; result: the old one
inline constexpr UINT TB_GETIMAGELIST = WM_USER + 49;
inline constexpr UINT TB_GETRECT = WM_USER + 51;   // wParam: id; lParam: RECT*
inline constexpr UINT TB_SETHOTIMAGELIST = WM_USER + 52;
inline constexpr UINT TB_GETHOTIMAGELIST = WM_USER + 53;
inline constexpr UINT TB_SETDISABLEDIMAGELIST = WM_USER + 54;
inline constexpr UINT TB_GETDISABLEDIMAGELIST = WM_USER + 55;
inline constexpr UINT TB_SETSTYLE = WM_USER + 56;
inline constexpr UINT TB_GETSTYLE = WM_USER + 57;
inline constexpr UINT TB_GETBUTTONSIZE = WM_USER + 58;   // result: MAKELONG(cx, cy)
inline constexpr UINT TB_GETBUTTONINFO = WM_USER + 65;   // wParam: id (index with TBIF_BYINDEX); lParam: TBBUTTONINFO*
inline constexpr UINT TB_SETBUTTONINFO = WM_USER + 66;
inline constexpr UINT TB_HITTEST
    = WM_USER + 69;   // lParam: POINT* (client); result: index, or -1 - the nearest separator
inline constexpr UINT TB_GETHOTITEM = WM_USER + 71;   // result: index or -1
inline constexpr UINT TB_SETHOTITEM = WM_USER + 72;   // wParam: index or -1; result: the old one
inline constexpr UINT TB_GETMAXSIZE = WM_USER + 83;   // lParam: SIZE*
inline constexpr UINT TB_SETEXTENDEDSTYLE = WM_USER + 84;   // lParam: TBSTYLE_EX_*; result: the old ones
inline constexpr UINT TB_GETEXTENDEDSTYLE = WM_USER + 85;

// Notifications (WM_NOTIFY)
inline constexpr UINT TBN_FIRST = 0u - 700u;
inline constexpr UINT TBN_DROPDOWN = TBN_FIRST - 10;   // NMTOOLBAR; answer TBDDRET_*
inline constexpr UINT TBN_HOTITEMCHANGE = TBN_FIRST - 13;   // NMTBHOTITEM; nonzero keeps the old hot item

inline constexpr LRESULT TBDDRET_DEFAULT = 0;
inline constexpr LRESULT TBDDRET_NODEFAULT = 1;
inline constexpr LRESULT TBDDRET_TREATPRESSED = 2;

struct NMTOOLBAR {
    NMHDR hdr;
    int iItem = 0;   // command id
    TBBUTTON tbButton;
    RECT rcButton {};
};

inline constexpr DWORD HICF_MOUSE = 0x00000001;
inline constexpr DWORD HICF_ARROWKEYS = 0x00000002;
inline constexpr DWORD HICF_LEAVING = 0x00000020;
struct NMTBHOTITEM {
    NMHDR hdr;
    int idOld = 0;
    int idNew = 0;
    DWORD dwFlags = 0;   // HICF_*
};

// Custom draw of a tool bar: the common record plus the colours and flags of the default drawing.
inline constexpr LRESULT TBCDRF_NOEDGES = 0x00010000;   // item answer: no button edges
inline constexpr LRESULT TBCDRF_HILITEHOTTRACK = 0x00020000;
inline constexpr LRESULT TBCDRF_NOOFFSET = 0x00040000;   // pressed content not moved by one pixel
inline constexpr LRESULT TBCDRF_NOMARK = 0x00080000;
inline constexpr LRESULT TBCDRF_NOETCHEDEFFECT = 0x00100000;   // disabled text and images not embossed
inline constexpr LRESULT TBCDRF_NOBACKGROUND = 0x00400000;

struct NMTBCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    COLORREF clrText = 0;
    COLORREF clrBtnFace = 0;
    COLORREF clrBtnHighlight = 0;
    RECT rcText {};
    int nStringBkMode = 0;
};

// The width of a drop-down button's arrow part (TBSTYLE_EX_DRAWDDARROWS).
int ToolBarDropDownWidth();

bool RegisterToolBarClass();

}

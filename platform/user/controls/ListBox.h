// The LISTBOX window class: a list of text or owner-drawn items with single or multiple selection.
#pragma once

#include "platform/user/UserTypes.h"

namespace korvex::user {

// List box styles
inline constexpr DWORD LBS_NOTIFY = 0x0001;   // reports LBN_SELCHANGE, LBN_DBLCLK, LBN_SETFOCUS, LBN_KILLFOCUS
inline constexpr DWORD LBS_SORT = 0x0002;   // LB_ADDSTRING keeps the items in order
inline constexpr DWORD LBS_NOREDRAW = 0x0004;
inline constexpr DWORD LBS_MULTIPLESEL = 0x0008;   // a click toggles an item
inline constexpr DWORD LBS_OWNERDRAWFIXED = 0x0010;   // the owner paints items of one height
inline constexpr DWORD LBS_OWNERDRAWVARIABLE = 0x0020;   // the owner measures and paints each item
inline constexpr DWORD LBS_HASSTRINGS = 0x0040;   // owner-drawn items keep their text
inline constexpr DWORD LBS_USETABSTOPS = 0x0080;
inline constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;   // keep the height given (else whole items only)
inline constexpr DWORD LBS_MULTICOLUMN = 0x0200;
inline constexpr DWORD LBS_WANTKEYBOARDINPUT = 0x0400;
inline constexpr DWORD LBS_EXTENDEDSEL = 0x0800;   // Shift and Ctrl extend the selection
inline constexpr DWORD LBS_DISABLENOSCROLL = 0x1000;   // the scroll bar stays, disabled, when not needed
inline constexpr DWORD LBS_NODATA = 0x2000;
inline constexpr DWORD LBS_NOSEL = 0x4000;
inline constexpr DWORD LBS_COMBOBOX = 0x8000;
inline constexpr DWORD LBS_STANDARD = 0x00A00003;   // LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER

// Messages
inline constexpr UINT LB_ADDSTRING = 0x0180;   // lParam: const char* (or the item's data without strings)
inline constexpr UINT LB_INSERTSTRING = 0x0181;   // wParam: index (-1: the end)
inline constexpr UINT LB_DELETESTRING = 0x0182;   // result: the items left
inline constexpr UINT LB_SELITEMRANGEEX = 0x0183;
inline constexpr UINT LB_RESETCONTENT = 0x0184;
inline constexpr UINT LB_SETSEL = 0x0185;   // multiple selection: wParam select, lParam index (-1: all)
inline constexpr UINT LB_SETCURSEL = 0x0186;   // single selection: wParam index (-1: none)
inline constexpr UINT LB_GETSEL = 0x0187;
inline constexpr UINT LB_GETCURSEL = 0x0188;
inline constexpr UINT LB_GETTEXT = 0x0189;   // wParam index, lParam char* (room for GETTEXTLEN + 1)
inline constexpr UINT LB_GETTEXTLEN = 0x018A;
inline constexpr UINT LB_GETCOUNT = 0x018B;
inline constexpr UINT LB_SELECTSTRING = 0x018C;
inline constexpr UINT LB_DIR = 0x018D;
inline constexpr UINT LB_GETTOPINDEX = 0x018E;
inline constexpr UINT LB_FINDSTRING = 0x018F;   // wParam: the item before the search start (-1: all)
inline constexpr UINT LB_GETSELCOUNT = 0x0190;
inline constexpr UINT LB_GETSELITEMS = 0x0191;   // wParam: room; lParam: int*
inline constexpr UINT LB_SETTABSTOPS = 0x0192;
inline constexpr UINT LB_GETHORIZONTALEXTENT = 0x0193;
inline constexpr UINT LB_SETHORIZONTALEXTENT = 0x0194;
inline constexpr UINT LB_SETCOLUMNWIDTH = 0x0195;
inline constexpr UINT LB_ADDFILE = 0x0196;
inline constexpr UINT LB_SETTOPINDEX = 0x0197;
inline constexpr UINT LB_GETITEMRECT = 0x0198;   // wParam index, lParam RECT* (client coordinates)
inline constexpr UINT LB_GETITEMDATA = 0x0199;
inline constexpr UINT LB_SETITEMDATA = 0x019A;
inline constexpr UINT LB_SELITEMRANGE = 0x019B;   // wParam select, lParam MAKELPARAM(first, last)
inline constexpr UINT LB_SETANCHORINDEX = 0x019C;
inline constexpr UINT LB_GETANCHORINDEX = 0x019D;
inline constexpr UINT LB_SETCARETINDEX = 0x019E;
inline constexpr UINT LB_GETCARETINDEX = 0x019F;
inline constexpr UINT LB_SETITEMHEIGHT = 0x01A0;   // wParam index (variable heights), lParam height (1..255)
inline constexpr UINT LB_GETITEMHEIGHT = 0x01A1;
inline constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;
inline constexpr UINT LB_SETLOCALE = 0x01A5;
inline constexpr UINT LB_GETLOCALE = 0x01A6;
inline constexpr UINT LB_SETCOUNT = 0x01A7;
inline constexpr UINT LB_INITSTORAGE = 0x01A8;
inline constexpr UINT LB_ITEMFROMPOINT = 0x01A9;   // lParam client point; MAKELONG(nearest item, outside)

inline constexpr LRESULT LB_OKAY = 0;
inline constexpr LRESULT LB_ERR = -1;
inline constexpr LRESULT LB_ERRSPACE = -2;

// Notifications (WM_COMMAND to the parent, with LBS_NOTIFY)
inline constexpr WORD LBN_ERRSPACE = WORD(-2);
inline constexpr WORD LBN_SELCHANGE = 1;   // the user changed the selection (never for LB_* calls)
inline constexpr WORD LBN_DBLCLK = 2;
inline constexpr WORD LBN_SELCANCEL = 3;
inline constexpr WORD LBN_SETFOCUS = 4;
inline constexpr WORD LBN_KILLFOCUS = 5;

inline constexpr const char* ListBoxClassName = "LISTBOX";

// Registers "LISTBOX"; nonzero when the class exists afterwards.
//
// Items: text compared without case (LBS_SORT, LB_FIND*), or, for owner-drawn lists without LBS_HASSTRINGS,
// the item data (sorted through WM_COMPAREITEM). The owner (the parent) paints owner-drawn items on
// WM_DRAWITEM and gives their heights on WM_MEASUREITEM (once at creation for LBS_OWNERDRAWFIXED, for every
// new item with LBS_OWNERDRAWVARIABLE); it is told of removed owner-drawn items, and items with data, by
// WM_DELETEITEM. Colours come from WM_CTLCOLORLISTBOX.
//
// The user: a click selects (LBN_SELCHANGE on the release, also when nothing changed), dragging with the
// button held moves the selection (scrolling at the edges), a double click reports LBN_DBLCLK; the arrow
// keys, Page Up and Down, Home and End move the selection (LBN_SELCHANGE when it changed), a typed character
// selects the next item starting with it; the wheel scrolls by lines. With WS_VSCROLL the window's vertical
// bar shows the top index over 0..count - 1 with a page of the whole items that fit (hidden when everything
// fits unless LBS_DISABLENOSCROLL).
ATOM RegisterListBoxClass();

}

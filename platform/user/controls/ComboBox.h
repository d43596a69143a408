// The COMBOBOX window class and its drop-down list window "ComboLBox".
#pragma once

#include "platform/user/UserTypes.h"

namespace korvex::user {

// Combo box styles
inline constexpr DWORD CBS_SIMPLE = 0x0001;   // an edit above a list that is always shown
inline constexpr DWORD CBS_DROPDOWN = 0x0002;   // an edit and a button that drops the list down
inline constexpr DWORD CBS_DROPDOWNLIST = 0x0003;   // the selected item in place of an edit
inline constexpr DWORD CBS_OWNERDRAWFIXED = 0x0010;
inline constexpr DWORD CBS_OWNERDRAWVARIABLE = 0x0020;
inline constexpr DWORD CBS_AUTOHSCROLL = 0x0040;
inline constexpr DWORD CBS_OEMCONVERT = 0x0080;
inline constexpr DWORD CBS_SORT = 0x0100;
inline constexpr DWORD CBS_HASSTRINGS = 0x0200;
inline constexpr DWORD CBS_NOINTEGRALHEIGHT = 0x0400;   // the list takes its whole room, not whole items only
inline constexpr DWORD CBS_DISABLENOSCROLL = 0x0800;
inline constexpr DWORD CBS_UPPERCASE = 0x2000;
inline constexpr DWORD CBS_LOWERCASE = 0x4000;

// Messages
inline constexpr UINT CB_GETEDITSEL = 0x0140;   // wParam DWORD* start, lParam DWORD* end; MAKELONG(start, end)
inline constexpr UINT CB_LIMITTEXT = 0x0141;
inline constexpr UINT CB_SETEDITSEL = 0x0142;   // lParam MAKELPARAM(start, end); -1 as in EM_SETSEL
inline constexpr UINT CB_ADDSTRING = 0x0143;
inline constexpr UINT CB_DELETESTRING = 0x0144;
inline constexpr UINT CB_DIR = 0x0145;
inline constexpr UINT CB_GETCOUNT = 0x0146;
inline constexpr UINT CB_GETCURSEL = 0x0147;
inline constexpr UINT CB_GETLBTEXT = 0x0148;   // wParam index, lParam char* (room for GETLBTEXTLEN + 1)
inline constexpr UINT CB_GETLBTEXTLEN = 0x0149;
inline constexpr UINT CB_INSERTSTRING = 0x014A;
inline constexpr UINT CB_RESETCONTENT = 0x014B;
inline constexpr UINT CB_FINDSTRING = 0x014C;
inline constexpr UINT CB_SELECTSTRING = 0x014D;
inline constexpr UINT CB_SETCURSEL = 0x014E;
inline constexpr UINT CB_SHOWDROPDOWN = 0x014F;   // wParam: dropped
inline constexpr UINT CB_GETITEMDATA = 0x0150;
inline constexpr UINT CB_SETITEMDATA = 0x0151;
inline constexpr UINT CB_GETDROPPEDCONTROLRECT = 0x0152;   // lParam RECT*: the dropped combo on the screen
inline constexpr UINT CB_SETITEMHEIGHT = 0x0153;   // wParam -1: the closed face; else a list item
inline constexpr UINT CB_GETITEMHEIGHT = 0x0154;
inline constexpr UINT CB_SETEXTENDEDUI = 0x0155;
inline constexpr UINT CB_GETEXTENDEDUI = 0x0156;
inline constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
inline constexpr UINT CB_FINDSTRINGEXACT = 0x0158;
inline constexpr UINT CB_SETLOCALE = 0x0159;
inline constexpr UINT CB_GETLOCALE = 0x015A;
inline constexpr UINT CB_GETTOPINDEX = 0x015B;
inline constexpr UINT CB_SETTOPINDEX = 0x015C;
inline constexpr UINT CB_GETHORIZONTALEXTENT = 0x015D;
inline constexpr UINT CB_SETHORIZONTALEXTENT = 0x015E;
inline constexpr UINT CB_GETDROPPEDWIDTH = 0x015F;
inline constexpr UINT CB_SETDROPPEDWIDTH = 0x0160;
inline constexpr UINT CB_INITSTORAGE = 0x0161;
inline constexpr UINT CB_GETCOMBOBOXINFO = 0x0164;   // lParam COMBOBOXINFO*

inline constexpr LRESULT CB_OKAY = 0;
inline constexpr LRESULT CB_ERR = -1;
inline constexpr LRESULT CB_ERRSPACE = -2;

// Notifications (WM_COMMAND to the parent)
inline constexpr WORD CBN_ERRSPACE = WORD(-1);
inline constexpr WORD CBN_SELCHANGE = 1;
inline constexpr WORD CBN_DBLCLK = 2;
inline constexpr WORD CBN_SETFOCUS = 3;
inline constexpr WORD CBN_KILLFOCUS = 4;
inline constexpr WORD CBN_EDITCHANGE = 5;
inline constexpr WORD CBN_EDITUPDATE = 6;
inline constexpr WORD CBN_DROPDOWN = 7;
inline constexpr WORD CBN_CLOSEUP = 8;
inline constexpr WORD CBN_SELENDOK = 9;
inline constexpr WORD CBN_SELENDCANCEL = 10;

// The ids of a combo box's edit and list windows.
inline constexpr int ComboEditId = 1001;
inline constexpr int ComboListId = 1000;

struct COMBOBOXINFO {
    DWORD cbSize = sizeof(COMBOBOXINFO);
    RECT rcItem {};   // the edit or the closed face (client coordinates)
    RECT rcButton {};   // the drop-down button
    DWORD stateButton = 0;   // STATE_SYSTEM_PRESSED, STATE_SYSTEM_INVISIBLE (CBS_SIMPLE)
    HWND hwndCombo = nullptr;
    HWND hwndItem = nullptr;   // the edit, nullptr for CBS_DROPDOWNLIST
    HWND hwndList = nullptr;
};
inline constexpr DWORD STATE_SYSTEM_PRESSED = 0x00000008;
inline constexpr DWORD STATE_SYSTEM_INVISIBLE = 0x00008000;
bool GetComboBoxInfo(HWND combo, COMBOBOXINFO* info);

inline constexpr const char* ComboBoxClassName = "COMBOBOX";
inline constexpr const char* ComboListClassName = "ComboLBox";

// Registers "COMBOBOX" and "ComboLBox"; nonzero when both exist afterwards. The items live in the list window
// (a list box, LB_* and owner drawing as there; owner messages carry ODT_COMBOBOX and the combo's id and go
// to the combo's parent). CBS_DROPDOWN and CBS_SIMPLE use an "EDIT" child for the text.
//
// Heights: the window is as high as its closed face (the font's height + 8, or an owner-drawn face's height +
// 6); any other height given to a drop-down combo is taken as the face plus the room of its list, and the
// window goes back to the face height. The dropped list shows whole items, as many as there are but no more
// than fit in that room (at least one), plus its border; it opens below the combo (above when there is no room
// below), at least as wide as the combo (CB_SETDROPPEDWIDTH).
//
// The user: a press on the button (anywhere on a CBS_DROPDOWNLIST) drops the list (CBN_DROPDOWN before it
// shows); F4 and Alt+Down or Alt+Up open and close it. While it is dropped the pointer highlights items; a
// release on an item chooses it: CBN_SELENDOK, the list closes (CBN_CLOSEUP), CBN_SELCHANGE. Enter closes
// it keeping the highlighted item the same way (CBN_SELCHANGE only when it changed); Escape, a press outside
// the list and the focus leaving close it with CBN_SELENDCANCEL and CBN_CLOSEUP, back at the item chosen
// before. The arrow keys, Page Up and Down (and Home and End without an edit) choose the next item at once
// (CBN_SELCHANGE), dropped or not; a typed character chooses the next item starting with it (CBS_DROPDOWNLIST).
// Typing in the edit reports CBN_EDITUPDATE and CBN_EDITCHANGE and clears the list's selection (while dropped:
// selects the first item starting with the text).
ATOM RegisterComboBoxClass();

}

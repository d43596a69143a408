// The BUTTON window class: push buttons, check boxes, radio buttons, group boxes and owner-drawn buttons.
#pragma once

#include "platform/user/UserTypes.h"

#include <string>

namespace korvex::user {

// Button styles (the low four bits are the kind)
inline constexpr DWORD BS_PUSHBUTTON = 0x0000;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;   // drawn with the default frame
inline constexpr DWORD BS_CHECKBOX = 0x0002;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x0003;   // toggles itself when clicked
inline constexpr DWORD BS_RADIOBUTTON = 0x0004;
inline constexpr DWORD BS_3STATE = 0x0005;
inline constexpr DWORD BS_AUTO3STATE = 0x0006;   // unchecked, checked, indeterminate in turn
inline constexpr DWORD BS_GROUPBOX = 0x0007;
inline constexpr DWORD BS_USERBUTTON = 0x0008;
inline constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;   // checks itself and clears the rest of its group
inline constexpr DWORD BS_PUSHBOX = 0x000A;
inline constexpr DWORD BS_OWNERDRAW = 0x000B;   // the parent paints it (WM_DRAWITEM)
inline constexpr DWORD BS_TYPEMASK = 0x000F;
inline constexpr DWORD BS_LEFTTEXT = 0x0020;   // check box and radio: the text left of the box
inline constexpr DWORD BS_RIGHTBUTTON = BS_LEFTTEXT;
inline constexpr DWORD BS_TEXT = 0x0000;
inline constexpr DWORD BS_ICON = 0x0040;
inline constexpr DWORD BS_BITMAP = 0x0080;
inline constexpr DWORD BS_LEFT = 0x0100;
inline constexpr DWORD BS_RIGHT = 0x0200;
inline constexpr DWORD BS_CENTER = 0x0300;
inline constexpr DWORD BS_TOP = 0x0400;
inline constexpr DWORD BS_BOTTOM = 0x0800;
inline constexpr DWORD BS_VCENTER = 0x0C00;
inline constexpr DWORD BS_PUSHLIKE = 0x1000;   // a check box or radio button that looks like a push button
inline constexpr DWORD BS_MULTILINE = 0x2000;   // the text wraps
inline constexpr DWORD BS_NOTIFY = 0x4000;   // also BN_DOUBLECLICKED, BN_SETFOCUS, BN_KILLFOCUS
inline constexpr DWORD BS_FLAT = 0x8000;

// Messages
inline constexpr UINT BM_GETCHECK = 0x00F0;   // result: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE
inline constexpr UINT BM_SETCHECK = 0x00F1;   // wParam: BST_*
inline constexpr UINT BM_GETSTATE = 0x00F2;   // result: check state | BST_PUSHED | BST_FOCUS
inline constexpr UINT BM_SETSTATE = 0x00F3;   // wParam: shown pushed
inline constexpr UINT BM_SETSTYLE = 0x00F4;   // wParam: the new kind (BS_*); lParam: redraw
inline constexpr UINT BM_CLICK = 0x00F5;   // a press and release as by the mouse
inline constexpr UINT BM_GETIMAGE = 0x00F6;
inline constexpr UINT BM_SETIMAGE = 0x00F7;

// Check and button states
inline constexpr UINT BST_UNCHECKED = 0x0000;
inline constexpr UINT BST_CHECKED = 0x0001;
inline constexpr UINT BST_INDETERMINATE = 0x0002;
inline constexpr UINT BST_PUSHED = 0x0004;
inline constexpr UINT BST_FOCUS = 0x0008;

// Notifications (WM_COMMAND to the parent: MAKEWPARAM(id, code), lParam the button)
inline constexpr WORD BN_CLICKED = 0;
inline constexpr WORD BN_PAINT = 1;
inline constexpr WORD BN_HILITE = 2;
inline constexpr WORD BN_PUSHED = BN_HILITE;
inline constexpr WORD BN_UNHILITE = 3;
inline constexpr WORD BN_UNPUSHED = BN_UNHILITE;
inline constexpr WORD BN_DISABLE = 4;
inline constexpr WORD BN_DOUBLECLICKED = 5;
inline constexpr WORD BN_DBLCLK = BN_DOUBLECLICKED;
inline constexpr WORD BN_SETFOCUS = 6;
inline constexpr WORD BN_KILLFOCUS = 7;

inline constexpr const char* ButtonClassName = "BUTTON";

// Registers "BUTTON"; nonzero when the class exists afterwards (later calls change nothing).
//
// A click is a press and a release inside the button: the left mouse button, the space bar, or BM_CLICK. The
// press sends BM_SETSTATE(TRUE) to the button itself and the release notifies BN_CLICKED only while the button
// still shows pushed, so a subclass that swallows BM_SETSTATE takes clicking over entirely. Auto check boxes
// and auto radio buttons change their check (through BM_SETCHECK) before BN_CLICKED. A radio button given the
// focus by the keyboard reports BN_CLICKED when it is not checked (an auto radio button checks itself); the
// arrow keys move the focus through its group (the siblings from one WS_GROUP to the next).
// Colours come from WM_CTLCOLORBTN (push buttons) or WM_CTLCOLORSTATIC (the others) sent to the parent.
ATOM RegisterButtonClass();

// The plain pictures, shared with the class library's windowless look-alikes.
// A group box frame: an etched rectangle whose top runs through the middle of the caption line, and the
// caption at its left on the background brush, in the DC's text colour (embossed grey when disabled), with
// "&" prefixes unless noPrefix. The inside is left as it is.
void DrawGroupBox(
    HDC dc, const RECT& rect, const std::string& caption, HFONT font, HBRUSH background, bool enabled, bool noPrefix);
// A 13 x 13 check box at (x, y): sunken, white (button face when disabled or pushed), with its tick or the
// indeterminate pattern.
void DrawCheckMark(HDC dc, int x, int y, UINT checkState, bool pushed, bool enabled);
// A 12 x 12 radio circle at (x, y), with its dot when checked.
void DrawRadioMark(HDC dc, int x, int y, bool checked, bool pushed, bool enabled);
inline constexpr int CheckMarkSize = 13;

// The next (or previous) sibling of control within its group: the siblings in z-order from the nearest one with
// WS_GROUP at or before control up to the next one with WS_GROUP. Wraps around inside the group; hidden and
// disabled windows are skipped; control itself when it is alone; nullptr for a bad window.
HWND GetNextDlgGroupItem(HWND parent, HWND control, bool previous);

}

// EDIT control: class name, styles, messages, notifications and margin flags (Windows values).
#pragma once

#include "platform/user/UserTypes.h"

namespace korvex::user {

inline constexpr const char* WC_EDIT = "EDIT";

// Positions, lengths and limits of the EM_ messages count characters (code points); a line end counts as two
// characters ("\r\n"), as Windows counts it. WM_GETTEXT and WM_GETTEXTLENGTH count UTF-8 bytes.

// Edit styles (GWL_STYLE)
inline constexpr DWORD ES_LEFT = 0x0000;
inline constexpr DWORD ES_CENTER = 0x0001;
inline constexpr DWORD ES_RIGHT = 0x0002;
inline constexpr DWORD ES_MULTILINE = 0x0004;
inline constexpr DWORD ES_UPPERCASE = 0x0008;   // typed and set text turned to upper case
inline constexpr DWORD ES_LOWERCASE = 0x0010;
inline constexpr DWORD ES_PASSWORD = 0x0020;   // shows the password character (default '*')
inline constexpr DWORD ES_AUTOVSCROLL = 0x0040;
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080;   // multi-line: no word wrap
inline constexpr DWORD ES_NOHIDESEL = 0x0100;   // the selection stays shown without the focus
inline constexpr DWORD ES_OEMCONVERT = 0x0400;   // kept, no effect
inline constexpr DWORD ES_READONLY = 0x0800;
inline constexpr DWORD ES_WANTRETURN = 0x1000;   // multi-line: Enter breaks the line even in a dialog
inline constexpr DWORD ES_NUMBER = 0x2000;   // typing accepts digits only

// Messages
inline constexpr UINT EM_GETSEL = 0x00B0;   // wParam: DWORD* start; lParam: DWORD* end; result: MAKELONG (clamped)
inline constexpr UINT EM_SETSEL = 0x00B1;   // wParam: start; lParam: end (-1: the end); start -1: no selection
inline constexpr UINT EM_GETRECT = 0x00B2;   // lParam: RECT* (the formatting rectangle)
inline constexpr UINT EM_SETRECT = 0x00B3;   // lParam: RECT* or nullptr (the default); repaints
inline constexpr UINT EM_SETRECTNP = 0x00B4;   // as EM_SETRECT, no repaint
inline constexpr UINT EM_SCROLL = 0x00B5;   // wParam: SB_LINEUP/DOWN, SB_PAGEUP/DOWN; result: MAKELONG(lines, 1)
inline constexpr UINT EM_LINESCROLL = 0x00B6;   // wParam: characters right; lParam: lines down
inline constexpr UINT EM_SCROLLCARET = 0x00B7;
inline constexpr UINT EM_GETMODIFY = 0x00B8;
inline constexpr UINT EM_SETMODIFY = 0x00B9;
inline constexpr UINT EM_GETLINECOUNT = 0x00BA;
inline constexpr UINT EM_LINEINDEX = 0x00BB;   // wParam: line (-1: the caret's); result: its first character
inline constexpr UINT EM_GETTHUMB = 0x00BE;
inline constexpr UINT EM_LINELENGTH = 0x00C1;   // wParam: a character of the line (-1: unselected rest)
inline constexpr UINT EM_REPLACESEL = 0x00C2;   // wParam: can undo; lParam: const char*
inline constexpr UINT EM_GETLINE = 0x00C4;   // wParam: line; lParam: buffer whose first WORD is its size in bytes
inline constexpr UINT EM_LIMITTEXT = 0x00C5;   // wParam: maximum characters (0: the largest)
inline constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
inline constexpr UINT EM_CANUNDO = 0x00C6;
inline constexpr UINT EM_UNDO = 0x00C7;
inline constexpr UINT EM_LINEFROMCHAR = 0x00C9;   // wParam: character (-1: the caret's line)
inline constexpr UINT EM_SETTABSTOPS = 0x00CB;
inline constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;   // wParam: code point (0: show the text)
inline constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
inline constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;   // single-line: the first visible character
inline constexpr UINT EM_SETREADONLY = 0x00CF;   // wParam: read-only
inline constexpr UINT EM_GETPASSWORDCHAR = 0x00D2;
inline constexpr UINT EM_SETMARGINS = 0x00D3;   // wParam: EC_*; lParam: MAKELONG(left, right)
inline constexpr UINT EM_GETMARGINS = 0x00D4;   // result: MAKELONG(left, right)
inline constexpr UINT EM_GETLIMITTEXT = 0x00D5;
inline constexpr UINT EM_POSFROMCHAR = 0x00D6;   // wParam: character; result: MAKELONG(x, y), -1 when none
inline constexpr UINT EM_CHARFROMPOS = 0x00D7;   // lParam: client point; result: MAKELONG(char, line)

// EM_SETMARGINS flags
inline constexpr WPARAM EC_LEFTMARGIN = 0x0001;
inline constexpr WPARAM EC_RIGHTMARGIN = 0x0002;
inline constexpr WPARAM EC_USEFONTINFO = 0xFFFF;

// Notifications: WM_COMMAND to the parent, MAKEWPARAM(id, code), lParam the edit.
inline constexpr WORD EN_SETFOCUS = 0x0100;
inline constexpr WORD EN_KILLFOCUS = 0x0200;
inline constexpr WORD EN_CHANGE = 0x0300;   // after the new text is shown
inline constexpr WORD EN_UPDATE = 0x0400;   // before the new text is shown
inline constexpr WORD EN_ERRSPACE = 0x0500;
inline constexpr WORD EN_MAXTEXT = 0x0501;   // typing or pasting hit the limit
inline constexpr WORD EN_HSCROLL = 0x0601;
inline constexpr WORD EN_VSCROLL = 0x0602;

// The largest text an edit takes unless limited (EM_LIMITTEXT 0 sets it).
inline constexpr int EditMaxLimit = 0x7FFFFFFE;
inline constexpr int EditDefaultLimit = 32767;   // before EM_LIMITTEXT, as Windows
inline constexpr char32_t DefaultPasswordChar = U'*';

// Registers the "EDIT" class (once; later calls return true).
bool RegisterEditClass();

}

// The message record of the controls, the class library's own messages (CM_*) and the reflected notifications (CN_*).
#pragma once

#include "platform/user/MessageIds.h"
#include "platform/user/UserTypes.h"

namespace korvex::classes {

using user::LPARAM;
using user::LRESULT;
using user::UINT;
using user::WPARAM;

// What a control's WindowProc, WndProc and handlers get: passed by reference, so an answer written into
// Result (or into LParam, as some skin queries do) comes back to the sender of Perform.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// Parameter views of the common messages.
inline int MessageX(const TMessage& m) {
    return user::GET_X_LPARAM(m.LParam);
}
inline int MessageY(const TMessage& m) {
    return user::GET_Y_LPARAM(m.LParam);
}

// ---------------------------------------------------------------------------------------------------------
// CM_*: notifications among controls, numbered as the class library numbers them.
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_ACTIVATE = CM_BASE + 0;   // to a form gaining the focus among the forms
inline constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
inline constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
inline constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
inline constexpr UINT CM_CANCELMODE = CM_BASE + 4;   // LParam: the control that caused it
inline constexpr UINT CM_DIALOGKEY = CM_BASE + 5;   // WParam: virtual key; LParam: key data; Result 1: used
inline constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;   // WParam: character; Result 1: used
inline constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;   // LParam: the control given the focus
inline constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
inline constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr UINT CM_HITTEST = CM_BASE + 10;   // LParam: point; Result nonzero: the control is hit
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;   // WParam: the new Visible
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
inline constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
inline constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
inline constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
inline constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 19;   // LParam: 0 for the control itself, else the child entered
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;   // LParam: 0 for the control itself, else the child left
inline constexpr UINT CM_MENUCHANGED = CM_BASE + 21;   // to a form: items of its main menu changed
inline constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
inline constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
inline constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
inline constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;   // the control's window is to follow Showing
inline constexpr UINT CM_ENTER = CM_BASE + 26;   // the focus comes into the control (or one inside it)
inline constexpr UINT CM_EXIT = CM_BASE + 27;
inline constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
inline constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
inline constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
inline constexpr UINT CM_INVOKEHELP = CM_BASE + 31;
inline constexpr UINT CM_WINDOWHOOK = CM_BASE + 32;
inline constexpr UINT CM_RELEASE = CM_BASE + 33;   // posted by TCustomForm::Release: frees the form
inline constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
inline constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
inline constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
inline constexpr UINT CM_WININICHANGE = CM_BASE + 37;
inline constexpr UINT CM_FONTCHANGE = CM_BASE + 38;
inline constexpr UINT CM_TIMECHANGE = CM_BASE + 39;
inline constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
inline constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
inline constexpr UINT CM_UIDEACTIVATE = CM_BASE + 42;
inline constexpr UINT CM_DOCWINDOWACTIVATE = CM_BASE + 43;
inline constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;   // WParam: the control; LParam: 1 inserted, 0 removed
inline constexpr UINT CM_GETDATALINK = CM_BASE + 45;
inline constexpr UINT CM_CHILDKEY = CM_BASE + 46;
inline constexpr UINT CM_DRAG = CM_BASE + 47;
inline constexpr UINT CM_HINTSHOW = CM_BASE + 48;   // LParam: THintInfo* to change; non-zero result: no hint
inline constexpr UINT CM_DIALOGHANDLE = CM_BASE + 49;
inline constexpr UINT CM_ISTOOLCONTROL = CM_BASE + 50;
inline constexpr UINT CM_RECREATEWND = CM_BASE + 51;   // posted or sent: destroy and make the window again
inline constexpr UINT CM_INVALIDATE = CM_BASE + 52;
inline constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;
inline constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
inline constexpr UINT CM_CHANGED = CM_BASE + 55;
inline constexpr UINT CM_DOCKCLIENT = CM_BASE + 56;
inline constexpr UINT CM_UNDOCKCLIENT = CM_BASE + 57;
inline constexpr UINT CM_FLOAT = CM_BASE + 58;
inline constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
inline constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
inline constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
inline constexpr UINT CM_ALLCHILDRENFLIPPED = CM_BASE + 62;
inline constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
inline constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
inline constexpr UINT CM_HINTSHOWPAUSE = CM_BASE + 65;
inline constexpr UINT CM_DOCKNOTIFICATION = CM_BASE + 66;
inline constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;   // WParam: keys and delta as WM_MOUSEWHEEL; LParam: screen point
inline constexpr UINT CM_ISSHORTCUT = CM_BASE + 68;

// ---------------------------------------------------------------------------------------------------------
// CN_*: a notification a child window sends its parent, handed back to the child's control.
inline constexpr UINT WM_VKEYTOITEM = 0x002E;
inline constexpr UINT WM_CHARTOITEM = 0x002F;
inline constexpr UINT WM_COMPAREITEM = 0x0039;

inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
inline constexpr UINT CN_COMMAND = CN_BASE + user::WM_COMMAND;
inline constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + user::WM_CTLCOLORBTN;
inline constexpr UINT CN_CTLCOLORDLG = CN_BASE + user::WM_CTLCOLORDLG;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + user::WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + user::WM_CTLCOLORLISTBOX;
inline constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + user::WM_CTLCOLORMSGBOX;
inline constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + user::WM_CTLCOLORSCROLLBAR;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + user::WM_CTLCOLORSTATIC;
inline constexpr UINT CN_DELETEITEM = CN_BASE + user::WM_DELETEITEM;
inline constexpr UINT CN_DRAWITEM = CN_BASE + user::WM_DRAWITEM;
inline constexpr UINT CN_HSCROLL = CN_BASE + user::WM_HSCROLL;
inline constexpr UINT CN_MEASUREITEM = CN_BASE + user::WM_MEASUREITEM;
inline constexpr UINT CN_PARENTNOTIFY = CN_BASE + user::WM_PARENTNOTIFY;
inline constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
inline constexpr UINT CN_VSCROLL = CN_BASE + user::WM_VSCROLL;
inline constexpr UINT CN_KEYDOWN = CN_BASE + user::WM_KEYDOWN;
inline constexpr UINT CN_KEYUP = CN_BASE + user::WM_KEYUP;
inline constexpr UINT CN_CHAR = CN_BASE + user::WM_CHAR;
inline constexpr UINT CN_SYSKEYDOWN = CN_BASE + user::WM_SYSKEYDOWN;
inline constexpr UINT CN_SYSCHAR = CN_BASE + user::WM_SYSCHAR;
inline constexpr UINT CN_NOTIFY = CN_BASE + user::WM_NOTIFY;
inline constexpr UINT CN_DROPDOWNCLOSED = user::WM_USER + 0x1000;   // to a tool bar: a button's drop-down menu closed

// WM_GETDLGCODE answers, the window layer's.
using user::DLGC_BUTTON;
using user::DLGC_DEFPUSHBUTTON;
using user::DLGC_HASSETSEL;
using user::DLGC_RADIOBUTTON;
using user::DLGC_STATIC;
using user::DLGC_UNDEFPUSHBUTTON;
using user::DLGC_WANTALLKEYS;
using user::DLGC_WANTARROWS;
using user::DLGC_WANTCHARS;
using user::DLGC_WANTMESSAGE;
using user::DLGC_WANTTAB;

}

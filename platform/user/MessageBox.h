// MessageBox: the plain modal message box: text, an icon glyph and a row of buttons.
#pragma once

#include "platform/user/UserTypes.h"

#include <string>

namespace korvex::user {

// Buttons (the low four bits)
inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_OKCANCEL = 0x00000001;
inline constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
inline constexpr UINT MB_YESNOCANCEL = 0x00000003;
inline constexpr UINT MB_YESNO = 0x00000004;
inline constexpr UINT MB_RETRYCANCEL = 0x00000005;
inline constexpr UINT MB_TYPEMASK = 0x0000000F;
// Icons
inline constexpr UINT MB_ICONHAND = 0x00000010;
inline constexpr UINT MB_ICONERROR = MB_ICONHAND;
inline constexpr UINT MB_ICONSTOP = MB_ICONHAND;
inline constexpr UINT MB_ICONQUESTION = 0x00000020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
inline constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr UINT MB_ICONASTERISK = 0x00000040;
inline constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
inline constexpr UINT MB_ICONMASK = 0x000000F0;
// Default button
inline constexpr UINT MB_DEFBUTTON1 = 0x00000000;
inline constexpr UINT MB_DEFBUTTON2 = 0x00000100;
inline constexpr UINT MB_DEFBUTTON3 = 0x00000200;
inline constexpr UINT MB_DEFMASK = 0x00000F00;
inline constexpr UINT MB_APPLMODAL = 0x00000000;
inline constexpr UINT MB_SYSTEMMODAL = 0x00001000;
inline constexpr UINT MB_TASKMODAL = 0x00002000;
inline constexpr UINT MB_SETFOREGROUND = 0x00010000;
inline constexpr UINT MB_TOPMOST = 0x00040000;

// Answers
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The menu-loop code of WM_ENTERIDLE that a message box sends its owner whenever its queue is empty
// (lParam: the box).
inline constexpr WPARAM MSGF_DIALOGBOX = 0;

// Shows a modal box centred on the owner (on the screen without one) and returns the id of the chosen
// button. The owner is disabled until the box closes. Enter chooses the focused button (the MB_DEFBUTTONn
// one at first), Escape and the close box IDCANCEL when there is a Cancel button (IDOK for MB_OK, nothing
// otherwise), Tab and the arrows move between the buttons. A WM_QUIT arriving ends the box (answering
// IDCANCEL, or IDOK for MB_OK) and is posted again for the outer loop. Returns 0 when the box cannot be made.
int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

// The system beep through the display's bell (type is the sound's kind; every kind rings the same bell).
bool MessageBeep(UINT type);

}

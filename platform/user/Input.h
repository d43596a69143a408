// Input: capture, mouse tracking, cursors, the cursor position and the keyboard state.
#pragma once

#include "platform/user/UserTypes.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WindowConstants.h"

namespace korvex::user {

// Mouse messages go to the deepest visible window under the pointer, skipping disabled children (their
// parent gets the message); a disabled top-level window drops them. The window's WM_NCHITTEST answer picks
// client messages (client coordinates, MK_* flags) or non-client ones (the hit code in wParam, screen
// coordinates). Windows whose class has CS_DBLCLKS get double clicks (GetDoubleClickTime, SM_CXDOUBLECLK);
// non-client double clicks always. WM_MOUSEWHEEL goes to the focus window (else the active one). Before
// each mouse message the window under the pointer gets WM_SETCURSOR (not while the mouse is captured).
// Key messages go to the focus window (else the active window, as system keys); Alt makes them WM_SYSKEY*.

// Capture: every mouse message goes to the capture window as a client message. The loser gets
// WM_CAPTURECHANGED (lParam: the new capture window).
HWND SetCapture(HWND hwnd);   // the previous capture window
bool ReleaseCapture();
HWND GetCapture();

// TME_LEAVE: WM_MOUSELEAVE once when the pointer leaves the client area (with TME_NONCLIENT: WM_NCMOUSELEAVE
// when it leaves the window), then tracking ends. TME_CANCEL ends it; TME_QUERY fills the record.
bool TrackMouseEvent(TRACKMOUSEEVENT* tme);

// Cursors. IDC_* values are the Windows resource numbers.
inline constexpr int IDC_ARROW = 32512;
inline constexpr int IDC_IBEAM = 32513;
inline constexpr int IDC_WAIT = 32514;
inline constexpr int IDC_CROSS = 32515;
inline constexpr int IDC_UPARROW = 32516;
inline constexpr int IDC_SIZENWSE = 32642;
inline constexpr int IDC_SIZENESW = 32643;
inline constexpr int IDC_SIZEWE = 32644;
inline constexpr int IDC_SIZENS = 32645;
inline constexpr int IDC_SIZEALL = 32646;
inline constexpr int IDC_NO = 32648;
inline constexpr int IDC_HAND = 32649;
inline constexpr int IDC_APPSTARTING = 32650;
inline constexpr int IDC_HELP = 32651;
HCURSOR LoadCursor(HINSTANCE instance, int id);   // stock cursors only; nullptr for an unknown id
HCURSOR SetCursor(HCURSOR cursor);   // the previous cursor; nullptr hides nothing (keeps the arrow)
HCURSOR GetCursor();
bool GetCursorPos(POINT* point);   // screen coordinates
bool SetCursorPos(int x, int y);   // moves our idea of the pointer (a display may warp it)
// Confines the pointer to a screen rectangle (right and bottom outside; cut to the screen), or frees it
// when rect is nullptr. While confined the display holds the pointer there and positions are kept inside.
bool ClipCursor(const RECT* rect);
bool GetClipCursor(RECT* rect);   // the confinement, or the whole virtual screen when free
int ShowCursor(bool show);   // the display count

// Keyboard state. GetKeyState: as of the message last retrieved (high bit: down; low bit: toggled);
// GetAsyncKeyState: the state now (high bit: down). Mouse buttons are VK_LBUTTON, VK_RBUTTON, VK_MBUTTON.
short GetKeyState(int vk);
short GetAsyncKeyState(int vk);
bool GetKeyboardState(BYTE state[256]);

// The time of the last input event (display milliseconds).
DWORD GetLastInputTime();

}

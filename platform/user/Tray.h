// The notification area: Shell_NotifyIcon, the icons' mouse callbacks, balloons, tooltips and "TaskbarCreated".
#pragma once

#include "platform/gdi/Bitmap.h"
#include "platform/user/Icons.h"
#include "platform/user/MessageIds.h"
#include "platform/user/UserTypes.h"

#include <functional>
#include <string>

namespace korvex::user {

// An icon is known by its owner window and id. Its mouse input comes to the owner as the callback message,
// posted with wParam = uID and lParam = the mouse message (WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP,
// WM_LBUTTONDBLCLK and the same for the right and middle buttons; a second press within GetDoubleClickTime and
// the double-click distance of the first is the DBLCLK message instead of a press). With NOTIFYICON_VERSION
// the left release is followed by NIN_SELECT and the right release by WM_CONTEXTMENU.
// The balloon (one at a time, our own window beside the icon, or at the corner of the work area while no
// tray shows the icon) reports NIN_BALLOONSHOW, NIN_BALLOONHIDE (replaced, removed, icon deleted),
// NIN_BALLOONTIMEOUT (time over, or closed with its close box) and NIN_BALLOONUSERCLICK the same way.
// The tip is shown in a tooltip window while the pointer rests on the icon.
// When a tray appears (a new one after a restart, or the first one) every icon is docked again and the
// "TaskbarCreated" message is posted to all top-level windows. Without any tray the icons are kept and wait
// for one; the log hook hears of that once.
// Calls are for the thread of the owner window (the UI thread); another thread gets false.

inline constexpr UINT NIM_ADD = 0;   // a new icon; an icon that exists is modified instead
inline constexpr UINT NIM_MODIFY = 1;
inline constexpr UINT NIM_DELETE = 2;
inline constexpr UINT NIM_SETFOCUS = 3;   // accepted, does nothing
inline constexpr UINT NIM_SETVERSION = 4;

inline constexpr UINT NIF_MESSAGE = 0x01;   // uCallbackMessage is valid
inline constexpr UINT NIF_ICON = 0x02;   // hIcon is valid
inline constexpr UINT NIF_TIP = 0x04;   // szTip is valid
inline constexpr UINT NIF_INFO = 0x10;   // the balloon fields are valid; an empty szInfo takes the balloon down

inline constexpr DWORD NIIF_NONE = 0;
inline constexpr DWORD NIIF_INFO = 1;
inline constexpr DWORD NIIF_WARNING = 2;
inline constexpr DWORD NIIF_ERROR = 3;
inline constexpr DWORD NIIF_ICON_MASK = 0x0F;
inline constexpr DWORD NIIF_NOSOUND = 0x10;

inline constexpr UINT NOTIFYICON_VERSION = 3;

inline constexpr UINT NIN_SELECT = WM_USER + 0;
inline constexpr UINT NIN_KEYSELECT = WM_USER + 1;
inline constexpr UINT NIN_BALLOONSHOW = WM_USER + 2;
inline constexpr UINT NIN_BALLOONHIDE = WM_USER + 3;
inline constexpr UINT NIN_BALLOONTIMEOUT = WM_USER + 4;
inline constexpr UINT NIN_BALLOONUSERCLICK = WM_USER + 5;

// Text limits in characters (code points); longer texts are cut.
inline constexpr int NOTIFYICON_TIP_CHARS = 127;
inline constexpr int NOTIFYICON_INFO_CHARS = 255;
inline constexpr int NOTIFYICON_INFOTITLE_CHARS = 63;

// Balloon time-out: 0 takes the default; longer ones are cut to the maximum.
inline constexpr UINT NOTIFYICON_DEFAULT_TIMEOUT = 10000;
inline constexpr UINT NOTIFYICON_MAX_TIMEOUT = 60000;

inline constexpr const char* TaskbarCreatedMessageName = "TaskbarCreated";

// Texts are UTF-8 (std::string instead of fixed arrays, so cutting counts characters, not bytes).
struct NOTIFYICONDATA {
    DWORD cbSize = sizeof(NOTIFYICONDATA);
    HWND hWnd = nullptr;
    UINT uID = 0;
    UINT uFlags = 0;   // NIF_*
    UINT uCallbackMessage = 0;
    HICON hIcon = nullptr;   // its picture is copied (IconPicture, Icons.h); nullptr: an empty slot
    std::string szTip;
    std::string szInfo;
    UINT uTimeout = 0;   // balloon time-out in milliseconds
    UINT uVersion = 0;   // NIM_SETVERSION: 0 or NOTIFYICON_VERSION
    std::string szInfoTitle;
    DWORD dwInfoFlags = 0;   // NIIF_*
};

bool Shell_NotifyIcon(DWORD message, NOTIFYICONDATA* data);

// The icon's rectangle on the screen; false while it is not docked in a tray.
bool GetNotifyIconRect(HWND hwnd, UINT id, RECT* rect);
// Whether a tray is there to show icons now.
bool NotifyAreaAvailable();
// The side of an icon slot in pixels (icons of another size are scaled down to fit, or centred).
int NotifyIconSize();

// Where the notification area reports what the user should know (no tray); stderr while not set.
using TrayLogHook = std::function<void(const std::string& line)>;
void SetTrayLog(TrayLogHook hook);

}

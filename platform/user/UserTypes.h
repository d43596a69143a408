// Window-system value types: handles, message parameters, the records messages carry, and the parameter helpers.
#pragma once

#include "platform/gdi/Types.h"
#include "platform/user/Forward.h"

#include <cstdint>
#include <string>

namespace korvex::user {

using gdi::BYTE;
using gdi::COLORREF;
using gdi::DWORD;
using gdi::HBITMAP;
using gdi::HBRUSH;
using gdi::HDC;
using gdi::HFONT;
using gdi::HRGN;
using gdi::LONG;
using gdi::POINT;
using gdi::RECT;
using gdi::SIZE;
using gdi::UINT;
using gdi::WORD;

// Message parameters are pointer-sized.
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using LONG_PTR = std::intptr_t;
using ATOM = WORD;
using HANDLE = void*;

// Handles. HWND values are numbers from the window table (slot and generation), never addresses: a destroyed
// window's handle is refused by every call, even after its slot is reused.
struct HWND__;
using HWND = HWND__*;
using HMENU = MenuObject*;   // the objects behind these three: Forward.h
using HCURSOR = const CursorObject*;
using HICON = IconObject*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;   // kept for the Windows shapes; always nullptr
struct HDWP__;
using HDWP = HDWP__*;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, std::uintptr_t, DWORD);

// Special window handles.
inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(std::intptr_t(1));
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(std::intptr_t(-1));
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(std::intptr_t(-2));
inline HWND const HWND_MESSAGE = reinterpret_cast<HWND>(std::intptr_t(-3));   // parent of message-only windows
inline HWND const HWND_BROADCAST = reinterpret_cast<HWND>(std::intptr_t(0xFFFF));

// ---------------------------------------------------------------------------------------------------------
// Parameter helpers
inline constexpr WORD LOWORD(std::uintptr_t v) {
    return WORD(v & 0xFFFF);
}
inline constexpr WORD HIWORD(std::uintptr_t v) {
    return WORD((v >> 16) & 0xFFFF);
}
inline constexpr BYTE LOBYTE(std::uintptr_t v) {
    return BYTE(v & 0xFF);
}
inline constexpr BYTE HIBYTE(std::uintptr_t v) {
    return BYTE((v >> 8) & 0xFF);
}
inline constexpr DWORD MAKELONG(WORD low, WORD high) {
    return DWORD(low) | (DWORD(high) << 16);
}
inline constexpr LPARAM MAKELPARAM(int low, int high) {
    return LPARAM(MAKELONG(WORD(low), WORD(high)));
}
inline constexpr WPARAM MAKEWPARAM(int low, int high) {
    return WPARAM(MAKELONG(WORD(low), WORD(high)));
}
inline constexpr LRESULT MAKELRESULT(int low, int high) {
    return LRESULT(MAKELONG(WORD(low), WORD(high)));
}
// Signed coordinates packed in an LPARAM (mouse messages, WM_MOVE, WM_NCHITTEST).
inline constexpr int GET_X_LPARAM(LPARAM v) {
    return int(std::int16_t(LOWORD(std::uintptr_t(v))));
}
inline constexpr int GET_Y_LPARAM(LPARAM v) {
    return int(std::int16_t(HIWORD(std::uintptr_t(v))));
}
inline constexpr std::int16_t GET_WHEEL_DELTA_WPARAM(WPARAM v) {
    return std::int16_t(HIWORD(v));
}
inline constexpr WORD GET_KEYSTATE_WPARAM(WPARAM v) {
    return LOWORD(v);
}
inline constexpr LPARAM PointToLParam(POINT p) {
    return MAKELPARAM(p.x, p.y);
}
inline constexpr POINT LParamToPoint(LPARAM v) {
    return POINT {GET_X_LPARAM(v), GET_Y_LPARAM(v)};
}

// ---------------------------------------------------------------------------------------------------------
// Records
struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;   // milliseconds of the queue's clock
    POINT pt {};   // cursor position in screen coordinates when the message was queued
    DWORD lPrivate = 0;   // the queue's own tag (key text of key messages); keep it when re-posting
};

struct WNDCLASSEX {
    UINT cbSize = sizeof(WNDCLASSEX);
    UINT style = 0;   // CS_*
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;   // bytes read and written with Get/SetWindowLongPtr at offsets >= 0
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;   // a brush, or SysColorBackground(COLOR_*) as COLOR_* + 1
    std::string lpszMenuName;
    std::string lpszClassName;   // compared without case
    HICON hIconSm = nullptr;
};

// The class background given as a system colour index (COLOR_* + 1), as Windows classes do.
inline HBRUSH SysColorBackground(int colorIndex) {
    return reinterpret_cast<HBRUSH>(std::intptr_t(colorIndex + 1));
}

struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    HINSTANCE hInstance = nullptr;
    HMENU hMenu = nullptr;
    HWND hwndParent = nullptr;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    LONG style = 0;
    const char* lpszName = nullptr;   // UTF-8
    const char* lpszClass = nullptr;
    DWORD dwExStyle = 0;
};

struct WINDOWPOS {
    HWND hwnd = nullptr;
    HWND hwndInsertAfter = nullptr;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    UINT flags = 0;   // SWP_*
};

struct NCCALCSIZE_PARAMS {
    RECT rgrc[3] {};   // [0]: the new window rectangle in, the new client rectangle out (parent coordinates)
    WINDOWPOS* lppos = nullptr;
};

struct MINMAXINFO {
    POINT ptReserved {};
    POINT ptMaxSize {};
    POINT ptMaxPosition {};
    POINT ptMinTrackSize {};
    POINT ptMaxTrackSize {};
};

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    bool fErase = false;   // the background still needs erasing (WM_ERASEBKGND answered 0)
    RECT rcPaint {};   // client coordinates
    bool fRestore = false;
    bool fIncUpdate = false;
};

struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;   // SIF_*
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

struct TRACKMOUSEEVENT {
    DWORD cbSize = sizeof(TRACKMOUSEEVENT);
    DWORD dwFlags = 0;   // TME_*
    HWND hwndTrack = nullptr;
    DWORD dwHoverTime = 0;
};

struct WINDOWPLACEMENT {
    UINT length = sizeof(WINDOWPLACEMENT);
    UINT flags = 0;
    UINT showCmd = 0;   // SW_*
    POINT ptMinPosition {};
    POINT ptMaxPosition {};
    RECT rcNormalPosition {};   // the restored rectangle (parent coordinates)
};

struct STYLESTRUCT {
    DWORD styleOld = 0;
    DWORD styleNew = 0;
};

}

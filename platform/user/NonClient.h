// The default non-client area: frame metrics, hit testing, frame painting, caption buttons, system commands.
#pragma once

#include "platform/user/UserTypes.h"

#include <functional>

namespace korvex::user {

// ---------------------------------------------------------------------------------------------------------
// The default window procedure's share. DefWindowProc hands every message IsNonClientMessage names to
// DefNonClientProc: WM_NCCALCSIZE, WM_NCHITTEST, WM_NCPAINT, WM_NCACTIVATE, the non-client mouse messages,
// WM_NCMOUSELEAVE, WM_SYSCOMMAND and WM_GETMINMAXINFO. Frame state kept for a window (active look, scroll
// bar data) goes with it: the window layer may call NonClientWindowDestroyed, else it is found dead later.
bool IsNonClientMessage(UINT msg);
LRESULT DefNonClientProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void NonClientWindowDestroyed(HWND hwnd);

// WM_SIZING edge codes (wParam), and the SC_SIZE low bits of a mouse-started size: WMSZ = hit code - 9.
inline constexpr WPARAM WMSZ_LEFT = 1;
inline constexpr WPARAM WMSZ_RIGHT = 2;
inline constexpr WPARAM WMSZ_TOP = 3;
inline constexpr WPARAM WMSZ_TOPLEFT = 4;
inline constexpr WPARAM WMSZ_TOPRIGHT = 5;
inline constexpr WPARAM WMSZ_BOTTOM = 6;
inline constexpr WPARAM WMSZ_BOTTOMLEFT = 7;
inline constexpr WPARAM WMSZ_BOTTOMRIGHT = 8;

// ---------------------------------------------------------------------------------------------------------
// Frame geometry. The frame of a window with these styles and a menu bar of menuHeight pixels, as the
// distances from each side of the window rectangle to the client rectangle (scroll bars not counted, as
// AdjustWindowRectEx counts them).
RECT NonClientInsets(DWORD style, DWORD exStyle, int menuHeight);
// The window rectangle around a client rectangle for these styles, with one menu row when menu is set.
bool AdjustWindowRectEx(RECT* rect, DWORD style, bool menu, DWORD exStyle);
bool AdjustWindowRect(RECT* rect, DWORD style, bool menu);
// The thickness of the outer frame alone (sizing, dialog or thin border, plus a static edge).
SIZE FrameThickness(DWORD style, DWORD exStyle);

// ---------------------------------------------------------------------------------------------------------
// Minimizing, maximizing and track sizes.
// The defaults WM_GETMINMAXINFO starts from: maximized over the work area (a child: its parent's client area)
// with the frame outside it, minimum track size SM_CXMINTRACK x SM_CYMINTRACK, maximum SM_CXMAXTRACK x
// SM_CYMAXTRACK.
MINMAXINFO DefaultMinMaxInfo(HWND hwnd);
// WM_GETMINMAXINFO's default leaves the record as the sender filled it: a procedure may set values before or
// after calling the default.
// The defaults, then WM_GETMINMAXINFO so the window can change them.
MINMAXINFO QueryMinMaxInfo(HWND hwnd);
// The rectangle a maximized window takes (parent coordinates; screen for top-level windows).
RECT GetMaximizedBounds(HWND hwnd);

// ---------------------------------------------------------------------------------------------------------
// Frame state and drawing.
bool IsFrameActive(HWND hwnd);   // as WM_NCACTIVATE last said (false before the first one)
// Paints the non-client area now (WM_NCPAINT's default): clip nullptr or 1 for all of it, else a region in
// screen coordinates (it stays the caller's).
void PaintNonClient(HWND hwnd, HRGN clip);
// Paints the frame into a DC of the caller's whose origin stands for the window's top-left corner (WM_PRINT
// with PRF_NONCLIENT); the DC's state is left as it was.
void PrintNonClient(HWND hwnd, HDC dc);
// Repaints the caption bar alone (after the text or the active state changed).
void RedrawCaption(HWND hwnd);

// Cursor shape for a hit code (WM_SETCURSOR's default over the frame): the IDC_* id, 0 for the class cursor.
int CursorIdForHitTest(HWND hwnd, LRESULT hitCode);

// ---------------------------------------------------------------------------------------------------------
// The menu bar belongs to the menu layer, which installs these (without them no window has a bar). Height
// answers the bar's height for its width inside the frame (0: no bar; SM_CYMENU a row); Paint draws it into the band.
struct MenuBarHooks {
    std::function<int(HWND hwnd, int barWidth)> Height;
    std::function<void(HWND hwnd, HDC windowDc, const RECT& bar)> Paint;   // window coordinates
    std::function<void(HWND hwnd, LRESULT hitCode, POINT screenPoint)> Track;   // a click on the bar
};
void SetMenuBarHooks(MenuBarHooks hooks);

// Modal loops run by the default procedure (move, size, caption buttons, scroll bars) stop early on
// WM_CANCELMODE, a lost capture, a destroyed window or WM_QUIT (re-posted).
bool InNonClientLoop();   // one of them runs on this thread

}

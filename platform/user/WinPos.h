// Window positions: SetWindowPos, showing, minimizing and maximizing, rectangles and coordinate mapping, hit lookup.
#pragma once

#include "platform/user/UserTypes.h"
#include "platform/user/WindowConstants.h"

namespace korvex::user {

// Rectangles of top-level windows are in screen coordinates, of child windows in the parent's client
// coordinates; GetWindowRect always answers in screen coordinates.

// WM_WINDOWPOSCHANGING (unless SWP_NOSENDCHANGING; the receiver may change the WINDOWPOS), WM_NCCALCSIZE when
// the size changes or SWP_FRAMECHANGED, the move, WM_WINDOWPOSCHANGED (whose default sends WM_MOVE and WM_SIZE),
// repainting of what was uncovered, activation unless SWP_NOACTIVATE. insertAfter: a sibling, HWND_TOP,
// HWND_BOTTOM, HWND_TOPMOST, HWND_NOTOPMOST.
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags);
bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint);
bool BringWindowToTop(HWND hwnd);

// Deferred positioning: collected, then applied in order by EndDeferWindowPos.
HDWP BeginDeferWindowPos(int count);
HDWP DeferWindowPos(HDWP info, HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags);
bool EndDeferWindowPos(HDWP info);

// SW_* commands. Returns whether the window was visible before. WM_SHOWWINDOW on visibility changes;
// SW_MAXIMIZE takes the bounds from WM_GETMINMAXINFO (the work area by default); SW_MINIMIZE hides owned
// windows with WM_SHOWWINDOW(false, SW_PARENTCLOSING) and SW_RESTORE shows them again (SW_PARENTOPENING).
// WM_SIZE carries SIZE_MINIMIZED / SIZE_MAXIMIZED / SIZE_RESTORED.
bool ShowWindow(HWND hwnd, int command);
bool ShowOwnedPopups(HWND owner, bool show);
bool IsIconic(HWND hwnd);
bool IsZoomed(HWND hwnd);
bool OpenIcon(HWND hwnd);   // restores a minimized window
bool CloseWindow(HWND hwnd);   // minimizes (as Windows' CloseWindow does)
bool GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement);
bool SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement);

bool GetWindowRect(HWND hwnd, RECT* rect);   // screen coordinates
bool GetClientRect(HWND hwnd, RECT* rect);   // (0, 0, width, height)
RECT WindowRect(HWND hwnd);   // screen coordinates; empty for a dead window
RECT ClientRect(HWND hwnd);
bool ClientToScreen(HWND hwnd, POINT* point);
bool ScreenToClient(HWND hwnd, POINT* point);
// From one window's client coordinates to another's (nullptr: the screen). Returns the offset as
// MAKELONG(dx, dy), 0 on failure (as Windows, which cannot tell a zero offset from a failure either).
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
int MapWindowRect(HWND from, HWND to, RECT* rect);
// The client area of a window in screen coordinates.
RECT ClientRectOnScreen(HWND hwnd);

// A window's rectangle for a client rectangle with the default frame of the styles (answered by the non-client
// area from its own layout rules; scroll bars are not counted).
bool AdjustWindowRectEx(RECT* rect, DWORD style, bool menu, DWORD exStyle);

// The deepest visible, enabled window under a screen point, honouring window regions and answering HTTRANSPARENT
// by looking further down (WM_NCHITTEST is sent). nullptr outside all windows.
HWND WindowFromPoint(POINT screenPoint);
// A direct child under a client point of the parent (or the parent itself, or nullptr outside it).
inline constexpr UINT CWP_ALL = 0x0000;
inline constexpr UINT CWP_SKIPINVISIBLE = 0x0001;
inline constexpr UINT CWP_SKIPDISABLED = 0x0002;
inline constexpr UINT CWP_SKIPTRANSPARENT = 0x0004;
HWND ChildWindowFromPoint(HWND parent, POINT clientPoint);
HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags);
HWND RealChildWindowFromPoint(HWND parent, POINT clientPoint);

// Window regions (window coordinates: the window's top-left is 0,0). SetWindowRgn takes the region (it is
// deleted when replaced or when the window goes; don't use it afterwards) and clips painting and hit testing;
// nullptr removes the region. It sends WM_WINDOWPOSCHANGING/CHANGED (SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE
// ...) synchronously; redraw repaints the window (frame included). GetWindowRgn copies the region into an
// existing one: ERROR when the window has none.
int SetWindowRgn(HWND hwnd, HRGN region, bool redraw);
int GetWindowRgn(HWND hwnd, HRGN region);
int GetWindowRgnBox(HWND hwnd, RECT* box);

}

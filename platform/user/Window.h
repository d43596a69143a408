// Windows: classes, creation and destruction, the tree, window data, properties, text and enabling.
#pragma once

#include "platform/user/MessageIds.h"
#include "platform/user/UserTypes.h"
#include "platform/user/WindowConstants.h"

#include <functional>
#include <string>
#include <thread>

namespace korvex::user {

// Every call fails the Windows way for a null or destroyed window (false, 0 or nullptr) and never throws.
// Windows belong to the thread that created them; the calls below are for that thread, except IsWindow,
// PostMessage and SendMessage (Messages.h).

// ---------------------------------------------------------------------------------------------------------
// Classes. A name already registered is refused (0). Names are compared without case.
ATOM RegisterClassEx(const WNDCLASSEX* wc);
bool UnregisterClass(const std::string& className);   // false while windows of the class exist
bool GetClassInfoEx(const std::string& className, WNDCLASSEX* out);
int GetClassName(HWND hwnd, char* buffer, int size);   // bytes copied, 0 on failure
std::string GetClassName(HWND hwnd);
LONG_PTR GetClassLongPtr(HWND hwnd, int index);   // GCL_*
LONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value);   // GCL_STYLE, GCL_HCURSOR, GCL_HBRBACKGROUND...

// ---------------------------------------------------------------------------------------------------------
// Creation: WM_NCCREATE (whose default keeps the window name), WM_NCCALCSIZE, WM_CREATE, then WM_SIZE and
// WM_MOVE, WM_PARENTNOTIFY to the parents of a child without WS_EX_NOPARENTNOTIFY, and WM_SHOWWINDOW when
// WS_VISIBLE is given. A child's id travels in `menu` (ChildId). WM_NCCREATE answering 0 or WM_CREATE answering
// -1 destroys the window and returns nullptr. parent HWND_MESSAGE makes a message-only window (never shown).
HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& windowName, DWORD style, int x,
    int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
inline HMENU ChildId(int id) {
    return reinterpret_cast<HMENU>(std::intptr_t(id));
}

// Children first (bottom of the tree up), each getting WM_DESTROY then (after its children) WM_NCDESTROY.
// A window procedure may destroy its own window while handling a message: the handle is dead at once, and the
// object lives until the outermost message of that window returns. Owned windows are destroyed first.
bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);   // any thread

// ---------------------------------------------------------------------------------------------------------
// The tree. Top-level windows are children of the desktop window; siblings are kept topmost first.
HWND GetDesktopWindow();
HWND GetParent(HWND hwnd);   // a child's parent, a top-level's owner (as Windows answers)
HWND SetParent(HWND hwnd, HWND newParent);   // the old parent; nullptr newParent: top-level
HWND GetWindow(HWND hwnd, UINT relation);   // GW_*
HWND GetTopWindow(HWND hwnd);   // topmost child; nullptr hwnd: topmost top-level
HWND GetAncestor(HWND hwnd, UINT flags);   // GA_*
bool IsChild(HWND parent, HWND hwnd);   // any depth
using WNDENUMPROC = std::function<bool(HWND)>;   // return false to stop
bool EnumChildWindows(HWND parent, const WNDENUMPROC& callback);   // all descendants, parents before children
bool EnumWindows(const WNDENUMPROC& callback);   // top-level windows, topmost first
bool EnumThreadWindows(std::thread::id thread, const WNDENUMPROC& callback);
HWND FindWindow(const std::string& className, const std::string& windowName);   // empty: any
std::thread::id GetWindowThreadId(HWND hwnd);

// ---------------------------------------------------------------------------------------------------------
// Window data. GWL_STYLE/GWL_EXSTYLE changes send WM_STYLECHANGING and WM_STYLECHANGED; the frame is
// recomputed only by SetWindowPos(SWP_FRAMECHANGED), as in Windows. GWL_WNDPROC returns the old procedure:
// keep it and pass unhandled messages to it with CallWindowProc. Offsets >= 0 address the class's
// cbWndExtra bytes.
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);   // the previous value
inline LONG_PTR GetWindowLong(HWND hwnd, int index) {
    return GetWindowLongPtr(hwnd, index);
}
inline LONG_PTR SetWindowLong(HWND hwnd, int index, LONG_PTR value) {
    return SetWindowLongPtr(hwnd, index, value);
}
inline WNDPROC ProcFromLong(LONG_PTR value) {
    return reinterpret_cast<WNDPROC>(value);
}
inline LONG_PTR LongFromProc(WNDPROC proc) {
    return reinterpret_cast<LONG_PTR>(proc);
}
DWORD GetWindowStyle(HWND hwnd);
DWORD GetWindowExStyle(HWND hwnd);
int GetDlgCtrlID(HWND hwnd);
HWND GetDlgItem(HWND parent, int id);

// Calls a procedure directly: no queue, no thread switch. An exception passes up the chain to the outermost
// SendMessage or DispatchMessage, which hands it to the exception handler. A null proc gives 0.
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Properties: named data attached to a window (removed without being freed when the window is destroyed).
bool SetProp(HWND hwnd, const std::string& name, HANDLE data);
HANDLE GetProp(HWND hwnd, const std::string& name);
HANDLE RemoveProp(HWND hwnd, const std::string& name);
using PROPENUMPROC = std::function<bool(HWND, const std::string&, HANDLE)>;
int EnumProps(HWND hwnd, const PROPENUMPROC& callback);   // the last callback result, -1 when none

// Text through WM_SETTEXT / WM_GETTEXT (UTF-8; lengths in bytes).
bool SetWindowText(HWND hwnd, const std::string& text);
int GetWindowText(HWND hwnd, char* buffer, int size);
std::string GetWindowText(HWND hwnd);
int GetWindowTextLength(HWND hwnd);

// Visibility and enabling. EnableWindow sends WM_ENABLE and returns whether the window WAS disabled;
// disabling the focus window (or its ancestor) takes the focus away.
bool IsWindowVisible(HWND hwnd);   // the window and all its parents have WS_VISIBLE
bool IsWindowEnabled(HWND hwnd);
bool EnableWindow(HWND hwnd, bool enable);

}

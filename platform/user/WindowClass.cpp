// Window classes: registration, look-up without case, and class data.
#include "platform/user/Window.h"

#include "platform/base/Strings.h"
#include "platform/user/WindowObject.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

namespace korvex::user {

using detail::WindowClass;
using detail::WindowObject;

namespace {

std::mutex& ClassMutex() {
    static std::mutex mutex;
    return mutex;
}
std::map<std::string, std::shared_ptr<WindowClass>>& Classes() {
    static std::map<std::string, std::shared_ptr<WindowClass>> classes;
    return classes;
}
}   // namespace

namespace detail {

std::shared_ptr<WindowClass> FindClass(const std::string& name) {
    std::lock_guard lock(ClassMutex());
    auto it = Classes().find(base::UpperCase(name));
    return it == Classes().end() ? nullptr : it->second;
}

}   // namespace detail

using detail::FromHandle;

// ---------------------------------------------------------------------------------------------------------
// Classes
ATOM RegisterClassEx(const WNDCLASSEX* wc) {
    if (!wc || wc->lpszClassName.empty() || wc->cbWndExtra < 0 || wc->cbClsExtra < 0) return 0;
    std::lock_guard lock(ClassMutex());
    auto key = base::UpperCase(wc->lpszClassName);
    if (Classes().count(key)) return 0;
    static ATOM nextAtom = 0xC000;
    auto cls = std::make_shared<WindowClass>();
    cls->Name = wc->lpszClassName;
    cls->Style = wc->style;
    cls->Proc = wc->lpfnWndProc;
    cls->ClsExtra = wc->cbClsExtra;
    cls->WndExtra = wc->cbWndExtra;
    cls->Icon = wc->hIcon;
    cls->IconSm = wc->hIconSm;
    cls->Cursor = wc->hCursor;
    cls->Background = wc->hbrBackground;
    cls->MenuName = wc->lpszMenuName;
    cls->Atom = nextAtom++;
    Classes()[key] = cls;
    return cls->Atom;
}

bool UnregisterClass(const std::string& className) {
    std::lock_guard lock(ClassMutex());
    auto it = Classes().find(base::UpperCase(className));
    if (it == Classes().end() || it->second->Windows > 0) return false;
    Classes().erase(it);
    return true;
}

bool GetClassInfoEx(const std::string& className, WNDCLASSEX* out) {
    auto cls = detail::FindClass(className);
    if (!cls || !out) return false;
    out->style = cls->Style;
    out->lpfnWndProc = cls->Proc;
    out->cbClsExtra = cls->ClsExtra;
    out->cbWndExtra = cls->WndExtra;
    out->hIcon = cls->Icon;
    out->hIconSm = cls->IconSm;
    out->hCursor = cls->Cursor;
    out->hbrBackground = cls->Background;
    out->lpszMenuName = cls->MenuName;
    out->lpszClassName = cls->Name;
    return true;
}

std::string GetClassName(HWND hwnd) {
    WindowObject* w = FromHandle(hwnd);
    return w ? w->Class->Name : std::string();
}

int GetClassName(HWND hwnd, char* buffer, int size) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || !buffer || size <= 0) return 0;
    int n = std::min(int(w->Class->Name.size()), size - 1);
    std::memcpy(buffer, w->Class->Name.data(), std::size_t(n));
    buffer[n] = 0;
    return n;
}

LONG_PTR GetClassLongPtr(HWND hwnd, int index) {
    WindowObject* w = FromHandle(hwnd);
    if (!w) return 0;
    const WindowClass& c = *w->Class;
    switch (index) {
    case GCL_STYLE:
        return LONG_PTR(c.Style);
    case GCL_WNDPROC:
        return reinterpret_cast<LONG_PTR>(c.Proc);
    case GCL_HCURSOR:
        return reinterpret_cast<LONG_PTR>(c.Cursor);
    case GCL_HBRBACKGROUND:
        return reinterpret_cast<LONG_PTR>(c.Background);
    case GCL_HICON:
        return reinterpret_cast<LONG_PTR>(c.Icon);
    case GCL_HICONSM:
        return reinterpret_cast<LONG_PTR>(c.IconSm);
    case GCL_CBWNDEXTRA:
        return c.WndExtra;
    default:
        return 0;
    }
}

LONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value) {
    WindowObject* w = FromHandle(hwnd);
    if (!w) return 0;
    WindowClass& c = *w->Class;
    LONG_PTR old = GetClassLongPtr(hwnd, index);
    switch (index) {
    case GCL_STYLE:
        c.Style = UINT(value);
        break;
    case GCL_WNDPROC:
        c.Proc = reinterpret_cast<WNDPROC>(value);
        break;
    case GCL_HCURSOR:
        c.Cursor = reinterpret_cast<HCURSOR>(value);
        break;
    case GCL_HBRBACKGROUND:
        c.Background = reinterpret_cast<HBRUSH>(value);
        break;
    case GCL_HICON:
        c.Icon = reinterpret_cast<HICON>(value);
        break;
    case GCL_HICONSM:
        c.IconSm = reinterpret_cast<HICON>(value);
        break;
    default:
        return 0;
    }
    return old;
}

}

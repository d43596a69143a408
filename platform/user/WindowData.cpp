// Window data: the GWL_* values and extra bytes, properties, text, and enabling.
#include "platform/user/Window.h"

#include "platform/base/Strings.h"
#include "platform/user/Focus.h"
#include "platform/user/Messages.h"
#include "platform/user/WindowObject.h"

#include <algorithm>
#include <cstring>

namespace korvex::user {

using detail::FromHandle;
using detail::WindowObject;

// ---------------------------------------------------------------------------------------------------------
// Window data
LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
    WindowObject* w = FromHandle(hwnd);
    if (!w) return 0;
    switch (index) {
    case GWL_WNDPROC:
        return reinterpret_cast<LONG_PTR>(w->Proc);
    case GWL_HINSTANCE:
        return 0;
    case GWL_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(GetParent(hwnd));
    case GWL_ID:
        return w->Id;
    case GWL_STYLE:
        return LONG_PTR(w->Style);
    case GWL_EXSTYLE:
        return LONG_PTR(w->ExStyle);
    case GWL_USERDATA:
        return w->UserData;
    default:
        break;
    }
    if (index < 0 || std::size_t(index) + sizeof(LONG_PTR) > w->Extra.size()) return 0;
    LONG_PTR value;
    std::memcpy(&value, w->Extra.data() + index, sizeof value);
    return value;
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || w->IsDesktop) return 0;
    LONG_PTR old = GetWindowLongPtr(hwnd, index);
    switch (index) {
    case GWL_WNDPROC:
        w->Proc = reinterpret_cast<WNDPROC>(value);
        return old;
    case GWL_ID:
        w->Id = value;
        return old;
    case GWL_USERDATA:
        w->UserData = value;
        return old;
    case GWL_HWNDPARENT: {
        old = reinterpret_cast<LONG_PTR>(w->Owner ? w->Owner->Handle : nullptr);
        if (detail::IsTopLevel(w)) {
            WindowObject* o = FromHandle(reinterpret_cast<HWND>(value));
            w->Owner = o && o != w ? detail::TopLevelOf(o) : nullptr;
        }
        return old;
    }
    case GWL_STYLE:
    case GWL_EXSTYLE: {
        STYLESTRUCT ss {DWORD(old), DWORD(value)};
        detail::KeepAlive hold(w);
        detail::Send(w, WM_STYLECHANGING, WPARAM(index), reinterpret_cast<LPARAM>(&ss));
        if (!hold.Alive()) return 0;
        if (index == GWL_STYLE)
            w->Style = ss.styleNew;
        else
            w->ExStyle = ss.styleNew;
        detail::ClippingChanged();
        detail::Send(w, WM_STYLECHANGED, WPARAM(index), reinterpret_cast<LPARAM>(&ss));
        if (hold.Alive()) detail::RefreshOpenDcs();
        return old;
    }
    default:
        break;
    }
    if (index < 0 || std::size_t(index) + sizeof(LONG_PTR) > w->Extra.size()) return 0;
    std::memcpy(w->Extra.data() + index, &value, sizeof value);
    return old;
}

DWORD GetWindowStyle(HWND hwnd) {
    return DWORD(GetWindowLongPtr(hwnd, GWL_STYLE));
}

DWORD GetWindowExStyle(HWND hwnd) {
    return DWORD(GetWindowLongPtr(hwnd, GWL_EXSTYLE));
}

int GetDlgCtrlID(HWND hwnd) {
    WindowObject* w = FromHandle(hwnd);
    return w && w->IsChildStyle() ? int(w->Id) : 0;
}

HWND GetDlgItem(HWND parent, int id) {
    WindowObject* p = FromHandle(parent);
    if (!p) return nullptr;
    for (WindowObject* c : p->Children)
        if (c->Id == id) return c->Handle;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// Properties
bool SetProp(HWND hwnd, const std::string& name, HANDLE data) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || name.empty()) return false;
    for (auto& [key, value] : w->Props)
        if (base::SameText(key, name)) {
            value = data;
            return true;
        }
    w->Props.emplace_back(name, data);
    return true;
}

HANDLE GetProp(HWND hwnd, const std::string& name) {
    WindowObject* w = FromHandle(hwnd);
    if (!w) return nullptr;
    for (auto& [key, value] : w->Props)
        if (base::SameText(key, name)) return value;
    return nullptr;
}

HANDLE RemoveProp(HWND hwnd, const std::string& name) {
    WindowObject* w = FromHandle(hwnd);
    if (!w) return nullptr;
    for (auto it = w->Props.begin(); it != w->Props.end(); ++it)
        if (base::SameText(it->first, name)) {
            HANDLE data = it->second;
            w->Props.erase(it);
            return data;
        }
    return nullptr;
}

int EnumProps(HWND hwnd, const PROPENUMPROC& callback) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || !callback) return -1;
    auto props = w->Props;
    int result = -1;
    for (auto& [key, value] : props) {
        result = callback(hwnd, key, value) ? 1 : 0;
        if (!result) break;
    }
    return result;
}

// ---------------------------------------------------------------------------------------------------------
// Text
bool SetWindowText(HWND hwnd, const std::string& text) {
    if (!IsWindow(hwnd)) return false;
    return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

int GetWindowText(HWND hwnd, char* buffer, int size) {
    if (!buffer || size <= 0 || !IsWindow(hwnd)) return 0;
    buffer[0] = 0;
    return int(SendMessage(hwnd, WM_GETTEXT, WPARAM(size), reinterpret_cast<LPARAM>(buffer)));
}

std::string GetWindowText(HWND hwnd) {
    int length = GetWindowTextLength(hwnd);
    if (length <= 0) return {};
    std::string text(std::size_t(length) + 1, '\0');
    int n = GetWindowText(hwnd, text.data(), length + 1);
    text.resize(std::size_t(std::max(0, n)));
    return text;
}

int GetWindowTextLength(HWND hwnd) {
    if (!IsWindow(hwnd)) return 0;
    return int(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

// ---------------------------------------------------------------------------------------------------------
// Visibility and enabling
bool IsWindowVisible(HWND hwnd) {
    WindowObject* w = FromHandle(hwnd);
    return w && detail::VisibleChain(w);
}

bool IsWindowEnabled(HWND hwnd) {
    WindowObject* w = FromHandle(hwnd);
    return w && w->Enabled();
}

bool EnableWindow(HWND hwnd, bool enable) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || w->IsDesktop) return false;
    bool wasDisabled = !w->Enabled();
    if (wasDisabled != enable) return wasDisabled;
    detail::KeepAlive hold(w);
    if (enable) {
        w->Style &= ~WS_DISABLED;
    } else {
        w->Style |= WS_DISABLED;
        if (WindowObject* focus = FromHandle(GetFocus()); focus && detail::IsDescendant(w, focus)) SetFocus(nullptr);
        if (!hold.Alive()) return wasDisabled;
    }
    detail::Send(w, WM_ENABLE, enable ? 1 : 0, 0);
    return wasDisabled;
}

}

// Finding windows under a point: WindowFromPoint with WM_NCHITTEST and HTTRANSPARENT, ChildWindowFromPoint.
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowObject.h"

#include <algorithm>
#include <vector>

namespace korvex::user {

using detail::FromHandle;
using detail::WindowObject;

namespace {

bool Skipped(const std::vector<WindowObject*>& skipped, const WindowObject* w) {
    return std::find(skipped.begin(), skipped.end(), w) != skipped.end();
}

WindowObject* Deepest(WindowObject* w, POINT p, const std::vector<WindowObject*>& skipped, bool skipDisabled) {
    RECT client = detail::ScreenClientRect(w);
    if (!gdi::PtInRect(&client, p)) return w;
    for (WindowObject* child : w->Children) {
        if (!child->Visible() || Skipped(skipped, child) || !detail::ContainsScreenPoint(child, p)) continue;
        if (skipDisabled && !child->Enabled()) return w;   // the parent gets what lands on a disabled child
        return Deepest(child, p, skipped, skipDisabled);
    }
    return w;
}

}   // namespace

namespace detail {

WindowObject* HitWindow(POINT p, LRESULT* hit, bool skipDisabled) {
    std::vector<WindowObject*> skipped;
    for (int guard = 0; guard < 256; ++guard) {
        WindowObject* found = nullptr;
        for (WindowObject* top : Desktop()->Children) {
            if (!top->Visible() || (top->Style & WS_MINIMIZE) || Skipped(skipped, top)) continue;
            if (!ContainsScreenPoint(top, p)) continue;
            found = Deepest(top, p, skipped, skipDisabled);
            break;
        }
        if (!found) return nullptr;
        LRESULT code = SendMessage(found->Handle, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
        if (!FromHandle(found->Handle)) {
            skipped.clear();
            continue;
        }
        if (code == HTTRANSPARENT) {
            skipped.push_back(found);
            continue;
        }
        if (hit) *hit = code;
        return found;
    }
    return nullptr;
}

}   // namespace detail

HWND WindowFromPoint(POINT screenPoint) {
    LRESULT hit = HTNOWHERE;
    WindowObject* w = detail::HitWindow(screenPoint, &hit, true);
    return w ? w->Handle : nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags) {
    WindowObject* p = FromHandle(parent);
    if (!p) return nullptr;
    POINT screen = clientPoint;
    ClientToScreen(parent, &screen);
    if (!detail::ContainsScreenPoint(p, screen) && !p->IsDesktop) return nullptr;
    for (WindowObject* child : p->Children) {
        if ((flags & CWP_SKIPINVISIBLE) && !child->Visible()) continue;
        if ((flags & CWP_SKIPDISABLED) && !child->Enabled()) continue;
        if ((flags & CWP_SKIPTRANSPARENT) && (child->ExStyle & WS_EX_TRANSPARENT)) continue;
        if (detail::ContainsScreenPoint(child, screen)) return child->Handle;
    }
    return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT clientPoint) {
    return ChildWindowFromPointEx(parent, clientPoint, CWP_ALL);
}

HWND RealChildWindowFromPoint(HWND parent, POINT clientPoint) {
    return ChildWindowFromPointEx(parent, clientPoint, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
}

}

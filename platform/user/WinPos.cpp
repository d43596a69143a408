// Window positions: geometry helpers, SetWindowPos and its messages, rectangles and coordinate mapping.
#include "platform/user/WinPos.h"

#include "platform/user/Focus.h"
#include "platform/user/Screen.h"
#include "platform/user/Window.h"
#include "platform/user/WindowObject.h"

#include <algorithm>
#include <vector>

namespace korvex::user {

using detail::FromHandle;
using detail::WindowObject;

namespace detail {

namespace {
// A child restacked without moving: only what the siblings it passed covered changes. Passing a sibling that
// overlaps it upwards shows more of the child, downwards more of that sibling; passing one that does not
// overlap it shows nothing new, so nothing is repainted.
void ExposeRestacked(WindowObject* w, const std::vector<WindowObject*>& before) {
    const auto& after = w->Parent->Children;
    auto indexIn = [](const std::vector<WindowObject*>& list, const WindowObject* x) {
        return std::size_t(std::find(list.begin(), list.end(), x) - list.begin());
    };
    const std::size_t wasAt = indexIn(before, w);
    const std::size_t isAt = indexIn(after, w);
    bool exposesW = false;
    std::vector<WindowObject*> exposed;
    for (WindowObject* s : before) {
        if (s == w || !s->Visible()) continue;
        const bool wasAbove = indexIn(before, s) < wasAt;
        const bool isAbove = indexIn(after, s) < isAt;
        RECT overlap {};
        if (wasAbove == isAbove || !gdi::IntersectRect(&overlap, &s->Rect, &w->Rect)) continue;
        if (wasAbove)
            exposesW = true;
        else
            exposed.push_back(s);
    }
    // Invalidating sends nothing, so every window here is still alive.
    if (exposesW) InvalidateAll(w, true, true, true);
    for (WindowObject* s : exposed)
        InvalidateAll(s, true, true, true);
}

void UpdateDesktopRect() {
    WindowObject* desktop = Desktop();
    Display* display = CurrentDisplay();
    gdi::SIZE size = display ? display->ScreenSize() : gdi::SIZE {1024, 768};
    const RECT rect {0, 0, size.cx, size.cy};
    if (desktop->Rect != rect || desktop->Client != rect) ClippingChanged();
    desktop->Rect = desktop->Client = rect;
}
}

POINT ClientOrigin(const WindowObject* w) {
    if (!w || w->IsDesktop || w == MessageRoot() || !w->Parent) return POINT {};
    POINT p = ClientOrigin(w->Parent);
    return POINT {p.x + w->Client.left, p.y + w->Client.top};
}

POINT WindowOrigin(const WindowObject* w) {
    if (!w || w->IsDesktop || w == MessageRoot() || !w->Parent) return POINT {};
    POINT p = ClientOrigin(w->Parent);
    return POINT {p.x + w->Rect.left, p.y + w->Rect.top};
}

RECT ScreenWindowRect(const WindowObject* w) {
    if (w && w->IsDesktop) UpdateDesktopRect();
    POINT o = WindowOrigin(w);
    return gdi::Bounds(o.x, o.y, w->Rect.right - w->Rect.left, w->Rect.bottom - w->Rect.top);
}

RECT ScreenClientRect(const WindowObject* w) {
    if (w && w->IsDesktop) UpdateDesktopRect();
    POINT o = ClientOrigin(w);
    return gdi::Bounds(o.x, o.y, w->Client.right - w->Client.left, w->Client.bottom - w->Client.top);
}

POINT StoreOffset(const WindowObject* w) {
    WindowObject* top = TopLevelOf(const_cast<WindowObject*>(w));
    POINT a = WindowOrigin(w);
    POINT b = WindowOrigin(top);
    return POINT {a.x - b.x, a.y - b.y};
}

bool ContainsScreenPoint(const WindowObject* w, POINT p) {
    RECT r = ScreenWindowRect(w);
    if (!gdi::PtInRect(&r, p)) return false;
    if (w->WindowRgn) return w->WindowRgn->Contains(p.x - r.left, p.y - r.top);
    return true;
}

bool SetWindowPosInternal(
    WindowObject* w, HWND insertAfter, int x, int y, int cx, int cy, UINT flags, bool tellDisplay) {
    if (!w || w->IsDesktop || w == MessageRoot()) return false;
    KeepAlive hold(w);
    HWND hwnd = w->Handle;
    if ((flags & SWP_SHOWWINDOW) && w->Visible()) flags &= ~SWP_SHOWWINDOW;
    if ((flags & SWP_HIDEWINDOW) && !w->Visible()) flags &= ~SWP_HIDEWINDOW;
    if (IsTopLevel(w) && w->Parent == MessageRoot()) flags &= ~SWP_SHOWWINDOW;
    WINDOWPOS wp;
    wp.hwnd = hwnd;
    wp.hwndInsertAfter = insertAfter;
    wp.x = (flags & SWP_NOMOVE) ? w->Rect.left : x;
    wp.y = (flags & SWP_NOMOVE) ? w->Rect.top : y;
    wp.cx = (flags & SWP_NOSIZE) ? w->Rect.right - w->Rect.left : std::max(0, cx);
    wp.cy = (flags & SWP_NOSIZE) ? w->Rect.bottom - w->Rect.top : std::max(0, cy);
    wp.flags = flags;
    if (!(flags & SWP_NOSENDCHANGING)) {
        Send(w, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
        if (!hold.Alive()) return false;
        flags = wp.flags;
        if (flags & SWP_NOMOVE) wp.x = w->Rect.left, wp.y = w->Rect.top;
        if (flags & SWP_NOSIZE) wp.cx = w->Rect.right - w->Rect.left, wp.cy = w->Rect.bottom - w->Rect.top;
    }
    RECT oldRect = w->Rect;
    RECT oldClient = w->Client;
    const DWORD oldStyle = w->Style;
    RECT newRect = gdi::ClampedRect(
        wp.x, wp.y, std::int64_t(wp.x) + std::max(0, wp.cx), std::int64_t(wp.y) + std::max(0, wp.cy));
    bool sized = newRect.Width() != oldRect.Width() || newRect.Height() != oldRect.Height();
    bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
    RECT newClient = oldClient;
    gdi::OffsetRect(&newClient, newRect.left - oldRect.left, newRect.top - oldRect.top);
    if (sized || (flags & SWP_FRAMECHANGED)) {
        NCCALCSIZE_PARAMS params;
        params.rgrc[0] = newRect;
        params.rgrc[1] = oldRect;
        params.rgrc[2] = oldClient;
        params.lppos = &wp;
        Send(w, WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&params));
        if (!hold.Alive()) return false;
        newClient = params.rgrc[0];
    }
    bool wasVisible = VisibleChain(w);
    std::size_t oldIndex = IndexInParent(w);
    const std::vector<WindowObject*> siblingsBefore = w->Parent ? w->Parent->Children : std::vector<WindowObject*> {};
    w->Rect = newRect;
    w->Client = newClient;
    if (!(flags & SWP_NOZORDER)) PlaceInZOrder(w, wp.hwndInsertAfter);
    bool restacked = IndexInParent(w) != oldIndex;
    if (flags & SWP_SHOWWINDOW) w->Style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW) w->Style &= ~WS_VISIBLE;
    if (w->Rect != oldRect || w->Client != oldClient || ((w->Style ^ oldStyle) & WS_VISIBLE)) ClippingChanged();
    bool nowVisible = VisibleChain(w);
    bool top = IsTopLevel(w) && w->Parent->IsDesktop;

    if (top) {
        if (sized || !w->Top->Store) EnsureStore(w);
        if (nowVisible) EnsureSurface(w);
        if (tellDisplay) SyncSurface(w, moved || sized, (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) != 0);
        if (tellDisplay && restacked) SyncSurface(w, false, false);
    }
    if (!(flags & SWP_NOREDRAW)) {
        // A child restacked in place repaints only what the restack uncovers (below).
        const bool restackedChild = restacked && !top && !moved && !sized && wasVisible && nowVisible;
        if (wasVisible && !top && (moved || sized || !nowVisible || (restacked && !restackedChild)))
            InvalidateParentArea(w->Parent, oldRect);
        if (restackedChild) ExposeRestacked(w, siblingsBefore);
        if (nowVisible && (sized || (moved && !top) || !wasVisible || (restacked && !restackedChild)))
            InvalidateAll(w, true, true, true);
        else if (nowVisible && (flags & SWP_FRAMECHANGED)) {
            w->NcDirty = true;
            NotePaintState(w);
        }
    }
    RECT oldClientSize = gdi::Bounds(0, 0, oldClient.right - oldClient.left, oldClient.bottom - oldClient.top);
    RECT newClientSize = gdi::Bounds(0, 0, newClient.right - newClient.left, newClient.bottom - newClient.top);
    if (oldClientSize == newClientSize) wp.flags |= SWP_NOCLIENTSIZE;
    if (oldClient.left == newClient.left && oldClient.top == newClient.top) wp.flags |= SWP_NOCLIENTMOVE;
    RefreshOpenDcs();
    Send(w, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    if (!hold.Alive()) return true;
    if (wasVisible && !nowVisible) AfterHide(w);
    if (hold.Alive() && !(flags & SWP_NOACTIVATE) && top && nowVisible && !(w->ExStyle & WS_EX_NOACTIVATE)
        && ((flags & SWP_SHOWWINDOW) || !(flags & SWP_NOZORDER)))
        SetActiveWindow(hwnd);
    return true;
}

}   // namespace detail

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || w->Thread != std::this_thread::get_id()) return false;
    return detail::SetWindowPosInternal(w, insertAfter, x, y, width, height, flags, true);
}

bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint) {
    return SetWindowPos(
        hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

bool BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// ---------------------------------------------------------------------------------------------------------
// Deferred positioning
namespace {
struct DeferEntry {
    HWND Hwnd;
    HWND InsertAfter;
    int X, Y, Cx, Cy;
    UINT Flags;
};
}
struct HDWP__ {
    std::vector<DeferEntry> Entries;
};

HDWP BeginDeferWindowPos(int count) {
    if (count < 0) return nullptr;
    auto* info = new HDWP__;
    info->Entries.reserve(std::size_t(count));
    return info;
}

HDWP DeferWindowPos(HDWP info, HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    if (!info) return nullptr;
    if (!IsWindow(hwnd)) {
        delete info;
        return nullptr;
    }
    info->Entries.push_back({hwnd, insertAfter, x, y, width, height, flags});
    return info;
}

bool EndDeferWindowPos(HDWP info) {
    if (!info) return false;
    std::vector<DeferEntry> entries = std::move(info->Entries);
    delete info;
    bool ok = true;
    for (const DeferEntry& e : entries)
        ok = SetWindowPos(e.Hwnd, e.InsertAfter, e.X, e.Y, e.Cx, e.Cy, e.Flags) && ok;
    return ok;
}

// ---------------------------------------------------------------------------------------------------------
// Rectangles and mapping
bool GetWindowRect(HWND hwnd, RECT* rect) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || !rect) return false;
    *rect = detail::ScreenWindowRect(w);
    return true;
}

bool GetClientRect(HWND hwnd, RECT* rect) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || !rect) return false;
    RECT r = detail::ScreenClientRect(w);
    *rect = RECT {0, 0, r.Width(), r.Height()};
    return true;
}

RECT WindowRect(HWND hwnd) {
    RECT r {};
    GetWindowRect(hwnd, &r);
    return r;
}

RECT ClientRect(HWND hwnd) {
    RECT r {};
    GetClientRect(hwnd, &r);
    return r;
}

RECT ClientRectOnScreen(HWND hwnd) {
    WindowObject* w = FromHandle(hwnd);
    return w ? detail::ScreenClientRect(w) : RECT {};
}

bool ClientToScreen(HWND hwnd, POINT* point) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || !point) return false;
    POINT o = detail::ClientOrigin(w);
    point->x += o.x;
    point->y += o.y;
    return true;
}

bool ScreenToClient(HWND hwnd, POINT* point) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || !point) return false;
    POINT o = detail::ClientOrigin(w);
    point->x -= o.x;
    point->y -= o.y;
    return true;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    WindowObject* a = from ? FromHandle(from) : detail::Desktop();
    WindowObject* b = to ? FromHandle(to) : detail::Desktop();
    if (!a || !b) return 0;
    POINT oa = detail::ClientOrigin(a);
    POINT ob = detail::ClientOrigin(b);
    int dx = oa.x - ob.x;
    int dy = oa.y - ob.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return int(MAKELONG(WORD(dx), WORD(dy)));
}

int MapWindowRect(HWND from, HWND to, RECT* rect) {
    if (!rect) return 0;
    POINT corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    int result = MapWindowPoints(from, to, corners, 2);
    *rect = RECT {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return result;
}

}

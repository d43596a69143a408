// The paint cycle: update regions, WM_PAINT generation, BeginPaint/EndPaint, RedrawWindow, erasing, locking.
#include "platform/user/Painting.h"

#include "platform/base/Assert.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/MessageIds.h"
#include "platform/user/WindowObject.h"

#include <mutex>
#include <unordered_set>

namespace korvex::user {

using detail::FromHandle;
using detail::WindowObject;

namespace {

// The window LockWindowUpdate locked, by handle: it may be destroyed while locked.
HWND& LockedWindow() {
    static HWND locked = nullptr;
    return locked;
}

RECT ClientBox(const WindowObject* w) {
    return RECT {0, 0, w->Client.right - w->Client.left, w->Client.bottom - w->Client.top};
}

// The window rectangle in the window's client coordinates.
RECT WindowBoxInClient(const WindowObject* w) {
    RECT r = w->Rect;
    gdi::OffsetRect(&r, -w->Client.left, -w->Client.top);
    return r;
}

bool ChildrenIncluded(const WindowObject* w, UINT flags) {
    if (flags & RDW_ALLCHILDREN) return true;
    if (flags & RDW_NOCHILDREN) return false;
    return !(w->Style & WS_CLIPCHILDREN);
}

void EraseNow(WindowObject* w) {
    detail::KeepAlive hold(w);
    if (w->NcDirty) {
        w->NcDirty = false;
        detail::NotePaintState(w);
        detail::Send(w, WM_NCPAINT, 1, 0);   // also without a frame: a repaint trigger
        if (!hold.Alive()) return;
    }
    if (w->NeedErase) {
        w->NeedErase = false;
        POINT o = detail::StoreOffset(w);
        gdi::BandedRegion update = w->Update;
        update.Offset(o.x + w->Client.left - w->Rect.left, o.y + w->Client.top - w->Rect.top);
        HDC dc = detail::MakeWindowDc(w, detail::DcArea::Client, 0, &update, nullptr);
        if (dc) {
            if (detail::Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0 && hold.Alive())
                w->NeedErase = true;
            ReleaseDC(w->Handle, dc);
        }
    }
}

void UpdateTree(WindowObject* w, UINT flags, bool eraseOnly) {
    if (!detail::VisibleChain(w)) return;
    detail::KeepAlive hold(w);
    HWND hwnd = w->Handle;
    if (eraseOnly)
        EraseNow(w);
    else
        detail::PaintNow(w);
    if (!hold.Alive() || !ChildrenIncluded(w, flags)) return;
    std::vector<HWND> children;
    for (WindowObject* c : w->Children)
        children.push_back(c->Handle);
    for (HWND h : children)
        if (WindowObject* c = FromHandle(h); c && c->Parent == w) UpdateTree(c, flags, eraseOnly);
    (void)hwnd;
}

}   // namespace

namespace detail {

bool HasNonClient(const WindowObject* w) {
    return w->Rect != w->Client;
}

bool IsUpdateLocked(const WindowObject* w) {
    WindowObject* locked = FromHandle(LockedWindow());
    return locked && IsDescendant(locked, w);
}

bool NeedsPaint(const WindowObject* w) {
    if (!VisibleChain(w) || w->Destroyed) return false;
    return !w->Update.IsEmpty() || w->InternalPaint || w->NcDirty;
}

void DropPaintState(WindowObject* w) {
    w->Update.Clear();
    w->NeedErase = false;
    w->InternalPaint = false;
    w->NcDirty = false;
    NotePaintState(w);
}

LRESULT SendPaint(WindowObject* w) {
    KeepAlive hold(w);
    w->Painted = false;
    LRESULT result = Send(w, WM_PAINT, 0, 0);
    if (hold.Alive() && !w->Painted) {
        // Nobody painted: the frame still gets its message, then the window counts as painted.
        if (w->NcDirty) {
            w->NcDirty = false;
            NotePaintState(w);
            Send(w, WM_NCPAINT, 1, 0);
        }
        if (hold.Alive()) DropPaintState(w);
    }
    return result;
}

void PaintNow(WindowObject* w) {
    KeepAlive hold(w);
    if (w->NcDirty && VisibleChain(w)) {
        w->NcDirty = false;
        NotePaintState(w);
        Send(w, WM_NCPAINT, 1, 0);
    }
    if (hold.Alive() && NeedsPaint(w)) SendPaint(w);
}

namespace {

// The windows whose Update, InternalPaint or NcDirty say a paint is pending, visible or not; a window leaves
// when its paint state empties or it is freed.
struct PendingPaints {
    std::mutex Mutex;
    std::unordered_set<WindowObject*> Windows;
    unsigned Generation = 0;   // FindPaintWindow's marks: ancestors Generation, candidates Generation + 1
};

PendingPaints& Pending() {
    static PendingPaints pending;
    return pending;
}

bool HasPaintState(const WindowObject* w) {
    return !w->Update.IsEmpty() || w->InternalPaint || w->NcDirty;
}

// A window the search may return: of the thread, needing paint, inside the filter's subtree.
bool Paintable(const WindowObject* w, const std::thread::id& thread, const WindowObject* scope) {
    return w->Thread == thread && NeedsPaint(w) && (!scope || w == scope || IsDescendant(scope, w));
}

// Whether an ancestor of w (up to the scope) would be returned before it.
bool AncestorPaintable(const WindowObject* w, const std::thread::id& thread, const WindowObject* scope) {
    if (w == scope) return false;
    for (const WindowObject* a = w->Parent; a && !a->IsDesktop; a = a->Parent) {
        if (a->PaintListed && a->Thread == thread && !a->Destroyed && HasPaintState(a)) return true;
        if (a == scope) break;
    }
    return false;
}

}

void NotePaintState(WindowObject* w) {
    const bool pending = !w->Destroyed && HasPaintState(w);
    if (pending == w->PaintListed) return;
    PendingPaints& list = Pending();
    std::lock_guard lock(list.Mutex);
    w->PaintListed = pending;
    if (pending)
        list.Windows.insert(w);
    else
        list.Windows.erase(w);
}

void ForgetPaintState(WindowObject* w) {
    PendingPaints& list = Pending();
    std::lock_guard lock(list.Mutex);
    w->PaintListed = false;
    list.Windows.erase(w);
}

#ifdef KORVEX_ASSERTS
namespace {
// The walk the list replaces, kept to check it in the test builds.
WindowObject* FindByWalk(WindowObject* w, const std::thread::id& thread) {
    if (!w->Visible()) return nullptr;
    if (w->Thread == thread && NeedsPaint(w)) return w;
    for (WindowObject* c : w->Children)
        if (WindowObject* found = FindByWalk(c, thread)) return found;
    return nullptr;
}
WindowObject* FindByWalk(WindowObject* scope, const std::thread::id& thread, bool) {
    if (scope) return FindByWalk(scope, thread);
    for (WindowObject* top : Desktop()->Children)
        if (WindowObject* found = FindByWalk(top, thread)) return found;
    return nullptr;
}
}
#endif

namespace {

// The same window a depth-first walk of the tree (topmost first) would find first, from the pending list:
// the candidates without a candidate ancestor, and among several the first in the tree's order, found by
// walking down only through the marked ancestors of the candidates.
WindowObject* FindInList(const std::thread::id& thread, WindowObject* scope) {
    PendingPaints& list = Pending();
    std::lock_guard lock(list.Mutex);
    if (list.Windows.empty()) return nullptr;
    std::vector<WindowObject*> roots;
    for (WindowObject* w : list.Windows)
        if (Paintable(w, thread, scope) && !AncestorPaintable(w, thread, scope)) roots.push_back(w);
    if (roots.size() <= 1) return roots.empty() ? nullptr : roots.front();

    list.Generation += 2;
    const unsigned above = list.Generation, candidate = list.Generation + 1;
    for (WindowObject* w : roots) {
        w->PaintMark = candidate;
        for (WindowObject* a = w->Parent; a && !a->IsDesktop && a != scope && a->PaintMark != above; a = a->Parent)
            a->PaintMark = above;
    }
    const std::vector<WindowObject*>* level = scope ? &scope->Children : &Desktop()->Children;
    for (;;) {
        const std::vector<WindowObject*>* next = nullptr;
        for (WindowObject* c : *level) {
            if (c->PaintMark == candidate) return c;
            if (c->PaintMark == above) {
                next = &c->Children;
                break;
            }
        }
        if (!next) break;
        level = next;
    }
    KORVEX_ASSERT(false);   // every root lies below the marked path
    return roots.front();
}

}

WindowObject* FindPaintWindow(const std::thread::id& thread, HWND filter) {
    WindowObject* scope = nullptr;
    if (filter) {
        scope = FromHandle(filter);
        if (!scope || !VisibleChain(scope)) return nullptr;
    }
    WindowObject* found = FindInList(thread, scope);
#ifdef KORVEX_ASSERTS
    KORVEX_ASSERT(found == FindByWalk(scope, thread, true));   // the list misses no change of a paint state
#endif
    return found;
}

namespace {

// The part of a child's client area its ancestors' clients leave visible, in client coordinates: nothing of the
// rest is on the screen, so it is not made invalid; it is when it comes into view (a move, a scroll, a size).
gdi::BandedRegion UnclippedByAncestors(WindowObject* w) {
    gdi::BandedRegion visible = VisibleRegion(w, DcArea::Client, 0);
    const POINT o = StoreOffset(w);
    visible.Offset(-(o.x + w->Client.left - w->Rect.left), -(o.y + w->Client.top - w->Rect.top));
    return visible;
}

}

void RedrawInternal(WindowObject* w, const gdi::BandedRegion* clientRegion, UINT flags) {
    bool whole = clientRegion == nullptr;
    gdi::BandedRegion region = whole ? gdi::BandedRegion(WindowBoxInClient(w)) : *clientRegion;
    if (flags & RDW_INVALIDATE) {
        if (!VisibleChain(w)) return;
        gdi::BandedRegion add = region.Intersect(ClientBox(w));
        if (!add.IsEmpty() && !IsTopLevel(w)) add = gdi::BandedRegion::Combine(add, UnclippedByAncestors(w), gdi::RGN_AND);
        if (!add.IsEmpty()) {
            w->Update = gdi::BandedRegion::Combine(w->Update, add, gdi::RGN_OR);
            if (flags & RDW_ERASE) w->NeedErase = true;
        }
        if ((flags & RDW_FRAME) && HasNonClient(w)) {
            gdi::BandedRegion frame = gdi::BandedRegion::Combine(
                region.Intersect(WindowBoxInClient(w)), gdi::BandedRegion(ClientBox(w)), gdi::RGN_DIFF);
            if (!frame.IsEmpty()) w->NcDirty = true;
        } else if (flags & RDW_FRAME) {
            // No frame: WM_NCPAINT still comes whenever the window itself is invalidated.
            if (!region.Intersect(WindowBoxInClient(w)).IsEmpty()) w->NcDirty = true;
        }
    } else if (flags & RDW_VALIDATE) {
        w->Painted = true;
        w->Update = gdi::BandedRegion::Combine(w->Update, region, gdi::RGN_DIFF);
        if (w->Update.IsEmpty() || (flags & RDW_NOERASE)) w->NeedErase = false;
        if (flags & (RDW_FRAME | RDW_NOFRAME)) w->NcDirty = w->NcDirty && !(flags & RDW_FRAME) && !whole;
        if (flags & RDW_NOINTERNALPAINT) w->InternalPaint = false;
    }
    if ((flags & RDW_INTERNALPAINT) && VisibleChain(w)) w->InternalPaint = true;
    NotePaintState(w);
    if (flags & (RDW_INVALIDATE | RDW_VALIDATE)) {
        if (ChildrenIncluded(w, flags)) {
            for (WindowObject* c : w->Children) {
                if (!c->Visible()) continue;
                gdi::BandedRegion part = region.Intersect(c->Rect);
                if (part.IsEmpty()) continue;
                part.Offset(-c->Client.left, -c->Client.top);
                UINT childFlags = (flags & ~(RDW_UPDATENOW | RDW_ERASENOW | RDW_NOCHILDREN)) | RDW_ALLCHILDREN;
                if (flags & RDW_INVALIDATE) childFlags |= RDW_FRAME;
                RedrawInternal(c, &part, childFlags);
            }
        }
    }
    if (flags & RDW_UPDATENOW)
        UpdateTree(w, flags, false);
    else if (flags & RDW_ERASENOW)
        UpdateTree(w, flags, true);
}

void InvalidateAll(WindowObject* w, bool erase, bool frame, bool children) {
    UINT flags = RDW_INVALIDATE | (erase ? RDW_ERASE : 0) | (frame ? RDW_FRAME : 0)
        | (children ? RDW_ALLCHILDREN : RDW_NOCHILDREN);
    RedrawInternal(w, nullptr, flags);
}

void InvalidateParentArea(WindowObject* parent, const RECT& rectInParentClient) {
    if (!parent || parent->IsDesktop || parent == MessageRoot()) return;
    gdi::BandedRegion region(rectInParentClient);
    RedrawInternal(parent, &region, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}   // namespace detail

// ---------------------------------------------------------------------------------------------------------
// Public calls
namespace {
std::optional<gdi::BandedRegion> RegionOf(const RECT* rect, HRGN rgn, bool* bad) {
    *bad = false;
    if (rgn) {
        gdi::Region* r = gdi::ObjectCast<gdi::Region>(rgn);
        if (!r) {
            *bad = true;
            return std::nullopt;
        }
        return r->Shape();
    }
    if (rect) return gdi::BandedRegion(*rect);
    return std::nullopt;
}

bool Redraw(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags) {
    WindowObject* w = hwnd ? FromHandle(hwnd) : nullptr;
    if (!w) return false;
    bool bad;
    auto region = RegionOf(rect, rgn, &bad);
    if (bad) return false;
    detail::RedrawInternal(w, region ? &*region : nullptr, flags);
    return true;
}
}

bool InvalidateRect(HWND hwnd, const RECT* rect, bool erase) {
    WindowObject* w = FromHandle(hwnd);
    if (!w) return false;
    bool bad;
    auto region = RegionOf(rect, nullptr, &bad);
    gdi::BandedRegion whole(ClientBox(w));
    detail::RedrawInternal(w, region ? &*region : &whole, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
    return true;
}

bool InvalidateRgn(HWND hwnd, HRGN region, bool erase) {
    if (!region) return InvalidateRect(hwnd, nullptr, erase);
    return Redraw(hwnd, nullptr, region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

bool ValidateRect(HWND hwnd, const RECT* rect) {
    WindowObject* w = FromHandle(hwnd);
    if (!w) return false;
    gdi::BandedRegion whole(ClientBox(w));
    gdi::BandedRegion part = rect ? gdi::BandedRegion(*rect) : whole;
    detail::RedrawInternal(w, &part, RDW_VALIDATE | RDW_NOCHILDREN | (rect ? 0 : RDW_NOINTERNALPAINT));
    return true;
}

bool ValidateRgn(HWND hwnd, HRGN region) {
    if (!region) return ValidateRect(hwnd, nullptr);
    return Redraw(hwnd, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}

bool GetUpdateRect(HWND hwnd, RECT* rect, bool erase) {
    WindowObject* w = FromHandle(hwnd);
    if (!w) return false;
    if (erase && w->NeedErase) EraseNow(w);
    w = FromHandle(hwnd);
    if (!w) return false;
    if (rect) *rect = w->Update.Box();
    return !w->Update.IsEmpty();
}

int GetUpdateRgn(HWND hwnd, HRGN region, bool erase) {
    WindowObject* w = FromHandle(hwnd);
    gdi::Region* out = gdi::ObjectCast<gdi::Region>(region);
    if (!w || !out) return gdi::ERROR;
    if (erase && w->NeedErase) EraseNow(w);
    w = FromHandle(hwnd);
    if (!w) return gdi::ERROR;
    out->Shape() = w->Update;
    return out->Shape().Complexity();
}

bool UpdateWindow(HWND hwnd) {
    WindowObject* w = FromHandle(hwnd);
    if (!w) return false;
    UpdateTree(w, RDW_ALLCHILDREN, false);
    return true;
}

bool RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
    return Redraw(hwnd, rect, region, flags);
}

bool LockWindowUpdate(HWND hwnd) {
    HWND& locked = LockedWindow();
    if (!hwnd) {
        WindowObject* old = FromHandle(locked);
        locked = nullptr;
        detail::ClippingChanged();
        if (old) detail::InvalidateAll(old, true, true, true);
        detail::RefreshOpenDcs();
        return true;
    }
    WindowObject* w = FromHandle(hwnd);
    if (!w || FromHandle(locked)) return false;   // one lock at a time; a destroyed window's lock is gone
    locked = hwnd;
    detail::ClippingChanged();
    detail::RefreshOpenDcs();
    return true;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || !ps) return nullptr;
    detail::KeepAlive hold(w);
    w->Painted = true;
    if (w->NcDirty) {
        w->NcDirty = false;
        detail::NotePaintState(w);
        detail::Send(w, WM_NCPAINT, 1, 0);
        if (!hold.Alive()) return nullptr;
    }
    gdi::BandedRegion update = w->Update;
    bool erase = w->NeedErase;
    w->Update.Clear();
    w->NeedErase = false;
    w->InternalPaint = false;
    detail::NotePaintState(w);
    POINT o = detail::StoreOffset(w);
    gdi::BandedRegion clip = update;
    clip.Offset(o.x + w->Client.left - w->Rect.left, o.y + w->Client.top - w->Rect.top);
    *ps = PAINTSTRUCT {};
    ps->hdc = detail::MakeWindowDc(w, detail::DcArea::Client, 0, &clip, nullptr);
    if (ps->hdc) detail::MarkPaintDc(ps->hdc);
    ps->rcPaint = update.Box();
    if (erase && ps->hdc) ps->fErase = detail::Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ps->hdc), 0) == 0;
    return ps->hdc;
}

bool EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    if (!ps || !ps->hdc) return false;
    KORVEX_ASSERT(detail::IsPaintDcOf(ps->hdc, hwnd));   // BeginPaint's DC of this window, not ended before
    return ReleaseDC(hwnd, ps->hdc) == 1;
}

bool EraseBackground(HWND hwnd, HDC dc) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || !dc) return false;
    HBRUSH brush = w->Class->Background;
    auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value > 0 && value <= std::uintptr_t(gdi::SysColorCount)) brush = gdi::GetSysColorBrush(int(value) - 1);
    if (!brush) return false;
    RECT box = ClientBox(w);
    return gdi::FillRect(dc, &box, brush);
}

const gdi::Bitmap* BackingStore(HWND hwnd) {
    WindowObject* w = FromHandle(hwnd);
    WindowObject* top = w ? detail::TopLevelOf(w) : nullptr;
    return top && top->Top ? top->Top->Store.get() : nullptr;
}

POINT BackingStoreOffset(HWND hwnd) {
    WindowObject* w = FromHandle(hwnd);
    return w ? detail::StoreOffset(w) : POINT {};
}

}

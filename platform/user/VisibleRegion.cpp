// Visible regions: the pixels of the backing store a window's DC may touch.
#include "platform/user/WindowObject.h"

#include <atomic>

namespace korvex::user::detail {

namespace {

// A window's own shape (rectangle ∩ window region) in store coordinates, the window's top-left at o.
gdi::BandedRegion WindowShape(const WindowObject* w, POINT o) {
    gdi::BandedRegion shape(gdi::Bounds(o.x, o.y, w->Rect.right - w->Rect.left, w->Rect.bottom - w->Rect.top));
    if (w->WindowRgn) {
        gdi::BandedRegion rgn = *w->WindowRgn;
        rgn.Offset(o.x, o.y);
        shape = gdi::BandedRegion::Combine(shape, rgn, gdi::RGN_AND);
    }
    return shape;
}

gdi::BandedRegion WindowShape(const WindowObject* w) {
    return WindowShape(w, StoreOffset(w));
}

RECT ClientInStore(const WindowObject* w) {
    POINT o = StoreOffset(w);
    RECT r = w->Client;
    gdi::OffsetRect(&r, o.x - w->Rect.left, o.y - w->Rect.top);
    return r;
}

// Takes a window's shape (its top-left at o in the store) out of a region; a window beside the region is
// passed over on its rectangle alone, before any shape is made.
void Subtract(gdi::BandedRegion& region, const WindowObject* w, POINT o) {
    if (!w->Visible() || region.IsEmpty()) return;
    const RECT box = gdi::Bounds(o.x, o.y, w->Rect.right - w->Rect.left, w->Rect.bottom - w->Rect.top);
    const RECT& bounds = region.Box();
    if (box.left >= bounds.right || box.right <= bounds.left || box.top >= bounds.bottom || box.bottom <= bounds.top)
        return;
    if (!region.Intersects(box)) return;
    const gdi::BandedRegion shape = WindowShape(w, o);
    if (!region.Intersects(shape.Box())) return;
    region = gdi::BandedRegion::Combine(region, shape, gdi::RGN_DIFF);
}

// Siblings share the parent: each one's place in the store is w's moved by the difference of their rectangles.
void SubtractHigherSiblings(gdi::BandedRegion& region, const WindowObject* w) {
    const POINT o = StoreOffset(w);
    for (const WindowObject* s : w->Parent->Children) {
        if (s == w) break;
        Subtract(region, s, POINT {o.x + s->Rect.left - w->Rect.left, o.y + s->Rect.top - w->Rect.top});
    }
}

// The visible region made anew from the tree.
gdi::BandedRegion ComputeVisibleRegion(WindowObject* w, DcArea area, DWORD dcxFlags, const RECT* within) {
    WindowObject* top = TopLevelOf(w);
    if (!top || !top->Top || !top->Parent->IsDesktop || !VisibleChain(w)) return {};
    if (!(dcxFlags & DCX_LOCKWINDOWUPDATE) && IsUpdateLocked(w)) return {};
    gdi::BandedRegion region = area == DcArea::Window ? WindowShape(w) : gdi::BandedRegion(ClientInStore(w));
    if (area == DcArea::Client && w->WindowRgn)
        region = gdi::BandedRegion::Combine(region, WindowShape(w), gdi::RGN_AND);
    if (within) region = region.Intersect(*within);
    bool clipSiblings = (dcxFlags & DCX_CLIPSIBLINGS) || (w->Style & WS_CLIPSIBLINGS);
    for (WindowObject* c = w; !IsTopLevel(c) && !region.IsEmpty(); c = c->Parent) {
        WindowObject* parent = c->Parent;
        region = region.Intersect(ClientInStore(parent));
        if (parent->WindowRgn) region = gdi::BandedRegion::Combine(region, WindowShape(parent), gdi::RGN_AND);
        if (c == w ? clipSiblings : (c->Style & WS_CLIPSIBLINGS) != 0) SubtractHigherSiblings(region, c);
    }
    region = region.Intersect(gdi::Bounds(0, 0, top->Rect.right - top->Rect.left, top->Rect.bottom - top->Rect.top));
    if ((dcxFlags & DCX_CLIPCHILDREN) || (w->Style & WS_CLIPCHILDREN)) {
        // Children show only inside the client area: one reaching past it (a maximized MDI child) leaves the
        // frame alone.
        const RECT client = ClientInStore(w);
        gdi::BandedRegion inside = region.Intersect(client);
        const gdi::BandedRegion frame = gdi::BandedRegion::Combine(region, gdi::BandedRegion(client), gdi::RGN_DIFF);
        for (const WindowObject* child : w->Children)
            Subtract(inside, child, POINT {client.left + child->Rect.left, client.top + child->Rect.top});
        region = gdi::BandedRegion::Combine(inside, frame, gdi::RGN_OR);
    }
    return region;
}

std::atomic<std::uint64_t> Epoch {1};

VisibleRegionMemo& MemoOf(WindowObject* w, DcArea area, DWORD flags) {
    for (VisibleRegionMemo& memo : w->VisibleMemos)
        if (memo.Area == static_cast<int>(area) && memo.Flags == flags) return memo;
    VisibleRegionMemo& memo = w->VisibleMemos.emplace_back();
    memo.Area = static_cast<int>(area);
    memo.Flags = flags;
    return memo;
}

}   // namespace

void ClippingChanged() {
    Epoch.fetch_add(1, std::memory_order_relaxed);
}

std::uint64_t ClippingEpoch() {
    return Epoch.load(std::memory_order_relaxed);
}

// A part asked for once is made on its own (a paint of a window whose neighbours just moved); the whole region is
// made at the second ask of the same epoch and kept, and every later ask cuts its part out of it.
gdi::BandedRegion VisibleRegion(WindowObject* w, DcArea area, DWORD dcxFlags, const RECT* within) {
    constexpr DWORD Clipping = DCX_CLIPSIBLINGS | DCX_CLIPCHILDREN | DCX_LOCKWINDOWUPDATE;
    VisibleRegionMemo& memo = MemoOf(w, area, dcxFlags & Clipping);
    const std::uint64_t epoch = ClippingEpoch();
    if (memo.Epoch != epoch) {
        memo.Epoch = epoch;
        memo.Asked = 0;
        memo.Whole = false;
        memo.Region = gdi::BandedRegion();
    }
    if (!memo.Whole && within && ++memo.Asked < 2) return ComputeVisibleRegion(w, area, dcxFlags, within);
    if (!memo.Whole) {
        memo.Region = ComputeVisibleRegion(w, area, dcxFlags, nullptr);
        memo.Whole = true;
    }
    return within ? memo.Region.Intersect(*within) : memo.Region;
}

}

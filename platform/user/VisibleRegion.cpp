// Visible regions: the pixels of the backing store a window's DC may touch.
#include "platform/user/WindowObject.h"

namespace korvex::user::detail {

namespace {

// A window's own shape (rectangle ∩ window region) in store coordinates.
gdi::BandedRegion WindowShape(const WindowObject* w) {
    POINT o = StoreOffset(w);
    gdi::BandedRegion shape(gdi::Bounds(o.x, o.y, w->Rect.right - w->Rect.left, w->Rect.bottom - w->Rect.top));
    if (w->WindowRgn) {
        gdi::BandedRegion rgn = *w->WindowRgn;
        rgn.Offset(o.x, o.y);
        shape = gdi::BandedRegion::Combine(shape, rgn, gdi::RGN_AND);
    }
    return shape;
}

RECT ClientInStore(const WindowObject* w) {
    POINT o = StoreOffset(w);
    RECT r = w->Client;
    gdi::OffsetRect(&r, o.x - w->Rect.left, o.y - w->Rect.top);
    return r;
}

// Takes a window's shape out of a region; shapes beside the region leave it as it is, uncopied.
void Subtract(gdi::BandedRegion& region, const WindowObject* w) {
    if (!w->Visible() || region.IsEmpty()) return;
    const gdi::BandedRegion shape = WindowShape(w);
    if (!region.Intersects(shape.Box())) return;
    region = gdi::BandedRegion::Combine(region, shape, gdi::RGN_DIFF);
}

void SubtractHigherSiblings(gdi::BandedRegion& region, const WindowObject* w) {
    for (const WindowObject* s : w->Parent->Children) {
        if (s == w) break;
        Subtract(region, s);
    }
}

}   // namespace

gdi::BandedRegion VisibleRegion(WindowObject* w, DcArea area, DWORD dcxFlags) {
    WindowObject* top = TopLevelOf(w);
    if (!top || !top->Top || !top->Parent->IsDesktop || !VisibleChain(w)) return {};
    if (!(dcxFlags & DCX_LOCKWINDOWUPDATE) && IsUpdateLocked(w)) return {};
    gdi::BandedRegion region = area == DcArea::Window ? WindowShape(w) : gdi::BandedRegion(ClientInStore(w));
    if (area == DcArea::Client && w->WindowRgn)
        region = gdi::BandedRegion::Combine(region, WindowShape(w), gdi::RGN_AND);
    bool clipSiblings = (dcxFlags & DCX_CLIPSIBLINGS) || (w->Style & WS_CLIPSIBLINGS);
    for (WindowObject* c = w; !IsTopLevel(c) && !region.IsEmpty(); c = c->Parent) {
        WindowObject* parent = c->Parent;
        region = region.Intersect(ClientInStore(parent));
        if (parent->WindowRgn) region = gdi::BandedRegion::Combine(region, WindowShape(parent), gdi::RGN_AND);
        if (c == w ? clipSiblings : (c->Style & WS_CLIPSIBLINGS) != 0) SubtractHigherSiblings(region, c);
    }
    region = region.Intersect(gdi::Bounds(0, 0, top->Rect.right - top->Rect.left, top->Rect.bottom - top->Rect.top));
    if ((dcxFlags & DCX_CLIPCHILDREN) || (w->Style & WS_CLIPCHILDREN)) {
        for (const WindowObject* child : w->Children)
            Subtract(region, child);
    }
    return region;
}

}

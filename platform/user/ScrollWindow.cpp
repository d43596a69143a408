// Scrolling a window's pixels in its backing store, invalidating what was uncovered and moving children.
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowObject.h"

#include <cstring>

namespace korvex::user {

using detail::FromHandle;
using detail::WindowObject;

namespace {

// Copies the pixels of rect (store coordinates) by dx, dy within the store, limited to the destination region.
void MovePixels(gdi::Bitmap& store, const gdi::BandedRegion& destination, int dx, int dy) {
    for (const RECT& r : destination.Rects()) {
        int width = r.right - r.left;
        if (width <= 0) continue;
        auto copyRow = [&](int y) {
            gdi::BYTE* dst = store.ScanLine(y);
            const gdi::BYTE* src = store.ScanLine(y - dy);
            if (!dst || !src || r.left - dx < 0 || r.right - dx > store.Width()) return;
            std::memmove(dst + r.left * 4, src + (r.left - dx) * 4, std::size_t(width) * 4);
        };
        if (dy > 0)
            for (int y = r.bottom - 1; y >= r.top; --y)
                copyRow(y);
        else
            for (int y = r.top; y < r.bottom; ++y)
                copyRow(y);
    }
}

}   // namespace

int ScrollWindowEx(
    HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRegion, RECT* updateRect, UINT flags) {
    WindowObject* w = FromHandle(hwnd);
    if (!w) return gdi::ERROR;
    detail::KeepAlive hold(w);
    RECT client = ClientRect(hwnd);
    RECT area = client;
    if (scroll) gdi::IntersectRect(&area, &area, scroll);
    if (clip) gdi::IntersectRect(&area, &area, clip);
    RECT moved = area;
    gdi::OffsetRect(&moved, dx, dy);
    RECT kept {};
    gdi::IntersectRect(&kept, &moved, &area);

    WindowObject* top = detail::TopLevelOf(w);
    if (top && top->Top && top->Top->Store && (dx || dy) && !gdi::IsRectEmpty(&kept)) {
        gdi::BandedRegion visible = detail::VisibleRegion(w, detail::DcArea::Client, 0);
        POINT o = detail::StoreOffset(w);
        POINT c {o.x + w->Client.left - w->Rect.left, o.y + w->Client.top - w->Rect.top};
        RECT keptStore = kept;
        gdi::OffsetRect(&keptStore, c.x, c.y);
        // Only pixels whose source and destination are both visible move.
        gdi::BandedRegion sourceVisible = visible;
        sourceVisible.Offset(dx, dy);
        gdi::BandedRegion destination
            = gdi::BandedRegion::Combine(visible.Intersect(keptStore), sourceVisible, gdi::RGN_AND);
        MovePixels(*top->Top->Store, destination, dx, dy);
        detail::MarkDirty(top, destination);
    }
    // Pending invalid parts move with the pixels.
    gdi::BandedRegion inside = w->Update.Intersect(area);
    if (!inside.IsEmpty()) {
        gdi::BandedRegion rest = gdi::BandedRegion::Combine(w->Update, inside, gdi::RGN_DIFF);
        inside.Offset(dx, dy);
        w->Update = gdi::BandedRegion::Combine(rest, inside.Intersect(area), gdi::RGN_OR);
        detail::NotePaintState(w);
    }
    gdi::BandedRegion uncovered
        = gdi::BandedRegion::Combine(gdi::BandedRegion(area), gdi::BandedRegion(kept), gdi::RGN_DIFF);
    if (flags & SW_SCROLLCHILDREN) {
        std::vector<HWND> children;
        for (WindowObject* c : w->Children) {
            RECT inter {};
            if (!scroll || gdi::IntersectRect(&inter, &c->Rect, scroll)) children.push_back(c->Handle);
        }
        for (HWND h : children) {
            WindowObject* c = FromHandle(h);
            if (!c) continue;
            SetWindowPos(h, nullptr, c->Rect.left + dx, c->Rect.top + dy, 0, 0,
                SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
            if (WindowObject* moved = FromHandle(h); moved && detail::VisibleChain(moved))
                detail::InvalidateAll(moved, true, true, true);
        }
        if (!hold.Alive()) return gdi::ERROR;
    }
    if (flags & SW_INVALIDATE)
        detail::RedrawInternal(w, &uncovered, RDW_INVALIDATE | ((flags & SW_ERASE) ? RDW_ERASE : 0) | RDW_ALLCHILDREN);
    if (gdi::Region* out = gdi::ObjectCast<gdi::Region>(updateRegion)) out->Shape() = uncovered;
    if (updateRect) *updateRect = uncovered.Box();
    return uncovered.Complexity();
}

bool ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip) {
    UINT flags = SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN);
    return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr, flags) != gdi::ERROR;
}

}

// Scrolling a window's pixels in its backing store, invalidating what was uncovered and moving children.
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"
#include "platform/user/WindowObject.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace korvex::user {

using detail::FromHandle;
using detail::WindowObject;

namespace {

// Copies each pixel of destination (store coordinates) from dx, dy back within the store. The copy is in place, so
// every source pixel is read before it is overwritten: rows from the bottom when moving down and from the top
// otherwise, over all of the region's bands, and a row's spans from the right when moving right.
void MovePixels(gdi::Bitmap& store, const gdi::BandedRegion& destination, int dx, int dy) {
    const std::vector<RECT>& rects = destination.Rects();
    std::vector<std::pair<std::size_t, std::size_t>> bands;   // [first, last) of rects sharing their rows
    for (std::size_t first = 0; first < rects.size();) {
        std::size_t last = first;
        while (last < rects.size() && rects[last].top == rects[first].top) ++last;
        bands.emplace_back(first, last);
        first = last;
    }
    if (dy > 0) std::reverse(bands.begin(), bands.end());
    auto copySpan = [&](const RECT& r, int y) {
        const int width = r.right - r.left;
        gdi::BYTE* dst = store.ScanLine(y);
        const gdi::BYTE* src = store.ScanLine(y - dy);
        if (width <= 0 || !dst || !src || r.left - dx < 0 || r.right - dx > store.Width()) return;
        std::memmove(dst + r.left * 4, src + (r.left - dx) * 4, std::size_t(width) * 4);
    };
    for (const auto& [first, last] : bands) {
        const int top = rects[first].top;
        const int bottom = rects[first].bottom;
        for (int row = 0; row < bottom - top; ++row) {
            const int y = dy > 0 ? bottom - 1 - row : top + row;
            if (dx > 0)
                for (std::size_t i = last; i-- > first;)
                    copySpan(rects[i], y);
            else
                for (std::size_t i = first; i < last; ++i)
                    copySpan(rects[i], y);
        }
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

    // What the move cannot show: the uncovered strip, and destination pixels whose source was not visible.
    gdi::BandedRegion uncovered
        = gdi::BandedRegion::Combine(gdi::BandedRegion(area), gdi::BandedRegion(kept), gdi::RGN_DIFF);
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
        gdi::BandedRegion moved = destination;
        moved.Offset(-c.x, -c.y);
        uncovered = gdi::BandedRegion::Combine(gdi::BandedRegion(area), moved, gdi::RGN_DIFF);
    }
    // Pending invalid parts move with the pixels.
    gdi::BandedRegion inside = w->Update.Intersect(area);
    if (!inside.IsEmpty()) {
        gdi::BandedRegion rest = gdi::BandedRegion::Combine(w->Update, inside, gdi::RGN_DIFF);
        inside.Offset(dx, dy);
        w->Update = gdi::BandedRegion::Combine(rest, inside.Intersect(area), gdi::RGN_OR);
        detail::NotePaintState(w);
    }
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

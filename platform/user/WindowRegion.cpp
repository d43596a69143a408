// Window regions: the shape that clips a window's painting and hit testing.
#include "platform/user/WinPos.h"
#include "platform/user/WindowObject.h"

namespace korvex::user {

using detail::FromHandle;
using detail::WindowObject;

int SetWindowRgn(HWND hwnd, HRGN region, bool redraw) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || w->IsDesktop) return 0;
    gdi::Region* shape = nullptr;
    if (region) {
        shape = gdi::ObjectCast<gdi::Region>(region);
        if (!shape) return 0;
    }
    detail::KeepAlive hold(w);
    bool visible = detail::VisibleChain(w);
    if (visible && redraw && !detail::IsTopLevel(w)) detail::InvalidateParentArea(w->Parent, w->Rect);
    // The region becomes ours: its shape is kept and the caller's handle freed. The same shape again (a skin
    // setting it at every frame paint) leaves the kept visible regions as they are.
    const bool sameShape = shape ? w->WindowRgn && *w->WindowRgn == shape->Shape() : !w->WindowRgn;
    if (!sameShape) detail::ClippingChanged();
    if (shape) {
        w->WindowRgn = shape->Shape();
        gdi::DeleteObject(region);
    } else {
        w->WindowRgn.reset();
    }
    // Without redraw the display keeps the old shape until the window's pixels are presented again, so a
    // region changed only for a moment never shows.
    if (w->Top && redraw)
        detail::SyncSurfaceShape(w);
    else if (w->Top)
        w->Top->ShapePending = true;
    detail::RefreshOpenDcs();
    detail::SetWindowPosInternal(w, nullptr, 0, 0, 0, 0,
        SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (redraw ? 0 : SWP_NOREDRAW), true);
    if (hold.Alive() && redraw && detail::VisibleChain(w)) detail::InvalidateAll(w, true, true, true);
    return 1;
}

int GetWindowRgn(HWND hwnd, HRGN region) {
    WindowObject* w = FromHandle(hwnd);
    gdi::Region* out = gdi::ObjectCast<gdi::Region>(region);
    if (!w || !out || !w->WindowRgn) return gdi::ERROR;
    out->Shape() = *w->WindowRgn;
    return out->Shape().Complexity();
}

int GetWindowRgnBox(HWND hwnd, RECT* box) {
    WindowObject* w = FromHandle(hwnd);
    if (!w || !box || !w->WindowRgn) return gdi::ERROR;
    *box = w->WindowRgn->Box();
    return w->WindowRgn->Complexity();
}

}

// The paint cycle: window DCs on the backing store, update regions, WM_PAINT, redrawing and scrolling.
#pragma once

#include "platform/user/UserTypes.h"
#include "platform/user/WindowConstants.h"

#include <cstddef>

namespace korvex::user {

// Each top-level window owns a 32-bit backing store the size of its window rectangle. Every DC of a window
// draws straight into it, clipped to the window's visible region: its rectangle (window or client) ∩ its
// window region ∩ every ancestor's client area and window region, minus the children for WS_CLIPCHILDREN and
// minus higher overlapping siblings for WS_CLIPSIBLINGS. Nothing is drawn for a hidden window. What was drawn
// is presented on the display once per loop turn (or by FlushDisplay).

// DCs. GetDC: client area; GetWindowDC: the whole window (origin at the window's top-left). Release each with
// ReleaseDC; DCs are not shared, so their state is the caller's until then.
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
// DCX_WINDOW for the window DC; DCX_CLIPCHILDREN / DCX_CLIPSIBLINGS / DCX_PARENTCLIP override the styles;
// DCX_INTERSECTRGN / DCX_EXCLUDERGN with a region in screen coordinates (the region stays the caller's,
// 1 as the region means "whole", as WM_NCPAINT's wParam); DCX_INTERSECTUPDATE within the update region.
HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags);
int ReleaseDC(HWND hwnd, HDC dc);   // 1 when released
HWND WindowFromDC(HDC dc);

// Invalidation. Rectangles and regions are in client coordinates; nullptr means the whole client area.
// Invalidating a window without WS_CLIPCHILDREN invalidates its children under the rectangle too.
bool InvalidateRect(HWND hwnd, const RECT* rect, bool erase);
bool InvalidateRgn(HWND hwnd, HRGN region, bool erase);
bool ValidateRect(HWND hwnd, const RECT* rect);
bool ValidateRgn(HWND hwnd, HRGN region);
// The update region's box (client coordinates); false when it is empty. erase: WM_ERASEBKGND is sent now
// when an erase is pending.
bool GetUpdateRect(HWND hwnd, RECT* rect, bool erase);
int GetUpdateRgn(HWND hwnd, HRGN region, bool erase);   // region complexity; ERROR for a dead window
// Sends WM_PAINT now to the window and its children whose update regions are not empty.
bool UpdateWindow(HWND hwnd);
// RDW_* flags; rect and region in client coordinates (both null: the whole window).
bool RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
// Stops drawing of a window (and its children) while it is locked; nullptr unlocks and repaints.
bool LockWindowUpdate(HWND hwnd);

// BeginPaint: sends WM_NCPAINT when the frame is invalid, WM_ERASEBKGND when an erase is pending (its answer
// decides ps.fErase), validates the update region, and gives a client DC clipped to it. EndPaint releases it.
// A window's procedure that does not validate its update region while handling WM_PAINT has it validated
// afterwards, so an unanswered WM_PAINT does not come back forever.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
bool EndPaint(HWND hwnd, const PAINTSTRUCT* ps);

// Pairs BeginPaint and EndPaint.
class PaintGuard {
public:
    explicit PaintGuard(HWND hwnd)
        : FWnd(hwnd) {
        BeginPaint(hwnd, &FPs);
    }
    ~PaintGuard() { EndPaint(FWnd, &FPs); }
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;
    HDC Dc() const { return FPs.hdc; }
    const PAINTSTRUCT& Ps() const { return FPs; }

private:
    HWND FWnd;
    PAINTSTRUCT FPs;
};

// WM_PAINT and WM_PRINTCLIENT of a control: paint(dc) into the DC given in wParam (the class library's
// PaintWindow, WM_PRINT), else into the window between BeginPaint and EndPaint.
template <class PaintFn>
void PaintInto(HWND hwnd, WPARAM wParam, PaintFn&& paint) {
    if (wParam != 0) {
        paint(reinterpret_cast<HDC>(wParam));
        return;
    }
    PaintGuard guard(hwnd);
    if (guard.Dc()) paint(guard.Dc());
}

// Moves the client pixels of the scroll rectangle (∩ clip) by dx, dy in the backing store. SW_INVALIDATE
// invalidates what was uncovered (SW_ERASE with erase), SW_SCROLLCHILDREN moves the children (WM_MOVE).
// The uncovered part goes to updateRegion / updateRect when given. Returns the region complexity.
int ScrollWindowEx(
    HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRegion, RECT* updateRect, UINT flags);
bool ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip);

// Fills a rectangle with the window class's background (WM_ERASEBKGND's default).
bool EraseBackground(HWND hwnd, HDC dc);

// Test and display access: the backing store of the top-level window holding hwnd (nullptr when none), and
// hwnd's offset in it.
const gdi::Bitmap* BackingStore(HWND hwnd);
POINT BackingStoreOffset(HWND hwnd);
// DCs taken with GetDC, GetWindowDC or GetDCEx (screen DCs too) and not released yet.
std::size_t OpenDcCount();

}

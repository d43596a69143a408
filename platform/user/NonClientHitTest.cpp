// WM_NCHITTEST's default: which part of the frame lies under a screen point.
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Region.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

namespace korvex::user::nc {

namespace {

bool InColumn(const RECT& button, int right, int x) {
    return !gdi::IsRectEmpty(&button) && x >= button.left && x < right;
}

// Caption buttons answer over the whole height of the caption band, each up to its right neighbour.
LRESULT CaptionHit(const Layout& l, POINT p) {
    const int end = l.CaptionBand.right;
    if (InColumn(l.CloseButton, end, p.x)) return HTCLOSE;
    if (InColumn(l.MaxButton, l.CloseButton.left, p.x)) return HTMAXBUTTON;
    if (InColumn(l.MinButton, l.MaxButton.left, p.x)) return HTMINBUTTON;
    if (InColumn(l.HelpButton, l.CloseButton.left, p.x)) return HTHELP;
    if (InColumn(l.Icon, l.Icon.right, p.x)) return HTSYSMENU;
    return HTCAPTION;
}

// The sizing frame: edges, and corners reaching SM_CXSIZE / SM_CYSIZE beyond the frame along each side.
LRESULT SizingHit(const Layout& l, POINT p) {
    const int w = l.Window.right;
    const int h = l.Window.bottom;
    const int cornerX = l.FrameSize.cx + GetSystemMetrics(SM_CXSIZE);
    const int cornerY = l.FrameSize.cy + GetSystemMetrics(SM_CYSIZE);
    const bool nearLeft = p.x < cornerX;
    const bool nearRight = p.x >= w - cornerX;
    const bool nearTop = p.y < cornerY;
    const bool nearBottom = p.y >= h - cornerY;
    if (p.y < l.FrameSize.cy) return nearLeft ? HTTOPLEFT : nearRight ? HTTOPRIGHT : HTTOP;
    if (p.y >= h - l.FrameSize.cy) return nearLeft ? HTBOTTOMLEFT : nearRight ? HTBOTTOMRIGHT : HTBOTTOM;
    if (p.x < l.FrameSize.cx) return nearTop ? HTTOPLEFT : nearBottom ? HTBOTTOMLEFT : HTLEFT;
    return nearTop ? HTTOPRIGHT : nearBottom ? HTBOTTOMRIGHT : HTRIGHT;
}

bool OutsideWindowRegion(HWND hwnd, POINT p) {
    gdi::GdiHandle<gdi::Region> region(gdi::CreateRectRgn(0, 0, 0, 0));
    if (!region || GetWindowRgn(hwnd, region) == gdi::ERROR) return false;
    return !gdi::PtInRegion(region, p.x, p.y);
}

}

LRESULT HitTest(HWND hwnd, POINT screenPoint) {
    const RECT window = WindowRect(hwnd);
    if (!gdi::PtInRect(&window, screenPoint)) return HTNOWHERE;
    const POINT p {screenPoint.x - window.left, screenPoint.y - window.top};
    if (OutsideWindowRegion(hwnd, p)) return HTNOWHERE;
    if (IsIconic(hwnd)) return HTCAPTION;

    const Layout l = LayoutOf(hwnd);
    if (gdi::PtInRect(&l.Client, p)) return HTCLIENT;

    const RECT inside {
        l.FrameSize.cx, l.FrameSize.cy, l.Window.right - l.FrameSize.cx, l.Window.bottom - l.FrameSize.cy};
    if (!gdi::PtInRect(&inside, p)) {
        if (l.Style.Frame == FrameKind::Sizing && !IsZoomed(hwnd)) return SizingHit(l, p);
        return HTBORDER;
    }
    if (gdi::PtInRect(&l.CaptionBand, p)) return CaptionHit(l, p);
    if (gdi::PtInRect(&l.MenuBar, p)) return HTMENU;
    if (gdi::PtInRect(&l.VScroll, p)) return HTVSCROLL;
    if (gdi::PtInRect(&l.HScroll, p)) return HTHSCROLL;
    if (gdi::PtInRect(&l.SizeBox, p)) return HTSIZE;
    return HTBORDER;   // edges, and what is left over in a window too small for its frame
}

}

// The default window procedure: text, painting defaults, positions, cursors, activation, keys; the non-client
// messages go to the non-client area's handler.
#include "platform/user/DefWindowProc.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/Focus.h"
#include "platform/user/Icons.h"
#include "platform/user/Input.h"
#include "platform/user/InputState.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/NonClient.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/Painting.h"
#include "platform/user/Screen.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowObject.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace korvex::user {

using detail::FromHandle;
using detail::WindowObject;

namespace {

void StoreText(WindowObject* w, const char* text) {
    w->Text = text ? text : "";
    if (w->Top && w->Top->Surface)
        if (Display* display = CurrentDisplay()) display->SetSurfaceTitle(w->Top->Surface, w->Text);
}

LRESULT OnSetCursor(WindowObject* w, WPARAM wParam, LPARAM lParam) {
    // The parent has the first say.
    if (w->IsChildStyle() && w->Parent && !w->Parent->IsDesktop) {
        if (detail::Send(w->Parent, WM_SETCURSOR, wParam, lParam)) return 1;
    }
    int hit = std::int16_t(LOWORD(std::uintptr_t(lParam)));
    HCURSOR cursor = nullptr;
    if (hit == HTERROR) return 0;
    if (hit == HTCLIENT) {
        if (!w->Class->Cursor) return 0;   // the window sets its own
        cursor = w->Class->Cursor;
    } else {
        cursor = LoadCursor(nullptr, CursorIdForHitTest(w->Handle, hit));   // the frame's own cursors
    }
    if (!cursor) cursor = LoadCursor(nullptr, IDC_ARROW);
    SetCursor(cursor);
    return hit == HTCLIENT ? 1 : 0;
}

LRESULT OnWindowPosChanged(WindowObject* w, const WINDOWPOS* wp) {
    if (!wp) return 0;
    detail::KeepAlive hold(w);
    if (!(wp->flags & SWP_NOCLIENTMOVE)) detail::Send(w, WM_MOVE, 0, MAKELPARAM(w->Client.left, w->Client.top));
    if (!hold.Alive()) return 0;
    if (!(wp->flags & SWP_NOCLIENTSIZE)) {
        WPARAM type = (w->Style & WS_MINIMIZE) ? SIZE_MINIMIZED
            : (w->Style & WS_MAXIMIZE)         ? SIZE_MAXIMIZED
                                               : SIZE_RESTORED;
        detail::Send(w, WM_SIZE, type, MAKELPARAM(w->Client.right - w->Client.left, w->Client.bottom - w->Client.top));
    }
    return 0;
}

// The release that enters the menu bar: Alt with no other key or button since it went down, F10 alone.
bool IsMenuBarKey(WPARAM vk) {
    if (vk == VK_MENU) return std::exchange(detail::Input().AltReleasedAlone, false);
    return vk == VK_F10 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0;
}

HBRUSH ControlColor(HDC dc, UINT msg) {
    bool window = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
    gdi::SetTextColor(dc, gdi::GetSysColor(gdi::COLOR_WINDOWTEXT));
    gdi::SetBkColor(dc, gdi::GetSysColor(window ? gdi::COLOR_WINDOW : gdi::COLOR_BTNFACE));
    return gdi::GetSysColorBrush(window ? gdi::COLOR_WINDOW : gdi::COLOR_BTNFACE);
}

// The DC's state as it was, on scope exit.
class DcRestore {
public:
    explicit DcRestore(HDC dc)
        : FDc(dc)
        , FSaved(gdi::SaveDC(dc)) { }
    ~DcRestore() {
        if (FSaved) gdi::RestoreDC(FDc, FSaved);
    }
    DcRestore(const DcRestore&) = delete;
    DcRestore& operator=(const DcRestore&) = delete;
    bool Saved() const { return FSaved != 0; }

private:
    HDC FDc;
    int FSaved;
};

// WM_PRINT: the window into the caller's DC. With PRF_NONCLIENT the DC's origin is the window's corner and
// the frame is painted there, else it is the client's corner. The children follow bottom to top, each at its
// place, clipped to this window's client area.
LRESULT OnPrint(WindowObject* w, HDC dc, LPARAM flags) {
    const HWND hwnd = w->Handle;
    if (!dc) return 0;
    if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd)) return 0;
    DcRestore restore(dc);
    if (!restore.Saved()) return 0;
    const RECT client = w->Client;
    if (flags & PRF_NONCLIENT) {
        PrintNonClient(hwnd, dc);
        if (!IsWindow(hwnd)) return 0;
        gdi::OffsetViewportOrgEx(dc, w->Client.left - w->Rect.left, w->Client.top - w->Rect.top, nullptr);
    }
    gdi::IntersectClipRect(dc, 0, 0, client.right - client.left, client.bottom - client.top);
    if (flags & PRF_ERASEBKGND) detail::Send(w, WM_ERASEBKGND, WPARAM(dc), 0);
    if (!IsWindow(hwnd)) return 0;
    if (flags & PRF_CLIENT) detail::Send(w, WM_PRINTCLIENT, WPARAM(dc), flags);
    if (!(flags & PRF_CHILDREN) || !IsWindow(hwnd)) return 0;
    std::vector<HWND> children;
    for (auto it = w->Children.rbegin(); it != w->Children.rend(); ++it)
        children.push_back((*it)->Handle);
    for (HWND h : children) {
        WindowObject* c = FromHandle(h);
        if (!IsWindow(hwnd) || !c || c->Parent != w || !(c->Style & WS_VISIBLE)) continue;
        const RECT& box = (flags & PRF_NONCLIENT) ? c->Rect : c->Client;
        DcRestore childState(dc);
        // A child's rectangles are in this window's client coordinates.
        gdi::IntersectClipRect(dc, c->Rect.left, c->Rect.top, c->Rect.right, c->Rect.bottom);
        gdi::OffsetViewportOrgEx(dc, box.left, box.top, nullptr);
        detail::Send(c, WM_PRINT, WPARAM(dc), flags);
    }
    return 0;
}

}   // namespace

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowObject* w = FromHandle(hwnd);
    if (!w) return 0;
    if (IsNonClientMessage(msg)) return DefNonClientProc(hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
        if (cs) StoreText(w, cs->lpszName);
        return 1;
    }
    case WM_SETTEXT:
        StoreText(w, reinterpret_cast<const char*>(lParam));
        if ((w->Style & WS_CAPTION) == WS_CAPTION && detail::VisibleChain(w)) RedrawCaption(hwnd);
        return 1;
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer || wParam == 0) return 0;
        // Whole UTF-8 characters only.
        std::size_t n = std::min(w->Text.size(), std::size_t(wParam) - 1);
        while (n > 0 && n < w->Text.size() && (static_cast<unsigned char>(w->Text[n]) & 0xC0) == 0x80)
            --n;
        std::memcpy(buffer, w->Text.data(), n);
        buffer[n] = 0;
        return LRESULT(n);
    }
    case WM_GETTEXTLENGTH:
        return LRESULT(w->Text.size());
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return EraseBackground(hwnd, reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    case WM_PRINT:
        return OnPrint(w, reinterpret_cast<HDC>(wParam), lParam);
    case WM_WINDOWPOSCHANGED:
        return OnWindowPosChanged(w, reinterpret_cast<const WINDOWPOS*>(lParam));
    case WM_WINDOWPOSCHANGING:
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SETCURSOR:
        return OnSetCursor(w, wParam, lParam);
    case WM_MOUSEACTIVATE:
        if (w->IsChildStyle() && w->Parent && !w->Parent->IsDesktop) {
            LRESULT answer = detail::Send(w->Parent, WM_MOUSEACTIVATE, wParam, lParam);
            if (answer) return answer;
        }
        return MA_ACTIVATE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(hwnd);
        return 0;
    case WM_SETREDRAW:
        // As Windows: the visible bit alone, without messages or repainting.
        if (wParam)
            w->Style |= WS_VISIBLE;
        else
            w->Style &= ~WS_VISIBLE;
        detail::ClippingChanged();
        detail::RefreshOpenDcs();
        return 0;
    case WM_RBUTTONUP: {
        POINT p = LParamToPoint(lParam);
        ClientToScreen(hwnd, &p);
        detail::Send(w, WM_CONTEXTMENU, WPARAM(hwnd), MAKELPARAM(p.x, p.y));
        return 0;
    }
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
        if (w->IsChildStyle() && w->Parent && !w->Parent->IsDesktop)
            return detail::Send(w->Parent, msg, wParam, lParam);
        if (msg == WM_CONTEXTMENU) {
            // A right-click on the caption or the icon of a top-level window opens its window menu.
            const LRESULT hit = detail::Send(w, WM_NCHITTEST, 0, lParam);
            if (hit == HTCAPTION || hit == HTSYSMENU) nc::TrackSystemMenu(hwnd, LParamToPoint(lParam));
        }
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4 && (lParam & KF_ALTDOWN_BIT)) {
            HWND top = GetAncestor(hwnd, GA_ROOT);
            if (top) PostMessage(top, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_SYSKEYUP:
        // Alt released alone, or F10 without Shift and Ctrl, selects the menu bar's first item.
        if (IsMenuBarKey(wParam)) {
            HWND top = GetAncestor(hwnd, GA_ROOT);
            if (top) detail::Send(FromHandle(top), WM_SYSCOMMAND, SC_KEYMENU, 0);
        }
        return 0;
    case WM_SYSCHAR:
        if (lParam & KF_ALTDOWN_BIT) {
            HWND top = GetAncestor(hwnd, GA_ROOT);
            if (top) detail::Send(FromHandle(top), WM_SYSCOMMAND, SC_KEYMENU, LPARAM(wParam));
        }
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == hwnd) ReleaseCapture();
        return 0;
    case WM_QUERYENDSESSION:
        return 1;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(ControlColor(reinterpret_cast<HDC>(wParam), msg));
    case WM_SETICON: {
        // The previous icon of that size comes back; the caption and the window manager's picture follow.
        HICON& slot = wParam == ICON_BIG ? w->BigIcon : w->SmallIcon;
        HICON old = slot;
        slot = reinterpret_cast<HICON>(lParam);
        if (slot != old) {
            if ((w->Style & WS_CAPTION) == WS_CAPTION && detail::VisibleChain(w)) RedrawCaption(hwnd);
            if (detail::IsTopLevel(w)) detail::SyncSurfaceIcons(w);
        }
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_GETICON:
        // ICON_SMALL2: the small icon, else the large one the system would shrink.
        if (wParam == ICON_BIG) return reinterpret_cast<LRESULT>(w->BigIcon);
        if (wParam == ICON_SMALL2 && !w->SmallIcon) return reinterpret_cast<LRESULT>(w->BigIcon);
        return reinterpret_cast<LRESULT>(w->SmallIcon);
    default:
        return 0;
    }
}

}

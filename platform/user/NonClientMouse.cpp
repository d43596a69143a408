// Non-client mouse defaults: the system commands a press on the frame starts, and caption button tracking.
#include "platform/user/Input.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/NonClient.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

namespace korvex::user::nc {

namespace {

bool CanSize(HWND hwnd) {
    return (GetWindowStyle(hwnd) & WS_THICKFRAME) && !IsZoomed(hwnd) && !IsIconic(hwnd);
}

const RECT& ButtonRect(const Layout& l, LRESULT hitCode) {
    static const RECT none {};
    switch (hitCode) {
    case HTCLOSE:
        return l.CloseButton;
    case HTMAXBUTTON:
        return l.MaxButton;
    case HTMINBUTTON:
        return l.MinButton;
    case HTHELP:
        return l.HelpButton;
    default:
        return none;
    }
}

WPARAM ButtonCommand(HWND hwnd, LRESULT hitCode) {
    switch (hitCode) {
    case HTCLOSE:
        return SC_CLOSE;
    case HTMAXBUTTON:
        return IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE;
    case HTMINBUTTON:
        return IsIconic(hwnd) ? SC_RESTORE : SC_MINIMIZE;
    default:
        return SC_CONTEXTHELP;
    }
}

void SetPressedButton(HWND hwnd, WindowState& state, LRESULT code) {
    if (state.PressedButton == code) return;
    state.PressedButton = code;
    RepaintCaptionButtons(hwnd);
}

// Holds the button pushed while the pointer is over it; a release over it sends the button's command.
void TrackCaptionButton(HWND hwnd, LRESULT hitCode) {
    const Layout layout = LayoutOf(hwnd);
    RECT button = ButtonRect(layout, hitCode);
    auto state = StateOf(hwnd);
    if (!state || gdi::IsRectEmpty(&button) || !IsCaptionButtonEnabled(hwnd, layout.Style, hitCode)) return;
    const POINT origin = WindowOrigin(hwnd);
    gdi::OffsetRect(&button, origin.x, origin.y);
    POINT releasePoint {};
    const bool clicked = TrackPress(
        hwnd, button, [&](bool pushed) { SetPressedButton(hwnd, *state, pushed ? hitCode : HTNOWHERE); },
        &releasePoint);
    if (clicked && IsWindow(hwnd))
        SendMessage(hwnd, WM_SYSCOMMAND, ButtonCommand(hwnd, hitCode), PointToLParam(releasePoint));
}

LRESULT LButtonDown(HWND hwnd, LRESULT hitCode, LPARAM lParam) {
    switch (hitCode) {
    case HTCAPTION:
        SendMessage(hwnd, WM_SYSCOMMAND, SC_MOVE + HTCAPTION, lParam);
        break;
    case HTSYSMENU:
    case HTMENU:
        SendMessage(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU + WPARAM(hitCode), lParam);
        break;
    case HTHSCROLL:
        SendMessage(hwnd, WM_SYSCOMMAND, SC_HSCROLL + HTHSCROLL, lParam);
        break;
    case HTVSCROLL:
        SendMessage(hwnd, WM_SYSCOMMAND, SC_VSCROLL + HTVSCROLL, lParam);
        break;
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
    case HTHELP:
        TrackCaptionButton(hwnd, hitCode);
        break;
    case HTLEFT:
    case HTRIGHT:
    case HTTOP:
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOM:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
        if (CanSize(hwnd)) SendMessage(hwnd, WM_SYSCOMMAND, SC_SIZE + WPARAM(hitCode - HTLEFT) + WMSZ_LEFT, lParam);
        break;
    case HTSIZE:
        if (CanSize(hwnd)) SendMessage(hwnd, WM_SYSCOMMAND, SC_SIZE + WMSZ_BOTTOMRIGHT, lParam);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT LButtonDblClk(HWND hwnd, LRESULT hitCode, LPARAM lParam) {
    switch (hitCode) {
    case HTCAPTION:
        if (IsIconic(hwnd))
            SendMessage(hwnd, WM_SYSCOMMAND, SC_RESTORE, lParam);
        else if (GetWindowStyle(hwnd) & WS_MAXIMIZEBOX)
            SendMessage(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        break;
    case HTSYSMENU:
        SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
        break;
    case HTHSCROLL:
    case HTVSCROLL:
        return LButtonDown(hwnd, hitCode, lParam);   // the second press of a fast pair still scrolls
    default:
        break;
    }
    return 0;
}

}

bool TrackPress(HWND hwnd, const RECT& screenRect, const std::function<void(bool pushed)>& show, POINT* release) {
    LoopScope scope;
    SetCapture(hwnd);
    show(true);
    bool inside = true;
    bool released = false;
    MSG msg;
    while (!released && NextLoopMessage(hwnd, msg)) {
        if (CallMessageFilter(msg)) continue;
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
            inside = gdi::PtInRect(&screenRect, msg.pt);
            show(inside);
            break;
        case WM_LBUTTONUP:
        case WM_NCLBUTTONUP:
            inside = gdi::PtInRect(&screenRect, msg.pt);
            if (release) *release = msg.pt;
            released = true;
            break;
        default:
            if (IsMouseMessage(msg.message) || IsKeyMessage(msg.message)) break;   // held while the button is down
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
    }
    if (GetCapture() == hwnd) ReleaseCapture();
    if (IsWindow(hwnd)) show(false);
    return released && inside;
}

LRESULT HandleNcMouse(HWND hwnd, UINT msg, WPARAM hitCode, LPARAM lParam) {
    switch (msg) {
    case WM_NCLBUTTONDOWN:
        return LButtonDown(hwnd, LRESULT(hitCode), lParam);
    case WM_NCLBUTTONDBLCLK:
        return LButtonDblClk(hwnd, LRESULT(hitCode), lParam);
    case WM_NCRBUTTONUP:
        SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
        return 0;
    default:
        return 0;
    }
}

}

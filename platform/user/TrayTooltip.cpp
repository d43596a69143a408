// The notification area's tooltip: the icon's tip in a small popup while the pointer rests on the icon.
#include "platform/gdi/Gdi.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Timers.h"
#include "platform/user/Tray.h"
#include "platform/user/TrayCore.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <algorithm>

namespace korvex::user::detail {

namespace {

constexpr const char* TipClass = "KorvexTrayTip";
constexpr std::uintptr_t HoverTimer = 1;
constexpr std::uintptr_t HideTimer = 2;
constexpr UINT HoverMs = 500;
constexpr UINT ShowMs = 10000;
constexpr COLORREF TipBack = gdi::RGB(0xFF, 0xFF, 0xE1);
constexpr COLORREF TipBorder = gdi::RGB(0x76, 0x76, 0x76);
constexpr COLORREF TipText = gdi::RGB(0x00, 0x00, 0x00);

struct Tip {
    HWND Window = nullptr;
    TrayIconId Key = 0;   // the icon the pointer rests on (shown or waiting)
    bool Shown = false;
    std::string Text;
    POINT Pointer {};
    gdi::GdiHandle<gdi::Font> Font;
};

Tip& TheTip() {
    static Tip tip;
    return tip;
}

LRESULT TipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

bool EnsureWindow(Tip& t) {
    if (t.Window != nullptr && IsWindow(t.Window)) return true;
    t.Window = MakeTrayPopup(TipClass, TipProc, 10, 10);
    if (!t.Font) t.Font.Reset(gdi::CreateFont(-11, 0, 0, 0, gdi::FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma"));
    t.Shown = false;
    return t.Window != nullptr;
}

void Show(Tip& t) {
    const TrayIcon* icon = FindTrayIcon(t.Key);
    if (icon == nullptr || icon->Tip.empty()) {
        ShowWindow(t.Window, SW_HIDE);
        t.Shown = false;
        return;
    }
    t.Text = icon->Tip;
    SetWindowText(t.Window, t.Text);
    HDC dc = GetDC(t.Window);
    gdi::SelectObject(dc, t.Font.Get());
    RECT r = gdi::Rect(0, 0, 400, 0);
    gdi::DrawText(dc, t.Text, &r, gdi::DT_NOPREFIX | gdi::DT_CALCRECT);
    ReleaseDC(t.Window, dc);
    int w = r.Width() + 8, h = r.Height() + 6;
    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    RECT anchor {};
    if (!TrayIconRect(*icon, &anchor)) anchor = gdi::Rect(t.Pointer.x, t.Pointer.y, t.Pointer.x + 1, t.Pointer.y + 1);
    int x = t.Pointer.x - w / 2;
    int y = anchor.top >= screenH / 2 ? anchor.top - h - 2 : anchor.bottom + 2;
    x = std::clamp(x, 0, std::max(0, screenW - w));
    y = std::clamp(y, 0, std::max(0, screenH - h));
    SetWindowPos(t.Window, HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(t.Window, nullptr, false);
    t.Shown = true;
    SetTimer(t.Window, HideTimer, ShowMs, nullptr);
}

void Hide(Tip& t) {
    t.Key = 0;
    t.Shown = false;
    if (t.Window == nullptr || !IsWindow(t.Window)) return;
    KillTimer(t.Window, HoverTimer);
    KillTimer(t.Window, HideTimer);
    ShowWindow(t.Window, SW_HIDE);
}

LRESULT TipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Tip& t = TheTip();
    if (const std::optional<LRESULT> answer = TrayPopupMessage(msg)) return *answer;
    switch (msg) {
    case WM_PAINT: {
        PaintGuard paint(hwnd);
        HDC dc = paint.Dc();
        PaintFramedClient(hwnd, dc, TipBack, TipBorder);
        RECT client {};
        GetClientRect(hwnd, &client);
        gdi::SelectObject(dc, t.Font.Get());
        gdi::SetBkMode(dc, gdi::TRANSPARENT);
        gdi::SetTextColor(dc, TipText);
        RECT text = gdi::Rect(4, 3, client.right - 4, client.bottom - 3);
        gdi::DrawText(dc, t.Text, &text, gdi::DT_NOPREFIX);
        return 0;
    }
    case WM_TIMER:
        if (hwnd != t.Window) return 0;
        KillTimer(hwnd, wParam);
        if (wParam == HideTimer) {
            Hide(t);
        } else if (wParam == HoverTimer) {
            // Shown only while the pointer is still on the icon.
            const TrayIcon* icon = FindTrayIcon(t.Key);
            RECT r {};
            POINT p {};
            GetCursorPos(&p);
            if (icon != nullptr && (!TrayIconRect(*icon, &r) || gdi::PtInRect(&r, p)))
                Show(t);
            else
                Hide(t);
        }
        return 0;
    case WM_NCDESTROY:
        if (hwnd == t.Window) {
            t.Window = nullptr;
            t.Key = 0;
            t.Shown = false;
        }
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}   // namespace

void TrayTipPointer(const TrayIcon& icon, POINT screen) {
    Tip& t = TheTip();
    t.Pointer = screen;
    if (t.Key == icon.Key) return;   // waiting or shown for this icon already
    if (!EnsureWindow(t)) return;
    Hide(t);
    t.Key = icon.Key;
    SetTimer(t.Window, HoverTimer, HoverMs, nullptr);
}

void TrayTipHide(TrayIconId key) {
    Tip& t = TheTip();
    if (key == 0 || t.Key == key) Hide(t);
}

void TrayTipRefresh(const TrayIcon& icon) {
    Tip& t = TheTip();
    if (t.Shown && t.Key == icon.Key && t.Text != icon.Tip) Show(t);
}

}

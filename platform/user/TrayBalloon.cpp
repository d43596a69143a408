// The notification area's balloon: our own popup beside the icon with a sign, a title, a text and a close box.
#include "platform/gdi/Gdi.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Timers.h"
#include "platform/user/Tray.h"
#include "platform/user/TrayCore.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <algorithm>

namespace korvex::user {

namespace detail {

namespace {

constexpr const char* BalloonClass = "KorvexTrayBalloon";
constexpr std::uintptr_t TimeoutTimer = 1;
constexpr int Padding = 10;
constexpr int SignSize = 24;
constexpr int CloseSize = 14;
constexpr int MaxTextWidth = 280;
constexpr int MinWidth = 180;
constexpr int Corner = 12;
constexpr COLORREF TopColor = gdi::RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF BottomColor = gdi::RGB(0xEC, 0xF0, 0xF7);
constexpr COLORREF BorderColor = gdi::RGB(0x7D, 0x88, 0x9C);
constexpr COLORREF TitleColor = gdi::RGB(0x17, 0x36, 0x66);
constexpr COLORREF TextColor = gdi::RGB(0x22, 0x22, 0x22);
constexpr COLORREF CloseColor = gdi::RGB(0x70, 0x78, 0x86);

struct Balloon {
    HWND Window = nullptr;
    TrayIconId Key = 0;
    std::string Title;
    std::string Text;
    gdi::GdiHandle<gdi::Bitmap> Sign;
    SIZE Size {};
    RECT TitleRect {};
    RECT TextRect {};
    RECT CloseRect {};
    gdi::GdiHandle<gdi::Font> TitleFont;
    gdi::GdiHandle<gdi::Font> TextFont;
};

Balloon& TheBalloon() {
    static Balloon balloon;
    return balloon;
}

LRESULT BalloonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

bool EnsureWindow(Balloon& b) {
    if (b.Window != nullptr && IsWindow(b.Window)) return true;
    b.Window = MakeTrayPopup(BalloonClass, BalloonProc, MinWidth, 60);
    if (!b.TitleFont) b.TitleFont.Reset(gdi::CreateFont(-13, 0, 0, 0, gdi::FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma"));
    if (!b.TextFont) b.TextFont.Reset(gdi::CreateFont(-12, 0, 0, 0, gdi::FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma"));
    return b.Window != nullptr;
}

void Layout(Balloon& b) {
    HDC dc = GetDC(b.Window);
    int left = Padding + (b.Sign ? SignSize + 8 : 0);
    RECT title = gdi::Rect(0, 0, MaxTextWidth, 0);
    gdi::SelectObject(dc, b.TitleFont.Get());
    if (!b.Title.empty()) gdi::DrawText(dc, b.Title, &title, gdi::DT_SINGLELINE | gdi::DT_NOPREFIX | gdi::DT_CALCRECT);
    int titleWidth = std::min(b.Title.empty() ? 0 : title.Width(), MaxTextWidth);
    int titleHeight = b.Title.empty() ? 0 : title.Height();
    RECT text = gdi::Rect(0, 0, MaxTextWidth, 0);
    gdi::SelectObject(dc, b.TextFont.Get());
    gdi::DrawText(dc, b.Text, &text, gdi::DT_WORDBREAK | gdi::DT_NOPREFIX | gdi::DT_CALCRECT);
    ReleaseDC(b.Window, dc);
    int textWidth = std::min(text.Width(), MaxTextWidth);
    int contentWidth = std::max(titleWidth + CloseSize + 8, textWidth + (b.Title.empty() ? CloseSize + 8 : 0));
    int width = std::max(MinWidth, left + contentWidth + Padding);
    int top = Padding;
    b.TitleRect = gdi::Rect(left, top, left + titleWidth, top + titleHeight);
    int textTop = top + (titleHeight > 0 ? titleHeight + 5 : 0);
    b.TextRect = gdi::Rect(left, textTop, left + textWidth, textTop + text.Height());
    int height = std::max(b.TextRect.bottom, b.Sign ? Padding + SignSize : 0) + Padding;
    b.CloseRect = gdi::Rect(width - Padding - CloseSize + 4, Padding - 4, width - Padding + 4, Padding - 4 + CloseSize);
    b.Size = SIZE {width, height};
}

void Paint(Balloon& b, HDC dc) {
    int w = b.Size.cx, h = b.Size.cy;
    gdi::TRIVERTEX v[2];
    v[0].x = 0;
    v[0].y = 0;
    v[0].Red = gdi::COLOR16(gdi::GetRValue(TopColor) << 8);
    v[0].Green = gdi::COLOR16(gdi::GetGValue(TopColor) << 8);
    v[0].Blue = gdi::COLOR16(gdi::GetBValue(TopColor) << 8);
    v[1].x = w;
    v[1].y = h;
    v[1].Red = gdi::COLOR16(gdi::GetRValue(BottomColor) << 8);
    v[1].Green = gdi::COLOR16(gdi::GetGValue(BottomColor) << 8);
    v[1].Blue = gdi::COLOR16(gdi::GetBValue(BottomColor) << 8);
    gdi::GRADIENT_RECT mesh {0, 1};
    gdi::GradientFill(dc, v, 2, &mesh, 1, gdi::GRADIENT_FILL_RECT_V);

    gdi::GdiHandle<gdi::Pen> border(gdi::CreatePen(gdi::PS_SOLID, 1, BorderColor));
    gdi::HGDIOBJ oldPen = gdi::SelectObject(dc, static_cast<gdi::HGDIOBJ>(border.Get()));
    gdi::HGDIOBJ oldBrush = gdi::SelectObject(dc, gdi::GetStockObject(gdi::NULL_BRUSH));
    gdi::RoundRect(dc, 0, 0, w, h, Corner, Corner);

    if (b.Sign) DrawTrayPicture(dc, Padding, Padding, b.Sign.Get());

    gdi::SetBkMode(dc, gdi::TRANSPARENT);
    if (!b.Title.empty()) {
        gdi::SelectObject(dc, b.TitleFont.Get());
        gdi::SetTextColor(dc, TitleColor);
        RECT r = b.TitleRect;
        gdi::DrawText(dc, b.Title, &r, gdi::DT_SINGLELINE | gdi::DT_NOPREFIX | gdi::DT_END_ELLIPSIS);
    }
    gdi::SelectObject(dc, b.TextFont.Get());
    gdi::SetTextColor(dc, TextColor);
    RECT r = b.TextRect;
    gdi::DrawText(dc, b.Text, &r, gdi::DT_WORDBREAK | gdi::DT_NOPREFIX);

    // The close box: a cross.
    gdi::GdiHandle<gdi::Pen> cross(gdi::CreatePen(gdi::PS_SOLID, 2, CloseColor));
    gdi::SelectObject(dc, static_cast<gdi::HGDIOBJ>(cross.Get()));
    const RECT& c = b.CloseRect;
    int m = 4;
    gdi::MoveToEx(dc, c.left + m, c.top + m, nullptr);
    gdi::LineTo(dc, c.right - m, c.bottom - m);
    gdi::MoveToEx(dc, c.right - m - 1, c.top + m, nullptr);
    gdi::LineTo(dc, c.left + m - 1, c.bottom - m);
    gdi::SelectObject(dc, oldPen);
    gdi::SelectObject(dc, oldBrush);
}

// Takes the balloon down and tells its icon with code (0: tells nobody).
void Close(Balloon& b, UINT code) {
    TrayIconId key = b.Key;
    b.Key = 0;
    if (b.Window != nullptr && IsWindow(b.Window)) {
        KillTimer(b.Window, TimeoutTimer);
        ShowWindow(b.Window, SW_HIDE);
    }
    if (code == 0) return;
    if (const TrayIcon* icon = FindTrayIcon(key)) NotifyTrayOwner(*icon, code);
}

LRESULT BalloonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Balloon& b = TheBalloon();
    if (const std::optional<LRESULT> answer = TrayPopupMessage(msg)) return *answer;
    switch (msg) {
    case WM_PAINT: {
        PaintGuard paint(hwnd);
        if (hwnd == b.Window) Paint(b, paint.Dc());
        return 0;
    }
    case WM_TIMER:
        if (hwnd == b.Window && wParam == TimeoutTimer) Close(b, NIN_BALLOONTIMEOUT);
        return 0;
    case WM_LBUTTONUP: {
        if (hwnd != b.Window || b.Key == 0) return 0;
        POINT p = LParamToPoint(lParam);
        // The close box counts as the time running out, as the shell has it.
        Close(b, gdi::PtInRect(&b.CloseRect, p) ? NIN_BALLOONTIMEOUT : NIN_BALLOONUSERCLICK);
        return 0;
    }
    case WM_NCDESTROY:
        if (hwnd == b.Window) {
            b.Window = nullptr;
            b.Key = 0;
        }
        break;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}   // namespace

void ShowTrayBalloon(
    const TrayIcon& icon, const std::string& title, const std::string& text, DWORD infoFlags, UINT timeoutMs) {
    Balloon& b = TheBalloon();
    if (b.Key != 0 && b.Key != icon.Key) Close(b, NIN_BALLOONHIDE);
    if (!EnsureWindow(b)) return;
    b.Key = icon.Key;
    b.Title = title;
    b.Text = text;
    b.Sign.Reset(DrawBalloonSign(infoFlags, SignSize));
    SetWindowText(b.Window, title + "\n" + text);
    Layout(b);
    SetWindowRgn(b.Window, gdi::CreateRoundRectRgn(0, 0, b.Size.cx + 1, b.Size.cy + 1, Corner, Corner), false);
    PlaceTrayBalloon();
    InvalidateRect(b.Window, nullptr, false);
    ShowWindow(b.Window, SW_SHOWNOACTIVATE);
    SetTimer(b.Window, TimeoutTimer, timeoutMs, nullptr);
    NotifyTrayOwner(icon, NIN_BALLOONSHOW);
}

void HideTrayBalloon(TrayIconId key, bool notify) {
    Balloon& b = TheBalloon();
    if (b.Key == 0 || b.Key != key) return;
    Close(b, notify ? NIN_BALLOONHIDE : 0);
}

void PlaceTrayBalloon() {
    Balloon& b = TheBalloon();
    if (b.Key == 0 || b.Window == nullptr || !IsWindow(b.Window)) return;
    int w = b.Size.cx, h = b.Size.cy;
    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    RECT anchor {};
    const TrayIcon* icon = FindTrayIcon(b.Key);
    int x = 0, y = 0;
    if (icon != nullptr && TrayIconRect(*icon, &anchor)) {
        // The balloon's right part stands over the icon; above it when the icon is low on the screen.
        x = (anchor.left + anchor.right) / 2 - w + 28;
        y = anchor.top >= screenH / 2 ? anchor.top - h - 4 : anchor.bottom + 4;
    } else {
        RECT area = gdi::Rect(0, 0, screenW, screenH);
        SystemParametersInfo(SPI_GETWORKAREA, 0, &area);
        x = area.right - w - 8;
        y = area.bottom - h - 8;
    }
    x = std::clamp(x, 0, std::max(0, screenW - w));
    y = std::clamp(y, 0, std::max(0, screenH - h));
    SetWindowPos(b.Window, HWND_TOPMOST, x, y, w, h, SWP_NOACTIVATE);
}

}   // namespace detail

}

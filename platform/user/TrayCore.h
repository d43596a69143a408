// Inside the window layer: the notification area's icon table, shared by its balloon and tooltip windows.
#pragma once

#include "platform/gdi/GdiObject.h"
#include "platform/user/TrayHost.h"

#include <optional>
#include <string>

namespace korvex::user::detail {

struct TrayIcon {
    TrayIconId Key = 0;
    HWND Owner = nullptr;
    UINT Id = 0;
    UINT CallbackMessage = 0;   // 0: no callbacks
    UINT Version = 0;
    std::string Tip;
    gdi::GdiHandle<gdi::Bitmap> Picture;   // premultiplied, as the icon gave it
    bool Docked = false;
    // The last press, for double clicks.
    MouseButton LastDown = MouseButton::None;
    std::uint64_t LastDownMs = 0;
    POINT LastDownPos {};
};

// The icon of a key; nullptr once it is deleted (or its owner window is gone).
TrayIcon* FindTrayIcon(TrayIconId key);
// Posts the icon's callback message with code as lParam (nothing without a callback message).
void NotifyTrayOwner(const TrayIcon& icon, UINT code);
// The icon's rectangle on the screen; false while it is not docked.
bool TrayIconRect(const TrayIcon& icon, RECT* rect);

// The balloon (TrayBalloon.cpp). Showing replaces a balloon of any icon (NIN_BALLOONHIDE to that one).
void ShowTrayBalloon(
    const TrayIcon& icon, const std::string& title, const std::string& text, DWORD infoFlags, UINT timeoutMs);
// Takes the balloon of this icon down (NIN_BALLOONHIDE when notify); nothing when another icon's is up.
void HideTrayBalloon(TrayIconId key, bool notify);
void PlaceTrayBalloon();   // after the icon moved, docked or left its tray

// The tooltip (TrayTooltip.cpp).
void TrayTipPointer(const TrayIcon& icon, POINT screen);   // the pointer moves on the icon
void TrayTipHide(TrayIconId key);   // 0: whatever icon it belongs to
void TrayTipRefresh(const TrayIcon& icon);   // the icon's tip text changed

// The tooltip's and the balloon's window: a topmost tool window that takes no activation, its class registered
// on first use. nullptr when it cannot be made.
HWND MakeTrayPopup(const char* className, WNDPROC proc, int width, int height);
// What every tray popup answers alike: WM_ERASEBKGND 1 (its paint covers it all), WM_MOUSEACTIVATE
// MA_NOACTIVATE (a click leaves the focus where it is). nullopt for any other message.
std::optional<LRESULT> TrayPopupMessage(UINT msg);

// A picture fitted into a size x size slot (a new premultiplied 32-bit bitmap; nullptr when memory is short).
gdi::Bitmap* FitTrayPicture(const gdi::Bitmap& source, int size);
// The balloon's sign for NIIF_INFO, NIIF_WARNING or NIIF_ERROR (premultiplied 32-bit); nullptr for none.
gdi::Bitmap* DrawBalloonSign(DWORD infoFlags, int size);
// Blends a premultiplied picture onto dc at (x, y); the picture must not be selected elsewhere.
void DrawTrayPicture(HDC dc, int x, int y, gdi::Bitmap* picture);
// A window's client area filled in one colour inside a one-pixel frame of another (tooltips, the panel).
void PaintFramedClient(HWND hwnd, HDC dc, COLORREF back, COLORREF frame);

}

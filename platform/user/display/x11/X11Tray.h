// The x11 display's system tray icons: docked by the XEmbed system tray protocol, painted and clicked here.
// Xlib types stay opaque here, as in X11Backend.h.
#pragma once

#include "platform/user/TrayHost.h"
#include "platform/user/display/x11/X11Backend.h"

#include <memory>
#include <vector>

namespace korvex::user::x11 {

// One icon window per docked icon, a child of the root until the tray manager (the owner of the
// _NET_SYSTEM_TRAY_S<screen> selection) reparents it on SYSTEM_TRAY_REQUEST_DOCK. A MANAGER broadcast
// on the root announces a new manager; the old one's end (DestroyNotify of its window) undocks everything.
// The icon windows are made anew for every manager, so a window left behind by a dead tray never shows.
class X11Tray final : public detail::TrayHost {
public:
    static constexpr int DefaultIconSize = 22;

    explicit X11Tray(X11Display& display);
    ~X11Tray() override;   // the connection is still open

    // An event of the connection; true when it was the tray's (icon windows, the manager's coming and going).
    bool HandleEvent(_XEvent& event);

    void SetSink(detail::TraySink* sink) override { FSink = sink; }
    bool Available() const override;
    int IconSize() const override { return FIconSize; }
    bool Dock(detail::TrayIconId id) override;
    void Undock(detail::TrayIconId id) override;
    void SetPicture(detail::TrayIconId id, const gdi::Bitmap* picture) override;
    bool IconRect(detail::TrayIconId id, RECT* rect) const override;

    XId Manager() const { return FManager; }   // for tests
    XId IconWindow(detail::TrayIconId id) const;

private:
    struct Icon {
        detail::TrayIconId Id = 0;
        XId Window = 0;
        XId Colormap = 0;
        bool Argb = false;
        bool Embedded = false;
        int Width = 0;
        int Height = 0;
        gdi::GdiHandle<gdi::Bitmap> Picture;
    };

    void WatchManager();
    bool CreateWindow(Icon& icon);
    void DestroyWindow(Icon& icon);
    void Paint(Icon& icon);
    void PaintArgb(Icon& icon, const gdi::Bitmap* picture);
    void PaintOver(Icon& icon, const gdi::Bitmap* picture);
    void ReportInput(Icon& icon, const _XEvent& event);
    Icon* FindIcon(detail::TrayIconId id) const;
    Icon* FindWindow(XId window) const;
    void* ManagerVisual(int* depth) const;   // Visual* the manager asks icons to use, or nullptr

    X11Display& FOwner;
    _XDisplay* FDisplay;
    XId FRoot = 0;
    XId FSelection = 0;   // _NET_SYSTEM_TRAY_S<screen>
    XId FOpcode = 0;
    XId FManagerAtom = 0;
    XId FXembed = 0;
    XId FXembedInfo = 0;
    XId FTrayVisual = 0;
    XId FManager = 0;
    int FIconSize = DefaultIconSize;
    detail::TraySink* FSink = nullptr;
    std::vector<std::unique_ptr<Icon>> FIcons;
};

}

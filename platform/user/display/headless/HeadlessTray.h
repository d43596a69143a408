// The headless display's notification area: a strip of icon slots at the right end of its bottom panel.
#pragma once

#include "platform/user/TrayHost.h"

#include <vector>

namespace korvex::user {

// Tests click the icons through HeadlessDisplay's input and see them (and the balloons) in screenshots.
// Present by default; taking it away and bringing it back is a tray restart ("TaskbarCreated").
void SetHeadlessTrayPresent(bool present);
bool HeadlessTrayPresent();
// The strip's window (nullptr while no icon is docked).
HWND HeadlessTrayWindow();

namespace detail {

class HeadlessTrayHost final : public TrayHost {
public:
    static constexpr int SlotSize = 22;   // the icon's square
    static constexpr int SlotPitch = SlotSize + 4;   // slot plus gap

    static HeadlessTrayHost& Instance();
    ~HeadlessTrayHost() override;

    void SetSink(TraySink* sink) override { FSink = sink; }
    bool Available() const override { return FPresent; }
    int IconSize() const override { return SlotSize; }
    bool Dock(TrayIconId id) override;
    void Undock(TrayIconId id) override;
    void SetPicture(TrayIconId id, const gdi::Bitmap* picture) override;
    bool IconRect(TrayIconId id, RECT* rect) const override;

    void SetPresent(bool present);
    bool Present() const { return FPresent; }
    HWND Window() const;
    LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    struct Slot {
        TrayIconId Id = 0;
        gdi::GdiHandle<gdi::Bitmap> Picture;
    };

    HeadlessTrayHost() = default;
    bool EnsureWindow();
    void Layout();
    int SlotAt(int clientX) const;
    void Report(int slot, InputKind kind, MouseButton button, LPARAM lParam);

    TraySink* FSink = nullptr;
    bool FPresent = true;
    HWND FWindow = nullptr;
    std::vector<Slot> FSlots;
    TrayIconId FTracked = 0;   // the slot the pointer is on (leave tracking)
};

}

}

// A minimal system tray for end-to-end tests: owns _NET_SYSTEM_TRAY_S0 and embeds docked icons by XEmbed.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace korvex::e2e {

// Runs on a thread of its own with its own connection. Start announces it (MANAGER on the root); Stop closes
// its connection, so the selection and its window go as when a panel dies (docked icons come back to the
// root through the save-set, as real trays do).
class TrayManager {
public:
    struct Docked {
        unsigned long Window = 0;
        int X = 0;   // screen position of the slot
        int Y = 0;
        int Size = 0;   // width (Fixed: width and height)
        int Height = 0;
    };

    static constexpr int SlotSize = 24;
    // How the tray sizes a docked icon: every slot SlotSize square, or from the icon's WM_NORMAL_HINTS as
    // socket-based trays do (the minimum size, else the base size, else one pixel).
    enum class Sizing { Fixed, FromHints };

    TrayManager() = default;
    TrayManager(const TrayManager&) = delete;
    TrayManager& operator=(const TrayManager&) = delete;
    ~TrayManager();

    // The tray sits at the bottom right of the screen; false when it cannot open the display or take the selection.
    // With argbVisual it asks icons for a 32-bit visual (_NET_SYSTEM_TRAY_VISUAL), as compositing trays do.
    bool Start(const std::string& displayName, bool argbVisual = false, Sizing sizing = Sizing::Fixed);
    void Stop();
    bool Running() const { return FThread.joinable(); }

    std::vector<Docked> Icons() const;   // embedded and mapped, in docking order
    int DockRequests() const { return FRequests; }   // since the last Start
    unsigned long Window() const { return FWindow; }

private:
    void Run();

    std::thread FThread;
    std::atomic<bool> FStop {false};
    void* FDisplay = nullptr;   // Display*
    unsigned long FWindow = 0;
    int FLeft = 0;
    int FTop = 0;
    mutable std::mutex FMutex;
    std::vector<Docked> FIcons;
    std::atomic<int> FRequests {0};
    Sizing FSizing = Sizing::Fixed;
};

}

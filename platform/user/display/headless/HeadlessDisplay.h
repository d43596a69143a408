// The headless display: a virtual screen in memory, injected input and screenshots, for tests and tools.
#pragma once

#include "platform/user/display/Display.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace korvex::user {

// Surfaces are composed in stacking order (window shapes and layered alpha honoured) onto a desktop of one
// colour when a screenshot is asked for. Injected input goes to the sink at once (on the calling thread, which
// must be the UI thread) with the time of the display's own clock, which only moves when told to.
// Font selection is pinned to one family ("DejaVu Sans") while a headless display exists, so text is the same
// on every machine.
class HeadlessDisplay final : public Display {
public:
    static constexpr int DefaultWidth = 1024;
    static constexpr int DefaultHeight = 768;
    static constexpr int DefaultPanelHeight = 30;   // a panel along the bottom, outside the work area
    static constexpr gdi::COLORREF DesktopColor = gdi::RGB(0x3A, 0x6E, 0xA5);

    explicit HeadlessDisplay(
        int width = DefaultWidth, int height = DefaultHeight, int panelHeight = DefaultPanelHeight);
    ~HeadlessDisplay() override;

    const char* Name() const override { return "headless"; }
    void SetSink(DisplaySink* sink) override { FSink = sink; }
    gdi::SIZE ScreenSize() const override { return FScreen; }
    gdi::RECT WorkArea() const override { return FWorkArea; }

    bool CreateSurface(SurfaceId id, const SurfaceOptions& options) override;
    void DestroySurface(SurfaceId id) override;
    void ShowSurface(SurfaceId id, bool visible) override;
    void MoveSurface(SurfaceId id, const gdi::RECT& bounds) override;
    void SetSurfaceTitle(SurfaceId id, const std::string& title) override;
    void SetSurfaceIcons(SurfaceId id, const std::vector<SurfaceIcon>& icons) override;
    void SetSurfaceShadow(SurfaceId id, bool dropShadow) override;
    void SetSurfaceState(SurfaceId id, SurfaceState state) override;
    void SetSurfaceShape(SurfaceId id, const gdi::Region* shape) override;
    void RaiseSurface(SurfaceId id, SurfaceId below) override;
    void ActivateSurface(SurfaceId id) override;

    void Present(SurfaceId id, const gdi::Bitmap& store, const std::vector<gdi::RECT>& dirty) override;
    void PresentLayered(SurfaceId id, const gdi::Bitmap& argb, std::uint8_t constantAlpha) override;
    gdi::Bitmap* CaptureScreen(const gdi::RECT& rect) override;
    void XorScreen(const gdi::Bitmap& mask, const gdi::RECT& rect) override;
    bool HasCompositor() const override { return FCompositor; }

    void SetCursor(SurfaceId id, CursorShape shape) override;
    gdi::POINT CursorPos() const override { return FPointer; }
    void GrabPointer(SurfaceId id, bool grab) override;
    void ConfinePointer(const gdi::RECT* rect) override;

    std::string ClipboardText() override { return FClipboard; }
    void SetClipboardText(const std::string& text) override { FClipboard = text; }
    void Bell() override { ++FBells; }

    int EventFd() const override { return -1; }
    void Pump() override { }
    void Flush() override { }

    // ---- test controls ----
    int BellCount() const { return FBells; }   // beeps so far
    void SetCompositor(bool on) { FCompositor = on; }
    // More monitors beside the screen (which stays the primary one and the only one screenshots show); an
    // empty list goes back to the one screen.
    void SetMonitors(std::vector<MonitorArea> extra) { FExtraMonitors = std::move(extra); }
    std::vector<MonitorArea> Monitors() const override;
    void SetTimeMs(std::uint64_t ms) { FTimeMs = ms; }
    void AdvanceTimeMs(std::uint64_t ms) { FTimeMs += ms; }
    std::uint64_t TimeMs() const { return FTimeMs; }

    // Input in screen coordinates. Each call reports through the sink as the X server would.
    void MoveMouse(int x, int y, unsigned modifiers = 0);
    void ButtonDown(MouseButton button, int x, int y, unsigned modifiers = 0);
    void ButtonUp(MouseButton button, int x, int y, unsigned modifiers = 0);
    void Click(int x, int y, MouseButton button = MouseButton::Left, unsigned modifiers = 0);   // move, down, up
    void DoubleClick(int x, int y, MouseButton button = MouseButton::Left);
    void Wheel(int x, int y, int delta, unsigned modifiers = 0);
    void KeyDown(unsigned vk, const std::string& text = {}, unsigned modifiers = 0);
    void KeyUp(unsigned vk, unsigned modifiers = 0);
    void Press(unsigned vk, const std::string& text = {}, unsigned modifiers = 0);   // down and up
    void LeaveScreen();   // the pointer left every surface
    void RequestClose(SurfaceId id);   // the window manager's close button
    void FocusSurface(SurfaceId id);   // the window manager moved the keyboard focus (0: away from us)
    void MinimizeByUser(SurfaceId id);

    // Inspection.
    struct SurfaceInfo {
        SurfaceOptions Options;
        bool Visible = false;
        SurfaceState State = SurfaceState::Normal;
        bool HasShape = false;
        gdi::BandedRegion Shape;   // surface coordinates
        bool Layered = false;
        std::uint8_t ConstantAlpha = 255;
        std::unique_ptr<gdi::Bitmap> Picture;   // what was presented (32-bit)
        int PresentCount = 0;
        std::vector<gdi::RECT> LastDirty;
        CursorShape Cursor = CursorShape::Arrow;
    };
    const SurfaceInfo* Surface(SurfaceId id) const;
    std::vector<SurfaceId> StackingOrder() const;   // bottom first
    SurfaceId ActiveSurface() const { return FActive; }
    SurfaceId GrabbedSurface() const { return FGrab; }
    const gdi::RECT* Confinement() const { return FConfined ? &FConfine : nullptr; }

    // The composed screen (or a rectangle of it) as a new 32-bit bitmap; the caller owns it.
    gdi::Bitmap* Screenshot(const gdi::RECT* rect = nullptr) const;
    // One surface's presented picture, as a new bitmap (nullptr for an unknown surface).
    gdi::Bitmap* SurfaceShot(SurfaceId id) const;
    bool WriteScreenshotPng(const std::string& path, const gdi::RECT* rect = nullptr) const;
    gdi::COLORREF ScreenPixel(int x, int y) const;   // composed; CLR_INVALID outside the screen
    int CaptureCount() const { return FCaptures; }   // CaptureScreen calls so far

private:
    int FBells = 0;
    void Send(InputEvent event);
    SurfaceId SurfaceAt(gdi::POINT p) const;
    void ComposeOnto(gdi::Bitmap& screen, const gdi::RECT& area) const;

    DisplaySink* FSink = nullptr;
    int FCaptures = 0;
    gdi::SIZE FScreen;
    std::map<std::pair<int, int>, std::uint32_t> FScreenXor;   // drawn into the screen itself: (y, x) -> colour bits
    gdi::RECT FWorkArea;
    std::vector<MonitorArea> FExtraMonitors;
    bool FCompositor = false;
    std::uint64_t FTimeMs = 1000;
    gdi::POINT FPointer;
    unsigned FButtons = 0;
    std::map<SurfaceId, SurfaceInfo> FSurfaces;
    std::vector<SurfaceId> FStack;   // bottom first
    SurfaceId FActive = 0;
    SurfaceId FGrab = 0;
    bool FConfined = false;
    gdi::RECT FConfine {};   // where injected pointer positions are held while FConfined
    std::string FClipboard;
};

}

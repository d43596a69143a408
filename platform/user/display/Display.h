// The display a window tree is shown on: native surfaces for top-level windows, input, clipboard, capture.
#pragma once

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/Types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvex::user {

// Identifies one top-level window to the display; the window layer picks the numbers (never 0).
using SurfaceId = std::uint64_t;

enum class SurfaceKind {
    Normal,    // a managed top-level window (frame drawn by us; the window manager only places it)
    Popup,     // override-redirect: menus, hints, combo lists, balloons
    Layered,   // per-pixel alpha; shown with an ARGB visual where a compositor runs
};

enum class SurfaceState {
    Normal,
    Minimized,
    Maximized,
};

// A picture the window manager shows for a window (its title, the task bar): A, R, G, B from the high byte
// down, alpha straight (not premultiplied), row by row from the top.
struct SurfaceIcon {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Argb;   // Width x Height
};

struct SurfaceOptions {
    SurfaceKind Kind = SurfaceKind::Normal;
    gdi::RECT Bounds;              // screen coordinates
    std::string Title;             // UTF-8
    bool SkipTaskbar = false;
    bool TopMost = false;
    SurfaceId Owner = 0;           // transient-for
    bool OwnedByHidden = false;    // owned by a window without a surface: transient for all of ours
    std::vector<SurfaceIcon> Icons;   // the window's icons, of different sizes (none: the window manager's own)
    bool DropShadow = false;   // a compositor may draw a shadow under a popup or layered window
};

// What a display reports back; every call arrives on the thread that pumps the display.
enum class InputKind {
    MouseMove,
    ButtonDown,
    ButtonUp,
    Wheel,
    KeyDown,
    KeyUp,
    Leave,            // the pointer left every surface of ours
};

enum class MouseButton { None, Left, Right, Middle, X1, X2 };

inline constexpr unsigned ModShift = 1, ModControl = 2, ModAlt = 4;

struct InputEvent {
    InputKind Kind = InputKind::MouseMove;
    SurfaceId Surface = 0;         // the surface under the pointer or holding keyboard focus (0 for none)
    gdi::POINT ScreenPos;          // pointer position in screen coordinates
    MouseButton Button = MouseButton::None;
    int WheelDelta = 0;            // multiples of 120, positive away from the user
    unsigned Modifiers = 0;        // Mod* bits at the time of the event
    unsigned VirtualKey = 0;       // VK_* code for key events
    std::string Text;              // UTF-8 characters the key produces (may be empty)
    std::uint64_t TimeMs = 0;      // event time, for double-click synthesis
};

class DisplaySink {
public:
    virtual ~DisplaySink() = default;
    virtual void OnInput(const InputEvent& event) = 0;
    virtual void OnExpose(SurfaceId surface, const gdi::RECT& rect) = 0;          // surface-relative
    virtual void OnCloseRequest(SurfaceId surface) = 0;                          // the window manager's close
    virtual void OnMovedByUser(SurfaceId surface, const gdi::RECT& bounds) = 0;  // placed by the window manager
    virtual void OnStateChanged(SurfaceId surface, SurfaceState state) = 0;      // minimized/restored outside us
    virtual void OnFocusChanged(SurfaceId surface, bool focused) = 0;
    // Files dragged from another program: whether a window at the screen point takes them (asked while the
    // drag moves), and the drop itself (absolute local paths, never empty).
    virtual bool AcceptsFilesAt(SurfaceId, gdi::POINT) { return false; }
    virtual void OnFilesDropped(SurfaceId, gdi::POINT, const std::vector<std::string>&) { }
};

// One monitor: its bounds and its work area (the bounds less panels), in virtual-screen coordinates; a
// monitor left of or above the primary one has negative coordinates.
struct MonitorArea {
    gdi::RECT Bounds {};
    gdi::RECT Work {};
    friend bool operator==(const MonitorArea&, const MonitorArea&) = default;
};

enum class CursorShape { Arrow, IBeam, Wait, Cross, SizeNWSE, SizeNESW, SizeWE, SizeNS, SizeAll, No, Hand };

class Display {
public:
    virtual ~Display() = default;

    virtual const char* Name() const = 0;   // "headless" or "x11"
    virtual void SetSink(DisplaySink* sink) = 0;

    virtual gdi::SIZE ScreenSize() const = 0;
    virtual gdi::RECT WorkArea() const = 0;   // the primary monitor's
    // Every monitor, the primary one (at 0, 0) first; by default the one screen.
    virtual std::vector<MonitorArea> Monitors() const {
        const gdi::SIZE size = ScreenSize();
        return {MonitorArea {gdi::RECT {0, 0, size.cx, size.cy}, WorkArea()}};
    }

    // Surfaces: one per visible top-level window. Create does not show it.
    virtual bool CreateSurface(SurfaceId id, const SurfaceOptions& options) = 0;
    virtual void DestroySurface(SurfaceId id) = 0;
    virtual void ShowSurface(SurfaceId id, bool visible) = 0;
    virtual void MoveSurface(SurfaceId id, const gdi::RECT& bounds) = 0;
    virtual void SetSurfaceTitle(SurfaceId id, const std::string& title) = 0;
    virtual void SetSurfaceIcons(SurfaceId id, const std::vector<SurfaceIcon>& icons) = 0;   // empty: none
    virtual void SetSurfaceShadow(SurfaceId id, bool dropShadow) = 0;
    virtual void SetSurfaceState(SurfaceId id, SurfaceState state) = 0;
    virtual void SetSurfaceShape(SurfaceId id, const gdi::Region* shape) = 0;   // nullptr: rectangular
    virtual void RaiseSurface(SurfaceId id, SurfaceId below) = 0;               // below == 0: to the top
    virtual void ActivateSurface(SurfaceId id) = 0;

    // Shows the given rectangles of a window's 32-bit backing store (surface-relative, already clipped).
    virtual void Present(SurfaceId id, const gdi::Bitmap& store, const std::vector<gdi::RECT>& dirty) = 0;
    // Layered windows: the whole picture with per-pixel alpha (premultiplied) and a constant alpha on top.
    virtual void PresentLayered(SurfaceId id, const gdi::Bitmap& argb, std::uint8_t constantAlpha) = 0;
    // What the screen shows in a rectangle, as a new 32-bit bitmap (hints blend over it without a compositor).
    virtual gdi::Bitmap* CaptureScreen(const gdi::RECT& rect) = 0;
    // Drawing into the screen itself, over every window: XORs the mask's colour bits into what the screen shows
    // at rect (the mask is rect's size); the same mask again puts the pixels back. By default nothing shows.
    virtual void XorScreen(const gdi::Bitmap& mask, const gdi::RECT& rect) {
        (void)mask;
        (void)rect;
    }
    virtual bool HasCompositor() const = 0;

    virtual void SetCursor(SurfaceId id, CursorShape shape) = 0;
    virtual gdi::POINT CursorPos() const = 0;
    virtual void GrabPointer(SurfaceId id, bool grab) = 0;   // mouse capture beyond our own surfaces
    // Keeps the pointer inside a screen rectangle (right and bottom excluded) until called with nullptr.
    virtual void ConfinePointer(const gdi::RECT* rect) = 0;

    virtual std::string ClipboardText() = 0;
    virtual void SetClipboardText(const std::string& text) = 0;

    virtual void Bell() { }   // the system beep

    // The descriptor the message loop polls for display events (-1 for none), and one round of handling them.
    virtual int EventFd() const = 0;
    virtual void Pump() = 0;
    virtual void Flush() = 0;
};

// Picks x11 when $DISPLAY is set and $KORVEX_DISPLAY is not "headless"; nullptr when x11 cannot be opened.
std::unique_ptr<Display> CreateDefaultDisplay();

// A display whose connection is lost (the X server went away) cannot go on, and its windows, tray and
// surfaces cannot be torn down either. The hook runs once, on the thread that noticed: it may save what the
// program keeps at exit, but must not touch windows or the display. The process then ends at once with exit
// status 0, without running destructors (they would use the lost connection).
using DisplayLostHook = void (*)();
void SetDisplayLostHook(DisplayLostHook hook);   // nullptr: none
[[noreturn]] void EndAfterDisplayLost();

}

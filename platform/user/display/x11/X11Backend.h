// The x11 display's shared state: connection, surfaces and the handlers its source files implement.
// Xlib types stay opaque here (X11 headers are included by the .cpp files only).
#pragma once

#include "platform/user/display/Display.h"
#include "platform/user/display/x11/X11Display.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct _XDisplay;   // Xlib's Display
struct _XGC;   // Xlib's GC
struct _XIM;
struct _XIC;
union _XEvent;

namespace korvex::user::x11 {

using XId = unsigned long;   // Window, Pixmap, Atom, Cursor, Colormap and Time are all longs in Xlib

enum class AtomId {
    WmProtocols,
    WmDeleteWindow,
    WmState,
    WmName,
    NetWmName,
    NetWmIconName,
    Utf8String,
    NetWmState,
    NetWmStateHidden,
    NetWmStateMaximizedVert,
    NetWmStateMaximizedHorz,
    NetWmStateSkipTaskbar,
    NetWmStateAbove,
    NetActiveWindow,
    NetSupported,
    NetSupportingWmCheck,
    NetWorkarea,
    NetCurrentDesktop,
    NetWmWindowType,
    NetWmWindowTypeNormal,
    NetWmWindowTypePopupMenu,
    NetWmWindowTypeTooltip,
    NetWmPid,
    NetWmIcon,
    CompositorShadow,
    MotifWmHints,
    Clipboard,
    Targets,
    Text,
    TextPlainUtf8,
    Incr,
    Timestamp,
    Transfer,   // our own property receiving converted selections
    XdndAware,
    XdndEnter,
    XdndPosition,
    XdndStatus,
    XdndLeave,
    XdndDrop,
    XdndFinished,
    XdndSelection,
    XdndTypeList,
    XdndActionCopy,
    TextUriList,
    Count
};

struct ShmImage;   // a shared-memory upload buffer (X11Present.cpp)
class X11Tray;   // the system tray icons (X11Tray.h)
struct ShmImageDelete {
    void operator()(ShmImage* image) const;
};

struct Surface {
    SurfaceId Id = 0;
    SurfaceKind Kind = SurfaceKind::Normal;
    XId Window = 0;
    XId Picture = 0;   // server-side copy of what the window shows, set as its background
    XId Colormap = 0;   // own colormap of an ARGB window
    int Depth = 0;
    bool Argb = false;
    gdi::RECT Bounds;
    std::vector<gdi::RECT> Requested;   // bounds we asked for whose ConfigureNotify has not come back yet
    SurfaceState State = SurfaceState::Normal;
    bool Visible = false;   // shown by us (the window manager may still keep it iconified)
    bool Viewable = false;   // mapped on the screen
    bool Reparented = false;   // inside a window manager's frame: ConfigureNotify is frame-relative
    bool FocusWhenMapped = false;   // activation asked for before the window was viewable
    bool SkipTaskbar = false;
    bool TopMost = false;
    bool DropShadow = false;
    std::unique_ptr<ShmImage, ShmImageDelete> Shm;
    _XIC* InputContext = nullptr;
};

// A drag of another program over one of our windows (the XDND protocol, receiving side).
struct DropState {
    XId Source = 0;   // the dragging program's window; 0 while no drag is over us
    XId Target = 0;   // our window it is over
    SurfaceId Surface = 0;
    int Version = 0;
    bool UriList = false;   // the drag offers text/uri-list
    bool Accepting = false;   // the last position was over a window that takes files
    gdi::POINT Point {};
};

// Errors the server has reported on any connection so far (they are counted, not fatal).
int ErrorsSeen();

class X11Display final : public Display {
public:
    static std::unique_ptr<X11Display> Open(const X11DisplayOptions& options);
    ~X11Display() override;

    const char* Name() const override { return "x11"; }
    void SetSink(DisplaySink* sink) override { FSink = sink; }

    gdi::SIZE ScreenSize() const override;
    gdi::RECT WorkArea() const override;

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
    bool HasCompositor() const override;

    void SetCursor(SurfaceId id, CursorShape shape) override;
    gdi::POINT CursorPos() const override;
    void GrabPointer(SurfaceId id, bool grab) override;
    void ConfinePointer(const gdi::RECT* rect) override;

    std::string ClipboardText() override;
    void SetClipboardText(const std::string& text) override;
    void Bell() override;

    int EventFd() const override { return FPollFd; }
    void Pump() override;
    void Flush() override;

    // For tests and diagnostics.
    bool UsesSharedMemory() const { return FShm; }
    XId NativeWindow(SurfaceId id) const;
    _XDisplay* Connection() const { return FDisplay; }

    // The system tray icons of this connection (X11Tray.cpp), made on first use; they go before it closes.
    X11Tray* Tray();

private:
    friend class X11Tray;
    explicit X11Display(_XDisplay* display);
    bool Initialise(const X11DisplayOptions& options);

    // X11Display.cpp: connection, event dispatch, the wake-up of the poll descriptor
    void Dispatch(_XEvent& event);
    void NoteQueuedEvents() const;   // makes EventFd readable while Xlib holds events it already read
    XId AtomOf(AtomId id) const { return FAtoms[size_t(id)]; }
    Surface* Find(SurfaceId id) const;
    Surface* FindWindow(XId window) const;
    std::uint64_t EventTime(unsigned long serverTime);
    bool WindowManagerSupports(AtomId hint) const;

    // X11Surfaces.cpp: placement and state reports from the window manager
    void SetWindowTypeAndHints(Surface& surface, const SurfaceOptions& options);
    void WriteNetWmIcon(XId window, const std::vector<SurfaceIcon>& icons);
    void WriteShadow(Surface& surface, bool dropShadow);
    void SendNetWmState(Surface& surface, bool add, AtomId first, AtomId second = AtomId::Count);
    static bool InTaskbar(const Surface& surface, SurfaceState state);
    void SyncTaskbarEntry(Surface& surface, SurfaceState old);
    void WriteNetWmState(Surface& surface);
    void OnConfigure(const _XEvent& event);
    void OnMapChange(const _XEvent& event, bool mapped);
    void OnPropertyChange(const _XEvent& event);
    void OnClientMessage(const _XEvent& event);
    void ReportState(Surface& surface, SurfaceState state);
    SurfaceState ReadState(const Surface& surface) const;
    XId FontCursor(CursorShape shape);

    // X11Present.cpp: the window picture
    void EnsurePicture(Surface& surface, int width, int height);
    _XGC* GcFor(int depth, XId drawable);
    void Upload(Surface& surface, const gdi::Bitmap& pixels, const std::vector<gdi::RECT>& rects);
    ShmImage* SharedImage(Surface& surface, int width, int height);

    // X11Input.cpp: pointer, keyboard and focus
    void OnButton(const _XEvent& event, bool press);
    void OnMotion(_XEvent& event);
    void OnCrossing(const _XEvent& event, bool enter);
    void OnKey(_XEvent& event, bool press);
    void OnFocus(const _XEvent& event, bool in);
    void FinishPointerRound();
    void ApplyPointerGrab();
    void Emit(const InputEvent& event);

    // X11Dnd.cpp: files dragged from other programs
    bool OnDndMessage(const _XEvent& event);
    void SendDndReply(XId source, AtomId type, long l1, long l2, long l3, long l4);

    // X11Clipboard.cpp: selections
    void OnSelectionRequest(const _XEvent& event);
    void OnSelectionClear(const _XEvent& event);
    bool WaitForEvent(int type, XId window, _XEvent& out, int timeoutMs,
        std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max());
    bool ReadTransfer(std::string& out, XId& type);
    bool ConvertClipboard(XId target, std::string& out);
    bool ConvertSelection(XId selection, XId target, unsigned long time, std::string& out);
    unsigned long ServerTime();

    _XDisplay* FDisplay = nullptr;
    int FScreen = 0;
    XId FRoot = 0;
    void* FVisual = nullptr;   // the default visual (Visual*)
    int FDepth = 0;
    void* FArgbVisual = nullptr;   // a 32-bit TrueColor visual with alpha, when the server has one
    XId FHelper = 0;   // unmapped window owning our selections
    XId FCompositorSelection = 0;   // _NET_WM_CM_Sn
    std::array<XId, size_t(AtomId::Count)> FAtoms {};
    bool FShape = false;
    bool FShm = false;
    _XIM* FInputMethod = nullptr;
    std::map<int, _XGC*> FGcs;   // by depth
    std::map<CursorShape, XId> FCursors;
    DisplaySink* FSink = nullptr;
    int FPollFd = -1;   // epoll over the connection and FWakeFd
    int FWakeFd = -1;   // eventfd raised while Xlib has queued events
    unsigned long FFlushedRequest = 0;   // the next request's number at the last flush

    std::map<SurfaceId, std::unique_ptr<Surface>> FSurfaces;
    std::unordered_map<XId, SurfaceId> FByWindow;

    XId FGrabWindow = 0;   // the pointer grab's window, when one holds
    XId FCaptureWindow = 0;   // the surface window asking for mouse capture
    XId FConfineWindow = 0;   // an input-only window of the confinement, lowest of all, while one holds
    SurfaceId FPointerSurface = 0;
    bool FLeavePending = false;
    InputEvent FLeaveEvent;
    unsigned long FLastServerTime = 0;   // latest X timestamp seen (32 bits, wraps)
    std::uint64_t FTimeEpoch = 0;   // added to server times after a wrap

    std::string FClipboardText;
    bool FOwnsClipboard = false;
    int FTransferDeadlineMs = 0;   // X11DisplayOptions::TransferDeadlineMs

    std::unique_ptr<X11Tray> FTray;
    DropState FDrop;
};

}

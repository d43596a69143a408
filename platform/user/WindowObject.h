// Inside the window layer: the window object, window classes, the handle table and the tree and geometry helpers.
#pragma once

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Region.h"
#include "platform/user/Forward.h"
#include "platform/user/UserTypes.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/display/Display.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace korvex::user::detail {

struct WindowClass {
    std::string Name;
    UINT Style = 0;
    WNDPROC Proc = nullptr;
    int ClsExtra = 0;
    int WndExtra = 0;
    HICON Icon = nullptr;
    HICON IconSm = nullptr;
    HCURSOR Cursor = nullptr;
    HBRUSH Background = nullptr;
    std::string MenuName;
    int Windows = 0;   // live windows of the class
    ATOM Atom = 0;
};

// What a top-level window has beside the tree: its backing store and its display surface.
struct TopLevelState {
    std::unique_ptr<gdi::Bitmap, void (*)(gdi::Bitmap*)> Store {nullptr, nullptr};
    gdi::BandedRegion Dirty;   // store coordinates, not presented yet
    SurfaceId Surface = 0;
    bool SurfaceShown = false;
    // Layered windows: the picture UpdateLayeredWindow gave (premultiplied 32-bit), or constant alpha.
    std::unique_ptr<gdi::Bitmap, void (*)(gdi::Bitmap*)> Layered {nullptr, nullptr};
    BYTE LayeredAlpha = 255;
    DWORD LayeredFlags = 0;   // LWA_* from SetLayeredWindowAttributes
    COLORREF LayeredKey = 0;
    bool ShapePending = false;   // a region set without redraw reaches the display with the next present
};

// A window's visible region as computed while nothing that clips windows changed (VisibleRegion.cpp).
struct VisibleRegionMemo {
    std::uint64_t Epoch = 0;   // ClippingEpoch() when it was made
    int Area = 0;   // DcArea
    DWORD Flags = 0;   // the DCX_ flags that clip
    int Asked = 0;   // asks for a part of it in this epoch
    bool Whole = false;   // Region holds the whole visible region
    gdi::BandedRegion Region;   // store coordinates
};

struct WindowObject {
    HWND Handle = nullptr;
    std::shared_ptr<WindowClass> Class;
    std::shared_ptr<ThreadQueue> Queue;
    std::thread::id Thread;
    WNDPROC Proc = nullptr;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    WindowObject* Parent = nullptr;   // the desktop (or the message root) for top-level windows
    WindowObject* Owner = nullptr;
    std::vector<WindowObject*> Children;   // topmost first
    RECT Rect {};   // window rectangle, parent client coordinates
    RECT Client {};   // client rectangle, parent client coordinates
    RECT NormalRect {};   // restored rectangle while minimized or maximized
    bool RestoreMaximized = false;   // minimized from the maximized state
    bool HiddenByOwner = false;   // hidden because the owner was minimized
    LONG_PTR Id = 0;
    LONG_PTR UserData = 0;
    HMENU Menu = nullptr;
    HICON SmallIcon = nullptr;   // WM_SETICON's, ahead of the class's
    HICON BigIcon = nullptr;
    std::vector<BYTE> Extra;
    std::string Text;
    std::vector<std::pair<std::string, HANDLE>> Props;
    bool IsDesktop = false;

    // Life: Destroyed once DestroyWindow began; the object is freed when Destroyed and no call holds it.
    bool Destroying = false;
    bool Destroyed = false;
    int Holds = 0;

    // Painting (client coordinates unless said otherwise).
    gdi::BandedRegion Update;
    bool NeedErase = false;
    bool InternalPaint = false;
    bool NcDirty = false;
    bool Painted = false;   // BeginPaint or a validation ran while WM_PAINT was handled
    bool PaintListed = false;   // among the windows with pending paints (NotePaintState keeps it)
    unsigned PaintMark = 0;   // FindPaintWindow's marks of one search
    std::optional<gdi::BandedRegion> WindowRgn;   // window coordinates
    std::unique_ptr<TopLevelState> Top;   // top-level windows only
    std::vector<VisibleRegionMemo> VisibleMemos;   // by DC area and clipping flags

    bool Visible() const { return (Style & WS_VISIBLE) != 0; }
    bool Enabled() const { return (Style & WS_DISABLED) == 0; }
    bool IsChildStyle() const { return (Style & WS_CHILD) != 0; }
};

// ---------------------------------------------------------------------------------------------------------
// Calls that send messages. A declaration tagged [sends] can send messages, so a window procedure runs inside
// the call and may destroy any window, this one included (the public calls that take an HWND mostly do).
// Across such a call, hold the window with KeepAlive and check Alive() afterwards; keep every other window by
// its handle and look it up again with FromHandle. An untagged call here sends nothing.

// ---------------------------------------------------------------------------------------------------------
// Handle table (Window.cpp). Lookups are thread-safe.
WindowObject* FromHandle(HWND hwnd);   // nullptr for dead or foreign handles
std::shared_ptr<ThreadQueue> QueueOfHandle(HWND hwnd);   // any thread
WindowObject* Desktop();
WindowObject* MessageRoot();
bool IsTopLevel(const WindowObject* w);   // a child of the desktop or the message root
WindowObject* TopLevelOf(WindowObject* w);
bool IsDescendant(const WindowObject* ancestor, const WindowObject* w);
bool VisibleChain(const WindowObject* w);   // the window and every ancestor up to the desktop are visible
bool EnabledChain(const WindowObject* w);
void Hold(WindowObject* w);
void Release(WindowObject* w);   // may free a destroyed window

// Keeps a window object alive across calls that may destroy it; check Alive() afterwards.
class KeepAlive {
public:
    explicit KeepAlive(WindowObject* w)
        : FWnd(w) {
        if (FWnd) Hold(FWnd);
    }
    ~KeepAlive() {
        if (FWnd) Release(FWnd);
    }
    KeepAlive(const KeepAlive&) = delete;
    KeepAlive& operator=(const KeepAlive&) = delete;
    bool Alive() const { return FWnd && !FWnd->Destroyed; }

private:
    WindowObject* FWnd;
};

// Classes (WindowClass.cpp).
std::shared_ptr<WindowClass> FindClass(const std::string& name);

// Tree order changes (Window.cpp).
void Unlink(WindowObject* w);
void LinkAt(WindowObject* parent, WindowObject* w, std::size_t index);
std::size_t IndexInParent(const WindowObject* w);
void PlaceInZOrder(WindowObject* w, HWND insertAfter);   // HWND_TOP, HWND_BOTTOM, HWND_TOPMOST, a sibling

// Calls a procedure with the window held, the call hook run and exceptions contained (Messages.cpp).
LRESULT CallProc(WindowObject* w, WNDPROC proc, UINT msg, WPARAM wParam, LPARAM lParam);   // [sends]
LRESULT Send(WindowObject* w, UINT msg, WPARAM wParam, LPARAM lParam);   // [sends] same thread only
void HandleProcException(std::exception_ptr error);

// ---------------------------------------------------------------------------------------------------------
// Geometry (WinPos.cpp). Screen coordinates unless named otherwise.
POINT WindowOrigin(const WindowObject* w);   // the window's top-left on the screen
POINT ClientOrigin(const WindowObject* w);   // the client area's top-left on the screen
RECT ScreenWindowRect(const WindowObject* w);
RECT ScreenClientRect(const WindowObject* w);
POINT StoreOffset(const WindowObject* w);   // the window's top-left in its top-level's backing store
bool ContainsScreenPoint(const WindowObject* w, POINT p);   // window rectangle and window region
// [sends] The deepest window under a screen point and its hit code, WM_NCHITTEST answered (HTTRANSPARENT
// honoured); skipDisabled routes past disabled children to their parent.
WindowObject* HitWindow(POINT p, LRESULT* hit, bool skipDisabled);
// [sends] Internal move without WM_WINDOWPOSCHANGING (display-driven placement).
bool SetWindowPosInternal(
    WindowObject* w, HWND insertAfter, int x, int y, int cx, int cy, UINT flags, bool tellDisplay);

// Painting hooks (Painting.cpp, BackingStore.cpp, VisibleRegion.cpp).
enum class DcArea { Client, Window };
// Store coordinates; within (store coordinates) limits the work to what a caller will keep of it. Visible
// regions are kept until ClippingChanged.
gdi::BandedRegion VisibleRegion(WindowObject* w, DcArea area, DWORD dcxFlags, const RECT* within = nullptr);
// Called on every change of what clips windows: the tree and the order of siblings, a window's rectangles,
// visibility, clipping styles and window region, a top-level's state, the locked window. Every kept visible
// region is made anew after it.
void ClippingChanged();
std::uint64_t ClippingEpoch();
void InvalidateAll(WindowObject* w, bool erase, bool frame, bool children);
void InvalidateParentArea(WindowObject* parent, const RECT& rectInParentClient);
bool NeedsPaint(const WindowObject* w);
// Every change of Update, InternalPaint or NcDirty is followed by NotePaintState, which keeps the window in the
// list of windows with pending paints that FindPaintWindow searches instead of the whole tree.
void NotePaintState(WindowObject* w);
void ForgetPaintState(WindowObject* w);   // a window being freed
// The first window of the thread in the tree's order (parents before children, topmost sibling first) that
// needs painting: within filter's subtree when filter is given.
WindowObject* FindPaintWindow(const std::thread::id& thread, HWND filter);
LRESULT SendPaint(WindowObject* w);   // [sends] WM_PAINT now; validated afterwards when the procedure did not
void PaintNow(WindowObject* w);   // [sends] SendPaint when the window needs painting
bool HasNonClient(const WindowObject* w);
void RedrawInternal(WindowObject* w, const gdi::BandedRegion* clientRegion, UINT flags);   // [sends] RDW_*NOW
bool IsUpdateLocked(const WindowObject* w);
void DropPaintState(WindowObject* w);
void RefreshOpenDcs();
void MarkOpenDcsDirty();
void ShowScreenDcs();   // what was drawn into screen DCs goes to the screen
HDC MakeWindowDc(WindowObject* w, DcArea area, DWORD dcxFlags, const gdi::BandedRegion* intersect,
    const gdi::BandedRegion* exclude);   // regions in store coordinates
void ReleaseDcsOf(WindowObject* w);
void MarkPaintDc(HDC dc);   // made by BeginPaint: EndPaint releases it
bool IsPaintDcOf(HDC dc, HWND hwnd);   // an open DC BeginPaint made for hwnd
void MarkDirty(WindowObject* top, const gdi::BandedRegion& storeRegion);
void EnsureStore(WindowObject* top);
void PresentAll();
void EnsureSurface(WindowObject* top);
void DestroySurface(WindowObject* top);
void SyncSurface(WindowObject* top, bool moved, bool shown);
void SyncSurfaceShape(WindowObject* top);
void SyncSurfaceIcons(WindowObject* top);   // the window manager's pictures follow WM_SETICON

// Focus and input hooks (Focus.cpp, Input.cpp).
void ForgetWindow(WindowObject* w);   // [sends] focus, activation, capture, tracking of a window being destroyed
void AfterHide(WindowObject* w);   // [sends] focus, activation and capture leave a window that was hidden
void FocusToParentOfHidden(WindowObject* w);   // [sends] ShowWindow's hiding: a hidden child's focus goes up
WindowObject* ActiveWindowObject();
// [sends] Activation with the WA_* state; fromDisplay: the display already knows (no ActivateSurface).
HWND ActivateWindow(WindowObject* w, WORD state, bool fromDisplay);
// [sends] A press on a window disabled while another of its owner's windows is modal brings that one back:
// restored when it was minimized, raised and activated. Nothing when no such window is there.
void BringBackEnabledPopup(WindowObject* disabled);

// Timers (Timers.cpp).
void KillTimersOf(HWND hwnd);

}

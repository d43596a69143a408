// Where the parts of a window's non-client area lie, and the frame state kept per window.
#pragma once

#include "platform/user/ScrollBars.h"
#include "platform/user/UserTypes.h"

#include <functional>
#include <memory>

namespace korvex::user::nc {

enum class FrameKind { None, Thin, Dialog, Sizing };

// What the styles ask of the frame.
struct FrameStyle {
    FrameKind Frame = FrameKind::None;
    bool StaticEdge = false;
    bool ClientEdge = false;
    bool Caption = false;
    bool ToolWindow = false;   // small caption, close button only
    bool SysMenu = false;   // the caption buttons and the icon
    bool Icon = false;
    bool MinBox = false;   // shown (both boxes show when either style is set)
    bool MaxBox = false;
    bool MinEnabled = false;
    bool MaxEnabled = false;
    bool Help = false;
    bool VScroll = false;
    bool HScroll = false;
    bool LeftScroll = false;
    bool Child = false;
};

FrameStyle StyleOf(DWORD style, DWORD exStyle);

// Every rectangle is in window coordinates (the window's top-left is 0, 0); absent parts are empty.
struct Layout {
    FrameStyle Style;
    RECT Window {};
    SIZE FrameSize {};   // the outer frame, static edge included
    RECT Caption {};   // the caption bar; one separator row below it belongs to the caption band
    RECT CaptionBand {};   // caption and separator: what hit-tests as caption
    RECT Icon {};   // the system-menu icon's hit area
    RECT MinButton {};
    RECT MaxButton {};
    RECT CloseButton {};
    RECT HelpButton {};
    RECT MenuBar {};
    RECT EdgeBox {};   // the client edge runs just inside it
    RECT VScroll {};
    RECT HScroll {};
    RECT SizeBox {};   // where both scroll bars meet
    RECT Client {};
};

// The layout of a width x height window with these styles and a menu bar menuHeight high.
Layout ComputeLayout(DWORD style, DWORD exStyle, int width, int height, int menuHeight);
// A live window's layout (its styles, its size, the menu bar hook).
Layout LayoutOf(HWND hwnd);
int MenuBarHeight(HWND hwnd, DWORD style, int windowWidth);

// The menu bar hooks (defaults without the menu layer: an empty bar for a top-level window with a menu).
int MenuBarHeightHook(HWND hwnd, int windowWidth);
void PaintMenuBarHook(HWND hwnd, HDC windowDc, const RECT& bar);
void TrackMenuBarHook(HWND hwnd, LRESULT hitCode, POINT screenPoint);

// The window menu: its items' state set from the window, shown at a screen point, the choice sent as
// WM_SYSCOMMAND. SystemMenuPoint is below the icon; DropSystemMenu frees a window's menu.
void UpdateSystemMenu(HWND hwnd, HMENU menu);
void TrackSystemMenu(HWND hwnd, POINT screenPoint);
POINT SystemMenuPoint(HWND hwnd);
void DropSystemMenu(HWND hwnd);

// The rectangle of a scroll bar band in window coordinates (empty when hidden).
RECT ScrollBandOf(const Layout& layout, int bar);

// Frame state that lives with the window (dropped at WM_NCDESTROY, or found dead later).
struct WindowState {
    bool Active = false;
    ScrollBarData Horz;
    ScrollBarData Vert;
    bool HasHorz = false;   // SetScrollInfo reached this bar (else its defaults apply)
    bool HasVert = false;
    LRESULT PressedButton = 0;   // caption button drawn pushed (HT code)
    ScrollTrackState HorzTrack;
    ScrollTrackState VertTrack;
};

// The state of a live window (made on first use); nullptr for a dead window.
std::shared_ptr<WindowState> StateOf(HWND hwnd);
// The state when it exists; nullptr otherwise (read paths that should not create one).
std::shared_ptr<WindowState> FindState(HWND hwnd);
void DropState(HWND hwnd);

// The window rectangle's top-left in screen coordinates.
POINT WindowOrigin(HWND hwnd);

// Runs while one of the modal loops is active on this thread.
class LoopScope {
public:
    LoopScope();
    ~LoopScope();
    LoopScope(const LoopScope&) = delete;
    LoopScope& operator=(const LoopScope&) = delete;
};

// The next message for a modal loop of hwnd; false when the loop must stop: the window is gone, it lost
// the capture, or WM_QUIT came (it is posted again for the outer loop).
bool NextLoopMessage(HWND hwnd, MSG& msg);
bool IsMouseMessage(UINT msg);
bool IsKeyMessage(UINT msg);

void PaintScrollBand(HWND hwnd, HDC windowDc, const Layout& layout, int bar);
void RepaintScrollBand(HWND hwnd, int bar);
void PaintCaptionButtons(HWND hwnd, HDC windowDc, const Layout& layout);
// One caption button's box and glyph (HTMINBUTTON, HTMAXBUTTON, HTCLOSE, HTHELP; restore marks the
// maximize button of a maximized window); the window's small icon in the caption.
void PaintCaptionButton(HDC dc, const RECT& rect, LRESULT hitCode, bool pushed, bool restore);
void PaintCaptionIcon(HWND hwnd, HDC dc, const RECT& area);
// Holds a button pushed while the pointer is over screenRect (show tells when to draw it pushed or not);
// true when the mouse was released over it, with the release point.
bool TrackPress(HWND hwnd, const RECT& screenRect, const std::function<void(bool pushed)>& show, POINT* release);
bool IsCaptionButtonEnabled(HWND hwnd, const FrameStyle& style, LRESULT hitCode);
void RepaintCaptionButtons(HWND hwnd);

LRESULT HitTest(HWND hwnd, POINT screenPoint);
LRESULT HandleSysCommand(HWND hwnd, WPARAM command, LPARAM lParam);
LRESULT HandleNcMouse(HWND hwnd, UINT msg, WPARAM hitCode, LPARAM lParam);
void RunMoveSizeLoop(HWND hwnd, WPARAM command, LPARAM lParam);
void TrackWindowScrollBar(HWND hwnd, int bar, POINT screenPoint);

}

// MDI: the client window that holds a frame's child windows, their activation, maximizing with the child's
// caption merged into the frame's menu bar, and the default procedures of frames and children.
#pragma once

#include "platform/user/MessageIds.h"
#include "platform/user/UserTypes.h"

namespace korvex::user {

// ---------------------------------------------------------------------------------------------------------
// The client window. Create it as a child of the frame with the class "MDICLIENT" and a CLIENTCREATESTRUCT
// as the creation parameter; then WM_MDICREATE makes children (WS_EX_MDICHILD, shown, activated) and the
// other WM_MDI… messages act on them. One child is active at a time; while the active child is maximized,
// every child activated or created is maximized in its place, the frame's caption reads "Frame - [Child]"
// and the frame's menu bar carries the child's icon at its left and its minimize, restore and close buttons
// at its right. No window list, cascading or tiling.
//
// A client made with WS_HSCROLL / WS_VSCROLL scrolls its children: a direction's range runs over the client's
// area joined with every shown child (client coordinates, the view at position 0, a page the client's size),
// set again when the client is sized, a child moves, is sized or goes, and when a scroll ends (SB_ENDSCROLL);
// while a child is maximized nothing scrolls. WM_HSCROLL / WM_VSCROLL move the children the other way
// (SB_THUMBPOSITION and SB_THUMBTRACK take a signed 16-bit position) and keep the range until then.
inline constexpr const char* MdiClientClassName = "MDICLIENT";

struct CLIENTCREATESTRUCT {
    HMENU hWindowMenu = nullptr;   // kept; no window list is put in it
    UINT idFirstChild = 0;   // the first child's id
};

// WM_MDICREATE's lParam; the child's CREATESTRUCT carries it as lpCreateParams.
struct MDICREATESTRUCT {
    const char* szClass = nullptr;
    const char* szTitle = nullptr;
    HINSTANCE hOwner = nullptr;
    int x = 0;   // CW_USEDEFAULT: staggered below the last child
    int y = 0;
    int cx = 0;   // CW_USEDEFAULT: half the client's size
    int cy = 0;
    DWORD style = 0;   // the caption, frame and boxes are always added
    LPARAM lParam = 0;
};

bool RegisterMdiClientClass();   // also done by RegisterStandardClasses

// The frame's default procedure in place of DefWindowProc (client may be nullptr): it keeps the frame's own
// title while a maximized child's name is merged in. It does not size the client window: the frame places it.
LRESULT DefFrameProc(HWND frame, HWND client, UINT msg, WPARAM wParam, LPARAM lParam);
// A child's default procedure in place of DefWindowProc: activation by mouse and focus, WM_CLOSE as
// WM_MDIDESTROY, Ctrl+F6 and the window commands, the merged caption kept up to date.
LRESULT DefMDIChildProc(HWND child, UINT msg, WPARAM wParam, LPARAM lParam);
// For the message loop: Ctrl+F6 / Ctrl+Shift+F6 (next, previous child) and Ctrl+F4 (close the active
// child) as WM_SYSCOMMAND to the active child. True when the message was taken.
bool TranslateMDISysAccel(HWND client, const MSG* msg);

namespace mdi {

inline constexpr int ScrollLine = 8;   // pixels a scrolling client moves its children for SB_LINEUP / SB_LINEDOWN

// The client window of a frame (its first child of the MDI client class), nullptr when it has none.
HWND ClientOfFrame(HWND frame);

// Where the merged caption lies in a frame's menu bar, relative to the bar's top-left, for a bar barWidth
// wide with rows rowHeight high.
struct MergedCaption {
    HWND Child = nullptr;   // the maximized active child; nullptr: nothing merged
    RECT Icon {};
    RECT MinButton {};
    RECT RestoreButton {};
    RECT CloseButton {};
};
MergedCaption MergedCaptionOf(HWND frame, int barWidth, int rowHeight);

// The menu bar's share: the merged parts painted into a bar drawn at band (window coordinates), and a press
// on one of them tracked (true when the point was on one; the command goes to the child on release).
void PaintMergedCaption(HWND frame, HDC windowDc, const RECT& band, int rowHeight);
bool TrackMergedCaption(HWND frame, POINT screenPoint, int rowHeight);

}

}

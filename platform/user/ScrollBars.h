// Scroll bars: the window scroll bars (SB_HORZ, SB_VERT) kept with the window, SB_CTL forwarded to a scroll
// bar control, and what a scroll bar control shares with them (range rules, geometry, drawing).
#pragma once

#include "platform/user/UserTypes.h"
#include "platform/user/WindowConstants.h"

namespace korvex::user {

// Scroll bar control messages; SB_CTL requests reach the control through them.
inline constexpr UINT SBM_SETPOS = 0x00E0;   // wParam: position; lParam: redraw; result: the old position
inline constexpr UINT SBM_GETPOS = 0x00E1;
inline constexpr UINT SBM_SETRANGE = 0x00E2;   // wParam: min; lParam: max
inline constexpr UINT SBM_GETRANGE = 0x00E3;   // wParam: int* min; lParam: int* max
inline constexpr UINT SBM_ENABLE_ARROWS = 0x00E4;   // wParam: ESB_*
inline constexpr UINT SBM_SETRANGEREDRAW = 0x00E6;
inline constexpr UINT SBM_SETSCROLLINFO = 0x00E9;   // wParam: redraw; lParam: const SCROLLINFO*; result: position
inline constexpr UINT SBM_GETSCROLLINFO = 0x00EA;   // lParam: SCROLLINFO*; result: success

// ---------------------------------------------------------------------------------------------------------
// The Windows calls. bar is SB_HORZ or SB_VERT (the window's own bars) or SB_CTL (hwnd is a scroll bar
// control). A window bar without SetScrollInfo yet has the range 0..100; GetScrollInfo fails for a bar the
// window neither has (WS_HSCROLL / WS_VSCROLL) nor was given. cbSize must be sizeof(SCROLLINFO) or that
// without nTrackPos.
//
// SetScrollInfo applies the fields fMask names: an inverted range becomes 0..0, nPage is cut to
// max - min + 1, nPos is kept within [min, max - max(nPage - 1, 0)]; returns the position. When the range or
// page changed, a window bar that is no longer needed is hidden (with SIF_DISABLENOSCROLL: shown disabled)
// and one that is needed is shown and enabled; the frame is recomputed when a bar appears or goes.
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, bool redraw);
bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);   // SIF_TRACKPOS: the thumb while dragged
int SetScrollPos(HWND hwnd, int bar, int pos, bool redraw);   // the previous position; 0 on failure
int GetScrollPos(HWND hwnd, int bar);
bool SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, bool redraw);
bool GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
// Adds or removes WS_HSCROLL / WS_VSCROLL (SB_BOTH: both) and recomputes the frame.
bool ShowScrollBar(HWND hwnd, int bar, bool show);
// ESB_* arrows of SB_HORZ, SB_VERT, SB_BOTH or SB_CTL; false when nothing changed.
bool EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);

// ---------------------------------------------------------------------------------------------------------
// Shared with scroll bar controls.
struct ScrollBarData {
    int Min = 0;
    int Max = 100;
    UINT Page = 0;
    int Pos = 0;
    int TrackPos = 0;   // the dragged thumb's position
    UINT Disabled = ESB_ENABLE_BOTH;   // ESB_DISABLE_* arrows
};

bool IsValidScrollInfoSize(UINT cbSize);
// The SetScrollInfo rules above on one bar's data; returns whether the range or the page changed.
bool ApplyScrollInfo(ScrollBarData& data, const SCROLLINFO& info);
void ReadScrollInfo(const ScrollBarData& data, SCROLLINFO* info);   // the fields info->fMask names
int MaxScrollPos(const ScrollBarData& data);   // max - max(page - 1, 0), not below min
bool ScrollBarNeeded(const ScrollBarData& data);   // the range is larger than one page

enum class ScrollPart { None, Arrow1, Page1, Thumb, Page2, Arrow2 };   // top/left first
// The request (SB_*) a press on a part repeats: the arrows a line, the pages a page (SB_PAGEDOWN for the rest).
WORD ScrollCodeOf(ScrollPart part);

// What the mouse holds on a bar while it is tracked.
struct ScrollTrackState {
    ScrollPart Pressed = ScrollPart::None;
    bool Inside = false;   // the pointer is over the pressed part (it is drawn pushed)
    bool ThumbTracking = false;   // the thumb is drawn at TrackPos
};

// Pixel geometry of a bar in a band rectangle: two arrows (half the length each when the band is short),
// the thumb (its length page/range of the track, at least MinThumbLength; a fixed SM_CYVTHUMB / SM_CXHTHUMB
// without a page; none when the track is too short, the range empty or both arrows disabled).
inline constexpr int MinThumbLength = 8;
struct ScrollGeometry {
    bool Vertical = true;
    RECT Band {};
    int ArrowSize = 0;
    bool HasThumb = false;
    int ThumbStart = 0;   // along the bar, from the band's start
    int ThumbLength = 0;
    RECT Arrow1 {};
    RECT Arrow2 {};
    RECT Page1 {};   // between arrow 1 and the thumb (the whole track without a thumb)
    RECT Page2 {};
    RECT Thumb {};
};
ScrollGeometry ComputeScrollGeometry(const RECT& band, bool vertical, const ScrollBarData& data, int position);
ScrollPart ScrollPartAt(const ScrollGeometry& geometry, POINT point);
// The position whose thumb starts at thumbStart pixels from the band's start.
int ScrollPosFromThumb(const ScrollGeometry& geometry, const ScrollBarData& data, int thumbStart);
// Plain look: DFC_SCROLL arrows, the track in COLOR_SCROLLBAR (pressed page: COLOR_3DDKSHADOW), a raised thumb.
void DrawScrollBar(HDC dc, const ScrollGeometry& geometry, const ScrollBarData& data, const ScrollTrackState& track);

}

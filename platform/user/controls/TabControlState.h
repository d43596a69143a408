// The tab control's state and geometry, shared by its message handling, its layout and its painting.
#pragma once

#include "platform/user/controls/TabControl.h"

#include <string>
#include <vector>

namespace korvex::user::tabs {

struct Item {
    std::string Text;
    int Image = -1;
    LPARAM Param = 0;
    DWORD State = 0;
    RECT Rect {};   // client coordinates, scrolled
    int Row = 0;   // in item order
};

enum class Side { Top, Bottom, Left, Right };

struct TabState {
    std::vector<Item> Items;
    int Cur = -1;
    int Hot = -1;
    HIMAGELIST Images = nullptr;
    HFONT Font = nullptr;
    SIZE ItemSize {};   // TCM_SETITEMSIZE
    SIZE Padding {6, 3};
    int MinTabWidth = -1;
    int FirstVisible = 0;   // single-line scrolling
    int MaxFirst = 0;
    int Rows = 1;
    int TabThickness = 18;   // across the strip, one row
    HWND Scroller = nullptr;
    bool Scrolling = false;   // the tabs overflow: the strip's end is kept for a scroller
    bool ScrollerReplaced = false;   // someone else destroyed our scroller: it is not made again
    bool TrackingLeave = false;
    bool InLayout = false;
};

TabState* State(HWND hwnd);
Side SideOf(HWND hwnd);
bool IsButtons(HWND hwnd);

// Lays out the tabs (rows, scrolling, the scroller child) from the control's size.
void Relayout(HWND hwnd, TabState* s);
// The strip holding the tabs, the page frame and the page area (TCM_ADJUSTRECT) in client coordinates.
RECT StripRect(HWND hwnd, const TabState* s);
RECT FrameRect(HWND hwnd, const TabState* s);
RECT DisplayRect(HWND hwnd, const TabState* s, RECT window);
RECT WindowRectFor(HWND hwnd, const TabState* s, RECT display);
// Where tabs may show: the strip less the scroller.
RECT VisibleStrip(HWND hwnd, const TabState* s);
int HitTest(HWND hwnd, const TabState* s, POINT p);
void EnsureVisible(HWND hwnd, TabState* s, int index);

void Paint(HWND hwnd, TabState* s, HDC dc);

}

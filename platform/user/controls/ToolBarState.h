// The tool bar's state and layout, shared by its message handling and its painting.
#pragma once

#include "platform/user/controls/ToolBar.h"

#include <string>
#include <vector>

namespace korvex::user::toolbar {

struct Button {
    int Image = 0;
    int Id = 0;
    BYTE State = TBSTATE_ENABLED;
    BYTE Style = BTNS_BUTTON;
    std::uintptr_t Data = 0;
    std::string Text;
    int StringIndex = -1;   // the TB_ADDSTRING string it came from
    int Cx = 0;   // its own width (TBBUTTONINFO cx), 0: the bar's
    RECT Rect {};   // empty while hidden

    bool IsSeparator() const { return (Style & BTNS_SEP) != 0; }
    bool Enabled() const { return (State & TBSTATE_ENABLED) != 0; }
    bool Hidden() const { return (State & TBSTATE_HIDDEN) != 0; }
};

struct ToolState {
    std::vector<Button> Buttons;
    std::vector<std::string> Strings;
    HIMAGELIST Images = nullptr;
    HIMAGELIST HotImages = nullptr;
    HIMAGELIST DisabledImages = nullptr;
    SIZE ButtonSize {};   // TB_SETBUTTONSIZE; 0 parts are computed
    SIZE BitmapSize {16, 15};
    int Indent = 0;
    DWORD ExStyle = 0;
    HFONT Font = nullptr;
    HWND NotifyWindow = nullptr;   // TB_SETPARENT
    int Hot = -1;
    int Pressed = -1;   // the button held by the mouse
    bool PressedInside = false;
    int DropPressed = -1;   // the button whose drop-down is open
    int Rows = 1;
    bool TrackingLeave = false;
};

ToolState* State(HWND hwnd);

// Computes every button's rectangle and the row count from the bar's width.
void Relayout(HWND hwnd, ToolState* s);
SIZE DefaultButtonSize(HWND hwnd, const ToolState* s);
int TopMargin(HWND hwnd);
int IndexOfId(const ToolState* s, int id);
int HitTest(const ToolState* s, POINT p);   // index, or -1
RECT DropDownPart(HWND hwnd, const ToolState* s, int index);   // empty without an arrow part
LRESULT Notify(HWND hwnd, ToolState* s, NMHDR* header);

// Painting (WM_ERASEBKGND and WM_PAINT with the custom-draw stages).
LRESULT Erase(HWND hwnd, ToolState* s, HDC dc);
void Paint(HWND hwnd, ToolState* s, HDC dc, const RECT& update);

}

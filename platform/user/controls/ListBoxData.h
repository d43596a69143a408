// Inside the list box: its state and the routines its messages, its input handling and its painting share.
#pragma once

#include "platform/user/UserTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvex::user::listbox {

struct Item {
    std::string Text;
    std::uintptr_t Data = 0;
    int Height = 0;   // owner-drawn variable lists
    bool Selected = false;   // multiple-selection lists
};

// Kept alive by every message under way (a notification's receiver may destroy the window).
struct State : std::enable_shared_from_this<State> {
    std::shared_ptr<State> Keep;   // the window's own reference, dropped at WM_NCDESTROY
    HWND Self = nullptr;
    HWND Combo = nullptr;   // the combo box a "ComboLBox" list serves
    std::vector<Item> Items;
    int Top = 0;   // the first item shown
    int Selected = -1;   // single-selection lists
    int Caret = 0;   // the item with the focus frame
    int Anchor = 0;   // where an extended selection started
    int ItemHeight = 13;
    int HorzExtent = 0;
    int HorzPos = 0;
    HFONT Font = nullptr;
    bool Focused = false;
    bool Captured = false;   // the left button is held: the selection follows the pointer
    bool NoRedraw = false;   // WM_SETREDRAW(FALSE)
    bool VScroll = false;   // made with WS_VSCROLL / WS_HSCROLL: the bars are kept up to date
    bool HScroll = false;
    bool Sizing = false;   // adjusting to whole items
    bool UpdatingBars = false;
    int WheelRest = 0;   // wheel delta not yet turned into lines
    POINT Pointer {};   // the pointer while the button is held (client coordinates)
    DWORD LastCharTime = 0;
};

State* StateOf(HWND hwnd);
LRESULT ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Kinds
bool IsOwnerDraw(const State& s);
bool IsVariable(const State& s);
bool HasStrings(const State& s);
bool IsMultiple(const State& s);   // LBS_MULTIPLESEL or LBS_EXTENDEDSEL
bool IsExtended(const State& s);
bool Notifies(const State& s);
int Count(const State& s);
bool Valid(const State& s, int index);
bool IsSelected(const State& s, int index);

// Notifications and owner messages: the parent, or the combo box (whose parent draws and measures).
void Notify(const State& s, WORD code);
HWND DrawTarget(const State& s);
UINT OwnerCtlId(const State& s);
UINT OwnerCtlType(const State& s);
int MeasureItem(State& s, int index);   // the owner's height for one item (WM_MEASUREITEM)

// Geometry and scrolling (ListBoxView.cpp)
int HeightOf(const State& s, int index);
RECT ItemRect(const State& s, int index);   // client coordinates, may lie outside the client area
int ItemAt(const State& s, POINT p, bool* outside);   // the nearest item; -1 without items
int FullyVisible(const State& s);   // whole items shown from the top index (at least 1)
int MaxTop(const State& s);
void SetTop(State& s, int top);
void EnsureVisible(State& s, int index);
void UpdateScrollBars(State& s);
void SetHorzPos(State& s, int pos);
void Invalidate(const State& s);
void InvalidateItem(const State& s, int index);
void Paint(State& s, HDC dc);
void FitWholeItems(State& s);   // without LBS_NOINTEGRALHEIGHT: the height becomes whole items

// Selection (ListBox.cpp)
void SelectOnly(State& s, int index);   // single: the selection; multiple: only this item
void SelectRange(State& s, int from, int to, bool keepOthers);
void SetCaret(State& s, int index);

// Input (ListBoxInput.cpp)
LRESULT OnButtonDown(State& s, UINT msg, WPARAM keys, POINT p);
LRESULT OnMouseMove(State& s, POINT p);
LRESULT OnButtonUp(State& s);
LRESULT OnCaptureChanged(State& s, HWND gaining);
LRESULT OnTimer(State& s, WPARAM id);
LRESULT OnKeyDown(State& s, WPARAM key);
LRESULT OnChar(State& s, WPARAM ch);
LRESULT OnWheel(State& s, WPARAM wParam);
LRESULT OnScroll(State& s, bool vertical, WORD code);
// Moves the caret the way a navigation key does and selects as the style says; true when the selection
// changed. The combo box's keys use it on its list.
bool MoveByKey(State& s, WPARAM key, bool shift, bool ctrl);

}

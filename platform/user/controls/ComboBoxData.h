// Inside the combo box: its state and the routines its messages, its input handling and its list share.
#pragma once

#include "platform/user/UserTypes.h"

#include <memory>

namespace korvex::user::combo {

// Kept alive by every message under way (a notification's receiver may destroy the window).
struct State : std::enable_shared_from_this<State> {
    std::shared_ptr<State> Keep;   // the window's own reference, dropped at WM_NCDESTROY
    HWND Self = nullptr;
    HWND Edit = nullptr;   // CBS_DROPDOWN, CBS_SIMPLE
    HWND List = nullptr;
    WNDPROC EditProc = nullptr;   // the edit's procedure under our hook
    HFONT Font = nullptr;
    int FaceItemHeight = 15;   // the closed face's item (text height + 2, or the owner's)
    int DropRoom = 0;   // the list's room below the face, from the window height given
    int DroppedWidth = 0;
    int Chosen = -1;   // the selection the list goes back to when a drop is cancelled
    bool Dropped = false;
    bool ButtonDown = false;   // drawn pressed
    bool Tracking = false;   // the button that dropped the list is still held
    bool Focused = false;
    bool Sizing = false;
    bool SettingText = false;   // our own edit text change: not the user's
    bool ListScrolling = false;   // the dropped list's scroll bar is being dragged
    bool NoRedraw = false;   // WM_SETREDRAW off: nothing is drawn until it is turned on again
};

State* StateOf(HWND combo);
DWORD Kind(const State& s);   // CBS_SIMPLE, CBS_DROPDOWN or CBS_DROPDOWNLIST
bool HasEdit(const State& s);
int FaceHeight(const State& s);
RECT ButtonRect(const State& s);
RECT FaceRect(const State& s);   // the edit's place, or the closed face's item
int ListSelection(const State& s);
// Shows the list's selection in the edit (without CBN_EDITCHANGE) or on the face; with no item chosen the
// edit keeps its text unless clearWhenNone.
void ShowSelection(State& s, bool clearWhenNone = false);
// The screen rectangle the dropped list takes.
RECT DroppedListRect(const State& s);

// Dropping and closing (ComboBoxInput.cpp)
void DropDown(State& s);
void CloseUp(State& s, bool ok, bool forceChange = false);
void ChooseFromList(State& s, int index);   // a release on an item of the dropped list
bool HandleKey(State& s, WPARAM key, bool alt);   // true when the key was the combo's
bool HandleChar(State& s, WPARAM ch);
void FocusIn(State& s);
void FocusOut(State& s, HWND gaining);
LRESULT OnButtonDown(State& s, POINT p);
LRESULT OnMouseMove(State& s, POINT p);
LRESULT OnButtonUp(State& s, POINT p);
LRESULT OnCaptureChanged(State& s, HWND gaining);
LRESULT OnWheel(State& s, WPARAM wParam, LPARAM lParam);
void HookEdit(State& s);

// The list window's class (ComboList.cpp)
ATOM RegisterComboListClass();

}

// What the tree view's files share: the item tree, the control state and the calls between the files.
#pragma once

#include "platform/user/controls/InPlaceEdit.h"
#include "platform/user/controls/TreeView.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace korvex::user {

struct TreeItem {
    TreeItem* Parent = nullptr;   // the hidden root for top-level items
    std::vector<std::unique_ptr<TreeItem>> Children;
    std::string Text;
    bool TextCallback = false;
    int Image = 0;
    int SelectedImage = 0;
    int ChildrenFlag = -2;   // 0 or 1 as set, I_CHILDRENCALLBACK, or -2: whether Children is empty
    UINT State = 0;
    LPARAM Param = 0;
};

namespace tree {

struct State {
    std::shared_ptr<State> Keep;   // held by a message in progress; dropped when the window goes
    HWND Self = nullptr;
    TreeItem Root;
    std::unordered_set<const TreeItem*> Live;   // every item handle the control has given out and not deleted
    TreeItem* Caret = nullptr;   // the selected item
    TreeItem* DropHilite = nullptr;
    std::vector<TreeItem*> Rows;   // the visible items in display order, rebuilt when RowsDirty
    bool RowsDirty = true;
    int Top = 0;   // the first row shown
    int HorzPos = 0;   // pixels scrolled to the left
    int Indent = 19;
    int ItemHeight = 0;   // 0: from the font and the images
    HFONT Font = nullptr;
    HIMAGELIST Images = nullptr;
    HIMAGELIST StateImages = nullptr;
    COLORREF Back = gdi::CLR_NONE;   // CLR_NONE: the window colour
    COLORREF TextColor = gdi::CLR_NONE;
    bool Focused = false;
    bool NoRedraw = false;
    bool UpdatingBars = false;
    // Label editing.
    InPlaceEdit Editor;
    TreeItem* Editing = nullptr;
    TreeItem* EditPending = nullptr;   // a click on the selected label starts editing after the double-click time
};

bool Alive(const State& s);
bool IsItem(const State& s, const TreeItem* item);   // a live item (not the root)
int Level(const TreeItem* item);   // 0 for top-level items
bool HasChildren(State& s, TreeItem* item);   // asks TVN_GETDISPINFO for I_CHILDRENCALLBACK
bool Expanded(const TreeItem* item);
std::string ItemText(State& s, TreeItem* item);   // asks TVN_GETDISPINFO for LPSTR_TEXTCALLBACK
int ItemImage(State& s, TreeItem* item, bool selected);

// View (TreeViewView.cpp)
const std::vector<TreeItem*>& Rows(State& s);
int RowOf(State& s, const TreeItem* item);   // -1 when not shown (a collapsed ancestor)
int RowHeight(State& s);
int PageRows(State& s);   // whole rows in the client area, at least 1
int ItemX(State& s, const TreeItem* item);   // where the image (or the text) starts
RECT ItemRect(State& s, TreeItem* item, bool textOnly);
TVHITTESTINFO HitTest(State& s, POINT p);
void SetTop(State& s, int top);
void SetHorzPos(State& s, int pos);
void EnsureVisible(State& s, TreeItem* item);
void Changed(State& s);   // rows or sizes changed: rows rebuilt, bars updated, repainted
void UpdateScrollBars(State& s);
void Invalidate(State& s);
void Paint(State& s, HDC dc);
void OnScroll(State& s, bool vertical, int code, int thumb);

// Actions with their notifications (TreeView.cpp). False when refused or the window went.
bool Expand(State& s, TreeItem* item, UINT action);
bool Select(State& s, TreeItem* item, UINT cause);
void DeleteItem(State& s, TreeItem* item);

// Input and label editing (TreeViewInput.cpp)
void MouseDown(State& s, POINT p, bool doubleClick, bool right);
bool KeyDown(State& s, UINT vk);
HWND BeginEdit(State& s, TreeItem* item);
void EndEdit(State& s, bool cancel);
void OnTimer(State& s, std::uintptr_t id);
void OnEditCommand(State& s, WORD code, HWND from);
inline constexpr std::uintptr_t EditTimer = 1;

}

}

// What the list view's files share: items, columns, the control state and the calls between the files.
#pragma once

#include "platform/user/controls/InPlaceEdit.h"
#include "platform/user/controls/ListView.h"

#include <memory>
#include <string>
#include <vector>

namespace korvex::user {

namespace listview {

struct Item {
    std::string Text;
    bool TextCallback = false;
    int Image = 0;
    LPARAM Param = 0;
    UINT State = 0;
    int Indent = 0;
    struct Sub {
        std::string Text;
        bool Callback = false;
    };
    std::vector<Sub> SubItems;   // index 0 is the first sub-item (column 1)
};

struct Column {
    int Format = LVCFMT_LEFT;
    int Width = 60;
    std::string Text;
    int SubItem = 0;
    int Image = -1;
};

struct State {
    std::shared_ptr<State> Keep;   // held by a message in progress; dropped when the window goes
    HWND Self = nullptr;
    HWND Header = nullptr;   // made on the first need (report view or a column)
    std::vector<Item> Items;   // empty with LVS_OWNERDATA
    int OwnerCount = 0;   // the item count with LVS_OWNERDATA
    std::vector<UINT> OwnerStates;   // selection and focus of owner-data items
    std::vector<Column> Columns;
    HIMAGELIST Large = nullptr;
    HIMAGELIST Small = nullptr;
    HIMAGELIST StateImages = nullptr;
    HFONT Font = nullptr;
    COLORREF Back = CLR_DEFAULT;   // CLR_DEFAULT: the window colour; CLR_NONE: not erased
    COLORREF TextColor = CLR_DEFAULT;
    COLORREF TextBack = CLR_DEFAULT;
    DWORD ExStyle = 0;
    DWORD ShownView = ~DWORD(0);   // the view the layout was made for
    UINT CallbackMask = 0;
    int Top = 0;   // report: the first row; list: the first column
    int HorzPos = 0;   // report: pixels scrolled left
    int ViewY = 0;   // icon views: pixels scrolled up
    int ListColumnWidth = 0;   // list view: 0 until set, then the width of every column
    int Focus = -1;
    int Anchor = -1;   // where a Shift range starts
    int Hot = -1;
    int HintFrom = -1, HintTo = -1;   // the last LVN_ODCACHEHINT range
    bool Focused = false;
    bool NoRedraw = false;
    bool UpdatingBars = false;
    bool Tracking = false;   // the pointer is watched for leaving (hot tracking)
    InPlaceEdit Editor;
    int Editing = -1;
    int EditPending = -1;   // a click on the focused label edits it after the double-click time
    std::string TypeAhead;   // incremental search text; reset by a pause
};

inline constexpr std::uintptr_t EditTimer = 1;
inline constexpr std::uintptr_t TypeAheadTimer = 2;
inline constexpr UINT TypeAheadPauseMs = 1000;

bool Alive(const State& s);
DWORD View(const State& s);   // LVS_ICON .. LVS_LIST
bool OwnerData(const State& s);
int Count(const State& s);
bool Valid(const State& s, int index);
UINT GetState(const State& s, int index);
std::string ItemText(State& s, int index, int subItem);   // asks LVN_GETDISPINFO for callbacks and owner data
int ItemImage(State& s, int index);
LRESULT NotifyList(State& s, UINT code, int item, int subItem = 0, UINT newState = 0, UINT oldState = 0,
    UINT changed = 0, LPARAM param = 0);

// The work of the item and column messages (ListView.cpp); the answers are the messages' results.
void CopyText(const std::string& text, char* out, int room);   // cut to room - 1 bytes and terminated
void ApplyItem(Item& item, const LVITEM& in);
LRESULT InsertItem(State& s, const LVITEM* in);
LRESULT DeleteItem(State& s, int index);
LRESULT DeleteAll(State& s);
LRESULT GetItem(State& s, LVITEM* out);
LRESULT SetItem(State& s, const LVITEM* in);
LRESULT SetItemState(State& s, int index, const LVITEM* in);   // index -1: every item
LRESULT GetNextItem(State& s, int start, UINT flags);
LRESULT SetItemCount(State& s, int count);
LRESULT SortItems(State& s, LPARAM data, PFNLVCOMPARE compare);
LRESULT InsertColumn(State& s, int index, const LVCOLUMN* in);
LRESULT SetColumn(State& s, int index, const LVCOLUMN* in);
LRESULT GetColumn(const State& s, int index, LVCOLUMN* out);
LRESULT SetColumnWidth(State& s, int index, int width);
LRESULT DeleteColumn(State& s, int index);
LRESULT HeaderNotify(State& s, NMHDR* hdr);   // WM_NOTIFY from the header
LRESULT SetView(State& s, DWORD view);
void ViewChanged(State& s);   // the style's view changed (or the window was made)

// Selection and focus with LVN_ITEMCHANGING / LVN_ITEMCHANGED; false when refused or the window went.
bool SetState(State& s, int index, UINT state, UINT mask);
void SelectOnly(State& s, int index);   // every other item loses the selection
void SelectRange(State& s, int from, int to, bool keepOthers);
void SetFocusItem(State& s, int index);

// Layout (ListViewLayout.cpp)
int RowHeight(State& s);
int HeaderHeight(const State& s);
int TotalColumnWidth(const State& s);
RECT ItemBounds(State& s, int index);
RECT ItemPart(State& s, int index, int part);   // LVIR_*
RECT SubItemRect(State& s, int index, int column);   // report view
int PageCount(State& s);   // LVM_GETCOUNTPERPAGE
int TopIndex(State& s);
std::pair<int, int> VisibleRange(State& s);   // first and last item painted; (0, -1) when none
LVHITTESTINFO HitTest(State& s, POINT p, bool subItems);
void PlaceHeader(State& s);
void UpdateScrollBars(State& s);
void Changed(State& s);   // items, sizes or the view changed: header placed, bars updated, repainted
void Invalidate(State& s);
void InvalidateItem(State& s, int index);
void EnsureVisible(State& s, int index);
void Scroll(State& s, int dx, int dy);   // LVM_SCROLL
void OnScroll(State& s, bool vertical, int code, int thumb);
int ListColumnWidth(State& s);

// Painting (ListViewPaint.cpp)
void Paint(State& s, HDC dc, const RECT& update);
bool EraseBackground(State& s, HDC dc);

// Input (ListViewInput.cpp)
void MouseDown(State& s, POINT p, UINT keys, bool doubleClick, bool right);
void MouseMove(State& s, POINT p);
bool KeyDown(State& s, UINT vk);
void Char(State& s, char32_t ch);
HWND BeginEdit(State& s, int index);
void EndEdit(State& s, bool cancel);
void OnEditCommand(State& s, WORD code, HWND from);
void OnTimer(State& s, std::uintptr_t id);
int FindItem(State& s, int start, const LVFINDINFO& find);

}

}

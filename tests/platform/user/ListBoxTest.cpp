// The LISTBOX class: items, sorting and finding, selection by mouse and keys with its notifications, multiple
// selection, scroll info and the wheel, owner drawing fixed and variable, whole-item heights.
#include "support/ControlTestSupport.h"

#include "platform/gdi/SysColors.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/ListBox.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

namespace {

LRESULT Add(HWND list, const std::string& text) {
    return SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string TextOf(HWND list, int index) {
    const LRESULT length = SendMessage(list, LB_GETTEXTLEN, WPARAM(index), 0);
    if (length < 0) return "<error>";
    std::string text(std::size_t(length) + 1, '\0');
    SendMessage(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::size_t(length));
    return text;
}

std::vector<std::string> Texts(HWND list) {
    std::vector<std::string> texts;
    const int n = int(SendMessage(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
        texts.push_back(TextOf(list, i));
    return texts;
}

int CurSel(HWND list) {
    return int(SendMessage(list, LB_GETCURSEL, 0, 0));
}

class ListBox : public ControlTest {
protected:
    // A list of `count` items "Item 0" ... with room for `visible` whole items.
    HWND MakeList(DWORD style, int count, int visible = 5, int id = 1) {
        HWND list = Make("LISTBOX", "", style | LBS_NOINTEGRALHEIGHT, 10, 10, 150, 100, id);
        ItemHeight = int(SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
        const RECT window = WindowRect(list);
        const RECT client = ClientRect(list);
        SetWindowPos(list, nullptr, 0, 0, window.Width(), window.Height() - client.Height() + visible * ItemHeight,
            SWP_NOMOVE | SWP_NOZORDER);
        for (int i = 0; i < count; ++i)
            Add(list, "Item " + std::to_string(i));
        Pump();
        ClearLog();
        return list;
    }
    int Middle(int index, int top = 0) const { return (index - top) * ItemHeight + ItemHeight / 2; }
    int ItemHeight = 0;
};

TEST_F(ListBox, SortedListsKeepTheirOrderWithoutCaseAndInsertionsGoWhereTheySay) {
    HWND list = Make("LISTBOX", "", LBS_SORT, 10, 10, 150, 100, 1);
    for (const char* text : {"banana", "Apple", "cherry", "apple", "Яблоко", "абрикос"})
        Add(list, text);
    EXPECT_EQ(Texts(list), (std::vector<std::string> {"Apple", "apple", "banana", "cherry", "абрикос", "Яблоко"}));
    HWND plain = Make("LISTBOX", "", 0, 10, 120, 150, 100, 2);
    Add(plain, "b");
    Add(plain, "a");
    EXPECT_EQ(SendMessage(plain, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("first")), 0);
    EXPECT_EQ(SendMessage(plain, LB_INSERTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>("last")), 3);
    EXPECT_EQ(SendMessage(plain, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>("far")), LB_ERR);
    EXPECT_EQ(Texts(plain), (std::vector<std::string> {"first", "b", "a", "last"}));
    EXPECT_EQ(TextOf(plain, 4), "<error>");
    EXPECT_EQ(SendMessage(plain, LB_GETITEMDATA, 7, 0), LB_ERR);
}

TEST_F(ListBox, DeletingItemsKeepsTheSelectionOnItsItem) {
    HWND list = MakeList(0, 5);
    SendMessage(list, LB_SETCURSEL, 3, 0);
    EXPECT_EQ(SendMessage(list, LB_DELETESTRING, 1, 0), 4);
    EXPECT_EQ(CurSel(list), 2);
    EXPECT_EQ(TextOf(list, CurSel(list)), "Item 3");
    SendMessage(list, LB_DELETESTRING, 2, 0);
    EXPECT_EQ(CurSel(list), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_DELETESTRING, 10, 0), LB_ERR);
    SendMessage(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ListBox, FindingStartsAfterTheGivenItemAndWraps) {
    HWND list = Make("LISTBOX", "", 0, 10, 10, 150, 100, 1);
    for (const char* text : {"alpha", "beta", "alphabet", "Gamma"})
        Add(list, text);
    auto find = [&](UINT msg, int after, const char* text) {
        return SendMessage(list, msg, WPARAM(after), reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(find(LB_FINDSTRING, -1, "ALPHA"), 0);
    EXPECT_EQ(find(LB_FINDSTRING, 0, "alpha"), 2);
    EXPECT_EQ(find(LB_FINDSTRING, 2, "alpha"), 0);
    EXPECT_EQ(find(LB_FINDSTRINGEXACT, 0, "ALPHA"), 0);
    EXPECT_EQ(find(LB_FINDSTRINGEXACT, -1, "gamma"), 3);
    EXPECT_EQ(find(LB_FINDSTRING, -1, "delta"), LB_ERR);
    EXPECT_EQ(find(LB_SELECTSTRING, -1, "gam"), 3);
    EXPECT_EQ(CurSel(list), 3);
}

TEST_F(ListBox, AClickSelectsAndReportsOnceOnTheReleaseProgramChangesNever) {
    HWND list = MakeList(LBS_NOTIFY, 10);
    SendMessage(list, LB_SETCURSEL, 2, 0);
    EXPECT_TRUE(Codes(1).empty());
    PressAt(list, 20, Middle(4));
    EXPECT_EQ(CurSel(list), 4);
    EXPECT_EQ(Codes(1), (std::vector<WORD> {LBN_SETFOCUS}));
    EXPECT_EQ(GetFocus(), list);
    ReleaseAt(list, 20, Middle(4));
    EXPECT_EQ(Codes(1), (std::vector<WORD> {LBN_SETFOCUS, LBN_SELCHANGE}));
    Advance(1000);
    ClickAt(list, 20, Middle(4));   // the same item again: reported again
    EXPECT_EQ(CodeCount(1, LBN_SELCHANGE), 2);
}

TEST_F(ListBox, WithoutNotifyNothingIsReported) {
    HWND list = MakeList(0, 10);
    ClickAt(list, 20, Middle(1));
    Key(VK_DOWN);
    EXPECT_EQ(CurSel(list), 2);
    EXPECT_TRUE(Codes(1).empty());
}

TEST_F(ListBox, AClickBelowTheLastItemChangesNothing) {
    HWND list = MakeList(LBS_NOTIFY, 2);
    SendMessage(list, LB_SETCURSEL, 0, 0);
    ClickAt(list, 20, Middle(3));
    EXPECT_EQ(CurSel(list), 0);
    EXPECT_EQ(CodeCount(1, LBN_SELCHANGE), 0);
}

TEST_F(ListBox, DraggingMovesTheSelectionAndScrollsAtTheEdge) {
    HWND list = MakeList(LBS_NOTIFY | WS_VSCROLL, 20);
    PressAt(list, 20, Middle(0));
    MoveTo(list, 20, Middle(3));
    EXPECT_EQ(CurSel(list), 3);
    MoveTo(list, 20, 5 * ItemHeight + 10);   // below the list
    Advance(100);
    Advance(100);
    EXPECT_GT(SendMessage(list, LB_GETTOPINDEX, 0, 0), 0);
    EXPECT_GE(CurSel(list), 5);
    ReleaseAt(list, 20, 5 * ItemHeight + 10);
    EXPECT_EQ(CodeCount(1, LBN_SELCHANGE), 1);
    const int sel = CurSel(list);
    Advance(500);
    EXPECT_EQ(CurSel(list), sel);   // no scrolling after the release
}

TEST_F(ListBox, ADoubleClickReportsLbnDblClk) {
    HWND list = MakeList(LBS_NOTIFY, 5);
    const POINT p = OnScreen(list, 20, Middle(2));
    Screen->DoubleClick(p.x, p.y);
    Pump();
    EXPECT_EQ(CodeCount(1, LBN_DBLCLK), 1);
    EXPECT_EQ(CurSel(list), 2);
}

TEST_F(ListBox, KeysMoveTheSelectionAndReportOnlyChanges) {
    HWND list = MakeList(LBS_NOTIFY | WS_VSCROLL, 20);
    SetFocus(list);
    ClearLog();
    Key(VK_DOWN);
    EXPECT_EQ(CurSel(list), 0);   // nothing selected: the first item
    Key(VK_DOWN);
    EXPECT_EQ(CurSel(list), 1);
    Key(VK_NEXT);
    EXPECT_EQ(CurSel(list), 1 + 4);
    Key(VK_END);
    EXPECT_EQ(CurSel(list), 19);
    EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 15);
    Key(VK_DOWN);   // already last
    Key(VK_HOME);
    EXPECT_EQ(CurSel(list), 0);
    EXPECT_EQ(CodeCount(1, LBN_SELCHANGE), 5);
}

TEST_F(ListBox, ATypedCharacterSelectsTheNextItemStartingWithIt) {
    HWND list = Make("LISTBOX", "", LBS_NOTIFY, 10, 10, 150, 100, 1);
    for (const char* text : {"apple", "banana", "blueberry", "cherry"})
        Add(list, text);
    SetFocus(list);
    ClearLog();
    Type("b");
    EXPECT_EQ(CurSel(list), 1);
    Type("b");
    EXPECT_EQ(CurSel(list), 2);
    Type("b");
    EXPECT_EQ(CurSel(list), 1);
    Type("z");
    EXPECT_EQ(CurSel(list), 1);
    EXPECT_EQ(CodeCount(1, LBN_SELCHANGE), 3);
}

TEST_F(ListBox, TheScrollBarShowsTheTopIndexOverTheItemsWithAPageOfWholeItems) {
    HWND list = MakeList(WS_VSCROLL, 20);
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 19);
    EXPECT_EQ(info.nPage, 5u);
    EXPECT_EQ(info.nPos, 0);
    SendMessage(list, LB_SETTOPINDEX, 7, 0);
    GetScrollInfo(list, SB_VERT, &info);
    EXPECT_EQ(info.nPos, 7);
    SendMessage(list, LB_SETTOPINDEX, 19, 0);   // no further than the last page
    EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 15);
    SendMessage(list, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 14);
    SendMessage(list, WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 9);
    SendMessage(list, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 0);
}

TEST_F(ListBox, TheScrollBarGoesWhenEverythingFitsUnlessKeptDisabled) {
    HWND list = MakeList(WS_VSCROLL, 3);
    EXPECT_FALSE(GetWindowStyle(list) & WS_VSCROLL);
    for (int i = 0; i < 5; ++i)
        Add(list, "more");
    EXPECT_TRUE(GetWindowStyle(list) & WS_VSCROLL);
    HWND kept = MakeList(WS_VSCROLL | LBS_DISABLENOSCROLL, 2, 5, 2);
    EXPECT_TRUE(GetWindowStyle(kept) & WS_VSCROLL);
}

TEST_F(ListBox, RedrawOffPutsTheScrollInfoOffUntilItIsBackOn) {
    HWND list = MakeList(WS_VSCROLL, 2);
    SendMessage(list, WM_SETREDRAW, 0, 0);
    for (int i = 0; i < 10; ++i)
        Add(list, "x");
    EXPECT_FALSE(GetWindowStyle(list) & WS_VSCROLL);
    SendMessage(list, WM_SETREDRAW, 1, 0);
    EXPECT_TRUE(GetWindowStyle(list) & WS_VSCROLL);
    EXPECT_TRUE(IsWindowVisible(list));
}

TEST_F(ListBox, TheWheelScrollsThreeLinesANotch) {
    HWND list = MakeList(WS_VSCROLL, 20);
    SetFocus(list);
    const POINT p = OnScreen(list, 20, 20);
    Screen->Wheel(p.x, p.y, -WHEEL_DELTA);
    Pump();
    EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 3);
    Screen->Wheel(p.x, p.y, -WHEEL_DELTA / 2);   // half a notch waits for the other half
    Pump();
    EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 3);
    Screen->Wheel(p.x, p.y, -WHEEL_DELTA / 2);
    Pump();
    EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 6);
    Screen->Wheel(p.x, p.y, 4 * WHEEL_DELTA);
    Pump();
    EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 0);
}

TEST_F(ListBox, ExtendedSelectionTakesShiftRangesAndCtrlToggles) {
    HWND list = MakeList(LBS_EXTENDEDSEL | LBS_NOTIFY, 8);
    ClickAt(list, 20, Middle(1));
    POINT p = OnScreen(list, 20, Middle(3));
    Advance(1000);
    Screen->Click(p.x, p.y, MouseButton::Left, ModShift);
    Pump();
    int items[8] = {};
    EXPECT_EQ(SendMessage(list, LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(items)), 3);
    EXPECT_EQ(items[0], 1);
    EXPECT_EQ(items[2], 3);
    p = OnScreen(list, 20, Middle(2));
    Advance(1000);
    Screen->Click(p.x, p.y, MouseButton::Left, ModControl);
    Pump();
    EXPECT_EQ(SendMessage(list, LB_GETSELCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessage(list, LB_GETSEL, 2, 0), 0);
    EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 0, 0), LB_ERR);   // single-selection call
    EXPECT_EQ(SendMessage(list, LB_SETSEL, 1, -1), LB_OKAY);
    EXPECT_EQ(SendMessage(list, LB_GETSELCOUNT, 0, 0), 8);
}

TEST_F(ListBox, MultipleSelectionTogglesByClickAndSpace) {
    HWND list = MakeList(LBS_MULTIPLESEL | LBS_NOTIFY, 5);
    ClickAt(list, 20, Middle(1));
    Advance(1000);
    ClickAt(list, 20, Middle(3));
    EXPECT_EQ(SendMessage(list, LB_GETSELCOUNT, 0, 0), 2);
    Key(VK_SPACE);   // the caret (item 3) toggles off
    EXPECT_EQ(SendMessage(list, LB_GETSEL, 3, 0), 0);
    EXPECT_EQ(SendMessage(list, LB_GETCARETINDEX, 0, 0), 3);
    EXPECT_EQ(CodeCount(1, LBN_SELCHANGE), 3);
}

TEST_F(ListBox, OwnerDrawnFixedItemsAreMeasuredOnceAndDrawnByTheParent) {
    std::vector<MEASUREITEMSTRUCT> measured;
    std::vector<DRAWITEMSTRUCT> drawn;
    RecordOwnerDraw(measured, drawn, [](const MEASUREITEMSTRUCT&) { return 20u; });
    HWND list = Make("LISTBOX", "", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, 10, 10, 150, 100, 3);
    ASSERT_EQ(measured.size(), 1u);
    EXPECT_EQ(measured[0].CtlType, ODT_LISTBOX);
    EXPECT_EQ(measured[0].CtlID, 3u);
    EXPECT_EQ(SendMessage(list, LB_GETITEMHEIGHT, 0, 0), 20);
    for (int i = 0; i < 8; ++i)
        Add(list, "x");
    SendMessage(list, LB_SETITEMDATA, 2, 0x55);
    SendMessage(list, LB_SETCURSEL, 2, 0);
    drawn.clear();
    InvalidateRect(list, nullptr, false);
    Pump();
    ASSERT_EQ(drawn.size(), 5u);   // the visible ones (100 / 20)
    EXPECT_EQ(drawn[2].itemID, 2u);
    EXPECT_EQ(drawn[2].itemData, 0x55u);
    EXPECT_EQ(drawn[2].itemState & ODS_SELECTED, ODS_SELECTED);
    EXPECT_EQ(drawn[1].itemState & ODS_SELECTED, 0u);
    EXPECT_EQ(drawn[2].rcItem.left, 0);
    EXPECT_EQ(drawn[2].rcItem.top, 40);
    EXPECT_EQ(drawn[2].rcItem.bottom, 60);
    EXPECT_EQ(drawn[2].hwndItem, list);
    RECT r {};
    SendMessage(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(r.bottom, 80);
    EXPECT_EQ(measured.size(), 1u);
}

TEST_F(ListBox, OwnerDrawnVariableItemsAreMeasuredOneByOne) {
    int next = 10;
    SetHandler(Parent, [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg != WM_MEASUREITEM) return std::nullopt;
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        mis->itemHeight = UINT(next);
        next += 10;
        return 1;
    });
    HWND list = Make("LISTBOX", "", LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, 10, 10, 150, 100, 3);
    for (int i = 0; i < 4; ++i)
        Add(list, "x");   // 10, 20, 30, 40 high
    EXPECT_EQ(SendMessage(list, LB_GETITEMHEIGHT, 2, 0), 30);
    RECT r {};
    SendMessage(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(r.bottom, 100);
    EXPECT_EQ(SendMessage(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 35)), MAKELRESULT(2, 0));
    EXPECT_EQ(SendMessage(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 500)), MAKELRESULT(3, 1));
    SendMessage(list, LB_SETITEMHEIGHT, 0, 25);
    SendMessage(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.top, 25);
}

TEST_F(ListBox, OwnerDrawnItemsGoingAreReportedToTheParent) {
    std::vector<DELETEITEMSTRUCT> gone;
    SetHandler(Parent, [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_DELETEITEM) gone.push_back(*reinterpret_cast<const DELETEITEMSTRUCT*>(lParam));
        return std::nullopt;
    });
    HWND list = Make("LISTBOX", "", LBS_OWNERDRAWFIXED, 10, 10, 150, 100, 3);
    SendMessage(list, LB_ADDSTRING, 0, 0x11);   // without strings the value is the item's data
    SendMessage(list, LB_ADDSTRING, 0, 0x22);
    SendMessage(list, LB_ADDSTRING, 0, 0x33);
    EXPECT_EQ(SendMessage(list, LB_FINDSTRING, WPARAM(-1), 0x22), 1);
    SendMessage(list, LB_DELETESTRING, 0, 0);
    ASSERT_EQ(gone.size(), 1u);
    EXPECT_EQ(gone[0].itemData, 0x11u);
    DestroyWindow(list);
    EXPECT_EQ(gone.size(), 3u);
}

TEST_F(ListBox, ItemHeightsOutsideOneTo255AreRefused) {
    HWND list = MakeList(0, 3);
    EXPECT_EQ(SendMessage(list, LB_SETITEMHEIGHT, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_SETITEMHEIGHT, 0, 256), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_SETITEMHEIGHT, 0, 18), LB_OKAY);
    EXPECT_EQ(SendMessage(list, LB_GETITEMHEIGHT, 0, 0), 18);
}

TEST_F(ListBox, WithoutNoIntegralHeightTheListShowsWholeItemsOnly) {
    HWND list = Make("LISTBOX", "", 0, 10, 10, 150, 100, 1);
    const int item = int(SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(ClientRect(list).Height() % item, 0);
    EXPECT_LE(ClientRect(list).Height(), 100);
}

TEST_F(ListBox, TheSelectedItemIsHighlighted) {
    HWND list = MakeList(0, 5);
    SendMessage(list, LB_SETCURSEL, 1, 0);
    Pump();
    EXPECT_EQ(ClientPixel(list, 140, Middle(1)), gdi::GetSysColor(gdi::COLOR_HIGHLIGHT));
    EXPECT_EQ(ClientPixel(list, 140, Middle(2)), gdi::GetSysColor(gdi::COLOR_WINDOW));
}

TEST_F(ListBox, AListDestroyedByItsOwnNotificationIsLeftAlone) {
    HWND list = MakeList(LBS_NOTIFY, 5);
    SetHandler(Parent, [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) DestroyWindow(list);
        return std::nullopt;
    });
    ClickAt(list, 20, Middle(1));
    EXPECT_FALSE(IsWindow(list));
    SetFocus(Parent);
}

}

}

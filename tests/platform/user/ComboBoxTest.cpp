// The COMBOBOX class: the closed height and the list height rule, dropping and choosing by mouse and keys with
// the notifications in order, closing rules, the edit of drop-down combos, simple combos, owner drawing.
#include "support/ControlTestSupport.h"

#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/ComboBox.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/EditConstants.h"
#include "platform/user/controls/ListBox.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

namespace {

class ComboBox : public ControlTest {
protected:
    HWND MakeCombo(DWORD style, int items, int height = 200, int id = 1) {
        HWND combo = Make("COMBOBOX", "", style, 10, 10, 150, height, id);
        for (int i = 0; i < items; ++i)
            AddItem(combo, "Item " + std::to_string(i));
        Pump();
        ClearLog();
        return combo;
    }
    static void AddItem(HWND combo, const std::string& text) {
        SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    static HWND ListOf(HWND combo) {
        COMBOBOXINFO info;
        GetComboBoxInfo(combo, &info);
        return info.hwndList;
    }
    static HWND EditOf(HWND combo) {
        COMBOBOXINFO info;
        GetComboBoxInfo(combo, &info);
        return info.hwndItem;
    }
    static int Sel(HWND combo) { return int(SendMessage(combo, CB_GETCURSEL, 0, 0)); }
    static bool Dropped(HWND combo) { return SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }
    static int ItemHeight(HWND combo) { return int(SendMessage(combo, CB_GETITEMHEIGHT, 0, 0)); }
    void ClickButton(HWND combo) {
        COMBOBOXINFO info;
        GetComboBoxInfo(combo, &info);
        ClickAt(combo, (info.rcButton.left + info.rcButton.right) / 2, (info.rcButton.top + info.rcButton.bottom) / 2);
    }
    // A point in the middle of a list item, in the list's client coordinates.
    POINT ItemPoint(HWND combo, int index) {
        RECT r {};
        SendMessage(ListOf(combo), LB_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
        return POINT {20, (r.top + r.bottom) / 2};
    }
    std::string Text(HWND combo) { return GetWindowText(combo); }
};

TEST_F(ComboBox, TheWindowIsAsHighAsItsFaceWhateverHeightItWasGiven) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 0, 200);
    const int face = int(SendMessage(combo, CB_GETITEMHEIGHT, WPARAM(-1), 0)) + 6;
    EXPECT_EQ(WindowRect(combo).Height(), face);
    SetWindowPos(combo, nullptr, 0, 0, 150, 300, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(WindowRect(combo).Height(), face);
    HWND simple = MakeCombo(CBS_SIMPLE, 0, 120, 2);
    EXPECT_EQ(WindowRect(simple).Height(), 120);
}

struct HeightCase {
    int Items;
    int RoomInItems;   // the room given below the face, in items (plus the border)
    int Shown;
};

class ComboListHeight : public ComboBox, public ::testing::WithParamInterface<HeightCase> { };

TEST_P(ComboListHeight, TheListShowsItsItemsUpToItsRoomAndAtLeastOne) {
    const HeightCase c = GetParam();
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, c.Items, 25);
    const int item = ItemHeight(combo);
    const int face = WindowRect(combo).Height();
    SetWindowPos(combo, nullptr, 0, 0, 150, face + c.RoomInItems * item + 2, SWP_NOMOVE | SWP_NOZORDER);
    SendMessage(combo, CB_SHOWDROPDOWN, 1, 0);
    Pump();
    const RECT list = WindowRect(ListOf(combo));
    EXPECT_EQ(list.Height(), c.Shown * item + 2);
    EXPECT_EQ(list.top, WindowRect(combo).bottom);
    EXPECT_EQ(list.Width(), 150);
    RECT dropped {};
    SendMessage(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(dropped.bottom, list.bottom);
    EXPECT_EQ(dropped.top, WindowRect(combo).top);
}

INSTANTIATE_TEST_SUITE_P(Rule, ComboListHeight,
    ::testing::Values(
        HeightCase {3, 8, 3}, HeightCase {20, 8, 8}, HeightCase {8, 8, 8}, HeightCase {0, 8, 1}, HeightCase {5, 0, 1}));

TEST_F(ComboBox, ScrollBarStylesGoToTheListNotTheCombo) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST | WS_VSCROLL | WS_HSCROLL, 30);
    EXPECT_EQ(GetWindowStyle(combo) & (WS_VSCROLL | WS_HSCROLL), 0u);
    EXPECT_EQ(ClientRect(combo).Width(), 150);
    SendMessage(combo, CB_SHOWDROPDOWN, 1, 0);
    EXPECT_TRUE(GetWindowStyle(ListOf(combo)) & WS_VSCROLL);
}

TEST_F(ComboBox, ABigDropDownWidthWidensTheList) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 3);
    EXPECT_EQ(SendMessage(combo, CB_SETDROPPEDWIDTH, 250, 0), 250);
    EXPECT_EQ(SendMessage(combo, CB_GETDROPPEDWIDTH, 0, 0), 250);
    SendMessage(combo, CB_SHOWDROPDOWN, 1, 0);
    EXPECT_EQ(WindowRect(ListOf(combo)).Width(), 250);
    SendMessage(combo, CB_SETDROPPEDWIDTH, 20, 0);
    EXPECT_EQ(SendMessage(combo, CB_GETDROPPEDWIDTH, 0, 0), 150);   // never narrower than the combo
}

TEST_F(ComboBox, TheListOpensAboveWhenThereIsNoRoomBelow) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 10);
    const RECT work = GetWorkArea();
    POINT origin {0, 0};
    ClientToScreen(Parent, &origin);
    SetWindowPos(combo, nullptr, 10, work.bottom - origin.y - 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessage(combo, CB_SHOWDROPDOWN, 1, 0);
    EXPECT_EQ(WindowRect(ListOf(combo)).bottom, WindowRect(combo).top);
}

TEST_F(ComboBox, ClickingTheButtonDropsTheListAndClickingAnItemChoosesIt) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 5);
    ClickButton(combo);
    EXPECT_TRUE(Dropped(combo));
    EXPECT_TRUE(IsWindowVisible(ListOf(combo)));
    EXPECT_EQ(Codes(1), (std::vector<WORD> {CBN_SETFOCUS, CBN_DROPDOWN}));
    ClearLog();
    const POINT p = ItemPoint(combo, 2);
    MoveTo(ListOf(combo), p.x, p.y);
    EXPECT_TRUE(Codes(1).empty());   // hovering reports nothing
    ClickAt(ListOf(combo), p.x, p.y);
    EXPECT_FALSE(Dropped(combo));
    EXPECT_FALSE(IsWindowVisible(ListOf(combo)));
    EXPECT_EQ(Codes(1), (std::vector<WORD> {CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
    EXPECT_EQ(Sel(combo), 2);
    EXPECT_EQ(Text(combo), "Item 2");
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(GetFocus(), combo);
}

TEST_F(ComboBox, PressingTheButtonAndReleasingOnAnItemChoosesIt) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 5);
    COMBOBOXINFO info;
    GetComboBoxInfo(combo, &info);
    PressAt(combo, info.rcButton.left + 3, 5);
    EXPECT_TRUE(Dropped(combo));
    const POINT p = ItemPoint(combo, 3);
    MoveTo(ListOf(combo), p.x, p.y);
    EXPECT_EQ(Sel(combo), 3);   // highlighted while the button is held
    ReleaseAt(ListOf(combo), p.x, p.y);
    EXPECT_FALSE(Dropped(combo));
    EXPECT_EQ(Codes(1), (std::vector<WORD> {CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
}

TEST_F(ComboBox, EscapeClosesAndGoesBackToTheItemChosenBefore) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 5);
    SendMessage(combo, CB_SETCURSEL, 1, 0);
    SetFocus(combo);
    ClickButton(combo);
    const POINT p = ItemPoint(combo, 4);
    MoveTo(ListOf(combo), p.x, p.y);
    EXPECT_EQ(Sel(combo), 4);
    ClearLog();
    Key(VK_ESCAPE);
    EXPECT_FALSE(Dropped(combo));
    EXPECT_EQ(Sel(combo), 1);
    EXPECT_EQ(Codes(1), (std::vector<WORD> {CBN_SELENDCANCEL, CBN_CLOSEUP}));
}

TEST_F(ComboBox, APressOutsideClosesWithoutChoosingAndIsNotPassedOn) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 5);
    HWND other = Make("BUTTON", "Other", 0, 250, 250, 75, 23, 9);
    ClickButton(combo);
    const POINT p = ItemPoint(combo, 3);
    MoveTo(ListOf(combo), p.x, p.y);
    ClearLog();
    ClickAt(other, 10, 10);
    EXPECT_FALSE(Dropped(combo));
    EXPECT_EQ(Sel(combo), -1);
    EXPECT_EQ(Codes(1), (std::vector<WORD> {CBN_SELENDCANCEL, CBN_CLOSEUP}));
    EXPECT_EQ(CodeCount(9, 0 /* BN_CLICKED */), 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboBox, APressOnTheButtonWhileDroppedOnlyClosesTheList) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 5);
    ClickButton(combo);
    ClearLog();
    ClickButton(combo);
    EXPECT_FALSE(Dropped(combo));
    EXPECT_EQ(Codes(1), (std::vector<WORD> {CBN_SELENDCANCEL, CBN_CLOSEUP}));
}

TEST_F(ComboBox, F4AndAltDownOpenAndCloseEnterKeepsTheHighlightedItem) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 5);
    SetFocus(combo);
    ClearLog();
    Key(VK_F4);
    EXPECT_TRUE(Dropped(combo));
    Key(VK_F4);
    EXPECT_FALSE(Dropped(combo));
    Key(VK_DOWN, ModAlt);
    EXPECT_TRUE(Dropped(combo));
    const POINT p = ItemPoint(combo, 2);
    MoveTo(ListOf(combo), p.x, p.y);
    Key(VK_RETURN);
    EXPECT_FALSE(Dropped(combo));
    EXPECT_EQ(Sel(combo), 2);
    EXPECT_EQ(Codes(1),
        (std::vector<WORD> {
            CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
}

TEST_F(ComboBox, ArrowKeysChooseAtOnceWhetherDroppedOrNot) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 3);
    SetFocus(combo);
    ClearLog();
    Key(VK_DOWN);
    EXPECT_EQ(Sel(combo), 0);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_DOWN);   // the last already: nothing
    EXPECT_EQ(Sel(combo), 2);
    EXPECT_EQ(Codes(1), (std::vector<WORD> {CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELCHANGE}));
    Key(VK_F4);
    ClearLog();
    Key(VK_UP);
    EXPECT_EQ(Sel(combo), 1);
    Key(VK_ESCAPE);   // the key's choice was made already
    EXPECT_EQ(Sel(combo), 1);
    EXPECT_EQ(Codes(1), (std::vector<WORD> {CBN_SELCHANGE, CBN_SELENDCANCEL, CBN_CLOSEUP}));
}

TEST_F(ComboBox, ATypedCharacterChoosesTheNextItemStartingWithIt) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 0);
    for (const char* text : {"apple", "banana", "blueberry"})
        AddItem(combo, text);
    SetFocus(combo);
    ClearLog();
    Type("b");
    EXPECT_EQ(Sel(combo), 1);
    Type("b");
    EXPECT_EQ(Sel(combo), 2);
    Type("q");
    EXPECT_EQ(Codes(1), (std::vector<WORD> {CBN_SELCHANGE, CBN_SELCHANGE}));
}

TEST_F(ComboBox, TheWheelOnAClosedComboMovesTheChoice) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 3);
    SetFocus(combo);
    SendMessage(combo, CB_SETCURSEL, 1, 0);
    const POINT p = OnScreen(combo, 10, 5);
    Screen->Wheel(p.x, p.y, -WHEEL_DELTA);
    Pump();
    EXPECT_EQ(Sel(combo), 2);
}

TEST_F(ComboBox, LosingTheFocusClosesTheList) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 3);
    SetFocus(combo);
    Key(VK_F4);
    ClearLog();
    SetFocus(Parent);
    EXPECT_FALSE(Dropped(combo));
    EXPECT_EQ(Codes(1), (std::vector<WORD> {CBN_SELENDCANCEL, CBN_CLOSEUP, CBN_KILLFOCUS}));
}

TEST_F(ComboBox, SettingTheTextOfADropDownListChoosesTheSameItem) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 3);
    EXPECT_TRUE(SetWindowText(combo, "ITEM 1"));
    EXPECT_EQ(Sel(combo), 1);
    EXPECT_EQ(Text(combo), "Item 1");
    EXPECT_EQ(SendMessage(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("nothing like it")), CB_ERR);
    EXPECT_EQ(Sel(combo), 1);
    EXPECT_TRUE(Codes(1).empty());
}

TEST_F(ComboBox, ADropDownComboShowsTheChoiceInItsEdit) {
    HWND combo = MakeCombo(CBS_DROPDOWN, 3);
    HWND edit = EditOf(combo);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetDlgCtrlID(edit), ComboEditId);
    SendMessage(combo, CB_SETCURSEL, 2, 0);
    EXPECT_EQ(GetWindowText(edit), "Item 2");
    EXPECT_EQ(Text(combo), "Item 2");
    EXPECT_TRUE(Codes(1).empty());   // no edit change for our own text
    SendMessage(combo, CB_SETCURSEL, WPARAM(-1), 0);
    EXPECT_EQ(Text(combo), "");
}

TEST_F(ComboBox, TypingInTheEditReportsTheChangeAndLeavesNoItemChosen) {
    HWND combo = MakeCombo(CBS_DROPDOWN, 3);
    SendMessage(combo, CB_SETCURSEL, 1, 0);
    SetFocus(combo);
    EXPECT_EQ(GetFocus(), EditOf(combo));
    ClearLog();
    Type("x");
    EXPECT_EQ(Codes(1), (std::vector<WORD> {CBN_EDITUPDATE, CBN_EDITCHANGE}));
    EXPECT_EQ(Text(combo), "x");
    EXPECT_EQ(Sel(combo), -1);
}

TEST_F(ComboBox, TypingWhileDroppedHighlightsTheFirstMatch) {
    HWND combo = MakeCombo(CBS_DROPDOWN, 0);
    for (const char* text : {"alpha", "beta", "gamma"})
        AddItem(combo, text);
    SetFocus(combo);
    Key(VK_F4);
    Type("g");
    EXPECT_EQ(Sel(combo), 2);
    EXPECT_TRUE(Dropped(combo));
}

TEST_F(ComboBox, ArrowKeysInTheEditChooseItems) {
    HWND combo = MakeCombo(CBS_DROPDOWN, 3);
    SetFocus(combo);
    ClearLog();
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(Sel(combo), 1);
    EXPECT_EQ(GetWindowText(EditOf(combo)), "Item 1");
    EXPECT_EQ(Codes(1), (std::vector<WORD> {CBN_SELCHANGE, CBN_SELCHANGE}));
    Key(VK_DOWN, ModAlt);
    EXPECT_TRUE(Dropped(combo));
    EXPECT_EQ(SendMessage(EditOf(combo), WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, DLGC_WANTALLKEYS);
}

TEST_F(ComboBox, ASimpleComboShowsItsListAndReportsChoicesAndDoubleClicks) {
    HWND combo = MakeCombo(CBS_SIMPLE, 5, 150);
    HWND list = ListOf(combo);
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_EQ(GetParent(list), combo);
    ClickAt(list, 20, ItemPoint(combo, 1).y);
    EXPECT_EQ(Sel(combo), 1);
    EXPECT_EQ(Text(combo), "Item 1");
    EXPECT_EQ(GetFocus(), EditOf(combo));
    EXPECT_EQ(CodeCount(1, CBN_SELCHANGE), 1);
    const POINT p = OnScreen(list, 20, ItemPoint(combo, 1).y);
    Advance(1000);
    Screen->DoubleClick(p.x, p.y);
    Pump();
    EXPECT_EQ(CodeCount(1, CBN_DBLCLK), 1);
    Key(VK_F4);
    EXPECT_FALSE(Dropped(combo));
}

TEST_F(ComboBox, AnOwnerDrawnComboMeasuresItsFaceAndItemsAndDrawsThemThroughItsParent) {
    std::vector<MEASUREITEMSTRUCT> measured;
    std::vector<DRAWITEMSTRUCT> drawn;
    RecordOwnerDraw(measured, drawn, [](const MEASUREITEMSTRUCT& mis) { return mis.itemID == UINT(-1) ? 18u : 16u; });
    HWND combo = Make("COMBOBOX", "", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 10, 10, 150, 200, 4);
    ASSERT_EQ(measured.size(), 2u);
    EXPECT_EQ(measured[0].itemID, UINT(-1));
    EXPECT_EQ(measured[0].CtlType, ODT_COMBOBOX);
    EXPECT_EQ(WindowRect(combo).Height(), 18 + 6);
    EXPECT_EQ(SendMessage(combo, CB_GETITEMHEIGHT, 0, 0), 16);
    AddItem(combo, "Red");
    AddItem(combo, "Green");
    SendMessage(combo, CB_SETCURSEL, 1, 0);
    SetFocus(combo);
    drawn.clear();
    Pump();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().itemID, 1u);
    EXPECT_EQ(drawn.back().CtlID, 4u);
    EXPECT_EQ(drawn.back().itemState & (ODS_COMBOBOXEDIT | ODS_SELECTED | ODS_FOCUS),
        ODS_COMBOBOXEDIT | ODS_SELECTED | ODS_FOCUS);
    drawn.clear();
    Key(VK_F4);
    Pump();
    int listItems = 0;
    for (const DRAWITEMSTRUCT& d : drawn)
        if (!(d.itemState & ODS_COMBOBOXEDIT)) {
            ++listItems;
            EXPECT_EQ(d.CtlType, ODT_COMBOBOX);
            EXPECT_EQ(d.CtlID, 4u);
            EXPECT_EQ(d.hwndItem, ListOf(combo));
        }
    EXPECT_EQ(listItems, 2);
}

TEST_F(ComboBox, ItemMessagesGoToTheListAndAnswerLikeIt) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST | CBS_SORT, 0);
    for (const char* text : {"b", "c", "a"})
        AddItem(combo, text);
    EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 3);
    char buffer[8] = {};
    EXPECT_EQ(SendMessage(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 1);
    EXPECT_STREQ(buffer, "a");
    EXPECT_EQ(SendMessage(combo, CB_GETLBTEXT, 5, reinterpret_cast<LPARAM>(buffer)), CB_ERR);
    EXPECT_EQ(SendMessage(combo, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>("C")), 2);
    EXPECT_EQ(SendMessage(combo, CB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>("b")), 1);
    EXPECT_EQ(Text(combo), "b");
    SendMessage(combo, CB_SETITEMDATA, 1, 77);
    EXPECT_EQ(SendMessage(combo, CB_GETITEMDATA, 1, 0), 77);
    EXPECT_EQ(SendMessage(combo, CB_DELETESTRING, 0, 0), 2);
    SendMessage(combo, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(Sel(combo), CB_ERR);
    EXPECT_EQ(SendMessage(combo, CB_LIMITTEXT, 5, 0), CB_ERR);   // no edit
    EXPECT_EQ(SendMessage(combo, CB_SETITEMHEIGHT, 0, 0), CB_ERR);
}

TEST_F(ComboBox, DestroyingTheComboTakesItsListAlong) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 3);
    HWND list = ListOf(combo);
    SendMessage(combo, CB_SHOWDROPDOWN, 1, 0);
    DestroyWindow(combo);
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboBox, AListGoingBeforeItsComboLeavesTheComboWithoutOne) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 3);
    SendMessage(combo, CB_SHOWDROPDOWN, 1, 0);
    DestroyWindow(ListOf(combo));
    EXPECT_FALSE(Dropped(combo));
    EXPECT_EQ(ListOf(combo), nullptr);
    EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), CB_ERR);
    SendMessage(combo, CB_SHOWDROPDOWN, 1, 0);
    Key(VK_DOWN);
    EXPECT_FALSE(Dropped(combo));
}

TEST_F(ComboBox, AComboDestroyedByItsOwnNotificationIsLeftAlone) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 3);
    SetHandler(Parent, [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_COMMAND && HIWORD(wParam) == CBN_SELENDOK) DestroyWindow(combo);
        return std::nullopt;
    });
    ClickButton(combo);
    const POINT p = ItemPoint(combo, 1);
    ClickAt(ListOf(combo), p.x, p.y);
    EXPECT_FALSE(IsWindow(combo));
}

TEST_F(ComboBox, TurningRedrawOffKeepsItVisibleToTheMouseAndDrawsAgainWhenOn) {
    HWND combo = MakeCombo(CBS_DROPDOWNLIST, 3);
    SendMessage(combo, CB_SETCURSEL, 0, 0);
    Pump();
    const COLORREF unfocused = ClientPixel(combo, 4, 4);
    SendMessage(combo, WM_SETREDRAW, 0, 0);
    EXPECT_TRUE(IsWindowVisible(combo));
    EXPECT_EQ(WindowFromPoint(OnScreen(combo, 20, 5)), combo);
    // Items change unseen; a click still drops the list (and focuses the combo).
    SendMessage(combo, CB_RESETCONTENT, 0, 0);
    AddItem(combo, "Other");
    SendMessage(combo, CB_SETCURSEL, 0, 0);
    ClickButton(combo);
    EXPECT_TRUE(Dropped(combo));
    Key(VK_ESCAPE);
    EXPECT_EQ(GetFocus(), combo);
    EXPECT_EQ(ClientPixel(combo, 4, 4), unfocused);   // the focused face is not drawn yet
    SendMessage(combo, WM_SETREDRAW, 1, 0);
    Pump();
    EXPECT_EQ(ClientPixel(combo, 4, 4), gdi::GetSysColor(gdi::COLOR_HIGHLIGHT));
    EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 1);
}

}

}

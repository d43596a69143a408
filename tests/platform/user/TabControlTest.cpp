// Tests of the tab control: selection by mouse and keys with its veto, tab rectangles by side, rows, the scroller.
#include "support/UserTestSupport.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/Focus.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/TabControl.h"
#include "platform/user/controls/UpDown.h"

#include <string>
#include <vector>

using namespace korvex::user;
using namespace korvex::user::test;
namespace gdi = korvex::gdi;

namespace {

class TabControlTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        RegisterCommonControlClasses();
        Parent = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 500, 400);
        SetHandler(Parent, [this](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg == WM_NOTIFY) {
                auto* hdr = reinterpret_cast<NMHDR*>(lParam);
                if (hdr->code == TCN_SELCHANGING || hdr->code == TCN_SELCHANGE) {
                    Events.push_back({hdr->code, int(SendMessage(hdr->hwndFrom, TCM_GETCURSEL, 0, 0))});
                    return hdr->code == TCN_SELCHANGING && Veto ? 1 : 0;
                }
                if (hdr->code == TCN_KEYDOWN) KeyDowns.push_back(reinterpret_cast<NMTCKEYDOWN*>(lParam)->wVKey);
                return 0;
            }
            if (msg == WM_DRAWITEM) {
                Drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
                return 1;
            }
            return std::nullopt;
        });
    }

    HWND Make(DWORD style, std::vector<std::string> captions, int width = 300, int height = 200) {
        HWND tabs = CreateWindowEx(0, WC_TABCONTROL, "", WS_CHILD | WS_VISIBLE | style, 10, 10, width, height, Parent,
            ChildId(21), nullptr, nullptr);
        for (size_t i = 0; i < captions.size(); ++i) {
            TCITEM item;
            item.mask = TCIF_TEXT | TCIF_PARAM;
            item.pszText = captions[i].data();
            item.lParam = LPARAM(100 + i);
            SendMessage(tabs, TCM_INSERTITEM, i, reinterpret_cast<LPARAM>(&item));
        }
        Pump();
        Events.clear();
        return tabs;
    }

    RECT ItemRect(HWND tabs, int index) {
        RECT r {};
        EXPECT_TRUE(SendMessage(tabs, TCM_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r)));
        return r;
    }

    void ClickTab(HWND tabs, int index) {
        RECT r = ItemRect(tabs, index);
        POINT p {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(tabs, &p);
        Screen->Click(p.x, p.y);
        Pump();
    }

    int Cur(HWND tabs) { return int(SendMessage(tabs, TCM_GETCURSEL, 0, 0)); }

    RECT Display(HWND tabs) {
        RECT r = ClientRect(tabs);
        SendMessage(tabs, TCM_ADJUSTRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }

    HWND Parent = nullptr;
    std::vector<std::pair<UINT, int>> Events;
    std::vector<WORD> KeyDowns;
    std::vector<DRAWITEMSTRUCT> Drawn;
    bool Veto = false;
};

using EventList = std::vector<std::pair<UINT, int>>;

TEST_F(TabControlTest, TheFirstTabInsertedIsSelected) {
    HWND tabs = Make(0, {"Node control", "Interface control", "Update control"});
    EXPECT_EQ(SendMessage(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(Cur(tabs), 0);
}

TEST_F(TabControlTest, ClickingATabSelectsItWithNotificationsAroundTheChange) {
    HWND tabs = Make(0, {"One", "Two", "Three"});
    ClickTab(tabs, 2);
    EXPECT_EQ(Cur(tabs), 2);
    EXPECT_EQ(Events, (EventList {{TCN_SELCHANGING, 0}, {TCN_SELCHANGE, 2}}));
    EXPECT_EQ(GetFocus(), tabs);
    Events.clear();
    ClickTab(tabs, 2);   // the selected tab again: nothing
    EXPECT_TRUE(Events.empty());
}

TEST_F(TabControlTest, AVetoKeepsTheSelectedTab) {
    HWND tabs = Make(0, {"One", "Two"});
    Veto = true;
    ClickTab(tabs, 1);
    EXPECT_EQ(Cur(tabs), 0);
    EXPECT_EQ(Events, (EventList {{TCN_SELCHANGING, 0}}));
    SendMessage(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(Cur(tabs), 0);
}

TEST_F(TabControlTest, ArrowHomeAndEndKeysMoveTheSelection) {
    HWND tabs = Make(0, {"One", "Two", "Three", "Four"});
    SetFocus(tabs);
    Screen->Press(VK_RIGHT);
    Pump();
    EXPECT_EQ(Cur(tabs), 1);
    Screen->Press(VK_END);
    Pump();
    EXPECT_EQ(Cur(tabs), 3);
    Screen->Press(VK_RIGHT);   // already the last: no change, no notification
    Pump();
    EXPECT_EQ(Cur(tabs), 3);
    Screen->Press(VK_HOME);
    Pump();
    EXPECT_EQ(Cur(tabs), 0);
    EXPECT_EQ(Events.size(), 6u);
    EXPECT_EQ(KeyDowns.front(), VK_RIGHT);
}

TEST_F(TabControlTest, SetCurSelChangesQuietly) {
    HWND tabs = Make(0, {"One", "Two"});
    EXPECT_EQ(SendMessage(tabs, TCM_SETCURSEL, 1, 0), 0);
    EXPECT_EQ(Cur(tabs), 1);
    EXPECT_EQ(SendMessage(tabs, TCM_SETCURSEL, 7, 0), -1);
    EXPECT_EQ(Cur(tabs), 1);
    EXPECT_TRUE(Events.empty());
    SendMessage(tabs, TCM_SETCURFOCUS, 0, 0);
    EXPECT_EQ(Events.size(), 2u);
}

TEST_F(TabControlTest, ItemsKeepTheirTextAndDataAndTheSelectionFollowsInserts) {
    HWND tabs = Make(0, {"One", "Two"});
    SendMessage(tabs, TCM_SETCURSEL, 1, 0);
    TCITEM item;
    char zero[] = "Zero";
    item.mask = TCIF_TEXT;
    item.pszText = zero;
    EXPECT_EQ(SendMessage(tabs, TCM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);
    EXPECT_EQ(Cur(tabs), 2);
    char buffer[3];
    TCITEM read;
    read.mask = TCIF_TEXT | TCIF_PARAM;
    read.pszText = buffer;
    read.cchTextMax = sizeof buffer;
    ASSERT_TRUE(SendMessage(tabs, TCM_GETITEM, 2, reinterpret_cast<LPARAM>(&read)));
    EXPECT_STREQ(buffer, "Tw");
    EXPECT_EQ(read.lParam, 101);
    EXPECT_FALSE(SendMessage(tabs, TCM_GETITEM, 3, reinterpret_cast<LPARAM>(&read)));
    EXPECT_EQ(SendMessage(tabs, TCM_INSERTITEM, WPARAM(-1), reinterpret_cast<LPARAM>(&item)), -1);
    EXPECT_EQ(SendMessage(tabs, TCM_INSERTITEM, 99, reinterpret_cast<LPARAM>(&item)), 3);
    EXPECT_TRUE(SendMessage(tabs, TCM_DELETEITEM, 2, 0));
    EXPECT_EQ(Cur(tabs), -1);
    SendMessage(tabs, TCM_DELETEALLITEMS, 0, 0);
    EXPECT_EQ(SendMessage(tabs, TCM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(TabControlTest, TopTabsRunAlongTheTopAboveThePage) {
    HWND tabs = Make(0, {"One", "Two"});
    RECT a = ItemRect(tabs, 0), b = ItemRect(tabs, 1);
    EXPECT_EQ(a.top, 2);
    EXPECT_EQ(a.left, 2);
    EXPECT_EQ(b.left, a.right);
    EXPECT_EQ(b.top, a.top);
    EXPECT_GT(a.bottom - a.top, 12);
    RECT page = Display(tabs);
    EXPECT_EQ(page.top, a.bottom + 4);
    EXPECT_EQ(page.left, 4);
    EXPECT_EQ(page.right, 296);
    EXPECT_EQ(page.bottom, 196);
}

TEST_F(TabControlTest, BottomTabsRunAlongTheBottomBelowThePage) {
    HWND tabs = Make(TCS_BOTTOM, {"One", "Two"});
    RECT a = ItemRect(tabs, 0);
    EXPECT_EQ(a.bottom, 198);
    EXPECT_EQ(a.left, 2);
    RECT page = Display(tabs);
    EXPECT_EQ(page.top, 4);
    EXPECT_EQ(page.bottom, a.top - 4);
}

TEST_F(TabControlTest, LeftTabsStandDownTheLeftSide) {
    HWND tabs = Make(TCS_VERTICAL, {"One", "Two"});
    RECT a = ItemRect(tabs, 0), b = ItemRect(tabs, 1);
    EXPECT_EQ(a.left, 2);
    EXPECT_EQ(a.top, 2);
    EXPECT_EQ(b.top, a.bottom);
    EXPECT_EQ(b.left, a.left);
    EXPECT_GT(a.bottom - a.top, a.right - a.left);   // as long as the caption, as thick as a row
    EXPECT_EQ(Display(tabs).left, a.right + 4);
}

TEST_F(TabControlTest, RightTabsStandDownTheRightSide) {
    HWND tabs = Make(TCS_VERTICAL | TCS_RIGHT, {"One", "Two"});
    RECT a = ItemRect(tabs, 0);
    EXPECT_EQ(a.right, 298);
    EXPECT_EQ(Display(tabs).right, a.left - 4);
}

TEST_F(TabControlTest, AdjustRectGoesBothWays) {
    for (DWORD style : {DWORD(0), TCS_BOTTOM, TCS_VERTICAL, TCS_VERTICAL | TCS_RIGHT, TCS_BUTTONS}) {
        HWND tabs = Make(style, {"One", "Two"});
        RECT page = Display(tabs);
        SendMessage(tabs, TCM_ADJUSTRECT, 1, reinterpret_cast<LPARAM>(&page));
        EXPECT_EQ(page, ClientRect(tabs)) << style;
        DestroyWindow(tabs);
    }
}

TEST_F(TabControlTest, FixedItemSizeSetsWidthAndHeight) {
    HWND tabs = Make(TCS_FIXEDWIDTH, {"One", "A much longer caption"});
    SendMessage(tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(70, 25));
    EXPECT_EQ(ItemRect(tabs, 0).right - ItemRect(tabs, 0).left, 70);
    EXPECT_EQ(ItemRect(tabs, 1).right - ItemRect(tabs, 1).left, 70);
    EXPECT_EQ(ItemRect(tabs, 1).bottom - ItemRect(tabs, 1).top, 25);
}

TEST_F(TabControlTest, OverflowingSingleLineTabsGetAScrollerThatScrollsThem) {
    std::vector<std::string> captions;
    for (int i = 0; i < 12; ++i)
        captions.push_back("Page number " + std::to_string(i));
    HWND tabs = Make(0, captions);
    EXPECT_EQ(SendMessage(tabs, TCM_GETROWCOUNT, 0, 0), 1);
    HWND scroller = GetDlgItem(tabs, TabScrollerId);
    ASSERT_NE(scroller, nullptr);
    EXPECT_EQ(GetClassName(scroller), "msctls_updown32");
    RECT s = WindowRect(scroller);
    MapWindowRect(nullptr, tabs, &s);
    EXPECT_EQ(s.right, 300);
    EXPECT_LT(s.top, ItemRect(tabs, 0).bottom);
    int firstLeft = ItemRect(tabs, 0).left;
    // The scroller's right arrow brings the next tab to the front.
    POINT right {s.right - s.left - 3, 3};
    ClientToScreen(scroller, &right);
    Screen->Click(right.x, right.y);
    Pump();
    EXPECT_LT(ItemRect(tabs, 0).left, 0);
    EXPECT_EQ(ItemRect(tabs, 1).left, firstLeft);
    EXPECT_EQ(Cur(tabs), 0);   // scrolling does not select
    // A tab scrolled away is not hit.
    TCHITTESTINFO hit;
    hit.pt = POINT {1, ItemRect(tabs, 0).top + 3};
    EXPECT_EQ(SendMessage(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    EXPECT_EQ(hit.flags, TCHT_NOWHERE);
}

TEST_F(TabControlTest, SelectingAHiddenTabByKeyScrollsItIntoView) {
    std::vector<std::string> captions;
    for (int i = 0; i < 12; ++i)
        captions.push_back("Page number " + std::to_string(i));
    HWND tabs = Make(0, captions);
    SendMessage(tabs, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(Cur(tabs), 11);
    RECT last = ItemRect(tabs, 11);
    RECT s = WindowRect(GetDlgItem(tabs, TabScrollerId));
    MapWindowRect(nullptr, tabs, &s);
    EXPECT_LE(last.right, s.left);
    EXPECT_GE(last.left, 0);
}

TEST_F(TabControlTest, AScrollerDestroyedByAnotherStaysAwayAndItsCornerStillScrolls) {
    std::vector<std::string> captions;
    for (int i = 0; i < 12; ++i)
        captions.push_back("Page number " + std::to_string(i));
    HWND tabs = Make(0, captions);
    HWND scroller = GetDlgItem(tabs, TabScrollerId);
    ASSERT_NE(scroller, nullptr);
    RECT corner = WindowRect(scroller);
    MapWindowRect(nullptr, tabs, &corner);
    DestroyWindow(scroller);
    // Relayouts of every kind: a selection, a resize, a new tab, a font.
    SendMessage(tabs, TCM_SETCURSEL, 5, 0);
    SetWindowPos(tabs, nullptr, 0, 0, 280, 200, SWP_NOMOVE | SWP_NOZORDER);
    TCITEM item;
    item.mask = TCIF_TEXT;
    std::string text = "Another page";
    item.pszText = text.data();
    SendMessage(tabs, TCM_INSERTITEM, 12, reinterpret_cast<LPARAM>(&item));
    SendMessage(tabs, WM_SETFONT, 0, 0);
    Pump();
    EXPECT_EQ(GetDlgItem(tabs, TabScrollerId), nullptr);
    // The corner stays reserved: no tab is hit there, and scrolling by message still works.
    TCHITTESTINFO hit;
    hit.pt = POINT {279 - 3, (corner.top + corner.bottom) / 2};
    EXPECT_EQ(SendMessage(tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    SendMessage(tabs, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), 0);
    EXPECT_LT(ItemRect(tabs, 1).left, 0);
    // Selecting the last tab still brings it into view.
    SendMessage(tabs, WM_KEYDOWN, VK_END, 0);
    EXPECT_LE(ItemRect(tabs, 12).right, 280 - 2 * GetSystemMetrics(SM_CXHSCROLL));
}

TEST_F(TabControlTest, TabsThatFitNeedNoScroller) {
    HWND tabs = Make(0, {"One", "Two"});
    EXPECT_EQ(GetDlgItem(tabs, TabScrollerId), nullptr);
}

TEST_F(TabControlTest, MultiLineTabsWrapAndTheSelectedRowMovesNextToThePage) {
    std::vector<std::string> captions;
    for (int i = 0; i < 8; ++i)
        captions.push_back("Caption " + std::to_string(i));
    HWND tabs = Make(TCS_MULTILINE, captions);
    int rows = int(SendMessage(tabs, TCM_GETROWCOUNT, 0, 0));
    ASSERT_GE(rows, 2);
    EXPECT_EQ(GetDlgItem(tabs, TabScrollerId), nullptr);
    int pageTop = Display(tabs).top;
    EXPECT_EQ(ItemRect(tabs, 0).bottom + 4, pageTop);   // the selected tab's row is next to the page
    SendMessage(tabs, TCM_SETCURSEL, 7, 0);
    EXPECT_EQ(ItemRect(tabs, 7).bottom + 4, pageTop);
    EXPECT_LT(ItemRect(tabs, 0).bottom + 4, pageTop);
    // Rows are stretched to the full width.
    int last = 0;
    for (int i = 0; i < 8; ++i)
        if (ItemRect(tabs, i).top == ItemRect(tabs, 0).top) last = std::max(last, int(ItemRect(tabs, i).right));
    EXPECT_EQ(last, 298);
}

TEST_F(TabControlTest, HotTrackingFollowsTheMouse) {
    HWND tabs = Make(TCS_HOTTRACK, {"One", "Two"});
    RECT r = ItemRect(tabs, 1);
    POINT p {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(tabs, &p);
    Screen->MoveMouse(p.x, p.y);
    Pump();
    // The hot caption is drawn in the hot-light colour.
    bool hotInk = false;
    for (int x = r.left; x < r.right; ++x)
        for (int y = r.top; y < r.bottom; ++y)
            hotInk = hotInk || StorePixel(tabs, x, y) == gdi::GetSysColor(gdi::COLOR_HOTLIGHT);
    EXPECT_TRUE(hotInk);
}

TEST_F(TabControlTest, OwnerDrawnTabsAskTheParentForEachTab) {
    HWND tabs = Make(TCS_OWNERDRAWFIXED, {"One", "Two"});
    Drawn.clear();
    InvalidateRect(tabs, nullptr, true);
    UpdateWindow(tabs);
    ASSERT_EQ(Drawn.size(), 2u);
    EXPECT_EQ(Drawn[0].CtlType, ODT_TAB);
    EXPECT_EQ(Drawn[0].itemID, 1u);   // the selected tab is drawn last
    EXPECT_EQ(Drawn[1].itemID, 0u);
    EXPECT_EQ(Drawn[1].itemState & ODS_SELECTED, ODS_SELECTED);
    EXPECT_EQ(Drawn[1].itemData, 100u);
}

TEST_F(TabControlTest, ButtonsHaveNoFrameAndDoNotMoveRows) {
    HWND tabs = Make(TCS_BUTTONS, {"One", "Two"});
    RECT a = ItemRect(tabs, 0), b = ItemRect(tabs, 1);
    EXPECT_EQ(b.left, a.right + 3);
    EXPECT_EQ(Display(tabs).left, 0);
    ClickTab(tabs, 1);
    EXPECT_EQ(Cur(tabs), 1);
    EXPECT_EQ(ItemRect(tabs, 1), b);
}

TEST_F(TabControlTest, TheSelectedTopTabCoversTheFrameEdgeUnderIt) {
    HWND tabs = Make(0, {"One", "Two"});
    Pump();
    RECT selected = ItemRect(tabs, 0), other = ItemRect(tabs, 1);
    int frameTop = selected.bottom;
    COLORREF face = gdi::GetSysColor(gdi::COLOR_BTNFACE);
    EXPECT_EQ(StorePixel(tabs, (selected.left + selected.right) / 2, frameTop + 1), face);
    EXPECT_NE(StorePixel(tabs, (other.left + other.right) / 2, frameTop + 1), face);
}

}

// Tests of the list view: report columns resized through the header, owner data fetching only what shows,
// sorting, multiple selection by mouse and keys, label editing, hot tracking, scroll info, the four views.
#include "support/ControlTestSupport.h"

#include "platform/user/Focus.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/Header.h"
#include "platform/user/controls/ListView.h"

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

using namespace korvex::user;
using namespace korvex::user::test;

namespace {

class ListViewTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        RegisterCommonControlClasses();
        SetHandler(Parent, [this](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg != WM_NOTIFY) return std::nullopt;
            return OnNotify(reinterpret_cast<NMHDR*>(lParam));
        });
    }

    LRESULT OnNotify(NMHDR* hdr) {
        Codes.push_back(hdr->code);
        switch (hdr->code) {
        case LVN_GETDISPINFO: {
            auto* info = reinterpret_cast<NMLVDISPINFO*>(hdr);
            Fetched.insert(info->item.iItem);
            if (info->item.mask & LVIF_TEXT) {
                const std::string text = "row " + std::to_string(info->item.iItem) + "." + std::to_string(info->item.iSubItem);
                std::strncpy(info->item.pszText, text.c_str(), size_t(info->item.cchTextMax - 1));
            }
            return 0;
        }
        case LVN_ODCACHEHINT: {
            auto* hint = reinterpret_cast<NMLVCACHEHINT*>(hdr);
            Hints.push_back({hint->iFrom, hint->iTo});
            return 0;
        }
        case LVN_ITEMCHANGED: {
            auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
            if ((nm->uNewState ^ nm->uOldState) & LVIS_SELECTED) SelectionChanges.push_back(nm->iItem);
            return 0;
        }
        case LVN_COLUMNCLICK:
            ColumnClicks.push_back(reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem);
            return 0;
        case LVN_ENDLABELEDIT: {
            auto* info = reinterpret_cast<NMLVDISPINFO*>(hdr);
            EditedText = info->item.pszText ? info->item.pszText : "<cancelled>";
            return AcceptEdit ? 1 : 0;
        }
        case LVN_HOTTRACK:
            return RefuseHot ? 1 : 0;
        default:
            return 0;
        }
    }

    HWND MakeList(DWORD style, int width = 300, int height = 200) {
        return Make(WC_LISTVIEW, "", style | WS_BORDER, 10, 10, width, height, 6);
    }

    void AddColumn(HWND list, const char* text, int width, int fmt = LVCFMT_LEFT) {
        LVCOLUMN column;
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = const_cast<char*>(text);
        column.cx = width;
        column.fmt = fmt;
        SendMessage(list, LVM_INSERTCOLUMN, 100, reinterpret_cast<LPARAM>(&column));
    }

    int AddItem(HWND list, const std::string& text, LPARAM param = 0, int at = 1000) {
        LVITEM item;
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = at;
        item.pszText = const_cast<char*>(text.c_str());
        item.lParam = param;
        return int(SendMessage(list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)));
    }

    void SetSubItem(HWND list, int index, int sub, const std::string& text) {
        LVITEM item;
        item.iSubItem = sub;
        item.pszText = const_cast<char*>(text.c_str());
        SendMessage(list, LVM_SETITEMTEXT, WPARAM(index), reinterpret_cast<LPARAM>(&item));
    }

    std::string Text(HWND list, int index, int sub = 0) {
        char buffer[64] {};
        LVITEM item;
        item.iSubItem = sub;
        item.pszText = buffer;
        item.cchTextMax = sizeof buffer;
        SendMessage(list, LVM_GETITEMTEXT, WPARAM(index), reinterpret_cast<LPARAM>(&item));
        return buffer;
    }

    RECT Part(HWND list, int index, int part) {
        RECT r {part, 0, 0, 0};
        EXPECT_TRUE(SendMessage(list, LVM_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r)));
        return r;
    }

    std::vector<int> Selected(HWND list) {
        std::vector<int> out;
        for (int i = -1; (i = int(SendMessage(list, LVM_GETNEXTITEM, WPARAM(i), LVNI_SELECTED))) >= 0;)
            out.push_back(i);
        return out;
    }

    void ClickItem(HWND list, int index, unsigned modifiers = 0) {
        const RECT r = Part(list, index, LVIR_LABEL);
        const POINT p = OnScreen(list, r.left + 3, (r.top + r.bottom) / 2);
        Advance(1000);   // never a double click
        Screen->Click(p.x, p.y, MouseButton::Left, modifiers);
        Pump();
    }

    HWND ReportWithNames(int rows) {
        HWND list = MakeList(LVS_REPORT | LVS_SHOWSELALWAYS);
        AddColumn(list, "Name", 100);
        AddColumn(list, "Size", 60, LVCFMT_RIGHT);
        for (int i = 0; i < rows; ++i) {
            AddItem(list, "item " + std::to_string(i), i);
            SetSubItem(list, i, 1, std::to_string(i * 10));
        }
        Pump();
        return list;
    }

    std::vector<UINT> Codes;
    std::set<int> Fetched;
    std::vector<std::pair<int, int>> Hints;
    std::vector<int> SelectionChanges;
    std::vector<int> ColumnClicks;
    std::string EditedText;
    bool AcceptEdit = true;
    bool RefuseHot = false;
};

TEST_F(ListViewTest, ReportColumnsFollowTheHeaderWhenItsDividerIsDragged) {
    HWND list = ReportWithNames(3);
    HWND header = reinterpret_cast<HWND>(SendMessage(list, LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    EXPECT_TRUE(IsWindowVisible(header));
    RECT cell {0, 1, 0, 0};   // top: the sub-item
    SendMessage(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    EXPECT_EQ(cell.left, 100);
    // Drag the divider after "Name" 40 pixels right, by the header's own mouse handling.
    PressAt(header, 100, 5);
    MoveTo(header, 120, 5);
    ReleaseAt(header, 140, 5);
    EXPECT_EQ(SendMessage(list, LVM_GETCOLUMNWIDTH, 0, 0), 140);
    cell = RECT {0, 1, 0, 0};
    SendMessage(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    EXPECT_EQ(cell.left, 140);
    // The item rows start below the header.
    EXPECT_GE(Part(list, 0, LVIR_BOUNDS).top, WindowRect(header).bottom - WindowRect(header).top);
    Advance(1000);
    ClickAt(header, 170, 5);
    EXPECT_EQ(ColumnClicks, std::vector<int> {1});
}

TEST_F(ListViewTest, OwnerDataAsksOnlyForTheRowsThatShowAndHintsTheirRange) {
    HWND list = MakeList(LVS_REPORT | LVS_OWNERDATA);
    AddColumn(list, "Name", 120);
    AddColumn(list, "Type", 80);
    SendMessage(list, LVM_SETITEMCOUNT, 20000, 0);
    Pump();
    const int page = int(SendMessage(list, LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_GT(page, 3);
    ASSERT_FALSE(Fetched.empty());
    EXPECT_EQ(*Fetched.begin(), 0);
    EXPECT_LE(*Fetched.rbegin(), page);   // the whole rows and the one cut at the bottom
    ASSERT_FALSE(Hints.empty());
    EXPECT_EQ(Hints.back().first, 0);
    EXPECT_EQ(Text(list, 123, 1), "row 123.1");
    Fetched.clear();
    Hints.clear();
    SendMessage(list, LVM_ENSUREVISIBLE, 15000, 0);
    Pump();
    ASSERT_FALSE(Fetched.empty());
    EXPECT_GE(*Fetched.begin(), 15000 - page);
    EXPECT_LE(*Fetched.rbegin(), 15000 + 1);   // the row cut at the bottom may show
    ASSERT_EQ(Hints.size(), 1u);
    EXPECT_GE(Hints[0].second, 15000);
    EXPECT_LE(Hints[0].second, 15001);
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &info));
    EXPECT_EQ(info.nMax, 19999);
    EXPECT_EQ(int(info.nPage), page);
    EXPECT_EQ(info.nPos, 15000 - page + 1);
}

TEST_F(ListViewTest, OwnerDataKeepsSelectionAndShrinkingDropsWhatWentAway) {
    HWND list = MakeList(LVS_REPORT | LVS_OWNERDATA);
    AddColumn(list, "Name", 120);
    SendMessage(list, LVM_SETITEMCOUNT, 50, 0);
    Pump();
    ClickItem(list, 2);
    ClickItem(list, 4, ModShift);
    EXPECT_EQ(Selected(list), (std::vector<int> {2, 3, 4}));
    SendMessage(list, LVM_SETITEMCOUNT, 3, 0);
    EXPECT_EQ(Selected(list), (std::vector<int> {2}));
    EXPECT_EQ(SendMessage(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED), -1);
}

int CompareByParamDescending(LPARAM a, LPARAM b, LPARAM) {
    return a > b ? -1 : a < b ? 1 : 0;
}

TEST_F(ListViewTest, SortItemsOrdersByTheCallbackAndTheFocusFollowsItsItem) {
    HWND list = ReportWithNames(5);
    ClickItem(list, 1);
    ASSERT_TRUE(SendMessage(list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(CompareByParamDescending)));
    EXPECT_EQ(Text(list, 0), "item 4");
    EXPECT_EQ(Text(list, 0, 1), "40");   // sub-items travel with their item
    EXPECT_EQ(Text(list, 4), "item 0");
    EXPECT_EQ(SendMessage(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED), 3);
    EXPECT_EQ(Selected(list), std::vector<int> {3});
    // Sorted styles insert in order.
    HWND sorted = Make(WC_LISTVIEW, "", LVS_LIST | LVS_SORTASCENDING, 10, 220, 200, 60, 9);
    for (const char* name : {"pear", "apple", "plum", "fig"})
        AddItem(sorted, name);
    EXPECT_EQ(Text(sorted, 0), "apple");
    EXPECT_EQ(Text(sorted, 3), "plum");
}

TEST_F(ListViewTest, CtrlAndShiftClicksBuildAMultipleSelection) {
    HWND list = ReportWithNames(8);
    ClickItem(list, 1);
    ClickItem(list, 3, ModControl);
    EXPECT_EQ(Selected(list), (std::vector<int> {1, 3}));
    ClickItem(list, 6, ModShift);   // from the anchor (3)
    EXPECT_EQ(Selected(list), (std::vector<int> {3, 4, 5, 6}));
    ClickItem(list, 4, ModControl);   // toggles off
    EXPECT_EQ(Selected(list), (std::vector<int> {3, 5, 6}));
    SelectionChanges.clear();
    ClickItem(list, 0);
    EXPECT_EQ(Selected(list), std::vector<int> {0});
    EXPECT_EQ(SelectionChanges.size(), 4u);   // three lost, one gained
    EXPECT_EQ(SendMessage(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
}

TEST_F(ListViewTest, KeysMoveAndExtendTheSelection) {
    HWND list = ReportWithNames(30);
    ClickItem(list, 2);
    Key(VK_DOWN);
    EXPECT_EQ(Selected(list), std::vector<int> {3});
    Key(VK_DOWN, ModShift);
    Key(VK_DOWN, ModShift);
    EXPECT_EQ(Selected(list), (std::vector<int> {3, 4, 5}));
    Key(VK_END);
    EXPECT_EQ(Selected(list), std::vector<int> {29});
    EXPECT_GT(SendMessage(list, LVM_GETTOPINDEX, 0, 0), 0);   // scrolled to show it
    Key('A', ModControl);
    EXPECT_EQ(SendMessage(list, LVM_GETSELECTEDCOUNT, 0, 0), 30);
    HWND single = Make(WC_LISTVIEW, "", LVS_LIST | LVS_SINGLESEL, 10, 220, 200, 60, 9);
    for (const char* name : {"a", "b", "c"})
        AddItem(single, name);
    ClickItem(single, 0);
    ClickItem(single, 2, ModShift);
    EXPECT_EQ(Selected(single), std::vector<int> {2});
}

TEST_F(ListViewTest, TypingFindsAnItemByItsFirstLettersAndWraps) {
    HWND list = MakeList(LVS_REPORT);
    AddColumn(list, "Name", 120);
    for (const char* name : {"alpha", "beta", "gamma", "bravo", "zulu"})
        AddItem(list, name);
    SetFocus(list);
    Type("z");
    EXPECT_EQ(Selected(list), std::vector<int> {4});
    Advance(2000);   // a pause starts a new search
    Type("br");
    EXPECT_EQ(Selected(list), std::vector<int> {3});   // wrapped past the end, then narrowed
}

TEST_F(ListViewTest, LabelEditingIsAcceptedOrRefusedByTheParent) {
    HWND list = MakeList(LVS_REPORT | LVS_EDITLABELS);
    AddColumn(list, "Name", 120);
    AddItem(list, "notes.txt");
    ClickItem(list, 0);
    Key(VK_F2);
    HWND edit = reinterpret_cast<HWND>(SendMessage(list, LVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    Type("todo.txt");
    Key(VK_RETURN);
    EXPECT_EQ(EditedText, "todo.txt");
    EXPECT_EQ(Text(list, 0), "todo.txt");
    AcceptEdit = false;
    SendMessage(list, LVM_EDITLABEL, 0, 0);
    Type("other");
    Key(VK_RETURN);
    EXPECT_EQ(Text(list, 0), "todo.txt");
    // A second click on the selected label edits after the double-click time.
    AcceptEdit = true;
    ClickItem(list, 0);
    Advance(1000);
    edit = reinterpret_cast<HWND>(SendMessage(list, LVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    Key(VK_ESCAPE);
    EXPECT_EQ(EditedText, "<cancelled>");
}

TEST_F(ListViewTest, HotTrackingFollowsThePointerUnlessRefused) {
    HWND list = ReportWithNames(4);
    SendMessage(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_TRACKSELECT, LVS_EX_TRACKSELECT);
    const RECT r = Part(list, 2, LVIR_LABEL);
    MoveTo(list, r.left + 3, r.top + 2);
    EXPECT_EQ(SendMessage(list, LVM_GETHOTITEM, 0, 0), 2);
    RefuseHot = true;
    const RECT r1 = Part(list, 1, LVIR_LABEL);
    MoveTo(list, r1.left + 3, r1.top + 2);
    EXPECT_EQ(SendMessage(list, LVM_GETHOTITEM, 0, 0), 2);
    RefuseHot = false;
    MoveTo(Parent, 390, 290);   // out of the list
    EXPECT_EQ(SendMessage(list, LVM_GETHOTITEM, 0, 0), -1);
}

TEST_F(ListViewTest, ScrollInfoByViewForHostsThatLayTheirOwnBars) {
    struct Case {
        DWORD View;
        int Bar;   // the bar that scrolls this view
        int OtherBar;
    };
    for (const Case& c : {Case {LVS_REPORT, SB_VERT, SB_HORZ}, Case {LVS_LIST, SB_HORZ, SB_VERT},
             Case {LVS_ICON, SB_VERT, SB_HORZ}, Case {LVS_SMALLICON, SB_VERT, SB_HORZ}}) {
        HWND list = MakeList(c.View, 200, 120);
        AddColumn(list, "Name", 100);
        for (int i = 0; i < 60; ++i)
            AddItem(list, "entry " + std::to_string(i));
        Pump();
        SCROLLINFO info;
        info.fMask = SIF_ALL;
        ASSERT_TRUE(GetScrollInfo(list, c.Bar, &info)) << c.View;
        EXPECT_GT(info.nMax - info.nMin, int(info.nPage) - 1) << c.View;
        SCROLLINFO other;
        other.fMask = SIF_ALL;
        if (GetScrollInfo(list, c.OtherBar, &other)) {
            EXPECT_LE(other.nMax - other.nMin, int(other.nPage) - 1) << c.View;
        }
        // LVM_SCROLL moves what the bar shows.
        SendMessage(list, LVM_SCROLL, c.Bar == SB_HORZ ? 150 : 0, c.Bar == SB_VERT ? 60 : 0);
        GetScrollInfo(list, c.Bar, &info);
        EXPECT_GT(info.nPos, 0) << c.View;
        DestroyWindow(list);
    }
    // A report view without items still scrolls sideways when its columns are wider than it.
    HWND empty = MakeList(LVS_REPORT, 200, 120);
    AddColumn(empty, "Name", 180);
    AddColumn(empty, "Size", 120);
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(empty, SB_HORZ, &info));
    EXPECT_EQ(info.nMax, 299);
    EXPECT_LT(int(info.nPage), 300);
}

TEST_F(ListViewTest, DeletingItemsMovesTheFocusIndexDown) {
    HWND list = ReportWithNames(5);
    ClickItem(list, 3);
    ASSERT_TRUE(SendMessage(list, LVM_DELETEITEM, 1, 0));
    EXPECT_EQ(SendMessage(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED), 2);
    EXPECT_EQ(Text(list, 2), "item 3");
    EXPECT_FALSE(SendMessage(list, LVM_DELETEITEM, 10, 0));
    ASSERT_TRUE(SendMessage(list, LVM_DELETEALLITEMS, 0, 0));
    EXPECT_EQ(SendMessage(list, LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessage(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED), -1);
}

TEST_F(ListViewTest, PlainLookPicture) {
    HWND report = ReportWithNames(6);
    SendMessage(report, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    ClickItem(report, 1);
    ClickItem(report, 3, ModControl);
    HWND icons = Make(WC_LISTVIEW, "", LVS_ICON | WS_BORDER, 10, 215, 180, 80, 9);
    HWND small = Make(WC_LISTVIEW, "", LVS_LIST | WS_BORDER, 195, 215, 200, 80, 10);
    for (int i = 0; i < 7; ++i) {
        AddItem(icons, "icon " + std::to_string(i));
        AddItem(small, "list entry " + std::to_string(i));
    }
    Pump();
    const RECT row = Part(report, 1, LVIR_BOUNDS);
    EXPECT_EQ(ClientPixel(report, 150, row.top + 2), korvex::gdi::GetSysColor(korvex::gdi::COLOR_HIGHLIGHT));
    if (const char* dir = std::getenv("KORVEX_SCREENSHOT_DIR")) {
        const RECT shot = WindowRect(Parent);
        EXPECT_TRUE(Screen->WriteScreenshotPng(std::string(dir) + "/list-view.png", &shot));
    }
}

TEST_F(ListViewTest, RefusedItemChangingKeepsTheSelection) {
    HWND list = ReportWithNames(3);
    ClickItem(list, 0);
    SetHandler(Parent, [](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_ITEMCHANGING) return 1;
        return msg == WM_NOTIFY ? std::optional<LRESULT>(0) : std::nullopt;
    });
    ClickItem(list, 2);
    EXPECT_EQ(Selected(list), std::vector<int> {0});
}

TEST_F(ListViewTest, AParentThatDestroysTheListInsideANotificationLeavesNothingBehind) {
    for (UINT code : {LVN_ITEMCHANGED, LVN_COLUMNCLICK, NM_CLICK, NM_CUSTOMDRAW}) {
        HWND list = ReportWithNames(4);
        SetHandler(Parent, [code, list](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == code && IsWindow(list)) DestroyWindow(list);
            return msg == WM_NOTIFY ? std::optional<LRESULT>(0) : std::nullopt;
        });
        if (code == LVN_COLUMNCLICK) {
            HWND header = reinterpret_cast<HWND>(SendMessage(list, LVM_GETHEADER, 0, 0));
            ClickAt(header, 20, 5);
        } else {
            ClickItem(list, 1);
            InvalidateRect(list, nullptr, true);
            Pump();
        }
        EXPECT_FALSE(IsWindow(list)) << code;
    }
}

TEST_F(ListViewTest, CustomDrawCanRecolourOrSkipItems) {
    HWND list = ReportWithNames(3);
    SetHandler(Parent, [](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg != WM_NOTIFY) return std::nullopt;
        auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(lParam);
        if (cd->nmcd.hdr.code != NM_CUSTOMDRAW) return 0;
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && cd->nmcd.dwItemSpec == 1) {
            cd->clrTextBk = korvex::gdi::RGB(0, 200, 0);
            return CDRF_DODEFAULT;
        }
        if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && cd->nmcd.dwItemSpec == 2) return CDRF_SKIPDEFAULT;
        return CDRF_DODEFAULT;
    });
    InvalidateRect(list, nullptr, true);
    Pump();
    const RECT second = Part(list, 1, LVIR_LABEL);
    EXPECT_EQ(ClientPixel(list, second.right - 2, second.top + 1), korvex::gdi::RGB(0, 200, 0));
    // The skipped item shows nothing but the background.
    const RECT third = Part(list, 2, LVIR_LABEL);
    bool allBackground = true;
    for (int x = third.left; x < third.left + 40; ++x)
        allBackground = allBackground && ClientPixel(list, x, (third.top + third.bottom) / 2) == korvex::gdi::GetSysColor(korvex::gdi::COLOR_WINDOW);
    EXPECT_TRUE(allBackground);
}

TEST_F(ListViewTest, ChangingTheViewMovesTheItemsAndShowsTheHeaderOnlyInReportView) {
    HWND list = ReportWithNames(60);
    HWND header = reinterpret_cast<HWND>(SendMessage(list, LVM_GETHEADER, 0, 0));
    EXPECT_TRUE(IsWindowVisible(header));
    SendMessage(list, LVM_SETVIEW, LVS_LIST, 0);
    Pump();
    EXPECT_EQ(SendMessage(list, LVM_GETVIEW, 0, 0), LRESULT(LVS_LIST));
    EXPECT_FALSE(IsWindowVisible(header));
    // The list view runs down its columns: Right steps a whole column.
    const RECT first = Part(list, 0, LVIR_BOUNDS);
    const RECT second = Part(list, 1, LVIR_BOUNDS);
    EXPECT_EQ(first.left, second.left);
    EXPECT_GT(second.top, first.top);
    ClickItem(list, 0);
    int rows = 1;
    while (Part(list, rows, LVIR_BOUNDS).left == first.left)
        ++rows;
    ASSERT_LT(rows, 60);
    Key(VK_RIGHT);
    EXPECT_EQ(Selected(list), std::vector<int> {rows});
    SendMessage(list, LVM_SETVIEW, LVS_REPORT, 0);
    Pump();
    EXPECT_TRUE(IsWindowVisible(header));
    EXPECT_EQ(SendMessage(list, LVM_SETVIEW, 7, 0), -1);   // no such view
}

TEST_F(ListViewTest, EditingAnItemThatIsDeletedEndsQuietly) {
    HWND list = MakeList(LVS_REPORT | LVS_EDITLABELS);
    AddColumn(list, "Name", 120);
    AddItem(list, "a");
    AddItem(list, "b");
    HWND edit = reinterpret_cast<HWND>(SendMessage(list, LVM_EDITLABEL, 1, 0));
    ASSERT_NE(edit, nullptr);
    EditedText.clear();
    SendMessage(list, LVM_DELETEITEM, 1, 0);
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(EditedText, "<cancelled>");
    EXPECT_EQ(SendMessage(list, LVM_GETEDITCONTROL, 0, 0), 0);
}

}

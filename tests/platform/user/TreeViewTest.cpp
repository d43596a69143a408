// Tests of the tree view: expansion and selection by mouse and keys with their notifications, label editing,
// hit tests, deletion, scrolling, and a picture of the plain look.
#include "support/ControlTestSupport.h"

#include "platform/user/Focus.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/TreeView.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace korvex::user;
using namespace korvex::user::test;

namespace {

struct TreeEvent {
    UINT Code;
    UINT Action;
    HTREEITEM Item;   // itemNew (itemOld for deletions)
};

class TreeViewTest : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        RegisterCommonControlClasses();
        SetHandler(Parent, [this](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg != WM_NOTIFY) return std::nullopt;
            auto* hdr = reinterpret_cast<NMHDR*>(lParam);
            return OnNotify(hdr);
        });
        Tree = Make(WC_TREEVIEW, "", TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | WS_BORDER, 10,
            10, 200, 150, 5);
        Folders = Add(TVI_ROOT, "Folders");
        for (const char* name : {"Documents", "Music", "Pictures"})
            Children.push_back(Add(Folders, name));
        Deep = Add(Children[0], "Letters");
        Files = Add(TVI_ROOT, "Files");
        Events.clear();
    }

    LRESULT OnNotify(NMHDR* hdr) {
        const UINT code = hdr->code;
        if (code == TVN_ENDLABELEDIT || code == TVN_BEGINLABELEDIT) {
            auto* info = reinterpret_cast<NMTVDISPINFO*>(hdr);
            Events.push_back({code, 0, info->item.hItem});
            if (code == TVN_ENDLABELEDIT) {
                EditedText = info->item.pszText ? info->item.pszText : "<cancelled>";
                return AcceptEdit ? 1 : 0;
            }
            return RefuseCode == code ? 1 : 0;
        }
        if (code <= TVN_FIRST - 1 && code >= TVN_FIRST - 11 && code != TVN_GETDISPINFO) {
            auto* nm = reinterpret_cast<NMTREEVIEW*>(hdr);
            Events.push_back({code, nm->action, code == TVN_DELETEITEM ? nm->itemOld.hItem : nm->itemNew.hItem});
            return RefuseCode == code ? 1 : 0;
        }
        return 0;
    }

    HTREEITEM Add(HTREEITEM parent, const char* text) {
        TVINSERTSTRUCT ins;
        ins.hParent = parent;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = const_cast<char*>(text);
        return reinterpret_cast<HTREEITEM>(SendMessage(Tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins)));
    }

    RECT TextRect(HTREEITEM item) {
        RECT r {};
        std::memcpy(static_cast<void*>(&r), &item, sizeof item);   // the item travels in the rectangle
        EXPECT_TRUE(SendMessage(Tree, TVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r)));
        return r;
    }

    bool IsExpanded(HTREEITEM item) {
        TVITEM info;
        info.mask = TVIF_STATE;
        info.hItem = item;
        info.stateMask = TVIS_EXPANDED;
        SendMessage(Tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&info));
        return (info.state & TVIS_EXPANDED) != 0;
    }

    std::string Text(HTREEITEM item) {
        char buffer[64] {};
        TVITEM info;
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = buffer;
        info.cchTextMax = sizeof buffer;
        SendMessage(Tree, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&info));
        return buffer;
    }

    HTREEITEM Selected() {
        return reinterpret_cast<HTREEITEM>(SendMessage(Tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    }

    std::vector<UINT> Codes() const {
        std::vector<UINT> codes;
        for (const auto& e : Events)
            codes.push_back(e.Code);
        return codes;
    }

    HWND Tree = nullptr;
    HTREEITEM Folders = nullptr;
    HTREEITEM Files = nullptr;
    HTREEITEM Deep = nullptr;
    std::vector<HTREEITEM> Children;
    std::vector<TreeEvent> Events;
    UINT RefuseCode = 0;
    bool AcceptEdit = true;
    std::string EditedText;
};

TEST_F(TreeViewTest, ClickingTheButtonExpandsAndCollapsesWithTheNotificationsInOrder) {
    const RECT r = TextRect(Folders);
    // The button sits in the root column, left of the label.
    ClickAt(Tree, r.left - 12, (r.top + r.bottom) / 2);
    EXPECT_TRUE(IsExpanded(Folders));
    ASSERT_EQ(Codes(), (std::vector<UINT> {TVN_ITEMEXPANDING, TVN_ITEMEXPANDED}));
    EXPECT_EQ(Events[0].Action, TVE_EXPAND);
    EXPECT_EQ(Events[1].Item, Folders);
    Events.clear();
    ClickAt(Tree, r.left - 12, (r.top + r.bottom) / 2);
    EXPECT_FALSE(IsExpanded(Folders));
    ASSERT_EQ(Codes(), (std::vector<UINT> {TVN_ITEMEXPANDING, TVN_ITEMEXPANDED}));
    EXPECT_EQ(Events[0].Action, TVE_COLLAPSE);
}

TEST_F(TreeViewTest, RefusedExpandingLeavesTheItemClosed) {
    RefuseCode = TVN_ITEMEXPANDING;
    EXPECT_FALSE(SendMessage(Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Folders)));
    EXPECT_FALSE(IsExpanded(Folders));
    EXPECT_EQ(Codes(), std::vector<UINT> {TVN_ITEMEXPANDING});
}

TEST_F(TreeViewTest, KeysMoveTheSelectionAndExpandAndCollapse) {
    SetFocus(Tree);
    Key(VK_HOME);
    EXPECT_EQ(Selected(), Folders);
    Key(VK_ADD);
    EXPECT_TRUE(IsExpanded(Folders));
    Key(VK_DOWN);
    EXPECT_EQ(Selected(), Children[0]);
    Key(VK_RIGHT);   // expands Documents
    EXPECT_TRUE(IsExpanded(Children[0]));
    Key(VK_RIGHT);   // into its child
    EXPECT_EQ(Selected(), Deep);
    Key(VK_END);
    EXPECT_EQ(Selected(), Files);
    Key(VK_UP);
    EXPECT_EQ(Selected(), Children[2]);
    Key(VK_LEFT);   // to the parent
    EXPECT_EQ(Selected(), Folders);
    Events.clear();
    Key(VK_SUBTRACT);
    EXPECT_FALSE(IsExpanded(Folders));
    EXPECT_EQ(Codes(), (std::vector<UINT> {TVN_ITEMEXPANDING, TVN_ITEMEXPANDED}));
}

TEST_F(TreeViewTest, SelectionChangesReportTheCauseAndCanBeRefused) {
    const RECT r = TextRect(Files);
    ClickAt(Tree, r.left + 5, r.top + 3);
    ASSERT_EQ(Codes(), (std::vector<UINT> {TVN_SELCHANGING, TVN_SELCHANGED}));
    EXPECT_EQ(Events[1].Action, TVC_BYMOUSE);
    EXPECT_EQ(Selected(), Files);
    Events.clear();
    RefuseCode = TVN_SELCHANGING;
    const RECT f = TextRect(Folders);
    ClickAt(Tree, f.left + 5, f.top + 3);
    EXPECT_EQ(Selected(), Files);
    EXPECT_EQ(Codes(), std::vector<UINT> {TVN_SELCHANGING});
}

TEST_F(TreeViewTest, CollapsingMovesASelectionInsideUpToTheItem) {
    SendMessage(Tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Deep));
    EXPECT_TRUE(IsExpanded(Folders));   // selecting showed the item
    Events.clear();
    SendMessage(Tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(Folders));
    EXPECT_EQ(Selected(), Folders);
    EXPECT_EQ(Codes(), (std::vector<UINT> {TVN_ITEMEXPANDING, TVN_SELCHANGING, TVN_SELCHANGED, TVN_ITEMEXPANDED}));
}

TEST_F(TreeViewTest, F2EditsTheLabelAndEnterTakesTheAcceptedText) {
    SendMessage(Tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Files));
    SetFocus(Tree);
    Pump();
    Events.clear();
    Key(VK_F2);
    HWND edit = reinterpret_cast<HWND>(SendMessage(Tree, TVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetFocus(), edit);
    Type("Papers");
    EXPECT_EQ(GetWindowText(edit), "Papers");
    Key(VK_RETURN);
    EXPECT_EQ(SendMessage(Tree, TVM_GETEDITCONTROL, 0, 0), 0);
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(EditedText, "Papers");
    EXPECT_EQ(Text(Files), "Papers");
    EXPECT_EQ(Codes(), (std::vector<UINT> {TVN_BEGINLABELEDIT, TVN_ENDLABELEDIT}));
    EXPECT_EQ(GetFocus(), Tree);
}

TEST_F(TreeViewTest, RefusedOrCancelledEditsKeepTheLabel) {
    SendMessage(Tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Files));
    SetFocus(Tree);
    AcceptEdit = false;
    Key(VK_F2);
    Type("Other");
    Key(VK_RETURN);
    EXPECT_EQ(EditedText, "Other");
    EXPECT_EQ(Text(Files), "Files");
    AcceptEdit = true;
    Key(VK_F2);
    Type("Gone");
    Key(VK_ESCAPE);
    EXPECT_EQ(EditedText, "<cancelled>");
    EXPECT_EQ(Text(Files), "Files");
    RefuseCode = TVN_BEGINLABELEDIT;
    EXPECT_EQ(SendMessage(Tree, TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(Files)), 0);
}

TEST_F(TreeViewTest, ASecondClickOnTheSelectedLabelEditsAfterTheDoubleClickTime) {
    const RECT r = TextRect(Files);
    ClickAt(Tree, r.left + 5, r.top + 3);
    Advance(1000);
    ClickAt(Tree, r.left + 5, r.top + 3);
    EXPECT_EQ(SendMessage(Tree, TVM_GETEDITCONTROL, 0, 0), 0);
    Advance(1000);
    HWND edit = reinterpret_cast<HWND>(SendMessage(Tree, TVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    // Losing the focus takes the text.
    SetFocus(Parent);
    Pump();
    EXPECT_EQ(SendMessage(Tree, TVM_GETEDITCONTROL, 0, 0), 0);
    EXPECT_EQ(EditedText, "Files");
}

TEST_F(TreeViewTest, HitTestNamesThePartsOfARow) {
    SendMessage(Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Folders));
    const RECT r = TextRect(Children[1]);
    struct Case {
        POINT Pt;
        UINT Flags;
        HTREEITEM Item;
    };
    const Case cases[] = {
        {{r.left + 3, r.top + 2}, TVHT_ONITEMLABEL, Children[1]},
        {{r.right + 10, r.top + 2}, TVHT_ONITEMRIGHT, Children[1]},
        {{2, r.top + 2}, TVHT_ONITEMINDENT, Children[1]},
        {{r.left + 3, 140}, TVHT_NOWHERE, nullptr},
        {{-1, 5}, TVHT_TOLEFT, nullptr},
    };
    for (const Case& c : cases) {
        TVHITTESTINFO info;
        info.pt = c.Pt;
        EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessage(Tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info))), c.Item);
        EXPECT_EQ(info.flags, c.Flags) << c.Pt.x << "," << c.Pt.y;
    }
}

TEST_F(TreeViewTest, DeletingAnItemReportsItsChildrenFirstAndRefusesItsHandleAfter) {
    SendMessage(Tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(Children[0]));
    ASSERT_EQ(Events.size(), 2u);
    EXPECT_EQ(Events[0].Item, Deep);
    EXPECT_EQ(Events[1].Item, Children[0]);
    EXPECT_EQ(SendMessage(Tree, TVM_GETCOUNT, 0, 0), 4);
    // The old handles are dead: every message refuses them.
    EXPECT_FALSE(SendMessage(Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Deep)));
    EXPECT_FALSE(SendMessage(Tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(Children[0])));
    EXPECT_EQ(Text(Children[0]), "");
    EXPECT_EQ(SendMessage(Tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(Folders)),
        reinterpret_cast<LRESULT>(Children[1]));
}

TEST_F(TreeViewTest, ScrollInfoFollowsTheVisibleRowsAndKeysScrollToTheSelection) {
    SCROLLINFO info;
    info.fMask = SIF_ALL;
    for (int i = 0; i < 20; ++i)
        Add(Files, ("file " + std::to_string(i)).c_str());
    SendMessage(Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Files));
    ASSERT_TRUE(GetScrollInfo(Tree, SB_VERT, &info));
    EXPECT_EQ(info.nMax, 21);   // Folders, Files and twenty files
    const int page = int(SendMessage(Tree, TVM_GETVISIBLECOUNT, 0, 0));
    EXPECT_EQ(int(info.nPage), page);
    EXPECT_GT(info.nMax - info.nMin, int(info.nPage) - 1);
    SetFocus(Tree);
    Key(VK_END);
    GetScrollInfo(Tree, SB_VERT, &info);
    EXPECT_EQ(info.nPos, 22 - page);
    SendMessage(Tree, WM_VSCROLL, SB_TOP, 0);
    GetScrollInfo(Tree, SB_VERT, &info);
    EXPECT_EQ(info.nPos, 0);
    SendMessage(Tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(Files));
    GetScrollInfo(Tree, SB_VERT, &info);
    EXPECT_LE(info.nMax - info.nMin, int(info.nPage) - 1);   // everything fits: no bar needed
}

TEST_F(TreeViewTest, PlainLookPicture) {
    SendMessage(Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Folders));
    SendMessage(Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Children[0]));
    SendMessage(Tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(Children[1]));
    SetFocus(Tree);
    Pump();
    const RECT r = TextRect(Children[1]);
    EXPECT_EQ(ClientPixel(Tree, r.left + 1, r.top + 1), korvex::gdi::GetSysColor(korvex::gdi::COLOR_HIGHLIGHT));
    if (const char* dir = std::getenv("KORVEX_SCREENSHOT_DIR")) {
        const RECT shot = WindowRect(Tree);
        EXPECT_TRUE(Screen->WriteScreenshotPng(std::string(dir) + "/tree-view.png", &shot));
    }
}

TEST_F(TreeViewTest, CallbackTextsAndChildrenAreAskedForWhenNeeded) {
    int asked = 0;
    SetHandler(Parent, [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg != WM_NOTIFY) return std::nullopt;
        auto* info = reinterpret_cast<NMTVDISPINFO*>(lParam);
        if (info->hdr.code != TVN_GETDISPINFO) return 0;
        ++asked;
        if (info->item.mask & TVIF_TEXT) std::strncpy(info->item.pszText, "lazy", size_t(info->item.cchTextMax));
        if (info->item.mask & TVIF_CHILDREN) info->item.cChildren = 1;
        return 0;
    });
    TVINSERTSTRUCT ins;
    ins.item.mask = TVIF_TEXT | TVIF_CHILDREN;
    ins.item.pszText = LPSTR_TEXTCALLBACK;
    ins.item.cChildren = I_CHILDRENCALLBACK;
    auto lazy = reinterpret_cast<HTREEITEM>(SendMessage(Tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins)));
    EXPECT_EQ(Text(lazy), "lazy");
    EXPECT_GT(asked, 0);
    // It has children by its answer, so it may expand (to be filled by the expanding handler).
    EXPECT_TRUE(SendMessage(Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(lazy)));
}

TEST_F(TreeViewTest, CollapseResetDeletesTheChildrenAndSortingOrdersThem) {
    SendMessage(Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Folders));
    SendMessage(Tree, TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, reinterpret_cast<LPARAM>(Folders));
    EXPECT_EQ(SendMessage(Tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(Folders)), 0);
    EXPECT_EQ(SendMessage(Tree, TVM_GETCOUNT, 0, 0), 2);
    for (const char* name : {"pear", "apple", "fig"}) {
        TVINSERTSTRUCT ins;
        ins.hParent = Files;
        ins.hInsertAfter = TVI_SORT;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = const_cast<char*>(name);
        SendMessage(Tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins));
    }
    auto first = reinterpret_cast<HTREEITEM>(SendMessage(Tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(Files)));
    EXPECT_EQ(Text(first), "apple");
    Add(Files, "banana");
    SendMessage(Tree, TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(Files));
    first = reinterpret_cast<HTREEITEM>(SendMessage(Tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(Files)));
    auto second = reinterpret_cast<HTREEITEM>(SendMessage(Tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(first)));
    EXPECT_EQ(Text(second), "banana");
}

TEST_F(TreeViewTest, AParentThatDestroysTheTreeInsideANotificationLeavesNothingBehind) {
    for (UINT code : {TVN_SELCHANGED, TVN_ITEMEXPANDING, TVN_DELETEITEM, TVN_BEGINLABELEDIT}) {
        HWND tree = Make(WC_TREEVIEW, "", TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS, 10, 10, 200, 150, 9);
        TVINSERTSTRUCT ins;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = const_cast<char*>("top");
        auto top = reinterpret_cast<HTREEITEM>(SendMessage(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins)));
        ins.hParent = top;
        SendMessage(tree, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&ins));
        SetHandler(Parent, [code, tree](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == code && IsWindow(tree)) DestroyWindow(tree);
            return msg == WM_NOTIFY ? std::optional<LRESULT>(0) : std::nullopt;
        });
        SendMessage(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(top));
        if (IsWindow(tree)) SendMessage(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(top));
        if (IsWindow(tree)) SendMessage(tree, TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(top));
        if (IsWindow(tree)) SendMessage(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(top));
        Pump();
        EXPECT_FALSE(IsWindow(tree)) << code;
    }
}

TEST_F(TreeViewTest, DoubleClickingALabelTogglesItAndTheWheelScrolls) {
    const RECT r = TextRect(Folders);
    const POINT p = OnScreen(Tree, r.left + 3, r.top + 3);
    Screen->DoubleClick(p.x, p.y);
    Pump();
    EXPECT_TRUE(IsExpanded(Folders));
    for (int i = 0; i < 20; ++i)
        Add(Files, "more");
    SendMessage(Tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Files));
    Screen->Wheel(p.x, p.y, -120);
    Pump();
    SCROLLINFO info;
    info.fMask = SIF_POS;
    GetScrollInfo(Tree, SB_VERT, &info);
    EXPECT_EQ(info.nPos, 3);
}

}

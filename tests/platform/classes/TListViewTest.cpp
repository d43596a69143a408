// TListView: columns and items in the native list, owner data through OnData and OnDataHint, sorting,
// selection events, label editing through OnEdited, items kept across window re-creation, custom drawing.
#include "support/ControlsTestKit.h"

#include "platform/classes/TImageList.h"
#include "platform/classes/TListView.h"
#include "platform/classes/TStrings.h"
#include "platform/user/Focus.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/Header.h"
#include "platform/user/controls/ListView.h"

#include <set>
#include <string>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class ListViewTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 400, 300);
        List = Create<TListView>(Form);
        List->SetParent(Form);
        List->SetBounds(10, 10, 300, 200);
        List->SetViewStyle(vsReport);
        for (auto [caption, width] : {std::pair {"Name", 120}, {"Size", 70}}) {
            TListColumn* column = List->Columns()->Add();
            column->SetCaption(caption);
            column->SetWidth(width);
        }
    }

    void Fill(std::vector<std::string> names) {
        for (size_t i = 0; i < names.size(); ++i) {
            TListItem* item = List->Items()->Add();
            item->SetCaption(names[i]);
            item->SubItems()->Add(std::to_string(i * 100));
        }
        Pump();
    }

    std::string NativeText(int index, int sub) {
        char buffer[64] {};
        user::LVITEM item;
        item.iSubItem = sub;
        item.pszText = buffer;
        item.cchTextMax = sizeof buffer;
        user::SendMessage(List->Handle(), user::LVM_GETITEMTEXT, user::WPARAM(index), reinterpret_cast<user::LPARAM>(&item));
        return buffer;
    }

    void ClickItem(int index, unsigned modifiers = 0) {
        const TRect r = List->Items()->Item(index)->DisplayRect(drLabel);
        const TPoint p = At(List, r.left + 3, (r.top + r.bottom) / 2);
        Advance(1000);
        Display->Click(p.x, p.y, user::MouseButton::Left, modifiers);
        Pump();
    }

    TForm* Form = nullptr;
    TListView* List = nullptr;
};

TEST_F(ListViewTest, ItemsAndSubItemsAreWhatTheNativeListShows) {
    Fill({"kernel", "initrd", "config"});
    EXPECT_EQ(user::SendMessage(List->Handle(), user::LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(NativeText(1, 0), "initrd");
    EXPECT_EQ(NativeText(2, 1), "200");
    List->Items()->Item(1)->SetCaption("vmlinuz");
    EXPECT_EQ(NativeText(1, 0), "vmlinuz");
    EXPECT_EQ(List->Items()->Item(2)->Index(), 2);
    List->Items()->Delete(0);
    EXPECT_EQ(List->Items()->Count(), 2);
    EXPECT_EQ(NativeText(0, 0), "vmlinuz");
}

TEST_F(ListViewTest, OwnerDataFetchesOnlyTheItemsOnScreen) {
    std::set<int> fetched;
    std::vector<std::pair<int, int>> hints;
    List->SetOwnerData(true);
    List->OnData = [&](TObject*, TListItem* item) {
        fetched.insert(item->Index());
        item->SetCaption("file " + std::to_string(item->Index()));
        item->SubItems()->Add("4 KiB");
    };
    List->OnDataHint = [&](TObject*, int from, int to) { hints.push_back({from, to}); };
    List->Items()->SetCount(20000);
    Pump();
    const int page = List->VisibleRowCount();
    ASSERT_FALSE(fetched.empty());
    EXPECT_LE(*fetched.rbegin(), page);
    EXPECT_LT(fetched.size(), 40u);
    ASSERT_FALSE(hints.empty());
    EXPECT_EQ(hints.back().first, 0);
    EXPECT_EQ(NativeText(19999, 1), "4 KiB");
    EXPECT_EQ(List->Items()->Item(777)->Caption(), "file 777");
}

TEST_F(ListViewTest, OwnerDataFindAnswersTypedSearches) {
    List->SetOwnerData(true);
    List->OnData = [&](TObject*, TListItem* item) { item->SetCaption(item->Index() == 42 ? "zebra" : "file"); };
    List->OnDataFind = [&](TObject*, TItemFind find, const std::string& text, const TPoint&, void*, int, TSearchDirection,
                           bool wrap, int& index) {
        EXPECT_EQ(find, ifPartialString);
        EXPECT_TRUE(wrap);
        if (text == "z") index = 42;
    };
    List->Items()->SetCount(100);
    Pump();
    List->SetFocus();
    Display->Press('Z', "z");
    Pump();
    ASSERT_NE(List->Selected(), nullptr);
    EXPECT_EQ(List->Selected()->Index(), 42);
}

TEST_F(ListViewTest, AlphaSortAndCustomSortReorderClassAndNativeItems) {
    Fill({"pear", "Apple", "fig"});
    List->AlphaSort();
    EXPECT_EQ(List->Items()->Item(0)->Caption(), "Apple");   // without regard to case
    EXPECT_EQ(NativeText(0, 0), "Apple");
    EXPECT_EQ(NativeText(2, 0), "pear");
    EXPECT_EQ(NativeText(2, 1), "0");   // the sub-items went along
    List->CustomSort([](TListItem* a, TListItem* b) { return int(b->Caption().size()) - int(a->Caption().size()); });
    EXPECT_EQ(List->Items()->Item(0)->Caption(), "Apple");
    EXPECT_EQ(List->Items()->Item(2)->Caption(), "fig");
    EXPECT_EQ(List->Items()->Item(2)->Index(), 2);
}

TEST_F(ListViewTest, MultiSelectReportsEachItemSelectedAndDeselected) {
    List->SetMultiSelect(true);
    Fill({"a", "b", "c", "d"});
    std::vector<std::string> events;
    List->OnSelectItem = [&](TObject*, TListItem* item, bool selected) {
        events.push_back(item->Caption() + (selected ? "+" : "-"));
    };
    EXPECT_EQ(user::GetWindowStyle(List->Handle()) & user::LVS_TYPEMASK, user::LVS_REPORT);
    ClickItem(0);
    ClickItem(2, user::ModShift);
    EXPECT_EQ(List->SelCount(), 3);
    EXPECT_EQ(events, (std::vector<std::string> {"a+", "b+", "c+"}));
    events.clear();
    ClickItem(1, user::ModControl);
    EXPECT_EQ(events, std::vector<std::string> {"b-"});
    EXPECT_EQ(List->Selected()->Caption(), "a");
    EXPECT_EQ(List->ItemFocused()->Caption(), "b");
    List->SetSelected(List->Items()->Item(3));
    EXPECT_EQ(List->SelCount(), 1);
}

TEST_F(ListViewTest, EditingGoesThroughOnEditingAndOnEdited) {
    Fill({"draft.txt"});
    List->OnEdited = [&](TObject*, TListItem*, std::string& text) { text += ".bak"; };
    TListItem* item = List->Items()->Item(0);
    ASSERT_TRUE(item->EditCaption());
    user::HWND edit = reinterpret_cast<user::HWND>(user::SendMessage(List->Handle(), user::LVM_GETEDITCONTROL, 0, 0));
    user::SetWindowText(edit, "final.txt");
    user::SendMessage(List->Handle(), user::LVM_EDITLABEL, user::WPARAM(-1), 0);   // cancel: nothing changes
    EXPECT_EQ(item->Caption(), "draft.txt");
    ASSERT_TRUE(item->EditCaption());
    edit = reinterpret_cast<user::HWND>(user::SendMessage(List->Handle(), user::LVM_GETEDITCONTROL, 0, 0));
    user::SetWindowText(edit, "final.txt");
    user::SetFocus(List->Handle());   // the edit loses the focus: the text is taken
    Pump();
    EXPECT_EQ(item->Caption(), "final.txt.bak");
    List->OnEditing = [](TObject*, TListItem*, bool& allow) { allow = false; };
    EXPECT_FALSE(item->EditCaption());
}

TEST_F(ListViewTest, ItemsSelectionAndColumnWidthsSurviveANewWindow) {
    List->SetMultiSelect(true);
    Fill({"one", "two", "three"});
    List->Items()->Item(1)->SetSelected(true);
    user::HWND header = reinterpret_cast<user::HWND>(user::SendMessage(List->Handle(), user::LVM_GETHEADER, 0, 0));
    user::HDITEM width;
    width.mask = user::HDI_WIDTH;
    width.cxy = 150;
    user::SendMessage(header, user::HDM_SETITEM, 0, reinterpret_cast<user::LPARAM>(&width));   // as a drag does
    EXPECT_EQ(List->Columns()->Items(0)->Width(), 150);
    List->SetBorderStyle(bsNone);   // made again
    Pump();
    EXPECT_EQ(user::SendMessage(List->Handle(), user::LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_TRUE(List->Items()->Item(1)->Selected());
    EXPECT_FALSE(List->Items()->Item(0)->Selected());
    EXPECT_EQ(List->Columns()->Items(0)->Width(), 150);
    EXPECT_EQ(NativeText(2, 0), "three");
}

TEST_F(ListViewTest, AnAdvancedCustomDrawHandlerCanTakeOverTheBackground) {
    Fill({"x"});
    std::vector<TCustomDrawStage> stages;
    List->OnAdvancedCustomDraw = [&](TCustomListView* sender, const TRect& rect, TCustomDrawStage stage, bool& defaultDraw) {
        stages.push_back(stage);
        if (stage == cdPreErase) {
            sender->Canvas()->Brush()->SetColor(clRed);
            sender->Canvas()->FillRect(rect);
            defaultDraw = false;
        }
    };
    List->Invalidate();
    Pump();
    ASSERT_GE(stages.size(), 3u);
    EXPECT_EQ(stages[0], cdPreErase);
    EXPECT_EQ(stages[1], cdPostErase);
    EXPECT_EQ(stages[2], cdPrePaint);
    EXPECT_EQ(PixelAt(List, 250, 150), gdi::RGB(255, 0, 0));
}

TEST_F(ListViewTest, ColumnClicksNameTheColumn) {
    Fill({"a"});
    std::vector<int> clicked;
    List->OnColumnClick = [&](TObject*, TListColumn* column) { clicked.push_back(column->Index()); };
    user::HWND header = reinterpret_cast<user::HWND>(user::SendMessage(List->Handle(), user::LVM_GETHEADER, 0, 0));
    user::RECT r {};
    user::GetWindowRect(header, &r);
    Display->Click(r.left + 150, r.top + 5);
    Pump();
    EXPECT_EQ(clicked, std::vector<int> {1});
}

TEST_F(ListViewTest, AnImageListInBothSlotsIsLinkedOnceAndLetGoWhenFreed) {
    auto* images = Create<TImageList>(Form);
    images->SetSize(16, 16);
    List->SetSmallImages(images);
    List->SetLargeImages(images);
    Fill({"a"});
    EXPECT_EQ(user::SendMessage(List->Handle(), user::LVM_GETIMAGELIST, user::LVSIL_SMALL, 0),
        reinterpret_cast<user::LRESULT>(images->Handle()));
    List->SetLargeImages(nullptr);   // still linked through the small slot
    delete images;
    Pump();
    EXPECT_EQ(List->SmallImages(), nullptr);
    EXPECT_EQ(user::SendMessage(List->Handle(), user::LVM_GETIMAGELIST, user::LVSIL_SMALL, 0), 0);
}

}

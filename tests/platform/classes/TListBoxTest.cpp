// TListBox: items before and through the window, selection and its events, owner drawing fixed and variable,
// positions of items, multiple selection, remaking the window, and the published properties through form text.
#include "support/ControlsTestKit.h"
#include "support/RoundTrip.h"

#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TListBox.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ListBox.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class ListBoxTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        RegisterClasses({TListBox::StaticClass()});
        Form = NewForm(100, 100, 320, 240);
    }
    void TearDown() override {
        for (const std::string& e : Exceptions)
            ADD_FAILURE() << "exception in a handler: " << e;
        ControlsTest::TearDown();
    }
    TListBox* AddList(int items = 0) {
        auto* list = Create<TListBox>(Form);
        list->SetBounds(10, 10, 150, 100);
        list->SetParent(Form);
        for (int i = 0; i < items; ++i)
            list->Items()->Add("Node " + std::to_string(i));
        return list;
    }
    void ClickItem(TListBox* list, int index) {
        const TRect r = list->ItemRect(index);
        const TPoint p = At(list, 20, (r.top + r.bottom) / 2);
        Display->Click(p.x, p.y);
        Pump();
        Advance(1000);
    }
    TForm* Form = nullptr;
};

TEST_F(ListBoxTest, ItemsAndTheChoiceMadeBeforeTheWindowGoIntoIt) {
    auto* list = Create<TListBox>(Form);
    list->Items()->Add("b");
    list->Items()->Add("a");
    list->Items()->AddObject("c", reinterpret_cast<TObject*>(std::uintptr_t(7)));
    list->SetItemIndex(1);
    EXPECT_FALSE(list->HandleAllocated());
    EXPECT_EQ(list->Count(), 3);
    list->SetParent(Form);
    user::HWND h = list->Handle();
    EXPECT_EQ(user::SendMessage(h, user::LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(list->Items()->Get(1), "a");
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(list->Items()->GetObject(2)), 7u);
    EXPECT_EQ(list->Items()->IndexOf("C"), 2);
    EXPECT_THROW(list->Items()->Get(5), EListError);
}

TEST_F(ListBoxTest, SortedListsKeepOrderAcrossTheWindowBeingMadeAgain) {
    auto* list = AddList();
    list->SetSorted(true);
    for (const char* s : {"delta", "alpha", "charlie", "bravo"})
        list->Items()->Add(s);
    list->SetItemIndex(2);
    list->SetMultiSelect(true);   // makes the window again
    EXPECT_EQ(list->Items()->Text(), "alpha\r\nbravo\r\ncharlie\r\ndelta\r\n");
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->Items()->Add("aardvark"), 0);
}

TEST_F(ListBoxTest, TheUsersChoiceFiresOnClickAndADoubleClickOnDblClick) {
    auto* list = AddList(5);
    int clicks = 0;
    int doubles = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    list->OnDblClick = [&](TObject*) { ++doubles; };
    list->SetItemIndex(1);
    EXPECT_EQ(clicks, 0);
    ClickItem(list, 3);
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_EQ(clicks, 1);
    Display->Press(user::VK_DOWN);
    Pump();
    EXPECT_EQ(list->ItemIndex(), 4);
    EXPECT_EQ(clicks, 2);
    const TRect r = list->ItemRect(2);
    const TPoint p = At(list, 20, (r.top + r.bottom) / 2);
    Display->DoubleClick(p.x, p.y);
    Pump();
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(list->ItemIndex(), 2);
}

TEST_F(ListBoxTest, ItemAtPosFindsItemsAndTellsNoneBelowThem) {
    auto* list = AddList(3);
    const TRect r = list->ItemRect(1);
    EXPECT_EQ(list->ItemAtPos(Point(5, (r.top + r.bottom) / 2), true), 1);
    EXPECT_EQ(list->ItemAtPos(Point(5, 95), true), -1);
    EXPECT_EQ(list->ItemAtPos(Point(5, 95), false), 2);
    EXPECT_EQ(r.top, list->ItemHeight());
}

TEST_F(ListBoxTest, OwnerDrawnFixedItemsAreDrawnOnTheCanvasWithTheirState) {
    auto* list = Create<TListBox>(Form);
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(20);
    list->SetBounds(10, 10, 150, 100);
    std::vector<std::pair<int, TOwnerDrawState>> drawn;
    list->OnDrawItem = [&](TWinControl* control, int index, const TRect& rect, TOwnerDrawState state) {
        EXPECT_EQ(control, list);
        EXPECT_EQ(rect.bottom - rect.top, 20);
        drawn.emplace_back(index, state);
        list->Canvas()->FillRect(rect);
    };
    list->SetParent(Form);
    for (int i = 0; i < 3; ++i)
        list->Items()->Add("x");
    list->SetItemIndex(1);
    drawn.clear();
    list->Invalidate();
    Pump();
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_TRUE(drawn[1].second.Contains(odSelected));
    EXPECT_FALSE(drawn[0].second.Contains(odSelected));
    // The selected item's canvas came with the highlight brush.
    EXPECT_EQ(PixelAt(list, 100, 30), gdi::GetSysColor(gdi::COLOR_HIGHLIGHT));
    EXPECT_EQ(PixelAt(list, 100, 10), gdi::GetSysColor(gdi::COLOR_WINDOW));
}

TEST_F(ListBoxTest, OwnerDrawnVariableItemsTakeTheirHeightsFromOnMeasureItem) {
    auto* list = Create<TListBox>(Form);
    list->SetStyle(lbOwnerDrawVariable);
    list->SetBounds(10, 10, 150, 100);
    list->OnMeasureItem = [](TWinControl*, int index, int& height) { height = 10 + 5 * index; };
    list->SetParent(Form);
    for (int i = 0; i < 3; ++i)
        list->Items()->Add("x");
    EXPECT_EQ(list->ItemRect(2).top, 10 + 15);
    EXPECT_EQ(list->ItemRect(2).bottom, 10 + 15 + 20);
}

TEST_F(ListBoxTest, MultipleSelectionReportsTheSelectedItems) {
    auto* list = AddList(4);
    list->SetMultiSelect(true);
    list->SetSelected(1, true);
    list->SetSelected(3, true);
    EXPECT_EQ(list->SelCount(), 2);
    EXPECT_TRUE(list->Selected(3));
    EXPECT_FALSE(list->Selected(0));
    EXPECT_THROW(list->Selected(9), EListError);
    list->SetMultiSelect(false);
    EXPECT_EQ(list->SelCount(), -1);
}

TEST_F(ListBoxTest, TheTopIndexAndTheBorderFollowTheProperties) {
    auto* list = AddList(30);
    list->SetTopIndex(10);
    EXPECT_EQ(list->TopIndex(), 10);
    EXPECT_NE(user::GetWindowExStyle(list->Handle()) & user::WS_EX_CLIENTEDGE, 0u);
    list->SetBorderStyle(bsNone);
    EXPECT_EQ(user::GetWindowExStyle(list->Handle()) & user::WS_EX_CLIENTEDGE, 0u);
    EXPECT_EQ(list->TopIndex(), 10);
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(ListBoxTest, ListPropertiesGoThroughFormText) {
    auto* list = AddList(3);
    list->SetName("History");
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(18);
    list->SetItemIndex(2);
    list->SetIntegralHeight(true);
    const std::string text = ExpectRoundTrip(list, Application);
    EXPECT_NE(text.find("Items.Strings = ("), std::string::npos) << text;
    EXPECT_NE(text.find("ItemIndex = 2"), std::string::npos);
    EXPECT_NE(text.find("ItemHeight = 18"), std::string::npos);
    EXPECT_NE(text.find("Style = lbOwnerDrawFixed"), std::string::npos);
    auto* plain = AddList(1);
    plain->SetName("Plain");
    EXPECT_EQ(ExpectRoundTrip(plain, Application).find("ItemHeight"), std::string::npos);
}

}

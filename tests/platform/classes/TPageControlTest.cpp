// TPageControl and TTabSheet: pages shown and hidden on switching by mouse, keys and code, OnChanging's veto,
// tab visibility, page order, tab positions and styles.
#include "support/ControlsTestKit.h"

#include "platform/classes/TImageList.h"
#include "platform/classes/TPageControl.h"
#include "platform/user/Focus.h"
#include "platform/user/Messages.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Window.h"
#include "platform/user/controls/TabControl.h"

#include <string>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class PageControlTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 400, 300);
        Pages = Create<TPageControl>(Form);
        Pages->SetBounds(10, 10, 300, 200);
        Pages->SetParent(Form);
        for (const char* caption : {"Node control", "Interface control", "Update control"}) {
            auto* sheet = Create<TTabSheet>(Form);
            sheet->SetCaption(caption);
            sheet->SetPageControl(Pages);
            Sheets.push_back(sheet);
        }
        Pages->OnChanging = [this](TObject*, bool& allow) {
            Events.push_back("changing " + std::to_string(Pages->ActivePageIndex()));
            allow = !Veto;
        };
        Pages->OnChange = [this](TObject*) { Events.push_back("change " + std::to_string(Pages->ActivePageIndex())); };
        Pump();
    }

    void ClickTab(int index) {
        TRect r = Pages->TabRect(index);
        TPoint p = At(Pages, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        Display->Click(p.x, p.y);
        Pump();
    }

    std::vector<bool> Shown() const {
        std::vector<bool> shown;
        for (TTabSheet* sheet : Sheets)
            shown.push_back(sheet->Visible());
        return shown;
    }

    TForm* Form = nullptr;
    TPageControl* Pages = nullptr;
    std::vector<TTabSheet*> Sheets;
    std::vector<std::string> Events;
    bool Veto = false;
};

TEST_F(PageControlTest, TheFirstPageIsActiveAndTheOthersHidden) {
    EXPECT_EQ(Pages->PageCount(), 3);
    EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
    EXPECT_EQ(Pages->TabIndex(), 0);
    EXPECT_EQ(Shown(), (std::vector<bool> {true, false, false}));
    EXPECT_EQ(Pages->TabCount(), 3);
    EXPECT_EQ(user::GetClassName(Pages->Handle()), "TPageControl");
}

TEST_F(PageControlTest, ClickingATabShowsItsPageAndReportsTheChange) {
    ClickTab(2);
    EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
    EXPECT_EQ(Shown(), (std::vector<bool> {false, false, true}));
    EXPECT_EQ(Events, (std::vector<std::string> {"changing 0", "change 2"}));
}

TEST_F(PageControlTest, OnChangingCanRefuseTheNewTab) {
    Veto = true;
    ClickTab(1);
    EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
    EXPECT_EQ(Pages->TabIndex(), 0);
    EXPECT_EQ(Shown(), (std::vector<bool> {true, false, false}));
    EXPECT_EQ(Events, (std::vector<std::string> {"changing 0"}));
}

TEST_F(PageControlTest, ArrowKeysOnTheTabsSwitchPages) {
    user::SetFocus(Pages->Handle());
    Display->Press(user::VK_RIGHT);
    Pump();
    EXPECT_EQ(Pages->ActivePage(), Sheets[1]);
    Display->Press(user::VK_END);
    Pump();
    EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
    EXPECT_EQ(Events.size(), 4u);
}

TEST_F(PageControlTest, SettingTheActivePageInCodeReportsNothing) {
    Pages->SetActivePage(Sheets[1]);
    EXPECT_EQ(Pages->TabIndex(), 1);
    EXPECT_EQ(Shown(), (std::vector<bool> {false, true, false}));
    Pages->SetActivePageIndex(2);
    EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
    EXPECT_TRUE(Events.empty());
    auto* stranger = Create<TTabSheet>(Form);
    Pages->SetActivePage(stranger);   // not one of ours
    EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
}

TEST_F(PageControlTest, SelectNextPageWrapsAndAsksFirst) {
    Pages->SetActivePage(Sheets[2]);
    Pages->SelectNextPage(true);
    EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
    Pages->SelectNextPage(false);
    EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
    EXPECT_EQ(Events, (std::vector<std::string> {"changing 2", "change 0", "changing 0", "change 2"}));
}

TEST_F(PageControlTest, AHiddenTabIsSkippedAndItsPageIsLeft) {
    Pages->SetActivePage(Sheets[1]);
    Sheets[1]->SetTabVisible(false);
    EXPECT_EQ(Pages->TabCount(), 2);
    EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
    EXPECT_EQ(Sheets[1]->TabIndex(), -1);
    EXPECT_EQ(Sheets[2]->TabIndex(), 1);
    ClickTab(0);
    EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
    EXPECT_EQ(Pages->FindNextPage(Sheets[0], true, true), Sheets[2]);
    EXPECT_EQ(Pages->FindNextPage(Sheets[0], true, false), Sheets[1]);
}

TEST_F(PageControlTest, PagesKeepTheirOrderAndCaptionsFollow) {
    Sheets[2]->SetPageIndex(0);
    EXPECT_EQ(Pages->Pages(0), Sheets[2]);
    EXPECT_EQ(Sheets[0]->PageIndex(), 1);
    Sheets[2]->SetCaption("Renamed");
    char text[32] {};
    user::TCITEM item;
    item.mask = user::TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    user::SendMessage(Pages->Handle(), user::TCM_GETITEM, 0, reinterpret_cast<user::LPARAM>(&item));
    EXPECT_STREQ(text, "Renamed");
}

TEST_F(PageControlTest, FreeingTheActivePageActivatesTheNext) {
    Pages->SetActivePage(Sheets[1]);
    delete Sheets[1];
    Sheets.erase(Sheets.begin() + 1);
    EXPECT_EQ(Pages->PageCount(), 2);
    EXPECT_EQ(Pages->ActivePage(), Sheets[1]);
    EXPECT_TRUE(Sheets[1]->Visible());
    EXPECT_EQ(Pages->TabCount(), 2);
}

// Sheets owned by the form and parented to the page control: whichever goes first, by delete or Free, the
// other side forgets it; sheets still on the control go with it.
TEST_F(PageControlTest, PageControlAndFormOwnedSheetsCanBeFreedInAnyOrder) {
    struct Order {
        const char* name;
        int freeFirst;   // sheets freed before the control, from the last one
        bool plainDelete;
    };
    for (Order order : {Order {"control by delete", 0, true}, Order {"control by Free", 0, false},
             Order {"one sheet, then control by delete", 1, true}, Order {"every sheet, then control", 3, false}}) {
        SCOPED_TRACE(order.name);
        auto* pages = Create<TPageControl>(Form);
        pages->SetBounds(10, 10, 200, 150);
        pages->SetParent(Form);
        std::vector<TTabSheet*> sheets;
        for (int i = 0; i < 3; ++i) {
            auto* sheet = Create<TTabSheet>(Form);
            sheet->SetCaption("Page " + std::to_string(i));
            sheet->SetPageControl(pages);
            sheets.push_back(sheet);
        }
        Pump();
        int before = Form->ComponentCount();
        for (int i = 0; i < order.freeFirst; ++i) {
            TTabSheet* sheet = sheets.back();
            sheets.pop_back();
            if (order.plainDelete) delete sheet;
            else sheet->Free();
        }
        EXPECT_EQ(pages->PageCount(), 3 - order.freeFirst);
        if (order.plainDelete) delete pages;
        else pages->Free();
        Pump();
        EXPECT_EQ(Form->ComponentCount(), before - 4);
    }
}

TEST_F(PageControlTest, PagesFillTheDisplayRectangle) {
    TRect display = Pages->DisplayRect();
    EXPECT_GT(display.top, 10);
    EXPECT_EQ(Sheets[0]->Left(), display.left);
    EXPECT_EQ(Sheets[0]->Top(), display.top);
    EXPECT_EQ(Sheets[0]->Width(), display.right - display.left);
    EXPECT_EQ(Sheets[0]->Height(), display.bottom - display.top);
}

TEST_F(PageControlTest, TabPositionsMoveTheTabsAndThePages) {
    struct {
        TTabPosition Position;
        bool Vertical;
    } cases[] = {{tpTop, false}, {tpBottom, false}, {tpLeft, true}, {tpRight, true}};
    for (const auto& c : cases) {
        Pages->SetTabPosition(c.Position);
        Pump();
        TRect tab = Pages->TabRect(0);
        TRect display = Pages->DisplayRect();
        switch (c.Position) {
        case tpTop:
            EXPECT_LT(tab.bottom, display.top);
            break;
        case tpBottom:
            EXPECT_GT(tab.top, display.bottom);
            break;
        case tpLeft:
            EXPECT_LT(tab.right, display.left);
            break;
        case tpRight:
            EXPECT_GT(tab.left, display.right);
            break;
        }
        EXPECT_EQ(tab.bottom - tab.top > tab.right - tab.left, c.Vertical) << c.Position;
        EXPECT_EQ(Pages->TabCount(), 3) << c.Position;   // the tabs came back with the new window
        EXPECT_EQ(Sheets[0]->Top(), display.top) << c.Position;
    }
}

TEST_F(PageControlTest, StylesAndFlagsReachTheNativeControl) {
    Pages->SetStyle(tsFlatButtons);
    Pages->SetHotTrack(true);
    Pages->SetMultiLine(true);
    Pages->SetOwnerDraw(true);
    user::DWORD style = user::GetWindowStyle(Pages->Handle());
    EXPECT_NE(style & user::TCS_BUTTONS, 0u);
    EXPECT_NE(style & user::TCS_FLATBUTTONS, 0u);
    EXPECT_NE(style & user::TCS_HOTTRACK, 0u);
    EXPECT_NE(style & user::TCS_MULTILINE, 0u);
    EXPECT_NE(style & user::TCS_OWNERDRAWFIXED, 0u);
    EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
}

TEST_F(PageControlTest, OwnerDrawnTabsCallOnDrawTab) {
    std::vector<std::pair<int, bool>> drawn;
    Pages->OnDrawTab = [&](TCustomTabControl* control, int index, const TRect&, bool active) {
        EXPECT_EQ(control, Pages);
        EXPECT_NE(control->Canvas()->Handle(), nullptr);
        drawn.push_back({index, active});
    };
    Pages->SetOwnerDraw(true);
    Pump();
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn.back(), std::make_pair(0, true));
}

TEST_F(PageControlTest, TabHeightAndWidthSizeTheTabs) {
    Pages->SetTabHeight(30);
    Pages->SetTabWidth(80);
    TRect tab = Pages->TabRect(1);
    EXPECT_EQ(tab.bottom - tab.top, 30);
    EXPECT_EQ(tab.right - tab.left, 80);
}

TEST_F(PageControlTest, ImagesGiveTheTabsTheirListAndAFreedListIsDropped) {
    auto* images = Create<TImageList>(Form);
    Pages->SetImages(images);
    EXPECT_EQ(reinterpret_cast<user::HIMAGELIST>(user::SendMessage(Pages->Handle(), user::TCM_GETIMAGELIST, 0, 0)),
        images->Handle());
    delete images;
    EXPECT_EQ(Pages->Images(), nullptr);
    EXPECT_EQ(user::SendMessage(Pages->Handle(), user::TCM_GETIMAGELIST, 0, 0), 0);
}

TEST_F(PageControlTest, ManyTabsOnOneLineScrollWithTheNativeArrows) {
    for (int i = 0; i < 8; ++i) {
        auto* sheet = Create<TTabSheet>(Form);
        sheet->SetCaption("Extra page " + std::to_string(i));
        sheet->SetPageControl(Pages);
    }
    user::HWND scroller = user::GetDlgItem(Pages->Handle(), user::TabScrollerId);
    ASSERT_NE(scroller, nullptr);
    EXPECT_EQ(user::GetClassName(scroller), "msctls_updown32");
    // The scroller's WM_HSCROLL reaches the native control through the wrapper.
    user::SendMessage(Pages->Handle(), user::WM_HSCROLL, user::MAKEWPARAM(user::SB_THUMBPOSITION, 2),
        reinterpret_cast<user::LPARAM>(scroller));
    EXPECT_LT(Pages->TabRect(1).right, 5);
    EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
}

}

// TToolBar and TToolButton: buttons laid out by the native bar, clicks reaching OnClick, check groups,
// images, edges and the custom-draw events in their order.
#include "support/ControlsTestKit.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TToolBar.h"
#include "platform/user/Painting.h"
#include "platform/user/Messages.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ToolBar.h"

#include <string>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

class ToolBarTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 400, 300);
        Bar = Create<TToolBar>(Form);
        Bar->SetParent(Form);
    }

    TToolButton* Add(const std::string& name, TToolButtonStyle style = tbsButton) {
        auto* button = Create<TToolButton>(Form);
        button->SetName(name);
        button->SetStyle(style);
        button->SetParent(Bar);
        button->OnClick = [this, button](TObject* sender) {
            EXPECT_EQ(sender, button);
            Clicks.push_back(button->Name());
        };
        return button;
    }

    void ClickOn(TToolButton* button) {
        TPoint p = At(Bar, button->Left() + button->Width() / 2, button->Top() + button->Height() / 2);
        Display->Click(p.x, p.y);
        Pump();
    }

    TForm* Form = nullptr;
    TToolBar* Bar = nullptr;
    std::vector<std::string> Clicks;
};

TEST_F(ToolBarTest, ButtonsTakeTheirPlacesFromTheNativeBar) {
    TToolButton* open = Add("Open");
    TToolButton* sep = Add("Sep", tbsSeparator);
    TToolButton* save = Add("Save");
    EXPECT_EQ(Bar->Align(), alTop);
    EXPECT_EQ(Bar->ButtonCount(), 3);
    EXPECT_EQ(save->Index(), 2);
    EXPECT_EQ(open->Left(), 0);
    EXPECT_EQ(open->Width(), 23);
    EXPECT_EQ(open->Height(), 22);
    EXPECT_EQ(sep->Left(), 23);
    EXPECT_EQ(sep->Width(), 8);
    EXPECT_EQ(save->Left(), 31);
    Bar->SetButtonWidth(40);
    EXPECT_EQ(save->Left(), 48);
    EXPECT_EQ(user::SendMessage(Bar->Handle(), user::TB_BUTTONCOUNT, 0, 0), 3);
}

TEST_F(ToolBarTest, AClickRunsTheButtonsOnClickOnce) {
    Add("Open");
    TToolButton* refresh = Add("Refresh");
    ClickOn(refresh);
    EXPECT_EQ(Clicks, std::vector<std::string> {"Refresh"});
}

TEST_F(ToolBarTest, DisabledButtonsDoNotClick) {
    TToolButton* options = Add("Options");
    options->SetEnabled(false);
    EXPECT_FALSE(user::SendMessage(Bar->Handle(), user::TB_ISBUTTONENABLED, 1, 0));
    ClickOn(options);
    EXPECT_TRUE(Clicks.empty());
    options->SetEnabled(true);
    ClickOn(options);
    EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(ToolBarTest, CheckButtonsKeepDownAndGroupsKeepOneDown) {
    TToolButton* a = Add("A", tbsCheck);
    TToolButton* b = Add("B", tbsCheck);
    a->SetGrouped(true);
    b->SetGrouped(true);
    TToolButton* solo = Add("Solo", tbsCheck);
    ClickOn(solo);
    EXPECT_TRUE(solo->Down());
    ClickOn(solo);
    EXPECT_FALSE(solo->Down());
    ClickOn(a);
    EXPECT_TRUE(a->Down());
    ClickOn(b);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    ClickOn(b);
    EXPECT_TRUE(b->Down());   // a group without AllowAllUp keeps one down
    a->SetDown(true);
    EXPECT_FALSE(b->Down());
    EXPECT_TRUE(user::SendMessage(Bar->Handle(), user::TB_ISBUTTONCHECKED, 1, 0));
    EXPECT_FALSE(user::SendMessage(Bar->Handle(), user::TB_ISBUTTONCHECKED, 2, 0));
}

TEST_F(ToolBarTest, HiddenButtonsLeaveNoGap) {
    TToolButton* a = Add("A");
    TToolButton* b = Add("B");
    TToolButton* c = Add("C");
    b->SetVisible(false);
    EXPECT_EQ(c->Left(), a->Left() + a->Width());
}

TEST_F(ToolBarTest, FreeingAButtonTakesItOffTheBar) {
    Add("A");
    TToolButton* b = Add("B");
    TToolButton* c = Add("C");
    delete b;
    EXPECT_EQ(Bar->ButtonCount(), 2);
    EXPECT_EQ(c->Index(), 1);
    EXPECT_EQ(c->Left(), 23);
}

TEST_F(ToolBarTest, ButtonsLetTheBarTakeTheMouse) {
    TToolButton* a = Add("A");
    EXPECT_EQ(a->Perform(CM_HITTEST, 0, user::MAKELPARAM(3, 3)), 0);
}

TEST_F(ToolBarTest, ImagesAndCaptionsReachTheNativeButtons) {
    auto* images = Create<TImageList>(Form);
    auto* picture = new TBitmap;
    picture->SetSize(32, 16);
    images->Add(picture, nullptr);
    delete picture;
    TToolButton* a = Add("A");
    a->SetImageIndex(1);
    a->SetCaption("Refresh");
    Bar->SetImages(images);
    Bar->SetShowCaptions(true);
    EXPECT_EQ(reinterpret_cast<user::HIMAGELIST>(user::SendMessage(Bar->Handle(), user::TB_GETIMAGELIST, 0, 0)),
        images->Handle());
    char text[16] {};
    user::SendMessage(Bar->Handle(), user::TB_GETBUTTONTEXT, 1, reinterpret_cast<user::LPARAM>(text));
    EXPECT_STREQ(text, "Refresh");
    user::TBBUTTON native;
    user::SendMessage(Bar->Handle(), user::TB_GETBUTTON, 0, reinterpret_cast<user::LPARAM>(&native));
    EXPECT_EQ(native.iBitmap, 1);
    delete images;
    EXPECT_EQ(Bar->Images(), nullptr);
    EXPECT_EQ(user::SendMessage(Bar->Handle(), user::TB_GETIMAGELIST, 0, 0), 0);
}

TEST_F(ToolBarTest, EdgeBordersTakeRoomAroundTheButtons) {
    Bar->SetEdgeBorders(TEdgeBorders {ebTop, ebBottom});
    Bar->SetAutoSize(true);
    TToolButton* a = Add("A");
    Pump();
    TPoint client = Bar->ClientOrigin();
    user::RECT window = user::WindowRect(Bar->Handle());
    EXPECT_EQ(client.y - window.top, 2);
    EXPECT_EQ(Bar->Height(), a->Height() + 4);
}

TEST_F(ToolBarTest, CustomDrawEventsComeInPaintOrder) {
    Add("A");
    Add("Sep", tbsSeparator);
    TToolButton* b = Add("B", tbsCheck);
    b->SetDown(true);
    std::vector<std::string> order;
    Bar->OnAdvancedCustomDraw = [&](TToolBar* sender, const TRect&, TCustomDrawStage stage, bool& defaultDraw) {
        EXPECT_EQ(sender, Bar);
        EXPECT_NE(sender->Canvas()->Handle(), nullptr);
        order.push_back("bar " + std::to_string(stage));
        defaultDraw = true;
    };
    Bar->OnAdvancedCustomDrawButton = [&](TToolBar*, TToolButton* button, TCustomDrawState state,
                                          TCustomDrawStage stage, TTBCustomDrawFlags& flags, bool&) {
        order.push_back(button->Name() + " " + std::to_string(stage) + (state.Contains(cdsChecked) ? " checked" : ""));
        flags.Include(tbNoEdges);
    };
    Bar->Invalidate();
    Pump();
    std::vector<std::string> expected {"bar 2", "bar 3", "bar 0", "A 0", "A 1", "B 0 checked", "B 1 checked", "bar 1"};
    EXPECT_EQ(order, expected);
}

TEST_F(ToolBarTest, SimpleCustomDrawEventsAndSkippingTheDefault) {
    Add("A");
    TToolButton* b = Add("B");
    int bars = 0;
    std::vector<TToolButton*> buttons;
    Bar->OnCustomDraw = [&](TToolBar*, const TRect&, bool&) { ++bars; };
    Bar->OnCustomDrawButton = [&](TToolBar*, TToolButton* button, TCustomDrawState, bool& defaultDraw) {
        buttons.push_back(button);
        defaultDraw = button != b;
    };
    Bar->Invalidate();
    Pump();
    EXPECT_EQ(bars, 1);
    EXPECT_EQ(buttons.size(), 2u);
}


TEST_F(ToolBarTest, ADropdownMenuIsForgottenWhenFreedAndTheBarRepaintsWhenItCloses) {
    TToolButton* open = Add("Open", tbsDropDown);
    auto* menu = new TPopupMenu(Form);
    open->SetDropdownMenu(menu);
    EXPECT_EQ(open->DropdownMenu(), menu);
    Pump();
    Bar->Perform(CN_DROPDOWNCLOSED, 0, 0);
    EXPECT_TRUE(user::GetUpdateRect(Bar->Handle(), nullptr, false));
    menu->Free();
    EXPECT_EQ(open->DropdownMenu(), nullptr);
}

}

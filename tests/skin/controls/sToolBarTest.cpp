// TsToolBar on the headless display: button states by real mouse input, hot tracking rules, the drop-down
// part, disabled buttons, skin switches while shown and the plain bar.
#include "support/ControlsHost.h"
#include "support/ControlsKit.h"
#include "support/SkinControlsKit.h"
#include "support/SkinFixtures.h"
#include "tests/platform/user/support/MenuLoopSteps.h"

#include "platform/classes/Colors.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TMenu.h"
#include "platform/user/Menus.h"
#include "platform/user/WinPos.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/controls/ToolBar.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TReader.h"
#include "skin/controls/sControlClasses.h"
#include "skin/controls/sStatusBar.h"
#include "skin/controls/sToolBar.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class ToolBarTest : public ControlsTest {
protected:
    // A bar of: button, button, separator, check button, drop-down button, disabled button.
    TsToolBar* NewBar(bool flat = false) {
        auto* bar = Create<TsToolBar>(Form);
        bar->SetFlat(flat);
        bar->SetParent(Form);
        const TToolButtonStyle styles[] = {tbsButton, tbsButton, tbsSeparator, tbsCheck, tbsDropDown, tbsButton};
        for (TToolButtonStyle style : styles) {
            auto* b = Create<TToolButton>(Form);
            b->SetStyle(style);
            b->SetParent(bar);
            b->OnClick = [this, b](TObject*) { ++Clicks[b->Index()]; };
        }
        bar->Buttons(5)->SetEnabled(false);
        Pump();
        return bar;
    }
    TPoint Centre(TsToolBar* bar, int index) {
        const TRect r = bar->ButtonRect(index);
        return TPoint {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // The button's pixels on the screen.
    std::vector<gdi::COLORREF> Look(TsToolBar* bar, int index) {
        const TRect r = bar->ButtonRect(index);
        std::vector<gdi::COLORREF> px;
        for (int y = r.top; y < r.bottom; y += 2)
            for (int x = r.left; x < r.right; x += 2)
                px.push_back(ScreenPixel(bar, x, y));
        return px;
    }
    // Runs the steps one per idle turn of a menu loop; the menu is ended when they run out.
    static void Steps(std::deque<std::function<void()>> steps) { user::test::MenuLoopSteps(std::move(steps)); }
    void TearDown() override {
        user::SetMenuLoopIdleHook(nullptr);
        ControlsTest::TearDown();
    }
    std::map<int, int> Clicks;
};

// A hot button's caption is written in the tool bar's own section colours (the hot font colour).
TEST_F(ToolBarTest, AHotButtonsCaptionTakesTheToolBarsHotFontColour) {
    for (int skin = 0; skin < 4; ++skin) {
        UseSkin(skin);
        TsToolBar* bar = NewBar();
        bar->SetShowCaptions(true);
        bar->Buttons(0)->SetCaption("WWWW");
        Pump();
        ASSERT_TRUE(PaintsSkinned(bar->SkinData()));
        const TColor barHot = ColorToRGB(Manager->Sections[std::size_t(bar->SkinData()->SkinIndex)].HotFontColor[1]);
        const TPoint c = Centre(bar, 0);
        MoveTo(bar, c.x, c.y);
        ASSERT_EQ(bar->HotButton(), 0);
        bool found = false;
        const TRect r = bar->ButtonRect(0);
        for (int y = r.top; y < r.bottom && !found; ++y)
            for (int x = r.left; x < r.right && !found; ++x)
                found = ScreenPixel(bar, x, y) == gdi::COLORREF(barHot);
        EXPECT_TRUE(found) << skin;
        MoveTo(Form, 300, 200);
        bar->Free();
        Pump();
    }
}

TEST_F(ToolBarTest, ButtonsTurnHotAndPressedByTheMouseAndClickOncePerPress) {
    UseSkin(0);
    TsToolBar* bar = NewBar();
    ASSERT_TRUE(PaintsSkinned(bar->SkinData()));
    const auto normal = Look(bar, 0);
    EXPECT_EQ(Look(bar, 1), normal);

    const TPoint c = Centre(bar, 0);
    MoveTo(bar, c.x, c.y);
    EXPECT_EQ(bar->HotButton(), 0);
    const auto hot = Look(bar, 0);
    EXPECT_NE(hot, normal);
    EXPECT_EQ(Look(bar, 1), normal);

    DownAt(bar, c.x, c.y);
    const auto pressed = Look(bar, 0);
    EXPECT_NE(pressed, normal);
    EXPECT_NE(pressed, hot);
    UpAt(bar, c.x, c.y);
    EXPECT_EQ(Clicks[0], 1);
    EXPECT_EQ(Look(bar, 0), hot);

    const TPoint d = Centre(bar, 1);
    MoveTo(bar, d.x, d.y);
    EXPECT_EQ(bar->HotButton(), 1);
    EXPECT_EQ(Look(bar, 0), normal);   // the old hot button is drawn normal again

    MoveTo(Form, 300, 200);   // off the bar
    EXPECT_EQ(bar->HotButton(), -1);
    EXPECT_EQ(Look(bar, 1), normal);
}

TEST_F(ToolBarTest, SeparatorsAndDisabledButtonsAreNeverHotAndFlatBarsLeaveHotToTheNativeBar) {
    UseSkin(1);
    TsToolBar* bar = NewBar();
    const TPoint sep = Centre(bar, 2);
    EXPECT_EQ(bar->ButtonAtPoint(sep), -1);
    const TPoint a = Centre(bar, 0);
    MoveTo(bar, a.x, a.y);
    MoveTo(bar, sep.x, sep.y);
    EXPECT_EQ(bar->HotButton(), -1);
    MoveTo(bar, a.x, a.y);
    const TPoint off = Centre(bar, 5);
    MoveTo(bar, off.x, off.y);
    EXPECT_EQ(bar->HotButton(), 0);   // a disabled button does not take the hot state over

    TsToolBar* flat = NewBar(true);
    flat->SetTop(60);
    Pump();
    const TPoint f = Centre(flat, 0);
    const auto normal = Look(flat, 0);
    MoveTo(flat, f.x, f.y);
    EXPECT_EQ(flat->HotButton(), -1);
    EXPECT_NE(Look(flat, 0), normal);   // hot all the same, from the native hot item
}

TEST_F(ToolBarTest, ADownButtonKeepsItsPressedLookWhenTheMouseLeaves) {
    UseSkin(2);
    TsToolBar* bar = NewBar();
    const auto normal = Look(bar, 0);
    const TPoint c = Centre(bar, 3);
    ClickAt(bar, c.x, c.y);
    ASSERT_TRUE(bar->Buttons(3)->Down());
    EXPECT_EQ(Clicks[3], 1);
    const auto down = Look(bar, 3);
    const TPoint a = Centre(bar, 0);
    MoveTo(bar, a.x, a.y);
    EXPECT_EQ(Look(bar, 3), down);
    EXPECT_NE(down, normal);
}

TEST_F(ToolBarTest, TheDropDownPartShowsPressedWhileItsMenuIsOpenAndNormalAfterItCloses) {
    UseSkin(3);
    TsToolBar* bar = NewBar();
    auto* menu = Create<TPopupMenu>(Form);
    auto* item = Create<TMenuItem>(Form);
    item->SetCaption("First");
    menu->Items()->Add(item);
    bar->Buttons(4)->SetDropdownMenu(menu);
    const auto before = Look(bar, 4);
    const TRect r = bar->ButtonRect(4);
    MoveTo(bar, r.right - 3, (r.top + r.bottom) / 2);
    const auto hot = Look(bar, 4);

    // A real press on the arrow part pops the menu up under the button; its loop runs these steps.
    TToolButton* open = nullptr;
    std::vector<gdi::COLORREF> whileOpen;
    user::RECT menuRect {};
    Steps({[&] {
               user::FlushDisplay();
               open = bar->DropDownButton();
               whileOpen = Look(bar, 4);
               user::GetWindowRect(user::GetOpenMenuWindow(0), &menuRect);
           },
        [&] { Display->Press(user::VK_ESCAPE); }});
    DownAt(bar, r.right - 3, (r.top + r.bottom) / 2);
    UpAt(bar, r.right - 3, (r.top + r.bottom) / 2);
    EXPECT_EQ(open, bar->Buttons(4));
    EXPECT_NE(whileOpen, before);
    EXPECT_NE(whileOpen, hot);
    const TPoint under = bar->ClientToScreen(TPoint {r.left, r.bottom});
    EXPECT_EQ(menuRect.left, under.x);
    EXPECT_EQ(menuRect.top, under.y);
    EXPECT_EQ(Clicks[4], 0);   // the arrow part opens the menu; it does not click the button

    // CN_DROPDOWNCLOSED reset the states: off the bar, the button looks as before.
    EXPECT_EQ(bar->DropDownButton(), nullptr);
    EXPECT_EQ(bar->HotButton(), -1);
    MoveTo(Form, 300, 200);
    EXPECT_EQ(Look(bar, 4), before);
}

// A button repainted for the mouse is drawn from its hot flag alone, whatever state the native bar holds for it.
TEST_F(ToolBarTest, AButtonRepaintedForTheMouseShowsItsHotLookOverTheNativeState) {
    UseSkin(0);
    TsToolBar* bar = NewBar();
    const TPoint c = Centre(bar, 1);
    MoveTo(bar, c.x, c.y);
    const auto hot = Look(bar, 1);
    MoveTo(Form, 290, 190);
    const auto normal = Look(bar, 1);
    ASSERT_NE(hot, normal);
    user::SendMessage(bar->Handle(), user::TB_PRESSBUTTON, 2, 1);   // the native state of button 1: pressed
    Pump();
    ASSERT_NE(Look(bar, 1), normal);
    MoveTo(bar, c.x, c.y);
    EXPECT_EQ(bar->HotButton(), 1);
    EXPECT_EQ(Look(bar, 1), hot);
}

// A separator between buttons shows the bar's own picture each time the bar paints.
TEST_F(ToolBarTest, ASeparatorShowsTheBarsPictureAfterARepaint) {
    UseSkin(0);
    TsToolBar* bar = NewBar();
    const TPoint c = Centre(bar, 2);
    const gdi::COLORREF before = ScreenPixel(bar, c.x, c.y);
    ASSERT_NE(before, gdi::COLORREF(0x00FF00));
    ScribbleOver(bar);
    bar->Invalidate();
    Pump();
    EXPECT_EQ(ScreenPixel(bar, c.x, c.y), before);
}

TEST_F(ToolBarTest, ADropDownButtonWithoutAMenuNeverShowsItsArrowPressed) {
    UseSkin(3);
    TsToolBar* bar = NewBar();
    const auto before = Look(bar, 4);
    user::NMTOOLBAR nm;
    nm.hdr.code = user::TBN_DROPDOWN;
    nm.iItem = 4 + 1;
    bar->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    user::FlushDisplay();   // drawn at once, outside a paint
    EXPECT_EQ(bar->DropDownButton(), bar->Buttons(4));
    EXPECT_EQ(Look(bar, 4), before);
    EXPECT_FALSE(user::InMenuLoop());

    const TRect r = bar->ButtonRect(4);
    ClickAt(bar, r.right - 3, (r.top + r.bottom) / 2);   // a real press on the arrow part
    MoveTo(Form, 300, 200);
    EXPECT_EQ(Look(bar, 4), before);
}

TEST_F(ToolBarTest, DisabledButtonsGetTheDisabledLook) {
    UseSkin(0);
    TsToolBar* bar = NewBar();
    EXPECT_NE(Look(bar, 5), Look(bar, 0));
    const TPoint c = Centre(bar, 5);
    ClickAt(bar, c.x, c.y);
    EXPECT_EQ(Clicks[5], 0);
}

TEST_F(ToolBarTest, ASkinSwitchWhileShownRepaintsAndRemovingTheSkinGivesThePlainBar) {
    UseSkin(0);
    TsToolBar* bar = NewBar();
    const TRect r = bar->ButtonRect(5);
    const int x = r.right + 20, y = 5;   // bare bar, right of the buttons
    const gdi::COLORREF first = ScreenPixel(bar, x, y);
    const auto button = Look(bar, 0);
    UseSkin(3);
    EXPECT_TRUE(PaintsSkinned(bar->SkinData()));
    EXPECT_NE(Look(bar, 0), button);
    UseSkin(-1);
    EXPECT_FALSE(PaintsSkinned(bar->SkinData()));
    EXPECT_EQ(ScreenPixel(bar, x, y), gdi::COLORREF(ColorToRGB(clBtnFace)));
    (void)first;
    // The plain bar still clicks once per press.
    const TPoint c = Centre(bar, 0);
    ClickAt(bar, c.x, c.y);
    EXPECT_EQ(Clicks[0], 1);
}

TEST_F(ToolBarTest, CaptionsAndImagesAreDrawnOnTheButton) {
    UseSkin(1);
    TsToolBar* bar = NewBar();
    const auto plain = Look(bar, 0);
    EXPECT_EQ(Look(bar, 1), plain);   // no image, no caption: only the section
    TImageList* images = Create<TImageList>(Form);
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(16, 16);
    picture.Canvas()->Brush()->SetColor(0x0000FF);
    picture.Canvas()->FillRect(TRect {0, 0, 16, 16});
    images->AddMasked(&picture, clFuchsia);
    bar->SetImages(images);
    bar->Buttons(0)->SetImageIndex(0);
    Pump();
    const TPoint c = Centre(bar, 0);
    EXPECT_EQ(ScreenPixel(bar, c.x, c.y - 2), gdi::COLORREF(0x0000FF));
    bar->Buttons(1)->SetCaption("Go");
    bar->SetShowCaptions(true);
    Pump();
    EXPECT_NE(Look(bar, 1), Look(bar, 5));
}

}

namespace {

// The main window's bars as its form text writes them.
TEST_F(ToolBarTest, BothBarsAreReadFromFormText) {
    RegisterSkinControlClasses();
    RegisterClasses({TToolButton::StaticClass()});
    auto* form = Create<TForm>(Application);
    ReadRootComponent(form, R"(object MainForm: TForm
  Left = 20
  Top = 20
  Width = 500
  Height = 300
  object sToolBar1: TsToolBar
    AutoSize = True
    EdgeBorders = [ebTop, ebBottom]
    BtnDisabledKind = [dkGrayed]
    SkinData.SkinSection = 'TOOLBAR'
    object ToolButton1: TToolButton
      Caption = 'Options'
    end
    object ToolButton2: TToolButton
      Style = tbsDropDown
    end
  end
  object sStatusBar1: TsStatusBar
    Panels = <
      item
        Width = 320
      end
      item
        Width = 350
      end>
    SkinData.SkinSection = 'TOOLBAR'
  end
end
)");
    auto* tools = dynamic_cast<TsToolBar*>(form->FindComponent("sToolBar1"));
    auto* status = dynamic_cast<TsStatusBar*>(form->FindComponent("sStatusBar1"));
    ASSERT_NE(tools, nullptr);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(tools->SkinData()->SkinSection(), "TOOLBAR");
    EXPECT_EQ(tools->BtnDisabledKind(), TsDisabledKind {dkGrayed});
    EXPECT_EQ(tools->ButtonCount(), 2);
    EXPECT_EQ(tools->Buttons(1)->Style(), tbsDropDown);
    EXPECT_TRUE(bool(tools->OnAdvancedCustomDrawButton));   // the skin's handlers replace those of the text
    EXPECT_EQ(status->SkinData()->SkinSection(), "TOOLBAR");
    ASSERT_EQ(status->Panels()->Count(), 2);
    EXPECT_EQ(status->Panels()->Items(1)->Width(), 350);
}

}

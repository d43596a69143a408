// A sheet of status bars and tool bars in each of our four skins and without a skin, written as PNG pictures.
#include "support/ControlsHost.h"
#include "support/ControlsKit.h"
#include "support/SkinControlsKit.h"
#include "support/SkinFixtures.h"
#include "tests/platform/user/support/MenuLoopSteps.h"

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TMenu.h"
#include "platform/user/Menus.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/controls/ToolBar.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sStatusBar.h"
#include "skin/controls/sToolBar.h"
#include "skin/engine/sCommonData.h"

#include <algorithm>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class BarsSheet : public ControlsTest, public ::testing::WithParamInterface<int> { };

TsToolBar* NewToolBar(TForm* form, TWinControl* parent, int top, bool captions, TImageList* images) {
    auto* bar = Create<TsToolBar>(form);
    bar->SetAlign(alNone);
    bar->SetShowCaptions(captions);
    bar->SetImages(images);
    bar->SetAutoSize(true);
    if (captions) {
        bar->SetButtonWidth(50);
        bar->SetButtonHeight(38);
    }
    bar->SetEdgeBorders(TEdgeBorders {ebTop, ebBottom});
    bar->SetBounds(0, top, 420, 30);
    bar->SetParent(parent);
    const TToolButtonStyle styles[] = {tbsButton, tbsButton, tbsSeparator, tbsCheck, tbsDropDown, tbsButton, tbsButton};
    const char* captionsText[] = {"Open", "Hot", "", "Down", "Menu", "Off", "Plain"};
    for (int i = 0; i < 7; ++i) {
        auto* b = Create<TToolButton>(form);
        b->SetStyle(styles[i]);
        b->SetCaption(captionsText[i]);
        b->SetImageIndex(i < 6 ? i % 4 : -1);
        b->SetParent(bar);
    }
    bar->Buttons(3)->SetDown(true);
    bar->Buttons(5)->SetEnabled(false);
    return bar;
}

TEST_P(BarsSheet, StatusAndToolBarsInEveryState) {
    const int which = GetParam();
    UseSkin(which);
    Form->SetClientWidth(420);
    Form->SetClientHeight(250);
    auto* back = Create<TsPanel>(Form);
    back->SetBounds(0, 0, 420, 250);
    back->SetCaption("");
    back->SetParent(Form);
    auto* images = Create<TImageList>(Form);
    for (TColor c : {TColor(0x2040E0), TColor(0x20A020), TColor(0xE06020), TColor(0x20C0E0)})
        AddDiscImage(images, c);
    TsToolBar* plain = NewToolBar(Form, back, 0, false, images);
    TsToolBar* captioned = NewToolBar(Form, back, 36, true, images);

    auto* status = Create<TsStatusBar>(Form);
    status->SetAlign(alNone);
    status->SetBounds(0, 120, 420, 22);
    for (auto [w, text] : {std::pair {150, "Ready: 12 nodes, 3 running"}, std::pair {120, "Totals 1234567 points and a long tail"},
             std::pair {100, "Last"}}) {
        TStatusPanel* p = status->Panels()->Add();
        p->SetWidth(w);
        p->SetText(text);
    }
    status->Panels()->Items(2)->SetAlignment(taRightJustify);
    status->SetParent(back);
    auto* simple = Create<TsStatusBar>(Form);
    simple->SetAlign(alNone);
    simple->SetBounds(0, 150, 420, 22);
    simple->SetSimplePanel(true);
    simple->SetSimpleText("Simple text across the whole bar");
    simple->SetSizeGrip(false);
    simple->SetParent(back);
    auto* drawn = Create<TsStatusBar>(Form);
    drawn->SetAlign(alNone);
    drawn->SetBounds(0, 180, 420, 22);
    drawn->Panels()->Add()->SetWidth(200);
    drawn->Panels()->Items(0)->SetText("Owner-drawn next:");
    drawn->Panels()->Add()->SetStyle(psOwnerDraw);
    drawn->OnDrawPanel = [](TStatusBar* sender, TStatusPanel*, const TRect& r) {
        sender->Canvas()->Brush()->SetColor(0x60C060);
        sender->Canvas()->FillRect(TRect {r.left + 4, r.top + 4, r.left + 60, r.bottom - 4});
    };
    drawn->SetParent(back);
    auto* bordered = Create<TsStatusBar>(Form);
    bordered->SetAlign(alNone);
    bordered->SetBounds(0, 210, 420, 30);
    bordered->SetBorderWidth(4);
    bordered->Panels()->Add()->SetWidth(200);
    bordered->Panels()->Items(0)->SetText("Border width 4");
    bordered->Panels()->Add()->SetText("Grip inside the border");
    bordered->SetParent(back);
    Pump();
    ParentsUpdated(Form);
    Pump();

    const TRect hr = plain->ButtonRect(1);
    MoveTo(plain, (hr.left + hr.right) / 2, (hr.top + hr.bottom) / 2);   // the first bar's button 1 hot by the mouse
    // The second bar's first button held down, as the native bar marks a press.
    user::SendMessage(captioned->Handle(), user::TB_PRESSBUTTON, 1, 1);
    Pump();
    // The first bar's drop-down opened by a press on its arrow; the picture is taken while its menu is open.
    auto* menu = Create<TPopupMenu>(Form);
    for (const char* text : {"Refresh", "Options"}) {
        auto* item = Create<TMenuItem>(Form);
        item->SetCaption(text);
        menu->Items()->Add(item);
    }
    plain->Buttons(4)->SetDropdownMenu(menu);
    const TPoint origin = Form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT r {origin.x, origin.y, origin.x + 420, origin.y + 250};
    bool written = false;
    user::test::MenuLoopSteps({[&] {
        user::FlushDisplay();
        written = Display->WriteScreenshotPng(PictureDir() + "/Bars_" + SkinShortName(which) + ".png", &r);
    }});
    const TRect dr = plain->ButtonRect(4);
    DownAt(plain, dr.right - 3, (dr.top + dr.bottom) / 2);
    UpAt(plain, dr.right - 3, (dr.top + dr.bottom) / 2);
    user::SetMenuLoopIdleHook(nullptr);
    ASSERT_TRUE(written);
    EXPECT_EQ(PaintsSkinned(status->SkinData()), which >= 0);
    // The picture showed the panels' texts and the owner-drawn panel's green.
    EXPECT_GE(Strokes(bordered, 5), 40) << SkinShortName(which);
    EXPECT_GE(Strokes(status), 40) << SkinShortName(which);
    const std::vector<gdi::COLORREF> drawnPixels = ScreenPixels(drawn, TRect {0, 0, drawn->Width(), drawn->Height()});
    EXPECT_GT(std::count(drawnPixels.begin(), drawnPixels.end(), gdi::RGB(0x60, 0xC0, 0x60)), 50) << SkinShortName(which);
    EXPECT_EQ(PaintsSkinned(plain->SkinData()), which >= 0);
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, BarsSheet, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

}

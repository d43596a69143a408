// Pictures of skinned forms in each of our skins and without one: a sizeable window with controls, a
// dialog-style window with a help button and a tool window, side by side; written to Forms_<skin>.png.
#include "support/WindowsKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TMenu.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"

namespace korvex::skin::wintest {
namespace {

using namespace korvex::classes;

class FormsPicture : public FormsTest, public ::testing::WithParamInterface<int> { };

TEST_P(FormsPicture, MainDialogAndToolWindowsInOneSheet) {
    const int which = GetParam();
    UseSkin(which);
    Form->Hide();
    TForm* main = NewSkinnedForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize}, 320, 150, 20, 20);
    main->SetCaption("KORVEX: farm monitor");
    auto* menu = Create<TMainMenu>(main);
    for (const char* caption : {"&File", "&Options", "&Help"}) {
        auto* item = Create<TMenuItem>(menu);
        item->SetCaption(caption);
        menu->Items()->Add(item);
    }
    main->SetMenuComponent(menu);
    main->SetClientHeight(150);   // the bar took its room from the client area
    auto* panel = Create<TsPanel>(main);
    panel->SetParent(main);
    panel->SetBounds(10, 10, 300, 100);
    panel->SetCaption("Node 0: 74%");
    auto* button = Create<TsButton>(main);
    button->SetParent(main);
    button->SetBounds(225, 118, 85, 28);
    button->SetCaption("Refresh");

    TForm* dialog = NewSkinnedForm(bsDialog, {biSystemMenu, biHelp}, 220, 90, 370, 20);
    dialog->SetCaption("Options");
    auto* ok = Create<TsButton>(dialog);
    ok->SetParent(dialog);
    ok->SetBounds(125, 52, 85, 28);
    ok->SetCaption("OK");

    TForm* tool = NewSkinnedForm(bsToolWindow, {biSystemMenu}, 220, 60, 370, 160);
    tool->SetCaption("Speed per core");
    Pump();
    // The main window active with its maximize button hot; the other two inactive.
    main->SetFocus();
    Pump();
    if (which >= 0) {
        const TPoint hot = CentreOf(main, ProviderOf(main)->CaptionButton(cbMaximize).Rect);
        Display->MoveMouse(hot.x, hot.y);
        Pump();
        EXPECT_EQ(ProviderOf(main)->CaptionButton(cbMaximize).State, 1);
    }
    for (TForm* f : {main, dialog, tool})
        EXPECT_EQ(ProviderOf(f)->SkinData()->Skinned(), which >= 0);
    const gdi::RECT r {10, 10, 610, 250};
    ASSERT_TRUE(Display->WriteScreenshotPng(WindowsPictureDir() + "/Forms_" + ctltest::SkinShortName(which) + ".png", &r));
    // The picture shows the panel's caption and the buttons' on their faces.
    for (const TControl* control : std::initializer_list<const TControl*> {panel, button, ok})
        EXPECT_GE(Strokes(control, 4), 20) << control->ClassName() << " in " << ctltest::SkinShortName(which);
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, FormsPicture, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return ctltest::SkinShortName(info.param); });

}
}

// A sheet of skinned push buttons in every state, per skin and unskinned, written as PNG.
#include "support/ControlsKit.h"

#include "platform/classes/TForm.h"
#include "skin/controls/sButton.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class ButtonsPicture : public ControlsTest, public ::testing::WithParamInterface<int> { };

TEST_P(ButtonsPicture, ButtonsInEveryStateArePainted) {
    UseSkin(GetParam());
    const char* captions[] = {"Normal", "Focused", "Down", "Disabled"};
    TsButton* buttons[4];
    for (int i = 0; i < 4; ++i) {
        buttons[i] = Create<TsButton>(Form);
        buttons[i]->SetBounds(10 + i * 86, 10, 80, 28);
        buttons[i]->SetCaption(captions[i]);
        buttons[i]->SetParent(Form);
    }
    Pump();
    buttons[1]->SetFocus();
    buttons[2]->SetDown(true);
    buttons[3]->SetEnabled(false);
    Pump();
    const TPoint origin = Form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT r {origin.x, origin.y, origin.x + 360, origin.y + 48};
    ASSERT_TRUE(Display->WriteScreenshotPng(PictureDir() + "/Buttons_" + SkinShortName(GetParam()) + ".png", &r));
    if (GetParam() >= 0) {
        EXPECT_NE(ScreenPixel(buttons[2], 40, 3), ScreenPixel(buttons[0], 40, 3));   // Down is drawn by the skin
    }
}

INSTANTIATE_TEST_SUITE_P(SkinsAndNone, ButtonsPicture, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

}

// A sheet of bit buttons, speed buttons, check boxes and radio buttons in every state, per skin and
// unskinned, written as PNG.
#include "support/ControlsKit.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TForm.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sCheckBox.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sRadioButton.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/engine/sCommonData.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

// A 16 x 16 glyph: a green disc with a dark rim on the transparent key colour.
void MakeGlyph(TBitmap& glyph) {
    glyph.SetSize(16, 16);
    TCanvas* c = glyph.Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(TRect {0, 0, 16, 16});
    c->Brush()->SetColor(TColor(0x2E8B57));
    c->Pen()->SetColor(TColor(0x1B4D2E));
    c->Ellipse(1, 1, 15, 15);
}

class CheckButtonsPicture : public ControlsTest, public ::testing::WithParamInterface<int> {
protected:
    // Shown as if the mouse were over it: only one control can have the real mouse.
    static void ShowHot(TControl* control, TsCommonData* data) {
        data->MouseAbove = true;
        data->BGChanged = true;
        control->Invalidate();
    }
};

TEST_P(CheckButtonsPicture, EveryStateIsPainted) {
    UseSkin(GetParam());
    Form->SetBounds(0, 0, 470, 250);
    TBitmap glyph;
    MakeGlyph(glyph);
    // On a skinned panel, as in the program's windows: the captions' colours are made for the skin's ground.
    auto* ground = Create<TsPanel>(Form);
    ground->SetBounds(0, 0, 470, 210);
    ground->SetCaption("");
    ground->SetParent(Form);
    const char* states[] = {"Normal", "Hot", "Down", "Focused", "Disabled"};
    TsBitBtn* bit[5];
    for (int i = 0; i < 5; ++i) {
        bit[i] = Create<TsBitBtn>(Form);
        bit[i]->SetBounds(8 + i * 90, 8, 84, 30);
        bit[i]->SetCaption(states[i]);
        bit[i]->SetGlyph(&glyph);
        bit[i]->SetParent(ground);
    }
    TsSpeedButton* speed[7];
    const char* speedCaptions[] = {"Normal", "Hot", "Down", "Menu", "Off", "", ""};
    for (int i = 0; i < 7; ++i) {
        speed[i] = Create<TsSpeedButton>(Form);
        speed[i]->SetBounds(8 + i * 66, 48, 60, 26);
        speed[i]->SetCaption(speedCaptions[i]);
        speed[i]->SetParent(ground);
    }
    speed[2]->SetGroupIndex(1);
    speed[2]->SetDown(true);
    speed[3]->SetWidth(44);
    speed[3]->SetButtonStyle(tbsDropDown);
    speed[4]->SetEnabled(false);
    speed[5]->SetGlyph(&glyph);
    speed[6]->SetButtonStyle(tbsDivider);
    const char* checkCaptions[] = {"Unchecked", "Checked", "Grayed", "Hot", "Focused", "Disabled"};
    TsCheckBox* check[6];
    for (int i = 0; i < 6; ++i) {
        check[i] = Create<TsCheckBox>(Form);
        check[i]->SetBounds(8 + (i % 3) * 150, 86 + (i / 3) * 28, 140, 22);
        check[i]->SetCaption(checkCaptions[i]);
        check[i]->SetParent(ground);
    }
    check[1]->SetChecked(true);
    check[2]->SetAllowGrayed(true);
    check[2]->SetState(cbGrayed);
    check[4]->SetChecked(true);
    check[5]->SetChecked(true);
    check[5]->SetEnabled(false);
    const char* radioCaptions[] = {"Unchecked", "Checked", "Hot", "Disabled"};
    TsRadioButton* radio[4];
    for (int i = 0; i < 4; ++i) {
        radio[i] = Create<TsRadioButton>(Form);
        radio[i]->SetBounds(8 + (i % 2) * 150, 150 + (i / 2) * 28, 140, 22);
        radio[i]->SetCaption(radioCaptions[i]);
        radio[i]->SetParent(ground);
    }
    radio[1]->SetChecked(true);
    radio[3]->SetEnabled(false);
    Pump();
    for (TsCheckBox* c : check) c->AdjustSize();
    for (TsRadioButton* r : radio) r->AdjustSize();
    bit[2]->SetDown(true);
    bit[4]->SetEnabled(false);
    bit[3]->SetFocus();
    Pump();
    check[4]->SetFocus();
    bit[3]->SetFocus();
    Pump();
    ShowHot(bit[1], bit[1]->SkinData());
    ShowHot(speed[1], speed[1]->SkinData());
    ShowHot(check[3], check[3]->SkinData());
    ShowHot(radio[2], radio[2]->SkinData());
    Pump();
    const TPoint origin = Form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT r {origin.x, origin.y, origin.x + 470, origin.y + 210};
    ASSERT_TRUE(Display->WriteScreenshotPng(
        PictureDir() + "/CheckButtons_" + SkinShortName(GetParam()) + ".png", &r));
    if (GetParam() >= 0) {
        const TRect g = check[1]->GlyphRect();
        const TRect u = check[0]->GlyphRect();
        EXPECT_NE(ScreenPixel(check[1], (g.left + g.right) / 2, (g.top + g.bottom) / 2),
            ScreenPixel(check[0], (u.left + u.right) / 2, (u.top + u.bottom) / 2));   // the box images differ
    }
}

INSTANTIATE_TEST_SUITE_P(SkinsAndNone, CheckButtonsPicture, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

}

// A sheet of the skinned controls in each of our four skins and without a skin, written as PNG pictures.
#include "support/ControlsHost.h"
#include "support/SkinControlsKit.h"
#include "support/SkinFixtures.h"

#include "platform/classes/TStringList.h"
#include "skin/controls/sGauge.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sScrollBox.h"
#include "skin/controls/sSplitter.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sSkinManager.h"

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class ControlsSheet : public SkinControlsTest, public ::testing::WithParamInterface<int> { };

TEST_P(ControlsSheet, EveryControlInEveryStatePaints) {
    const int which = GetParam();
    TForm* form = NewForm(420, 340);
    test::ManagerHost host;
    if (which >= 0) controlstest::LoadOurSkin(*host.NewManager(), which);
    auto* back = Create<TsPanel>(form);
    back->SetBounds(0, 0, 420, 340);
    back->SetCaption("");
    back->SetParent(form);
    auto* bar = Create<TsDragBar>(form);
    bar->SetCaption("Drag bar");
    bar->SetParent(back);
    auto* panel = Create<TsPanel>(form);
    panel->SetBounds(10, 30, 120, 40);
    panel->SetCaption("Panel caption");
    panel->SetParent(back);
    auto* disabled = Create<TsPanel>(form);
    disabled->SetBounds(10, 76, 120, 40);
    disabled->SetCaption("Disabled");
    disabled->SetEnabled(false);
    disabled->SetParent(back);
    auto* grid = Create<TsColorsPanel>(form);
    grid->SetBounds(140, 30, 140, 60);
    TStringList colors;
    for (const char* c : {"0000FF", "00FF00", "FF0000", "00FFFF", "FF00FF", "808080", "000000"})
        colors.Add(c);
    grid->SetColors(&colors);
    grid->SetParent(back);
    grid->SetItemIndex(2);
    auto* grip = Create<TsGrip>(form);
    grip->SetBounds(390, 310, 20, 20);
    grip->SetParent(back);
    const TsGaugeKind kinds[] = {gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle, gkText};
    for (int i = 0; i < 5; ++i) {
        auto* g = Create<TsGauge>(form);
        g->SetBounds(10 + i * 56, 124, 50, kinds[i] == gkVerticalBar ? 60 : 30);
        g->SetKind(kinds[i]);
        g->SetForeColor(0xFFFF00 * (i % 2) + 0x2060C0 * ((i + 1) % 2));
        g->SetProgress(i * 22 + 10);
        g->SetParent(back);
    }
    auto* wide = Create<TsGauge>(form);
    wide->SetBounds(10, 192, 270, 18);
    wide->SetSuffix(" pts");
    wide->SetParent(back);
    auto* box = Create<TsScrollBox>(form);
    box->SetBounds(290, 30, 120, 190);
    box->SetParent(back);
    for (int i = 0; i < 8; ++i) {
        auto* row = Create<TsPanel>(form);
        row->SetBounds(0, i * 28, 100, 28);
        row->SetCaption("Row " + std::to_string(i));
        row->SetParent(box);
    }
    auto* group = Create<TsGroupBox>(form);
    group->SetBounds(10, 222, 200, 108);
    group->SetCaption("Group box");
    group->SetParent(back);
    const char* labelTexts[] = {"Label", "Label, own colour", "Disabled label"};
    for (int i = 0; i < 3; ++i) {
        auto* label = Create<TsLabel>(form);
        label->SetCaption(labelTexts[i]);
        label->SetLeft(12);
        label->SetTop(28 + i * 22);
        label->SetUseSkinColor(i != 1);
        if (i == 1) label->Font()->SetColor(0x2080E0);
        label->SetEnabled(i != 2);
        label->SetParent(group);
    }
    auto* centred = Create<TsGroupBox>(form);
    centred->SetBounds(220, 222, 160, 40);
    centred->SetCaption("Centred");
    centred->SetCaptionLayout(clTopCenter);
    centred->SetParent(back);
    auto* split = Create<TsPanel>(form);
    split->SetBounds(220, 270, 160, 60);
    split->SetCaption("");
    split->SetParent(back);
    auto* left = Create<TsPanel>(form);
    left->SetCaption("Left");
    left->SetWidth(70);
    left->SetAlign(alLeft);
    left->SetParent(split);
    auto* splitter = Create<TsSplitter>(form);
    splitter->SetLeft(80);
    splitter->SetAlign(alLeft);
    splitter->SetParent(split);
    auto* right = Create<TsPanel>(form);
    right->SetCaption("Right");
    right->SetAlign(alClient);
    right->SetParent(split);
    Pump();
    box->ScrollBy(0, -40);
    Pump();
    const TPoint overSplitter = splitter->ClientToScreen(TPoint {3, 20});
    Display->MoveMouse(overSplitter.x, overSplitter.y);   // the splitter's hot state
    Pump();
    // The selected cell's mark: white next to the cell, black around it, on the skinned face too.
    const TRect cell = grid->Items()[2].Rect;
    EXPECT_EQ(ScreenPixel(grid, cell.left - 1, cell.top + 5), 0xFFFFFFu);
    EXPECT_EQ(ScreenPixel(grid, cell.left - 2, cell.top + 5), 0x000000u);
    const TPoint origin = form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT r {origin.x, origin.y, origin.x + 420, origin.y + 340};
    ASSERT_TRUE(Display->WriteScreenshotPng(
        controlstest::PictureDir() + "/Controls_" + controlstest::SkinShortName(which) + ".png", &r));
    EXPECT_EQ(PaintsSkinned(panel->SkinData()), which >= 0);
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, ControlsSheet, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return controlstest::SkinShortName(info.param); });

}

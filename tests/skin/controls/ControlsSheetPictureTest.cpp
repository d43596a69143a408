// A sheet of the skinned controls in each of our four skins and without a skin, written as PNG pictures.
#include "support/ControlsHost.h"
#include "support/SkinControlsKit.h"
#include "support/SkinFixtures.h"

#include "platform/classes/TStringList.h"
#include "skin/controls/sGauge.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sScrollBox.h"
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
    TForm* form = NewForm(420, 260);
    test::ManagerHost host;
    if (which >= 0) controlstest::LoadOurSkin(*host.NewManager(), which);
    auto* back = Create<TsPanel>(form);
    back->SetBounds(0, 0, 420, 260);
    back->SetCaption("");
    back->SetParent(form);
    auto* bar = Create<TsDragBar>(form);
    bar->SetCaption("Drag bar");
    bar->SetParent(back);
    auto* panel = Create<TsPanel>(form);
    panel->SetBounds(10, 30, 120, 40);
    panel->SetCaption("Panel & caption");
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
    grip->SetBounds(390, 230, 20, 20);
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
    Pump();
    box->ScrollBy(0, -40);
    Pump();
    const TPoint origin = form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT r {origin.x, origin.y, origin.x + 420, origin.y + 260};
    ASSERT_TRUE(Display->WriteScreenshotPng(
        controlstest::PictureDir() + "/Controls_" + controlstest::SkinShortName(which) + ".png", &r));
    EXPECT_EQ(PaintsSkinned(panel->SkinData()), which >= 0);
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, ControlsSheet, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return controlstest::SkinShortName(info.param); });

}

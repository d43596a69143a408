// A sheet of page controls (each tab side, button styles, a scroller), up-downs and track bars in each of our
// four skins and without a skin, written as PNG pictures.
#include "support/ControlsKit.h"

#include "platform/classes/TForm.h"
#include "platform/user/MessageLoop.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sPageControl.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sTrackBar.h"
#include "skin/controls/sUpDown.h"
#include "skin/engine/sCommonData.h"

#include <algorithm>
#include <string>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class PagesSheet : public ControlsTest, public ::testing::WithParamInterface<int> {
protected:
    TsPageControl* Pages(TWinControl* parent, TRect r, int count, TTabPosition position, TTabStyle style = tsTabs,
        int active = 0) {
        auto* pc = Create<TsPageControl>(Form);
        pc->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        pc->SetTabPosition(position);
        pc->SetStyle(style);
        pc->SetParent(parent);
        for (int i = 0; i < count; ++i) {
            auto* sheet = Create<TsTabSheet>(Form);
            sheet->SetCaption(i == 0 ? "General" : i == 1 ? "Nodes" : "Page " + std::to_string(i));
            sheet->SetPageControl(pc);
        }
        pc->SetActivePage(pc->Pages(active));
        return pc;
    }
};

TEST_P(PagesSheet, PageControlsUpDownsAndTrackBarsInTheirStates) {
    const int which = GetParam();
    UseSkin(which);
    Form->SetClientWidth(640);
    Form->SetClientHeight(420);
    auto* back = Create<TsPanel>(Form);
    back->SetBounds(0, 0, 640, 420);
    back->SetCaption("");
    back->SetParent(Form);

    TsPageControl* top = Pages(back, TRect {8, 8, 408, 148}, 3, tpTop, tsTabs, 1);
    top->SetHotTrack(true);
    auto* ok = Create<TsButton>(Form);
    ok->SetBounds(12, 12, 80, 24);
    ok->SetCaption("On a page");
    ok->SetParent(top->Pages(1));
    Pages(back, TRect {316, 156, 470, 296}, 3, tpBottom);
    Pages(back, TRect {8, 156, 154, 296}, 3, tpLeft);
    Pages(back, TRect {162, 156, 308, 296}, 3, tpRight, tsTabs, 2);
    Pages(back, TRect {424, 8, 632, 148}, 3, tpTop, tsButtons);
    TsPageControl* many = Pages(back, TRect {8, 304, 308, 412}, 12, tpTop);
    TsPageControl* off = Pages(back, TRect {320, 304, 470, 412}, 2, tpTop);
    off->SetEnabled(false);

    int x = 480;
    for (auto [orientation, position] : {std::pair {udVertical, 50}, std::pair {udVertical, 0}, std::pair {udHorizontal, 0},
             std::pair {udHorizontal, 100}}) {
        auto* ud = Create<TsUpDown>(Form);
        ud->SetOrientation(orientation);
        ud->SetBounds(x, 308, orientation == udVertical ? 18 : 36, orientation == udVertical ? 36 : 18);
        ud->SetPosition(position);
        ud->SetParent(back);
        x += 40;
    }
    auto* disabled = Create<TsUpDown>(Form);
    disabled->SetBounds(480, 350, 18, 36);
    disabled->SetPosition(50);
    disabled->SetEnabled(false);
    disabled->SetParent(back);
    struct Bar {
        TRect R;
        TTrackBarOrientation Orientation;
        TTickMark Marks;
        TTickStyle Style;
        int Position;
        bool Enabled;
    } bars[] = {
        {{480, 156, 632, 201}, trHorizontal, tmBottomRight, tsAuto, 3, true},
        {{480, 204, 632, 249}, trHorizontal, tmBoth, tsAuto, 7, true},
        {{480, 252, 632, 297}, trHorizontal, tmTopLeft, tsNone, 5, false},
        {{586, 300, 631, 412}, trVertical, tmBoth, tsAuto, 2, true},
    };
    for (const Bar& b : bars) {
        auto* bar = Create<TsTrackBar>(Form);
        bar->SetOrientation(b.Orientation);
        bar->SetBounds(b.R.left, b.R.top, b.R.right - b.R.left, b.R.bottom - b.R.top);
        bar->SetMax(10);
        bar->SetTickMarks(b.Marks);
        bar->SetTickStyle(b.Style);
        bar->SetPosition(b.Position);
        bar->SetEnabled(b.Enabled);
        bar->SetParent(back);
    }
    Pump();
    ParentsUpdated(Form);
    Pump();

    const TRect hot = top->SkinTabRect(2, false);
    MoveTo(top, (hot.left + hot.right) / 2, (hot.top + hot.bottom) / 2);
    top->SetFocus();
    Pump();
    user::FlushDisplay();
    const TPoint origin = Form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT r {origin.x, origin.y, origin.x + 640, origin.y + 420};
    ASSERT_TRUE(Display->WriteScreenshotPng(PictureDir() + "/Pages_" + SkinShortName(which) + ".png", &r));
    EXPECT_EQ(PaintsSkinned(top->SkinData()), which >= 0);
    // The picture shows the top control's tab captions and the button on its active page.
    for (int tab = 0; tab < 3; ++tab) {
        const TRect t = top->TabRect(tab);
        const std::vector<gdi::COLORREF> pixels = ScreenPixels(top, TRect {t.left + 3, t.top + 3, t.right - 3, t.bottom - 3});
        const gdi::COLORREF face = pixels.empty() ? 0 : pixels.front();
        EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [face](gdi::COLORREF c) { return c != face; }), 20)
            << "tab " << tab << " in " << SkinShortName(which);
    }
    EXPECT_GE(Strokes(ok, 4), 20) << SkinShortName(which);
    EXPECT_EQ(many->Scroller() != nullptr, which >= 0);
}

INSTANTIATE_TEST_SUITE_P(FourSkinsAndNone, PagesSheet, ::testing::Values(-1, 0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

}

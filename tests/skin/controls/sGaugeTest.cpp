// TsGauge: percentages over ordinary and extreme ranges, the progress setter's repaint rule, range errors,
// the skinned and plain pictures of each kind.
#include "support/ControlsHost.h"
#include "support/SkinControlsKit.h"
#include "support/SkinFixtures.h"

#include "platform/classes/Colors.h"
#include "platform/classes/Errors.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TReader.h"
#include "skin/controls/sControlClasses.h"
#include "skin/controls/sGauge.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <iterator>
#include <limits>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

TEST(GaugePercent, TruncatesAndSurvivesExtremeRanges) {
    struct Case { std::int32_t min, max, progress; int percent; };
    const Case cases[] = {
        {0, 3, 1, 33}, {0, 3, 3, 100}, {5, 5, 5, 0}, {0, 100, 47, 47},
        {INT_MIN, INT_MAX, INT_MAX, 100}, {INT_MIN, INT_MAX, INT_MIN, 0}, {INT_MIN, INT_MAX, 0, 50},
        {-2147483647, 2147483647, 2147483647, 100}, {10, 0, 5, 50},   // a negative span from form data
    };
    for (const Case& c : cases)
        EXPECT_EQ(GaugePercent(c.min, c.max, c.progress), c.percent) << c.min << ".." << c.max << " @" << c.progress;
}

TEST(SaturateToInt, NoNanOrInfinityReachesAnInteger) {
    EXPECT_EQ(SaturateToInt(std::nan("")), 0);
    EXPECT_EQ(SaturateToInt(std::numeric_limits<double>::infinity()), INT_MAX);
    EXPECT_EQ(SaturateToInt(-std::numeric_limits<double>::infinity()), INT_MIN);
    EXPECT_EQ(SaturateToInt(1e300), INT_MAX);
    EXPECT_EQ(SaturateToInt(-7.9), -7);
    EXPECT_EQ(GaugeFill(INT_MAX, INT_MAX), INT_MAX);
    EXPECT_EQ(GaugeFill(120, 33), 39);
}

class GaugeTest : public SkinControlsTest {
protected:
    // A 160 x 20 bar on the form, painted with our first skin.
    TsGauge* NewSkinnedBar(TForm* form, TsSkinManager* sm, int progress, bool showText) {
        controlstest::LoadOurSkin(*sm, 0);
        auto* g = Create<TsGauge>(form);
        g->SetBounds(10, 10, 160, 20);
        g->SetShowText(showText);
        g->SetProgress(progress);
        g->SetParent(form);
        Pump();
        return g;
    }
};

TEST_F(GaugeTest, ProgressClampsFiresOnChangeAndRepaintsOnlyOnANewPercentage) {
    TForm* form = NewForm();
    auto* g = Create<TsGauge>(form);
    g->SetParent(form);
    int changes = 0;
    g->OnChange = [&](TObject*) { ++changes; };
    g->SetProgress(150);
    EXPECT_EQ(g->Progress(), 100);
    g->SetProgress(-5);
    EXPECT_EQ(g->Progress(), 0);
    g->SetProgress(0);
    EXPECT_EQ(changes, 2);   // the stored value again: nothing
    g->SetMaxValue(1000);
    g->SetProgress(470);
    g->SkinData()->BGChanged = false;
    g->SetProgress(475);   // still 47 %
    EXPECT_EQ(changes, 4);
    EXPECT_FALSE(g->SkinData()->BGChanged);
}

TEST_F(GaugeTest, RangeSettersRaiseOutsideLoadingAndAcceptEquality) {
    TForm* form = NewForm();
    auto* g = Create<TsGauge>(form);
    EXPECT_THROW(g->SetMinValue(101), EInvalidOperation);
    g->SetMinValue(100);
    EXPECT_EQ(g->Progress(), 100);
    EXPECT_THROW(g->SetMaxValue(99), EInvalidOperation);
    try {
        g->SetMaxValue(INT_MIN);
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Value must be between 101 and 2147483647");
    }
}

// Form data may hold MinValue above MaxValue: a value from MinValue up is held at MaxValue, one below it at MinValue.
TEST_F(GaugeTest, ARangeReadUpsideDownHoldsValuesAsTheClampGivesThem) {
    RegisterSkinControlClasses();
    auto* form = Create<TForm>(Application);
    ReadRootComponent(form, R"(object GaugeForm: TForm
  object sGauge1: TsGauge
    MinValue = 10
    MaxValue = 5
    Progress = 7
    Suffix = '%'
    ForeColor = clBlack
  end
end
)");
    auto* g = static_cast<TsGauge*>(form->FindComponent("sGauge1"));
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->MinValue(), 10);
    ASSERT_EQ(g->MaxValue(), 5);
    struct Case { std::int32_t value, stored; };
    for (const Case c : {Case {20, 5}, Case {3, 10}, Case {10, 5}, Case {7, 10}}) {
        g->SetProgress(c.value);
        EXPECT_EQ(g->Progress(), c.stored) << c.value;
    }
}

TEST_F(GaugeTest, PlainBarsFillFromTheStartAndTextInvertsTheColours) {
    TForm* form = NewForm();
    auto* g = Create<TsGauge>(form);
    g->SetBounds(10, 10, 102, 20);
    g->SetForeColor(0x0000FF);
    g->SetShowText(false);
    g->SetProgress(50);
    g->SetParent(form);
    Pump();
    EXPECT_EQ(ScreenPixel(g, 0, 0), gdi::COLORREF(0));   // the ring outside the inner area is black
    EXPECT_EQ(ScreenPixel(g, 10, 10), gdi::COLORREF(0x0000FF));
    EXPECT_EQ(ScreenPixel(g, 90, 10), gdi::COLORREF(0xFFFFFF));
    g->SetKind(gkVerticalBar);
    g->SetProgress(100);
    Pump();
    EXPECT_EQ(ScreenPixel(g, 50, 1), gdi::COLORREF(0x0000FF));   // bsSingle: the whole inner area
    g->SetBorderStyle(bsNone);
    Pump();
    EXPECT_EQ(ScreenPixel(g, 50, 0), gdi::COLORREF(0xFFFFFF));   // bsNone: the top row stays BackColor
    EXPECT_EQ(ScreenPixel(g, 50, 1), gdi::COLORREF(0x0000FF));
}

TEST_F(GaugeTest, SkinnedBarFillsWithTheProgressSectionAndZeroSizedGaugesPaintNothing) {
    TForm* form = NewForm();
    test::ManagerHost host;
    TsGauge* g = NewSkinnedBar(form, host.NewManager(), 0, false);
    ASSERT_TRUE(g->SkinData()->Skinned(true));
    const gdi::COLORREF empty = ScreenPixel(g, 80, 10);
    g->SetProgress(100);
    Pump();
    EXPECT_NE(ScreenPixel(g, 80, 10), empty);
    EXPECT_EQ(g->SkinData()->CacheBmp(), nullptr);   // freed after the paint
    g->SetKind(gkVerticalBar);
    g->SetBounds(10, 10, 0, 20);
    Pump();   // nothing painted, nothing broken
}

// A skinned gauge makes its picture for every paint and frees the cache after it.
TEST_F(GaugeTest, EverySkinnedPaintMakesThePictureAnewAndKeepsNoCache) {
    TForm* form = NewForm();
    test::ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    TsGauge* g = NewSkinnedBar(form, sm, 30, true);
    ASSERT_TRUE(g->SkinData()->Skinned(true));
    EXPECT_EQ(g->SkinData()->CacheBmp(), nullptr);
    const gdi::COLORREF before = ScreenPixel(g, 80, 10);
    int renders = g->SkinRenders();
    EXPECT_GE(renders, 1);
    for (int i = 0; i < 3; ++i) {
        g->Repaint();
        EXPECT_EQ(g->SkinRenders(), renders + 1) << i;
        renders = g->SkinRenders();
        EXPECT_EQ(g->SkinData()->CacheBmp(), nullptr) << i;
        EXPECT_EQ(ScreenPixel(g, 80, 10), before) << i;
    }
}

// A refresh or removal from its own manager, and the parent's notice while it waits, paint the gauge at once.
TEST_F(GaugeTest, SkinCommandsThatRepaintPaintAtOnce) {
    TForm* form = NewForm();
    test::ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    TsGauge* g = NewSkinnedBar(form, sm, 30, true);
    ASSERT_TRUE(g->SkinData()->Skinned(true));
    int renders = g->SkinRenders();
    TMessage refresh = MakeSkinCommand(SMC_REFRESH, 0, LPARAM(sm));
    g->WindowProc(refresh);
    EXPECT_EQ(g->SkinRenders(), renders + 1);
    renders = g->SkinRenders();
    TMessage foreign = MakeSkinCommand(SMC_REFRESH, 0, LPARAM(host.NewManager()));
    g->WindowProc(foreign);
    EXPECT_EQ(g->SkinRenders(), renders);   // another manager's refresh is no order to paint
    g->SkinData()->SetUpdating(true);
    TMessage updated = MakeSkinCommand(SMC_PARENTUPDATED);
    g->WindowProc(updated);
    EXPECT_FALSE(g->SkinData()->IsUpdating());
    EXPECT_EQ(g->SkinRenders(), renders + 1);
}

// A new whole percentage is painted at once; a value within the same percentage paints nothing but still tells.
TEST_F(GaugeTest, ANewPercentageIsPaintedAtOnce) {
    TForm* form = NewForm();
    test::ManagerHost host;
    TsGauge* g = NewSkinnedBar(form, host.NewManager(), 10, false);
    g->SetMaxValue(1000);
    g->SetProgress(100);
    Pump();
    const gdi::COLORREF empty = ScreenPixel(g, 80, 10);
    int changes = 0;
    g->OnChange = [&](TObject*) { ++changes; };
    const int renders = g->SkinRenders();
    g->SetProgress(104);   // still 10 %
    EXPECT_EQ(g->SkinRenders(), renders);
    EXPECT_EQ(changes, 1);
    g->SetProgress(900);
    EXPECT_EQ(g->SkinRenders(), renders + 1);
    EXPECT_EQ(changes, 2);
    Pump();
    EXPECT_NE(ScreenPixel(g, 80, 10), empty);
}

// The skinned number is written once, in the section's font colour, over the fill as beside it.
TEST_F(GaugeTest, TheSkinnedNumberIsWrittenInTheSectionsFontColour) {
    TForm* form = NewForm();
    test::ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    TsGauge* g = NewSkinnedBar(form, sm, 100, true);
    ASSERT_TRUE(g->SkinData()->Skinned(true));
    const TColor text = ColorToRGB(sm->Sections[std::size_t(g->SkinData()->SkinIndex)].FontColor[1]);
    bool found = false;
    for (int y = 2; y < g->Height() - 2 && !found; ++y)
        for (int x = g->Width() / 2 - 12; x < g->Width() / 2 + 12 && !found; ++x)
            found = ScreenPixel(g, x, y) == gdi::COLORREF(text);
    EXPECT_TRUE(found) << "the number over the full bar in the section's font colour";
}

}

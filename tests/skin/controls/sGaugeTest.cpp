// TsGauge: percentages over ordinary and extreme ranges, the progress setter's repaint rule, range errors,
// the skinned and plain pictures of each kind.
#include "support/ControlsHost.h"
#include "support/SkinControlsKit.h"
#include "support/SkinFixtures.h"

#include "platform/classes/Colors.h"
#include "platform/classes/Errors.h"
#include "skin/controls/sGauge.h"
#include "skin/engine/sCommonData.h"
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
    EXPECT_NE(g->SkinData()->CacheBmp(), nullptr);   // kept for the next paint
    g->SetKind(gkVerticalBar);
    g->SetBounds(10, 10, 0, 20);
    Pump();   // nothing painted, nothing broken
}

TEST_F(GaugeTest, SkinnedPaintsComeFromTheCacheUntilValueSizeStateOrSkinChange) {
    TForm* form = NewForm();
    test::ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    TsGauge* g = NewSkinnedBar(form, sm, 30, true);
    ASSERT_TRUE(g->SkinData()->Skinned(true));
    ASSERT_GE(g->SkinData()->SkinIndex, 0);
    ASSERT_LE(sm->Sections[std::size_t(g->SkinData()->SkinIndex)].Transparency, 0);
    const gdi::COLORREF before[] = {ScreenPixel(g, 20, 10), ScreenPixel(g, 80, 10), ScreenPixel(g, 150, 10)};
    int renders = g->SkinRenders();
    EXPECT_GE(renders, 1);
    g->Repaint();
    g->Invalidate();
    Pump();
    EXPECT_EQ(g->SkinRenders(), renders);   // the same picture, copied
    EXPECT_EQ(ScreenPixel(g, 20, 10), before[0]);
    EXPECT_EQ(ScreenPixel(g, 80, 10), before[1]);
    EXPECT_EQ(ScreenPixel(g, 150, 10), before[2]);

    // Each change that alters the picture makes it anew, once.
    const std::function<void()> changes[] = {
        [&] { g->SetProgress(90); },
        [&] { g->SetWidth(140); },
        [&] { g->SetEnabled(false); },
        [&] { g->Font()->SetColor(clRed); },
        [&] { g->SetSuffix(" %"); },
        [&] { controlstest::LoadOurSkin(*sm, 1); },
    };
    for (std::size_t i = 0; i < std::size(changes); ++i) {
        changes[i]();
        Pump();
        g->Repaint();
        EXPECT_GT(g->SkinRenders(), renders) << "change " << i;
        renders = g->SkinRenders();
        g->Repaint();
        EXPECT_EQ(g->SkinRenders(), renders) << "change " << i;
    }
    EXPECT_NE(ScreenPixel(g, 80, 10), before[1]);   // 90 %, another skin
}

// A new value marks the gauge for the next paint of its parent and paints nothing itself: many gauges
// changed in one turn of the loop are painted together.
TEST_F(GaugeTest, ANewValueIsPaintedByTheNextPaintNotAtOnce) {
    TForm* form = NewForm();
    test::ManagerHost host;
    TsGauge* g = NewSkinnedBar(form, host.NewManager(), 10, false);
    const gdi::COLORREF empty = ScreenPixel(g, 80, 10);
    const int renders = g->SkinRenders();
    g->SetProgress(90);
    g->SetKind(gkVerticalBar);
    g->SetKind(gkHorizontalBar);
    EXPECT_EQ(g->SkinRenders(), renders);
    Pump();
    EXPECT_EQ(g->SkinRenders(), renders + 1);
    EXPECT_NE(ScreenPixel(g, 80, 10), empty);
}

// Contrast ratio of two screen colours (relative luminance of linearised sRGB), as legibility is judged.
double Contrast(gdi::COLORREF a, gdi::COLORREF b) {
    auto lum = [](gdi::COLORREF c) {
        auto ch = [](int v) {
            const double x = v / 255.0;
            return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * ch(c & 0xFF) + 0.7152 * ch((c >> 8) & 0xFF) + 0.0722 * ch((c >> 16) & 0xFF);
    };
    const double la = lum(a), lb = lum(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The numbers stay legible where they cross the filled part: bars in each skin's bar section, pies in the
// application's colours (cyan on the main window) and a dark orange.
TEST_F(GaugeTest, NumbersOverTheFilledPartStandOutInEverySkin) {
    struct Case { TsGaugeKind kind; TColor fore; int progress; };
    const Case cases[] = {{gkHorizontalBar, clBlack, 47}, {gkPie, 0xFFFF00, 54}, {gkPie, 0x2060C0, 54},
        {gkPie, clBlack, 60}};
    TForm* form = NewForm(300, 200);
    test::ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    for (int skin = 0; skin < controlstest::SkinCount; ++skin) {
        controlstest::LoadOurSkin(*sm, skin);
        for (const Case& c : cases) {
            auto* g = Create<TsGauge>(form);
            const bool pie = c.kind == gkPie;
            g->SetBounds(10, 10, pie ? 80 : 200, pie ? 40 : 20);
            g->SetKind(c.kind);
            g->SetForeColor(c.fore);
            g->SetProgress(c.progress);
            g->SetParent(form);
            Pump();
            ASSERT_TRUE(g->SkinData()->Skinned(true));
            // Pixels of the text right of the middle lie over the fill (the bar's end is just past the
            // middle of "47%"; a pie past 50 % covers the right half): the strongest one against the fill.
            const int cx = g->Width() / 2, cy = g->Height() / 2;
            const int right = pie ? cx + 12 : GaugeFill(g->Width(), c.progress) - 1;
            double best = 0;
            for (int y = cy - 4; y <= cy + 4; ++y) {
                const gdi::COLORREF fill = pie ? gdi::COLORREF(ColorToRGB(c.fore)) : ScreenPixel(g, 6, y);
                for (int x = pie ? cx + 1 : cx - 12; x <= right; ++x)
                    best = std::max(best, Contrast(ScreenPixel(g, x, y), fill));
            }
            EXPECT_GE(best, 3.0) << controlstest::SkinShortName(skin) << " kind " << int(c.kind) << " fore " << c.fore;
            g->Free();
        }
    }
}

}

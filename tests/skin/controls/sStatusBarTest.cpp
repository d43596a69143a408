// TsStatusBar on the headless display: panel layout, skinned and plain painting, owner drawing, the grip,
// dividers without a panel mask, skin switches while shown.
#include "support/ControlsHost.h"
#include "support/ControlsKit.h"
#include "support/SkinControlsKit.h"
#include "support/SkinFixtures.h"

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/WinPos.h"
#include "skin/controls/sStatusBar.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

#include <functional>
#include <memory>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

class StatusBarTest : public SkinControlsTest {
protected:
    TsStatusBar* NewBar(TForm* form, int width, std::initializer_list<int> widths) {
        auto* bar = Create<TsStatusBar>(form);
        bar->SetAlign(alNone);
        bar->SetBounds(0, 40, width, 22);
        for (int w : widths) {
            TStatusPanel* p = bar->Panels()->Add();
            p->SetWidth(w);
            p->SetText("Panel " + std::to_string(w));
        }
        bar->SetParent(form);
        Pump();
        return bar;
    }
    // Renames a mask of the loaded skin so that look-ups no longer find it.
    static void HideMask(TsSkinManager* sm, const std::string& property) {
        for (std::size_t i = 0; i < sm->Masks.size(); ++i)
            if (sm->Masks[i].PropertyName == property) sm->Masks.Rename(i, sm->Masks[i].ClassName, "HIDDEN");
    }
    // The pixel at a point of the whole window (not the client area).
    gdi::COLORREF WindowPixel(TWinControl* control, int x, int y) const {
        const user::RECT w = user::WindowRect(control->Handle());
        return Display->ScreenPixel(w.left + x, w.top + y);
    }
    // The 12 x 12 pixels left of `right` in the lower rows of the bar, where its size grip is drawn.
    std::vector<gdi::COLORREF> GripCorner(TsStatusBar* bar, int right) const {
        std::vector<gdi::COLORREF> px;
        for (int y = 10; y < 22; ++y)
            for (int x = right - 12; x < right; ++x)
                px.push_back(ScreenPixel(bar, x, y));
        return px;
    }
    // A manager of the test's with our skin number `which` loaded.
    TsSkinManager* OurSkinLoaded(int which) {
        FHost = std::make_unique<test::ManagerHost>();
        TsSkinManager* sm = FHost->NewManager();
        controlstest::LoadOurSkin(*sm, which);
        return sm;
    }
    void TearDown() override {
        FHost.reset();   // before the application goes
        SkinControlsTest::TearDown();
    }
    void Repaint(TsStatusBar* bar) {
        bar->SkinData()->BGChanged = true;
        bar->Invalidate();
        Pump();
    }

private:
    std::unique_ptr<test::ManagerHost> FHost;
};

TEST_F(StatusBarTest, PanelsReachTheNextPanelAndTheLastReachesTheRightEdge) {
    TForm* form = NewForm(400, 100);
    TsStatusBar* bar = NewBar(form, 351, {320, 350});
    EXPECT_EQ(bar->PanelLeft(0), 0);
    EXPECT_EQ(bar->PanelLeft(1), 321);
    EXPECT_EQ(bar->PanelRect(0), (TRect {0, 0, 321, 22}));
    EXPECT_EQ(bar->PanelRect(1), (TRect {321, 0, 351, 22}));   // not 672: the last one ends at the bar's edge
    TStatusPanel* third = bar->Panels()->Add();
    third->SetWidth(10);
    EXPECT_EQ(bar->PanelRect(1), (TRect {321, 0, 672, 22}));
    EXPECT_EQ(bar->PanelLeft(2), 672);
}

TEST_F(StatusBarTest, HugePanelWidthsSaturateInsteadOfWrapping) {
    TForm* form = NewForm(400, 100);
    TsStatusBar* bar = NewBar(form, 300, {0x7FFFFFFF, 0x7FFFFFFF, 5});
    EXPECT_EQ(bar->PanelLeft(2), 0x7FFFFFFF);
    EXPECT_GE(bar->PanelRect(1).right, bar->PanelRect(1).left);
}

TEST_F(StatusBarTest, SkinnedBarPaintsTheSkinAndASkinRemovedWhileShownGivesThePlainBar) {
    TForm* form = NewForm(400, 100);
    TsSkinManager* sm = OurSkinLoaded(0);
    TsStatusBar* bar = NewBar(form, 400, {120, 200});
    ASSERT_TRUE(PaintsSkinned(bar->SkinData()));
    EXPECT_EQ(bar->SkinData()->SkinSection(), "STATUSBAR");
    const gdi::COLORREF skinned = ScreenPixel(bar, 60, 3);

    sm->SetActive(false);
    Pump();
    EXPECT_FALSE(PaintsSkinned(bar->SkinData()));
    EXPECT_EQ(ScreenPixel(bar, 60, 3), gdi::COLORREF(ColorToRGB(clBtnFace)));

    sm->SetActive(true);
    Pump();
    EXPECT_EQ(ScreenPixel(bar, 60, 3), skinned);

    controlstest::LoadOurSkin(*sm, 2);   // another skin while shown
    Pump();
    EXPECT_TRUE(PaintsSkinned(bar->SkinData()));
    EXPECT_FALSE(bar->SkinData()->BGChanged);
}

TEST_F(StatusBarTest, OwnerDrawnPanelsDrawIntoTheCacheWithTheWholeRectangle) {
    TForm* form = NewForm(400, 100);
    test::ManagerHost host;
    controlstest::LoadOurSkin(*host.NewManager(), 1);
    auto* bar = Create<TsStatusBar>(form);
    bar->SetAlign(alNone);
    bar->SetBounds(0, 40, 300, 22);
    bar->Panels()->Add()->SetWidth(100);
    TStatusPanel* drawn = bar->Panels()->Add();
    drawn->SetWidth(100);
    drawn->SetStyle(psOwnerDraw);
    std::vector<TRect> rects;
    bar->OnDrawPanel = [&](TStatusBar* sender, TStatusPanel* panel, const TRect& r) {
        EXPECT_EQ(panel, drawn);
        rects.push_back(r);
        sender->Canvas()->Brush()->SetColor(0x00FF00);
        sender->Canvas()->FillRect(r);
    };
    bar->SetParent(form);
    Pump();
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects.back(), (TRect {101, 0, 300, 22}));   // the last panel, unshrunk
    EXPECT_EQ(ScreenPixel(bar, 150, 10), gdi::COLORREF(0x00FF00));
    EXPECT_NE(ScreenPixel(bar, 50, 10), gdi::COLORREF(0x00FF00));
}

TEST_F(StatusBarTest, TheGripComesFromTheSkinAndAWithoutAGripImageNoneIsDrawn) {
    TForm* form = NewForm(400, 100);
    TsSkinManager* sm = OurSkinLoaded(3);
    TsStatusBar* bar = NewBar(form, 300, {100});
    auto corner = [&] { return GripCorner(bar, 300); };
    const auto withGrip = corner();
    bar->SetSizeGrip(false);
    Pump();
    const auto without = corner();
    EXPECT_NE(withGrip, without);

    bar->SetWidth(360);   // the grip follows the corner of the resized bar
    bar->SetSizeGrip(true);
    Pump();
    EXPECT_EQ(GripCorner(bar, 360), withGrip);
    bar->SetWidth(300);
    Pump();

    HideMask(sm, "GRIPIMAGE");
    bar->SetSizeGrip(true);
    Repaint(bar);
    EXPECT_EQ(corner(), without);
}

// The main window has a single border: a grip there would promise a size that cannot change.
TEST_F(StatusBarTest, AFormThatCannotBeSizedShowsNoGrip) {
    TForm* form = NewForm(400, 100);
    OurSkinLoaded(3);
    TsStatusBar* bar = NewBar(form, 300, {100});
    auto corner = [&] { return GripCorner(bar, 300); };
    bar->SetSizeGrip(false);
    Repaint(bar);
    const auto without = corner();
    bar->SetSizeGrip(true);
    Repaint(bar);
    ASSERT_NE(corner(), without);   // sizeable: the grip

    form->SetBorderStyle(bsSingle);
    Pump();
    EXPECT_FALSE(bar->GripShown());
    bar->SkinData()->Invalidate();
    Repaint(bar);
    EXPECT_EQ(corner(), without);
}

TEST_F(StatusBarTest, WithoutAPanelMaskEveryPanelButTheLastGetsADivider) {
    TForm* form = NewForm(400, 100);
    TsSkinManager* sm = OurSkinLoaded(0);
    TsStatusBar* bar = NewBar(form, 300, {100, 100});
    bar->SetSizeGrip(false);
    bar->Panels()->Items(0)->SetText("");
    bar->Panels()->Items(1)->SetText("");
    HideMask(sm, "STATUSPANELMASK");
    Repaint(bar);
    // A column inside a divider differs from the plain background beside it; the last panel's edge has none.
    auto column = [&](int x) {
        std::vector<gdi::COLORREF> px;
        for (int y = 2; y < 19; ++y)
            px.push_back(ScreenPixel(bar, x, y));
        return px;
    };
    EXPECT_NE(column(99), column(60));
    EXPECT_EQ(column(298), column(260));
}

// A panel's "&" marks the next letter as the text routine does: above the underline, "W&W" looks like "WW".
TEST_F(StatusBarTest, AnAmpersandInAPanelTextMarksTheNextLetter) {
    TForm* form = NewForm(400, 100);
    test::ManagerHost host;
    controlstest::LoadOurSkin(*host.NewManager(), 1);
    TsStatusBar* bar = NewBar(form, 300, {150, 100});
    auto upperBand = [&](const std::string& text) {
        bar->Panels()->Items(0)->SetText(text);
        Pump();
        std::vector<gdi::COLORREF> px;
        for (int y = 3; y < 12; ++y)
            for (int x = 2; x < 140; ++x)
                px.push_back(ScreenPixel(bar, x, y));
        return px;
    };
    const auto plain = upperBand("WW");
    EXPECT_EQ(upperBand("W&W"), plain);
    EXPECT_NE(upperBand("W&&W"), plain);   // a doubled one is shown
}

TEST_F(StatusBarTest, SimpleTextReplacesThePanelsAndTextChangesRepaint) {
    TForm* form = NewForm(400, 100);
    test::ManagerHost host;
    controlstest::LoadOurSkin(*host.NewManager(), 2);
    TsStatusBar* bar = NewBar(form, 300, {100, 100});
    bar->Panels()->Items(0)->SetText("");
    Pump();
    auto band = [&] {
        std::vector<gdi::COLORREF> px;
        for (int x = 4; x < 90; ++x)
            px.push_back(ScreenPixel(bar, x, 11));
        return px;
    };
    const auto empty = band();
    bar->Panels()->Items(0)->SetText("WWWWWWWW");
    Pump();
    EXPECT_NE(band(), empty);
    bar->SetSimpleText("");
    bar->SetSimplePanel(true);
    Pump();
    const auto simpleEmpty = band();
    bar->SetSimpleText("WWWWWWWW");
    Pump();
    EXPECT_NE(band(), simpleEmpty);
}

// The simple text is written where a first panel's text is: its panel is shrunk by a pixel as every panel is.
TEST_F(StatusBarTest, TheSimpleTextStartsWhereTheFirstPanelsTextStarts) {
    TForm* form = NewForm(400, 100);
    test::ManagerHost host;
    controlstest::LoadOurSkin(*host.NewManager(), 0);
    TsStatusBar* bar = NewBar(form, 300, {100, 100});
    bar->SetSizeGrip(false);
    // The first column, from the left, where the text "WWWW" changes the bar's picture.
    auto firstTextColumn = [&](const std::function<void(const std::string&)>& write) {
        write("");
        Pump();
        std::vector<std::vector<gdi::COLORREF>> empty(60);
        for (int x = 0; x < 60; ++x)
            for (int y = 0; y < 22; ++y)
                empty[x].push_back(ScreenPixel(bar, x, y));
        write("WWWW");
        Pump();
        for (int x = 0; x < 60; ++x)
            for (int y = 0; y < 22; ++y)
                if (ScreenPixel(bar, x, y) != empty[x][y]) return x;
        return -1;
    };
    const int inPanel = firstTextColumn([&](const std::string& t) { bar->Panels()->Items(0)->SetText(t); });
    bar->SetSimplePanel(true);
    const int simple = firstTextColumn([&](const std::string& t) { bar->SetSimpleText(t); });
    ASSERT_GE(inPanel, 0);
    EXPECT_EQ(simple, inPanel);
}

// A refresh from its own manager and the parent's notice while it waits paint the border bands too, at once.
TEST_F(StatusBarTest, ARefreshAndTheParentsNoticePaintTheBorderBandsAtOnce) {
    TForm* form = NewForm(400, 100);
    test::ManagerHost host;
    TsSkinManager* sm = host.NewManager();
    controlstest::LoadOurSkin(*sm, 0);
    TsStatusBar* bar = NewBar(form, 300, {100, 100});
    bar->SetBorderWidth(3);
    Pump();
    const gdi::COLORREF band = WindowPixel(bar, 150, 1);
    ASSERT_NE(band, gdi::COLORREF(0x00FF00));
    // What is drawn reaches the screen when the display is flushed; no message is handled meanwhile.
    auto shown = [&] {
        user::FlushDisplay();
        return WindowPixel(bar, 150, 1);
    };
    ScribbleOver(bar);
    ASSERT_EQ(shown(), gdi::COLORREF(0x00FF00));
    TMessage refresh = MakeSkinCommand(SMC_REFRESH, 0, LPARAM(sm));
    bar->WindowProc(refresh);
    EXPECT_EQ(shown(), band);
    ScribbleOver(bar);
    bar->SkinData()->SetUpdating(true);
    TMessage updated = MakeSkinCommand(SMC_PARENTUPDATED);
    bar->WindowProc(updated);
    EXPECT_FALSE(bar->SkinData()->Updating);
    EXPECT_EQ(shown(), band);
}

TEST_F(StatusBarTest, TheBorderBandsShowTheCacheAndTheGripStaysInsideThem) {
    TForm* form = NewForm(400, 100);
    test::ManagerHost host;
    controlstest::LoadOurSkin(*host.NewManager(), 0);
    TsStatusBar* bar = NewBar(form, 300, {100, 100});
    const int bw = 3;
    bar->SetBorderWidth(bw);
    Pump();
    ASSERT_EQ(bar->ClientWidth(), 300 - 2 * bw);
    TBitmap* cache = bar->SkinData()->CacheBmp();
    ASSERT_NE(cache, nullptr);
    // Every pixel of the window, bands and client area alike, is the cache's pixel at the same place.
    auto mismatches = [&] {
        int bad = 0;
        for (int y = 0; y < 22; ++y)
            for (int x = 0; x < 300; ++x)
                bad += WindowPixel(bar, x, y) != gdi::COLORREF(cache->Canvas()->Pixels(x, y));
        return bad;
    };
    EXPECT_EQ(mismatches(), 0);
    EXPECT_NE(WindowPixel(bar, 150, 1), gdi::COLORREF(ColorToRGB(clBtnFace)));   // not the plain border

    // The grip is drawn BorderWidth in from the corner: the bands right and below it stay as without a grip.
    auto rightBand = [&] {
        std::vector<TColor> px;
        for (int y = 0; y < 22; ++y)
            for (int x = 300 - bw; x < 300; ++x)
                px.push_back(cache->Canvas()->Pixels(x, y));
        return px;
    };
    const auto withGrip = rightBand();
    bar->SetSizeGrip(false);
    Repaint(bar);
    EXPECT_EQ(rightBand(), withGrip);

    bar->SetWidth(320);   // a resize paints the bands again
    Pump();
    cache = bar->SkinData()->CacheBmp();
    int bad = 0;
    for (int y = 0; y < 22; ++y)
        bad += WindowPixel(bar, 320 - 1, y) != gdi::COLORREF(cache->Canvas()->Pixels(320 - 1, y));
    EXPECT_EQ(bad, 0);
}

TEST_F(StatusBarTest, SkinQueriesAnswerInLParamWithOrWithoutASkin) {
    TForm* form = NewForm(400, 100);
    TsStatusBar* bar = NewBar(form, 300, {100});
    TMessage q = MakeSkinCommand(SMC_ISSKINNED);
    bar->WindowProc(q);
    EXPECT_EQ(q.LParam, 1);
    EXPECT_EQ(q.Result, 0);
    EXPECT_EQ(ScreenPixel(bar, 150, 3), gdi::COLORREF(ColorToRGB(clBtnFace)));
}

}

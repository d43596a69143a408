// Tests of the hint shapes' looks: the text fits its body with the margins in every skin's font, plain and
// marked up, and the balloon's bubbles lead from the body to the pointer.
#include "skin/windows/sHintWindows.h"

#include "support/ControlsKit.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TScreen.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/Text.h"
#include "skin/engine/sBitmapUtils.h"
#include "skin/windows/sHtmlParse.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvex::skin {
namespace {

using namespace classes;

class HintShapesTest : public ctltest::ControlsTest {
protected:
    void SetUp() override {
        ctltest::ControlsTest::SetUp();
        TsCustomHintWindow::FadeStepWait = nullptr;
        Display->SetCompositor(false);
        HintManager = Create<TsHintManager>(Form);
        HintManager->SetAnimated(false);
    }
    void TearDown() override {
        HintWindowClass = nullptr;
        ctltest::ControlsTest::TearDown();
    }
    TsCustomHintWindow* ShowAt(TPoint anchor, const std::string& text) {
        auto* w = static_cast<TsCustomHintWindow*>(HintWindowClass(Form));
        w->AnchorPoint = anchor;
        w->ActivateHint(w->CalcHintRect(0, text, nullptr), text);
        Pump();
        return w;
    }
    // The text's own size in the font the window paints it with, wrapped at the width it is given.
    TRect MeasuredText(const std::string& text, int width) {
        auto bmp = NewBitmap24(8, 8);
        const bool skinned = HintUsesSkin(HintManager);
        bmp->Canvas()->Font()->Assign(skinned ? Screen->HintFont() : HintManager->HintKind()->Font());
        TRect r = Rect(0, 0, width, 0);
        if (HintManager->HTMLMode()) {
            TsHtml html;
            html.Init(bmp.get(), text, r);
            html.Render(r);
        } else {
            gdi::DrawText(bmp->Canvas()->Handle(), text, &r,
                gdi::DT_CALCRECT | gdi::DT_WORDBREAK | gdi::DT_NOPREFIX | gdi::DT_CENTER);
        }
        return r;
    }
    TsHintManager* HintManager = nullptr;
};

bool InsideEllipse(const TRect& e, double x, double y) {
    const double a = (e.right - e.left) / 2.0;
    const double b = (e.bottom - e.top) / 2.0;
    return std::hypot((x - e.left - a) / a, (y - e.top - b) / b) <= 1.0;
}

TEST_F(HintShapesTest, the_text_fits_its_body_with_the_margins_in_each_skin_plain_and_marked_up) {
    const std::string texts[] = {"Simple hint: the node's last frame", "i",
        "A longer hint that wraps over several lines at the hint's greatest width, WWWW MMMM"};
    const std::string marked[] = {"<B>Markup</B> in the <FONT COLOR=RED>skin</FONT>", "<B>Bold</B><BR>two lines"};
    for (const int which : {-1, 0, 1, 2, 3}) {
        UseSkin(which);
        for (const TsHintStyle style : {hsSimply, hsComics, hsEllipse, hsBalloon}) {
            for (const bool markup : {false, true}) {
                HintManager->SetPredefinitions(shCustom);
                HintManager->SetUseSkinData(which >= 0 && style == hsSimply);
                TsHintKind* k = HintManager->HintKind();
                k->SetStyle(style);
                k->SetMarginH(6);
                k->SetMarginV(3);
                k->SetBevelWidth(1);
                k->SetExOffset(16);
                k->SetShadowEnabled(true);
                k->SetShadowOffset(5);
                HintManager->SetHTMLMode(markup);
                for (const std::string& text : markup ? std::vector<std::string>(std::begin(marked), std::end(marked))
                                                      : std::vector<std::string>(std::begin(texts), std::end(texts))) {
                    SCOPED_TRACE(ctltest::SkinShortName(which) + " style " + std::to_string(style) + " " + text);
                    TsCustomHintWindow* w = ShowAt(Point(300, 200), text);
                    const TRect body = w->BodyRect();
                    const TRect t = w->TextRect();
                    const TRect m = MeasuredText(text, k->MaxWidth());
                    EXPECT_LE(m.right - m.left, t.right - t.left);
                    EXPECT_LE(m.bottom - m.top, t.bottom - t.top);
                    const int sideH = HintUsesSkin(HintManager) ? 4 : k->MarginH() + k->BevelWidth();
                    const int sideV = HintUsesSkin(HintManager) ? 4 : k->MarginV() + k->BevelWidth();
                    EXPECT_GE(t.left - body.left, sideH);
                    EXPECT_GE(body.right - t.right, sideH);
                    EXPECT_GE(t.top - body.top, sideV);
                    EXPECT_GE(body.bottom - t.bottom, sideV);
                    if (style == hsEllipse || style == hsBalloon) {
                        // The measured text, centred in its rectangle, stays inside the ellipse.
                        const double cx = (t.left + t.right) / 2.0;
                        const double cy = (t.top + t.bottom) / 2.0;
                        const double hw = (m.right - m.left) / 2.0;
                        const double hh = (m.bottom - m.top) / 2.0;
                        EXPECT_TRUE(InsideEllipse(body, cx - hw, cy - hh) && InsideEllipse(body, cx + hw, cy + hh));
                    }
                    w->Free();
                }
            }
        }
    }
}

// The shadow's tint keeps 255/256 of the screen under a white mask: beside the shape the screen is at most one
// level darker.
TEST_F(HintShapesTest, over_a_screen_copy_the_screen_beside_the_shape_and_its_shadow_stays_within_one_level) {
    Form->SetColor(TColor(0xC8D0D4));
    Form->SetBounds(0, 0, 500, 400);
    Form->Show();
    Pump();
    for (const TsHintsPredefinitions preset : {shEllipse, shBalloon, shSimply}) {
        HintManager->SetPredefinitions(preset);
        HintManager->ApplyPredefinitions();
        HintManager->HintKind()->SetStyle(preset == shSimply ? hsComics : HintManager->HintKind()->Style());
        const TPoint anchor = Form->ClientToScreen(Point(40, 40));
        const gdi::COLORREF before = Display->ScreenPixel(anchor.x - 20, anchor.y);   // the form's colour
        TsCustomHintWindow* w = ShowAt(anchor, "Over the form");
        const TRect b = w->BoundsRect();
        ASSERT_TRUE(b.right < Form->ClientToScreen(Point(490, 0)).x) << preset;
        // The window's top-right corner: above the body, away from the pointer and the shadow.
        const gdi::COLORREF beside = Display->ScreenPixel(b.right - 1, b.top + 1);
        for (int shift = 0; shift < 24; shift += 8)
            EXPECT_LE(int((before >> shift) & 0xFF) - int((beside >> shift) & 0xFF), 1) << preset;
        EXPECT_LE(beside, before) << preset;
        w->Free();
        Pump();
    }
}

// Bubble j is the body's size divided by BubbleDivisor * j, each one step further towards the pointer's
// corner, and every one inside the window.
TEST_F(HintShapesTest, balloon_bubbles_shrink_from_the_body_to_the_pointer) {
    HintManager->SetPredefinitions(shBalloon);
    HintManager->ApplyPredefinitions();
    for (const std::string text : {"Balloon hint with bubbles", "x", "A balloon<BR>of three<BR>lines"}) {
        for (const TsMousePosition corner : {mpLeftTop, mpLeftBottom, mpRightTop, mpRightBottom}) {
            SCOPED_TRACE(text + " corner " + std::to_string(corner));
            HintManager->SetDefaultMousePos(corner);
            HintManager->SetHTMLMode(true);
            auto* w = static_cast<TsBalloonHintWindow*>(ShowAt(Point(400, 300), text));
            ASSERT_EQ(w->PointerPos(), corner);
            const TRect body = w->BodyRect();
            const int bw = body.right - body.left;
            const int bh = body.bottom - body.top;
            const std::vector<TRect> bubbles = w->BubbleRects();
            ASSERT_EQ(int(bubbles.size()), w->BubbleCount);
            const TPoint tip = corner == mpLeftTop ? Point(0, 0)
                : corner == mpLeftBottom           ? Point(0, w->Height())
                : corner == mpRightTop             ? Point(w->Width(), 0)
                                                   : Point(w->Width(), w->Height());
            double lastDistance = 1e9;
            for (std::size_t j = 0; j < bubbles.size(); ++j) {
                const TRect& r = bubbles[j];
                const int d = w->BubbleDivisor * int(j + 1);
                EXPECT_EQ(r.right - r.left, bw / d) << j;
                EXPECT_EQ(r.bottom - r.top, bh / d) << j;
                EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right < w->Width() && r.bottom < w->Height())
                    << j << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom << " in "
                    << w->Width() << "x" << w->Height();
                const double distance
                    = std::hypot(tip.x - (r.left + r.right) / 2.0, tip.y - (r.top + r.bottom) / 2.0);
                EXPECT_LT(distance, lastDistance) << j;
                lastDistance = distance;
            }
            w->Free();
        }
    }
}

// One bubble is a trail too: its step is not divided by the count less one.
TEST_F(HintShapesTest, a_balloon_with_one_bubble_draws_it_inside_the_window) {
    HintManager->SetPredefinitions(shBalloon);
    HintManager->ApplyPredefinitions();
    for (const TsMousePosition corner : {mpLeftTop, mpLeftBottom, mpRightTop, mpRightBottom}) {
        SCOPED_TRACE(corner);
        HintManager->SetDefaultMousePos(corner);
        auto* w = static_cast<TsBalloonHintWindow*>(ShowAt(Point(400, 300), "One bubble"));
        w->BubbleCount = 1;
        const std::vector<TRect> bubbles = w->BubbleRects();
        ASSERT_EQ(bubbles.size(), 1u);
        const TRect& r = bubbles[0];
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right < w->Width() && r.bottom < w->Height());
        w->Invalidate();
        Pump();
        w->Free();
    }
}

}
}

// TsSpeedButton's animation on the fake clock: hover and press frames, hand-over, the end on the exact new look,
// and the button freed mid-animation.
#include "support/ControlsKit.h"
#include "support/FadeKit.h"

#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TForm.h"
#include "platform/gdi/Drawing.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Painting.h"
#include "skin/controls/sSpeedButton.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

#include <cstdlib>
#include <vector>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

// The button's pixels, row by row.
using Picture = std::vector<gdi::COLORREF>;

int Channel(gdi::COLORREF c, int shift) {
    return int((c >> shift) & 0xFF);
}

// Each channel of the frame that blends from at alpha into to.
gdi::COLORREF Blend(gdi::COLORREF from, gdi::COLORREF to, int alpha) {
    gdi::COLORREF c = 0;
    for (int shift : {0, 8, 16})
        c |= gdi::COLORREF(BlendChannel(Channel(from, shift), Channel(to, shift), alpha)) << shift;
    return c;
}

class TsSpeedButtonAnimation : public ControlsTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        UseSkin(GetParam());
        Button = Create<TsSpeedButton>(Form);
        Button->SetBounds(20, 20, 60, 24);
        Button->SetCaption("Go");
        Button->SetParent(Form);
        Pump();
    }
    bool SkinFades() const {
        return Manager->Sections[std::size_t(Button->SkinData()->SkinIndex)].FadingEnabled;
    }
    int Iterations() const {
        return Manager->Sections[std::size_t(Button->SkinData()->SkinIndex)].FadingIterations;
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i)
            Advance(int(FadeInterval));
    }
    Picture Shot() const {
        Picture p;
        for (int y = 0; y < Button->Height(); ++y)
            for (int x = 0; x < Button->Width(); ++x)
                p.push_back(ScreenPixel(Button, x, y));
        return p;
    }
    // What the button shows when it paints its current state afresh.
    Picture Settled() {
        Button->SkinData()->BGChanged = true;
        Button->Invalidate();
        Pump();
        return Shot();
    }
    // The pixel where two looks differ most.
    static std::size_t MostDifferent(const Picture& a, const Picture& b) {
        std::size_t best = 0;
        int most = -1;
        for (std::size_t i = 0; i < a.size(); ++i) {
            int d = 0;
            for (int shift : {0, 8, 16})
                d += std::abs(Channel(a[i], shift) - Channel(b[i], shift));
            if (d > most) {
                most = d;
                best = i;
            }
        }
        return best;
    }
    TsAnimTimer* Running() const {
        for (int i = 0; i < Button->ComponentCount(); ++i)
            if (auto* t = dynamic_cast<TsAnimTimer*>(Button->Components(i))) return t;
        return nullptr;
    }
    // The frames below the button, four a row, written as PNG.
    void WriteStrip(const std::vector<Picture>& frames, const std::string& name) {
        const int w = Button->Width(), h = Button->Height(), top = 60;
        const int rows = int(frames.size() + 3) / 4;
        user::HDC dc = user::GetDC(Form->WindowHandle());
        for (std::size_t f = 0; f < frames.size(); ++f) {
            const int x = 10 + int(f % 4) * (w + 4), y = top + int(f / 4) * (h + 4);
            for (int i = 0; i < w * h; ++i)
                gdi::SetPixel(dc, x + i % w, y + i / w, frames[f][std::size_t(i)]);
        }
        user::ReleaseDC(Form->WindowHandle(), dc);
        user::FlushDisplay();
        const TPoint origin = Form->ClientToScreen(TPoint {10, top});
        const gdi::RECT r {origin.x, origin.y, origin.x + 4 * (w + 4), origin.y + rows * (h + 4)};
        EXPECT_TRUE(Display->WriteScreenshotPng(PictureDir() + "/" + name + ".png", &r));
    }

    TsSpeedButton* Button = nullptr;
};

// A removed skin lets a running hover animation finish (a new one is stopped by the manager's repaint); either
// way the end shows the look in force then.
TEST_P(TsSpeedButtonAnimation, ASkinChangeMidHoverEndsOnTheNewLook) {
    if (!SkinFades()) GTEST_SKIP() << "no animation to interrupt";
    const int n = Iterations();
    for (int next : {(GetParam() + 1) % 4, -1}) {
        MoveTo(Form, 300, 200);
        Ticks(n + 2);
        MoveTo(Button, 30, 12);
        Ticks(1);
        ASSERT_NE(Running(), nullptr);
        UseSkin(next);
        if (next < 0) EXPECT_NE(Running(), nullptr);
        Ticks(n + 2);
        EXPECT_EQ(Running(), nullptr);
        const Picture end = Shot();
        EXPECT_EQ(end, Settled()) << SkinShortName(next);
        UseSkin(GetParam());
    }
}

TEST_P(TsSpeedButtonAnimation, HoverBlendsOneFrameATickAndEndsOnTheExactHotLook) {
    const Picture normal = Shot();
    MoveTo(Button, 30, 12);
    std::vector<Picture> frames {Shot()};
    const int n = SkinFades() ? Iterations() : 0;
    for (int tick = 1; tick < n + 2; ++tick) {
        Ticks(1);
        frames.push_back(Shot());
    }
    EXPECT_EQ(Running(), nullptr);   // freed at the end
    const Picture hot = Settled();
    frames.insert(frames.begin(), normal);
    WriteStrip(frames, "SpeedButtonHover_" + SkinShortName(GetParam()));
    frames.erase(frames.begin());
    ASSERT_NE(hot, normal);
    EXPECT_EQ(frames.back(), hot);
    if (!SkinFades()) {
        EXPECT_EQ(frames.front(), hot);   // switches at once
        return;
    }
    const std::size_t i = MostDifferent(normal, hot);
    for (int step = 1; step <= n; ++step)
        EXPECT_EQ(frames[std::size_t(step - 1)][i], Blend(normal[i], hot[i], FadeAlpha(step, n))) << "step " << step;
    EXPECT_EQ(frames[std::size_t(n - 1)], hot);   // the last frame is the new look itself
}

TEST_P(TsSpeedButtonAnimation, PressAndReleaseAnimateInHalfTheStepsAndEndOnTheirLooks) {
    MoveTo(Button, 30, 12);
    Ticks(8);
    const Picture hot = Shot();
    DownAt(Button, 30, 12);
    const Picture firstDown = Shot();
    Ticks(4);
    const Picture pressed = Settled();
    ASSERT_NE(pressed, hot);
    UpAt(Button, 30, 12);
    const Picture firstUp = Shot();
    Ticks(4);
    EXPECT_EQ(Shot(), hot);
    EXPECT_EQ(Running(), nullptr);
    if (!SkinFades()) {
        EXPECT_EQ(firstDown, pressed);
        EXPECT_EQ(firstUp, hot);
        return;
    }
    const int half = Iterations() / 2;
    const std::size_t i = MostDifferent(hot, pressed);
    EXPECT_EQ(firstDown[i], Blend(hot[i], pressed[i], FadeAlpha(1, half)));
    EXPECT_EQ(firstUp[i], Blend(pressed[i], hot[i], FadeAlpha(1, half)));
}

TEST_P(TsSpeedButtonAnimation, AReleaseMidPressEndsThePressAndAnimatesFromThePressedLook) {
    if (!SkinFades()) GTEST_SKIP() << "switches at once";
    MoveTo(Button, 30, 12);
    Ticks(8);
    const Picture hot = Shot();
    DownAt(Button, 30, 12);
    ASSERT_NE(Running(), nullptr);
    UpAt(Button, 30, 12);   // before the press animation's second frame
    const Picture firstUp = Shot();
    DownAt(Button, 30, 12);
    Ticks(4);
    const Picture pressed = Shot();
    const std::size_t i = MostDifferent(hot, pressed);
    EXPECT_EQ(firstUp[i], Blend(pressed[i], hot[i], FadeAlpha(1, Iterations() / 2)));
}

TEST_P(TsSpeedButtonAnimation, LeavingMidHoverCarriesOnFromThePictureOnScreen) {
    if (!SkinFades()) GTEST_SKIP() << "switches at once";
    const Picture normal = Shot();
    MoveTo(Button, 30, 12);
    Ticks(1);   // two frames shown
    const Picture between = Shot();
    MoveTo(Form, 340, 220);
    const Picture back = Shot();
    Ticks(Iterations() + 1);
    EXPECT_EQ(Shot(), normal);
    EXPECT_EQ(Running(), nullptr);
    MoveTo(Button, 30, 12);
    Ticks(Iterations() + 1);
    const Picture hot = Shot();
    const std::size_t i = MostDifferent(normal, hot);
    for (int shift : {0, 8, 16})   // no jump back towards the hot look
        EXPECT_LE(std::abs(Channel(back[i], shift) - Channel(between[i], shift)), 1) << shift;
}

TEST_P(TsSpeedButtonAnimation, FreedMidAnimationLeavesNothingRunning) {
    if (!SkinFades()) GTEST_SKIP() << "no animation to interrupt";
    MoveTo(Button, 30, 12);
    ASSERT_NE(Running(), nullptr);
    classes::TComponentWatch timer(Running());
    const int n = Iterations();
    Button->Free();
    EXPECT_FALSE(timer.Alive());
    Ticks(n + 2);   // no tick reaches the freed button
    MoveTo(Form, 340, 220);
}

// A new caption alignment shows at once: the kept cache is made again.
TEST_P(TsSpeedButtonAnimation, ANewTextAlignmentIsPaintedAtOnce) {
    Button->SetWidth(120);
    Pump();
    const Picture centred = Settled();
    Button->SetTextAlignment(taLeftJustify);
    Pump();
    const Picture left = Shot();
    EXPECT_NE(left, centred);
    EXPECT_EQ(left, Settled());
}

// The parent's word that it was painted again asks nothing of the button: its own paint draws the button.
TEST_P(TsSpeedButtonAnimation, TheParentsUpdatedNoticeRendersNothing) {
    int renders = 0;
    Button->OnPaint = [&](TObject*, TBitmap*) { ++renders; };
    Button->SkinData()->CacheIncomplete = true;
    Button->Perform(SM_SKINCMD, SkinCommandWParam(SMC_PARENTUPDATED), 0);
    EXPECT_EQ(renders, 0);
    // The next paint still renders the incomplete cache.
    Button->Invalidate();
    Pump();
    EXPECT_GE(renders, 1);
}

INSTANTIATE_TEST_SUITE_P(Skins, TsSpeedButtonAnimation, ::testing::Values(0, 1, 2, 3),
    [](const auto& info) { return SkinShortName(info.param); });

}

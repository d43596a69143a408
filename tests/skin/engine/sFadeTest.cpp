// Fades on the fake clock: which events fade, the alpha sequence and step rules, suppression, interruption,
// frames painted by the control or copied onto its window, controls and timers freed mid-fade, animation.
#include "support/FadeKit.h"
#include "support/PixelFixtures.h"

#include "platform/classes/ControlMessages.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/user/Painting.h"
#include "platform/user/WindowConstants.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

#include <stdexcept>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::ctltest;

namespace {

constexpr TColor Black = 0x000000;
constexpr TColor White = 0xFFFFFF;
constexpr TColor HotGrey = 0x808080;

class Fade : public SkinControlsTest {
protected:
    void SetUp() override {
        SkinControlsTest::SetUp();
        Skin = std::make_unique<CodeSkin>();
        ButtonIndex = Skin->AddSection("BUTTON", Black);
        Skin->Section(ButtonIndex).HotColor = HotGrey;
        Skin->Section(ButtonIndex).FadingEnabled = true;
        Skin->Section(ButtonIndex).FadingIterations = 5;
        const int speed = Skin->AddSection("SPEEDBUTTON", Black);
        Skin->Section(speed).FadingEnabled = true;
        Skin->Section(speed).FadingIterations = 5;
        Skin->AddSection("PANEL", 0x336699);
        SetUpFormAndButton();
        SkinChanging = false;
        CalcPopupCreating = false;
        DefaultAnimatEvents = {aeMouseEnter, aeMouseLeave, aeMouseDown, aeMouseUp};
    }
    void TearDown() override {
        SkinChanging = false;
        CalcPopupCreating = false;
        DefaultAnimatEvents = {aeMouseEnter, aeMouseLeave, aeMouseDown, aeMouseUp};
        Skin.reset();
        SkinControlsTest::TearDown();
    }
    void SetUpFormAndButton() {
        Form = NewForm(200, 100);
        Button = Create<TFadeButton>(Form);
        Button->SetBounds(10, 10, 60, 24);
        Button->SetParent(Form);
        Button->SkinData->ApplyDefaultSection();
        Button->NewLook = White;
        Pump();   // the first paint: the cache shows the normal look, BGChanged clear
    }
    TsGeneralData& ButtonSection() const { return Skin->Section(ButtonIndex); }
    void Enter() { Button->Perform(CM_MOUSEENTER, 0, 0); }
    void Leave() { Button->Perform(CM_MOUSELEAVE, 0, 0); }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i)
            Advance(int(FadeInterval));
    }
    int ScreenRed() const { return Red(ScreenPixel(Button, 2, 2)); }
    // The frames a fade from one grey to another gives at the alpha sequence of `iterations`.
    static std::vector<int> Expected(int from, int to, int iterations) {
        std::vector<int> frames;
        for (int step = 1; step <= iterations; ++step)
            frames.push_back(BlendChannel(from, to, FadeAlpha(step, iterations)));
        return frames;
    }

    TForm* Form = nullptr;
    std::unique_ptr<CodeSkin> Skin;
    int ButtonIndex = -1;
    TFadeButton* Button = nullptr;
};

}

// ---- Which events fade ----------------------------------------------------------------------------------------

TEST(AnimatEvents, AnEventFadesWhenListedOrThroughTheGlobalDefaults) {
    DefaultAnimatEvents = {aeMouseEnter, aeMouseLeave, aeMouseDown, aeMouseUp};
    EXPECT_EQ(DefaultAnimatEvents.Bits(), 0x0Fu);
    struct Case {
        TacAnimatEvent Event;
        TacAnimatEvents Events;
        bool Enabled;
    } const cases[] = {
        {aeMouseDown, {aeGlobalDef}, true},
        {aeMouseDown, {}, false},
        {aeMouseEnter, {aeMouseEnter}, true},
        {aeMouseLeave, {aeMouseEnter}, false},
        {aeGlobalDef, {aeGlobalDef}, true},   // listed itself
    };
    for (const Case& c : cases)
        EXPECT_EQ(AnimatEventEnabled(c.Event, c.Events), c.Enabled) << int(c.Event) << " in " << c.Events.Bits();
    DefaultAnimatEvents = {aeMouseEnter};
    EXPECT_FALSE(AnimatEventEnabled(aeMouseUp, {aeGlobalDef}));
    EXPECT_TRUE(AnimatEventEnabled(aeMouseUp, {aeGlobalDef, aeMouseUp}));
    DefaultAnimatEvents = {aeMouseEnter, aeMouseLeave, aeMouseDown, aeMouseUp};
}

TEST(FadeAlpha, FallsFromTheOldPictureToTheNewOneAndClampsAtTheEnds) {
    const std::vector<int> five = {204, 153, 102, 51, 0};
    for (int step = 1; step <= 5; ++step)
        EXPECT_EQ(FadeAlpha(step, 5), five[std::size_t(step - 1)]) << step;
    EXPECT_EQ(FadeAlpha(1, 3), 170);
    EXPECT_EQ(FadeAlpha(1, 2), 127);
    EXPECT_EQ(FadeAlpha(2, 2), 0);   // 255 - 256 clamps to 0
    EXPECT_EQ(FadeAlpha(0, 5), 255);
    EXPECT_EQ(FadeAlpha(-1, 5), 255);   // clamps
    EXPECT_EQ(FadeAlpha(3, 0), 0);   // no iterations: the new look
}

// ---- A whole fade ----------------------------------------------------------------------------------------------

TEST_F(Fade, MouseEnterFadesInFiveTenMillisecondFramesThenTheControlStopsTheTimer) {
    ASSERT_EQ(ScreenRed(), 0);
    Enter();
    ASSERT_NE(Button->FadeTimer, nullptr);
    EXPECT_EQ(Button->FadeTimer->Owner(), Button);
    EXPECT_EQ(Button->FadeTimer->Direction(), 1);
    EXPECT_EQ(Button->FadeTimer->Iterations, 5);
    EXPECT_EQ(Button->FadeTimer->Step, 1);
    EXPECT_EQ(Button->FadeTimer->Interval(), 10u);
    EXPECT_EQ(Button->Prepares, 1);
    Advance(9);
    EXPECT_TRUE(Button->Frames.empty());   // nothing before the first 10 ms
    Advance(1);
    EXPECT_EQ(Button->Frames, std::vector<int> {BlendChannel(0, 255, 204)});
    EXPECT_EQ(ScreenRed(), BlendChannel(0, 255, 204));   // the frame was copied onto the window
    Ticks(4);
    EXPECT_EQ(Button->Frames, Expected(0, 255, 5));
    EXPECT_EQ(ScreenRed(), 255);   // the last frame is exactly the new look
    EXPECT_EQ(Button->Stops, 0);
    Ticks(1);   // step 6: past the end
    EXPECT_EQ(Button->Stops, 1);
    EXPECT_EQ(Button->FadeTimer, nullptr);
    Ticks(3);
    EXPECT_EQ(Button->Frames.size(), 5u);
}

TEST_F(Fade, PressAndReleaseFadeInHalfTheSteps) {
    Button->Perform(user::WM_LBUTTONDOWN, 0, 0);
    ASSERT_NE(Button->FadeTimer, nullptr);
    EXPECT_EQ(Button->FadeTimer->Iterations, 2);
    Ticks(3);
    EXPECT_EQ(Button->Frames, Expected(0, 255, 2));
    EXPECT_EQ(Button->Stops, 1);
    Button->NewLook = Black;
    Button->Perform(user::WM_LBUTTONUP, 0, 0);
    Ticks(3);
    EXPECT_EQ(Button->Frames.size(), 4u);
    EXPECT_EQ(Button->Frames[2], BlendChannel(255, 0, 127));
    EXPECT_EQ(ScreenRed(), 0);
}

TEST_F(Fade, TheFadingIterationsOfTheSectionSetTheFrameCount) {
    ButtonSection().FadingIterations = 3;
    Enter();
    Ticks(4);
    EXPECT_EQ(Button->Frames, Expected(0, 255, 3));
    EXPECT_EQ(Button->Stops, 1);
}

TEST_F(Fade, AFadeWithoutStepsStopsAtOnceAndTheNewLookIsPainted) {
    ButtonSection().FadingIterations = 1;
    Button->Perform(user::WM_LBUTTONDOWN, 0, 0);   // half of one step is none
    ASSERT_NE(Button->FadeTimer, nullptr);
    EXPECT_EQ(Button->FadeTimer->Iterations, 0);
    Ticks(2);
    EXPECT_EQ(Button->FadeTimer, nullptr);
    ButtonSection().FadingIterations = 0;
    Button->NewLook.reset();   // the new look is the skin's hot colour
    Enter();
    ASSERT_NE(Button->FadeTimer, nullptr);
    Ticks(1);
    EXPECT_TRUE(Button->Frames.empty());
    EXPECT_EQ(Button->Stops, 2);
    EXPECT_EQ(Button->FadeTimer, nullptr);
    EXPECT_EQ(ScreenPixel(Button, 2, 2), gdi::COLORREF(ColorToRGB(HotGrey)));
}

// ---- Interruptions -------------------------------------------------------------------------------------------

// The reversed fade starts from the cache, which holds the interrupted fade's new look, not from the frame shown.
TEST_F(Fade, LeavingDuringAFadeInReversesFromTheCachedLookInAsManyStepsAsWereDone) {
    Enter();
    TsFadeTimer* timer = Button->FadeTimer;
    Ticks(2);
    ASSERT_EQ(timer->Step, 3);
    ASSERT_EQ(ScreenRed(), BlendChannel(0, 255, 153));
    Button->NewLook = Black;
    Leave();
    EXPECT_EQ(Button->FadeTimer, timer);   // the same timer goes on
    EXPECT_EQ(timer->Iterations, 3);
    EXPECT_EQ(timer->Step, 1);
    EXPECT_EQ(Red(pixeltest::Px(*timer->OldImage(), 2, 2)), 255);
    Ticks(3);
    const std::vector<int> back(Button->Frames.begin() + 2, Button->Frames.end());
    EXPECT_EQ(back, Expected(255, 0, 3));
    EXPECT_EQ(ScreenRed(), 0);
    Ticks(1);
    EXPECT_EQ(Button->Stops, 1);
    EXPECT_EQ(Button->FadeTimer, nullptr);
}

TEST_F(Fade, AChangeThatMayNotFadeStopsTheRunningFadeAndRepaintsAtOnce) {
    Enter();
    Ticks(1);
    ASSERT_EQ(Button->Frames.size(), 1u);
    Button->AnimatEvents = {aeMouseEnter};   // leaving does not fade
    const int paints = Button->Paints;
    Leave();
    EXPECT_EQ(Button->FadeTimer, nullptr);
    EXPECT_GT(Button->Paints, paints);
    Pump();
    EXPECT_EQ(ScreenRed(), 0);   // the normal look straight away
    Ticks(6);
    EXPECT_EQ(Button->Frames.size(), 1u);
    EXPECT_EQ(Button->Stops, 0);
}

// Each case keeps the change from fading: the control repaints at once, in its hot look.
TEST_F(Fade, FadesAreSuppressedWhileSkinsChangeOrACalculatorOpensOrTheCacheIsStaleOrUnskinned) {
    struct Case {
        const char* Name;
        std::function<void()> Set;
    } const cases[] = {
        {"skin changing", [] { SkinChanging = true; }},
        {"calculator pop-up", [] { CalcPopupCreating = true; }},
        {"cache already changed", [this] { Button->SkinData->BGChanged = true; }},
        {"event not enabled", [this] { Button->AnimatEvents = {aeMouseLeave}; }},
        {"section does not fade", [this] { ButtonSection().FadingEnabled = false; }},
        {"unskinned", [this] { Button->SkinData->SkinIndex = -1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Button->AnimatEvents = {};
        Leave();   // the normal look at once
        Button->AnimatEvents = {aeGlobalDef};
        Button->Prepares = 0;
        ASSERT_FALSE(Button->SkinData->BGChanged);
        c.Set();
        const int paints = Button->Paints;
        Enter();
        EXPECT_EQ(Button->FadeTimer, nullptr);
        EXPECT_EQ(Button->Prepares, 0);
        EXPECT_GT(Button->Paints, paints);
        Pump();
        if (Button->SkinData->SkinIndex >= 0) {
            EXPECT_EQ(ScreenPixel(Button, 2, 2), gdi::COLORREF(ColorToRGB(HotGrey)));
        }
        Ticks(3);
        EXPECT_TRUE(Button->Frames.empty());
        Button->SkinData->UpdateIndexes();
        SkinChanging = false;
        CalcPopupCreating = false;
        ButtonSection().FadingEnabled = true;
    }
}

// ---- Frames --------------------------------------------------------------------------------------------------

TEST_F(Fade, FramesTheControlPaintsItselfAreNotCopiedOntoItsWindow) {
    Button->PaintsFrames = true;
    Enter();
    Ticks(5);
    EXPECT_EQ(Button->Frames, Expected(0, 255, 5));
    EXPECT_EQ(ScreenRed(), 0);   // this control painted nothing with them
}

// A windowless control has no window of its own: a frame it does not paint itself is copied nowhere.
TEST_F(Fade, AWindowlessControlsFrameIsNotCopiedOntoItsParent) {
    auto* panel = Create<TTestPanel>(Form);
    panel->SetBounds(0, 40, 200, 60);
    panel->SetParent(Form);
    auto* anim = Create<TAnimButton>(Form);
    anim->SetBounds(20, 10, 40, 24);
    anim->SetParent(panel);
    anim->SkinData->ApplyDefaultSection();
    Pump();
    anim->SkinData->InitCacheBmp();
    pixeltest::Fill(*anim->SkinData->CacheBmp(), TRect {0, 0, 40, 24}, Black);
    anim->SkinData->BGChanged = false;
    const gdi::COLORREF before = ScreenPixel(panel, 20 + 2, 10 + 2);
    TsFadeTimer* timer = nullptr;
    StartFade(timer, anim->SkinData.get(), false, 1);
    ASSERT_NE(timer, nullptr);
    pixeltest::Fill(*anim->SkinData->CacheBmp(), TRect {0, 0, 40, 24}, White);   // its new look
    const std::size_t dcs = user::OpenDcCount();
    Ticks(5);
    EXPECT_EQ(timer->Step, 6) << "every frame was made";
    EXPECT_EQ(ScreenPixel(panel, 20 + 2, 10 + 2), before);
    EXPECT_EQ(ScreenPixel(panel, 19, 12), ScreenPixel(panel, 5, 5));   // left of it: the panel untouched
    EXPECT_EQ(user::OpenDcCount(), dcs);
    StopFadeTimer(timer);
}

TEST_F(Fade, AStepThatFailsIsDroppedAndTheFadeStillEnds) {
    Button->OnFrame = [] { throw std::runtime_error("frame"); };
    Enter();
    Ticks(6);
    EXPECT_EQ(Button->Frames.size(), 5u);
    EXPECT_EQ(Button->Stops, 1);
    EXPECT_EQ(Button->FadeTimer, nullptr);
}

TEST_F(Fade, AControlThatKeepsItsTimerLeavesItRestingAfterTheFade) {
    Button->KeepsTimer = true;
    Enter();
    Ticks(6);
    ASSERT_NE(Button->FadeTimer, nullptr);
    EXPECT_EQ(Button->Stops, 1);
    EXPECT_EQ(Button->FadeTimer->Direction(), 0);
    EXPECT_FALSE(Button->FadeTimer->Enabled());
    Ticks(5);
    EXPECT_EQ(Button->Stops, 1);
    // The next fade takes the whole sequence again.
    Button->NewLook = Black;
    Leave();
    EXPECT_EQ(Button->FadeTimer->Iterations, 5);
    EXPECT_EQ(Button->FadeTimer->Step, 1);
}

// ---- Lifetimes -------------------------------------------------------------------------------------------------

// Whatever goes first, and wherever: nothing keeps ticking, no DC is left open, nothing freed is touched.
TEST_F(Fade, ControlsFormsAndTimersFreedMidFadeLeaveNothingRunning) {
    struct Case {
        const char* Name;
        std::function<void()> Free;   // run after one frame; may set hooks that free from inside
    } const cases[] = {
        {"control between frames", [this] { Button->Free(); }},
        {"form between frames", [this] { Form->Free(); }},
        {"control inside its frame", [this] { Button->OnFrame = [this] { Button->Free(); }; }},
        {"timer inside its own tick", [this] { Button->OnFrame = [this] { StopFadeTimer(Button->FadeTimer); }; }},
        {"control preparing a fade", [this] {
             Button->OnPrepare = [this] { Button->Free(); };
             Leave();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        SetUpFormAndButton();
        Enter();
        Ticks(1);
        classes::TComponentWatch timer(Button->FadeTimer), form(Form);
        const std::size_t dcs = user::OpenDcCount();
        c.Free();
        Ticks(1);
        EXPECT_FALSE(timer.Alive());
        EXPECT_EQ(user::OpenDcCount(), dcs);
        Ticks(6);
        EXPECT_EQ(user::OpenDcCount(), dcs);
        if (form.Alive()) Form->Free();
    }
}

TEST_F(Fade, ATimerThatOutlivesItsControlStops) {
    auto* timer = Create<TsFadeTimer>(Form);   // not owned by the control
    Button->SkinData->BGChanged = false;
    timer->Prepare(Button->SkinData.get());
    timer->Step = 1;
    timer->SetDirection(1);
    Ticks(1);
    ASSERT_EQ(Button->Frames.size(), 1u);
    Button->Free();
    EXPECT_EQ(timer->SkinData(), nullptr);
    Ticks(1);
    EXPECT_EQ(timer->Direction(), 0);
    EXPECT_FALSE(timer->Enabled());
}

TEST_F(Fade, StopFadeTimerForgetsATimerBeingDestroyedAndIgnoresNone) {
    TsFadeTimer* none = nullptr;
    StopFadeTimer(none);
    EXPECT_EQ(none, nullptr);
    Enter();
    TsFadeTimer* timer = Button->FadeTimer;
    timer->Destroying();   // as its owner's destruction marks it
    StopFadeTimer(Button->FadeTimer);
    EXPECT_EQ(Button->FadeTimer, nullptr);
    timer->Free();
}

// ---- Animation timer -------------------------------------------------------------------------------------------

namespace {

class Anim : public Fade {
protected:
    void SetUp() override {
        Fade::SetUp();
        Panel = Create<TTestPanel>(Form);
        Panel->SetBounds(0, 40, 200, 60);
        Panel->SetParent(Form);
        Panel->SkinData->ApplyDefaultSection();
        Speed = Create<TAnimButton>(Form);
        Speed->SetBounds(20, 10, 40, 24);
        Speed->SetParent(Panel);
        Speed->SkinData->ApplyDefaultSection();
        Pump();
    }
    // As the speed button starts its animation: start image black, new look white, the first step at once.
    void Start() {
        Speed->Anim = new TsAnimTimer(nullptr);
        Speed->Anim->Prepare(Speed->SkinData.get());
        Speed->Anim->Step = 1;
        Speed->Anim->StartImage()->Assign(pixeltest::Bitmap24(40, 24, Black).get());
        Speed->SkinData->InitCacheBmp();
        pixeltest::Fill(*Speed->SkinData->CacheBmp(), TRect {0, 0, 40, 24}, White);
        Speed->SkinData->Updating = true;
        Speed->Anim->SetEnabled(true);
        Speed->Anim->MakeStep();
    }

    TTestPanel* Panel = nullptr;
    TAnimButton* Speed = nullptr;
};

}

TEST_F(Anim, FramesArePaintedByTheControlAsItsParentsAnimChildThenItStops) {
    Start();
    EXPECT_EQ(Speed->Anim->Iterations, 5);
    EXPECT_EQ(Speed->Anim->Interval(), 10u);
    Ticks(4);
    EXPECT_EQ(Speed->Frames, Expected(0, 255, 5));
    EXPECT_EQ(Speed->UpdatingSeen, std::vector<bool>(5, false));   // code 8 with 0 before each repaint
    EXPECT_EQ(Panel->SkinData->AnimChild(), nullptr);   // cleared after each frame
    Ticks(1);
    EXPECT_EQ(Speed->Stops, 1);
    EXPECT_EQ(Speed->Anim, nullptr);
    Ticks(3);
    EXPECT_EQ(Speed->Frames.size(), 5u);
}

TEST_F(Anim, ANestedStepWhileBusyPaintsNothingAndOnlyCounts) {
    Speed->OnPaint = [this] {
        if (Speed->Anim && Speed->Anim->Busy()) Speed->Anim->MakeStep();
    };
    Start();
    EXPECT_EQ(Speed->Frames.size(), 1u);
    EXPECT_EQ(Speed->Anim->Step, 3);
    EXPECT_FALSE(Speed->Anim->Busy());
}

TEST_F(Anim, AControlFreedInsideAStepLeavesTheTimerUntouchedAndTheParentClear) {
    Start();
    classes::TComponentWatch speed(Speed);
    Speed->OnSetUpdating = [this] { Speed->Free(); };   // frees its timer too, inside the timer's tick
    Ticks(1);
    EXPECT_FALSE(speed.Alive());
    EXPECT_EQ(Panel->SkinData->AnimChild(), nullptr);
    Ticks(6);
}

TEST_F(Anim, ATimerWhoseControlIsGoneFinishesAndRests) {
    auto timer = std::make_unique<TsAnimTimer>(nullptr);
    timer->Prepare(Speed->SkinData.get());
    timer->Step = 1;
    timer->SetEnabled(true);
    Speed->Free();
    EXPECT_EQ(timer->SkinData(), nullptr);
    EXPECT_TRUE(timer->CheckFinished());
    EXPECT_FALSE(timer->Enabled());
}

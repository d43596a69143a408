// Component base: batched and throttled repaint requests, background and border, off-screen painting on the
// headless display, transparency, window messages and the timer window.
#include "leds/iComponent.h"

#include "leds/iGPFunctions.h"
#include "platform/classes/ControlMessages.h"
#include "platform/classes/PropInfo.h"
#include "platform/classes/TMemoryStream.h"
#include "platform/classes/TMetafile.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/Timers.h"
#include "platform/user/Window.h"
#include "support/LedTestKit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include <limits>

using namespace korvex;
using namespace korvex::leds;
using namespace korvex::leds::test;
using classes::Rect;
using gdi::DrawKind;

namespace {

using ComponentTest = LampTest;

TEST(DimColor, DividesEachChannelAndClearsTheTopByte) {
    EXPECT_EQ(DimColor(0xFF8040, 3), 0x552A15);
    EXPECT_EQ(DimColor(0x0000FF, 3), 0x000055);
    EXPECT_EQ(DimColor(0x12FFFFFF, 1), 0xFFFFFF);
}

TEST(DimColor, ResolvesSystemColoursAndTakesADivisorBelowOneAsOne) {
    const classes::TColor face = classes::ColorToRGB(classes::clBtnFace);
    EXPECT_EQ(DimColor(classes::clBtnFace, 1), face);
    EXPECT_EQ(DimColor(0x336699, 0), 0x336699);
    EXPECT_EQ(DimColor(0x336699, -4), 0x336699);
}

TEST_F(ComponentTest, ThreeChangesInsideAnUpdateInvalidateOnceAtItsEnd) {
    Led->Invalidations = 0;
    Led->BeginUpdate();
    Led->SetActive(true);
    Led->SetActiveColor(classes::clRed);
    Led->SetBackGroundColor(classes::clBlack);
    EXPECT_EQ(Led->Invalidations, 0);
    Led->EndUpdate();
    EXPECT_EQ(Led->Invalidations, 1);
    Led->EndUpdate();   // nothing pending: nothing more
    EXPECT_EQ(Led->Invalidations, 1);
}

TEST_F(ComponentTest, UpdatingIsAFlagNotACounter) {
    Led->Invalidations = 0;
    Led->BeginUpdate();
    Led->BeginUpdate();
    Led->SetActive(true);
    Led->EndUpdate();
    EXPECT_FALSE(Led->Updating());
    EXPECT_EQ(Led->Invalidations, 1);
}

TEST_F(ComponentTest, TheFrameRateThrottleHoldsARequestBackUntilItsIntervalPassed) {
    Led->SetUpdateFrameRate(10);   // at most one repaint per 100 ms
    Advance(200);
    Led->SetAutoFrameRate(true);   // a request, long after the last repaint
    EXPECT_EQ(Led->Invalidations, 2);
    Advance(50);
    Led->SetActive(true);
    EXPECT_EQ(Led->Invalidations, 2);   // 50 ms: held back
    Led->EndUpdate();
    EXPECT_EQ(Led->Invalidations, 2);   // still within the interval
    Advance(60);
    Led->EndUpdate();
    EXPECT_EQ(Led->Invalidations, 3);   // released
    Advance(10);
    Led->SetActive(false);
    Advance(150);
    EXPECT_EQ(Led->Invalidations, 3);   // nothing flushes a held request by itself
    Led->SetShowReflection(false);
    EXPECT_EQ(Led->Invalidations, 4);   // the next request takes both
}

TEST_F(ComponentTest, TurningTheThrottleOffReleasesWhatIsHeld) {
    Led->SetUpdateFrameRate(1);
    Led->SetAutoFrameRate(true);
    const int before = Led->Invalidations;
    Led->SetActive(true);
    Led->BeginUpdate();
    EXPECT_EQ(Led->Invalidations, before);
    Led->SetAutoFrameRate(false);
    EXPECT_FALSE(Led->Updating());
    EXPECT_EQ(Led->Invalidations, before + 1);
}

TEST_F(ComponentTest, RateZeroMeansNoThrottleAndAHugeRateDoesNotOverflow) {
    Led->SetUpdateFrameRate(0);
    Led->SetAutoFrameRate(true);
    int before = Led->Invalidations;
    Led->SetActive(true);
    Led->SetActive(false);
    EXPECT_EQ(Led->Invalidations, before + 2);
    Led->SetUpdateFrameRate(std::numeric_limits<int>::max());
    Advance(1);
    before = Led->Invalidations;
    Led->SetActive(true);
    EXPECT_EQ(Led->Invalidations, before + 1);
}

TEST_F(ComponentTest, BorderStylesDrawTheEdgeAroundTheWholeControl) {
    const std::pair<TiBevelStyle, gdi::UINT> cases[]
        = {{ibsLowered, gdi::EDGE_SUNKEN}, {ibsRaised, gdi::EDGE_RAISED}, {ibsNone, 0}};
    for (auto [style, edge] : cases) {
        Led->SetBorderStyle(style);
        RecordingCanvas rec(20, 20);
        Led->iPaintTo(rec.Canvas());
        auto edges = rec.CallsOf(DrawKind::DrawEdge);
        if (edge == 0) {
            EXPECT_TRUE(edges.empty());
            continue;
        }
        ASSERT_EQ(edges.size(), 1u);
        EXPECT_EQ(edges[0].Rect, Rect(0, 0, 20, 20));
        EXPECT_EQ(edges[0].Flags, edge | (gdi::BF_RECT << 16));
    }
}

TEST(DrawEdgeBorder, StylesOtherThanSunkenAndRaisedDrawNothing) {
    RecordingCanvas rec(10, 10);
    DrawEdgeBorder(rec.Canvas(), Rect(0, 0, 10, 10), 2);
    DrawEdgeBorder(nullptr, Rect(0, 0, 10, 10), iEdgeSunken);
    EXPECT_TRUE(rec.Calls().empty());
}

TEST_F(ComponentTest, ChangesBeforeAPaintArePaintedOnceAndTheBackgroundIsNotErased) {
    classes::TForm* form = NewForm();
    auto* led = new TTestLedRound(form);
    led->SetParent(form);
    led->SetBounds(10, 10, 30, 30);
    Pump();
    const int paints = led->Paints;
    led->SetActive(true);
    led->SetActiveColor(classes::clBlue);
    led->SetBackGroundColor(classes::clWhite);
    Pump();
    EXPECT_EQ(led->Paints, paints + 1);
    EXPECT_EQ(PixelAt(led, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(led->Perform(user::WM_ERASEBKGND, 0, 0), 1);
    Pump();
    EXPECT_EQ(PixelAt(led, 0, 0), 0xFFFFFFu);
}

TEST_F(ComponentTest, TheWindowHasNoIdAndWantsAllKeys) {
    classes::TForm* form = NewForm();
    auto* led = new TTestLedRound(form);
    led->SetParent(form);
    user::HWND hwnd = led->Handle();
    EXPECT_EQ(user::GetWindowLongPtr(hwnd, user::GWL_ID), 0);
    EXPECT_NE(led->Perform(user::WM_GETDLGCODE, 0, 0) & classes::DLGC_WANTALLKEYS, 0);
}

TEST_F(ComponentTest, ErrorsOfMouseHandlersAreSwallowed) {
    classes::TForm* form = NewForm();
    auto* led = new TTestLedRound(form);
    led->SetParent(form);
    led->SetBounds(10, 10, 30, 30);
    Pump();
    int downs = 0;
    led->OnMouseDown = [&](classes::TObject*, classes::TMouseButton, classes::TShiftState, int, int) {
        ++downs;
        throw std::runtime_error("handler failed");
    };
    const classes::TPoint p = led->ClientToScreen(classes::Point(15, 15));
    Display->Click(p.x, p.y);
    Pump();
    EXPECT_EQ(downs, 1);
    EXPECT_TRUE(Exceptions.empty());
}

TEST_F(ComponentTest, TheFocusMakesEveryWindowUpTheChainAControlParent) {
    classes::TForm* form = NewForm();
    auto* led = new TTestLedRound(form);
    led->SetParent(form);
    Pump();
    led->Perform(user::WM_SETFOCUS, 0, 0);
    EXPECT_NE(user::GetWindowExStyle(led->Handle()) & user::WS_EX_CONTROLPARENT, 0u);
    EXPECT_NE(user::GetWindowExStyle(form->Handle()) & user::WS_EX_CONTROLPARENT, 0u);
}

// ---------------------------------------------------------------------------------------------------------
// Transparency

class TransparencyTest : public LedTest {
protected:
    void SetUp() override {
        LedTest::SetUp();
        Form = NewForm();
        Form->SetColor(0x00C0FF);   // what the parent draws under its children
        Led = new TTestLedRound(Form);
        Led->SetParent(Form);
        Led->SetBounds(20, 20, 40, 40);
        Led->SetBackGroundColor(0x303030);
        Pump();
    }
    classes::TForm* Form = nullptr;
    TTestLedRound* Led = nullptr;
};

TEST_F(TransparencyTest, ATransparentLampShowsWhatItsParentDrawsUnderIt) {
    EXPECT_EQ(PixelAt(Led, 1, 1), 0x303030u);
    Led->SetTransparent(true);
    EXPECT_NE(user::GetWindowExStyle(Led->Handle()) & user::WS_EX_TRANSPARENT, 0u);
    Pump();
    EXPECT_EQ(PixelAt(Led, 1, 1), 0x00C0FFu);
    EXPECT_EQ(PixelAt(Led, 38, 38), 0x00C0FFu);
    Led->SetTransparent(false);
    EXPECT_EQ(user::GetWindowExStyle(Led->Handle()) & user::WS_EX_TRANSPARENT, 0u);
    Pump();
    EXPECT_EQ(PixelAt(Led, 1, 1), 0x303030u);
}

TEST_F(TransparencyTest, APartlyCoveredTransparentLampFillsWithItsBackgroundUntilWhollyShown) {
    auto* cover = new TTestLedRound(Form);   // a sibling over the lamp's top-left corner
    cover->SetParent(Form);
    cover->SetBounds(10, 10, 20, 20);
    cover->BringToFront();
    Pump();
    Led->SetTransparent(true);
    Pump();
    EXPECT_EQ(PixelAt(Led, 38, 38), 0x303030u);
    cover->Hide();
    Led->Invalidate();
    Pump();
    EXPECT_EQ(PixelAt(Led, 38, 38), 0x00C0FFu);
    EXPECT_EQ(PixelAt(Led, 1, 1), 0x00C0FFu);
}

TEST_F(TransparencyTest, MovingOrResizingTakesTheParentsPictureAgain) {
    Led->SetTransparent(true);
    Pump();
    Form->SetColor(0x808000);
    Led->SetBounds(30, 30, 30, 30);
    Pump();
    EXPECT_EQ(PixelAt(Led, 1, 1), 0x808000u);
    EXPECT_EQ(PixelAt(Led, 28, 28), 0x808000u);
}

// ---------------------------------------------------------------------------------------------------------
// Timer window

TEST_F(ComponentTest, TheTimerRunsItsFirstPeriodThenTheRegularOne) {
    std::vector<int> ticks;
    int elapsed = 0;
    Led->OnTimer = [&](classes::TObject* sender) {
        EXPECT_EQ(sender, Led.get());
        ticks.push_back(elapsed);
    };
    Led->StartTimer(100, 30);
    EXPECT_TRUE(Led->TimerRunning());
    Led->StartTimer(10, 10);   // already running: ignored
    for (elapsed = 10; elapsed <= 200; elapsed += 10)
        Advance(10);
    EXPECT_EQ(ticks, (std::vector<int> {100, 130, 160, 190}));
    Led->StopTimer();
    EXPECT_FALSE(Led->TimerRunning());
    Advance(100);
    EXPECT_EQ(ticks.size(), 4u);
}

TEST_F(ComponentTest, AFirstPeriodWithoutARegularOneGoesOnAtTheShortestPeriod) {
    int ticks = 0;
    Led->OnTimer = [&](classes::TObject*) { ++ticks; };
    Led->StartTimer(50, 0);
    Advance(50);
    EXPECT_EQ(ticks, 1);
    Advance(user::USER_TIMER_MINIMUM);
    Advance(user::USER_TIMER_MINIMUM);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(Led->TimerRunning());
    Led->StopTimer();
    Advance(100);
    EXPECT_EQ(ticks, 3);
    Led->StartTimer(0, 0);
    EXPECT_FALSE(Led->TimerRunning());
}

TEST_F(ComponentTest, ANegativePeriodIsTheSystemsLongestNotTheRegularOrShortestOne) {
    int ticks = 0;
    Led->OnTimer = [&](classes::TObject*) { ++ticks; };
    Led->StartTimer(-1, 30);
    EXPECT_TRUE(Led->TimerRunning());
    for (int elapsed = 0; elapsed < 300; elapsed += 10)
        Advance(10);
    EXPECT_EQ(ticks, 0);
    Led->StopTimer();
    Led->StartTimer(0, -5);
    EXPECT_TRUE(Led->TimerRunning());
    for (int elapsed = 0; elapsed < 300; elapsed += 10)
        Advance(10);
    EXPECT_EQ(ticks, 0);
    Led->StopTimer();
}

TEST_F(ComponentTest, EveryControlMakesItsTimerWindowWithItselfAndDestroysItWithItself) {
    auto led = std::make_unique<TTestLedRound>(nullptr);
    const user::HWND window = led->TimerWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(user::IsWindow(window));
    EXPECT_NE(window, Led->TimerWindow());
    EXPECT_FALSE(led->TimerRunning());
    led.reset();
    EXPECT_FALSE(user::IsWindow(window));
}

TEST_F(ComponentTest, APaletteChangeIsAChangeOfLook) {
    classes::TForm* form = NewForm();
    auto* led = new TTestLedRound(form);
    led->SetParent(form);
    Pump();
    const int before = led->Invalidations;
    led->Perform(user::WM_PALETTECHANGED, 0, 0);
    EXPECT_EQ(led->Invalidations, before + 1);
}

TEST_F(ComponentTest, ThePaintLockPairsAndToleratesAStrayUnlock) {
    Led->Unlock();
    Led->Lock();
    Led->Lock();
    Led->Unlock();
    Led->Unlock();
    Led->Unlock();
    // Every lock was paired: another thread takes the lock at once (it would wait forever otherwise).
    auto other = std::async(std::launch::async, [&] {
        Led->Lock();
        Led->Unlock();
    });
    EXPECT_EQ(other.wait_for(std::chrono::seconds(60)), std::future_status::ready);
}

}

namespace {

class LedDragTest : public LedTest { };

TEST_F(LedDragTest, OneLedDraggedOntoAnotherIsDroppedThereWithItsEvents) {
    classes::TForm* form = NewForm(100, 100, 300, 120);
    auto* source = new TTestLedRound(form);
    source->SetParent(form);
    source->SetBounds(10, 10, 60, 60);
    source->SetDragMode(classes::dmAutomatic);
    auto* target = new TTestLedRound(form);
    target->SetParent(form);
    target->SetBounds(150, 10, 60, 60);
    std::vector<std::string> events;
    target->OnDragOver = [&](classes::TObject*, classes::TObject* from, int x, int y, classes::TDragState, bool& accept) {
        accept = from == source;
        events.push_back("over " + std::to_string(x) + "," + std::to_string(y));
    };
    target->OnDragDrop = [&](classes::TObject*, classes::TObject* from, int x, int y) {
        EXPECT_EQ(from, source);
        events.push_back("drop " + std::to_string(x) + "," + std::to_string(y));
    };
    source->OnStartDrag = [&](classes::TObject*, classes::TObject*&) { events.push_back("start"); };
    source->OnEndDrag = [&](classes::TObject*, classes::TObject* on, int, int) {
        events.push_back(on == target ? "end on target" : "end elsewhere");
    };
    ASSERT_TRUE(Pump());
    const classes::TPoint from = source->ClientToScreen(classes::TPoint {30, 30});
    const classes::TPoint to = target->ClientToScreen(classes::TPoint {20, 25});
    Display->MoveMouse(from.x, from.y);
    Display->ButtonDown(user::MouseButton::Left, from.x, from.y);
    ASSERT_TRUE(Pump());
    Display->MoveMouse(from.x + 20, from.y);
    ASSERT_TRUE(Pump());
    Display->MoveMouse(to.x, to.y);
    ASSERT_TRUE(Pump());
    Display->ButtonUp(user::MouseButton::Left, to.x, to.y);
    ASSERT_TRUE(Pump());
    EXPECT_EQ(events, (std::vector<std::string> {"start", "over 20,25", "drop 20,25", "end on target"}));
}

TEST(LedDragEvents, TheLedsPublishTheDragEventsForComponentText) {
    TTestLedRound led(nullptr);
    TTestLedBar bar(nullptr);
    for (const char* name : {"OnDragDrop", "OnDragOver", "OnStartDrag", "OnEndDrag"}) {
        EXPECT_NE(classes::GetPropInfo(led, name), nullptr) << name;
        EXPECT_NE(classes::GetPropInfo(bar, name), nullptr) << name;
    }
}

}

namespace {

class LedMetafileTest : public LedTest { };

// Painted into a metafile, an LED records its own drawing calls (no copy of an off-screen bitmap), and the
// metafile shows the same picture as the screen.
TEST_F(LedMetafileTest, AnLedPaintedIntoAMetafileRecordsItsDrawingItself) {
    classes::TForm* form = NewForm(100, 100, 200, 120);
    auto* led = new TTestLedRound(form);
    led->SetParent(form);
    led->SetBounds(10, 10, 40, 40);
    led->SetActive(true);
    led->SetActiveColor(classes::clLime);
    ASSERT_TRUE(Pump());
    classes::TMetafile metafile;
    metafile.SetSize(40, 40);
    {
        classes::TMetafileCanvas canvas(&metafile);
        EXPECT_EQ(gdi::GetDeviceCaps(canvas.Handle(), gdi::TECHNOLOGY), gdi::DT_METAFILE);
        led->Perform(user::WM_PAINT, user::WPARAM(canvas.Handle()), 0);
    }
    ASSERT_FALSE(metafile.Empty());
    bool blit = false, ellipse = false;
    for (const gdi::DrawCall& call : metafile.Calls()) {
        blit = blit || call.Kind == DrawKind::BitBlt || call.Kind == DrawKind::StretchBlt;
        ellipse = ellipse || call.Kind == DrawKind::Ellipse;
    }
    EXPECT_FALSE(blit);
    EXPECT_TRUE(ellipse);
    for (const auto& [x, y] : {std::pair {20, 20}, std::pair {2, 2}}) {
        const gdi::COLORREF shown = PixelAt(led, x, y);
        const gdi::BYTE* p = metafile.Picture()->ScanLine(y) + 4 * x;
        EXPECT_EQ(gdi::RGB(p[2], p[1], p[0]), shown) << x << "," << y;
    }
    // The ordinary paint still goes through the off-screen bitmap.
    RecordingCanvas screenLike(40, 40);
    led->Perform(user::WM_PAINT, user::WPARAM(screenLike.Canvas()->Handle()), 0);
    EXPECT_FALSE(screenLike.CallsOf(DrawKind::BitBlt).empty());
    EXPECT_TRUE(screenLike.CallsOf(DrawKind::Ellipse).empty());
}

TEST(Metafile, AnEmptyMetafileCanvasStillRecordsAndStreamsAreRefused) {
    classes::TMetafile metafile;
    {
        classes::TMetafileCanvas canvas(&metafile);
        canvas.Brush()->SetColor(classes::clRed);
        canvas.FillRect(Rect(0, 0, 1, 1));
    }
    EXPECT_EQ(metafile.Width(), 1);
    ASSERT_EQ(metafile.Calls().size(), 1u);
    EXPECT_EQ(metafile.Calls()[0].Kind, DrawKind::FillRect);
    classes::TMemoryStream stream;
    EXPECT_THROW(metafile.SaveToStream(stream), classes::EInvalidGraphicOperation);
}

}

namespace {

class TWheelTakingLed : public TTestLedRound {
public:
    using TTestLedRound::TTestLedRound;
    int Answer = 0;
    std::vector<int> Deltas;

protected:
    int iMouseWheel(classes::TShiftState, int wheelDelta, classes::TPoint) override {
        Deltas.push_back(wheelDelta);
        return Answer;
    }
};

}

TEST_F(ComponentTest, TheWheelHookAnswersNothingHereAndRunsBesideTheInheritedHandling) {
    int events = 0;
    Led->OnMouseWheel = [&](classes::TObject*, classes::TShiftState, int, classes::TPoint, bool&) { ++events; };
    EXPECT_EQ(Led->Perform(classes::CM_MOUSEWHEEL, user::MAKEWPARAM(0, -120), 0), 0);   // not taken
    EXPECT_EQ(events, 1);

    TWheelTakingLed led(nullptr);
    led.OnMouseWheel = Led->OnMouseWheel;
    EXPECT_EQ(led.Perform(classes::CM_MOUSEWHEEL, user::MAKEWPARAM(0, 120), 0), 0);
    led.Answer = 1;
    EXPECT_EQ(led.Perform(classes::CM_MOUSEWHEEL, user::MAKEWPARAM(0, -240), 0), 1);   // taken by the hook
    EXPECT_EQ(led.Deltas, (std::vector<int> {120, -240}));
    EXPECT_EQ(events, 3);
}

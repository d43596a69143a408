// Round LED and LED: the painted primitives on a recording DC, lamp colours, OnChange and square bounds.
#include "leds/iLedRound.h"

#include "support/LedTestKit.h"

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::leds;
using namespace korvex::leds::test;
using classes::Rect;
using classes::TRect;
using gdi::DrawKind;

namespace {

class LedRoundTest : public LedTest { };

void ExpectArc(const gdi::DrawCall& call, TRect box, classes::TPoint start, classes::TPoint end, gdi::COLORREF pen) {
    EXPECT_EQ(call.Kind, DrawKind::Arc);
    EXPECT_EQ(call.Rect, box);
    ASSERT_EQ(call.Points.size(), 2u);
    EXPECT_EQ(call.Points[0], start);
    EXPECT_EQ(call.Points[1], end);
    EXPECT_EQ(call.PenColor, pen);
}

TEST_F(LedRoundTest, A15PixelLoweredLampFillsTheInsetDiscWithReflectionAndTwoPixelRing) {
    auto* led = new TTestLedRound(nullptr);
    led->SetBounds(0, 0, 15, 15);
    led->SetActive(true);
    RecordingCanvas rec(15, 15);
    led->iPaintTo(rec.Canvas());

    auto fills = rec.CallsOf(DrawKind::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].Rect, Rect(0, 0, 15, 15));
    EXPECT_EQ(fills[0].BrushColor, Ref(classes::clBtnFace));

    auto ellipses = rec.CallsOf(DrawKind::Ellipse);
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ(ellipses[0].Rect, Rect(2, 2, 13, 13));
    EXPECT_EQ(ellipses[0].BrushColor, Ref(classes::clLime));
    EXPECT_EQ(ellipses[0].PenColor, Ref(classes::clLime));

    auto arcs = rec.CallsOf(DrawKind::Arc);
    ASSERT_EQ(arcs.size(), 6u);
    const gdi::COLORREF white = Ref(classes::clWhite);
    ExpectArc(arcs[0], Rect(3, 3, 12, 12), {7, 0}, {0, 7}, white);   // q = 15 div 4 = 3
    ExpectArc(arcs[1], Rect(4, 4, 11, 11), {7, 0}, {0, 7}, white);
    const gdi::COLORREF shadow = Ref(classes::clBtnShadow);
    const gdi::COLORREF light = Ref(classes::clBtnHighlight);
    ExpectArc(arcs[2], Rect(0, 0, 15, 15), {15, 0}, {0, 15}, shadow);
    ExpectArc(arcs[3], Rect(1, 1, 14, 14), {14, 1}, {1, 14}, shadow);
    ExpectArc(arcs[4], Rect(0, 0, 15, 15), {0, 15}, {15, 0}, light);
    ExpectArc(arcs[5], Rect(1, 1, 14, 14), {1, 14}, {14, 1}, light);
    delete led;
}

TEST_F(LedRoundTest, RaisedBevelSwapsHighlightAndShadow) {
    auto* led = new TTestLedRound(nullptr);
    led->SetBounds(0, 0, 20, 20);
    led->SetBevelStyle(ibsRaised);
    RecordingCanvas rec(20, 20);
    led->iPaintTo(rec.Canvas());
    auto arcs = rec.CallsOf(DrawKind::Arc);
    ASSERT_EQ(arcs.size(), 6u);
    EXPECT_EQ(arcs[2].PenColor, Ref(classes::clBtnHighlight));
    EXPECT_EQ(arcs[3].PenColor, Ref(classes::clBtnHighlight));
    EXPECT_EQ(arcs[4].PenColor, Ref(classes::clBtnShadow));
    EXPECT_EQ(arcs[5].PenColor, Ref(classes::clBtnShadow));
    delete led;
}

TEST_F(LedRoundTest, NoBevelFillsTheWholeBoxAndDrawsNoRing) {
    auto* led = new TTestLedRound(nullptr);
    led->SetBevelStyle(ibsNone);
    RecordingCanvas rec(20, 20);
    led->iPaintTo(rec.Canvas());
    auto ellipses = rec.CallsOf(DrawKind::Ellipse);
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ(ellipses[0].Rect, Rect(0, 0, 20, 20));
    EXPECT_EQ(rec.CallsOf(DrawKind::Arc).size(), 2u);   // the reflection only
    delete led;
}

TEST_F(LedRoundTest, ReflectionShowsWhetherActiveOrNotAndCanBeTurnedOff) {
    auto* led = new TTestLedRound(nullptr);
    RecordingCanvas off(20, 20);
    led->iPaintTo(off.Canvas());
    EXPECT_EQ(off.CallsOf(DrawKind::Arc)[0].PenColor, Ref(classes::clWhite));
    led->SetShowReflection(false);
    RecordingCanvas none(20, 20);
    led->iPaintTo(none.Canvas());
    EXPECT_EQ(none.CallsOf(DrawKind::Arc).size(), 4u);   // the ring only
    delete led;
}

TEST_F(LedRoundTest, InactiveLampIsTheActiveColourDimmedByThreeOrTheInactiveColour) {
    auto* led = new TTestLedRound(nullptr);
    led->SetActiveColor(0x0000FF);
    EXPECT_EQ(led->LampColor(), 0x000055);
    RecordingCanvas rec(20, 20);
    led->iPaintTo(rec.Canvas());
    EXPECT_EQ(rec.CallsOf(DrawKind::Ellipse)[0].BrushColor, 0x000055u);
    led->SetAutoInactiveColor(false);
    EXPECT_EQ(led->LampColor(), 0x005500);
    led->SetActive(true);
    EXPECT_EQ(led->LampColor(), 0x0000FF);
    delete led;
}

TEST_F(LedRoundTest, SettingActiveToItsValueRaisesNoOnChange) {
    auto* led = new TTestLedRound(nullptr);
    int changes = 0;
    led->OnChange = [&](classes::TObject* sender) {
        EXPECT_EQ(sender, led);
        ++changes;
    };
    led->SetActive(false);
    EXPECT_EQ(changes, 0);
    led->SetActive(true);
    led->SetActive(true);
    EXPECT_EQ(changes, 1);
    delete led;
}

TEST_F(LedRoundTest, BoundsStaySquareFollowingWidthFirst) {
    auto* led = new TTestLedRound(nullptr);
    EXPECT_EQ(led->Width(), 20);
    EXPECT_EQ(led->Height(), 20);
    led->SetWidth(30);
    EXPECT_EQ(led->Height(), 30);
    led->SetHeight(10);
    EXPECT_EQ(led->Width(), 10);
    EXPECT_EQ(led->Height(), 10);
    led->SetBounds(5, 6, 40, 12);   // both change: the width wins
    EXPECT_EQ(led->Height(), 40);
    EXPECT_EQ(led->Left(), 5);
    delete led;
}

TEST_F(LedRoundTest, DefaultsAreTheDocumentedOnes) {
    auto* led = new TTestLedRound(nullptr);
    EXPECT_FALSE(led->Active());
    EXPECT_EQ(led->ActiveColor(), classes::clLime);
    EXPECT_TRUE(led->AutoInactiveColor());
    EXPECT_EQ(led->InactiveColor(), 0x005500);
    EXPECT_EQ(led->BevelStyle(), ibsLowered);
    EXPECT_EQ(led->BackGroundColor(), classes::clBtnFace);
    EXPECT_TRUE(led->ShowReflection());
    EXPECT_FALSE(led->Transparent());
    EXPECT_EQ(led->GetCenterPoint(), classes::Point(10, 10));
    delete led;
}

TEST_F(LedRoundTest, PaintsItsPictureOnTheHeadlessDisplay) {
    classes::TForm* form = NewForm();
    auto* led = new TTestLedRound(form);
    led->SetParent(form);
    led->SetBounds(10, 10, 40, 40);
    led->SetBackGroundColor(0x202020);
    led->SetActive(true);
    led->SetActiveColor(classes::clRed);
    Pump();
    EXPECT_GE(led->Paints, 1);
    EXPECT_EQ(PixelAt(led, 1, 1), 0x202020u);   // background corner
    EXPECT_EQ(PixelAt(led, 28, 28), 0x0000FFu);   // the lit disc, away from the reflection
    led->SetActive(false);
    Pump();
    EXPECT_EQ(PixelAt(led, 28, 28), 0x000055u);
}

}

// The skinned scroll bar on the headless display: defaults and the two window forms, the same positions with
// and without a skin, repeat and drag timers on the fake clock, thumb drags, keys, host messages and hooks,
// enabling by a new position, range complaints, the disabled look with a host, lost capture and a bar freed by
// its own handler, hover and drag by hit tests.
#include "support/ScrollBarKit.h"

#include "platform/classes/Errors.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TPanel.h"
#include "platform/classes/TReader.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/Window.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sSkinManager.h"

#include <algorithm>
#include <cstddef>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::skin;
using namespace korvex::skin::sbtest;

namespace {

class ScrollBar : public ScrollBarTestBase { };

// The native window answers the scroll bar messages; the bar's own window does not.
bool IsNative(TsScrollBar* bar) {
    int lo = -1, hi = -1;
    user::SendMessage(bar->Handle(), user::SBM_GETRANGE, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    return hi >= 0;
}

TMessage ScrollMessage(int code, int pos = 0) {
    return TMessage {user::WM_HSCROLL, user::MAKEWPARAM(user::WORD(code), user::WORD(pos)), 0, 0};
}

TEST_F(ScrollBar, ANewBarHasItsDefaultsAndIsNativeWithoutASkin) {
    TForm* form = NewForm();
    auto* bar = Create<TsScrollBar>(form);
    bar->SetParent(form);
    Pump();
    EXPECT_EQ(bar->Width(), 121);
    EXPECT_EQ(bar->Height(), 16);
    EXPECT_EQ(bar->Kind(), sbHorizontal);
    EXPECT_EQ(bar->Max(), 100);
    EXPECT_TRUE(bar->TabStop());
    EXPECT_EQ(bar->SkinData()->ControlKind, TacControlKind::ScrollBar);
    EXPECT_EQ(bar->SkinData()->SkinSection(), "TsScrollBar");
    EXPECT_TRUE(IsNative(bar));
    bar->SetKind(sbVertical);
    EXPECT_EQ(bar->Width(), 16);
    EXPECT_EQ(bar->Height(), 121);
    EXPECT_TRUE(IsNative(bar));
    EXPECT_EQ(user::SendMessage(bar->Handle(), user::WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(ScrollBar, ItsManagersRefreshAndRemovalEachGiveItANewWindow) {
    TForm* form = NewForm();
    TsSkinManager* manager = LoadSkin(0);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 131, 27});
    bar->SetPosition(30);
    const user::HWND before = bar->Handle();
    bar->Perform(SM_SKINCMD, SkinCommandWParam(SMC_REFRESH), LPARAM(manager));
    Pump();
    const user::HWND refreshed = bar->Handle();
    EXPECT_NE(refreshed, before);
    EXPECT_FALSE(IsNative(bar));
    // Another manager's refresh is not the bar's.
    bar->Perform(SM_SKINCMD, SkinCommandWParam(SMC_REFRESH), 0);
    Pump();
    EXPECT_EQ(bar->Handle(), refreshed);
    manager->SetActive(false);
    Pump();
    EXPECT_TRUE(IsNative(bar));
    const user::HWND native = bar->Handle();
    bar->Perform(SM_SKINCMD, SkinCommandWParam(SMC_REMOVESKIN), LPARAM(manager));
    Pump();
    EXPECT_NE(bar->Handle(), native);
    EXPECT_TRUE(IsNative(bar));
    EXPECT_EQ(bar->Position(), 30);
}

TEST_F(ScrollBar, ReadsItsPublishedPropertiesFromFormText) {
    RegisterClasses({TsScrollBar::StaticClass()});
    auto* form = Create<TForm>(Application);
    ReadRootComponent(form, R"(object Form1: TForm
  Left = 20
  Top = 20
  Width = 300
  Height = 200
  object Bar: TsScrollBar
    Left = 10
    Top = 10
    Width = 16
    Height = 150
    Kind = sbVertical
    Max = 20
    Min = 5
    PageSize = 4
    Position = 15
    SmallChange = 2
    LargeChange = 3
    Smooth = False
    DisabledKind = [dkBlended, dkGrayed]
    TabStop = False
  end
end
)");
    auto* bar = dynamic_cast<TsScrollBar*>(form->FindComponent("Bar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Kind(), sbVertical);
    EXPECT_EQ(bar->Height(), 150);   // read sizes are kept, not swapped by the kind
    EXPECT_EQ(bar->Min(), 5);
    EXPECT_EQ(bar->Max(), 20);
    EXPECT_EQ(bar->PageSize(), 4);
    EXPECT_EQ(bar->Position(), 15);
    EXPECT_EQ(bar->SmallChange(), 2);
    EXPECT_EQ(bar->LargeChange(), 3);
    EXPECT_FALSE(bar->Smooth());
    EXPECT_EQ(bar->DisabledKind(), (TsDisabledKind {dkBlended, dkGrayed}));
    EXPECT_FALSE(bar->TabStop());
    form->Show();
    Pump();
    EXPECT_TRUE(IsNative(bar));
    EXPECT_EQ(user::GetScrollPos(bar->Handle(), user::SB_CTL), 15);
}

TEST_F(ScrollBar, SkinChangesSwitchTheWindowBetweenNativeAndItsOwn) {
    TForm* form = NewForm();
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    bar->SetPosition(42);
    ASSERT_TRUE(IsNative(bar));
    TsSkinManager* sm = LoadSkin(1);
    EXPECT_TRUE(bar->SkinActive());
    EXPECT_FALSE(IsNative(bar));
    // A bar made while a skin is loaded starts with its own window.
    TsScrollBar* late = NewBar(form, sbVertical, TRect {220, 10, 236, 150});
    EXPECT_FALSE(IsNative(late));
    sm->SetActive(false);
    Pump();
    EXPECT_TRUE(IsNative(bar));
    EXPECT_TRUE(IsNative(late));
    EXPECT_EQ(user::GetScrollPos(bar->Handle(), user::SB_CTL), 42);
}

// Clicks and keys give the same positions and one OnScroll and OnChange per step, with and without a skin.
class SamePositions : public ScrollBarTestBase, public ::testing::WithParamInterface<bool> { };

TEST_P(SamePositions, ClicksAndKeysMoveTheBarAlike) {
    TForm* form = NewForm();
    if (GetParam()) LoadSkin(0);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    bar->SetLargeChange(10);
    ASSERT_EQ(!IsNative(bar), GetParam());
    BarEvents events;
    events.Attach(bar);
    bar->SetFocus();
    Pump();
    std::vector<int> seen;
    auto click = [&](int x) {
        ClickAt(bar, x, 8);
        seen.push_back(bar->Position());
    };
    auto key = [&](unsigned vk) {
        Key(vk);
        seen.push_back(bar->Position());
    };
    click(199);
    click(199);
    click(199);
    click(150);
    click(3);
    key(user::VK_END);
    click(30);
    key(user::VK_PRIOR);
    key(user::VK_LEFT);
    key(user::VK_HOME);
    key(user::VK_NEXT);
    key(user::VK_RIGHT);
    EXPECT_EQ(seen, (std::vector<int> {1, 2, 3, 13, 12, 100, 90, 80, 79, 0, 10, 11}));
    EXPECT_EQ(events.Changes, seen);
    int steps = 0;
    for (const auto& s : events.Scrolls)
        steps += s.first != scEndScroll;
    EXPECT_EQ(steps, int(seen.size()));
    EXPECT_EQ(events.Scrolls.front(), (std::pair<int, int> {scLineDown, 1}));
}

INSTANTIATE_TEST_SUITE_P(NativeAndSkinned, SamePositions, ::testing::Values(false, true),
    [](const auto& info) { return info.param ? std::string("Skinned") : std::string("Native"); });

// A key's step is reported with the key's own scroll code, not with the code of the click before it.
TEST_F(ScrollBar, AKeyStepIsReportedWithItsOwnScrollCode) {
    TForm* form = NewForm();
    LoadSkin(0);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    bar->SetLargeChange(10);
    bar->SetFocus();
    Pump();
    ClickAt(bar, 199, 8);   // arrow 2: one line down
    BarEvents events;
    events.Attach(bar);
    Key(user::VK_NEXT);
    Key(user::VK_HOME);
    ASSERT_EQ(bar->Position(), 0);
    EXPECT_EQ(events.ScrollCodes(), (std::vector<int> {scPageDown, scTop}));
}

// OnScroll carries a scroll code: a position set in code before any step reports only the change, and after a
// step the change is reported with that step's code.
TEST_F(ScrollBar, APositionSetInCodeReportsTheLastStepsScrollCodeOnceThereIsOne) {
    TForm* form = NewForm();
    LoadSkin(0);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    Pump();
    BarEvents events;
    events.Attach(bar);
    bar->SetPosition(20);
    EXPECT_TRUE(events.Scrolls.empty());
    EXPECT_EQ(events.Changes, (std::vector<int> {20}));
    ClickAt(bar, 199, 8);   // arrow 2: one line down
    events.Scrolls.clear();
    bar->SetPosition(50);
    ASSERT_FALSE(events.Scrolls.empty());
    EXPECT_EQ(events.Scrolls.back(), (std::pair<int, int> {scLineDown, 50}));
}

// The focus changes the tracks' state for the next paint; it asks for no paint of its own.
TEST_F(ScrollBar, TheFocusAloneDoesNotRepaintASkinnedBar) {
    TForm* form = NewForm();
    LoadSkin(0);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    Pump();
    user::RECT dirty {};
    ASSERT_FALSE(user::GetUpdateRect(bar->Handle(), &dirty, false));
    bar->SetFocus();
    EXPECT_TRUE(bar->SkinData()->Focused);
    EXPECT_FALSE(user::GetUpdateRect(bar->Handle(), &dirty, false));
    bar->SetEnabled(false);   // the disabled look: the class library repaints the control
    EXPECT_TRUE(user::GetUpdateRect(bar->Handle(), &dirty, false));
}

TEST_F(ScrollBar, AHeldArrowStepsAtOnceThenAfterTheDelayThenEveryTickUntilMax) {
    TForm* form = NewForm();
    LoadSkin(2);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    bar->SetPosition(95);
    BarEvents events;
    events.Attach(bar);
    PressAt(bar, 199, 8);
    EXPECT_EQ(bar->Position(), 96);
    EXPECT_EQ(bar->PartState(TsScrollPart::Arrow2), psPressed);
    EXPECT_FALSE(Application->ShowHint());
    Advance(499);
    EXPECT_EQ(bar->Position(), 96);
    Advance(1);
    EXPECT_EQ(bar->Position(), 97);
    Advance(100);
    Advance(100);
    Advance(100);
    EXPECT_EQ(bar->Position(), 100);
    Advance(300);
    EXPECT_EQ(bar->Position(), 100);
    EXPECT_EQ(events.Changes, (std::vector<int> {96, 97, 98, 99, 100}));
    ReleaseAt(bar, 199, 8);
    EXPECT_EQ(events.Scrolls.back(), (std::pair<int, int> {scEndScroll, 100}));
    EXPECT_EQ(bar->PartState(TsScrollPart::Arrow2), psHot);
    EXPECT_TRUE(Application->ShowHint());
    EXPECT_EQ(user::GetCapture(), nullptr);
    const std::size_t scrolls = events.Scrolls.size();
    Advance(1000);
    EXPECT_EQ(events.Scrolls.size(), scrolls);
}

// Arrow 1 at Min reports the scroll and repeats; arrow 2 at Max neither moves, reports nor repeats.
TEST_F(ScrollBar, AnArrowPressedAtTheEndOfTheRange) {
    TForm* form = NewForm();
    LoadSkin(2);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    BarEvents events;
    events.Attach(bar);
    PressAt(bar, 1, 8);
    EXPECT_EQ(events.Scrolls, (std::vector<std::pair<int, int>> {{scLineUp, 0}}));
    EXPECT_EQ(bar->PartState(TsScrollPart::Arrow1), psPressed);
    ReleaseAt(bar, 1, 8);
    bar->SetPosition(100);
    events.Scrolls.clear();
    events.Changes.clear();
    PressAt(bar, 199, 8);
    EXPECT_EQ(bar->PartState(TsScrollPart::Arrow2), psPressed);
    Advance(700);
    EXPECT_TRUE(events.Scrolls.empty());
    EXPECT_TRUE(events.Changes.empty());
    EXPECT_EQ(bar->Position(), 100);
    ReleaseAt(bar, 199, 8);
    EXPECT_EQ(events.Scrolls, (std::vector<std::pair<int, int>> {{scEndScroll, 100}}));
}

// The bar holds the mouse from press to release: a release off the bar still ends the arrow's repeat.
TEST_F(ScrollBar, AReleaseOffTheBarEndsTheArrowsRepeat) {
    TForm* form = NewForm();
    LoadSkin(2);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    bar->SetPosition(50);
    PressAt(bar, 199, 8);
    ASSERT_EQ(bar->Position(), 51);
    ReleaseAt(bar, 100, 80);   // on the form below the bar
    EXPECT_NE(bar->PartState(TsScrollPart::Arrow2), psPressed);
    Advance(1500);
    EXPECT_EQ(bar->Position(), 51);
}

TEST_F(ScrollBar, AHeldTrackPagesUntilTheThumbReachesThePointer) {
    TForm* form = NewForm();
    LoadSkin(1);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    bar->SetLargeChange(10);
    // 200 long, arrows 16, thumb 14: position p is centred at 23 + Round(1.54 p); x = 120 stands for 63.
    PressAt(bar, 120, 8);
    EXPECT_EQ(bar->Position(), 10);
    EXPECT_EQ(bar->PartState(TsScrollPart::TrackAfter), psPressed);
    Advance(500);
    EXPECT_EQ(bar->Position(), 20);
    for (int i = 0; i < 10; ++i)
        Advance(100);
    EXPECT_EQ(bar->Position(), 70);   // 60 is still short of 63; 70 passed it and paging stopped
    ReleaseAt(bar, 120, 8);
    EXPECT_EQ(bar->Position(), 70);
    EXPECT_EQ(bar->PartState(TsScrollPart::TrackAfter), psHot);
}

TEST_F(ScrollBar, TheThumbFollowsThePointerOverTheBarAndTheDragTimerOffItAndTheReleaseReportsThePosition) {
    TForm* form = NewForm();
    LoadSkin(3);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    BarEvents events;
    events.Attach(bar);
    PressAt(bar, 25, 8);   // the thumb at 0 spans 16 .. 30; grabbed right of its centre, one position on
    EXPECT_EQ(bar->PartState(TsScrollPart::Thumb), psPressed);
    EXPECT_EQ(user::GetCapture(), bar->Handle());
    MoveTo(bar, 102, 8);
    EXPECT_EQ(bar->Position(), 50);
    // Off the bar the move itself sets nothing: the drag timer's next tick takes the thumb to the pointer.
    MoveTo(bar, 300, 30);   // far past the end: held at Max
    EXPECT_EQ(bar->Position(), 50);
    Advance(10);
    EXPECT_EQ(bar->Position(), 100);
    MoveTo(bar, -40, 30);
    EXPECT_EQ(bar->Position(), 100);
    Advance(10);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(user::GetCapture(), bar->Handle());
    MoveTo(bar, 64, 8);
    EXPECT_EQ(bar->Position(), 26);
    Advance(10);   // back over the bar the timer leaves the thumb to the moves
    EXPECT_EQ(bar->Position(), 26);
    ReleaseAt(bar, 64, 8);
    EXPECT_EQ(bar->Position(), 26);
    EXPECT_EQ(bar->PartState(TsScrollPart::Thumb), psHot);
    EXPECT_EQ(events.Changes, (std::vector<int> {50, 100, 0, 26}));
    // Every hit test over the bar sets the position (also where it already is): each is reported.
    std::vector<int> codes = events.ScrollCodes();
    ASSERT_GE(codes.size(), 5u);
    EXPECT_EQ(std::vector<int>(codes.end() - 2, codes.end()), (std::vector<int> {scPosition, scEndScroll}));
    codes.resize(codes.size() - 2);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), scTrack), std::ptrdiff_t(codes.size()));
    EXPECT_EQ(user::GetCapture(), nullptr);
}

TEST_F(ScrollBar, WithoutSmoothADragReportsOneChangeOnRelease) {
    TForm* form = NewForm();
    LoadSkin(0);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    bar->SetSmooth(false);
    BarEvents events;
    events.Attach(bar);
    PressAt(bar, 23, 8);
    MoveTo(bar, 60, 8);
    MoveTo(bar, 100, 8);
    EXPECT_GT(bar->Position(), 40);
    EXPECT_TRUE(events.Changes.empty());
    EXPECT_TRUE(events.Hooks.empty());
    // Scroll messages wait too while the drag holds its changes.
    TMessage m = ScrollMessage(user::SB_LINEDOWN);
    m.Msg = CN_HSCROLL;
    bar->Perform(m);
    ReleaseAt(bar, 100, 8);
    ASSERT_EQ(events.Changes.size(), 1u);
    EXPECT_EQ(events.Changes[0], bar->Position());
    ASSERT_EQ(events.Hooks.size(), 1u);
    EXPECT_EQ(events.Hooks[0].first, 0);
    // A press on the thumb that does not move it still reports its one change on release.
    const int at = bar->Position();
    const int centre = bar->Geometry().ThumbCentre();
    ClickAt(bar, centre, 8);
    EXPECT_EQ(bar->Position(), at);
    EXPECT_EQ(events.Changes, (std::vector<int> {at, at}));
    ASSERT_EQ(events.Hooks.size(), 2u);
    EXPECT_EQ(events.Hooks[1], std::make_pair(at, at));
}

TEST_F(ScrollBar, HoverMakesTheArrowsAndTheThumbHotAndLeavingClearsThem) {
    TForm* form = NewForm();
    LoadSkin(1);
    TsScrollBar* bar = NewBar(form, sbVertical, TRect {10, 10, 26, 210});
    MoveTo(bar, 8, 100);
    EXPECT_EQ(bar->PartState(TsScrollPart::TrackBefore), psHot);
    EXPECT_EQ(bar->PartState(TsScrollPart::Thumb), psNormal);
    MoveTo(bar, 8, 22);   // the thumb at 0
    EXPECT_EQ(bar->PartState(TsScrollPart::Thumb), psHot);
    MoveTo(bar, 8, 3);
    EXPECT_EQ(bar->PartState(TsScrollPart::Arrow1), psHot);
    EXPECT_EQ(bar->PartState(TsScrollPart::Thumb), psNormal);
    MoveTo(form, 250, 150);
    for (int i = 0; i < ScrollPartCount; ++i)
        EXPECT_EQ(bar->PartState(TsScrollPart(i)), psNormal) << i;
}

// A client point of the bar sent as a hit test (screen point), with no mouse move.
void SendBarHitTest(TsScrollBar* bar, int x, int y) {
    const TPoint p = bar->ClientToScreen(TPoint {x, y});
    user::SendMessage(bar->Handle(), user::WM_NCHITTEST, 0, user::MAKELPARAM(p.x, p.y));
}

TEST_F(ScrollBar, HoverAndTheThumbsDragFollowTheHitTests) {
    TForm* form = NewForm();
    LoadSkin(1);
    TsScrollBar* bar = NewBar(form, sbVertical, TRect {10, 10, 26, 210});
    SendBarHitTest(bar, 8, 22);   // the thumb at 0
    EXPECT_EQ(bar->PartState(TsScrollPart::Thumb), psHot);
    SendBarHitTest(bar, 8, 3);
    EXPECT_EQ(bar->PartState(TsScrollPart::Arrow1), psHot);
    EXPECT_EQ(bar->PartState(TsScrollPart::Thumb), psNormal);
    SendBarHitTest(bar, 8, 100);
    EXPECT_EQ(bar->PartState(TsScrollPart::Arrow1), psNormal);
    PressAt(bar, 8, 24);
    ASSERT_EQ(bar->PartState(TsScrollPart::Thumb), psPressed);
    const int grabbed = bar->Position();
    SendBarHitTest(bar, 8, 120);
    EXPECT_GT(bar->Position(), grabbed + 40);
    EXPECT_EQ(bar->PartState(TsScrollPart::Thumb), psPressed);
    ReleaseAt(bar, 8, 120);
}

// Skinned, a scroll message reports its step, then the position set reports it again (as a change, or as the
// same position).
TEST_F(ScrollBar, HostScrollMessagesReportTheStepAndThePositionSetAndCallTheHook) {
    TForm* form = NewForm();
    LoadSkin(1);
    TsScrollBar* bar = NewBar(form, sbVertical, TRect {10, 10, 26, 210});
    bar->SetHostControl(form);
    BarEvents events;
    events.Attach(bar);
    struct Step {
        int Code, Pos, Expected;
    };
    const Step steps[] = {{user::SB_LINEDOWN, 0, 1}, {user::SB_PAGEDOWN, 0, 2}, {user::SB_THUMBTRACK, 40, 40},
        {user::SB_BOTTOM, 0, 100}, {user::SB_LINEDOWN, 0, 100}, {user::SB_TOP, 0, 0}, {user::SB_THUMBPOSITION, 7, 7}};
    for (const Step& s : steps) {
        events = {};
        events.Attach(bar);
        TMessage m = ScrollMessage(s.Code, s.Pos);
        bar->DoScroll(m);
        EXPECT_EQ(bar->Position(), s.Expected) << s.Code;
        EXPECT_EQ(events.Scrolls, (std::vector<std::pair<int, int>>(2, {s.Code, s.Expected}))) << s.Code;
        EXPECT_EQ(bar->LastScrollCode, s.Code);
    }
    EXPECT_EQ(events.Hooks, (std::vector<std::pair<int, int>> {{0, 7}}));
    EXPECT_EQ(events.Changes, (std::vector<int> {7}));
    // A scroll handler may change where the step goes.
    bar->OnScroll = [](TObject*, TScrollCode, int& pos) { pos = 33; };
    TMessage m = ScrollMessage(user::SB_LINEDOWN);
    bar->DoScroll(m);
    EXPECT_EQ(bar->Position(), 33);
    // No notifications while the host sets the position itself.
    events = {};
    events.Attach(bar);
    bar->NoNotify = true;
    bar->SetPosition(60);
    bar->DoScroll(m);
    EXPECT_EQ(bar->Position(), 61);
    EXPECT_TRUE(events.Scrolls.empty());
    EXPECT_TRUE(events.Changes.empty());
    EXPECT_TRUE(events.Hooks.empty());
}

TEST_F(ScrollBar, ASkinnedInvertedRangeIsLoggedAndClampedAndAnEmptyOneIsAccepted) {
    TForm* form = NewForm();
    LoadSkin(1);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    bar->SetName("Bar1");
    auto* host = Create<TPanel>(form);
    host->SetName("Memo1");
    testing::internal::CaptureStderr();
    bar->SetParams(5, 10, 10);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(bar->Position(), 10);
    testing::internal::CaptureStderr();
    bar->SetParams(5, 10, 3);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "korvex: Scrollbar property out of range; Max = 3(Bar1)\n");
    EXPECT_EQ(bar->Position(), 3);
    EXPECT_EQ(bar->Min(), 10);
    EXPECT_EQ(bar->Max(), 3);
    bar->SetHostControl(host);
    testing::internal::CaptureStderr();
    bar->SetMax(-4);
    EXPECT_EQ(
        testing::internal::GetCapturedStderr(), "korvex: Scrollbar property out of range; Max = -4(Owner=Memo1)\n");
    EXPECT_EQ(bar->Position(), -4);
    Pump();   // and it still paints
}

TEST_F(ScrollBar, AnUnskinnedInvertedRangeRaisesAndAnEmptyOneIsAccepted) {
    TForm* form = NewForm();
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    EXPECT_THROW(bar->SetParams(5, 10, 3), EInvalidOperation);
    EXPECT_EQ(bar->Max(), 100);
    bar->SetParams(5, 10, 10);
    EXPECT_EQ(bar->Position(), 10);
}

// The native bar holds the range as it is: with a page its thumb ends at Max - PageSize + 1, and a drag to the
// end gives that position; keys still reach Max.
TEST_F(ScrollBar, AnUnskinnedBarKeepsItsRangeAndItsThumbEndsAPageBeforeMax) {
    TForm* form = NewForm();
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    bar->SetPageSize(20);
    int lo = -1, hi = -1;
    user::GetScrollRange(bar->Handle(), user::SB_CTL, &lo, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 100);
    bar->SetPosition(100);
    EXPECT_EQ(bar->Position(), 100);
    EXPECT_EQ(user::GetScrollPos(bar->Handle(), user::SB_CTL), 81);
    bar->SetPosition(0);
    bar->Perform(CN_HSCROLL, user::MAKEWPARAM(user::SB_BOTTOM, 0), 0);
    EXPECT_EQ(bar->Position(), 100);
}

TEST_F(ScrollBar, ANewPositionEnablesAnUnskinnedBarAndLeavesASkinnedOneDisabled) {
    TForm* form = NewForm();
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    bar->SetPosition(20);
    bar->SetEnabled(false);
    bar->SetPosition(20);   // where it is
    EXPECT_FALSE(bar->Enabled());
    bar->SetPosition(30);
    EXPECT_TRUE(bar->Enabled());
    EXPECT_TRUE(user::IsWindowEnabled(bar->Handle()));
    LoadSkin(0);
    Pump();
    bar->SetEnabled(false);
    bar->SetPosition(40);
    EXPECT_EQ(bar->Position(), 40);
    EXPECT_FALSE(bar->Enabled());
}

// A see-through track shows what lies under the bar: its host's cache (the bar sits beside the host on the
// host's parent) or, without a host, its parent's cache.
class TrackBackground : public ScrollBarTestBase, public ::testing::WithParamInterface<bool> { };

TEST_P(TrackBackground, ASeeThroughTrackShowsTheCacheAtTheBarsPlace) {
    const bool hosted = GetParam();
    TForm* form = NewForm(300, 200);
    ctltest::CodeSkin skin;
    skin.AddSection("PANEL", 0x808080);
    skin.AddSection("SCROLLBAR1V", 0x0000FF, 100);
    skin.Manager()->UpdateConstData();
    auto* panel = Create<ctltest::TTestPanel>(form);
    panel->SkinData->SetSkinManager(skin.Manager());
    panel->SkinData->ApplyDefaultSection();
    panel->SetBounds(hosted ? 50 : 0, hosted ? 40 : 0, hosted ? 180 : 300, hosted ? 120 : 200);
    panel->SetParent(form);
    Pump();
    auto* bar = Create<TsScrollBar>(form);
    bar->SkinData()->SetSkinManager(skin.Manager());
    bar->SetKind(sbVertical);
    bar->SetBounds(hosted ? 210 : 160, hosted ? 45 : 5, 16, 100);
    if (hosted) {
        bar->SetHostControl(panel);
        ShowSkinScrollBar(bar, panel);   // on the host's parent, above the host
    } else {
        bar->SetParent(panel);
    }
    Pump();
    ASSERT_TRUE(bar->SkinActive());
    // A pattern in the cache tells where each pixel came from.
    TBitmap* cache = panel->SkinData->CacheBmp();
    ASSERT_NE(cache, nullptr);
    for (int y = 0; y < cache->Height(); ++y)
        for (int x = 0; x < cache->Width(); ++x)
            test::SetPixel(*cache, x, y, TColor(x & 0xFF) | TColor(y & 0xFF) << 8 | 0x4D0000);
    bar->Invalidate();
    Pump();
    const int dx = hosted ? 210 - 50 : 160, dy = hosted ? 45 - 40 : 5;
    for (const TPoint p : {TPoint {0, 0}, TPoint {5, 30}, TPoint {15, 99}})
        EXPECT_EQ(ScreenPixel(bar, p.x, p.y), gdi::COLORREF(TColor(dx + p.x) | TColor(dy + p.y) << 8 | 0x4D0000))
            << p.x << "," << p.y;
}

INSTANTIATE_TEST_SUITE_P(HostAndParent, TrackBackground, ::testing::Values(true, false),
    [](const auto& info) { return info.param ? std::string("Host") : std::string("Parent"); });

// The arrows and the thumb are painted in their own part states, also on a disabled bar: an arrow that was hot
// when the bar was disabled keeps its hot picture under the disabled look.
TEST_F(ScrollBar, ADisabledBarPaintsItsArrowsInTheirPartStates) {
    TForm* form = NewForm();
    LoadSkin(1);
    TsScrollBar* hovered = NewBar(form, sbVertical, TRect {10, 10, 26, 210});
    TsScrollBar* plain = NewBar(form, sbVertical, TRect {40, 10, 56, 210});
    MoveTo(hovered, 8, 3);
    ASSERT_EQ(hovered->PartState(TsScrollPart::Arrow1), psHot);
    hovered->SetEnabled(false);
    plain->SetEnabled(false);
    Pump();
    ASSERT_EQ(hovered->PartState(TsScrollPart::Arrow1), psHot);
    const TRect arrow = hovered->PartRect(TsScrollPart::Arrow1);
    int differing = 0;
    for (int y = arrow.top; y < arrow.bottom; ++y)
        for (int x = arrow.left; x < arrow.right; ++x)
            differing += ScreenPixel(hovered, x, y) != ScreenPixel(plain, x, y);
    EXPECT_GT(differing, 0);
    const TRect track = hovered->PartRect(TsScrollPart::TrackAfter);
    EXPECT_EQ(ScreenPixel(hovered, 8, track.bottom - 30), ScreenPixel(plain, 8, track.bottom - 30));
}

TEST_F(ScrollBar, ADisabledBarWithAnEnabledHostPaintsNoThumb) {
    TForm* form = NewForm();
    LoadSkin(1);
    auto* host = Create<TPanel>(form);   // a host without a skin cache: the channel colour covers the bar
    host->SetBounds(10, 40, 200, 100);
    host->SetParent(form);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    bar->SetHostControl(host);
    bar->SetEnabled(false);
    Pump();
    const int centre = bar->Geometry().ThumbCentre();
    const gdi::COLORREF noThumb = ScreenPixel(bar, centre, 8), trackWithout = ScreenPixel(bar, 40, 8);
    host->SetEnabled(false);
    bar->Invalidate();
    Pump();
    EXPECT_NE(ScreenPixel(bar, centre, 8), noThumb);
    EXPECT_EQ(ScreenPixel(bar, 40, 8), trackWithout);
}

TEST_F(ScrollBar, APressEndsWhenTheCaptureIsTakenAway) {
    TForm* form = NewForm();
    LoadSkin(0);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    PressAt(bar, 199, 8);
    EXPECT_EQ(bar->Position(), 1);
    user::SetCapture(form->Handle());
    Pump();
    EXPECT_TRUE(Application->ShowHint());
    EXPECT_NE(bar->PartState(TsScrollPart::Arrow2), psPressed);
    Advance(2000);
    EXPECT_EQ(bar->Position(), 1);
    user::ReleaseCapture();
}

TEST_F(ScrollBar, ABarFreedByItsOwnChangeHandlerLeavesNothingRunning) {
    TForm* form = NewForm();
    LoadSkin(2);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 210, 26});
    int changes = 0;
    bar->OnChange = [&](TObject* sender) {
        if (++changes == 3) delete static_cast<TsScrollBar*>(sender);
    };
    PressAt(bar, 199, 8);
    Advance(500);
    Advance(100);   // the third step frees the bar inside the repeat tick
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(form->ControlCount(), 0);
    EXPECT_TRUE(Application->ShowHint());
    Advance(1000);
    ReleaseAt(form, 199, 8);
    EXPECT_EQ(changes, 3);
}

TEST_F(ScrollBar, AShortBarPagesWhereItsThumbWouldBeAndAFullThumbDoesNotDrag) {
    TForm* form = NewForm();
    LoadSkin(1);
    TsScrollBar* bar = NewBar(form, sbHorizontal, TRect {10, 10, 50, 26});   // 40: no room for the thumb
    bar->SetLargeChange(10);
    EXPECT_FALSE(bar->Geometry().HasThumb());
    ClickAt(bar, 23, 8);   // past the middle: the track after the missing thumb
    EXPECT_EQ(bar->Position(), 10);
    // 46 long: the thumb fills the track exactly and cannot move.
    bar->SetBounds(10, 10, 46, 16);
    bar->SetPosition(50);
    ASSERT_EQ(bar->Geometry().TrackRoom(), 0);
    PressAt(bar, 23, 8);
    EXPECT_NE(bar->PartState(TsScrollPart::Thumb), psPressed);
    MoveTo(bar, 40, 8);
    ReleaseAt(bar, 40, 8);
    EXPECT_EQ(bar->Position(), 50);
}

TEST_F(ScrollBar, ShowSkinScrollBarPutsAHiddenBarBesideItsHost) {
    TForm* form = NewForm();
    LoadSkin(1);
    auto* host = Create<TPanel>(form);
    host->SetParent(form);
    auto* bar = Create<TsScrollBar>(form);
    bar->SetVisible(false);
    bar->SetHostControl(host);
    ShowSkinScrollBar(bar, host);
    Pump();
    EXPECT_EQ(bar->Parent(), form);
    EXPECT_TRUE(bar->Visible());
    EXPECT_TRUE(user::IsWindowVisible(bar->Handle()));
    EXPECT_FALSE(IsNative(bar));
    // Freeing the host forgets it.
    delete host;
    EXPECT_EQ(bar->HostControl(), nullptr);
    bar->Invalidate();
    Pump();
}

}

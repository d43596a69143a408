// TScrollBar: sizes and kinds, the range rules, the user's scrolling through OnScroll and OnChange (arrows with
// repeat, pages, the dragged thumb, keys), the native bar in step, and the published properties in form text.
#include "support/ControlsTestKit.h"
#include "support/RoundTrip.h"

#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TScrollBar.h"
#include "platform/user/Messages.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/controls/ScrollBar.h"

#include <climits>

using namespace korvex;
using namespace korvex::classes;
using namespace korvex::classes::ctltest;

namespace {

struct Scrolled {
    TScrollCode Code;
    int Pos;
};

class ScrollBarTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        RegisterClasses({TScrollBar::StaticClass()});
        Form = NewForm(100, 100, 320, 240);
        Bar = Create<TScrollBar>(Form);
        Bar->SetBounds(10, 10, 200, 16);
        Bar->SetParent(Form);
        Bar->HandleNeeded();
        Bar->OnScroll = [this](TObject*, TScrollCode code, int& pos) { Seen.push_back({code, pos}); };
        Bar->OnChange = [this](TObject*) { ++Changes; };
    }
    void TearDown() override {
        for (const std::string& e : Exceptions)
            ADD_FAILURE() << "exception in a handler: " << e;
        ControlsTest::TearDown();
    }
    void Press(int x) {
        const TPoint p = At(Bar, x, 8);
        Display->MoveMouse(p.x, p.y);
        Display->ButtonDown(user::MouseButton::Left, p.x, p.y);
        Pump();
    }
    void Move(int x) {
        const TPoint p = At(Bar, x, 8);
        Display->MoveMouse(p.x, p.y);
        Pump();
    }
    void Release(int x) {
        const TPoint p = At(Bar, x, 8);
        Display->ButtonUp(user::MouseButton::Left, p.x, p.y);
        Pump();
    }
    TForm* Form = nullptr;
    TScrollBar* Bar = nullptr;
    std::vector<Scrolled> Seen;
    int Changes = 0;
};

// What each scroll code asks of a bar at 50 in 0..100 (lines of 1, pages of 10); the thumb asks trackPos.
struct ScrollCodeCase {
    const char* Name;
    TScrollCode Code;
    int Expected;
};

class ScrollCodePositionTest : public ::testing::TestWithParam<ScrollCodeCase> { };

TEST_P(ScrollCodePositionTest, GivesThePositionTheCodeAsksFor) {
    int asked = 0;
    const int pos = ScrollCodePosition(GetParam().Code, 50, {0, 100, 1, 10}, [&] {
        ++asked;
        return 77;
    });
    EXPECT_EQ(pos, GetParam().Expected);
    EXPECT_EQ(asked, GetParam().Code == scPosition || GetParam().Code == scTrack ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Codes, ScrollCodePositionTest,
    ::testing::Values(ScrollCodeCase {"LineUp", scLineUp, 49}, ScrollCodeCase {"LineDown", scLineDown, 51},
        ScrollCodeCase {"PageUp", scPageUp, 40}, ScrollCodeCase {"PageDown", scPageDown, 60},
        ScrollCodeCase {"Position", scPosition, 77}, ScrollCodeCase {"Track", scTrack, 77},
        ScrollCodeCase {"Top", scTop, 0}, ScrollCodeCase {"Bottom", scBottom, 100},
        ScrollCodeCase {"EndScroll", scEndScroll, 50}),
    [](const ::testing::TestParamInfo<ScrollCodeCase>& info) { return std::string(info.param.Name); });

TEST_F(ScrollBarTest, ANewBarIsHorizontalOfTheStandardHeightAndTheKindSwapsItsSides) {
    auto* fresh = Create<TScrollBar>(Form);
    EXPECT_EQ(fresh->Width(), 121);
    EXPECT_EQ(fresh->Height(), user::GetSystemMetrics(user::SM_CYHSCROLL));
    EXPECT_EQ(fresh->Max(), 100);
    fresh->SetParent(Form);
    fresh->SetKind(sbVertical);
    EXPECT_EQ(fresh->Width(), user::GetSystemMetrics(user::SM_CYHSCROLL));
    EXPECT_EQ(fresh->Height(), 121);
    EXPECT_NE(user::GetWindowStyle(fresh->Handle()) & user::SBS_VERT, 0u);
}

TEST_F(ScrollBarTest, TheWindowFollowsRangePageAndPosition) {
    Bar->SetParams(30, 10, 90);
    Bar->SetPageSize(20);
    user::SCROLLINFO info;
    info.fMask = user::SIF_ALL;
    ASSERT_TRUE(user::GetScrollInfo(Bar->Handle(), user::SB_CTL, &info));
    EXPECT_EQ(info.nMin, 10);
    EXPECT_EQ(info.nMax, 90);
    EXPECT_EQ(info.nPage, 20u);
    EXPECT_EQ(info.nPos, 30);
    EXPECT_EQ(Changes, 1);
    Bar->SetPosition(500);
    EXPECT_EQ(Bar->Position(), 90);
    Bar->SetPosition(90);
    EXPECT_EQ(Changes, 2);
}

TEST_F(ScrollBarTest, ARangeThatCannotHoldThePageIsRefused) {
    EXPECT_THROW(Bar->SetMax(-5), EInvalidOperation);
    Bar->SetPageSize(30);
    EXPECT_THROW(Bar->SetMax(20), EInvalidOperation);
    EXPECT_THROW(Bar->SetPageSize(500), EInvalidOperation);
    Bar->SetPageSize(-4);   // ignored
    EXPECT_EQ(Bar->PageSize(), 30);
    EXPECT_EQ(Bar->Max(), 100);
}

TEST_F(ScrollBarTest, AnArrowHeldScrollsBySmallChangeWithRepeat) {
    Bar->SetSmallChange(5);
    Press(195);
    EXPECT_EQ(Bar->Position(), 5);
    Advance(user::ScrollRepeatDelayMs);
    Advance(user::ScrollRepeatMs);
    Release(195);
    EXPECT_EQ(Bar->Position(), 15);
    ASSERT_GE(Seen.size(), 4u);
    EXPECT_EQ(Seen[0].Code, scLineDown);
    EXPECT_EQ(Seen[0].Pos, 5);
    EXPECT_EQ(Seen.back().Code, scEndScroll);
    EXPECT_EQ(Changes, 3);
}

TEST_F(ScrollBarTest, APageAreaScrollsByLargeChange) {
    Bar->SetLargeChange(25);
    Press(150);
    Release(150);
    EXPECT_EQ(Bar->Position(), 25);
    EXPECT_EQ(Seen[0].Code, scPageDown);
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksThePosition) {
    const user::ScrollGeometry g
        = user::ComputeScrollGeometry(user::ClientRect(Bar->Handle()), false, user::ScrollBarData {0, 100, 0, 0, 0}, 0);
    const int grab = g.Thumb.left + 2;
    Press(grab);
    Move(grab + 60);
    EXPECT_GT(Bar->Position(), 0);
    const int tracked = Bar->Position();
    EXPECT_EQ(Seen.back().Code, scTrack);
    Release(grab + 60);
    EXPECT_EQ(Bar->Position(), tracked);
    ASSERT_GE(Seen.size(), 3u);
    EXPECT_EQ(Seen[Seen.size() - 2].Code, scPosition);
}

TEST_F(ScrollBarTest, OnScrollMayChangeWhereTheBarGoes) {
    Bar->OnScroll = [](TObject*, TScrollCode code, int& pos) {
        if (code == scLineDown) pos = 50;
    };
    Press(195);
    Release(195);
    EXPECT_EQ(Bar->Position(), 50);
}

TEST_F(ScrollBarTest, KeysScrollTheFocusedBar) {
    Bar->SetFocus();
    Display->Press(user::VK_END);
    Pump();
    EXPECT_EQ(Bar->Position(), 100);
    Bar->SetPageSize(10);
    Display->Press(user::VK_END);
    Pump();
    EXPECT_EQ(Bar->Position(), 91);   // the last page starts there
    Display->Press(user::VK_HOME);
    Pump();
    EXPECT_EQ(Bar->Position(), 0);
    Display->Press(user::VK_RIGHT);
    Pump();
    EXPECT_EQ(Bar->Position(), 1);
}

TEST_F(ScrollBarTest, ScrollBarPropertiesGoThroughFormText) {
    Bar->SetName("Zoom");
    Bar->SetKind(sbVertical);
    Bar->SetParams(40, 5, 200);
    Bar->SetPageSize(20);
    Bar->SetLargeChange(20);
    const std::string text = ExpectRoundTrip(Bar, Application);
    EXPECT_NE(text.find("Kind = sbVertical"), std::string::npos) << text;
    EXPECT_NE(text.find("Position = 40"), std::string::npos);
    EXPECT_NE(text.find("Min = 5"), std::string::npos);
    // Max before Min in the text: the range is checked once everything is read.
    TComponent* copy
        = ReadComponent("object Bar: TScrollBar\n  Max = 10\n  Min = 5\n  Position = 50\nend\n", Application);
    auto* bar = dynamic_cast<TScrollBar*>(copy);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Position(), 10);
    copy->Free();
}

TEST(ScrollPositionInRange, ClampsIntoTheRangeAndAnInvertedRangeKeepsTheEndAsked) {
    struct Case { int position, min, max; TInvertedRange inverted; int expected; };
    const Case cases[] = {
        {5, 0, 10, TInvertedRange::KeepsMin, 5}, {-3, 0, 10, TInvertedRange::KeepsMin, 0},
        {12, 0, 10, TInvertedRange::KeepsMax, 10}, {7, 7, 7, TInvertedRange::KeepsMax, 7},
        {5, 10, 3, TInvertedRange::KeepsMin, 10}, {5, 10, 3, TInvertedRange::KeepsMax, 3},
        {INT_MIN, INT_MIN, INT_MAX, TInvertedRange::KeepsMin, INT_MIN}, {INT_MAX, -4, -9, TInvertedRange::KeepsMax, -9},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScrollPositionInRange(c.position, c.min, c.max, c.inverted), c.expected)
            << c.position << " in " << c.min << ".." << c.max;
}

}

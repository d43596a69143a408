// Tests of the track bar: keys, thumb dragging, paging with repeat, the scroll notifications, ticks, geometry.
#include "support/UserTestSupport.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/Focus.h"
#include "platform/user/Painting.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/TrackBar.h"

#include <vector>

using namespace korvex::user;
using namespace korvex::user::test;
namespace gdi = korvex::gdi;

namespace {

struct TrackScroll {
    UINT Msg;
    WORD Code;
    int Pos;
    bool operator==(const TrackScroll&) const = default;
};

class TrackBarTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        RegisterCommonControlClasses();
        Parent = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300);
        SetHandler(Parent, [this](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            if (msg == WM_HSCROLL || msg == WM_VSCROLL) {
                Scrolls.push_back({msg, LOWORD(wParam), HIWORD(wParam)});
                return 0;
            }
            return std::nullopt;
        });
    }

    HWND Make(DWORD style, int width = 216, int height = 40) {
        HWND bar = CreateWindowEx(0, TRACKBAR_CLASS, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 10, 10, width,
            height, Parent, ChildId(9), nullptr, nullptr);
        SendMessage(bar, TBM_SETRANGEMIN, 0, 0);
        SendMessage(bar, TBM_SETRANGEMAX, 0, 100);
        SendMessage(bar, TBM_SETPAGESIZE, 0, 10);
        Pump();
        return bar;
    }

    int Pos(HWND bar) { return int(SendMessage(bar, TBM_GETPOS, 0, 0)); }
    RECT Thumb(HWND bar) {
        RECT r {};
        SendMessage(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    POINT OnScreen(HWND hwnd, int x, int y) {
        POINT p {x, y};
        ClientToScreen(hwnd, &p);
        return p;
    }
    void Key(HWND bar, UINT vk) {
        SendMessage(bar, WM_KEYDOWN, vk, 0);
        SendMessage(bar, WM_KEYUP, vk, 0);
    }

    HWND Parent = nullptr;
    std::vector<TrackScroll> Scrolls;
};

TEST_F(TrackBarTest, KeysMoveByLineAndPageAndToTheEnds) {
    HWND bar = Make(0);
    SendMessage(bar, TBM_SETPOS, 1, 50);
    struct {
        UINT Vk;
        int Expected;
        WORD Code;
    } cases[] = {{VK_RIGHT, 51, TB_LINEDOWN}, {VK_DOWN, 52, TB_LINEDOWN}, {VK_LEFT, 51, TB_LINEUP},
        {VK_UP, 50, TB_LINEUP}, {VK_NEXT, 60, TB_PAGEDOWN}, {VK_PRIOR, 50, TB_PAGEUP}, {VK_END, 100, TB_BOTTOM},
        {VK_NEXT, 100, TB_PAGEDOWN}, {VK_HOME, 0, TB_TOP}, {VK_LEFT, 0, TB_LINEUP}};
    for (const auto& c : cases) {
        Scrolls.clear();
        Key(bar, c.Vk);
        EXPECT_EQ(Pos(bar), c.Expected) << c.Vk;
        ASSERT_EQ(Scrolls.size(), 2u) << c.Vk;
        EXPECT_EQ(Scrolls[0], (TrackScroll {WM_HSCROLL, c.Code, 0})) << c.Vk;
        EXPECT_EQ(Scrolls[1].Code, TB_ENDTRACK);
    }
}

TEST_F(TrackBarTest, TheWheelMovesALinePerNotchAndPartialNotchesAddUp) {
    HWND bar = Make(0);
    SendMessage(bar, TBM_SETPOS, 1, 50);
    SetFocus(bar);
    const POINT p = OnScreen(bar, 20, 10);
    Screen->Wheel(p.x, p.y, -WHEEL_DELTA);   // down: toward Max
    Pump();
    EXPECT_EQ(Pos(bar), 51);
    ASSERT_EQ(Scrolls.size(), 2u);
    EXPECT_EQ(Scrolls[0], (TrackScroll {WM_HSCROLL, TB_LINEDOWN, 0}));
    EXPECT_EQ(Scrolls[1].Code, TB_ENDTRACK);
    Scrolls.clear();
    SendMessage(bar, WM_MOUSEWHEEL, MAKEWPARAM(0, 2 * WHEEL_DELTA), 0);
    EXPECT_EQ(Pos(bar), 49);
    EXPECT_EQ(Scrolls.size(), 3u);
    SendMessage(bar, WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
    EXPECT_EQ(Pos(bar), 49);
    SendMessage(bar, WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
    EXPECT_EQ(Pos(bar), 48);
}

TEST_F(TrackBarTest, LineSizeSetsTheKeyStep) {
    HWND bar = Make(0);
    EXPECT_EQ(SendMessage(bar, TBM_SETLINESIZE, 0, 7), 1);
    Key(bar, VK_RIGHT);
    EXPECT_EQ(Pos(bar), 7);
    EXPECT_EQ(SendMessage(bar, TBM_GETLINESIZE, 0, 0), 7);
    EXPECT_EQ(SendMessage(bar, TBM_GETPAGESIZE, 0, 0), 10);
}

TEST_F(TrackBarTest, AVerticalBarSendsVScroll) {
    HWND bar = Make(TBS_VERT, 40, 216);
    Key(bar, VK_DOWN);
    ASSERT_FALSE(Scrolls.empty());
    EXPECT_EQ(Scrolls[0].Msg, WM_VSCROLL);
    EXPECT_EQ(Pos(bar), 1);
}

TEST_F(TrackBarTest, DraggingTheThumbTracksAndEndsWithItsPosition) {
    HWND bar = Make(0);
    RECT thumb = Thumb(bar);
    EXPECT_EQ(thumb.left, TrackBarChannelMargin);
    EXPECT_EQ(thumb.right - thumb.left, TrackBarThumbWidth);
    POINT grab = OnScreen(bar, thumb.left + 5, (thumb.top + thumb.bottom) / 2);
    Screen->MoveMouse(grab.x, grab.y);
    Screen->ButtonDown(MouseButton::Left, grab.x, grab.y);
    Pump();
    EXPECT_EQ(GetFocus(), bar);
    // The travel is 216 - 2 * 8 - 11 = 189 pixels for 100 positions.
    Screen->MoveMouse(grab.x + 95, grab.y);
    Pump();
    int tracked = Pos(bar);
    EXPECT_EQ(tracked, 50);
    Screen->MoveMouse(grab.x + 500, grab.y + 80);
    Pump();
    EXPECT_EQ(Pos(bar), 100);
    Screen->ButtonUp(MouseButton::Left, grab.x + 500, grab.y + 80);
    Pump();
    ASSERT_GE(Scrolls.size(), 4u);
    EXPECT_EQ(Scrolls[0], (TrackScroll {WM_HSCROLL, TB_THUMBTRACK, 50}));
    EXPECT_EQ(Scrolls[1], (TrackScroll {WM_HSCROLL, TB_THUMBTRACK, 100}));
    EXPECT_EQ(Scrolls[2], (TrackScroll {WM_HSCROLL, TB_THUMBPOSITION, 100}));
    EXPECT_EQ(Scrolls[3].Code, TB_ENDTRACK);
    EXPECT_EQ(Thumb(bar).right, 216 - TrackBarChannelMargin);
}

TEST_F(TrackBarTest, AMoveThatKeepsThePositionSendsNoTrack) {
    HWND bar = Make(0);
    RECT thumb = Thumb(bar);
    POINT grab = OnScreen(bar, thumb.left + 5, (thumb.top + thumb.bottom) / 2);
    Screen->MoveMouse(grab.x, grab.y);
    Screen->ButtonDown(MouseButton::Left, grab.x, grab.y);
    Screen->MoveMouse(grab.x, grab.y + 3);
    Screen->ButtonUp(MouseButton::Left, grab.x, grab.y + 3);
    Pump();
    ASSERT_EQ(Scrolls.size(), 2u);
    EXPECT_EQ(Scrolls[0].Code, TB_THUMBPOSITION);
    EXPECT_EQ(Scrolls[1].Code, TB_ENDTRACK);
}

TEST_F(TrackBarTest, PressingBesideTheThumbPagesUntilTheThumbReachesThePointer) {
    HWND bar = Make(0);
    RECT thumb = Thumb(bar);
    int y = (thumb.top + thumb.bottom) / 2;
    POINT p = OnScreen(bar, 80, y);
    Screen->MoveMouse(p.x, p.y);
    Screen->ButtonDown(MouseButton::Left, p.x, p.y);
    Pump();
    EXPECT_EQ(Pos(bar), 10);
    Advance(TrackBarRepeatDelay + 5);
    EXPECT_EQ(Pos(bar), 20);
    for (int i = 0; i < 5; ++i)
        Advance(TrackBarRepeatInterval + 5);
    EXPECT_EQ(Pos(bar), 40);   // the thumb has passed the pointer: paging stops
    Screen->ButtonUp(MouseButton::Left, p.x, p.y);
    Pump();
    ASSERT_FALSE(Scrolls.empty());
    EXPECT_EQ(Scrolls.front().Code, TB_PAGEDOWN);
    EXPECT_EQ(Scrolls.back().Code, TB_ENDTRACK);
    int pages = 0;
    for (const TrackScroll& s : Scrolls)
        pages += s.Code == TB_PAGEDOWN;
    EXPECT_EQ(pages, 4);
}

TEST_F(TrackBarTest, PressingLeftOfTheThumbPagesUp) {
    HWND bar = Make(0);
    SendMessage(bar, TBM_SETPOS, 1, 80);
    POINT p = OnScreen(bar, 10, 20);
    Screen->Click(p.x, p.y);
    Pump();
    EXPECT_EQ(Pos(bar), 70);
    EXPECT_EQ(Scrolls.front().Code, TB_PAGEUP);
}

TEST_F(TrackBarTest, RangeChangesClampThePosition) {
    HWND bar = Make(0);
    SendMessage(bar, TBM_SETPOS, 1, 90);
    SendMessage(bar, TBM_SETRANGEMAX, 1, 5);
    EXPECT_EQ(Pos(bar), 5);
    SendMessage(bar, TBM_SETRANGE, 1, MAKELPARAM(-10, 3));
    EXPECT_EQ(SendMessage(bar, TBM_GETRANGEMIN, 0, 0), -10);
    EXPECT_EQ(Pos(bar), 3);
    SendMessage(bar, TBM_SETPOS, 1, -50);
    EXPECT_EQ(Pos(bar), -10);
    EXPECT_TRUE(Scrolls.empty());   // set by the program: no notifications
}

TEST_F(TrackBarTest, AutoTicksFollowTheFrequencyAndStandUnderTheThumbCentre) {
    HWND bar = Make(TBS_AUTOTICKS);
    SendMessage(bar, TBM_SETTICFREQ, 25, 0);
    EXPECT_EQ(SendMessage(bar, TBM_GETNUMTICS, 0, 0), 5);   // 0, 25, 50, 75, 100
    EXPECT_EQ(SendMessage(bar, TBM_GETTIC, 1, 0), 50);
    EXPECT_EQ(SendMessage(bar, TBM_GETTIC, 3, 0), -1);
    SendMessage(bar, TBM_SETPOS, 1, 50);
    RECT thumb = Thumb(bar);
    EXPECT_EQ(SendMessage(bar, TBM_GETTICPOS, 1, 0), thumb.left + TrackBarThumbWidth / 2);
    SendMessage(bar, TBM_SETRANGEMAX, 1, 10);
    EXPECT_EQ(SendMessage(bar, TBM_GETNUMTICS, 0, 0), 2);
}

TEST_F(TrackBarTest, ManualTicksAreKeptSortedAndOnce) {
    HWND bar = Make(0);
    SendMessage(bar, TBM_SETTIC, 0, 70);
    SendMessage(bar, TBM_SETTIC, 0, 30);
    SendMessage(bar, TBM_SETTIC, 0, 70);
    EXPECT_FALSE(SendMessage(bar, TBM_SETTIC, 0, 500));
    EXPECT_EQ(SendMessage(bar, TBM_GETNUMTICS, 0, 0), 4);
    EXPECT_EQ(SendMessage(bar, TBM_GETTIC, 0, 0), 30);
    SendMessage(bar, TBM_CLEARTICS, 1, 0);
    EXPECT_EQ(SendMessage(bar, TBM_GETNUMTICS, 0, 0), 2);
}

TEST_F(TrackBarTest, NoTicksCountsNoTicks) {
    HWND bar = Make(TBS_NOTICKS | TBS_AUTOTICKS);
    EXPECT_EQ(SendMessage(bar, TBM_GETNUMTICS, 0, 0), 0);
}

TEST_F(TrackBarTest, AVerticalChannelComesBackSwappedAsIfHorizontal) {
    HWND bar = Make(TBS_VERT, 40, 216);
    RECT channel {};
    SendMessage(bar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    EXPECT_EQ(channel.left, TrackBarChannelMargin);
    EXPECT_EQ(channel.right, 216 - TrackBarChannelMargin);
    EXPECT_LT(channel.bottom - channel.top, 10);
    RECT thumb = Thumb(bar);
    EXPECT_EQ(thumb.top, TrackBarChannelMargin);
    EXPECT_EQ(thumb.bottom - thumb.top, TrackBarThumbWidth);
}

TEST_F(TrackBarTest, FixedLengthSetsTheThumbAcrossTheBar) {
    HWND bar = Make(TBS_FIXEDLENGTH | TBS_BOTH, 216, 60);
    SendMessage(bar, TBM_SETTHUMBLENGTH, 30, 0);
    RECT thumb = Thumb(bar);
    EXPECT_EQ(thumb.bottom - thumb.top, 30);
    EXPECT_EQ(SendMessage(bar, TBM_GETTHUMBLENGTH, 0, 0), 30);
}

TEST_F(TrackBarTest, TicksBelowTheThumbAreDrawnAndTheThumbIsRaised) {
    HWND bar = Make(TBS_AUTOTICKS);
    SendMessage(bar, TBM_SETTICFREQ, 50, 0);
    Pump();
    RECT thumb = Thumb(bar);
    int tickX = int(SendMessage(bar, TBM_GETTICPOS, 0, 0));
    COLORREF text = gdi::GetSysColor(gdi::COLOR_BTNTEXT);
    EXPECT_EQ(StorePixel(bar, tickX, thumb.bottom + 3), text);
    EXPECT_NE(StorePixel(bar, tickX + 3, thumb.bottom + 3), text);
    EXPECT_EQ(StorePixel(bar, thumb.left + 1, thumb.top + 1), gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(StorePixel(bar, thumb.right - 1, thumb.top + 1), gdi::GetSysColor(gdi::COLOR_3DDKSHADOW));
}

}

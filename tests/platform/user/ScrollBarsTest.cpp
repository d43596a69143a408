// Window scroll bars: range and position rules, showing and hiding, SB_CTL forwarding, geometry, tracking.
#include "NonClientFixture.h"

#include "platform/user/NonClient.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/ScrollBars.h"

#include <utility>

namespace korvex::user::test {
namespace {

SCROLLINFO Info(UINT mask, int min = 0, int max = 0, UINT page = 0, int pos = 0) {
    SCROLLINFO info;
    info.fMask = mask;
    info.nMin = min;
    info.nMax = max;
    info.nPage = page;
    info.nPos = pos;
    return info;
}

// ---------------------------------------------------------------------------------------------------------
// Range rules

struct ClampCase {
    const char* Name;
    SCROLLINFO Given;
    int Min, Max;
    UINT Page;
    int Pos;
};

class ScrollInfoClamping : public ::testing::TestWithParam<ClampCase> { };

TEST_P(ScrollInfoClamping, PageAndPositionAreKeptInRange) {
    const ClampCase& c = GetParam();
    ScrollBarData data;
    ApplyScrollInfo(data, c.Given);
    EXPECT_EQ(data.Min, c.Min);
    EXPECT_EQ(data.Max, c.Max);
    EXPECT_EQ(data.Page, c.Page);
    EXPECT_EQ(data.Pos, c.Pos);
}

INSTANTIATE_TEST_SUITE_P(Rules, ScrollInfoClamping,
    ::testing::Values(ClampCase {"PageCutToRangePlusOne", Info(SIF_ALL, 0, 100, 500, 0), 0, 100, 101, 0},
        ClampCase {"PositionStopsOnePageBeforeTheEnd", Info(SIF_ALL, 0, 100, 10, 95), 0, 100, 10, 91},
        ClampCase {"PositionBelowMinimum", Info(SIF_ALL, 10, 20, 0, -5), 10, 20, 0, 10},
        ClampCase {"NoPageMeansMaximumIsReachable", Info(SIF_ALL, 0, 100, 0, 100), 0, 100, 0, 100},
        ClampCase {"PageOfOneIsLikeNoPage", Info(SIF_ALL, 0, 100, 1, 100), 0, 100, 1, 100},
        ClampCase {"InvertedRangeBecomesEmpty", Info(SIF_ALL, 10, 5, 3, 7), 0, 0, 1, 0},
        ClampCase {"TooWideRangeBecomesEmpty", Info(SIF_ALL, -2000000000, 2000000000, 0, 9), 0, 0, 0, 0},
        ClampCase {"NegativeRange", Info(SIF_ALL, -50, -10, 5, -12), -50, -10, 5, -14},
        ClampCase {"OnlyThePositionChanges", Info(SIF_POS, 99, 99, 99, 250), 0, 100, 0, 100},
        ClampCase {"OnlyTheRangeChangesAndThePositionFollows", Info(SIF_RANGE, 0, 40, 99, 99), 0, 40, 0, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ScrollCodeOf, APressOnAnArrowOrThePageAsksForItsLineOrPageStep) {
    const std::pair<ScrollPart, WORD> table[] = {{ScrollPart::Arrow1, SB_LINEUP}, {ScrollPart::Arrow2, SB_LINEDOWN},
        {ScrollPart::Page1, SB_PAGEUP}, {ScrollPart::Page2, SB_PAGEDOWN}};
    for (const auto& [part, code] : table)
        EXPECT_EQ(ScrollCodeOf(part), code) << int(part);
}

TEST(ScrollBarData, RangeClampsAnEarlierPosition) {
    ScrollBarData data;
    ApplyScrollInfo(data, Info(SIF_POS, 0, 0, 0, 80));
    EXPECT_EQ(data.Pos, 80);
    EXPECT_TRUE(ApplyScrollInfo(data, Info(SIF_RANGE | SIF_PAGE, 0, 50, 20)));
    EXPECT_EQ(data.Pos, 31);
    EXPECT_FALSE(ApplyScrollInfo(data, Info(SIF_POS, 0, 0, 0, 3)));
}

TEST(ScrollBarData, NeededOnlyWhenTheRangeExceedsOnePage) {
    ScrollBarData data;
    ApplyScrollInfo(data, Info(SIF_RANGE | SIF_PAGE, 0, 99, 100));
    EXPECT_FALSE(ScrollBarNeeded(data));
    ApplyScrollInfo(data, Info(SIF_PAGE, 0, 0, 99));
    EXPECT_TRUE(ScrollBarNeeded(data));
    ApplyScrollInfo(data, Info(SIF_RANGE | SIF_PAGE, 5, 5, 0));
    EXPECT_FALSE(ScrollBarNeeded(data));
}

TEST(ScrollInfoSize, AcceptsTheRecordWithOrWithoutTrackPosition) {
    EXPECT_TRUE(IsValidScrollInfoSize(sizeof(SCROLLINFO)));
    EXPECT_TRUE(IsValidScrollInfoSize(sizeof(SCROLLINFO) - sizeof(int)));
    EXPECT_FALSE(IsValidScrollInfoSize(0));
    EXPECT_FALSE(IsValidScrollInfoSize(sizeof(SCROLLINFO) + 4));
}

// ---------------------------------------------------------------------------------------------------------
// Geometry

TEST(ScrollGeometry, ThumbLengthIsThePageShareOfTheTrack) {
    ScrollBarData data;
    ApplyScrollInfo(data, Info(SIF_ALL, 0, 99, 25, 0));
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    const RECT band {0, 0, 16, 2 * arrow + 200};
    const ScrollGeometry g = ComputeScrollGeometry(band, true, data, data.Pos);
    ASSERT_TRUE(g.HasThumb);
    EXPECT_EQ(g.ThumbLength, 50);
    EXPECT_EQ(g.ThumbStart, arrow);
    EXPECT_EQ(ComputeScrollGeometry(band, true, data, 75).ThumbStart, arrow + 150);
    EXPECT_EQ(ComputeScrollGeometry(band, true, data, 1000).ThumbStart, arrow + 150);   // clamped
    EXPECT_EQ(ScrollPosFromThumb(g, data, arrow + 75), 38);
    EXPECT_EQ(ScrollPosFromThumb(g, data, arrow + 150), 75);
    EXPECT_EQ(ScrollPosFromThumb(g, data, -40), 0);
}

TEST(ScrollGeometry, TinyPageGetsTheMinimumThumb) {
    ScrollBarData data;
    ApplyScrollInfo(data, Info(SIF_ALL, 0, 100000, 1, 0));
    const RECT band {0, 0, 300, 16};
    const ScrollGeometry g = ComputeScrollGeometry(band, false, data, 0);
    EXPECT_EQ(g.ThumbLength, MinThumbLength);
    EXPECT_EQ(g.Thumb.top, 0);
    EXPECT_EQ(g.Thumb.bottom, 16);
}

TEST(ScrollGeometry, ShortBandHalvesTheArrowsAndDropsTheThumb) {
    ScrollBarData data;
    const RECT band {0, 0, 16, 20};
    const ScrollGeometry g = ComputeScrollGeometry(band, true, data, 0);
    EXPECT_EQ(g.ArrowSize, 10);
    EXPECT_EQ(g.Arrow2, (RECT {0, 10, 16, 20}));
    EXPECT_FALSE(g.HasThumb);
    EXPECT_EQ(ScrollPartAt(g, POINT {5, 3}), ScrollPart::Arrow1);
    EXPECT_EQ(ScrollPartAt(g, POINT {5, 15}), ScrollPart::Arrow2);
}

TEST(ScrollGeometry, DisabledOrEmptyBarHasNoThumb) {
    const RECT band {0, 0, 16, 200};
    ScrollBarData data;
    data.Disabled = ESB_DISABLE_BOTH;
    EXPECT_FALSE(ComputeScrollGeometry(band, true, data, 0).HasThumb);
    ScrollBarData empty;
    ApplyScrollInfo(empty, Info(SIF_RANGE, 0, 0));
    const ScrollGeometry g = ComputeScrollGeometry(band, true, empty, 0);
    EXPECT_FALSE(g.HasThumb);
    EXPECT_EQ(ScrollPartAt(g, POINT {8, 100}), ScrollPart::Page1);
}

// ---------------------------------------------------------------------------------------------------------
// The calls on a window

class WindowScrollBars : public NonClientFixture {
protected:
    int VBarWidth() const { return GetSystemMetrics(SM_CXVSCROLL); }
};

TEST_F(WindowScrollBars, InfoFailsForABarTheWindowHasNot) {
    HWND hwnd = Create(WS_POPUP | WS_VSCROLL, 0, gdi::Bounds(0, 0, 200, 100));
    SCROLLINFO info = Info(SIF_ALL);
    EXPECT_FALSE(GetScrollInfo(hwnd, SB_HORZ, &info));
    ASSERT_TRUE(GetScrollInfo(hwnd, SB_VERT, &info));
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, 100);
    EXPECT_EQ(info.nPage, 0u);
    EXPECT_FALSE(GetScrollInfo(hwnd, 7, &info));
    EXPECT_FALSE(GetScrollInfo(nullptr, SB_VERT, &info));
    SCROLLINFO badSize = Info(SIF_ALL);
    badSize.cbSize = 12;
    EXPECT_FALSE(GetScrollInfo(hwnd, SB_VERT, &badSize));
    SCROLLINFO noFields = Info(0);
    EXPECT_FALSE(GetScrollInfo(hwnd, SB_VERT, &noFields));
}

TEST_F(WindowScrollBars, SetScrollInfoReturnsTheClampedPosition) {
    HWND hwnd = Create(WS_POPUP | WS_VSCROLL, 0, gdi::Bounds(0, 0, 200, 100));
    SCROLLINFO info = Info(SIF_ALL, 0, 100, 10, 500);
    EXPECT_EQ(SetScrollInfo(hwnd, SB_VERT, &info, true), 91);
    SCROLLINFO read = Info(SIF_ALL);
    ASSERT_TRUE(GetScrollInfo(hwnd, SB_VERT, &read));
    EXPECT_EQ(read.nPos, 91);
    EXPECT_EQ(read.nPage, 10u);
    EXPECT_EQ(read.nTrackPos, 91);   // not dragging: the position
    SCROLLINFO shortRecord = Info(SIF_ALL);
    shortRecord.cbSize = sizeof(SCROLLINFO) - sizeof(int);
    shortRecord.nTrackPos = -77;
    ASSERT_TRUE(GetScrollInfo(hwnd, SB_VERT, &shortRecord));
    EXPECT_EQ(shortRecord.nTrackPos, -77);   // not part of the smaller record
    EXPECT_EQ(SetScrollInfo(hwnd, SB_VERT, nullptr, true), 0);
}

TEST_F(WindowScrollBars, BarAppearsWhenNeededAndGoesWhenNot) {
    HWND hwnd = Create(WS_POPUP | WS_VISIBLE, 0, gdi::Bounds(0, 0, 200, 100));
    EXPECT_EQ(ClientRect(hwnd).right, 200);
    SCROLLINFO needed = Info(SIF_RANGE | SIF_PAGE, 0, 300, 100);
    SetScrollInfo(hwnd, SB_VERT, &needed, true);
    EXPECT_TRUE(GetWindowStyle(hwnd) & WS_VSCROLL);
    EXPECT_EQ(ClientRect(hwnd).right, 200 - VBarWidth());

    SCROLLINFO fits = Info(SIF_RANGE | SIF_PAGE, 0, 50, 100);
    SetScrollInfo(hwnd, SB_VERT, &fits, true);
    EXPECT_FALSE(GetWindowStyle(hwnd) & WS_VSCROLL);
    EXPECT_EQ(ClientRect(hwnd).right, 200);
    SCROLLINFO read = Info(SIF_RANGE);
    EXPECT_TRUE(GetScrollInfo(hwnd, SB_VERT, &read));   // the data stays with the window
    EXPECT_EQ(read.nMax, 50);
}

TEST_F(WindowScrollBars, DisableNoScrollKeepsTheBarShownButDisabled) {
    HWND hwnd = Create(WS_POPUP | WS_VISIBLE, 0, gdi::Bounds(0, 0, 200, 100));
    SCROLLINFO fits = Info(SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 50, 100);
    SetScrollInfo(hwnd, SB_HORZ, &fits, true);
    EXPECT_TRUE(GetWindowStyle(hwnd) & WS_HSCROLL);
    ASSERT_TRUE(nc::FindState(hwnd));
    EXPECT_EQ(nc::FindState(hwnd)->Horz.Disabled, ESB_DISABLE_BOTH);
    SCROLLINFO needed = Info(SIF_RANGE, 0, 500);
    SetScrollInfo(hwnd, SB_HORZ, &needed, true);
    EXPECT_EQ(nc::FindState(hwnd)->Horz.Disabled, ESB_ENABLE_BOTH);
}

TEST_F(WindowScrollBars, PositionAndRangeShortcuts) {
    HWND hwnd = Create(WS_POPUP | WS_HSCROLL, 0, gdi::Bounds(0, 0, 200, 100));
    EXPECT_EQ(SetScrollPos(hwnd, SB_HORZ, 40, false), 0);
    EXPECT_EQ(SetScrollPos(hwnd, SB_HORZ, 70, false), 40);
    EXPECT_EQ(GetScrollPos(hwnd, SB_HORZ), 70);
    EXPECT_TRUE(SetScrollRange(hwnd, SB_HORZ, -10, 20, false));
    EXPECT_EQ(GetScrollPos(hwnd, SB_HORZ), 20);
    int lo = 1, hi = 1;
    EXPECT_TRUE(GetScrollRange(hwnd, SB_HORZ, &lo, &hi));
    EXPECT_EQ(lo, -10);
    EXPECT_EQ(hi, 20);
    EXPECT_FALSE(SetScrollRange(hwnd, SB_HORZ, INT_MIN, INT_MAX, false));
    EXPECT_FALSE(GetScrollRange(hwnd, SB_VERT, &lo, &hi));
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 0);
}

TEST_F(WindowScrollBars, ShowScrollBarChangesTheStyleAndTheClientArea) {
    HWND hwnd = Create(WS_POPUP | WS_VISIBLE, 0, gdi::Bounds(0, 0, 200, 100));
    EXPECT_TRUE(ShowScrollBar(hwnd, SB_BOTH, true));
    EXPECT_EQ(GetWindowStyle(hwnd) & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
    EXPECT_EQ(ClientRect(hwnd), (RECT {0, 0, 200 - VBarWidth(), 100 - GetSystemMetrics(SM_CYHSCROLL)}));
    EXPECT_TRUE(ShowScrollBar(hwnd, SB_HORZ, false));
    EXPECT_EQ(ClientRect(hwnd), (RECT {0, 0, 200 - VBarWidth(), 100}));
    EXPECT_FALSE(ShowScrollBar(hwnd, 9, true));
}

TEST_F(WindowScrollBars, EnableScrollBarReportsChanges) {
    HWND hwnd = Create(WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, gdi::Bounds(0, 0, 200, 100));
    EXPECT_TRUE(EnableScrollBar(hwnd, SB_BOTH, ESB_DISABLE_UP));
    EXPECT_FALSE(EnableScrollBar(hwnd, SB_VERT, ESB_DISABLE_UP));
    EXPECT_TRUE(EnableScrollBar(hwnd, SB_VERT, ESB_ENABLE_BOTH));
    EXPECT_EQ(nc::FindState(hwnd)->Horz.Disabled, ESB_DISABLE_UP);
}

TEST_F(WindowScrollBars, ControlBarsAreForwardedAsMessages) {
    SCROLLINFO stored = Info(SIF_ALL, 0, 10, 2, 3);
    OnMessage = [&](HWND, UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
        switch (msg) {
        case SBM_SETSCROLLINFO:
            EXPECT_EQ(wParam, 1u);
            stored.nPos = reinterpret_cast<const SCROLLINFO*>(lParam)->nPos;
            return stored.nPos;
        case SBM_GETSCROLLINFO:
            *reinterpret_cast<SCROLLINFO*>(lParam) = stored;
            return 1;
        case SBM_SETPOS:
            return 42;
        default:
            return std::nullopt;
        }
    };
    HWND control = Create(WS_POPUP, 0, gdi::Bounds(0, 0, 100, 16));
    SCROLLINFO set = Info(SIF_POS, 0, 0, 0, 6);
    EXPECT_EQ(SetScrollInfo(control, SB_CTL, &set, true), 6);
    SCROLLINFO read = Info(SIF_ALL);
    ASSERT_TRUE(GetScrollInfo(control, SB_CTL, &read));
    EXPECT_EQ(read.nPos, 6);
    EXPECT_EQ(read.nMax, 10);
    EXPECT_EQ(SetScrollPos(control, SB_CTL, 5, false), 42);
    EXPECT_EQ(Messages(SBM_SETSCROLLINFO).size(), 1u);
}

// ---------------------------------------------------------------------------------------------------------
// Tracking with the mouse

class ScrollTracking : public NonClientFixture {
protected:
    void SetUp() override {
        NonClientFixture::SetUp();
        OnMessage = [this](HWND hwnd, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            if (msg != WM_VSCROLL) return std::nullopt;
            Codes.push_back(LOWORD(wParam));
            Positions.push_back(HIWORD(wParam));
            if (OnScroll) OnScroll(hwnd, LOWORD(wParam));
            return 0;
        };
        Wnd = CreateShown(WS_POPUP | WS_BORDER | WS_VSCROLL, 0, gdi::Bounds(100, 100, 200, 300));
        SCROLLINFO info = Info(SIF_ALL, 0, 99, 20, 0);
        SetScrollInfo(Wnd, SB_VERT, &info, true);
        Pump();
        // Screen coordinates.
        Geometry
            = ComputeScrollGeometry(Offset(nc::LayoutOf(Wnd).VScroll, 100, 100), true, nc::FindState(Wnd)->Vert, 0);
        Log.clear();
    }

    POINT InBand(int y) const { return POINT {(Geometry.Band.left + Geometry.Band.right) / 2, y}; }

    HWND Wnd = nullptr;
    ScrollGeometry Geometry;
    std::vector<WORD> Codes;
    std::vector<WORD> Positions;
    std::function<void(HWND, WORD)> OnScroll;
};

TEST_F(ScrollTracking, ArrowClickSendsLineDownThenEndScroll) {
    const POINT p = InBand(Geometry.Arrow2.top + 3);
    Screen->Click(p.x, p.y);
    Pump();
    EXPECT_EQ(Codes, (std::vector<WORD> {SB_LINEDOWN, SB_ENDSCROLL}));
    EXPECT_EQ(SysCommands(), std::vector<WPARAM> {SC_VSCROLL});
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollTracking, PageAreaClicksPageTowardThePointer) {
    const POINT below = InBand(Geometry.Page2.top + 30);
    Screen->Click(below.x, below.y);
    Pump();
    const POINT above = InBand(Geometry.Arrow1.bottom - 1);
    Screen->Click(above.x, above.y);
    Pump();
    EXPECT_EQ(Codes, (std::vector<WORD> {SB_PAGEDOWN, SB_ENDSCROLL, SB_LINEUP, SB_ENDSCROLL}));
}

TEST_F(ScrollTracking, HeldArrowRepeatsOnTheTimer) {
    const POINT p = InBand(Geometry.Arrow2.top + 3);
    OnScroll = [&](HWND, WORD code) {
        if (code != SB_LINEDOWN) return;
        const size_t steps = Codes.size();
        if (steps == 1)
            Advance(500);   // the first repeat waits longer
        else if (steps < 4)
            Advance(100);
        else
            Screen->ButtonUp(MouseButton::Left, p.x, p.y);
    };
    Screen->MoveMouse(p.x, p.y);
    Screen->ButtonDown(MouseButton::Left, p.x, p.y);
    Pump();
    EXPECT_EQ(Codes, (std::vector<WORD> {SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}));
}

TEST_F(ScrollTracking, HeldArrowStopsRepeatingWhileThePointerIsOff) {
    const POINT p = InBand(Geometry.Arrow2.top + 3);
    OnScroll = [&](HWND, WORD code) {
        if (code != SB_LINEDOWN) return;
        Screen->MoveMouse(p.x - 150, p.y);
        Advance(500);
    };
    // The loop re-arms its timer after the first tick; a posted message then moves the clock on.
    int ticks = 0;
    SetMessageFilter([&](MSG& msg) {
        if (!InNonClientLoop()) return false;
        if (msg.message == WM_USER + 7) {
            Advance(100);
        } else if (msg.message == WM_TIMER) {
            if (++ticks == 1)
                PostMessage(Wnd, WM_USER + 7, 0, 0);
            else
                Screen->ButtonUp(MouseButton::Left, p.x - 150, p.y);
        }
        return false;
    });
    Screen->MoveMouse(p.x, p.y);
    Screen->ButtonDown(MouseButton::Left, p.x, p.y);
    Pump();
    SetMessageFilter(nullptr);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(Codes, (std::vector<WORD> {SB_LINEDOWN, SB_ENDSCROLL}));
}

TEST_F(ScrollTracking, ThumbDragSendsTrackPositionsThenThePositionAndTheEnd) {
    std::vector<int> trackSeen;
    OnScroll = [&](HWND hwnd, WORD code) {
        if (code != SB_THUMBTRACK) return;
        SCROLLINFO info = Info(SIF_TRACKPOS | SIF_POS);
        GetScrollInfo(hwnd, SB_VERT, &info);
        trackSeen.push_back(info.nTrackPos);
        EXPECT_EQ(info.nPos, 0);   // the window moves the position itself, or not
    };
    const POINT grab = InBand(Geometry.Thumb.top + 4);
    const int room = (Geometry.Band.Height() - 2 * Geometry.ArrowSize - Geometry.ThumbLength);
    Screen->MoveMouse(grab.x, grab.y);
    Screen->ButtonDown(MouseButton::Left, grab.x, grab.y);
    Screen->MoveMouse(grab.x, grab.y + room / 2);
    PlayInLoop({
        [&] { Screen->MoveMouse(grab.x + 1, grab.y + room / 2); },   // same position: nothing sent
        [&] { Screen->MoveMouse(grab.x, grab.y + room + 50); },   // past the end: the last position
        [&] { Screen->ButtonUp(MouseButton::Left, grab.x, grab.y + room + 50); },
    });
    const WORD half = WORD(ScrollPosFromThumb(Geometry, nc::FindState(Wnd)->Vert, Geometry.ThumbStart + room / 2));
    EXPECT_EQ(Codes, (std::vector<WORD> {SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}));
    EXPECT_EQ(Positions[0], half);
    EXPECT_EQ(Positions[1], 80);
    EXPECT_EQ(Positions[2], 80);
    EXPECT_EQ(trackSeen, (std::vector<int> {half, 80}));
    SCROLLINFO after = Info(SIF_TRACKPOS);
    GetScrollInfo(Wnd, SB_VERT, &after);
    EXPECT_EQ(after.nTrackPos, 0);   // the drag is over: the position again
}

TEST_F(ScrollTracking, DisabledArrowIgnoresClicks) {
    EnableScrollBar(Wnd, SB_VERT, ESB_DISABLE_DOWN);
    const POINT down = InBand(Geometry.Arrow2.top + 3);
    Screen->Click(down.x, down.y);
    Pump();
    EXPECT_TRUE(Codes.empty());
    const POINT up = InBand(Geometry.Arrow1.top + 3);
    Screen->Click(up.x, up.y);
    Pump();
    EXPECT_EQ(Codes, (std::vector<WORD> {SB_LINEUP, SB_ENDSCROLL}));
}

TEST_F(ScrollTracking, BarIsPaintedWithArrowsAndThumb) {
    const int left = Geometry.Band.left - 100;
    // Raised arrow button: light outer edge at its top-left; the track below the thumb in the bar colour.
    EXPECT_EQ(WindowPixel(Wnd, left, Geometry.Band.top - 100), GetSysColor(gdi::COLOR_3DLIGHT));
    EXPECT_EQ(WindowPixel(Wnd, left + 5, Geometry.Page2.top - 100 + 10), GetSysColor(gdi::COLOR_SCROLLBAR));
    EXPECT_EQ(WindowPixel(Wnd, left, Geometry.Thumb.top - 100), GetSysColor(gdi::COLOR_3DLIGHT));
    EXPECT_EQ(WindowPixel(Wnd, left + 5, Geometry.Thumb.top - 100 + 5), GetSysColor(gdi::COLOR_3DFACE));
}

}
}

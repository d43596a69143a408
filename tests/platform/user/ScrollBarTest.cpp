// The SCROLLBAR class: SBM_* and the SB_CTL calls, arrows and pages with repeat on the fake clock, thumb
// tracking, keys, alignment styles and the plain look.
#include "support/ControlTestSupport.h"

#include "platform/gdi/SysColors.h"
#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/ScrollBar.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

namespace {

struct Scroll {
    WORD Code;
    int Pos;
};

class ScrollBarControl : public ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        // A horizontal bar 200 long: arrows of 16, range 0..100, a page of 10; the parent follows the requests.
        Bar = Make("SCROLLBAR", "", SBS_HORZ, 10, 10, 200, 16, 1);
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = 100;
        info.nPage = 10;
        info.nPos = 0;
        SetScrollInfo(Bar, SB_CTL, &info, true);
        SetHandler(Parent, [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg != WM_HSCROLL && msg != WM_VSCROLL) return std::nullopt;
            EXPECT_EQ(reinterpret_cast<HWND>(lParam), Bar);
            Requests.push_back({LOWORD(wParam), int(std::int16_t(HIWORD(wParam)))});
            if (Follow) Apply(LOWORD(wParam));
            return 0;
        });
        Pump();
    }
    void Apply(WORD code) {
        int pos = GetScrollPos(Bar, SB_CTL);
        SCROLLINFO info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(Bar, SB_CTL, &info);
        switch (code) {
        case SB_LINEUP:
            --pos;
            break;
        case SB_LINEDOWN:
            ++pos;
            break;
        case SB_PAGEUP:
            pos -= 10;
            break;
        case SB_PAGEDOWN:
            pos += 10;
            break;
        case SB_THUMBTRACK:
            pos = info.nTrackPos;
            break;
        default:
            return;
        }
        SetScrollPos(Bar, SB_CTL, pos, true);
    }
    std::vector<WORD> CodesSeen() const {
        std::vector<WORD> codes;
        for (const Scroll& r : Requests)
            codes.push_back(r.Code);
        return codes;
    }
    HWND Bar = nullptr;
    std::vector<Scroll> Requests;
    bool Follow = true;
};

TEST_F(ScrollBarControl, ANewBarHasAnEmptyRange) {
    HWND fresh = Make("SCROLLBAR", "", SBS_VERT, 250, 10, 16, 100, 2);
    int lo = -1, hi = -1;
    EXPECT_TRUE(GetScrollRange(fresh, SB_CTL, &lo, &hi));
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 0);
    EXPECT_EQ(SendMessage(fresh, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(ScrollBarControl, SbmMessagesKeepThePositionInRange) {
    EXPECT_EQ(SendMessage(Bar, SBM_SETPOS, 500, 1), 0);
    EXPECT_EQ(SendMessage(Bar, SBM_GETPOS, 0, 0), 91);   // 100 - (10 - 1)
    EXPECT_EQ(SendMessage(Bar, SBM_SETRANGE, 0, 50), 91);
    EXPECT_EQ(GetScrollPos(Bar, SB_CTL), 41);
    int lo = 0, hi = 0;
    SendMessage(Bar, SBM_GETRANGE, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    EXPECT_EQ(hi, 50);
    SendMessage(Bar, SBM_SETRANGEREDRAW, 20, 10);   // inverted: 0..0
    EXPECT_EQ(GetScrollPos(Bar, SB_CTL), 0);
    SCROLLINFO bad;
    bad.cbSize = 3;
    bad.fMask = SIF_ALL;
    EXPECT_EQ(SendMessage(Bar, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&bad)), 0);
}

TEST_F(ScrollBarControl, AnArrowRepeatsAfterTheDelayWhileHeld) {
    PressAt(Bar, 199, 8);
    EXPECT_EQ(CodesSeen(), (std::vector<WORD> {SB_LINEDOWN}));
    Advance(ScrollRepeatDelayMs - 10);
    EXPECT_EQ(Requests.size(), 1u);
    Advance(10);
    EXPECT_EQ(Requests.size(), 2u);
    Advance(ScrollRepeatMs);
    Advance(ScrollRepeatMs);
    EXPECT_EQ(Requests.size(), 4u);
    ReleaseAt(Bar, 199, 8);
    EXPECT_EQ(CodesSeen().back(), SB_ENDSCROLL);
    EXPECT_EQ(GetScrollPos(Bar, SB_CTL), 4);
    Advance(1000);
    EXPECT_EQ(Requests.size(), 5u);   // no more after the release
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollBarControl, AnArrowPausesWhileThePointerIsOffIt) {
    PressAt(Bar, 5, 8);   // left arrow at position 0: the request still comes, the parent keeps 0
    MoveTo(Bar, 100, 100);
    Advance(ScrollRepeatDelayMs + 5 * ScrollRepeatMs);
    EXPECT_EQ(CodesSeen(), (std::vector<WORD> {SB_LINEUP}));
    MoveTo(Bar, 5, 8);
    Advance(ScrollRepeatMs);
    EXPECT_EQ(CodesSeen(), (std::vector<WORD> {SB_LINEUP, SB_LINEUP}));
    ReleaseAt(Bar, 5, 8);
}

TEST_F(ScrollBarControl, APageAreaRepeatsUntilTheThumbReachesThePointer) {
    PressAt(Bar, 120, 8);
    Advance(ScrollRepeatDelayMs);
    for (int i = 0; i < 20; ++i)
        Advance(ScrollRepeatMs);
    ReleaseAt(Bar, 120, 8);
    const int pos = GetScrollPos(Bar, SB_CTL);
    const ScrollBarData data {0, 100, 10, pos, pos};
    const ScrollGeometry g = ComputeScrollGeometry(ClientRect(Bar), false, data, pos);
    EXPECT_GT(pos, 30);
    EXPECT_LE(g.Thumb.left, 120);   // stopped with the thumb under the pointer
    EXPECT_GE(g.Thumb.right, 120 - 30);
    EXPECT_EQ(CodesSeen().back(), SB_ENDSCROLL);
}

TEST_F(ScrollBarControl, DraggingTheThumbTracksAndEndsWithThumbPosition) {
    const ScrollGeometry g = ComputeScrollGeometry(ClientRect(Bar), false, ScrollBarData {0, 100, 10, 0, 0}, 0);
    const int grab = g.Thumb.left + 3;
    PressAt(Bar, grab, 8);
    EXPECT_TRUE(Requests.empty());
    MoveTo(Bar, grab + 40, 8);
    ASSERT_FALSE(Requests.empty());
    EXPECT_EQ(Requests.back().Code, SB_THUMBTRACK);
    const int tracked = Requests.back().Pos;
    EXPECT_GT(tracked, 0);
    SCROLLINFO info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(Bar, SB_CTL, &info);
    EXPECT_EQ(info.nTrackPos, tracked);
    MoveTo(Bar, grab + 40, 8);   // no movement: no new request
    const std::size_t n = Requests.size();
    ReleaseAt(Bar, grab + 40, 8);
    ASSERT_EQ(Requests.size(), n + 2);
    EXPECT_EQ(Requests[n].Code, SB_THUMBPOSITION);
    EXPECT_EQ(Requests[n].Pos, tracked);
    EXPECT_EQ(Requests[n + 1].Code, SB_ENDSCROLL);
    EXPECT_EQ(GetScrollPos(Bar, SB_CTL), tracked);
}

TEST_F(ScrollBarControl, TheThumbIsDrawnWhereItIsDraggedEvenWhenTheParentDoesNotFollow) {
    Follow = false;
    const ScrollGeometry g = ComputeScrollGeometry(ClientRect(Bar), false, ScrollBarData {0, 100, 10, 0, 0}, 0);
    PressAt(Bar, g.Thumb.left + 3, 8);
    MoveTo(Bar, g.Thumb.left + 103, 8);
    EXPECT_EQ(ClientPixel(Bar, g.Thumb.left + 103, 8), gdi::GetSysColor(gdi::COLOR_BTNFACE));
    EXPECT_EQ(GetScrollPos(Bar, SB_CTL), 0);
    ReleaseAt(Bar, g.Thumb.left + 103, 8);
    EXPECT_EQ(ClientPixel(Bar, g.Thumb.left + 103, 8), gdi::GetSysColor(gdi::COLOR_SCROLLBAR));
}

TEST_F(ScrollBarControl, LosingTheCaptureEndsTheDrag) {
    PressAt(Bar, 199, 8);
    SetCapture(Parent);
    Pump();
    EXPECT_EQ(CodesSeen(), (std::vector<WORD> {SB_LINEDOWN, SB_ENDSCROLL}));
    Advance(ScrollRepeatDelayMs * 2);
    EXPECT_EQ(Requests.size(), 2u);
    ReleaseCapture();
}

struct KeyCase {
    UINT Key;
    WORD Code;
};

class ScrollBarKeys : public ScrollBarControl, public ::testing::WithParamInterface<KeyCase> { };

TEST_P(ScrollBarKeys, EachKeyAsksForItsScrollAndItsReleaseEndsIt) {
    SetFocus(Bar);
    Key(GetParam().Key);
    EXPECT_EQ(CodesSeen(), (std::vector<WORD> {GetParam().Code, SB_ENDSCROLL}));
}

INSTANTIATE_TEST_SUITE_P(Keys, ScrollBarKeys,
    ::testing::Values(KeyCase {VK_LEFT, SB_LINEUP}, KeyCase {VK_UP, SB_LINEUP}, KeyCase {VK_RIGHT, SB_LINEDOWN},
        KeyCase {VK_DOWN, SB_LINEDOWN}, KeyCase {VK_PRIOR, SB_PAGEUP}, KeyCase {VK_NEXT, SB_PAGEDOWN},
        KeyCase {VK_HOME, SB_TOP}, KeyCase {VK_END, SB_BOTTOM}));

TEST_F(ScrollBarControl, DisabledArrowsAndADisabledBarTakeNoPresses) {
    EnableScrollBar(Bar, SB_CTL, ESB_DISABLE_RIGHT);
    PressAt(Bar, 199, 8);
    ReleaseAt(Bar, 199, 8);
    EXPECT_TRUE(Requests.empty());
    EXPECT_FALSE(EnableScrollBar(Bar, SB_CTL, ESB_DISABLE_RIGHT));   // nothing changed
    EnableScrollBar(Bar, SB_CTL, ESB_ENABLE_BOTH);
    EnableWindow(Bar, false);
    Pump();
    ClickAt(Bar, 199, 8);
    EXPECT_TRUE(Requests.empty());
}

TEST_F(ScrollBarControl, AlignmentStylesGiveTheStandardThicknessAtTheirSide) {
    HWND bottom = Make("SCROLLBAR", "", SBS_HORZ | SBS_BOTTOMALIGN, 10, 50, 200, 100, 2);
    HWND left = Make("SCROLLBAR", "", SBS_VERT | SBS_LEFTALIGN, 250, 10, 100, 200, 3);
    RECT r = WindowRect(bottom);
    MapWindowRect(nullptr, Parent, &r);
    EXPECT_EQ(r, (RECT {10, 150 - GetSystemMetrics(SM_CYHSCROLL), 210, 150}));
    r = WindowRect(left);
    MapWindowRect(nullptr, Parent, &r);
    EXPECT_EQ(r, (RECT {250, 10, 250 + GetSystemMetrics(SM_CXVSCROLL), 210}));
}

TEST_F(ScrollBarControl, AClickTakesTheFocusOnlyWithTabStop) {
    ClickAt(Bar, 199, 8);
    EXPECT_NE(GetFocus(), Bar);
    SetWindowLongPtr(Bar, GWL_STYLE, LONG_PTR(GetWindowStyle(Bar) | WS_TABSTOP));
    ClickAt(Bar, 199, 8);
    EXPECT_EQ(GetFocus(), Bar);
}

}

}

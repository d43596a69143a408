// Input routing on the headless display: mouse targets and coordinates, capture, double clicks, leave tracking,
// cursors, keys and characters, key state.
#include "support/UserTestSupport.h"

#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

namespace {

class Input : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        Parent = Create(WS_POPUP | WS_VISIBLE, 100, 100, 200, 200);
        Child = Create(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, Parent);
        Pump();
        ClearLog();
    }
    const LoggedMessage* Find(HWND hwnd, UINT msg) {
        FoundLog = Log(hwnd);
        for (const auto& m : FoundLog)
            if (m.Msg == msg) return &m;
        return nullptr;
    }
    HWND Parent = nullptr;
    HWND Child = nullptr;
    std::vector<LoggedMessage> FoundLog;
};

TEST_F(Input, AClickGoesToTheDeepestChildInClientCoordinates) {
    Screen->Click(120, 125);
    Pump();
    const LoggedMessage* down = Find(Child, WM_LBUTTONDOWN);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->LParam, MAKELPARAM(10, 15));
    EXPECT_EQ(down->WParam, MK_LBUTTON);
    const LoggedMessage* up = Find(Child, WM_LBUTTONUP);
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(up->WParam, 0u);
    EXPECT_EQ(Count(Parent, WM_LBUTTONDOWN), 0);
    const LoggedMessage* cursor = Find(Child, WM_SETCURSOR);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(LOWORD(std::uintptr_t(cursor->LParam)), HTCLIENT);
}

TEST_F(Input, ANonClientHitGivesNonClientMessagesWithTheHitCodeAndScreenCoordinates) {
    SetHandler(Parent, [](HWND, UINT m, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
        if (m == WM_NCHITTEST) return GET_Y_LPARAM(lp) < 110 ? HTCAPTION : HTCLIENT;
        if (m == WM_NCLBUTTONDOWN || m == WM_NCLBUTTONUP) return 0;   // no move loop here
        return std::nullopt;
    });
    Screen->Click(250, 105);
    Pump();
    const LoggedMessage* down = Find(Parent, WM_NCLBUTTONDOWN);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->WParam, WPARAM(HTCAPTION));
    EXPECT_EQ(down->LParam, MAKELPARAM(250, 105));
    Screen->MoveMouse(250, 106);
    Pump();
    EXPECT_EQ(Count(Parent, WM_NCMOUSEMOVE), 2);
}

TEST_F(Input, TheCaptureWindowGetsEveryMouseMessageEvenOutside) {
    SetCapture(Child);
    Screen->Click(10, 10);
    Pump();
    const LoggedMessage* down = Find(Child, WM_LBUTTONDOWN);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(GET_X_LPARAM(down->LParam), -100);
    EXPECT_EQ(GET_Y_LPARAM(down->LParam), -100);
    EXPECT_EQ(Count(Child, WM_SETCURSOR), 0);
    SetCapture(Parent);
    const LoggedMessage* changed = Find(Child, WM_CAPTURECHANGED);
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(HWND(changed->LParam), Parent);
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Count(Parent, WM_CAPTURECHANGED), 1);
}

TEST_F(Input, TheCaptureWindowIsAskedForAHitTestAtEachMouseMessageButItsAnswerIsNotUsed) {
    SetHandler(Child, [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_NCHITTEST) return HTCAPTION;
        return std::nullopt;
    });
    SetCapture(Child);
    Screen->MoveMouse(300, 20);
    Pump();
    const LoggedMessage* hit = Find(Child, WM_NCHITTEST);
    ASSERT_NE(hit, nullptr);
    EXPECT_EQ(hit->LParam, MAKELPARAM(300, 20));   // screen coordinates, outside the window
    const LoggedMessage* move = Find(Child, WM_MOUSEMOVE);
    ASSERT_NE(move, nullptr);   // a client message all the same
    EXPECT_EQ(Count(Child, WM_NCMOUSEMOVE), 0);
    EXPECT_EQ(Count(Parent, WM_NCHITTEST), 0);
    ReleaseCapture();
}

TEST_F(Input, AConfinedPointerStaysInItsRectangleUntilFreed) {
    const RECT field {110, 120, 150, 160};
    ASSERT_TRUE(ClipCursor(&field));
    struct Free {
        ~Free() { ClipCursor(nullptr); }
    } freeAtEnd;
    RECT held {};
    ASSERT_TRUE(GetClipCursor(&held));
    EXPECT_EQ(held, field);
    struct Case {
        POINT To, Expected;
    };
    for (const Case& c : {Case {{500, 500}, {149, 159}}, Case {{0, 130}, {110, 130}}, Case {{120, 130}, {120, 130}}}) {
        Screen->MoveMouse(c.To.x, c.To.y);
        Pump();
        POINT at {};
        GetCursorPos(&at);
        EXPECT_EQ(at, c.Expected) << c.To.x << "," << c.To.y;
    }
    // A click beyond the edge lands on the edge: inside the child (10..60 of the parent at 100).
    Screen->Click(300, 121);
    Pump();
    const LoggedMessage* down = Find(Child, WM_LBUTTONDOWN);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->LParam, MAKELPARAM(39, 11));
    SetCursorPos(0, 0);
    POINT at {};
    GetCursorPos(&at);
    EXPECT_EQ(at, (POINT {110, 120}));

    ClipCursor(nullptr);
    Screen->MoveMouse(500, 500);
    Pump();
    GetCursorPos(&at);
    EXPECT_EQ(at, (POINT {500, 500}));
    ASSERT_TRUE(GetClipCursor(&held));
    EXPECT_EQ(held, (RECT {0, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)}));
}

TEST_F(Input, AConfinementOffTheScreenHoldsThePointerAtTheNearestScreenPoint) {
    const RECT beyond {-50, -50, -10, -10};
    ClipCursor(&beyond);
    struct Free {
        ~Free() { ClipCursor(nullptr); }
    } freeAtEnd;
    Screen->MoveMouse(300, 300);
    Pump();
    POINT at {};
    GetCursorPos(&at);
    EXPECT_EQ(at, (POINT {0, 0}));
}

TEST_F(Input, DoubleClicksComeOnlyToClassesThatAskQuicklyAndNearby) {
    Screen->Click(120, 120);
    Screen->AdvanceTimeMs(100);
    Screen->Click(121, 121);
    Screen->AdvanceTimeMs(100);
    Screen->Click(121, 121);   // the third click starts over
    Pump();
    EXPECT_EQ(Count(Child, WM_LBUTTONDOWN), 2);
    EXPECT_EQ(Count(Child, WM_LBUTTONDBLCLK), 1);
    ClearLog();
    Screen->AdvanceTimeMs(1000);
    Screen->Click(120, 120);
    Screen->AdvanceTimeMs(GetDoubleClickTime() + 1);
    Screen->Click(120, 120);
    Screen->AdvanceTimeMs(100);
    Screen->Click(130, 120);   // too far
    Pump();
    EXPECT_EQ(Count(Child, WM_LBUTTONDBLCLK), 0);

    HWND plain = Create(WS_CHILD | WS_VISIBLE, 100, 100, 50, 50, Parent, 0, PlainClass);
    Screen->AdvanceTimeMs(1000);
    Screen->DoubleClick(220, 220);
    Pump();
    EXPECT_EQ(Count(plain, WM_LBUTTONDOWN), 2);
    EXPECT_EQ(Count(plain, WM_LBUTTONDBLCLK), 0);
}

TEST_F(Input, LeaveTrackingReportsLeavingOnce) {
    Screen->MoveMouse(120, 120);
    Pump();
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = Child;
    ASSERT_TRUE(TrackMouseEvent(&tme));
    Screen->MoveMouse(125, 125);
    Pump();
    EXPECT_EQ(Count(Child, WM_MOUSELEAVE), 0);
    Screen->MoveMouse(200, 200);   // onto the parent
    Pump();
    EXPECT_EQ(Count(Child, WM_MOUSELEAVE), 1);
    Screen->MoveMouse(120, 120);
    Screen->MoveMouse(200, 200);
    Pump();
    EXPECT_EQ(Count(Child, WM_MOUSELEAVE), 1);   // tracking ended with the first leave
}

TEST_F(Input, TrackingAWindowThePointerIsNotOverLeavesAtOnceAndLeavingTheScreenCounts) {
    Screen->MoveMouse(250, 250);
    Pump();
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = Child;
    TrackMouseEvent(&tme);
    Pump();
    EXPECT_EQ(Count(Child, WM_MOUSELEAVE), 1);
    tme.hwndTrack = Parent;
    TrackMouseEvent(&tme);
    Screen->LeaveScreen();
    Pump();
    EXPECT_EQ(Count(Parent, WM_MOUSELEAVE), 1);
}

TEST_F(Input, ClicksOnADisabledChildGoToItsParentAndADisabledWindowGetsNone) {
    EnableWindow(Child, false);
    Screen->Click(120, 125);
    Pump();
    EXPECT_EQ(Count(Child, WM_LBUTTONDOWN), 0);
    const LoggedMessage* down = Find(Parent, WM_LBUTTONDOWN);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->LParam, MAKELPARAM(20, 25));
    ClearLog();
    EnableWindow(Parent, false);
    Screen->Click(250, 250);
    Pump();
    EXPECT_EQ(Count(Parent, WM_LBUTTONDOWN), 0);
}

TEST_F(Input, ATransparentHitLetsTheWindowBelowHaveTheClick) {
    HWND cover = Create(WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, Parent);
    SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetHandler(cover, [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_NCHITTEST) return HTTRANSPARENT;
        return std::nullopt;
    });
    EXPECT_EQ(WindowFromPoint(POINT {120, 125}), Child);
    Screen->Click(120, 125);
    Pump();
    EXPECT_EQ(Count(Child, WM_LBUTTONDOWN), 1);
    EXPECT_EQ(Count(cover, WM_LBUTTONDOWN), 0);
}

TEST_F(Input, TheClassCursorIsSetOverTheClientArea) {
    WNDCLASSEX wc;
    wc.lpszClassName = "KorvexHandCursor";
    wc.lpfnWndProc = DefWindowProc;
    wc.hCursor = LoadCursor(nullptr, IDC_HAND);
    RegisterClassEx(&wc);
    HWND hand = CreateWindowEx(
        0, "KorvexHandCursor", "", WS_CHILD | WS_VISIBLE, 100, 100, 50, 50, Parent, nullptr, nullptr, nullptr);
    Screen->MoveMouse(210, 210);
    Pump();
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
    Screen->MoveMouse(120, 120);
    Pump();
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));   // a class without a cursor leaves it as it is
    (void)hand;
}

TEST_F(Input, KeysGoToTheFocusWithCharactersFromTheKeyText) {
    SetFocus(Child);
    ClearLog();
    Screen->Press(0xBA, "ж");
    Screen->Press(VK_RETURN);
    Pump();
    std::vector<std::pair<UINT, WPARAM>> got;
    for (const auto& m : Log(Child))
        if (m.Msg == WM_KEYDOWN || m.Msg == WM_CHAR || m.Msg == WM_KEYUP) got.push_back({m.Msg, m.WParam});
    std::vector<std::pair<UINT, WPARAM>> expected {{WM_KEYDOWN, 0xBA}, {WM_CHAR, 0x0436}, {WM_KEYUP, 0xBA},
        {WM_KEYDOWN, VK_RETURN}, {WM_CHAR, 13}, {WM_KEYUP, VK_RETURN}};
    EXPECT_EQ(got, expected);
    const LoggedMessage* up = Find(Child, WM_KEYUP);
    EXPECT_TRUE(up->LParam & KF_UP_BIT);
}

TEST_F(Input, AltMakesSystemKeysAndSystemCharacters) {
    SetFocus(Child);
    SetHandler(Child, [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_SYSCHAR) return 0;   // no menu here
        return std::nullopt;
    });
    ClearLog();
    Screen->Press('F', "f", ModAlt);
    Pump();
    const LoggedMessage* down = Find(Child, WM_SYSKEYDOWN);
    ASSERT_NE(down, nullptr);
    EXPECT_TRUE(down->LParam & KF_ALTDOWN_BIT);
    const LoggedMessage* ch = Find(Child, WM_SYSCHAR);
    ASSERT_NE(ch, nullptr);
    EXPECT_EQ(ch->WParam, WPARAM('f'));
    EXPECT_EQ(Count(Child, WM_KEYDOWN), 0);
}

TEST_F(Input, KeyStateFollowsRetrievedMessagesAndAsyncStateFollowsTheDisplay) {
    SetFocus(Child);
    short shiftInHandler = 0;
    SetHandler(Child, [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_KEYDOWN) shiftInHandler = GetKeyState(VK_SHIFT);
        return std::nullopt;
    });
    Screen->KeyDown('A', "A", ModShift);
    EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
    EXPECT_LT(GetAsyncKeyState('A'), 0);
    Pump();
    EXPECT_LT(shiftInHandler, 0);
    Screen->KeyUp('A');
    Pump();
    EXPECT_EQ(GetAsyncKeyState('A'), 0);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    Screen->ButtonDown(MouseButton::Left, 10, 10);
    EXPECT_LT(GetAsyncKeyState(VK_LBUTTON), 0);
    Screen->ButtonUp(MouseButton::Left, 10, 10);
    POINT p {};
    GetCursorPos(&p);
    EXPECT_EQ(p, (POINT {10, 10}));
}

TEST_F(Input, TheWheelGoesToTheFocusAndUpToItsParent) {
    SetFocus(Child);
    ClearLog();
    Screen->Wheel(250, 250, -120);
    Pump();
    const LoggedMessage* child = Find(Child, WM_MOUSEWHEEL);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(child->WParam), -120);
    EXPECT_EQ(child->LParam, MAKELPARAM(250, 250));
    EXPECT_EQ(Count(Parent, WM_MOUSEWHEEL), 1);
}

TEST_F(Input, ClickingAnInactiveWindowActivatesIt) {
    HWND other = Create(WS_POPUP | WS_VISIBLE, 400, 100, 100, 100);
    SetActiveWindow(Parent);
    ClearLog();
    Screen->Click(450, 150);
    Pump();
    EXPECT_EQ(GetActiveWindow(), other);
    const LoggedMessage* activate = Find(other, WM_ACTIVATE);
    ASSERT_NE(activate, nullptr);
    EXPECT_EQ(LOWORD(activate->WParam), WA_CLICKACTIVE);
    EXPECT_EQ(HWND(activate->LParam), Parent);
    EXPECT_EQ(Count(other, WM_MOUSEACTIVATE), 1);
    EXPECT_EQ(Count(other, WM_LBUTTONDOWN), 1);
}

TEST_F(Input, AWindowThatEatsTheActivatingClickDoesNotGetIt) {
    HWND other = Create(WS_POPUP | WS_VISIBLE, 400, 100, 100, 100);
    SetActiveWindow(Parent);
    SetHandler(other, [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_MOUSEACTIVATE) return MA_NOACTIVATEANDEAT;
        return std::nullopt;
    });
    Screen->Click(450, 150);
    Pump();
    EXPECT_EQ(GetActiveWindow(), Parent);
    EXPECT_EQ(Count(other, WM_LBUTTONDOWN), 0);
    EXPECT_EQ(Count(other, WM_LBUTTONUP), 1);
}

TEST_F(Input, AWindowDestroyedByItsOwnClickLosesTheRestOfTheClickQuietly) {
    SetHandler(Child, [](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_LBUTTONDOWN) DestroyWindow(h);
        return std::nullopt;
    });
    SetCapture(Child);
    Screen->Click(120, 120);
    Pump();
    EXPECT_FALSE(IsWindow(Child));
    EXPECT_EQ(Count(Child, WM_LBUTTONUP), 0);
    EXPECT_EQ(GetCapture(), nullptr);
    Screen->Click(120, 120);   // now on the parent
    Pump();
    EXPECT_EQ(Count(Parent, WM_LBUTTONDOWN), 1);
}

}   // namespace

}

// Tests of the up-down control: steps and their notifications, range and wrap, the buddy, keys, auto-repeat.
#include "support/UserTestSupport.h"

#include "platform/user/Input.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/UpDown.h"

#include <vector>

using namespace korvex::user;
using namespace korvex::user::test;

namespace {

struct UpDownScroll {
    UINT Msg;
    WORD Code;
    int Pos;
};

class UpDownTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        RegisterCommonControlClasses();
        Parent = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200);
        SetHandler(Parent, [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg == WM_NOTIFY) {
                auto* nm = reinterpret_cast<NMUPDOWN*>(lParam);
                if (nm->hdr.code == UDN_DELTAPOS) {
                    Deltas.push_back({nm->iPos, nm->iDelta});
                    if (Veto) return 1;
                    if (ReplaceDelta) nm->iDelta = *ReplaceDelta;
                }
                return 0;
            }
            if (msg == WM_VSCROLL || msg == WM_HSCROLL) {
                Scrolls.push_back({msg, LOWORD(wParam), std::int16_t(HIWORD(wParam))});
                return 0;
            }
            return std::nullopt;
        });
    }

    HWND MakeUpDown(DWORD style, int min, int max, int pos) {
        HWND ud = CreateWindowEx(
            0, UPDOWN_CLASS, "", WS_CHILD | WS_VISIBLE | style, 10, 10, 20, 40, Parent, ChildId(7), nullptr, nullptr);
        SendMessage(ud, UDM_SETRANGE32, WPARAM(min), max);
        SendMessage(ud, UDM_SETPOS32, 0, pos);
        Pump();
        return ud;
    }

    POINT ScreenPoint(HWND hwnd, int x, int y) {
        POINT p {x, y};
        ClientToScreen(hwnd, &p);
        return p;
    }

    void Click(HWND hwnd, int x, int y) {
        POINT p = ScreenPoint(hwnd, x, y);
        Screen->Click(p.x, p.y);
        Pump();
    }

    int Pos(HWND ud) { return int(SendMessage(ud, UDM_GETPOS32, 0, 0)); }

    HWND Parent = nullptr;
    std::vector<std::pair<int, int>> Deltas;
    std::vector<UpDownScroll> Scrolls;
    bool Veto = false;
    std::optional<int> ReplaceDelta;
};

TEST_F(UpDownTest, TopArrowStepsUpAndTellsTheParentBeforeAndAfter) {
    HWND ud = MakeUpDown(0, 0, 10, 5);
    Click(ud, 10, 5);
    EXPECT_EQ(Pos(ud), 6);
    ASSERT_EQ(Deltas.size(), 1u);
    EXPECT_EQ(Deltas[0], std::make_pair(5, 1));
    ASSERT_EQ(Scrolls.size(), 2u);
    EXPECT_EQ(Scrolls[0].Msg, WM_VSCROLL);
    EXPECT_EQ(Scrolls[0].Code, SB_THUMBPOSITION);
    EXPECT_EQ(Scrolls[0].Pos, 6);
    EXPECT_EQ(Scrolls[1].Code, SB_ENDSCROLL);
}

TEST_F(UpDownTest, BottomArrowStepsDown) {
    HWND ud = MakeUpDown(0, 0, 10, 5);
    Click(ud, 10, 35);
    EXPECT_EQ(Pos(ud), 4);
    EXPECT_EQ(Deltas.at(0).second, -1);
}

TEST_F(UpDownTest, HorizontalControlStepsRightUpAndSendsHScroll) {
    HWND ud = MakeUpDown(UDS_HORZ, 0, 10, 5);
    Click(ud, 15, 20);
    EXPECT_EQ(Pos(ud), 6);
    ASSERT_FALSE(Scrolls.empty());
    EXPECT_EQ(Scrolls[0].Msg, WM_HSCROLL);
    Click(ud, 2, 20);
    EXPECT_EQ(Pos(ud), 5);
}

TEST_F(UpDownTest, AVetoedStepKeepsThePositionAndSendsNoScroll) {
    HWND ud = MakeUpDown(0, 0, 10, 5);
    Veto = true;
    Click(ud, 10, 5);
    EXPECT_EQ(Pos(ud), 5);
    EXPECT_EQ(Deltas.size(), 1u);
    ASSERT_EQ(Scrolls.size(), 1u);
    EXPECT_EQ(Scrolls[0].Code, SB_ENDSCROLL);
}

TEST_F(UpDownTest, TheParentMayChangeTheStep) {
    HWND ud = MakeUpDown(0, 0, 100, 5);
    ReplaceDelta = 10;
    Click(ud, 10, 5);
    EXPECT_EQ(Pos(ud), 15);
}

TEST_F(UpDownTest, StopsAtTheLimitsWithoutWrap) {
    HWND ud = MakeUpDown(0, 0, 3, 3);
    Click(ud, 10, 5);
    EXPECT_EQ(Pos(ud), 3);
    ASSERT_EQ(Scrolls.size(), 1u);   // only the end of the press
}

TEST_F(UpDownTest, WrapGoesOnFromTheOtherEnd) {
    HWND ud = MakeUpDown(UDS_WRAP, 0, 3, 3);
    Click(ud, 10, 5);
    EXPECT_EQ(Pos(ud), 0);
    Click(ud, 10, 35);
    EXPECT_EQ(Pos(ud), 3);
}

TEST_F(UpDownTest, AnInvertedRangeStepsTheTopArrowDown) {
    HWND ud = MakeUpDown(0, 10, 0, 5);
    Click(ud, 10, 5);
    EXPECT_EQ(Pos(ud), 4);
}

TEST_F(UpDownTest, PositionsAreClampedIntoTheRange) {
    HWND ud = MakeUpDown(0, -5, 5, 0);
    SendMessage(ud, UDM_SETPOS32, 0, 99);
    EXPECT_EQ(Pos(ud), 5);
    SendMessage(ud, UDM_SETRANGE32, 0, 2);
    EXPECT_EQ(Pos(ud), 2);
    int lo = 0, hi = 0;
    SendMessage(ud, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 2);
}

TEST_F(UpDownTest, HoldingAnArrowRepeatsAfterTheDelayThenEveryInterval) {
    HWND ud = MakeUpDown(0, 0, 100, 0);
    POINT p = ScreenPoint(ud, 10, 5);
    Screen->MoveMouse(p.x, p.y);
    Screen->ButtonDown(MouseButton::Left, p.x, p.y);
    Pump();
    EXPECT_EQ(Pos(ud), 1);
    Advance(UpDownRepeatDelay - 50);
    EXPECT_EQ(Pos(ud), 1);
    Advance(60);
    EXPECT_EQ(Pos(ud), 2);
    Advance(UpDownRepeatInterval + 5);
    EXPECT_EQ(Pos(ud), 3);
    Screen->ButtonUp(MouseButton::Left, p.x, p.y);
    Pump();
    Advance(1000);
    EXPECT_EQ(Pos(ud), 3);
}

TEST_F(UpDownTest, HoldingLongerAcceleratesTheSteps) {
    HWND ud = MakeUpDown(0, 0, 10000, 0);
    UDACCEL accel[2] = {{0, 1}, {1, 10}};
    SendMessage(ud, UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(accel));
    POINT p = ScreenPoint(ud, 10, 5);
    Screen->MoveMouse(p.x, p.y);
    Screen->ButtonDown(MouseButton::Left, p.x, p.y);
    Pump();
    for (int i = 0; i < 12; ++i)
        Advance(100);
    int before = Pos(ud);
    Advance(UpDownRepeatInterval + 5);
    EXPECT_EQ(Pos(ud) - before, 10);
    Screen->ButtonUp(MouseButton::Left, p.x, p.y);
    Pump();
}

TEST_F(UpDownTest, MovingOffTheHeldArrowPausesTheRepeat) {
    HWND ud = MakeUpDown(0, 0, 100, 0);
    POINT p = ScreenPoint(ud, 10, 5);
    Screen->MoveMouse(p.x, p.y);
    Screen->ButtonDown(MouseButton::Left, p.x, p.y);
    Pump();
    POINT away = ScreenPoint(ud, 100, 100);
    Screen->MoveMouse(away.x, away.y);
    Pump();
    Advance(1000);
    EXPECT_EQ(Pos(ud), 1);
    Screen->ButtonUp(MouseButton::Left, away.x, away.y);
    Pump();
}

class UpDownBuddyTest : public UpDownTest {
protected:
    void SetUp() override {
        UpDownTest::SetUp();
        Buddy = Create(WS_CHILD | WS_VISIBLE, 100, 20, 80, 21, Parent);
    }
    HWND Buddy = nullptr;
};

TEST_F(UpDownBuddyTest, SetBuddyIntShowsThePositionWithThousands) {
    HWND ud = MakeUpDown(UDS_SETBUDDYINT, 0, 100000, 0);
    SendMessage(ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Buddy), 0);
    SendMessage(ud, UDM_SETPOS32, 0, 12345);
    EXPECT_EQ(GetWindowText(Buddy), "12,345");
    SetWindowLongPtr(ud, GWL_STYLE, GetWindowLongPtr(ud, GWL_STYLE) | UDS_NOTHOUSANDS);
    SendMessage(ud, UDM_SETPOS32, 0, 1234);
    EXPECT_EQ(GetWindowText(Buddy), "1234");
}

TEST_F(UpDownBuddyTest, TheBuddysTextIsReadBeforeEachStep) {
    HWND ud = MakeUpDown(UDS_SETBUDDYINT, 0, 100000, 0);
    SendMessage(ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Buddy), 0);
    SetWindowText(Buddy, "1,999");
    Click(ud, 10, 5);
    EXPECT_EQ(Pos(ud), 2000);
    EXPECT_EQ(GetWindowText(Buddy), "2,000");
}

TEST_F(UpDownBuddyTest, TextThatIsNoNumberIsReportedAsAnError) {
    HWND ud = MakeUpDown(UDS_SETBUDDYINT, 0, 100, 7);
    SendMessage(ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Buddy), 0);
    for (const char* text : {"abc", "", "12x", "-", "99999999999999"}) {
        SetWindowText(Buddy, text);
        bool error = false;
        EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 7) << text;
        EXPECT_TRUE(error) << text;
        EXPECT_NE(HIWORD(std::uintptr_t(SendMessage(ud, UDM_GETPOS, 0, 0))), 0) << text;
    }
    SetWindowText(Buddy, "150");
    bool error = true;
    EXPECT_EQ(SendMessage(ud, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 100);
    EXPECT_FALSE(error);
}

TEST_F(UpDownBuddyTest, AlignRightTakesItsWidthFromTheBuddy) {
    HWND ud = MakeUpDown(UDS_ALIGNRIGHT, 0, 10, 0);
    SendMessage(ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Buddy), 0);
    RECT b = WindowRect(Buddy), u = WindowRect(ud);
    EXPECT_EQ(b.right - b.left, 60);
    EXPECT_EQ(u.left, b.right);
    EXPECT_EQ(u.top, b.top);
    EXPECT_EQ(u.bottom - u.top, 21);
}

TEST_F(UpDownBuddyTest, ArrowKeysInTheBuddyStep) {
    HWND ud = MakeUpDown(UDS_ARROWKEYS | UDS_SETBUDDYINT, 0, 10, 5);
    SendMessage(ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Buddy), 0);
    SendMessage(Buddy, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(Pos(ud), 6);
    SendMessage(Buddy, WM_KEYDOWN, VK_DOWN, 0);
    SendMessage(Buddy, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(Pos(ud), 4);
    SendMessage(Buddy, WM_KEYUP, VK_DOWN, 0);
    EXPECT_EQ(Scrolls.back().Code, SB_ENDSCROLL);
}

TEST_F(UpDownBuddyTest, WithoutArrowKeysTheBuddyKeepsItsKeys) {
    HWND ud = MakeUpDown(UDS_SETBUDDYINT, 0, 10, 5);
    SendMessage(ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Buddy), 0);
    ClearLog();
    SendMessage(Buddy, WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(Pos(ud), 5);
    EXPECT_EQ(Count(Buddy, WM_KEYDOWN), 1);   // reached the buddy's own procedure
}

TEST_F(UpDownBuddyTest, ABuddyDestroyedFirstIsForgotten) {
    HWND ud = MakeUpDown(UDS_SETBUDDYINT | UDS_ARROWKEYS, 0, 10, 5);
    SendMessage(ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Buddy), 0);
    DestroyWindow(Buddy);
    EXPECT_EQ(SendMessage(ud, UDM_GETBUDDY, 0, 0), 0);
    Click(ud, 10, 5);
    EXPECT_EQ(Pos(ud), 6);
}

TEST_F(UpDownBuddyTest, ReleasingTheBuddyRestoresItsProcedure) {
    LONG_PTR before = GetWindowLongPtr(Buddy, GWL_WNDPROC);
    HWND ud = MakeUpDown(UDS_ARROWKEYS, 0, 10, 5);
    SendMessage(ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Buddy), 0);
    EXPECT_NE(GetWindowLongPtr(Buddy, GWL_WNDPROC), before);
    DestroyWindow(ud);
    EXPECT_EQ(GetWindowLongPtr(Buddy, GWL_WNDPROC), before);
}

TEST_F(UpDownBuddyTest, AutoBuddyTakesThePreviousSibling) {
    HWND ud = CreateWindowEx(0, UPDOWN_CLASS, "", WS_CHILD | WS_VISIBLE | UDS_AUTOBUDDY | UDS_SETBUDDYINT, 0, 0, 16, 21,
        Parent, ChildId(8), nullptr, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(ud, UDM_GETBUDDY, 0, 0)), Buddy);
}

TEST(UpDownClass, RegistersOnceAndAgainWithoutFailing) {
    InitMessageQueue();
    EXPECT_TRUE(RegisterUpDownClass());
    EXPECT_TRUE(RegisterUpDownClass());
    INITCOMMONCONTROLSEX bad;
    bad.dwSize = 3;
    EXPECT_FALSE(InitCommonControlsEx(&bad));
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
    ShutdownMessageQueue();
}

}

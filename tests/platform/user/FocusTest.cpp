// Focus and activation: the messages with the other window, application activation, and where they go on hiding.
#include "support/UserTestSupport.h"

#include "platform/user/Focus.h"
#include "platform/user/WinPos.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

namespace {

using Focus = UserTest;

const LoggedMessage* Last(const std::vector<LoggedMessage>& log, UINT msg) {
    for (auto it = log.rbegin(); it != log.rend(); ++it)
        if (it->Msg == msg) return &*it;
    return nullptr;
}

TEST_F(Focus, MovingTheFocusTellsBothWindowsAboutTheOther) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND a = Create(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
    HWND b = Create(WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, top);
    SetFocus(a);
    ClearLog();
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_EQ(GetFocus(), b);
    auto la = Log(a);
    auto lb = Log(b);
    ASSERT_EQ(la.size(), 1u);
    EXPECT_EQ(la[0].Msg, WM_KILLFOCUS);
    EXPECT_EQ(HWND(la[0].WParam), b);
    ASSERT_EQ(lb.size(), 1u);
    EXPECT_EQ(lb[0].Msg, WM_SETFOCUS);
    EXPECT_EQ(HWND(lb[0].WParam), a);
    EXPECT_EQ(SetFocus(nullptr), b);
    EXPECT_EQ(Log(b).back().Msg, WM_KILLFOCUS);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(Focus, FocusingAChildActivatesItsTopLevelWindowFirst) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, 0, TestClass);
    HWND child = Create(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
    SetActiveWindow(nullptr);
    ClearLog();
    SetFocus(child);
    EXPECT_EQ(GetActiveWindow(), top);
    std::vector<UINT> order;
    for (const auto& m : Log())
        if (m.Msg == WM_ACTIVATEAPP || m.Msg == WM_ACTIVATE || m.Msg == WM_SETFOCUS) order.push_back(m.Msg);
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order.front(), WM_ACTIVATEAPP);
    EXPECT_EQ(order.back(), WM_SETFOCUS);
    EXPECT_EQ(GetFocus(), child);
}

TEST_F(Focus, ActivationTellsTheOldAndTheNewWindowAboutEachOther) {
    HWND one = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    HWND two = Create(WS_POPUP | WS_VISIBLE, 100, 0, 50, 50);
    SetActiveWindow(one);
    ClearLog();
    EXPECT_EQ(SetActiveWindow(two), one);
    auto l1 = Log(one);
    const LoggedMessage* nc = Last(l1, WM_NCACTIVATE);
    ASSERT_NE(nc, nullptr);
    EXPECT_EQ(nc->WParam, 0u);
    const LoggedMessage* off = Last(l1, WM_ACTIVATE);
    ASSERT_NE(off, nullptr);
    EXPECT_EQ(LOWORD(off->WParam), WA_INACTIVE);
    EXPECT_EQ(HWND(off->LParam), two);
    auto l2 = Log(two);
    const LoggedMessage* on = Last(l2, WM_ACTIVATE);
    ASSERT_NE(on, nullptr);
    EXPECT_EQ(LOWORD(on->WParam), WA_ACTIVE);
    EXPECT_EQ(HWND(on->LParam), one);
    EXPECT_EQ(Last(l2, WM_NCACTIVATE)->WParam, 1u);
    EXPECT_EQ(GetFocus(), two);   // the default WM_ACTIVATE focuses the window
    EXPECT_EQ(Count(one, WM_ACTIVATEAPP), 0);   // the application stayed active
}

TEST_F(Focus, LosingTheDisplayFocusDeactivatesTheApplication) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    SetActiveWindow(w);
    EXPECT_TRUE(IsApplicationActive());
    ClearLog();
    Screen->FocusSurface(0);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_FALSE(IsApplicationActive());
    auto log = Log(w);
    const LoggedMessage* app = Last(log, WM_ACTIVATEAPP);
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->WParam, 0u);
    Screen->FocusSurface(Screen->StackingOrder().back());
    EXPECT_EQ(GetActiveWindow(), w);
}

TEST_F(Focus, HidingTheFocusGivesItToTheParentAndDisablingTakesItAway) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = Create(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
    SetFocus(child);
    ShowWindow(child, SW_HIDE);
    EXPECT_EQ(GetFocus(), top);
    ShowWindow(child, SW_SHOW);
    SetFocus(child);
    EnableWindow(child, false);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(SetFocus(child), nullptr);   // disabled windows take no focus
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(Focus, AChildHiddenByItsPlacementKeepsTheFocusUntilAnotherTakesIt) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND box = Create(WS_CHILD | WS_VISIBLE, 0, 0, 40, 40, top);
    HWND inner = Create(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, box);
    HWND other = Create(WS_CHILD | WS_VISIBLE, 50, 0, 10, 10, top);
    const UINT still = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    for (HWND hidden : {inner, box}) {
        SetFocus(inner);
        ClearLog();
        SetWindowPos(hidden, nullptr, 0, 0, 0, 0, still | SWP_HIDEWINDOW);
        EXPECT_FALSE(IsWindowVisible(inner));
        EXPECT_EQ(GetFocus(), inner);
        EXPECT_EQ(Count(inner, WM_KILLFOCUS), 0);
        SetWindowPos(hidden, nullptr, 0, 0, 0, 0, still | SWP_SHOWWINDOW);
        EXPECT_EQ(GetFocus(), inner);
        SetWindowPos(hidden, nullptr, 0, 0, 0, 0, still | SWP_HIDEWINDOW);
        SetFocus(other);
        EXPECT_EQ(GetFocus(), other);
        EXPECT_EQ(Count(inner, WM_KILLFOCUS), 1);
        SetWindowPos(hidden, nullptr, 0, 0, 0, 0, still | SWP_SHOWWINDOW);
    }
    SetFocus(inner);
    ShowWindow(box, SW_HIDE);   // ShowWindow hands it to the hidden window's parent
    EXPECT_EQ(GetFocus(), top);
}

TEST_F(Focus, DestroyingTheFocusLeavesNoStaleFocus) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = Create(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
    SetFocus(child);
    DestroyWindow(child);
    EXPECT_NE(GetFocus(), child);
    EXPECT_TRUE(GetFocus() == nullptr || GetFocus() == top);
}

TEST_F(Focus, HidingTheActiveWindowActivatesItsOwner) {
    HWND owner = Create(WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0, 100, 100);
    HWND dialog = Create(WS_POPUP | WS_VISIBLE | WS_CAPTION, 20, 20, 50, 50, owner);
    SetActiveWindow(dialog);
    ShowWindow(dialog, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), owner);
    SetActiveWindow(owner);
    DestroyWindow(owner);
    EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(Focus, ShowingWithoutActivationLeavesTheActiveWindowAlone) {
    HWND main = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    SetActiveWindow(main);
    HWND hint = Create(WS_POPUP, 10, 10, 30, 10, main);
    ShowWindow(hint, SW_SHOWNOACTIVATE);
    EXPECT_EQ(GetActiveWindow(), main);
    SetWindowPos(hint, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    EXPECT_EQ(GetActiveWindow(), main);
}

TEST_F(Focus, SetForegroundWindowActivatesAndAsksTheDisplay) {
    HWND one = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    HWND two = Create(WS_POPUP | WS_VISIBLE, 100, 0, 50, 50);
    SetActiveWindow(two);
    EXPECT_TRUE(SetForegroundWindow(one));
    EXPECT_EQ(GetForegroundWindow(), one);
    EXPECT_EQ(Screen->ActiveSurface(), Screen->StackingOrder().back());
}

// A modal window minimized leaves its disabled owner's window no way in: a press there brings it back.
TEST_F(Focus, APressOnAWindowDisabledByAMinimizedModalWindowRestoresAndActivatesIt) {
    HWND application = Create(WS_POPUP, 0, 0, 0, 0);   // the hidden owner of every form
    HWND main = Create(WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0, 200, 150, application);
    HWND hint = Create(WS_POPUP | WS_VISIBLE, 300, 300, 40, 20, application, WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    HWND history = Create(WS_POPUP | WS_VISIBLE | WS_CAPTION, 220, 0, 150, 100, application);
    HWND other = Create(WS_POPUP | WS_VISIBLE | WS_CAPTION, 400, 0, 50, 50);   // another owner's: not waited for
    SetActiveWindow(history);
    EnableWindow(main, false);
    ShowWindow(history, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(history));
    SetActiveWindow(other);
    Screen->Click(100, 100);
    Pump();
    EXPECT_FALSE(IsIconic(history));
    EXPECT_EQ(GetActiveWindow(), history);
    EXPECT_TRUE(IsWindowVisible(hint));
    EXPECT_EQ(Count(main, WM_LBUTTONDOWN), 0);
    EXPECT_EQ(Count(main, WM_NCLBUTTONDOWN), 0);
    // Not minimized but behind: raised and activated as well.
    SetActiveWindow(other);
    Screen->Click(100, 100);
    Pump();
    EXPECT_EQ(GetActiveWindow(), history);
}

}   // namespace

}

// Window positions: SetWindowPos messages and flags, z-order, showing, minimizing and maximizing, mapping.
#include "support/UserTestSupport.h"

#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

namespace {

using WinPos = UserTest;

std::vector<UINT> Only(const std::vector<UINT>& all, std::initializer_list<UINT> keep) {
    std::vector<UINT> out;
    for (UINT m : all)
        if (std::find(keep.begin(), keep.end(), m) != keep.end()) out.push_back(m);
    return out;
}

TEST_F(WinPos, ResizingSendsChangingCalcSizeChangedThenMoveAndSize) {
    HWND w = Create(WS_POPUP, 10, 10, 50, 50);
    ClearLog();
    SetWindowPos(w, nullptr, 20, 30, 60, 70, SWP_NOZORDER | SWP_NOACTIVATE);
    auto order = Only(Messages(w), {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE});
    EXPECT_EQ(order, (std::vector<UINT> {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
    EXPECT_EQ(WindowRect(w), (RECT {20, 30, 80, 100}));
    auto log = Log(w);
    EXPECT_EQ(log.back().LParam, MAKELPARAM(60, 70));
}

TEST_F(WinPos, AMoveAloneSendsNoCalcSizeNorSize) {
    HWND w = Create(WS_POPUP, 10, 10, 50, 50);
    ClearLog();
    SetWindowPos(w, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Count(w, WM_NCCALCSIZE), 0);
    EXPECT_EQ(Count(w, WM_SIZE), 0);
    EXPECT_EQ(Count(w, WM_MOVE), 1);
    ClearLog();
    SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(Count(w, WM_NCCALCSIZE), 1);
    EXPECT_EQ(Count(w, WM_MOVE), 0);
    ClearLog();
    SetWindowPos(w, nullptr, 0, 0, 90, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOSENDCHANGING);
    EXPECT_EQ(Count(w, WM_WINDOWPOSCHANGING), 0);
    EXPECT_EQ(Count(w, WM_WINDOWPOSCHANGED), 1);
}

TEST_F(WinPos, TheReceiverOfChangingMayVetoTheMove) {
    HWND w = Create(WS_POPUP, 10, 10, 50, 50);
    SetHandler(w, [](HWND, UINT m, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
        if (m == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lp)->flags |= SWP_NOMOVE;
        return std::nullopt;
    });
    MoveWindow(w, 300, 300, 50, 50, true);
    EXPECT_EQ(WindowRect(w).left, 10);
}

TEST_F(WinPos, ZOrderFollowsTopBottomAndInsertAfterWithTopmostAbove) {
    HWND a = Create(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    HWND b = Create(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    HWND c = Create(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    EXPECT_EQ(GetTopWindow(nullptr), c);
    SetWindowPos(c, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetTopWindow(nullptr), b);
    SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(GetWindowExStyle(a) & WS_EX_TOPMOST);
    SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetTopWindow(nullptr), a);   // topmost stays above
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    SetWindowPos(c, a, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), c);
    // The display stacks the surfaces the same way (bottom first).
    Pump();
    auto stack = Screen->StackingOrder();
    ASSERT_EQ(stack.size(), 3u);
}

// A child raised or lowered in place repaints only what the restack uncovers: itself where a sibling it passed
// upwards covered it, a sibling it passed downwards where that one overlaps it, nothing past siblings apart.
TEST_F(WinPos, ARestackedChildRepaintsOnlyWhatItUncovers) {
    HWND parent = Create(WS_POPUP | WS_VISIBLE, 0, 0, 200, 100);
    HWND a = Create(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent);
    HWND apart = Create(WS_CHILD | WS_VISIBLE, 120, 0, 50, 50, parent);
    HWND over = Create(WS_CHILD | WS_VISIBLE, 25, 25, 50, 50, parent);
    auto settle = [&] {
        ASSERT_TRUE(Pump());
        RECT r {};
        for (HWND h : {parent, a, apart, over}) ASSERT_FALSE(GetUpdateRect(h, &r, false));
    };
    auto dirty = [](HWND h) {
        RECT r {};
        return GetUpdateRect(h, &r, false);
    };
    const UINT inPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, inPlace);   // from the top: over, apart, a
    SetWindowPos(over, HWND_TOP, 0, 0, 0, 0, inPlace);
    ASSERT_EQ(GetWindow(parent, GW_CHILD), over);
    settle();
    SetWindowPos(apart, HWND_TOP, 0, 0, 0, 0, inPlace);   // passes `over`, which lies elsewhere
    EXPECT_FALSE(dirty(apart));
    EXPECT_FALSE(dirty(over));
    EXPECT_FALSE(dirty(parent));
    settle();
    SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, inPlace);   // passes both: `over` covered part of it
    EXPECT_TRUE(dirty(a));
    EXPECT_FALSE(dirty(apart));
    EXPECT_FALSE(dirty(over));
    settle();
    SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, inPlace);   // `over` now shows where it overlaps `a`
    EXPECT_TRUE(dirty(over));
    EXPECT_FALSE(dirty(apart));
    EXPECT_EQ(GetWindow(parent, GW_CHILD), apart);
}

TEST_F(WinPos, ShowWindowAnnouncesChangesAndReportsThePreviousVisibility) {
    HWND w = Create(WS_POPUP, 0, 0, 10, 10);
    ClearLog();
    EXPECT_FALSE(ShowWindow(w, SW_SHOWNOACTIVATE));
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(Log(w).front().Msg, WM_SHOWWINDOW);
    EXPECT_EQ(Log(w).front().WParam, 1u);
    EXPECT_TRUE(ShowWindow(w, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_FALSE(ShowWindow(w, SW_HIDE));
    EXPECT_EQ(Count(w, WM_SHOWWINDOW), 2);
}

TEST_F(WinPos, ChildrenOfHiddenParentsAreNotVisible) {
    HWND parent = Create(WS_POPUP, 0, 0, 50, 50);
    HWND child = Create(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent);
    EXPECT_FALSE(IsWindowVisible(child));
    ShowWindow(parent, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(child));
}

TEST_F(WinPos, MinimizingHidesOwnedWindowsAndRestoringBringsThemBack) {
    HWND main = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200);
    HWND owned = Create(WS_POPUP | WS_VISIBLE, 60, 60, 50, 50, main);
    ClearLog();
    ShowWindow(main, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(main));
    const auto mainLog = Log(main);
    auto size = std::find_if(mainLog.begin(), mainLog.end(), [](auto& m) { return m.Msg == WM_SIZE; });
    ASSERT_NE(size, mainLog.end());
    EXPECT_EQ(size->WParam, SIZE_MINIMIZED);
    auto ownedLog = Log(owned);
    ASSERT_FALSE(ownedLog.empty());
    EXPECT_EQ(ownedLog.front().Msg, WM_SHOWWINDOW);
    EXPECT_EQ(ownedLog.front().WParam, 0u);
    EXPECT_EQ(ownedLog.front().LParam, SW_PARENTCLOSING);
    EXPECT_FALSE(IsWindowVisible(owned));

    ClearLog();
    ShowWindow(main, SW_RESTORE);
    EXPECT_FALSE(IsIconic(main));
    EXPECT_EQ(WindowRect(main), (RECT {50, 50, 350, 250}));
    EXPECT_TRUE(IsWindowVisible(owned));
    ownedLog = Log(owned);
    auto shown = std::find_if(ownedLog.begin(), ownedLog.end(), [](auto& m) { return m.Msg == WM_SHOWWINDOW; });
    ASSERT_NE(shown, ownedLog.end());
    EXPECT_EQ(shown->WParam, 1u);
    EXPECT_EQ(shown->LParam, SW_PARENTOPENING);
}

TEST_F(WinPos, MaximizingFillsTheWorkAreaUnlessMinMaxInfoSaysOtherwise) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 50, 50, 300, 200);
    ShowWindow(w, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(w));
    EXPECT_EQ(WindowRect(w), GetWorkArea());
    EXPECT_EQ(GetWorkArea(), (RECT {0, 0, 1024, 738}));
    WINDOWPLACEMENT placement;
    ASSERT_TRUE(GetWindowPlacement(w, &placement));
    EXPECT_EQ(placement.showCmd, UINT(SW_SHOWMAXIMIZED));
    EXPECT_EQ(placement.rcNormalPosition, (RECT {50, 50, 350, 250}));
    ShowWindow(w, SW_RESTORE);
    EXPECT_EQ(WindowRect(w), (RECT {50, 50, 350, 250}));

    SetHandler(w, [](HWND, UINT m, WPARAM, LPARAM lp) -> std::optional<LRESULT> {
        if (m != WM_GETMINMAXINFO) return std::nullopt;
        auto* info = reinterpret_cast<MINMAXINFO*>(lp);
        info->ptMaxPosition = POINT {10, 20};
        info->ptMaxSize = POINT {500, 400};
        return 0;
    });
    ClearLog();
    ShowWindow(w, SW_MAXIMIZE);
    EXPECT_EQ(WindowRect(w), (RECT {10, 20, 510, 420}));
    auto log = Log(w);
    auto size = std::find_if(log.begin(), log.end(), [](auto& m) { return m.Msg == WM_SIZE; });
    ASSERT_NE(size, log.end());
    EXPECT_EQ(size->WParam, SIZE_MAXIMIZED);
}

TEST_F(WinPos, CoordinatesMapThroughNestedClientAreas) {
    HWND top = Create(WS_POPUP, 100, 50, 200, 200);
    HWND mid = Create(WS_CHILD, 10, 20, 100, 100, top);
    HWND leaf = Create(WS_CHILD, 5, 5, 10, 10, mid);
    POINT p {1, 2};
    ClientToScreen(leaf, &p);
    EXPECT_EQ(p, (POINT {116, 77}));
    ScreenToClient(mid, &p);
    EXPECT_EQ(p, (POINT {6, 7}));
    POINT q {0, 0};
    MapWindowPoints(leaf, top, &q, 1);
    EXPECT_EQ(q, (POINT {15, 25}));
    EXPECT_EQ(WindowRect(leaf), (RECT {115, 75, 125, 85}));
    EXPECT_EQ(ClientRect(leaf), (RECT {0, 0, 10, 10}));
}

TEST_F(WinPos, ChildWindowFromPointLooksOnlyAtDirectChildren) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
    HWND mid = Create(WS_CHILD | WS_VISIBLE, 10, 10, 100, 100, top);
    Create(WS_CHILD | WS_VISIBLE, 5, 5, 10, 10, mid);
    HWND hidden = Create(WS_CHILD, 150, 150, 20, 20, top);
    EXPECT_EQ(ChildWindowFromPoint(top, POINT {20, 20}), mid);
    EXPECT_EQ(ChildWindowFromPoint(top, POINT {155, 155}), hidden);
    EXPECT_EQ(ChildWindowFromPointEx(top, POINT {155, 155}, CWP_SKIPINVISIBLE), top);
    EXPECT_EQ(ChildWindowFromPoint(top, POINT {500, 5}), nullptr);
}

TEST_F(WinPos, DeferredPositionsAreAppliedTogether) {
    HWND a = Create(WS_POPUP, 0, 0, 10, 10);
    HWND b = Create(WS_POPUP, 0, 0, 10, 10);
    HDWP info = BeginDeferWindowPos(2);
    info = DeferWindowPos(info, a, nullptr, 5, 5, 10, 10, SWP_NOZORDER);
    info = DeferWindowPos(info, b, nullptr, 7, 7, 10, 10, SWP_NOZORDER);
    EXPECT_EQ(WindowRect(a).left, 0);
    EXPECT_TRUE(EndDeferWindowPos(info));
    EXPECT_EQ(WindowRect(a).left, 5);
    EXPECT_EQ(WindowRect(b).left, 7);
}

TEST_F(WinPos, TheWindowManagersCloseButtonAsksTheWindowToClose) {
    HWND w = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
    Pump();
    Screen->RequestClose(Screen->StackingOrder().back());
    Pump();
    const auto log = Log(w);
    auto cmd = std::find_if(log.begin(), log.end(), [](auto& m) { return m.Msg == WM_SYSCOMMAND; });
    ASSERT_NE(cmd, log.end());
    EXPECT_EQ(cmd->WParam & 0xFFF0, SC_CLOSE);
}

TEST_F(WinPos, TheSurfaceFollowsTheWindow) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 10, 10, 100, 100);
    Pump();
    SurfaceId id = Screen->StackingOrder().back();
    MoveWindow(w, 30, 40, 120, 80, true);
    EXPECT_EQ(Screen->Surface(id)->Options.Bounds, (RECT {30, 40, 150, 120}));
    SetWindowText(w, "Заголовок");
    EXPECT_EQ(Screen->Surface(id)->Options.Title, "Заголовок");
    ShowWindow(w, SW_HIDE);
    EXPECT_FALSE(Screen->Surface(id)->Visible);
    DestroyWindow(w);
    EXPECT_EQ(Screen->Surface(id), nullptr);
}

// Forms are owned by the application's hidden window: the window manager hears that such a window belongs
// above the main one, which takes the task-bar entry of its own.
TEST_F(WinPos, AWindowOwnedByAHiddenOneAsksToStayAboveTheOthersOfTheProgram) {
    HWND application = Create(WS_POPUP, 0, 0, 0, 0);
    HWND main = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, application, WS_EX_APPWINDOW);
    Pump();
    const SurfaceId mainSurface = Screen->StackingOrder().back();
    HWND options = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 150, 80, application);
    Pump();
    const SurfaceId optionsSurface = Screen->StackingOrder().back();
    HWND dialog = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 100, 60, options);
    Pump();
    const SurfaceId dialogSurface = Screen->StackingOrder().back();
    ASSERT_NE(mainSurface, optionsSurface);
    ASSERT_NE(optionsSurface, dialogSurface);
    EXPECT_FALSE(Screen->Surface(mainSurface)->Options.OwnedByHidden);
    EXPECT_TRUE(Screen->Surface(optionsSurface)->Options.OwnedByHidden);
    EXPECT_EQ(Screen->Surface(optionsSurface)->Options.Owner, 0u);
    EXPECT_FALSE(Screen->Surface(dialogSurface)->Options.OwnedByHidden);   // its owner shows: transient for that
    EXPECT_EQ(Screen->Surface(dialogSurface)->Options.Owner, optionsSurface);
    DestroyWindow(dialog);
    DestroyWindow(options);
    DestroyWindow(main);
}

}   // namespace

}

// System commands: the move and size loops, maximizing into the work area, minimizing, restoring, closing.
#include "NonClientFixture.h"

#include "platform/user/Focus.h"
#include "platform/user/Input.h"
#include "platform/user/NonClient.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/VirtualKeys.h"

#include <algorithm>

namespace korvex::user::test {
namespace {

class SysCommand : public NonClientFixture {
protected:
    void SetUp() override {
        NonClientFixture::SetUp();
        Wnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, Start);
        Layout = nc::LayoutOf(Wnd);
        Log.clear();
    }

    POINT CaptionPoint() const {
        return POINT {Start.left + 150, Start.top + (Layout.Caption.top + Layout.Caption.bottom) / 2};
    }

    // Presses at from, moves along the path one step per loop turn, releases at the end.
    void Drag(POINT from, std::vector<POINT> path) {
        Screen->AdvanceTimeMs(1000);   // not a double click with an earlier press
        Screen->MoveMouse(from.x, from.y);
        Screen->ButtonDown(MouseButton::Left, from.x, from.y);
        const POINT last = path.empty() ? from : path.back();
        std::vector<std::function<void()>> steps;
        for (size_t i = 1; i < path.size(); ++i)
            steps.push_back([this, p = path[i]] { Screen->MoveMouse(p.x, p.y); });
        steps.push_back([this, last] { Screen->ButtonUp(MouseButton::Left, last.x, last.y); });
        if (path.empty()) {
            steps.back()();
            steps.clear();
        } else {
            Screen->MoveMouse(path.front().x, path.front().y);
        }
        PlayInLoop(steps);
    }

    std::vector<UINT> LoopMessages() const {
        std::vector<UINT> found;
        for (const Seen& s : Log)
            if (s.Msg == WM_ENTERSIZEMOVE || s.Msg == WM_EXITSIZEMOVE) found.push_back(s.Msg);
        return found;
    }

    const RECT Start = gdi::Bounds(200, 150, 400, 300);
    HWND Wnd = nullptr;
    nc::Layout Layout;
};

// ---------------------------------------------------------------------------------------------------------
// Moving

TEST_F(SysCommand, CaptionDragMovesTheWindowByTheMouseDelta) {
    const POINT p = CaptionPoint();
    Drag(p, {{p.x + 10, p.y + 5}, {p.x + 30, p.y + 20}, {p.x + 50, p.y + 40}});
    EXPECT_EQ(WindowRect(Wnd), Offset(Start, 50, 40));
    EXPECT_EQ(SysCommands(), std::vector<WPARAM> {SC_MOVE});
    EXPECT_EQ(Messages(WM_SYSCOMMAND).front().WParam, SC_DRAGMOVE);
    EXPECT_EQ(LoopMessages(), (std::vector<UINT> {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}));
    EXPECT_EQ(Messages(WM_MOVING).size(), 3u);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(InNonClientLoop());
}

TEST_F(SysCommand, MovingRectangleCanBeChangedByTheWindow) {
    // Keeps the window on a 25-pixel grid.
    OnMessage = [](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg != WM_MOVING) return std::nullopt;
        auto* r = reinterpret_cast<RECT*>(lParam);
        const int dx = (r->left / 25) * 25 - r->left;
        const int dy = (r->top / 25) * 25 - r->top;
        gdi::OffsetRect(r, dx, dy);
        return 1;
    };
    const POINT p = CaptionPoint();
    Drag(p, {{p.x + 37, p.y + 61}});
    EXPECT_EQ(WindowRect(Wnd), gdi::Bounds(225, 200, 400, 300));
}

TEST_F(SysCommand, EscapeCancelsAMoveBackToTheOriginalRectangle) {
    const POINT p = CaptionPoint();
    Screen->MoveMouse(p.x, p.y);
    Screen->ButtonDown(MouseButton::Left, p.x, p.y);
    Screen->MoveMouse(p.x + 70, p.y + 30);
    Screen->KeyDown(VK_ESCAPE);
    Screen->KeyUp(VK_ESCAPE);
    Screen->MoveMouse(p.x + 90, p.y + 50);
    Screen->ButtonUp(MouseButton::Left, p.x + 90, p.y + 50);
    Pump();
    EXPECT_EQ(WindowRect(Wnd), Start);
    EXPECT_EQ(LoopMessages(), (std::vector<UINT> {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SysCommand, ArrowKeysMoveAndEnterAccepts) {
    const POINT p = CaptionPoint();
    Screen->MoveMouse(p.x, p.y);
    Screen->ButtonDown(MouseButton::Left, p.x, p.y);
    Screen->Press(VK_RIGHT);
    Screen->Press(VK_RIGHT);
    Screen->Press(VK_UP);
    Screen->Press(VK_RETURN);
    Pump();
    EXPECT_EQ(WindowRect(Wnd), Offset(Start, 16, -8));
    Screen->ButtonUp(MouseButton::Left, p.x, p.y);
    Pump();
    EXPECT_EQ(WindowRect(Wnd), Offset(Start, 16, -8));
}

TEST_F(SysCommand, DragMoveFromTheClientAreaUsesTheMessagePosition) {
    // The common "drag by the client area" idiom: SC_DRAGMOVE sent without a point.
    OnMessage = [](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg != WM_LBUTTONDOWN) return std::nullopt;
        SendMessage(hwnd, WM_SYSCOMMAND, SC_DRAGMOVE, 0);
        return 0;
    };
    const RECT client = ClientRectOnScreen(Wnd);
    const POINT p {client.left + 50, client.top + 50};
    Drag(p, {{p.x - 20, p.y + 15}});
    EXPECT_EQ(WindowRect(Wnd), Offset(Start, -20, 15));
}

TEST_F(SysCommand, ChildWindowMovesInItsParentsCoordinates) {
    HWND child = Create(WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME, 0, gdi::Bounds(20, 30, 150, 100), Wnd);
    Pump();
    const RECT before = WindowRect(child);
    const nc::Layout l = nc::LayoutOf(child);
    const POINT p {before.left + 60, before.top + (l.Caption.top + l.Caption.bottom) / 2};
    Drag(p, {{p.x + 15, p.y + 25}});
    EXPECT_EQ(WindowRect(child), Offset(before, 15, 25));
    RECT inParent = WindowRect(child);
    MapWindowRect(nullptr, Wnd, &inParent);
    EXPECT_EQ(inParent, gdi::Bounds(35, 55, 150, 100));
}

TEST_F(SysCommand, MaximizedWindowDoesNotMove) {
    ShowWindow(Wnd, SW_MAXIMIZE);
    Pump();
    const RECT maximized = WindowRect(Wnd);
    SendMessage(Wnd, WM_SYSCOMMAND, SC_MOVE, MAKELPARAM(maximized.left + 100, maximized.top + 10));
    EXPECT_EQ(WindowRect(Wnd), maximized);
    EXPECT_TRUE(LoopMessages().empty());
}

// ---------------------------------------------------------------------------------------------------------
// Sizing

TEST_F(SysCommand, BottomRightCornerDragResizes) {
    const POINT corner {Start.right - 1, Start.bottom - 1};
    Drag(corner, {{corner.x + 40, corner.y + 25}});
    EXPECT_EQ(WindowRect(Wnd), (RECT {Start.left, Start.top, Start.right + 40, Start.bottom + 25}));
    EXPECT_EQ(SysCommands(), std::vector<WPARAM> {SC_SIZE});
    EXPECT_EQ(Messages(WM_SYSCOMMAND).front().WParam, SC_SIZE + WMSZ_BOTTOMRIGHT);
    ASSERT_FALSE(Messages(WM_SIZING).empty());
    EXPECT_EQ(Messages(WM_SIZING).front().WParam, WMSZ_BOTTOMRIGHT);
    EXPECT_EQ(ClientRect(Wnd).right, 440 - 2 * GetSystemMetrics(SM_CXSIZEFRAME));
}

TEST_F(SysCommand, LeftEdgeDragStopsAtTheMinimumTrackSize) {
    const POINT edge {Start.left, Start.top + 150};
    Drag(edge, {{edge.x + 390, edge.y}});
    const RECT r = WindowRect(Wnd);
    EXPECT_EQ(r.right, Start.right);   // the opposite edge stays
    EXPECT_EQ(r.Width(), GetSystemMetrics(SM_CXMINTRACK));
    EXPECT_EQ(r.top, Start.top);
    EXPECT_EQ(r.bottom, Start.bottom);
}

TEST_F(SysCommand, TrackSizesFromTheWindowAreHonoured) {
    OnMessage = [](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg != WM_GETMINMAXINFO) return std::nullopt;
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = POINT {250, 200};
        info->ptMaxTrackSize = POINT {450, 320};
        return 0;
    };
    const POINT top {Start.left + 200, Start.top};
    Drag(top, {{top.x, top.y + 200}});
    EXPECT_EQ(WindowRect(Wnd).Height(), 200);
    EXPECT_EQ(WindowRect(Wnd).bottom, Start.bottom);

    const RECT now = WindowRect(Wnd);
    const POINT right {now.right - 1, now.top + 100};
    Drag(right, {{right.x + 300, right.y}});
    EXPECT_EQ(WindowRect(Wnd).Width(), 450);
}

TEST_F(SysCommand, SizingRectangleCanBeChangedByTheWindow) {
    OnMessage = [](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg != WM_SIZING) return std::nullopt;
        auto* r = reinterpret_cast<RECT*>(lParam);
        r->bottom = r->top + r->Width() / 2;   // keeps 2:1
        return 1;
    };
    const POINT edge {Start.right - 1, Start.top + 150};
    Drag(edge, {{edge.x + 100, edge.y}});
    EXPECT_EQ(WindowRect(Wnd), gdi::Bounds(Start.left, Start.top, 500, 250));
}

TEST_F(SysCommand, EscapeCancelsASizeAndDragWithoutMovesChangesNothing) {
    const POINT corner {Start.right - 1, Start.bottom - 1};
    Screen->MoveMouse(corner.x, corner.y);
    Screen->ButtonDown(MouseButton::Left, corner.x, corner.y);
    Screen->MoveMouse(corner.x + 50, corner.y + 50);
    Screen->Press(VK_ESCAPE);
    Screen->ButtonUp(MouseButton::Left, corner.x + 50, corner.y + 50);
    Pump();
    EXPECT_EQ(WindowRect(Wnd), Start);

    Log.clear();
    Drag(corner, {});   // pressed and released on the spot
    EXPECT_EQ(WindowRect(Wnd), Start);
    EXPECT_TRUE(Messages(WM_SIZING).empty());
    EXPECT_EQ(LoopMessages(), (std::vector<UINT> {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}));
}

// A size from the keyboard (the system menu's "Size"): the first arrow of each direction picks that edge and
// moves nothing, later ones move it; Enter accepts.
TEST_F(SysCommand, AKeyboardStartedSizePicksItsEdgesWithTheFirstArrows) {
    for (UINT vk : {VK_LEFT, VK_LEFT, VK_UP, VK_UP, VK_UP, VK_RETURN})
        Screen->Press(vk);
    SendMessage(Wnd, WM_SYSCOMMAND, SC_SIZE, 0);
    Pump();
    EXPECT_EQ(WindowRect(Wnd), gdi::Bounds(Start.left - 8, Start.top - 16, 408, 316));
    const std::vector<Seen> sizing = Messages(WM_SIZING);
    ASSERT_FALSE(sizing.empty());
    EXPECT_EQ(sizing.front().WParam, WPARAM(WMSZ_LEFT));
    EXPECT_EQ(sizing.back().WParam, WPARAM(WMSZ_TOPLEFT));
    // Right and then down: the bottom-right corner; Escape puts the window back.
    const RECT before = WindowRect(Wnd);
    for (UINT vk : {VK_RIGHT, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN})
        Screen->Press(vk);
    SendMessage(Wnd, WM_SYSCOMMAND, SC_SIZE, 0);
    Pump();
    EXPECT_EQ(WindowRect(Wnd), gdi::Bounds(before.left, before.top, 416, 324));
    for (UINT vk : {VK_DOWN, VK_DOWN, VK_ESCAPE})
        Screen->Press(vk);
    SendMessage(Wnd, WM_SYSCOMMAND, SC_SIZE, 0);
    Pump();
    EXPECT_EQ(WindowRect(Wnd), gdi::Bounds(before.left, before.top, 416, 324));
}

TEST_F(SysCommand, WindowWithoutSizingFrameIgnoresScSize) {
    HWND dialog = CreateShown(WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, gdi::Bounds(10, 10, 200, 100));
    Log.clear();
    SendMessage(dialog, WM_SYSCOMMAND, SC_SIZE + WMSZ_RIGHT, MAKELPARAM(209, 50));
    EXPECT_TRUE(LoopMessages().empty());
    EXPECT_EQ(WindowRect(dialog), gdi::Bounds(10, 10, 200, 100));
}

TEST_F(SysCommand, LoopEndsWhenTheCaptureIsTaken) {
    OnMessage = [this](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_MOVING && Messages(WM_MOVING).size() == 1) {
            HWND other = Create(WS_POPUP, 0, gdi::Bounds(0, 0, 10, 10));
            SetCapture(other);
        }
        return std::nullopt;
    };
    const POINT p = CaptionPoint();
    Drag(p, {{p.x + 5, p.y}, {p.x + 25, p.y}});
    EXPECT_EQ(WindowRect(Wnd), Offset(Start, 5, 0));
    EXPECT_EQ(LoopMessages(), (std::vector<UINT> {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}));
    ReleaseCapture();
}

// ---------------------------------------------------------------------------------------------------------
// Maximize, minimize, restore, close

TEST_F(SysCommand, MaximizedBoundsAreTheWorkAreaWithTheFrameOutside) {
    const RECT work = GetWorkArea();
    const int fx = GetSystemMetrics(SM_CXSIZEFRAME);
    const int fy = GetSystemMetrics(SM_CYSIZEFRAME);
    const RECT expected {work.left - fx, work.top - fy, work.right + fx, work.bottom + fy};
    EXPECT_EQ(GetMaximizedBounds(Wnd), expected);

    SendMessage(Wnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(IsZoomed(Wnd));
    EXPECT_EQ(WindowRect(Wnd), expected);
    EXPECT_EQ(ClientRectOnScreen(Wnd).left, work.left);
    EXPECT_EQ(ClientRectOnScreen(Wnd).bottom, work.bottom);

    SendMessage(Wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsZoomed(Wnd));
    EXPECT_EQ(WindowRect(Wnd), Start);
}

TEST_F(SysCommand, SizeMessagesCarryTheStateCodes) {
    SendMessage(Wnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    SendMessage(Wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    SendMessage(Wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(Wnd));
    SendMessage(Wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(Wnd));
    std::vector<WPARAM> codes;
    for (const Seen& s : Messages(WM_SIZE))
        codes.push_back(s.WParam);
    EXPECT_EQ(codes, (std::vector<WPARAM> {SIZE_MAXIMIZED, SIZE_RESTORED, SIZE_MINIMIZED, SIZE_RESTORED}));
    EXPECT_EQ(WindowRect(Wnd), Start);
}

TEST_F(SysCommand, LowFourBitsAreMasked) {
    SendMessage(Wnd, WM_SYSCOMMAND, SC_MAXIMIZE | 0x0002, 0);
    EXPECT_TRUE(IsZoomed(Wnd));
    SendMessage(Wnd, WM_SYSCOMMAND, SC_RESTORE | 0x000F, 0);
    EXPECT_FALSE(IsZoomed(Wnd));
}

TEST_F(SysCommand, RestoreOfANormalWindowChangesNothing) {
    SendMessage(Wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(WindowRect(Wnd), Start);
    EXPECT_TRUE(Messages(WM_SIZE).empty());
}

TEST_F(SysCommand, CloseSendsWmCloseUnlessTheClassForbidsIt) {
    OnMessage = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_CLOSE) return 0;
        return std::nullopt;
    };
    SendMessage(Wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(Messages(WM_CLOSE).size(), 1u);

    HWND fixed = Create(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(0, 0, 100, 100), nullptr, NoCloseClassName);
    Log.clear();
    SendMessage(fixed, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(Messages(WM_CLOSE).empty());
}

TEST_F(SysCommand, UnknownAndMenuCommandsAreHarmless) {
    EXPECT_EQ(SendMessage(Wnd, WM_SYSCOMMAND, SC_KEYMENU, 'F'), 0);
    EXPECT_EQ(SendMessage(Wnd, WM_SYSCOMMAND, SC_TASKLIST, 0), 0);
    EXPECT_EQ(SendMessage(Wnd, WM_SYSCOMMAND, 0x1234, 0), 0);
    EXPECT_EQ(WindowRect(Wnd), Start);
}

// ---------------------------------------------------------------------------------------------------------
// WM_GETMINMAXINFO

TEST_F(SysCommand, DefaultMinMaxInfoAnswersTheFrameOutsideTheWorkArea) {
    MINMAXINFO info = QueryMinMaxInfo(Wnd);
    const RECT work = GetWorkArea();
    const int fx = GetSystemMetrics(SM_CXSIZEFRAME);
    const int fy = GetSystemMetrics(SM_CYSIZEFRAME);
    EXPECT_EQ(info.ptMaxPosition, (POINT {work.left - fx, work.top - fy}));
    EXPECT_EQ(info.ptMaxSize, (POINT {work.Width() + 2 * fx, work.Height() + 2 * fy}));
    EXPECT_EQ(info.ptMinTrackSize, (POINT {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)}));
    EXPECT_GE(info.ptMaxTrackSize.x, info.ptMaxSize.x);
    EXPECT_EQ(SendMessage(Wnd, WM_GETMINMAXINFO, 0, 0), 0);   // a null record is ignored
}

TEST_F(SysCommand, DefaultMinMaxInfoLeavesWhatTheSenderFilledIn) {
    MINMAXINFO info;
    info.ptMaxPosition = POINT {-1, -1};   // as a procedure sets before passing the message on
    info.ptMaxTrackSize = POINT {-1, -1};
    info.ptMaxSize = POINT {10, 10};
    SendMessage(Wnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMaxPosition, (POINT {-1, -1}));
    EXPECT_EQ(info.ptMaxTrackSize, (POINT {-1, -1}));
    EXPECT_EQ(info.ptMaxSize, (POINT {10, 10}));
}

TEST_F(SysCommand, DialogFrameMaximizesWithItsThinnerFrameOutside) {
    HWND dialog = Create(WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, gdi::Bounds(0, 0, 100, 100));
    const RECT work = GetWorkArea();
    const int f = GetSystemMetrics(SM_CXFIXEDFRAME);
    EXPECT_EQ(GetMaximizedBounds(dialog).left, work.left - f);
    HWND bare = Create(WS_POPUP, 0, gdi::Bounds(0, 0, 100, 100));
    EXPECT_EQ(GetMaximizedBounds(bare), work);
}

TEST_F(SysCommand, ChildMaximizesOverItsParentsClientArea) {
    HWND child = Create(WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME, 0, gdi::Bounds(5, 5, 100, 80), Wnd);
    const RECT client = ClientRect(Wnd);
    const int f = GetSystemMetrics(SM_CXSIZEFRAME);
    EXPECT_EQ(GetMaximizedBounds(child), (RECT {-f, -f, client.right + f, client.bottom + f}));
}

TEST_F(SysCommand, QueryMinMaxInfoKeepsTheMaximumAboveTheMinimum) {
    OnMessage = [](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg != WM_GETMINMAXINFO) return std::nullopt;
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = POINT {500, 400};
        info->ptMaxTrackSize = POINT {300, 200};
        return 0;
    };
    const MINMAXINFO info = QueryMinMaxInfo(Wnd);
    EXPECT_EQ(info.ptMaxTrackSize, (POINT {500, 400}));
}

}
}

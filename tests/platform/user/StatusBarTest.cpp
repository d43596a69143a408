// Tests of the status bar and the progress bar: parts, texts, simple mode, alignment, grip; range, steps, fill.
#include "support/UserTestSupport.h"

#include "platform/gdi/Gdi.h"
#include "platform/user/NonClient.h"
#include "platform/user/Painting.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/controls/CommonControls.h"
#include "platform/user/controls/ProgressBar.h"
#include "platform/user/controls/StatusBar.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

using namespace korvex::user;
using namespace korvex::user::test;
namespace gdi = korvex::gdi;

namespace {

class StatusBarTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        RegisterCommonControlClasses();
        Parent = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300);
        SetHandler(Parent, [this](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg == WM_DRAWITEM) {
                Drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
                return 1;
            }
            if (msg == WM_NOTIFY) Codes.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
            return std::nullopt;
        });
    }

    HWND MakeBar(DWORD style = 0) {
        HWND bar = CreateWindowEx(
            0, STATUSCLASSNAME, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, Parent, ChildId(3), nullptr, nullptr);
        Pump();
        return bar;
    }

    std::string Text(HWND bar, int part) {
        LRESULT info = SendMessage(bar, SB_GETTEXTLENGTH, WPARAM(part), 0);
        std::string text(LOWORD(std::uintptr_t(info)), '\0');
        std::vector<char> buffer(text.size() + 1);
        SendMessage(bar, SB_GETTEXT, WPARAM(part), reinterpret_cast<LPARAM>(buffer.data()));
        return std::string(buffer.data());
    }

    void SetParts(HWND bar, std::vector<int> edges) {
        SendMessage(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    }

    RECT PartRect(HWND bar, int part) {
        RECT r {};
        EXPECT_TRUE(SendMessage(bar, SB_GETRECT, WPARAM(part), reinterpret_cast<LPARAM>(&r)));
        return r;
    }

    HWND Parent = nullptr;
    std::vector<DRAWITEMSTRUCT> Drawn;
    std::vector<UINT> Codes;
};

TEST_F(StatusBarTest, SitsAlongTheParentsBottomAndFollowsItsSize) {
    HWND bar = MakeBar();
    RECT pc = ClientRect(Parent);
    RECT r = WindowRect(bar);
    MapWindowRect(nullptr, Parent, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, pc.right);
    EXPECT_EQ(r.bottom, pc.bottom);
    EXPECT_GT(r.bottom - r.top, 10);
    SetWindowPos(Parent, nullptr, 0, 0, 500, 350, SWP_NOMOVE | SWP_NOZORDER);
    SendMessage(bar, WM_SIZE, 0, 0);
    pc = ClientRect(Parent);
    r = WindowRect(bar);
    MapWindowRect(nullptr, Parent, &r);
    EXPECT_EQ(r.right, pc.right);
    EXPECT_EQ(r.bottom, pc.bottom);
}

TEST_F(StatusBarTest, TopStyleSitsAlongTheTopAndNoResizeStaysPut) {
    HWND top = MakeBar(CCS_TOP);
    RECT r = WindowRect(top);
    MapWindowRect(nullptr, Parent, &r);
    EXPECT_EQ(r.top, 0);
    HWND fixed = CreateWindowEx(0, STATUSCLASSNAME, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE, 5, 6, 70, 30, Parent,
        ChildId(4), nullptr, nullptr);
    SendMessage(fixed, WM_SIZE, 0, 0);
    r = WindowRect(fixed);
    MapWindowRect(nullptr, Parent, &r);
    EXPECT_EQ(r, (RECT {5, 6, 75, 36}));
}

TEST_F(StatusBarTest, PartsRunToTheirRightEdgesAndTheLastReachesTheEnd) {
    HWND bar = MakeBar();
    SetParts(bar, {100, 250, -1});
    int count = int(SendMessage(bar, SB_GETPARTS, 0, 0));
    EXPECT_EQ(count, 3);
    int edges[3] {};
    SendMessage(bar, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges));
    EXPECT_EQ(edges[1], 250);
    EXPECT_EQ(edges[2], -1);
    RECT c = ClientRect(bar);
    EXPECT_EQ(PartRect(bar, 0).left, 0);
    EXPECT_EQ(PartRect(bar, 0).right, 100);
    EXPECT_EQ(PartRect(bar, 1).left, 102);
    EXPECT_EQ(PartRect(bar, 1).right, 250);
    EXPECT_EQ(PartRect(bar, 2).right, c.right);
    RECT none;
    EXPECT_FALSE(SendMessage(bar, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&none)));
}

TEST_F(StatusBarTest, PartsPastTheBarsWidthAreEmpty) {
    HWND bar = MakeBar();
    SetParts(bar, {1000, 2000});
    RECT c = ClientRect(bar);
    EXPECT_EQ(PartRect(bar, 0).right, c.right);
    RECT second = PartRect(bar, 1);
    EXPECT_LE(second.right - second.left, 0);
}

TEST_F(StatusBarTest, BadPartCountsAreRefused) {
    HWND bar = MakeBar();
    std::vector<int> many(300, -1);
    EXPECT_FALSE(SendMessage(bar, SB_SETPARTS, many.size(), reinterpret_cast<LPARAM>(many.data())));
    EXPECT_FALSE(SendMessage(bar, SB_SETPARTS, 0, reinterpret_cast<LPARAM>(many.data())));
    EXPECT_FALSE(SendMessage(bar, SB_SETPARTS, 2, 0));
    EXPECT_EQ(SendMessage(bar, SB_GETPARTS, 0, 0), 1);
}

TEST_F(StatusBarTest, TextsKeepTheirTypeAndPartsKeepTheirTextsWhenRedivided) {
    HWND bar = MakeBar();
    SetParts(bar, {100, -1});
    SendMessage(bar, SB_SETTEXT, 0, reinterpret_cast<LPARAM>("Ready"));
    SendMessage(bar, SB_SETTEXT, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>("TOTAL: 3 nodes"));
    EXPECT_EQ(Text(bar, 0), "Ready");
    EXPECT_EQ(Text(bar, 1), "TOTAL: 3 nodes");
    EXPECT_EQ(HIWORD(std::uintptr_t(SendMessage(bar, SB_GETTEXTLENGTH, 1, 0))), SBT_POPOUT);
    SetParts(bar, {50, 120, -1});
    EXPECT_EQ(Text(bar, 1), "TOTAL: 3 nodes");
    EXPECT_FALSE(SendMessage(bar, SB_SETTEXT, 7, reinterpret_cast<LPARAM>("nowhere")));
}

TEST_F(StatusBarTest, SimpleModeShowsItsOwnTextAndTellsTheParent) {
    HWND bar = MakeBar();
    SetParts(bar, {100, -1});
    SendMessage(bar, SB_SETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>("Loading..."));
    SendMessage(bar, SB_SIMPLE, 1, 0);
    EXPECT_TRUE(SendMessage(bar, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(Text(bar, SB_SIMPLEID), "Loading...");
    EXPECT_EQ(PartRect(bar, 0).right, ClientRect(bar).right);
    ASSERT_EQ(Codes.size(), 1u);
    EXPECT_EQ(Codes[0], SBN_SIMPLEMODECHANGE);
    SendMessage(bar, SB_SIMPLE, 1, 0);
    EXPECT_EQ(Codes.size(), 1u);   // no change, no notification
    SendMessage(bar, SB_SIMPLE, 0, 0);
    EXPECT_EQ(PartRect(bar, 0).right, 100);
}

TEST_F(StatusBarTest, OwnerDrawnPartsAreDrawnByTheParentWithTheirData) {
    HWND bar = MakeBar();
    SetParts(bar, {100, -1});
    SendMessage(bar, SB_SETTEXT, 1 | SBT_OWNERDRAW, 0x1234);
    EXPECT_EQ(SendMessage(bar, SB_GETTEXT, 1, 0), 0x1234);
    InvalidateRect(bar, nullptr, true);
    UpdateWindow(bar);
    ASSERT_EQ(Drawn.size(), 1u);
    EXPECT_EQ(Drawn[0].itemID, 1u);
    EXPECT_EQ(Drawn[0].itemData, 0x1234u);
    EXPECT_EQ(Drawn[0].CtlID, 3u);
    EXPECT_EQ(Drawn[0].hwndItem, bar);
    RECT part = PartRect(bar, 1);
    EXPECT_EQ(Drawn[0].rcItem.left, part.left + 1);
    EXPECT_EQ(Drawn[0].rcItem.right, part.right - 1);
}

TEST_F(StatusBarTest, TheGripAnswersBottomRightOnlyWhenTheWindowCanBeSized) {
    HWND bar = MakeBar(SBARS_SIZEGRIP);
    RECT c = ClientRect(bar);
    POINT grip {c.right - 3, c.bottom - 3}, middle {c.right / 2, c.bottom / 2};
    ClientToScreen(bar, &grip);
    ClientToScreen(bar, &middle);
    EXPECT_EQ(SendMessage(bar, WM_NCHITTEST, 0, PointToLParam(grip)), HTBOTTOMRIGHT);
    EXPECT_EQ(SendMessage(bar, WM_NCHITTEST, 0, PointToLParam(middle)), HTCLIENT);
    ShowWindow(Parent, SW_MAXIMIZE);
    Pump();
    SendMessage(bar, WM_SIZE, 0, 0);
    c = ClientRect(bar);
    grip = POINT {c.right - 3, c.bottom - 3};
    ClientToScreen(bar, &grip);
    EXPECT_EQ(SendMessage(bar, WM_NCHITTEST, 0, PointToLParam(grip)), HTCLIENT);
}

TEST_F(StatusBarTest, WithoutTheGripStyleTheCornerIsClient) {
    HWND bar = MakeBar();
    RECT c = ClientRect(bar);
    POINT grip {c.right - 3, c.bottom - 3};
    ClientToScreen(bar, &grip);
    EXPECT_EQ(SendMessage(bar, WM_NCHITTEST, 0, PointToLParam(grip)), HTCLIENT);
}

TEST_F(StatusBarTest, PressingTheGripAsksTheTopLevelWindowToSize) {
    HWND bar = MakeBar(SBARS_SIZEGRIP);
    std::vector<WPARAM> commands;
    SetHandler(Parent, [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_SYSCOMMAND) {
            commands.push_back(wParam);
            return 0;
        }
        return std::nullopt;
    });
    RECT c = ClientRect(bar);
    POINT grip {c.right - 4, c.bottom - 4};
    ClientToScreen(bar, &grip);
    Screen->MoveMouse(grip.x, grip.y);
    Screen->ButtonDown(MouseButton::Left, grip.x, grip.y);
    Screen->ButtonUp(MouseButton::Left, grip.x, grip.y);
    Pump();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0], SC_SIZE + WMSZ_BOTTOMRIGHT);
}

TEST_F(StatusBarTest, MinHeightRaisesTheBar) {
    HWND bar = MakeBar();
    int before = ClientRect(bar).bottom;
    SendMessage(bar, SB_SETMINHEIGHT, 40, 0);
    SendMessage(bar, WM_SIZE, 0, 0);
    EXPECT_EQ(ClientRect(bar).bottom, 44);
    EXPECT_GT(44, before);
}

// ---------------------------------------------------------------------------------------------------------
// Progress bar

struct FillCase {
    int Min, Max, Pos, Length, Expected;
};

class ProgressFill : public ::testing::TestWithParam<FillCase> { };

TEST_P(ProgressFill, IsTheTruncatedShareOfTheLength) {
    const FillCase& c = GetParam();
    EXPECT_EQ(ProgressFillLength(c.Min, c.Max, c.Pos, c.Length), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgressFill,
    ::testing::Values(FillCase {0, 100, 50, 200, 100}, FillCase {0, 3, 1, 100, 33}, FillCase {0, 100, 100, 77, 77},
        FillCase {5, 5, 5, 100, 0}, FillCase {0, 100, 150, 50, 50}, FillCase {0, 100, -5, 50, 0},
        FillCase {-100, 100, 0, 100, 50}, FillCase {100, 0, 25, 100, 25}, FillCase {0, 100, 50, 0, 0},
        FillCase {INT32_MIN, INT32_MAX, 0, 1000, 500}));

class ProgressBarTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        RegisterCommonControlClasses();
        Parent = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200);
    }
    HWND Make(DWORD style, int width = 204, int height = 20) {
        HWND bar = CreateWindowEx(0, PROGRESS_CLASS, "", WS_CHILD | WS_VISIBLE | style, 10, 10, width, height, Parent,
            ChildId(5), nullptr, nullptr);
        Pump();
        return bar;
    }
    int Pos(HWND bar) { return int(SendMessage(bar, PBM_GETPOS, 0, 0)); }
    HWND Parent = nullptr;
};

TEST_F(ProgressBarTest, PositionsStayInTheRange) {
    HWND bar = Make(0);
    EXPECT_EQ(SendMessage(bar, PBM_SETPOS, 150, 0), 0);
    EXPECT_EQ(Pos(bar), 100);
    SendMessage(bar, PBM_SETPOS, WPARAM(-3), 0);
    EXPECT_EQ(Pos(bar), 0);
    SendMessage(bar, PBM_SETRANGE32, 10, 20);
    EXPECT_EQ(Pos(bar), 10);
    EXPECT_EQ(SendMessage(bar, PBM_DELTAPOS, 5, 0), 10);
    EXPECT_EQ(Pos(bar), 15);
    PBRANGE range;
    EXPECT_EQ(SendMessage(bar, PBM_GETRANGE, 1, reinterpret_cast<LPARAM>(&range)), 10);
    EXPECT_EQ(range.iHigh, 20);
    EXPECT_EQ(SendMessage(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 50)), LRESULT(MAKELONG(10, 20)));
    EXPECT_EQ(SendMessage(bar, PBM_GETRANGE, 0, 0), 50);
}

TEST_F(ProgressBarTest, StepItStartsOverPastTheMaximum) {
    HWND bar = Make(0);
    SendMessage(bar, PBM_SETRANGE32, 0, 30);
    EXPECT_EQ(SendMessage(bar, PBM_SETSTEP, 10, 0), 10);
    SendMessage(bar, PBM_STEPIT, 0, 0);
    SendMessage(bar, PBM_STEPIT, 0, 0);
    SendMessage(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(Pos(bar), 30);
    SendMessage(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(Pos(bar), 9);
    SendMessage(bar, PBM_SETSTEP, WPARAM(-20), 0);
    SendMessage(bar, PBM_STEPIT, 0, 0);
    EXPECT_EQ(Pos(bar), 20);
}

TEST_F(ProgressBarTest, ASmoothBarFillsItsShareInTheBarColour) {
    HWND bar = Make(PBS_SMOOTH);
    SendMessage(bar, PBM_SETBARCOLOR, 0, LPARAM(gdi::RGB(0, 128, 0)));
    SendMessage(bar, PBM_SETPOS, 50, 0);
    Pump();
    EXPECT_EQ(StorePixel(bar, 2, 10), gdi::RGB(0, 128, 0));
    EXPECT_EQ(StorePixel(bar, 101, 10), gdi::RGB(0, 128, 0));
    EXPECT_EQ(StorePixel(bar, 103, 10), gdi::GetSysColor(gdi::COLOR_BTNFACE));
    EXPECT_EQ(StorePixel(bar, 0, 0), gdi::GetSysColor(gdi::COLOR_BTNSHADOW));   // the sunken frame
}

TEST_F(ProgressBarTest, AVerticalBarGrowsFromTheBottom) {
    HWND bar = Make(PBS_SMOOTH | PBS_VERTICAL, 20, 102);
    SendMessage(bar, PBM_SETPOS, 25, 0);
    Pump();
    EXPECT_EQ(StorePixel(bar, 10, 99), gdi::GetSysColor(gdi::COLOR_HIGHLIGHT));
    EXPECT_EQ(StorePixel(bar, 10, 77), gdi::GetSysColor(gdi::COLOR_HIGHLIGHT));
    EXPECT_EQ(StorePixel(bar, 10, 70), gdi::GetSysColor(gdi::COLOR_BTNFACE));
}

TEST_F(ProgressBarTest, BlocksLeaveGapsAndTheDefaultColourComesBack) {
    HWND bar = Make(0);
    SendMessage(bar, PBM_SETPOS, 100, 0);
    SendMessage(bar, PBM_SETBARCOLOR, 0, LPARAM(gdi::RGB(200, 0, 0)));
    EXPECT_EQ(SendMessage(bar, PBM_SETBARCOLOR, 0, LPARAM(CLR_DEFAULT)), LRESULT(gdi::RGB(200, 0, 0)));
    Pump();
    std::vector<COLORREF> row;
    for (int x = 2; x < 40; ++x)
        row.push_back(StorePixel(bar, x, 10));
    int face = int(std::count(row.begin(), row.end(), gdi::GetSysColor(gdi::COLOR_BTNFACE)));
    int fill = int(std::count(row.begin(), row.end(), gdi::GetSysColor(gdi::COLOR_HIGHLIGHT)));
    EXPECT_GT(face, 0);
    EXPECT_GT(fill, face);
}

}

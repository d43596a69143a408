// MDI: children in a client window, activation by message, click and Ctrl+F6, maximizing with the merged
// caption, and children closed or destroyed while maximized.
#include "NonClientFixture.h"

#include "platform/user/Mdi.h"
#include "platform/user/MenuData.h"
#include "platform/user/Menus.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/VirtualKeys.h"

#include <cstdint>
#include <cstdlib>

namespace korvex::user::test {
namespace {

class Mdi : public NonClientFixture {
protected:
    void SetUp() override {
        NonClientFixture::SetUp();
        ASSERT_TRUE(RegisterMdiClientClass());
        OnMessage = [this](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
            if (hwnd == Frame) {
                if (msg == WM_SIZE && Client) MoveWindow(Client, 0, 0, LOWORD(lParam), HIWORD(lParam), true);
                return DefFrameProc(hwnd, Client, msg, wParam, lParam);
            }
            if (GetWindowExStyle(hwnd) & WS_EX_MDICHILD) return DefMDIChildProc(hwnd, msg, wParam, lParam);
            return std::nullopt;
        };
        Frame = CreateShown(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, gdi::Bounds(100, 80, 500, 360));
        Bar = CreateMenu();
        AppendMenu(Bar, MF_STRING, 1, "&File");
        AppendMenu(Bar, MF_STRING, 2, "&Window");
        SetMenu(Frame, Bar);
        SetWindowText(Frame, "Frame");
        CLIENTCREATESTRUCT ccs {nullptr, 100};
        RECT area {};
        GetClientRect(Frame, &area);
        Client = CreateWindowEx(WS_EX_CLIENTEDGE, MdiClientClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | ClientScrollStyle(),
            0, 0, area.right, area.bottom, Frame, nullptr, nullptr, &ccs);
        ASSERT_NE(Client, nullptr);
        First = NewChild("One", 10, 10);
        Second = NewChild("Two", 60, 50);
        Pump();
        Log.clear();
    }

    virtual DWORD ClientScrollStyle() const { return 0; }

    void TearDown() override {
        DestroyWindow(Frame);
        DestroyMenu(Bar);   // a window does not free its menu
        NonClientFixture::TearDown();
    }

    HWND NewChild(const char* title, int x, int y) {
        MDICREATESTRUCT mcs;
        mcs.szClass = ClassName;
        mcs.szTitle = title;
        mcs.x = x;
        mcs.y = y;
        mcs.cx = 200;
        mcs.cy = 150;
        return reinterpret_cast<HWND>(SendMessage(Client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    }

    HWND Active(bool* maximized = nullptr) {
        return reinterpret_cast<HWND>(SendMessage(Client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(maximized)));
    }

    // The merged caption's parts on the screen.
    mdi::MergedCaption MergedOnScreen() {
        const nc::Layout layout = nc::LayoutOf(Frame);
        mdi::MergedCaption m = mdi::MergedCaptionOf(Frame, layout.MenuBar.Width(), GetSystemMetrics(SM_CYMENU));
        const POINT origin = nc::WindowOrigin(Frame);
        for (RECT* r : {&m.Icon, &m.MinButton, &m.RestoreButton, &m.CloseButton})
            gdi::OffsetRect(r, origin.x + layout.MenuBar.left, origin.y + layout.MenuBar.top);
        return m;
    }

    void Click(POINT p) {
        Screen->AdvanceTimeMs(1000);
        Screen->MoveMouse(p.x, p.y);
        Screen->ButtonDown(MouseButton::Left, p.x, p.y);
        Screen->MoveMouse(p.x + 1, p.y);   // a loop the press starts releases at its first move
        PlayInLoop({[this, p] { Screen->ButtonUp(MouseButton::Left, p.x + 1, p.y); }});
    }

    static POINT Center(const RECT& r) { return POINT {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

    std::vector<Seen> Activations(HWND hwnd) const {
        std::vector<Seen> found;
        for (const Seen& s : Messages(WM_MDIACTIVATE))
            if (s.Wnd == hwnd) found.push_back(s);
        return found;
    }

    HWND Frame = nullptr;
    HMENU Bar = nullptr;
    HWND Client = nullptr;
    HWND First = nullptr;
    HWND Second = nullptr;
};

TEST_F(Mdi, CreatedChildrenAreMdiChildrenInTheClientAndTheLastIsActive) {
    ASSERT_NE(First, nullptr);
    ASSERT_NE(Second, nullptr);
    for (HWND child : {First, Second}) {
        EXPECT_EQ(GetParent(child), Client);
        EXPECT_TRUE(GetWindowExStyle(child) & WS_EX_MDICHILD);
        EXPECT_TRUE(IsWindowVisible(child));
    }
    EXPECT_EQ(GetDlgCtrlID(First), 100);
    EXPECT_EQ(GetDlgCtrlID(Second), 101);
    bool maximized = true;
    EXPECT_EQ(Active(&maximized), Second);
    EXPECT_FALSE(maximized);
    EXPECT_TRUE(IsFrameActive(Second));
    EXPECT_FALSE(IsFrameActive(First));
}

TEST_F(Mdi, ActivationTellsTheOldAndTheNewChildBothHandles) {
    SendMessage(Client, WM_MDIACTIVATE, WPARAM(First), 0);
    EXPECT_EQ(Active(), First);
    for (HWND child : {First, Second}) {
        auto seen = Activations(child);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(reinterpret_cast<HWND>(seen[0].WParam), Second);   // deactivated
        EXPECT_EQ(reinterpret_cast<HWND>(seen[0].LParam), First);   // activated
    }
    EXPECT_EQ(GetWindow(Client, GW_CHILD), First);   // on top
    EXPECT_TRUE(IsFrameActive(First));
    EXPECT_FALSE(IsFrameActive(Second));
    Log.clear();
    SendMessage(Client, WM_MDIACTIVATE, WPARAM(First), 0);   // already active: nothing
    EXPECT_TRUE(Messages(WM_MDIACTIVATE).empty() || Messages(WM_MDIACTIVATE).size() == 1);
    EXPECT_TRUE(Activations(First).empty());
}

TEST_F(Mdi, AClickInAnInactiveChildActivatesIt) {
    RECT r {};
    GetWindowRect(First, &r);
    Click(POINT {r.left + 20, r.bottom - 10});   // a part of the first child that the second does not cover
    EXPECT_EQ(Active(), First);
    EXPECT_EQ(GetFocus(), First);
}

TEST_F(Mdi, CtrlF6StepsThroughEveryChildAndCtrlShiftF6Back) {
    const HWND third = NewChild("Three", 120, 90);
    Pump();
    SetMessageFilter([this](MSG& msg) { return TranslateMDISysAccel(Client, &msg); });
    auto press = [this](unsigned shift) {
        const unsigned modifiers = ModControl | shift;
        Screen->KeyDown(VK_CONTROL, {}, modifiers);
        Screen->KeyDown(VK_F6, {}, modifiers);
        Screen->KeyUp(VK_F6, modifiers);
        Screen->KeyUp(VK_CONTROL, modifiers);
        Pump();
    };
    std::vector<HWND> order;
    for (int i = 0; i < 3; ++i) {
        press(0);
        order.push_back(Active());
    }
    EXPECT_EQ(order, (std::vector<HWND> {Second, First, third}));
    press(ModShift);   // back to the one before
    EXPECT_EQ(Active(), First);
    SetMessageFilter(nullptr);
}

TEST_F(Mdi, MaximizingMergesTheCaptionAndTheButtonsAct) {
    SendMessage(Client, WM_MDIMAXIMIZE, WPARAM(Second), 0);
    Pump();
    bool maximized = false;
    EXPECT_EQ(Active(&maximized), Second);
    EXPECT_TRUE(maximized);
    EXPECT_EQ(GetWindowText(Frame), "Frame - [Two]");
    // The child's frame lies outside the client: its client area fills it.
    RECT childClient {};
    GetClientRect(Second, &childClient);
    RECT clientArea {};
    GetClientRect(Client, &clientArea);
    EXPECT_EQ(childClient.Width(), clientArea.Width());
    EXPECT_EQ(childClient.Height(), clientArea.Height());

    const mdi::MergedCaption merged = MergedOnScreen();
    ASSERT_EQ(merged.Child, Second);
    // The menu items start right of the icon.
    EXPECT_EQ(menu::BarItemAt(Frame, POINT {merged.Icon.left + 2, Center(merged.Icon).y}), -1);
    EXPECT_EQ(menu::BarItemAt(Frame, POINT {merged.Icon.right + 3, Center(merged.Icon).y}), 0);
    if (const char* dir = std::getenv("KORVEX_SCREENSHOT_DIR")) {
        RECT shot {};
        GetWindowRect(Frame, &shot);
        EXPECT_TRUE(Screen->WriteScreenshotPng(std::string(dir) + "/mdi-maximized.png", &shot));
    }

    // The frame's own title changes under the merged one.
    SetWindowText(Frame, "Farm");
    EXPECT_EQ(GetWindowText(Frame), "Farm - [Two]");
    SetWindowText(Second, "Deux");
    EXPECT_EQ(GetWindowText(Frame), "Farm - [Deux]");

    Click(Center(merged.RestoreButton));
    EXPECT_FALSE(IsZoomed(Second));
    EXPECT_EQ(GetWindowText(Frame), "Farm");
    EXPECT_EQ(MergedOnScreen().Child, nullptr);

    SendMessage(Client, WM_MDIMAXIMIZE, WPARAM(Second), 0);
    Pump();
    Click(Center(MergedOnScreen().MinButton));
    EXPECT_TRUE(IsIconic(Second));
    EXPECT_EQ(GetWindowText(Frame), "Farm");

    SendMessage(Client, WM_MDIMAXIMIZE, WPARAM(First), 0);
    Pump();
    EXPECT_EQ(Active(), First);
    Click(Center(MergedOnScreen().CloseButton));
    EXPECT_FALSE(IsWindow(First));
    EXPECT_EQ(Active(), Second);
}

TEST_F(Mdi, ADragOffAMergedButtonDoesNothing) {
    SendMessage(Client, WM_MDIMAXIMIZE, WPARAM(Second), 0);
    Pump();
    const mdi::MergedCaption merged = MergedOnScreen();
    const POINT from = Center(merged.CloseButton);
    Screen->AdvanceTimeMs(1000);
    Screen->MoveMouse(from.x, from.y);
    Screen->ButtonDown(MouseButton::Left, from.x, from.y);
    Screen->MoveMouse(from.x + 1, from.y);
    PlayInLoop({[this] { Screen->MoveMouse(20, 20); }, [this] { Screen->ButtonUp(MouseButton::Left, 20, 20); }});
    EXPECT_TRUE(IsWindow(Second));
    EXPECT_TRUE(IsZoomed(Second));
}

TEST_F(Mdi, TheMaximizedStatePassesToTheChildActivatedOrCreated) {
    SendMessage(Client, WM_MDIMAXIMIZE, WPARAM(Second), 0);
    SendMessage(Client, WM_MDINEXT, 0, 0);
    Pump();
    EXPECT_EQ(Active(), First);
    EXPECT_TRUE(IsZoomed(First));
    EXPECT_FALSE(IsZoomed(Second));
    EXPECT_EQ(GetWindowText(Frame), "Frame - [One]");
    const HWND third = NewChild("Three", 0, 0);
    Pump();
    EXPECT_TRUE(IsZoomed(third));
    EXPECT_FALSE(IsZoomed(First));
    EXPECT_EQ(GetWindowText(Frame), "Frame - [Three]");
}

TEST_F(Mdi, AChildDestroyedWhileMaximizedHandsOverOrLeavesTheFrameAsItWas) {
    SendMessage(Client, WM_MDIMAXIMIZE, WPARAM(Second), 0);
    Pump();
    SendMessage(Client, WM_MDIDESTROY, WPARAM(Second), 0);
    Pump();
    EXPECT_FALSE(IsWindow(Second));
    bool maximized = false;
    EXPECT_EQ(Active(&maximized), First);
    EXPECT_TRUE(maximized);
    EXPECT_EQ(GetWindowText(Frame), "Frame - [One]");
    // The last one destroyed directly, not through the client.
    DestroyWindow(First);
    Pump();
    EXPECT_EQ(Active(), nullptr);
    EXPECT_EQ(GetWindowText(Frame), "Frame");
    EXPECT_EQ(MergedOnScreen().Child, nullptr);
}

TEST_F(Mdi, WmCloseOfAChildDestroysItThroughTheClient) {
    SendMessage(Second, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_FALSE(IsWindow(Second));
    EXPECT_EQ(Active(), First);
    auto seen = Activations(First);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(reinterpret_cast<HWND>(seen.back().LParam), First);
}

// A client made with both scroll styles: its range covers the children, its bars move them.
class ScrollingMdi : public Mdi {
protected:
    DWORD ClientScrollStyle() const override { return WS_HSCROLL | WS_VSCROLL; }
    SCROLLINFO Info(int bar) const {
        SCROLLINFO info;
        info.fMask = SIF_ALL;
        EXPECT_TRUE(GetScrollInfo(Client, bar, &info));
        return info;
    }
    POINT Origin(HWND child) const {
        RECT r {};
        GetWindowRect(child, &r);
        POINT p {r.left, r.top};
        ScreenToClient(Client, &p);
        return p;
    }
};

TEST_F(ScrollingMdi, ChildrenInsideShowNoBarsAndOnePastTheEdgesShowsBoth) {
    EXPECT_FALSE(GetWindowStyle(Client) & (WS_HSCROLL | WS_VSCROLL));
    RECT area {};
    GetClientRect(Client, &area);
    MoveWindow(Second, area.right - 50, area.bottom - 40, 200, 150, true);
    EXPECT_TRUE(GetWindowStyle(Client) & WS_HSCROLL);
    EXPECT_TRUE(GetWindowStyle(Client) & WS_VSCROLL);
    GetClientRect(Client, &area);   // the bars took their room
    const SCROLLINFO h = Info(SB_HORZ);
    const SCROLLINFO v = Info(SB_VERT);
    const POINT second = Origin(Second);
    EXPECT_EQ(h.nMin, 0);
    EXPECT_EQ(h.nMax, second.x + 200 - 1);
    EXPECT_EQ(int(h.nPage), area.Width());
    EXPECT_EQ(h.nPos, 0);
    EXPECT_EQ(v.nMax, second.y + 150 - 1);
    EXPECT_EQ(int(v.nPage), area.Height());
    DestroyWindow(Second);
    Second = nullptr;
    EXPECT_FALSE(GetWindowStyle(Client) & (WS_HSCROLL | WS_VSCROLL));
}

TEST_F(ScrollingMdi, AThumbPositionMovesTheChildrenAndTheEndOfTheScrollShiftsTheRange) {
    RECT area {};
    GetClientRect(Client, &area);
    MoveWindow(Second, 60, area.bottom - 40, 200, 150, true);
    const POINT first = Origin(First);
    const POINT second = Origin(Second);
    SendMessage(Client, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30), 0);
    EXPECT_EQ(Origin(First).y, first.y - 30);
    EXPECT_EQ(Origin(Second).y, second.y - 30);
    EXPECT_EQ(Origin(Second).x, second.x);
    EXPECT_EQ(Info(SB_VERT).nPos, 30);
    SendMessage(Client, WM_VSCROLL, SB_ENDSCROLL, 0);
    const SCROLLINFO v = Info(SB_VERT);
    EXPECT_EQ(v.nMin, first.y - 30);   // the first child's top now lies above the view
    EXPECT_EQ(v.nPos, 0);
    // A position before the range's start is the start: the topmost child's top at the client's top.
    SendMessage(Client, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, std::uint16_t(-500)), 0);
    EXPECT_EQ(Origin(First).y, 0);
}

TEST_F(ScrollingMdi, AMaximizedChildScrollsNothing) {
    MoveWindow(Second, 400, 300, 200, 150, true);
    ASSERT_TRUE(GetWindowStyle(Client) & WS_VSCROLL);
    ShowWindow(Second, SW_MAXIMIZE);
    EXPECT_FALSE(GetWindowStyle(Client) & (WS_HSCROLL | WS_VSCROLL));
    const POINT before = Origin(First);
    SendMessage(Client, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 40), 0);
    EXPECT_EQ(Origin(First).x, before.x);
    ShowWindow(Second, SW_RESTORE);
    EXPECT_TRUE(GetWindowStyle(Client) & WS_VSCROLL);
}

}
}

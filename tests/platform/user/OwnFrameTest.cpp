// Tests for windows that paint their whole frame themselves: what the default procedure still paints, the
// menu bar's repaints and layout, activation, deferred window shapes and the frame metrics they rely on.
#include "platform/gdi/Drawing.h"
#include "platform/gdi/PenBrush.h"
#include "platform/gdi/Region.h"
#include "platform/user/MenuData.h"
#include "platform/user/Menus.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/NonClient.h"
#include "platform/user/Painting.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "support/UserTestSupport.h"

namespace korvex::user::test {
namespace {

constexpr COLORREF Own = gdi::RGB(255, 0, 255);

// A sizeable window with a menu bar whose WM_NCPAINT fills the whole window rectangle (outside the client
// area) with its own colour and never calls the default.
class OwnFrame : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        Wnd = Create(WS_OVERLAPPEDWINDOW, 100, 100, 300, 200);
        Bar = CreateMenu();
        AppendMenu(Bar, MF_STRING, 10, "&File");
        AppendMenu(Bar, MF_OWNERDRAW, 11, "");
        SetHandler(Wnd, [this](HWND hwnd, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (msg == WM_MEASUREITEM) {
                ++Measured;
                auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
                mis->itemWidth = 40;
                mis->itemHeight = 10;
                return 1;
            }
            if (msg != WM_NCPAINT || !PaintOwnFrame) return std::nullopt;
            ++NcPaints;
            HDC dc = GetWindowDC(hwnd);
            RECT r {};
            GetWindowRect(hwnd, &r);
            gdi::OffsetRect(&r, -r.left, -r.top);
            gdi::HBRUSH brush = gdi::CreateSolidBrush(Own);
            gdi::FillRect(dc, &r, brush);
            gdi::DeleteObject(brush);
            ReleaseDC(hwnd, dc);
            return 0;
        });
        SetMenu(Wnd, Bar);
        ShowWindow(Wnd, SW_SHOW);
        Pump();
    }
    void TearDown() override {
        SetMenu(Wnd, nullptr);
        DestroyMenu(Bar);
        UserTest::TearDown();
    }

    HWND Wnd = nullptr;
    HMENU Bar = nullptr;
    int Measured = 0;
    int NcPaints = 0;
    bool PaintOwnFrame = true;
};

TEST_F(OwnFrame, MenuBarHotTrackingRepaintsThroughTheWindowsOwnNcPaint) {
    const int before = NcPaints;
    menu::SetBarHighlight(Wnd, 0);
    EXPECT_GT(NcPaints, before);
    EXPECT_EQ(StorePixel(Wnd, 20, GetSystemMetrics(SM_CYCAPTION) + 6), Own);   // the bar, not the plain look
    menu::SetBarHighlight(Wnd, -1);
    DrawMenuBar(Wnd);
    Pump();
    EXPECT_EQ(StorePixel(Wnd, 20, GetSystemMetrics(SM_CYCAPTION) + 6), Own);
}

TEST_F(OwnFrame, BarItemsAreMeasuredOnFrameChangesNotAtEveryPaint) {
    PaintOwnFrame = false;   // the plain frame paints the bar now
    RedrawWindow(Wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const int measured = Measured;
    for (int i = 0; i < 3; ++i)
        SendMessage(Wnd, WM_NCPAINT, 1, 0);
    EXPECT_EQ(Measured, measured);
    ModifyMenu(Bar, 10, MF_BYCOMMAND | MF_STRING, 10, "&File and more");
    SendMessage(Wnd, WM_NCPAINT, 1, 0);
    EXPECT_GT(Measured, measured);   // a changed menu is laid out again
}

TEST_F(OwnFrame, ActivationChangeRepaintsTheCaptionAloneAndOnlyWhenTheStateChanged) {
    const int y = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU) + 40;
    DefWindowProc(Wnd, WM_NCACTIVATE, 0, 0);
    EXPECT_NE(StorePixel(Wnd, 150, 8), Own);   // the caption shows the new state
    EXPECT_EQ(StorePixel(Wnd, 1, y), Own);   // left frame strip
    EXPECT_EQ(StorePixel(Wnd, 150, 198), Own);   // bottom strip
    EXPECT_EQ(StorePixel(Wnd, 20, GetSystemMetrics(SM_CYCAPTION) + 6), Own);   // menu bar
    SendMessage(Wnd, WM_NCPAINT, 1, 0);
    DefWindowProc(Wnd, WM_NCACTIVATE, 0, 0);   // the same state again repaints nothing at all
    EXPECT_EQ(StorePixel(Wnd, 150, 8), Own);
}

TEST(FrameMetrics, HorizontalAndVerticalFramesAreEqual) {
    EXPECT_EQ(GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME));
    EXPECT_EQ(GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME));
    EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER));
}

class WindowShape : public UserTest { };

TEST_F(WindowShape, RegionWithoutRedrawReachesTheScreenWithTheNextPresent) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 10, 10, 50, 50);
    Pump();
    const COLORREF inside = Screen->ScreenPixel(12, 12);
    ASSERT_NE(inside, HeadlessDisplay::DesktopColor);
    SetWindowRgn(w, gdi::CreateRectRgn(10, 10, 50, 50), false);
    FlushDisplay();
    EXPECT_EQ(Screen->ScreenPixel(12, 12), inside);   // the old shape holds: nothing was drawn yet
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    Pump();
    EXPECT_EQ(Screen->ScreenPixel(12, 12), HeadlessDisplay::DesktopColor);
    EXPECT_EQ(Screen->ScreenPixel(30, 30), inside);

    SetWindowRgn(w, nullptr, true);   // with redraw the shape goes at once
    FlushDisplay();
    EXPECT_EQ(Screen->ScreenPixel(12, 12), inside);
}

}
}

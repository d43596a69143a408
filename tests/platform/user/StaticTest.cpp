// The STATIC class: mouse transparency and notifications, colours from the parent, text and etched kinds.
#include "support/ControlTestSupport.h"

#include "platform/gdi/PenBrush.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/Messages.h"
#include "platform/user/Painting.h"
#include "platform/user/controls/ControlsCommon.h"
#include "platform/user/controls/Static.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

namespace {

using Static = ControlTest;

TEST_F(Static, WithoutNotifyTheMouseGoesThroughToTheParent) {
    HWND label = Make("STATIC", "Label", SS_LEFT, 10, 10, 100, 20, 1);
    ClickAt(label, 5, 5);
    EXPECT_EQ(Count(label, WM_LBUTTONDOWN), 0);
    EXPECT_EQ(Count(Parent, WM_LBUTTONDOWN), 1);
    EXPECT_TRUE(Codes(1).empty());
}

TEST_F(Static, WithNotifyClicksAndDoubleClicksAreReported) {
    HWND label = Make("STATIC", "Label", SS_LEFT | SS_NOTIFY, 10, 10, 100, 20, 1);
    ClickAt(label, 5, 5);
    Advance(1000);   // the next press starts a new click
    const POINT p = OnScreen(label, 5, 5);
    Screen->DoubleClick(p.x, p.y);
    Pump();
    EXPECT_EQ(Codes(1), (std::vector<WORD> {STN_CLICKED, STN_CLICKED, STN_DBLCLK}));
    EnableWindow(label, false);
    EXPECT_EQ(Codes(1).back(), STN_DISABLE);
}

TEST_F(Static, TheParentColoursTheBackgroundThroughWmCtlColorStatic) {
    gdi::GdiHandle<gdi::Brush> red(gdi::CreateSolidBrush(gdi::RGB(255, 0, 0)));
    HWND label = nullptr;
    SetHandler(Parent, [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (msg == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == label)
            return reinterpret_cast<LRESULT>(red.Get());
        return std::nullopt;
    });
    label = Make("STATIC", "", SS_LEFT, 10, 10, 100, 20, 1);
    InvalidateRect(label, nullptr, true);
    Pump();
    EXPECT_EQ(ClientPixel(label, 50, 10), gdi::RGB(255, 0, 0));
}

TEST_F(Static, EtchedKindsDrawTheirLinesAndRectanglesTheirColours) {
    HWND horz = Make("STATIC", "", SS_ETCHEDHORZ, 10, 10, 100, 2, 1);
    HWND gray = Make("STATIC", "", SS_GRAYRECT, 10, 30, 20, 20, 2);
    HWND sunken = Make("STATIC", "Text", SS_LEFT | SS_SUNKEN, 10, 60, 80, 20, 3);
    EXPECT_EQ(ClientPixel(horz, 50, 0), gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(ClientPixel(horz, 50, 1), gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ClientPixel(gray, 10, 10), gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(ClientPixel(sunken, 0, 0), gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(ClientPixel(sunken, 79, 19), gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));
}

TEST_F(Static, TextIsDrawnInTheTextColourAndAmpersandsFollowNoPrefix) {
    HWND label = Make("STATIC", "&&&&&&&&", SS_LEFT | SS_NOPREFIX, 0, 0, 200, 20, 1);
    HWND plain = Make("STATIC", "&&&&&&&&", SS_LEFT, 0, 30, 200, 20, 2);
    auto inkWidth = [&](HWND hwnd) {
        int right = -1;
        for (int x = 0; x < 200; ++x)
            for (int y = 0; y < 20; ++y)
                if (ClientPixel(hwnd, x, y) != gdi::GetSysColor(gdi::COLOR_BTNFACE)) right = x;
        return right;
    };
    // "&&" shows one "&" unless prefixes are off: the plain label's ink is about half as wide.
    const int full = inkWidth(label);
    const int half = inkWidth(plain);
    EXPECT_GT(full, 0);
    EXPECT_LT(half, full * 2 / 3);
}

TEST_F(Static, ImagesAreKeptForTheCaller) {
    HWND image = Make("STATIC", "", SS_BITMAP, 0, 0, 20, 20, 1);
    auto* fake = reinterpret_cast<HANDLE>(std::intptr_t(0x1234));
    EXPECT_EQ(SendMessage(image, STM_SETIMAGE, 0, reinterpret_cast<LPARAM>(fake)), 0);
    EXPECT_EQ(SendMessage(image, STM_GETIMAGE, 0, 0), reinterpret_cast<LRESULT>(fake));
    EXPECT_EQ(SendMessage(image, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

}

}

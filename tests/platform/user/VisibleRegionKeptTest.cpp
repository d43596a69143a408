// Visible regions are kept between DCs: every change of what clips a window (a sibling moved, shown, hidden or
// restacked, a window region, a clipping style, a child made or destroyed, a new parent, a lock) changes what
// the window's next DC may paint.
#include "support/UserTestSupport.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/PenBrush.h"
#include "platform/gdi/Region.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

namespace {

constexpr COLORREF KeptRed = gdi::RGB(255, 0, 0);
constexpr COLORREF KeptBlue = gdi::RGB(0, 0, 255);

// Fills the whole of a window through its window DC, as a control painting itself does.
void FillThroughWindowDc(HWND hwnd, COLORREF color) {
    HDC dc = GetWindowDC(hwnd);
    RECT r {0, 0, 200, 200};
    gdi::GdiHandle<gdi::Brush> brush(gdi::CreateSolidBrush(color));
    gdi::FillRect(dc, &r, brush);
    ReleaseDC(hwnd, dc);
}

// Fills a part of a window through BeginPaint after invalidating it (a DC for an update region).
void FillThroughPaint(HWND hwnd, const RECT& part, COLORREF color) {
    InvalidateRect(hwnd, &part, false);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r {0, 0, 200, 200};
    gdi::GdiHandle<gdi::Brush> brush(gdi::CreateSolidBrush(color));
    gdi::FillRect(dc, &r, brush);
    EndPaint(hwnd, &ps);
}

// The windows of a case: a parent of 200 x 200 with the window `w` at (20, 20) 60 x 60 and a higher sibling at
// (60, 60) 40 x 40 over its corner, both clipping siblings.
struct TKeptScene {
    HWND Parent = nullptr;
    HWND W = nullptr;
    HWND Sibling = nullptr;
    std::function<HWND(DWORD style, int x, int y, int width, int height, HWND parent)> Make;
};

using KeptRegions = UserTest;

TEST_F(KeptRegions, EveryChangeOfWhatClipsAWindowChangesWhatItsNextDcPaints) {
    struct Case {
        const char* Name;
        std::function<void(TKeptScene&)> Change;
        POINT At;   // parent client coordinates
        bool Painted;   // by w's DC after the change
    } cases[] = {
        {"nothing changed: the sibling's corner is its own", [](TKeptScene&) { }, {70, 70}, false},
        {"the sibling moved away",
            [](TKeptScene& s) {
                SetWindowPos(s.Sibling, nullptr, 150, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            },
            {70, 70}, true},
        {"the sibling moved over another part",
            [](TKeptScene& s) {
                SetWindowPos(s.Sibling, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            },
            {30, 30}, false},
        {"the sibling made smaller",
            [](TKeptScene& s) {
                SetWindowPos(s.Sibling, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            },
            {75, 75}, true},
        {"the sibling moved and sized over w's middle",
            [](TKeptScene& s) {
                SetWindowPos(s.Sibling, nullptr, 30, 30, 40, 40, SWP_NOZORDER | SWP_NOACTIVATE);
            },
            {40, 40}, false},
        {"the sibling hidden", [](TKeptScene& s) { ShowWindow(s.Sibling, SW_HIDE); }, {70, 70}, true},
        {"w brought above the sibling",
            [](TKeptScene& s) {
                SetWindowPos(s.W, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            },
            {70, 70}, true},
        {"the sibling shaped to its lower right quarter",
            [](TKeptScene& s) { SetWindowRgn(s.Sibling, gdi::CreateRectRgn(20, 20, 40, 40), true); },
            {70, 70}, true},
        {"w no longer clips siblings",
            [](TKeptScene& s) {
                SetWindowLongPtr(s.W, GWL_STYLE, GetWindowLongPtr(s.W, GWL_STYLE) & ~WS_CLIPSIBLINGS);
            },
            {70, 70}, true},
        {"the sibling given to another parent",
            [](TKeptScene& s) {
                HWND other = s.Make(WS_POPUP | WS_VISIBLE, 300, 300, 50, 50, nullptr);
                SetParent(s.Sibling, other);
            },
            {70, 70}, true},
        {"the sibling destroyed", [](TKeptScene& s) { DestroyWindow(s.Sibling); }, {70, 70}, true},
        {"a new sibling made over w",
            [](TKeptScene& s) {
                s.Make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 25, 25, 10, 10, s.Parent);
                SetWindowPos(s.W, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            },
            {30, 30}, false},
        {"a child made in w, which clips children",
            [](TKeptScene& s) {
                SetWindowLongPtr(s.W, GWL_STYLE, GetWindowLongPtr(s.W, GWL_STYLE) | WS_CLIPCHILDREN);
                FillThroughWindowDc(s.W, KeptBlue);   // kept again with the new style
                s.Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, s.W);
            },
            {25, 25}, false},
        {"w moved partly out of its parent",
            [](TKeptScene& s) {
                SetWindowPos(s.W, nullptr, 170, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            },
            {199, 10}, true},
        {"w made smaller",
            [](TKeptScene& s) {
                SetWindowPos(s.W, nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            },
            {40, 40}, false},
        {"the sibling's redraw turned off (its visible bit)",
            [](TKeptScene& s) { SendMessage(s.Sibling, WM_SETREDRAW, 0, 0); }, {70, 70}, true},
        {"w's updates locked", [](TKeptScene& s) { LockWindowUpdate(s.W); }, {30, 30}, false},
    };
    for (const Case& c : cases) {
        TKeptScene s;
        s.Make = [this](DWORD style, int x, int y, int width, int height, HWND parent) {
            return Create(style, x, y, width, height, parent, 0, PlainClass);
        };
        s.Parent = Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 200, 200, nullptr, 0, PlainClass);
        s.Sibling = Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 60, 60, 40, 40, s.Parent, 0, PlainClass);
        s.W = Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 20, 20, 60, 60, s.Parent, 0, PlainClass);
        SetWindowPos(s.W, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_TRUE(Pump());
        // Kept: a whole region and the parts of two paints.
        FillThroughWindowDc(s.W, KeptBlue);
        FillThroughPaint(s.W, RECT {0, 0, 60, 60}, KeptBlue);
        FillThroughPaint(s.W, RECT {0, 0, 60, 60}, KeptBlue);
        c.Change(s);
        const COLORREF before = StorePixel(s.Parent, c.At.x, c.At.y);
        FillThroughWindowDc(s.W, KeptRed);
        FillThroughPaint(s.W, RECT {0, 0, 60, 60}, KeptRed);
        const COLORREF after = StorePixel(s.Parent, c.At.x, c.At.y);
        if (c.Painted)
            EXPECT_EQ(after, KeptRed) << c.Name;
        else
            EXPECT_EQ(after, before) << c.Name;
        LockWindowUpdate(nullptr);
        DestroyWindow(s.Parent);
        ASSERT_TRUE(Pump());
    }
}

}

}

// The paint cycle on backing stores: update regions, clipping of window DCs, window regions, scrolling, layering.
#include "support/UserTestSupport.h"

#include "platform/gdi/BitBlt.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/PenBrush.h"
#include "platform/gdi/Region.h"
#include "platform/gdi/Text.h"
#include "platform/user/LayeredWindow.h"
#include "platform/user/Painting.h"
#include "platform/user/WinPos.h"

#include <gtest/gtest.h>

namespace korvex::user::test {

namespace {

constexpr COLORREF Red = gdi::RGB(255, 0, 0);
constexpr COLORREF Green = gdi::RGB(0, 255, 0);
constexpr COLORREF Blue = gdi::RGB(0, 0, 255);
constexpr COLORREF White = gdi::RGB(255, 255, 255);

void Fill(HDC dc, const RECT& r, COLORREF color) {
    gdi::GdiHandle<gdi::Brush> brush(gdi::CreateSolidBrush(color));
    gdi::FillRect(dc, &r, brush);
}

// Paints the whole client area in one colour through BeginPaint; records each rcPaint.
Handler Painter(COLORREF color, std::vector<RECT>* painted = nullptr) {
    return [color, painted](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_PAINT) return std::nullopt;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        Fill(dc, ClientRect(h), color);
        if (painted) painted->push_back(ps.rcPaint);
        EndPaint(h, &ps);
        return 0;
    };
}

using Paint = UserTest;

TEST_F(Paint, AnInvalidatedRectangleIsPaintedOnceWithThatRectangle) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    std::vector<RECT> painted;
    SetHandler(w, Painter(Red, &painted));
    Pump();
    painted.clear();
    RECT r {10, 10, 20, 20};
    InvalidateRect(w, &r, false);
    InvalidateRect(w, &r, false);
    Pump();
    Pump();
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0], r);
}

TEST_F(Paint, BeginPaintClipsDrawingToTheUpdateRegion) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, 0, PlainClass);
    Pump();
    SetHandler(w, Painter(Green));
    RECT r {10, 10, 20, 20};
    InvalidateRect(w, &r, false);
    Pump();
    EXPECT_EQ(StorePixel(w, 15, 15), Green);
    EXPECT_EQ(StorePixel(w, 9, 15), 0u);
    EXPECT_EQ(StorePixel(w, 20, 15), 0u);   // right edge is outside
}

TEST_F(Paint, EraseUsesTheClassBackgroundAndNothingWithoutOne) {
    HWND white = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    HWND plain = Create(WS_POPUP | WS_VISIBLE, 100, 0, 50, 50, nullptr, 0, PlainClass);
    Pump();
    EXPECT_EQ(StorePixel(white, 0, 0), White);
    EXPECT_EQ(StorePixel(white, 49, 49), White);
    EXPECT_EQ(StorePixel(plain, 0, 0), 0u);
    EXPECT_GE(Count(white, WM_ERASEBKGND), 1);
}

TEST_F(Paint, AProcedureThatDoesNotPaintIsNotAskedForever) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    SetHandler(w, [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_PAINT) return 0;
        return std::nullopt;
    });
    Pump();
    Pump();
    EXPECT_EQ(Count(w, WM_PAINT), 1);
}

TEST_F(Paint, AChildUnderClipChildrenIsUntouchedByItsParentsPainting) {
    HWND parent = Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100);
    HWND child = Create(WS_CHILD | WS_VISIBLE, 20, 20, 30, 30, parent);
    SetHandler(parent, Painter(Red));
    SetHandler(child, Painter(Blue));
    Pump();
    EXPECT_EQ(StorePixel(child, 0, 0), Blue);
    EXPECT_EQ(StorePixel(parent, 19, 20), Red);
    ClearLog();
    InvalidateRect(parent, nullptr, true);
    Pump();
    EXPECT_EQ(Count(parent, WM_PAINT), 1);
    EXPECT_EQ(Count(child, WM_PAINT), 0);
    HDC dc = GetDC(parent);
    Fill(dc, RECT {0, 0, 100, 100}, Green);
    ReleaseDC(parent, dc);
    EXPECT_EQ(StorePixel(child, 0, 0), Blue);
    EXPECT_EQ(StorePixel(child, 29, 29), Blue);
    EXPECT_EQ(StorePixel(parent, 50, 50), Green);   // just outside the child
}

TEST_F(Paint, WithoutClipChildrenTheParentPaintsOverAndTheChildPaintsAgain) {
    HWND parent = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = Create(WS_CHILD | WS_VISIBLE, 20, 20, 30, 30, parent);
    SetHandler(parent, Painter(Red));
    SetHandler(child, Painter(Blue));
    Pump();
    ClearLog();
    RECT r {0, 0, 40, 40};
    InvalidateRect(parent, &r, true);
    Pump();
    EXPECT_EQ(Count(child, WM_PAINT), 1);
    auto messages = Log();
    auto parentPaint = std::find_if(
        messages.begin(), messages.end(), [&](auto& m) { return m.Hwnd == parent && m.Msg == WM_PAINT; });
    auto childPaint
        = std::find_if(messages.begin(), messages.end(), [&](auto& m) { return m.Hwnd == child && m.Msg == WM_PAINT; });
    EXPECT_LT(parentPaint, childPaint);
    EXPECT_EQ(StorePixel(child, 0, 0), Blue);
}

// Windows come to WM_PAINT in the tree's order whatever the order they were invalidated in: a parent before
// its children, the topmost sibling first; a hidden one waits, a destroyed one is forgotten, and a filtered
// peek sees only its window's subtree.
TEST_F(Paint, PendingPaintsComeInTreeOrderWhateverTheOrderOfInvalidation) {
    HWND parent = Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 200, 100);
    HWND other = Create(WS_POPUP | WS_VISIBLE, 300, 0, 50, 50);
    for (int i = 0; i < 4; ++i)
        Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, i * 40, 10, 30, 30, parent);
    std::vector<HWND> z;   // the children, topmost first
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        z.push_back(c);
    ASSERT_EQ(z.size(), 4u);
    HWND grandchild = Create(WS_CHILD | WS_VISIBLE, 5, 5, 10, 10, z[1]);
    HWND hidden = Create(WS_CHILD, 170, 60, 20, 20, parent);
    for (HWND h : {parent, other, grandchild, hidden, z[0], z[1], z[2], z[3]})
        SetHandler(h, Painter(Red));
    Pump();
    ClearLog();

    for (HWND h : {grandchild, z[3], hidden, z[0], z[2], parent, z[1]})
        InvalidateRect(h, nullptr, false);
    DestroyWindow(z[2]);
    MSG msg;
    EXPECT_FALSE(PeekMessage(&msg, other, WM_PAINT, WM_PAINT, PM_NOREMOVE));   // nothing pending in its tree
    ASSERT_TRUE(PeekMessage(&msg, z[1], WM_PAINT, WM_PAINT, PM_NOREMOVE));
    EXPECT_EQ(msg.hwnd, z[1]);
    ASSERT_TRUE(PeekMessage(&msg, grandchild, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    EXPECT_EQ(msg.hwnd, grandchild);
    Pump();
    std::vector<HWND> painted;
    for (const auto& m : Log())
        if (m.Msg == WM_PAINT) painted.push_back(m.Hwnd);
    EXPECT_EQ(painted, (std::vector<HWND> {parent, z[0], z[1], grandchild, z[3]}));

    ShowWindow(hidden, SW_SHOWNOACTIVATE);
    Pump();
    EXPECT_EQ(Count(hidden, WM_PAINT), 1);
}

TEST_F(Paint, AHigherSiblingIsUntouchedByALowerOnesWindowDc) {
    HWND parent = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, 0, PlainClass);
    HWND upper = Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 10, 10, 40, 40, parent);
    HWND lower = Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 30, 30, 40, 40, parent);
    SetHandler(upper, Painter(Red));
    SetHandler(lower, Painter(Blue));
    Pump();
    HDC dc = GetWindowDC(lower);
    Fill(dc, RECT {0, 0, 40, 40}, Green);
    ReleaseDC(lower, dc);
    EXPECT_EQ(StorePixel(parent, 35, 35), Red);   // the overlap belongs to the upper sibling
    EXPECT_EQ(StorePixel(parent, 49, 49), Red);
    EXPECT_EQ(StorePixel(parent, 50, 50), Green);
    EXPECT_EQ(StorePixel(parent, 69, 69), Green);
    EXPECT_EQ(StorePixel(parent, 70, 70), 0u);
}

TEST_F(Paint, WindowDcsOfChildrenStopAtTheParentsClientArea) {
    HWND parent = Create(WS_POPUP | WS_VISIBLE, 0, 0, 60, 60, nullptr, 0, PlainClass);
    HWND child = Create(WS_CHILD | WS_VISIBLE, 40, 40, 40, 40, parent, 0, PlainClass);
    Pump();
    HDC dc = GetWindowDC(child);
    Fill(dc, RECT {0, 0, 40, 40}, Green);
    ReleaseDC(child, dc);
    EXPECT_EQ(StorePixel(parent, 59, 59), Green);
    EXPECT_EQ(BackingStore(parent)->Width(), 60);
}

// A child reaching past its parent's client area (a maximized MDI child) shows only inside it: the parent's
// frame stays the parent's window DC's to paint.
TEST_F(Paint, AChildPastTheClientAreaLeavesTheParentsFrameToItsWindowDc) {
    HWND parent = Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 60, 60, nullptr, WS_EX_CLIENTEDGE, PlainClass);
    Create(WS_CHILD | WS_VISIBLE, -4, -4, 70, 70, parent, 0, PlainClass);
    Pump();
    HDC dc = GetWindowDC(parent);
    Fill(dc, RECT {0, 0, 60, 60}, Green);
    ReleaseDC(parent, dc);
    EXPECT_EQ(StorePixel(parent, 0, 0), Green);
    EXPECT_EQ(StorePixel(parent, 59, 59), Green);
    EXPECT_NE(StorePixel(parent, 30, 30), Green);   // the child's
}

TEST_F(Paint, AWindowRegionClipsPaintingAndHitTesting) {
    HWND below = Create(WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
    HWND w = Create(WS_POPUP | WS_VISIBLE, 100, 100, 100, 100, nullptr, 0, PlainClass);
    Pump();
    ClearLog();
    HRGN region = gdi::CreateRectRgn(0, 0, 50, 50);
    EXPECT_EQ(SetWindowRgn(w, region, true), 1);
    EXPECT_FALSE(gdi::IsValidObject(region));   // taken over
    auto messages = Messages(w);
    EXPECT_NE(std::find(messages.begin(), messages.end(), WM_WINDOWPOSCHANGING), messages.end());
    EXPECT_NE(std::find(messages.begin(), messages.end(), WM_WINDOWPOSCHANGED), messages.end());

    HDC dc = GetWindowDC(w);
    Fill(dc, RECT {0, 0, 100, 100}, Green);
    ReleaseDC(w, dc);
    EXPECT_EQ(StorePixel(w, 49, 49), Green);
    EXPECT_EQ(StorePixel(w, 50, 50), 0u);
    EXPECT_EQ(WindowFromPoint(POINT {149, 149}), w);
    EXPECT_EQ(WindowFromPoint(POINT {150, 150}), below);

    Pump();
    EXPECT_EQ(Screen->ScreenPixel(110, 110), Green);
    EXPECT_EQ(Screen->ScreenPixel(180, 180), White);   // the window below shows through

    gdi::GdiHandle<gdi::Region> copy(gdi::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(w, copy), gdi::SIMPLEREGION);
    EXPECT_EQ(copy.Get()->Shape().Box(), (RECT {0, 0, 50, 50}));
    SetWindowRgn(w, nullptr, true);
    EXPECT_EQ(GetWindowRgn(w, copy), gdi::ERROR);
    EXPECT_EQ(WindowFromPoint(POINT {150, 150}), w);
}

TEST_F(Paint, RedrawWindowUpdateNowPaintsBeforeReturning) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    Pump();
    ClearLog();
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Count(w, WM_PAINT), 1);
    RedrawWindow(w, nullptr, nullptr, RDW_INTERNALPAINT);
    Pump();
    EXPECT_EQ(Count(w, WM_PAINT), 2);
    RECT r {0, 0, 5, 5};
    InvalidateRect(w, &r, false);
    ValidateRect(w, nullptr);
    Pump();
    EXPECT_EQ(Count(w, WM_PAINT), 2);
}

TEST_F(Paint, UpdateRectAndRegionReportWhatIsPending) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    Pump();
    RECT r {};
    EXPECT_FALSE(GetUpdateRect(w, &r, false));
    RECT a {0, 0, 10, 10};
    RECT b {20, 20, 30, 30};
    InvalidateRect(w, &a, false);
    InvalidateRect(w, &b, false);
    EXPECT_TRUE(GetUpdateRect(w, &r, false));
    EXPECT_EQ(r, (RECT {0, 0, 30, 30}));
    gdi::GdiHandle<gdi::Region> rgn(gdi::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetUpdateRgn(w, rgn, false), gdi::COMPLEXREGION);
    RECT outside {60, 60, 70, 70};
    ValidateRect(w, &a);
    ValidateRect(w, &b);
    InvalidateRect(w, &outside, false);   // outside the client area: nothing
    EXPECT_FALSE(GetUpdateRect(w, &r, false));
}

TEST_F(Paint, TheFrameIsPaintedThroughNcPaintWhenInvalidated) {
    HWND w = Create(WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 50, 50);
    Pump();
    ClearLog();
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_EQ(Count(w, WM_NCPAINT), 1);
    EXPECT_EQ(Log(w)[0].Msg, WM_NCPAINT);
}

TEST_F(Paint, HiddenWindowsAreNotPaintedNorShown) {
    HWND w = Create(WS_POPUP, 0, 0, 50, 50);
    InvalidateRect(w, nullptr, true);
    Pump();
    EXPECT_EQ(Count(w, WM_PAINT), 0);
    EXPECT_EQ(Screen->ScreenPixel(10, 10), HeadlessDisplay::DesktopColor);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    Pump();
    EXPECT_EQ(Count(w, WM_PAINT), 1);
    EXPECT_EQ(Screen->ScreenPixel(10, 10), White);
}

TEST_F(Paint, ScrollWindowExMovesPixelsAndInvalidatesTheUncoveredStrip) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, 0, PlainClass);
    SetHandler(w, [](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_PAINT) return std::nullopt;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        Fill(dc, RECT {0, 0, 50, 100}, Red);
        Fill(dc, RECT {50, 0, 100, 100}, Blue);
        EndPaint(h, &ps);
        return 0;
    });
    Pump();
    SetHandler(w, nullptr);
    RECT uncovered {};
    ScrollWindowEx(w, -10, 0, nullptr, nullptr, nullptr, &uncovered, SW_INVALIDATE);
    EXPECT_EQ(uncovered, (RECT {90, 0, 100, 100}));
    EXPECT_EQ(StorePixel(w, 39, 5), Red);
    EXPECT_EQ(StorePixel(w, 40, 5), Blue);
    RECT update {};
    EXPECT_TRUE(GetUpdateRect(w, &update, false));
    EXPECT_EQ(update, uncovered);
}

// A picture whose every row and column differs: the colour of content point (x, y).
COLORREF StripeAt(int x, int y) {
    return gdi::RGB((x * 3) & 0xFF, (y * 5) & 0xFF, ((x + y) & 1) ? 40 : 200);
}

// Scrolled pixels must equal a fresh paint in every direction, by one row or column up to more than a child's
// size, while children the scroll leaves in place cut the region into several bands with several spans each.
TEST_F(Paint, ScrolledPixelsEqualAFreshPaintInEveryDirection) {
    HWND w = Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 120, 100, nullptr, 0, PlainClass);
    const RECT children[] = {{20, 30, 50, 40}, {70, 55, 90, 70}, {10, 60, 25, 64}};
    for (const RECT& c : children)
        Create(WS_CHILD | WS_VISIBLE, c.left, c.top, c.right - c.left, c.bottom - c.top, w, 0, PlainClass);
    POINT origin {0, 0};   // the content point at client (0, 0)
    SetHandler(w, [&origin](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_PAINT) return std::nullopt;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        for (int y = ps.rcPaint.top; y < ps.rcPaint.bottom; ++y)
            for (int x = ps.rcPaint.left; x < ps.rcPaint.right; ++x)
                SetPixelV(dc, x, y, StripeAt(x + origin.x, y + origin.y));
        EndPaint(h, &ps);
        return 0;
    });
    const RECT client {0, 0, 120, 100};
    auto underAChild = [&](int x, int y) {
        for (const RECT& c : children)
            if (x >= c.left && x < c.right && y >= c.top && y < c.bottom) return true;
        return false;
    };
    const POINT directions[] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}, {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    for (const POINT& direction : directions) {
        for (int step : {1, 2, 3, 4, 5, 7, 9, 12, 16, 25, 40}) {
            origin = POINT {0, 0};
            InvalidateRect(w, nullptr, false);
            ASSERT_TRUE(Pump());
            const int dx = direction.x * step;
            const int dy = direction.y * step;
            ScrollWindowEx(w, dx, dy, &client, nullptr, nullptr, nullptr, SW_INVALIDATE);
            origin = POINT {-dx, -dy};
            ASSERT_TRUE(Pump());
            int wrong = 0;
            POINT first {-1, -1};
            for (int y = 0; y < 100; ++y)
                for (int x = 0; x < 120; ++x)
                    if (!underAChild(x, y) && StorePixel(w, x, y) != StripeAt(x + origin.x, y + origin.y)) {
                        if (wrong++ == 0) first = POINT {x, y};
                    }
            EXPECT_EQ(wrong, 0) << "by " << dx << ", " << dy << ": first wrong pixel at " << first.x << ", "
                                << first.y;
        }
    }
}

TEST_F(Paint, ScrollingChildrenMovesThemWithWmMove) {
    HWND parent = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = Create(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, parent);
    ClearLog();
    ScrollWindowEx(parent, 0, 5, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE);
    EXPECT_EQ(WindowRect(child).top, 15);
    EXPECT_EQ(Count(child, WM_MOVE), 1);
}

// What of a child its parent's client leaves out is not on the screen: made invalid there, it is not painted
// until a scroll brings it into view, and then it shows what it holds by then.
TEST_F(Paint, AChildOutsideItsParentsClientIsPaintedOnlyWhereAndWhenItCanBeSeen) {
    HWND parent = Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100, nullptr, 0, PlainClass);
    HWND below = Create(WS_CHILD | WS_VISIBLE, 10, 150, 20, 20, parent, 0, PlainClass);
    HWND half = Create(WS_CHILD | WS_VISIBLE, 40, 90, 20, 20, parent, 0, PlainClass);
    std::vector<RECT> painted;
    SetHandler(below, Painter(Red));
    SetHandler(half, Painter(Red, &painted));
    ASSERT_TRUE(Pump());
    painted.clear();
    ClearLog();

    SetHandler(below, Painter(Green));
    InvalidateRect(below, nullptr, true);
    InvalidateRect(half, nullptr, true);
    RECT update {};
    EXPECT_FALSE(GetUpdateRect(below, &update, false));
    ASSERT_TRUE(Pump());
    EXPECT_EQ(Count(below, WM_PAINT), 0);
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0], (RECT {0, 0, 20, 10}));   // the half the parent shows

    ScrollWindowEx(parent, 0, -100, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE);
    ASSERT_TRUE(Pump());
    EXPECT_EQ(Count(below, WM_PAINT), 1);
    EXPECT_EQ(StorePixel(below, 5, 5), Green);
}

TEST_F(Paint, LockedWindowsDrawNothingUntilUnlocked) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, 0, PlainClass);
    Pump();
    EXPECT_TRUE(LockWindowUpdate(w));
    HDC dc = GetDC(w);
    Fill(dc, RECT {0, 0, 50, 50}, Green);
    ReleaseDC(w, dc);
    EXPECT_EQ(StorePixel(w, 5, 5), 0u);
    ClearLog();
    LockWindowUpdate(nullptr);
    Pump();
    EXPECT_EQ(Count(w, WM_PAINT), 1);
}

// The lock is kept by handle: destroying the locked window ends it, and unlocking afterwards touches nothing
// freed (the sanitizer build catches a stale pointer here).
TEST_F(Paint, DestroyingTheLockedWindowEndsTheLockAndUnlockingAfterwardsIsSafe) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, 0, PlainClass);
    ASSERT_TRUE(Pump());
    EXPECT_TRUE(LockWindowUpdate(w));
    EXPECT_FALSE(LockWindowUpdate(w));   // one lock at a time
    EXPECT_TRUE(DestroyWindow(w));
    HWND next = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, 0, PlainClass);
    ASSERT_TRUE(Pump());
    HDC dc = GetDC(next);
    Fill(dc, RECT {0, 0, 50, 50}, Green);   // not locked, whatever memory it took over
    ReleaseDC(next, dc);
    EXPECT_EQ(StorePixel(next, 5, 5), Green);
    EXPECT_TRUE(LockWindowUpdate(nullptr));
    EXPECT_TRUE(LockWindowUpdate(next));   // the dead lock does not block a new one
    EXPECT_TRUE(LockWindowUpdate(nullptr));
}

#ifdef KORVEX_ASSERTS
// Programming errors the assertion builds stop at: EndPaint without its BeginPaint, and a paint handler that
// saved DC state without restoring it.
TEST_F(Paint, EndPaintWithoutItsBeginPaintOrWithStateStillSavedIsCaught) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    HWND w = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, 0, PlainClass);
    ASSERT_TRUE(Pump());
    EXPECT_DEATH(
        {
            PAINTSTRUCT ps {};
            ps.hdc = GetDC(w);
            EndPaint(w, &ps);
        },
        "assertion failed");
    EXPECT_DEATH(
        {
            InvalidateRect(w, nullptr, false);
            PAINTSTRUCT ps {};
            BeginPaint(w, &ps);
            gdi::SaveDC(ps.hdc);
            EndPaint(w, &ps);
        },
        "assertion failed");
    PAINTSTRUCT ps {};
    InvalidateRect(w, nullptr, false);
    BeginPaint(w, &ps);
    int depth = gdi::SaveDC(ps.hdc);
    gdi::RestoreDC(ps.hdc, depth);
    EXPECT_TRUE(EndPaint(w, &ps));
}
#endif

TEST_F(Paint, WindowFromDcFindsTheWindowUntilReleased) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    HDC dc = GetDC(w);
    EXPECT_EQ(WindowFromDC(dc), w);
    ReleaseDC(w, dc);
    EXPECT_EQ(WindowFromDC(dc), nullptr);
}

TEST_F(Paint, ADcHeldAcrossTheWindowsDestructionDrawsNowhere) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    HDC dc = GetDC(w);
    DestroyWindow(w);
    Fill(dc, RECT {0, 0, 50, 50}, Green);   // must not touch freed memory
    EXPECT_EQ(ReleaseDC(w, dc), 1);
}

TEST_F(Paint, OpenDcCountFollowsTakingAndReleasingAlsoPastTheWindow) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    const std::size_t before = OpenDcCount();
    HDC client = GetDC(w);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(OpenDcCount(), before + 2);
    DestroyWindow(w);
    EXPECT_EQ(OpenDcCount(), before + 2);   // a dead window's DC still waits for its release
    ReleaseDC(w, client);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(OpenDcCount(), before);
}

TEST_F(Paint, ChangesReachTheDisplayOncePerLoopTurn) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    Pump();
    ASSERT_EQ(Screen->StackingOrder().size(), 1u);
    const auto* surface = Screen->Surface(Screen->StackingOrder()[0]);
    ASSERT_NE(surface, nullptr);
    int before = surface->PresentCount;
    RECT a {0, 0, 5, 5};
    RECT b {10, 10, 15, 15};
    InvalidateRect(w, &a, true);
    InvalidateRect(w, &b, true);
    Pump();
    EXPECT_EQ(surface->PresentCount, before + 1);
    Pump();
    EXPECT_EQ(surface->PresentCount, before + 1);
}

TEST_F(Paint, LayeredWindowsBlendTheirPremultipliedPictureOverTheScreen) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 10, 10, 20, 20, nullptr, WS_EX_LAYERED);
    HDC mem = gdi::CreateCompatibleDC(nullptr);
    gdi::Bitmap* picture = gdi::Bitmap::Create(20, 20, gdi::PixelFormat::pf32bit);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            gdi::BYTE* p = picture->ScanLine(y) + x * 4;
            p[0] = 0;
            p[1] = 0;
            p[2] = 128;   // red at half coverage, premultiplied
            p[3] = 128;
        }
    gdi::SelectObject(mem, picture);
    gdi::BLENDFUNCTION blend;
    blend.AlphaFormat = gdi::AC_SRC_ALPHA;
    POINT origin {0, 0};
    ASSERT_TRUE(UpdateLayeredWindow(w, nullptr, nullptr, nullptr, mem, &origin, 0, &blend, ULW_ALPHA));
    Pump();
    COLORREF desk = HeadlessDisplay::DesktopColor;
    COLORREF seen = Screen->ScreenPixel(15, 15);
    EXPECT_EQ(gdi::GetRValue(seen), 128 + (gdi::GetRValue(desk) * 127 + 127) / 255);
    EXPECT_EQ(gdi::GetBValue(seen), (gdi::GetBValue(desk) * 127 + 127) / 255);
    EXPECT_EQ(Screen->ScreenPixel(9, 9), desk);
    blend.SourceConstantAlpha = 0;
    UpdateLayeredWindow(w, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &blend, ULW_ALPHA);
    EXPECT_EQ(Screen->ScreenPixel(15, 15), desk);
    gdi::DeleteDC(mem);
    gdi::DeleteObject(picture);
    HWND plain = Create(WS_POPUP, 0, 0, 5, 5);
    EXPECT_FALSE(UpdateLayeredWindow(plain, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &blend, ULW_ALPHA));
}

TEST_F(Paint, CaptureScreenGivesWhatIsBehindAWindow) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    Pump();
    gdi::Bitmap* shot = CaptureScreen(RECT {40, 40, 60, 60});
    ASSERT_NE(shot, nullptr);
    EXPECT_EQ(shot->PixelAt(0, 0), White);
    EXPECT_EQ(shot->PixelAt(19, 19), HeadlessDisplay::DesktopColor);
    gdi::DeleteObject(shot);
    (void)w;
}

TEST_F(Paint, TheScreenDcReadsWhatTheScreenShows) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 10, 10, 50, 50);
    SetHandler(w, Painter(Red));
    Pump();
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(WindowFromDC(screen), nullptr);
    HDC mem = gdi::CreateCompatibleDC(nullptr);
    gdi::Bitmap* copy = gdi::Bitmap::Create(20, 20, gdi::PixelFormat::pf24bit);
    gdi::SelectObject(mem, copy);
    gdi::BitBlt(mem, 0, 0, 20, 20, screen, 50, 50, gdi::SRCCOPY);
    EXPECT_EQ(copy->PixelAt(0, 0), Red);   // (50, 50) is inside the window
    EXPECT_EQ(copy->PixelAt(19, 19), HeadlessDisplay::DesktopColor);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    gdi::DeleteDC(mem);
    gdi::DeleteObject(copy);
}

// An inverted band drawn into the screen shows over the window and the desktop; drawn again it is gone.
TEST_F(Paint, DrawingIntoTheScreenDcShowsOnTheScreenAndDrawnTwiceIsGone) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 10, 10, 50, 50);
    SetHandler(w, Painter(Red));
    Pump();
    const COLORREF desk = HeadlessDisplay::DesktopColor;
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(gdi::PatBlt(screen, 40, 30, 40, 3, gdi::DSTINVERT));   // from inside the window out over the desktop
    Pump();
    EXPECT_EQ(Screen->ScreenPixel(45, 31), Red ^ 0xFFFFFFu);
    EXPECT_EQ(Screen->ScreenPixel(70, 31), desk ^ 0xFFFFFFu);
    EXPECT_EQ(Screen->ScreenPixel(45, 34), Red);
    EXPECT_EQ(Screen->ScreenPixel(81, 31), desk);
    EXPECT_TRUE(gdi::PatBlt(screen, 40, 30, 40, 3, gdi::DSTINVERT));
    Pump();
    EXPECT_EQ(Screen->ScreenPixel(45, 31), Red);
    EXPECT_EQ(Screen->ScreenPixel(70, 31), desk);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    (void)w;
}

TEST_F(Paint, AScreenDcUsedOnlyToMeasureTextTakesNoCaptureOfTheScreen) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 10, 10, 50, 50);
    SetHandler(w, Painter(Red));
    ASSERT_TRUE(Pump());
    int before = Screen->CaptureCount();
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    HFONT font = gdi::CreateFont(-12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
    HFONT old = gdi::SelectObject(screen, font);
    gdi::SIZE extent {};
    EXPECT_TRUE(gdi::GetTextExtentPoint32(screen, "Measure", 7, &extent));
    EXPECT_GT(extent.cx, 0);
    RECT box {0, 0, 0, 0};
    gdi::DrawText(screen, "Two\nlines", &box, gdi::DT_CALCRECT);
    EXPECT_GT(box.bottom, extent.cy);
    EXPECT_EQ(gdi::GetDeviceCaps(screen, gdi::HORZRES), HeadlessDisplay::DefaultWidth);
    RECT clip {};
    EXPECT_NE(gdi::GetClipBox(screen, &clip), gdi::ERROR);
    EXPECT_EQ(clip.right, HeadlessDisplay::DefaultWidth);
    EXPECT_EQ(Screen->CaptureCount(), before);
    // The first pixel read takes it, once, showing what the screen shows then.
    EXPECT_EQ(gdi::GetPixel(screen, 20, 20), Red);
    EXPECT_EQ(gdi::GetPixel(screen, 5, 5), HeadlessDisplay::DesktopColor);
    EXPECT_EQ(Screen->CaptureCount(), before + 1);
    gdi::SelectObject(screen, old);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    gdi::DeleteObject(font);
}

}   // namespace

}

namespace korvex::user::test {

namespace {

TEST_F(Paint, AWindowThatInvalidatesItselfWhilePaintingDoesNotHoldThePumpForever) {
    HWND w = Create(WS_POPUP | WS_VISIBLE, 0, 0, 20, 20);
    SetHandler(w, [](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_PAINT) return std::nullopt;
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        EndPaint(h, &ps);
        InvalidateRect(h, nullptr, false);
        return 0;
    });
    EXPECT_GT(PumpMessages(), 0);
}

}   // namespace

}

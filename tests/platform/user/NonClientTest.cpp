// The default non-client area: frame sizes by style, hit codes, frame pixels, activation, caption buttons.
#include "NonClientFixture.h"

#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Region.h"
#include "platform/user/Focus.h"
#include "platform/user/NonClient.h"
#include "platform/user/Menus.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/ScrollBars.h"

namespace korvex::user::test {
namespace {

int M(int index) {
    return GetSystemMetrics(index);
}

// ---------------------------------------------------------------------------------------------------------
// WM_NCCALCSIZE

struct InsetCase {
    const char* Name;
    DWORD Style;
    DWORD ExStyle;
    std::function<RECT()> Insets;   // left, top, right, bottom distances to the client area
};

class NcCalcSizeByStyle : public NonClientFixture, public ::testing::WithParamInterface<InsetCase> { };

TEST_P(NcCalcSizeByStyle, ClientRectangleLeavesTheFrameOfTheStyles) {
    const InsetCase& c = GetParam();
    HWND parent = nullptr;
    if (c.Style & WS_CHILD) parent = Create(WS_POPUP, 0, gdi::Bounds(0, 0, 600, 500));
    HWND hwnd = Create(c.Style, c.ExStyle, gdi::Bounds(10, 20, 300, 200), parent);
    RECT rect = gdi::Bounds(40, 50, 300, 200);
    SendMessage(hwnd, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&rect));
    const RECT insets = c.Insets();
    EXPECT_EQ(rect, (RECT {40 + insets.left, 50 + insets.top, 340 - insets.right, 250 - insets.bottom}));

    NCCALCSIZE_PARAMS params;
    params.rgrc[0] = gdi::Bounds(-5, 7, 300, 200);
    EXPECT_EQ(SendMessage(hwnd, WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&params)), 0);
    EXPECT_EQ(params.rgrc[0], (RECT {-5 + insets.left, 7 + insets.top, 295 - insets.right, 207 - insets.bottom}));

    EXPECT_EQ(ClientRect(hwnd), (RECT {0, 0, 300 - insets.left - insets.right, 200 - insets.top - insets.bottom}));
}

INSTANTIATE_TEST_SUITE_P(Styles, NcCalcSizeByStyle,
    ::testing::Values(InsetCase {"OverlappedWindow", WS_OVERLAPPEDWINDOW, 0,
                          [] {
                              const int f = M(SM_CXSIZEFRAME);
                              return RECT {f, M(SM_CYSIZEFRAME) + M(SM_CYCAPTION), f, M(SM_CYSIZEFRAME)};
                          }},
        InsetCase {"DialogFrameWithCaption", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
            [] {
                const int f = M(SM_CXFIXEDFRAME);
                return RECT {f, M(SM_CYFIXEDFRAME) + M(SM_CYCAPTION), f, M(SM_CYFIXEDFRAME)};
            }},
        InsetCase {"ModalFrameWithoutCaption", WS_POPUP, WS_EX_DLGMODALFRAME,
            [] {
                return RECT {M(SM_CXFIXEDFRAME), M(SM_CYFIXEDFRAME), M(SM_CXFIXEDFRAME), M(SM_CYFIXEDFRAME)};
            }},
        InsetCase {"ThinBorder", WS_POPUP | WS_BORDER, 0,
            [] {
                return RECT {1, 1, 1, 1};
            }},
        InsetCase {"NoFrame", WS_POPUP, 0,
            [] {
                return RECT {0, 0, 0, 0};
            }},
        InsetCase {"ToolWindowSmallCaption", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW,
            [] {
                const int f = M(SM_CXSIZEFRAME);
                return RECT {f, M(SM_CYSIZEFRAME) + M(SM_CYSMCAPTION), f, M(SM_CYSIZEFRAME)};
            }},
        InsetCase {"ChildClientEdge", WS_CHILD, WS_EX_CLIENTEDGE,
            [] {
                return RECT {M(SM_CXEDGE), M(SM_CYEDGE), M(SM_CXEDGE), M(SM_CYEDGE)};
            }},
        InsetCase {"ChildStaticEdge", WS_CHILD, WS_EX_STATICEDGE,
            [] {
                return RECT {1, 1, 1, 1};
            }},
        InsetCase {"BorderAndBothScrollBars", WS_CHILD | WS_BORDER | WS_VSCROLL | WS_HSCROLL, 0,
            [] {
                return RECT {1, 1, 1 + M(SM_CXVSCROLL), 1 + M(SM_CYHSCROLL)};
            }},
        InsetCase {"ClientEdgeAroundScrollBar", WS_CHILD | WS_VSCROLL, WS_EX_CLIENTEDGE,
            [] {
                return RECT {M(SM_CXEDGE), M(SM_CYEDGE), M(SM_CXEDGE) + M(SM_CXVSCROLL), M(SM_CYEDGE)};
            }},
        InsetCase {"LeftScrollBar", WS_CHILD | WS_VSCROLL, WS_EX_LEFTSCROLLBAR,
            [] {
                return RECT {M(SM_CXVSCROLL), 0, 0, 0};
            }}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(NonClientInsets, MenuBarAddsItsHeightUnderTheCaption) {
    const RECT plain = NonClientInsets(WS_OVERLAPPEDWINDOW, 0, 0);
    const RECT withMenu = NonClientInsets(WS_OVERLAPPEDWINDOW, 0, 19);
    EXPECT_EQ(withMenu.top, plain.top + 19);
    EXPECT_EQ(withMenu.left, plain.left);
    EXPECT_EQ(withMenu.bottom, plain.bottom);
}

TEST(AdjustWindowRectEx, AddsTheFrameCaptionAndMenuRow) {
    RECT rect {100, 100, 200, 200};
    ASSERT_TRUE(AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, true, WS_EX_CLIENTEDGE));
    const int side = M(SM_CXSIZEFRAME) + M(SM_CXEDGE);
    EXPECT_EQ(rect.left, 100 - side);
    EXPECT_EQ(rect.right, 200 + side);
    EXPECT_EQ(rect.top, 100 - M(SM_CYSIZEFRAME) - M(SM_CYCAPTION) - M(SM_CYMENU) - M(SM_CYEDGE));
    EXPECT_EQ(rect.bottom, 200 + M(SM_CYSIZEFRAME) + M(SM_CYEDGE));
    EXPECT_FALSE(AdjustWindowRectEx(nullptr, WS_OVERLAPPEDWINDOW, false, 0));
}

TEST(AdjustWindowRectEx, ScrollBarsAreNotPartOfTheAdjustedFrame) {
    RECT rect {100, 100, 200, 200};
    ASSERT_TRUE(AdjustWindowRectEx(&rect, WS_POPUP | WS_BORDER | WS_VSCROLL, false, 0));
    EXPECT_EQ(rect, (RECT {99, 99, 201, 201}));
}

TEST(NonClientLayout, WindowTooSmallForItsFrameKeepsEveryRectangleUpright) {
    const nc::Layout l = nc::ComputeLayout(WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE, 6, 5, 0);
    for (const RECT* r : {&l.Caption, &l.CloseButton, &l.MaxButton, &l.MinButton, &l.Client, &l.EdgeBox}) {
        EXPECT_LE(r->left, r->right);
        EXPECT_LE(r->top, r->bottom);
    }
    EXPECT_TRUE(gdi::IsRectEmpty(&l.VScroll));   // no room: the bar is left out
    EXPECT_TRUE(gdi::IsRectEmpty(&l.HScroll));
}

TEST(NonClientLayout, BothCaptionBoxesShowWhenEitherStyleIsSet) {
    const nc::Layout l = nc::ComputeLayout(WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX, 0, 300, 200, 0);
    EXPECT_FALSE(gdi::IsRectEmpty(&l.MaxButton));
    EXPECT_FALSE(l.Style.MaxEnabled);
    EXPECT_TRUE(l.Style.MinEnabled);
    const nc::Layout tool = nc::ComputeLayout(WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, 300, 200, 0);
    EXPECT_TRUE(gdi::IsRectEmpty(&tool.MaxButton));
    EXPECT_TRUE(gdi::IsRectEmpty(&tool.Icon));
    EXPECT_FALSE(gdi::IsRectEmpty(&tool.CloseButton));
}

// ---------------------------------------------------------------------------------------------------------
// WM_NCHITTEST

class NcHitTest : public NonClientFixture {
protected:
    void SetUp() override {
        NonClientFixture::SetUp();
        Wnd = Create(WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, gdi::Bounds(100, 80, 400, 300));
        Layout = nc::LayoutOf(Wnd);
    }

    LRESULT Hit(int x, int y) { return SendMessage(Wnd, WM_NCHITTEST, 0, MAKELPARAM(100 + x, 80 + y)); }
    LRESULT HitCentre(const RECT& r) { return Hit((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

    HWND Wnd = nullptr;
    nc::Layout Layout;
};

TEST_F(NcHitTest, GridOverAnOverlappedWindowWithScrollBars) {
    const int f = M(SM_CXSIZEFRAME);
    const int corner = f + M(SM_CXSIZE);
    struct Probe {
        int X, Y;
        LRESULT Code;
    };
    const Probe probes[] = {
        {0, 0, HTTOPLEFT},
        {399, 0, HTTOPRIGHT},
        {0, 299, HTBOTTOMLEFT},
        {399, 299, HTBOTTOMRIGHT},
        {200, 0, HTTOP},
        {200, 299, HTBOTTOM},
        {0, 150, HTLEFT},
        {399, 150, HTRIGHT},
        {f - 1, 150, HTLEFT},
        {0, corner - 1, HTTOPLEFT},   // the corner reaches along the sides
        {0, corner, HTLEFT},
        {corner - 1, 0, HTTOPLEFT},
        {corner, 0, HTTOP},
        {399, 299 - corner + 1, HTBOTTOMRIGHT},
        {200, f + 2, HTCAPTION},
        {150, 150, HTCLIENT},
        {-1, 150, HTNOWHERE},
        {400, 150, HTNOWHERE},
        {200, 300, HTNOWHERE},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(Hit(p.X, p.Y), p.Code) << "at " << p.X << "," << p.Y;
}

TEST_F(NcHitTest, CaptionPartsAnswerTheirCodes) {
    EXPECT_EQ(HitCentre(Layout.Icon), HTSYSMENU);
    EXPECT_EQ(HitCentre(Layout.MinButton), HTMINBUTTON);
    EXPECT_EQ(HitCentre(Layout.MaxButton), HTMAXBUTTON);
    EXPECT_EQ(HitCentre(Layout.CloseButton), HTCLOSE);
    // The gap before the close button and the rows above and below the buttons still count.
    EXPECT_EQ(Hit(Layout.CloseButton.left - 1, Layout.CloseButton.top), HTMAXBUTTON);
    EXPECT_EQ(Hit(Layout.CloseButton.left, Layout.CaptionBand.top), HTCLOSE);
    EXPECT_EQ(Hit(Layout.MinButton.left - 1, Layout.MinButton.top + 1), HTCAPTION);
    EXPECT_EQ(Hit(Layout.Icon.right, Layout.Icon.top + 1), HTCAPTION);
}

TEST_F(NcHitTest, ScrollBandsAndTheSizeBoxWhereTheyMeet) {
    EXPECT_EQ(HitCentre(Layout.VScroll), HTVSCROLL);
    EXPECT_EQ(HitCentre(Layout.HScroll), HTHSCROLL);
    EXPECT_EQ(HitCentre(Layout.SizeBox), HTSIZE);
    EXPECT_EQ(Hit(Layout.VScroll.left, Layout.VScroll.bottom - 1), HTVSCROLL);
    EXPECT_EQ(Hit(Layout.HScroll.right - 1, Layout.HScroll.top), HTHSCROLL);
}

TEST_F(NcHitTest, MaximizedWindowHasNoSizingEdges) {
    ShowWindow(Wnd, SW_MAXIMIZE);
    const RECT r = WindowRect(Wnd);
    EXPECT_EQ(SendMessage(Wnd, WM_NCHITTEST, 0, MAKELPARAM(r.left, r.top + 100)), HTBORDER);
    EXPECT_EQ(SendMessage(Wnd, WM_NCHITTEST, 0, MAKELPARAM(r.left, r.top)), HTBORDER);
}

TEST_F(NcHitTest, OutsideTheWindowRegionIsNowhere) {
    SetWindowRgn(Wnd, gdi::CreateEllipticRgn(0, 0, 400, 300), false);
    EXPECT_EQ(Hit(1, 1), HTNOWHERE);
    EXPECT_EQ(Hit(200, 150), HTCLIENT);
}

TEST_F(NcHitTest, DialogFrameAnswersBorderNotSizing) {
    HWND dialog
        = Create(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, WS_EX_CLIENTEDGE, gdi::Bounds(0, 0, 200, 100));
    EXPECT_EQ(SendMessage(dialog, WM_NCHITTEST, 0, MAKELPARAM(0, 0)), HTBORDER);
    EXPECT_EQ(SendMessage(dialog, WM_NCHITTEST, 0, MAKELPARAM(199, 50)), HTBORDER);
    const nc::Layout l = nc::LayoutOf(dialog);
    EXPECT_EQ(SendMessage(dialog, WM_NCHITTEST, 0, MAKELPARAM(l.EdgeBox.left, 60)), HTBORDER);   // client edge
    EXPECT_TRUE(gdi::IsRectEmpty(&l.MinButton));
}

TEST_F(NcHitTest, SizingCursorsFollowTheEdges) {
    EXPECT_EQ(CursorIdForHitTest(Wnd, HTLEFT), IDC_SIZEWE);
    EXPECT_EQ(CursorIdForHitTest(Wnd, HTBOTTOM), IDC_SIZENS);
    EXPECT_EQ(CursorIdForHitTest(Wnd, HTTOPLEFT), IDC_SIZENWSE);
    EXPECT_EQ(CursorIdForHitTest(Wnd, HTBOTTOMLEFT), IDC_SIZENESW);
    EXPECT_EQ(CursorIdForHitTest(Wnd, HTSIZE), IDC_SIZENWSE);
    EXPECT_EQ(CursorIdForHitTest(Wnd, HTCAPTION), IDC_ARROW);
    EXPECT_EQ(CursorIdForHitTest(Wnd, HTCLIENT), 0);
}

class MenuBarHook : public NonClientFixture {
protected:
    void TearDown() override {
        SetMenuBarHooks({});
        NonClientFixture::TearDown();
    }
};

TEST_F(MenuBarHook, BarComesFromTheMenuLayer) {
    std::vector<RECT> painted;
    std::vector<LRESULT> tracked;
    MenuBarHooks hooks;
    hooks.Height = [](HWND, int width) { return width > 250 ? 19 : 38; };   // wraps into two rows when narrow
    hooks.Paint = [&](HWND, HDC, const RECT& bar) { painted.push_back(bar); };
    hooks.Track = [&](HWND, LRESULT code, POINT) { tracked.push_back(code); };
    SetMenuBarHooks(hooks);

    HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(100, 100, 300, 200));
    const nc::Layout l = nc::LayoutOf(hwnd);
    EXPECT_EQ(l.MenuBar.top, l.CaptionBand.bottom);
    EXPECT_EQ(l.MenuBar.Height(), 19);
    EXPECT_EQ(l.Client.top, l.MenuBar.bottom);
    ASSERT_FALSE(painted.empty());
    EXPECT_EQ(painted.back(), l.MenuBar);
    EXPECT_EQ(SendMessage(hwnd, WM_NCHITTEST, 0, MAKELPARAM(150, 100 + l.MenuBar.top + 2)), HTMENU);

    Screen->Click(150, 100 + l.MenuBar.top + 2);
    Pump();
    EXPECT_EQ(tracked, std::vector<LRESULT> {HTMENU});

    HWND child = Create(WS_CHILD | WS_CAPTION, 0, gdi::Bounds(0, 0, 100, 80), hwnd);
    const RECT childBar = nc::LayoutOf(child).MenuBar;
    EXPECT_TRUE(gdi::IsRectEmpty(&childBar));   // children have no menu bar
    SetWindowPos(hwnd, nullptr, 0, 0, 200, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(nc::LayoutOf(hwnd).MenuBar.Height(), 38);
}

// ---------------------------------------------------------------------------------------------------------
// Painting and activation

class NcPaint : public NonClientFixture { };

TEST_F(NcPaint, FramePixelsAreRaisedEdgesAroundTheBorderColour) {
    HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(50, 50, 300, 200));
    const int f = M(SM_CXSIZEFRAME);
    EXPECT_EQ(WindowPixel(hwnd, 0, 100), GetSysColor(gdi::COLOR_3DLIGHT));
    EXPECT_EQ(WindowPixel(hwnd, 1, 100), GetSysColor(gdi::COLOR_3DHIGHLIGHT));
    EXPECT_EQ(WindowPixel(hwnd, 299, 100), GetSysColor(gdi::COLOR_3DDKSHADOW));
    EXPECT_EQ(WindowPixel(hwnd, 298, 100), GetSysColor(gdi::COLOR_3DSHADOW));
    EXPECT_EQ(WindowPixel(hwnd, f - 1, 100), GetSysColor(gdi::COLOR_3DFACE));
    EXPECT_EQ(WindowPixel(hwnd, 2, 100), GetSysColor(gdi::COLOR_ACTIVEBORDER));
}

TEST_F(NcPaint, CaptionColourFollowsActivation) {
    HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(50, 50, 300, 200));
    const nc::Layout l = nc::LayoutOf(hwnd);
    const int x = l.Caption.left;
    const int y = l.Caption.top;
    ASSERT_TRUE(IsFrameActive(hwnd));
    EXPECT_EQ(WindowPixel(hwnd, x, y), GetSysColor(gdi::COLOR_ACTIVECAPTION));

    EXPECT_EQ(SendMessage(hwnd, WM_NCACTIVATE, 0, 0), 1);
    EXPECT_FALSE(IsFrameActive(hwnd));
    EXPECT_EQ(WindowPixel(hwnd, x, y), GetSysColor(gdi::COLOR_INACTIVECAPTION));
    EXPECT_EQ(WindowPixel(hwnd, 2, 100), GetSysColor(gdi::COLOR_INACTIVEBORDER));

    SendMessage(hwnd, WM_NCACTIVATE, 1, 0);
    EXPECT_EQ(WindowPixel(hwnd, x, y), GetSysColor(gdi::COLOR_ACTIVECAPTION));
    // The separator row under the caption is the face colour.
    EXPECT_EQ(WindowPixel(hwnd, x + 40, l.CaptionBand.bottom - 1), GetSysColor(gdi::COLOR_3DFACE));
}

TEST_F(NcPaint, CaptionTextIsDrawnBetweenTheIconAndTheButtons) {
    HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(50, 50, 300, 200));
    const nc::Layout l = nc::LayoutOf(hwnd);
    auto count = [&](COLORREF color, int from, int to) {
        int n = 0;
        for (int y = l.Caption.top; y < l.Caption.bottom; ++y)
            for (int x = from; x < to; ++x)
                n += WindowPixel(hwnd, x, y) == color;
        return n;
    };
    const COLORREF text = GetSysColor(gdi::COLOR_CAPTIONTEXT);
    EXPECT_GT(count(text, l.Icon.right, l.MinButton.left), 10);

    SetWindowText(hwnd, std::string(200, 'W'));   // far too long: cut before the buttons
    Pump();
    EXPECT_GT(count(text, l.Icon.right, l.MinButton.left - 2), 10);
    EXPECT_EQ(count(text, l.MinButton.left - 2, l.MinButton.left), 0);

    SendMessage(hwnd, WM_NCACTIVATE, 0, 0);
    EXPECT_GT(count(GetSysColor(gdi::COLOR_INACTIVECAPTIONTEXT), l.Icon.right, l.MinButton.left), 10);

    SetWindowText(hwnd, "");
    Pump();
    EXPECT_EQ(count(GetSysColor(gdi::COLOR_INACTIVECAPTIONTEXT), l.Icon.right, l.MinButton.left), 0);
}

TEST_F(NcPaint, PaintingStaysOutOfTheClientArea) {
    HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(50, 50, 300, 200));
    const nc::Layout l = nc::LayoutOf(hwnd);
    HDC dc = GetDC(hwnd);
    RECT client = ClientRect(hwnd);
    gdi::FillRect(dc, &client, GetSysColorBrush(gdi::COLOR_HIGHLIGHT));
    ReleaseDC(hwnd, dc);
    PaintNonClient(hwnd, nullptr);
    EXPECT_EQ(WindowPixel(hwnd, l.Client.left, l.Client.top), GetSysColor(gdi::COLOR_HIGHLIGHT));
    EXPECT_EQ(WindowPixel(hwnd, l.Client.right - 1, l.Client.bottom - 1), GetSysColor(gdi::COLOR_HIGHLIGHT));
}

TEST_F(NcPaint, RegionArgumentLimitsThePaint) {
    HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(50, 50, 300, 200));
    HDC dc = GetWindowDC(hwnd);
    const RECT all {0, 0, 300, 200};
    gdi::FillRect(dc, &all, GetSysColorBrush(gdi::COLOR_HIGHLIGHT));
    ReleaseDC(hwnd, dc);
    // Only the left frame strip, in screen coordinates.
    gdi::GdiHandle<gdi::Region> strip(gdi::CreateRectRgn(50, 50, 55, 250));
    SendMessage(hwnd, WM_NCPAINT, reinterpret_cast<WPARAM>(strip.Get()), 0);
    EXPECT_EQ(WindowPixel(hwnd, 0, 100), GetSysColor(gdi::COLOR_3DLIGHT));
    EXPECT_EQ(WindowPixel(hwnd, 299, 100), GetSysColor(gdi::COLOR_HIGHLIGHT));
}

TEST_F(NcPaint, ThinBorderIsTheWindowFrameColour) {
    HWND hwnd = CreateShown(WS_POPUP | WS_BORDER, 0, gdi::Bounds(10, 10, 100, 80));
    EXPECT_EQ(WindowPixel(hwnd, 0, 40), GetSysColor(gdi::COLOR_WINDOWFRAME));
    EXPECT_EQ(WindowPixel(hwnd, 99, 79), GetSysColor(gdi::COLOR_WINDOWFRAME));
}

TEST_F(NcPaint, SizeGripIsDrawnOnASizableWindow) {
    HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL, 0, gdi::Bounds(10, 10, 300, 200));
    const nc::Layout l = nc::LayoutOf(hwnd);
    const RECT& box = l.SizeBox;
    EXPECT_EQ(WindowPixel(hwnd, box.left, box.top), GetSysColor(gdi::COLOR_3DFACE));
    // The first grip row lies two pixels in from the corner along the diagonal.
    EXPECT_EQ(WindowPixel(hwnd, box.right - 1, box.bottom - 3), GetSysColor(gdi::COLOR_3DHIGHLIGHT));
    EXPECT_EQ(WindowPixel(hwnd, box.right - 1, box.bottom - 4), GetSysColor(gdi::COLOR_3DSHADOW));
}

// ---------------------------------------------------------------------------------------------------------
// Caption buttons

class CaptionButtons : public NonClientFixture {
protected:
    void SetUp() override {
        NonClientFixture::SetUp();
        Wnd = CreateShown(WS_OVERLAPPEDWINDOW, 0, gdi::Bounds(100, 100, 400, 300));
        Layout = nc::LayoutOf(Wnd);
        OnMessage = [](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (msg == WM_CLOSE) return 0;   // recorded, not acted on
            return std::nullopt;
        };
    }

    POINT Centre(const RECT& r) const { return POINT {100 + (r.left + r.right) / 2, 100 + (r.top + r.bottom) / 2}; }

    HWND Wnd = nullptr;
    nc::Layout Layout;
};

TEST_F(CaptionButtons, PressAndReleaseOnCloseSendsScClose) {
    const POINT p = Centre(Layout.CloseButton);
    Screen->Click(p.x, p.y);
    Pump();
    EXPECT_EQ(SysCommands(), std::vector<WPARAM> {SC_CLOSE});
    EXPECT_EQ(Messages(WM_CLOSE).size(), 1u);
}

TEST_F(CaptionButtons, ReleaseOutsideTheButtonSendsNothing) {
    const POINT p = Centre(Layout.CloseButton);
    Screen->MoveMouse(p.x, p.y);
    Screen->ButtonDown(MouseButton::Left, p.x, p.y);
    Screen->MoveMouse(p.x - 60, p.y + 40);
    Screen->ButtonUp(MouseButton::Left, p.x - 60, p.y + 40);
    Pump();
    EXPECT_TRUE(SysCommands().empty());
    EXPECT_TRUE(Messages(WM_CLOSE).empty());
}

TEST_F(CaptionButtons, LeavingAndComingBackStillCounts) {
    const POINT p = Centre(Layout.MinButton);
    Screen->MoveMouse(p.x, p.y);
    Screen->ButtonDown(MouseButton::Left, p.x, p.y);
    Screen->MoveMouse(p.x, p.y + 80);
    Screen->MoveMouse(p.x, p.y);
    Screen->ButtonUp(MouseButton::Left, p.x, p.y);
    Pump();
    EXPECT_EQ(SysCommands(), std::vector<WPARAM> {SC_MINIMIZE});
    EXPECT_TRUE(IsIconic(Wnd));
}

TEST_F(CaptionButtons, ButtonIsDrawnPushedOnlyWhileThePointerIsOnIt) {
    const POINT p = Centre(Layout.CloseButton);
    std::vector<COLORREF> corners;   // the button's top-left pixel as each step is played
    auto corner = [&] { corners.push_back(WindowPixel(Wnd, Layout.CloseButton.left, Layout.CloseButton.top)); };
    Screen->MoveMouse(p.x, p.y);
    Screen->ButtonDown(MouseButton::Left, p.x, p.y);
    Screen->MoveMouse(p.x + 1, p.y);
    PlayInLoop({
        [&] {
            corner();
            Screen->MoveMouse(p.x, p.y + 80);
        },
        [&] {
            corner();
            Screen->MoveMouse(p.x, p.y);
        },
        [&] {
            corner();
            Screen->ButtonUp(MouseButton::Left, p.x, p.y);
        },
    });
    const COLORREF pushed = GetSysColor(gdi::COLOR_3DSHADOW);
    const COLORREF raised = GetSysColor(gdi::COLOR_3DLIGHT);
    // Each pixel is read before its move is handled: pushed, pushed, raised (after leaving).
    EXPECT_EQ(corners, (std::vector<COLORREF> {pushed, pushed, raised}));
    EXPECT_EQ(WindowPixel(Wnd, Layout.CloseButton.left, Layout.CloseButton.top), raised);
    EXPECT_EQ(SysCommands(), std::vector<WPARAM> {SC_CLOSE});
}

TEST_F(CaptionButtons, MaximizeThenRestoreToggleTheWindow) {
    const RECT before = WindowRect(Wnd);
    const POINT p = Centre(Layout.MaxButton);
    Screen->Click(p.x, p.y);
    Pump();
    EXPECT_TRUE(IsZoomed(Wnd));
    const nc::Layout zoomed = nc::LayoutOf(Wnd);
    const RECT r = WindowRect(Wnd);
    Screen->Click(r.left + (zoomed.MaxButton.left + zoomed.MaxButton.right) / 2,
        r.top + (zoomed.MaxButton.top + zoomed.MaxButton.bottom) / 2);
    Pump();
    EXPECT_FALSE(IsZoomed(Wnd));
    EXPECT_EQ(WindowRect(Wnd), before);
    EXPECT_EQ(SysCommands(), (std::vector<WPARAM> {SC_MAXIMIZE, SC_RESTORE}));
}

TEST_F(CaptionButtons, DisabledMaximizeBoxIgnoresClicks) {
    HWND hwnd = CreateShown(WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX, 0, gdi::Bounds(500, 100, 300, 200));
    const nc::Layout l = nc::LayoutOf(hwnd);
    Log.clear();
    Screen->Click(500 + (l.MaxButton.left + l.MaxButton.right) / 2, 100 + (l.MaxButton.top + l.MaxButton.bottom) / 2);
    Pump();
    EXPECT_TRUE(SysCommands().empty());
    EXPECT_FALSE(IsZoomed(hwnd));
}

TEST_F(CaptionButtons, DoubleClickOnTheCaptionTogglesMaximize) {
    const POINT p {300, 100 + (Layout.Caption.top + Layout.Caption.bottom) / 2};
    Screen->DoubleClick(p.x, p.y);
    Pump();
    EXPECT_TRUE(IsZoomed(Wnd));
    const RECT r = WindowRect(Wnd);
    const nc::Layout l = nc::LayoutOf(Wnd);
    Screen->DoubleClick(r.left + 200, r.top + (l.Caption.top + l.Caption.bottom) / 2);
    Pump();
    EXPECT_FALSE(IsZoomed(Wnd));
}

TEST_F(CaptionButtons, RightClickOnTheFrameAsksForTheContextMenu) {
    bool windowMenu = false;   // the default then opens the window menu, closed here at once
    SetMenuLoopIdleHook([&] {
        windowMenu = true;
        return false;
    });
    Screen->Click(300, 100 + Layout.Caption.top + 3, MouseButton::Right);
    Pump();
    SetMenuLoopIdleHook({});
    EXPECT_TRUE(windowMenu);
    const auto menus = Messages(WM_CONTEXTMENU);
    ASSERT_FALSE(menus.empty());
    EXPECT_EQ(menus.front().WParam, reinterpret_cast<WPARAM>(Wnd));
    EXPECT_EQ(LParamToPoint(menus.front().LParam), (POINT {300, 100 + Layout.Caption.top + 3}));
}

}
}

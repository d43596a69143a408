// The notification area on the headless display: icons, callbacks, double clicks, balloons, tips, restarts.
#include "support/TrayTestKit.h"

#include "platform/gdi/PngCodec.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/TrayCore.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/display/headless/HeadlessTray.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <thread>

namespace korvex::tray::test {

namespace {

using namespace user;

constexpr UINT CallbackMsg = WM_USER + 77;

std::map<HWND, std::vector<LPARAM>>& Received() {
    static std::map<HWND, std::vector<LPARAM>> received;
    return received;
}

std::vector<HWND>& TaskbarCreatedSeen() {
    static std::vector<HWND> seen;
    return seen;
}

LRESULT OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == CallbackMsg) {
        Received()[hwnd].push_back(lParam);
        return 0;
    }
    if (msg == RegisterWindowMessage(TaskbarCreatedMessageName)) TaskbarCreatedSeen().push_back(hwnd);
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

class NotifyArea : public TrayTest {
protected:
    void SetUp() override {
        TrayTest::SetUp();
        Received().clear();
        TaskbarCreatedSeen().clear();
        WNDCLASSEX existing;
        if (!GetClassInfoEx("TrayOwnerWindow", &existing)) {
            WNDCLASSEX wc;
            wc.lpfnWndProc = OwnerProc;
            wc.lpszClassName = "TrayOwnerWindow";
            RegisterClassEx(&wc);
        }
        Owner = CreateWindowEx(0, "TrayOwnerWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        Picture.Reset(gdi::Bitmap::Create(16, 16, gdi::PixelFormat::pf32bit));
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                gdi::BYTE* p = Picture.Get()->ScanLine(y) + x * 4;
                p[0] = 0x20;   // blue
                p[1] = 0xC0;   // green
                p[2] = 0x40;   // red
                p[3] = 0xFF;
            }
        KeptSource = SetIconPictureSource(
            [this](HICON handle) -> const gdi::Bitmap* { return handle == FakeIcon() ? Picture.Get() : nullptr; });
    }
    void TearDown() override {
        SetIconPictureSource(std::move(KeptSource));   // the class library's icons are found again
        TrayTest::TearDown();
    }

    static HICON FakeIcon() { return reinterpret_cast<HICON>(std::intptr_t(0x1234)); }

    NOTIFYICONDATA Data(UINT id = 1) {
        NOTIFYICONDATA d;
        d.hWnd = Owner;
        d.uID = id;
        d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        d.uCallbackMessage = CallbackMsg;
        d.hIcon = FakeIcon();
        d.szTip = "KORVEX";
        return d;
    }
    bool Add(UINT id = 1) {
        NOTIFYICONDATA d = Data(id);
        return Shell_NotifyIcon(NIM_ADD, &d);
    }
    POINT Centre(UINT id = 1) {
        RECT r {};
        EXPECT_TRUE(GetNotifyIconRect(Owner, id, &r));
        return POINT {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    std::vector<LPARAM> Codes(HWND hwnd = nullptr) {
        std::vector<LPARAM> all = Received()[hwnd ? hwnd : Owner];
        std::erase(all, LPARAM(WM_MOUSEMOVE));
        return all;
    }
    bool Balloon(const std::string& text, DWORD flags = NIIF_INFO, UINT timeout = 5000, UINT id = 1) {
        NOTIFYICONDATA d = Data(id);
        d.uFlags = NIF_INFO;
        d.szInfo = text;
        d.szInfoTitle = "KORVEX Info";
        d.dwInfoFlags = flags;
        d.uTimeout = timeout;
        return Shell_NotifyIcon(NIM_MODIFY, &d);
    }

    HWND Owner = nullptr;
    gdi::GdiHandle<gdi::Bitmap> Picture;
    IconPictureSource KeptSource;
};

TEST_F(NotifyArea, AnAddedIconIsDockedInThePanelAndShowsItsPicture) {
    ASSERT_TRUE(Add());
    Pump();
    RECT r {};
    ASSERT_TRUE(GetNotifyIconRect(Owner, 1, &r));
    RECT area {};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &area);
    EXPECT_GE(r.top, area.bottom);   // in the panel, below the work area
    EXPECT_EQ(r.Width(), NotifyIconSize());
    POINT c = Centre();
    EXPECT_EQ(Display->ScreenPixel(c.x, c.y), gdi::RGB(0x40, 0xC0, 0x20));
}

// A modify with the picture the slot shows leaves it; the same handle with new pixels shows them.
TEST_F(NotifyArea, AModifiedIconShowsItsHandlesPixelsAsTheyAreNow) {
    ASSERT_TRUE(Add());
    NOTIFYICONDATA d = Data();
    d.uFlags = NIF_ICON;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &d));
    Pump();
    const POINT c = Centre();
    EXPECT_EQ(Display->ScreenPixel(c.x, c.y), gdi::RGB(0x40, 0xC0, 0x20));
    Picture.Get()->Fill(gdi::RGB(0xE0, 0x10, 0x10));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            Picture.Get()->ScanLine(y)[x * 4 + 3] = 0xFF;
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &d));
    Pump();
    EXPECT_EQ(Display->ScreenPixel(c.x, c.y), gdi::RGB(0xE0, 0x10, 0x10));
}

TEST_F(NotifyArea, ModifyAndDeleteOfAnUnknownIconFail) {
    NOTIFYICONDATA d = Data(9);
    EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, &d));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_DELETE, &d));
    EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, nullptr));
}

TEST_F(NotifyArea, AddingAnExistingIconModifiesIt) {
    ASSERT_TRUE(Add());
    EXPECT_TRUE(Add());
    Pump();
    EXPECT_EQ(HeadlessTrayWindow() != nullptr, true);
    RECT window {};
    GetWindowRect(HeadlessTrayWindow(), &window);
    EXPECT_EQ(window.Width(), detail::HeadlessTrayHost::SlotPitch + 4);   // one slot
}

TEST_F(NotifyArea, ADeletedIconLeavesTheTray) {
    ASSERT_TRUE(Add(1));
    ASSERT_TRUE(Add(2));
    NOTIFYICONDATA d = Data(1);
    EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &d));
    RECT r {};
    EXPECT_FALSE(GetNotifyIconRect(Owner, 1, &r));
    EXPECT_TRUE(GetNotifyIconRect(Owner, 2, &r));
}

TEST_F(NotifyArea, AClickPostsDownAndUpToTheOwner) {
    ASSERT_TRUE(Add());
    Pump();
    POINT c = Centre();
    Display->Click(c.x, c.y);
    Pump();
    EXPECT_EQ(Codes(), (std::vector<LPARAM> {WM_LBUTTONDOWN, WM_LBUTTONUP}));
    Display->Click(c.x, c.y, MouseButton::Right);
    Pump();
    EXPECT_EQ(Codes(), (std::vector<LPARAM> {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}));
}

TEST_F(NotifyArea, ASecondPressWithinTheDoubleClickTimeIsADoubleClick) {
    ASSERT_TRUE(Add());
    Pump();
    POINT c = Centre();
    Display->Click(c.x, c.y);
    Advance(int(GetDoubleClickTime()) - 10);
    Display->Click(c.x, c.y);
    Pump();
    EXPECT_EQ(Codes(), (std::vector<LPARAM> {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
}

TEST_F(NotifyArea, ASecondPressAfterTheDoubleClickTimeIsAnotherClick) {
    ASSERT_TRUE(Add());
    Pump();
    POINT c = Centre();
    Display->Click(c.x, c.y);
    Advance(int(GetDoubleClickTime()) + 10);
    Display->Click(c.x, c.y);
    Pump();
    EXPECT_EQ(Codes(), (std::vector<LPARAM> {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(NotifyArea, AThirdPressAfterADoubleClickStartsOver) {
    ASSERT_TRUE(Add());
    Pump();
    POINT c = Centre();
    for (int i = 0; i < 3; ++i) {
        Display->Click(c.x, c.y);
        Advance(50);
    }
    EXPECT_EQ(Codes(),
        (std::vector<LPARAM> {
            WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(NotifyArea, VersionThreeAddsSelectAndContextMenu) {
    ASSERT_TRUE(Add());
    NOTIFYICONDATA d = Data();
    d.uVersion = NOTIFYICON_VERSION;
    EXPECT_TRUE(Shell_NotifyIcon(NIM_SETVERSION, &d));
    d.uVersion = 7;
    EXPECT_FALSE(Shell_NotifyIcon(NIM_SETVERSION, &d));
    Pump();
    POINT c = Centre();
    Display->Click(c.x, c.y);
    Advance(1000);
    Display->Click(c.x, c.y, MouseButton::Right);
    Pump();
    EXPECT_EQ(Codes(),
        (std::vector<LPARAM> {WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}));
}

TEST_F(NotifyArea, TheTipIsCutTo127Characters) {
    ASSERT_TRUE(Add());
    NOTIFYICONDATA d = Data();
    d.uFlags = NIF_TIP;
    std::string tip;
    for (int i = 0; i < 200; ++i)
        tip += "ж";   // two bytes each: characters are counted, not bytes
    d.szTip = tip;
    EXPECT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &d));
    Pump();
    POINT c = Centre();
    Display->MoveMouse(c.x, c.y);
    Pump();
    Advance(600);
    ASSERT_TRUE(Visible(TipWindow()));
    std::string expected;
    for (int i = 0; i < NOTIFYICON_TIP_CHARS; ++i)
        expected += "ж";
    EXPECT_EQ(GetWindowText(TipWindow()), expected);
}

TEST_F(NotifyArea, BalloonTitleAndTextAreCutTo63And255Characters) {
    ASSERT_TRUE(Add());
    NOTIFYICONDATA d = Data();
    d.uFlags = NIF_INFO;
    d.szInfoTitle = std::string(100, 'T');
    d.szInfo = std::string(300, 'x');
    ASSERT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &d));
    EXPECT_EQ(GetWindowText(BalloonWindow()), std::string(63, 'T') + "\n" + std::string(255, 'x'));
}

TEST_F(NotifyArea, TheTipShowsAfterThePointerRestsAndGoesWhenItLeaves) {
    ASSERT_TRUE(Add());
    Pump();
    POINT c = Centre();
    Display->MoveMouse(c.x, c.y);
    Pump();
    EXPECT_EQ(Received()[Owner], (std::vector<LPARAM> {WM_MOUSEMOVE}));
    Advance(200);
    EXPECT_FALSE(Visible(TipWindow()));
    Advance(400);
    ASSERT_TRUE(Visible(TipWindow()));
    RECT tip {};
    GetWindowRect(TipWindow(), &tip);
    EXPECT_LE(tip.bottom, c.y);   // above the icon in the bottom panel
    Display->MoveMouse(c.x - 200, c.y - 300);
    Pump();
    EXPECT_FALSE(Visible(TipWindow()));
}

TEST_F(NotifyArea, ABalloonShowsBesideTheIconAndTimesOut) {
    ASSERT_TRUE(Add());
    ASSERT_TRUE(Balloon("Unknown WU.\r\nUpdate database from Internet."));
    Pump();
    ASSERT_TRUE(Visible(BalloonWindow()));
    RECT b {}, icon {};
    GetWindowRect(BalloonWindow(), &b);
    GetNotifyIconRect(Owner, 1, &icon);
    EXPECT_LE(b.bottom, icon.top);
    EXPECT_LT(b.left, icon.right);
    EXPECT_GT(b.right, icon.left);
    EXPECT_EQ(Codes(), (std::vector<LPARAM> {NIN_BALLOONSHOW}));
    Advance(4990);
    EXPECT_TRUE(Visible(BalloonWindow()));
    Advance(10);
    EXPECT_FALSE(Visible(BalloonWindow()));
    EXPECT_EQ(Codes(), (std::vector<LPARAM> {NIN_BALLOONSHOW, NIN_BALLOONTIMEOUT}));
}

TEST_F(NotifyArea, ClickingTheBalloonReportsAUserClickAndItsCloseBoxATimeout) {
    ASSERT_TRUE(Add());
    ASSERT_TRUE(Balloon("Node 1 complete."));
    Pump();
    RECT b {};
    GetWindowRect(BalloonWindow(), &b);
    Display->Click(b.left + 30, b.bottom - 8);
    Pump();
    EXPECT_FALSE(Visible(BalloonWindow()));
    EXPECT_EQ(Codes(), (std::vector<LPARAM> {NIN_BALLOONSHOW, NIN_BALLOONUSERCLICK}));
    ASSERT_TRUE(Balloon("Again."));
    Pump();
    GetWindowRect(BalloonWindow(), &b);
    Display->Click(b.right - 13, b.top + 10);   // the cross
    Pump();
    EXPECT_EQ(
        Codes(), (std::vector<LPARAM> {NIN_BALLOONSHOW, NIN_BALLOONUSERCLICK, NIN_BALLOONSHOW, NIN_BALLOONTIMEOUT}));
}

TEST_F(NotifyArea, AnotherIconsBalloonReplacesTheFirstWhichHearsItHidden) {
    ASSERT_TRUE(Add(1));
    ASSERT_TRUE(Add(2));
    ASSERT_TRUE(Balloon("first", NIIF_INFO, 5000, 1));
    ASSERT_TRUE(Balloon("second", NIIF_WARNING, 5000, 2));
    Pump();
    EXPECT_EQ(Codes(), (std::vector<LPARAM> {NIN_BALLOONSHOW, NIN_BALLOONHIDE, NIN_BALLOONSHOW}));
}

TEST_F(NotifyArea, AnEmptyBalloonTextAndDeletingTheIconTakeTheBalloonDown) {
    ASSERT_TRUE(Add());
    ASSERT_TRUE(Balloon("up"));
    ASSERT_TRUE(Balloon(""));
    Pump();
    EXPECT_FALSE(Visible(BalloonWindow()));
    ASSERT_TRUE(Balloon("up again"));
    NOTIFYICONDATA d = Data();
    Shell_NotifyIcon(NIM_DELETE, &d);
    Pump();
    EXPECT_FALSE(Visible(BalloonWindow()));
    EXPECT_EQ(Codes(), (std::vector<LPARAM> {NIN_BALLOONSHOW, NIN_BALLOONHIDE, NIN_BALLOONSHOW, NIN_BALLOONHIDE}));
}

TEST_F(NotifyArea, ATimeOutOfZeroTakesTheDefaultAndLongOnesAreCut) {
    ASSERT_TRUE(Add());
    ASSERT_TRUE(Balloon("default", NIIF_NONE, 0));
    Advance(int(NOTIFYICON_DEFAULT_TIMEOUT) - 1);
    EXPECT_TRUE(Visible(BalloonWindow()));
    Advance(1);
    EXPECT_FALSE(Visible(BalloonWindow()));
    ASSERT_TRUE(Balloon("long", NIIF_ERROR, 3600000));
    Advance(int(NOTIFYICON_MAX_TIMEOUT));
    EXPECT_FALSE(Visible(BalloonWindow()));
}

TEST_F(NotifyArea, WithoutATrayIconsWaitAndTheLogHearsItOnce) {
    SetHeadlessTrayPresent(false);
    ASSERT_TRUE(Add(1));
    ASSERT_TRUE(Add(2));
    RECT r {};
    EXPECT_FALSE(GetNotifyIconRect(Owner, 1, &r));
    EXPECT_FALSE(NotifyAreaAvailable());
    ASSERT_EQ(LogLines.size(), 1u);
    EXPECT_NE(LogLines[0].find("notification area"), std::string::npos);
    // A balloon still shows, in the corner of the work area.
    ASSERT_TRUE(Balloon("no tray"));
    Pump();
    ASSERT_TRUE(Visible(BalloonWindow()));
    RECT b {}, area {};
    GetWindowRect(BalloonWindow(), &b);
    SystemParametersInfo(SPI_GETWORKAREA, 0, &area);
    EXPECT_LE(b.bottom, area.bottom);
    EXPECT_GE(b.right, area.right - 20);
}

TEST_F(NotifyArea, ATrayThatComesBackDocksTheIconsAndTellsTheTopLevelWindows) {
    ASSERT_TRUE(Add());
    SetHeadlessTrayPresent(false);
    RECT r {};
    EXPECT_FALSE(GetNotifyIconRect(Owner, 1, &r));
    SetHeadlessTrayPresent(true);
    Pump();
    EXPECT_TRUE(GetNotifyIconRect(Owner, 1, &r));
    EXPECT_NE(std::find(TaskbarCreatedSeen().begin(), TaskbarCreatedSeen().end(), Owner), TaskbarCreatedSeen().end());
    POINT c = Centre();
    EXPECT_EQ(Display->ScreenPixel(c.x, c.y), gdi::RGB(0x40, 0xC0, 0x20));
}

TEST_F(NotifyArea, AnIconWhoseOwnerWindowIsDestroyedLeavesTheTray) {
    ASSERT_TRUE(Add());
    HWND other = CreateWindowEx(0, "TrayOwnerWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(Owner);
    NOTIFYICONDATA d = Data();
    d.hWnd = other;
    EXPECT_TRUE(Shell_NotifyIcon(NIM_ADD, &d));
    Pump();
    RECT window {};
    GetWindowRect(HeadlessTrayWindow(), &window);
    EXPECT_EQ(window.Width(), detail::HeadlessTrayHost::SlotPitch + 4);
}

TEST_F(NotifyArea, CallsFromAnotherThreadAreRefused) {
    ASSERT_TRUE(Add());
    bool answer = true;
    std::thread worker([&] {
        NOTIFYICONDATA d = Data();
        answer = Shell_NotifyIcon(NIM_MODIFY, &d);
    });
    worker.join();
    EXPECT_FALSE(answer);
}

TEST_F(NotifyArea, BigPicturesAreScaledIntoTheSlotAndSmallOnesCentred) {
    gdi::GdiHandle<gdi::Bitmap> big(gdi::Bitmap::Create(44, 44, gdi::PixelFormat::pf32bit));
    for (int y = 0; y < 44; ++y)
        for (int x = 0; x < 44; ++x) {
            gdi::BYTE* p = big.Get()->ScanLine(y) + x * 4;
            p[2] = p[3] = (x < 22) ? 0xFF : 0;   // left half opaque red, right half transparent
        }
    gdi::GdiHandle<gdi::Bitmap> fitted(detail::FitTrayPicture(*big.Get(), 22));
    ASSERT_TRUE(fitted);
    EXPECT_EQ(fitted.Get()->ScanLine(5)[3 * 4 + 3], 0xFF);
    EXPECT_EQ(fitted.Get()->ScanLine(5)[18 * 4 + 3], 0);
    gdi::GdiHandle<gdi::Bitmap> small(detail::FitTrayPicture(*Picture.Get(), 22));
    EXPECT_EQ(small.Get()->ScanLine(0)[0 + 3], 0);   // margin
    EXPECT_EQ(small.Get()->ScanLine(3)[3 * 4 + 3], 0xFF);
}

TEST_F(NotifyArea, AScreenshotShowsTheIconAndABalloonOfEachKind) {
    ASSERT_TRUE(Add());
    const char* folder = std::getenv("KORVEX_SCREENSHOTS");
    DWORD kinds[] = {NIIF_INFO, NIIF_WARNING, NIIF_ERROR};
    const char* names[] = {"info", "warning", "error"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(Balloon("WU Complete.\r\n Attempting to send results ", kinds[i]));
        Pump();
        RECT b {};
        GetWindowRect(BalloonWindow(), &b);
        // The sign is coloured, not the balloon's white.
        EXPECT_NE(Display->ScreenPixel(b.left + 18, b.top + 29), gdi::RGB(255, 255, 255));
        if (folder != nullptr) {
            RECT shot = gdi::Rect(b.left - 10, b.top - 10, Display->ScreenSize().cx, Display->ScreenSize().cy);
            Display->WriteScreenshotPng(std::string(folder) + "/balloon-" + names[i] + ".png", &shot);
        }
    }
}

}   // namespace

}

// The tray icon on a real X server: docking into a tray manager the test runs, the icon's picture, a click
// reaching the component, a balloon that times out, and docking again when the tray manager restarts.
#include "support/ChildProcess.h"
#include "support/TrayManager.h"
#include "support/X11TestKit.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TForm.h"
#include "platform/gdi/PngCodec.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/Screen.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/display/x11/X11Display.h"
#include "tray/TrayIcon.h"
#include "tray/TrayPictures.h"

#include <X11/Xlib.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>

namespace korvex::e2e {

namespace {

using namespace classes;
using tray::TTrayIcon;

class TrayOnX11 : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        XInitThreads();   // the tray manager's connection lives on a thread of its own
        Server = new XvfbServer();
    }
    static void TearDownTestSuite() {
        delete Server;
        Server = nullptr;
    }

    void SetUp() override {
        KORVEX_E2E_NEED(Server && Server->Running(), "no Xvfb: " << (Server ? Server->Error() : "no server"));
        user::InitMessageQueue({}, user::UiDispatch::Yes);
        user::X11DisplayOptions options;
        options.Name = Server->Name();
        auto display = user::CreateX11Display(options);
        ASSERT_TRUE(display);
        user::SetDisplay(std::move(display));
        user::SetTrayLog([this](const std::string& line) { Log.push_back(line); });
        InitApplication();
    }
    void TearDown() override {
        DoneApplication();
        user::ShutdownMessageQueue();
        user::ResetDisplay();
        user::SetTrayLog(nullptr);
        Manager.Stop();
    }

    // Runs the UI thread's loop until done() holds; false after timeoutMs.
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 60000) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            user::PumpMessages();
            if (done()) return true;
            if (std::chrono::steady_clock::now() >= deadline) return false;
            pollfd p {user::CurrentDisplay()->EventFd(), POLLIN, 0};
            poll(&p, 1, 10);
        }
    }
    bool Docked(TTrayIcon* icon) {
        user::RECT r {};
        return user::GetNotifyIconRect(icon->IconData().hWnd, icon->IconId(), &r) && Manager.Icons().size() == 1;
    }
    gdi::Bitmap* Shot(const gdi::RECT& rect) { return user::CurrentDisplay()->CaptureScreen(rect); }
    // Whether the slot shows the emblem: blue below its chain.
    bool ShowsEmblem(const TrayManager::Docked& slot) {
        gdi::GdiHandle<gdi::Bitmap> shot(Shot(gdi::Rect(slot.X, slot.Y, slot.X + slot.Size, slot.Y + slot.Size)));
        if (!shot) return false;
        const gdi::COLORREF disc = shot.Get()->PixelAt(slot.Size / 2, slot.Size / 2 + 6);
        return gdi::GetBValue(disc) > gdi::GetRValue(disc) + 60;
    }
    void Save(const gdi::RECT& rect, const std::string& name) {
        const char* folder = std::getenv("KORVEX_SCREENSHOTS");
        if (folder == nullptr) return;
        gdi::GdiHandle<gdi::Bitmap> shot(Shot(rect));
        if (shot) gdi::WritePngFile(*shot.Get(), std::string(folder) + "/" + name);
    }
    TTrayIcon* NewIcon() {
        TTrayIcon* icon = Create<TTrayIcon>(Application);
        auto* normal = Create<TImageList>(Application);
        EXPECT_TRUE(tray::LoadTrayPictures(normal, tray::TTrayPictureSet::Normal, 22));
        icon->SetIconList(normal);
        icon->SetHint("Local host - 42%");
        return icon;
    }

    static XvfbServer* Server;
    TrayManager Manager;
    std::vector<std::string> Log;
};

XvfbServer* TrayOnX11::Server = nullptr;

TEST_F(TrayOnX11, TheIconDocksShowsItsPictureTakesAClickShowsABalloonAndDocksAgainAfterARestart) {
    TTrayIcon* icon = NewIcon();
    int clicks = 0, timeouts = 0, shows = 0;
    icon->OnClick = [&](TObject*) { ++clicks; };
    icon->OnBalloonHintShow = [&](TObject*) { ++shows; };
    icon->OnBalloonHintTimeout = [&](TObject*) { ++timeouts; };

    // No tray yet: the icon waits, and the log says so once.
    icon->SetIconVisible(true);
    ASSERT_TRUE(PumpUntil([&] { return !Log.empty(); }));
    EXPECT_FALSE(user::NotifyAreaAvailable());

    // A tray appears: the icon docks in it.
    ASSERT_TRUE(Manager.Start(Server->Name()));
    ASSERT_TRUE(PumpUntil([&] { return Docked(icon); })) << "dock requests: " << Manager.DockRequests();
    TrayManager::Docked slot = Manager.Icons()[0];
    user::RECT r {};
    ASSERT_TRUE(user::GetNotifyIconRect(icon->IconData().hWnd, icon->IconId(), &r));
    EXPECT_EQ(r.left, slot.X);
    EXPECT_EQ(r.top, slot.Y);
    EXPECT_TRUE(PumpUntil([&] { return ShowsEmblem(slot); }));

    // It shows the emblem: blue below its chain, the tray's grey in the corners.
    gdi::RECT area = gdi::Rect(slot.X - 4, slot.Y - 4, slot.X + 80, slot.Y + slot.Size + 4);
    Save(area, "x11-tray-docked.png");
    gdi::GdiHandle<gdi::Bitmap> shot(Shot(gdi::Rect(slot.X, slot.Y, slot.X + slot.Size, slot.Y + slot.Size)));
    ASSERT_TRUE(shot);
    gdi::COLORREF disc = shot.Get()->PixelAt(slot.Size / 2, slot.Size / 2 + 6);
    gdi::COLORREF corner = shot.Get()->PixelAt(0, 0);
    EXPECT_GT(gdi::GetBValue(disc), gdi::GetRValue(disc) + 60) << std::hex << disc;
    EXPECT_EQ(corner, gdi::RGB(0x3C, 0x3F, 0x45)) << std::hex << corner;

    // A click on it reaches OnClick.
    std::string x = std::to_string(slot.X + slot.Size / 2), y = std::to_string(slot.Y + slot.Size / 2);
    ASSERT_TRUE(Xdotool(Server->Name(), {"mousemove", x, y, "click", "1"}));
    ASSERT_TRUE(PumpUntil([&] { return clicks == 1; }));

    // A balloon appears beside the icon and times out.
    ASSERT_TRUE(icon->ShowBalloonHint("KORVEX Info", "WU Complete.\r\n Attempting to send results ", tray::bitInfo, 2));
    ASSERT_TRUE(PumpUntil([&] { return shows == 1; }));
    user::HWND balloon = user::FindWindow("KorvexTrayBalloon", "");
    ASSERT_NE(balloon, nullptr);
    EXPECT_TRUE(user::IsWindowVisible(balloon));
    user::RECT b {};
    user::GetWindowRect(balloon, &b);
    EXPECT_LE(b.bottom, slot.Y);
    // The light card, not the black desktop, once the server shows it.
    gdi::COLORREF card = 0;
    EXPECT_TRUE(PumpUntil([&] {
        gdi::GdiHandle<gdi::Bitmap> balloonShot(Shot(b));
        card = balloonShot ? balloonShot.Get()->PixelAt(b.Width() / 2, 4) : 0;
        return std::min({gdi::GetRValue(card), gdi::GetGValue(card), gdi::GetBValue(card)}) >= 0xF0;
    })) << std::hex << card;
    Save(gdi::Rect(b.left - 10, b.top - 10, slot.X + 100, slot.Y + slot.Size + 8), "x11-balloon.png");
    ASSERT_TRUE(PumpUntil([&] { return timeouts == 1; }));
    EXPECT_FALSE(user::IsWindowVisible(balloon));

    // The tray restarts: the icon docks in the new one, and still takes clicks.
    Manager.Stop();
    ASSERT_TRUE(PumpUntil([&] { return !user::NotifyAreaAvailable(); }));
    ASSERT_TRUE(Manager.Start(Server->Name()));
    ASSERT_TRUE(PumpUntil([&] { return Docked(icon); }));
    slot = Manager.Icons()[0];
    ASSERT_TRUE(PumpUntil([&] { return ShowsEmblem(slot); }));
    x = std::to_string(slot.X + slot.Size / 2);
    y = std::to_string(slot.Y + slot.Size / 2);
    ASSERT_TRUE(Xdotool(Server->Name(), {"mousemove", x, y, "click", "1"}));
    ASSERT_TRUE(PumpUntil([&] { return clicks == 2; }));
    EXPECT_EQ(Log.size(), 1u);   // said once only
}

TEST_F(TrayOnX11, ATrayAskingForAnArgbVisualGetsAnIconPaintedInIt) {
    TTrayIcon* icon = NewIcon();
    ASSERT_TRUE(Manager.Start(Server->Name(), true));
    icon->SetIconVisible(true);
    ASSERT_TRUE(PumpUntil([&] { return Docked(icon); }));
    TrayManager::Docked slot = Manager.Icons()[0];
    EXPECT_TRUE(PumpUntil([&] { return ShowsEmblem(slot); }));
    Save(gdi::Rect(slot.X - 4, slot.Y - 4, slot.X + 80, slot.Y + slot.Size + 4), "x11-tray-argb.png");
}

// A tray that sizes each slot from the icon window's size hints (one pixel without them) gives the icon its
// full size; a form minimized into it comes back with a click on the icon.
TEST_F(TrayOnX11, ATraySizingFromHintsGivesTheIconItsSizeAndAMinimizedFormComesBack) {
    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetBounds(100, 100, 300, 200);
    auto* icon = Create<TTrayIcon>(form);
    auto* normal = Create<TImageList>(Application);
    ASSERT_TRUE(tray::LoadTrayPictures(normal, tray::TTrayPictureSet::Normal, 22));
    icon->SetIconList(normal);
    icon->SetMinimizeToTray(true);
    icon->OnMinimizeToTray = [](TObject*) {};
    icon->OnClick = [&](TObject*) { icon->ShowMainForm(); };
    ASSERT_TRUE(Manager.Start(Server->Name(), false, TrayManager::Sizing::FromHints));
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return user::IsWindowVisible(form->Handle()); }));

    user::SendMessage(form->Handle(), user::WM_SYSCOMMAND, user::SC_MINIMIZE, 0);
    ASSERT_TRUE(PumpUntil([&] { return Docked(icon); })) << "dock requests: " << Manager.DockRequests();
    EXPECT_FALSE(form->Visible());
    const TrayManager::Docked slot = Manager.Icons()[0];
    EXPECT_EQ(slot.Size, 22);   // one pixel without hints
    EXPECT_EQ(slot.Height, 22);
    EXPECT_TRUE(PumpUntil([&] { return ShowsEmblem(slot); }));
    Save(gdi::Rect(slot.X - 4, slot.Y - 4, slot.X + 80, slot.Y + slot.Height + 4), "x11-tray-hints.png");

    const std::string x = std::to_string(slot.X + slot.Size / 2), y = std::to_string(slot.Y + slot.Height / 2);
    ASSERT_TRUE(Xdotool(Server->Name(), {"mousemove", x, y, "click", "1"}));
    EXPECT_TRUE(PumpUntil([&] { return form->Visible() && user::IsWindowVisible(form->Handle()); }));
}

TEST_F(TrayOnX11, AHiddenIconStaysOutOfANewTray) {
    TTrayIcon* icon = NewIcon();
    ASSERT_TRUE(Manager.Start(Server->Name()));
    icon->SetIconVisible(true);
    ASSERT_TRUE(PumpUntil([&] { return Docked(icon); }));
    icon->SetIconVisible(false);
    ASSERT_TRUE(PumpUntil([&] { return Manager.Icons().empty(); }));
    Manager.Stop();
    ASSERT_TRUE(Manager.Start(Server->Name()));
    ASSERT_TRUE(PumpUntil([&] { return user::NotifyAreaAvailable(); }));
    // A second icon docks and leaves after the new tray was announced: the tray takes one client's requests
    // in order, so once it has seen this one leave it has seen whatever the hidden icon sent before.
    TTrayIcon* witness = NewIcon();
    witness->SetIconVisible(true);
    ASSERT_TRUE(PumpUntil([&] { return !Manager.Icons().empty(); }));
    witness->SetIconVisible(false);
    EXPECT_TRUE(PumpUntil([&] { return Manager.Icons().empty(); }));
    EXPECT_EQ(Manager.DockRequests(), 1);   // the second icon's only
}

}   // namespace

}

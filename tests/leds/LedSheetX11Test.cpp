// The LED sheet in a real window on a private Xvfb server, captured as leds_sheet_x11.png beside the test.
#include "support/LedSheet.h"
#include "support/XvfbServer.h"

#include "platform/classes/TApplication.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/PngCodec.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Screen.h"
#include "platform/user/display/x11/X11Display.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

using namespace korvex;
using namespace korvex::leds;
using namespace korvex::leds::test;

namespace {

class LedSheetX11Test : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Server = new e2e::XvfbServer(); }
    static void TearDownTestSuite() {
        delete Server;
        Server = nullptr;
    }
    void SetUp() override {
        KORVEX_E2E_NEED(Server->Running(), "no Xvfb: " << Server->Error());
        user::InitMessageQueue();
        user::X11DisplayOptions options;
        options.Name = Server->Name();
        auto display = user::CreateX11Display(options);
        KORVEX_E2E_NEED(display != nullptr, "the X server cannot be opened");
        Display = display.get();
        user::SetDisplay(std::move(display));
        classes::InitApplication();
        Started = true;
    }
    void TearDown() override {
        if (!Started) return;
        classes::DoneApplication();
        user::ShutdownMessageQueue();
        user::ResetDisplay();
    }
    // Pumps until the screen shows colour at (x, y), at most timeoutMs.
    gdi::GdiHandle<gdi::Bitmap> CaptureWhen(const gdi::RECT& area, int x, int y, gdi::COLORREF colour, int timeoutMs) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (true) {
            user::PumpMessages();
            user::FlushDisplay();
            gdi::GdiHandle<gdi::Bitmap> shot(Display->CaptureScreen(area));
            if (shot && (shot.Get()->PixelAt(x, y) & 0xFFFFFF) == colour) return shot;
            if (std::chrono::steady_clock::now() > deadline) return shot;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));   // the X server works on its own
        }
    }

    static e2e::XvfbServer* Server;
    user::Display* Display = nullptr;
    bool Started = false;
};

e2e::XvfbServer* LedSheetX11Test::Server = nullptr;

TEST_F(LedSheetX11Test, BarsAndLampsLookTheSameInARealWindow) {
    auto* form = classes::Create<classes::TForm>(classes::Application);
    form->SetBounds(20, 20, 400, 300);
    form->SetClientWidth(SheetWidth);
    form->SetClientHeight(SheetHeight);
    const TLedSheet sheet = BuildLedSheet(form);
    form->Show();

    const classes::TRect area = form->BoundsRect();
    const classes::TPoint lit = sheet.FirstBar->ClientToScreen(classes::Point(10, 193));
    gdi::GdiHandle<gdi::Bitmap> shot = CaptureWhen(area, lit.x - area.left, lit.y - area.top, 0x00FF00, 5000);
    ASSERT_TRUE(shot);
    const std::string path = (std::filesystem::current_path() / "leds_sheet_x11.png").string();
    EXPECT_TRUE(gdi::WritePngFile(*shot.Get(), path));
    EXPECT_EQ(shot.Get()->PixelAt(lit.x - area.left, lit.y - area.top) & 0xFFFFFF, 0x00FF00u);
    const classes::TPoint corner = sheet.ClearLamp->ClientToScreen(classes::Point(1, 1));
    EXPECT_EQ(shot.Get()->PixelAt(corner.x - area.left, corner.y - area.top) & 0xFFFFFF,
        static_cast<gdi::COLORREF>(SheetPanel));
}

}

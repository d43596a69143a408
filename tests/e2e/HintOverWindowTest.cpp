// A comic hint over a coloured window on a private Xvfb server without a compositor: the hint composes itself
// over a copy of the screen, so the window's pixels show around its rounded body and its pointer.
#include "support/X11ApplicationFixture.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TForm.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/PngCodec.h"
#include "platform/user/LayeredWindow.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Screen.h"
#include "platform/user/display/x11/X11Display.h"
#include "skin/windows/sHintWindows.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>

using namespace korvex;
using namespace korvex::classes;

namespace {

inline constexpr TColor WindowColour = 0x3050D0;   // a brick red
inline constexpr TColor BodyColour = 16777088;   // the main window's hint colour

// Pumps the loop and flushes the display until done() holds; false after timeoutMs.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 60000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        user::PumpMessages();
        user::FlushDisplay();
        if (done()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

bool Near(gdi::COLORREF a, TColor b) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((TColor(b) >> shift) & 0xFF)) > 2) return false;
    return true;
}

class HintOverWindowOnX11 : public e2e::X11ApplicationFixture {
protected:
    HintOverWindowOnX11() : X11ApplicationFixture(640, 480) {}
    void BeforeDone() override { HintWindowClass = nullptr; }
};

}

TEST_F(HintOverWindowOnX11, ComicHintShowsTheWindowAroundItsShape) {
    ASSERT_FALSE(user::HasCompositor());
    TForm* form = Create<TForm>(Application);
    form->SetBounds(40, 40, 420, 300);
    form->SetColor(WindowColour);
    form->Show();
    // The server shows the window once its pixels are the form's colour.
    const TPoint inside = form->ClientToScreen(Point(200, 150));
    ASSERT_TRUE(PumpUntil([&] {
        std::unique_ptr<gdi::Bitmap> spot(X11->CaptureScreen(Rect(inside.x, inside.y, inside.x + 1, inside.y + 1)));
        return spot && Near(spot->PixelAt(0, 0), WindowColour);
    }));

    auto* manager = Create<skin::TsHintManager>(form);
    skin::TsHintKind* k = manager->HintKind();
    manager->SetAnimated(false);
    k->SetRadius(19);
    k->SetBevelWidth(2);
    k->SetExOffset(34);
    k->SetColor(BodyColour);
    k->SetTransparency(11);
    k->SetShadowBlur(9);
    k->SetShadowEnabled(true);
    k->SetShadowOffset(13);
    k->SetShadowTransparency(58);
    k->SetMarginH(14);
    k->SetMarginV(6);
    k->SetMaxWidth(248);
    k->SetStyle(skin::hsComics);

    auto* hint = static_cast<skin::TsCustomHintWindow*>(HintWindowClass(form));
    const TPoint tip = form->ClientToScreen(Point(60, 60));
    hint->AnchorPoint = tip;
    const std::string text = "Node 3 stopped answering";
    hint->ActivateHint(hint->CalcHintRect(0, text, nullptr), text);
    ASSERT_TRUE(hint->IsHintShowing());
    EXPECT_FALSE(hint->ShownLayered());

    const TRect b = hint->BoundsRect();
    const TRect shotRect = Rect(b.left - 20, b.top - 20, b.right + 20, b.bottom + 20);
    std::unique_ptr<gdi::Bitmap> shot;
    auto pixel = [&](int x, int y) { return shot->PixelAt(x - shotRect.left, y - shotRect.top); };
    // Beside the pointer, in the rounded top-right corner and below the pointer's tip: the window. The body
    // (11% of the window shows through it on this way) is light: photographed until the server shows it.
    const auto windowAround = [&] {
        return Near(pixel(b.right - 2, b.top + 2), WindowColour) && Near(pixel(b.left + 2, b.bottom - 2), WindowColour)
            && Near(pixel(b.left + 30, b.top + 5), WindowColour);
    };
    const auto bodyShown = [&] { return int(gdi::GetGValue(pixel((b.left + b.right) / 2, b.bottom - 20))) > 200; };
    PumpUntil([&] {
        shot.reset(X11->CaptureScreen(shotRect));
        return shot && windowAround() && bodyShown();
    });
    ASSERT_TRUE(shot);
    EXPECT_TRUE(windowAround());
    EXPECT_TRUE(bodyShown());
    const char* path = std::getenv("KORVEX_SCREENSHOT");
    const std::string file = path != nullptr ? path : testing::TempDir() + "hint-over-window.png";
    EXPECT_TRUE(e2e::WriteScreenshot(*shot, file));
    hint->Free();
}

// Test support for the tray.
#include "support/TrayTestKit.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TScreen.h"
#include "platform/user/Screen.h"
#include "platform/user/Window.h"
#include "platform/user/display/headless/HeadlessTray.h"
#include "tests/platform/user/support/PumpSettled.h"

namespace korvex::tray::test {

using namespace classes;

void TrayTest::SetUp() {
    user::InitMessageQueue(Clock.Clock(), user::UiDispatch::Yes);
    auto display = std::make_unique<user::HeadlessDisplay>();
    Display = display.get();
    user::SetDisplay(std::move(display));
    user::SetHeadlessTrayPresent(true);
    user::SetTrayLog([this](const std::string& line) { LogLines.push_back(line); });
    InitApplication();
}

void TrayTest::TearDown() {
    DoneApplication();
    user::ShutdownMessageQueue();
    user::ResetDisplay();
    user::SetHeadlessTrayPresent(true);
    user::SetTrayLog(nullptr);
}

::testing::AssertionResult TrayTest::Pump() {
    return user::test::PumpSettled();
}

void TrayTest::Advance(int ms) {
    Clock.Advance(ms);
    Display->AdvanceTimeMs(std::uint64_t(ms));
    Pump();
}

TTrayIcon* TrayTest::NewIcon(TComponent* owner) {
    return Create<TTrayIcon>(owner != nullptr ? owner : Application);
}

gdi::COLORREF TrayTest::ImageColor(int index) {
    static const gdi::COLORREF colors[] = {gdi::RGB(200, 30, 30), gdi::RGB(30, 160, 30), gdi::RGB(30, 30, 200),
        gdi::RGB(200, 200, 30), gdi::RGB(200, 30, 200)};
    return colors[index % 5];
}

TImageList* TrayTest::NewList(int count, TComponent* owner) {
    auto* list = Create<TImageList>(owner != nullptr ? owner : Application);
    list->SetSize(16, 16);
    for (int i = 0; i < count; ++i) {
        TBitmap bitmap;
        bitmap.SetSize(16, 16);
        bitmap.Canvas()->Brush()->SetColor(TColor(ImageColor(i)));
        bitmap.Canvas()->FillRect(TRect {0, 0, 16, 16});
        list->Add(&bitmap, nullptr);
    }
    return list;
}

user::POINT TrayTest::IconCentre(const TTrayIcon* icon) const {
    user::RECT r {};
    EXPECT_TRUE(user::GetNotifyIconRect(icon->IconData().hWnd, icon->IconId(), &r));
    return user::POINT {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void TrayTest::ClickIcon(const TTrayIcon* icon, user::MouseButton button) {
    user::POINT p = IconCentre(icon);
    Display->Click(p.x, p.y, button);
    Pump();
}

void TrayTest::Record(TTrayIcon* icon) {
    auto note = [this](std::string what) { Events.push_back(std::move(what)); };
    icon->OnClick = [note](TObject*) { note("click"); };
    icon->OnMouseDown = [note](TObject*, TMouseButton b, TShiftState, int, int) {
        note(b == mbLeft ? "down left" : b == mbRight ? "down right" : "down middle");
    };
    icon->OnMouseUp = [note](TObject*, TMouseButton b, TShiftState, int, int) {
        note(b == mbLeft ? "up left" : b == mbRight ? "up right" : "up middle");
    };
    icon->OnMouseMove = [note](TObject*, TShiftState, int, int) { note("move"); };
    icon->OnMouseEnter = [note](TObject*) { note("enter"); };
    icon->OnMouseExit = [note](TObject*) { note("exit"); };
    icon->OnBalloonHintShow = [note](TObject*) { note("balloon show"); };
    icon->OnBalloonHintHide = [note](TObject*) { note("balloon hide"); };
    icon->OnBalloonHintTimeout = [note](TObject*) { note("balloon timeout"); };
    icon->OnBalloonHintClick = [note](TObject*) { note("balloon click"); };
}

user::HWND BalloonWindow() {
    return user::FindWindow("KorvexTrayBalloon", "");
}

user::HWND TipWindow() {
    return user::FindWindow("KorvexTrayTip", "");
}

bool Visible(user::HWND hwnd) {
    return hwnd != nullptr && user::IsWindowVisible(hwnd);
}

}

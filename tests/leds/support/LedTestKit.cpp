// Test support for the LED components.
#include "LedTestKit.h"

#include "platform/base/DateTime.h"
#include "platform/gdi/Drawing.h"
#include "platform/user/Screen.h"
#include "tests/platform/user/support/PumpSettled.h"

#include <filesystem>
#include <unistd.h>

namespace korvex::leds::test {

RecordingCanvas::RecordingCanvas(int width, int height)
    : FDc(width, height, gdi::PixelFormat::pf24bit) {
    FCanvas.SetHandle(FDc.Handle());
}

RecordingCanvas::~RecordingCanvas() {
    FCanvas.SetHandle(nullptr);
}

gdi::COLORREF RecordingCanvas::Pixel(int x, int y) const {
    return gdi::GetPixel(FDc.Handle(), x, y);
}

FakeNow::FakeNow() {
    auto now = FNow;
    base::SetNowProvider([now] { return *now; });
}

FakeNow::~FakeNow() {
    base::ResetNowProvider();
}

void LedTest::SetUp() {
    auto clock = FClock;
    user::InitMessageQueue([clock] { return *clock; }, user::UiDispatch::Yes);
    auto display = std::make_unique<user::HeadlessDisplay>();
    Display = display.get();
    user::SetDisplay(std::move(display));
    classes::InitApplication();
    classes::Application->OnException
        = [this](classes::TObject*, const std::exception& e) { Exceptions.push_back(e.what()); };
    Now = std::make_unique<FakeNow>();
}

void LedTest::TearDown() {
    Now.reset();
    classes::DoneApplication();
    user::ShutdownMessageQueue();
    user::ResetDisplay();
    if (!FTempDir.empty()) std::filesystem::remove_all(FTempDir);
}

::testing::AssertionResult LedTest::Pump() {
    return user::test::PumpSettled();
}

void LedTest::Advance(int ms) {
    *FClock += std::chrono::milliseconds(ms);
    Display->AdvanceTimeMs(static_cast<std::uint64_t>(ms));
    Now->AdvanceMs(ms);
    Pump();
}

classes::TForm* LedTest::NewForm(int x, int y, int clientWidth, int clientHeight) {
    auto* form = classes::Create<classes::TForm>(classes::Application);
    form->SetBounds(x, y, 400, 300);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);
    form->Show();
    Pump();
    return form;
}

gdi::COLORREF LedTest::PixelAt(const classes::TControl* control, int x, int y) const {
    const classes::TPoint p = control->ClientToScreen(classes::Point(x, y));
    return Display->ScreenPixel(p.x, p.y) & 0xFFFFFF;
}

std::string LedTest::TempPath(const std::string& name) const {
    if (FTempDir.empty()) {
        auto* self = const_cast<LedTest*>(this);
        std::string pattern = (std::filesystem::temp_directory_path() / "korvex-leds-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) self->FTempDir = pattern;
    }
    return FTempDir + "/" + name;
}

}

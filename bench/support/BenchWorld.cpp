// Bench support: the headless world of the screen benchmarks and their shared main function.
#include "bench/support/BenchWorld.h"

#include "platform/classes/TApplication.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Painting.h"
#include "platform/user/Screen.h"
#include "platform/user/WindowConstants.h"
#include "platform/user/display/headless/HeadlessDisplay.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace korvex::bench {

using namespace korvex::classes;

std::unique_ptr<THeadlessWorld> TheWorldInstance;

THeadlessWorld::THeadlessWorld() {
    user::InitMessageQueue([] { return std::chrono::steady_clock::time_point(std::chrono::hours(1)); },
        user::UiDispatch::Yes);
    user::SetDisplay(std::make_unique<user::HeadlessDisplay>());
    InitApplication();
    FOwner = std::make_unique<TComponent>(nullptr);
    Form = Create<TForm>(Application);
    Form->SetBounds(0, 0, 840, 660);
    Form->SetClientWidth(800);
    Form->SetClientHeight(600);
}

THeadlessWorld::~THeadlessWorld() {
    DoneApplication();
    FOwner.reset();
    user::ShutdownMessageQueue();
    user::ResetDisplay();
}

void THeadlessWorld::Pump() {
    user::PumpMessages();
    user::FlushDisplay();
}

void THeadlessWorld::Repaint(TWinControl* control) {
    user::RedrawWindow(control->Handle(), nullptr, nullptr,
        user::RDW_INVALIDATE | user::RDW_ERASE | user::RDW_ALLCHILDREN | user::RDW_UPDATENOW);
    Pump();
}

bool THeadlessWorld::Shot(const std::string& dir, const std::string& name) {
    auto* display = static_cast<user::HeadlessDisplay*>(user::CurrentDisplay());
    const TPoint o = Form->ClientToScreen(TPoint {0, 0});
    const gdi::RECT r {o.x, o.y, o.x + 800, o.y + 600};
    return display->WriteScreenshotPng(dir + "/" + name + ".png", &r);
}

int BenchMain(int argc, char** argv, const std::function<bool(const std::string&)>& shots) {
    if (argc == 3 && std::string(argv[1]) == "--korvex-shot") {
        const bool ok = shots(argv[2]);
        TheWorldInstance.reset();
        return ok ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    TheWorldInstance.reset();
    benchmark::Shutdown();
    return 0;
}

}

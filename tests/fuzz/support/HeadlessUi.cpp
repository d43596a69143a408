// The headless user interface of the window-making fuzz targets.
#include "support/HeadlessUi.h"

#include "platform/classes/TApplication.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Screen.h"
#include "platform/user/display/headless/HeadlessDisplay.h"

#include <chrono>
#include <memory>

namespace korvex::fuzz {

void StartHeadlessUi() {
    static bool started = false;
    if (started) return;
    started = true;
    // A clock that never moves: no timer fires, so a run depends on its input alone.
    user::InitMessageQueue([] { return std::chrono::steady_clock::time_point(std::chrono::hours(1)); },
        user::UiDispatch::Yes);
    user::SetDisplay(std::make_unique<user::HeadlessDisplay>());
    classes::InitApplication();
}

void PumpUi() {
    user::PumpMessages();
    user::FlushDisplay();
}

}

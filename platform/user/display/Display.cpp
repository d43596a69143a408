// Choosing the display at start: x11 when an X server is named, headless otherwise or when asked.
#include "platform/user/display/Display.h"

#include "platform/user/display/headless/HeadlessDisplay.h"
#include "platform/user/display/x11/X11Display.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace korvex::user {

std::unique_ptr<Display> CreateDefaultDisplay() {
    const char* choice = std::getenv("KORVEX_DISPLAY");
    const char* x = std::getenv("DISPLAY");
    if (choice && std::string(choice) == "headless") return std::make_unique<HeadlessDisplay>();
    if (x && *x) return CreateX11Display();
    return std::make_unique<HeadlessDisplay>();
}

namespace {
std::atomic<DisplayLostHook> LostHook {nullptr};
std::atomic<bool> Ending {false};
}

void SetDisplayLostHook(DisplayLostHook hook) {
    LostHook = hook;
}

void EndAfterDisplayLost() {
    // A hook that reaches the display after all lands here again: end without it.
    if (!Ending.exchange(true)) {
        std::fputs("korvex: the display connection was lost; ending\n", stderr);
        if (DisplayLostHook hook = LostHook.load()) hook();
    }
    std::fflush(nullptr);
    _exit(0);
}

}

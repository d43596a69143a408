// Choosing the display at start: x11 when an X server is named, headless otherwise or when asked.
#include "platform/user/display/Display.h"

#include "platform/user/display/headless/HeadlessDisplay.h"
#include "platform/user/display/x11/X11Display.h"

#include <cstdlib>
#include <string>

namespace korvex::user {

std::unique_ptr<Display> CreateDefaultDisplay() {
    const char* choice = std::getenv("KORVEX_DISPLAY");
    const char* x = std::getenv("DISPLAY");
    if (choice && std::string(choice) == "headless") return std::make_unique<HeadlessDisplay>();
    if (x && *x) return CreateX11Display();
    return std::make_unique<HeadlessDisplay>();
}

}

// The x11 display: top-level windows, input, clipboard and screen capture on an X server through Xlib.
#pragma once

#include "platform/user/display/Display.h"

#include <memory>
#include <string>

namespace korvex::user {

struct X11DisplayOptions {
    std::string Name;   // the X display to open; empty: $DISPLAY
    bool SharedMemory = true;   // upload pictures through MIT-SHM when the server offers it
    int TransferDeadlineMs = 10000;   // a paste or a dropped list not whole by then is given up
};

// The display on $DISPLAY, or on options.Name; nullptr when the server cannot be opened.
// Layered surfaces get an ARGB visual only when a compositor runs at their creation; without one they are
// opaque, and PresentLayered shows the colour bytes as they are (the caller has blended the captured screen in).
std::unique_ptr<Display> CreateX11Display();
std::unique_ptr<Display> CreateX11Display(const X11DisplayOptions& options);

}

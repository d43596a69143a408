// The display the window tree is shown on: choosing it and reaching it.
#pragma once

#include "platform/user/display/Display.h"

#include <memory>

namespace korvex::user {

// Installs the display for the process (call on the UI thread, before creating windows, after
// InitMessageQueue: its events are watched on that thread's loop). Replacing a display destroys nothing;
// do it with no top-level windows alive.
void SetDisplay(std::unique_ptr<Display> display);
// The display in use; made with CreateDefaultDisplay (or headless when that fails) on first use.
Display* CurrentDisplay();
// Drops the display (tests; with no windows alive).
void ResetDisplay();
// Whether windows would show on no screen: the display in use is the in-memory one, not asked for by
// $KORVEX_DISPLAY=headless, because $DISPLAY is not set or its X server cannot be reached.
bool ShowsOnNoScreen();

}

// Hidden message-only windows whose messages go to a function (timers, the tray's callback window).
#pragma once

#include "platform/classes/ControlMessages.h"

#include <functional>

namespace korvex::classes {

// The window's messages go to method with the record by reference; what it leaves alone it passes on with
// user::DefWindowProc itself. Exceptions from method go to the window layer's exception handler (the
// application's HandleException). nullptr when no window could be made.
user::HWND AllocateHWnd(std::function<void(TMessage& message)> method);
// Destroys the window and frees its procedure; safe from inside one of its own messages.
void DeallocateHWnd(user::HWND hwnd);

}

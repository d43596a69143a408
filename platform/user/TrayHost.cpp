// The tray of the current display: the x11 system tray or the headless panel.
#include "platform/user/TrayHost.h"

#include "platform/user/Screen.h"
#include "platform/user/display/headless/HeadlessDisplay.h"
#include "platform/user/display/headless/HeadlessTray.h"
#include "platform/user/display/x11/X11Tray.h"

namespace korvex::user::detail {

TrayHost* CurrentTrayHost() {
    Display* display = CurrentDisplay();
    if (auto* x = dynamic_cast<x11::X11Display*>(display)) return x->Tray();
    if (dynamic_cast<HeadlessDisplay*>(display) != nullptr) return &HeadlessTrayHost::Instance();
    return nullptr;
}

}

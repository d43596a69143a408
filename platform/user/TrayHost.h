// Inside the window layer: the tray a display offers (headless panel, XEmbed system tray) and what it reports.
#pragma once

#include "platform/gdi/Bitmap.h"
#include "platform/user/UserTypes.h"
#include "platform/user/display/Display.h"

#include <cstdint>

namespace korvex::user::detail {

using TrayIconId = std::uint64_t;   // picked by the notification area, never 0

// What a tray reports, on the UI thread.
class TraySink {
public:
    virtual ~TraySink() = default;
    // Pointer input on a docked icon: MouseMove, ButtonDown, ButtonUp (screen position, display time), or Leave.
    virtual void OnIconInput(TrayIconId id, const InputEvent& event) = 0;
    // A tray appeared (the first, or a new one after the old went): every icon must be docked again.
    virtual void OnTrayAppeared() = 0;
    // The tray went away; its icons are no longer docked.
    virtual void OnTrayGone() = 0;
};

// One tray: slots for icons, each showing a picture of IconSize() x IconSize().
class TrayHost {
public:
    virtual ~TrayHost() = default;
    virtual void SetSink(TraySink* sink) = 0;
    virtual bool Available() const = 0;   // a tray is there now
    virtual int IconSize() const = 0;
    // Docks a new slot (false without a tray); Undock removes it (unknown ids are ignored).
    virtual bool Dock(TrayIconId id) = 0;
    virtual void Undock(TrayIconId id) = 0;
    // The slot's picture: premultiplied 32-bit, IconSize() square; nullptr shows an empty slot.
    virtual void SetPicture(TrayIconId id, const gdi::Bitmap* picture) = 0;
    virtual bool IconRect(TrayIconId id, RECT* rect) const = 0;   // screen coordinates; false when not docked
};

// The tray of the current display: the x11 display's system tray, or the headless panel. nullptr when the
// display offers none.
TrayHost* CurrentTrayHost();
// Hosts call it from their destructor: the notification area forgets them.
void TrayHostDestroyed(TrayHost* host);

}

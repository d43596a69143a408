// How the tray icon reaches its popup menu: a TPopupMenu by default, replaceable by hooks.
#pragma once

#include "platform/classes/TComponent.h"

#include <functional>

namespace korvex::tray {

// The tray icon keeps its popup menu as a component and asks these to use it. A hook left empty does what a
// TPopupMenu does: it pops up by itself when its AutoPopup is set, shows at the point with the icon as its
// PopupComponent, and its default item is the first top-level one with Default set. A menu that is not a
// TPopupMenu is never shown unless a hook says otherwise.
struct TTrayMenuHooks {
    std::function<bool(classes::TComponent* menu)> AutoPopup;   // the menu pops up by itself on a click
    // Shows the menu at a screen position with popupComponent as its PopupComponent.
    std::function<void(classes::TComponent* menu, classes::TComponent* popupComponent, int x, int y)> Popup;
    // Clicks the first top-level item with Default set; false when there is none.
    std::function<bool(classes::TComponent* menu)> ClickDefaultItem;
};

// Replaces the hooks; the empty ones go back to the popup menu's own behaviour (SetTrayMenuHooks({}) resets).
void SetTrayMenuHooks(TTrayMenuHooks hooks);
const TTrayMenuHooks& TrayMenuHooks();

}

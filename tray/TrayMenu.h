// How the tray icon reaches its popup menu: hooks the menus fill in.
#pragma once

#include "platform/classes/TComponent.h"

#include <functional>

namespace korvex::tray {

// The tray icon keeps its popup menu as a component and asks these to use it. Until they are set the menu
// is never shown and no default item is clicked.
// FIXME: filled by the menus (TPopupMenu) once they exist.
struct TTrayMenuHooks {
    std::function<bool(classes::TComponent* menu)> AutoPopup;   // the menu pops up by itself on a click
    // Shows the menu at a screen position with popupComponent as its PopupComponent.
    std::function<void(classes::TComponent* menu, classes::TComponent* popupComponent, int x, int y)> Popup;
    // Clicks the first top-level item with Default set; false when there is none.
    std::function<bool(classes::TComponent* menu)> ClickDefaultItem;
};

void SetTrayMenuHooks(TTrayMenuHooks hooks);
const TTrayMenuHooks& TrayMenuHooks();

}

// The tray icon's popup menu hooks, by default the ones of a TPopupMenu.
#include "tray/TrayMenu.h"

#include "platform/classes/TMenu.h"

namespace korvex::tray {

using namespace classes;

namespace {

TTrayMenuHooks PopupMenuHooks() {
    TTrayMenuHooks hooks;
    hooks.AutoPopup = [](TComponent* menu) {
        auto* popup = dynamic_cast<TPopupMenu*>(menu);
        return popup != nullptr && popup->AutoPopup();
    };
    hooks.Popup = [](TComponent* menu, TComponent* popupComponent, int x, int y) {
        auto* popup = dynamic_cast<TPopupMenu*>(menu);
        if (popup == nullptr) return;
        popup->SetPopupComponent(popupComponent);
        popup->Popup(x, y);
    };
    hooks.ClickDefaultItem = [](TComponent* menu) {
        auto* popup = dynamic_cast<TPopupMenu*>(menu);
        if (popup == nullptr) return false;
        TMenuItem* items = popup->Items();
        for (int i = 0; i < items->Count(); ++i) {
            if (!items->Items(i)->Default()) continue;
            items->Items(i)->Click();
            return true;
        }
        return false;
    };
    return hooks;
}

TTrayMenuHooks& Hooks() {
    static TTrayMenuHooks hooks = PopupMenuHooks();
    return hooks;
}

}

void SetTrayMenuHooks(TTrayMenuHooks hooks) {
    TTrayMenuHooks defaults = PopupMenuHooks();
    Hooks().AutoPopup = hooks.AutoPopup ? std::move(hooks.AutoPopup) : std::move(defaults.AutoPopup);
    Hooks().Popup = hooks.Popup ? std::move(hooks.Popup) : std::move(defaults.Popup);
    Hooks().ClickDefaultItem
        = hooks.ClickDefaultItem ? std::move(hooks.ClickDefaultItem) : std::move(defaults.ClickDefaultItem);
}

const TTrayMenuHooks& TrayMenuHooks() {
    return Hooks();
}

}

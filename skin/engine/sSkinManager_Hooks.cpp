// TsSkinManager: the hook of the application window for skinned popups, and the hovered control.
#include "skin/engine/sSkinManager.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TControl.h"

namespace korvex::skin {

using namespace korvex::classes;

void TsSkinManager::HookMainWindow() {
    if (Application == nullptr || FHookedApplication != nullptr) return;
    FHookedApplication = Application;
    FreeNotification(FHookedApplication);
    FHookId = FHookedApplication->HookMainWindow([this](TMessage& m) { return MainWindowHook(m); });
}

void TsSkinManager::UnhookMainWindow() {
    if (FHookedApplication == nullptr) return;
    FHookedApplication->UnhookMainWindow(FHookId);
    RemoveFreeNotification(FHookedApplication);
    FHookedApplication = nullptr;
    FHookId = 0;
}

bool TsSkinManager::MainWindowHook(TMessage& message) {
    if (message.Msg == WM_ACPOPUPITEM) {
        // The item travels by id: by the time this arrives it may have been freed with its popup.
        if (FSkinableMenus == nullptr || !FSkinableMenus->HasPopupState()) return false;
        FSkinableMenus->SkinPopupOfItem(message.LParam);
        return true;
    }
    if (message.Msg == WM_ACPOPUPWINDOW) {
        const auto window = reinterpret_cast<user::HWND>(message.LParam);
        if (window != nullptr && FSkinableMenus != nullptr) FSkinableMenus->SkinPopupWindow(window);
        return true;
    }
    return false;
}

void TsSkinManager::SetHoveredControl(TControl* control) {
    if (control == FHoveredControl) return;
    if (FHoveredControl != nullptr) RemoveFreeNotification(FHoveredControl);
    FHoveredControl = control;
    if (FHoveredControl != nullptr) FreeNotification(FHoveredControl);
}

void TsSkinManager::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FHoveredControl) FHoveredControl = nullptr;
    if (component == FHookedApplication) {
        FHookedApplication = nullptr;
        FHookId = 0;
    }
}

}

// TsSkinManager: the hook of the application window for skinned popups, and the hovered control.
#include "skin/engine/sSkinManager.h"

#include "platform/classes/TApplication.h"
#include "platform/classes/TControl.h"
#include "platform/classes/TMenu.h"
#include "platform/user/Menus.h"
#include "platform/user/WinPos.h"

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
        if (FSkinableMenus == nullptr || !FSkinableMenus->HasPopupState()) return false;
        auto* item = reinterpret_cast<TMenuItem*>(message.LParam);
        if (item == nullptr || item->Parent() == nullptr) return true;
        user::RECT r {};
        if (!user::GetMenuItemRect(nullptr, item->Parent()->Handle(), UINT(item->MenuIndex()), &r)) return true;
        const user::HWND window
            = user::WindowFromPoint({r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2});
        if (window != nullptr) FSkinableMenus->SkinPopupWindow(window);
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

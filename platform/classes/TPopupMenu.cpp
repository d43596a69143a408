// TPopupMenu: the menu at a screen point, owned by a hidden window that hears its messages.
#include "platform/classes/AllocateHWnd.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TMenu.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Menus.h"

namespace korvex::classes {

using namespace user;

TPopupMenu::TPopupMenu(TComponent* owner)
    : TMenu(owner) {
    FWindow = AllocateHWnd([this](TMessage& m) {
        if (DispatchMessage(m)) return;
        m.Result = user::DefWindowProc(nullptr, m.Msg, m.WParam, m.LParam);
    });
}

TPopupMenu::~TPopupMenu() {
    if (InMenuLoop()) EndMenu();
    DeallocateHWnd(FWindow);
    FWindow = nullptr;
}

TClass TPopupMenu::StaticClass() {
    static const TClassInfo info = MakeClass<TPopupMenu, TMenu>("TPopupMenu", [](auto& p) {
        p.Enum("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment, PopupAlignmentIdents, paLeft);
        p.Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true);
        p.Set("MenuAnimation", &TPopupMenu::MenuAnimation, &TPopupMenu::SetMenuAnimation, MenuAnimationIdents,
            TMenuAnimation {});
        p.Event("OnPopup", &TPopupMenu::OnPopup);
    });
    return &info;
}

void TPopupMenu::SetPopupComponent(TComponent* value) {
    if (value == FPopupComponent) return;
    if (FPopupComponent != nullptr) FPopupComponent->RemoveFreeNotification(this);
    FPopupComponent = value;
    if (value != nullptr) value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == opRemove && component == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::DoPopup() {
    if (OnPopup) OnPopup(this);
}

void TPopupMenu::Popup(int x, int y) {
    if (InMenuLoop()) return;
    FPopupPoint = Point(x, y);
    if (!RunUserCode(this, [this] { DoPopup(); })) return;
    DestroyNativeMenu();   // rebuilt: OnPopup may have changed the items
    static constexpr UINT Align[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
    TrackPopupMenuEx(Handle(), Align[FAlignment] | TPM_RIGHTBUTTON, x, y, FWindow, nullptr);
}

// ---------------------------------------------------------------------------------------------------------
// The forms' and controls' share

void AttachMainMenu(TComponent* oldMenu, TComponent* newMenu, HWND window) {
    if (oldMenu != nullptr && oldMenu != newMenu && oldMenu->InheritsFrom(TMainMenu::StaticClass()))
        static_cast<TMainMenu*>(oldMenu)->SetWindow(nullptr);
    if (newMenu != nullptr && newMenu->InheritsFrom(TMainMenu::StaticClass()))
        static_cast<TMainMenu*>(newMenu)->SetWindow(window);
}

bool DispatchMenuMessage(TComponent* menu, TMessage& message) {
    if (menu == nullptr || !menu->InheritsFrom(TMenu::StaticClass())) return false;
    return static_cast<TMenu*>(menu)->DispatchMessage(message);
}

bool MenuIsShortCut(TComponent* menu, TMessage& message) {
    if (menu == nullptr || !menu->InheritsFrom(TMenu::StaticClass())) return false;
    return static_cast<TMenu*>(menu)->IsShortCut(message);
}

bool PopupContextMenu(TComponent* popupMenu, TComponent* control, TPoint screenPoint) {
    if (popupMenu == nullptr || !popupMenu->InheritsFrom(TPopupMenu::StaticClass())) return false;
    auto* menu = static_cast<TPopupMenu*>(popupMenu);
    if (!menu->AutoPopup()) return false;
    menu->SetPopupComponent(control);
    menu->Popup(screenPoint.x, screenPoint.y);
    return true;
}

}

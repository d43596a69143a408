// TsSkinProvider: handing the form's menus to the skinned menus, and the open menu-line item drawn hot.
#include "skin/windows/sSkinProvider.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TScreen.h"
#include "platform/gdi/BitBlt.h"
#include "platform/classes/TMenu.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/user/Menus.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Painting.h"
#include "platform/user/controls/ControlsCommon.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStyleSimply.h"
#include "skin/windows/sSkinMenus.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

// The menu line's item that is drawn hot while its popup is open (one menu loop at a time).
struct HotMenuItem {
    TsSkinProvider* Provider = nullptr;
    TMenuItem* Item = nullptr;
};
HotMenuItem HotItem;

void VisitMenus(TComponent* component, TsSkinableMenus* menus, bool active, bool popups) {
    if (component->InheritsFrom(TMainMenu::StaticClass())) {
        // The bar's items and the items under them, as the menus' own hooking does.
        auto* menu = static_cast<TMainMenu*>(component);
        menus->HookMainMenu(menu, active);
        for (int i = 0; i < menu->Items()->Count(); ++i)
            menus->HookItems(menu->Items()->Items(i), active);
    } else if (popups && component->InheritsFrom(TPopupMenu::StaticClass())) {
        menus->HookPopupMenu(static_cast<TPopupMenu*>(component), active);
    } else if (popups && component->InheritsFrom(TMenuItem::StaticClass())) {
        auto* item = static_cast<TMenuItem*>(component);
        const TMenu* menu = item->GetParentMenu();
        if (menu == nullptr || !menu->InheritsFrom(TMainMenu::StaticClass())) menus->HookItems(item, active);
    }
    for (int i = 0; i < component->ComponentCount(); ++i)
        VisitMenus(component->Components(i), menus, active, popups);
}

}

int MenuBarPosition(const TMenuItem* item) {
    const TMenuItem* parent = item != nullptr ? item->Parent() : nullptr;
    if (parent == nullptr || !item->Visible()) return -1;
    int position = 0;
    for (int i = 0; i < parent->Count(); ++i) {
        const TMenuItem* sibling = parent->Items(i);
        if (sibling == item) return position;
        if (sibling->Visible()) ++position;
    }
    return -1;
}

TsSkinableMenus* TsSkinProvider::SkinableMenus() const {
    TsSkinManager* manager = FSkinData->SkinManager();
    return manager != nullptr ? dynamic_cast<TsSkinableMenus*>(manager->SkinableMenus()) : nullptr;
}

void TsSkinProvider::InitMenuItems(bool active) {
    if (FForm == nullptr || ComponentState().Contains(csDesigning)) return;
    TsSkinableMenus* menus = SkinableMenus();
    if (menus == nullptr) return;
    menus->SetActive(active);
    VisitMenus(FForm, menus, active, FSkinData->SkinManager()->SkinnedPopups());
}

void TsSkinProvider::RefreshMainMenu() {
    TMainMenu* menu = FForm != nullptr ? FForm->Menu<TMainMenu>() : nullptr;
    if (menu == nullptr || menu->Items()->Count() == 0) return;
    TMenuItem* first = menu->Items()->Items(0);
    const std::string caption = first->Caption();
    FSkinData->BeginUpdate();
    first->SetCaption({});
    menu->SetOwnerDraw(FSkinData->Skinned());
    first->SetCaption(caption);
    FSkinData->EndUpdate();
}

void TsSkinProvider::MeasureMenuItem(TMessage& message) {
    auto* mis = reinterpret_cast<user::MEASUREITEMSTRUCT*>(message.LParam);
    TMainMenu* menu = FForm->Menu<TMainMenu>();
    TsSkinableMenus* menus = SkinableMenus();
    if (mis != nullptr && mis->CtlType == user::ODT_MENU && menu != nullptr && menus != nullptr
        && FForm->FormStyle() != fsMDIChild) {
        if (TMenuItem* item = menu->FindItem(mis->itemID)) menus->SetItemHandlers(item, true);
    }
    CallOld(message);
}

// The rectangle of a menu-line item in window coordinates, as high as the line paints it; empty when it is
// not on the bar.
TRect TsSkinProvider::MenuItemRect(TMenuItem* item) const {
    TMainMenu* menu = FForm != nullptr ? FForm->Menu<TMainMenu>() : nullptr;
    if (menu == nullptr || !FForm->HandleAllocated()) return {};
    const std::vector<TMenuItem*> items = menu->TopItems();
    const auto found = std::find(items.begin(), items.end(), item);
    if (found == items.end()) return {};
    const int position = int(found - items.begin());
    user::RECT r {};
    if (!user::GetMenuItemRect(FForm->WindowHandle(), menu->Handle(), UINT(position), &r)) return {};
    const TPoint origin = FormLeftTop();
    return TRect {r.left - origin.x, r.top - origin.y, r.right - origin.x, r.top - origin.y + MenuHeight()};
}

void TsSkinProvider::RepaintMenuItem(TMenuItem* item, TRect rect, TOwnerDrawState state) {
    TMainMenu* menu = FForm != nullptr ? FForm->Menu<TMainMenu>() : nullptr;
    TBitmap* cache = FormCache();
    if (item == nullptr || menu == nullptr || MenuItemRect(item).Width() <= 0 || !MenuPresent() || cache == nullptr
        || rect.Width() <= 0 || rect.Height() <= 0 || !item->OnAdvancedDrawItem)
        return;
    TCanvas* canvas = cache->Canvas();
    if (Screen != nullptr) canvas->Font()->Assign(Screen->MenuFont());
    item->OnAdvancedDrawItem(item, canvas, rect, state);
    if (!FForm->HandleAllocated()) return;
    const user::HWND hwnd = FForm->WindowHandle();
    const user::HDC dc = user::GetWindowDC(hwnd);
    if (dc == nullptr) return;
    gdi::BitBlt(
        dc, rect.left, rect.top, rect.Width(), rect.Height(), canvas->Handle(), rect.left, rect.top, gdi::SRCCOPY);
    user::ReleaseDC(hwnd, dc);
}

// A popup of the menu line opens: its item is drawn hot until the loop ends or another one opens.
void TsSkinProvider::MenuPopupOpened(user::HMENU popup) {
    TMainMenu* menu = FForm->Menu<TMainMenu>();
    if (menu == nullptr || popup == nullptr) return;
    for (TMenuItem* item : menu->TopItems()) {
        if (item->Count() == 0 || item->Handle() != popup) continue;
        ShowHotMenuItem(item);
        return;
    }
}

// An item of the menu line is selected, from the keyboard too (Alt, the arrows, Escape back from its popup):
// it is drawn hot in the same way. A popup's item names its position, an item without one its command.
void TsSkinProvider::MenuItemSelected(const TMessage& message) {
    TMainMenu* menu = FForm->Menu<TMainMenu>();
    const UINT flags = user::HIWORD(message.WParam);
    if (menu == nullptr || flags == 0xFFFF || reinterpret_cast<user::HMENU>(message.LParam) != menu->Handle()) return;
    const UINT id = user::LOWORD(message.WParam);
    const std::vector<TMenuItem*> items = menu->TopItems();
    if (flags & user::MF_POPUP) {
        if (id < items.size()) ShowHotMenuItem(items[id]);
        return;
    }
    for (TMenuItem* item : items)
        if (item->Count() == 0 && item->Command() == id) {
            ShowHotMenuItem(item);
            return;
        }
}

void TsSkinProvider::ShowHotMenuItem(TMenuItem* item) {
    if (HotItem.Provider == this && HotItem.Item == item) return;
    ClearHotMenuItem();
    HotItem = HotMenuItem {this, item};
    RepaintMenuItem(item, MenuItemRect(item), TOwnerDrawState {odSelected});
}

void TsSkinProvider::ClearHotMenuItem() {
    if (HotItem.Provider != this) return;
    TMenuItem* item = HotItem.Item;
    HotItem = {};
    RepaintMenuItem(item, MenuItemRect(item), TOwnerDrawState {});
}

TMenuItem* TsSkinProvider::HotMenuLineItem() const {
    return HotItem.Provider == this ? HotItem.Item : nullptr;
}

void TsSkinProvider::ForgetHotMenuItem() {
    if (HotItem.Provider == this) HotItem = {};
}

}

// TMenuItem trees and the native menus built from them; command ids, owner drawing and shortcuts.
#include "platform/classes/TMenu.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TColor.h"
#include "platform/classes/TImageList.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/Text.h"
#include "platform/user/Menus.h"
#include "platform/user/MessageIds.h"
#include "platform/user/controls/ControlsCommon.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

namespace korvex::classes {

using namespace user;

namespace {

// Command ids of living items (1..0xFFFF: WM_COMMAND carries them in a word).
std::unordered_map<UINT, TMenuItem*>& Commands() {
    static std::unordered_map<UINT, TMenuItem*> commands;
    return commands;
}

UINT NewCommand(TMenuItem* item) {
    static UINT next = 0;
    auto& commands = Commands();
    for (int tries = 0; tries < 0xFFFF; ++tries) {
        next = next % 0xFFFF + 1;
        if (commands.emplace(next, item).second) return next;
    }
    return 0;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}

TMenuItem::TMenuItem(TComponent* owner)
    : TComponent(owner)
    , FCommand(NewCommand(this)) {
}

TMenuItem::~TMenuItem() {
    if (FBitmap) FBitmap->OnChange = nullptr;
    Clear();
    if (FParent != nullptr) FParent->Remove(this);
    Commands().erase(FCommand);
}

TClass TMenuItem::StaticClass() {
    static const TClassInfo info = MakeClass<TMenuItem, TComponent>("TMenuItem", [](auto& p) {
        p.Bool("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck, false);
        p.Object("Bitmap", &TMenuItem::Bitmap, &TMenuItem::SetBitmap);
        p.String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
        p.Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false);
        p.Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault, false);
        p.Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true);
        p.Int("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex, 0);
        p.String("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
        p.Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, -1);
        p.Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem, false);
        p.Enum("Break", &TMenuItem::Break, &TMenuItem::SetBreak, MenuBreakIdents, mbNone);
        p.Int("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut, 0);
        p.Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true);
        p.Event("OnClick", &TMenuItem::OnClick);
        p.Event("OnMeasureItem", &TMenuItem::OnMeasureItem);
        p.Event("OnAdvancedDrawItem", &TMenuItem::OnAdvancedDrawItem);
        p.Event("OnDrawItem", &TMenuItem::OnDrawItem);
    });
    return &info;
}

TBitmap* TMenuItem::Bitmap() const {
    if (!FBitmap) {
        FBitmap = std::make_unique<TBitmap>();
        auto* self = const_cast<TMenuItem*>(this);
        FBitmap->OnChange = [self](TObject*) { self->Changed(); };
    }
    return FBitmap.get();
}

void TMenuItem::SetBitmap(const TBitmap* value) {
    Bitmap()->Assign(value);
}

bool TMenuItem::HasBitmap() const {
    return FBitmap && FBitmap->Width() > 0 && FBitmap->Height() > 0;
}

void TMenuItem::Changed() {
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::SetCaption(const std::string& value) {
    if (value == FCaption) return;
    FCaption = value;
    Changed();
}

void TMenuItem::SetChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    if (value && FRadioItem && FParent != nullptr)
        for (TMenuItem* sibling : FParent->FItems)
            if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex)
                sibling->FChecked = false;
    Changed();
}

void TMenuItem::SetRadioItem(bool value) {
    if (value == FRadioItem) return;
    FRadioItem = value;
    Changed();
}

void TMenuItem::SetBreak(TMenuBreak value) {
    if (value == FBreak) return;
    FBreak = value;
    Changed();
}

void TMenuItem::SetGroupIndex(int value) {
    FGroupIndex = value;
}

void TMenuItem::SetEnabled(bool value) {
    if (value == FEnabled) return;
    FEnabled = value;
    TMenu* menu = GetParentMenu();
    if (menu == nullptr) return;
    if (menu->UpdateItemState(this))
        menu->ItemStateChanged();
    else
        menu->MenuChanged();
}

void TMenuItem::SetVisible(bool value) {
    if (value == FVisible) return;
    FVisible = value;
    Changed();
}

void TMenuItem::SetDefault(bool value) {
    if (value == FDefault) return;
    FDefault = value;
    Changed();
}

void TMenuItem::SetShortCut(TShortCut value) {
    if (value == FShortCut) return;
    FShortCut = value;
    Changed();
}

void TMenuItem::SetImageIndex(int value) {
    if (value == FImageIndex) return;
    FImageIndex = value;
    Changed();
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) throw EMenuError("Menu index out of range");
    return FItems[std::size_t(index)];
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (item == nullptr) return;
    if (item->FParent != nullptr) throw EMenuError("Menu inserted twice");
    for (const TMenuItem* p = this; p != nullptr; p = p->FParent)
        if (p == item) throw EMenuError("Menu inserted into itself");
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    Changed();
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = Items(index);
    FItems.erase(FItems.begin() + index);
    item->FParent = nullptr;
    Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
    const int index = IndexOf(item);
    if (index < 0) throw EMenuError("Menu item not found");
    Delete(index);
}

void TMenuItem::Clear() {
    while (!FItems.empty())
        delete FItems.back();   // each one leaves this item
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

TMenuItem* TMenuItem::Find(std::string_view caption) const {
    const std::string wanted = StripMnemonic(std::string(caption));
    for (TMenuItem* item : FItems)
        if (EqualNoCase(StripMnemonic(item->FCaption), wanted)) return item;
    return nullptr;
}

int TMenuItem::MenuIndex() const {
    return FParent ? FParent->IndexOf(this) : -1;
}

void TMenuItem::SetMenuIndex(int value) {
    if (FParent == nullptr) return;
    TMenuItem* parent = FParent;
    const int count = parent->Count();
    value = std::clamp(value, 0, count - 1);
    if (value == MenuIndex()) return;
    parent->FItems.erase(parent->FItems.begin() + MenuIndex());
    parent->FItems.insert(parent->FItems.begin() + value, this);
    Changed();
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->FParent != nullptr)
        item = item->FParent;
    return item->FMenu;
}

HMENU TMenuItem::Handle() const {
    if (FMenu != nullptr) return FMenu->Handle();
    return IsMenu(FHandle) ? FHandle : nullptr;
}

bool TMenuItem::IsOwnerDrawn() const {
    if (OnMeasureItem || OnAdvancedDrawItem || OnDrawItem) return true;
    TMenu* menu = GetParentMenu();
    return menu != nullptr && (menu->OwnerDraw() || (menu->Images() != nullptr && FImageIndex >= 0));
}

void TMenuItem::Click() {
    if (!FEnabled) return;
    if (FAutoCheck) SetChecked(FRadioItem ? true : !FChecked);
    if (OnClick) OnClick(this);
}

TComponent* TMenuItem::GetParentComponent() const {
    if (FParent == nullptr) return nullptr;
    if (FParent->FMenu != nullptr) return FParent->FMenu;
    return FParent;
}

void TMenuItem::SetParentComponent(TComponent* value) {
    if (FParent != nullptr) FParent->Remove(this);
    if (value == nullptr) return;
    if (value->InheritsFrom(TMenu::StaticClass()))
        static_cast<TMenu*>(value)->Items()->Add(this);
    else if (value->InheritsFrom(TMenuItem::StaticClass()))
        static_cast<TMenuItem*>(value)->Add(this);
}

void TMenuItem::GetChildren(const std::function<void(TComponent* child)>& proc, TComponent* root) const {
    for (TMenuItem* item : FItems)
        if (item->Owner() == root) proc(item);
}

// Without handlers the item is measured and drawn in the plain look with its image from the menu's Images.
void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
    if (OnMeasureItem) {
        OnMeasureItem(this, canvas, width, height);
        return;
    }
    TMenu* menu = GetParentMenu();
    const TCustomImageList* images = menu != nullptr ? menu->Images() : nullptr;
    const int glyph = images != nullptr ? images->Width() : 16;
    if (IsLine()) {
        height = 8;
        return;
    }
    std::string text = StripMnemonic(FCaption);
    if (FShortCut != 0) text += "    " + ShortCutToText(FShortCut);
    width = glyph + 12 + canvas->TextWidth(text) + 16;
    height = std::max({height, canvas->TextHeight("Wg") + 4, (images != nullptr ? images->Height() : 0) + 4});
}

void TMenuItem::AdvancedDrawItem(TCanvas* canvas, TRect rect, TOwnerDrawState state) {
    if (OnAdvancedDrawItem) {
        OnAdvancedDrawItem(this, canvas, rect, state);
        return;
    }
    if (OnDrawItem) {
        OnDrawItem(this, canvas, rect, state.Contains(odSelected));
        return;
    }
    const bool selected = state.Contains(odSelected) && !IsLine();
    canvas->Brush()->SetColor(selected ? clHighlight : clMenu);
    canvas->FillRect(rect);
    if (IsLine()) {
        const int y = (rect.top + rect.bottom) / 2 - 1;
        canvas->Brush()->SetColor(clBtnShadow);
        canvas->FillRect(Rect(rect.left + 1, y, rect.right - 1, y + 1));
        canvas->Brush()->SetColor(clBtnHighlight);
        canvas->FillRect(Rect(rect.left + 1, y + 1, rect.right - 1, y + 2));
        return;
    }
    TMenu* menu = GetParentMenu();
    TCustomImageList* images = menu != nullptr ? menu->Images() : nullptr;
    const int glyph = images != nullptr ? images->Width() : 16;
    const TColor ink = !FEnabled ? clGrayText : selected ? clHighlightText : clMenuText;
    if (images != nullptr && FImageIndex >= 0 && FImageIndex < images->Count())
        images->Draw(
            canvas, rect.left + 2, rect.top + (rect.bottom - rect.top - images->Height()) / 2, FImageIndex, FEnabled);
    else if (state.Contains(odChecked))   // the mark takes the glyph's place
        DrawMenuCheckMark(
            canvas->Handle(), rect.left + 2 + glyph / 2, (rect.top + rect.bottom) / 2, FRadioItem, ColorToColorRef(ink));
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetColor(ink);
    canvas->Font()->SetStyle(FDefault ? TFontStyles {fsBold} : TFontStyles {});
    TRect text = rect;
    text.left += glyph + 8;
    text.right -= 8;
    gdi::DrawText(canvas->Handle(), FCaption, &text, gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_LEFT);
    if (FShortCut != 0)
        gdi::DrawText(
            canvas->Handle(), ShortCutToText(FShortCut), &text, gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_RIGHT);
}

// ---------------------------------------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* owner)
    : TComponent(owner)
    , FItems(new TMenuItem(nullptr)) {
    FItems->FMenu = this;
}

TMenu::~TMenu() {
    DestroyNativeMenu();
    FItems->FMenu = nullptr;
    delete FItems;
}

TClass TMenu::StaticClass() {
    static const TClassInfo info = MakeClass<TMenu, TComponent>("TMenu", [](auto& p) {
        p.Component("Images", &TMenu::ImagesComponent, &TMenu::SetImagesComponent);
        p.Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw, false);
    });
    return &info;
}

void TMenu::SetImages(TCustomImageList* value) {
    SetImagesComponent(value);
}

TComponent* TMenu::ImagesComponent() const {
    return FImages;
}

void TMenu::SetImagesComponent(TComponent* value) {
    if (value != nullptr && !value->InheritsFrom(TCustomImageList::StaticClass()))
        throw EMenuError("Images must be an image list");
    if (value == FImages) return;
    if (FImages != nullptr) FImages->RemoveFreeNotification(this);
    FImages = static_cast<TCustomImageList*>(value);
    if (FImages != nullptr) FImages->FreeNotification(this);
    MenuChanged();
}

void TMenu::SetOwnerDraw(bool value) {
    if (value == FOwnerDraw) return;
    FOwnerDraw = value;
    MenuChanged();
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FImages) {
        FImages = nullptr;
        MenuChanged();
    }
}

void TMenu::Loaded() {
    TComponent::Loaded();
    MenuChanged();
}

void TMenu::GetChildren(const std::function<void(TComponent* child)>& proc, TComponent* root) const {
    FItems->GetChildren(proc, root);
}

void TMenu::DestroyNativeMenu() {
    if (FHandle != nullptr) DestroyMenu(FHandle);
    FHandle = nullptr;
}

void TMenu::MenuChanged() {
    // The native menu must not change under a running menu loop; it is rebuilt on next use.
    if (FHandle == nullptr || ComponentState().Contains(csLoading) || InMenuLoop()) return;
    DestroyNativeMenu();
    Handle();
}

// Only the item's state changed: the native item it was built into takes the new state where it stands, so the
// menu is not made again (nor a bar put on its window again). A bar's own item changes the bar's picture: that
// one, and an item not found as built, take the full rebuild.
bool TMenu::UpdateItemState(const TMenuItem* item) {
    if (FHandle == nullptr || ComponentState().Contains(csLoading) || InMenuLoop()) return false;
    if (item->FParent == nullptr || (IsBar() && item->FParent == FItems)) return false;
    const HMENU native = item->FParent == FItems ? FHandle : item->FParent->FHandle;
    MENUITEMINFO info;
    info.fMask = MIIM_DATA | MIIM_SUBMENU;
    if (native == nullptr || !GetMenuItemInfo(native, item->FCommand, false, &info)
        || info.dwItemData != item->FCommand)
        return false;
    info.fMask = MIIM_STATE;
    info.fState = (item->FChecked ? MFS_CHECKED : 0) | (item->FEnabled ? 0 : MFS_GRAYED)
        | (item->FDefault ? MFS_DEFAULT : 0);
    return SetMenuItemInfo(native, item->FCommand, false, &info);
}

std::vector<TMenuItem*> TMenu::TopItems() const {
    std::vector<TMenuItem*> items;
    for (TMenuItem* item : FItems->FItems)
        if (item->FVisible) items.push_back(item);
    return items;
}

void TMenu::BuildItems(HMENU native, const TMenuItem* parent) {
    for (const TMenuItem* item : parent->FItems)
        if (item->FVisible) BuildItem(native, item);
}

void TMenu::BuildItem(HMENU native, const TMenuItem* item) {
    {
        MENUITEMINFO info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING;
        info.wID = item->FCommand;
        info.dwItemData = item->FCommand;
        if (item->IsLine()) {
            info.fType = MFT_SEPARATOR | (item->IsOwnerDrawn() ? MFT_OWNERDRAW : 0);   // owner-drawn menus draw lines too
        } else {
            info.fType = (item->FRadioItem ? MFT_RADIOCHECK : 0) | (item->IsOwnerDrawn() ? MFT_OWNERDRAW : 0);
            if (item->FBreak == mbBreak) info.fType |= MFT_MENUBREAK;
            if (item->FBreak == mbBarBreak) info.fType |= MFT_MENUBARBREAK;
            info.fState = (item->FChecked ? MFS_CHECKED : 0) | (item->FEnabled ? 0 : MFS_GRAYED)
                | (item->FDefault ? MFS_DEFAULT : 0);
            info.dwTypeData = item->FCaption;
            if (item->FShortCut != 0 && !IsBar()) info.dwTypeData += "\t" + ShortCutToText(item->FShortCut);
        }
        if (!item->FItems.empty()) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = CreatePopupMenu();
            const_cast<TMenuItem*>(item)->FHandle = info.hSubMenu;
            BuildItems(info.hSubMenu, item);
        }
        InsertMenuItem(native, UINT(GetMenuItemCount(native)), true, &info);
    }
}

HMENU TMenu::Handle() {
    if (FHandle == nullptr) {
        std::function<void(TMenuItem*)> forget = [&](TMenuItem* item) {
            item->FHandle = nullptr;
            for (TMenuItem* sub : item->FItems)
                forget(sub);
        };
        forget(FItems);
        FHandle = IsBar() ? CreateMenu() : CreatePopupMenu();
        for (const TMenuItem* item : TopItems())
            BuildItem(FHandle, item);
    }
    return FHandle;
}

TMenuItem* TMenu::FindItem(UINT command) const {
    auto it = Commands().find(command);
    if (it == Commands().end()) return nullptr;
    const TMenu* menu = it->second->GetParentMenu();
    if (menu == this) return it->second;
    // A merged bar's items are this bar's while they are shown on it.
    const auto* bar = dynamic_cast<const TMainMenu*>(this);
    return bar != nullptr && bar->Merged() != nullptr && menu == bar->Merged() ? it->second : nullptr;
}

TMenuItem* TMenu::FindShortCut(TShortCut shortCut) const {
    if (shortCut == 0) return nullptr;
    std::function<TMenuItem*(const TMenuItem*)> search = [&](const TMenuItem* parent) -> TMenuItem* {
        // A hidden item keeps its shortcut (it may exist for the shortcut alone); a disabled one does not.
        for (TMenuItem* item : parent->FItems) {
            if (!item->FEnabled) continue;
            if (item->FShortCut == shortCut) return item;
            if (TMenuItem* found = search(item)) return found;
        }
        return nullptr;
    };
    return search(FItems);
}

bool TMenu::IsShortCut(TMessage& message) {
    TMenuItem* item = FindShortCut(ShortCutFromMessage(message));
    if (item == nullptr) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_COMMAND: {
        if (HIWORD(m.WParam) != 0 || m.LParam != 0) return false;
        TMenuItem* item = FindItem(LOWORD(m.WParam));
        if (item == nullptr) return false;
        item->Click();
        m.Result = 0;
        return true;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        if (mis == nullptr || mis->CtlType != ODT_MENU) return false;
        TMenuItem* item = FindItem(mis->itemID);
        if (item == nullptr) return false;
        HDC dc = gdi::CreateCompatibleDC(nullptr);
        base::ScopeExit freeDc([dc] { gdi::DeleteDC(dc); });
        TCanvas canvas;   // gone before the DC
        canvas.SetHandle(dc);
        int width = int(mis->itemWidth);
        int height = int(mis->itemHeight);
        item->MeasureItem(&canvas, width, height);
        mis->itemWidth = UINT(std::max(0, width));
        mis->itemHeight = UINT(std::max(0, height));
        m.Result = 1;
        return true;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (dis == nullptr || dis->CtlType != ODT_MENU) return false;
        TMenuItem* item = FindItem(dis->itemID);
        if (item == nullptr) return false;
        TCanvas canvas;
        canvas.SetHandle(dis->hDC);
        item->AdvancedDrawItem(&canvas, dis->rcItem, OwnerDrawStateOf(dis->itemState));
        canvas.SetHandle(nullptr);
        m.Result = 1;
        return true;
    }
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------------------------------------
// TMainMenu

TMainMenu::~TMainMenu() {
    if (FMergedInto != nullptr) FMergedInto->Unmerge(this);
    if (FMerged != nullptr) Unmerge(FMerged);
    SetWindow(nullptr);
}

TClass TMainMenu::StaticClass() {
    static const TClassInfo info = MakeClass<TMainMenu, TMenu>("TMainMenu");
    return &info;
}

void TMainMenu::Merge(TMainMenu* menu) {
    if (menu == FMerged || menu == this) return;
    if (FMerged != nullptr) Unmerge(FMerged);
    if (menu != nullptr) {
        if (menu->FMergedInto != nullptr) menu->FMergedInto->Unmerge(menu);
        menu->FMergedInto = this;
        menu->FreeNotification(this);
    }
    FMerged = menu;
    MenuChanged();
}

void TMainMenu::Unmerge(TMainMenu* menu) {
    if (menu == nullptr || menu != FMerged) return;
    FMerged->FMergedInto = nullptr;
    FMerged->RemoveFreeNotification(this);
    FMerged = nullptr;
    MenuChanged();
}

std::vector<TMenuItem*> TMainMenu::TopItems() const {
    std::vector<TMenuItem*> items = TMenu::TopItems();
    if (FMerged == nullptr) return items;
    for (TMenuItem* item : FMerged->Items()->ItemsList()) {
        if (!item->Visible()) continue;
        const int group = item->GroupIndex();
        // Replaces this bar's items of its group (not those merged just before it), else goes before a higher one.
        auto own = [&](const TMenuItem* i) { return i->GetParentMenu() == this; };
        auto same = std::find_if(items.begin(), items.end(), [&](TMenuItem* i) { return own(i) && i->GroupIndex() == group; });
        if (same != items.end()) {
            const auto at = same - items.begin();
            items.erase(std::remove_if(items.begin(), items.end(),
                            [&](TMenuItem* i) { return own(i) && i->GroupIndex() == group; }),
                items.end());
            items.insert(items.begin() + at, item);
            continue;
        }
        auto higher = std::find_if(items.begin(), items.end(), [&](TMenuItem* i) { return i->GroupIndex() > group; });
        items.insert(higher, item);
    }
    return items;
}

void TMainMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FMerged) {
        FMerged = nullptr;
        MenuChanged();
    }
    if (component == FMergedInto) FMergedInto = nullptr;
}

void TMainMenu::SetWindow(HWND window) {
    if (FWindow != nullptr && IsWindow(FWindow) && GetMenu(FWindow) == FHandle) user::SetMenu(FWindow, nullptr);
    FWindow = window;
    if (FWindow != nullptr) user::SetMenu(FWindow, Handle());
}

// The bar is rebuilt (unless a menu loop runs), then the form is told with CM_MENUCHANGED: a form that draws
// its own menu bar lays it out again.
void TMainMenu::MenuChanged() {
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
    if (FMergedInto != nullptr) FMergedInto->MenuChanged();   // shown on that bar
    if (FHandle != nullptr && !InMenuLoop()) {
        HMENU old = FHandle;
        FHandle = nullptr;
        Handle();
        if (FWindow != nullptr && IsWindow(FWindow)) user::SetMenu(FWindow, FHandle);
        DestroyMenu(old);
    }
    if (FWindow != nullptr && IsWindow(FWindow)) SendMessage(FWindow, CM_MENUCHANGED, 0, 0);
}

// The bar stays as it is (its own items' states are not changed in place): the form is told all the same.
void TMainMenu::ItemStateChanged() {
    if (FWindow != nullptr && IsWindow(FWindow)) SendMessage(FWindow, CM_MENUCHANGED, 0, 0);
}

TMenuItem* FindMenuItemByCommand(UINT command) {
    auto it = Commands().find(command);
    return it == Commands().end() ? nullptr : it->second;
}

void RegisterMenuClasses() {
    RegisterClasses({TMenuItem::StaticClass(), TMainMenu::StaticClass(), TPopupMenu::StaticClass()});
}

}

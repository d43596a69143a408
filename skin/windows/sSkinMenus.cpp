// TsSkinableMenus: creation, hooking the menus of every form, item kinds and measuring.
#include "skin/windows/sSkinMenus.h"
#include "skin/windows/sSkinMenus_State.h"
#include "skin/windows/sMDIForm.h"
#include "skin/windows/sSkinProvider.h"
#include "platform/user/WinPos.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TCanvas.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TScreen.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/Text.h"
#include "platform/user/Menus.h"
#include "platform/user/SystemMetrics.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sSkinnedText.h"

#include <cmath>

namespace korvex::skin {

using namespace korvex::classes;

namespace {

// The handlers installed on items: they reach the menus object only while it lives.
template <class... Args>
struct MenusHandler {
    std::weak_ptr<TsSkinableMenus*> Menus;
    void (TsSkinableMenus::*Handle)(TMenuItem*, TCanvas*, Args...) = nullptr;
    void operator()(TObject* sender, TCanvas* canvas, Args... args) const {
        const auto menus = Menus.lock();
        auto* item = dynamic_cast<TMenuItem*>(sender);
        if (menus != nullptr && *menus != nullptr && item != nullptr) ((*menus)->*Handle)(item, canvas, args...);
    }
};
using DrawFn = MenusHandler<TRect, TOwnerDrawState>;
using MeasureFn = MenusHandler<int&, int&>;

template <class Fn>
bool SameOwner(const Fn* fn, const std::shared_ptr<TsSkinableMenus*>& token) {
    return fn != nullptr && !fn->Menus.owner_before(token) && !token.owner_before(fn->Menus);
}

bool IsTopItemOfMainMenu(const TMenuItem* item) {
    const TMenuItem* parent = item->Parent();
    if (parent == nullptr || parent->Parent() != nullptr) return false;
    const TMenu* menu = item->GetParentMenu();
    return menu != nullptr && menu->InheritsFrom(TMainMenu::StaticClass());
}

TFont* MenuFontOf() {
    return Screen != nullptr ? Screen->MenuFont() : nullptr;
}

}

TsMenuItemType MenuItemType(const TMenuItem* item) {
    const std::string& caption = item->Caption();
    if (caption == "-") return smDivider;
    if (caption.size() >= 2 && caption.front() == '-' && caption.back() == '-') return smCaption;
    return smNormal;
}

TsSkinableMenus::TsSkinableMenus(TsSkinManager* owner)
    : FManager(owner)
    , FToken(std::make_shared<TsSkinableMenus*>(this))
    , FCaptionFont(std::make_unique<TFont>()) { }

TsSkinableMenus::~TsSkinableMenus() {
    // The menus go back to their own look, unless the application is taking every form down anyway.
    if (FActive && Application != nullptr && !Application->ComponentState().Contains(csDestroying)) SetActive(false);
    *FToken = nullptr;   // handlers still installed do nothing from now on
    if (PopupBitmap() != nullptr) ResetPopupCache();
}

TClass TsSkinableMenus::StaticClass() {
    using T = TsSkinableMenus;
    static const TClassInfo info = MakeClass<T, TPersistent>("TsSkinableMenus", [](TPropertyBuilder<T>& p) {
        p.Enum("Alignment", &T::Alignment, &T::SetAlignment, AlignmentIdents, taLeftJustify);
        p.Int("BevelWidth", &T::BevelWidth, &T::SetBevelWidth, 0);
        p.Int("BorderWidth", &T::BorderWidth, &T::SetBorderWidth, 3);
        p.Object("CaptionFont", &T::CaptionFont, &T::SetCaptionFont);
        p.Int("SkinBorderWidth", &T::SkinBorderWidthValue, &T::SetSkinBorderWidth, 0);
        p.Int("Margin", &T::Margin, &T::SetMargin, 3);
        p.Int("Spacing", &T::Spacing, &T::SetSpacing, 6);
        p.Event("OnDrawItem", &T::OnDrawItem);
    });
    return &info;
}

void TsSkinableMenus::SetCaptionFont(const TFont* value) {
    FCaptionFont->Assign(value);
}

int TsSkinableMenus::SkinBorderWidth() {
    if (FSkinBorderWidth < 0) {
        const int mask = FManager != nullptr ? FManager->GetMaskIndexExact("MAINMENU", "BORDERSMASK") : -1;
        if (mask >= 0 && FManager->IsValidImgIndex(mask)) {
            const int width = FManager->Masks[std::size_t(mask)].BorderWidth;
            FSkinBorderWidth = width < 1 ? 3 : width;
        } else {
            FSkinBorderWidth = 0;
        }
    }
    return FSkinBorderWidth;
}

// ---------------------------------------------------------------------------------------------------------
// Hooking

void TsSkinableMenus::UpdateMenus() {
    SetActive(FManager != nullptr && FManager->LoadedSkin.Active);
}

void TsSkinableMenus::SetActive(bool value) {
    if (value == FActive) return;
    FActive = value;
    if (FManager != nullptr && FManager->ComponentState().Contains(csDesigning)) return;
    if (Application == nullptr) return;
    for (int i = 0; i < Application->ComponentCount(); ++i)
        HookComponent(Application->Components(i), value);
}

TAdvancedMenuDrawItemEvent TsSkinableMenus::DrawHandler(bool top) {
    return DrawFn {FToken, top ? &TsSkinableMenus::DrawTopItem : &TsSkinableMenus::DrawItem};
}

TMenuMeasureItemEvent TsSkinableMenus::MeasureHandler(bool top) {
    return MeasureFn {FToken, top ? &TsSkinableMenus::MeasureTopItem : &TsSkinableMenus::MeasureItem};
}

bool TsSkinableMenus::IsOwnHandler(const TAdvancedMenuDrawItemEvent& handler) const {
    return SameOwner(handler.target<DrawFn>(), FToken);
}

bool TsSkinableMenus::IsOwnHandler(const TMenuMeasureItemEvent& handler) const {
    return SameOwner(handler.target<MeasureFn>(), FToken);
}

void TsSkinableMenus::HookComponent(TComponent* component, bool value) {
    const bool popups = FManager != nullptr && FManager->SkinnedPopups();
    if (component->InheritsFrom(TMainMenu::StaticClass())) {
        auto* menu = static_cast<TMainMenu*>(component);
        HookMainMenu(menu, value);
        for (int i = 0; i < menu->Items()->Count(); ++i)
            HookItems(menu->Items()->Items(i), value);
    } else if (component->InheritsFrom(TPopupMenu::StaticClass())) {
        if (popups) HookPopupMenu(static_cast<TPopupMenu*>(component), value);
    } else if (component->InheritsFrom(TMenuItem::StaticClass())) {
        auto* item = static_cast<TMenuItem*>(component);
        const TMenu* menu = item->GetParentMenu();
        if (popups && (menu == nullptr || !menu->InheritsFrom(TMainMenu::StaticClass()))) HookItems(item, value);
    }
    for (int i = 0; i < component->ComponentCount(); ++i)
        HookComponent(component->Components(i), value);
}

void TsSkinableMenus::HookItems(TMenuItem* item, bool value) {
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* sub = item->Items(i);
        if (value) {
            if (!IsTopItemOfMainMenu(sub)) {
                if (!sub->OnAdvancedDrawItem) sub->OnAdvancedDrawItem = DrawHandler(false);
                if (!sub->OnMeasureItem) sub->OnMeasureItem = MeasureHandler(false);
            }
        } else {
            if (IsOwnHandler(sub->OnAdvancedDrawItem)) sub->OnAdvancedDrawItem = nullptr;
            if (IsOwnHandler(sub->OnMeasureItem)) sub->OnMeasureItem = nullptr;
        }
        HookItems(sub, value);
    }
}

void TsSkinableMenus::HookMainMenu(TMainMenu* menu, bool value) {
    TMenuItem* root = menu->Items();
    const bool loaded = FManager != nullptr && FManager->LoadedSkin.Active;
    for (int i = 0; i < root->Count(); ++i) {
        TMenuItem* item = root->Items(i);
        if (value) {
            if (loaded) item->OnAdvancedDrawItem = DrawHandler(true);
            item->OnMeasureItem = MeasureHandler(true);
        } else {
            if (IsOwnHandler(item->OnAdvancedDrawItem)) item->OnAdvancedDrawItem = nullptr;
            if (IsOwnHandler(item->OnMeasureItem)) item->OnMeasureItem = nullptr;
        }
    }
    if (!menu->ComponentState().Contains(csDestroying)) menu->SetOwnerDraw(value);
}

void TsSkinableMenus::HookPopupMenu(TPopupMenu* popup, bool value) {
    popup->SetOwnerDraw(value);
    // A skinned popup opens without the system's animation.
    TMenuAnimation animation = popup->MenuAnimation();
    if (value)
        animation.Include(maNone);
    else
        animation.Exclude(maNone);
    popup->SetMenuAnimation(animation);
    HookItems(popup->Items(), value);
}

void TsSkinableMenus::SetItemHandlers(TMenuItem* item, bool value) {
    if (item == nullptr) return;
    if (TMenu* menu = item->GetParentMenu()) menu->SetOwnerDraw(value);
    if (value) {
        if (IsTopItemOfMainMenu(item)) {
            item->OnAdvancedDrawItem = DrawHandler(true);
            item->OnMeasureItem = MeasureHandler(true);
        } else if (FManager != nullptr && FManager->SkinnedPopups()) {
            if (!item->OnAdvancedDrawItem) item->OnAdvancedDrawItem = DrawHandler(false);
            if (!item->OnMeasureItem) item->OnMeasureItem = MeasureHandler(false);
        }
    } else if (!IsTopItemOfMainMenu(item)) {
        if (IsOwnHandler(item->OnAdvancedDrawItem)) item->OnAdvancedDrawItem = nullptr;
        if (IsOwnHandler(item->OnMeasureItem)) item->OnMeasureItem = nullptr;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Measuring

TSize TsSkinableMenus::GetGlyphSize(TMenuItem* item, bool topLine) const {
    if (item->HasBitmap()) return TSize {item->Bitmap()->Width(), item->Bitmap()->Height()};
    if (topLine) return TSize {0, 0};
    const TMenu* menu = item->GetParentMenu();
    if (menu != nullptr && menu->Images() != nullptr) return TSize {menu->Images()->Width(), menu->Images()->Height()};
    return TSize {16, 16};
}

int TsSkinableMenus::ItemHeight(TMenuItem* item) {
    const TsMenuItemType kind = MenuItemType(item);
    if (kind == smDivider) return 2;
    TFont font;
    if (TFont* menuFont = MenuFontOf()) font.Assign(menuFont);
    const int text = int(std::lround(GetTextSize(font.Handle(), "W").cy * 1.25));
    if (kind == smCaption) return text + 2 * FMargin;
    return std::max(text, GetGlyphSize(item, false).cy) + 2 * FMargin;
}

int TsSkinableMenus::PopupItemsHeight(TMenuItem* parent) {
    if (parent == nullptr) return 0;
    int tallest = 0;
    int column = 0;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible()) continue;
        if (item->Break() != mbNone) {
            tallest = std::max(tallest, column);
            column = 0;
        }
        column += ItemHeight(item);
    }
    return std::max(tallest, column);
}

void TsSkinableMenus::MeasureItem(TMenuItem* item, TCanvas* canvas, int& width, int& height) {
    if (item->ComponentState().Contains(csDestroying) || item->Parent() == nullptr) return;
    TMenuItem* first = item->Parent()->Count() > 0 ? item->Parent()->Items(0) : item;
    if (first->Command() != CachedFirstItemId()) {
        ResetPopupCache();
        SetCachedFirstItemId(first->Command());
    }
    SetCurrentItemKind(MenuItemType(item));
    ReadExtraLineData(first);
    if (TFont* font = MenuFontOf()) canvas->Font()->Assign(font);
    int textWidth = 0;
    switch (MenuItemType(item)) {
    case smCaption:
        textWidth = canvas->TextWidth("-" + item->Caption() + "-");
        break;
    case smNormal: {
        TRect r {0, 0, 0, 0};
        canvas->TextRect(r, item->Caption() + ShortCutToText(item->ShortCut()),
            gdi::DT_CALCRECT | gdi::DT_SINGLELINE | gdi::DT_EXPANDTABS | gdi::DT_NOCLIP);
        textWidth = r.right - r.left;
        break;
    }
    default:
        break;
    }
    width = 2 * GetGlyphSize(item, false).cx + textWidth + 3 * FMargin + FSpacing + ExtraLineWidth(false);
    height = ItemHeight(item);
}

// The item the MDI parent's provider keeps on its menu line for a maximized child's icon.
bool IsMDIIconItem(const TMenuItem* item) {
    TsSkinProvider* mdi = MDISkinProvider();
    return mdi != nullptr && mdi->MDIForm() != nullptr && mdi->MDIForm()->MDIIconItem() == item;
}

bool IsLastTopItemBeforeMDIButtons(const TMenuItem* item) {
    const TMenuItem* parent = item != nullptr ? item->Parent() : nullptr;
    if (parent == nullptr || parent->Count() == 0 || parent->Items(parent->Count() - 1) != item) return false;
    TsSkinProvider* mdi = MDISkinProvider();
    TCustomForm* frame = mdi != nullptr ? mdi->Form() : nullptr;
    if (frame == nullptr || frame->FormStyle() != fsMDIForm) return false;
    TCustomForm* child = frame->ActiveMDIChild();
    return child != nullptr && child->HandleAllocated() && user::IsZoomed(child->WindowHandle())
        && GetSkinProvider(child) != nullptr;
}

void TsSkinableMenus::MeasureTopItem(TMenuItem* item, TCanvas* canvas, int& width, int& height) {
    height = user::GetSystemMetrics(user::SM_CYMENU) - 1;
    if (IsMDIIconItem(item)) {   // the maximized child's icon item
        width = 8;
        return;
    }
    if (TFont* font = MenuFontOf()) canvas->Font()->Assign(font);
    std::string text = item->Caption();
    if (item->ShortCut() != scNone) text += ShortCutToText(item->ShortCut());
    const int room = IsLastTopItemBeforeMDIButtons(item) ? MDIButtonsRoom : 0;
    width = std::max(width, canvas->TextWidth(text) + room);
}

// ---------------------------------------------------------------------------------------------------------

void InstallSkinableMenus() {
    SetSkinableMenusFactory(
        [](TsSkinManager* manager) -> std::unique_ptr<SkinableMenusLink> { return std::make_unique<TsSkinableMenus>(manager); });
}

}

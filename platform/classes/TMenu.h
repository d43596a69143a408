// Menus of the class library: TMenuItem trees, TMainMenu on a form's menu bar, TPopupMenu, and shortcuts.
#pragma once

#include "platform/classes/ControlMessages.h"
#include "platform/classes/ControlTypes.h"
#include "platform/classes/Forward.h"
#include "platform/classes/GraphicsTypes.h"
#include "platform/classes/ListControlTypes.h"
#include "platform/classes/TComponent.h"
#include "platform/classes/TSet.h"
#include "platform/user/UserTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvex::classes {

class TMenu;

// A key with modifier bits: the virtual key in the low byte.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;

TShortCut ShortCut(user::WORD key, TShiftState shift);
std::string ShortCutToText(TShortCut shortCut);   // "Ctrl+R", "Shift+F5", "" for none
TShortCut TextToShortCut(std::string_view text);   // scNone when it names no key
// The shortcut a key message (WM_KEYDOWN/WM_SYSKEYDOWN) gives with the modifiers down now.
TShortCut ShortCutFromMessage(const TMessage& message);

using TMenuMeasureItemEvent = std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;
using TAdvancedMenuDrawItemEvent
    = std::function<void(TObject* sender, TCanvas* canvas, TRect rect, TOwnerDrawState state)>;
using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas* canvas, TRect rect, bool selected)>;

// Where an item starts a new column of its menu (a new row on a menu bar); mbBarBreak with a line between.
enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
inline constexpr std::string_view MenuBreakIdents[] = {"mbNone", "mbBreak", "mbBarBreak"};

// A menu item and the items under it. Caption "-" makes a separator; "&" marks the mnemonic letter.
// An item frees the items under it; freeing an item takes it out of its parent.
class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    bool IsLine() const { return FCaption == "-"; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);   // a checked radio item unchecks its group
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value);
    TMenuBreak Break() const { return FBreak; }
    void SetBreak(TMenuBreak value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    // The item's own picture beside its caption (made empty on first use); a change measures the menu again.
    TBitmap* Bitmap() const;
    void SetBitmap(const TBitmap* value);   // a copy
    bool HasBitmap() const;   // a picture of some size is set

    int Count() const { return int(FItems.size()); }
    const std::vector<TMenuItem*>& ItemsList() const { return FItems; }
    TMenuItem* Items(int index) const;   // raises EMenuError out of range
    void Add(TMenuItem* item);   // raises EMenuError for an item that has a parent already
    void Insert(int index, TMenuItem* item);
    void Delete(int index);   // takes it out (not freed)
    void Remove(TMenuItem* item);
    void Clear();   // frees every item under this one
    int IndexOf(const TMenuItem* item) const;
    TMenuItem* Find(std::string_view caption) const;   // by caption without "&", without case
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const;
    void SetMenuIndex(int value);
    TMenu* GetParentMenu() const;

    // The native command id (WM_COMMAND) and the native submenu of an item with items.
    user::UINT Command() const { return FCommand; }
    // The native menu holding this item's items (the menu's own for its root item); nullptr until built.
    user::HMENU Handle() const;
    bool IsOwnerDrawn() const;

    virtual void Click();   // AutoCheck, then OnClick

    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
    TMenuDrawItemEvent OnDrawItem;

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* value) override;
    void GetChildren(const std::function<void(TComponent* child)>& proc, TComponent* root) const override;

    // Owner drawing, called from the menu's window with the native item's canvas.
    virtual void MeasureItem(TCanvas* canvas, int& width, int& height);
    virtual void AdvancedDrawItem(TCanvas* canvas, TRect rect, TOwnerDrawState state);

private:
    friend class TMenu;
    void Changed();

    std::string FCaption;
    bool FChecked = false;
    bool FAutoCheck = false;
    bool FRadioItem = false;
    TMenuBreak FBreak = mbNone;
    int FGroupIndex = 0;
    bool FEnabled = true;
    bool FVisible = true;
    bool FDefault = false;
    TShortCut FShortCut = 0;
    int FImageIndex = -1;
    std::string FHint;
    user::UINT FCommand = 0;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;   // set on a menu's root item
    user::HMENU FHandle = nullptr;   // the native submenu of the last build
    std::vector<TMenuItem*> FItems;
    mutable std::unique_ptr<TBitmap> FBitmap;
};

// A menu: a root item whose items are the menu's, and the native menu built from them.
class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    TMenuItem* Items() const { return FItems; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    TComponent* ImagesComponent() const;
    void SetImagesComponent(TComponent* value);
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool value);

    // The native menu, built on first use and rebuilt after items change.
    user::HMENU Handle();
    // The item with a command id, a native submenu, or a shortcut (visible and enabled ones only).
    TMenuItem* FindItem(user::UINT command) const;
    TMenuItem* FindShortCut(TShortCut shortCut) const;
    // A key message: the item with its shortcut is clicked. True when one was.
    bool IsShortCut(TMessage& message);
    // WM_COMMAND, WM_MEASUREITEM, WM_DRAWITEM (ODT_MENU) and WM_MENUSELECT for this menu's items.
    bool DispatchMessage(TMessage& message);

    void GetChildren(const std::function<void(TComponent* child)>& proc, TComponent* root) const override;

protected:
    virtual bool IsBar() const { return false; }
    // The items of the native menu's first level, in their order on it.
    virtual std::vector<TMenuItem*> TopItems() const;
    virtual void MenuChanged();   // after items changed: rebuild the native menu if there is one
    virtual void ItemStateChanged() {}   // after an item's state was set in the native menu in place
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    void DestroyNativeMenu();
    user::HMENU FHandle = nullptr;

private:
    friend class TMenuItem;
    void BuildItems(user::HMENU native, const TMenuItem* parent);
    bool UpdateItemState(const TMenuItem* item);   // false: the change needs the native menu made again
    void BuildItem(user::HMENU native, const TMenuItem* item);

    TMenuItem* FItems = nullptr;
    TCustomImageList* FImages = nullptr;
    bool FOwnerDraw = false;
};

// The menu of a form's menu bar (the form's Menu property puts it there).
class TMainMenu : public TMenu {
public:
    using TMenu::TMenu;
    ~TMainMenu() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Puts the bar on a window (nullptr: off the window it is on).
    void SetWindow(user::HWND window);
    user::HWND Window() const { return FWindow; }

    // Another bar's items shown on this one (an active MDI child's menu on its frame's bar): an item of the
    // other takes the place of this one's items of its GroupIndex, else goes before the first of a higher one.
    void Merge(TMainMenu* menu);
    void Unmerge(TMainMenu* menu);   // only the menu merged now
    TMainMenu* Merged() const { return FMerged; }
    std::vector<TMenuItem*> TopItems() const override;   // visible items of both, in bar order

protected:
    bool IsBar() const override { return true; }
    void MenuChanged() override;
    void ItemStateChanged() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    user::HWND FWindow = nullptr;
    TMainMenu* FMerged = nullptr;   // shown on this bar
    TMainMenu* FMergedInto = nullptr;   // the bar this one is shown on
};

enum TPopupAlignment { paLeft, paRight, paCenter };
inline constexpr std::string_view PopupAlignmentIdents[] = {"paLeft", "paRight", "paCenter"};

// How a popup menu may be animated when it opens; maNone (bit 0x10) asks for no animation.
enum TMenuAnimations { maLeftToRight, maRightToLeft, maTopToBottom, maBottomToTop, maNone };
inline constexpr std::string_view MenuAnimationIdents[]
    = {"maLeftToRight", "maRightToLeft", "maTopToBottom", "maBottomToTop", "maNone"};
using TMenuAnimation = TSet<TMenuAnimations>;

// A menu shown by Popup at a screen point, or by a right click on a control whose PopupMenu it is.
class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    TMenuAnimation MenuAnimation() const { return FMenuAnimation; }
    void SetMenuAnimation(TMenuAnimation value) { FMenuAnimation = value; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment value) { FAlignment = value; }
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* value);
    TPoint PopupPoint() const { return FPopupPoint; }
    // The window that owns the popup menu windows and hears their messages.
    user::HWND WindowHandle() const { return FWindow; }

    // OnPopup, then the menu at the screen point until it is closed; the chosen item's Click comes with the
    // WM_COMMAND posted to the menu's window.
    virtual void Popup(int x, int y);

    TNotifyEvent OnPopup;

protected:
    virtual void DoPopup();
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool FAutoPopup = true;
    TPopupAlignment FAlignment = paLeft;
    TMenuAnimation FMenuAnimation {};
    TComponent* FPopupComponent = nullptr;
    TPoint FPopupPoint {};
    user::HWND FWindow = nullptr;
};

class EMenuError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The living item with a command id; nullptr once it is freed.
TMenuItem* FindMenuItemByCommand(user::UINT command);

void RegisterMenuClasses();   // TMenuItem, TMainMenu, TPopupMenu for reading form text

// The forms' and controls' share, for menus they hold as plain components.
// A form's Menu changed or its window was made: the main menu's bar goes on the window (nullptr: off).
void AttachMainMenu(TComponent* oldMenu, TComponent* newMenu, user::HWND window);
// A form's message for its main menu's items (commands, owner drawing). True when taken.
bool DispatchMenuMessage(TComponent* menu, TMessage& message);
// A key message matching a shortcut of the menu clicks that item. True when one did.
bool MenuIsShortCut(TComponent* menu, TMessage& message);
// A right click on a control with an AutoPopup PopupMenu pops it up at the screen point. True when shown.
bool PopupContextMenu(TComponent* popupMenu, TComponent* control, TPoint screenPoint);

}

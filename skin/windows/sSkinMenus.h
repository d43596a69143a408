// TsSkinableMenus: every menu of the application owner-drawn from the skin, the popup picture behind a popup's
// items, its extra line, and the popup window's skinned border or shape.
#pragma once

#include "platform/classes/ListControlTypes.h"
#include "platform/classes/StdCtrlsTypes.h"
#include "platform/classes/TMenu.h"
#include "platform/classes/TPersistent.h"
#include "skin/engine/sMenuSupport.h"
#include "skin/engine/sRegionUtils.h"

#include <functional>
#include <memory>
#include <string>

namespace korvex::classes {
class TFont;
}

namespace korvex::skin {

// An item's kind: "-" a divider, "-text-" a caption row, the rest normal; smTopLine for the menu line.
enum TsMenuItemType { smCaption, smDivider, smNormal, smTopLine };
TsMenuItemType MenuItemType(const classes::TMenuItem* item);

// Called after an item is painted, with the item as sender, the item picture's canvas and its rectangle.
using TsMenuManagerDrawItemEvent = std::function<void(classes::TObject* sender, classes::TCanvas* canvas,
    classes::TRect rect, classes::TOwnerDrawState state, TsMenuItemType itemType)>;

class TsSkinableMenus : public classes::TPersistent, public SkinableMenusLink {
public:
    explicit TsSkinableMenus(TsSkinManager* owner);
    ~TsSkinableMenus() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    classes::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(classes::TAlignment value) { FAlignment = value; }
    int BevelWidth() const { return FBevelWidth; }   // stored only
    void SetBevelWidth(int value) { FBevelWidth = value; }
    int BorderWidth() const { return FBorderWidth; }   // the popup border band around the items
    void SetBorderWidth(int value) { FBorderWidth = value; }
    classes::TFont* CaptionFont() const { return FCaptionFont.get(); }   // stored only
    void SetCaptionFont(const classes::TFont* value);
    // Negative: looked up again from "MAINMENU"'s "BORDERSMASK" (3 when its border is below 1, 0 without it).
    int SkinBorderWidth();
    int SkinBorderWidthValue() const { return FSkinBorderWidth; }
    void SetSkinBorderWidth(int value) { FSkinBorderWidth = value; }
    int Margin() const { return FMargin; }
    void SetMargin(int value) { FMargin = value; }
    int Spacing() const { return FSpacing; }   // between the glyph column and the text
    void SetSpacing(int value) { FSpacing = value; }

    TsMenuManagerDrawItemEvent OnDrawItem;

    TsSkinManager* Manager() const { return FManager; }
    bool Active() const { return FActive; }
    // Hooks (true) or unhooks every menu of every component the application owns.
    void SetActive(bool value);

    // ---- What the manager asks (SkinableMenusLink) ----
    void ResetSkinCache() override { FSkinBorderWidth = -1; }
    void UpdateMenus() override;   // Active follows the manager's skin-loaded flag
    bool HasPopupState() const override;
    void SkinPopupWindow(user::HWND window) override;   // with the current popup picture
    // The popup notification's item id: the open popup's window, found at the item's centre, is skinned.
    // An item that no longer lives or belongs to another popup does nothing.
    void SkinPopupOfItem(classes::LPARAM itemId) override;

    // ---- Hooking; handlers the application set are never replaced or removed ----
    void HookComponent(classes::TComponent* component, bool value);
    void HookItems(classes::TMenuItem* item, bool value);
    void HookMainMenu(classes::TMainMenu* menu, bool value);
    void HookPopupMenu(classes::TPopupMenu* popup, bool value);
    // A form's WM_MEASUREITEM for one of its items: the item gets (or loses) the skinned handlers.
    void SetItemHandlers(classes::TMenuItem* item, bool value);
    // True when the handler is one of this object's.
    bool IsOwnHandler(const classes::TAdvancedMenuDrawItemEvent& handler) const;
    bool IsOwnHandler(const classes::TMenuMeasureItemEvent& handler) const;

    // ---- The handlers ----
    void MeasureItem(classes::TMenuItem* item, classes::TCanvas* canvas, int& width, int& height);
    void DrawItem(classes::TMenuItem* item, classes::TCanvas* canvas, classes::TRect rect,
        classes::TOwnerDrawState state);
    void MeasureTopItem(classes::TMenuItem* item, classes::TCanvas* canvas, int& width, int& height);
    void DrawTopItem(classes::TMenuItem* item, classes::TCanvas* canvas, classes::TRect rect,
        classes::TOwnerDrawState state);

    int ItemHeight(classes::TMenuItem* item);
    int PopupItemsHeight(classes::TMenuItem* parent);   // the tallest column of visible items
    classes::TSize GetGlyphSize(classes::TMenuItem* item, bool topLine) const;

    // ---- The popup picture and its window ----
    int ExtraLineWidth(bool reduced);
    void ReadExtraLineData(classes::TMenuItem* firstItem);
    void PreparePopupBitmap(classes::TMenuItem* firstItem, int width, int height, user::HWND window);
    void SkinPopupWindow(user::HWND window, classes::TBitmap* bmp);
    const TsRectRuns& CornerRects() const { return FCornerRects; }

private:
    void DrawDivider(classes::TCanvas* canvas, const classes::TRect& r);
    void DrawPopupBands(user::HWND window, classes::TMenuItem* item, const classes::TRect& r);
    void PaintExtraLine(int height);
    classes::TAdvancedMenuDrawItemEvent DrawHandler(bool top);
    classes::TMenuMeasureItemEvent MeasureHandler(bool top);

    TsSkinManager* FManager;
    std::shared_ptr<TsSkinableMenus*> FToken;   // the installed handlers hold it weakly; cleared when this goes
    classes::TAlignment FAlignment = classes::taLeftJustify;
    int FBevelWidth = 0;
    int FBorderWidth = 3;
    std::unique_ptr<classes::TFont> FCaptionFont;
    int FSkinBorderWidth = 0;
    int FMargin = 3;
    int FSpacing = 6;
    bool FActive = false;
    bool FBusy = false;   // SkinPopupWindow is running
    TsRectRuns FCornerRects;   // the popup shape's transparent corner pieces
};

// ---- The open popup (one at a time, shared by every menu) ----
// The picture behind the open popup's items; nullptr when none.
classes::TBitmap* PopupBitmap();
// Forgets the picture, the popup it was made for and the extra-line data. Called whenever a popup closes.
void ResetPopupCache();
void FreePopupBitmap();
// The id of the first item of the popup the picture was made for (0: none). Ids are the items' command ids,
// which never name a freed item.
user::UINT CachedFirstItemId();
// The item of the last measure or draw.
TsMenuItemType CurrentItemKind();

// Installs the factory, so that every skin manager created afterwards gets a TsSkinableMenus.
void InstallSkinableMenus();

}

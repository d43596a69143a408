// The manager's menu options (TacMenuSupport) and what the manager asks of the menu skinning object and of a
// form's skin provider, whose classes live with the menus and the windows.
#pragma once

#include "platform/classes/ControlMessages.h"
#include "platform/classes/TPersistent.h"
#include "skin/engine/Forward.h"

#include <functional>
#include <memory>
#include <string>

namespace korvex::classes {
class TBitmap;
class TFont;
class TMenuItem;
}

namespace korvex::skin {

// Posted by the menu code to the application window when one of its popups opens (LParam: the menu item's id),
// or with the popup window itself (LParam: its handle).
inline constexpr classes::UINT WM_ACPOPUPITEM = 48307;
inline constexpr classes::UINT WM_ACPOPUPWINDOW = 48308;

// Menu options; their meaning belongs to the menu code.
class TacMenuSupport : public classes::TPersistent {
public:
    TacMenuSupport();
    ~TacMenuSupport() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void Assign(const classes::TPersistent* source) override;

    const std::string& IcoLineSkin() const { return FIcoLineSkin; }
    void SetIcoLineSkin(const std::string& value) { FIcoLineSkin = value; }
    bool UseExtraLine() const { return FUseExtraLine; }
    void SetUseExtraLine(bool value) { FUseExtraLine = value; }
    int ExtraLineWidth() const { return FExtraLineWidth; }
    void SetExtraLineWidth(int value) { FExtraLineWidth = value; }
    classes::TFont* ExtraLineFont() const { return FExtraLineFont.get(); }
    void SetExtraLineFont(const classes::TFont* value);   // copies the font

    static constexpr int DefaultExtraLineWidth = 32;

private:
    std::string FIcoLineSkin;
    bool FUseExtraLine = false;
    int FExtraLineWidth = DefaultExtraLineWidth;
    std::unique_ptr<classes::TFont> FExtraLineFont;
};

// Asked for the band beside a popup menu: its section, caption, glyph and whether it shows.
using TacGetExtraLineData = std::function<void(classes::TMenuItem* firstItem, std::string& skinSection,
    std::string& caption, classes::TBitmap*& glyph, bool& lineVisible)>;

// The manager's menu skinning object, as the manager uses it.
class SkinableMenusLink {
public:
    virtual ~SkinableMenusLink() = default;
    // A new skin is being announced: the menu code looks its section and border width up again.
    virtual void ResetSkinCache() = 0;
    virtual void UpdateMenus() = 0;   // follow the manager's skin-loaded flag (SkinnedPopups changed)
    virtual bool HasPopupState() const = 0;   // a popup is being skinned
    virtual void SkinPopupWindow(user::HWND window) = 0;
    // The popup notification carries an item id: the menu code finds the popup window of that item.
    virtual void SkinPopupOfItem(classes::LPARAM itemId) = 0;
};
// Makes a manager's menu skinning object; the menus install it. Without one the manager has none.
using SkinableMenusFactory = std::function<std::unique_ptr<SkinableMenusLink>(TsSkinManager* manager)>;
void SetSkinableMenusFactory(SkinableMenusFactory factory);
std::unique_ptr<SkinableMenusLink> MakeSkinableMenus(TsSkinManager* manager);

// A form's skin provider, as the skin command routines reach it. The provider component implements it.
class SkinProviderLink {
public:
    virtual ~SkinProviderLink() = default;
    virtual void ProviderMessage(classes::TMessage& message) = 0;
};

}

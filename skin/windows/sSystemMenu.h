// TsSystemMenu: the skinned form's own window menu: the six window commands, shown and enabled by the form's
// state, and "Available skins" listing the skin manager's skins.
#pragma once

#include "platform/classes/TForm.h"
#include "platform/classes/TMenu.h"

#include <string>
#include <vector>

namespace korvex::skin {

class TsSkinProvider;

class TsSystemMenu : public classes::TPopupMenu {
public:
    explicit TsSystemMenu(TsSkinProvider* provider);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    classes::TCustomForm* Form() const { return FForm; }
    void SetForm(classes::TCustomForm* value) { FForm = value; }

    void UpdateItems();   // Visible and Enabled of the six window commands
    void MakeSkinItems();   // "Available skins" and a separator on top (nothing without skins)
    void RemoveSkinItems();
    void SkinSelect(classes::TObject* sender);

    // Restore, move, size and close; minimize, maximize and restore's enabling are the provider's button tests.
    bool VisibleRestore() const;
    bool VisibleSize() const;
    bool VisibleClose() const;
    bool EnabledMove() const;
    bool EnabledSize() const;

    // The exact skin name behind a skin item (its caption shows each "&" doubled); empty for other items.
    std::string SkinNameOf(const classes::TMenuItem* item) const;

    classes::TMenuItem* ItemRestore = nullptr;
    classes::TMenuItem* ItemMove = nullptr;
    classes::TMenuItem* ItemSize = nullptr;
    classes::TMenuItem* ItemMinimize = nullptr;
    classes::TMenuItem* ItemMaximize = nullptr;
    classes::TMenuItem* ItemClose = nullptr;

private:
    classes::TMenuItem* AddItem(const std::string& caption, const std::string& name, classes::TNotifyEvent onClick);
    void SendCommand(classes::WPARAM command);
    bool Iconic() const;
    bool HasIcon(classes::TBorderIcon icon) const;

    TsSkinProvider* FProvider = nullptr;
    classes::TCustomForm* FForm = nullptr;
    std::vector<std::string> FSkinNames;   // by the skin item's Tag
};

// "&" doubled, so a menu shows the text as it is.
std::string EscapeMenuAmpersands(const std::string& text);

}

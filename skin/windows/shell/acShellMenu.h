// The context menu of a namespace item and the verb hand-off to its owner.
#pragma once

#include "skin/windows/shell/acShellFolder.h"

#include <string>
#include <vector>

namespace korvex::classes {
class TWinControl;
}

namespace korvex::skin {

// What a shell tree or list does with the menu's verbs before and after they run.
class IacShellCommandVerb {
public:
    virtual ~IacShellCommandVerb() = default;
    // Runs first; setting handled skips the item's own action (the "rename" verb needs the owner's label edit).
    virtual void ExecuteCommand(const std::string& verb, bool& handled) = 0;
    // Runs last; succeeded when the owner handled the verb or the action worked.
    virtual void CommandCompleted(const std::string& verb, bool succeeded) = 0;
};

struct TacShellMenuItem {
    std::string Caption;   // "" for a separator
    std::string Verb;
    bool Enabled = true;
};

// The menu for an item: "&Open"; "Cu&t", "&Copy", "&Paste" (into a folder, while the shell's clipboard holds
// items); "&Delete", "Rena&me"; "New &folder", "P&roperties"; each enabled as the item's capabilities allow.
std::vector<TacShellMenuItem> ShellContextMenuItems(const TacShellFolder& folder);

// Runs a chosen verb on folder with the owner's hooks around it (owner may be nullptr); true when it succeeded.
bool RunShellCommand(IacShellCommandVerb* owner, const TacShellFolder& folder, const std::string& verb);

// Shows the item's menu at the owner control's client point (x, y), waits for the choice and runs it with
// RunShellCommand (owner's hooks when it implements IacShellCommandVerb) on a fresh object for the same item,
// so folder may be freed while the menu is up. When the owner's window is gone by then, nothing runs.
void ShowContextMenu(classes::TWinControl* owner, const TacShellFolder& folder, int x, int y);

}

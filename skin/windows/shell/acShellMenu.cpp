// The context menu of a namespace item and the verb hand-off to its owner.
#include "skin/windows/shell/acShellMenu.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/TWinControl.h"
#include "platform/user/Menus.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "skin/windows/shell/acShellClipboard.h"
#include "skin/windows/shell/acShellRoots.h"

namespace korvex::skin {

std::vector<TacShellMenuItem> ShellContextMenuItems(const TacShellFolder& folder) {
    unsigned can = folder.Capabilities();
    bool hasPath = !folder.PathName().empty();
    bool pasteHere = hasPath && folder.IsFolder() && !ShellClipboardPaths().empty();
    return {
        {"&Open", "open", hasPath},
        {"", "", true},
        {"Cu&t", "cut", (can & fcCanMove) != 0},
        {"&Copy", "copy", (can & fcCanCopy) != 0},
        {"&Paste", "paste", pasteHere},
        {"", "", true},
        {"&Delete", "delete", (can & fcCanDelete) != 0},
        {"Rena&me", "rename", (can & fcCanRename) != 0},
        {"", "", true},
        {"New &folder", "newfolder", hasPath},
        {"P&roperties", "properties", hasPath},
    };
}

bool RunShellCommand(IacShellCommandVerb* owner, const TacShellFolder& folder, const std::string& verb) {
    bool handled = false;
    if (owner) owner->ExecuteCommand(verb, handled);
    bool succeeded = handled || folder.ExecuteVerb(verb);
    if (owner) owner->CommandCompleted(verb, succeeded);
    return succeeded;
}

void ShowContextMenu(classes::TWinControl* owner, const TacShellFolder& folder, int x, int y) {
    if (!owner) return;
    user::HWND window = owner->Handle();
    std::vector<TacShellMenuItem> items = ShellContextMenuItems(folder);
    user::HMENU menu = user::CreatePopupMenu();
    if (!menu) return;
    auto destroyMenu = base::ScopeExit([menu] { user::DestroyMenu(menu); });
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].Caption.empty())
            user::AppendMenu(menu, user::MF_SEPARATOR, 0, "");
        else
            user::AppendMenu(menu, user::MF_STRING | (items[i].Enabled ? 0 : user::MF_GRAYED), i + 1, items[i].Caption);
    }
    user::POINT point{x, y};
    user::ClientToScreen(window, &point);
    auto* verbs = dynamic_cast<IacShellCommandVerb*>(owner);
    TItemIDList item = folder.AbsoluteID();   // the folder object may go with its owner while the menu is up
    int chosen = user::TrackPopupMenu(
        menu, user::TPM_RETURNCMD | user::TPM_RIGHTBUTTON, point.x, point.y, 0, window, nullptr);   // co_: may free owner
    if (chosen <= 0 || static_cast<std::size_t>(chosen) > items.size() || !user::IsWindow(window)) return;
    std::unique_ptr<TacShellFolder> target = CreateFolderFromPIDL(item);
    RunShellCommand(verbs, *target, items[static_cast<std::size_t>(chosen) - 1].Verb);
}

}

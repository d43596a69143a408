// The window menu of a top-level window: its items, their state from the window's styles, and popping it up.
#include "platform/os/DesktopLanguage.h"
#include "platform/user/Menus.h"
#include "platform/user/Messages.h"
#include "platform/user/NonClient.h"
#include "platform/user/NonClientLayout.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <map>
#include <mutex>

namespace korvex::user {

namespace {

struct SystemMenus {
    std::mutex Lock;
    std::map<HWND, HMENU> Menus;
};

SystemMenus& Table() {
    static SystemMenus table;
    return table;
}

// The items in the desktop's language, as its own window menus are.
HMENU MakeSystemMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenu(menu, MF_STRING, SC_RESTORE, os::DesktopText("&Restore", "&Восстановить"));
    AppendMenu(menu, MF_STRING, SC_MOVE, os::DesktopText("&Move", "&Переместить"));
    AppendMenu(menu, MF_STRING, SC_SIZE, os::DesktopText("&Size", "&Размер"));
    AppendMenu(menu, MF_STRING, SC_MINIMIZE, os::DesktopText("Mi&nimize", "&Свернуть"));
    AppendMenu(menu, MF_STRING, SC_MAXIMIZE, os::DesktopText("Ma&ximize", "Р&азвернуть"));
    AppendMenu(menu, MF_SEPARATOR, 0, "");
    AppendMenu(menu, MF_STRING, SC_CLOSE, os::DesktopText("&Close\tAlt+F4", "&Закрыть\tAlt+F4"));
    return menu;
}

void Enable(HMENU menu, WPARAM command, bool enabled) {
    EnableMenuItem(menu, UINT(command), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}

HMENU GetSystemMenu(HWND hwnd, bool revert) {
    if (!IsWindow(hwnd)) return nullptr;
    SystemMenus& table = Table();
    std::lock_guard lock(table.Lock);
    auto found = table.Menus.find(hwnd);
    if (found != table.Menus.end() && !IsMenu(found->second)) {
        table.Menus.erase(found);
        found = table.Menus.end();
    }
    if (revert) {
        // Back to the standard items: the window's own copy goes.
        if (found != table.Menus.end()) {
            DestroyMenu(found->second);
            table.Menus.erase(found);
        }
        return nullptr;
    }
    if (found != table.Menus.end()) return found->second;
    HMENU menu = MakeSystemMenu();
    table.Menus.emplace(hwnd, menu);
    return menu;
}

namespace nc {

void DropSystemMenu(HWND hwnd) {
    SystemMenus& table = Table();
    std::lock_guard lock(table.Lock);
    auto found = table.Menus.find(hwnd);
    if (found == table.Menus.end()) return;
    DestroyMenu(found->second);
    table.Menus.erase(found);
}

// The standard items greyed as the window's styles and state allow, as Windows does before showing it.
void UpdateSystemMenu(HWND hwnd, HMENU menu) {
    const DWORD style = GetWindowStyle(hwnd);
    const bool iconic = IsIconic(hwnd);
    const bool zoomed = IsZoomed(hwnd);
    const bool sizable = (style & WS_THICKFRAME) != 0;
    Enable(menu, SC_RESTORE, iconic || zoomed);
    Enable(menu, SC_MOVE, !zoomed);
    Enable(menu, SC_SIZE, sizable && !iconic && !zoomed);
    Enable(menu, SC_MINIMIZE, (style & WS_MINIMIZEBOX) && !iconic);
    Enable(menu, SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) && !zoomed);
    Enable(menu, SC_CLOSE, !(GetClassLongPtr(hwnd, GCL_STYLE) & CS_NOCLOSE));
}

void TrackSystemMenu(HWND hwnd, POINT screenPoint) {
    if (!IsWindow(hwnd) || !(GetWindowStyle(hwnd) & WS_SYSMENU)) return;
    HMENU menu = GetSystemMenu(hwnd, false);
    if (menu == nullptr) return;
    UpdateSystemMenu(hwnd, menu);
    const int command =
        TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, hwnd, nullptr);
    if (command != 0 && IsWindow(hwnd)) SendMessage(hwnd, WM_SYSCOMMAND, WPARAM(command), 0);
}

// Below the icon, as a click on it or Alt+Space opens it.
POINT SystemMenuPoint(HWND hwnd) {
    const Layout layout = LayoutOf(hwnd);
    const POINT origin = WindowOrigin(hwnd);
    const RECT anchor = layout.Icon.Width() > 0 ? layout.Icon : layout.Caption;
    return POINT {origin.x + anchor.left, origin.y + (layout.Caption.Height() > 0 ? anchor.bottom : layout.FrameSize.cy)};
}

}

}

// Menu objects and their items; item measuring and painting in the plain look.
#include "platform/user/MenuData.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/PenBrush.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/controls/ControlsCommon.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <unordered_set>

namespace korvex::user {

namespace {

std::unordered_set<HMENU>& Live() {
    static std::unordered_set<HMENU> live;
    return live;
}

HMENU NewMenu(bool bar) {
    auto* m = new MenuObject;
    m->Bar = bar;
    Live().insert(m);
    return m;
}

MenuItem ItemFromFlags(UINT flags, std::uintptr_t idOrSub, const std::string& text) {
    MenuItem item;
    item.Type
        = flags & (MF_SEPARATOR | MF_OWNERDRAW | MF_RADIOCHECK | MF_MENUBREAK | MF_MENUBARBREAK | MF_RIGHTJUSTIFY);
    item.State = flags & (MF_CHECKED | MF_HILITE | MF_DEFAULT);
    if (flags & (MF_GRAYED | MF_DISABLED)) item.State |= MFS_GRAYED;
    if (flags & MF_POPUP) {
        item.SubMenu = reinterpret_cast<HMENU>(idOrSub);
        if (!menu::Alive(item.SubMenu)) item.SubMenu = nullptr;
        item.Id = UINT(-1);
    } else {
        item.Id = UINT(idOrSub);
    }
    if (!(flags & MF_SEPARATOR)) item.Text = text;
    return item;
}

int PositionOf(HMENU menu, UINT item, UINT flags) {
    if (flags & MF_BYPOSITION) return item < menu->Items.size() ? int(item) : -1;
    for (std::size_t i = 0; i < menu->Items.size(); ++i)
        if (!menu->Items[i].SubMenu && menu->Items[i].Id == item) return int(i);
    return -1;
}

}

namespace menu {

namespace {
std::uint64_t ChangeCount = 1;
}

std::uint64_t Generation() {
    return ChangeCount;
}

void Changed() {
    ++ChangeCount;
}

bool Alive(HMENU menu) {
    return menu && Live().count(menu) != 0;
}

MenuItem* FindItem(HMENU menu, UINT item, UINT flags, HMENU* owner, int* index) {
    if (!Alive(menu)) return nullptr;
    const int at = PositionOf(menu, item, flags);
    if (at >= 0) {
        if (owner) *owner = menu;
        if (index) *index = at;
        return &menu->Items[std::size_t(at)];
    }
    if (flags & MF_BYPOSITION) return nullptr;
    for (MenuItem& i : menu->Items)
        if (i.SubMenu)
            if (MenuItem* found = FindItem(i.SubMenu, item, flags, owner, index)) return found;
    return nullptr;
}

// The menu font in bold, for default items.
HFONT BoldMenuFont() {
    static HFONT font = [] {
        gdi::LOGFONT lf = GetNonClientMetrics().lfMenuFont;
        lf.lfWeight = 700;
        return gdi::CreateFontIndirect(lf);
    }();
    return font;
}

HFONT MenuFont() {
    static HFONT font = gdi::CreateFontIndirect(GetNonClientMetrics().lfMenuFont);
    return font;
}

SIZE MeasureItem(HWND owner, HDC dc, HMENU menu, MenuItem& item, bool inBar) {
    const int rowHeight = GetSystemMetrics(SM_CYMENU);
    if (item.Type & MFT_OWNERDRAW) {
        MEASUREITEMSTRUCT mis;
        mis.CtlType = ODT_MENU;
        mis.itemID = item.Id;
        mis.itemHeight = UINT(rowHeight);
        mis.itemData = item.Data;
        if (owner) SendMessage(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
        (void)menu;
        const int padding = inBar && !item.Text.empty() ? 2 * BarItemPadding : 0;   // none round an icon
        return SIZE {LONG(mis.itemWidth) + padding, LONG(mis.itemHeight)};
    }
    if (item.Type & MFT_SEPARATOR) return SIZE {inBar ? 6 : 0, inBar ? rowHeight : 8};
    SIZE text {};
    std::string plain = StripMnemonic(item.Text);
    const auto tab = plain.find('\t');
    std::string label = tab == std::string::npos ? plain : plain.substr(0, tab);
    HFONT measureFont = gdi::SelectObject(dc, (item.State & MFS_DEFAULT) ? BoldMenuFont() : MenuFont());
    gdi::GetTextExtentPoint32(dc, label, &text);
    int width = text.cx;
    if (tab != std::string::npos) {
        SIZE keys {};
        gdi::GetTextExtentPoint32(dc, plain.substr(tab + 1), &keys);
        width += 24 + keys.cx;
    }
    gdi::SelectObject(dc, measureFont);
    if (inBar) return SIZE {width + 2 * BarItemPadding, rowHeight};
    return SIZE {width + 2 * GetSystemMetrics(SM_CXMENUCHECK) + 8, std::max<LONG>(rowHeight, text.cy + 4)};
}

namespace {

// The arrow of an item that opens a submenu, at the item's right edge.
void DrawSubMenuArrow(HDC dc, const RECT& item, COLORREF color) {
    HBRUSH ink = gdi::CreateSolidBrush(color);
    const int ax = item.right - GetSystemMetrics(SM_CXMENUCHECK) / 2 - 2;
    const int cy = (item.top + item.bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        RECT col {ax + i, cy - 3 + i, ax + i + 1, cy + 4 - i};
        gdi::FillRect(dc, &col, ink);
    }
    gdi::DeleteObject(ink);
}

}

void DrawItem(HWND owner, HDC dc, HMENU menu, const MenuItem& item, bool selected, bool inBar, bool hot) {
    RECT r = item.Rect;
    const bool grayed = (item.State & MFS_GRAYED) != 0;
    const COLORREF textColor = gdi::GetSysColor(grayed ? gdi::COLOR_GRAYTEXT
            : selected                                  ? gdi::COLOR_HIGHLIGHTTEXT
                                                        : gdi::COLOR_MENUTEXT);
    if (item.Type & MFT_OWNERDRAW) {
        DRAWITEMSTRUCT dis;
        dis.CtlType = ODT_MENU;
        dis.itemID = item.Id;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = (selected ? ODS_SELECTED : 0) | (grayed ? ODS_GRAYED | ODS_DISABLED : 0)
            | ((item.State & MFS_CHECKED) ? ODS_CHECKED : 0) | ((item.State & MFS_DEFAULT) ? ODS_DEFAULT : 0)
            | (hot ? ODS_HOTLIGHT : 0);
        dis.hwndItem = reinterpret_cast<HWND>(menu);
        dis.hDC = dc;
        dis.rcItem = r;
        dis.itemData = item.Data;
        gdi::SetTextColor(dc, textColor);
        if (owner) SendMessage(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        // The submenu's arrow goes over what the owner drew, in the text colour it left in the DC.
        if (item.SubMenu && !inBar) DrawSubMenuArrow(dc, r, gdi::GetTextColor(dc));
        return;
    }
    gdi::FillRect(dc, &r, gdi::GetSysColorBrush(selected ? gdi::COLOR_HIGHLIGHT : gdi::COLOR_MENU));
    if (item.Type & MFT_SEPARATOR) {
        if (inBar) return;
        const int y = (r.top + r.bottom) / 2 - 1;
        RECT line {r.left + 1, y, r.right - 1, y + 1};
        gdi::FillRect(dc, &line, gdi::GetSysColorBrush(gdi::COLOR_3DSHADOW));
        line.top += 1;
        line.bottom += 1;
        gdi::FillRect(dc, &line, gdi::GetSysColorBrush(gdi::COLOR_3DHILIGHT));
        return;
    }
    gdi::SetBkMode(dc, gdi::TRANSPARENT);
    gdi::SetTextColor(dc, textColor);
    HFONT old = gdi::SelectObject(dc, (item.State & MFS_DEFAULT) ? BoldMenuFont() : MenuFont());
    const int check = GetSystemMetrics(SM_CXMENUCHECK);
    if (item.State & MFS_CHECKED && !inBar)
        DrawMenuCheckMark(dc, r.left + check / 2 + 2, (r.top + r.bottom) / 2, item.Type & MFT_RADIOCHECK, textColor);
    if (item.SubMenu && !inBar) DrawSubMenuArrow(dc, r, textColor);
    RECT text = r;
    if (inBar) {
        text.left += BarItemPadding;
        text.right -= BarItemPadding;
    } else {
        text.left += check + 4;
        text.right -= check;
    }
    const auto tab = item.Text.find('\t');
    const std::string label = tab == std::string::npos ? item.Text : item.Text.substr(0, tab);
    gdi::DrawText(dc, label, &text, gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_LEFT);
    if (tab != std::string::npos)
        gdi::DrawText(dc, item.Text.substr(tab + 1), &text, gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_RIGHT);
    gdi::SelectObject(dc, old);
}

}

void DrawMenuCheckMark(HDC dc, int cx, int cy, bool radio, COLORREF color) {
    HBRUSH ink = gdi::CreateSolidBrush(color);
    if (radio) {   // a dot
        const int widths[] = {2, 4, 4, 2};
        for (int i = 0; i < 4; ++i) {
            RECT row {cx - widths[i] / 2, cy - 2 + i, cx + widths[i] / 2, cy - 1 + i};
            gdi::FillRect(dc, &row, ink);
        }
    } else {   // a tick: down to the right, then up
        for (int i = 0; i < 7; ++i) {
            const int y = i < 3 ? cy - 1 + i : cy + 1 - (i - 2);
            RECT col {cx - 3 + i, y, cx - 2 + i, y + 3};
            gdi::FillRect(dc, &col, ink);
        }
    }
    gdi::DeleteObject(ink);
}

HMENU CreateMenu() {
    return NewMenu(true);
}

HMENU CreatePopupMenu() {
    return NewMenu(false);
}

bool IsMenu(HMENU menu) {
    return menu::Alive(menu);
}

bool DestroyMenu(HMENU menu) {
    if (!menu::Alive(menu)) return false;
    menu::Changed();
    Live().erase(menu);
    for (MenuItem& item : menu->Items)
        if (item.SubMenu) DestroyMenu(item.SubMenu);
    delete menu;
    return true;
}

bool InsertMenu(HMENU menu, UINT position, UINT flags, std::uintptr_t idOrSubMenu, const std::string& text) {
    if (!menu::Alive(menu)) return false;
    menu::Changed();
    int at = PositionOf(menu, position, flags);
    if (at < 0) at = int(menu->Items.size());
    menu->Items.insert(menu->Items.begin() + at, ItemFromFlags(flags, idOrSubMenu, text));
    return true;
}

bool AppendMenu(HMENU menu, UINT flags, std::uintptr_t idOrSubMenu, const std::string& text) {
    return InsertMenu(menu, UINT(-1), flags | MF_BYPOSITION, idOrSubMenu, text);
}

bool InsertMenuItem(HMENU menu, UINT item, bool byPosition, const MENUITEMINFO* info) {
    if (!menu::Alive(menu) || !info) return false;
    int at = PositionOf(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (at < 0) at = int(menu->Items.size());
    menu->Items.insert(menu->Items.begin() + at, MenuItem {});
    return SetMenuItemInfo(menu, UINT(at), true, info);
}

bool ModifyMenu(HMENU menu, UINT position, UINT flags, std::uintptr_t idOrSubMenu, const std::string& text) {
    MenuItem* item = menu::FindItem(menu, position, flags);
    if (!item) return false;
    const RECT rect = item->Rect;
    const std::uintptr_t data = item->Data;
    *item = ItemFromFlags(flags, idOrSubMenu, text);
    menu::Changed();
    item->Rect = rect;
    item->Data = data;
    return true;
}

bool RemoveMenu(HMENU menu, UINT position, UINT flags) {
    HMENU owner = nullptr;
    int index = -1;
    if (!menu::FindItem(menu, position, flags, &owner, &index)) return false;
    menu::Changed();
    owner->Items.erase(owner->Items.begin() + index);
    return true;
}

bool DeleteMenu(HMENU menu, UINT position, UINT flags) {
    HMENU owner = nullptr;
    int index = -1;
    MenuItem* item = menu::FindItem(menu, position, flags, &owner, &index);
    if (!item) return false;
    menu::Changed();
    HMENU sub = item->SubMenu;
    owner->Items.erase(owner->Items.begin() + index);
    if (sub) DestroyMenu(sub);
    return true;
}

bool GetMenuItemInfo(HMENU menu, UINT item, bool byPosition, MENUITEMINFO* info) {
    MenuItem* found = menu::FindItem(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!found || !info) return false;
    if (info->fMask & (MIIM_FTYPE | MIIM_TYPE)) info->fType = found->Type;
    if (info->fMask & MIIM_STATE) info->fState = found->State;
    if (info->fMask & MIIM_ID) info->wID = found->Id;
    if (info->fMask & MIIM_SUBMENU) info->hSubMenu = found->SubMenu;
    if (info->fMask & MIIM_DATA) info->dwItemData = found->Data;
    if (info->fMask & (MIIM_STRING | MIIM_TYPE)) info->dwTypeData = found->Text;
    if (info->fMask & MIIM_BITMAP) info->hbmpItem = found->Bitmap;
    return true;
}

bool SetMenuItemInfo(HMENU menu, UINT item, bool byPosition, const MENUITEMINFO* info) {
    MenuItem* found = menu::FindItem(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!found || !info) return false;
    menu::Changed();
    if (info->fMask & (MIIM_FTYPE | MIIM_TYPE)) found->Type = info->fType;
    if (info->fMask & MIIM_STATE) found->State = info->fState;
    if (info->fMask & MIIM_ID) found->Id = info->wID;
    if (info->fMask & MIIM_SUBMENU)
        found->SubMenu = info->hSubMenu != menu && menu::Alive(info->hSubMenu) ? info->hSubMenu : nullptr;
    if (info->fMask & MIIM_DATA) found->Data = info->dwItemData;
    if (info->fMask & (MIIM_STRING | MIIM_TYPE)) found->Text = info->dwTypeData;
    if (info->fMask & MIIM_BITMAP) found->Bitmap = info->hbmpItem;
    return true;
}

int GetMenuItemCount(HMENU menu) {
    return menu::Alive(menu) ? int(menu->Items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    if (!menu::Alive(menu) || position < 0 || std::size_t(position) >= menu->Items.size()) return UINT(-1);
    const MenuItem& item = menu->Items[std::size_t(position)];
    return item.SubMenu ? UINT(-1) : item.Id;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    MenuItem* found = menu::FindItem(menu, item, flags);
    if (!found) return UINT(-1);
    UINT state = found->Type | found->State;
    if (found->State & MFS_GRAYED) state = (state & ~MFS_GRAYED) | MF_GRAYED | MF_DISABLED;
    if (found->SubMenu) state |= MF_POPUP | (UINT(found->SubMenu->Items.size()) << 8);
    return state;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
    MenuItem* found = menu::FindItem(menu, item, flags);
    if (!found) return DWORD(-1);
    const DWORD previous = found->State & MF_CHECKED;
    found->State = (found->State & ~MF_CHECKED) | (flags & MF_CHECKED);
    return previous;
}

int EnableMenuItem(HMENU menu, UINT item, UINT flags) {
    MenuItem* found = menu::FindItem(menu, item, flags);
    if (!found) return -1;
    const int previous = (found->State & MFS_GRAYED) ? int(MF_GRAYED) : 0;
    found->State = (found->State & ~MFS_GRAYED) | ((flags & (MF_GRAYED | MF_DISABLED)) ? MFS_GRAYED : 0);
    return previous;
}

HMENU GetSubMenu(HMENU menu, int position) {
    if (!menu::Alive(menu) || position < 0 || std::size_t(position) >= menu->Items.size()) return nullptr;
    return menu->Items[std::size_t(position)].SubMenu;
}

std::string GetMenuString(HMENU menu, UINT item, UINT flags) {
    MenuItem* found = menu::FindItem(menu, item, flags);
    return found ? found->Text : std::string();
}

bool SetMenuDefaultItem(HMENU menu, UINT item, bool byPosition) {
    if (!menu::Alive(menu)) return false;
    MenuItem* found = item == UINT(-1) ? nullptr : menu::FindItem(menu, item, byPosition ? MF_BYPOSITION : 0);
    if (item != UINT(-1) && !found) return false;
    for (MenuItem& i : menu->Items)
        i.State &= ~MFS_DEFAULT;
    if (found) found->State |= MFS_DEFAULT;
    return true;
}

char MenuMnemonic(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return char(std::tolower(static_cast<unsigned char>(text[i + 1])));
    }
    return 0;
}

std::string StripMnemonic(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        else if (text[i] == '&')
            continue;
        out += text[i];
    }
    return out;
}

}

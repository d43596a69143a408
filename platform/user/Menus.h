// Menus: menu objects and their items, menu bars of windows, popup menu windows and the menu loop.
#pragma once

#include "platform/user/UserTypes.h"

#include <cstdint>
#include <functional>
#include <string>

namespace korvex::user {

// AppendMenu / InsertMenu / ModifyMenu flags (MF_*), and the type and state bits of MENUITEMINFO.
inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_BYPOSITION = 0x0400;
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_ENABLED = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_UNCHECKED = 0x0000;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_POPUP = 0x0010;
inline constexpr UINT MF_MENUBARBREAK = 0x0020;
inline constexpr UINT MF_MENUBREAK = 0x0040;
inline constexpr UINT MF_HILITE = 0x0080;
inline constexpr UINT MF_OWNERDRAW = 0x0100;
inline constexpr UINT MF_RADIOCHECK = 0x0200;
inline constexpr UINT MF_SEPARATOR = 0x0800;
inline constexpr UINT MF_DEFAULT = 0x1000;
inline constexpr UINT MF_RIGHTJUSTIFY = 0x4000;

inline constexpr UINT MFT_STRING = 0x0000;
inline constexpr UINT MFT_MENUBREAK = MF_MENUBREAK;
inline constexpr UINT MFT_MENUBARBREAK = MF_MENUBARBREAK;
inline constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
inline constexpr UINT MFT_RADIOCHECK = MF_RADIOCHECK;
inline constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
inline constexpr UINT MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY;
inline constexpr UINT MFS_ENABLED = 0x0000;
inline constexpr UINT MFS_GRAYED = 0x0003;
inline constexpr UINT MFS_DISABLED = MFS_GRAYED;
inline constexpr UINT MFS_CHECKED = MF_CHECKED;
inline constexpr UINT MFS_HILITE = MF_HILITE;
inline constexpr UINT MFS_DEFAULT = MF_DEFAULT;

inline constexpr UINT MIIM_STATE = 0x0001;
inline constexpr UINT MIIM_ID = 0x0002;
inline constexpr UINT MIIM_SUBMENU = 0x0004;
inline constexpr UINT MIIM_TYPE = 0x0010;   // fType and the text together
inline constexpr UINT MIIM_DATA = 0x0020;
inline constexpr UINT MIIM_STRING = 0x0040;
inline constexpr UINT MIIM_BITMAP = 0x0080;
inline constexpr UINT MIIM_FTYPE = 0x0100;

struct MENUITEMINFO {
    UINT cbSize = sizeof(MENUITEMINFO);
    UINT fMask = 0;   // MIIM_*
    UINT fType = 0;   // MFT_*
    UINT fState = 0;   // MFS_*
    UINT wID = 0;
    HMENU hSubMenu = nullptr;
    std::uintptr_t dwItemData = 0;
    std::string dwTypeData;   // the text
    HBITMAP hbmpItem = nullptr;
};

// TrackPopupMenu flags.
inline constexpr UINT TPM_LEFTBUTTON = 0x0000;
inline constexpr UINT TPM_RIGHTBUTTON = 0x0002;
inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_CENTERALIGN = 0x0004;
inline constexpr UINT TPM_RIGHTALIGN = 0x0008;
inline constexpr UINT TPM_TOPALIGN = 0x0000;
inline constexpr UINT TPM_VCENTERALIGN = 0x0010;
inline constexpr UINT TPM_BOTTOMALIGN = 0x0020;
inline constexpr UINT TPM_NONOTIFY = 0x0080;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

struct TPMPARAMS {
    UINT cbSize = sizeof(TPMPARAMS);
    RECT rcExclude {};   // screen rectangle the menu keeps clear of
};

// WM_MENUSELECT flags (high word of wParam); 0xFFFF with a null menu: the loop ended.
inline constexpr UINT MF_MOUSESELECT = 0x8000;

// The popup menu windows' class.
inline constexpr const char* MenuWindowClassName = "#32768";
// Milliseconds the pointer rests on an item with a submenu before it opens.
inline constexpr UINT MenuShowDelayMs = 400;

// ---------------------------------------------------------------------------------------------------------
// Menu objects. A handle stays valid until DestroyMenu, which also destroys its submenus; every call refuses
// dead handles. Items are found by command id (searching submenus too) or by position (MF_BYPOSITION).
HMENU CreateMenu();   // a bar
HMENU CreatePopupMenu();
bool DestroyMenu(HMENU menu);
bool IsMenu(HMENU menu);

bool AppendMenu(HMENU menu, UINT flags, std::uintptr_t idOrSubMenu, const std::string& text);
bool InsertMenu(HMENU menu, UINT position, UINT flags, std::uintptr_t idOrSubMenu, const std::string& text);
bool InsertMenuItem(HMENU menu, UINT item, bool byPosition, const MENUITEMINFO* info);
bool ModifyMenu(HMENU menu, UINT position, UINT flags, std::uintptr_t idOrSubMenu, const std::string& text);
bool RemoveMenu(HMENU menu, UINT position, UINT flags);   // keeps the submenu alive
bool DeleteMenu(HMENU menu, UINT position, UINT flags);   // destroys the submenu
bool GetMenuItemInfo(HMENU menu, UINT item, bool byPosition, MENUITEMINFO* info);
bool SetMenuItemInfo(HMENU menu, UINT item, bool byPosition, const MENUITEMINFO* info);
int GetMenuItemCount(HMENU menu);   // -1 for a dead handle
UINT GetMenuItemID(HMENU menu, int position);   // UINT(-1) for a submenu or no item
UINT GetMenuState(HMENU menu, UINT item, UINT flags);   // type and state bits; UINT(-1) for no item
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);   // the previous MF_CHECKED state, DWORD(-1) for none
int EnableMenuItem(HMENU menu, UINT item, UINT flags);   // the previous MF_GRAYED bits, -1 for none
HMENU GetSubMenu(HMENU menu, int position);
std::string GetMenuString(HMENU menu, UINT item, UINT flags);
bool SetMenuDefaultItem(HMENU menu, UINT item, bool byPosition);

// ---------------------------------------------------------------------------------------------------------
// Menu bars. SetMenu gives a top-level window its bar (nullptr takes it away) and recalculates the frame;
// the window does not own the menu. DrawMenuBar repaints it after items changed.
bool SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);
bool DrawMenuBar(HWND hwnd);
// An item's rectangle in screen coordinates, in the bar (hwnd) or in an open popup.
bool GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, RECT* rect);
// Keyboard access to the bar (WM_SYSCOMMAND SC_KEYMENU): key 0 selects the first item (Alt or F10 alone),
// a letter opens the item with that mnemonic. False when the window has no bar or no item matches.
bool TrackMenuBarKey(HWND hwnd, char key);

// The window menu (Restore, Move, Size, Minimize, Maximize, Close; commands are the SC_ codes). Made on first
// use and freed with the window; revert frees the window's copy and answers nullptr. A click on the icon, a
// right-click on the caption and Alt+Space pop it up, its items greyed as the window's styles and state allow.
HMENU GetSystemMenu(HWND hwnd, bool revert);

// ---------------------------------------------------------------------------------------------------------
// Popup menus. Opens menu at (x, y) and runs the menu loop until an item is chosen or the menu is
// dismissed (Escape, a click outside, EndMenu, WM_CANCELMODE, WM_QUIT). The owner gets WM_ENTERMENULOOP,
// WM_INITMENUPOPUP, WM_MENUSELECT, owner-draw messages (ODT_MENU) and WM_EXITMENULOOP; the choice is posted as
// WM_COMMAND, or returned with TPM_RETURNCMD (0: nothing chosen). Without TPM_RETURNCMD: nonzero on success.
int TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);
int TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* unused);
bool EndMenu();   // ends the running menu loop, nothing chosen
bool InMenuLoop();
HWND GetOpenMenuWindow(int level);   // the popup window at that depth (0: outermost), nullptr if none

// Called by the menu loop whenever its queue is empty, instead of waiting; returning false ends the menu.
// Tests use it to feed input step by step on a fake clock.
using MenuLoopIdleHook = std::function<bool()>;
void SetMenuLoopIdleHook(MenuLoopIdleHook hook);

// The plain look's check mark centred at (cx, cy): a tick, or a dot for a radio item. Owner-drawn items that
// keep the plain look draw it themselves; the menu draws it for the others.
void DrawMenuCheckMark(HDC dc, int cx, int cy, bool radio, COLORREF color);

// Strips the "&" markers ("&&" stays one "&") and answers the mnemonic letter, lower case (0: none).
char MenuMnemonic(const std::string& text);
std::string StripMnemonic(const std::string& text);

}

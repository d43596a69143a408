// Popup menu windows and the menu loop: mouse, keyboard, submenus on a delay, notifications to the owner.
#include "platform/user/MenuData.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/DefWindowProc.h"
#include "platform/user/Input.h"
#include "platform/user/MessageIds.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/Messages.h"
#include "platform/user/NonClient.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Timers.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <cctype>

namespace korvex::user {

namespace {

inline constexpr int Pad = 3;   // the frame around the items (non-client)
inline constexpr DWORD MenuWindowStyle = WS_POPUP | WS_DLGFRAME;
inline constexpr std::uintptr_t SubMenuTimer = 1;

struct Level {
    HMENU Menu = nullptr;
    HWND Window = nullptr;
    int Selected = -1;
    int Hot = -1;   // the item under the pointer
};

struct Session {
    HWND Owner = nullptr;
    UINT Flags = 0;
    HWND BarWindow = nullptr;   // set while a menu bar is tracked
    HMENU Bar = nullptr;
    int BarIndex = -1;
    std::vector<Level> Levels;
    UINT MenuKey = 0;   // Alt or F10 went down inside the loop: its release leaves the menu
    bool Done = false;
    UINT Command = 0;
    bool Chosen = false;
};

Session* Current = nullptr;

MenuLoopIdleHook& IdleHook() {
    static MenuLoopIdleHook hook;
    return hook;
}

using menu::Selectable;

Level* LevelOf(HWND hwnd) {
    if (!Current) return nullptr;
    for (Level& l : Current->Levels)
        if (l.Window == hwnd) return &l;
    return nullptr;
}

void PaintLevel(HWND hwnd, HDC dc) {
    RECT client {};
    GetClientRect(hwnd, &client);
    gdi::FillRect(dc, &client, gdi::GetSysColorBrush(gdi::COLOR_MENU));
    Level* level = LevelOf(hwnd);
    if (!level || !menu::Alive(level->Menu)) return;
    for (std::size_t i = 0; i < level->Menu->Items.size(); ++i)
        menu::DrawItem(Current->Owner, dc, level->Menu, level->Menu->Items[i], int(i) == level->Selected, false,
            int(i) == level->Hot);
    menu::PaintColumnLines(dc, level->Menu, client.bottom);
}

LRESULT MenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        PaintLevel(hwnd, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

void RegisterMenuClass() {
    static bool done = false;
    if (done) return;
    WNDCLASSEX wc;
    wc.style = CS_SAVEBITS | CS_DROPSHADOW;
    wc.lpfnWndProc = MenuWindowProc;
    wc.lpszClassName = MenuWindowClassName;
    done = RegisterClassEx(&wc) != 0;
}

// Lays the items out in their columns; answers the window size.
SIZE LayoutPopup(HWND owner, HMENU menu) {
    const SIZE client = menu::LayoutPopup(owner, menu);
    RECT window {0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&window, MenuWindowStyle, false, 0);
    return SIZE {window.right - window.left, window.bottom - window.top};
}

void NotifySelect(Session& s, HMENU menu, int index) {
    if (!s.Owner || (s.Flags & TPM_NONOTIFY)) return;
    const MenuItem& item = menu->Items[std::size_t(index)];
    UINT flags = item.Type | (item.State & ~MFS_GRAYED) | ((item.State & MFS_GRAYED) ? MF_GRAYED : 0);
    if (item.SubMenu) flags |= MF_POPUP;
    const UINT id = item.SubMenu ? UINT(index) : item.Id;
    SendMessage(s.Owner, WM_MENUSELECT, MAKEWPARAM(int(id), int(flags & 0xFFFF)), reinterpret_cast<LPARAM>(menu));
}

void CloseLevelsFrom(Session& s, std::size_t from) {
    while (s.Levels.size() > from) {
        HWND w = s.Levels.back().Window;
        s.Levels.pop_back();
        if (w) {
            KillTimer(w, SubMenuTimer);
            DestroyWindow(w);
        }
    }
    if (!s.Levels.empty() && GetCapture() != s.Levels.front().Window) SetCapture(s.Levels.front().Window);
}

void Select(Session& s, std::size_t levelIndex, int item) {
    Level& l = s.Levels[levelIndex];
    if (l.Selected == item) return;
    CloseLevelsFrom(s, levelIndex + 1);
    l.Selected = item;
    if (l.Window) InvalidateRect(l.Window, nullptr, false);
    if (item >= 0) NotifySelect(s, l.Menu, item);
}

// Opens menu at screen (x, y) aligned by flags, kept clear of exclude when it would leave the screen.
bool OpenLevel(Session& s, HMENU menu, int x, int y, const RECT* exclude, int indexInParent) {
    if (!menu::Alive(menu)) return false;
    if (s.Owner && !(s.Flags & TPM_NONOTIFY))
        SendMessage(s.Owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(indexInParent, 0));
    if (!menu::Alive(menu) || menu->Items.empty()) return false;
    RegisterMenuClass();
    const SIZE size = LayoutPopup(s.Owner, menu);
    if (s.Flags & TPM_RIGHTALIGN)
        x -= size.cx;
    else if (s.Flags & TPM_CENTERALIGN)
        x -= size.cx / 2;
    if (s.Flags & TPM_BOTTOMALIGN)
        y -= size.cy;
    else if (s.Flags & TPM_VCENTERALIGN)
        y -= size.cy / 2;
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    if (x + size.cx > screenW) x = exclude ? exclude->left - size.cx : screenW - size.cx;
    if (y + size.cy > screenH)
        y = exclude && !s.Levels.empty() ? screenH - size.cy : (exclude ? exclude->top : screenH) - size.cy;
    x = std::max(0, x);
    y = std::max(0, y);
    HWND w = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, MenuWindowClassName, "",
        MenuWindowStyle, x, y, size.cx, size.cy, s.Owner, nullptr, nullptr, nullptr);
    if (!w) return false;
    s.Levels.push_back(Level {menu, w, -1});
    ShowWindow(w, SW_SHOWNOACTIVATE);
    UpdateWindow(w);
    if (s.Levels.size() == 1) SetCapture(w);
    return true;
}

// Opens the submenu of the selected item of a level, to its right.
bool OpenSubMenu(Session& s, std::size_t levelIndex, bool selectFirst) {
    Level& l = s.Levels[levelIndex];
    if (l.Selected < 0) return false;
    const MenuItem& item = l.Menu->Items[std::size_t(l.Selected)];
    if (!item.SubMenu || (item.State & MFS_GRAYED)) return false;
    if (s.Levels.size() > levelIndex + 1) return true;
    RECT r = item.Rect;
    POINT tl {r.left, r.top};
    POINT br {r.right, r.bottom};
    ClientToScreen(l.Window, &tl);
    ClientToScreen(l.Window, &br);
    RECT screen {tl.x, tl.y, br.x, br.y};
    const UINT flags = s.Flags;
    s.Flags &= ~(TPM_RIGHTALIGN | TPM_CENTERALIGN | TPM_BOTTOMALIGN | TPM_VCENTERALIGN);
    const bool opened = OpenLevel(s, item.SubMenu, screen.right + Pad, screen.top - Pad, &screen, l.Selected);
    s.Flags = flags;
    if (opened && selectFirst) {
        Level& sub = s.Levels.back();
        for (std::size_t i = 0; i < sub.Menu->Items.size(); ++i)
            if (Selectable(sub.Menu->Items[i])) {
                Select(s, s.Levels.size() - 1, int(i));
                break;
            }
    }
    return opened;
}

// Opens the popup of a bar item under it.
void OpenBarItem(Session& s, int index, bool selectFirst) {
    CloseLevelsFrom(s, 0);
    menu::SetBarHighlight(s.BarWindow, index);
    s.BarIndex = index;
    if (index < 0) return;
    const MenuItem& item = s.Bar->Items[std::size_t(index)];
    NotifySelect(s, s.Bar, index);
    if (!item.SubMenu || (item.State & MFS_GRAYED)) return;
    RECT r {};
    GetMenuItemRect(s.BarWindow, s.Bar, UINT(index), &r);
    if (OpenLevel(s, item.SubMenu, r.left, r.bottom, &r, index) && selectFirst) {
        Level& sub = s.Levels.back();
        for (std::size_t i = 0; i < sub.Menu->Items.size(); ++i)
            if (Selectable(sub.Menu->Items[i])) {
                Select(s, s.Levels.size() - 1, int(i));
                break;
            }
    }
    if (s.Levels.empty()) SetCapture(s.BarWindow);
}

void Choose(Session& s, const MenuItem& item) {
    if (item.State & MFS_GRAYED) return;
    s.Command = item.Id;
    s.Chosen = true;
    s.Done = true;
}

// The item of a level under a screen point, -1 for none.
int ItemAt(const Level& l, POINT screen) {
    POINT p = screen;
    ScreenToClient(l.Window, &p);
    for (std::size_t i = 0; i < l.Menu->Items.size(); ++i)
        if (gdi::PtInRect(&l.Menu->Items[i].Rect, p)) return int(i);
    return -1;
}

int LevelAt(const Session& s, POINT screen) {
    for (int i = int(s.Levels.size()) - 1; i >= 0; --i) {
        RECT r {};
        GetWindowRect(s.Levels[std::size_t(i)].Window, &r);
        if (gdi::PtInRect(&r, screen)) return i;
    }
    return -1;
}

void MoveSelection(Session& s, int step) {
    if (s.Levels.empty()) return;
    Level& l = s.Levels.back();
    const int count = int(l.Menu->Items.size());
    int at = l.Selected;
    for (int n = 0; n < count; ++n) {
        at = at < 0 ? (step > 0 ? 0 : count - 1) : (at + step + count) % count;
        if (Selectable(l.Menu->Items[std::size_t(at)])) {
            Select(s, s.Levels.size() - 1, at);
            return;
        }
    }
}

// Left and Right within a menu of several columns; false when there is no column that way.
bool MoveAcrossColumns(Session& s, int step) {
    if (s.Levels.empty()) return false;
    Level& l = s.Levels.back();
    const int target = menu::ItemInNextColumn(l.Menu, l.Selected, step);
    if (target < 0) return false;
    Select(s, s.Levels.size() - 1, target);
    return true;
}

// Left and Right on the bar: with a popup open the neighbour's opens; without one (the bar selected from the
// keyboard) only the selection moves.
void MoveAcrossBar(Session& s, int step) {
    const int count = int(s.Bar->Items.size());
    if (count == 0) return;
    const int index = (s.BarIndex + step + count) % count;
    if (!s.Levels.empty()) {
        OpenBarItem(s, index, true);
        return;
    }
    menu::SetBarHighlight(s.BarWindow, index);
    s.BarIndex = index;
    NotifySelect(s, s.Bar, index);
}

void HandleKey(Session& s, UINT vk) {
    Level* top = s.Levels.empty() ? nullptr : &s.Levels.back();
    switch (vk) {
    case VK_UP:
    case VK_DOWN:
        if (!top && s.Bar)
            OpenBarItem(s, std::max(0, s.BarIndex), true);
        else
            MoveSelection(s, vk == VK_DOWN ? 1 : -1);
        break;
    case VK_RIGHT:
        if (top && OpenSubMenu(s, s.Levels.size() - 1, true)) break;
        if (top && MoveAcrossColumns(s, 1)) break;
        if (s.Bar) MoveAcrossBar(s, 1);
        break;
    case VK_LEFT:
        if (top && MoveAcrossColumns(s, -1)) break;
        if (s.Levels.size() > 1)
            CloseLevelsFrom(s, s.Levels.size() - 1);
        else if (s.Bar)
            MoveAcrossBar(s, -1);
        break;
    case VK_RETURN:
        if (!top) {
            if (s.Bar && s.BarIndex >= 0) {
                const MenuItem& item = s.Bar->Items[std::size_t(s.BarIndex)];
                if (item.SubMenu)
                    OpenBarItem(s, s.BarIndex, true);
                else
                    Choose(s, item);
            }
        } else if (top->Selected >= 0) {
            const MenuItem& item = top->Menu->Items[std::size_t(top->Selected)];
            if (item.SubMenu)
                OpenSubMenu(s, s.Levels.size() - 1, true);
            else
                Choose(s, item);
        }
        break;
    case VK_ESCAPE:
        // One level at a time: a submenu, then the bar item's popup (the item stays selected), then the menu.
        if (s.Levels.size() > 1) {
            CloseLevelsFrom(s, s.Levels.size() - 1);
        } else if (!s.Levels.empty() && s.Bar) {
            CloseLevelsFrom(s, 0);
            SetCapture(s.BarWindow);
        } else {
            s.Done = true;
        }
        break;
    default:
        break;
    }
}

void HandleChar(Session& s, char ch) {
    const char key = char(std::tolower(static_cast<unsigned char>(ch)));
    if (s.Levels.empty()) {
        if (!s.Bar) return;
        for (std::size_t i = 0; i < s.Bar->Items.size(); ++i)
            if (MenuMnemonic(s.Bar->Items[i].Text) == key) {
                if (s.Bar->Items[i].SubMenu)
                    OpenBarItem(s, int(i), true);
                else
                    Choose(s, s.Bar->Items[i]);
                return;
            }
        return;
    }
    Level& l = s.Levels.back();
    for (std::size_t i = 0; i < l.Menu->Items.size(); ++i) {
        const MenuItem& item = l.Menu->Items[i];
        if (MenuMnemonic(item.Text) != key) continue;
        Select(s, s.Levels.size() - 1, int(i));
        if (item.SubMenu)
            OpenSubMenu(s, s.Levels.size() - 1, true);
        else
            Choose(s, item);
        return;
    }
}

// Each level's hot item follows the pointer; a level whose hot item changed is repainted.
void TrackHotItems(Session& s, int at, POINT pt) {
    for (std::size_t i = 0; i < s.Levels.size(); ++i) {
        Level& l = s.Levels[i];
        int hot = int(i) == at ? ItemAt(l, pt) : -1;
        if (hot >= 0 && !Selectable(l.Menu->Items[std::size_t(hot)])) hot = -1;
        if (hot == l.Hot) continue;
        l.Hot = hot;
        if (l.Window) InvalidateRect(l.Window, nullptr, false);
    }
}

void HandleMouse(Session& s, const MSG& m) {
    const POINT pt = m.pt;
    const int at = LevelAt(s, pt);
    TrackHotItems(s, at, pt);
    const int barItem = s.Bar ? menu::BarItemAt(s.BarWindow, pt) : -1;
    const UINT msg = m.message;
    const bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_NCLBUTTONDOWN
        || msg == WM_NCRBUTTONDOWN || msg == WM_NCMBUTTONDOWN;
    const bool up = msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_NCLBUTTONUP || msg == WM_NCRBUTTONUP;
    const bool move = msg == WM_MOUSEMOVE || msg == WM_NCMOUSEMOVE;
    if (at >= 0) {
        const std::size_t li = std::size_t(at);
        const int item = ItemAt(s.Levels[li], pt);
        if (move || down) {
            if (item >= 0 && !Selectable(s.Levels[li].Menu->Items[std::size_t(item)])) return;
            if (item != s.Levels[li].Selected) {
                Select(s, li, item);
                if (item >= 0 && s.Levels[li].Menu->Items[std::size_t(item)].SubMenu)
                    SetTimer(s.Levels[li].Window, SubMenuTimer, MenuShowDelayMs, nullptr);
            }
        } else if (up && item >= 0) {
            const MenuItem& chosen = s.Levels[li].Menu->Items[std::size_t(item)];
            if (!Selectable(chosen)) return;
            if (chosen.SubMenu) {
                Select(s, li, item);
                OpenSubMenu(s, li, false);
            } else {
                Choose(s, chosen);
            }
        }
        return;
    }
    if (barItem >= 0) {
        if (down && barItem == s.BarIndex && !s.Levels.empty()) {
            s.Done = true;
        } else if ((move && !s.Levels.empty() && barItem != s.BarIndex) || (down && barItem != s.BarIndex)
            || (down && s.Levels.empty())) {
            OpenBarItem(s, barItem, false);
        } else if (up && s.Levels.empty() && !s.Bar->Items[std::size_t(barItem)].SubMenu) {
            Choose(s, s.Bar->Items[std::size_t(barItem)]);
        }
        return;
    }
    if (down) s.Done = true;   // a click outside closes the menu
}

// Alt and F10 leave the menu when released, as they enter it.
bool IsMenuKey(WPARAM vk) {
    return vk == VK_MENU || vk == VK_F10;
}

bool IsMouseMessage(UINT msg) {
    return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK);
}

// Takes what the menu loop handles itself; the rest is dispatched as usual.
bool FilterMessage(Session& s, const MSG& m) {
    if (IsMouseMessage(m.message)) {
        HandleMouse(s, m);
        return true;
    }
    switch (m.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        TranslateMessage(&m);
        if (IsMenuKey(m.wParam)) {
            // Pressed inside the loop, not held from before it (Alt of an Alt+letter that opened the menu).
            if (!(m.lParam & KF_REPEAT_BIT)) s.MenuKey = UINT(m.wParam);
        } else {
            s.MenuKey = 0;
            HandleKey(s, UINT(m.wParam));
        }
        return true;
    case WM_CHAR:
    case WM_SYSCHAR:
        HandleChar(s, char(m.wParam));
        return true;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (IsMenuKey(m.wParam) && s.MenuKey == UINT(m.wParam)) s.Done = true;
        return true;
    case WM_TIMER:
        if (m.wParam == SubMenuTimer)
            for (std::size_t i = 0; i < s.Levels.size(); ++i)
                if (s.Levels[i].Window == m.hwnd) {
                    KillTimer(m.hwnd, SubMenuTimer);
                    OpenSubMenu(s, i, false);
                    return true;
                }
        return false;
    default:
        return false;
    }
}

// Makes a session the running one for its lifetime.
class SessionScope {
public:
    explicit SessionScope(Session& s)
        : FOuter(Current) {
        Current = &s;
    }
    ~SessionScope() { Current = FOuter; }
    SessionScope(const SessionScope&) = delete;
    SessionScope& operator=(const SessionScope&) = delete;

private:
    Session* FOuter;
};

int RunLoop(Session& s) {
    while (!s.Done) {
        if (s.Owner && !IsWindow(s.Owner)) break;
        if (GetCapture() == nullptr && !s.Levels.empty()) break;   // the capture was taken away
        MSG m;
        if (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) {
                PostQuitMessage(int(m.wParam));
                break;
            }
            if (!FilterMessage(s, m)) {
                TranslateMessage(&m);
                DispatchMessage(&m);
            }
            continue;
        }
        if (IdleHook()) {
            if (!IdleHook()()) break;
        } else {
            WaitMessage();
        }
    }
    CloseLevelsFrom(s, 0);
    if (GetCapture() && (s.BarWindow == GetCapture() || !s.BarWindow)) ReleaseCapture();
    if (s.BarWindow) menu::SetBarHighlight(s.BarWindow, -1);
    Current = nullptr;
    if (s.Owner && IsWindow(s.Owner) && !(s.Flags & TPM_NONOTIFY)) {
        SendMessage(s.Owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessage(s.Owner, WM_EXITMENULOOP, s.Bar ? 0 : 1, 0);
    }
    if (!s.Chosen) return 0;
    if (s.Flags & TPM_RETURNCMD) return int(s.Command);
    if (s.Owner && IsWindow(s.Owner) && !(s.Flags & TPM_NONOTIFY))
        PostMessage(s.Owner, WM_COMMAND, MAKEWPARAM(int(s.Command), 0), 0);
    return 1;
}

}

namespace menu {

int TrackBar(HWND hwnd, HMENU bar, int index, bool keyboard) {
    if (Current || !Alive(bar) || bar->Items.empty()) return 0;
    Session s;
    SessionScope scope(s);
    s.Owner = hwnd;
    s.BarWindow = hwnd;
    s.Bar = bar;
    SendMessage(hwnd, WM_ENTERMENULOOP, 0, 0);
    SendMessage(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    SetCapture(hwnd);
    if (index < 0) {
        s.BarIndex = 0;
        SetBarHighlight(hwnd, 0);
        NotifySelect(s, bar, 0);
    } else {
        OpenBarItem(s, index, keyboard);
    }
    return RunLoop(s);
}

}

int TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params) {
    if (Current || !menu::Alive(menu) || (owner && !IsWindow(owner))) return 0;
    Session s;
    SessionScope scope(s);
    s.Owner = owner;
    s.Flags = flags;
    if (owner && !(flags & TPM_NONOTIFY)) SendMessage(owner, WM_ENTERMENULOOP, 1, 0);
    if (!OpenLevel(s, menu, x, y, params ? &params->rcExclude : nullptr, 0)) {
        if (owner && IsWindow(owner) && !(flags & TPM_NONOTIFY)) SendMessage(owner, WM_EXITMENULOOP, 1, 0);
        return 0;
    }
    const int result = RunLoop(s);
    return (flags & TPM_RETURNCMD) ? result : 1;
}

int TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

bool EndMenu() {
    if (!Current) return false;
    Current->Done = true;
    return true;
}

bool InMenuLoop() {
    return Current != nullptr;
}

HWND GetOpenMenuWindow(int level) {
    if (!Current || level < 0 || std::size_t(level) >= Current->Levels.size()) return nullptr;
    return Current->Levels[std::size_t(level)].Window;
}

void SetMenuLoopIdleHook(MenuLoopIdleHook hook) {
    IdleHook() = std::move(hook);
}

bool GetMenuItemRect(HWND hwnd, HMENU menu, UINT position, RECT* rect) {
    if (!rect || !menu::Alive(menu) || position >= menu->Items.size()) return false;
    const RECT r = menu->Items[position].Rect;
    POINT origin {};
    if (menu->Bar) {
        if (GetMenu(hwnd) != menu) return false;
        origin = menu::BarOrigin(hwnd);
    } else {
        HWND w = nullptr;
        if (Current)
            for (const Level& l : Current->Levels)
                if (l.Menu == menu) w = l.Window;
        if (!w) return false;
        ClientToScreen(w, &origin);
    }
    *rect = RECT {r.left + origin.x, r.top + origin.y, r.right + origin.x, r.bottom + origin.y};
    return true;
}

}

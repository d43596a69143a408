// Menu bars: a window's menu, the bar's layout and painting through the non-client hooks, and its tracking.
#include "platform/user/MenuData.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/Mdi.h"
#include "platform/user/MessageIds.h"
#include "platform/user/Messages.h"
#include "platform/user/NonClient.h"
#include "platform/user/Painting.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinPos.h"
#include "platform/user/Window.h"
#include "platform/user/WindowObject.h"

#include <algorithm>
#include <cctype>

namespace korvex::user {

namespace {

HMENU BarOf(HWND hwnd) {
    detail::WindowObject* w = detail::FromHandle(hwnd);
    if (!w || w->IsChildStyle() || !menu::Alive(w->Menu) || !w->Menu->Bar) return nullptr;
    return w->Menu;
}

bool LaidOut(HMENU bar, int barWidth) {
    return bar->LaidOutWidth == barWidth && bar->LaidOutGeneration == menu::Generation();
}

int LaidOutHeight(HMENU bar) {
    const int row = GetSystemMetrics(SM_CYMENU);
    int bottom = row;
    for (const MenuItem& item : bar->Items)
        bottom = std::max<int>(bottom, item.Rect.top + row);
    return bottom;
}

// Places the items in rows across barWidth, relative to the bar's top-left; answers the height.
int LayoutBar(HWND hwnd, HMENU bar, int barWidth) {
    HDC dc = GetDC(nullptr);
    HFONT old = gdi::SelectObject(dc, menu::MenuFont());
    const int row = GetSystemMetrics(SM_CYMENU);
    // A maximized MDI child's icon and buttons take the ends of the bar.
    const mdi::MergedCaption merged = mdi::MergedCaptionOf(hwnd, barWidth, row);
    const int start = merged.Child ? int(merged.Icon.right) : 0;
    const int limit = merged.Child ? int(merged.MinButton.left) : barWidth;
    int x = start;
    int y = 0;
    for (MenuItem& item : bar->Items) {
        const SIZE s = menu::MeasureItem(hwnd, dc, bar, item, true);
        const int height = std::max<int>(row, s.cy);
        if (x > start && x + s.cx > limit) {
            x = start;
            y += row;
        }
        item.Rect = RECT {x, y, x + s.cx, y + height};
        x += s.cx;
    }
    gdi::SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    bar->LaidOutWidth = barWidth;
    bar->LaidOutGeneration = menu::Generation();
    return bar->Items.empty() ? row : y + row;
}

void PaintBar(HWND hwnd, HDC dc, const RECT& band) {
    gdi::FillRect(dc, &band, gdi::GetSysColorBrush(gdi::COLOR_MENU));
    HMENU bar = BarOf(hwnd);
    if (!bar) return;
    // The bar is measured again only when it changed, at another width, or by DrawMenuBar.
    if (!LaidOut(bar, band.right - band.left)) LayoutBar(hwnd, bar, band.right - band.left);
    for (MenuItem& item : bar->Items) {
        MenuItem placed = item;
        gdi::OffsetRect(&placed.Rect, band.left, band.top);
        menu::DrawItem(hwnd, dc, bar, placed, (item.State & MFS_HILITE) != 0, true);
    }
    mdi::PaintMergedCaption(hwnd, dc, band, GetSystemMetrics(SM_CYMENU));
}

}

namespace menu {

void InstallBarHooks() {
    static bool done = false;
    if (done) return;
    done = true;
    MenuBarHooks hooks;
    hooks.Height = [](HWND hwnd, int width) {
        HMENU bar = BarOf(hwnd);
        if (!bar) return 0;
        return LaidOut(bar, width) ? LaidOutHeight(bar) : LayoutBar(hwnd, bar, width);
    };
    hooks.Paint = PaintBar;
    hooks.Track = [](HWND hwnd, LRESULT hitCode, POINT screen) {
        if (hitCode != HTMENU) return;
        HMENU bar = BarOf(hwnd);
        if (!bar || mdi::TrackMergedCaption(hwnd, screen, GetSystemMetrics(SM_CYMENU))) return;
        const int index = BarItemAt(hwnd, screen);
        if (index >= 0) TrackBar(hwnd, bar, index, false);
    };
    SetMenuBarHooks(std::move(hooks));
}

POINT BarOrigin(HWND hwnd) {
    POINT origin {};
    ClientToScreen(hwnd, &origin);
    HMENU bar = BarOf(hwnd);
    if (!bar) return origin;
    int height = 0;
    for (const MenuItem& item : bar->Items)
        height = std::max<int>(height, item.Rect.bottom);
    origin.y -= height;
    return origin;
}

int BarItemAt(HWND hwnd, POINT screenPoint) {
    HMENU bar = BarOf(hwnd);
    if (!bar) return -1;
    const POINT origin = BarOrigin(hwnd);
    const POINT p {screenPoint.x - origin.x, screenPoint.y - origin.y};
    for (std::size_t i = 0; i < bar->Items.size(); ++i)
        if (gdi::PtInRect(&bar->Items[i].Rect, p)) return int(i);
    return -1;
}

void SetBarHighlight(HWND hwnd, int index) {
    HMENU bar = BarOf(hwnd);
    if (!bar) return;
    bool changed = false;
    for (std::size_t i = 0; i < bar->Items.size(); ++i) {
        const bool on = int(i) == index;
        if (on == ((bar->Items[i].State & MFS_HILITE) != 0)) continue;
        bar->Items[i].State ^= MFS_HILITE;
        changed = true;
    }
    // Only the items' look changed: the frame is repainted through WM_NCPAINT, so that a procedure which
    // paints the frame itself keeps it.
    if (changed && IsWindowVisible(hwnd)) SendMessage(hwnd, WM_NCPAINT, 1, 0);
}

}

bool SetMenu(HWND hwnd, HMENU menu) {
    detail::WindowObject* w = detail::FromHandle(hwnd);
    if (!w || w->IsChildStyle() || (menu && !menu::Alive(menu))) return false;
    menu::InstallBarHooks();
    w->Menu = menu;
    if (menu) menu->LaidOutWidth = -1;
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return true;
}

HMENU GetMenu(HWND hwnd) {
    detail::WindowObject* w = detail::FromHandle(hwnd);
    if (!w || w->IsChildStyle()) return nullptr;
    return menu::Alive(w->Menu) ? w->Menu : nullptr;
}

bool DrawMenuBar(HWND hwnd) {
    HMENU bar = BarOf(hwnd);
    if (!bar) return false;
    bar->LaidOutWidth = -1;   // owner-drawn items may measure differently now
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (IsWindowVisible(hwnd)) SendMessage(hwnd, WM_NCPAINT, 1, 0);
    return true;
}

bool TrackMenuBarKey(HWND hwnd, char key) {
    HMENU bar = BarOf(hwnd);
    if (!bar || bar->Items.empty() || InMenuLoop()) return false;
    if (key == 0 || key == ' ') {
        menu::TrackBar(hwnd, bar, -1, true);
        return true;
    }
    const char lower = char(std::tolower(static_cast<unsigned char>(key)));
    for (std::size_t i = 0; i < bar->Items.size(); ++i)
        if (MenuMnemonic(bar->Items[i].Text) == lower) {
            menu::TrackBar(hwnd, bar, int(i), true);
            return true;
        }
    return false;
}

}

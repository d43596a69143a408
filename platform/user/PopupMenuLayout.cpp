// Popup menu layout: items in columns (a break starts a new one, a bar break with a line before it), the
// column lines, and moving the selection across columns.
#include "platform/user/MenuData.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/SysColors.h"
#include "platform/user/Painting.h"

#include <algorithm>
#include <cstdlib>

namespace korvex::user::menu {

namespace {

inline constexpr int BarBreakGap = 6;   // room for the line between columns of a bar break

bool StartsColumn(const HMENU menu, std::size_t index) {
    return index > 0 && (menu->Items[index].Type & (MFT_MENUBREAK | MFT_MENUBARBREAK)) != 0;
}

}

SIZE LayoutPopup(HWND owner, HMENU menu) {
    HDC dc = GetDC(nullptr);
    HFONT old = gdi::SelectObject(dc, MenuFont());
    std::vector<SIZE> sizes;
    for (MenuItem& item : menu->Items)
        sizes.push_back(MeasureItem(owner, dc, menu, item, false));
    gdi::SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    // Each column is as wide as its widest item; the menu as high as its highest column.
    int x = 0;
    int height = 0;
    for (std::size_t first = 0; first < menu->Items.size();) {
        std::size_t end = first + 1;
        while (end < menu->Items.size() && !StartsColumn(menu, end))
            ++end;
        if (first > 0 && (menu->Items[first].Type & MFT_MENUBARBREAK)) x += BarBreakGap;
        int width = 0;
        for (std::size_t i = first; i < end; ++i)
            width = std::max<int>(width, sizes[i].cx);
        int y = 0;
        for (std::size_t i = first; i < end; ++i) {
            menu->Items[i].Rect = RECT {x, y, x + width, y + sizes[i].cy};
            y += sizes[i].cy;
        }
        height = std::max(height, y);
        x += width;
        first = end;
    }
    return SIZE {x, height};
}

void PaintColumnLines(HDC dc, HMENU menu, int height) {
    for (std::size_t i = 1; i < menu->Items.size(); ++i) {
        if (!StartsColumn(menu, i) || !(menu->Items[i].Type & MFT_MENUBARBREAK)) continue;
        // An etched line in the middle of the gap, the full height of the menu.
        const int x = menu->Items[i].Rect.left - BarBreakGap / 2 - 1;
        RECT shadow {x, 0, x + 1, height};
        RECT light {x + 1, 0, x + 2, height};
        gdi::FillRect(dc, &shadow, gdi::GetSysColorBrush(gdi::COLOR_BTNSHADOW));
        gdi::FillRect(dc, &light, gdi::GetSysColorBrush(gdi::COLOR_BTNHIGHLIGHT));
    }
}

int ItemInNextColumn(HMENU menu, int index, int step) {
    const auto& items = menu->Items;
    if (index < 0 || std::size_t(index) >= items.size() || step == 0) return -1;
    // Columns are told apart by their left edge; the neighbour is the nearest one in the step's direction.
    const RECT& from = items[std::size_t(index)].Rect;
    int column = -1;
    for (const MenuItem& item : items) {
        const int left = item.Rect.left;
        const bool beyond = step > 0 ? left > from.left : left < from.left;
        if (beyond && (column < 0 || std::abs(left - from.left) < std::abs(column - from.left))) column = left;
    }
    if (column < 0) return -1;
    // In it, the selectable item nearest the current one's height.
    const int middle = (from.top + from.bottom) / 2;
    int best = -1;
    int bestDistance = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].Rect.left != column || !Selectable(items[i])) continue;
        const int distance = std::abs((items[i].Rect.top + items[i].Rect.bottom) / 2 - middle);
        if (best < 0 || distance < bestDistance) {
            best = int(i);
            bestDistance = distance;
        }
    }
    return best;
}

}

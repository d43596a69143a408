// The menu layer's own records: menu objects, the running menu loop, and the shared painting of items.
#pragma once

#include "platform/user/Menus.h"

#include <vector>

namespace korvex::user {

struct MenuItem {
    UINT Type = 0;   // MFT_*
    UINT State = 0;   // MFS_*
    UINT Id = 0;
    HMENU SubMenu = nullptr;
    std::uintptr_t Data = 0;
    std::string Text;
    HBITMAP Bitmap = nullptr;
    RECT Rect {};   // placed by the last layout (popup client or bar window coordinates)
};

class MenuObject {
public:
    bool Bar = false;
    std::vector<MenuItem> Items;
    // A bar's item rectangles hold for this width and menu generation; painting lays out only when either moved.
    int LaidOutWidth = -1;
    std::uint64_t LaidOutGeneration = 0;
};

namespace menu {

bool Alive(HMENU menu);
inline bool Selectable(const MenuItem& item) {   // separators are passed over
    return !(item.Type & MFT_SEPARATOR);
}
// Counts every change of any menu's items, so that cached layouts notice them.
std::uint64_t Generation();
void Changed();
// The item at a position, or by command id searching submenus (whose owner menu is written to *owner).
MenuItem* FindItem(HMENU menu, UINT item, UINT flags, HMENU* owner = nullptr, int* index = nullptr);

// Room left and right of a bar item's text, the same for owner-drawn items: their texts never touch.
inline constexpr int BarItemPadding = 6;

// Item measuring and painting in the plain look; owner-drawn items go to owner with ODT_MENU. An owner-drawn
// bar item with a text gets the padding on top of what its owner measured and draws in the whole rectangle.
SIZE MeasureItem(HWND owner, HDC dc, HMENU menu, MenuItem& item, bool inBar);
// hot: the item lies under the pointer (ODS_HOTLIGHT for owner-drawn items).
void DrawItem(HWND owner, HDC dc, HMENU menu, const MenuItem& item, bool selected, bool inBar, bool hot = false);
HFONT MenuFont();

// Popup layout: places every item's Rect in columns (MFT_MENUBREAK starts one, MFT_MENUBARBREAK one with a
// line before it) and answers the client size. The lines are painted by PaintColumnLines.
SIZE LayoutPopup(HWND owner, HMENU menu);
void PaintColumnLines(HDC dc, HMENU menu, int height);
// The selectable item of the next column (step +1) or the previous one (-1) nearest item index's height;
// -1 when there is no such column.
int ItemInNextColumn(HMENU menu, int index, int step);

// The bar of a window being tracked by the loop (nullptr when the loop runs a popup alone).
int TrackBar(HWND hwnd, HMENU bar, int index, bool keyboard);
void InstallBarHooks();
int BarItemAt(HWND hwnd, POINT screenPoint);   // -1 for none
POINT BarOrigin(HWND hwnd);   // the bar's top-left on the screen
void SetBarHighlight(HWND hwnd, int index);

}

}

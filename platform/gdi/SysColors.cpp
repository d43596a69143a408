// The classic system colour table and its stock brushes.
#include "platform/gdi/SysColors.h"

#include "platform/gdi/PenBrush.h"

#include <array>
#include <mutex>

namespace korvex::gdi {

namespace {

constexpr std::array<COLORREF, SysColorCount> ClassicColors = {
    RGB(212, 208, 200),   // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(10, 36, 106),   // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),   // COLOR_INACTIVECAPTION
    RGB(212, 208, 200),   // COLOR_MENU
    RGB(255, 255, 255),   // COLOR_WINDOW
    RGB(0, 0, 0),   // COLOR_WINDOWFRAME
    RGB(0, 0, 0),   // COLOR_MENUTEXT
    RGB(0, 0, 0),   // COLOR_WINDOWTEXT
    RGB(255, 255, 255),   // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),   // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),   // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),   // COLOR_APPWORKSPACE
    RGB(10, 36, 106),   // COLOR_HIGHLIGHT
    RGB(255, 255, 255),   // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),   // COLOR_BTNFACE
    RGB(128, 128, 128),   // COLOR_BTNSHADOW
    RGB(128, 128, 128),   // COLOR_GRAYTEXT
    RGB(0, 0, 0),   // COLOR_BTNTEXT
    RGB(212, 208, 200),   // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),   // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),   // COLOR_3DDKSHADOW
    RGB(212, 208, 200),   // COLOR_3DLIGHT
    RGB(0, 0, 0),   // COLOR_INFOTEXT
    RGB(255, 255, 225),   // COLOR_INFOBK
    RGB(181, 181, 181),   // 25: unused
    RGB(0, 0, 128),   // COLOR_HOTLIGHT
    RGB(166, 202, 240),   // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),   // COLOR_GRADIENTINACTIVECAPTION
    RGB(49, 106, 197),   // COLOR_MENUHILIGHT
    RGB(212, 208, 200),   // COLOR_MENUBAR
};

struct Table {
    std::mutex Lock;
    std::array<COLORREF, SysColorCount> Colors = ClassicColors;
    std::array<Brush*, SysColorCount> Brushes {};
};

Table& SysTable() {
    static Table* table = new Table;   // never freed: its brushes are stock objects
    return *table;
}

}

COLORREF GetSysColor(int index) {
    if (index < 0 || index >= SysColorCount) return 0;
    Table& table = SysTable();
    std::lock_guard lock(table.Lock);
    return table.Colors[size_t(index)];
}

HBRUSH GetSysColorBrush(int index) {
    if (index < 0 || index >= SysColorCount) return nullptr;
    Table& table = SysTable();
    std::lock_guard lock(table.Lock);
    Brush*& brush = table.Brushes[size_t(index)];
    if (!brush) {
        brush = new Brush(BS_SOLID, table.Colors[size_t(index)]);
        brush->MarkStock();
    }
    return brush;
}

bool SetSysColors(int count, const int* indexes, const COLORREF* colors) {
    if (count < 0 || (count > 0 && (!indexes || !colors))) return false;
    Table& table = SysTable();
    std::lock_guard lock(table.Lock);
    for (int i = 0; i < count; ++i) {
        const int index = indexes[i];
        if (index < 0 || index >= SysColorCount) continue;
        table.Colors[size_t(index)] = colors[i] & 0x00FFFFFF;
        if (Brush*& brush = table.Brushes[size_t(index)]) {
            // Old brushes may still be selected somewhere: keep them alive, make a new one.
            brush = new Brush(BS_SOLID, table.Colors[size_t(index)]);
            brush->MarkStock();
        }
    }
    return true;
}

COLORREF ResolveSysColor(uint32_t color) {
    if ((color >> 24) == 0xFF) return GetSysColor(int(color & 0xFF));
    return color;
}

}

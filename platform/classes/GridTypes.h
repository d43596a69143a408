// Types the grids share: options, cell states, coordinates and ranges, and their events.
#pragma once

#include "platform/classes/GraphicsTypes.h"
#include "platform/classes/TObject.h"
#include "platform/classes/TSet.h"

#include <functional>
#include <string_view>

namespace korvex::classes {

enum TGridOption {
    goFixedVertLine,   // vertical lines between fixed cells
    goFixedHorzLine,   // horizontal lines between fixed cells
    goVertLine,   // vertical lines between the other cells
    goHorzLine,   // horizontal lines between the other cells
    goRangeSelect,   // shift-click and shift-arrows select a range
    goDrawFocusSelected,   // the focused cell is painted as selected
    goRowSizing,   // rows sized by dragging the fixed column's row lines
    goColSizing,   // columns sized by dragging the fixed row's column lines
    goRowMoving,   // rows moved by dragging their fixed cell
    goColMoving,   // columns moved by dragging their fixed cell
    goEditing,   // kept as a flag only
    goTabs,   // Tab moves between cells
    goRowSelect,   // whole rows are selected
    goAlwaysShowEditor,
    goThumbTracking,   // the view follows a dragged scroll thumb
};
using TGridOptions = TSet<TGridOption>;
inline constexpr std::string_view GridOptionIdents[] = {"goFixedVertLine", "goFixedHorzLine", "goVertLine",
    "goHorzLine", "goRangeSelect", "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving",
    "goEditing", "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking"};

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

struct TGridCoord {
    int X = 0;
    int Y = 0;
    bool operator==(const TGridCoord&) const = default;
};

// Columns Left..Right and rows Top..Bottom, inclusive.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TGridRect&) const = default;
    bool Contains(int col, int row) const { return col >= Left && col <= Right && row >= Top && row <= Bottom; }
};

using TDrawCellEvent = std::function<void(TObject* sender, int col, int row, TRect rect, TGridDrawState state)>;
using TSelectCellEvent = std::function<void(TObject* sender, int col, int row, bool& canSelect)>;
using TMovedEvent = std::function<void(TObject* sender, int fromIndex, int toIndex)>;

}

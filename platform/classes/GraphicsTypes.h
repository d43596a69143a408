// Geometry and text-format types of the graphics classes: TRect, TPoint, TSize as the gdi records.
#pragma once

#include "platform/gdi/Types.h"

namespace korvex::classes {

using TRect = gdi::RECT;   // left/top inclusive, right/bottom exclusive
using TPoint = gdi::POINT;
using TSize = gdi::SIZE;

inline constexpr TRect Rect(int left, int top, int right, int bottom) {
    return TRect {left, top, right, bottom};
}
inline constexpr TRect Bounds(int left, int top, int width, int height) {
    return TRect {left, top, left + width, top + height};
}
inline constexpr TPoint Point(int x, int y) {
    return TPoint {x, y};
}

}

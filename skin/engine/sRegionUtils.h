// Regions and runs of one colour cut from bitmaps and from a skin picture's corner pieces.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsTypes.h"
#include "platform/gdi/Types.h"
#include "skin/engine/Forward.h"

#include <vector>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

// Rectangles one pixel high.
using TsRectRuns = std::vector<classes::TRect>;

// Appends every horizontal run of pixels equal to color (0x00BBGGRR), row by row; nothing for bitmaps that
// are not pf24bit or are smaller than 2 x 2.
void CollectColorRuns(TsRectRuns& runs, const classes::TBitmap* bitmap, classes::TColor color);

// rgn := a new region (the caller owns it) of the bitmap's rectangle less every run of white pixels.
void RegionFromBitmap(gdi::HRGN& rgn, const classes::TBitmap* bitmap);

// Appends the 0xFF00FF runs of the first state image's corner cells (the top ones, or the bottom ones when
// bottom), placed for a window windowWidth wide: the left cell at x = 0, the right cell ending at the
// window's right edge, rows from rowOffset down. Cells reaching past the picture's bitmap are cut.
void CollectCornerTransparentRects(
    TsRectRuns& runs, int windowWidth, const TsMaskData& mask, int rowOffset, bool bottom);

}

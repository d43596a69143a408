// Button borders painted from the skin with the picture's transparent pixels cut out of the window region.
#pragma once

#include "platform/classes/GraphicsTypes.h"
#include "platform/gdi/Types.h"
#include "skin/engine/Forward.h"

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

// Paints the border picture of state `state` (at most the last) as a nine-part frame over the whole pf24bit
// bitmap and removes every 0xFF00FF picture pixel of the masked pieces from region, which the caller made
// as (0, 0, Width, Height). Pictures without mask rows are copied plainly, without the centre, and leave
// the region as it was. Own bitmaps count as three states over their mask rows.
void PaintButtonBordersWithRegion(
    classes::TBitmap* bitmap, gdi::HRGN region, bool filling, int state, const TsMaskData& mask);

// One piece (right and bottom edges included) from source through its mask rows, cutting its 0xFF00FF
// pixels, in bitmap coordinates, out of region. Nothing for a negative start or a bitmap under 2 x 2.
void CopyMaskedPieceCutRegion(const classes::TRect& dstRect, const classes::TRect& srcRect, classes::TBitmap* bitmap,
    const TsMaskData& mask, gdi::HRGN region, const classes::TBitmap* source);

}

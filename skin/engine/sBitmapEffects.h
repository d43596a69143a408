// Soft tinted rectangles and nested 3-D frames.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsTypes.h"
#include "platform/gdi/Types.h"

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

// Tints rect of a pf24bit bitmap with colour through a rounded mask: the edge stays, the inside takes the
// colour with the weight (256 - a) / 256, a = transparency * 255 / 100, rising over `blur` pixels. The
// rectangle is cut to the bitmap; transparency is held to 0..100, blur and radius to at least 0 and at most
// half the smaller side.
void PaintBlurredRect(
    classes::TBitmap* bitmap, classes::TRect rect, int transparency, classes::TColor colour, int blur, int radius);

// `width` nested one-pixel frames on the DC: colour c1 on the top and left, c2 on the right and bottom.
// rect comes back shrunk by the frames and width as 0; the DC's pen and brush are restored.
void PaintFrame3D(gdi::HDC dc, classes::TRect& rect, classes::TColor c1, classes::TColor c2, int& width);

}

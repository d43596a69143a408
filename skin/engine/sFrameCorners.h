// Refreshing the transparent corner pixels of a control's border from its parent's background.
#pragma once

#include "platform/classes/GraphicsTypes.h"
#include "skin/engine/Forward.h"
#include "skin/engine/sParentCache.h"

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

// Corner bits of the sides argument.
inline constexpr int fcTopLeft = 1;
inline constexpr int fcBottomLeft = 2;
inline constexpr int fcTopRight = 4;
inline constexpr int fcBottomRight = 8;
inline constexpr int fcAllCorners = 15;

// What the corner refresh reads of a control's skin state.
struct TsFrameCornerTarget {
    TsSkinManager* Manager = nullptr;
    int BorderIndex = -1;   // the section's "BORDERSMASK"
    classes::TBitmap* Cache = nullptr;   // the control's pf24bit cache
    int Width = 0;   // the control's size
    int Height = 0;
    classes::TPoint Position {};   // the control's Left and Top in its parent
    TsParentCacheInfo ParentCache;   // as the parent answered the cache query, with the colour answer
};

// Replaces the cache pixels under the border picture's transparent (0xFF00FF) corner pixels of state column
// `state` (at most the last) by the parent's background: ParentCache.ParentAnswer when it holds a colour, else
// the parent's cache pixel at the control's position. Other pixels, and points outside the cache, the
// parent's cache or the picture, are left alone.
void PaintFrameSides(const TsFrameCornerTarget& target, int state, int sides);
void PaintFrameAllSides(const TsFrameCornerTarget& target, int state);

}

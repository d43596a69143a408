// Skin pictures through their grey masks: nine-part frames, state images and the masked piece copies.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsTypes.h"
#include "skin/engine/Forward.h"
#include "skin/engine/sParentCache.h"

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

// A picture holds ImageCount state columns side by side; with MaskType 1 its grey mask lies below it. Per
// channel a masked pixel becomes S + (D - S) * M / 256: a black mask shows the picture, a white one keeps
// what was painted. Picture pixels 0xFF00FF are holes. Every routine paints into a pf24bit bitmap, clips
// every read and write to the bitmaps, and paints nothing when its guards fail.

// The picture as a nine-part frame over rect (four corners, four sides tiled or stretched, the centre only
// when filling). Corner holes show cacheInfo.ParentColor when that is set, else the parent's cache when
// cacheInfo is Ready. State is limited to 0..ImageCount - 1. cornersFromParent does not change the result.
void PaintNinePartMask(classes::TBitmap* bitmap, const classes::TRect& rect, bool filling, bool cornersFromParent,
    int state, const TsMaskData& mask, const TsParentCacheInfo& cacheInfo);
// The same for master-bitmap pictures only: no BorderWidth limit, sides of masked pictures see the parent
// too, and the centre of unmasked ones is painted whenever filling.
void PaintNinePartMaster(classes::TBitmap* bitmap, const classes::TRect& rect, bool filling, int state,
    const TsMaskData& mask, const TsParentCacheInfo& cacheInfo);

// One piece of the master bitmap through its mask (height(mask.R) / 2 rows below) into dstRect.
void BlendMaskedPiece(const classes::TRect& dstRect, const classes::TRect& srcRect, classes::TBitmap* bitmap,
    const TsMaskData& mask, const TsParentCacheInfo& cacheInfo);
// One piece of a picture's own bitmap (mask source.Height / 2 rows below). Holes blend like other pixels
// unless cacheInfo is Ready: then they take the parent's pixel, and a point past the cache's right edge or
// above its top ends the row.
void BlendMaskedPieceOwnBitmap(const classes::TRect& dstRect, const classes::TRect& srcRect, classes::TBitmap* bitmap,
    const TsParentCacheInfo& cacheInfo, const classes::TBitmap* source);

// State image `state` (at most the last) with its top-left corner at p; parts left of or above the bitmap
// are dropped. Mode 1 is the normal look; any other mode fades it (mask + 100, or a 0.5 blend without mask).
void DrawMaskStateImage(classes::TBitmap* bitmap, classes::TPoint p, int state, const TsMaskData& mask, int mode);
// The pixel work of DrawMaskStateImage from source (the own or the master bitmap).
void BlendMaskedStateImage(const classes::TRect& dstRect, const classes::TRect& srcRect, classes::TBitmap* bitmap,
    const TsMaskData& mask, int mode, classes::TColor transparentColor, const classes::TBitmap* source);

}

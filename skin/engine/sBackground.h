// Control backgrounds from the skin: a section's colour, gradient, texture and transparency, its borders mask
// and corner images, painted into a control's cache or any bitmap.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsTypes.h"
#include "platform/gdi/Types.h"
#include "skin/engine/Forward.h"
#include "skin/engine/sParentCache.h"

#include <string>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

// Every routine paints nothing when its guards fail (no bitmap or manager, an invalid section, a rectangle
// that starts left of or above the bitmap or ends past it) and never raises.
//
// state: 0 the normal look, any other value the hot look (and the state column of masks).
// p: the position of r's origin in the parent's cache relative to (ci.X, ci.Y); for a whole control its Left
// and Top in the parent. ci.Ready: the parent's pixels show through transparent sections and mask holes.
// Manager nullptr: the default manager. Texture indexes -1: the section's "PATTERN" / "HOTPATTERN".

// Background, borders mask and the four corner images of the control's section into r of bmp.
void RenderControlSkin(TsCommonData* data, TsParentCacheInfo ci, bool filling, int state, const classes::TRect& r,
    classes::TPoint p, classes::TBitmap* bmp, bool cornersFromParent);
// The background part alone (CustomColor: the owner's Color replaces the section's).
void FillControlBackground(TsCommonData* data, const TsParentCacheInfo& ci, int state, const classes::TRect& r,
    classes::TPoint p, classes::TBitmap* bmp);
// customColor 0xFF00FF: the section's own colour.
void FillSectionBackground(int skinIndex, const std::string& section, const TsParentCacheInfo& ci, int state,
    const classes::TRect& r, classes::TPoint p, classes::TBitmap* bmp, TsSkinManager* manager, int texture,
    int hotTexture, classes::TColor customColor);
// The background of PaintSectionByMask: the texture indexes as given (masks only), the section's colour, the
// parent always copied from its cache.
void FillSectionBackgroundByIndex(int skinIndex, const std::string& section, const TsParentCacheInfo& ci, int state,
    const classes::TRect& r, classes::TPoint p, classes::TBitmap* bmp, TsSkinManager* manager, int texture,
    int hotTexture);

// Background plus the section's "BORDERSMASK" (empty rectangles paint nothing).
void PaintSection(int skinIndex, const std::string& section, TsParentCacheInfo ci, bool filling, int state,
    const classes::TRect& r, classes::TPoint p, classes::TBitmap* bmp, TsSkinManager* manager, int texture = -1,
    int hotTexture = -1);
// PaintSection through a temporary bitmap onto r of a device context (its state is kept).
void PaintSectionToDC(int skinIndex, const std::string& section, const TsParentCacheInfo& ci, bool filling, int state,
    const classes::TRect& r, classes::TPoint p, gdi::HDC dc, TsSkinManager* manager);
// Like PaintSection with the section's own textures and the borders from the master bitmap.
void PaintSectionMaster(int skinIndex, const std::string& section, TsParentCacheInfo ci, bool filling, int state,
    const classes::TRect& r, classes::TPoint p, classes::TBitmap* bmp, TsSkinManager* manager);
// Background by index plus the nine-part mask maskIndex of the manager used.
void PaintSectionByMask(int skinIndex, int maskIndex, int texture, int hotTexture, const std::string& section,
    TsParentCacheInfo ci, bool filling, int state, const classes::TRect& r, classes::TPoint p, classes::TBitmap* bmp,
    TsSkinManager* manager);

// r of dc in the colour (system colours resolved); the DC's selected objects are kept.
void FillRectSolid(gdi::HDC dc, const classes::TRect& r, classes::TColor color);
// The same straight into a 24-bit bitmap, clipped to it.
void FillRectSolid(classes::TBitmap* bmp, const classes::TRect& r, classes::TColor color);

}

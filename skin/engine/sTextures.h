// Skin textures: pictures and master-bitmap tiles tiled, stretched or laid along an edge, masked textures.
#pragma once

#include "platform/classes/GraphicsTypes.h"
#include "skin/engine/Forward.h"
#include "skin/engine/sParentCache.h"

namespace korvex::classes {
class TBitmap;
class TCanvas;
class TGraphic;
}

namespace korvex::skin {

// R is in and out: on return it holds the part still to be filled, or (-1, -1, -1, -1) when nothing is
// left. A painter that paints nothing (no picture or master bitmap, an empty tile, a mode without meaning)
// leaves R as it was.
inline constexpr classes::TRect NothingLeft {-1, -1, -1, -1};

// A picture is tiled over R whole. Otherwise the master-bitmap tile of the mask, by mode (the mask's
// StretchMode): 0 tiled, 1 stretched, 2/3/6/7 one row or column of tiles along the top/left/bottom/right
// edge, 4/5 stretched along the top/left edge, 10 whole tiles only.
void PaintTexture(
    classes::TCanvas* canvas, classes::TRect& r, classes::TGraphic* picture, const TsMaskData& mask, int mode);

// Tiles a masked texture (picture over mask rows, from the master or the mask's own bitmap) into R of a
// pf24bit bitmap, whole tiles only. Mode 0 adds one column that may reach past R's right edge; mode 10
// fills the strips the tiles leave from the parent's cache (or cacheInfo.ParentColor). Other modes paint nothing.
void PaintMaskedTexture(
    classes::TBitmap* bmp, classes::TRect& r, const TsParentCacheInfo& cacheInfo, const TsMaskData& mask, int mode);

// Tiles a whole picture over R: a bitmap cut at R's right and bottom edges, a JPEG by whole tiles that may
// reach past R; other pictures are not tiled.
void TileGraphic(classes::TCanvas* canvas, const classes::TRect& r, classes::TGraphic* picture);

}

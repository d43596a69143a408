// Painting steps a skinned control takes with its skin state: frame corners, the disabled look, the parent colour.
#pragma once

#include "platform/classes/GraphicsTypes.h"
#include "skin/engine/Forward.h"
#include "skin/engine/sParentCache.h"
#include "skin/engine/sPixelAccess.h"

namespace korvex::classes {
class TBitmap;
class TControl;
class TWinControl;
}

namespace korvex::skin {

// Whether the corner refresh asks a parent with a cache for its plain colour (when its background does not
// vary) or takes the parent's cache as it is.
enum class TsAskParentColor { Yes, No };

// Refreshes the transparent corner pixels of the control's border in its cache from what lies behind it:
// the parent's plain colour when the parent has no cache or answers one colour, else the parent's cache.
// sides: the fc* corner bits. Nothing without a manager, a valid border, a cache or a 2 x 2 owner.
void PaintFrameSides(TsCommonData* data, int state, int sides, TsAskParentColor ask = TsAskParentColor::Yes);
void PaintFrameAllSides(TsCommonData* data, int state, TsAskParentColor ask = TsAskParentColor::Yes);

// The disabled look of a control's cache (see the bitmap form): the control's Color stands in when the parent
// has neither a cache nor a colour answer.
void ApplyDisabledLook(classes::TBitmap* bitmap, TsDisabledKind kind, const classes::TControl* control,
    classes::TPoint offset, const TsParentCacheInfo& cacheInfo);

// The control's effective background colour as RGB: its answer to the colour query, else its Color.
// 0xFF00FF for no control.
classes::TColor QueryParentColor(classes::TWinControl* control);

}

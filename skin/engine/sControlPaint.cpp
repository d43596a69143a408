// Painting steps a skinned control takes with its skin state: frame corners, the disabled look, the parent colour.
#include "skin/engine/sControlPaint.h"

#include "platform/classes/Colors.h"
#include "platform/classes/TWinControl.h"
#include "skin/engine/sCommonData.h"
#include "skin/engine/sFrameCorners.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStyleSimply.h"

namespace korvex::skin {

classes::TColor QueryParentColor(classes::TWinControl* control) {
    return QueryControlColor(control);
}

void PaintFrameSides(TsCommonData* data, int state, int sides, TsAskParentColor ask) {
    if (data == nullptr) return;
    classes::TControl* owner = data->OwnerControl();
    TsSkinManager* manager = data->SkinManager();
    if (owner == nullptr || manager == nullptr || data->CacheBmp() == nullptr) return;
    if (data->BorderIndex < 0 || !manager->IsValidImgIndex(data->BorderIndex)) return;
    if (owner->Width() < 2 || owner->Height() < 2) return;

    TsFrameCornerTarget target;
    target.ParentCache = GetParentCache(data);
    classes::TWinControl* parent = owner->Parent();
    TsParentCacheInfo& colours = target.ParentCache;
    if (parent == nullptr) {
        colours.ParentAnswer = TransparentSkinColor;
    } else if (!target.ParentCache.Ready) {
        colours.ParentAnswer = classes::ColorToRGB(parent->Color());
    } else if (ask == TsAskParentColor::Yes && !ParentBackgroundVaries(data)) {
        colours.ParentAnswer = QueryParentColor(parent);
    } else {
        colours.ParentAnswer = TransparentSkinColor;
    }
    target.Manager = manager;
    target.BorderIndex = data->BorderIndex;
    target.Cache = data->CacheBmp();
    target.Width = owner->Width();
    target.Height = owner->Height();
    target.Position = classes::TPoint {owner->Left(), owner->Top()};
    PaintFrameSides(target, state, sides);
}

void PaintFrameAllSides(TsCommonData* data, int state, TsAskParentColor ask) {
    PaintFrameSides(data, state, fcAllCorners, ask);
}

void ApplyDisabledLook(classes::TBitmap* bitmap, TsDisabledKind kind, const classes::TControl* control,
    classes::TPoint offset, const TsParentCacheInfo& cacheInfo) {
    ApplyDisabledLook(bitmap, kind, control ? control->Color() : classes::clBtnFace, offset, cacheInfo);
}

}

// Internal: the geometry of nine-part skin pictures shared by the mask, corner and button-region painters.
#include "skin/engine/sNinePart.h"

#include "platform/classes/TBitmap.h"
#include "skin/engine/sSkinData.h"
#include "skin/engine/sSkinManager.h"

namespace korvex::skin::detail {

int ImageCountOf(const TsMaskData& mask) {
    return std::clamp(mask.ImageCount, 1, MaxImageField);
}

int MaskTypeOf(const TsMaskData& mask) {
    return std::clamp(mask.MaskType, 0, MaxImageField);
}

classes::TBitmap* MasterOf(const TsMaskData& mask) {
    return mask.Manager ? mask.Manager->MasterBitmap.get() : nullptr;
}

PieceSizes PieceSizes::For(int w, int h, int cellWidth, int cellHeight, int limit) {
    PieceSizes sizes;
    const bool narrow = w < 2 * cellWidth;
    const bool low = h < 2 * cellHeight;
    sizes.Left = narrow ? w / 2 : cellWidth;
    sizes.Top = low ? h / 2 : cellHeight;
    if (limit > 0) {
        sizes.Left = std::min(sizes.Left, limit);
        sizes.Top = std::min(sizes.Top, limit);
    }
    sizes.Right = sizes.Left + (narrow ? w % 2 : 0);
    sizes.Bottom = sizes.Top + (low ? h % 2 : 0);
    return sizes;
}

}

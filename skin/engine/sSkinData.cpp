// The skin tables' records: owned pictures and the skin's global facts.
#include "skin/engine/sSkinData.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TJPEGImage.h"
#include "skin/engine/sSkinIni.h"

#include <algorithm>

namespace korvex::skin {

TsMaskData::TsMaskData() = default;
TsMaskData::~TsMaskData() = default;
TsMaskData::TsMaskData(TsMaskData&&) noexcept = default;
TsMaskData& TsMaskData::operator=(TsMaskData&&) noexcept = default;

int ClampPercent(int value) {
    return std::clamp(value, 0, MaxPercent);
}

void ClampPercentages(TsGeneralData& section) {
    for (int* value : {&section.ShadowTransparency, &section.Transparency, &section.GradientPercent,
             &section.ImagePercent, &section.HotTransparency, &section.HotGradientPercent, &section.HotImagePercent})
        *value = ClampPercent(*value);
}

bool HasSaneGeometry(const TsMaskData& mask) {
    const classes::TRect& r = mask.R;
    for (int v : {r.left, r.top, r.right, r.bottom})
        if (v < -MaxImageCoordinate || v > MaxImageCoordinate) return false;
    return mask.ImageCount >= -MaxImageField - 1 && mask.ImageCount <= MaxImageField
        && mask.MaskType >= -MaxImageField - 1 && mask.MaskType <= MaxImageField;
}

TsPatternData::TsPatternData() = default;
TsPatternData::~TsPatternData() = default;
TsPatternData::TsPatternData(TsPatternData&&) noexcept = default;
TsPatternData& TsPatternData::operator=(TsPatternData&&) noexcept = default;

TsSkinData::~TsSkinData() {
    CloseSkinLoadIni();
}

}

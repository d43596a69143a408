// The skin tables' records: owned pictures and the skin's global facts.
#include "skin/engine/sSkinData.h"

#include "platform/classes/TBitmap.h"
#include "platform/classes/TJPEGImage.h"
#include "skin/engine/sSkinIni.h"

namespace korvex::skin {

TsMaskData::TsMaskData() = default;
TsMaskData::~TsMaskData() = default;
TsMaskData::TsMaskData(TsMaskData&&) noexcept = default;
TsMaskData& TsMaskData::operator=(TsMaskData&&) noexcept = default;

TsPatternData::TsPatternData() = default;
TsPatternData::~TsPatternData() = default;
TsPatternData::TsPatternData(TsPatternData&&) noexcept = default;
TsPatternData& TsPatternData::operator=(TsPatternData&&) noexcept = default;

TsSkinData::~TsSkinData() {
    SkinLoadIni().reset();
}

}

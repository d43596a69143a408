// Forward declarations of the skin engine's types, so a header can name one without including it.
#pragma once

#include "platform/classes/Forward.h"   // classes::TComponentWatch

namespace korvex::skin {

// The manager and its tables (sSkinManager.h, sSkinData.h)
class TsSkinManager;
class TsSkinData;
struct TsGeneralData;
struct TsMaskData;
struct TsPatternData;
struct TConstantSkinData;

// A skinned control's link to the skin and what hangs off it (sCommonData.h, sBoundLabel.h)
class TsCommonData;
class TsBoundLabel;
class TsEditLabel;
class TacMenuSupport;   // sMenuSupport.h

// Skins stored with the main window (sStoredSkins.h)
class TsStoredSkins;
class TsStoredSkin;
class TsSkinGenerals;
class TsSkinGeneral;
class TsSkinImages;
class TsSkinImage;
class TsSkinPatterns;
class TsSkinPattern;

// Painting helpers' records
struct TsParentCacheInfo;   // sParentCache.h
struct TsHSV;   // sColorUtils.h
struct TsGradientStep;   // sGradient.h
struct TsImageValue;   // sSkinImageValues.h

}

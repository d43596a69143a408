// TsGlyphImages: the image list settings of the bit and speed buttons and the glyph made from the list.
#include "skin/controls/sGlyphImages.h"

#include "platform/classes/TBitBtn.h"
#include "platform/classes/TImageList.h"
#include "platform/classes/TSpeedButton.h"
#include "skin/controls/sCoreButton.h"
#include "skin/engine/sCommonData.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

template <class TButtonBase>
void TsGlyphImages<TButtonBase>::SetBlend(int value) {
    value = std::clamp(value, 0, 100);
    if (FBlend == value) return;
    FBlend = value;
    GlyphSettingChanged();
}

template <class TButtonBase>
void TsGlyphImages<TButtonBase>::SetDisabledGlyphKind(TsDisabledGlyphKind value) {
    if (FDisabledGlyphKind == value) return;
    FDisabledGlyphKind = value;
    if (!GlyphSkinData()->Skinned()) RebuildGlyphFromImages();
    GlyphSettingChanged();
}

template <class TButtonBase>
void TsGlyphImages<TButtonBase>::SetGrayed(bool value) {
    if (FGrayed == value) return;
    FGrayed = value;
    GlyphSettingChanged();
}

template <class TButtonBase>
void TsGlyphImages<TButtonBase>::SetImageIndex(int value) {
    if (FImageIndex == value) return;
    FImageIndex = value;
    RebuildGlyphFromImages();
    GlyphSettingChanged();
}

template <class TButtonBase>
void TsGlyphImages<TButtonBase>::SetImages(TCustomImageList* value) {
    if (FImages == value) return;
    if (FImages != nullptr) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages != nullptr) FImages->FreeNotification(this);
    RebuildGlyphFromImages();
    GlyphSettingChanged();
}

template <class TButtonBase>
void TsGlyphImages<TButtonBase>::Notification(TComponent* component, TOperation operation) {
    TButtonBase::Notification(component, operation);
    if (operation == opRemove && component == FImages) FImages = nullptr;
}

template <class TButtonBase>
void TsGlyphImages<TButtonBase>::RebuildGlyphFromImages() {
    if (FImages == nullptr || GetImageCount(FImages) == 0) return;
    int numGlyphs = this->NumGlyphs();
    MakeGlyphFromImageList(this, GlyphSkinData(), FImageIndex, numGlyphs, FDisabledGlyphKind, this->Glyph(), FImages);
    this->SetNumGlyphs(numGlyphs);
    GlyphRebuilt();
}

template class TsGlyphImages<TsCoreButton<TBitBtn>>;
template class TsGlyphImages<TSpeedButton>;

}

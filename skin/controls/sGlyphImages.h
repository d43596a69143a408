// TsGlyphImages: what the bit button and the speed button add alike for their glyph: an image list's image in
// place of the glyph bitmap, its blend, greying and disabled look, and the unskinned glyph made from the list.
#pragma once

#include "platform/classes/TComponent.h"
#include "skin/engine/sGlyphs.h"

namespace korvex::classes {
class TCustomImageList;
}

namespace korvex::skin {

class TsCommonData;

// Instantiated for TsBitBtn's and TsSpeedButton's bases (sGlyphImages.cpp); each button's header declares its own.
template <class TButtonBase>
class TsGlyphImages : public TButtonBase {
public:
    int Blend() const { return FBlend; }
    void SetBlend(int value);   // kept within 0..100
    TsDisabledGlyphKind DisabledGlyphKind() const { return FDisabledGlyphKind; }
    void SetDisabledGlyphKind(TsDisabledGlyphKind value);
    bool Grayed() const { return FGrayed; }
    void SetGrayed(bool value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    classes::TCustomImageList* Images() const { return FImages; }
    void SetImages(classes::TCustomImageList* value);

protected:
    explicit TsGlyphImages(classes::TComponent* owner)
        : TButtonBase(owner) { }

    void Notification(classes::TComponent* component, classes::TOperation operation) override;   // a freed list

    // An unskinned button shows the list's image through its own glyph (the image and its disabled copy);
    // nothing without a list or with an empty one. GlyphRebuilt follows a rebuild.
    void RebuildGlyphFromImages();

    virtual TsCommonData* GlyphSkinData() const = 0;
    virtual void GlyphSettingChanged() = 0;   // after any of the settings above changed: the new look shown
    virtual void GlyphRebuilt() { }

private:
    int FBlend = 0;
    TsDisabledGlyphKind FDisabledGlyphKind = DefaultDisabledGlyphKind;
    bool FGrayed = false;
    int FImageIndex = -1;
    classes::TCustomImageList* FImages = nullptr;
};

}

// Skins stored with the main window: the collection classes and their published properties.
#include "skin/engine/sStoredSkins.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TJPEGImage.h"
#include "skin/engine/sSkinManager.h"

namespace korvex::skin {

using namespace korvex::classes;

namespace {

constexpr std::string_view BevelIdents[] = {"cbNone", "cbRaisedSoft", "cbLoweredSoft", "cbRaisedHard", "cbLoweredHard"};
constexpr std::string_view ImgTypeIdents[] = {"itisaBorder", "itisaTexture", "itisaGlyph"};

}

// ---- TsSkinGeneral -------------------------------------------------------------------------------------

TsSkinGeneral::TsSkinGeneral(TCollection* collection)
    : TCollectionItem(collection) {
}

TClass TsSkinGeneral::StaticClass() {
    using T = TsSkinGeneral;
    static const TClassInfo info = MakeClass<T, TCollectionItem>("TsSkinGeneral", [](TPropertyBuilder<T>& p) {
        p.String("SectionName", &T::SectionName, &T::SectionName);
        p.String("ParentClass", &T::ParentClass, &T::ParentClass);
        p.Color("Color", &T::Color, &T::Color, 0);
        p.Enum("Bevel", &T::Bevel, &T::Bevel, BevelIdents, cbNone);
        p.Int("ShadowBlur", &T::ShadowBlur, &T::ShadowBlur, 0);
        p.Color("ShadowColor", &T::ShadowColor, &T::ShadowColor, 0);
        p.Bool("ShadowDontUse", &T::ShadowDontUse, &T::ShadowDontUse, false);
        p.Bool("ShadowEnabled", &T::ShadowEnabled, &T::ShadowEnabled, false);
        p.Bool("ReservedBoolean", &T::ReservedBoolean, &T::ReservedBoolean, false);
        p.Int("ShadowOffset", &T::ShadowOffset, &T::ShadowOffset, 0);
        p.Int("ShadowTransparency", &T::ShadowTransparency, &T::ShadowTransparency, 0);
        p.String("FontColor", &T::FontColor, &T::FontColor);
        p.String("HotFontColor", &T::HotFontColor, &T::HotFontColor);
        p.Int("Transparency", &T::Transparency, &T::Transparency, 0);
        p.Int("GradientPercent", &T::GradientPercent, &T::GradientPercent, 0);
        p.String("GradientData", &T::GradientData, &T::GradientData);
        p.Int("ImagePercent", &T::ImagePercent, &T::ImagePercent, 0);
        p.Bool("ShowFocus", &T::ShowFocus, &T::ShowFocus, false);
        p.Bool("FadingEnabled", &T::FadingEnabled, &T::FadingEnabled, false);
        p.Int("FadingIntervalIn", &T::FadingIntervalIn, &T::FadingIntervalIn, 0);
        p.Int("FadingIntervalOut", &T::FadingIntervalOut, &T::FadingIntervalOut, 0);
        p.Int("FadingIterations", &T::FadingIterations, &T::FadingIterations, 0);
        p.Color("HotColor", &T::HotColor, &T::HotColor, 0);
        p.Int("HotTransparency", &T::HotTransparency, &T::HotTransparency, 0);
        p.Enum("HotBevel", &T::HotBevel, &T::HotBevel, BevelIdents, cbNone);
        p.Int("HotGradientPercent", &T::HotGradientPercent, &T::HotGradientPercent, 0);
        p.String("HotGradientData", &T::HotGradientData, &T::HotGradientData);
        p.Int("HotImagePercent", &T::HotImagePercent, &T::HotImagePercent, 0);
        p.Color("BorderColor1", &T::BorderColor1, &T::BorderColor1, 0);
        p.Color("BorderColor2", &T::BorderColor2, &T::BorderColor2, 0);
        p.String("Name", &T::Name, &T::Name);
    });
    return &info;
}

// ---- TsSkinImage ---------------------------------------------------------------------------------------

TsSkinImage::TsSkinImage(TCollection* collection)
    : TCollectionItem(collection)
    , FImage(std::make_unique<TBitmap>()) {
}

TsSkinImage::~TsSkinImage() = default;

void TsSkinImage::SetImage(const TBitmap* value) {
    FImage->Assign(value);
}

TClass TsSkinImage::StaticClass() {
    using T = TsSkinImage;
    static const TClassInfo info = MakeClass<T, TCollectionItem>("TsSkinImage", [](TPropertyBuilder<T>& p) {
        p.String("SectionName", &T::SectionName, &T::SectionName);
        p.Object("Image", &T::Image, &T::SetImage);
        p.String("Name", &T::Name, &T::Name);
        p.String("PropertyName", &T::PropertyName, &T::PropertyName);
        p.Int("Left", &T::Left, &T::Left, 0);
        p.Int("Top", &T::Top, &T::Top, 0);
        p.Int("Right", &T::Right, &T::Right, 0);
        p.Int("Bottom", &T::Bottom, &T::Bottom, 0);
        p.Int("ImageCount", &T::ImageCount, &T::ImageCount, 0);
        p.Int("MaskType", &T::MaskType, &T::MaskType, 0);
        p.Int("BorderWidth", &T::BorderWidth, &T::BorderWidth, 0);
        p.Int("StretchMode", &T::StretchMode, &T::StretchMode, 0);
        p.Enum("ImgType", &T::ImgType, &T::ImgType, ImgTypeIdents, itisaBorder);
        p.Int("WL", &T::WL, &T::WL, 0);
        p.Int("WR", &T::WR, &T::WR, 0);
        p.Int("WT", &T::WT, &T::WT, 0);
        p.Int("WB", &T::WB, &T::WB, 0);
    });
    return &info;
}

// ---- TsSkinPattern -------------------------------------------------------------------------------------

TsSkinPattern::TsSkinPattern(TCollection* collection)
    : TCollectionItem(collection)
    , FImage(std::make_unique<TJPEGImage>()) {
}

TsSkinPattern::~TsSkinPattern() = default;

void TsSkinPattern::SetImage(const TJPEGImage* value) {
    FImage->Assign(value);
}

TClass TsSkinPattern::StaticClass() {
    using T = TsSkinPattern;
    static const TClassInfo info = MakeClass<T, TCollectionItem>("TsSkinPattern", [](TPropertyBuilder<T>& p) {
        p.String("SectionName", &T::SectionName, &T::SectionName);
        p.Object("Image", &T::Image, &T::SetImage);
        p.String("Name", &T::Name, &T::Name);
        p.String("PropertyName", &T::PropertyName, &T::PropertyName);
    });
    return &info;
}

// ---- Sub-collections -----------------------------------------------------------------------------------

TsSkinGenerals::TsSkinGenerals(TPersistent* owner)
    : TOwnedCollection(owner, TsSkinGeneral::StaticClass()) {
}
TClass TsSkinGenerals::StaticClass() {
    static const TClassInfo info = MakeClass<TsSkinGenerals, TOwnedCollection>("TsSkinGenerals");
    return &info;
}

TsSkinImages::TsSkinImages(TPersistent* owner)
    : TOwnedCollection(owner, TsSkinImage::StaticClass()) {
}
TClass TsSkinImages::StaticClass() {
    static const TClassInfo info = MakeClass<TsSkinImages, TOwnedCollection>("TsSkinImages");
    return &info;
}

TsSkinPatterns::TsSkinPatterns(TPersistent* owner)
    : TOwnedCollection(owner, TsSkinPattern::StaticClass()) {
}
TClass TsSkinPatterns::StaticClass() {
    static const TClassInfo info = MakeClass<TsSkinPatterns, TOwnedCollection>("TsSkinPatterns");
    return &info;
}

// ---- TsStoredSkin --------------------------------------------------------------------------------------

TsStoredSkin::TsStoredSkin(TCollection* collection)
    : TCollectionItem(collection)
    , FGeneralData(std::make_unique<TsSkinGenerals>(this))
    , FImages(std::make_unique<TsSkinImages>(this))
    , FPatterns(std::make_unique<TsSkinPatterns>(this))
    , FMasterBitmap(std::make_unique<TBitmap>()) {
}

TsStoredSkin::~TsStoredSkin() = default;

void TsStoredSkin::SetName(const std::string& value) {
    if (value != FName) FName = value;
}
void TsStoredSkin::SetGeneralData(const TsSkinGenerals* value) {
    FGeneralData->Assign(value);
}
void TsStoredSkin::SetImages(const TsSkinImages* value) {
    FImages->Assign(value);
}
void TsStoredSkin::SetPatterns(const TsSkinPatterns* value) {
    FPatterns->Assign(value);
}
void TsStoredSkin::SetMasterBitmap(const TBitmap* value) {
    FMasterBitmap->Assign(value);
}

TClass TsStoredSkin::StaticClass() {
    using T = TsStoredSkin;
    static const TClassInfo info = MakeClass<T, TCollectionItem>("TsStoredSkin", [](TPropertyBuilder<T>& p) {
        p.String("Name", &T::Name, &T::SetName);
        p.Object("GeneralData", &T::GeneralData, &T::SetGeneralData);
        p.Object("Images", &T::Images, &T::SetImages);
        p.Object("Patterns", &T::Patterns, &T::SetPatterns);
        p.Object("MasterBitmap", &T::MasterBitmap, &T::SetMasterBitmap);
        p.Color("Shadow1Color", &T::Shadow1Color, &T::Shadow1Color, 0);
        p.Int("Shadow1Offset", &T::Shadow1Offset, &T::Shadow1Offset, 0);
        p.Int("Shadow1Blur", &T::Shadow1Blur, &T::Shadow1Blur, -1);
        p.Int("Shadow1Transparency", &T::Shadow1Transparency, &T::Shadow1Transparency, 0);
        p.Float("Version", &T::Version, &T::Version, 0.0);
        p.String("Author", &T::Author, &T::Author);
        p.String("Description", &T::Description, &T::Description);
    });
    return &info;
}

// ---- TsStoredSkins -------------------------------------------------------------------------------------

TsStoredSkins::TsStoredSkins(TPersistent* owner)
    : TOwnedCollection(owner, TsStoredSkin::StaticClass()) {
}

TClass TsStoredSkins::StaticClass() {
    static const TClassInfo info = MakeClass<TsStoredSkins, TOwnedCollection>("TsStoredSkins");
    return &info;
}

int TsStoredSkins::IndexOf(const std::string& name) const {
    for (int i = 0; i < Count(); ++i) {
        if (Items(i)->Name() == name) return i;
    }
    return -1;
}

void RegisterStoredSkinClasses() {
    RegisterClasses({TsSkinManager::StaticClass(), TsStoredSkins::StaticClass(), TsStoredSkin::StaticClass(),
        TsSkinGenerals::StaticClass(), TsSkinGeneral::StaticClass(), TsSkinImages::StaticClass(),
        TsSkinImage::StaticClass(), TsSkinPatterns::StaticClass(), TsSkinPattern::StaticClass()});
}

}

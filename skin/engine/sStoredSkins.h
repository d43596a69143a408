// Skins stored with the main window: a streamed collection of whole skins (sections, images, patterns, master bitmap).
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/TCollection.h"
#include "skin/engine/sSkinData.h"

#include <memory>
#include <string>

namespace korvex::classes {
class TBitmap;
class TJPEGImage;
}

namespace korvex::skin {

// None of the item classes below can be assigned to another item: copying a collection works for an empty
// source and raises EConvertError ("Cannot assign ...") as soon as the source holds an item. The skins reach
// the collections only through streaming.

// One skin section. FontColor and HotFontColor are five blank-separated integers ("0 -1 -1 -1 -1").
class TsSkinGeneral : public classes::TCollectionItem {
public:
    explicit TsSkinGeneral(classes::TCollection* collection);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    std::string SectionName;
    std::string ParentClass;
    classes::TColor Color = 0;
    TsControlBevel Bevel = cbNone;
    int ShadowBlur = 0;
    classes::TColor ShadowColor = 0;
    bool ShadowDontUse = false;   // not used by the loader
    bool ShadowEnabled = false;
    bool ReservedBoolean = false;
    int ShadowOffset = 0;
    int ShadowTransparency = 0;
    std::string FontColor;
    std::string HotFontColor;
    int Transparency = 0;
    int GradientPercent = 0;
    std::string GradientData;
    int ImagePercent = 0;
    bool ShowFocus = false;
    bool FadingEnabled = false;
    int FadingIntervalIn = 0;
    int FadingIntervalOut = 0;
    int FadingIterations = 0;
    classes::TColor HotColor = 0;
    int HotTransparency = 0;
    TsControlBevel HotBevel = cbNone;
    int HotGradientPercent = 0;
    std::string HotGradientData;
    int HotImagePercent = 0;
    classes::TColor BorderColor1 = 0;
    classes::TColor BorderColor2 = 0;
    std::string Name;
};

// One image: a rectangle of the master bitmap (Name empty) or its own picture from file Name.
class TsSkinImage : public classes::TCollectionItem {
public:
    explicit TsSkinImage(classes::TCollection* collection);
    ~TsSkinImage() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    classes::TBitmap* Image() const { return FImage.get(); }
    void SetImage(const classes::TBitmap* value);   // copies the picture

    std::string SectionName;
    std::string Name;
    std::string PropertyName;
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int ImageCount = 0;
    int MaskType = 0;
    int BorderWidth = 0;
    int StretchMode = 0;
    TacImgType ImgType = itisaBorder;
    int WL = 0;   // WL..WB are not used by the loader
    int WR = 0;
    int WT = 0;
    int WB = 0;

private:
    std::unique_ptr<classes::TBitmap> FImage;
};

// One JPEG pattern; items with the same Name may share one picture.
class TsSkinPattern : public classes::TCollectionItem {
public:
    explicit TsSkinPattern(classes::TCollection* collection);
    ~TsSkinPattern() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    classes::TJPEGImage* Image() const { return FImage.get(); }
    void SetImage(const classes::TJPEGImage* value);   // copies the picture

    std::string SectionName;
    std::string Name;
    std::string PropertyName;

private:
    std::unique_ptr<classes::TJPEGImage> FImage;
};

// The three sub-collections of a stored skin, owned by it.
class TsSkinGenerals : public classes::TOwnedCollection {
public:
    explicit TsSkinGenerals(classes::TPersistent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    TsSkinGeneral* Items(int index) const { return Item<TsSkinGeneral>(index); }
    TsSkinGeneral* Add() { return static_cast<TsSkinGeneral*>(TCollection::Add()); }
};

class TsSkinImages : public classes::TOwnedCollection {
public:
    explicit TsSkinImages(classes::TPersistent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    TsSkinImage* Items(int index) const { return Item<TsSkinImage>(index); }
    TsSkinImage* Add() { return static_cast<TsSkinImage*>(TCollection::Add()); }
};

class TsSkinPatterns : public classes::TOwnedCollection {
public:
    explicit TsSkinPatterns(classes::TPersistent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    TsSkinPattern* Items(int index) const { return Item<TsSkinPattern>(index); }
    TsSkinPattern* Add() { return static_cast<TsSkinPattern*>(TCollection::Add()); }
};

// One whole stored skin.
class TsStoredSkin : public classes::TCollectionItem {
public:
    explicit TsStoredSkin(classes::TCollection* collection);
    ~TsStoredSkin() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    const std::string& Name() const { return FName; }
    void SetName(const std::string& value);
    TsSkinGenerals* GeneralData() const { return FGeneralData.get(); }
    void SetGeneralData(const TsSkinGenerals* value);   // copies the collection
    TsSkinImages* Images() const { return FImages.get(); }
    void SetImages(const TsSkinImages* value);
    TsSkinPatterns* Patterns() const { return FPatterns.get(); }
    void SetPatterns(const TsSkinPatterns* value);
    classes::TBitmap* MasterBitmap() const { return FMasterBitmap.get(); }
    void SetMasterBitmap(const classes::TBitmap* value);   // copies the picture

    classes::TColor Shadow1Color = 0;
    int Shadow1Offset = 0;
    int Shadow1Blur = -1;
    int Shadow1Transparency = 0;
    double Version = 0;
    std::string Author;
    std::string Description;

private:
    std::string FName;
    std::unique_ptr<TsSkinGenerals> FGeneralData;
    std::unique_ptr<TsSkinImages> FImages;
    std::unique_ptr<TsSkinPatterns> FPatterns;
    std::unique_ptr<classes::TBitmap> FMasterBitmap;
};

// The stored skins of a skin manager.
class TsStoredSkins : public classes::TOwnedCollection {
public:
    explicit TsStoredSkins(classes::TPersistent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    TsStoredSkin* Items(int index) const { return Item<TsStoredSkin>(index); }
    TsStoredSkin* Add() { return static_cast<TsStoredSkin*>(TCollection::Add()); }
    int IndexOf(const std::string& name) const;   // exact name; -1 when none
};

// Registers the stored-skin classes and TsSkinManager for streaming by name.
void RegisterStoredSkinClasses();

}

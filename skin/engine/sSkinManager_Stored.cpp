// TsSkinManager and stored skins: copying a skin stored with the main window into the tables.
#include "skin/engine/sSkinManager.h"

#include "platform/base/Strings.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TJPEGImage.h"
#include "skin/engine/sSkinImageValues.h"
#include "skin/engine/sStoredSkins.h"
#include "skin/engine/sUtils.h"

namespace korvex::skin {

using classes::TBitmap;
using classes::TJPEGImage;

void TsSkinManager::LoadStoredMasks(const TsStoredSkin& skin) {
    if (!skin.MasterBitmap()->Empty()) {
        MasterBitmap = std::make_unique<TBitmap>();
        MasterBitmap->Assign(skin.MasterBitmap());
        MasterBitmap->SetTransparentColor(TransparentSkinColor);
        MasterBitmap->SetTransparent(true);
        MasterBitmap->SetPixelFormat(classes::pf24bit);
        MasterBitmap->SetHandleType(classes::bmDIB);
    }
    const TsSkinImages& images = *skin.Images();
    for (int i = 0; i < images.Count(); ++i) {
        const TsSkinImage& item = *images.Items(i);
        TsMaskData m;
        if (!item.Name.empty()) {
            if (item.Image()->Empty()) continue;   // an own picture of 0 x 0 shows nothing
            m.Bmp = std::make_unique<TBitmap>();
            m.Bmp->Assign(item.Image());
            m.Bmp->SetPixelFormat(classes::pf24bit);
            m.R = classes::Rect(0, 0, m.Bmp->Width(), m.Bmp->Height());
        } else {
            m.R = classes::Rect(item.Left, item.Top, item.Right, item.Bottom);
            if (m.R.right <= m.R.left || m.R.bottom <= m.R.top) continue;
        }
        m.PropertyName = base::UpperCase(item.PropertyName);
        m.ClassName = base::UpperCase(item.SectionName);
        m.ImageCount = item.ImageCount;
        m.MaskType = item.MaskType;
        if (m.ImageCount == 0) {
            m.MaskType = 1;
            m.ImageCount = 3;
        }
        m.ImageCount = std::max(m.ImageCount, 1);
        m.MaskType = std::max(m.MaskType, 0);
        if (!HasSaneGeometry(m)) continue;   // numbers no painter could step through
        m.BorderWidth = item.BorderWidth;
        if (m.PropertyName == "PATTERN" || m.PropertyName == "HOTPATTERN") {
            m.StretchMode = item.ImgType == itisaTexture ? item.StretchMode : 0;
            m.ImgType = itisaTexture;
        } else {
            m.StretchMode = item.StretchMode;
            m.ImgType = item.ImgType;
        }
        m.Manager = this;
        Masks.push_back(std::move(m));
    }
}

void TsSkinManager::LoadStoredPatterns(const TsStoredSkin& skin) {
    const TsSkinPatterns& patterns = *skin.Patterns();
    for (int i = 0; i < patterns.Count(); ++i) {
        const TsSkinPattern& item = *patterns.Items(i);
        const TJPEGImage* source = item.Image();
        if (source->Empty()) {
            // items with the same file name share the first picture stored under it
            source = nullptr;
            for (int j = 0; j < patterns.Count() && source == nullptr; ++j) {
                const TsSkinPattern& other = *patterns.Items(j);
                if (other.Name == item.Name && !other.Image()->Empty()) source = other.Image();
            }
        }
        TsPatternData p;
        p.Img = std::make_unique<TJPEGImage>();
        if (source != nullptr) p.Img->Assign(source);   // none: the picture stays empty
        p.ClassName = base::UpperCase(item.SectionName);
        p.PropertyName = base::UpperCase(item.PropertyName);
        Patterns.push_back(std::move(p));
    }
}

namespace {

// Five blank-separated numbers into colours; false at the first word that is not one (the ones before stay).
bool ReadFontColors(const std::string& text, TsFontColors& colors) {
    if (WordCount(text, " ") != 5) {
        colors[1] = 0;
        for (int i = 2; i <= 5; ++i)
            colors[i] = -1;
        return true;
    }
    for (int i = 1; i <= 5; ++i) {
        int value = 0;
        if (!TryDecimal(ExtractWord(i, text, " "), value)) return false;
        colors[i] = value;
    }
    return true;
}

}

void TsSkinManager::LoadStoredSections(const TsStoredSkin& skin) {
    LoadedSkin.Version = skin.Version;
    LoadedSkin.Author = skin.Author;
    LoadedSkin.Description = skin.Description;
    LoadedSkin.Shadow1Color = skin.Shadow1Color;
    LoadedSkin.Shadow1Offset = skin.Shadow1Offset;
    LoadedSkin.Shadow1Blur = skin.Shadow1Blur;
    LoadedSkin.Shadow1Transparency = ClampPercent(skin.Shadow1Transparency);

    const TsSkinGenerals& generals = *skin.GeneralData();
    for (int i = 0; i < generals.Count(); ++i) {
        const TsSkinGeneral& g = *generals.Items(i);
        TsGeneralData d;
        d.ClassName = g.SectionName;
        d.ParentClass = g.ParentClass;
        d.Color = g.Color;
        d.Bevel = g.Bevel;
        d.ShadowBlur = g.ShadowBlur;
        d.ShadowOffset = g.ShadowOffset;
        d.ShadowColor = g.ShadowColor;
        d.ShadowTransparency = g.ShadowTransparency;
        d.ShadowEnabled = g.ShadowEnabled;
        d.ReservedBoolean = g.ReservedBoolean;
        d.Transparency = g.Transparency;
        d.GradientPercent = g.GradientPercent;
        d.ImagePercent = g.ImagePercent;
        d.GradientData = g.GradientData;
        ParseGradientData(d.GradientData, d.GradientArray);
        d.ShowFocus = g.ShowFocus;
        d.FadingEnabled = g.FadingEnabled;
        d.FadingIntervalIn = g.FadingIntervalIn;
        d.FadingIntervalOut = g.FadingIntervalOut;
        d.FadingIterations = g.FadingIterations;
        d.HotColor = g.HotColor;
        d.HotTransparency = g.HotTransparency;
        d.HotBevel = g.HotBevel;
        d.HotGradientPercent = g.HotGradientPercent;
        d.HotGradientData = g.HotGradientData;
        ParseGradientData(d.HotGradientData, d.HotGradientArray);
        d.HotImagePercent = g.HotImagePercent;
        // A word that is not a number ends the copy of this item; what was copied before stays.
        if (ReadFontColors(g.HotFontColor, d.HotFontColor) && ReadFontColors(g.FontColor, d.FontColor)) {
            d.BorderColor1 = g.BorderColor1;
            d.BorderColor2 = g.BorderColor2;
        }
        ClampPercentages(d);
        Sections.push_back(std::move(d));
    }
}

}

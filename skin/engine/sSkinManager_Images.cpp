// TsSkinManager images: the master bitmap, image values and JPEG patterns of a skin folder and of CommonSections.
#include "skin/engine/sSkinManager.h"

#include "platform/base/Assert.h"
#include "platform/base/Strings.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TJPEGImage.h"
#include "platform/classes/TMemIniFile.h"
#include "platform/classes/TStringList.h"
#include "platform/os/Files.h"
#include "skin/engine/sSkinImageValues.h"
#include "skin/engine/sSkinIni.h"
#include "skin/engine/sSkinPictures.h"
#include "skin/engine/sStoredSkins.h"

namespace korvex::skin {

using classes::TBitmap;
using classes::TJPEGImage;

namespace {

// JPEGs smaller than this many pixels become bitmap textures at load time.
constexpr std::int64_t PatternMinPixels = 90000;

bool HasArea(int width, int height) {
    return width > 0 && height > 0;
}

// A loader uses the pictures of the running load, or pictures of its own when it runs outside one.
class PicturesOfLoad {
public:
    PicturesOfLoad()
        : FOwn(SkinLoadPictures() == nullptr) {
        if (FOwn) SkinLoadPictures() = std::make_unique<TsSkinPictures>();
    }
    ~PicturesOfLoad() {
        if (FOwn) SkinLoadPictures().reset();
    }
    PicturesOfLoad(const PicturesOfLoad&) = delete;
    PicturesOfLoad& operator=(const PicturesOfLoad&) = delete;

private:
    bool FOwn;
};

std::unique_ptr<TBitmap> LoadPicture(const std::string& fileName) {
    KORVEX_ASSERT(SkinLoadPictures() != nullptr);
    return SkinLoadPictures()->Bitmap(fileName);
}

std::unique_ptr<TJPEGImage> LoadJpeg(const std::string& fileName) {
    KORVEX_ASSERT(SkinLoadPictures() != nullptr);
    return SkinLoadPictures()->Jpeg(fileName);
}

bool IsJpegName(const std::string& value) {
    const std::string upper = base::UpperCase(value);
    return upper.find(".JPG") != std::string::npos || upper.find(".JPEG") != std::string::npos;
}

// Every key of the common sections with its value ("-" for none), in the order of the lines.
template <class Visit>
void ForEachCommonValue(const classes::TStringList& common, Visit visit) {
    if (common.Count() == 0) return;
    classes::TMemIniFile ini;
    ini.SetStrings(common);
    classes::TStringList sections;
    ini.ReadSections(sections);
    for (int s = 0; s < sections.Count(); ++s) {
        const std::string section = sections.Strings(s);
        classes::TStringList keys;
        ini.ReadSection(section, keys);
        for (int k = 0; k < keys.Count(); ++k) {
            const std::string key = keys.Strings(k);
            visit(section, key, ini.ReadString(section, key, "-"));
        }
    }
}

void AddPattern(TsPatternArray& patterns, const std::string& section, const std::string& key,
    std::unique_ptr<TJPEGImage> jpeg) {
    TsPatternData p;
    p.Img = std::move(jpeg);
    p.ClassName = base::UpperCase(section);
    p.PropertyName = base::UpperCase(key);
    patterns.push_back(std::move(p));
}

}

bool TsSkinManager::AddFileImage(const std::string& section, const std::string& key, const std::string& fileName,
    int imageCount, int maskType, TacImgType type, bool make24bit) {
    std::unique_ptr<TBitmap> bmp = LoadPicture(SkinFileName(fileName));
    if (bmp == nullptr) return false;
    if (make24bit) bmp->SetPixelFormat(classes::pf24bit);
    TsMaskData m;
    m.R = classes::Rect(0, 0, bmp->Width(), bmp->Height());
    m.Bmp = std::move(bmp);
    m.ClassName = section;
    m.PropertyName = key;
    m.ImageCount = std::max(imageCount, 1);
    m.MaskType = std::max(maskType, 0);
    m.ImgType = type;
    m.Manager = this;
    Masks.push_back(std::move(m));
    return true;
}

namespace {

void AddRectImage(TsSkinManager& sm, const std::string& section, const std::string& key, const TsImageValue& v) {
    if (!HasArea(v.R.right - v.R.left, v.R.bottom - v.R.top)) return;   // nothing a painter could step through
    TsMaskData m;
    m.ClassName = v.UpperNames ? base::UpperCase(section) : section;
    m.PropertyName = v.UpperNames ? base::UpperCase(key) : key;
    m.R = v.R;
    m.ImageCount = v.ImageCount;
    m.MaskType = v.MaskType;
    m.BorderWidth = v.BorderWidth;
    m.StretchMode = v.StretchMode;
    m.ImgType = v.ImgType;
    m.Margins = v.Margins;
    m.Manager = &sm;
    sm.Masks.push_back(std::move(m));
}

}

void TsSkinManager::LoadAllMasks() {
    Masks.clear();
    MasterBitmap.reset();
    const PicturesOfLoad pictures;
    bool loaded = false;
    if (const TsSkinIniIndex* ini = SkinLoadIndex()) {
        loaded = true;
        const std::string* master = ini->Value(ini->IndexOf("GLOBALINFO"), "MASTERBITMAP");
        if (master != nullptr && !master->empty()) {
            if (std::unique_ptr<TBitmap> bmp = LoadPicture(SkinFileName(*master))) {
                bmp->SetPixelFormat(classes::pf24bit);
                bmp->SetTransparentColor(TransparentSkinColor);
                bmp->SetTransparent(true);
                bmp->SetHandleType(classes::bmDIB);
                MasterBitmap = std::move(bmp);
            }
        }
        for (int s = 0; s < ini->Count(); ++s) {
            const std::string& section = ini->Name(s);
            const bool globalInfo = base::SameText(section, "GLOBALINFO");
            for (const TsSkinIniIndex::TKey& k : ini->Keys(s)) {
                const std::string& key = k.Name;
                if (globalInfo && base::SameText(key, "MASTERBITMAP")) continue;
                const std::string& value = k.Value;
                if (value.empty()) continue;
                const TsImageValue v = ParseImageValue(key, value);
                if (v.Form == TsImageForm::None || !v.Valid) continue;   // data, or numbers that do not read
                switch (v.Form) {
                case TsImageForm::File:
                    AddFileImage(
                        section, key, v.FileName, v.ImageCount, v.MaskType, v.ImgType, v.ImgType != itisaTexture);
                    break;
                case TsImageForm::BmpFile:
                    AddFileImage(base::UpperCase(section), base::UpperCase(key), v.FileName, 3, 1, itisaBorder, true);
                    break;
                default:
                    AddRectImage(*this, section, key, v);
                    break;
                }
            }
        }
    } else if (const TsStoredSkin* stored = FindStoredSkin()) {
        loaded = true;
        LoadStoredMasks(*stored);
    }
    if (loaded) LoadCommonMasks();
}

void TsSkinManager::LoadCommonMasks() {
    ForEachCommonValue(*FCommonSections, [&](const std::string& section, const std::string& key,
                                              const std::string& value) {
        if (base::UpperCase(section) == "GLOBALINFO") return;
        if (MasterBitmap != nullptr && value != "#" && value.find('#') != std::string::npos) {
            const TsImageValue v = ParseRectImageValue(key, value);
            if (v.Valid) AddRectImage(*this, section, key, v);
        } else if (base::UpperCase(value).find(".BMP") != std::string::npos) {
            AddFileImage(base::UpperCase(section), base::UpperCase(key), value, 3, 1, itisaBorder, true);
        }
    });
}

void TsSkinManager::LoadAllPatterns() {
    Patterns.clear();
    const PicturesOfLoad pictures;
    bool loaded = false;
    if (const TsSkinIniIndex* ini = SkinLoadIndex()) {
        loaded = true;
        for (int s = 0; s < ini->Count(); ++s) {
            const std::string& section = ini->Name(s);
            for (const TsSkinIniIndex::TKey& k : ini->Keys(s)) {
                const std::string& key = k.Name;
                const std::string& value = k.Value;
                if (!IsJpegName(value)) continue;
                std::unique_ptr<TJPEGImage> jpeg = LoadJpeg(SkinFileName(value));
                if (jpeg == nullptr || !HasArea(jpeg->Width(), jpeg->Height())) continue;
                const std::int64_t pixels = std::int64_t(jpeg->Width()) * jpeg->Height();
                if (pixels < PatternMinPixels) {
                    // small pictures become bitmap textures, so painting never decodes them again
                    TsMaskData m;
                    m.Bmp = std::make_unique<TBitmap>();
                    m.Bmp->Assign(jpeg.get());
                    m.Bmp->SetPixelFormat(classes::pf24bit);
                    m.R = classes::Rect(0, 0, m.Bmp->Width(), m.Bmp->Height());
                    m.ClassName = base::UpperCase(section);
                    m.PropertyName = base::UpperCase(key);
                    m.ImgType = itisaTexture;
                    m.ImageCount = 1;
                    m.MaskType = 0;
                    m.Manager = this;
                    Masks.push_back(std::move(m));
                } else {
                    AddPattern(Patterns, section, key, std::move(jpeg));
                }
            }
        }
    } else if (const TsStoredSkin* stored = FindStoredSkin()) {
        loaded = true;
        LoadStoredPatterns(*stored);
    }
    if (loaded) LoadCommonPatterns();
}

void TsSkinManager::LoadCommonPatterns() {
    ForEachCommonValue(*FCommonSections, [&](const std::string& section, const std::string& key,
                                              const std::string& value) {
        if (!IsJpegName(value)) return;
        std::unique_ptr<TJPEGImage> jpeg = LoadJpeg(SkinFileName(value));
        if (jpeg != nullptr && HasArea(jpeg->Width(), jpeg->Height()))
            AddPattern(Patterns, section, key, std::move(jpeg));
    });
}

}

// The stored form of our skins, made by loading each skin folder and copying its tables.
#include "tools/skingen/StoredForm.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TJPEGImage.h"
#include "platform/classes/TWriter.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStoredSkins.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace korvex::skingen {

using namespace korvex::skin;

namespace {

std::string FiveColors(const TsFontColors& colors) {
    std::string text;
    for (int i = 1; i <= 5; ++i)
        text += (i > 1 ? " " : "") + std::to_string(colors[i]);
    return text;
}

// A folder under the system's temporary folder, removed with what it holds.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "skingen-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
        FPath = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(FPath, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

}

void CopyToStoredSkin(const TsSkinManager& loaded, TsStoredSkin& stored, const std::string& name) {
    stored.SetName(name);
    for (const TsGeneralData& s : loaded.Sections) {
        TsSkinGeneral* g = stored.GeneralData()->Add();
        g->SectionName = s.ClassName;
        g->ParentClass = s.ParentClass;
        g->Color = s.Color;
        g->Bevel = s.Bevel;
        g->ShadowBlur = s.ShadowBlur;
        g->ShadowColor = s.ShadowColor;
        g->ShadowEnabled = s.ShadowEnabled;
        g->ReservedBoolean = s.ReservedBoolean;
        g->ShadowOffset = s.ShadowOffset;
        g->ShadowTransparency = s.ShadowTransparency;
        g->FontColor = FiveColors(s.FontColor);
        g->HotFontColor = FiveColors(s.HotFontColor);
        g->Transparency = s.Transparency;
        g->GradientPercent = s.GradientPercent;
        g->GradientData = s.GradientData;
        g->ImagePercent = s.ImagePercent;
        g->ShowFocus = s.ShowFocus;
        g->FadingEnabled = s.FadingEnabled;
        g->FadingIntervalIn = s.FadingIntervalIn;
        g->FadingIntervalOut = s.FadingIntervalOut;
        g->FadingIterations = s.FadingIterations;
        g->HotColor = s.HotColor;
        g->HotTransparency = s.HotTransparency;
        g->HotBevel = s.HotBevel;
        g->HotGradientPercent = s.HotGradientPercent;
        g->HotGradientData = s.HotGradientData;
        g->HotImagePercent = s.HotImagePercent;
        g->BorderColor1 = s.BorderColor1;
        g->BorderColor2 = s.BorderColor2;
    }
    for (const TsMaskData& m : loaded.Masks) {
        TsSkinImage* im = stored.Images()->Add();
        im->SectionName = m.ClassName;
        im->PropertyName = m.PropertyName;
        if (m.Bmp) {
            im->SetImage(m.Bmp.get());
            im->Name = m.PropertyName + ".BMP";
        }
        im->Left = m.R.left;
        im->Top = m.R.top;
        im->Right = m.R.right;
        im->Bottom = m.R.bottom;
        im->ImageCount = m.ImageCount;
        im->MaskType = m.MaskType;
        im->BorderWidth = m.BorderWidth;
        im->StretchMode = m.StretchMode;
        im->ImgType = m.ImgType;
    }
    for (const TsPatternData& p : loaded.Patterns) {
        TsSkinPattern* pattern = stored.Patterns()->Add();
        pattern->SectionName = p.ClassName;
        pattern->PropertyName = p.PropertyName;
        pattern->Name = p.PropertyName + ".JPG";
        if (p.Img) pattern->SetImage(p.Img.get());
    }
    if (loaded.MasterBitmap) stored.SetMasterBitmap(loaded.MasterBitmap.get());
    stored.Shadow1Color = loaded.LoadedSkin.Shadow1Color;
    stored.Shadow1Offset = loaded.LoadedSkin.Shadow1Offset;
    stored.Shadow1Blur = loaded.LoadedSkin.Shadow1Blur;
    stored.Shadow1Transparency = loaded.LoadedSkin.Shadow1Transparency;
    stored.Version = loaded.LoadedSkin.Version;
    stored.Author = loaded.LoadedSkin.Author;
    stored.Description = loaded.LoadedSkin.Description;
}

std::string StoredSkinsText(const std::vector<const TSkinModel*>& skins) {
    TempDir dir;
    auto owner = std::make_unique<classes::TComponent>(nullptr);
    auto* writer = classes::Create<TsSkinManager>(owner.get());
    auto* loader = classes::Create<TsSkinManager>(owner.get());
    loader->SetActive(false);
    loader->SetSkinDirectory(dir.Path());
    for (const TSkinModel* model : skins) {
        model->WriteFolder(dir.Path());
        loader->SetSkinName(model->Name());
        loader->SetActive(true);
        SkinChanging = false;
        if (loader->LoadedSkin.SkinPath.empty() || loader->Sections.empty())
            throw std::runtime_error("skin " + model->Name() + " did not load from its folder");
        CopyToStoredSkin(*loader, *writer->InternalSkins()->Add(), model->Name());
        loader->SetActive(false);
    }
    // Written as the default manager would be, so the text carries no IsDefault entry.
    base::ValueRollback<TsSkinManager*> asDefault(DefaultManager, writer);
    return classes::WriteComponent(writer);
}

}

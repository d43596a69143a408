// TsHintManager and TsHintKind: the hint window class, the presets and the application's hint settings.
#include "skin/windows/sHintManager.h"

#include "platform/classes/GraphicsObjects.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TForm.h"
#include "platform/classes/TPicture.h"
#include "platform/user/LayeredWindow.h"
#include "skin/engine/sSkinManager.h"
#include "skin/windows/sHintWindows.h"

namespace korvex::skin {

using namespace classes;

namespace {

// The manager's handler as the application holds it: it can tell whose it is.
struct ManagerShowHint {
    TsHintManager* Manager;
    void (*Call)(TsHintManager*, std::string&, bool&, THintInfo&);
    void operator()(std::string& hintStr, bool& canShow, THintInfo& hintInfo) const {
        Call(Manager, hintStr, canShow, hintInfo);
    }
};

// The manager that chose the application's hint window class last (nullptr: the library's own class).
TsHintManager* WindowClassOwner = nullptr;

struct Preset {
    TsHintStyle Style;
    int BevelWidth;
    int ExOffset;   // -1: kept
    int MarginH;
    int MarginV;
    int MaxWidth;
    int Radius;   // -1: kept
    TColor Color;
    int Transparency;
    TColor ColorBorderTop;
    TColor ColorBorderBottom;
    int Bevel;
    int GradientPercent;
    const char* GradientData;
    int ShadowBlur;
    int ShadowOffset;
    int ShadowTransparency;
};

// The first seven presets, in the order of TsHintsPredefinitions.
inline constexpr Preset Presets[] = {
    {hsSimply, 1, -1, 4, 2, 240, -1, clInfoBk, 0, 0, 0, 1, 0, "", 3, 6, 40},
    {hsSimply, 1, -1, 6, 3, 240, -1, 11992314, 10, 16777215, 32896, 1, 100,
        "167827;6865090;24;2;0;6865090;6865090;24;2;0;6865090;15400959;24;2;0;15400959;6865090;24;2;0;6865090;6865090;"
        "0;2;0",
        5, 6, 50},
    {hsSimply, 0, -1, 13, 5, 240, -1, 11992314, 20, 16777215, 32896, 1, 0, "", 3, 10, 70},
    {hsEllipse, 1, 16, 6, 12, 240, -1, 12778748, 5, 32896, 0, 1, 100, "7728127;16777215;99;0;0;16777215;16777215;0;0;0",
        4, 16, 75},
    {hsBalloon, 1, 18, 6, 6, 240, -1, 12778748, 10, 4227200, 4227200, 1, 0, "", 6, 8, 70},
    {hsComics, 1, 24, 15, 7, 180, 21, 16757839, 8, 4194304, 4194304, 1, 100,
        "16753188;16777215;99;0;0;16777215;16777215;0;0;0", 10, 7, 28},
    {hsComics, 1, 19, 15, 8, 180, 13, 12778748, 10, 0, 0, 1, 0, "", 4, 7, 45},
};

}   // namespace

bool LayeredWindowsAvailable() {
    return user::HasCompositor();
}

bool HintUsesSkin(const TsHintManager* manager) {
    if (CurrentHintManager == nullptr || manager == nullptr || DefaultManager == nullptr) return false;
    if (!manager->UseSkinData() || manager->SkinSection().empty()) return false;
    return DefaultManager->GetSkinIndex(manager->SkinSection()) > -1;
}

// ---- TsHintKind ----------------------------------------------------------------------------------------

TsHintKind::TsHintKind(TsHintManager* manager)
    : FManager(manager)
    , FTexture(std::make_unique<TPicture>())
    , FFont(std::make_unique<TFont>()) {
}

TsHintKind::~TsHintKind() = default;

TClass TsHintKind::StaticClass() {
    using T = TsHintKind;
    static const TClassInfo info = MakeClass<T, TPersistent>("TsHintKind", [](TPropertyBuilder<T>& p) {
        p.Enum("Style", &T::Style, &T::SetStyle, HintStyleIdents, hsEllipse);
        p.Int("Radius", &T::Radius, &T::SetRadius, 20);
        p.Int("BevelWidth", &T::BevelWidth, &T::SetBevelWidth, 1);
        p.Int("Blur", &T::Blur, &T::SetBlur, 0);
        p.Int("ExOffset", &T::ExOffset, &T::SetExOffset, 32);
        p.String("GradientData", &T::GradientData, &T::SetGradientData);
        p.Object("Texture", &T::Texture, &T::SetTexture);
        p.String("TextureFile", &T::TextureFile, &T::SetTextureFile);
        p.Int("GradientPercent", &T::GradientPercent, &T::SetGradientPercent, 0);
        p.Int("TexturePercent", &T::TexturePercent, &T::SetTexturePercent, 0);
        p.Int("Bevel", &T::Bevel, &T::SetBevel, 0);
        p.Color("Color", &T::Color, &T::SetColor, 0);
        p.Color("ColorBorderTop", &T::ColorBorderTop, &T::SetColorBorderTop, 0);
        p.Color("ColorBorderBottom", &T::ColorBorderBottom, &T::SetColorBorderBottom, 0);
        p.Int("Transparency", &T::Transparency, &T::SetTransparency, 0);
        p.Int("ShadowBlur", &T::ShadowBlur, &T::SetShadowBlur, 0);
        p.Color("ShadowColor", &T::ShadowColor, &T::SetShadowColor, 0);
        p.Bool("ShadowEnabled", &T::ShadowEnabled, &T::SetShadowEnabled, false);
        p.Int("ShadowOffset", &T::ShadowOffset, &T::SetShadowOffset, 0);
        p.Int("ShadowTransparency", &T::ShadowTransparency, &T::SetShadowTransparency, 0);
        p.Int("MarginH", &T::MarginH, &T::SetMarginH, 15);
        p.Int("MarginV", &T::MarginV, &T::SetMarginV, 10);
        p.Int("MaxWidth", &T::MaxWidth, &T::SetMaxWidth, 200);
        p.Object("Font", &T::Font, &T::SetFont);
    });
    return &info;
}

void TsHintKind::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TsHintKind*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    FRadius = other->FRadius;
    FBevelWidth = other->FBevelWidth;
    FExOffset = other->FExOffset;
    FGradientData = other->FGradientData;
    FTexture->Assign(other->FTexture.get());
    FTextureFile = other->FTextureFile;
    FGradientPercent = other->FGradientPercent;
    FTexturePercent = other->FTexturePercent;
    FBevel = other->FBevel;
    FColor = other->FColor;
    FColorBorderTop = other->FColorBorderTop;
    FColorBorderBottom = other->FColorBorderBottom;
    FTransparency = other->FTransparency;
    FShadowBlur = other->FShadowBlur;
    FShadowEnabled = other->FShadowEnabled;
    FShadowOffset = other->FShadowOffset;
    FShadowTransparency = other->FShadowTransparency;
    FMarginH = other->FMarginH;
    FMarginV = other->FMarginV;
    FMaxWidth = other->FMaxWidth;
    FFont->Assign(other->FFont.get());
    SetStyle(other->FStyle);   // last: it re-selects the window class
}

void TsHintKind::SetStyle(TsHintStyle value) {
    FStyle = value;
    if (FManager != nullptr) FManager->UpdateHintWindowClass(value);
}

void TsHintKind::SetTexture(const TPicture* value) {
    FTexture->Assign(value);
}

void TsHintKind::SetFont(const TFont* value) {
    FFont->Assign(value);
}

bool TsHintKind::ShadowEnabled() const {
    return FShadowEnabled && !HintUsesSkin(FManager);
}

// ---- TsHintManager -------------------------------------------------------------------------------------

TsHintManager::TsHintManager(TComponent* owner)
    : TComponent(owner)
    , FHintKind(std::make_unique<TsHintKind>(this))
    , FHintBitmap(std::make_unique<TBitmap>()) {
    FHintBitmap->SetPixelFormat(pf24bit);
    auto* control = dynamic_cast<TControl*>(owner);
    while (control != nullptr && dynamic_cast<TCustomForm*>(control) == nullptr)
        control = control->Parent();
    if (control != nullptr) FOwnerForm = std::make_unique<TComponentWatch>(control);
    if (Application == nullptr) return;
    Application->SetHintPause(500);
    Application->SetHintShortPause(200);
    if (Designing()) return;
    FPreviousShowHint = Application->OnShowHint;
    Application->OnShowHint = ManagerShowHint {
        this, [](TsHintManager* m, std::string& s, bool& c, THintInfo& i) { m->DoApplicationShowHint(s, c, i); }};
    FInstalledShowHint = true;
}

TCustomForm* TsHintManager::OwnerForm() const {
    return FOwnerForm ? FOwnerForm->As<TCustomForm>() : nullptr;
}

TsHintManager::~TsHintManager() {
    // The application and the hint windows must not reach a freed manager.
    if (FInstalledShowHint && Application != nullptr) {
        const auto* installed = Application->OnShowHint.target<ManagerShowHint>();
        if (installed != nullptr && installed->Manager == this) Application->OnShowHint = FPreviousShowHint;
    }
    if (CurrentHintManager == this) CurrentHintManager = nullptr;
    if (WindowClassOwner == this) {
        WindowClassOwner = nullptr;
        HintWindowClass = nullptr;
    }
}

TClass TsHintManager::StaticClass() {
    using T = TsHintManager;
    static const TClassInfo info = MakeClass<T, TComponent>("TsHintManager", [](TPropertyBuilder<T>& p) {
        p.Bool("Animated", &T::Animated, &T::SetAnimated, true);
        p.Enum("DefaultMousePos", &T::DefaultMousePos, &T::SetDefaultMousePos, MousePositionIdents, mpLeftTop);
        p.Object("HintKind", &T::HintKind, &T::SetHintKind);
        p.Bool("HTMLMode", &T::HTMLMode, &T::SetHTMLMode, false);
        p.Int("PauseHide", &T::PauseHide, &T::SetPauseHide, DefaultPauseHide);
        p.Enum("Predefinitions", &T::Predefinitions, &T::SetPredefinitions, HintsPredefinitionsIdents, shEllipse);
        p.String("SkinSection", &T::SkinSection, &T::SetSkinSection);
        p.Bool("UseSkinData", &T::UseSkinData, &T::SetUseSkinData, false);
        p.Event("OnShowHint", &T::OnShowHint);
    });
    return &info;
}

void TsHintManager::AfterConstruction() {
    TComponent::AfterConstruction();
    if (FSkinSection.empty()) FSkinSection = DefaultSkinSection;
    UpdateHintWindowClass(FHintKind->Style());
}

void TsHintManager::Loaded() {
    TComponent::Loaded();
    if (Application != nullptr) Application->SetHintHidePause(FPauseHide);
    if (FSkinSection.empty()) FSkinSection = DefaultSkinSection;
    UpdateHintWindowClass(FHintKind->Style());
    if (!Designing()) ApplyPredefinitions();
}

void TsHintManager::SetHintKind(const TsHintKind* value) {
    if (value == nullptr || value == FHintKind.get()) return;
    FHintKind->Assign(value);
}

void TsHintManager::SetUseSkinData(bool value) {
    FUseSkinData = value;
    if (value || Designing()) return;
    UpdateHintWindowClass(FHintKind->Style());
    ApplyPredefinitions();
}

void TsHintManager::DoApplicationShowHint(std::string& hintStr, bool& canShow, THintInfo& hintInfo) {
    if (OnShowHint) OnShowHint(hintStr, canShow, hintInfo);
}

void TsHintManager::UpdateHintWindowClass(TsHintStyle style) {
    if (Designing()) return;
    WindowClassOwner = this;
    CurrentHintManager = this;
    switch (style) {
    case hsSimply:
        HintWindowClass = [](TComponent* owner) -> THintWindow* { return new TsSimplyHintWindow(owner); };
        break;
    case hsComics:
        HintWindowClass = [](TComponent* owner) -> THintWindow* { return new TsComicsHintWindow(owner); };
        break;
    case hsEllipse:
        HintWindowClass = [](TComponent* owner) -> THintWindow* { return new TsEllipseHintWindow(owner); };
        break;
    case hsBalloon:
        HintWindowClass = [](TComponent* owner) -> THintWindow* { return new TsBalloonHintWindow(owner); };
        break;
    case hsStandard:
        HintWindowClass = nullptr;   // the library's own window
        CurrentHintManager = nullptr;
        break;
    case hsNone:
        HintWindowClass = [](TComponent* owner) -> THintWindow* { return new TsSimplyHintWindow(owner); };
        CurrentHintManager = nullptr;   // the skinned windows then show nothing
        break;
    }
}

void TsHintManager::ApplyPredefinitions() {
    TsHintKind* k = FHintKind.get();
    switch (FPredefinitions) {
    case shCustom:
        return;
    case shStandard:
        k->SetStyle(hsStandard);
        return;
    case shNone:
        k->SetStyle(hsNone);
        return;
    default:
        break;
    }
    const Preset& p = Presets[FPredefinitions];
    k->SetBevelWidth(p.BevelWidth);
    if (p.ExOffset >= 0) k->SetExOffset(p.ExOffset);
    k->SetMarginH(p.MarginH);
    k->SetMarginV(p.MarginV);
    k->SetMaxWidth(p.MaxWidth);
    if (p.Radius >= 0) k->SetRadius(p.Radius);
    k->SetColor(p.Color);
    k->SetTransparency(p.Transparency);
    k->SetColorBorderTop(p.ColorBorderTop);
    k->SetColorBorderBottom(p.ColorBorderBottom);
    k->SetBevel(p.Bevel);
    k->SetGradientPercent(p.GradientPercent);
    k->SetGradientData(p.GradientData);
    k->SetShadowBlur(p.ShadowBlur);
    k->SetShadowEnabled(true);
    k->SetShadowOffset(p.ShadowOffset);
    k->SetShadowTransparency(p.ShadowTransparency);
    k->Font()->SetStyle({});
    k->Font()->SetColor(0);
    k->SetStyle(p.Style);
}

}

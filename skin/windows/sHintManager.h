// TsHintManager: the application's hint look (window class, TsHintKind settings, presets, hint timing).
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/TApplication.h"
#include "platform/classes/TComponent.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TPersistent.h"
#include "platform/gdi/GdiConstants.h"

#include <memory>
#include <string>
#include <string_view>

namespace korvex::classes {
class TBitmap;
class TFont;
class TPicture;
}

namespace korvex::skin {

enum TsHintStyle { hsSimply, hsComics, hsEllipse, hsBalloon, hsStandard, hsNone };
inline constexpr std::string_view HintStyleIdents[]
    = {"hsSimply", "hsComics", "hsEllipse", "hsBalloon", "hsStandard", "hsNone"};
// The corner of the hint at which the mouse pointer sits; the window grows away from it.
enum TsMousePosition { mpLeftTop, mpLeftBottom, mpRightTop, mpRightBottom };
inline constexpr std::string_view MousePositionIdents[] = {"mpLeftTop", "mpLeftBottom", "mpRightTop", "mpRightBottom"};
enum TsHintsPredefinitions {
    shSimply,
    shGradient,
    shTransparent,
    shEllipse,
    shBalloon,
    shComicsGradient,
    shComicsTransparent,
    shStandard,
    shNone,
    shCustom
};
inline constexpr std::string_view HintsPredefinitionsIdents[] = {"shSimply", "shGradient", "shTransparent", "shEllipse",
    "shBalloon", "shComicsGradient", "shComicsTransparent", "shStandard", "shNone", "shCustom"};

class TsHintManager;

// The appearance settings of the hints, owned by their manager.
class TsHintKind : public classes::TPersistent {
public:
    explicit TsHintKind(TsHintManager* manager = nullptr);
    ~TsHintKind() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void Assign(const classes::TPersistent* source) override;   // every setting but the manager

    TsHintStyle Style() const { return FStyle; }
    void SetStyle(TsHintStyle value);   // re-selects the hint window class
    int Radius() const { return FRadius; }
    void SetRadius(int value) { FRadius = value; }
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value) { FBevelWidth = value; }
    int Blur() const { return 0; }
    void SetBlur(int) { }   // always 0
    int ExOffset() const { return FExOffset; }
    void SetExOffset(int value) { FExOffset = value; }
    const std::string& GradientData() const { return FGradientData; }
    void SetGradientData(const std::string& value) { FGradientData = value; }
    classes::TPicture* Texture() const { return FTexture.get(); }
    void SetTexture(const classes::TPicture* value);
    const std::string& TextureFile() const { return FTextureFile; }
    void SetTextureFile(const std::string& value) { FTextureFile = value; }
    int GradientPercent() const { return FGradientPercent; }
    void SetGradientPercent(int value) { FGradientPercent = value; }
    int TexturePercent() const { return FTexturePercent; }
    void SetTexturePercent(int value) { FTexturePercent = value; }
    int Bevel() const { return FBevel; }
    void SetBevel(int value) { FBevel = value; }
    classes::TColor Color() const { return FColor; }
    void SetColor(classes::TColor value) { FColor = value; }
    classes::TColor ColorBorderTop() const { return FColorBorderTop; }
    void SetColorBorderTop(classes::TColor value) { FColorBorderTop = value; }
    classes::TColor ColorBorderBottom() const { return FColorBorderBottom; }
    void SetColorBorderBottom(classes::TColor value) { FColorBorderBottom = value; }
    int Transparency() const { return FTransparency; }
    void SetTransparency(int value) { FTransparency = value; }
    int ShadowBlur() const { return FShadowBlur; }
    void SetShadowBlur(int value) { FShadowBlur = value; }
    classes::TColor ShadowColor() const { return 0; }
    void SetShadowColor(classes::TColor) { }   // shadows are black
    // True only when set and the hints do not draw from the skin.
    bool ShadowEnabled() const;
    void SetShadowEnabled(bool value) { FShadowEnabled = value; }
    int ShadowOffset() const { return FShadowOffset; }
    void SetShadowOffset(int value) { FShadowOffset = value; }
    int ShadowTransparency() const { return FShadowTransparency; }
    void SetShadowTransparency(int value) { FShadowTransparency = value; }
    int MarginH() const { return FMarginH; }
    void SetMarginH(int value) { FMarginH = value; }
    int MarginV() const { return FMarginV; }
    void SetMarginV(int value) { FMarginV = value; }
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int value) { FMaxWidth = value; }
    classes::TFont* Font() const { return FFont.get(); }
    void SetFont(const classes::TFont* value);

    TsHintManager* Manager() const { return FManager; }

private:
    TsHintManager* FManager;
    TsHintStyle FStyle = hsEllipse;
    int FRadius = 20;
    int FBevelWidth = 1;
    int FExOffset = 32;
    std::string FGradientData;
    std::unique_ptr<classes::TPicture> FTexture;
    std::string FTextureFile;
    int FGradientPercent = 0;
    int FTexturePercent = 0;
    int FBevel = 0;
    classes::TColor FColor = 0;
    classes::TColor FColorBorderTop = 0;
    classes::TColor FColorBorderBottom = 0;
    int FTransparency = 0;
    int FShadowBlur = 0;
    bool FShadowEnabled = false;
    int FShadowOffset = 0;
    int FShadowTransparency = 0;
    int FMarginH = 15;
    int FMarginV = 10;
    int FMaxWidth = 200;
    std::unique_ptr<classes::TFont> FFont;
};

// Chooses the application's hint window class and holds the settings the hint windows draw with.
// The manager installs itself as the application's OnShowHint and forwards to its own OnShowHint; when it
// is freed, the application gets its previous handler back, and a manager that is current stops being so.
class TsHintManager : public classes::TComponent {
public:
    explicit TsHintManager(classes::TComponent* owner);
    ~TsHintManager() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;
    void Loaded() override;

    bool Animated() const { return FAnimated; }
    void SetAnimated(bool value) { FAnimated = value; }
    TsMousePosition DefaultMousePos() const { return FDefaultMousePos; }
    void SetDefaultMousePos(TsMousePosition value) { FDefaultMousePos = value; }
    TsHintKind* HintKind() const { return FHintKind.get(); }
    void SetHintKind(const TsHintKind* value);
    bool HTMLMode() const { return FHTMLMode; }
    void SetHTMLMode(bool value) { FHTMLMode = value; }
    int PauseHide() const { return FPauseHide; }
    void SetPauseHide(int value) { FPauseHide = value; }
    TsHintsPredefinitions Predefinitions() const { return FPredefinitions; }
    void SetPredefinitions(TsHintsPredefinitions value) { FPredefinitions = value; }   // applied later
    const std::string& SkinSection() const { return FSkinSection; }
    void SetSkinSection(const std::string& value) { FSkinSection = value; }
    bool UseSkinData() const { return FUseSkinData; }
    void SetUseSkinData(bool value);

    classes::TShowHintEvent OnShowHint;

    void UpdateHintWindowClass(TsHintStyle style);
    void ApplyPredefinitions();   // loads the preset named by Predefinitions into HintKind
    // The drawing surface every hint window shares (24 bits a pixel).
    classes::TBitmap* HintBitmap() const { return FHintBitmap.get(); }
    // The form the manager sits on: the first form up the owner's Parent chain (nullptr when none or freed).
    classes::TCustomForm* OwnerForm() const;

    static constexpr int DefaultPauseHide = 5000;
    static constexpr const char* DefaultSkinSection = "HINT";

private:
    void DoApplicationShowHint(std::string& hintStr, bool& canShow, classes::THintInfo& hintInfo);
    bool Designing() const { return ComponentState().Contains(classes::csDesigning); }

    bool FAnimated = true;
    TsMousePosition FDefaultMousePos = mpLeftTop;
    std::unique_ptr<TsHintKind> FHintKind;
    bool FHTMLMode = false;
    int FPauseHide = DefaultPauseHide;
    TsHintsPredefinitions FPredefinitions = shEllipse;
    std::string FSkinSection;
    bool FUseSkinData = false;
    std::unique_ptr<classes::TComponentWatch> FOwnerForm;
    std::unique_ptr<classes::TBitmap> FHintBitmap;
    classes::TShowHintEvent FPreviousShowHint;
    bool FInstalledShowHint = false;
};

// The manager whose settings the hint windows use; nullptr when none (or for hsStandard and hsNone).
inline TsHintManager* CurrentHintManager = nullptr;
// The hint windows' blend: source over, per-pixel source alpha; the constant alpha changes per hint.
inline gdi::BLENDFUNCTION HintBlend {0, 0, 255, 1};
// Layered hints (real per-pixel alpha) are shown when a compositor runs; else the hints compose themselves
// over a copy of the screen.
bool LayeredWindowsAvailable();
// The hints draw from the skin: a current manager with UseSkinData and a SkinSection the loaded skin has.
bool HintUsesSkin(const TsHintManager* manager);

}

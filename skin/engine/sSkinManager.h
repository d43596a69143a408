// TsSkinManager: owner of the current skin, its tables and look-ups, loading and recolouring.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/TComponent.h"
#include "skin/engine/Forward.h"
#include "skin/engine/sMenuSupport.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinData.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvex::classes {
class TApplication;
class TBitmap;
class TControl;
class TStrings;
class TStringList;
class TMemIniFile;
}

namespace korvex::skin {

// Process-wide state.
inline TsSkinManager* DefaultManager = nullptr;   // the first manager made; controls without one use it
inline bool SkinChanging = false;   // a skin is being (re)loaded; fading stays off meanwhile
inline bool NewSkinBroadcast = false;   // the new-skin command is being delivered

// Colour shifts of skin colours (0x00BBGGRR). Greys come back unchanged from the hue shift.
classes::TColor ChangeColorHue(int offset, classes::TColor color);   // system colours are converted first
classes::TColor ChangeColorSaturation(classes::TColor color, int amount);   // amount 100: grey; high byte kept
// Both shifts over a 24-bit bitmap: every pixel but the 0xFF00FF key and greys.
void ChangeBitmapHue(classes::TBitmap& bitmap, int offset);
void ChangeBitmapSaturation(classes::TBitmap& bitmap, int amount);

class TsSkinManager : public classes::TComponent {
public:
    explicit TsSkinManager(classes::TComponent* owner);
    ~TsSkinManager() override;
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }
    void AfterConstruction() override;

    // ---- Published properties (stream order) ----
    bool IsDefault() const { return DefaultManager == this; }
    void SetIsDefault(bool value);   // a default manager cannot be unset
    bool Active() const { return FActive; }
    void SetActive(bool value);
    classes::TStrings* CommonSections() const;
    void SetCommonSections(const classes::TStrings* value);   // blanks dropped from data lines; reloads
    int Saturation() const { return FSaturation; }
    void SetSaturation(int value);
    int HueOffset() const { return FHueOffset; }
    void SetHueOffset(int value);
    TsStoredSkins* InternalSkins() const { return FInternalSkins.get(); }
    void SetInternalSkins(const TsStoredSkins* value);   // only an empty source can be copied
    TacMenuSupport* MenuSupport() const { return FMenuSupport.get(); }
    void SetMenuSupport(const TacMenuSupport* value);   // copies
    const std::string& SkinDirectory() const { return FSkinDirectory; }
    void SetSkinDirectory(const std::string& value);
    const std::string& SkinName() const { return FSkinName; }
    void SetSkinName(const std::string& value);   // loads and announces while Active
    std::string SkinInfo() const;   // Version with '.' as separator, "N/A" with no skin loaded
    std::string Version() const { return "4.74"; }
    bool SkinnedPopups() const { return FSkinnedPopups; }
    void SetSkinnedPopups(bool value);

    classes::TNotifyEvent OnAfterChange;
    classes::TNotifyEvent OnBeforeChange;
    TacGetExtraLineData OnGetMenuExtraLineData;   // stored for the menu code, which calls it

    // ---- Menus and hover ----
    SkinableMenusLink* SkinableMenus() const { return FSkinableMenus.get(); }   // nullptr: menus not skinned
    // The default manager's hook of the application window: the menu code's popup messages. True: handled.
    bool MainWindowHook(classes::TMessage& message);
    // The control the skinned controls consider under the mouse; forgotten when it is freed.
    classes::TControl* HoveredControl() const { return FHoveredControl; }
    void SetHoveredControl(classes::TControl* control);

    // ---- Announcements ----
    void SendNewSkin();
    void SendRemoveSkin();
    void RepaintForms();
    // Stored skin names first, then the skin folders holding "Options.dat"; sorted without case, each name
    // once (a folder named like a stored skin is the same choice).
    void GetSkinNames(classes::TStrings& list, std::string& firstName) const;

    // ---- The tables (read by painters; test indexes with IsValidSkinIndex / IsValidImgIndex) ----
    TsGeneralDataArray Sections;   // index = skin index
    TsMaskArray Masks;   // index = mask index
    TsPatternArray Patterns;
    std::unique_ptr<classes::TBitmap> MasterBitmap;   // 24-bit, key 0xFF00FF; null when the skin has none
    TsSkinData LoadedSkin;
    TConstantSkinData ConstData;

    // ---- Look-ups: names compare exactly; never raise; -1 / false when not found ----
    int GetSkinIndex(const std::string& name) const;
    // With parent fall-back along ParentClass; a chain that loops ends with -1. skinIndex is SectionName's.
    int GetMaskIndex(int skinIndex, const std::string& sectionName, const std::string& propertyName) const;
    int GetMaskIndexExact(const std::string& sectionName, const std::string& propertyName) const;
    int GetTextureIndex(int skinIndex, const std::string& sectionName, const std::string& propertyName) const;
    int GetPatternIndex(int skinIndex, const std::string& sectionName, const std::string& propertyName) const;
    bool IsValidSkinIndex(int index) const;
    bool IsValidImgIndex(int index) const;
    // Size of one state picture of the image; 0 x 0 for an invalid index.
    classes::TSize GetMaskFrameSize(int maskIndex) const;
    void GetMaskFrameSize(int maskIndex, int& width, int& height) const;
    classes::TColor GetGlobalColor() const;   // GLOBALINFO's Color as RGB, else clBtnFace's RGB
    classes::TColor GetGlobalFontColor() const;   // GLOBALINFO's FontColor[1] as RGB, else 0xFF00FF
    void UpdateConstData();

    // ---- Loading ----
    std::string GetFullSkinDirectory() const;
    // Loads SkinName from its folder or the stored skins. Never raises; leaves SkinChanging True for
    // the caller to reset after announcing.
    void LoadAllSkinData();
    void LoadAllMasks();
    void LoadAllPatterns();
    void LoadAllGeneralData();
    // Inherited reads of the skin's "Options.dat" while a load runs ("?" / -1 count as missing).
    std::string ReadIniString(const std::string& section, const std::string& key, const std::string& def) const;
    int ReadIniInteger(const std::string& section, const std::string& key, int def) const;
    // Recolouring of the loaded tables (a fresh load applies HueOffset and Saturation itself).
    void ChangeSkinHue(int offset);
    void ChangeSkinSaturation(int value);

    // The tables emptied in the order the owner frees them: images, master bitmap, patterns, sections.
    void ClearSkinTables();

protected:
    void Loaded() override;
    void Notification(classes::TComponent* component, classes::TOperation operation) override;

private:
    TsStoredSkin* FindStoredSkin() const;   // the stored skin named SkinName, or null
    void ApplyShifts();   // reload after a hue or saturation change
    std::string SkinFileName(const std::string& name) const;   // behind SkinPath unless a full path
    void LoadIniSections();
    void LoadCommonSectionsData();
    void LoadStoredMasks(const TsStoredSkin& skin);
    void LoadStoredPatterns(const TsStoredSkin& skin);
    void LoadStoredSections(const TsStoredSkin& skin);
    void LoadCommonMasks();
    void LoadCommonPatterns();
    bool AddFileImage(const std::string& section, const std::string& key, const std::string& fileName, int imageCount,
        int maskType, TacImgType type, bool make24bit);
    void Deliver(int command);
    void HookMainWindow();
    void UnhookMainWindow();

    bool FActive = true;
    std::unique_ptr<classes::TStringList> FCommonSections;
    int FSaturation = 0;
    int FHueOffset = 0;
    std::unique_ptr<TsStoredSkins> FInternalSkins;
    std::string FSkinDirectory;
    std::string FSkinName;
    bool FSkinnedPopups = true;
    std::unique_ptr<TacMenuSupport> FMenuSupport;
    std::unique_ptr<SkinableMenusLink> FSkinableMenus;
    classes::TControl* FHoveredControl = nullptr;
    classes::TApplication* FHookedApplication = nullptr;
    int FHookId = 0;
};

inline constexpr const char* DefaultSkinDirectory = "c:\\Skins";

}

// TsSkinManager: creation, published properties, skin changes and their announcement.
#include "skin/engine/sSkinManager.h"

#include "platform/base/Numbers.h"
#include "platform/base/ScopeGuard.h"
#include "platform/base/Strings.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TJPEGImage.h"
#include "platform/classes/TStringList.h"
#include "platform/os/FileSearch.h"
#include "platform/os/Files.h"
#include "skin/engine/sStoredSkins.h"

#include <algorithm>

namespace korvex::skin {

using namespace korvex::classes;

TsSkinManager::TsSkinManager(TComponent* owner)
    : TComponent(owner)
    , FCommonSections(std::make_unique<TStringList>())
    , FInternalSkins(std::make_unique<TsStoredSkins>(this))
    , FMenuSupport(std::make_unique<TacMenuSupport>()) {
    LoadedSkin.Active = false;
    if (DefaultManager == nullptr) {
        DefaultManager = this;
        if (!ComponentState().Contains(csDesigning)) HookMainWindow();
    }
    FSkinableMenus = MakeSkinableMenus(this);
    ConstData = TConstantSkinData {};
}

TsSkinManager::~TsSkinManager() {
    Destroying();   // the removal below is a manager's going away, also when deleted without Free
    try {
        SetActive(false);
    } catch (...) {
        // a receiver's failure must not stop the manager from going away
    }
    FInternalSkins.reset();
    FSkinableMenus.reset();
    FMenuSupport.reset();
    ClearSkinTables();
    UnhookMainWindow();
    SetHoveredControl(nullptr);
    if (DefaultManager == this) DefaultManager = nullptr;
}

TClass TsSkinManager::StaticClass() {
    using T = TsSkinManager;
    static const TClassInfo info = MakeClass<T, TComponent>("TsSkinManager", [](TPropertyBuilder<T>& p) {
        p.Bool("IsDefault", &T::IsDefault, &T::SetIsDefault, true);
        p.Bool("Active", &T::Active, &T::SetActive, true);
        p.Object("CommonSections", &T::CommonSections, &T::SetCommonSections);
        p.Int("Saturation", &T::Saturation, &T::SetSaturation, 0);
        p.Int("HueOffset", &T::HueOffset, &T::SetHueOffset, 0);
        p.Object("InternalSkins", &T::InternalSkins, &T::SetInternalSkins);
        p.Object("MenuSupport", &T::MenuSupport, &T::SetMenuSupport);
        p.String("SkinDirectory", &T::SkinDirectory, &T::SetSkinDirectory, DefaultSkinDirectory);
        p.String("SkinName", &T::SkinName, &T::SetSkinName);
        p.String("SkinInfo", &T::SkinInfo, [](T&, const std::string&) {}).Stored(false);
        p.String("Version", &T::Version, [](T&, const std::string&) {}).Stored(false);
        p.Bool("SkinnedPopups", &T::SkinnedPopups, &T::SetSkinnedPopups, true);
        p.Event("OnAfterChange", &T::OnAfterChange);
        p.Event("OnBeforeChange", &T::OnBeforeChange);
        p.Event("OnGetMenuExtraLineData", &T::OnGetMenuExtraLineData);
    });
    return &info;
}

void TsSkinManager::AfterConstruction() {
    TComponent::AfterConstruction();
    if (FSkinDirectory.empty()) FSkinDirectory = DefaultSkinDirectory;
}

void TsSkinManager::Loaded() {
    TComponent::Loaded();
    if (FSkinDirectory.empty()) FSkinDirectory = DefaultSkinDirectory;
    if (FMenuSupport->IcoLineSkin().empty()) FMenuSupport->SetIcoLineSkin("ICOLINE");
    if (FActive && !FSkinName.empty()) SendNewSkin();
}

// ---- Properties ----------------------------------------------------------------------------------------

void TsSkinManager::SetIsDefault(bool value) {
    if (!value && DefaultManager != nullptr) return;
    DefaultManager = this;
    if (FActive) {
        SendNewSkin();
        RepaintForms();
    } else {
        SendRemoveSkin();
    }
}

void TsSkinManager::SetActive(bool value) {
    if (value == FActive) return;
    FActive = value;
    if (!value) {
        if (!ComponentState().Contains(csLoading)) SendRemoveSkin();
        UpdateConstData();
    } else {
        SetSkinName(FSkinName);
    }
}

TStrings* TsSkinManager::CommonSections() const {
    return FCommonSections.get();
}

void TsSkinManager::SetCommonSections(const TStrings* value) {
    FCommonSections->Assign(value);
    for (int i = 0; i < FCommonSections->Count(); ++i) {
        const std::string line = FCommonSections->Strings(i);
        if (!line.empty() && line[0] != ';') FCommonSections->SetStrings(i, base::StringReplace(line, " ", ""));
    }
    SetSkinName(FSkinName);
}

void TsSkinManager::SetSaturation(int value) {
    if (value == FSaturation) return;
    FSaturation = value;
    ApplyShifts();
}

void TsSkinManager::SetHueOffset(int value) {
    if (value == FHueOffset) return;
    FHueOffset = value;
    ApplyShifts();
}

void TsSkinManager::ApplyShifts() {
    if (!LoadedSkin.Active) return;
    {
        base::ValueRollback<bool> changing(SkinChanging, true);
        LoadAllSkinData();
    }
    if (!ComponentState().Contains(csLoading) && !ComponentState().Contains(csReading)) RepaintForms();
}

void TsSkinManager::SetMenuSupport(const TacMenuSupport* value) {
    FMenuSupport->Assign(value);
}

void TsSkinManager::SetInternalSkins(const TsStoredSkins* value) {
    FInternalSkins->Assign(value);
}

void TsSkinManager::SetSkinDirectory(const std::string& value) {
    if (value == FSkinDirectory) return;
    FSkinDirectory = value;
    LoadedSkin.SkinPath = GetFullSkinDirectory();
}

void TsSkinManager::SetSkinName(const std::string& value) {
    FSkinName = value;
    if (!FActive) return;
    if (OnBeforeChange) OnBeforeChange(this);
    {
        base::ValueRollback<bool> changing(SkinChanging, true);
        LoadedSkin.Active = false;
        LoadAllSkinData();
        if (FActive) {
            SendNewSkin();
        } else {
            // Nothing to load: the windows go back to their plain look instead of keeping the old indexes.
            SendRemoveSkin();
            UpdateConstData();
        }
    }
    if (OnAfterChange) OnAfterChange(this);
}

std::string TsSkinManager::SkinInfo() const {
    return LoadedSkin.Active ? base::FloatToStr(LoadedSkin.Version) : std::string("N/A");
}

void TsSkinManager::SetSkinnedPopups(bool value) {
    if (value == FSkinnedPopups) return;
    FSkinnedPopups = value;
    if (!ComponentState().Contains(csDesigning) && FSkinableMenus != nullptr) FSkinableMenus->UpdateMenus();
}

// ---- Announcements -------------------------------------------------------------------------------------

void TsSkinManager::Deliver(int command) {
    classes::TMessage message = MakeSkinCommand(command, 0, reinterpret_cast<classes::LPARAM>(this));
    BroadcastToForms(message);
}

void TsSkinManager::SendNewSkin() {
    if (FSkinableMenus != nullptr) FSkinableMenus->ResetSkinCache();
    LoadedSkin.Active = false;
    {
        base::ValueRollback<bool> broadcasting(NewSkinBroadcast, true);
        UpdateConstData();
        Deliver(SMC_NEWSKIN);
    }
    LoadedSkin.Active = true;
    RepaintForms();
}

void TsSkinManager::SendRemoveSkin() {
    LoadedSkin.Active = false;
    Deliver(SMC_REMOVESKIN);
    ClearSkinTables();
}

void TsSkinManager::RepaintForms() {
    if (!ComponentState().Contains(csDesigning)) Deliver(SMC_STOPFADING);
    Deliver(SMC_REFRESH);
}

void TsSkinManager::ClearSkinTables() {
    while (!Masks.empty())
        Masks.pop_back();   // the last image's bitmap first
    MasterBitmap.reset();
    while (!Patterns.empty())
        Patterns.pop_back();
    Sections.clear();
}

void TsSkinManager::GetSkinNames(TStrings& list, std::string& firstName) const {
    firstName.clear();
    list.Clear();
    std::vector<std::string> names;
    for (int i = 0; i < FInternalSkins->Count(); ++i) {
        names.push_back(FInternalSkins->Items(i)->Name());
        if (i == 0) firstName = names.back();
    }
    const std::string dir = GetFullSkinDirectory();
    if (os::DirectoryExists(dir)) {
        for (const os::TSearchRec& rec : os::FindFiles(dir + "/*", os::faDirectory | os::faHidden)) {
            if (!rec.IsDirectory() || rec.Name.empty() || rec.Name[0] == '.') continue;
            if (!os::FileExists(dir + "/" + rec.Name + "/Options.dat")) continue;
            names.push_back(rec.Name);
            if (firstName.empty()) firstName = rec.Name;
        }
    }
    std::stable_sort(names.begin(), names.end(),
        [](const std::string& a, const std::string& b) { return base::CompareText(a, b) < 0; });
    // A skin folder named like a stored skin (an installed copy of it) is one choice, not two.
    names.erase(std::unique(names.begin(), names.end(),
                    [](const std::string& a, const std::string& b) { return base::CompareText(a, b) == 0; }),
        names.end());
    list.BeginUpdate();
    for (const std::string& name : names)
        list.Add(name);
    list.EndUpdate();
}

}

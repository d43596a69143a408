// TsCommonData: properties, index resolution, the hot and updating tests, the cache bitmap.
#include "skin/engine/sCommonData.h"

#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TBitmap.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/classes/TCustomEdit.h"
#include "platform/classes/TWinControl.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sSkinManager.h"

namespace korvex::skin {

using classes::TControl;
using classes::TWinControl;

namespace {

bool IsDestroying(const classes::TComponent* c) {
    return c->ComponentState().Contains(classes::csDestroying);
}

bool IsLoading(const classes::TComponent* c) {
    return c->ComponentState().Contains(classes::csLoading);
}

// Not being made, read or loaded, not being destroyed, and on a parent.
bool OwnerPaintable(const TControl* c) {
    if (c == nullptr || c->Parent() == nullptr) return false;
    const auto state = c->ComponentState();
    return !c->ControlState().Contains(classes::csCreating) && !c->ControlState().Contains(classes::csReadingState)
        && !state.Contains(classes::csLoading) && !state.Contains(classes::csDestroying);
}

}

TsCommonData::TsCommonData(classes::TPersistent* owner, bool createCacheBmp)
    : FOwnerObject(owner), FOwnerControl(dynamic_cast<TControl*>(owner)) {
    if (createCacheBmp) InitCacheBmp();
}

TsCommonData::~TsCommonData() {
    SkinIndex = Texture = HotTexture = -1;
}

classes::TClass TsCommonData::StaticClass() {
    using T = TsCommonData;
    static const classes::TClassInfo info = classes::MakeClass<T, classes::TPersistent>(
        "TsCommonData", [](classes::TPropertyBuilder<T>& p) {
            p.String("SkinSection", &T::SkinSection, &T::SetSkinSection);
            p.Bool("CustomFont", &T::CustomFont, &T::SetCustomFont, false);
            p.Bool("CustomColor", &T::CustomColor, &T::SetCustomColor, false);
            p.Component("SkinManager", &T::OwnSkinManager, &T::SetSkinManager);
        });
    return &info;
}

// ---- Properties ------------------------------------------------------------------------------------------

TsSkinManager* TsCommonData::OwnSkinManager() const {
    return FSkinManager ? FSkinManager->As<TsSkinManager>() : nullptr;
}

TsSkinManager* TsCommonData::SkinManager() const {
    if (TsSkinManager* own = OwnSkinManager()) return own;
    return DefaultManager;
}

int TsCommonData::ResolveIndex(TsSkinManager* manager) {
    if (manager == nullptr || manager->Sections.empty()) return SkinIndex = -1;
    UpdateIndexes();
    return SkinIndex;
}

void TsCommonData::TellOwner(int code, TsSkinManager* manager) {
    classes::TMessage m = MakeSkinCommand(code, 0, classes::LPARAM(manager));
    if (ProviderMessage) {
        ProviderMessage(m);
        return;
    }
    if (FOwnerControl != nullptr && FOwnerControl->Parent() != nullptr && !IsDestroying(FOwnerControl))
        FOwnerControl->Perform(m);
}

void TsCommonData::SetSkinManager(TsSkinManager* value) {
    if (value == OwnSkinManager()) return;
    // The default manager is stored as none; the owner still hears of it.
    TsSkinManager* stored = value == DefaultManager ? nullptr : value;
    FSkinManager = stored ? std::make_unique<classes::TComponentWatch>(stored) : nullptr;
    if (FOwnerControl != nullptr && IsLoading(FOwnerControl)) return;
    if (value == nullptr)
        SkinIndex = -1;
    else
        ResolveIndex(value);
    const bool valid = value != nullptr && !value->Sections.empty() && value->IsValidSkinIndex(SkinIndex);
    TellOwner(valid ? SMC_REFRESH : SMC_REMOVESKIN, value);
}

void TsCommonData::SetSkinSection(const std::string& value) {
    const std::string section = value.empty() ? "UNKNOWN" : value;
    if (section == FSkinSection) return;
    FSkinSection = section;
    TsSkinManager* manager = SkinManager();
    ResolveIndex(manager);
    if (FOwnerControl == nullptr || FOwnerControl->Parent() == nullptr || IsDestroying(FOwnerControl)) return;
    const bool valid = manager != nullptr && !manager->Sections.empty() && manager->IsValidSkinIndex(SkinIndex);
    classes::TMessage m = MakeSkinCommand(valid ? SMC_REFRESH : SMC_REMOVESKIN, 0, classes::LPARAM(manager));
    FOwnerControl->Perform(m);
}

void TsCommonData::SetCustomFont(bool value) {
    if (value == FCustomFont) return;
    FCustomFont = value;
    Invalidate();
}

void TsCommonData::SetCustomColor(bool value) {
    if (value == FCustomColor) return;
    FCustomColor = value;
    if (Skinned() && dynamic_cast<classes::TCustomEdit*>(FOwnerControl) != nullptr && !IsLoading(FOwnerControl)) {
        ApplySectionColors();
        Invalidate();
    }
}

TControl* TsCommonData::AnimChild() const {
    return FAnimChild ? FAnimChild->As<TControl>() : nullptr;
}

void TsCommonData::SetAnimChild(TControl* value) {
    FAnimChild = value ? std::make_unique<classes::TComponentWatch>(value) : nullptr;
}

void TsCommonData::InitCacheBmp() {
    if (!FCacheBmp) FCacheBmp = std::make_unique<classes::TBitmap>();
    if (FCacheBmp->PixelFormat() != classes::pf24bit) FCacheBmp->SetPixelFormat(classes::pf24bit);
    FCacheBmp->SetHandleType(classes::bmDIB);
    if (FOwnerControl == nullptr) return;
    if (FCacheBmp->Width() != FOwnerControl->Width()) FCacheBmp->SetWidth(FOwnerControl->Width());
    if (FCacheBmp->Height() != FOwnerControl->Height()) FCacheBmp->SetHeight(FOwnerControl->Height());
}

void TsCommonData::FreeCacheBmp() {
    FCacheBmp.reset();
}

// ---- Indexes -----------------------------------------------------------------------------------------------

void TsCommonData::UpdateIndexes() {
    BGChanged = true;
    TsSkinManager* manager = SkinManager();
    SkinIndex = manager ? manager->GetSkinIndex(FSkinSection) : -1;
    if (SkinIndex < 0) {
        // The border too: a stale border index would paint the old skin's frame over an unskinned control.
        BorderIndex = Texture = HotTexture = -1;
        return;
    }
    BorderIndex = manager->GetMaskIndex(SkinIndex, FSkinSection, "BORDERSMASK");
    Texture = manager->GetTextureIndex(SkinIndex, FSkinSection, "PATTERN");
    HotTexture = manager->GetTextureIndex(SkinIndex, FSkinSection, "HOTPATTERN");
}

void TsCommonData::ApplyDefaultSection() {
    if (!FSkinSection.empty()) {
        UpdateIndexes();
        return;
    }
    std::string section = DefaultSectionOf(ControlKind);
    if (section.empty() && FOwnerObject != nullptr) section = FOwnerObject->ClassName();
    SetSkinSection(section);
}

void TsCommonData::ApplySectionColors() {
    TsSkinManager* manager = SkinManager();
    if (FOwnerControl == nullptr || manager == nullptr || !manager->IsValidSkinIndex(SkinIndex)) return;
    const TsGeneralData& section = manager->Sections[std::size_t(SkinIndex)];
    if (!FCustomColor && FOwnerControl->Color() != section.Color) FOwnerControl->SetColor(section.Color);
    if (!FCustomFont && FOwnerControl->Font()->Color() != section.FontColor[1])
        FOwnerControl->Font()->SetColor(section.FontColor[1]);
}

void TsCommonData::Loaded() {
    ApplyDefaultSection();
    // No visual themes here, so nothing to take out of the owner's ControlStyle when unskinned.
    if (!Skinned() || FOwnerControl == nullptr || FOwnerControl->Parent() == nullptr) return;
    const bool edit = dynamic_cast<classes::TCustomEdit*>(FOwnerControl) != nullptr || TakesEditColors(ControlKind);
    if (edit && !IsLoading(FOwnerControl)) ApplySectionColors();
}

// ---- Questions -----------------------------------------------------------------------------------------------

bool TsCommonData::Skinned(bool checkLoaded) const {
    if (FOwnerObject == nullptr) return false;
    if (auto* c = dynamic_cast<const classes::TComponent*>(FOwnerObject); c && IsDestroying(c)) return false;
    TsSkinManager* manager = SkinManager();
    if (manager == nullptr || IsDestroying(manager)) return false;
    if (checkLoaded && !manager->LoadedSkin.Active) return false;
    return manager->IsValidSkinIndex(SkinIndex);
}

bool TsCommonData::IsUpdating() const {
    TsSkinManager* manager = SkinManager();
    if (manager == nullptr || !manager->LoadedSkin.Active) return true;
    if (FOwnerControl == nullptr || IsDestroying(FOwnerControl)) return Updating;
    if (Updating || FOwnerControl->Parent() == nullptr) return true;
    try {
        return QuerySkinCommand(FOwnerControl->Parent(), SMC_ISUPDATING);
    } catch (...) {
        return false;   // a parent that fails to answer is not updating
    }
}

bool TsCommonData::IsHot() const {
    const TControl* c = FOwnerControl;
    if (c == nullptr || IsDestroying(c) || !c->Enabled() || c->ComponentState().Contains(classes::csDesigning))
        return false;
    if (Focused) return true;
    if (auto* win = dynamic_cast<const TWinControl*>(c); win && win->Focused()) return true;
    return MouseAbove && !IsHoverlessKind(ControlKind);
}

void TsCommonData::Invalidate() {
    if (FOwnerControl == nullptr || IsDestroying(FOwnerControl) || IsLoading(FOwnerControl)) return;
    BGChanged = true;
    if (OwnerPaintable(FOwnerControl)) FOwnerControl->Invalidate();
}

bool TsCommonData::NeedsRepaintOnMove() const {
    if (PaintMark || !Skinned() || FOwnerControl == nullptr) return true;
    if (FOwnerControl->ClassNameIs("TsTabSheet")) return true;
    if (FOwnerControl->ControlState().Contains(classes::csCreating) || !FOwnerControl->Visible()) return true;
    TsSkinManager* manager = SkinManager();
    if (!manager->IsValidSkinIndex(SkinIndex)) return false;
    const bool varies = !FOwnerControl->Enabled() || manager->Sections[std::size_t(SkinIndex)].Transparency > 0;
    if (!varies) return false;
    TWinControl* parent = FOwnerControl->Parent();
    if (parent != nullptr && parent->HandleAllocated()) return QuerySkinCommand(parent, SMC_ISBGFROMPARENT);
    return true;
}

// ---- Parent questions ----------------------------------------------------------------------------------------

TsParentCacheInfo GetParentCache(TsCommonData* data) {
    TsParentCacheInfo answer;
    TControl* owner = data ? data->OwnerControl() : nullptr;
    if (owner != nullptr && owner->Parent() != nullptr) {
        try {
            SendSkinCommandToControl(owner->Parent(), SMC_GETCACHE, reinterpret_cast<classes::LPARAM>(&answer));
        } catch (...) {
            // whatever the parent managed to answer is taken below
        }
    }
    return answer;
}

bool ParentBackgroundVaries(TsCommonData* data) {
    TControl* owner = data ? data->OwnerControl() : nullptr;
    if (owner == nullptr || owner->Parent() == nullptr || !owner->Parent()->HandleAllocated()) return false;
    return QuerySkinCommand(owner->Parent(), SMC_ISBGFROMPARENT);
}

}

// The control adapters: finding and linking the grids of the form, the items and their collection.
#include "skin/windows/sGridAdapter.h"

#include "platform/base/Strings.h"
#include "platform/classes/PropertyRegistry.h"
#include "platform/classes/TForm.h"
#include "skin/engine/sMessages.h"
#include "skin/engine/sScrollBar.h"
#include "skin/engine/sSkinManager.h"
#include "skin/engine/sStyleSimply.h"

namespace korvex::skin {

using namespace korvex::classes;

namespace {

bool BeingDestroyed(const TComponent* c) {
    return c != nullptr && c->ComponentState().Contains(csDestroying);
}

bool Designing(const TComponent* c) {
    return c != nullptr && c->ComponentState().Contains(csDesigning);
}

// A control with a parent that already has a skin of its own (it answers "are you skinned").
bool SkinnedByItself(TComponent* component) {
    auto* control = dynamic_cast<TControl*>(component);
    return control != nullptr && control->Parent() != nullptr && QuerySkinCommand(control, SMC_ISSKINNED);
}

}   // namespace

// ---------------------------------------------------------------------------------------------------------
// TsCtrlAdapter

TsCtrlAdapter::TsCtrlAdapter(TComponent* owner)
    : TComponent(owner) { }

TsCtrlAdapter::~TsCtrlAdapter() = default;

TClass TsCtrlAdapter::StaticClass() {
    static const TClassInfo info = MakeClass<TsCtrlAdapter, TComponent>("TsCtrlAdapter", [](auto& p) {
        p.Bool("AutoSearch", &TsCtrlAdapter::AutoSearch, &TsCtrlAdapter::SetAutoSearch, true);
        p.Event("OnAddItem", &TsCtrlAdapter::OnAddItem);
    });
    return &info;
}

bool TsCtrlAdapter::CanAdapt(TComponent* control) const {
    return control != nullptr && FAdaptedClass != nullptr && control->InheritsFrom(FAdaptedClass);
}

void TsCtrlAdapter::SetAutoSearch(bool value) {
    if (value == FAutoSearch) return;
    FAutoSearch = value;
    AddAllItems();
}

void TsCtrlAdapter::RemoveAllItems() {
    while (ItemCount() >= 1) RemoveItem(0);
}

TCustomForm* TsCtrlAdapter::OwnerForm() const {
    for (TComponent* c = Owner(); c != nullptr; c = c->Owner())
        if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
    return nullptr;
}

void TsCtrlAdapter::AddAllItems(TComponent* owner) {
    if (owner == nullptr) owner = OwnerForm();
    if (owner == nullptr) return;
    try {
        for (int i = 0; i < owner->ComponentCount(); ++i) {
            TComponent* component = owner->Components(i);
            if (!CanAdapt(component)) continue;
            std::string section = "EDIT";
            bool canBeAdded = true;
            if (OnAddItem && !Designing(this)) OnAddItem(component, canBeAdded, section);
            if (canBeAdded) AddControl(component, section);
        }
    } catch (const std::exception&) {
        // the walk ends; the adapter stays usable
    }
}

void TsCtrlAdapter::LinkItems() {
    TCustomForm* form = OwnerForm();
    if (form == nullptr) return;
    if (FAutoSearch) {
        AddAllItems();
        return;
    }
    try {
        for (int i = 0; i < ItemCount(); ++i) {
            const std::string name = GetItem(i)->DisplayName();
            if (name.empty()) break;
            TComponent* component = FindComponentByPath(form, name);
            if (component == nullptr) continue;
            if (TsCommonData* data = ItemSkinData(i)) data->BGChanged = true;
            LinkItem(i, component);
        }
    } catch (const std::exception&) {
    }
}

void TsCtrlAdapter::Loaded() {
    TComponent::Loaded();
    if (Designing(this)) RemoveAllItems();
    LinkItems();
}

void TsCtrlAdapter::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (BeingDestroyed(this) || BeingDestroyed(component)) return;
    if (operation == opInsert) {
        if (CanAdapt(component) && FAutoSearch) AddNewControl(component);
    } else if (CanAdapt(component)) {
        for (int i = 0; i < ItemCount(); ++i)
            if (GetItem(i)->DisplayName() == component->Name()) {
                RemoveItem(i);
                break;
            }
    }
}

// ---------------------------------------------------------------------------------------------------------
// Items

TsGridItem::TsGridItem(TCollection* collection)
    : TCollectionItem(collection)
    , FSkinData(std::make_unique<TsCommonData>(this, true)) {
    FSkinData->ControlKind = TacControlKind::GridItem;
}

TsGridItem::~TsGridItem() {
    if (TsGridAdapter* adapter = Adapter()) adapter->UnhookControl(this);
}

TClass TsGridItem::StaticClass() {
    static const TClassInfo info = MakeClass<TsGridItem, TCollectionItem>("TsGridItem", [](auto& p) {
        p.String("CtrlName", &TsGridItem::CtrlName, &TsGridItem::SetCtrlName);
        p.Object("SkinData", &TsGridItem::SkinData);
    });
    return &info;
}

TsGridAdapter* TsGridItem::Adapter() const {
    auto* items = dynamic_cast<TsGridItems*>(Collection());
    return items != nullptr ? items->Adapter() : nullptr;
}

TsGridItems::TsGridItems(TsGridAdapter* adapter)
    : TOwnedCollection(adapter, TsGridItem::StaticClass())
    , FAdapter(adapter) { }

TsGridItems::~TsGridItems() {
    Clear();   // the items unhook while the adapter is known
    FAdapter = nullptr;
}

TClass TsGridItems::StaticClass() {
    static const TClassInfo info = MakeClass<TsGridItems, TOwnedCollection>("TsGridItems");
    return &info;
}

TsGridItem* TsGridItems::Item(int index) const {
    return static_cast<TsGridItem*>(Items(index));
}

// ---------------------------------------------------------------------------------------------------------
// TsGridAdapter

TsGridAdapter::TsGridAdapter(TComponent* owner)
    : TsCtrlAdapter(owner)
    , FItems(std::make_unique<TsGridItems>(this)) {
    FAdaptedClass = TCustomGrid::StaticClass();
    FDefaultSection = "EDIT";
}

TsGridAdapter::~TsGridAdapter() {
    FItems.reset();
}

TClass TsGridAdapter::StaticClass() {
    static const TClassInfo info = MakeClass<TsGridAdapter, TsCtrlAdapter>("TsGridAdapter", [](auto& p) {
        p.Object("Controls", &TsGridAdapter::Controls, &TsGridAdapter::SetControls);
    });
    return &info;
}

bool TsGridAdapter::CanAdapt(TComponent* control) const {
    return TsCtrlAdapter::CanAdapt(control) || IsCustomGrid(control);
}

int TsGridAdapter::ItemCount() const {
    return FItems ? FItems->Count() : 0;
}

void TsGridAdapter::LinkItem(int index, TComponent* control) {
    if (IsSupportedGrid(control) && index >= 0 && index < ItemCount())
        HookControl(FItems->Item(index), dynamic_cast<TCustomGrid*>(control));
}

TCollectionItem* TsGridAdapter::GetItem(int index) const {
    return index >= 0 && index < ItemCount() ? FItems->Item(index) : nullptr;
}

TsCommonData* TsGridAdapter::ItemSkinData(int index) const {
    auto* item = static_cast<TsGridItem*>(GetItem(index));
    return item != nullptr ? item->SkinData() : nullptr;
}

int TsGridAdapter::IndexOf(const std::string& name) const {
    const std::string wanted = base::UpperCase(name);
    for (int i = 0; i < ItemCount(); ++i)
        if (base::UpperCase(FItems->Item(i)->CtrlName()) == wanted) return i;
    return -1;
}

void TsGridAdapter::AddNewControl(TComponent* control) {
    if (!SkinnedByItself(control)) AddControl(control, FDefaultSection);
}

void TsGridAdapter::AddControl(TComponent* control, const std::string& section) {
    auto* grid = dynamic_cast<TCustomGrid*>(control);
    if (grid == nullptr || SkinnedByItself(control)) return;
    TsGridItem* item = nullptr;
    for (int i = 0; i < ItemCount() && item == nullptr; ++i)
        if (FItems->Item(i)->CtrlName() == control->Name()) item = FItems->Item(i);
    if (item == nullptr) item = static_cast<TsGridItem*>(FItems->Add());
    item->SkinData()->SetSkinSection(section);
    HookControl(item, grid);
    TsSkinManager* manager = item->SkinData()->SkinManager();
    if (grid->Parent() != nullptr && manager != nullptr && manager->GetSkinIndex("GLOBALINFO") >= 0
        && !grid->ControlState().Contains(csCreating))
        SetGridColors(grid, item->SkinData(), true, item);
}

void TsGridAdapter::RemoveItem(int index) {
    if (index < 0 || index >= ItemCount()) return;
    TsGridItem* item = FItems->Item(index);
    UnhookControl(item);
    FItems->Delete(index);
}

void TsGridAdapter::Notification(TComponent* component, TOperation operation) {
    // A grid or bar going away: the items forget it, whatever the name says, also while the adapter itself
    // is going (a form frees its child controls before its components).
    if (operation == opRemove && FItems) {
        for (int i = 0; i < ItemCount(); ++i) {
            TsGridItem* item = FItems->Item(i);
            if (item->FVertBar == component) item->FVertBar = nullptr;
            if (item->FHorzBar == component) item->FHorzBar = nullptr;
            if (item->FGrid == component && BeingDestroyed(component)) {
                if (!BeingDestroyed(this)) FreeBars(item);
                item->FGrid = nullptr;
                item->FOldWndProc = nullptr;
                item->SkinData()->SetOwnerControl(nullptr);
            }
        }
    }
    TsCtrlAdapter::Notification(component, operation);
}

// ---------------------------------------------------------------------------------------------------------
// Grid checks

bool IsSupportedGrid(const TComponent* control) {
    if (control == nullptr) return false;
    const std::string name = base::UpperCase(std::string(control->ClassName()));
    return name != "TDBGRID" && name != "TDBGRIDEH" && name != "TWWDBGRID";
}

bool IsCustomGrid(const TComponent* control) {
    return control != nullptr && control->InheritsFrom(TCustomGrid::StaticClass());
}

}

// TComponent: ownership, names, free notifications and component states.
#include "platform/classes/TComponent.h"

#include "platform/base/Strings.h"
#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"

#include <algorithm>

namespace korvex::classes {

namespace {
thread_local bool gConstructLoading = false;
}

bool IsValidIdent(std::string_view ident) {
    if (ident.empty()) return false;
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!alpha(ident[0])) return false;
    return std::all_of(ident.begin() + 1, ident.end(), [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent* owner) {
    if (gConstructLoading) {
        FComponentState.Include(csLoading);
        gConstructLoading = false;
    }
    if (owner == nullptr) return;
    owner->Insert(this);
    FInsertPending = true;
}

void TComponent::AfterConstruction() {
    TPersistent::AfterConstruction();
    if (!FInsertPending) return;
    FInsertPending = false;
    if (FOwner != nullptr) FOwner->Notification(this, opInsert);
}

TComponent::~TComponent() {
    Destroying();
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        other->RemoveNotification(this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

TClass TComponent::StaticClass() {
    static const TClassInfo info = MakeClass<TComponent, TPersistent>("TComponent", [](auto& p) {
        p.String("Name", &TComponent::Name, &TComponent::SetName).Stored(false);
        p.Int("Tag", &TComponent::Tag, &TComponent::SetTag, 0);
    });
    return &info;
}

void TComponent::SetConstructingLoaded(bool value) {
    gConstructLoading = value;
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FComponents[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (FOwner == nullptr) return -1;
    auto it = std::find(FOwner->FComponents.begin(), FOwner->FComponents.end(), this);
    return static_cast<int>(it - FOwner->FComponents.begin());
}

void TComponent::SetComponentIndex(int index) {
    if (FOwner == nullptr) return;
    auto& list = FOwner->FComponents;
    int current = ComponentIndex();
    index = std::clamp(index, 0, static_cast<int>(list.size()) - 1);
    if (index == current) return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + index, this);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    std::string wanted(name);
    for (TComponent* c : FComponents)
        if (base::SameText(c->FName, wanted)) return c;
    return nullptr;
}

void TComponent::SetName(const std::string& value) {
    if (value == FName) return;
    if (!value.empty() && !IsValidIdent(value)) throw EComponentError("'" + value + "' is not a valid component name");
    if (FOwner != nullptr && !value.empty()) {
        TComponent* other = FOwner->FindComponent(value);
        if (other != nullptr && other != this) throw EComponentError("A component named " + value + " already exists");
    }
    FName = value;
}

void TComponent::InsertComponent(TComponent* component) {
    if (component == nullptr || component->FOwner == this) return;
    if (!component->FName.empty() && FindComponent(component->FName) != nullptr)
        throw EComponentError("A component named " + component->FName + " already exists");
    if (component->FOwner != nullptr) component->FOwner->RemoveComponent(component);
    Insert(component);
    component->FInsertPending = false;
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (component == nullptr || component->FOwner != this) return;
    Notification(component, opRemove);
    Remove(component);
}

void TComponent::Insert(TComponent* component) {
    FComponents.push_back(component);
    component->FOwner = this;
}

void TComponent::Remove(TComponent* component) {
    auto it = std::find(FComponents.begin(), FComponents.end(), component);
    if (it != FComponents.end()) FComponents.erase(it);
    component->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        last->Free();
        if (!FComponents.empty() && FComponents.back() == last)   // it left without telling (cannot happen)
            FComponents.pop_back();
    }
}

void TComponent::Destroying() {
    if (FComponentState.Contains(csDestroying)) return;
    FComponentState.Include(csDestroying);
    for (TComponent* c : FComponents)
        c->Destroying();
}

void TComponent::BeforeDestruction() {
    Destroying();
}

void TComponent::FreeNotification(TComponent* component) {
    if (component == nullptr || component == this) return;
    if (FOwner == nullptr || component->FOwner != FOwner) {
        if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
            FFreeNotifies.push_back(component);
        if (std::find(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this)
            == component->FFreeNotifies.end())
            component->FFreeNotifies.push_back(this);
    }
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (component == nullptr) return;
    RemoveNotification(component);
    component->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* component) {
    std::erase(FFreeNotifies, component);
    if (FFreeNotifies.empty()) FComponentState.Exclude(csFreeNotification);
}

void TComponent::Updating() {
    FComponentState.Include(csUpdating);
}

void TComponent::Updated() {
    FComponentState.Exclude(csUpdating);
}

TPersistent* TComponent::GetOwner() const {
    return FOwner;
}

void TComponent::SetParentComponent(TComponent*) {
}

void TComponent::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const {
    if (root != this) return;
    for (std::size_t i = 0; i < FComponents.size(); ++i)
        if (!FComponents[i]->HasParent()) proc(FComponents[i]);
}

void TComponent::Loaded() {
    FComponentState.Exclude(csLoading);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component != nullptr) RemoveFreeNotification(component);
    // Backwards, re-reading the count: a notified component may free others.
    int i = ComponentCount() - 1;
    while (i >= 0) {
        FComponents[static_cast<std::size_t>(i)]->Notification(component, operation);
        --i;
        if (i >= ComponentCount()) i = ComponentCount() - 1;
    }
}

}

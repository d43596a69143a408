// TCollection and TCollectionItem: items owned by their collection, update batching and copying.
#include "platform/classes/TCollection.h"

#include "platform/base/ScopeGuard.h"
#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"

#include <algorithm>

namespace korvex::classes {

TCollectionItem::TCollectionItem(TCollection* collection) {
    SetCollection(collection);
}

TCollectionItem::~TCollectionItem() {
    SetCollection(nullptr);
}

TClass TCollectionItem::StaticClass() {
    static const TClassInfo info = MakeClass<TCollectionItem, TPersistent>("TCollectionItem");
    return &info;
}

void TCollectionItem::SetCollection(TCollection* value) {
    if (value == FCollection) return;
    if (FCollection != nullptr) FCollection->RemoveItem(this);
    if (value != nullptr) value->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (FCollection == nullptr) return -1;
    const auto& items = FCollection->FItems;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int value) {
    if (FCollection == nullptr) return;
    auto& items = FCollection->FItems;
    int current = Index();
    value = std::clamp(value, 0, static_cast<int>(items.size()) - 1);
    if (value == current) return;
    items.erase(items.begin() + current);
    items.insert(items.begin() + value, this);
    Changed(true);
}

std::string TCollectionItem::DisplayName() const {
    return ClassName();
}

void TCollectionItem::SetDisplayName(const std::string&) {
    Changed(false);
}

TPersistent* TCollectionItem::GetOwner() const {
    return FCollection;
}

void TCollectionItem::Changed(bool allItems) {
    if (FCollection != nullptr && FCollection->FUpdateCount == 0) FCollection->Update(allItems ? nullptr : this);
}

TCollection::TCollection(TClass itemClass)
    : FItemClass(itemClass) {
}

TCollection::~TCollection() {
    FUpdateCount = 1;   // no Update calls from a collection being destroyed
    while (!FItems.empty())
        FItems.back()->Free();
}

TClass TCollection::StaticClass() {
    static const TClassInfo info = MakeClass<TCollection, TPersistent>("TCollection");
    return &info;
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FItems[static_cast<std::size_t>(index)];
}

void TCollection::SetItems(int index, const TCollectionItem* value) {
    Items(index)->Assign(value);
}

TCollectionItem* TCollection::Add() {
    TCollectionItem* item = FItemClass->NewItem(this);
    if (item->FCollection != this)   // a constructor that did not pass the collection on
        item->SetCollection(this);
    return item;
}

TCollectionItem* TCollection::Insert(int index) {
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index) {
    TCollectionItem* item = Items(index);
    Notify(item, cnDeleting);
    item->Free();
}

void TCollection::Clear() {
    if (FItems.empty()) return;
    BeginUpdate();
    base::ScopeExit endUpdate([this] { EndUpdate(); });
    while (!FItems.empty())
        FItems.back()->Free();
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (TCollectionItem* item : FItems)
        if (item->FID == id) return item;
    return nullptr;
}

void TCollection::BeginUpdate() {
    ++FUpdateCount;
}

void TCollection::EndUpdate() {
    if (FUpdateCount > 0) --FUpdateCount;
    Changed();
}

void TCollection::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TCollection*>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this) return;
    BeginUpdate();
    base::ScopeExit endUpdate([this] { EndUpdate(); });
    Clear();
    for (TCollectionItem* sourceItem : other->FItems) {
        TCollectionItem* item = Add();
        base::ScopeExit discard([item] { item->Free(); });   // a half-copied item goes again
        item->Assign(sourceItem);
        discard.Dismiss();
    }
}

void TCollection::Update(TCollectionItem*) {
}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {
}

void TCollection::Changed() {
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item) {
    FItems.push_back(item);
    item->FCollection = this;
    item->FID = FNextID++;
    Notify(item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
    Notify(item, cnExtracting);
    std::erase(FItems, item);
    item->FCollection = nullptr;
    Changed();
}

TOwnedCollection::TOwnedCollection(TPersistent* owner, TClass itemClass)
    : TCollection(itemClass)
    , FOwner(owner) {
}

TClass TOwnedCollection::StaticClass() {
    static const TClassInfo info = MakeClass<TOwnedCollection, TCollection>("TOwnedCollection");
    return &info;
}

}

// The item manager: the list of a control's data items and the callbacks to the control.
#include "leds/iOPCClasses.h"

#include "leds/iOPCItem.h"
#include "platform/base/Numbers.h"
#include "platform/classes/Errors.h"

#include <algorithm>

namespace korvex::leds {

TiOPCItemManager::TiOPCItemManager(classes::TComponent* owner)
    : FOwner(owner) {
}

TiOPCItemManager::~TiOPCItemManager() {
    Clear();
}

TiOPCItem* TiOPCItemManager::Items(int index) const {
    if (index < 0 || index >= Count())
        throw classes::EListError("List index out of bounds (" + base::IntToStr(index) + ")");
    return FItems[static_cast<std::size_t>(index)].get();
}

int TiOPCItemManager::IndexOf(const TiOPCItem* item) const {
    auto it = std::find_if(FItems.begin(), FItems.end(), [item](const auto& p) { return p.get() == item; });
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TiOPCItem* TiOPCItemManager::Add() {
    FItems.push_back(std::make_unique<TiOPCItem>(this));
    return FItems.back().get();
}

void TiOPCItemManager::Delete(int index) {
    Items(index);   // range check
    FItems.erase(FItems.begin() + index);
}

void TiOPCItemManager::Clear() {
    // Taken out of the list first, so an item being freed never sees a half-cleared list.
    std::vector<std::unique_ptr<TiOPCItem>> items;
    items.swap(FItems);
    items.clear();
}

int TiOPCItemManager::RequestedDataType(const std::string& propertyName) const {
    return OnRequestedDataType ? OnRequestedDataType(propertyName) : 0;
}

void TiOPCItemManager::NewData(TiOPCItem* item) {
    if (OnNewData) OnNewData(item);
}

}

// TStringList: strings and attached objects in memory, sorted or not, with change events.
#include "platform/classes/TStringList.h"

#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"

#include <algorithm>
#include <numeric>

namespace korvex::classes {

TStringList::~TStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
    if (FOwnsObjects)
        for (TItem& item : FItems)
            if (item.Object != nullptr) item.Object->Free();
}

TClass TStringList::StaticClass() {
    static const TClassInfo info = MakeClass<TStringList, TStrings>("TStringList");
    return &info;
}

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) Error("List index out of bounds", index);
}

std::string TStringList::Get(int index) const {
    CheckIndex(index);
    return FItems[static_cast<std::size_t>(index)].String;
}

void TStringList::Put(int index, const std::string& s) {
    if (FSorted) throw EStringListError("Operation not allowed on sorted list");
    CheckIndex(index);
    Changing();
    FItems[static_cast<std::size_t>(index)].String = s;
    Changed();
}

TObject* TStringList::GetObject(int index) const {
    CheckIndex(index);
    return FItems[static_cast<std::size_t>(index)].Object;
}

void TStringList::PutObject(int index, TObject* obj) {
    CheckIndex(index);
    Changing();
    FItems[static_cast<std::size_t>(index)].Object = obj;
    Changed();
}

int TStringList::Add(const std::string& s) {
    return AddObject(s, nullptr);
}

int TStringList::AddObject(const std::string& s, TObject* obj) {
    int index = Count();
    if (FSorted && Find(s, index)) {
        switch (FDuplicates) {
        case dupIgnore:
            return index;
        case dupError:
            throw EStringListError("String list does not allow duplicates");
        case dupAccept:
            while (index < Count() && CompareStrings(FItems[static_cast<std::size_t>(index)].String, s) == 0)
                ++index;   // after its equals, so equal strings keep their order
            break;
        }
    }
    InsertItem(index, s, obj);
    return index;
}

void TStringList::Insert(int index, const std::string& s) {
    if (FSorted) throw EStringListError("Operation not allowed on sorted list");
    if (index < 0 || index > Count()) Error("List index out of bounds", index);
    InsertItem(index, s, nullptr);
}

void TStringList::InsertItem(int index, const std::string& s, TObject* obj) {
    Changing();
    FItems.insert(FItems.begin() + index, TItem {s, obj});
    Changed();
}

void TStringList::Clear() {
    if (FItems.empty()) return;
    Changing();
    std::vector<TItem> old;
    old.swap(FItems);
    if (FOwnsObjects)
        for (TItem& item : old)
            if (item.Object != nullptr) item.Object->Free();
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    TObject* obj = FItems[static_cast<std::size_t>(index)].Object;
    FItems.erase(FItems.begin() + index);
    if (FOwnsObjects && obj != nullptr) obj->Free();
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(FItems[static_cast<std::size_t>(index1)], FItems[static_cast<std::size_t>(index2)]);
    Changed();
}

int TStringList::IndexOf(const std::string& s) const {
    if (!FSorted) return TStrings::IndexOf(s);
    int index = 0;
    return Find(s, index) ? index : -1;
}

void TStringList::SetSorted(bool value) {
    if (value == FSorted) return;
    if (value) Sort();
    FSorted = value;
}

void TStringList::SortBy(const std::function<bool(const TItem&, const TItem&)>& less) {
    if (FItems.size() < 2) return;
    Changing();
    std::stable_sort(FItems.begin(), FItems.end(), less);
    Changed();
}

void TStringList::Sort() {
    if (FSorted) return;   // kept in order already
    SortBy([this](const TItem& a, const TItem& b) { return CompareStrings(a.String, b.String) < 0; });
}

void TStringList::CustomSort(const TCompare& compare) {
    if (FItems.size() < 2) return;
    // The comparer sees the list as it was; the order found is applied at the end.
    std::vector<int> order(FItems.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
    std::vector<TItem> sorted;
    sorted.reserve(FItems.size());
    for (int i : order)
        sorted.push_back(FItems[static_cast<std::size_t>(i)]);
    Changing();
    FItems.swap(sorted);
    Changed();
}

bool TStringList::Find(const std::string& s, int& index) const {
    int low = 0, high = Count() - 1;
    bool found = false;
    while (low <= high) {
        int mid = low + (high - low) / 2;
        int c = CompareStrings(FItems[static_cast<std::size_t>(mid)].String, s);
        if (c < 0) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (c == 0) found = true;
        }
    }
    index = low;
    return found;
}

void TStringList::SetCaseSensitive(bool value) {
    if (value == FCaseSensitive) return;
    FCaseSensitive = value;
    if (FSorted) {
        FSorted = false;
        Sort();
        FSorted = true;
    }
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

int TStringList::CompareStrings(const std::string& s1, const std::string& s2) const {
    if (FCaseSensitive) return s1.compare(s2);
    return TStrings::CompareStrings(s1, s2);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

}

// TsImageTable: a manager's images (masks or patterns) in load order, found by section and image name.
#pragma once

#include "platform/base/Assert.h"
#include "skin/engine/sTableItems.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace korvex::skin {

// Items have ClassName (the section) and PropertyName (the image name). Names compare exactly. Change an item's
// names only through Rename: the index keeps them.
template <class Item>
class TsImageTable : public TsTableItems<Item> {
public:
    void push_back(Item item) {
        FIndex[Key {item.ClassName, item.PropertyName}].push_back(int(FItems.size()));
        FItems.push_back(std::move(item));
    }
    // The last item first, as the owner frees its images.
    void pop_back() {
        KORVEX_ASSERT(!FItems.empty());
        Unindex(FItems.size() - 1);
        FItems.pop_back();
    }
    // New names for the item at index; it keeps its place in the load order.
    void Rename(std::size_t index, std::string section, std::string property) {
        Unindex(index);
        FItems[index].ClassName = std::move(section);
        FItems[index].PropertyName = std::move(property);
        std::vector<int>& indexes = FIndex[Key {FItems[index].ClassName, FItems[index].PropertyName}];
        indexes.insert(std::lower_bound(indexes.begin(), indexes.end(), int(index)), int(index));
    }
    void clear() {
        FItems.clear();
        FIndex.clear();
    }

    // The indexes of the items named so, in load order; empty when there is none.
    const std::vector<int>& Find(const std::string& section, const std::string& property) const {
        static const std::vector<int> none;
        const auto found = FIndex.find(Key {section, property});
        return found == FIndex.end() ? none : found->second;
    }
    // The first index of an item named so that `accept` takes, else -1.
    template <class Accept>
    int FindFirst(const std::string& section, const std::string& property, Accept accept) const {
        for (int index : Find(section, property)) {
            const Item& item = FItems[std::size_t(index)];
            KORVEX_ASSERT(item.ClassName == section && item.PropertyName == property);   // renamed behind Rename
            if (item.ClassName == section && item.PropertyName == property && accept(item)) return index;
        }
        return -1;
    }
    int FindFirst(const std::string& section, const std::string& property) const {
        return FindFirst(section, property, [](const Item&) { return true; });
    }

private:
    using TsTableItems<Item>::FItems;

    void Unindex(std::size_t index) {
        const Item& item = FItems[index];
        const auto found = FIndex.find(Key {item.ClassName, item.PropertyName});
        KORVEX_ASSERT(found != FIndex.end());
        if (found == FIndex.end()) return;
        std::vector<int>& indexes = found->second;
        indexes.erase(std::remove(indexes.begin(), indexes.end(), int(index)), indexes.end());
        if (indexes.empty()) FIndex.erase(found);
    }

    struct Key {
        std::string Section;
        std::string Property;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const {
            const std::size_t section = std::hash<std::string> {}(key.Section);
            const std::size_t property = std::hash<std::string> {}(key.Property);
            return section ^ (property + 0x9E3779B97F4A7C15ull + (section << 6) + (section >> 2));
        }
    };

    std::unordered_map<Key, std::vector<int>, KeyHash> FIndex;
};

}

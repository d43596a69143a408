// TsSectionTable: a skin's sections in load order, found by name.
#pragma once

#include "platform/base/Assert.h"
#include "skin/engine/sTableItems.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace korvex::skin {

// Items have ClassName (the section's name); the first item of a name is found in one hash look-up. Names
// compare exactly. Change an item's name only through Rename: the index keeps it.
template <class Item>
class TsSectionTable : public TsTableItems<Item> {
public:
    void reserve(std::size_t count) { FItems.reserve(count); }
    void push_back(Item item) {
        FFirst.emplace(item.ClassName, int(FItems.size()));   // an earlier item of the name stays first
        FItems.push_back(std::move(item));
    }
    void clear() {
        FItems.clear();
        FFirst.clear();
    }
    // A new name for the item at index; it keeps its place in the load order.
    void Rename(std::size_t index, std::string name) {
        FItems.at(index).ClassName = std::move(name);
        FFirst.clear();
        for (std::size_t i = 0; i < FItems.size(); ++i)
            FFirst.emplace(FItems[i].ClassName, int(i));
    }

    // The index of the first item named so, else -1.
    int IndexOf(const std::string& name) const {
        const auto found = FFirst.find(name);
        if (found == FFirst.end()) return -1;
        KORVEX_ASSERT(FItems[std::size_t(found->second)].ClassName == name);   // renamed behind Rename
        return found->second;
    }

private:
    using TsTableItems<Item>::FItems;

    std::unordered_map<std::string, int> FFirst;   // name -> first index
};

}

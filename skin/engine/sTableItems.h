// TsTableItems: the read and write access the skin's name-indexed tables share over their items in load order.
#pragma once

#include <cstddef>
#include <vector>

namespace korvex::skin {

// Items are added and renamed only through the derived table, which keeps its name index.
template <class Item>
class TsTableItems {
public:
    std::size_t size() const { return FItems.size(); }
    bool empty() const { return FItems.empty(); }
    const Item& operator[](std::size_t index) const { return FItems[index]; }
    Item& operator[](std::size_t index) { return FItems[index]; }
    const Item& at(std::size_t index) const { return FItems.at(index); }
    const Item& back() const { return FItems.back(); }
    Item& back() { return FItems.back(); }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }
    auto begin() { return FItems.begin(); }
    auto end() { return FItems.end(); }

protected:
    std::vector<Item> FItems;
};

}

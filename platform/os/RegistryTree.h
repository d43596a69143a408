// The settings store's keys and values in memory: a tree per root, names compared without case.
#pragma once

#include "platform/os/NameCompare.h"
#include "platform/os/RegistryTypes.h"

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace korvex::os {

struct RegValueEntry {
    std::string Name;   // as first written; "" is the key's default value
    TRegValue Value;
    bool Virtual = false;   // answered by the store, never written to the file
};

// Hash and equality of names without case, for look-ups by any string type.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const;
};
struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return SameName(a, b); }
};

// A key's values in the order they were first written, found by name without case in constant time.
class RegValueList {
public:
    RegValueEntry* Find(std::string_view name);
    const RegValueEntry* Find(std::string_view name) const;
    // Adds a value at the end, or replaces the one of the same name in its place with its first spelling.
    RegValueEntry& Set(std::string_view name, TRegValue value, bool isVirtual = false);
    bool Remove(std::string_view name);   // false when missing; the others keep their order

    std::size_t Size() const { return FEntries.size(); }
    bool Empty() const { return FEntries.empty(); }
    std::vector<RegValueEntry>::const_iterator begin() const { return FEntries.begin(); }
    std::vector<RegValueEntry>::const_iterator end() const { return FEntries.end(); }

private:
    std::vector<RegValueEntry> FEntries;
    std::unordered_map<std::string, std::size_t, NameHash, NameEqual> FIndex;   // name -> place in FEntries
};

// Keys below a root nest at most this deep, as in Windows; deeper paths are refused.
inline constexpr std::size_t MaxKeyDepth = 512;

// Copying, destroying and the walks over sub-keys go without recursion.
struct RegKey {
    std::string Name;   // as first created
    bool Virtual = false;   // exists only to carry virtual values; never written unless made real
    RegValueList Values;
    std::map<std::string, std::unique_ptr<RegKey>, NameLess> SubKeys;

    RegKey() = default;
    ~RegKey();
    RegKey(const RegKey& other);   // a deep copy
    RegKey& operator=(const RegKey& other);
    RegKey(RegKey&&) = default;
    RegKey& operator=(RegKey&&) = default;

    RegValueEntry* FindValue(std::string_view name) { return Values.Find(name); }
    const RegValueEntry* FindValue(std::string_view name) const { return Values.Find(name); }
    RegKey* FindSubKey(std::string_view name);
    const RegKey* FindSubKey(std::string_view name) const;
    RegKey& AddSubKey(const std::string& name);   // the existing one or a new one
    bool RemoveValue(std::string_view name) { return Values.Remove(name); }
    bool HasRealContent() const;   // a real key or value anywhere in it
};

// Key paths inside a root: components split at '\', empty components dropped.
std::vector<std::string> SplitKeyPath(std::string_view path);

struct RegTree {
    std::map<HKEY, RegKey> Roots;

    RegKey* Root(HKEY root);   // nullptr for an unknown root; created on first use
    RegKey* Find(HKEY root, const std::vector<std::string>& path);
    const RegKey* Find(HKEY root, const std::vector<std::string>& path) const;
    // Creates the missing keys of `path`; every key along it becomes real. Returns the last one; nullptr for
    // an unknown root or a path deeper than MaxKeyDepth.
    RegKey* Create(HKEY root, const std::vector<std::string>& path, bool& changed);
    void Clear() { Roots.clear(); }
};

}

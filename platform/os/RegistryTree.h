// The settings store's keys and values in memory: a tree per root, names compared without case.
#pragma once

#include "platform/os/NameCompare.h"
#include "platform/os/RegistryTypes.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace korvex::os {

struct RegValueEntry {
    std::string Name;   // as first written; "" is the key's default value
    TRegValue Value;
    bool Virtual = false;   // answered by the store, never written to the file
};

struct RegKey {
    std::string Name;   // as first created
    bool Virtual = false;   // exists only to carry virtual values; never written unless made real
    std::vector<RegValueEntry> Values;   // in the order they were first written
    std::map<std::string, std::unique_ptr<RegKey>, NameLess> SubKeys;

    RegValueEntry* FindValue(std::string_view name);
    RegKey* FindSubKey(std::string_view name);
    RegKey& AddSubKey(const std::string& name);   // the existing one or a new one
    bool RemoveValue(std::string_view name);
    bool HasRealContent() const;   // a real key or value anywhere in it
};

// Key paths inside a root: components split at '\', empty components dropped.
std::vector<std::string> SplitKeyPath(std::string_view path);

struct RegTree {
    std::map<HKEY, RegKey> Roots;

    RegKey* Root(HKEY root);   // nullptr for an unknown root; created on first use
    RegKey* Find(HKEY root, const std::vector<std::string>& path);
    // Creates the missing keys of `path`; every key along it becomes real. Returns the last one.
    RegKey* Create(HKEY root, const std::vector<std::string>& path, bool& changed);
    void Clear() { Roots.clear(); }
};

}

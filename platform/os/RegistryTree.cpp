// The settings store's keys and values in memory: a tree per root, names compared without case.
#include "platform/os/RegistryTree.h"

#include <algorithm>

namespace korvex::os {

RegValueEntry* RegKey::FindValue(std::string_view name) {
    for (RegValueEntry& entry : Values)
        if (SameName(entry.Name, name)) return &entry;
    return nullptr;
}

RegKey* RegKey::FindSubKey(std::string_view name) {
    auto it = SubKeys.find(name);
    return it == SubKeys.end() ? nullptr : it->second.get();
}

RegKey& RegKey::AddSubKey(const std::string& name) {
    auto it = SubKeys.find(name);
    if (it != SubKeys.end()) return *it->second;
    auto key = std::make_unique<RegKey>();
    key->Name = name;
    RegKey& result = *key;
    SubKeys.emplace(name, std::move(key));
    return result;
}

bool RegKey::RemoveValue(std::string_view name) {
    auto it
        = std::find_if(Values.begin(), Values.end(), [&](const RegValueEntry& e) { return SameName(e.Name, name); });
    if (it == Values.end()) return false;
    Values.erase(it);
    return true;
}

bool RegKey::HasRealContent() const {
    if (!Virtual) return true;
    for (const RegValueEntry& entry : Values)
        if (!entry.Virtual) return true;
    for (const auto& [name, sub] : SubKeys)
        if (sub->HasRealContent()) return true;
    return false;
}

std::vector<std::string> SplitKeyPath(std::string_view path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

RegKey* RegTree::Root(HKEY root) {
    if (!IsRootKey(root)) return nullptr;
    RegKey& key = Roots[root];
    if (key.Name.empty()) key.Name = std::string(RootKeyName(root));
    return &key;
}

RegKey* RegTree::Find(HKEY root, const std::vector<std::string>& path) {
    RegKey* key = Root(root);
    for (const std::string& part : path) {
        if (!key) return nullptr;
        key = key->FindSubKey(part);
    }
    return key;
}

RegKey* RegTree::Create(HKEY root, const std::vector<std::string>& path, bool& changed) {
    RegKey* key = Root(root);
    if (!key) return nullptr;
    for (const std::string& part : path) {
        RegKey* sub = key->FindSubKey(part);
        if (!sub) {
            sub = &key->AddSubKey(part);
            changed = true;
        } else if (sub->Virtual) {
            sub->Virtual = false;
            changed = true;
        }
        key = sub;
    }
    return key;
}

}

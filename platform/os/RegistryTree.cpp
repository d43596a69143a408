// The settings store's keys and values in memory: a tree per root, names compared without case.
#include "platform/os/RegistryTree.h"

#include <algorithm>

namespace korvex::os {

std::size_t NameHash::operator()(std::string_view name) const {
    std::uint64_t hash = 14695981039346656037ULL;   // FNV-1a over the folded bytes
    for (char c : name) {
        hash ^= static_cast<unsigned char>(FoldChar(c));
        hash *= 1099511628211ULL;
    }
    return static_cast<std::size_t>(hash);
}

// ---- Values -------------------------------------------------------------------------------------------------

RegValueEntry* RegValueList::Find(std::string_view name) {
    auto it = FIndex.find(name);
    return it == FIndex.end() ? nullptr : &FEntries[it->second];
}

const RegValueEntry* RegValueList::Find(std::string_view name) const {
    auto it = FIndex.find(name);
    return it == FIndex.end() ? nullptr : &FEntries[it->second];
}

RegValueEntry& RegValueList::Set(std::string_view name, TRegValue value, bool isVirtual) {
    if (RegValueEntry* entry = Find(name)) {
        entry->Value = std::move(value);
        entry->Virtual = isVirtual;
        return *entry;
    }
    FIndex.emplace(std::string(name), FEntries.size());
    FEntries.push_back({std::string(name), std::move(value), isVirtual});
    return FEntries.back();
}

bool RegValueList::Remove(std::string_view name) {
    auto it = FIndex.find(name);
    if (it == FIndex.end()) return false;
    std::size_t place = it->second;
    FIndex.erase(it);
    FEntries.erase(FEntries.begin() + static_cast<std::ptrdiff_t>(place));
    for (auto& [entryName, at] : FIndex)   // rare: the program deletes hardly any value
        if (at > place) --at;
    return true;
}

// ---- Keys ---------------------------------------------------------------------------------------------------

RegKey::~RegKey() {
    // Frees the sub-keys level by level, so a deep tree does not nest destructor calls.
    std::vector<std::unique_ptr<RegKey>> pending;
    for (auto& [name, sub] : SubKeys)
        pending.push_back(std::move(sub));
    SubKeys.clear();
    while (!pending.empty()) {
        std::unique_ptr<RegKey> key = std::move(pending.back());
        pending.pop_back();
        for (auto& [name, sub] : key->SubKeys)
            pending.push_back(std::move(sub));
        key->SubKeys.clear();
    }
}

RegKey::RegKey(const RegKey& other)
    : Name(other.Name)
    , Virtual(other.Virtual)
    , Values(other.Values) {
    std::vector<std::pair<const RegKey*, RegKey*>> pending {{&other, this}};
    while (!pending.empty()) {
        auto [from, to] = pending.back();
        pending.pop_back();
        for (const auto& [name, sub] : from->SubKeys) {
            auto copy = std::make_unique<RegKey>();
            copy->Name = sub->Name;
            copy->Virtual = sub->Virtual;
            copy->Values = sub->Values;
            pending.emplace_back(sub.get(), copy.get());
            to->SubKeys.emplace(name, std::move(copy));
        }
    }
}

RegKey& RegKey::operator=(const RegKey& other) {
    if (this != &other) *this = RegKey(other);
    return *this;
}

RegKey* RegKey::FindSubKey(std::string_view name) {
    auto it = SubKeys.find(name);
    return it == SubKeys.end() ? nullptr : it->second.get();
}

const RegKey* RegKey::FindSubKey(std::string_view name) const {
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

bool RegKey::HasRealContent() const {
    std::vector<const RegKey*> pending {this};
    while (!pending.empty()) {
        const RegKey* key = pending.back();
        pending.pop_back();
        if (!key->Virtual) return true;
        for (const RegValueEntry& entry : key->Values)
            if (!entry.Virtual) return true;
        for (const auto& [name, sub] : key->SubKeys)
            pending.push_back(sub.get());
    }
    return false;
}

std::vector<std::string> SplitKeyPath(std::string_view path) {
    std::vector<std::string> parts;
    parts.reserve(static_cast<std::size_t>(std::count(path.begin(), path.end(), '\\')) + 1);
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// ---- The tree -----------------------------------------------------------------------------------------------

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

const RegKey* RegTree::Find(HKEY root, const std::vector<std::string>& path) const {
    static const RegKey unused;   // a root nothing was stored under yet: it exists, empty
    if (!IsRootKey(root)) return nullptr;
    auto it = Roots.find(root);
    const RegKey* key = it == Roots.end() ? &unused : &it->second;
    for (const std::string& part : path) {
        if (!key) return nullptr;
        key = key->FindSubKey(part);
    }
    return key;
}

RegKey* RegTree::Create(HKEY root, const std::vector<std::string>& path, bool& changed) {
    if (path.size() > MaxKeyDepth) return nullptr;
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

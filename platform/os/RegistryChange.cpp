// One change of the settings store as a record: checked without touching the tree, made, and made again on
// a newer tree when a batch of changes is written.
#include "platform/os/RegistryChange.h"

#include <algorithm>
#include <cerrno>

namespace korvex::os {

namespace {

bool ValidKeyName(const std::string& name) {
    return std::none_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

int Fail(int error) {
    errno = error;
    return -1;
}

// True when every key along the path exists and is real (Create would change nothing).
bool RealPath(const RegTree& tree, HKEY root, const std::vector<std::string>& path) {
    const RegKey* key = tree.Find(root, {});
    for (const std::string& part : path) {
        key = key ? key->FindSubKey(part) : nullptr;
        if (!key || key->Virtual) return false;
    }
    return key != nullptr;
}

int CheckDeleteKey(const RegTree& tree, const RegChange& change) {
    if (change.Path.empty()) return Fail(EINVAL);
    std::vector<std::string> parentPath(change.Path.begin(), change.Path.end() - 1);
    const RegKey* parent = tree.Find(change.Root, parentPath);
    if (!parent || !parent->FindSubKey(change.Path.back())) return Fail(ENOENT);
    return 1;
}

}

RegChange RegChange::CreateKey(HKEY root, std::string_view path) {
    return {TKind::CreateKey, root, SplitKeyPath(path), {}, {}};
}

RegChange RegChange::SetValue(HKEY root, std::string_view path, std::string_view name, const TRegValue& value) {
    return {TKind::SetValue, root, SplitKeyPath(path), std::string(name), value};
}

RegChange RegChange::DeleteValue(HKEY root, std::string_view path, std::string_view name) {
    return {TKind::DeleteValue, root, SplitKeyPath(path), std::string(name), {}};
}

RegChange RegChange::DeleteKey(HKEY root, std::string_view path) {
    return {TKind::DeleteKey, root, SplitKeyPath(path), {}, {}};
}

int CheckChange(const RegTree& tree, const RegChange& change) {
    if (!IsRootKey(change.Root)) return Fail(EINVAL);
    switch (change.Kind) {
    case RegChange::TKind::CreateKey:
        if (change.Path.size() > MaxKeyDepth) return Fail(EINVAL);
        if (!std::all_of(change.Path.begin(), change.Path.end(), ValidKeyName)) return Fail(EINVAL);
        return RealPath(tree, change.Root, change.Path) ? 0 : 1;
    case RegChange::TKind::SetValue: {
        const RegKey* key = tree.Find(change.Root, change.Path);
        if (!key) return Fail(ENOENT);
        const RegValueEntry* entry = key->FindValue(change.Name);
        bool same = entry && !entry->Virtual && entry->Value == change.Value;
        return same && RealPath(tree, change.Root, change.Path) ? 0 : 1;
    }
    case RegChange::TKind::DeleteValue: {
        const RegKey* key = tree.Find(change.Root, change.Path);
        return key && key->FindValue(change.Name) ? 1 : Fail(ENOENT);
    }
    case RegChange::TKind::DeleteKey:
        return CheckDeleteKey(tree, change);
    }
    return Fail(EINVAL);
}

int ApplyChange(RegTree& tree, const RegChange& change) {
    int result = CheckChange(tree, change);
    if (result <= 0) return result;
    bool changed = false;
    switch (change.Kind) {
    case RegChange::TKind::CreateKey:
        tree.Create(change.Root, change.Path, changed);
        break;
    case RegChange::TKind::SetValue:
        tree.Create(change.Root, change.Path, changed)->Values.Set(change.Name, change.Value);
        break;
    case RegChange::TKind::DeleteValue:
        tree.Find(change.Root, change.Path)->RemoveValue(change.Name);
        break;
    case RegChange::TKind::DeleteKey: {
        std::vector<std::string> parentPath(change.Path.begin(), change.Path.end() - 1);
        RegKey* parent = tree.Find(change.Root, parentPath);
        parent->SubKeys.erase(parent->SubKeys.find(change.Path.back()));
        break;
    }
    }
    return 1;
}

}

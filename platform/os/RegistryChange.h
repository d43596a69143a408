// One change of the settings store as a record: checked without touching the tree, made, and made again on
// a newer tree when a batch of changes is written.
#pragma once

#include "platform/os/RegistryTree.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvex::os {

struct RegChange {
    enum class TKind {
        CreateKey,   // with missing parents; keys the store made up become real
        SetValue,   // into an existing key
        DeleteValue,
        DeleteKey,   // with its sub-keys
    };

    TKind Kind = TKind::CreateKey;
    HKEY Root = 0;
    std::vector<std::string> Path;   // split at '\'
    std::string Name;   // of the value
    TRegValue Value;   // the value set

    static RegChange CreateKey(HKEY root, std::string_view path);
    static RegChange SetValue(HKEY root, std::string_view path, std::string_view name, const TRegValue& value);
    static RegChange DeleteValue(HKEY root, std::string_view path, std::string_view name);
    static RegChange DeleteKey(HKEY root, std::string_view path);
};

// What the change would do to `tree`: -1 when it fails (errno ENOENT: the key or value is missing; EINVAL: a
// key name with control characters, a root to delete), 0 when it changes nothing, 1 when it changes something.
int CheckChange(const RegTree& tree, const RegChange& change);
// Makes the change; the same result as CheckChange gives beforehand.
int ApplyChange(RegTree& tree, const RegChange& change);

}

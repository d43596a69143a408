// Registry basics shared by the settings store and its accessor: root keys, value types, a typed value.
#include "platform/os/RegistryTypes.h"

#include "platform/os/NameCompare.h"

namespace korvex::os {

namespace {

struct RootName {
    HKEY Key;
    std::string_view Name;
};

constexpr RootName Roots[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
    {HKEY_USERS, "HKEY_USERS"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
};

}

TRegValue MakeDwordValue(std::uint32_t value) {
    TRegValue v;
    v.Type = REG_DWORD;
    for (int i = 0; i < 4; ++i)
        v.Data.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return v;
}

TRegValue MakeStringValue(std::string text) {
    TRegValue v;
    v.Type = REG_SZ;
    v.Data = std::move(text);
    return v;
}

TRegValue MakeBinaryValue(const void* data, std::size_t size) {
    TRegValue v;
    v.Type = REG_BINARY;
    v.Data.assign(static_cast<const char*>(data), size);
    return v;
}

std::uint32_t DwordOf(const TRegValue& value) {
    std::uint32_t result = 0;
    for (std::size_t i = 0; i < 4 && i < value.Data.size(); ++i)
        result |= static_cast<std::uint32_t>(static_cast<unsigned char>(value.Data[i])) << (8 * i);
    return result;
}

std::string_view RootKeyName(HKEY root) {
    for (const RootName& r : Roots)
        if (r.Key == root) return r.Name;
    return {};
}

HKEY RootKeyFromName(std::string_view name) {
    for (const RootName& r : Roots)
        if (SameName(r.Name, name)) return r.Key;
    return 0;
}

bool IsRootKey(HKEY key) {
    return !RootKeyName(key).empty();
}

}

// Registry basics shared by the settings store and its accessor: root keys, value types, a typed value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvex::os {

using HKEY = std::uintptr_t;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr HKEY HKEY_USERS = 0x80000003;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;

// Value types, numbered as the registry numbers them.
inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;   // text (UTF-8, no terminator kept)
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;   // text with %VARIABLES%
inline constexpr std::uint32_t REG_BINARY = 3;   // bytes
inline constexpr std::uint32_t REG_DWORD = 4;   // 4 bytes, little-endian
inline constexpr std::uint32_t REG_MULTI_SZ = 7;
inline constexpr std::uint32_t REG_QWORD = 11;

struct TRegValue {
    std::uint32_t Type = REG_NONE;
    std::string Data;   // the text for REG_SZ / REG_EXPAND_SZ, else the raw bytes

    bool operator==(const TRegValue&) const = default;
};

TRegValue MakeDwordValue(std::uint32_t value);
TRegValue MakeStringValue(std::string text);
TRegValue MakeBinaryValue(const void* data, std::size_t size);
// The DWORD of a 4-byte value (little-endian).
std::uint32_t DwordOf(const TRegValue& value);

// "HKEY_LOCAL_MACHINE" ...; "" for an unknown root.
std::string_view RootKeyName(HKEY root);
// The root named (case-insensitively) by `name`; 0 when none.
HKEY RootKeyFromName(std::string_view name);
// True for the five roots above.
bool IsRootKey(HKEY key);

}

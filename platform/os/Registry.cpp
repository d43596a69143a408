// TRegistry: the run time's registry accessor over the settings store, with its typed reads and writes.
#include "platform/os/Registry.h"

#include <cerrno>
#include <cstring>

namespace korvex::os {

namespace {

std::string JoinKeyPath(const std::vector<std::string>& parts) {
    std::string path;
    for (const std::string& part : parts) {
        if (!path.empty()) path += '\\';
        path += part;
    }
    return path;
}

[[noreturn]] void InvalidType(const std::string& name) {
    throw ERegistryException("Invalid data type for '" + name + "'");
}

[[noreturn]] void GetFailed(const std::string& name) {
    throw ERegistryException("Failed to get data for '" + name + "'");
}

bool IsText(const TRegValue& v) {
    return v.Type == REG_SZ || v.Type == REG_EXPAND_SZ;
}

TRegValue DoubleValue(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    char bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return MakeBinaryValue(bytes, sizeof bytes);
}

double DoubleOf(const TRegValue& v) {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= static_cast<std::uint64_t>(static_cast<unsigned char>(v.Data[static_cast<size_t>(i)])) << (8 * i);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}

TRegistry::TRegistry()
    : FStore(RegistryStore::Default()) {
}

TRegistry::TRegistry(RegistryStore& store)
    : FStore(store) {
}

TRegistry::~TRegistry() {
    CloseKey();
}

void TRegistry::SetRootKey(HKEY key) {
    CloseKey();
    FRootKey = key;
}

std::string TRegistry::ResolveKey(const std::string& key) const {
    std::string path = JoinKeyPath(SplitKeyPath(key));
    bool absolute = !key.empty() && key[0] == '\\';
    if (absolute || !FKeyOpen || FCurrentPath.empty()) return path;
    return path.empty() ? FCurrentPath : FCurrentPath + "\\" + path;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    std::string path = ResolveKey(key);
    bool ok = canCreate ? FStore.CreateKey(FRootKey, path) : FStore.KeyExists(FRootKey, path);
    if (!ok) return false;
    FCurrentPath = path;
    FKeyOpen = true;
    FReadOnly = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    std::string path = ResolveKey(key);
    if (!FStore.KeyExists(FRootKey, path)) return false;
    FCurrentPath = path;
    FKeyOpen = true;
    FReadOnly = true;
    return true;
}

void TRegistry::CloseKey() {
    FKeyOpen = false;
    FReadOnly = false;
    FCurrentPath.clear();
}

bool TRegistry::KeyExists(const std::string& key) {
    return FStore.KeyExists(FRootKey, ResolveKey(key));
}

bool TRegistry::CreateKey(const std::string& key) {
    if (!FStore.CreateKey(FRootKey, ResolveKey(key))) throw ERegistryException("Failed to create key " + key);
    return true;
}

bool TRegistry::DeleteKey(const std::string& key) {
    std::string path = ResolveKey(key);
    return !path.empty() && FStore.DeleteKey(FRootKey, path);
}

bool TRegistry::HasSubKeys() {
    return !GetKeyNames().empty();
}

std::vector<std::string> TRegistry::GetKeyNames() {
    return FStore.GetKeyNames(FRootKey, FCurrentPath);
}

std::vector<std::string> TRegistry::GetValueNames() {
    return FStore.GetValueNames(FRootKey, FCurrentPath);
}

std::optional<TRegValue> TRegistry::Value(const std::string& name) {
    return FStore.GetValue(FRootKey, FCurrentPath, name);
}

bool TRegistry::ValueExists(const std::string& name) {
    return Value(name).has_value();
}

bool TRegistry::DeleteValue(const std::string& name) {
    if (FReadOnly) {
        errno = EACCES;
        return false;
    }
    return FStore.DeleteValue(FRootKey, FCurrentPath, name);
}

TRegDataType TRegistry::GetDataType(const std::string& name) {
    std::optional<TRegValue> v = Value(name);
    if (!v) return TRegDataType::rdUnknown;
    switch (v->Type) {
    case REG_SZ:
        return TRegDataType::rdString;
    case REG_EXPAND_SZ:
        return TRegDataType::rdExpandString;
    case REG_DWORD:
        return TRegDataType::rdInteger;
    case REG_BINARY:
        return TRegDataType::rdBinary;
    default:
        return TRegDataType::rdUnknown;
    }
}

int TRegistry::GetDataSize(const std::string& name) {
    std::optional<TRegValue> v = Value(name);
    if (!v) return -1;
    return static_cast<int>(v->Data.size()) + (IsText(*v) ? 1 : 0);
}

// ---- Reads --------------------------------------------------------------------------------------------------

bool TRegistry::TryReadInteger(const std::string& name, int& value) {
    std::optional<TRegValue> v = Value(name);
    if (!v || v->Type != REG_DWORD || v->Data.size() != 4) return false;
    value = static_cast<int>(DwordOf(*v));
    return true;
}

int TRegistry::ReadInteger(const std::string& name) {
    std::optional<TRegValue> v = Value(name);
    if (!v) GetFailed(name);
    if (v->Type != REG_DWORD || v->Data.size() != 4) InvalidType(name);
    return static_cast<int>(DwordOf(*v));
}

bool TRegistry::TryReadString(const std::string& name, std::string& value) {
    std::optional<TRegValue> v = Value(name);
    if (v && !IsText(*v)) return false;
    value = v ? v->Data : std::string();
    return true;
}

std::string TRegistry::ReadString(const std::string& name) {
    std::optional<TRegValue> v = Value(name);
    if (!v) return {};
    if (!IsText(*v)) InvalidType(name);
    return v->Data;
}

bool TRegistry::TryReadBool(const std::string& name, bool& value) {
    int number = 0;
    if (!TryReadInteger(name, number)) return false;
    value = number != 0;
    return true;
}

bool TRegistry::ReadBool(const std::string& name) {
    return ReadInteger(name) != 0;
}

bool TRegistry::ReadDouble(const std::string& name, double& value, bool raise) {
    std::optional<TRegValue> v = Value(name);
    if (!v) {
        if (raise) GetFailed(name);
        return false;
    }
    if (v->Type != REG_BINARY || v->Data.size() != 8) {
        if (raise) InvalidType(name);
        return false;
    }
    value = DoubleOf(*v);
    return true;
}

double TRegistry::ReadFloat(const std::string& name) {
    double value = 0;
    ReadDouble(name, value, true);
    return value;
}

base::TDateTime TRegistry::ReadDateTime(const std::string& name) {
    return ReadFloat(name);
}

bool TRegistry::TryReadFloat(const std::string& name, double& value) {
    return ReadDouble(name, value, false);
}

bool TRegistry::TryReadDateTime(const std::string& name, base::TDateTime& value) {
    return ReadDouble(name, value, false);
}

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int bufferSize) {
    std::optional<TRegValue> v = Value(name);
    if (!v) return 0;
    bool binary = v->Type != REG_SZ && v->Type != REG_EXPAND_SZ && v->Type != REG_DWORD;
    if (!binary || bufferSize < 0 || v->Data.size() > static_cast<size_t>(bufferSize)) InvalidType(name);
    if (!v->Data.empty()) std::memcpy(buffer, v->Data.data(), v->Data.size());
    return static_cast<int>(v->Data.size());
}

// ---- Writes -------------------------------------------------------------------------------------------------

bool TRegistry::WriteValue(const std::string& name, const TRegValue& value) {
    if (FReadOnly) {
        errno = EACCES;
        return false;
    }
    return FStore.SetValue(FRootKey, FCurrentPath, name, value);
}

void TRegistry::CheckedWrite(const std::string& name, const TRegValue& value) {
    if (!WriteValue(name, value)) throw ERegistryException("Failed to set data for '" + name + "'");
}

void TRegistry::WriteInteger(const std::string& name, int value) {
    CheckedWrite(name, MakeDwordValue(static_cast<std::uint32_t>(value)));
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    CheckedWrite(name, MakeStringValue(value));
}

void TRegistry::WriteBool(const std::string& name, bool value) {
    WriteInteger(name, value ? 1 : 0);
}

void TRegistry::WriteFloat(const std::string& name, double value) {
    CheckedWrite(name, DoubleValue(value));
}

void TRegistry::WriteDateTime(const std::string& name, base::TDateTime value) {
    WriteFloat(name, value);
}

void TRegistry::WriteBinaryData(const std::string& name, const void* buffer, int bufferSize) {
    CheckedWrite(name, MakeBinaryValue(buffer, bufferSize > 0 ? static_cast<size_t>(bufferSize) : 0));
}

bool TRegistry::TryWriteInteger(const std::string& name, int value) {
    return WriteValue(name, MakeDwordValue(static_cast<std::uint32_t>(value)));
}

bool TRegistry::TryWriteString(const std::string& name, const std::string& value) {
    return WriteValue(name, MakeStringValue(value));
}

bool TRegistry::TryWriteBool(const std::string& name, bool value) {
    return TryWriteInteger(name, value ? 1 : 0);
}

bool TRegistry::TryWriteFloat(const std::string& name, double value) {
    return WriteValue(name, DoubleValue(value));
}

bool TRegistry::TryWriteDateTime(const std::string& name, base::TDateTime value) {
    return TryWriteFloat(name, value);
}

bool TRegistry::TryWriteBinaryData(const std::string& name, const void* buffer, int bufferSize) {
    return WriteValue(name, MakeBinaryValue(buffer, bufferSize > 0 ? static_cast<size_t>(bufferSize) : 0));
}

}

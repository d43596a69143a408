// TRegistry: the run time's registry accessor over the settings store, with its typed reads and writes.
#pragma once

#include "platform/base/DateTimeType.h"
#include "platform/base/Exceptions.h"
#include "platform/os/RegistryStore.h"
#include "platform/os/RegistryTypes.h"

#include <string>
#include <vector>

namespace korvex::os {

// Raised with the run time's messages: "Invalid data type for 'X'" (a value of another type),
// "Failed to get data for 'X'" (reading a missing value where one is needed), "Failed to set data for 'X'"
// (a write that could not be made), "Failed to create key X".
class ERegistryException : public base::Exception {
public:
    using Exception::Exception;
};

enum class TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// One accessor per use and thread; the store behind it is shared and thread-safe. A key path starting
// with '\' is taken from RootKey(); otherwise from the open key, or from RootKey() when none is open.
// With no key open, values are those of the root itself.
class TRegistry {
public:
    TRegistry();   // RootKey() is HKEY_CURRENT_USER, as in the run time
    explicit TRegistry(RegistryStore& store);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return FRootKey; }
    void SetRootKey(HKEY key);   // closes the open key
    const std::string& CurrentPath() const { return FCurrentPath; }   // "SOFTWARE\Tellvar", no leading '\'

    // Opens a key, creating it (and its parents) when canCreate. False when it is missing (or cannot be
    // created); the previously open key then stays open.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);   // writes through it raise
    void CloseKey();
    bool KeyExists(const std::string& key);
    bool CreateKey(const std::string& key);   // raises ERegistryException when it cannot be created
    bool DeleteKey(const std::string& key);   // with every sub-key; false when missing
    bool HasSubKeys();
    std::vector<std::string> GetKeyNames();   // of the open key, sorted without case
    std::vector<std::string> GetValueNames();   // of the open key, in order of writing; "" is the default

    // Values of the open key; "" names the key's default value.
    bool ValueExists(const std::string& name);
    bool DeleteValue(const std::string& name);
    TRegDataType GetDataType(const std::string& name);   // rdUnknown when missing
    int GetDataSize(const std::string& name);   // bytes (a text counts its terminator); -1 when missing

    // Reads. ReadString of a missing value gives ""; ReadInteger, ReadBool, ReadFloat and ReadDateTime of a
    // missing value raise "Failed to get data for"; every read of a value of another type raises
    // "Invalid data type for". ReadBinaryData of a missing value gives 0 and raises when the value is longer
    // than the buffer or not binary.
    int ReadInteger(const std::string& name);
    std::string ReadString(const std::string& name);   // REG_SZ and REG_EXPAND_SZ
    bool ReadBool(const std::string& name);   // a DWORD; any non-zero value is true
    double ReadFloat(const std::string& name);   // an 8-byte binary holding a little-endian double
    base::TDateTime ReadDateTime(const std::string& name);   // the same
    int ReadBinaryData(const std::string& name, void* buffer, int bufferSize);   // the bytes copied
    // Twins that return false instead of raising (and leave `value` alone).
    bool TryReadInteger(const std::string& name, int& value);
    bool TryReadString(const std::string& name, std::string& value);
    bool TryReadBool(const std::string& name, bool& value);
    bool TryReadFloat(const std::string& name, double& value);
    bool TryReadDateTime(const std::string& name, base::TDateTime& value);

    // Writes, each in the file when it returns (inside a batch of the store on this thread, when the batch
    // ends: RegistryBatch.h); they raise "Failed to set data for" when no key can take them (read-only,
    // deleted meanwhile) or the file cannot be written.
    void WriteInteger(const std::string& name, int value);   // REG_DWORD
    void WriteString(const std::string& name, const std::string& value);   // REG_SZ
    void WriteBool(const std::string& name, bool value);   // REG_DWORD 0 or 1
    void WriteFloat(const std::string& name, double value);   // REG_BINARY, 8 bytes
    void WriteDateTime(const std::string& name, base::TDateTime value);   // REG_BINARY, 8 bytes
    void WriteBinaryData(const std::string& name, const void* buffer, int bufferSize);   // REG_BINARY
    // Twins that return false instead of raising.
    bool TryWriteInteger(const std::string& name, int value);
    bool TryWriteString(const std::string& name, const std::string& value);
    bool TryWriteBool(const std::string& name, bool value);
    bool TryWriteFloat(const std::string& name, double value);
    bool TryWriteDateTime(const std::string& name, base::TDateTime value);
    bool TryWriteBinaryData(const std::string& name, const void* buffer, int bufferSize);

private:
    // The path a key argument names: absolute with a leading '\', else below the open key.
    std::string ResolveKey(const std::string& key) const;
    bool WriteValue(const std::string& name, const TRegValue& value);
    void CheckedWrite(const std::string& name, const TRegValue& value);
    std::optional<TRegValue> Value(const std::string& name);
    bool ReadDouble(const std::string& name, double& value, bool raise);

    RegistryStore& FStore;
    HKEY FRootKey = HKEY_CURRENT_USER;
    std::string FCurrentPath;
    bool FKeyOpen = false;
    bool FReadOnly = false;
};

}

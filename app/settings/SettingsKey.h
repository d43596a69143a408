// One key of the settings store under HKEY_LOCAL_MACHINE: reads that write a missing value's default first,
// and wrong-typed values taken as missing.
#pragma once

#include "app/settings/Settings.h"
#include "platform/os/Registry.h"
#include "platform/os/RegistryBatch.h"

#include <optional>
#include <string>

namespace korvex::app {

// Opens (creating when missing) the key for the object's life. A value stored with another type than the
// read expects gives the default in memory and a line in the program log; the stored value is left alone.
// Writes that fail are logged and otherwise ignored: settings never stop the program.
class TSettingsKey {
public:
    explicit TSettingsKey(const std::string& key, bool canCreate = true);

    bool IsOpen() const { return FOpen; }
    const std::string& Key() const { return FKey; }
    bool Exists(const std::string& name);

    // Missing: the default is written, then read back. Flags are DWORDs, any non-zero value set.
    int Integer(const std::string& name, int defaultValue);
    bool Flag(const std::string& name, bool defaultValue);
    std::string Text(const std::string& name, const std::string& defaultValue);

    // Reads that write nothing: missing (or wrong-typed, logged) values give nothing.
    std::optional<int> IntegerIfPresent(const std::string& name);
    std::optional<std::string> TextIfPresent(const std::string& name);
    std::optional<double> FloatIfPresent(const std::string& name);

    // True when written.
    bool WriteInteger(const std::string& name, int value);
    bool WriteFlag(const std::string& name, bool value);
    bool WriteText(const std::string& name, const std::string& value);
    bool WriteFloat(const std::string& name, double value);

    os::TRegistry& Registry() { return FRegistry; }

private:
    void WrongType(const std::string& name);
    void WriteFailed(const std::string& name);

    os::TRegistry FRegistry;
    std::string FKey;
    bool FOpen = false;
};

// Bulk reads and writes in one batch of the settings store: the file is written once, at the end (a failure
// logged).
struct TSettingsBatch {
    os::TRegistryBatch Batch;
    ~TSettingsBatch();
};

// The per-node keys, open for the whole node list.
struct TNodeKeys {
    TSettingsKey Label {LabelKey};
    TSettingsKey Path {PathKey};
    TSettingsKey Data {DataKey};
    TSettingsKey Get {GetWUKey};
    TSettingsKey Hint {HintKey};
};

}

// Typed settings reads with defaults, tolerant of wrong types and failed writes.
#include "app/settings/SettingsKey.h"

#include "app/settings/ProgramLog.h"
#include "platform/os/RegistryStore.h"

namespace korvex::app {

namespace {

// A settings file that is there and cannot be read refuses every write; the store has said so once already.
bool SaidAlready() {
    return os::RegistryStore::Default().FileUnreadable();
}

}

TSettingsKey::TSettingsKey(const std::string& key, bool canCreate)
    : FKey(key) {
    FRegistry.SetRootKey(os::HKEY_LOCAL_MACHINE);
    FOpen = FRegistry.OpenKey(key, canCreate);
    if (!FOpen && canCreate && !SaidAlready()) WLog("Settings: cannot open " + key);
}

bool TSettingsKey::Exists(const std::string& name) {
    return FOpen && FRegistry.ValueExists(name);
}

void TSettingsKey::WrongType(const std::string& name) {
    WLog("Settings: " + FKey + "\\" + name + " has a wrong type; its default is used");
}

void TSettingsKey::WriteFailed(const std::string& name) {
    if (SaidAlready()) return;
    WLog("Settings: cannot write " + FKey + "\\" + name);
}

int TSettingsKey::Integer(const std::string& name, int defaultValue) {
    if (!FOpen) return defaultValue;
    if (!FRegistry.ValueExists(name)) {
        WriteInteger(name, defaultValue);
        if (!FRegistry.ValueExists(name)) return defaultValue;
    }
    int value = defaultValue;
    if (!FRegistry.TryReadInteger(name, value)) WrongType(name);
    return value;
}

bool TSettingsKey::Flag(const std::string& name, bool defaultValue) {
    return Integer(name, defaultValue ? 1 : 0) != 0;
}

std::string TSettingsKey::Text(const std::string& name, const std::string& defaultValue) {
    if (!FOpen) return defaultValue;
    if (!FRegistry.ValueExists(name)) {
        WriteText(name, defaultValue);
        if (!FRegistry.ValueExists(name)) return defaultValue;
    }
    std::string value = defaultValue;
    if (!FRegistry.TryReadString(name, value)) WrongType(name);
    return value;
}

std::optional<int> TSettingsKey::IntegerIfPresent(const std::string& name) {
    if (!Exists(name)) return std::nullopt;
    int value = 0;
    if (FRegistry.TryReadInteger(name, value)) return value;
    WrongType(name);
    return std::nullopt;
}

std::optional<std::string> TSettingsKey::TextIfPresent(const std::string& name) {
    if (!Exists(name)) return std::nullopt;
    std::string value;
    if (FRegistry.TryReadString(name, value)) return value;
    WrongType(name);
    return std::nullopt;
}

std::optional<double> TSettingsKey::FloatIfPresent(const std::string& name) {
    if (!Exists(name)) return std::nullopt;
    double value = 0;
    if (FRegistry.TryReadFloat(name, value)) return value;
    WrongType(name);
    return std::nullopt;
}

bool TSettingsKey::WriteInteger(const std::string& name, int value) {
    if (FOpen && FRegistry.TryWriteInteger(name, value)) return true;
    WriteFailed(name);
    return false;
}

bool TSettingsKey::WriteFlag(const std::string& name, bool value) {
    if (FOpen && FRegistry.TryWriteBool(name, value)) return true;
    WriteFailed(name);
    return false;
}

bool TSettingsKey::WriteText(const std::string& name, const std::string& value) {
    if (FOpen && FRegistry.TryWriteString(name, value)) return true;
    WriteFailed(name);
    return false;
}

bool TSettingsKey::WriteFloat(const std::string& name, double value) {
    if (FOpen && FRegistry.TryWriteFloat(name, value)) return true;
    WriteFailed(name);
    return false;
}

TSettingsBatch::~TSettingsBatch() {
    if (!Batch.Commit() && !SaidAlready()) WLog("Settings: cannot write the settings file");
}

}

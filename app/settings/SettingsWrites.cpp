// Settings values of the refresh cycle, written together in one batch.
#include "app/settings/SettingsWrites.h"

#include "app/settings/ProgramLog.h"
#include "app/settings/SettingsKey.h"
#include "platform/os/RegistryBatch.h"

#include <memory>

namespace korvex::app {

void TSettingsWrites::Hold(const std::string& key, const std::string& name, TValue value) {
    std::lock_guard<std::mutex> guard(FLock);
    for (TWrite& write : FWrites)
        if (write.Key == key && write.Name == name) {
            write.Value = std::move(value);
            return;
        }
    FWrites.push_back(TWrite {key, name, std::move(value)});
}

void TSettingsWrites::WriteInteger(const std::string& key, const std::string& name, int value) {
    Hold(key, name, value);
}

void TSettingsWrites::WriteFloat(const std::string& key, const std::string& name, double value) {
    Hold(key, name, value);
}

void TSettingsWrites::WriteText(const std::string& key, const std::string& name, const std::string& value) {
    Hold(key, name, value);
}

std::optional<double> TSettingsWrites::PendingFloat(const std::string& key, const std::string& name) const {
    std::lock_guard<std::mutex> guard(FLock);
    for (const TWrite& write : FWrites)
        if (write.Key == key && write.Name == name)
            if (const double* value = std::get_if<double>(&write.Value)) return *value;
    return std::nullopt;
}

bool TSettingsWrites::Pending() const {
    std::lock_guard<std::mutex> guard(FLock);
    return !FWrites.empty();
}

bool TSettingsWrites::Flush() {
    std::vector<TWrite> writes;
    {
        std::lock_guard<std::mutex> guard(FLock);
        writes.swap(FWrites);
    }
    if (writes.empty()) return true;
    bool written = false;
    {
        os::TRegistryBatch batch;
        std::unique_ptr<TSettingsKey> key;
        for (const TWrite& write : writes) {
            if (!key || key->Key() != write.Key) key = std::make_unique<TSettingsKey>(write.Key);
            if (const int* i = std::get_if<int>(&write.Value))
                key->WriteInteger(write.Name, *i);
            else if (const double* d = std::get_if<double>(&write.Value))
                key->WriteFloat(write.Name, *d);
            else
                key->WriteText(write.Name, std::get<std::string>(write.Value));
        }
        key.reset();
        written = batch.Commit();
    }
    if (written) return true;
    WLog("Settings: cannot write the settings file");
    std::lock_guard<std::mutex> guard(FLock);
    for (TWrite& write : writes) {
        bool newer = false;
        for (const TWrite& held : FWrites)
            newer = newer || (held.Key == write.Key && held.Name == write.Name);
        if (!newer) FWrites.push_back(std::move(write));
    }
    return false;
}

}

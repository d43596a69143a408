// A test's own settings store, program folder and clock, restored when the object goes.
#pragma once

#include "support/ClientFiles.h"

#include "platform/base/DateTimeType.h"
#include "platform/os/RegistryTypes.h"

#include <optional>
#include <string>

namespace korvex::app::test {

class TAppEnvironment {
public:
    TAppEnvironment();
    ~TAppEnvironment();
    TAppEnvironment(const TAppEnvironment&) = delete;
    TAppEnvironment& operator=(const TAppEnvironment&) = delete;

    const std::string& Folder() const { return FDir.Path(); }   // the program folder
    std::string File(const std::string& name) const { return FDir.File(name); }
    std::string RegistryFile() const { return FDir.File("registry.reg"); }
    void SetNow(base::TDateTime now);   // the clock behind base::Now()
    std::string ReadFile(const std::string& name) const;   // "" when missing
    // A value under HKEY_LOCAL_MACHINE as the store holds it, and a value put there directly.
    std::optional<os::TRegValue> Stored(const std::string& key, const std::string& name) const;
    void Store(const std::string& key, const std::string& name, const os::TRegValue& value);

private:
    TTempDir FDir;
    std::string FOldRegistry;
    bool FHadRegistry = false;
    std::string FOldConfigHome;
    bool FHadConfigHome = false;
};

}

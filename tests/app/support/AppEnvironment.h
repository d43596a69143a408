// A test's own settings store, program folder and clock, restored when the object goes.
#pragma once

#include "support/ClientFiles.h"

#include "platform/base/DateTimeType.h"

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

private:
    TTempDir FDir;
    std::string FOldRegistry;
    bool FHadRegistry = false;
};

}

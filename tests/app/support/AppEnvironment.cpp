// The test environment of the application's data core.
#include "support/AppEnvironment.h"

#include "platform/base/DateTime.h"
#include "platform/os/ProgramFolder.h"
#include "platform/os/RegistryStore.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace korvex::app::test {

TAppEnvironment::TAppEnvironment() {
    if (const char* old = std::getenv("KORVEX_REGISTRY")) {
        FHadRegistry = true;
        FOldRegistry = old;
    }
    ::setenv("KORVEX_REGISTRY", RegistryFile().c_str(), 1);
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
        FHadConfigHome = true;
        FOldConfigHome = old;
    }
    ::setenv("XDG_CONFIG_HOME", FDir.File("config").c_str(), 1);   // autostart entries land here
    os::SetProgramFolderForTests(FDir.Path());
}

TAppEnvironment::~TAppEnvironment() {
    base::ResetNowProvider();
    os::SetProgramFolderForTests("");
    if (FHadRegistry)
        ::setenv("KORVEX_REGISTRY", FOldRegistry.c_str(), 1);
    else
        ::unsetenv("KORVEX_REGISTRY");
    if (FHadConfigHome)
        ::setenv("XDG_CONFIG_HOME", FOldConfigHome.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

void TAppEnvironment::SetNow(base::TDateTime now) {
    base::SetNowProvider([now] { return now; });
}

std::optional<os::TRegValue> TAppEnvironment::Stored(const std::string& key, const std::string& name) const {
    return os::RegistryStore::Default().GetValue(os::HKEY_LOCAL_MACHINE, key, name);
}

void TAppEnvironment::Store(const std::string& key, const std::string& name, const os::TRegValue& value) {
    os::RegistryStore::Default().CreateKey(os::HKEY_LOCAL_MACHINE, key);
    if (!os::RegistryStore::Default().SetValue(os::HKEY_LOCAL_MACHINE, key, name, value))
        throw std::runtime_error("cannot store " + name);
}

std::string TAppEnvironment::ReadFile(const std::string& name) const {
    return ReadFileText(File(name));
}

}

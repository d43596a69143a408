// The test environment of the application's data core.
#include "support/AppEnvironment.h"

#include "platform/base/DateTime.h"
#include "platform/os/ProgramFolder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace korvex::app::test {

TAppEnvironment::TAppEnvironment() {
    if (const char* old = std::getenv("KORVEX_REGISTRY")) {
        FHadRegistry = true;
        FOldRegistry = old;
    }
    ::setenv("KORVEX_REGISTRY", RegistryFile().c_str(), 1);
    os::SetProgramFolderForTests(FDir.Path());
}

TAppEnvironment::~TAppEnvironment() {
    base::ResetNowProvider();
    os::SetProgramFolderForTests("");
    if (FHadRegistry) ::setenv("KORVEX_REGISTRY", FOldRegistry.c_str(), 1);
    else ::unsetenv("KORVEX_REGISTRY");
}

void TAppEnvironment::SetNow(base::TDateTime now) {
    base::SetNowProvider([now] { return now; });
}

std::string TAppEnvironment::ReadFile(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}

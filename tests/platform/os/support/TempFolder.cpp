// Test helpers for the file tests: a temporary folder, small file helpers, environment overrides.
#include "support/TempFolder.h"

#include "platform/os/ProgramFolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

namespace korvex::os::filetest {

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

EnvOverride::EnvOverride(std::string name, std::optional<std::string> value)
    : FName(std::move(name)) {
    if (const char* old = std::getenv(FName.c_str())) FOld = old;
    if (value)
        ::setenv(FName.c_str(), value->c_str(), 1);
    else
        ::unsetenv(FName.c_str());
}

EnvOverride::~EnvOverride() {
    if (FOld)
        ::setenv(FName.c_str(), FOld->c_str(), 1);
    else
        ::unsetenv(FName.c_str());
}

SandboxedEnvironment::SandboxedEnvironment()
    : FRegistry("KORVEX_REGISTRY", FFolder / "config/korvex/registry.reg")
    , FConfig("XDG_CONFIG_HOME", FFolder / "config")
    , FUnc("KORVEX_UNC_ROOT", FFolder / "net") {
    std::filesystem::create_directories(ProgramFolder());
    std::filesystem::create_directories(UncRoot());
    os::SetProgramFolderForTests(ProgramFolder());
}

SandboxedEnvironment::~SandboxedEnvironment() {
    os::SetProgramFolderForTests("");
}

std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}

// Test helpers for the file tests: a temporary folder, small file helpers, environment overrides.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <vector>

namespace korvex::os::filetest {

// A fresh folder "<prefix>-XXXXXX" in `parent` ($TMPDIR, or /tmp, when empty), removed with everything in it
// at the end of the test. Defined here so that other layers' test support can use it without linking ours.
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "korvex-os", std::string parent = "") {
        if (parent.empty()) {
            const char* tmp = std::getenv("TMPDIR");
            parent = tmp && *tmp ? tmp : "/tmp";
        }
        std::string pattern = parent + "/" + prefix + "-XXXXXX";
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        FPath = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return FPath; }   // without a trailing '/'
    std::string operator/(const std::string& name) const { return FPath + "/" + name; }

protected:
    std::string FPath;
};

void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);   // "" when missing
bool Exists(const std::string& path);   // any kind of entry, links not followed
std::vector<std::string> NamesIn(const std::string& folder);   // its entries' names, sorted

// Sets (or, with nullopt, unsets) an environment variable for the scope; the old value comes back after.
class EnvOverride {
public:
    EnvOverride(std::string name, std::optional<std::string> value);
    ~EnvOverride();
    EnvOverride(const EnvOverride&) = delete;
    EnvOverride& operator=(const EnvOverride&) = delete;

private:
    std::string FName;
    std::optional<std::string> FOld;
};

// The program's options key, where the settings tests write.
inline constexpr const char* OptionsKey = "SOFTWARE\\Tellvar\\Options";

// Everything a test of the settings store needs kept away from the real user's files: KORVEX_REGISTRY,
// XDG_CONFIG_HOME, KORVEX_UNC_ROOT and the program folder all point into one temporary folder.
class SandboxedEnvironment {
public:
    SandboxedEnvironment();
    ~SandboxedEnvironment();

    const TempFolder& Folder() const { return FFolder; }
    std::string RegistryFile() const { return FFolder / "config/korvex/registry.reg"; }
    std::string ConfigHome() const { return FFolder / "config"; }
    std::string ProgramFolder() const { return FFolder / "program"; }
    std::string UncRoot() const { return FFolder / "net"; }

private:
    TempFolder FFolder;
    EnvOverride FRegistry;
    EnvOverride FConfig;
    EnvOverride FUnc;
};

}

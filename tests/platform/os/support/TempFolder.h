// Test helpers for the file tests: a temporary folder, small file helpers, environment overrides.
#pragma once

#include <optional>
#include <string>

namespace korvex::os::filetest {

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return FPath; }
    std::string operator/(const std::string& name) const { return FPath + "/" + name; }

private:
    std::string FPath;
};

void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);   // "" when missing
bool Exists(const std::string& path);   // any kind of entry, links not followed

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

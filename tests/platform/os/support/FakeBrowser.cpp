// A registered browser for tests: its desktop entry, the mimeapps.list naming it, and the recording program.
#include "support/FakeBrowser.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace korvex::os::filetest {

namespace fs = std::filesystem;

FakeBrowser::FakeBrowser(const std::string& exec, bool registered) {
    const std::string root = FFolder.Path();
    for (const char* folder : {"home", "config", "config-dirs", "data/applications", "data-dirs"})
        fs::create_directories(root + "/" + folder);
    const std::pair<const char*, std::optional<std::string>> environment[] = {
        {"HOME", root + "/home"},
        {"XDG_CONFIG_HOME", root + "/config"},
        {"XDG_CONFIG_DIRS", root + "/config-dirs"},
        {"XDG_DATA_HOME", root + "/data"},
        {"XDG_DATA_DIRS", root + "/data-dirs"},
        {"XDG_CURRENT_DESKTOP", std::string("X-Generic")},
        {"XDG_MENU_PREFIX", std::nullopt},
        {"KDE_FULL_SESSION", std::nullopt},
        {"GNOME_DESKTOP_SESSION_ID", std::nullopt},
    };
    for (const auto& [name, value] : environment)
        FEnvironment.push_back(std::make_unique<EnvOverride>(name, value));

    const std::string recorder = Recorder();
    WriteFile(recorder, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + root
            + "/record.part\"\nmv \"" + root + "/record.part\" \"" + root + "/record\"\n");
    fs::permissions(recorder, fs::perms::owner_all);
    std::string line = exec;
    for (std::size_t at = line.find("%R"); at != std::string::npos; at = line.find("%R", at + recorder.size()))
        line.replace(at, 2, recorder);
    WriteFile(root + "/data/applications/korvex-test-browser.desktop",
        "[Desktop Entry]\nType=Application\nName=Test browser\nExec=" + line + "\n");
    if (registered)
        WriteFile(root + "/config/mimeapps.list",
            "[Default Applications]\nx-scheme-handler/http=korvex-test-browser.desktop\n");
}

FakeBrowser::~FakeBrowser() = default;

std::string FakeBrowser::Recorder() const {
    return FFolder / "recorder";
}

std::string FakeBrowser::Record() const {
    return ReadFile(FFolder / "record");
}

std::string FakeBrowser::WaitForRecord(int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!fs::exists(FFolder / "record") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return Record();
}

}

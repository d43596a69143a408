// Tests of opening pages and files with the opener, started detached and never waited for.
#include "platform/os/Shell.h"
#include "support/TempFolder.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>

using namespace korvex::os;
using korvex::os::filetest::EnvOverride;
using korvex::os::filetest::ReadFile;
using korvex::os::filetest::SandboxedEnvironment;
using korvex::os::filetest::WriteFile;

namespace fs = std::filesystem;

namespace {

// A fake opener script that writes its arguments, one a line, into `record`.
std::string MakeRecorder(const std::string& folder, const std::string& record) {
    std::string script = folder + "/opener";
    WriteFile(script,
        "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > " + record + ".part\nmv " + record + ".part "
            + record + "\n");
    fs::permissions(script, fs::perms::owner_all);
    return script;
}

// The detached opener runs on its own; poll for its record (bounded).
std::string WaitForRecord(const std::string& record) {
    for (int i = 0; i < 500 && !fs::exists(record); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return ReadFile(record);
}

}

TEST(ShellOpen, StartsTheOpenerWithTheTargetAsOneArgument) {
    SandboxedEnvironment env;
    std::string record = env.Folder() / "record";
    EnvOverride opener("KORVEX_OPENER", MakeRecorder(env.Folder().Path(), record));
    EXPECT_TRUE(ShellOpen("https://example.invalid/t.php?t=123&x=a b;$(rm -rf /)"));
    EXPECT_EQ(WaitForRecord(record), "https://example.invalid/t.php?t=123&x=a b;$(rm -rf /)\n");
    // No zombie is left: the only child was reaped before ShellOpen returned.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
}

TEST(ShellOpen, MapsFilePathsLikeEveryFileRoutine) {
    SandboxedEnvironment env;
    std::string record = env.Folder() / "record";
    EnvOverride opener("KORVEX_OPENER", MakeRecorder(env.Folder().Path(), record));
    WriteFile(env.ProgramFolder() + "/KORVEX.LOG", "");
    EXPECT_TRUE(ShellOpen("korvex.log"));
    EXPECT_EQ(WaitForRecord(record), env.ProgramFolder() + "/KORVEX.LOG\n");
}

TEST(ShellOpen, ReportsAnOpenerThatCannotStart) {
    SandboxedEnvironment env;
    EnvOverride opener("KORVEX_OPENER", env.Folder() / "no-such-opener");
    EXPECT_FALSE(ShellOpen("https://example.invalid/"));
    EXPECT_FALSE(ShellOpen(""));
}

TEST(ShellExecute, StartsAnExecutableWithItsParameter) {
    SandboxedEnvironment env;
    std::string record = env.Folder() / "record";
    std::string browser = MakeRecorder(env.Folder().Path(), record);
    EnvOverride opener("KORVEX_OPENER", env.Folder() / "no-such-opener");
    EXPECT_TRUE(ShellExecute(browser, "https://example.invalid/page"));
    EXPECT_EQ(WaitForRecord(record), "https://example.invalid/page\n");
}

TEST(BrowserCommandLine, QuotesTheOpenerForTheUrlPlaceholder) {
    EnvOverride opener("KORVEX_OPENER", "/opt/open it");
    EXPECT_EQ(BrowserCommandLine(), "\"/opt/open it\" \"%1\"");
    EnvOverride none("KORVEX_OPENER", std::nullopt);
    EXPECT_NE(OpenerPath().find("xdg-open"), std::string::npos);
}

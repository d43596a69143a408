// Tests of the settings store: persistence, other processes, damaged files, crashes, threads, autostart.
#include "platform/os/RegistryStore.h"
#include "platform/os/Autostart.h"
#include "platform/os/ProgramFolder.h"
#include "platform/os/Registry.h"
#include "support/TempFolder.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <functional>
#include <sys/stat.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace korvex::os;
using korvex::os::filetest::EnvOverride;
using korvex::os::filetest::ReadFile;
using korvex::os::filetest::OptionsKey;
using korvex::os::filetest::SandboxedEnvironment;
using korvex::os::filetest::WriteFile;

namespace fs = std::filesystem;

namespace {

constexpr const char* RunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::vector<std::string> DamagedCopies(const std::string& registryFile) {
    std::vector<std::string> copies;
    for (const auto& entry : fs::directory_iterator(fs::path(registryFile).parent_path()))
        if (entry.path().filename().string().find(".damaged-") != std::string::npos) copies.push_back(entry.path());
    return copies;
}

// Something put in the settings file's place, and what the report of it says.
struct TFileInPlace {
    const char* Name;
    std::function<void(const std::string& file)> Make;
    const char* Reason;
};

// Runs `body` in a child process and waits for it; true when it ended with status 0.
bool InChild(const std::function<void()>& body) {
    pid_t pid = ::fork();
    if (pid == 0) {
        body();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}

TEST(RegistryStore, FindsItsFileFromTheEnvironment) {
    SandboxedEnvironment env;
    EXPECT_EQ(RegistryStore::DefaultFilePath(), env.RegistryFile());
    EnvOverride noFile("KORVEX_REGISTRY", std::nullopt);
    EXPECT_EQ(RegistryStore::DefaultFilePath(), env.ConfigHome() + "/korvex/registry.reg");
    EnvOverride noConfig("XDG_CONFIG_HOME", std::nullopt);
    EnvOverride home("HOME", "/home/someone");
    EXPECT_EQ(RegistryStore::DefaultFilePath(), "/home/someone/.config/korvex/registry.reg");
}

TEST(RegistryStore, KeepsEverythingAcrossAReload) {
    SandboxedEnvironment env;
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(reg.OpenKey(OptionsKey, true));
        reg.WriteInteger("Language", 1);
        reg.WriteString("CustomerStr", "Line \"one\"\r\nback\\slash\ttab\x01");
        reg.WriteString("", "default");
        reg.WriteDateTime("Date", 39421.5);
        reg.WriteBinaryData("Empty", "", 0);
        ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Tellvar\\Empty Key", true));
    }
    RegistryStore fresh(env.RegistryFile());
    TRegistry reg(fresh);
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(OptionsKey, false));
    EXPECT_EQ(reg.ReadInteger("Language"), 1);
    EXPECT_EQ(reg.ReadString("CustomerStr"), "Line \"one\"\r\nback\\slash\ttab\x01");
    EXPECT_EQ(reg.ReadString(""), "default");
    EXPECT_EQ(reg.ReadDateTime("Date"), 39421.5);
    EXPECT_EQ(reg.GetDataSize("Empty"), 0);
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string> {"Language", "CustomerStr", "", "Date", "Empty"}));
    EXPECT_TRUE(reg.KeyExists("\\SOFTWARE\\Tellvar\\empty key"));
    EXPECT_TRUE(fresh.DamageReports().empty());
}

TEST(RegistryStore, WritesAnExportedRegistryStyleFile) {
    SandboxedEnvironment env;
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(OptionsKey, true));
    reg.WriteInteger("FSize", 10);
    reg.WriteString("SkinName", "LongHorn (internal)");
    EXPECT_EQ(ReadFile(env.RegistryFile()),
        "; KORVEX settings\n"
        "\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
        "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tellvar]\n"
        "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tellvar\\Options]\n"
        "\"FSize\"=dword:0000000a\n"
        "\"SkinName\"=\"LongHorn (internal)\"\n");
}

TEST(RegistryStore, SeesChangesAnotherProcessMade) {
    SandboxedEnvironment env;
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(OptionsKey, true));
    reg.WriteInteger("Update", 1);
    ASSERT_TRUE(InChild([&] {
        RegistryStore own(env.RegistryFile());
        TRegistry other(own);
        other.SetRootKey(HKEY_LOCAL_MACHINE);
        if (!other.OpenKey(OptionsKey, false) || other.ReadInteger("Update") != 1) ::_exit(1);
        other.WriteInteger("Update", 5);
        other.WriteString("FromChild", "yes");
    }));
    EXPECT_EQ(reg.ReadInteger("Update"), 5);
    EXPECT_EQ(reg.ReadString("FromChild"), "yes");
    reg.WriteInteger("Language", 0);   // a write here keeps what the child wrote
    RegistryStore fresh(env.RegistryFile());
    EXPECT_EQ(fresh.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "FromChild"), MakeStringValue("yes"));
}

TEST(RegistryStore, SeesAHandEditOfTheFile) {
    SandboxedEnvironment env;
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(OptionsKey, true));
    reg.WriteInteger("FSize", 8);
    WriteFile(env.RegistryFile(), "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tellvar\\Options]\n\"FSize\"=dword:0000000c\n");
    EXPECT_EQ(reg.ReadInteger("FSize"), 12);
}

TEST(RegistryStore, AFileKeptBehindALinkStaysThereAndSeesEditsOfTheTarget) {
    SandboxedEnvironment env;
    const std::string target = env.RegistryFile() + ".dotfiles/registry.reg";
    fs::create_directories(fs::path(target).parent_path());
    WriteFile(target, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tellvar\\Options]\n\"FSize\"=dword:00000008\n");
    fs::create_symlink(target, env.RegistryFile());
    RegistryStore store(env.RegistryFile());
    ASSERT_TRUE(store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Language", MakeDwordValue(1)));
    EXPECT_TRUE(fs::is_symlink(env.RegistryFile()));
    EXPECT_NE(ReadFile(target).find("\"Language\"=dword:00000001"), std::string::npos) << ReadFile(target);
    // An edit of the linked file shows at the next read.
    WriteFile(target, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tellvar\\Options]\n\"FSize\"=dword:0000000c\n");
    EXPECT_EQ(store.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "FSize"), MakeDwordValue(12));
}

TEST(RegistryStore, LoadsWhatItCanOfADamagedFileKeepsACopyAndReportsItOnce) {
    SandboxedEnvironment env;
    fs::create_directories(fs::path(env.RegistryFile()).parent_path());
    std::string damaged = "; KORVEX settings\n"
                          "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tellvar\\Options]\n"
                          "\"Before\"=dword:00000001\n"
                          "\x01\x02 garbage \xff\n"
                          "\"Broken\"=dword:xyz\n"
                          "\"Unterminated\"=\"abc\n"
                          "[HKEY_NOWHERE\\Lost]\n"
                          "\"UnderBadHeader\"=dword:00000002\n"
                          "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tellvar\\Label]\n"
                          "\"Label0\"=\"Local host\"\n"
                          "\"After\"=hex:01,02,\\\n"
                          "  03\n";
    WriteFile(env.RegistryFile(), damaged);
    RegistryStore store(env.RegistryFile());
    std::vector<std::string> handled;
    store.SetDamageHandler([&](const std::string& message) { handled.push_back(message); });
    EXPECT_EQ(store.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Before"), MakeDwordValue(1));
    EXPECT_EQ(store.GetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tellvar\\Label", "Label0"), MakeStringValue("Local host"));
    EXPECT_EQ(
        store.GetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tellvar\\Label", "After"), MakeBinaryValue("\x01\x02\x03", 3));
    EXPECT_FALSE(store.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Broken"));
    EXPECT_FALSE(store.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Unterminated"));
    EXPECT_TRUE(store.KeyExists(HKEY_LOCAL_MACHINE, OptionsKey));
    ASSERT_EQ(handled.size(), 1u);
    EXPECT_NE(handled[0].find("5 damaged line(s), the first at line 4"), std::string::npos) << handled[0];
    EXPECT_EQ(store.DamageReports(), handled);
    std::vector<std::string> copies = DamagedCopies(env.RegistryFile());
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(ReadFile(copies[0]), damaged);
    EXPECT_NE(handled[0].find(copies[0]), std::string::npos);

    store.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Before");   // no second report for the same file
    EXPECT_EQ(handled.size(), 1u);
    ASSERT_TRUE(store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "New", MakeDwordValue(3)));
    RegistryStore clean(env.RegistryFile());
    EXPECT_EQ(
        clean.GetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tellvar\\Label", "After"), MakeBinaryValue("\x01\x02\x03", 3));
    EXPECT_TRUE(clean.DamageReports().empty());   // the rewritten file is whole again
    EXPECT_EQ(DamagedCopies(env.RegistryFile()).size(), 1u);
}

TEST(RegistryStore, NeverCrashesOnBinaryGarbage) {
    SandboxedEnvironment env;
    fs::create_directories(fs::path(env.RegistryFile()).parent_path());
    std::string garbage;
    std::mt19937 random(42);
    for (int i = 0; i < 20000; ++i)
        garbage += static_cast<char>(random() % 256);
    garbage += "\n[HKEY_CURRENT_USER\\X]\n\"Y\"=\"z\"\n";
    WriteFile(env.RegistryFile(), garbage);
    RegistryStore store(env.RegistryFile());
    EXPECT_EQ(store.GetValue(HKEY_CURRENT_USER, "X", "Y"), MakeStringValue("z"));
    EXPECT_EQ(store.DamageReports().size(), 1u);
    std::vector<std::string> late;
    store.SetDamageHandler([&](const std::string& message) { late.push_back(message); });
    EXPECT_EQ(late, store.DamageReports());   // a handler set after the load still hears of it
}

TEST(RegistryStore, AWriteThatCannotReachTheFileChangesNothing) {
    SandboxedEnvironment env;
    RegistryStore store(env.RegistryFile());
    ASSERT_TRUE(store.CreateKey(HKEY_CURRENT_USER, "K"));
    ASSERT_TRUE(store.SetValue(HKEY_CURRENT_USER, "K", "A", MakeDwordValue(1)));
    fs::create_directories(env.RegistryFile() + ".tmp/blocker");   // the temporary file cannot be made
    EXPECT_FALSE(store.SetValue(HKEY_CURRENT_USER, "K", "A", MakeDwordValue(2)));
    EXPECT_FALSE(store.SetValue(HKEY_CURRENT_USER, "K", "B", MakeDwordValue(3)));
    EXPECT_EQ(store.GetValue(HKEY_CURRENT_USER, "K", "A"), MakeDwordValue(1));
    EXPECT_FALSE(store.GetValue(HKEY_CURRENT_USER, "K", "B"));
    TRegistry reg(store);
    ASSERT_TRUE(reg.OpenKey("K", false));
    EXPECT_THROW(reg.WriteInteger("A", 4), ERegistryException);
    fs::remove_all(env.RegistryFile() + ".tmp");
    reg.WriteInteger("A", 4);
    EXPECT_EQ(RegistryStore(env.RegistryFile()).GetValue(HKEY_CURRENT_USER, "K", "A"), MakeDwordValue(4));
}

TEST(RegistryStore, SurvivesAProcessKilledWhileWriting) {
    SandboxedEnvironment env;
    std::string file = env.RegistryFile();
    {
        RegistryStore store(file);
        ASSERT_TRUE(store.CreateKey(HKEY_LOCAL_MACHINE, OptionsKey));
        for (int i = 0; i < 50; ++i)   // some bulk, so a write takes a while
            ASSERT_TRUE(store.SetValue(
                HKEY_LOCAL_MACHINE, OptionsKey, "Filler" + std::to_string(i), MakeStringValue(std::string(200, 'f'))));
    }
    std::mt19937 random(7);
    std::uint32_t last = 0;
    for (int round = 0; round < 5; ++round) {
        pid_t pid = ::fork();
        if (pid == 0) {
            RegistryStore own(file);
            for (std::uint32_t n = last + 1;; ++n)
                own.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Counter", MakeDwordValue(n));
        }
        ::usleep(5000 + random() % 20000);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        RegistryStore check(file);
        std::optional<TRegValue> counter = check.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "Counter");
        EXPECT_TRUE(check.DamageReports().empty()) << "round " << round;
        EXPECT_EQ(check.GetValueNames(HKEY_LOCAL_MACHINE, OptionsKey).size(), counter ? 51u : 50u);
        if (counter) {
            EXPECT_GE(DwordOf(*counter), last);
            last = DwordOf(*counter);
        }
    }
    EXPECT_GT(last, 0u);
}

TEST(RegistryStore, ThreadsWritingTogetherLoseNothing) {
    SandboxedEnvironment env;
    TRegistry setup;
    setup.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(setup.OpenKey("SOFTWARE\\Tellvar\\Data", true));
    constexpr int threads = 6, writes = 40;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([t] {
            TRegistry reg;
            reg.SetRootKey(HKEY_LOCAL_MACHINE);
            if (!reg.OpenKey("SOFTWARE\\Tellvar\\Data", true)) return;
            for (int i = 0; i < writes; ++i) {
                reg.WriteInteger("Progress" + std::to_string(t * writes + i), i);
                reg.ReadInteger("Progress" + std::to_string(t * writes + i));
            }
        });
    for (auto& w : workers)
        w.join();
    RegistryStore fresh(env.RegistryFile());
    EXPECT_EQ(fresh.GetValueNames(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tellvar\\Data").size(), std::size_t(threads * writes));
    EXPECT_TRUE(fresh.DamageReports().empty());
}

TEST(RegistryStore, ProcessesWritingTogetherLoseNothing) {
    SandboxedEnvironment env;
    std::string file = env.RegistryFile();
    ASSERT_TRUE(RegistryStore(file).CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tellvar\\Path"));
    std::vector<pid_t> children;
    for (int p = 0; p < 3; ++p) {
        pid_t pid = ::fork();
        if (pid == 0) {
            RegistryStore own(file);
            for (int i = 0; i < 30; ++i)
                if (!own.SetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tellvar\\Path", "Ip" + std::to_string(p * 100 + i),
                        MakeStringValue("10.0.0.1")))
                    ::_exit(1);
            ::_exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    RegistryStore fresh(file);
    EXPECT_EQ(fresh.GetValueNames(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tellvar\\Path").size(), 90u);
}

TEST(RegistryStore, TheRunValueWritesAndRemovesTheAutostartEntry) {
    SandboxedEnvironment env;
    WriteFile(env.ProgramFolder() + "/korvex", "#!/bin/sh\n");
    fs::permissions(env.ProgramFolder() + "/korvex", fs::perms::owner_all);
    std::string entry = env.ConfigHome() + "/autostart/korvex.desktop";
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(RunKey, true));
    reg.WriteString("Tellvar", "\"" + env.ProgramFolder() + "\\KORVEX.exe\"");
    EXPECT_EQ(ReadFile(entry),
        "[Desktop Entry]\nType=Application\nName=KORVEX\nExec=" + env.ProgramFolder()
            + "/korvex\nTerminal=false\nX-GNOME-Autostart-enabled=true\n");
    reg.WriteString("Other", "x");
    EXPECT_TRUE(reg.DeleteValue("tellvar"));
    EXPECT_FALSE(fs::exists(entry));

    reg.WriteString("TELLVAR", "\"/opt/My Apps/korvex\" -min");
    EXPECT_NE(ReadFile(entry).find("Exec=\"/opt/My Apps/korvex\" -min\n"), std::string::npos);
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey("SOFTWARE\\Microsoft"));
    EXPECT_FALSE(fs::exists(entry));
}

TEST(AutostartExecLine, QuotesAndEscapesAsDesktopEntriesRequire) {
    SandboxedEnvironment env;
    EXPECT_EQ(AutostartExecLine("/usr/bin/korvex"), "/usr/bin/korvex");
    EXPECT_EQ(AutostartExecLine("\"/opt/a b/korvex\""), "\"/opt/a b/korvex\"");
    EXPECT_EQ(AutostartExecLine("\"/opt/$x/100%\""), "\"/opt/\\\\$x/100%%\"");
    EXPECT_EQ(AutostartExecLine("/opt/k \"two words\""), "/opt/k \"two words\"");
    EXPECT_EQ(AutostartExecLine(""), "");
    // A Windows name of the program inside the program folder finds the running executable.
    EXPECT_EQ(AutostartExecLine("\"" + env.ProgramFolder() + "\\KORVEX.exe\""), ProgramFileName());
}

// The file of a user who cannot read it (another owner's 0600 file, left by a run under sudo): as root the test
// reads it as "nobody" in a child process. The file and its owner stay; once it can be read again it is used.
TEST(RegistryStore, AFileTheUserMayNotReadIsNeverReplacedByTheDefaults) {
    filetest::TempFolder folder("korvex-unreadable", "/tmp");
    const std::string file = folder / "registry.reg";
    const std::string content = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tellvar\\Options]\n\"HostCount\"=dword:00000028\n";
    WriteFile(file, content);
    const bool root = ::geteuid() == 0;
    // The folder open to the reader, as a user's own config folder is to the user: a rename there would succeed.
    ASSERT_EQ(::chmod(folder.Path().c_str(), 0777), 0);
    ASSERT_EQ(::chmod(file.c_str(), root ? 0600 : 0), 0);
    ASSERT_TRUE(InChild([&] {
        if (root && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        RegistryStore store(file);
        if (store.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "HostCount")) ::_exit(3);
        if (store.CreateKey(HKEY_LOCAL_MACHINE, OptionsKey)) ::_exit(4);
        if (errno != EACCES) ::_exit(5);
        store.BeginUpdate();
        store.CreateKey(HKEY_LOCAL_MACHINE, OptionsKey);
        store.SetValue(HKEY_LOCAL_MACHINE, OptionsKey, "HostCount", MakeDwordValue(1));
        if (store.EndUpdate()) ::_exit(6);
        const std::vector<std::string> reports = store.DamageReports();
        if (reports.size() != 1 || reports[0].find("permission denied") == std::string::npos) ::_exit(7);
    }));
    ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
    EXPECT_EQ(ReadFile(file), content);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, ::geteuid());
    RegistryStore readable(file);
    EXPECT_EQ(readable.GetValue(HKEY_LOCAL_MACHINE, OptionsKey, "HostCount"), MakeDwordValue(40));
    EXPECT_FALSE(readable.FileUnreadable());
}

// A pipe, a device or a file without end in the settings file's place (or behind a link there) is neither
// waited on nor read into memory, and a file whose reading fails (an I/O error, a loop of links) is not taken for
// a missing one: each is reported once, the defaults are used, and it is not written over, in a batch neither.
TEST(RegistryStore, ReadsNoPipeDeviceOrEndlessFileAndWritesNoneOver) {
    const std::vector<TFileInPlace> cases = {
        {"pipe", [](const std::string& file) { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); }, "not a regular file"},
        {"link to a pipe",
            [](const std::string& file) {
                ASSERT_EQ(::mkfifo((file + ".pipe").c_str(), 0600), 0);
                fs::create_symlink(file + ".pipe", file);
            },
            "not a regular file"},
        {"link to /dev/zero", [](const std::string& file) { fs::create_symlink("/dev/zero", file); },
            "not a regular file"},
        {"link to /dev/null", [](const std::string& file) { fs::create_symlink("/dev/null", file); },
            "not a regular file"},
        {"oversized file",
            [](const std::string& file) {
                WriteFile(file, "[HKEY_CURRENT_USER\\X]\n");
                fs::resize_file(file, MaxSettingsFileSize + 1);
            },
            "larger than"},
        {"link to a file whose reading fails",
            [](const std::string& file) { fs::create_symlink("/proc/self/mem", file); }, "input/output error"},
        {"loop of links",
            [](const std::string& file) {
                fs::create_symlink(file + ".other", file);
                fs::create_symlink(file, file + ".other");
            },
            "too many levels of symbolic links"},
    };
    for (const TFileInPlace& c : cases) {
        SCOPED_TRACE(c.Name);
        SandboxedEnvironment env;
        fs::create_directories(fs::path(env.RegistryFile()).parent_path());
        c.Make(env.RegistryFile());
        const bool wasLink = fs::is_symlink(env.RegistryFile());
        std::error_code ignored;
        const auto typeBefore = fs::status(env.RegistryFile(), ignored).type();
        RegistryStore store(env.RegistryFile());
        EXPECT_FALSE(store.GetValue(HKEY_CURRENT_USER, "X", "Y"));
        EXPECT_TRUE(store.FileUnreadable());
        errno = 0;
        EXPECT_FALSE(store.CreateKey(HKEY_CURRENT_USER, "X"));
        EXPECT_NE(errno, 0);
        store.BeginUpdate();
        EXPECT_TRUE(store.CreateKey(HKEY_CURRENT_USER, "X"));
        EXPECT_TRUE(store.SetValue(HKEY_CURRENT_USER, "X", "Y", MakeDwordValue(1)));
        EXPECT_FALSE(store.EndUpdate());
        EXPECT_FALSE(store.GetValue(HKEY_CURRENT_USER, "X", "Y"));
        const std::vector<std::string> reports = store.DamageReports();
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_NE(reports[0].find(c.Reason), std::string::npos) << reports[0];
        EXPECT_EQ(fs::is_symlink(env.RegistryFile()), wasLink);
        EXPECT_EQ(fs::status(env.RegistryFile(), ignored).type(), typeBefore);
        EXPECT_TRUE(fs::is_character_file("/dev/null"));
    }
}

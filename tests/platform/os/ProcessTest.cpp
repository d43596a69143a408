// Tests of processes: starting without a shell, finding by working folder, ending, and the safe end by name.
#include "platform/os/Process.h"

#include "support/Loopback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace korvex::os;
using namespace korvex::os::nettest;
using namespace std::chrono_literals;

namespace {

constexpr int ChildPatience = 10000;

// Waits (bounded) until the condition holds.
template <typename Condition>
bool Eventually(Condition condition) {
    for (int waited = 0; waited < ChildPatience; waited += 5) {
        if (condition()) return true;
        std::this_thread::sleep_for(5ms);
    }
    return condition();
}

bool Exists(pid_t pid) {
    return kill(pid, 0) == 0;
}

// A sleep started by fork and exec, not by StartProcess: a process we did not start through the registry.
pid_t ForkSleep(const std::string& folder) {
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) == 0) execl("/bin/sleep", "sleep", "30", static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

bool Reaped(pid_t pid) {
    int status;
    return waitpid(pid, &status, 0) == pid;
}

}

TEST(StartProcess, StartsAProgramInItsWorkingFolderAndItCanBeFoundThere) {
    TmpFolder folder;
    pid_t pid = StartProcess("/bin/sleep", {"30"}, folder.Path());
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(IsStartedProcess(pid));
    auto info = ProcessInfo(pid);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->WorkingFolder, folder.Path());
    EXPECT_EQ(info->Name, "sleep");
    auto list = ListProcesses();
    auto found = std::find_if(list.begin(), list.end(), [&](auto& p) { return p.WorkingFolder == folder.Path(); });
    ASSERT_NE(found, list.end());
    EXPECT_EQ(found->Pid, pid);
    EXPECT_TRUE(EndProcess(pid));
    // Reaped by us: neither listed as started nor left as a zombie.
    EXPECT_TRUE(Eventually([&] { return !IsStartedProcess(pid); }));
    EXPECT_TRUE(Eventually([&] { return !Exists(pid); }));
}

// PATH set for the scope of a test, restored afterwards.
class ScopedPath {
public:
    explicit ScopedPath(const std::string& value) {
        const char* old = std::getenv("PATH");
        FHad = old != nullptr;
        if (FHad) FOld = old;
        setenv("PATH", value.c_str(), 1);
    }
    ~ScopedPath() {
        if (FHad)
            setenv("PATH", FOld.c_str(), 1);
        else
            unsetenv("PATH");
    }

private:
    bool FHad = false;
    std::string FOld;
};

TEST(StartProcess, SearchesThePathForANameWithoutSlash) {
    // A program of a name no system has, in a folder of its own behind an empty one on PATH: found only by
    // the search, whatever the machine's PATH holds. The spawn returns after the exec, so the process
    // already runs that file.
    TmpFolder empty, bin, work;
    std::filesystem::copy_file("/bin/sleep", bin.Path() + "/korvex-path-probe");
    ScopedPath path(empty.Path() + ":" + bin.Path());
    pid_t pid = StartProcess("korvex-path-probe", {"30"}, work.Path());
    ASSERT_GT(pid, 0);
    auto info = ProcessInfo(pid);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->ExePath, bin.Path() + "/korvex-path-probe");
    EXPECT_TRUE(EndProcess(pid));

    int error = 0;
    EXPECT_EQ(StartProcess("korvex-not-on-the-path", {}, work.Path(), &error), -1);
    EXPECT_EQ(error, ENOENT);
}

TEST(StartProcess, ARelativeProgramPathIsTakenFromTheWorkingFolder) {
    TmpFolder folder;
    std::filesystem::copy_file("/bin/sleep", folder.Path() + "/FAH-Console.exe");
    pid_t pid = StartProcess("./FAH-Console.exe", {"30"}, folder.Path());
    ASSERT_GT(pid, 0);
    auto info = ProcessInfo(pid);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->ExePath, folder.Path() + "/FAH-Console.exe");
    EXPECT_EQ(info->Name, "FAH-Console.exe");
    EXPECT_TRUE(EndProcess(pid));
}

TEST(StartProcess, AMissingProgramIsAnError) {
    int error = 0;
    EXPECT_EQ(StartProcess("/nonexistent/program", {}, "", &error), -1);
    EXPECT_EQ(error, ENOENT);
    EXPECT_EQ(StartProcess("", {}, "", &error), -1);
}

TEST(StartProcess, AMissingWorkingFolderIsAnError) {
    int error = 0;
    EXPECT_EQ(StartProcess("/bin/sleep", {"30"}, "/nonexistent/folder", &error), -1);
    EXPECT_EQ(error, ENOENT);
}

TEST(EndProcess, KillsAProgramThatIgnoresTheRequestToEnd) {
    TmpFolder folder;
    pid_t pid = StartProcess("/bin/sh", {"-c", "trap '' TERM; exec /bin/sleep 30"}, folder.Path());
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(Eventually([&] {
        auto info = ProcessInfo(pid);
        return info && info->Name == "sleep";   // the trap is set once the shell became sleep
    }));
    EXPECT_TRUE(EndProcess(pid, 20));
    EXPECT_TRUE(Eventually([&] { return !Exists(pid); }));
}

TEST(EndProcess, NeverEndsThisProcessOrInit) {
    EXPECT_FALSE(EndProcess(getpid()));
    EXPECT_FALSE(EndProcess(1));
    EXPECT_FALSE(EndProcess(0));
}

TEST(EndProcessesByName, EndsOnlyTheProcessInsideTheFolder) {
    TmpFolder inside, outside;
    pid_t in = ForkSleep(inside.Path());
    pid_t out = ForkSleep(outside.Path());
    ASSERT_TRUE(Eventually([&] {
        auto a = ProcessInfo(in), b = ProcessInfo(out);
        return a && b && a->Name == "sleep" && b->Name == "sleep";
    }));
    TEndByNameResult result = EndProcessesByName("SLEEP", inside.Path());
    EXPECT_EQ(result.Matched, 1);
    EXPECT_EQ(result.Ended, 1);
    EXPECT_TRUE(Reaped(in));
    int status;
    EXPECT_EQ(waitpid(out, &status, WNOHANG), 0);   // still running
    kill(out, SIGKILL);
    EXPECT_TRUE(Reaped(out));
}

TEST(EndProcessesByName, EndsAProgramWeStartedWhereverItRuns) {
    TmpFolder cache, elsewhere;
    pid_t pid = StartProcess("/bin/sleep", {"30"}, elsewhere.Path());
    ASSERT_GT(pid, 0);
    TEndByNameResult result = EndProcessesByName("sleep", cache.Path());
    EXPECT_EQ(result.Ended, 1);
    EXPECT_TRUE(Eventually([&] { return !Exists(pid); }));
}

TEST(EndProcessesByName, LeavesAProgramWeStartedElsewhereWhenOnlyTheFolderCounts) {
    TmpFolder cache, elsewhere;
    pid_t out = StartProcess("/bin/sleep", {"30"}, elsewhere.Path());
    pid_t in = StartProcess("/bin/sleep", {"30"}, cache.Path());
    ASSERT_GT(out, 0);
    ASSERT_GT(in, 0);
    ASSERT_TRUE(Eventually([&] {
        auto info = ProcessInfo(in);
        return info && info->WorkingFolder == std::filesystem::canonical(cache.Path()).string();
    }));
    TEndByNameResult result = EndProcessesByName("sleep", cache.Path(), 2000, TOwnProcesses::InsideOnly);
    EXPECT_EQ(result.Ended, 1);
    EXPECT_TRUE(Eventually([&] { return !Exists(in); }));
    EXPECT_TRUE(Exists(out));
    EXPECT_TRUE(EndProcess(out));
}

TEST(EndProcessesByName, EndsAProgramWhoseExecutableLiesInTheFolder) {
    TmpFolder cache, elsewhere;
    std::string program = cache.Path() + "/FAH-Console.exe";
    std::filesystem::copy_file("/bin/sleep", program);
    pid_t pid = fork();
    if (pid == 0) {   // only async-signal-safe calls here
        if (chdir(elsewhere.Path().c_str()) == 0)
            execl(program.c_str(), "FAH-Console.exe", "30", static_cast<char*>(nullptr));
        _exit(127);
    }
    ASSERT_TRUE(Eventually([&] {
        auto info = ProcessInfo(pid);
        return info && info->Name == "FAH-Console.exe";
    }));
    EXPECT_EQ(EndProcessesByName("fah-console.exe", cache.Path()).Ended, 1);
    EXPECT_TRUE(Reaped(pid));
}

TEST(EndProcessesByName, RefusesTheRootFolderAndAnEmptyName) {
    TmpFolder folder;
    pid_t out = ForkSleep(folder.Path());
    ASSERT_TRUE(Eventually([&] {
        auto info = ProcessInfo(out);
        return info && info->Name == "sleep";
    }));
    EXPECT_EQ(EndProcessesByName("sleep", "/").Matched, 0);
    EXPECT_EQ(EndProcessesByName("", folder.Path()).Matched, 0);
    kill(out, SIGKILL);
    EXPECT_TRUE(Reaped(out));
}

TEST(PathInside, ComparesWholeFolderNamesAfterResolvingLinks) {
    TmpFolder folder;
    std::string base = folder.Path();
    std::filesystem::create_directories(base + "/cache/WU0");
    std::filesystem::create_directories(base + "/cache2");
    std::filesystem::create_directory_symlink(base + "/cache", base + "/link");
    EXPECT_TRUE(PathInside(base + "/cache/WU0", base + "/cache"));
    EXPECT_TRUE(PathInside(base + "/cache", base + "/cache"));
    EXPECT_TRUE(PathInside(base + "/link/WU0", base + "/cache"));
    EXPECT_TRUE(PathInside(base + "/cache/WU0", base + "/link"));
    EXPECT_TRUE(PathInside(base + "/cache/gone.exe", base + "/cache"));   // a deleted executable
    EXPECT_FALSE(PathInside(base + "/cache2", base + "/cache"));
    EXPECT_FALSE(PathInside(base, base + "/cache"));
    EXPECT_FALSE(PathInside("/usr/bin/sleep", "/"));
    EXPECT_FALSE(PathInside("", base));
    EXPECT_FALSE(PathInside(base, ""));
    EXPECT_FALSE(PathInside(base + "/cache", base + "/missing"));
}

// Tests of TSingleInstance: one holder at a time, across processes, released at the end, the lock's private
// folder, and locks that are not the user's own.
#include "platform/os/SingleInstance.h"

#include "platform/os/ProgramFolder.h"
#include "platform/os/Process.h"
#include "support/Loopback.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sched.h>
#include <optional>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvex::os;
using namespace korvex::os::nettest;
namespace filetest = korvex::os::filetest;

namespace {

// Tries the lock in a child process; true when the child got it. The child makes only system calls.
bool ChildAcquires(const std::string& path) {
    const char* file = path.c_str();
    pid_t pid = fork();
    if (pid == 0) {
        int fd = open(file, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        _exit(fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A folder of mode 0700 in `parent`.
std::string PrivateFolderIn(const std::string& parent, const std::string& name) {
    const std::string path = parent + "/" + name;
    mkdir(path.c_str(), 0700);
    chmod(path.c_str(), 0700);
    return path;
}

// Gives a file or folder to another user; false when this process may not (not root).
bool GiveAway(const std::string& path) {
    return geteuid() == 0 && lchown(path.c_str(), 65534, 65534) == 0;
}

std::string OwnName() {
    return "korvex-" + std::to_string(geteuid());
}

}

TEST(TSingleInstance, TheDefaultNameIsTheProgramsMutex) {
    TmpFolder folder;
    TSingleInstance instance(InstanceMutexName, folder.Path(), "/opt/korvex");
    const std::string name = std::filesystem::path(instance.LockPath()).filename();
    EXPECT_EQ(name.substr(0, 16), "KORVEX 2.6.0.11 ");
    EXPECT_EQ(name.size(), 16u + 16u + 5u) << name;
    EXPECT_EQ(name.substr(32), ".lock");
    const std::string path = SingleInstanceLockPath("a/b", "/run/test/", "/opt/korvex");
    EXPECT_EQ(path.substr(0, 14), "/run/test/a_b ") << path;
    EXPECT_EQ(path, SingleInstanceLockPath("a/b", "/run/test", "/opt/korvex"));
}

TEST(TSingleInstance, OnlyOneHolderAtATime) {
    TmpFolder folder;
    TSingleInstance first("KORVEX test", folder.Path());
    TSingleInstance second("KORVEX test", folder.Path());
    EXPECT_EQ(first.Acquire(), TInstanceLock::Acquired);
    EXPECT_EQ(first.Acquire(), TInstanceLock::Acquired);   // asking again keeps it
    EXPECT_EQ(second.Acquire(), TInstanceLock::Running);
    EXPECT_EQ(second.ErrorText(), "");
    first.Release();
    EXPECT_EQ(second.Acquire(), TInstanceLock::Acquired);
}

TEST(TSingleInstance, AnotherProcessCannotAcquireWhileWeHoldIt) {
    TmpFolder folder;
    std::string path;
    {
        TSingleInstance instance("KORVEX test", folder.Path());
        ASSERT_EQ(instance.Acquire(), TInstanceLock::Acquired);
        path = instance.LockPath();
        EXPECT_FALSE(ChildAcquires(path));
    }
    EXPECT_TRUE(ChildAcquires(path));   // released at destruction
}

TEST(TSingleInstance, AProgramWeStartDoesNotInheritTheLock) {
    TmpFolder folder;
    TSingleInstance instance("KORVEX test", folder.Path());
    ASSERT_EQ(instance.Acquire(), TInstanceLock::Acquired);
    pid_t child = StartProcess("/bin/sleep", {"30"}, folder.Path());
    ASSERT_GT(child, 0);
    instance.Release();
    EXPECT_TRUE(ChildAcquires(instance.LockPath()));
    EndProcess(child);
}

// Only a folder of the user's own that nobody else can enter holds the lock.
TEST(TSingleInstance, APrivateFolderIsTheUsersOwnClosedToOthersAndNoLink) {
    TmpFolder folder;
    const std::string good = PrivateFolderIn(folder.Path(), "good");
    const std::string open = folder.Path() + "/open";
    mkdir(open.c_str(), 0700);
    chmod(open.c_str(), 0755);
    const std::string link = folder.Path() + "/link";
    std::filesystem::create_symlink(good, link);
    const std::string file = folder.Path() + "/file";
    filetest::WriteFile(file, "");
    struct Case {
        std::string Path;
        bool Create;
        bool Private;
    };
    const Case cases[] = {{good, false, true}, {open, false, false}, {link, false, false}, {file, true, false},
        {folder.Path() + "/missing", false, false}, {folder.Path() + "/made", true, true}, {"relative", true, false}};
    for (const Case& c : cases) {
        std::string why;
        EXPECT_EQ(IsPrivateFolder(c.Path, c.Create, why), c.Private) << c.Path;
        EXPECT_EQ(why.empty(), c.Private) << c.Path << ": " << why;
    }
    struct stat info { };
    ASSERT_EQ(stat((folder.Path() + "/made").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

// Only the superuser can give a folder to another user.
TEST(TSingleInstance, AnotherUsersFolderIsNotPrivate) {
    TmpFolder folder;
    const std::string foreign = PrivateFolderIn(folder.Path(), "foreign");
    if (!GiveAway(foreign)) GTEST_SKIP() << "runs only as root: a folder is given to another user";
    std::string why;
    EXPECT_FALSE(IsPrivateFolder(foreign, true, why));
    EXPECT_NE(why.find("another user"), std::string::npos) << why;
}

// The lock folder is the user's cache folder under the home the system names, made 0700, whatever HOME and
// the XDG variables say; when that is not private, one of the user's own under the shared root.
TEST(TSingleInstance, TheLockFolderFollowsTheUserNotTheEnvironment) {
    TmpFolder folder;
    const std::string home = PrivateFolderIn(folder.Path(), "home");
    const std::string runtime = PrivateFolderIn(folder.Path(), "runtime");
    const std::string shared = folder.Path() + "/shared";
    mkdir(shared.c_str(), 0777);
    chmod(shared.c_str(), 01777);
    using Value = std::optional<std::string>;
    for (const Value& runtimeDir : {Value(runtime), Value()})
        for (const Value& cacheHome : {Value(folder.Path() + "/elsewhere"), Value()})
            for (const Value& homeVar : {Value(folder.Path() + "/other-home"), Value()}) {
                filetest::EnvOverride a("XDG_RUNTIME_DIR", runtimeDir);
                filetest::EnvOverride b("XDG_CACHE_HOME", cacheHome);
                filetest::EnvOverride c("HOME", homeVar);
                std::string why;
                EXPECT_EQ(SingleInstanceFolder(why, shared, home), home + "/.cache/korvex") << why;
            }
    std::string why;
    EXPECT_TRUE(IsPrivateFolder(home + "/.cache/korvex", false, why)) << why;
    // Opened to others (or planted as a link): the user's own folder under the shared root.
    chmod((home + "/.cache/korvex").c_str(), 0755);
    EXPECT_EQ(SingleInstanceFolder(why, shared, home), shared + "/" + OwnName());
    EXPECT_TRUE(IsPrivateFolder(shared + "/" + OwnName(), false, why)) << why;
    // Nothing will do: empty, and said why.
    std::filesystem::remove(shared + "/" + OwnName());
    std::filesystem::create_symlink(runtime, shared + "/" + OwnName());
    why.clear();
    EXPECT_EQ(SingleInstanceFolder(why, shared, home), "");
    EXPECT_NE(why.find(OwnName()), std::string::npos) << why;
    EXPECT_NE(why.find("/.cache/korvex"), std::string::npos) << why;
}

// One program folder, however its path is written, is one lock; another program folder is another.
TEST(TSingleInstance, OneLockPerProgramFolder) {
    TmpFolder folder;
    const std::string locks = PrivateFolderIn(folder.Path(), "locks");
    const std::string program = PrivateFolderIn(folder.Path(), "program");
    const std::string other = PrivateFolderIn(folder.Path(), "other");
    std::filesystem::create_symlink(program, folder.Path() + "/linked");
    TSingleInstance first("KORVEX test", locks, program);
    ASSERT_EQ(first.Acquire(), TInstanceLock::Acquired);
    for (const std::string& spelling : {program + "/", folder.Path() + "/linked", folder.Path() + "/program/../program"}) {
        TSingleInstance again("KORVEX test", locks, spelling);
        EXPECT_EQ(again.Acquire(), TInstanceLock::Running) << spelling;
    }
    TSingleInstance beside("KORVEX test", locks, other);
    EXPECT_EQ(beside.Acquire(), TInstanceLock::Acquired);
}

// The program folder reached through a bind mount is the same folder: its run holds the one lock. The mount is
// made in a child process with a mount namespace of its own (as root, or in a user namespace of its own).
TEST(TSingleInstance, AProgramFolderReachedThroughABindMountIsOneLock) {
    TmpFolder folder;
    const std::string locks = PrivateFolderIn(folder.Path(), "locks");
    const std::string program = PrivateFolderIn(folder.Path(), "program");
    const std::string mounted = PrivateFolderIn(folder.Path(), "mounted");
    TSingleInstance first("KORVEX test", locks, program);
    ASSERT_EQ(first.Acquire(), TInstanceLock::Acquired);
    constexpr int NoNamespace = 77;
    const pid_t pid = fork();
    if (pid == 0) {
        if (unshare(CLONE_NEWNS) != 0) {
            const std::string uid = std::to_string(geteuid()), gid = std::to_string(getegid());
            if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) _exit(NoNamespace);
            std::ofstream("/proc/self/setgroups") << "deny";
            std::ofstream("/proc/self/uid_map") << uid << " " << uid << " 1";
            std::ofstream("/proc/self/gid_map") << gid << " " << gid << " 1";
        }
        // Private first, so that nothing of it reaches the namespace the tests run in.
        if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || mount(program.c_str(), mounted.c_str(), nullptr, MS_BIND, nullptr) != 0)
            _exit(NoNamespace);
        struct stat one { }, other { };
        if (stat(program.c_str(), &one) != 0 || stat(mounted.c_str(), &other) != 0 || one.st_ino != other.st_ino)
            _exit(NoNamespace);
        TSingleInstance again("KORVEX test", locks, mounted);
        _exit(again.Acquire() == TInstanceLock::Running ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == NoNamespace) GTEST_SKIP() << "no mount namespace of our own here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the bind mount's run took a lock of its own";
    EXPECT_EQ(SingleInstanceLockPath("KORVEX test", locks, program), first.LockPath());
}

// An open failure other than "held by another process" is an error with its reason, never "running".
TEST(TSingleInstance, ALockThatCannotBeTakenOrTrustedIsAFailureNotAnotherRun) {
    TmpFolder folder;
    {
        TSingleInstance missing("KORVEX test", folder.Path() + "/missing");
        EXPECT_EQ(missing.Acquire(), TInstanceLock::Failed);
        EXPECT_NE(missing.ErrorText().find("No such file"), std::string::npos) << missing.ErrorText();
        EXPECT_FALSE(missing.Acquired());
    }
    {
        const std::string target = folder.Path() + "/elsewhere";
        std::filesystem::create_symlink(target, SingleInstanceLockPath("KORVEX test", folder.Path(), ProgramFolder()));
        TSingleInstance linked("KORVEX test", folder.Path());
        EXPECT_EQ(linked.Acquire(), TInstanceLock::Failed);
        EXPECT_NE(linked.ErrorText().find("link"), std::string::npos) << linked.ErrorText();
        EXPECT_FALSE(std::filesystem::exists(target));
    }
    {
        mkdir(SingleInstanceLockPath("KORVEX dir", folder.Path(), ProgramFolder()).c_str(), 0700);
        TSingleInstance notAFile("KORVEX dir", folder.Path());
        EXPECT_EQ(notAFile.Acquire(), TInstanceLock::Failed);
    }
}

// A lock file of another user's, held by its owner: not believed. Only the superuser can plant one here.
TEST(TSingleInstance, AnotherUsersLockFileIsAFailureNotAnotherRun) {
    TmpFolder folder;
    const std::string path = SingleInstanceLockPath("KORVEX foreign", folder.Path(), ProgramFolder());
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    if (!GiveAway(path)) {
        close(fd);
        GTEST_SKIP() << "runs only as root: a lock file is given to another user";
    }
    TSingleInstance foreign("KORVEX foreign", folder.Path());
    EXPECT_EQ(foreign.Acquire(), TInstanceLock::Failed);
    EXPECT_NE(foreign.ErrorText().find("not a lock file of the user's own"), std::string::npos) << foreign.ErrorText();
    close(fd);
}

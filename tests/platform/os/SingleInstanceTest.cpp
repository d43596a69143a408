// Tests of TSingleInstance: one holder at a time, across processes, released at the end, the lock file's place.
#include "platform/os/SingleInstance.h"

#include "platform/os/Process.h"
#include "support/Loopback.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/file.h>
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

}

TEST(TSingleInstance, TheDefaultNameIsTheProgramsMutex) {
    TSingleInstance instance;
    EXPECT_EQ(std::filesystem::path(instance.LockPath()).filename(), "KORVEX 2.6.0.11.lock");
}

TEST(TSingleInstance, OnlyOneHolderAtATime) {
    TmpFolder folder;
    TSingleInstance first("KORVEX test", folder.Path());
    TSingleInstance second("KORVEX test", folder.Path());
    EXPECT_TRUE(first.Acquire());
    EXPECT_TRUE(first.Acquire());   // asking again keeps it
    EXPECT_FALSE(second.Acquire());
    EXPECT_EQ(second.ErrorCode(), EWOULDBLOCK);
    first.Release();
    EXPECT_TRUE(second.Acquire());
}

TEST(TSingleInstance, AnotherProcessCannotAcquireWhileWeHoldIt) {
    TmpFolder folder;
    std::string path;
    {
        TSingleInstance instance("KORVEX test", folder.Path());
        ASSERT_TRUE(instance.Acquire());
        path = instance.LockPath();
        EXPECT_FALSE(ChildAcquires(path));
    }
    EXPECT_TRUE(ChildAcquires(path));   // released at destruction
}

TEST(TSingleInstance, AProgramWeStartDoesNotInheritTheLock) {
    TmpFolder folder;
    TSingleInstance instance("KORVEX test", folder.Path());
    ASSERT_TRUE(instance.Acquire());
    pid_t child = StartProcess("/bin/sleep", {"30"}, folder.Path());
    ASSERT_GT(child, 0);
    instance.Release();
    EXPECT_TRUE(ChildAcquires(instance.LockPath()));
    EndProcess(child);
}

TEST(TSingleInstance, TheLockFileLivesInTheRuntimeFolderElseTmp) {
    TmpFolder folder;
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    std::string saved = old ? old : "";
    setenv("XDG_RUNTIME_DIR", folder.Path().c_str(), 1);
    EXPECT_EQ(SingleInstanceLockPath("KORVEX 2.6.0.11"), folder.Path() + "/KORVEX 2.6.0.11.lock");
    setenv("XDG_RUNTIME_DIR", (folder.Path() + "/missing").c_str(), 1);
    EXPECT_EQ(SingleInstanceLockPath("KORVEX 2.6.0.11"), "/tmp/KORVEX 2.6.0.11.lock");
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(SingleInstanceLockPath("a/b"), "/tmp/a_b.lock");
    EXPECT_EQ(SingleInstanceLockPath("x", "/run/test/"), "/run/test/x.lock");
    if (old) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

TEST(TSingleInstance, AFolderThatCannotHoldTheLockIsAFailureNotACrash) {
    TmpFolder folder;
    TSingleInstance instance("KORVEX test", folder.Path() + "/missing");
    EXPECT_FALSE(instance.Acquire());
    EXPECT_EQ(instance.ErrorCode(), ENOENT);
    EXPECT_FALSE(instance.Acquired());
}

TEST(TSingleInstance, APlantedLinkIsNotFollowed) {
    TmpFolder folder;
    std::string target = folder.Path() + "/elsewhere";
    std::filesystem::create_symlink(target, folder.Path() + "/KORVEX test.lock");
    TSingleInstance instance("KORVEX test", folder.Path());
    EXPECT_FALSE(instance.Acquire());
    EXPECT_EQ(instance.ErrorCode(), ELOOP);
    EXPECT_FALSE(std::filesystem::exists(target));
}

// A second start rings the holder's doorbell to ask for its window; with nobody to hear it, it knows.
TEST(TSingleInstance, ASecondStartRingsTheHoldersDoorbell) {
    TmpFolder folder;
    TSingleInstance first("KORVEX test", folder.Path());
    TSingleInstance second("KORVEX test", folder.Path());
    ASSERT_TRUE(first.Acquire());
    ASSERT_FALSE(second.Acquire());
    EXPECT_FALSE(second.RingDoorbell());   // the holder has no doorbell yet

    const int fd = first.OpenDoorbell();
    ASSERT_GE(fd, 0);
    pollfd watch {fd, POLLIN, 0};
    EXPECT_EQ(poll(&watch, 1, 0), 0);
    EXPECT_TRUE(second.RingDoorbell());
    EXPECT_TRUE(second.RingDoorbell());
    ASSERT_EQ(poll(&watch, 1, 0), 1);
    TSingleInstance::DrainDoorbell(fd);
    EXPECT_EQ(poll(&watch, 1, 0), 0);   // read empty, and no end reported

    first.Release();
    EXPECT_FALSE(std::filesystem::exists(first.DoorbellPath()));
    EXPECT_FALSE(second.RingDoorbell());
}

TEST(TSingleInstance, ADoorbellPlantedAsAFileIsNotRung) {
    TmpFolder folder;
    TSingleInstance instance("KORVEX test", folder.Path());
    filetest::WriteFile(instance.DoorbellPath(), "");
    EXPECT_FALSE(instance.RingDoorbell());
    EXPECT_EQ(filetest::ReadFile(instance.DoorbellPath()), "");
}

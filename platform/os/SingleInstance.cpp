// TSingleInstance: flock on a lock file in the runtime folder.
#include "platform/os/SingleInstance.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvex::os {

namespace {

bool IsFolder(const char* path) {
    struct stat info { };
    return path && *path && stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

}

std::string SingleInstanceLockPath(const std::string& name, const std::string& folder) {
    std::string dir = folder;
    if (dir.empty()) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        dir = IsFolder(runtime) ? runtime : "/tmp";
    }
    std::string file = name;
    for (char& c : file)
        if (c == '/') c = '_';
    if (dir.back() != '/') dir += '/';
    return dir + file + ".lock";
}

TSingleInstance::TSingleInstance(std::string name, std::string folder)
    : FPath(SingleInstanceLockPath(name, folder)) {
}

TSingleInstance::~TSingleInstance() {
    Release();
}

bool TSingleInstance::Acquire() {
    if (FFd >= 0) return true;
    // No following of links: /tmp is shared, and a planted link must not make us create or lock elsewhere.
    int fd = open(FPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        FErrorCode = errno;
        return false;
    }
    int result;
    do
        result = flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        FErrorCode = errno;
        close(fd);
        return false;
    }
    FErrorCode = 0;
    FFd = fd;
    return true;
}

void TSingleInstance::Release() {
    if (FDoorbell >= 0) {
        close(FDoorbell);
        unlink(DoorbellPath().c_str());
        FDoorbell = -1;
    }
    if (FFd < 0) return;
    close(FFd);   // drops the lock
    FFd = -1;
}

int TSingleInstance::OpenDoorbell() {
    if (FFd < 0) return -1;
    if (FDoorbell >= 0) return FDoorbell;
    const std::string path = DoorbellPath();
    unlink(path.c_str());   // a former holder's, or anything planted under the name
    if (mkfifo(path.c_str(), 0600) != 0) return -1;
    // Read and write: the FIFO never reports an end while nobody rings.
    const int fd = open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return -1;
    FDoorbell = fd;
    return fd;
}

void TSingleInstance::DrainDoorbell(int fd) {
    char bytes[64];
    while (read(fd, bytes, sizeof bytes) > 0) { }
}

bool TSingleInstance::RingDoorbell() const {
    // Without a reader the open fails (ENXIO): nobody would hear the ring.
    const int fd = open(DoorbellPath().c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    struct stat info { };
    const char byte = 1;
    const bool rung = fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode) && write(fd, &byte, 1) == 1;
    close(fd);
    return rung;
}

}

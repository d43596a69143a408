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
    if (FFd < 0) return;
    close(FFd);   // drops the lock
    FFd = -1;
}

}

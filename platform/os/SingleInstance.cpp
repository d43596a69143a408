// TSingleInstance: flock on a lock file in a private folder of the user's.
#include "platform/os/SingleInstance.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvex::os {

namespace {

std::string SystemText(int error) {
    return std::strerror(error);
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') return home;
    const passwd* entry = getpwuid(geteuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

std::string CacheFolder() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/')
        return std::string(cache) + "/korvex";
    const std::string home = HomeFolder();
    return home.empty() ? "" : home + "/.cache/korvex";
}

}

bool IsPrivateFolder(const std::string& path, bool create, std::string& why) {
    if (path.empty() || path[0] != '/') {
        why = "\"" + path + "\" is not an absolute path";
        return false;
    }
    if (create && mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        why = path + ": " + SystemText(errno);
        return false;
    }
    struct stat info { };
    if (lstat(path.c_str(), &info) != 0) {
        why = path + ": " + SystemText(errno);
        return false;
    }
    if (S_ISLNK(info.st_mode) || !S_ISDIR(info.st_mode)) {
        why = path + " is not a folder (a link or a file is not followed)";
        return false;
    }
    if (info.st_uid != geteuid()) {
        why = path + " belongs to another user";
        return false;
    }
    if ((info.st_mode & 077) != 0) {
        why = path + " is open to other users";
        return false;
    }
    return true;
}

std::string SingleInstanceFolder(std::string& why, const std::string& shared) {
    std::string reasons;
    const auto usable = [&](const std::string& path, bool create) {
        std::string reason;
        if (IsPrivateFolder(path, create, reason)) return true;
        reasons += (reasons.empty() ? "" : "; ") + reason;
        return false;
    };
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime != '\0')
        if (usable(runtime, false)) return runtime;
    const std::string own = shared + "/korvex-" + std::to_string(geteuid());
    if (usable(own, true)) return own;
    const std::string cache = CacheFolder();
    if (!cache.empty()) {
        // Its parents are the user's own folders; ~/.cache may not exist yet.
        mkdir(cache.substr(0, cache.rfind('/')).c_str(), 0700);
        if (usable(cache, true)) return cache;
    }
    why = "no private folder for the lock: " + reasons;
    return "";
}

std::string SingleInstanceLockPath(const std::string& name, const std::string& folder) {
    std::string file = name;
    for (char& c : file)
        if (c == '/') c = '_';
    std::string dir = folder;
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir + file + ".lock";
}

TSingleInstance::TSingleInstance(std::string name, std::string folder)
    : FName(std::move(name))
    , FFolder(std::move(folder)) {
    if (!FFolder.empty()) FPath = SingleInstanceLockPath(FName, FFolder);
}

TSingleInstance::~TSingleInstance() {
    Release();
}

TInstanceLock TSingleInstance::Fail(const std::string& why) {
    FError = why;
    return TInstanceLock::Failed;
}

TInstanceLock TSingleInstance::Acquire() {
    if (FFd >= 0) return TInstanceLock::Acquired;
    if (FPath.empty()) {
        std::string why;
        const std::string folder = SingleInstanceFolder(why);
        if (folder.empty()) return Fail(why);
        FPath = SingleInstanceLockPath(FName, folder);
    }
    // No following of links: a planted link must not make us create or lock elsewhere.
    const int fd = open(FPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        const int error = errno;
        return Fail(FPath + ": " + (error == ELOOP ? std::string("a link, not followed") : SystemText(error)));
    }
    struct stat info { };
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
        close(fd);
        return Fail(FPath + " is not a lock file of the user's own");
    }
    int result;
    do
        result = flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        const int error = errno;
        close(fd);
        if (error == EWOULDBLOCK) {
            FError.clear();
            return TInstanceLock::Running;
        }
        return Fail(FPath + ": " + SystemText(error));
    }
    FError.clear();
    FFd = fd;
    return TInstanceLock::Acquired;
}

void TSingleInstance::Release() {
    if (FFd < 0) return;
    close(FFd);   // drops the lock
    FFd = -1;
}

}

// TSingleInstance: flock on a lock file in a private folder of the user's.
#include "platform/os/SingleInstance.h"

#include "platform/os/ProgramFolder.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
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

// The user's home as the system names it: the same however the program was started (HOME and the XDG variables
// differ between a desktop start, cron, su and sudo).
std::string HomeOfUser() {
    const passwd* entry = getpwuid(geteuid());
    return entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/' ? entry->pw_dir : "";
}

// A key of the folder itself, its device and inode: one program folder is one key however it is reached (a
// link, another spelling, a bind mount). A folder that cannot be looked at is keyed by its canonical path.
std::string FolderKey(const std::string& folder) {
    std::uint64_t hash = 14695981039346656037ULL;   // FNV-1a
    const auto add = [&hash](const void* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            hash ^= static_cast<const unsigned char*>(data)[i];
            hash *= 1099511628211ULL;
        }
    };
    struct stat info { };
    if (stat(folder.c_str(), &info) == 0) {
        const std::uint64_t device = info.st_dev, inode = info.st_ino;
        add(&device, sizeof device);
        add(&inode, sizeof inode);
    } else {
        char resolved[PATH_MAX];
        const std::string path = ::realpath(folder.c_str(), resolved) != nullptr ? std::string(resolved) : folder;
        add(path.data(), path.size());
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
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

std::string SingleInstanceFolder(std::string& why, const std::string& shared, const std::string& home) {
    std::string reasons;
    const auto usable = [&](const std::string& path, bool create) {
        std::string reason;
        if (IsPrivateFolder(path, create, reason)) return true;
        reasons += (reasons.empty() ? "" : "; ") + reason;
        return false;
    };
    const std::string userHome = home.empty() ? HomeOfUser() : home;
    if (!userHome.empty()) {
        const std::string cache = userHome + "/.cache";
        mkdir(cache.c_str(), 0700);   // the user's own; it may not exist yet
        if (usable(cache + "/korvex", true)) return cache + "/korvex";
    }
    const std::string own = shared + "/korvex-" + std::to_string(geteuid());
    if (usable(own, true)) return own;
    why = "no private folder for the lock: " + reasons;
    return "";
}

std::string SingleInstanceLockPath(const std::string& name, const std::string& folder, const std::string& programFolder) {
    std::string file = name;
    for (char& c : file)
        if (c == '/') c = '_';
    std::string dir = folder;
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir + file + " " + FolderKey(programFolder) + ".lock";
}

TSingleInstance::TSingleInstance(std::string name, std::string folder, std::string programFolder)
    : FName(std::move(name))
    , FFolder(std::move(folder))
    , FProgramFolder(programFolder.empty() ? ProgramFolder() : std::move(programFolder)) {
    if (!FFolder.empty()) FPath = SingleInstanceLockPath(FName, FFolder, FProgramFolder);
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
        FPath = SingleInstanceLockPath(FName, folder, FProgramFolder);
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

// File and folder operations with the run time's names: existence, create, delete, rename, copy, age, size.
#include "platform/os/Files.h"

#include "platform/os/Paths.h"
#include "platform/os/TimeZone.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace korvex::os {

namespace {

// Keeps errno across clean-up calls.
struct ErrnoKeeper {
    int saved = errno;
    ~ErrnoKeeper() { errno = saved; }
};

class FdGuard {
public:
    explicit FdGuard(int fd)
        : FFd(fd) { }
    ~FdGuard() {
        if (FFd >= 0) {
            ErrnoKeeper keep;
            ::close(FFd);
        }
    }
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    int Get() const { return FFd; }
    int Release() {
        int fd = FFd;
        FFd = -1;
        return fd;
    }

private:
    int FFd;
};

bool StatPath(const std::string& native, struct stat& st) {
    return ::stat(native.c_str(), &st) == 0;
}

// The target name for something about to be created or renamed to: the folder part resolved without
// case, the last component exactly as given (so a rename may change only the case of a name).
std::string TargetPath(const std::string& path) {
    std::string mapped = MapPath(path);
    while (mapped.size() > 1 && mapped.back() == '/')
        mapped.pop_back();
    std::string name = ExtractFileName(mapped);
    std::string folder = ExtractFilePath(mapped);
    if (folder.empty()) folder = ".";
    return IncludeTrailingPathDelimiter(NativePath(folder)) + name;
}

bool CopyContent(int in, int out) {
    std::vector<char> buffer(1 << 20);
    for (;;) {
        ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        const char* p = buffer.data();
        while (n > 0) {
            ssize_t w = ::write(out, p, static_cast<size_t>(n));
            if (w < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            p += w;
            n -= w;
        }
    }
}

bool DeleteTreeAt(int parentFd, const char* name) {
    int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOTDIR || errno == ELOOP) return ::unlinkat(parentFd, name, 0) == 0 || errno == ENOENT;
        return errno == ENOENT;
    }
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    bool ok = true;
    std::vector<std::string> names;
    while (dirent* entry = ::readdir(dir)) {
        std::string_view n = entry->d_name;
        if (n != "." && n != "..") names.emplace_back(n);
    }
    for (const std::string& child : names) {
        struct stat st;
        if (::fstatat(fd, child.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT) ok = false;
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            ok = DeleteTreeAt(fd, child.c_str()) && ok;
        } else if (::unlinkat(fd, child.c_str(), 0) != 0 && errno != ENOENT) {
            ok = false;
        }
    }
    ::closedir(dir);
    if (::unlinkat(parentFd, name, AT_REMOVEDIR) != 0 && errno != ENOENT) return false;
    return ok;
}

}

bool FileExists(const std::string& path) {
    struct stat st;
    if (!StatPath(NativePath(path), st)) return false;
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return false;
    }
    return true;
}

bool DirectoryExists(const std::string& path) {
    struct stat st;
    if (!StatPath(NativePath(path), st)) return false;
    if (!S_ISDIR(st.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

bool CreateDir(const std::string& path) {
    if (path.empty()) {
        errno = ENOENT;
        return false;
    }
    std::string native = NativePath(path);
    struct stat st;
    if (::lstat(native.c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::mkdir(TargetPath(path).c_str(), 0777) == 0;
}

bool ForceDirectories(const std::string& path) {
    if (path.empty()) {
        errno = ENOENT;
        return false;
    }
    std::string native = NativePath(path);
    std::string built;
    size_t start = 0;
    while (start < native.size()) {
        size_t end = native.find('/', start);
        if (end == std::string::npos) end = native.size();
        built = native.substr(0, end);
        start = end + 1;
        if (built.empty()) continue;
        if (::mkdir(built.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    return DirectoryExists(native);
}

bool DeleteFile(const std::string& path) {
    std::string native = NativePath(path);
    struct stat st;
    if (::lstat(native.c_str(), &st) != 0) return false;
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return false;
    }
    return ::unlink(native.c_str()) == 0;
}

bool RemoveDir(const std::string& path) {
    return ::rmdir(NativePath(path).c_str()) == 0;
}

bool RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // File systems without RENAME_NOREPLACE: a hard link fails on an existing target.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return true;
    }
    if (errno == EEXIST) return false;
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool RenameFile(const std::string& oldName, const std::string& newName) {
    std::string from = NativePath(oldName);
    std::string to = TargetPath(newName);
    struct stat fromSt, existing;
    if (::lstat(from.c_str(), &fromSt) != 0) return false;
    std::string resolvedTo = NativePath(newName);
    if (::lstat(resolvedTo.c_str(), &existing) == 0) {
        bool sameEntry = existing.st_dev == fromSt.st_dev && existing.st_ino == fromSt.st_ino;
        if (!sameEntry || from == to) {
            errno = EEXIST;
            return false;
        }
        return ::rename(from.c_str(), to.c_str()) == 0;   // only the case of the name changes
    }
    return RenameNoReplace(from, to);
}

bool CopyFile(const std::string& source, const std::string& target, bool failIfExists) {
    std::string from = NativePath(source);
    std::string to = NativePath(target);
    FdGuard in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));   // a fifo must not block the open
    if (in.Get() < 0) return false;
    struct stat st;
    if (::fstat(in.Get(), &st) != 0) return false;
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    struct stat existing;
    if (::stat(to.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) {
            errno = EISDIR;
            return false;
        }
        if (failIfExists) {
            errno = EEXIST;
            return false;
        }
    } else {
        to = TargetPath(target);
    }
    std::string temp = ExtractFilePath(to) + "." + ExtractFileName(to) + ".copy-XXXXXX";
    FdGuard out(::mkstemp(temp.data()));
    if (out.Get() < 0) return false;
    bool ok = CopyContent(in.Get(), out.Get());
    if (ok) {
        ::fchmod(out.Get(), st.st_mode & 07777);
        struct timespec times[2] = {st.st_atim, st.st_mtim};
        ::futimens(out.Get(), times);
        ok = ::close(out.Release()) == 0;
    }
    if (ok) ok = failIfExists ? RenameNoReplace(temp, to) : ::rename(temp.c_str(), to.c_str()) == 0;
    if (!ok) {
        ErrnoKeeper keep;
        ::unlink(temp.c_str());
    }
    return ok;
}

bool DeleteDirectoryTree(const std::string& path) {
    std::string native = NativePath(path);
    while (native.size() > 1 && native.back() == '/')
        native.pop_back();
    struct stat st;
    if (::lstat(native.c_str(), &st) != 0) return errno == ENOENT;
    if (!S_ISDIR(st.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return DeleteTreeAt(AT_FDCWD, native.c_str());
}

bool FileAge(const std::string& path, base::TDateTime& modified) {
    struct stat st;
    if (!StatPath(NativePath(path), st)) return false;
    modified = UnixToLocalDateTime(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    return true;
}

std::int64_t FileSize(const std::string& path) {
    struct stat st;
    if (!StatPath(NativePath(path), st)) return -1;
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return -1;
    }
    return static_cast<std::int64_t>(st.st_size);
}

}

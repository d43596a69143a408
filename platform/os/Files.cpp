// File and folder operations with the run time's names: existence, create, delete, rename, copy, age, size.
#include "platform/os/Files.h"

#include "platform/os/Paths.h"
#include "platform/os/TextFiles.h"
#include "platform/os/TimeZone.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/statvfs.h>
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

// Copies bytes [from, to) of `in` to the same offsets of `out`: in the kernel where it can, else through a
// buffer. Returns the end reached, short of `to` when the source got shorter meanwhile; -1 on failure.
off_t CopyRange(int in, int out, off_t from, off_t to, bool& inKernel, std::vector<char>& buffer) {
    while (from < to && inKernel) {
        off_t inOffset = from;
        off_t outOffset = from;
        const size_t want = static_cast<size_t>(std::min<off_t>(to - from, off_t(1) << 30));
        ssize_t n = ::copy_file_range(in, &inOffset, out, &outOffset, want, 0);
        if (n > 0) {
            from += n;
            continue;
        }
        if (n == 0) return from;
        if (errno == EINTR) continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP && errno != EPERM
            && errno != ETXTBSY)
            return -1;
        inKernel = false;   // across file systems, or not offered: the buffer from here on
    }
    if (buffer.empty()) buffer.resize(1 << 20);
    while (from < to) {
        const size_t want = static_cast<size_t>(std::min<off_t>(to - from, off_t(buffer.size())));
        ssize_t n = ::pread(in, buffer.data(), want, from);
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) return from;
        const char* p = buffer.data();
        off_t at = from;
        while (n > 0) {
            ssize_t w = ::pwrite(out, p, static_cast<size_t>(n), at);
            if (w < 0) {
                if (errno == EINTR) continue;
                return -1;
            }
            p += w;
            n -= w;
            at += w;
        }
        from = at;
    }
    return from;
}

// The next data extent at or after `pos` below `size`, as [data, hole); false when only a hole is left. File
// systems that cannot tell holes give everything as data.
bool NextData(int fd, off_t pos, off_t size, off_t& data, off_t& hole) {
    data = ::lseek(fd, pos, SEEK_DATA);
    if (data < 0) {
        if (errno == ENXIO) return false;
        data = pos;
        hole = size;
        return true;
    }
    if (data >= size) return false;
    hole = ::lseek(fd, data, SEEK_HOLE);
    if (hole < 0 || hole > size) hole = size;
    return true;
}

// Copies the first `size` bytes of `in` into the empty `out`, leaving the source's holes as holes.
bool CopyContent(int in, int out, off_t size) {
    bool inKernel = true;
    std::vector<char> buffer;
    off_t pos = 0;
    off_t data = 0;
    off_t hole = 0;
    while (pos < size && NextData(in, pos, size, data, hole)) {
        const off_t reached = CopyRange(in, out, data, hole, inKernel, buffer);
        if (reached < 0) return false;
        pos = hole;
        if (reached < hole) {   // the source was cut meanwhile: the copy ends where it did
            size = reached;
            break;
        }
    }
    return ::ftruncate(out, size) == 0;   // a hole up to the end, where the source ends in one
}

// Temporaries of copies: "." + target name + ".korvex-" + the writer's process id + "-" + a unique tail.
constexpr std::string_view CopyTempMark = ".korvex-";

std::string CopyTempPrefix(const std::string& to) {
    return ExtractFilePath(to) + "." + ExtractFileName(to) + std::string(CopyTempMark) + std::to_string(::getpid())
        + "-";
}

// A name for a temporary that no entry has yet.
std::string UniqueTail() {
    static std::atomic<unsigned> counter {0};
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::uint64_t v = (static_cast<std::uint64_t>(::time(nullptr)) << 20) ^ (counter++ * 2654435761u)
        ^ static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&counter));
    std::string tail;
    for (int i = 0; i < 8; ++i, v /= 36)
        tail += digits[v % 36];
    return tail;
}

// Gives the unnamed file `fd` the name `to`; an existing `to` makes it fail (EEXIST).
bool LinkUnnamed(int fd, const std::string& to) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// Opens where a copy to `to` is written: an unnamed file in its folder (nothing can be left behind while it is
// written), else a named temporary in `temp`.
int OpenCopyTarget(const std::string& to, std::string& temp) {
    temp.clear();
    std::string folder = ExtractFilePath(to);
    if (folder.empty()) folder = ".";
    int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0) return fd;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL && errno != ENOENT) return -1;
    temp = CopyTempPrefix(to) + "XXXXXX";
    return ::mkstemp(temp.data());
}

// Names the finished unnamed copy `to`: directly when no file has that name, else through a named temporary
// renamed over it (only that instant leaves a name behind when the process is killed).
bool NameUnnamed(int fd, const std::string& to, bool failIfExists) {
    if (LinkUnnamed(fd, to)) return true;
    if (failIfExists || errno != EEXIST) return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = CopyTempPrefix(to) + UniqueTail();
        if (!LinkUnnamed(fd, temp)) {
            if (errno == EEXIST) continue;
            return false;
        }
        if (::rename(temp.c_str(), to.c_str()) == 0) return true;
        ErrnoKeeper keep;
        ::unlink(temp.c_str());
        return false;
    }
    errno = EEXIST;
    return false;
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

bool SameFile(const std::string& first, const std::string& second) {
    struct stat a, b;
    return StatPath(NativePath(first), a) && StatPath(NativePath(second), b) && a.st_dev == b.st_dev
        && a.st_ino == b.st_ino;
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
        if (!S_ISREG(existing.st_mode)) {   // a device, pipe or socket, or a link to one: never replaced
            FileLog("Not copied: " + target + " is not a regular file");
            errno = EINVAL;
            return false;
        }
        if (failIfExists) {
            errno = EEXIST;
            return false;
        }
    } else {
        to = TargetPath(target);
    }
    std::string temp;
    FdGuard out(OpenCopyTarget(to, temp));
    if (out.Get() < 0) return false;
    bool ok = CopyContent(in.Get(), out.Get(), st.st_size);
    if (ok) {
        ::fchmod(out.Get(), st.st_mode & 07777);
        struct timespec times[2] = {st.st_atim, st.st_mtim};
        ::futimens(out.Get(), times);
    }
    if (temp.empty()) {
        ok = ok && NameUnnamed(out.Get(), to, failIfExists);
        return ok;   // an unnamed file that was not named goes with its descriptor
    }
    if (ok) ok = ::close(out.Release()) == 0;
    if (ok) ok = failIfExists ? RenameNoReplace(temp, to) : ::rename(temp.c_str(), to.c_str()) == 0;
    if (!ok) {
        ErrnoKeeper keep;
        ::unlink(temp.c_str());
    }
    return ok;
}

namespace {

bool PlainTail(const std::string& name, std::size_t from) {
    if (from >= name.size()) return false;
    for (std::size_t i = from; i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
    }
    return true;
}

}

int CopyTemporaryOwner(const std::string& name) {
    if (name.size() < 2 || name[0] != '.') return 0;
    // Earlier copies named theirs "." + name + ".copy-" + six characters, without their writer.
    constexpr std::string_view OldMark = ".copy-";
    if (name.size() > OldMark.size() + 7 && name.compare(name.size() - 6 - OldMark.size(), OldMark.size(), OldMark) == 0
        && PlainTail(name, name.size() - 6))
        return -1;
    const std::size_t mark = name.rfind(CopyTempMark);
    if (mark == std::string::npos || mark < 2) return 0;
    std::size_t p = mark + CopyTempMark.size();
    long pid = 0;
    const std::size_t digits = p;
    while (p < name.size() && name[p] >= '0' && name[p] <= '9' && pid < (1L << 30))
        pid = pid * 10 + (name[p++] - '0');
    if (p == digits || p >= name.size() || name[p] != '-' || pid <= 0 || !PlainTail(name, p + 1)) return 0;
    return static_cast<int>(pid);
}

int RemoveCopyLeftovers(const std::string& folder) {
    std::string native = NativePath(folder);
    FdGuard fd(::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() < 0) return 0;
    DIR* dir = ::fdopendir(fd.Get());
    if (!dir) return 0;
    fd.Release();
    std::vector<std::string> names;
    while (dirent* entry = ::readdir(dir)) {
        const int owner = CopyTemporaryOwner(entry->d_name);
        // Our own may be a copy under way on another thread.
        if (owner != 0 && owner != ::getpid()) names.emplace_back(entry->d_name);
    }
    int removed = 0;
    for (const std::string& name : names) {
        struct stat st;
        if (::fstatat(::dirfd(dir), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)
            && ::unlinkat(::dirfd(dir), name.c_str(), 0) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

std::int64_t FileDataSize(const std::string& path) {
    FdGuard fd(::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0) return -1;
    struct stat st;
    if (::fstat(fd.Get(), &st) != 0) return -1;
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return -1;
    }
    std::int64_t bytes = 0;
    off_t pos = 0;
    off_t data = 0;
    off_t hole = 0;
    while (pos < st.st_size && NextData(fd.Get(), pos, st.st_size, data, hole)) {
        bytes += hole - data;
        pos = hole;
    }
    return bytes;
}

std::int64_t DiskFree(const std::string& path) {
    struct statvfs vfs;
    if (::statvfs(NativePath(path).c_str(), &vfs) != 0) return -1;
    return static_cast<std::int64_t>(vfs.f_bavail) * static_cast<std::int64_t>(vfs.f_frsize);
}

bool ExchangeNames(const std::string& first, const std::string& second) {
    return ::renameat2(AT_FDCWD, NativePath(first).c_str(), AT_FDCWD, NativePath(second).c_str(), RENAME_EXCHANGE) == 0;
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

// Whole-file text operations: appending one line, replacing a file atomically, reading a file whole.
#include "platform/os/TextFiles.h"

#include "platform/os/Paths.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace korvex::os {

namespace {

std::mutex LogLock;
TFileLogHook LogHook;   // guarded by LogLock

void Note(const std::string& line) {
    std::lock_guard guard(LogLock);
    if (LogHook) {
        LogHook(line);
        return;
    }
    std::fprintf(stderr, "%s\n", line.c_str());
}

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a pipe";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    return "not a regular file";
}

// The file a replacement of `native` has to rename over: the path itself, or, when it is a symbolic link, the
// file the link leads to, so the link stays and its target changes. A link that leads nowhere, and anything
// that is there and is not a regular file (a device, a pipe, a socket, a folder, directly or through a link), is
// refused with a note: a regular file must never take its place (errno kept from the look-up, else EINVAL).
std::optional<std::string> ReplaceTarget(const std::string& native) {
    struct stat st;
    if (::lstat(native.c_str(), &st) != 0) return native;
    std::string target = native;
    if (S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(native.c_str(), resolved) == nullptr) {
            const int error = errno;
            char link[PATH_MAX];
            const ssize_t n = ::readlink(native.c_str(), link, sizeof link - 1);
            const std::string to = n > 0 ? std::string(link, static_cast<std::size_t>(n)) : std::string("?");
            Note("Not written: " + native + " is a link to " + to + ", which cannot be reached");
            errno = error;
            return std::nullopt;
        }
        target = resolved;
        if (::stat(target.c_str(), &st) != 0) return target;   // gone meanwhile: made anew
    }
    if (!S_ISREG(st.st_mode)) {
        Note("Not written: " + (target == native ? native : native + " leads to " + target) + ", which is "
            + KindOf(st.st_mode));
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return std::nullopt;
    }
    return target;
}

// Opens a native path and keeps it only when it is a regular file (anything else is closed, errno EINVAL);
// st receives its status. The descriptor, or -1 with errno set.
int OpenRegularFile(const std::string& native, int flags, mode_t mode, struct stat& st) {
    int fd = ::open(native.c_str(), flags, mode);
    if (fd < 0) return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

TReplaceProbe ReplaceProbe;   // guarded by LogLock
TReplaceProbe RenamedProbe;   // guarded by LogLock

TReplaceProbe Probe(const TReplaceProbe& probe) {
    std::lock_guard guard(LogLock);
    return probe;
}

// Writes the open temporary file, syncs it and renames it over `target`; removes it on failure. A new file gets
// `newMode`, an existing one keeps its permissions. Just before the rename the target is looked at again (it must
// still be a regular file or absent) and checks.BeforeRename asked; checks.Written then takes the new file with
// its status from before the rename.
bool FinishReplace(int fd, const std::string& temp, const std::string& target, const std::string& content,
    mode_t newMode, const TReplaceChecks& checks) {
    struct stat old;
    bool exists = ::lstat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    bool ok = ::fchmod(fd, exists ? (old.st_mode & 07777) : newMode) == 0;
    ok = ok && WriteAll(fd, content.data(), content.size()) && ::fdatasync(fd) == 0;
    int error = errno;
    if (ok) {
        if (TReplaceProbe probe = Probe(ReplaceProbe)) probe(target);
        struct stat now;
        if (::lstat(target.c_str(), &now) == 0 && !S_ISREG(now.st_mode)
            && !(checks.ReplaceLink && S_ISLNK(now.st_mode))) {
            Note("Not written: " + target + " is " + KindOf(now.st_mode) + " now");
            ok = false;
            error = S_ISDIR(now.st_mode) ? EISDIR : EINVAL;
        } else if (checks.BeforeRename && !checks.BeforeRename()) {
            ok = false;
            error = EAGAIN;
        }
    }
    struct stat written {};
    if (ok && checks.Written && ::fstat(fd, &written) != 0) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::close(fd);
        ::unlink(temp.c_str());
        errno = error;
        return false;
    }
    if (TReplaceProbe probe = Probe(RenamedProbe)) probe(target);
    if (checks.Written) {
        const int kept = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (kept >= 0) checks.Written(kept, written);
    }
    if (::close(fd) != 0) return false;   // written and renamed: only a late report of a write error
    if (!checks.SyncFolder) return true;
    std::string folder = ExtractFileDir(target);
    int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {   // the rename itself reaches the disk
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

}

bool AppendLine(const std::string& path, const std::string& line) {
    std::string native = NativePath(path);
    struct stat st;
    int fd = OpenRegularFile(native, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666, st);
    if (fd < 0) return false;
    std::string record = line + LineBreak;
    bool ok = WriteAll(fd, record.data(), record.size());
    int error = errno;
    ok = ::close(fd) == 0 && ok;
    if (!ok) errno = error;
    return ok;
}

void SetReplaceProbe(TReplaceProbe probe) {
    std::lock_guard guard(LogLock);
    ReplaceProbe = std::move(probe);
}

void SetRenamedProbe(TReplaceProbe probe) {
    std::lock_guard guard(LogLock);
    RenamedProbe = std::move(probe);
}

void FileLog(const std::string& line) {
    Note(line);
}

void SetFileLog(TFileLogHook hook) {
    std::lock_guard guard(LogLock);
    LogHook = std::move(hook);
}

bool RewriteFileAtomically(const std::string& path, const std::string& content) {
    return RewriteFileAtomically(path, content, TReplaceChecks {});
}

bool RewriteFileAtomically(const std::string& path, const std::string& content, const TReplaceChecks& checks) {
    const std::string native = NativePath(path);
    const std::optional<std::string> resolved = ReplaceTarget(native);
    if (!resolved) return false;
    const std::string& target = checks.ReplaceLink ? native : *resolved;
    std::string folder = ExtractFilePath(target);
    std::string temp = folder + "." + ExtractFileName(target) + ".tmp-XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    return FinishReplace(fd, temp, target, content, 0644, checks);
}

bool RewriteFileAtomicallyVia(const std::string& path, const std::string& content, const std::string& tempPath) {
    return RewriteFileAtomicallyVia(path, content, tempPath, {});
}

bool RewriteFileAtomicallyVia(const std::string& path, const std::string& content, const std::string& tempPath,
    const TReplaceChecks& checks) {
    const std::optional<std::string> resolved = ReplaceTarget(path);
    if (!resolved) return false;
    const std::string& target = *resolved;
    // Through a link the temporary file goes beside the target, where the rename can reach.
    const std::string temp = target == path ? tempPath : ExtractFilePath(target) + ExtractFileName(tempPath);
    ::unlink(temp.c_str());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    return FinishReplace(fd, temp, target, content, 0600, checks);
}

int OpenRegularFileForReading(const std::string& path, struct stat& st) {
    return OpenRegularFile(NativePath(path), O_RDONLY | O_CLOEXEC | O_NONBLOCK, 0, st);
}

bool ReadWholeFile(const std::string& path, std::string& content, std::int64_t maxSize) {
    content.clear();
    struct stat st;
    int fd = OpenRegularFileForReading(path, st);
    if (fd < 0) return false;
    if (st.st_size > maxSize) {
        ::close(fd);
        errno = EFBIG;
        return false;
    }
    content.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            int error = errno;
            ::close(fd);
            content.clear();
            errno = error;
            return false;
        }
        if (n == 0) break;
        if (static_cast<std::int64_t>(content.size()) + n > maxSize) {
            ::close(fd);
            content.clear();
            errno = EFBIG;
            return false;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

}

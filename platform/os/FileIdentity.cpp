// A file's identity on disk, and a file kept open under it.
#include "platform/os/FileIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvex::os {

FileIdentity IdentityOf(const struct stat& st) {
    return {true, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
        static_cast<std::int64_t>(st.st_size), st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec,
        st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec};
}

FileIdentity IdentityOfPath(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? IdentityOf(st) : FileIdentity {};
}

PinnedFile::~PinnedFile() {
    Clear();
}

void PinnedFile::Pin(int fd, const struct stat& st) {
    Clear();
    FFd = fd;
    FIdentity = IdentityOf(st);
}

void PinnedFile::PinReplaced(int fd, const struct stat& written) {
    struct stat now;
    if (::fstat(fd, &now) != 0) {
        Pin(fd, written);
        return;
    }
    FileIdentity before = IdentityOf(written);
    const FileIdentity after = IdentityOf(now);
    before.Changed = after.Changed;
    Pin(fd, before == after ? now : written);
}

bool PinnedFile::PinPath(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0) ::close(fd);
        Clear();
        return false;
    }
    Pin(fd, st);
    return true;
}

void PinnedFile::Clear() {
    if (FFd >= 0) ::close(FFd);
    FFd = -1;
    FIdentity = {};
}

bool PinnedFile::ChangedOnDisk(const std::string& path) const {
    return !(IdentityOfPath(path) == FIdentity);
}

}

// TFileStream: a file opened for reading and/or writing with the run time's open modes and stream errors.
#include "platform/os/FileStream.h"

#include "platform/os/Paths.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace korvex::os {

namespace {

// Moves count bytes by repeated calls of step(done), which moves some of what is left and answers as read(2)
// and write(2) do; a call interrupted by a signal is made again. A read that moves nothing is the end of the
// file; a write that moves nothing is made again. The bytes moved, or -1 when the first call fails (its errno
// kept in lastError).
enum class NothingMoved { Ends, Repeats };

template <class Step>
std::int64_t MoveAll(std::int64_t count, NothingMoved nothing, int& lastError, Step&& step) {
    std::int64_t done = 0;
    while (done < count) {
        ssize_t n = step(done);
        if (n < 0) {
            if (errno == EINTR) continue;
            lastError = errno;
            return done > 0 ? done : -1;
        }
        if (n == 0 && nothing == NothingMoved::Ends) break;
        done += n;
    }
    return done;
}

bool IsCreate(std::uint16_t mode) {
    return (mode & fmCreate) == fmCreate;
}

int OpenFlags(std::uint16_t mode) {
    if (IsCreate(mode)) return O_RDWR | O_CREAT | O_TRUNC;
    switch (mode & 0x0003) {
    case fmOpenWrite:
        return O_WRONLY;
    case fmOpenReadWrite:
        return O_RDWR;
    default:
        return O_RDONLY;
    }
}

}

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode) {
    if (TryOpen(fileName, mode)) return;
    std::string reason = std::strerror(FLastError);
    if (IsCreate(mode)) throw EFCreateError("Cannot create file \"" + fileName + "\". " + reason);
    throw EFOpenError("Cannot open file \"" + fileName + "\". " + reason);
}

TFileStream::~TFileStream() {
    Close();
}

TFileStream::TFileStream(TFileStream&& other) noexcept
    : FHandle(std::exchange(other.FHandle, -1))
    , FLastError(other.FLastError)
    , FMode(other.FMode)
    , FFileName(std::move(other.FFileName)) {
}

TFileStream& TFileStream::operator=(TFileStream&& other) noexcept {
    if (this != &other) {
        Close();
        FHandle = std::exchange(other.FHandle, -1);
        FLastError = other.FLastError;
        FMode = other.FMode;
        FFileName = std::move(other.FFileName);
    }
    return *this;
}

bool TFileStream::TryOpen(const std::string& fileName, std::uint16_t mode) {
    const bool opened = TryOpenNative(NativePath(fileName), mode);
    FFileName = fileName;
    return opened;
}

bool TFileStream::TryOpenNative(const std::string& native, std::uint16_t mode) {
    Close();
    FFileName = native;
    FMode = mode;
    int fd = ::open(native.c_str(), OpenFlags(mode) | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        FLastError = errno;
        return false;
    }
    struct stat st { };
    int error = ::fstat(fd, &st) != 0 ? errno : 0;
    if (error == 0 && !S_ISREG(st.st_mode))
        error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;   // folders, fifos and devices are not files here
    if (error != 0) {
        FLastError = error;
        ::close(fd);
        return false;
    }
    int blocking = 0;
    ::ioctl(fd, FIONBIO, &blocking);
    FHandle = fd;
    FLastError = 0;
    return true;
}

void TFileStream::Close() {
    if (FHandle >= 0) ::close(FHandle);
    FHandle = -1;
}

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
    if (FHandle < 0 || count < 0) return -1;
    auto* out = static_cast<char*>(buffer);
    return MoveAll(count, NothingMoved::Ends, FLastError,
        [&](std::int64_t done) { return ::read(FHandle, out + done, static_cast<size_t>(count - done)); });
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
    if (FHandle < 0 || count < 0) return -1;
    const auto* in = static_cast<const char*>(buffer);
    return MoveAll(count, NothingMoved::Repeats, FLastError,
        [&](std::int64_t done) { return ::write(FHandle, in + done, static_cast<size_t>(count - done)); });
}

void TFileStream::ReadBuffer(void* buffer, std::int64_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TFileStream::WriteBuffer(const void* buffer, std::int64_t count) {
    if (count != 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    if (FHandle < 0) return -1;
    int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET : origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
    off_t result = ::lseek(FHandle, static_cast<off_t>(offset), whence);
    if (result < 0) FLastError = errno;
    return result;
}

std::int64_t TFileStream::Position() const {
    if (FHandle < 0) return -1;
    return ::lseek(FHandle, 0, SEEK_CUR);
}

std::int64_t TFileStream::Size() const {
    struct stat st;
    if (FHandle < 0 || ::fstat(FHandle, &st) != 0) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

std::int64_t TFileStream::ReadAt(std::int64_t offset, void* buffer, std::int64_t count) {
    if (FHandle < 0 || count < 0 || offset < 0) return -1;
    auto* out = static_cast<char*>(buffer);
    return MoveAll(count, NothingMoved::Ends, FLastError, [&](std::int64_t done) {
        return ::pread(FHandle, out + done, static_cast<size_t>(count - done), static_cast<off_t>(offset + done));
    });
}

std::int64_t TFileStream::WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) {
    if (FHandle < 0 || count < 0 || offset < 0) return -1;
    const auto* in = static_cast<const char*>(buffer);
    return MoveAll(count, NothingMoved::Repeats, FLastError, [&](std::int64_t done) {
        return ::pwrite(FHandle, in + done, static_cast<size_t>(count - done), static_cast<off_t>(offset + done));
    });
}

bool TFileStream::Flush() {
    if (FHandle < 0) return false;
    if (::fdatasync(FHandle) == 0) return true;
    FLastError = errno;
    return false;
}

}

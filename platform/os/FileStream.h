// TFileStream: a file opened for reading and/or writing with the run time's open modes and stream errors.
#pragma once

#include "platform/base/Exceptions.h"

#include <cstdint>
#include <string>

namespace korvex::os {

// Open modes: one access value, optionally or-ed with one share value. fmCreate creates the file or
// empties an existing one, for reading and writing.
inline constexpr std::uint16_t fmOpenRead = 0x0000;
inline constexpr std::uint16_t fmOpenWrite = 0x0001;
inline constexpr std::uint16_t fmOpenReadWrite = 0x0002;
inline constexpr std::uint16_t fmCreate = 0xFF00;
// Share values are kept as the caller's intent only (ShareMode()): Linux has no mandatory locks, so other
// processes (the client writing its log) are never kept out, and our opens never fail because of theirs.
inline constexpr std::uint16_t fmShareCompat = 0x0000;
inline constexpr std::uint16_t fmShareExclusive = 0x0010;
inline constexpr std::uint16_t fmShareDenyWrite = 0x0020;
inline constexpr std::uint16_t fmShareDenyRead = 0x0030;
inline constexpr std::uint16_t fmShareDenyNone = 0x0040;

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class EStreamError : public base::EInOutError {
public:
    using EInOutError::EInOutError;
};
class EFOpenError : public EStreamError {   // "Cannot open file "<name>". <reason>"
public:
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {   // "Cannot create file "<name>". <reason>"
public:
    using EStreamError::EStreamError;
};
class EReadError : public EStreamError {   // "Stream read error"
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {   // "Stream write error"
public:
    using EStreamError::EStreamError;
};

// The file name goes through NativePath (Windows form, relative to the program folder, names without
// case). A folder never opens. Not copyable; movable. One stream is for one thread at a time.
class TFileStream {
public:
    TFileStream() = default;   // closed; use TryOpen
    // Raises EFCreateError (fmCreate) or EFOpenError (other modes) when the file cannot be opened.
    TFileStream(const std::string& fileName, std::uint16_t mode);
    ~TFileStream();
    TFileStream(TFileStream&& other) noexcept;
    TFileStream& operator=(TFileStream&& other) noexcept;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    // The non-raising open: closes what was open, then false with LastError() (an errno value) on failure.
    bool TryOpen(const std::string& fileName, std::uint16_t mode);
    // TryOpen of a Linux path as it is (no mapping, no search without case): a name NativePath gave before.
    bool TryOpenNative(const std::string& nativePath, std::uint16_t mode);
    void Close();
    bool IsOpen() const { return FHandle >= 0; }
    int LastError() const { return FLastError; }
    const std::string& FileName() const { return FFileName; }
    std::uint16_t ShareMode() const { return static_cast<std::uint16_t>(FMode & 0x00F0); }
    int Handle() const { return FHandle; }

    // Read/Write return the bytes moved (Read: fewer at the end of the file), -1 on an error or when closed.
    std::int64_t Read(void* buffer, std::int64_t count);
    std::int64_t Write(const void* buffer, std::int64_t count);
    // All or nothing: raise EReadError / EWriteError when fewer bytes could be moved.
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);

    // New position from the origin; -1 on an error. Positions past the end are allowed (a later write fills).
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin);
    std::int64_t Position() const;
    void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
    std::int64_t Size() const;   // -1 when closed

    // Byte-level access at an offset, leaving Position() alone.
    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count);
    std::int64_t WriteAt(std::int64_t offset, const void* buffer, std::int64_t count);

    bool Flush();   // data to the disk (fdatasync)

private:
    int FHandle = -1;
    int FLastError = 0;
    std::uint16_t FMode = 0;
    std::string FFileName;
};

}

// Reading node files in blocks, following a growing log, retrying while a client holds the files.
#include "app/nodes/NodeFiles.h"

#include "platform/os/FileStream.h"
#include "platform/os/Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <sys/stat.h>
#include <utility>

namespace korvex::app {

namespace {

int ReadError(const os::TFileStream& stream) {
    return stream.LastError() != 0 ? stream.LastError() : EIO;
}

// The whole stream from its start, as far as it reaches when the size is taken (a client appending meanwhile
// only adds to the next reading).
bool LoadAll(os::TFileStream& stream, TTextLines& lines, std::int64_t maxSize, int& error) {
    std::int64_t size = stream.Size();
    if (size < 0) {
        error = EIO;
        return false;
    }
    if (size > maxSize) {
        error = EFBIG;
        return false;
    }
    TTextBuffer buffer;
    try {
        buffer = TTextLines::AllocateBuffer(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        error = ENOMEM;
        return false;
    }
    std::int64_t done = 0;
    while (done < size) {
        std::int64_t got = stream.ReadAt(done, buffer.get() + done, size - done);
        if (got < 0) {
            error = EIO;
            return false;
        }
        if (got == 0) break;   // cut short meanwhile: what is there counts
        done += got;
    }
    lines = TTextLines::FromBuffer(std::move(buffer), static_cast<std::size_t>(done));
    return true;
}

// Bytes of the stream at an offset, all of them or nothing.
bool ReadExactly(os::TFileStream& stream, std::int64_t offset, std::string& bytes, std::size_t count) {
    bytes.resize(count);
    std::size_t done = 0;
    while (done < count) {
        const std::int64_t got = stream.ReadAt(
            offset + static_cast<std::int64_t>(done), bytes.data() + done, static_cast<std::int64_t>(count - done));
        if (got <= 0) return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

// Whether the stream holds these bytes at an offset; read through a buffer on the stack.
bool HoldsAt(os::TFileStream& stream, std::int64_t offset, std::string_view expected) {
    char buffer[TClientLogFollower::CheckBytes];
    while (!expected.empty()) {
        const std::int64_t got
            = stream.ReadAt(offset, buffer, static_cast<std::int64_t>(std::min(expected.size(), sizeof buffer)));
        if (got <= 0 || std::memcmp(buffer, expected.data(), static_cast<std::size_t>(got)) != 0) return false;
        expected.remove_prefix(static_cast<std::size_t>(got));
        offset += got;
    }
    return true;
}

}

os::TRetryResult LoadTextLinesRetrying(const std::string& path, TTextLines& lines, const os::TRetryOptions& options) {
    lines = TTextLines();
    os::TRetryResult result = os::ReadRetrying(
        path,
        [&](os::TFileStream& stream, int& error) { return LoadAll(stream, lines, options.Limits.MaxTotalSize, error); },
        options);
    if (!result.Loaded) lines = TTextLines();
    return result;
}

void TClientLogFollower::Reset() {
    *this = TClientLogFollower();
}

bool TClientLogFollower::Unchanged(const os::FileIdentity& file) const {
    if (FLastScan == TScan::None) return true;
    return file.Exists && file.Device == FDevice && file.Inode == FInode && file.Size == FEnd;
}

std::string& TNodeFileNames::Kept(const std::string& path) {
    for (auto& [given, native] : FNames)
        if (given == path) return native;
    return FNames.emplace_back(path, std::string()).second;
}

bool TNodeFileNames::Open(os::TFileStream& stream, const std::string& path, std::uint16_t mode) {
    std::string& native = Kept(path);
    if (!native.empty() && stream.TryOpenNative(native, mode)) return true;
    std::string resolved = os::NativePath(path);
    if (resolved == native) return false;   // searched again: the same name, which did not open
    native = std::move(resolved);
    return stream.TryOpenNative(native, mode);
}

os::FileIdentity TNodeFileNames::Identity(const std::string& path) {
    std::string& native = Kept(path);
    if (!native.empty())
        if (os::FileIdentity file = os::IdentityOfPath(native); file.Exists) return file;
    native = os::NativePath(path);
    return os::IdentityOfPath(native);
}

void TNodeFileNames::Use(os::TRetryOptions& options) {
    options.Open = [this](os::TFileStream& stream, const std::string& path, std::uint16_t mode) {
        return Open(stream, path, mode);
    };
}

bool TClientLogFollower::SameFileGrown(
    os::TFileStream& stream, std::uint64_t device, std::uint64_t inode, std::int64_t size) const {
    if (device != FDevice || inode != FInode || size < FEnd) return false;
    return HoldsAt(stream, 0, FStartBytes)
        && HoldsAt(stream, FEnd - static_cast<std::int64_t>(FEndBytes.size()), FEndBytes);
}

bool TClientLogFollower::GrewWithout(os::TFileStream& stream, std::initializer_list<std::string_view> keys) const {
    constexpr std::int64_t MaxLooked = std::int64_t(1) << 20;   // more appended: taken as changed
    struct stat st { };
    if (FLastScan == TScan::None || ::fstat(stream.Handle(), &st) != 0) return false;
    const std::int64_t size = st.st_size;
    if (size - FEnd > MaxLooked
        || !SameFileGrown(stream, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino), size))
        return false;
    // The start of a line the old end cut, then what came after it.
    const std::size_t lineStart = FEndBytes.find_last_of('\n');
    std::string text = lineStart == std::string::npos ? FEndBytes : FEndBytes.substr(lineStart + 1);
    std::string appended;
    if (!ReadExactly(stream, FEnd, appended, static_cast<std::size_t>(size - FEnd))) return false;
    text += appended;
    return std::none_of(
        keys.begin(), keys.end(), [&text](std::string_view key) { return text.find(key) != std::string::npos; });
}

bool TClientLogFollower::Read(os::TFileStream& stream, int& error) {
    struct stat st { };
    if (::fstat(stream.Handle(), &st) != 0) {
        error = errno;
        Reset();
        return false;
    }
    const std::int64_t size = st.st_size;
    const auto device = static_cast<std::uint64_t>(st.st_dev);
    const auto inode = static_cast<std::uint64_t>(st.st_ino);
    const bool follow = FLastScan != TScan::None && SameFileGrown(stream, device, inode, size);
    if (!follow) {
        Reset();
        FDevice = device;
        FInode = inode;
    }
    // A block as large as what is to be read, up to BlockBytes: a few hundred bytes when the log only grew.
    const std::int64_t blockBytes = std::min<std::int64_t>(std::int64_t(BlockBytes), size - FEnd);
    std::unique_ptr<char[]> block;
    std::int64_t offset = FEnd;
    while (offset < size) {
        if (!block) block.reset(new char[static_cast<std::size_t>(blockBytes)]);
        const std::int64_t got = stream.ReadAt(offset, block.get(), std::min(blockBytes, size - offset));
        if (got < 0) {
            error = ReadError(stream);
            Reset();
            return false;
        }
        if (got == 0) break;   // cut short meanwhile: what is there counts
        const std::string_view piece(block.get(), static_cast<std::size_t>(got));
        FScanner.Feed(piece);
        if (FStartBytes.size() < CheckBytes) FStartBytes.append(piece.substr(0, CheckBytes - FStartBytes.size()));
        if (piece.size() >= CheckBytes) {
            FEndBytes.assign(piece.substr(piece.size() - CheckBytes));
        } else {
            FEndBytes.append(piece);
            if (FEndBytes.size() > CheckBytes) FEndBytes.erase(0, FEndBytes.size() - CheckBytes);
        }
        offset += got;
    }
    FEnd = offset;
    FLastScan = follow ? TScan::Appended : TScan::Full;
    return true;
}

bool ReadUnitInfoLines(os::TFileStream& stream, std::vector<std::string>& lines, int& error) {
    constexpr std::size_t Block = 64 * 1024;
    lines.clear();
    std::string line;
    std::int64_t lineBytes = 0;   // bytes of the current line looked through, kept or not
    bool pendingCR = false;
    auto end = [&] {
        lines.push_back(std::move(line));
        line.clear();
        lineBytes = 0;
    };
    std::unique_ptr<char[]> block(new char[Block]);
    for (std::int64_t offset = 0; lines.size() < UnitInfoLines && offset < UnitInfoMaxBytes;) {
        const std::int64_t got
            = stream.ReadAt(offset, block.get(), std::min(std::int64_t(Block), UnitInfoMaxBytes - offset));
        if (got < 0) {
            lines.clear();
            error = ReadError(stream);
            return false;
        }
        if (got == 0) break;
        offset += got;
        const char* at = block.get();
        const char* const stop = at + got;
        while (at < stop && lines.size() < UnitInfoLines) {
            if (pendingCR) {
                pendingCR = false;
                if (*at == '\n') {
                    ++at;
                    continue;
                }
            }
            const char* lineEnd = at;
            while (lineEnd < stop && *lineEnd != '\n' && *lineEnd != '\r')
                ++lineEnd;
            const std::size_t run = static_cast<std::size_t>(lineEnd - at);
            if (line.size() < MaxKeptLineBytes) line.append(at, std::min(run, MaxKeptLineBytes - line.size()));
            lineBytes += static_cast<std::int64_t>(run);
            at = lineEnd;
            if (lineBytes > UnitInfoLineScanBytes) {   // no line end in sight: the reading ends with this line
                end();
                return true;
            }
            if (at == stop) break;
            pendingCR = *at == '\r';
            ++at;
            end();
        }
    }
    if (lineBytes > 0 && lines.size() < UnitInfoLines) end();
    return true;
}

std::string NodeFilePath(const std::string& folder, const std::string& fileName) {
    return os::IncludeTrailingPathDelimiter(folder) + fileName;
}

void ReadClientLog(TClientLogFollower& follower, const std::string& folder, base::TDateTime now,
    const TUtcOffsetFunc& utcOffset, const os::TRetryOptions& options, TNodeReading& reading,
    const TLogScanStages& stages) {
    os::TRetryOptions scanning = options;
    bool loaded = false;
    scanning.OnStep = [&](os::TRetryStep step) {
        if (options.OnStep) options.OnStep(step);
        if (step == os::TRetryStep::Loaded) loaded = true;
        if (step == os::TRetryStep::LoadAttempted && std::exchange(loaded, false))
            ScanClientLog(follower.Marks(), now, utcOffset, reading, stages);
    };
    os::ReadRetrying(NodeFilePath(folder, ClientLogName),
        [&follower](os::TFileStream& stream, int& error) { return follower.Read(stream, error); }, scanning);
}

void ReadUnitInfo(const std::string& folder, base::TDateTime now, const TUtcOffsetFunc& utcOffset,
    const os::TRetryOptions& options, TNodeReading& reading) {
    std::vector<std::string> lines;
    const os::TRetryResult result = os::ReadRetrying(
        NodeFilePath(folder, UnitInfoName),
        [&lines](os::TFileStream& stream, int& error) { return ReadUnitInfoLines(stream, lines, error); }, options);
    if (!result.Loaded) lines.clear();
    ScanUnitInfo(std::vector<std::string_view>(lines.begin(), lines.end()), now, utcOffset, reading);
}

TNodeReading ReadNodeFolder(
    const std::string& folder, base::TDateTime now, const TUtcOffsetFunc& utcOffset, const os::TRetryOptions& options) {
    TNodeReading reading;
    TClientLogFollower follower;
    ReadClientLog(follower, folder, now, utcOffset, options, reading);
    ReadUnitInfo(folder, now, utcOffset, options, reading);
    return reading;
}

}

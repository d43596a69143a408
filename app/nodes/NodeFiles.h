// Reading a node folder's client files into the node reading, with the retries a busy client needs. The log is
// read in blocks, never whole, and a reader kept from one cycle to the next reads only what was appended.
#pragma once

#include "app/nodes/ClientLogMarks.h"
#include "app/nodes/NodeReading.h"
#include "app/nodes/TextLines.h"
#include "platform/os/FileIdentity.h"
#include "platform/os/LineLoader.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::app {

inline constexpr const char* ClientLogName = "FAHlog.txt";
inline constexpr const char* UnitInfoName = "unitinfo.txt";

// Loads a text file whole into lines, retrying as os::ReadRetrying does; lines stay empty unless Loaded. The size
// limit of options.Limits applies; its line length limit does not (lines are views, however long).
os::TRetryResult LoadTextLinesRetrying(
    const std::string& path, TTextLines& lines, const os::TRetryOptions& options = {});

// The client log read into its marks. Kept from one reading to the next, it reads only the bytes appended since
// when the file only grew: the same file (device and inode), not shorter, and the same bytes at its start and
// just before the old end. Anything else (a new file, a cut or rewritten one) reads it from its start. Either way
// the marks are those of one pass over the whole file. Memory: one block while reading, and the marks.
class TClientLogFollower {
public:
    static constexpr std::size_t BlockBytes = std::size_t(1) << 20;
    static constexpr std::size_t CheckBytes = 512;   // compared at the start and before the old end

    enum class TScan {
        None,   // nothing read yet, or the last read failed
        Full,   // read from the start
        Appended,   // read from the old end (nothing when the file did not change)
    };

    // Reads the open file up to the size it has now. False (error set) when a read fails; the next read then
    // starts over.
    bool Read(os::TFileStream& stream, int& error);
    const TLogMarks& Marks() { return FScanner.Marks(); }   // valid until the next Read or Marks
    TScan LastScan() const { return FLastScan; }
    std::int64_t End() const { return FEnd; }   // the bytes read
    void Reset();
    // Whether `file` (the log's status now) is still the one read, as far as it was read (same file, same size);
    // true when nothing was read.
    bool Unchanged(const os::FileIdentity& file) const;
    // Whether the open file is the one read, only grown since, and the lines appended hold none of `keys` (a
    // line the last read ended inside is looked at whole). Reads the appended bytes; changes nothing.
    bool GrewWithout(os::TFileStream& stream, std::initializer_list<std::string_view> keys) const;

private:
    bool SameFileGrown(os::TFileStream& stream, std::uint64_t device, std::uint64_t inode, std::int64_t size) const;

    TLogMarkScanner FScanner;
    TScan FLastScan = TScan::None;
    std::uint64_t FDevice = 0;
    std::uint64_t FInode = 0;
    std::int64_t FEnd = 0;
    std::string FStartBytes;   // the first CheckBytes of the file
    std::string FEndBytes;   // the last CheckBytes before FEnd
};

// The client files of one node folder by the names they resolved to. A name found without case ("FAHLog.txt"
// for "FAHlog.txt") is kept and opened again while it still opens; the folder is searched again only when it
// does not. One thread's (a monitoring thread keeps one for its folder).
class TNodeFileNames {
public:
    // Opens `path` (a Windows or Linux path) as TFileStream::TryOpen would.
    bool Open(os::TFileStream& stream, const std::string& path, std::uint16_t mode);
    // The status of the file at `path` by its kept name (searched again when that is gone); Exists false when
    // there is none.
    os::FileIdentity Identity(const std::string& path);
    // The options' open through the kept names.
    void Use(os::TRetryOptions& options);

private:
    std::string& Kept(const std::string& path);   // the native name, "" before the first use
    std::vector<std::pair<std::string, std::string>> FNames;   // path as given, native path
};

// How far one line of a unit file is looked through for its end: a longer line (damaged) ends the reading, as
// nothing after it can be told apart as a line. Each line is kept to MaxKeptLineBytes however long it runs, so a
// long first line leaves the lines after it their own share; nothing past UnitInfoMaxBytes is ever read.
inline constexpr std::int64_t UnitInfoLineScanBytes = std::int64_t(1) << 20;
inline constexpr std::int64_t UnitInfoMaxBytes = std::int64_t(UnitInfoLines) * UnitInfoLineScanBytes;

// The first UnitInfoLines lines of a stream, each cut to MaxKeptLineBytes, read in blocks up to the last of them
// and never past UnitInfoMaxBytes.
bool ReadUnitInfoLines(os::TFileStream& stream, std::vector<std::string>& lines, int& error);

// A client file of a node folder (a Windows or Linux path; the file name resolves without case).
std::string NodeFilePath(const std::string& folder, const std::string& fileName);

// The two steps of a node folder's reading, each into `reading`: the log with a follower kept from one reading to
// the next (a monitoring thread has one), then the unit-info file. A file that cannot be read counts as empty.
// The log is scanned as soon as a load succeeds, between its LoadAttempted step and the pause that may follow;
// `stages` hears the scan's progress.
void ReadClientLog(TClientLogFollower& follower, const std::string& folder, base::TDateTime now,
    const TUtcOffsetFunc& utcOffset, const os::TRetryOptions& options, TNodeReading& reading,
    const TLogScanStages& stages = {});
void ReadUnitInfo(const std::string& folder, base::TDateTime now, const TUtcOffsetFunc& utcOffset,
    const os::TRetryOptions& options, TNodeReading& reading);

// Reads a node's folder in place of the client files (tests put a fake here: one that blocks as a read of a hung
// network share does).
using TFolderReader = std::function<TNodeReading(int node, const std::string& folder, base::TDateTime now)>;

// The two files of the folder read from their start into a reading; files that cannot be read count as empty.
TNodeReading ReadNodeFolder(const std::string& folder, base::TDateTime now, const TUtcOffsetFunc& utcOffset,
    const os::TRetryOptions& options = {});

}

// Whole-file text operations: appending one line, replacing a file atomically, reading a file whole.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <sys/stat.h>

namespace korvex::os {

// Lines the program appends end with CR LF, as its history and log files always have.
inline constexpr const char* LineBreak = "\r\n";

// Opens `path` for appending (creating it when missing), writes `line` + CR LF with one write call and closes
// it. Appenders in any thread or process never interleave within a line. False when the file cannot be
// opened or written (nothing reported beyond errno).
bool AppendLine(const std::string& path, const std::string& line);

// Where the writers below note what they refuse (a link that leads nowhere): stderr unless set. Any thread.
using TFileLogHook = std::function<void(const std::string& line)>;
void SetFileLog(TFileLogHook hook);
void FileLog(const std::string& line);   // one line to that log

// A file written by replacing it is refused, with one line to that log, when what is there is not a regular file
// (a device, a pipe, a socket, a folder), directly or through a symbolic link: it is never replaced by one.

// Replaces the file's content: writes a temporary file in the same folder, flushes it to the disk and renames
// it over `path`, so readers see the old or the new content, never a part. An existing file's permissions are
// kept (a new one is 0644). On any failure the old file is untouched, the temporary file removed, and the
// result false. A symbolic link is written through: the temporary file goes in its target's folder and is renamed
// over the target, so the link stays a link; a link whose target cannot be reached is refused with a note, and so
// is one that leads to anything but a regular file.
bool RewriteFileAtomically(const std::string& path, const std::string& content);
// The same through the fixed temporary file `tempPath` in the same folder (through a link: its name in the
// target's folder), both Linux paths used as they are (no mapping, no case resolution), for callers that already
// exclude each other with a lock; a temporary file left by a crash is simply replaced. A new file is 0600.
bool RewriteFileAtomicallyVia(const std::string& path, const std::string& content, const std::string& tempPath);

// What a writer that must not lose a change made by others meanwhile asks of the replacement.
struct TReplaceChecks {
    // Asked with the new content written and synced, just before the rename: false leaves the old file as it
    // is, and the write fails with EAGAIN.
    std::function<bool()> BeforeRename;
    // After the rename: the new file's descriptor (closed on exec), which the callee takes over, and its status
    // taken just before the rename, while no other program could reach it yet.
    std::function<void(int fd, const struct stat& written)> Written;
    // The folder synced after the rename, so that the rename itself is on the disk when the call returns. The
    // new content is synced before the rename either way: a crash leaves the old file or the new one.
    bool SyncFolder = true;
    // A symbolic link in the file's place is replaced itself by the new file, and what it leads to is left as it
    // is (a file of the program's own that a user linked elsewhere). A link that leads nowhere, or to anything
    // but a regular file, is refused as ever.
    bool ReplaceLink = false;
};
// RewriteFileAtomically as above, with the checks (a temporary file of its own beside the file replaced).
bool RewriteFileAtomically(const std::string& path, const std::string& content, const TReplaceChecks& checks);
bool RewriteFileAtomicallyVia(const std::string& path, const std::string& content, const std::string& tempPath,
    const TReplaceChecks& checks);

// For tests: called with the target of every replacement when its new content is written, before the checks
// and the rename (so a test can change the file at that moment). Empty: nothing.
using TReplaceProbe = std::function<void(const std::string& target)>;
void SetReplaceProbe(TReplaceProbe probe);
// For tests: called with the target of every replacement right after its rename, before checks.Written takes
// the new file (so a test can append to it at that moment). Empty: nothing.
void SetRenamedProbe(TReplaceProbe probe);

// Opens `path` for reading without blocking on a pipe or device, and keeps it only when it is a regular file
// (anything else is closed, errno EINVAL); st receives its status. The descriptor (closed on exec), or -1 with errno.
int OpenRegularFileForReading(const std::string& path, struct stat& st);

// The file's bytes; false when it cannot be opened or read, or holds more than maxSize bytes (EFBIG).
bool ReadWholeFile(const std::string& path, std::string& content, std::int64_t maxSize = std::int64_t(512) << 20);

}

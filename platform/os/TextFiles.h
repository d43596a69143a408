// Whole-file text operations: appending one line, replacing a file atomically, reading a file whole.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

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

// Replaces the file's content: writes a temporary file in the same folder, flushes it to the disk and renames
// it over `path`, so readers see the old or the new content, never a part. An existing file's permissions are
// kept (a new one is 0644). On any failure the old file is untouched, the temporary file removed, and the
// result false. A symbolic link is written through: the temporary file goes in its target's folder and is renamed
// over the target, so the link stays a link; a link whose target cannot be reached is refused with a note.
bool RewriteFileAtomically(const std::string& path, const std::string& content);
// The same through the fixed temporary file `tempPath` in the same folder (through a link: its name in the
// target's folder), both Linux paths used as they are (no mapping, no case resolution), for callers that already
// exclude each other with a lock; a temporary file left by a crash is simply replaced. A new file is 0600.
bool RewriteFileAtomicallyVia(const std::string& path, const std::string& content, const std::string& tempPath);

// The file's bytes; false when it cannot be opened or read, or holds more than maxSize bytes (EFBIG).
bool ReadWholeFile(const std::string& path, std::string& content, std::int64_t maxSize = std::int64_t(512) << 20);

}

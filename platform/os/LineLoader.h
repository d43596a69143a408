// Loading a text file as lines (CR LF, LF or a lone CR end a line), and the retrying load of a file that
// another program keeps writing.
#pragma once

#include "platform/os/FileStream.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace korvex::os {

// Guards against runaway files. Loading is linear in the file size and reads in blocks, each line copied
// once. The defaults take a 100 MB client log comfortably.
struct TLineLimits {
    // A longer line keeps its first MaxLineLength bytes; the rest up to its end of line is skipped.
    std::size_t MaxLineLength = 1 << 20;
    // A file that holds more bytes than this is not loaded at all (the load fails with EFBIG).
    std::int64_t MaxTotalSize = std::int64_t(512) << 20;
};

// Lines of the stream from its start, as the run time's string list loads them: a last line without an end
// of line is kept, an empty file gives no lines, bytes are kept as they are (NUL and non-UTF-8 included).
// False (lines cleared, `error` set to the errno value) on a read error or when the size limit is passed.
bool LoadLinesFromStream(
    TFileStream& stream, std::vector<std::string>& lines, const TLineLimits& limits = {}, int* error = nullptr);

// Opens `path` for reading (shared) and loads it; raises EFOpenError, or EReadError when the load fails.
void LoadLines(const std::string& path, std::vector<std::string>& lines, const TLineLimits& limits = {});
// The same without raising; `error` (when given) receives the errno value of the failure.
bool TryLoadLines(
    const std::string& path, std::vector<std::string>& lines, int* error = nullptr, const TLineLimits& limits = {});

// Marks reported by LoadLinesRetrying, so a caller can note its progress (a watchdog).
enum class TRetryStep {
    OpenAttempted,   // after every open attempt, successful or not (before the pause that may follow it)
    Opened,   // the file is open
    Loaded,   // a load attempt succeeded (just before its LoadAttempted)
    LoadAttempted,   // after every load attempt
    LoadPaused,   // after the pause that follows a load attempt
    Closed,   // the open file was closed after its loads (just before its OpenAttempted)
};

struct TRetryOptions {
    int Attempts = 20;   // open attempts, and load attempts per successful open
    int PauseMs = 250;   // the pause after an attempt
    // Pause after every open and load attempt, successful or not (a file read at once then costs two pauses).
    // Off: only a failed open or load is followed by a pause.
    bool PauseAfterEveryAttempt = false;
    // Waits the given milliseconds; returns false when the caller wants to stop (the load then ends at once).
    // Empty: a plain sleep.
    std::function<bool(int ms)> Pause;
    std::function<void(TRetryStep)> OnStep;
    // A file that does not exist is not retried: it is not held by anyone, only absent. Set to retry it too.
    bool RetryMissing = false;
    std::uint16_t Mode = fmOpenRead | fmShareDenyNone;
    TLineLimits Limits;
    // Opens the file in place of stream.TryOpen(path, Mode) (a caller that keeps the names it resolved).
    std::function<bool(TFileStream& stream, const std::string& path, std::uint16_t mode)> Open;
};

struct TRetryResult {
    bool Loaded = false;   // lines hold the file
    bool Stopped = false;   // Pause asked to stop
    int Error = 0;   // errno of the last failure
    int OpenAttempts = 0;
    int LoadAttempts = 0;
};

// Opens `path` and runs `load` on the stream, for a file that another program may be holding (an open or a read
// that fails), retrying as the options say: a pause follows a failed open or a failed load (every attempt when
// asked), and a missing file is not retried unless asked. `load` sets `error` when it fails.
using TStreamLoad = std::function<bool(TFileStream& stream, int& error)>;
TRetryResult ReadRetrying(const std::string& path, const TStreamLoad& load, const TRetryOptions& options = {});

// ReadRetrying with the stream loaded into lines; lines are empty unless Loaded.
TRetryResult LoadLinesRetrying(
    const std::string& path, std::vector<std::string>& lines, const TRetryOptions& options = {});

}

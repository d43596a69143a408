// Loading node files into one buffer each, retrying while a client holds them.
#include "app/NodeFiles.h"

#include "platform/os/FileStream.h"
#include "platform/os/Paths.h"

#include <cerrno>
#include <chrono>
#include <new>
#include <thread>

namespace korvex::app {

namespace {

bool DefaultPause(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return true;
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

}

os::TRetryResult LoadTextLinesRetrying(const std::string& path, TTextLines& lines, const os::TRetryOptions& options) {
    os::TRetryResult result;
    lines = TTextLines();
    auto step = [&](os::TRetryStep s) {
        if (options.OnStep) options.OnStep(s);
    };
    auto pause = [&]() {
        bool goOn = options.Pause ? options.Pause(options.PauseMs) : DefaultPause(options.PauseMs);
        if (!goOn) result.Stopped = true;
        return goOn;
    };
    for (int open = 0; open < options.Attempts; ++open) {
        ++result.OpenAttempts;
        os::TFileStream stream;
        bool opened = stream.TryOpen(path, options.Mode);
        if (opened) {
            step(os::TRetryStep::Opened);
            for (int load = 0; load < options.Attempts; ++load) {
                ++result.LoadAttempts;
                result.Loaded = LoadAll(stream, lines, options.Limits.MaxTotalSize, result.Error);
                step(os::TRetryStep::LoadAttempted);
                bool goOn = pause();
                step(os::TRetryStep::LoadPaused);
                if (result.Loaded || !goOn || result.Error == EFBIG) break;
            }
        } else {
            result.Error = stream.LastError();
        }
        stream.Close();
        step(os::TRetryStep::OpenAttempted);
        if (result.Stopped) break;
        bool permanent = !opened && !options.RetryMissing
            && (result.Error == ENOENT || result.Error == ENOTDIR || result.Error == EISDIR);
        if (permanent) break;
        if (!pause() || opened) break;
    }
    if (!result.Loaded) lines = TTextLines();
    return result;
}

std::string NodeFilePath(const std::string& folder, const std::string& fileName) {
    return os::IncludeTrailingPathDelimiter(folder) + fileName;
}

TNodeReading ReadNodeFolder(
    const std::string& folder, base::TDateTime now, const TUtcOffsetFunc& utcOffset, const os::TRetryOptions& options) {
    TTextLines log;
    TTextLines unitInfo;
    LoadTextLinesRetrying(NodeFilePath(folder, ClientLogName), log, options);
    LoadTextLinesRetrying(NodeFilePath(folder, UnitInfoName), unitInfo, options);
    return ReadNode(log, unitInfo, now, utcOffset);
}

}

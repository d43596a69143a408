// Loading a text file as lines (CR LF, LF or a lone CR end a line), and the retrying load of a file that
// another program keeps writing.
#include "platform/os/LineLoader.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace korvex::os {

namespace {

constexpr std::size_t BlockSize = 1 << 20;

// Splits blocks into lines, carrying a partial line (and a CR that may pair with an LF) across blocks.
class LineSplitter {
public:
    LineSplitter(std::vector<std::string>& lines, std::size_t maxLine)
        : FLines(lines)
        , FMaxLine(maxLine) { }

    void Feed(const char* data, std::size_t size) {
        std::size_t i = 0;
        while (i < size) {
            char c = data[i];
            if (c == '\n') {
                if (!FPendingCR) Emit();
                FPendingCR = false;
                ++i;
                continue;
            }
            if (c == '\r') {
                Emit();
                FPendingCR = true;
                ++i;
                continue;
            }
            FPendingCR = false;
            std::size_t end = i;
            while (end < size && data[end] != '\n' && data[end] != '\r')
                ++end;
            if (FCurrent.size() < FMaxLine) FCurrent.append(data + i, std::min(end - i, FMaxLine - FCurrent.size()));
            FInLine = true;
            i = end;
        }
    }

    void Finish() {
        if (FInLine) Emit();
    }

private:
    void Emit() {
        FLines.push_back(std::move(FCurrent));
        FCurrent.clear();
        FInLine = false;
    }

    std::vector<std::string>& FLines;
    std::size_t FMaxLine;
    std::string FCurrent;
    bool FInLine = false;
    bool FPendingCR = false;
};

bool DefaultPause(int ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return true;
}

}

bool LoadLinesFromStream(TFileStream& stream, std::vector<std::string>& lines, const TLineLimits& limits, int* error) {
    lines.clear();
    auto fail = [&](int code) {
        lines.clear();
        if (error) *error = code;
        return false;
    };
    if (!stream.IsOpen()) return fail(EBADF);
    LineSplitter splitter(lines, limits.MaxLineLength);
    std::string block(BlockSize, '\0');
    std::int64_t offset = 0;
    for (;;) {
        std::int64_t n = stream.ReadAt(offset, block.data(), static_cast<std::int64_t>(block.size()));
        if (n < 0) return fail(stream.LastError());
        if (n == 0) break;
        offset += n;
        if (offset > limits.MaxTotalSize) return fail(EFBIG);
        splitter.Feed(block.data(), static_cast<std::size_t>(n));
    }
    splitter.Finish();
    if (error) *error = 0;
    return true;
}

bool TryLoadLines(const std::string& path, std::vector<std::string>& lines, int* error, const TLineLimits& limits) {
    lines.clear();
    TFileStream stream;
    if (!stream.TryOpen(path, fmOpenRead | fmShareDenyNone)) {
        if (error) *error = stream.LastError();
        return false;
    }
    return LoadLinesFromStream(stream, lines, limits, error);
}

void LoadLines(const std::string& path, std::vector<std::string>& lines, const TLineLimits& limits) {
    TFileStream stream(path, fmOpenRead | fmShareDenyNone);
    int error = 0;
    if (!LoadLinesFromStream(stream, lines, limits, &error))
        throw EReadError("Cannot read file \"" + path + "\". " + std::strerror(error));
}

TRetryResult ReadRetrying(const std::string& path, const TStreamLoad& load, const TRetryOptions& options) {
    TRetryResult result;
    auto step = [&](TRetryStep s) {
        if (options.OnStep) options.OnStep(s);
    };
    auto pause = [&]() {
        bool goOn = options.Pause ? options.Pause(options.PauseMs) : DefaultPause(options.PauseMs);
        if (!goOn) result.Stopped = true;
        return goOn;
    };
    for (int open = 0; open < options.Attempts; ++open) {
        ++result.OpenAttempts;
        TFileStream stream;
        const bool opened = options.Open ? options.Open(stream, path, options.Mode) : stream.TryOpen(path, options.Mode);
        if (opened) {
            step(TRetryStep::Opened);
            for (int attempt = 0; attempt < options.Attempts; ++attempt) {
                ++result.LoadAttempts;
                int error = 0;
                result.Loaded = load(stream, error);
                if (result.Loaded)
                    step(TRetryStep::Loaded);
                else
                    result.Error = error;
                step(TRetryStep::LoadAttempted);
                const bool last = result.Loaded || result.Error == EFBIG;
                if (last && !options.PauseAfterEveryAttempt) break;
                const bool goOn = pause();
                step(TRetryStep::LoadPaused);
                if (last || !goOn) break;
            }
            stream.Close();
            step(TRetryStep::Closed);
        } else {
            result.Error = stream.LastError();
        }
        step(TRetryStep::OpenAttempted);
        if (result.Stopped) break;
        const bool missing = result.Error == ENOENT || result.Error == ENOTDIR || result.Error == EISDIR;
        const bool last = opened || (missing && !options.RetryMissing);
        if (last && !options.PauseAfterEveryAttempt) break;
        if (!pause() || last) break;
    }
    return result;
}

TRetryResult LoadLinesRetrying(const std::string& path, std::vector<std::string>& lines, const TRetryOptions& options) {
    lines.clear();
    TRetryResult result = ReadRetrying(
        path,
        [&](TFileStream& stream, int& error) { return LoadLinesFromStream(stream, lines, options.Limits, &error); },
        options);
    if (!result.Loaded) lines.clear();
    return result;
}

}

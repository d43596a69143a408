// Reading the end of a text file within a byte budget.
#include "app/nodes/LogTail.h"

#include "platform/base/Strings.h"
#include "platform/os/FileStream.h"

#include <algorithm>
#include <cerrno>

namespace korvex::app {

namespace {

// The tail of the open stream as far as it reaches when its size is taken.
bool ReadTail(os::TFileStream& stream, std::size_t maxBytes, TLogTail& tail) {
    const std::int64_t size = stream.Size();
    if (size < 0) return false;
    const std::int64_t start = size > std::int64_t(maxBytes) ? size - std::int64_t(maxBytes) : 0;
    // One byte more before the budget tells whether it begins at a line start.
    const std::int64_t from = start > 0 ? start - 1 : 0;
    std::string bytes(std::size_t(size - from), '\0');
    std::int64_t got = 0;
    while (got < std::int64_t(bytes.size())) {
        const std::int64_t n = stream.ReadAt(from + got, bytes.data() + got, std::int64_t(bytes.size()) - got);
        if (n < 0) return false;
        if (n == 0) break;   // cut short meanwhile: what is there
        got += n;
    }
    bytes.resize(std::size_t(got));
    if (start == 0) {
        tail.Text = std::move(bytes);
        tail.Cut = false;
        return true;
    }
    // The lines from the first that starts within the budget, cut from the bytes in place (a copy of a tail
    // of a gigabyte would double what the reading holds).
    const int before = bytes.empty() ? -1 : static_cast<unsigned char>(bytes[0]);
    const std::size_t skip = bytes.empty() ? 0 : 1 + FirstLineStart(before, std::string_view(bytes).substr(1));
    bytes.erase(0, skip);
    tail.Text = std::move(bytes);
    tail.Cut = true;
    return true;
}

}

std::size_t FirstLineStart(int before, std::string_view text) {
    if (before < 0 || before == '\n') return 0;
    if (before == '\r') return !text.empty() && text[0] == '\n' ? 1 : 0;
    const std::size_t end = base::FindLineBreak(text);
    if (end == std::string_view::npos) return 0;   // one line longer than the budget: its end
    return end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
}

TLogTail LoadLogTail(const std::string& path, std::size_t maxBytes, const os::TRetryOptions& options) {
    TLogTail tail;
    tail.Loaded = os::ReadRetrying(
        path,
        [&](os::TFileStream& stream, int& error) {
            if (ReadTail(stream, maxBytes, tail)) return true;
            error = stream.LastError() != 0 ? stream.LastError() : EIO;
            return false;
        },
        options)
                      .Loaded;
    return tail;
}

bool TLogTailReader::Open(const std::string& path, std::size_t maxBytes, const os::TRetryOptions& options) {
    FDone = true;
    FText.clear();
    FAttempts = options.Attempts;
    FPauseMs = options.PauseMs;
    FFailedReads = 0;
    FRetryAt = {};
    FSearched = 1;
    FLineEnd = std::string::npos;
    const bool opened = os::ReadRetrying(
        path,
        [&](os::TFileStream& stream, int& error) {
            const std::int64_t size = stream.Size();
            if (size < 0) {
                error = stream.LastError() != 0 ? stream.LastError() : EIO;
                return false;
            }
            const std::int64_t start = size > std::int64_t(maxBytes) ? size - std::int64_t(maxBytes) : 0;
            // One byte more before the budget tells whether it begins at a line start.
            FFrom = start > 0 ? start - 1 : 0;
            FWanted = std::size_t(size - FFrom);
            FCut = start > 0;
            FStream = std::move(stream);
            return true;
        },
        options)
                            .Loaded;
    FDone = !opened;
    return opened;
}

bool TLogTailReader::Step(std::chrono::steady_clock::duration slice) {
    if (FDone) return true;
    const auto now = std::chrono::steady_clock::now();
    if (now < FRetryAt) return false;   // a failed read waits its pause
    const auto until = now + slice;
    if (FText.capacity() < FWanted) FText.reserve(FWanted);   // pieces never move what came before
    do {
        const std::size_t got = FText.size();
        const std::size_t piece = std::min(PieceBytes, FWanted - got);
        FText.resize(got + piece);
        const std::int64_t n
            = piece > 0 ? FStream.ReadAt(FFrom + std::int64_t(got), FText.data() + got, std::int64_t(piece)) : 0;
        FText.resize(got + std::size_t(std::max<std::int64_t>(n, 0)));
        if (n < 0) {   // tried again after the pause, as often as an open is; then what is there
            FDone = ++FFailedReads >= FAttempts;
            FRetryAt = std::chrono::steady_clock::now() + std::chrono::milliseconds(FPauseMs);
            break;
        }
        if (n == 0 || FText.size() >= FWanted) FDone = true;   // cut short meanwhile: what is there
        if (FCut && FLineEnd == std::string::npos && FText.size() > FSearched) {
            FLineEnd = base::FindLineBreak(FText, FSearched);
            FSearched = FText.size();
        }
    } while (!FDone && std::chrono::steady_clock::now() < until);
    if (FDone) FStream.Close();
    return FDone;
}

std::size_t TLogTailReader::LinesStart() const {
    if (!FCut || FText.empty()) return 0;
    const auto before = static_cast<unsigned char>(FText[0]);
    if (before == '\n') return 1;
    if (before == '\r') return FText.size() > 1 && FText[1] == '\n' ? 2 : 1;
    if (FLineEnd == std::string::npos) return 1;   // one line longer than the budget: its end
    const std::size_t end = FLineEnd;
    return end + (FText[end] == '\r' && end + 1 < FText.size() && FText[end + 1] == '\n' ? 2 : 1);
}

}

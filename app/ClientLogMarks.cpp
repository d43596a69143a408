// Finding the keyword lines of a client log in a single pass over its bytes.
#include "app/ClientLogMarks.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korvex::app {

namespace {

// Keywords a line holds, as bits.
enum : std::uint32_t {
    kVersion = 1u << 0,   // "Version"
    kCoreRequired = 1u << 1,   // "Core required:"
    kSystem = 1u << 2,   // "System:"
    kProtein = 1u << 3,   // "Protein:"
    kUserName = 1u << 4,   // "User name:"
    kLoadedQueue = 1u << 5,   // "Loaded queue successfully"
    kResultsSent = 1u << 6,   // "Results successfully sent"
    kBracketCompleted = 1u << 7,   // "] Completed "
    kFramesCompleted = 1u << 8,   // "Frames Completed:"
    kServiceStop = 1u << 9,   // "Service stop"
    kClientShutdown = 1u << 10,   // "Client Shutdown."
    kErrorAttempt = 1u << 11,   // "Error: Attempt"
    kWorkingOn = 1u << 12,   // "Working on"
    kFirstStep = 1u << 13,   // "Completed 0 out" or "Finished a frame (1)"
    kClone = 1u << 14,   // "Clone"
    kStep = 1u << 15,   // "Completed "
    kCompleted = 1u << 16,   // "Completed"
    kFrame = 1u << 17,   // "Finished a frame"
};

constexpr TLineIndex FirstStepWindow = 50;   // lines after the protein line

template <std::size_t N>
bool At(const char* data, std::size_t size, std::size_t pos, const char (&word)[N]) {
    return size - pos >= N - 1 && std::memcmp(data + pos, word, N - 1) == 0;
}

// The keywords that start at position i of the text. No keyword holds a CR or an LF, so a match never reaches
// into another line, and the look-backs ("] ", "Frames ") stop at a line end too.
std::uint32_t KeywordsAt(const char* data, std::size_t size, std::size_t i) {
    std::uint32_t found = 0;
    switch (data[i]) {
    case 'C':
        if (At(data, size, i, "Completed")) {
            found |= kCompleted;
            if (i + 9 < size && data[i + 9] == ' ') {
                found |= kStep;
                if (i >= 2 && data[i - 2] == ']' && data[i - 1] == ' ') found |= kBracketCompleted;
                if (At(data, size, i, "Completed 0 out")) found |= kFirstStep;
            }
            if (i >= 7 && At(data, size, i - 7, "Frames Completed:")) found |= kFramesCompleted;
        } else if (At(data, size, i, "Core required:")) {
            found |= kCoreRequired;
        } else if (At(data, size, i, "Clone")) {
            found |= kClone;
        } else if (At(data, size, i, "Client Shutdown.")) {
            found |= kClientShutdown;
        }
        break;
    case 'E':
        if (At(data, size, i, "Error: Attempt")) found |= kErrorAttempt;
        break;
    case 'F':
        if (At(data, size, i, "Finished a frame")) {
            found |= kFrame;
            if (At(data, size, i, "Finished a frame (1)")) found |= kFirstStep;
        }
        break;
    case 'L':
        if (At(data, size, i, "Loaded queue successfully")) found |= kLoadedQueue;
        break;
    case 'P':
        if (At(data, size, i, "Protein:")) found |= kProtein;
        break;
    case 'R':
        if (At(data, size, i, "Results successfully sent")) found |= kResultsSent;
        break;
    case 'S':
        if (At(data, size, i, "System:"))
            found |= kSystem;
        else if (At(data, size, i, "Service stop"))
            found |= kServiceStop;
        break;
    case 'U':
        if (At(data, size, i, "User name:")) found |= kUserName;
        break;
    case 'V':
        if (At(data, size, i, "Version")) found |= kVersion;
        break;
    case 'W':
        if (At(data, size, i, "Working on")) found |= kWorkingOn;
        break;
    default:
        break;
    }
    return found;
}

// Takes the lines that hold keywords, in order, and keeps what the reading needs of them.
class TMarkBuilder {
public:
    void Add(TLineIndex index, std::string_view text, std::uint32_t k) {
        const TLogLine line {index, text};
        if (k & kCompleted) {
            if (k & kStep) {
                FMarks.Step = line;
                FMarks.StepPrevious = FCompleted;
            }
            FCompleted = line;
            if (k & kBracketCompleted) FMarks.BracketCompleted = line;
            if (k & kFramesCompleted) FMarks.FramesCompleted = line;
        }
        if (k & kFrame) {
            FMarks.FramePrevious = FMarks.Frame;
            FMarks.Frame = line;
        }
        if (k & kClone) FMarks.Clone = line;
        if (k & kVersion) FMarks.Version = line;
        if (k & kCoreRequired) FMarks.CoreRequired = line;
        if (k & kSystem) FMarks.System = line;
        if (k & kUserName) FMarks.UserName = line;
        if (k & kLoadedQueue) FMarks.LoadedQueue = line;
        if (k & kResultsSent) FMarks.ResultsSent = line;
        if (k & kServiceStop) FMarks.ServiceStop = line;
        if (k & kClientShutdown) FMarks.ClientShutdown = line;
        if (k & kErrorAttempt) FMarks.ErrorAttempt = line;
        if (k & kWorkingOn) FWorkingOn = line;
        if (k & kProtein) {
            FMarks.Protein = line;
            if (FWorkingOn.Found()) {
                DropExpired(index);
                FOpen.push_back({FWorkingOn, line});
                FWorkingOn = {};
            }
        }
        if (k & kFirstStep) {
            DropExpired(index);
            FMarks.UnitStarts.insert(FMarks.UnitStarts.end(), FOpen.begin(), FOpen.end());
            FOpen.clear();
        }
    }

    TLogMarks Finish(TLineIndex lineCount) {
        FMarks.LastLine = lineCount - 1;
        return std::move(FMarks);
    }

private:
    // Protein lines whose window for a first step has passed.
    void DropExpired(TLineIndex index) {
        std::size_t keep = 0;
        while (keep < FOpen.size() && index - FOpen[keep].Protein.Index > FirstStepWindow)
            ++keep;
        FOpen.erase(FOpen.begin(), FOpen.begin() + static_cast<std::ptrdiff_t>(keep));
    }

    TLogMarks FMarks;
    TLogLine FCompleted;
    TLogLine FWorkingOn;   // the last "Working on" line since the last protein line
    std::vector<TUnitStart> FOpen;   // protein lines still waiting for their first step, oldest first
};

}

TLogMarks FindLogMarks(std::string_view text) {
    const char* data = text.data();
    const std::size_t size = text.size();
    TMarkBuilder builder;
    TLineIndex line = 0;
    std::size_t lineStart = 0;
    std::size_t lineFeedAfterReturn = static_cast<std::size_t>(-1);   // the LF of a CR LF pair
    std::uint32_t flags = 0;
    // A CR or an LF ends a line, a CR LF pair once.
    auto lineEnd = [&](std::size_t pos) {
        if (pos == lineFeedAfterReturn) {
            lineStart = pos + 1;
            return;
        }
        if (flags != 0) {
            builder.Add(line, std::string_view(data + lineStart, pos - lineStart), flags);
            flags = 0;
        }
        ++line;
        lineStart = pos + 1;
        if (pos < size && data[pos] == '\r') lineFeedAfterReturn = pos + 1;
    };
#if defined(__SSE2__)
    // Sixteen bytes at a time: line ends, and capitals from 'C' to 'W' (every keyword starts with one).
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    const __m128i first = _mm_set1_epi8('C');
    const __m128i span = _mm_set1_epi8('W' - 'C');
    for (std::size_t block = 0; block < size; block += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + block));
        const __m128i shifted = _mm_sub_epi8(bytes, first);
        const unsigned ends = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, lineFeed), _mm_cmpeq_epi8(bytes, carriageReturn))));
        const unsigned capitals
            = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(shifted, span), shifted)));
        unsigned all = ends | capitals;
        if (size - block < 16) all &= (1u << (size - block)) - 1;
        while (all != 0) {
            const unsigned bit = all & (0u - all);
            const std::size_t pos = block + static_cast<std::size_t>(__builtin_ctz(all));
            all ^= bit;
            if (ends & bit)
                lineEnd(pos);
            else
                flags |= KeywordsAt(data, size, pos);
        }
    }
#else
    for (std::size_t pos = 0; pos < size; ++pos) {
        const unsigned char c = static_cast<unsigned char>(data[pos]);
        if (c == '\n' || c == '\r')
            lineEnd(pos);
        else if (c >= 'C' && c <= 'W')
            flags |= KeywordsAt(data, size, pos);
    }
#endif
    if (lineStart < size) lineEnd(size);   // a last line without an end
    return builder.Finish(line);
}

}

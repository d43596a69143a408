// Finding the keyword lines of a client log in a single pass over its bytes, piece by piece.
#include "app/nodes/ClientLogMarks.h"

#include "app/nodes/NodeReading.h"

#include <algorithm>
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

// Bytes a keyword starts with: the capitals from 'C' to 'W' and "]".
bool StartsKeyword(char c) {
    return (c >= 'C' && c <= 'W') || c == ']';
}

// The keywords that start at position i of the bytes. Each is matched forwards from its first byte, and none
// holds a CR or an LF, so a match never reaches into another line (nor past the bytes given).
std::uint32_t KeywordsAt(const char* data, std::size_t size, std::size_t i) {
    std::uint32_t found = 0;
    switch (data[i]) {
    case ']':
        if (At(data, size, i, "] Completed ")) found |= kBracketCompleted;
        break;
    case 'C':
        if (At(data, size, i, "Completed")) {
            found |= kCompleted;
            if (i + 9 < size && data[i + 9] == ' ') {
                found |= kStep;
                if (At(data, size, i, "Completed 0 out")) found |= kFirstStep;
            }
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
        } else if (At(data, size, i, "Frames Completed:")) {
            found |= kFramesCompleted;
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

// "[20:10:15] Working on Unit 01 [December 5 20:10:15]" gives "December 5 20:10:15": from column 12, up to and
// including the first "[" dropped, then the first "]".
std::string StartTextOf(std::string_view line) {
    std::string_view s = line.size() > 11 ? line.substr(11) : std::string_view();
    if (std::size_t open = s.find('['); open != std::string_view::npos) s.remove_prefix(open + 1);
    std::string text(s.substr(0, MaxClientText + 1));
    if (std::size_t close = text.find(']'); close != std::string::npos) text.erase(close, 1);
    return ClientText(text);
}

std::string ProteinName(std::string_view line) {
    return ClientText(line.size() > 20 ? line.substr(20) : std::string_view());
}

}

void TLogMarkBuilder::Add(TLineIndex index, std::string_view text, std::uint32_t k) {
    auto set = [index, text](TLogLine& line) {
        line.Index = index;
        line.Text.assign(text);
    };
    if (k & kCompleted) {
        if (k & kStep) {
            std::swap(FMarks.StepPrevious, FCompleted);   // the last "Completed" line before this one
            set(FMarks.Step);
        }
        set(FCompleted);
        if (k & kBracketCompleted) set(FMarks.BracketCompleted);
        if (k & kFramesCompleted) set(FMarks.FramesCompleted);
    }
    if (k & kFrame) {
        std::swap(FMarks.FramePrevious, FMarks.Frame);
        set(FMarks.Frame);
    }
    if (k & kClone) set(FMarks.Clone);
    if (k & kVersion) set(FMarks.Version);
    if (k & kCoreRequired) set(FMarks.CoreRequired);
    if (k & kSystem) set(FMarks.System);
    if (k & kUserName) set(FMarks.UserName);
    if (k & kLoadedQueue) set(FMarks.LoadedQueue);
    if (k & kResultsSent) set(FMarks.ResultsSent);
    if (k & kServiceStop) set(FMarks.ServiceStop);
    if (k & kClientShutdown) set(FMarks.ClientShutdown);
    if (k & kErrorAttempt) set(FMarks.ErrorAttempt);
    if (k & kWorkingOn) set(FWorkingOn);
    if (k & kProtein) {
        set(FMarks.Protein);
        if (FWorkingOn.Found()) {
            DropExpired(index);
            FOpen.push_back({TUnitStart {FWorkingOn.Index, ProteinName(text), StartTextOf(FWorkingOn.Text)}, index});
            FWorkingOn = {};
        }
    }
    if (k & kFirstStep) {
        DropExpired(index);
        for (TOpenStart& open : FOpen)
            AddUnitStart(std::move(open.Start));
        FOpen.clear();
    }
}

TLogMarks TLogMarkBuilder::Finish(TLineIndex lineCount) && {
    FMarks.LastLine = lineCount - 1;
    return std::move(FMarks);
}

const TLogMarks& TLogMarkBuilder::MarksAt(TLineIndex lineCount) {
    FMarks.LastLine = lineCount - 1;
    return FMarks;
}

// Protein lines whose window for a first step has passed.
void TLogMarkBuilder::DropExpired(TLineIndex index) {
    std::size_t keep = 0;
    while (keep < FOpen.size() && index - FOpen[keep].Protein > FirstStepWindow)
        ++keep;
    FOpen.erase(FOpen.begin(), FOpen.begin() + static_cast<std::ptrdiff_t>(keep));
}

// The start text is looked for from the last unit start back, the first of the unit's name whose "Working on"
// line is not the log's last line: of each name only the last two can be that one.
void TLogMarkBuilder::AddUnitStart(TUnitStart start) {
    auto& starts = FMarks.UnitStarts;
    std::size_t latest = starts.size();
    for (std::size_t i = starts.size(); i-- > 0;)
        if (starts[i].Name == start.Name) {
            latest = i;
            break;
        }
    if (latest < starts.size()) {
        std::vector<TUnitStart> kept;
        kept.reserve(starts.size() + 1);
        for (std::size_t i = 0; i < starts.size(); ++i)
            if (i == latest || starts[i].Name != start.Name) kept.push_back(std::move(starts[i]));
        starts = std::move(kept);
    }
    starts.push_back(std::move(start));
    if (starts.size() > MaxUnitStarts) starts.erase(starts.begin());
}

void TLogMarkScanner::EndLine(std::string_view text) {
    if (FFlags != 0) FBuilder.Add(FLine, text, FFlags);
    ++FLine;
    FFlags = 0;
    FInLine = false;
    FHead.clear();
    FCarryLength = 0;
}

void TLogMarkScanner::Feed(std::string_view bytes) {
    const char* data = bytes.data();
    const std::size_t size = bytes.size();
    if (size == 0) return;
    FBytes += size;
    std::size_t lineStart = 0;   // of the line being read, when it started in this piece
    bool startedHere = !FInLine;
    if (FPendingCR) {
        FPendingCR = false;
        if (data[0] == '\n') lineStart = 1;
    }

    // Keywords that began in the last piece and end in this one.
    if (FCarryLength > 0) {
        char seam[2 * Carry];
        std::memcpy(seam, FCarry, FCarryLength);
        const std::size_t more = std::min(Carry, size);
        std::memcpy(seam + FCarryLength, data, more);
        for (std::size_t i = 0; i < FCarryLength; ++i)
            if (StartsKeyword(seam[i])) FFlags |= KeywordsAt(seam, FCarryLength + more, i);
    }

    std::size_t lineFeedAfterReturn = static_cast<std::size_t>(-1);   // the LF of a CR LF pair
    auto lineEnd = [&](std::size_t pos) {
        if (pos == lineFeedAfterReturn) {
            lineStart = pos + 1;
            startedHere = true;
            return;
        }
        const std::string_view piece(data + lineStart, pos - lineStart);
        if (startedHere) {
            EndLine(piece.substr(0, MaxKeptLineBytes));
        } else {
            if (FHead.size() < MaxKeptLineBytes) FHead.append(piece.substr(0, MaxKeptLineBytes - FHead.size()));
            EndLine(FHead);
        }
        lineStart = pos + 1;
        startedHere = true;
        if (data[pos] == '\r') {
            if (pos + 1 < size) {
                if (data[pos + 1] == '\n') lineFeedAfterReturn = pos + 1;
            } else {
                FPendingCR = true;
            }
        }
    };
    auto visit = [&](std::size_t pos) {
        const char c = data[pos];
        if (c == '\n' || c == '\r')
            lineEnd(pos);
        else if (StartsKeyword(c))
            FFlags |= KeywordsAt(data, size, pos);
    };
    std::size_t pos = lineStart;
#if defined(__SSE2__)
    // Sixteen bytes at a time: line ends, and the bytes a keyword starts with.
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    const __m128i bracket = _mm_set1_epi8(']');
    const __m128i first = _mm_set1_epi8('C');
    const __m128i span = _mm_set1_epi8('W' - 'C');
    for (; pos + 16 <= size; pos += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
        const __m128i shifted = _mm_sub_epi8(chunk, first);
        const __m128i capitals = _mm_cmpeq_epi8(_mm_min_epu8(shifted, span), shifted);
        const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(chunk, lineFeed), _mm_cmpeq_epi8(chunk, carriageReturn));
        unsigned all = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(ends, capitals), _mm_cmpeq_epi8(chunk, bracket))));
        while (all != 0) {
            visit(pos + static_cast<std::size_t>(__builtin_ctz(all)));
            all &= all - 1;
        }
    }
#endif
    for (; pos < size; ++pos)
        visit(pos);

    // The line still open at the end of the piece: its kept text and its last bytes.
    if (lineStart >= size) return;
    FInLine = true;
    const std::string_view rest(data + lineStart, size - lineStart);
    if (startedHere) FHead.clear();
    if (FHead.size() < MaxKeptLineBytes) FHead.append(rest.substr(0, MaxKeptLineBytes - FHead.size()));
    if (rest.size() >= Carry) {
        std::memcpy(FCarry, rest.data() + rest.size() - Carry, Carry);
        FCarryLength = Carry;
    } else {
        if (startedHere) FCarryLength = 0;
        const std::size_t keep = std::min(FCarryLength, Carry - rest.size());
        std::memmove(FCarry, FCarry + FCarryLength - keep, keep);
        std::memcpy(FCarry + keep, rest.data(), rest.size());
        FCarryLength = keep + rest.size();
    }
}

const TLogMarks& TLogMarkScanner::Marks() {
    const TLineIndex count = FInLine ? FLine + 1 : FLine;
    if (!FInLine || FFlags == 0) return FBuilder.MarksAt(count);
    // The unended last line counts on a copy: more of it may come with the next piece.
    TLogMarkBuilder builder = FBuilder;
    builder.Add(FLine, FHead, FFlags);
    FTailMarks = std::move(builder).Finish(count);
    return FTailMarks;
}

TLogMarks FindLogMarks(std::string_view text) {
    TLogMarkScanner scanner;
    scanner.Feed(text);
    return scanner.Marks();
}

}

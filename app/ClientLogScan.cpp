// The client log scan: one pass finds the last line of every keyword, then the fields are cut from those lines.
#include "app/ClientDates.h"
#include "app/NodeReading.h"

#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace korvex::app {

namespace {

using TIndex = std::ptrdiff_t;
constexpr TIndex None = -1;

// Keywords a line holds, as bits.
enum : std::uint32_t {
    kVersion = 1u << 0,           // "Version"
    kCoreRequired = 1u << 1,      // "Core required:"
    kSystem = 1u << 2,            // "System:"
    kProtein = 1u << 3,           // "Protein:"
    kUserName = 1u << 4,          // "User name:"
    kLoadedQueue = 1u << 5,       // "Loaded queue successfully"
    kResultsSent = 1u << 6,       // "Results successfully sent"
    kBracketCompleted = 1u << 7,  // "] Completed "
    kFramesCompleted = 1u << 8,   // "Frames Completed:"
    kServiceStop = 1u << 9,       // "Service stop"
    kClientShutdown = 1u << 10,   // "Client Shutdown."
    kErrorAttempt = 1u << 11,     // "Error: Attempt"
    kWorkingOn = 1u << 12,        // "Working on"
    kFirstStep = 1u << 13,        // "Completed 0 out" or "Finished a frame (1)"
    kClone = 1u << 14,            // "Clone"
    kStep = 1u << 15,             // "Completed "
    kCompleted = 1u << 16,        // "Completed"
    kFrame = 1u << 17,            // "Finished a frame"
};

template <std::size_t N>
bool At(const char* data, std::size_t size, std::size_t pos, const char (&word)[N]) {
    return size - pos >= N - 1 && std::memcmp(data + pos, word, N - 1) == 0;
}

// Every keyword starts with a capital letter, so only those positions are looked at; every occurrence counts.
std::uint32_t KeywordsOf(std::string_view line) {
    const char* data = line.data();
    const std::size_t size = line.size();
    std::uint32_t found = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (c < 'C' || c > 'W') continue;
        switch (c) {
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
            if (At(data, size, i, "System:")) found |= kSystem;
            else if (At(data, size, i, "Service stop")) found |= kServiceStop;
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
    }
    return found;
}

// The lines the fields come from, found in one pass.
struct TLogMarks {
    TIndex Version = None, CoreRequired = None, System = None, UserName = None;
    TIndex LoadedQueue = None, ResultsSent = None;
    TIndex BracketCompleted = None, FramesCompleted = None, ServiceStop = None, ClientShutdown = None,
           ErrorAttempt = None;
    TIndex Clone = None;
    TIndex Step = None;           // the last "Completed " line
    TIndex StepPrevious = None;   // the last "Completed" line before it
    TIndex Completed = None;
    TIndex Frame = None;          // the last "Finished a frame" line
    TIndex FramePrevious = None;  // the one before it
    std::vector<TIndex> WorkingOn, Protein, FirstSteps;
};

TLogMarks FindMarks(const TTextLines& log) {
    TLogMarks m;
    const std::vector<std::string_view>& lines = log.Lines();
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::uint32_t k = KeywordsOf(lines[n]);
        if (k == 0) continue;
        const TIndex i = static_cast<TIndex>(n);
        if (k & kCompleted) {
            if (k & kStep) {
                m.Step = i;
                m.StepPrevious = m.Completed;
            }
            m.Completed = i;
            if (k & kBracketCompleted) m.BracketCompleted = i;
            if (k & kFramesCompleted) m.FramesCompleted = i;
        }
        if (k & kFrame) {
            m.FramePrevious = m.Frame;
            m.Frame = i;
        }
        if (k & kFirstStep) m.FirstSteps.push_back(i);
        if (k & kWorkingOn) m.WorkingOn.push_back(i);
        if (k & kProtein) m.Protein.push_back(i);
        if (k & kClone) m.Clone = i;
        if (k & kVersion) m.Version = i;
        if (k & kCoreRequired) m.CoreRequired = i;
        if (k & kSystem) m.System = i;
        if (k & kUserName) m.UserName = i;
        if (k & kLoadedQueue) m.LoadedQueue = i;
        if (k & kResultsSent) m.ResultsSent = i;
        if (k & kServiceStop) m.ServiceStop = i;
        if (k & kClientShutdown) m.ClientShutdown = i;
        if (k & kErrorAttempt) m.ErrorAttempt = i;
    }
    return m;
}

std::string Line(const TTextLines& log, TIndex i) { return std::string(log[static_cast<std::size_t>(i)]); }

// Text of a line from a 1-based column to its end.
std::string From(const TTextLines& log, TIndex i, int column) {
    std::string_view line = log[static_cast<std::size_t>(i)];
    std::size_t start = static_cast<std::size_t>(column - 1);
    return start < line.size() ? std::string(line.substr(start)) : std::string();
}

// A count as the frame lines write it, from a 1-based column: blanks, then digits with "," separators.
int CountAt(std::string_view line, std::size_t column) {
    std::size_t i = column - 1;
    while (i < line.size() && line[i] == ' ')
        ++i;
    std::int64_t value = 0;
    for (; i < line.size() && ((line[i] >= '0' && line[i] <= '9') || line[i] == ','); ++i) {
        if (line[i] == ',') continue;
        value = value * 10 + (line[i] - '0');
        if (value > 1000000000) return 0;   // no sane frame count
    }
    return static_cast<int>(value);
}

// "[20:10:16] Project: 2605 (Run 5, Clone 33, Gen 12)" gives "5-33-12".
std::string RunCloneGen(const std::string& line) {
    using namespace korvex::base;
    int run = Pos("Run", line);
    std::string s = Copy(line, run, static_cast<int>(line.size()) - run);   // to the end, less the ")"
    for (const char* mark : {":", ",", "(", ")", " ", "-"})
        s = StringReplace(s, mark, "");
    Delete(s, Pos("Run", s), 3);
    if (int clone = Pos("Clone", s)) Insert("-", s, clone);
    if (int gen = Pos("Gen", s)) Insert("-", s, gen);
    Delete(s, Pos("Clone", s), 5);
    Delete(s, Pos("Gen", s), 3);
    return s;
}

// "[20:10:15] Working on Unit 01 [December 5 20:10:15]" gives "December 5 20:10:15".
std::string StartTextOf(const std::string& line) {
    using namespace korvex::base;
    std::string s = Copy(line, 12, static_cast<int>(line.size()));
    Delete(s, 1, Pos("[", s));
    Delete(s, Pos("]", s), 1);
    return s;
}

// First index in the sorted list at or after from; None when there is none.
TIndex FirstAtOrAfter(const std::vector<TIndex>& list, TIndex from) {
    auto it = std::lower_bound(list.begin(), list.end(), from);
    return it == list.end() ? None : *it;
}

// The start text: from the last "Working on" line of the current unit whose first step or first frame is
// logged within 50 lines of its "Protein:" line.
std::string FindStartText(const TTextLines& log, const TLogMarks& m, const std::string& wuName) {
    std::string startText;
    const TIndex last = static_cast<TIndex>(log.Count()) - 1;
    TIndex i = 0;
    for (;;) {
        TIndex working = FirstAtOrAfter(m.WorkingOn, i);
        i = working == None ? last : working;
        if (i >= last) break;
        TIndex j = FirstAtOrAfter(m.Protein, i);
        if (j == None) break;
        if (From(log, j, 21) == wuName) {
            TIndex firstStep = FirstAtOrAfter(m.FirstSteps, j);
            if (firstStep != None && firstStep <= j + 50) startText = StartTextOf(Line(log, i));
        }
        ++i;
    }
    return startText;
}

}

void ScanClientLog(const TTextLines& log, base::TDateTime now, const TUtcOffsetFunc& utcOffset,
    TNodeReading& reading) {
    if (log.Empty()) return;
    const TLogMarks m = FindMarks(log);

    // Identity of the client and the unit; a match on line 0 does not count.
    if (m.Version > 0) reading.Version = From(log, m.Version, 12);
    if (m.CoreRequired > 0) reading.CoreRequired = From(log, m.CoreRequired, 27);
    if (m.System > 0) {
        reading.WUName = From(log, m.System, 20);
    } else if (!m.Protein.empty() && m.Protein.back() > 0) {
        reading.WUName = From(log, m.Protein.back(), 21);
    }
    if (m.UserName > 0) {
        std::string line = Line(log, m.UserName);
        int teamAt = base::Pos(" (Team ", line);
        reading.UserName = teamAt > 0 ? base::Copy(line, 25, teamAt - 25) : From(log, m.UserName, 25);
        if (int team = base::Pos("(Team ", line)) reading.Team = base::Copy(line, team + 6, 5);
    }

    // Status: the last keyword of the order below that occurs at or after the anchor decides.
    TIndex anchor = 0;
    if (m.LoadedQueue != None) {
        anchor = m.LoadedQueue;
        reading.Status = StatusQueueLoaded;
    }
    if (m.ResultsSent > 0 && m.ResultsSent >= anchor) anchor = m.ResultsSent;
    if (m.BracketCompleted >= anchor) reading.Status = StatusRunning;
    if (m.FramesCompleted >= anchor) reading.Status = StatusRunning;
    if (m.ServiceStop >= anchor) reading.Status = StatusUndecided;
    if (m.ClientShutdown >= anchor) reading.Status = StatusUndecided;
    if (m.ErrorAttempt >= anchor) reading.Status = StatusAttemptError;

    reading.StartText = FindStartText(log, m, reading.WUName);

    const TIndex c = m.Clone == None ? 0 : m.Clone;
    if (m.Clone != None) reading.RCG = RunCloneGen(Line(log, m.Clone));

    // The last stamp of the unit, placed in the day before now.
    auto lastStep = [&](TIndex line) -> base::TDateTime {
        std::optional<std::int64_t> msecs = StampMSecs(log[static_cast<std::size_t>(line)]);
        if (!msecs) return 0;
        const base::TDateTime nowUtc = LocalToUtcWith(now, utcOffset);
        base::TDateTime utc = static_cast<double>(static_cast<std::int64_t>(nowUtc)) + *msecs / base::MSecsPerDay;
        if (utc > nowUtc + 1.0 / 24) utc -= 1;   // an hour of grace for a node clock ahead of ours
        return UtcToLocalWith(utc, utcOffset);
    };
    auto difference = [&](TIndex from, TIndex to) -> std::optional<std::int64_t> {
        std::optional<std::int64_t> a = StampMSecs(log[static_cast<std::size_t>(from)]);
        std::optional<std::int64_t> b = StampMSecs(log[static_cast<std::size_t>(to)]);
        if (!a || !b) return std::nullopt;
        return StampDifference(*a, *b);
    };

    // Time per percent from the last two step lines of the unit.
    if (m.Step != None && m.Step >= c) {
        reading.LastStepTime = lastStep(m.Step);
        if (m.Step > 0 && m.StepPrevious > 0 && m.StepPrevious >= c) {
            if (std::optional<std::int64_t> d = difference(m.StepPrevious, m.Step))
                reading.TimePerPercent = DurationText(*d);
        }
    }
    if (reading.TimePerPercent != NoTimeText) return;

    // Frame-counting cores: frame time from the last two frame lines, frames from the last count line.
    int total = 0;
    if (m.FramesCompleted != None && m.FramesCompleted >= c) {
        std::string_view line = log[static_cast<std::size_t>(m.FramesCompleted)];
        total = CountAt(line, 32);
        std::size_t remaining = line.find("Remaining:");
        if (remaining != std::string_view::npos) total += CountAt(line, remaining + 1 + 11);
    }
    const TIndex b = m.Frame != None && m.Frame >= c ? m.Frame : None;
    const TIndex a = m.FramePrevious != None && m.FramePrevious >= c ? m.FramePrevious : None;
    if (b <= 0 || a <= 0) return;
    std::string line = Line(log, b);
    int open = base::Pos("(", line);
    int close = base::Pos(")", line);
    reading.CurrentFrame = base::StrToIntDef(base::Copy(line, open + 1, close - open - 1), 0);
    reading.TotalFrames = total;
    reading.LastStepTime = lastStep(b);
    if (std::optional<std::int64_t> d = difference(a, b)) {
        reading.FrameTime = DurationText(*d);
        reading.TimePerPercent = DurationText(*d * (total / 100));
    }
}

}

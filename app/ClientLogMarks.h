// The one pass over a client log: for every keyword the reading needs, the last line holding it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace korvex::app {

using TLineIndex = std::ptrdiff_t;
inline constexpr TLineIndex NoLine = -1;

struct TLogLine {
    TLineIndex Index = NoLine;
    std::string_view Text;   // without its line end

    bool Found() const { return Index != NoLine; }
};

// A "Working on" line, the first "Protein:" line at or after it, and a first step or first frame logged within
// 50 lines of that protein line: where a unit's start date can come from.
struct TUnitStart {
    TLogLine WorkingOn;
    TLogLine Protein;
};

struct TLogMarks {
    TLogLine Version, CoreRequired, System, Protein, UserName;
    TLogLine LoadedQueue, ResultsSent;
    TLogLine BracketCompleted, FramesCompleted, ServiceStop, ClientShutdown, ErrorAttempt;
    TLogLine Clone;
    TLogLine Step;   // the last "Completed " line
    TLogLine StepPrevious;   // the last line with "Completed" before it
    TLogLine Frame;   // the last "Finished a frame" line
    TLogLine FramePrevious;   // the one before it
    std::vector<TUnitStart> UnitStarts;   // in log order; only the last "Working on" before each protein line
    TLineIndex LastLine = NoLine;   // the index of the last line
};

// Lines split as TTextLines splits them; `text` must be followed by TTextLines::Padding readable bytes.
TLogMarks FindLogMarks(std::string_view text);

}

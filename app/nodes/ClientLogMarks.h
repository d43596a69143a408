// The one pass over a client log: for every keyword the reading needs, the last line holding it. The log is fed
// in pieces of any size (blocks of a file, or what a client appended since the last reading) and the marks can be
// taken after any piece; memory stays bounded whatever the log's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::app {

using TLineIndex = std::int64_t;
inline constexpr TLineIndex NoLine = -1;

// A line keeps its first bytes as its text; its keywords count wherever they stand in it.
inline constexpr std::size_t MaxKeptLineBytes = 1024;
// Unit starts kept for the start text: the last two of each unit name, and no more than these altogether.
inline constexpr std::size_t MaxUnitStarts = 256;

struct TLogLine {
    TLineIndex Index = NoLine;
    std::string Text;   // without its line end; at most MaxKeptLineBytes

    bool Found() const { return Index != NoLine; }
    bool operator==(const TLogLine&) const = default;
};

// A "Working on" line whose unit's protein line follows it and whose first step or first frame is logged within
// 50 lines of that protein line: where a unit's start date can come from.
struct TUnitStart {
    TLineIndex WorkingOn = NoLine;
    std::string Name;   // the protein line from column 21, as a client text
    std::string StartText;   // the date text of the "Working on" line, as a client text

    bool operator==(const TUnitStart&) const = default;
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

    bool operator==(const TLogMarks&) const = default;
};

// Takes the lines that hold keywords, in order, and keeps what the reading needs of them.
class TLogMarkBuilder {
public:
    void Add(TLineIndex index, std::string_view text, std::uint32_t keywords);
    TLogMarks Finish(TLineIndex lineCount) &&;
    // The marks so far, in place, for a log of `lineCount` lines; valid until the next Add.
    const TLogMarks& MarksAt(TLineIndex lineCount);

private:
    struct TOpenStart {
        TUnitStart Start;
        TLineIndex Protein = NoLine;
    };
    void DropExpired(TLineIndex index);
    void AddUnitStart(TUnitStart start);

    TLogMarks FMarks;
    TLogLine FCompleted;
    TLogLine FWorkingOn;   // the last "Working on" line since the last protein line
    std::vector<TOpenStart> FOpen;   // protein lines still waiting for their first step, oldest first
};

// Lines end at CR LF, LF or a lone CR, as TTextLines splits them; a last line without an end counts.
class TLogMarkScanner {
public:
    static constexpr std::size_t Carry = 24;   // the longest keyword less one byte

    void Feed(std::string_view bytes);
    // The marks of everything fed so far, as if the log ended here (a last line without its end counts).
    // The scanner goes on from where it was: feeding more later gives what one feed of the whole would.
    // Valid until the next Feed or Marks: the scanner's own, not a copy.
    const TLogMarks& Marks();
    std::uint64_t Bytes() const { return FBytes; }

private:
    void EndLine(std::string_view text);

    TLogMarkBuilder FBuilder;
    std::uint64_t FBytes = 0;
    TLineIndex FLine = 0;   // the index of the line being read
    std::uint32_t FFlags = 0;   // its keywords so far
    bool FInLine = false;   // it has bytes
    bool FPendingCR = false;   // the last byte fed was a CR: an LF next is its pair
    std::string FHead;   // its kept text when it started in an earlier piece
    char FCarry[Carry] = {};   // its last bytes, for keywords cut by the end of a piece
    std::size_t FCarryLength = 0;
    TLogMarks FTailMarks;   // the marks with an unended last line that has keywords (more of it may come)
};

// The marks of a whole text.
TLogMarks FindLogMarks(std::string_view text);

}

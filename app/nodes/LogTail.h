// The end of a text file that another program keeps writing: the last lines within a byte budget, read with
// the retries a busy client needs.
#pragma once

#include "platform/os/FileStream.h"
#include "platform/os/LineLoader.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace korvex::app {

struct TLogTail {
    bool Loaded = false;   // Text holds the file's end
    bool Cut = false;   // the file holds more before Text
    std::string Text;   // as the file has it, line ends included
};

// At most maxBytes from the file's end, starting at the first line that starts within them (the whole file
// when it is no larger; the last maxBytes when no line starts within them). Opens and reads are tried
// options.Attempts times with options.PauseMs after each, as for the whole file; a missing file is not tried
// again. Memory follows maxBytes, never the file's size.
TLogTail LoadLogTail(const std::string& path, std::size_t maxBytes, const os::TRetryOptions& options = {});

// Where the text's first whole line starts when the byte before it was `before` (-1: the file's start).
std::size_t FirstLineStart(int before, std::string_view text);

// The same end of a file read a piece at a time, so that reading a large log never holds its caller long: Open
// takes the file (tried as LoadLogTail tries), then Step reads on until it is done. The bytes before
// LinesStart() are the part of a line that the budget cut.
class TLogTailReader {
public:
    static constexpr std::size_t PieceBytes = std::size_t(4) << 20;

    // False when the file cannot be opened (a missing one is not tried again).
    bool Open(const std::string& path, std::size_t maxBytes, const os::TRetryOptions& options = {});
    // Reads pieces of at most PieceBytes until `slice` has passed (one piece at least) or all is read; true when
    // it is. A read that fails is tried again at a step after the pause, as many times as an open is tried, then
    // the reading ends with what came before it. Throws std::bad_alloc when memory runs out.
    bool Step(std::chrono::steady_clock::duration slice);
    bool Done() const { return FDone; }
    std::size_t ReadBytes() const { return FText.size(); }
    std::size_t LinesStart() const;
    std::string TakeText() { return std::move(FText); }

private:
    os::TFileStream FStream;
    std::int64_t FFrom = 0;   // where the reading starts in the file
    std::size_t FWanted = 0;   // bytes from there to the end, as the file was at the open
    int FAttempts = 1;
    int FPauseMs = 0;
    int FFailedReads = 0;
    std::chrono::steady_clock::time_point FRetryAt {};   // no read before this after a failed one
    bool FCut = false;   // the file holds more before: the first byte read is the one before the budget
    std::string FText;
    std::size_t FSearched = 1;   // the first line end was looked for below here
    std::size_t FLineEnd = std::string::npos;   // the first line end after the first byte, once found
    bool FDone = true;
};

}

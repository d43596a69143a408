// The end of a text file that another program keeps writing: the last lines within a byte budget, read with
// the retries a busy client needs.
#pragma once

#include "platform/os/LineLoader.h"

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

}

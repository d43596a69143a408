// The client log viewer's keyword colours: which lines are blue, which red, and the character ranges they
// cover in a text control that counts every line end as two characters.
#pragma once

#include "platform/base/ColourContrast.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::app {

inline constexpr int LogColourBlue = 0xFF0000;   // 0x00BBGGRR
inline constexpr int LogColourRed = 0x0000FF;

using base::ColourContrast;

// The keyword colour as it is on a light pane (the colours are made for the white window); on a dark pane
// (a skin's), where it does not read (contrast under 4.5), the same hue mixed toward white as little as reads.
int ReadableLogColour(int colour, int background);

// The line's colour: red when it holds a red keyword, else blue when it holds a blue one, else none. Keywords
// match as written (case included).
std::optional<int> LogLineColour(std::string_view line);

struct TColourRange {
    int Start = 0;   // characters, counted as the text control counts them
    int Length = 0;   // the lines and their line ends
    int Colour = 0;

    bool operator==(const TColourRange&) const = default;
};

// The coloured ranges of a block of whole lines (each ended by "\r\n", "\n" or "\r", or by the block's end)
// whose first character is at `start`, in line order: every line with its line end (two characters), lines
// next to each other in one colour joined into one range. A character is a UTF-8 sequence, or one byte that
// is none. `next` receives the position after the block's last line end.
std::vector<TColourRange> LogColourRanges(std::string_view block, int start = 0, int* next = nullptr);

// The same for a text handed over piece by piece, a line possibly spread over many pieces (a long stretch
// without line ends cut into slices): a line is coloured once its end has come, by the keywords of the whole
// line, a keyword across two pieces too. Pieces are cut between characters.
class TLogColourScan {
public:
    explicit TLogColourScan(int start = 0) : FLineStart(start) {}
    // The ranges of the lines that end in `piece`; with `last`, the line the text ends with ends there too.
    std::vector<TColourRange> Add(std::string_view piece, bool last);
    int Next() const { return FLineStart; }   // after the last line that ended, its line end counted
    int End() const { return FLineStart + FLength; }   // after every character added, an open line's too

private:
    int FLineStart;   // where the open line starts
    int FLength = 0;   // its characters so far
    bool FRed = false;   // its keywords so far
    bool FBlue = false;
    std::string FTail;   // its last bytes, one fewer than the longest keyword
    bool FAfterCR = false;   // the last piece ended with a CR: an LF first in the next belongs to it
};

}

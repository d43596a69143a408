// The client log viewer's keyword colours: which lines are blue, which red, and the character ranges they
// cover in a text control that counts every line end as two characters.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::app {

inline constexpr int LogColourBlue = 0xFF0000;   // 0x00BBGGRR
inline constexpr int LogColourRed = 0x0000FF;

// How far apart two colours (0x00BBGGRR) read.
double ColourContrast(int first, int second);   // 1 (equal brightness) to 21 (black on white)

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

}

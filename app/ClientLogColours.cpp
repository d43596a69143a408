// The client log viewer's keyword colours.
#include "app/ClientLogColours.h"

namespace korvex::app {

namespace {

constexpr std::string_view BlueKeywords[] = {"Completed", "Finished a frame", "+ Working", "Project:", "Protein:", "Run:"};
constexpr std::string_view RedKeywords[]
    = {"Could not open", "Core not found", "Shutdown", "error", "conflict", "Couldn"};

template <std::size_t N>
bool HoldsAny(std::string_view line, const std::string_view (&keywords)[N]) {
    for (std::string_view keyword : keywords)
        if (line.find(keyword) != std::string_view::npos) return true;
    return false;
}

int CharacterCount(std::string_view text) {
    int count = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

}

std::optional<int> LogLineColour(std::string_view line) {
    if (HoldsAny(line, RedKeywords)) return LogColourRed;
    if (HoldsAny(line, BlueKeywords)) return LogColourBlue;
    return std::nullopt;
}

std::vector<TColourRange> LogColourRanges(const std::vector<std::string>& lines) {
    std::vector<TColourRange> ranges;
    int position = 0;
    for (const std::string& line : lines) {
        const int length = CharacterCount(line) + 2;
        if (std::optional<int> colour = LogLineColour(line)) ranges.push_back({position, length, *colour});
        position += length;
    }
    return ranges;
}

}

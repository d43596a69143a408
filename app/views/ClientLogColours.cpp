// The client log viewer's keyword colours.
#include "app/views/ClientLogColours.h"

#include "platform/base/Utf8.h"

#include <algorithm>
#include <cmath>

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

// The relative brightness of a 0x00BBGGRR colour as the eye sees it: 0 black to 1 white.
double Luminance(int colour) {
    auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour & 0xFF) + 0.7152 * channel((colour >> 8) & 0xFF)
        + 0.0722 * channel((colour >> 16) & 0xFF);
}

}

double ColourContrast(int first, int second) {
    const double a = Luminance(first), b = Luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

std::optional<int> LogLineColour(std::string_view line) {
    if (HoldsAny(line, RedKeywords)) return LogColourRed;
    if (HoldsAny(line, BlueKeywords)) return LogColourBlue;
    return std::nullopt;
}

std::vector<TColourRange> LogColourRanges(std::string_view block, int start, int* next) {
    std::vector<TColourRange> ranges;
    int position = start;
    std::size_t begin = 0;
    while (begin < block.size()) {
        std::size_t end = block.find_first_of("\r\n", begin);
        if (end == std::string_view::npos) end = block.size();
        const std::string_view line = block.substr(begin, end - begin);
        const int length = int(base::Utf8Length(line)) + 2;
        if (std::optional<int> colour = LogLineColour(line)) {
            TColourRange* last = ranges.empty() ? nullptr : &ranges.back();
            if (last != nullptr && last->Colour == *colour && last->Start + last->Length == position)
                last->Length += length;
            else
                ranges.push_back({position, length, *colour});
        }
        position += length;
        begin = end + (end + 1 < block.size() && block[end] == '\r' && block[end + 1] == '\n' ? 2 : 1);
    }
    if (next != nullptr) *next = position;
    return ranges;
}

}

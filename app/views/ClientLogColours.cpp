// The client log viewer's keyword colours.
#include "app/views/ClientLogColours.h"

#include "platform/base/Strings.h"
#include "platform/base/Utf8.h"

#include <algorithm>

namespace korvex::app {

namespace {

constexpr std::string_view BlueKeywords[] = {"Completed", "Finished a frame", "+ Working", "Project:", "Protein:", "Run:"};
constexpr std::string_view RedKeywords[]
    = {"Could not open", "Core not found", "Shutdown", "error", "conflict", "Couldn"};

constexpr std::size_t MostKeyword = 16;   // "Finished a frame", the longest keyword

template <std::size_t N>
bool HoldsAny(std::string_view line, const std::string_view (&keywords)[N]) {
    for (std::string_view keyword : keywords)
        if (line.find(keyword) != std::string_view::npos) return true;
    return false;
}

}

int ReadableLogColour(int colour, int background) {
    constexpr double Readable = base::ReadableColourContrast;
    constexpr int Steps = 32;
    constexpr int toward = 0xFFFFFF;
    if (ColourContrast(background, 0x000000) >= ColourContrast(background, toward)) return colour;   // a light pane
    auto mixed = [&](int step) {
        int out = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int from = (colour >> shift) & 0xFF, to = (toward >> shift) & 0xFF;
            out |= (from + (to - from) * step / Steps) << shift;
        }
        return out;
    };
    for (int step = 0; step < Steps; ++step)
        if (ColourContrast(background, mixed(step)) >= Readable) return mixed(step);
    return toward;
}

std::optional<int> LogLineColour(std::string_view line) {
    if (HoldsAny(line, RedKeywords)) return LogColourRed;
    if (HoldsAny(line, BlueKeywords)) return LogColourBlue;
    return std::nullopt;
}

std::vector<TColourRange> LogColourRanges(std::string_view block, int start, int* next) {
    TLogColourScan scan(start);
    std::vector<TColourRange> ranges = scan.Add(block, true);
    if (next != nullptr) *next = scan.Next();
    return ranges;
}

std::vector<TColourRange> TLogColourScan::Add(std::string_view piece, bool last) {
    std::vector<TColourRange> ranges;
    std::size_t begin = FAfterCR && !piece.empty() && piece[0] == '\n' ? 1 : 0;
    FAfterCR = false;
    while (begin < piece.size() || (last && (FLength > 0 || !FTail.empty()))) {
        std::size_t end = base::FindLineBreak(piece, begin);
        const bool ended = end != std::string_view::npos;
        if (!ended) end = piece.size();
        const std::string_view part = piece.substr(begin, end - begin);
        // A keyword that starts in the bytes kept of the line and ends in this part.
        if (!FTail.empty()) {
            const std::string joint = FTail + std::string(part.substr(0, MostKeyword - 1));
            FRed = FRed || HoldsAny(joint, RedKeywords);
            FBlue = FBlue || HoldsAny(joint, BlueKeywords);
        }
        FRed = FRed || HoldsAny(part, RedKeywords);
        FBlue = FBlue || HoldsAny(part, BlueKeywords);
        FLength += int(base::Utf8Length(part));
        if (!ended && !last) {   // the line goes on in the next piece
            FTail += part.substr(part.size() - std::min(part.size(), MostKeyword - 1));
            if (FTail.size() > MostKeyword - 1) FTail.erase(0, FTail.size() - (MostKeyword - 1));
            break;
        }
        const int length = FLength + 2;
        if (FRed || FBlue) {
            const int colour = FRed ? LogColourRed : LogColourBlue;
            TColourRange* previous = ranges.empty() ? nullptr : &ranges.back();
            if (previous != nullptr && previous->Colour == colour && previous->Start + previous->Length == FLineStart)
                previous->Length += length;
            else
                ranges.push_back({FLineStart, length, colour});
        }
        FLineStart += length;
        FLength = 0;
        FRed = FBlue = false;
        FTail.clear();
        if (!ended) break;
        begin = end + 1;
        if (piece[end] == '\r') {
            if (begin == piece.size())
                FAfterCR = true;
            else if (piece[begin] == '\n')
                ++begin;
        }
    }
    return ranges;
}

}

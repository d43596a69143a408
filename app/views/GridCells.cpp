// The main window's cells: readable warning colours and texts cut to their column.
#include "app/views/GridCells.h"

#include "app/views/ClientLogColours.h"
#include "platform/base/Numbers.h"
#include "platform/base/Utf8.h"

#include <algorithm>
#include <cmath>

namespace korvex::app {

namespace {

constexpr double ReadableContrast = 3.0;
constexpr int Black = 0x000000;
constexpr int White = 0xFFFFFF;
constexpr const char* Ellipsis = "\xE2\x80\xA6";

}

int ReadableTextColour(int background, int wanted) {
    if (ColourContrast(background, wanted) >= ReadableContrast) return wanted;
    return ColourContrast(background, Black) >= ColourContrast(background, White) ? Black : White;
}

std::string FitCellText(const std::string& text, int room, const std::function<int(const std::string&)>& width) {
    if (width(text) <= room) return text;
    // A time of day loses its seconds first ("05 Dec 10:20:30" gives "05 Dec 10:20").
    const std::size_t n = text.size();
    auto digit = [&text](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; };
    if (n >= 8 && text[n - 3] == ':' && text[n - 6] == ':' && digit(n - 1) && digit(n - 2) && digit(n - 4)
        && digit(n - 5) && digit(n - 7) && digit(n - 8)) {
        const std::string minutes = text.substr(0, n - 3);
        if (width(minutes) <= room) return minutes;
    }
    double value = 0;
    if (text.find('.') != std::string::npos && base::TryStrToFloat(text, value) && std::isfinite(value)
        && std::fabs(value) < 1e15) {
        const std::string whole = std::to_string(std::llround(value));
        if (width(whole) <= room) return whole;
    }
    // Whole characters (code points) before the ellipsis, as many as fit.
    for (std::size_t n = base::Utf8Length(text); n-- > 0;) {
        const std::string cut = base::Utf8Left(text, n) + Ellipsis;
        if (width(cut) <= room) return cut;
    }
    return "";
}

}

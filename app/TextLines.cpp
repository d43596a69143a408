// Splitting a text buffer into line views.
#include "app/TextLines.h"

#include <cstring>

namespace korvex::app {

TTextLines TTextLines::FromText(std::string_view text) {
    auto buffer = std::make_unique_for_overwrite<char[]>(text.size() + 1);
    if (!text.empty()) std::memcpy(buffer.get(), text.data(), text.size());
    return FromBuffer(std::move(buffer), text.size());
}

TTextLines TTextLines::FromLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    return FromText(text);
}

TTextLines TTextLines::FromBuffer(std::unique_ptr<char[]> buffer, std::size_t size) {
    TTextLines result;
    result.FBuffer = std::move(buffer);
    result.FSize = size;
    result.Split();
    return result;
}

void TTextLines::Split() {
    FLines.clear();
    if (FSize == 0) return;
    const char* data = FBuffer.get();
    const char* end = data + FSize;
    // Counting first sizes the vector once: big logs neither regrow it nor hold two copies.
    std::size_t count = 1;
    for (const char* p = data; (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))));)
        ++count, ++p;
    FLines.reserve(count);
    const char* start = data;
    while (start < end) {
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', static_cast<std::size_t>(end - start)));
        const char* stop = lf ? lf : end;
        std::size_t length = static_cast<std::size_t>(stop - start);
        if (lf && length > 0 && start[length - 1] == '\r') --length;
        FLines.emplace_back(start, length);
        if (!lf) break;
        start = lf + 1;
    }
}

}

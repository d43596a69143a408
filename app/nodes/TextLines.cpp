// Text buffers read as lines.
#include "app/nodes/TextLines.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>

namespace korvex::app {

namespace {

constexpr std::size_t HugePage = std::size_t(2) << 20;

}

void TTextBufferFree::operator()(char* p) const {
    std::free(p);
}

TTextBuffer TTextLines::AllocateBuffer(std::size_t size) {
    const std::size_t bytes = size + Padding;
    if (bytes < 2 * HugePage) {
        char* p = static_cast<char*>(std::malloc(bytes));
        if (!p) throw std::bad_alloc();
        return TTextBuffer(p);
    }
    // A big log fills its buffer at once: whole huge pages save the kernel thousands of page faults.
    const std::size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
    char* p = static_cast<char*>(std::aligned_alloc(HugePage, rounded));
    if (!p) throw std::bad_alloc();
    ::madvise(p, rounded, MADV_HUGEPAGE);
    return TTextBuffer(p);
}

TTextLines TTextLines::FromText(std::string_view text) {
    auto buffer = AllocateBuffer(text.size());
    if (!text.empty()) std::memcpy(buffer.get(), text.data(), text.size());
    return FromBuffer(std::move(buffer), text.size());
}

TTextLines TTextLines::FromLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return FromText(text);
}

TTextLines TTextLines::FromBuffer(TTextBuffer buffer, std::size_t size) {
    TTextLines result;
    result.FBuffer = std::move(buffer);
    result.FSize = size;
    std::memset(result.FBuffer.get() + size, 0, Padding);
    return result;
}

std::string_view TTextLines::LineAt(std::size_t pos, std::size_t& next) const {
    const char* start = FBuffer.get() + pos;
    const std::size_t rest = FSize - pos;
    // By blocks, the first LF and then the first CR before it: vectorised scans instead of a byte-wise loop,
    // and a file of CR-only lines is not scanned to its end for each line.
    constexpr std::size_t Block = 512;
    std::size_t length = 0;
    for (;;) {
        const std::size_t span = std::min(Block, rest - length);
        const char* block = start + length;
        const void* lf = std::memchr(block, '\n', span);
        const std::size_t upTo = lf ? std::size_t(static_cast<const char*>(lf) - block) : span;
        const void* cr = std::memchr(block, '\r', upTo);
        if (cr) {
            length += std::size_t(static_cast<const char*>(cr) - block);
            break;
        }
        length += upTo;
        if (lf || length == rest) break;
    }
    next = pos + length;
    if (length < rest) next += (start[length] == '\r' && length + 1 < rest && start[length + 1] == '\n') ? 2 : 1;
    return {start, length};
}

std::vector<std::string_view> TTextLines::FirstLines(std::size_t count) const {
    std::vector<std::string_view> lines;
    for (std::size_t pos = 0, next = 0; pos < FSize && lines.size() < count; pos = next)
        lines.push_back(LineAt(pos, next));
    return lines;
}

std::vector<std::string_view> TTextLines::Lines() const {
    return FirstLines(static_cast<std::size_t>(-1));
}

std::size_t TTextLines::Count() const {
    std::size_t count = 0;
    ForEachLine([&count](std::size_t, std::string_view) { ++count; });
    return count;
}

}

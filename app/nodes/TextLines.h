// A text file's bytes in one buffer, read as lines: what the node reading scans.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::app {

struct TTextBufferFree {
    void operator()(char* p) const;
};
using TTextBuffer = std::unique_ptr<char[], TTextBufferFree>;

// Lines end at CR LF, LF or a lone CR, as the run time's string lists load them; a last line without an end
// counts; no empty line follows a final end. Other bytes (NUL, any 8-bit value) stay in the line. No line index is
// kept: a 100 MB log of empty lines costs its bytes and no more. Move-only: views point into the buffer. Padding
// readable bytes (zeros) follow the text, so scans may load whole blocks.
class TTextLines {
public:
    static constexpr std::size_t Padding = 16;

    TTextLines() = default;
    TTextLines(TTextLines&&) noexcept = default;
    TTextLines& operator=(TTextLines&&) noexcept = default;
    TTextLines(const TTextLines&) = delete;
    TTextLines& operator=(const TTextLines&) = delete;

    static TTextLines FromText(std::string_view text);
    static TTextLines FromLines(const std::vector<std::string>& lines);   // each line ended by CR LF
    // A buffer for size bytes of text and the padding (the file loader reads straight into it), and the text
    // of its first size bytes.
    static TTextBuffer AllocateBuffer(std::size_t size);
    static TTextLines FromBuffer(TTextBuffer buffer, std::size_t size);

    std::string_view Text() const { return {FBuffer.get(), FSize}; }
    std::size_t Bytes() const { return FSize; }
    bool Empty() const { return FSize == 0; }

    // The line that starts at `pos` (< Bytes()), and where the next one starts.
    std::string_view LineAt(std::size_t pos, std::size_t& next) const;

    // Calls f(index, line) for every line in order.
    template <class F>
    void ForEachLine(F&& f) const {
        std::size_t index = 0;
        for (std::size_t pos = 0, next = 0; pos < FSize; pos = next)
            f(index++, LineAt(pos, next));
    }

    // The first `count` lines (fewer when the text has fewer); a walk over those lines only.
    std::vector<std::string_view> FirstLines(std::size_t count) const;
    // Every line; a walk over the whole text.
    std::vector<std::string_view> Lines() const;
    std::size_t Count() const;

private:
    TTextBuffer FBuffer;
    std::size_t FSize = 0;
};

}

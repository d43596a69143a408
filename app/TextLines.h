// A text file's lines as views into one buffer: what the node reading scans.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::app {

// Lines end at LF or CR LF; a last line without an end counts; no empty line follows a final end.
// Other bytes (NUL, lone CR, any 8-bit value) stay in the line. Move-only: the views point into the buffer.
class TTextLines {
public:
    TTextLines() = default;
    TTextLines(TTextLines&&) noexcept = default;
    TTextLines& operator=(TTextLines&&) noexcept = default;
    TTextLines(const TTextLines&) = delete;
    TTextLines& operator=(const TTextLines&) = delete;

    static TTextLines FromText(std::string_view text);
    static TTextLines FromLines(const std::vector<std::string>& lines);
    // Takes over a buffer of size bytes (the file loader reads straight into it).
    static TTextLines FromBuffer(std::unique_ptr<char[]> buffer, std::size_t size);

    std::size_t Count() const { return FLines.size(); }
    bool Empty() const { return FLines.empty(); }
    std::string_view operator[](std::size_t index) const { return FLines[index]; }
    const std::vector<std::string_view>& Lines() const { return FLines; }
    std::size_t Bytes() const { return FSize; }

private:
    void Split();

    std::unique_ptr<char[]> FBuffer;
    std::size_t FSize = 0;
    std::vector<std::string_view> FLines;
};

}

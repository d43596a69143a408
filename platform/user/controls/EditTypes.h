// Edit engine records: character formats, paragraphs with their cached layout, fonts of formats, undo, lines.
#pragma once

#include "platform/gdi/FontEngine.h"
#include "platform/user/UserTypes.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>
#include <memory>
#include <string>
#include <vector>

namespace korvex::user::edit {

// A character format of the rich edit. Format 0 of a control is its default format.
struct CharFormat {
    bool AutoColor = true;   // the window text colour
    COLORREF Color = 0;
    bool AutoBack = true;   // the control's background
    COLORREF BackColor = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int HeightTwips = 0;   // 0: the control's font
    std::string Face;   // empty: the control's font
    friend bool operator==(const CharFormat&, const CharFormat&) = default;
};

struct FormatRun {
    int Start = 0;   // code point offset in the paragraph
    int Format = 0;
};

// A short array of trivially copyable items in one pointer: nothing allocated while it is empty, so the many
// paragraphs of a long text with one format and no wrapping cost no more than that pointer for each.
template <class T>
class CompactArray {
public:
    CompactArray() = default;
    CompactArray(const CompactArray& other) { Assign(other.begin(), other.size()); }
    CompactArray(CompactArray&& other) noexcept : FData(std::exchange(other.FData, nullptr)) { }
    CompactArray& operator=(const CompactArray& other) {
        if (this != &other) Assign(other.begin(), other.size());
        return *this;
    }
    CompactArray& operator=(CompactArray&& other) noexcept {
        std::swap(FData, other.FData);
        return *this;
    }
    CompactArray& operator=(const std::vector<T>& items) {
        Assign(items.data(), items.size());
        return *this;
    }
    ~CompactArray() { std::free(FData); }

    std::size_t size() const { return FData ? FData->Size : 0; }
    bool empty() const { return size() == 0; }
    const T* begin() const { return FData ? FData->Items : nullptr; }
    const T* end() const { return begin() + size(); }
    T* begin() { return FData ? FData->Items : nullptr; }
    T* end() { return begin() + size(); }
    const T& operator[](std::size_t i) const { return FData->Items[i]; }
    T& operator[](std::size_t i) { return FData->Items[i]; }
    const T& front() const { return FData->Items[0]; }
    const T& back() const { return FData->Items[size() - 1]; }
    void clear() {
        std::free(FData);
        FData = nullptr;
    }
    void push_back(const T& item) {
        const std::size_t n = size();
        if (!FData || n == FData->Capacity) Grow(n == 0 ? 2 : n * 2);
        FData->Items[n] = item;
        FData->Size = std::uint32_t(n + 1);
    }
    std::vector<T> ToVector() const { return std::vector<T>(begin(), end()); }

private:
    static_assert(std::is_trivially_copyable_v<T>);
    struct Block {
        std::uint32_t Size;
        std::uint32_t Capacity;
        T Items[1];
    };
    void Grow(std::size_t capacity) {
        auto* block = static_cast<Block*>(std::malloc(sizeof(Block) + sizeof(T) * (capacity - 1)));
        if (!block) throw std::bad_alloc();
        block->Size = std::uint32_t(size());
        block->Capacity = std::uint32_t(capacity);
        if (FData) std::memcpy(block->Items, FData->Items, sizeof(T) * FData->Size);
        std::free(FData);
        FData = block;
    }
    void Assign(const T* items, std::size_t n) {
        clear();
        if (n == 0) return;
        Grow(n);
        std::memcpy(FData->Items, items, sizeof(T) * n);
        FData->Size = std::uint32_t(n);
    }
    Block* FData = nullptr;
};

// One paragraph: its text without the line end, and the cached layout.
struct Paragraph {
    std::string Text;   // UTF-8
    int Length = 0;   // code points
    int Width = 0;   // widest line in pixels
    CompactArray<FormatRun> Runs;   // sorted, the first at 0; empty: all of format 0
    CompactArray<int> Breaks;   // wrapped line starts after the first
    bool Measured = false;
    int LineCount() const { return 1 + int(Breaks.size()); }
};

// A realised format: the font to draw with and the advances to measure with.
struct FormatFont {
    HFONT Font = nullptr;
    bool Owned = false;
    std::shared_ptr<const gdi::FontInstance> Instance;
    std::array<int, 128> Ascii {};   // advances of the ASCII code points
    int Height = 0;
    int Ascent = 0;
};

struct UndoRecord {
    bool Valid = false;
    int Start = 0;
    std::string Removed;   // text the change took away
    int InsertedLength = 0;   // characters the change put in
    bool Typing = false;   // consecutive typing joins the record
};

struct LineRef {
    int Para = 0;
    int Begin = 0;   // code point offsets in the paragraph
    int End = 0;
};

// base with the fields the CFM_* mask names taken from change.
CharFormat MergeFormat(const CharFormat& base, const CharFormat& change, DWORD mask);

}

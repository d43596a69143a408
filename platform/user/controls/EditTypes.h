// Edit engine records: character formats, paragraphs with their cached layout, fonts of formats, undo, lines.
#pragma once

#include "platform/gdi/FontEngine.h"
#include "platform/user/UserTypes.h"
#include "platform/user/controls/EditTextStore.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
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

// A paragraph's format runs and wrapped line starts in one pointer: nothing allocated while both are empty, so
// the many paragraphs of a long text in one format without wrapping cost no more than that pointer for each.
class RunsAndBreaks {
public:
    RunsAndBreaks() = default;
    RunsAndBreaks(const RunsAndBreaks& other) { Assign(other.Runs(), other.Breaks(), other.Breaks().size()); }
    RunsAndBreaks(RunsAndBreaks&& other) noexcept : FData(std::exchange(other.FData, nullptr)) { }
    RunsAndBreaks& operator=(const RunsAndBreaks& other) {
        if (this != &other) Assign(other.Runs(), other.Breaks(), other.Breaks().size());
        return *this;
    }
    RunsAndBreaks& operator=(RunsAndBreaks&& other) noexcept {
        std::swap(FData, other.FData);
        return *this;
    }
    ~RunsAndBreaks() { std::free(FData); }

    std::span<const FormatRun> Runs() const {
        return FData ? std::span<const FormatRun>(RunItems(), FData->RunCount) : std::span<const FormatRun> {};
    }
    std::span<const int> Breaks() const {
        return FData ? std::span<const int>(BreakItems(), FData->BreakCount) : std::span<const int> {};
    }
    void SetRuns(std::span<const FormatRun> runs) { Assign(runs, Breaks(), Breaks().size()); }
    void ClearBreaks() {
        if (FData && FData->BreakCount > 0) Assign(Runs(), {}, 0);
    }
    void AddBreak(int at) {
        if (!FData || FData->BreakCount == FData->BreakCapacity)
            Assign(Runs(), Breaks(), FData && FData->BreakCapacity > 0 ? 2 * std::size_t(FData->BreakCapacity) : 4);
        BreakItems()[FData->BreakCount++] = at;
    }

private:
    // The runs right after the header, the breaks after the runs.
    struct Header {
        std::uint32_t RunCount;
        std::uint32_t BreakCount;
        std::uint32_t BreakCapacity;
        std::uint32_t Unused;
    };
    static_assert(std::is_trivially_copyable_v<FormatRun> && alignof(FormatRun) <= alignof(Header));
    FormatRun* RunItems() const { return reinterpret_cast<FormatRun*>(FData + 1); }
    int* BreakItems() const { return reinterpret_cast<int*>(RunItems() + FData->RunCount); }
    void Assign(std::span<const FormatRun> runs, std::span<const int> breaks, std::size_t breakCapacity) {
        Header* data = nullptr;
        if (!runs.empty() || breakCapacity > 0) {
            data = static_cast<Header*>(
                std::malloc(sizeof(Header) + sizeof(FormatRun) * runs.size() + sizeof(int) * breakCapacity));
            if (!data) throw std::bad_alloc();
            data->RunCount = std::uint32_t(runs.size());
            data->BreakCount = std::uint32_t(breaks.size());
            data->BreakCapacity = std::uint32_t(breakCapacity);
            data->Unused = 0;
            if (!runs.empty()) std::memcpy(reinterpret_cast<FormatRun*>(data + 1), runs.data(), sizeof(FormatRun) * runs.size());
            if (!breaks.empty())
                std::memcpy(static_cast<void*>(reinterpret_cast<FormatRun*>(data + 1) + runs.size()), breaks.data(),
                    sizeof(int) * breaks.size());
        }
        std::free(FData);   // the spans given may have lain in it
        FData = data;
    }
    Header* FData = nullptr;
};

// One paragraph: where its text lies, and the cached layout. A long text holds millions of them: 32 bytes each.
struct Paragraph {
    TextSpan Text;   // UTF-8 without the line end, in the control's text store
    int Length = 0;   // code points
    int Width = 0;   // widest line in pixels
    std::uint16_t Format = 0;   // the format of the whole paragraph while it has no runs
    bool Measured = false;
    RunsAndBreaks Layout;   // runs: sorted, the first at 0; breaks: wrapped line starts after the first
    std::span<const FormatRun> Runs() const { return Layout.Runs(); }
    std::span<const int> Breaks() const { return Layout.Breaks(); }
    int FirstFormat() const { return Layout.Runs().empty() ? Format : Layout.Runs().front().Format; }
    int LineCount() const { return 1 + int(Layout.Breaks().size()); }
};
static_assert(sizeof(Paragraph) <= 32);

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

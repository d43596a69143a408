// Edit engine records: character formats, paragraphs with their cached layout, fonts of formats, undo, lines.
#pragma once

#include "platform/gdi/FontEngine.h"
#include "platform/user/UserTypes.h"

#include <array>
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

// One paragraph: its text without the line end, and the cached layout.
struct Paragraph {
    std::string Text;   // UTF-8
    int Length = 0;   // code points
    std::vector<FormatRun> Runs;   // sorted, the first at 0; empty: all of format 0
    std::vector<int> Breaks;   // wrapped line starts after the first
    int Width = 0;   // widest line in pixels
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

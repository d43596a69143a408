// The edit buttons' glyphs drawn procedurally: three state images side by side, picture over mask.
#pragma once

#include "platform/gdi/Bitmap.h"

namespace korvex::editglyphs {

struct TGlyphEntry {
    const char* Name;   // "BTN_OPENFILE" ...
    const char* Resource;   // "SF" ...
    int Width;   // of the whole bitmap: three state images
};

inline constexpr TGlyphEntry Glyphs[] = {{"BTN_OPENFILE", "SF", 60}, {"BTN_OPENFOLDER", "SR", 60},
    {"BTN_DATE", "SD", 48}, {"BTN_ELLIPSIS", "SE", 54}, {"BTN_CALC", "SC", 57}};
inline constexpr int GlyphBitmapHeight = 34;

// A 24-bit bitmap Width x 34: rows 0..16 the pictures (normal, hot, pressed), rows 17..33 their masks
// (0 where the picture covers the button, 255 where the button shows through).
gdi::Bitmap* DrawGlyphBitmap(const TGlyphEntry& glyph);

}

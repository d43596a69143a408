// Font engine: realised fonts (face file, pixel size, style) with metrics, measurement and glyph coverage.
#pragma once

#include "platform/gdi/Fonts.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvex::gdi {

// ---------------------------------------------------------------------------------------------------------
// Face resolution. A LOGFONT face name goes through the Windows substitution table ("Tahoma" -> DejaVu Sans,
// "Arial" -> Liberation Sans, ...), then fontconfig picks the file for the weight and slant. A name that is
// neither in the table nor installed lands on DejaVu Sans. Bold and italic come from the family's own faces;
// only when the family has none are they synthesised.

struct FaceChoice {
    std::string Family;   // family name of the file chosen, e.g. "DejaVu Sans"
    std::string Path;   // font file
    int Index = 0;   // face index inside the file
    bool SyntheticBold = false;
    bool SyntheticItalic = false;
    explicit operator bool() const { return !Path.empty(); }
};

// Empty Path when no font file can be found at all.
FaceChoice ResolveFace(const std::string& faceName, bool bold, bool italic);
// A face with a glyph for the code point, for text the chosen face cannot show (Hebrew or Arabic in a Latin
// face): what a run falls back to, glyph by glyph. Empty Path when no face has it.
FaceChoice ResolveCoveringFace(char32_t codePoint, bool bold, bool italic);
// The family a Windows face name is asked of fontconfig as ("Tahoma" -> "DejaVu Sans"); other names unchanged.
std::string SubstituteFaceName(const std::string& faceName);

// Deterministic font selection for tests and the headless display. Both are read from the environment on
// first use (KORVEX_FONT_DIR, KORVEX_FONT_FAMILY); the setters override that. Changing either drops the
// realised fonts, so measurements afterwards follow the new setting.
void SetFontDirectory(const std::string& directory);   // only font files in this folder; empty: system fonts
void SetPinnedFontFamily(const std::string& family);   // every face name resolves to this family; empty: off
// Counts changes of the two settings above, so font objects know when to resolve again.
unsigned FontSelectionGeneration();

// ---------------------------------------------------------------------------------------------------------
// Glyphs and runs. Coordinates are pixels, x to the right and y down, relative to a pen position on the
// baseline. Advances are whole pixels (hinted), so a run's positions are exact integers.

// 8-bit coverage (0 = none, 255 = full), Width x Height bytes, rows top-down without padding.
struct GlyphMask {
    int Left = 0;   // mask column 0 relative to the pen position
    int Top = 0;   // mask row 0 relative to the pen position (negative: above the baseline)
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Coverage;
    bool Empty() const { return Width <= 0 || Height <= 0; }
};

// One code point of a UTF-8 run as the font maps it.
struct RunCharacter {
    char32_t CodePoint = 0;
    std::size_t ByteOffset = 0;   // where it starts in the text
    std::size_t ByteLength = 0;   // 1 for a broken byte (drawn as U+FFFD)
    std::uint32_t GlyphIndex = 0;   // 0: the face has no glyph (drawn as its missing-glyph box)
    int Advance = 0;   // along the baseline, unrotated
};

// A glyph placed in a run: pen position relative to the run's origin on the baseline (rotated runs move
// along the escapement).
struct PlacedGlyph {
    std::shared_ptr<const GlyphMask> Mask;   // never null; empty for blanks
    int X = 0;
    int Y = 0;
};

// A whole run flattened into one coverage mask, glyphs with underline and strike-out.
struct RunMask {
    int Left = 0;   // mask column 0 relative to the run's origin on the baseline
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Coverage;
    bool Empty() const { return Width <= 0 || Height <= 0; }
};

// A horizontal band relative to the baseline (y down): rows Offset .. Offset + Thickness - 1.
struct LineBand {
    int Offset = 0;
    int Thickness = 1;
};

// A font realised for the screen. Shared and immutable; every method is safe from any thread.
class FontInstance {
public:
    ~FontInstance();
    FontInstance(const FontInstance&) = delete;
    FontInstance& operator=(const FontInstance&) = delete;

    const TEXTMETRIC& TextMetrics() const { return FMetrics; }
    const FaceChoice& Face() const { return FFace; }
    int PixelSize() const { return FPixelSize; }   // em height in pixels
    int Escapement() const { return FEscapement; }   // tenths of a degree, 0..3599
    bool Underline() const { return FUnderline; }
    bool StrikeOut() const { return FStrikeOut; }
    LineBand UnderlineBand() const { return FUnderlineBand; }   // below the baseline
    LineBand StrikeOutBand() const { return FStrikeOutBand; }   // above the baseline (negative offset)

    // Baseline origin of a run whose unrotated cell has its top-left corner at (0, 0): (0, tmAscent) turned
    // with the escapement. TextOut's reference point is that corner.
    POINT BaselineFromCellTop() const;

    // Per code point, unrotated.
    std::vector<RunCharacter> Characters(std::string_view utf8) const;
    // Sum of the advances; the extent of the run is (width, tmHeight). Saturates at INT_MAX.
    int MeasureWidth(std::string_view utf8) const;
    // The run's length along the baseline with ExtTextOut's spacing (dx as in LayoutRun), summed in 64 bits
    // without keeping anything per character.
    long long RunLength(std::string_view utf8, std::span<const int> dx = {}) const;

    // The glyph of one code point (index and advance); cached. A code point the face lacks takes its glyph
    // from a face that has one, at this font's character height and style; only when none has it is the
    // glyph index 0 (the missing-glyph box).
    RunCharacter MapCharacter(char32_t codePoint) const;
    // Coverage of one glyph as MapCharacter numbered it, at this font's size, style and escapement; cached,
    // never null.
    std::shared_ptr<const GlyphMask> RenderGlyph(std::uint32_t glyphIndex) const;

    // Glyphs positioned along the escapement. dx, when not empty, gives the advance of each code point in
    // order (ExtTextOut's spacing); code points past its end use their own advances.
    std::vector<PlacedGlyph> LayoutRun(std::string_view utf8, std::span<const int> dx = {}) const;
    // The run as one mask, underline and strike-out included when the font has them.
    RunMask RenderRun(std::string_view utf8, std::span<const int> dx = {}) const;
    // The part of the run inside `window` (pixels relative to the run's origin on the baseline): glyphs that
    // cannot reach the window are neither rendered nor kept, the walk stops once the run has passed it, and
    // the mask is at most the window. Empty when nothing of the run falls inside.
    RunMask RenderRun(std::string_view utf8, std::span<const int> dx, const RECT& window) const;
    // How far a glyph's ink can lie from its pen position, in pixels (a generous bound for any glyph).
    int InkReach() const;

private:
    friend class FontEngine;
    struct Impl;
    FontInstance() = default;

    // The slot (1-based) and font of a face that has the code point; {0, nullptr} when none is usable.
    std::pair<std::size_t, std::shared_ptr<const FontInstance>> FallbackFor(char32_t codePoint) const;

    TEXTMETRIC FMetrics;
    FaceChoice FFace;
    int FPixelSize = 0;
    int FEscapement = 0;
    bool FUnderline = false;
    bool FStrikeOut = false;
    bool FMonochrome = false;
    LineBand FUnderlineBand;
    LineBand FStrikeOutBand;
    std::unique_ptr<Impl> FImpl;
};

// The realised font for a LOGFONT; equal LOGFONTs share one instance while it is in use.
// nullptr only when no usable font file exists at all.
std::shared_ptr<const FontInstance> RealizeFont(const LOGFONT& logFont);

// Glyph cache statistics, for tests of the cache bounds.
struct GlyphCacheStats {
    std::size_t Glyphs = 0;
    std::size_t Bytes = 0;
    std::size_t Hits = 0;
    std::size_t Misses = 0;
};
GlyphCacheStats GetGlyphCacheStats();
void SetGlyphCacheLimit(std::size_t bytes);   // default 8 MB; least recently used glyphs go first

}

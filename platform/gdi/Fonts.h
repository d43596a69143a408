// Logical fonts: LOGFONT and TEXTMETRIC, the font object behind HFONT, CreateFontIndirect and the stock fonts.
#pragma once

#include "platform/gdi/Forward.h"
#include "platform/gdi/GdiObject.h"

#include <memory>
#include <string>

namespace korvex::gdi {


// The screen is taken as 96 dots per inch: 8 points are 11 pixels (MulDiv(8, 96, 72) rounded).
inline constexpr int ScreenLogPixels = 96;

// Output quality (LOGFONT::lfQuality)
inline constexpr BYTE DEFAULT_QUALITY = 0;
inline constexpr BYTE DRAFT_QUALITY = 1;
inline constexpr BYTE PROOF_QUALITY = 2;
inline constexpr BYTE NONANTIALIASED_QUALITY = 3;   // aliased glyphs: coverage is 0 or 255
inline constexpr BYTE ANTIALIASED_QUALITY = 4;
inline constexpr BYTE CLEARTYPE_QUALITY = 5;   // rendered as grey anti-aliasing

// Further character sets beside Types.h's (kept for the record; every face maps Unicode).
inline constexpr BYTE OEM_CHARSET = 255;
inline constexpr BYTE EASTEUROPE_CHARSET = 238;

// Stock font index beside SYSTEM_FONT and DEFAULT_GUI_FONT.
inline constexpr int ANSI_VAR_FONT = 12;

// Fields as Windows has them. lfHeight < 0: character height (em) in pixels; > 0: cell height
// (ascent + descent); 0: the default height (that of DEFAULT_GUI_FONT). Escapement and orientation are in
// tenths of a degree counter-clockwise; the text runs along the escapement and the glyphs turn with it
// (lfOrientation is kept but not used, as in GDI's compatible mode). lfFaceName is UTF-8.
struct LOGFONT {
    LONG lfHeight = 0;
    LONG lfWidth = 0;   // average character width in pixels; 0 keeps the face's proportions
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = FW_DONTCARE;   // FW_*; 600 and above is bold
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = DEFAULT_CHARSET;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = DEFAULT_QUALITY;
    BYTE lfPitchAndFamily = 0;
    std::string lfFaceName;
    friend bool operator==(const LOGFONT&, const LOGFONT&) = default;
};

// Metrics of a realised font in pixels. tmHeight = tmAscent + tmDescent is the cell height;
// tmHeight - tmInternalLeading is the character (em) height.
struct TEXTMETRIC {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
    LONG tmOverhang = 0;
    LONG tmDigitizedAspectX = ScreenLogPixels;
    LONG tmDigitizedAspectY = ScreenLogPixels;
    char32_t tmFirstChar = 0x20;
    char32_t tmLastChar = 0xFFFC;
    char32_t tmDefaultChar = 0x1F;
    char32_t tmBreakChar = 0x20;
    BYTE tmItalic = 0;
    BYTE tmUnderlined = 0;
    BYTE tmStruckOut = 0;
    BYTE tmPitchAndFamily = 0;
    BYTE tmCharSet = DEFAULT_CHARSET;
};

// The logical font behind an HFONT. The face is resolved and sized on first use and kept.
class Font final : public GdiObject {
public:
    static constexpr ObjectKind StaticKind = ObjectKind::Font;

    explicit Font(const LOGFONT& logFont);
    ~Font() override;

    const LOGFONT& LogFont() const { return FLogFont; }
    // The realised font; nullptr only when no usable font file exists at all.
    std::shared_ptr<const FontInstance> Instance() const;

private:
    LOGFONT FLogFont;
    mutable std::shared_ptr<const FontInstance> FInstance;
    mutable unsigned FGeneration = 0;   // font selection settings the instance was resolved under
};

// A new font object; never nullptr (a face that cannot be found falls back to the default face).
HFONT CreateFontIndirect(const LOGFONT& logFont);
HFONT CreateFontIndirect(const LOGFONT* logFont);   // nullptr for a null argument
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
    DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
    const std::string& faceName);
// Copies the font's LOGFONT; false for a null, stale or non-font handle.
bool GetObject(HFONT font, LOGFONT* out);

// LOGFONT of the stock fonts SYSTEM_FONT, DEFAULT_GUI_FONT and ANSI_VAR_FONT ("MS Sans Serif", 8 points);
// GetStockObject makes them through CreateFontIndirect. Other indexes give a default LOGFONT.
LOGFONT StockLogFont(int index);
// The stock font for those indexes, made once and marked stock; nullptr for other indexes.
HFONT GetStockFont(int index);

// Height in pixels for a point size on the 96-dpi screen: -MulDiv(points, 96, 72).
int FontHeightFromPoints(int points);

}

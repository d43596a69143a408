// Text output on device contexts: extents, metrics, TextOut, ExtTextOut and DrawText. Text is UTF-8.
// Glyphs are anti-aliased: each pixel blends the text colour over what is there by the glyph's coverage.
// In OPAQUE background mode the text cell is first filled with the background colour.
#pragma once

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Fonts.h"

#include <string_view>

namespace korvex::gdi {

// Width and cell height of the text in the selected font (unrotated); false when no font is usable.
bool GetTextExtentPoint32(HDC dc, std::string_view text, SIZE* size);
bool GetTextExtentPoint32(HDC dc, const char* text, int byteCount, SIZE* size);
inline bool GetTextExtentPoint(HDC dc, std::string_view text, SIZE* size) {
    return GetTextExtentPoint32(dc, text, size);
}
bool GetTextMetrics(HDC dc, TEXTMETRIC* metrics);

// The reference point (x, y) is placed by the text alignment (TA_LEFT/CENTER/RIGHT, TA_TOP/BASELINE/BOTTOM);
// TA_UPDATECP draws at the current position and moves it. Rotated fonts run along their escapement.
bool TextOut(HDC dc, int x, int y, std::string_view text);
// ETO_OPAQUE fills rect with the background colour; ETO_CLIPPED clips the text to rect. dx, when given,
// holds one advance per code point.
bool ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, std::string_view text, const int* dx = nullptr,
    int dxCount = 0);

// Formats text in rect. Flags: DT_LEFT/CENTER/RIGHT, DT_TOP/VCENTER/BOTTOM (the last two with DT_SINGLELINE),
// DT_WORDBREAK, DT_SINGLELINE, DT_EXPANDTABS (stops every 8 average widths), DT_NOCLIP, DT_CALCRECT (measures
// only: rect's right and bottom become the text's extent), DT_NOPREFIX, DT_HIDEPREFIX, DT_PREFIXONLY,
// DT_END_ELLIPSIS, DT_WORD_ELLIPSIS, DT_PATH_ELLIPSIS, DT_EXTERNALLEADING. Without DT_NOPREFIX an "&"
// underlines the next character and "&&" shows one "&". Returns the height of the text (from rect's top to
// the bottom of the last line when vertically placed), 0 on failure.
int DrawText(HDC dc, std::string_view text, RECT* rect, UINT format);

}

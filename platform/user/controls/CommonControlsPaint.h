// Drawing and measuring helpers of the common controls (tab, up-down, status, tool, track and progress bars).
#pragma once

#include "platform/user/UserTypes.h"

#include <string_view>

namespace korvex::user::comctl {

// Selects a font into a DC for a scope.
class FontScope {
public:
    FontScope(HDC dc, HFONT font);
    ~FontScope();
    FontScope(const FontScope&) = delete;
    FontScope& operator=(const FontScope&) = delete;

private:
    HDC FDc;
    HFONT FOld;
};

void FillSys(HDC dc, const RECT& rect, int colorIndex);
void FillColor(HDC dc, const RECT& rect, COLORREF color);
// A one-pixel line from (x1, y1) to (x2, y2) in a system colour (the last point not drawn).
void LineSys(HDC dc, int x1, int y1, int x2, int y2, int colorIndex);
SIZE TextSize(HDC dc, std::string_view text);
// Metrics of a control's font, measured on the window's DC.
int FontHeight(HWND hwnd, HFONT font);   // the cell height
SIZE TextSizeFor(HWND hwnd, HFONT font, std::string_view text);
// DrawText in the text colour given, transparent background; disabled: the embossed grey look.
void DrawLabel(HDC dc, std::string_view text, RECT rect, UINT format, COLORREF color, bool enabled = true);

// Clamps a 64-bit value into int.
int ClampToInt(long long value);

}

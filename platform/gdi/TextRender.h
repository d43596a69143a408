// Internal: painting glyph runs and measuring text for TextOut, ExtTextOut and DrawText.
#pragma once

#include "platform/gdi/FontEngine.h"
#include "platform/gdi/Raster.h"

#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace korvex::gdi {

std::shared_ptr<const FontInstance> FontOfDc(HDC dc);   // the selected font, realised; nullptr if none

// Blends a run's coverage in `color` with its baseline origin at a surface point, clipped to the target
// and, when given, to `clip` (surface coordinates).
void PaintRun(const RasterTarget& target, const FontInstance& font, POINT origin, std::string_view text,
    std::span<const int> dx, COLORREF color, const RECT* clip);

// Fills a (possibly turned) text cell: w x h in the run's axes from the cell's top-left corner at `corner`.
void FillCell(const RasterTarget& target, const FontInstance& font, POINT corner, int width, int height, COLORREF color,
    const RECT* clip);

// Turns a vector in the run's axes (x along the baseline, y down) by the font's escapement.
POINT TurnByEscapement(const FontInstance& font, int x, int y);

}

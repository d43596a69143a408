// Shape geometry shared by the filled shapes and the shaped regions: one horizontal span per row.
#pragma once

#include "platform/gdi/Region.h"

#include <vector>

namespace korvex::gdi {

struct Span {
    int left = 0;   // inclusive
    int right = 0;   // exclusive; left >= right is an empty row
    bool Empty() const { return left >= right; }
};

// One span per row of the box (rows box.top .. box.bottom - 1), or of the rows rowFrom .. rowTo - 1 only
// (rows outside the box are empty), so huge shapes cost only the rows that can be seen.
// Ellipse: pixels whose centres lie inside the ellipse inscribed in the box; every row of the box has at least
// one pixel, so the shape touches all four sides.
Span EllipseRow(const RECT& box, int y);
std::vector<Span> EllipseSpans(const RECT& box);
std::vector<Span> EllipseSpans(const RECT& box, int rowFrom, int rowTo);
// A rectangle whose corners are quarters of a cornerWidth x cornerHeight ellipse (clamped to the box).
std::vector<Span> RoundRectSpans(const RECT& box, int cornerWidth, int cornerHeight);
std::vector<Span> RoundRectSpans(const RECT& box, int cornerWidth, int cornerHeight, int rowFrom, int rowTo);
// The full rectangle.
std::vector<Span> RectSpans(const RECT& box);
std::vector<Span> RectSpans(const RECT& box, int rowFrom, int rowTo);

// The shape without its outer ring of pixels (a pixel stays when all four neighbours are in the shape).
std::vector<Span> Erode(const std::vector<Span>& spans);

// The pixels of `outer` not in `inner` for one row: up to two pieces.
void SubtractSpan(const Span& outer, const Span& inner, Span pieces[2], int& count);

BandedRegion SpansToRegion(const std::vector<Span>& spans, int top);

}

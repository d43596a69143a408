// Internal: stroking line segments with a pen (width, dash style, raster operation) into a raster target.
#pragma once

#include "platform/gdi/Raster.h"

namespace korvex::gdi {

struct PenStroke {
    COLORREF Color = 0;
    int Style = PS_SOLID;
    int Width = 1;
    COLORREF GapColor = 0;   // styled pens in OPAQUE background mode
    bool FillGaps = false;
    int Rop2 = R2_COPYPEN;
    bool Null() const { return Style == PS_NULL; }
};

PenStroke PenOf(HDC dc);   // the DC's selected pen, background and ROP2

// Strokes connected segments; the dash pattern runs on across segments.
class Stroker {
public:
    Stroker(const RasterTarget& target, const PenStroke& pen)
        : FTarget(target)
        , FPen(pen) { }

    // Surface coordinates. Width 1: a Bresenham line without its end point unless drawLast.
    // Wider pens: the segment with round ends (both ends drawn).
    void Segment(POINT from, POINT to, bool drawLast = false);

private:
    void Dot(int x, int y);
    void WideSegment(POINT from, POINT to);

    RasterTarget FTarget;
    PenStroke FPen;
    int FStep = 0;   // position in the dash pattern
};

}

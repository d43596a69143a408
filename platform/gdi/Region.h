// Regions: sorted y-x banded rectangle lists, the region GDI object and the Windows region calls.
#pragma once

#include "platform/gdi/GdiObject.h"

#include <span>
#include <vector>

namespace korvex::gdi {

// A set of pixels as non-overlapping rectangles sorted by top, then left. Rectangles of one band share
// top and bottom, touching rectangles in a band are merged, and equal neighbouring bands are joined, so
// two equal pixel sets have equal rectangle lists.
class BandedRegion {
public:
    BandedRegion() = default;
    explicit BandedRegion(const RECT& rect);   // an empty rect gives the empty region

    static BandedRegion FromRects(std::span<const RECT> rects);   // union of any rectangles (empty ones ignored)

    const std::vector<RECT>& Rects() const { return FRects; }
    const RECT& Box() const { return FBox; }   // (0,0,0,0) when empty
    bool IsEmpty() const { return FRects.empty(); }
    int Complexity() const;   // NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION

    bool Contains(int x, int y) const;
    bool Intersects(const RECT& rect) const;   // shares at least one pixel
    bool ContainsRect(const RECT& rect) const;   // covers every pixel of a non-empty rect

    void Offset(int dx, int dy);
    void Clear();

    // Boolean operations (RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF); RGN_COPY gives a.
    static BandedRegion Combine(const BandedRegion& a, const BandedRegion& b, int mode);
    BandedRegion Intersect(const RECT& rect) const;

    // Rectangles of the band containing row y, or an empty span.
    std::span<const RECT> RowRects(int y) const;

    friend bool operator==(const BandedRegion& a, const BandedRegion& b) { return a.FRects == b.FRects; }

private:
    static BandedRegion CombineWithRect(const BandedRegion& a, const RECT& r, int mode);   // RGN_AND or RGN_DIFF
    void UpdateBox();

    std::vector<RECT> FRects;
    RECT FBox {};
};

class Region final : public GdiObject {
public:
    static constexpr ObjectKind StaticKind = ObjectKind::Region;

    Region()
        : GdiObject(ObjectKind::Region) { }
    explicit Region(BandedRegion shape)
        : GdiObject(ObjectKind::Region)
        , FShape(std::move(shape)) { }

    const BandedRegion& Shape() const { return FShape; }
    BandedRegion& Shape() { return FShape; }

private:
    BandedRegion FShape;
};

// Creation; nullptr only when memory is short. Inverted rectangles are normalised as Windows does.
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int widthEllipse, int heightEllipse);
HRGN CreateRgnFromRects(std::span<const RECT> rects);   // union of many rectangles in one step
HRGN CreateRegion(const BandedRegion& shape);

bool SetRectRgn(HRGN region, int left, int top, int right, int bottom);
// dest := src1 op src2 (src2 unused for RGN_COPY); dest may be one of the sources. ERROR on a bad handle.
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
int GetRgnBox(HRGN region, RECT* box);
bool PtInRegion(HRGN region, int x, int y);
bool RectInRegion(HRGN region, const RECT* rect);
bool EqualRgn(HRGN a, HRGN b);
// Rectangles of the region; empty for a bad handle.
std::vector<RECT> GetRegionRects(HRGN region);

}

// Banded regions: construction, boolean operations, tests, and the Windows region calls on top of them.
#include "platform/gdi/Region.h"

#include "platform/gdi/Shapes.h"

#include <algorithm>
#include <new>

namespace korvex::gdi {

namespace {

struct Interval {
    int left;
    int right;
    friend bool operator==(const Interval&, const Interval&) = default;
};

// Builds a banded rectangle list band by band, joining a band to the previous one when their intervals match.
class BandBuilder {
public:
    explicit BandBuilder(std::vector<RECT>& out)
        : FOut(out) { }

    void AddBand(int top, int bottom, const std::vector<Interval>& xs) {
        if (xs.empty() || top >= bottom) return;
        if (FPrevBottom == top && SameAsPrevious(xs)) {
            for (size_t i = FPrevStart; i < FOut.size(); ++i)
                FOut[i].bottom = bottom;
            FPrevBottom = bottom;
            return;
        }
        FPrevStart = FOut.size();
        for (const Interval& x : xs)
            FOut.push_back(RECT {x.left, top, x.right, bottom});
        FPrevBottom = bottom;
    }

    // Appends whole bands of a canonical list as they are; none of them can join its predecessor.
    void AddBandsAsIs(std::span<const RECT> rects) {
        if (rects.empty()) return;
        FOut.insert(FOut.end(), rects.begin(), rects.end());
        FPrevStart = FOut.size() - 1;
        while (FPrevStart > 0 && FOut[FPrevStart - 1].top == FOut.back().top)
            --FPrevStart;
        FPrevBottom = FOut.back().bottom;
    }

private:
    bool SameAsPrevious(const std::vector<Interval>& xs) const {
        if (FOut.size() - FPrevStart != xs.size()) return false;
        for (size_t i = 0; i < xs.size(); ++i)
            if (FOut[FPrevStart + i].left != xs[i].left || FOut[FPrevStart + i].right != xs[i].right) return false;
        return true;
    }

    std::vector<RECT>& FOut;
    size_t FPrevStart = 0;
    int FPrevBottom = INT32_MIN;
};

struct Band {
    int top;
    int bottom;
    size_t begin;
    size_t end;
};

std::vector<Band> BandsOf(const std::vector<RECT>& rects) {
    std::vector<Band> bands;
    for (size_t i = 0; i < rects.size();) {
        size_t j = i + 1;
        while (j < rects.size() && rects[j].top == rects[i].top)
            ++j;
        bands.push_back(Band {rects[i].top, rects[i].bottom, i, j});
        i = j;
    }
    return bands;
}

bool Apply(int mode, bool inA, bool inB) {
    switch (mode) {
    case RGN_AND:
        return inA && inB;
    case RGN_OR:
        return inA || inB;
    case RGN_XOR:
        return inA != inB;
    case RGN_DIFF:
        return inA && !inB;
    default:
        return inA;
    }
}

// Combines two sorted, disjoint interval lists (rectangles of one band each).
void CombineIntervals(std::span<const RECT> a, std::span<const RECT> b, int mode, std::vector<Interval>& out) {
    out.clear();
    size_t ia = 0;
    size_t ib = 0;
    int x = INT32_MIN;
    bool open = false;
    int openLeft = 0;
    while (ia < a.size() * 2 || ib < b.size() * 2) {
        // Next boundary of each list: even index = a rectangle's left, odd = its right.
        const int nextA = ia < a.size() * 2 ? (ia % 2 == 0 ? a[ia / 2].left : a[ia / 2].right) : INT32_MAX;
        const int nextB = ib < b.size() * 2 ? (ib % 2 == 0 ? b[ib / 2].left : b[ib / 2].right) : INT32_MAX;
        x = std::min(nextA, nextB);
        if (nextA == x) ++ia;
        if (nextB == x) ++ib;
        const bool inA = ia % 2 == 1;
        const bool inB = ib % 2 == 1;
        const bool in = Apply(mode, inA, inB);
        if (in && !open) {
            open = true;
            openLeft = x;
        } else if (!in && open) {
            open = false;
            if (x > openLeft) {
                if (!out.empty() && out.back().right == openLeft)
                    out.back().right = x;
                else
                    out.push_back(Interval {openLeft, x});
            }
        }
    }
}

RECT Normalised(int left, int top, int right, int bottom) {
    return ClampedRect(std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom));
}

}

// ---------------------------------------------------------------------------------------------------------
// BandedRegion

BandedRegion::BandedRegion(const RECT& rect) {
    if (!IsRectEmpty(&rect)) {
        FRects.push_back(rect);
        FBox = rect;
    }
}

BandedRegion BandedRegion::FromRects(std::span<const RECT> rects) {
    std::vector<RECT> live;
    live.reserve(rects.size());
    for (const RECT& r : rects)
        if (!IsRectEmpty(&r)) live.push_back(r);
    BandedRegion result;
    if (live.empty()) return result;
    std::sort(live.begin(), live.end(), [](const RECT& a, const RECT& b) { return a.top < b.top; });
    std::vector<int> ys;
    ys.reserve(live.size() * 2);
    for (const RECT& r : live) {
        ys.push_back(r.top);
        ys.push_back(r.bottom);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    BandBuilder builder(result.FRects);
    std::vector<const RECT*> active;
    std::vector<Interval> xs;
    size_t next = 0;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        const int y0 = ys[k];
        const int y1 = ys[k + 1];
        std::erase_if(active, [y0](const RECT* r) { return r->bottom <= y0; });
        while (next < live.size() && live[next].top <= y0)
            active.push_back(&live[next++]);
        xs.clear();
        for (const RECT* r : active)
            xs.push_back(Interval {r->left, r->right});
        std::sort(xs.begin(), xs.end(), [](const Interval& a, const Interval& b) { return a.left < b.left; });
        std::vector<Interval> merged;
        for (const Interval& x : xs) {
            if (!merged.empty() && x.left <= merged.back().right)
                merged.back().right = std::max(merged.back().right, x.right);
            else
                merged.push_back(x);
        }
        builder.AddBand(y0, y1, merged);
    }
    result.UpdateBox();
    return result;
}

int BandedRegion::Complexity() const {
    if (FRects.empty()) return NULLREGION;
    return FRects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

std::span<const RECT> BandedRegion::RowRects(int y) const {
    auto it = std::partition_point(FRects.begin(), FRects.end(), [y](const RECT& r) { return r.bottom <= y; });
    if (it == FRects.end() || it->top > y) return {};
    auto end = it;
    while (end != FRects.end() && end->top == it->top)
        ++end;
    return std::span<const RECT>(&*it, size_t(end - it));
}

bool BandedRegion::Contains(int x, int y) const {
    for (const RECT& r : RowRects(y))
        if (x >= r.left && x < r.right) return true;
    return false;
}

bool BandedRegion::Intersects(const RECT& rect) const {
    if (IsRectEmpty(&rect) || FRects.empty()) return false;
    auto it
        = std::partition_point(FRects.begin(), FRects.end(), [&rect](const RECT& r) { return r.bottom <= rect.top; });
    for (; it != FRects.end() && it->top < rect.bottom; ++it)
        if (it->left < rect.right && it->right > rect.left) return true;
    return false;
}

bool BandedRegion::ContainsRect(const RECT& rect) const {
    if (IsRectEmpty(&rect)) return false;
    return Combine(BandedRegion(rect), *this, RGN_DIFF).IsEmpty();
}

void BandedRegion::Offset(int dx, int dy) {
    for (RECT& r : FRects)
        OffsetRect(&r, dx, dy);
    UpdateBox();
}

void BandedRegion::Clear() {
    FRects.clear();
    FBox = RECT {};
}

BandedRegion BandedRegion::Combine(const BandedRegion& a, const BandedRegion& b, int mode) {
    if (mode == RGN_COPY) return a;
    // Quick answers that skip the band walk.
    if (mode == RGN_AND && (a.IsEmpty() || b.IsEmpty())) return BandedRegion();
    if ((mode == RGN_OR || mode == RGN_XOR) && b.IsEmpty()) return a;
    if ((mode == RGN_OR || mode == RGN_XOR) && a.IsEmpty()) return b;
    if (mode == RGN_DIFF && (a.IsEmpty() || b.IsEmpty())) return a;
    // Clipping by one rectangle: only the bands its rows cross are worked on.
    if (b.FRects.size() == 1 && (mode == RGN_AND || mode == RGN_DIFF)) return CombineWithRect(a, b.FRects[0], mode);
    if (a.FRects.size() == 1 && mode == RGN_AND) return CombineWithRect(b, a.FRects[0], mode);

    const std::vector<Band> bandsA = BandsOf(a.FRects);
    const std::vector<Band> bandsB = BandsOf(b.FRects);
    std::vector<int> ys;
    ys.reserve((bandsA.size() + bandsB.size()) * 2);
    for (const Band& band : bandsA) {
        ys.push_back(band.top);
        ys.push_back(band.bottom);
    }
    for (const Band& band : bandsB) {
        ys.push_back(band.top);
        ys.push_back(band.bottom);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    BandedRegion result;
    BandBuilder builder(result.FRects);
    std::vector<Interval> xs;
    size_t ia = 0;
    size_t ib = 0;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        const int y0 = ys[k];
        const int y1 = ys[k + 1];
        while (ia < bandsA.size() && bandsA[ia].bottom <= y0)
            ++ia;
        while (ib < bandsB.size() && bandsB[ib].bottom <= y0)
            ++ib;
        std::span<const RECT> spanA;
        std::span<const RECT> spanB;
        if (ia < bandsA.size() && bandsA[ia].top <= y0)
            spanA = std::span<const RECT>(a.FRects.data() + bandsA[ia].begin, bandsA[ia].end - bandsA[ia].begin);
        if (ib < bandsB.size() && bandsB[ib].top <= y0)
            spanB = std::span<const RECT>(b.FRects.data() + bandsB[ib].begin, bandsB[ib].end - bandsB[ib].begin);
        if (spanA.empty() && spanB.empty()) continue;
        CombineIntervals(spanA, spanB, mode, xs);
        builder.AddBand(y0, y1, xs);
    }
    result.UpdateBox();
    return result;
}

BandedRegion BandedRegion::CombineWithRect(const BandedRegion& a, const RECT& r, int mode) {
    const std::vector<RECT>& in = a.FRects;
    const bool diff = mode == RGN_DIFF;
    BandedRegion result;
    BandBuilder builder(result.FRects);
    std::vector<Interval> xs;
    auto whole = [&xs](std::span<const RECT> band) -> const std::vector<Interval>& {
        xs.clear();
        for (const RECT& x : band)
            xs.push_back(Interval {x.left, x.right});
        return xs;
    };
    auto bandEnd = [&in](std::vector<RECT>::const_iterator it) {
        const int top = it->top;
        while (it != in.end() && it->top == top)
            ++it;
        return it;
    };
    auto it = std::partition_point(in.begin(), in.end(), [&r](const RECT& x) { return x.bottom <= r.top; });
    if (diff) builder.AddBandsAsIs(std::span<const RECT>(in.begin(), it));
    while (it != in.end() && it->top < r.bottom) {
        const auto end = bandEnd(it);
        const std::span<const RECT> band(it, end);
        const int top = it->top;
        const int bottom = it->bottom;
        if (diff && top < r.top) builder.AddBand(top, r.top, whole(band));
        xs.clear();
        for (const RECT& x : band) {
            if (!diff) {
                const int left = std::max(x.left, r.left);
                const int right = std::min(x.right, r.right);
                if (left < right) xs.push_back(Interval {left, right});
            } else if (x.right <= r.left || x.left >= r.right) {
                xs.push_back(Interval {x.left, x.right});
            } else {
                if (x.left < r.left) xs.push_back(Interval {x.left, r.left});
                if (x.right > r.right) xs.push_back(Interval {r.right, x.right});
            }
        }
        builder.AddBand(std::max(top, r.top), std::min(bottom, r.bottom), xs);
        if (diff && bottom > r.bottom) builder.AddBand(r.bottom, bottom, whole(band));
        it = end;
    }
    if (diff && it != in.end()) {
        // The first band below may join the last one changed; the bands after it stay as they were.
        const auto end = bandEnd(it);
        builder.AddBand(it->top, it->bottom, whole(std::span<const RECT>(it, end)));
        builder.AddBandsAsIs(std::span<const RECT>(end, in.end()));
    }
    result.UpdateBox();
    return result;
}

BandedRegion BandedRegion::Intersect(const RECT& rect) const {
    if (FRects.size() == 1) {
        RECT r;
        IntersectRect(&r, &FRects[0], &rect);
        return BandedRegion(r);
    }
    return Combine(*this, BandedRegion(rect), RGN_AND);
}

void BandedRegion::UpdateBox() {
    if (FRects.empty()) {
        FBox = RECT {};
        return;
    }
    FBox = RECT {FRects.front().left, FRects.front().top, FRects.front().right, FRects.back().bottom};
    for (const RECT& r : FRects) {
        FBox.left = std::min(FBox.left, r.left);
        FBox.right = std::max(FBox.right, r.right);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Windows calls

HRGN CreateRegion(const BandedRegion& shape) {
    return new (std::nothrow) Region(shape);
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return CreateRegion(BandedRegion(Normalised(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    if (!rect) return nullptr;
    return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

// Shaped regions are built row by row: taller ones are refused.
constexpr int MaxShapedRegionRows = 1 << 16;

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    const RECT box = Normalised(left, top, right, bottom);
    if (int64_t(box.bottom) - box.top > MaxShapedRegionRows) return nullptr;
    return CreateRegion(SpansToRegion(EllipseSpans(box), box.top));
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int widthEllipse, int heightEllipse) {
    const RECT box = Normalised(left, top, right, bottom);
    if (int64_t(box.bottom) - box.top > MaxShapedRegionRows) return nullptr;
    return CreateRegion(SpansToRegion(RoundRectSpans(box, widthEllipse, heightEllipse), box.top));
}

HRGN CreateRgnFromRects(std::span<const RECT> rects) {
    return CreateRegion(BandedRegion::FromRects(rects));
}

bool SetRectRgn(HRGN handle, int left, int top, int right, int bottom) {
    Region* region = ObjectCast<Region>(handle);
    if (!region) return false;
    region->Shape() = BandedRegion(Normalised(left, top, right, bottom));
    return true;
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
    Region* d = ObjectCast<Region>(dest);
    Region* a = ObjectCast<Region>(src1);
    Region* b = ObjectCast<Region>(src2);
    if (!d || !a || mode < RGN_AND || mode > RGN_COPY || (mode != RGN_COPY && !b)) return ERROR;
    BandedRegion result = BandedRegion::Combine(a->Shape(), mode == RGN_COPY ? a->Shape() : b->Shape(), mode);
    d->Shape() = std::move(result);
    return d->Shape().Complexity();
}

int OffsetRgn(HRGN handle, int dx, int dy) {
    Region* region = ObjectCast<Region>(handle);
    if (!region) return ERROR;
    region->Shape().Offset(dx, dy);
    return region->Shape().Complexity();
}

int GetRgnBox(HRGN handle, RECT* box) {
    Region* region = ObjectCast<Region>(handle);
    if (!region || !box) return ERROR;
    *box = region->Shape().Box();
    return region->Shape().Complexity();
}

bool PtInRegion(HRGN handle, int x, int y) {
    Region* region = ObjectCast<Region>(handle);
    return region && region->Shape().Contains(x, y);
}

bool RectInRegion(HRGN handle, const RECT* rect) {
    Region* region = ObjectCast<Region>(handle);
    if (!region || !rect) return false;
    return region->Shape().Intersects(Normalised(rect->left, rect->top, rect->right, rect->bottom));
}

bool EqualRgn(HRGN a, HRGN b) {
    Region* ra = ObjectCast<Region>(a);
    Region* rb = ObjectCast<Region>(b);
    return ra && rb && ra->Shape() == rb->Shape();
}

std::vector<RECT> GetRegionRects(HRGN handle) {
    Region* region = ObjectCast<Region>(handle);
    return region ? region->Shape().Rects() : std::vector<RECT> {};
}

}

// Filled shapes: Rectangle, RoundRect, Ellipse, Arc, Pie, Chord and Polygon.
#include "platform/gdi/Drawing.h"

#include "platform/gdi/Recording.h"
#include "platform/gdi/Stroke.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace korvex::gdi {

namespace {

using SpanMaker = std::function<std::vector<Span>(const RECT&, int, int)>;

struct ShapeSpans {
    int Top = 0;
    std::vector<Span> Outer;   // everything the shape covers
    std::vector<Span> Inner;   // the brush's part; Outer minus Inner is the pen's
};

RECT NormalBox(int left, int top, int right, int bottom) {
    return RECT {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

// The covered spans for a surface box with the DC's pen: a null pen leaves the right and bottom edge out,
// a wide pen is centred on the outline unless it is PS_INSIDEFRAME.
// Only rows near `view` (the clip box) are made: a margin of the pen's width keeps the outline of the first
// and last rows made from being mistaken for the shape's edge.
ShapeSpans BuildShape(RECT box, const PenStroke& pen, const SpanMaker& make, const RECT& view) {
    ShapeSpans shape;
    const int margin = pen.Null() ? 1 : pen.Width + 1;
    auto window = [&](const RECT& b) {
        shape.Top = std::max(int(b.top), int(view.top) - margin);
        const int bottom = std::min(int(b.bottom), int(view.bottom) + margin);
        shape.Outer = make(b, shape.Top, std::max(bottom, shape.Top));
        shape.Inner = shape.Outer;
    };
    if (pen.Null()) {
        --box.right;
        --box.bottom;
        window(box);
        return shape;
    }
    if (pen.Width > 1 && pen.Style != PS_INSIDEFRAME) {
        box.left -= pen.Width / 2;
        box.top -= pen.Width / 2;
        box.right += (pen.Width - 1) / 2;
        box.bottom += (pen.Width - 1) / 2;
    }
    window(box);
    for (int i = 0; i < pen.Width; ++i)
        shape.Inner = Erode(shape.Inner);
    return shape;
}

const Brush* FillBrush(HDC dc) {
    const Brush* brush = dc->State().Brush;
    return brush && !brush->IsNull() ? brush : nullptr;
}

// Fills Inner with the brush and paints the ring with the pen, each pixel passing `keep` (all when empty).
void PaintShape(HDC dc, const ShapeSpans& shape, bool fill, const std::function<bool(int, int)>& keepFill,
    const std::function<bool(int, int)>& keepRing) {
    const RasterTarget target = TargetOf(dc);
    if (!target) return;
    const PenStroke pen = PenOf(dc);
    const int rop2 = dc->State().Rop2;
    const Brush* brush = FillBrush(dc);
    const RECT& view = target.Clip->Box();
    auto visible = [&view](Span s) {
        return Span {std::max(s.left, int(view.left)), std::min(s.right, int(view.right))};
    };
    for (size_t i = 0; i < shape.Outer.size(); ++i) {
        const int y = shape.Top + int(i);
        const Span& inner = shape.Inner[i];
        if (fill && brush && !inner.Empty()) {
            if (!keepFill) {
                FillSpan(target, y, inner.left, inner.right, brush->Color(), rop2);
            } else {
                const Span v = visible(inner);
                for (int x = v.left; x < v.right; ++x)
                    if (keepFill(x, y)) PlotPixel(target, x, y, brush->Color(), rop2);
            }
        }
        if (pen.Null()) continue;
        Span pieces[2];
        int count = 0;
        SubtractSpan(shape.Outer[i], inner, pieces, count);
        for (int k = 0; k < count; ++k) {
            if (!keepRing) {
                FillSpan(target, y, pieces[k].left, pieces[k].right, pen.Color, pen.Rop2);
                continue;
            }
            const Span v = visible(pieces[k]);
            for (int x = v.left; x < v.right; ++x)
                if (keepRing(x, y)) PlotPixel(target, x, y, pen.Color, pen.Rop2);
        }
    }
}

bool SimpleShape(HDC dc, DrawKind kind, int left, int top, int right, int bottom, const SpanMaker& make) {
    if (!IsValidDC(dc)) return false;
    const RECT box = NormalBox(left, top, right, bottom);
    if (IsRectEmpty(&box)) return false;
    if (!RecordCall(dc, MakeCall(kind, box))) return true;
    const RasterTarget target = TargetOf(dc);
    if (!target) return true;
    PaintShape(dc, BuildShape(dc->ToSurface(box), PenOf(dc), make, target.Clip->Box()), true, nullptr, nullptr);
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Arcs

constexpr double TwoPi = 2 * std::numbers::pi;

struct ArcGeometry {
    double Cx = 0;
    double Cy = 0;
    double Start = 0;   // radians, counter-clockwise on the screen (y up)
    double Sweep = TwoPi;
    POINT StartPoint {};   // where the radials meet the ellipse (surface)
    POINT EndPoint {};

    double AngleOf(double x, double y) const { return std::atan2(-(y - Cy), x - Cx); }
    bool InSweep(int x, int y) const {
        if (Sweep >= TwoPi) return true;
        if (x == std::lround(Cx) && y == std::lround(Cy)) return true;
        double d = std::fmod(AngleOf(x, y) - Start, TwoPi);
        if (d < 0) d += TwoPi;
        return d <= Sweep + 1e-9;
    }
};

POINT OnEllipse(double cx, double cy, double a, double b, double dx, double dy) {
    const double len = std::sqrt((dx * dx) / (a * a) + (dy * dy) / (b * b));
    if (len == 0) return POINT {LONG(std::lround(cx + a)), LONG(std::lround(cy))};
    return POINT {LONG(std::lround(cx + dx / len)), LONG(std::lround(cy + dy / len))};
}

ArcGeometry MakeArc(const RECT& box, POINT start, POINT end) {
    ArcGeometry g;
    g.Cx = box.left + (box.right - box.left - 1) / 2.0;
    g.Cy = box.top + (box.bottom - box.top - 1) / 2.0;
    const double a = std::max((box.right - box.left - 1) / 2.0, 0.5);
    const double b = std::max((box.bottom - box.top - 1) / 2.0, 0.5);
    g.Start = g.AngleOf(start.x, start.y);
    const double stop = g.AngleOf(end.x, end.y);
    double sweep = std::fmod(stop - g.Start, TwoPi);
    if (sweep < 0) sweep += TwoPi;
    g.Sweep = sweep == 0 ? TwoPi : sweep;
    g.StartPoint = OnEllipse(g.Cx, g.Cy, a, b, start.x - g.Cx, start.y - g.Cy);
    g.EndPoint = OnEllipse(g.Cx, g.Cy, a, b, end.x - g.Cx, end.y - g.Cy);
    return g;
}

enum class ArcKind { Arc, Pie, Chord };

bool ArcShape(HDC dc, ArcKind kind, int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) {
    if (!IsValidDC(dc)) return false;
    const RECT box = NormalBox(left, top, right, bottom);
    if (IsRectEmpty(&box)) return false;
    const DrawKind drawKind = kind == ArcKind::Arc ? DrawKind::Arc
        : kind == ArcKind::Pie                     ? DrawKind::Pie
                                                   : DrawKind::Chord;
    if (!RecordCall(dc, MakeCall(drawKind, box, {POINT {xs, ys}, POINT {xe, ye}}))) return true;
    const RECT sbox = dc->ToSurface(box);
    const ArcGeometry g = MakeArc(sbox, dc->ToSurface(xs, ys), dc->ToSurface(xe, ye));
    PenStroke pen = PenOf(dc);
    if (kind == ArcKind::Arc && pen.Null()) return true;
    const RasterTarget target = TargetOf(dc);
    if (!target) return true;
    const ShapeSpans shape = BuildShape(
        sbox, pen, [](const RECT& r, int from, int to) { return EllipseSpans(r, from, to); }, target.Clip->Box());
    auto ring = [&g](int x, int y) { return g.InSweep(x, y); };
    if (kind == ArcKind::Arc) {
        PaintShape(dc, shape, false, nullptr, ring);
        return true;
    }
    if (kind == ArcKind::Pie) {
        PaintShape(dc, shape, true, ring, ring);
    } else {
        // The chord's side: the side of the line from the start point to the end point where the arc is.
        const double ax = g.StartPoint.x, ay = g.StartPoint.y, bx = g.EndPoint.x, by = g.EndPoint.y;
        auto cross = [=](double x, double y) { return (bx - ax) * (y - ay) - (by - ay) * (x - ax); };
        const double mid = g.Start + g.Sweep / 2;
        const double arcSide = cross(g.Cx + std::cos(mid) * 100.0, g.Cy - std::sin(mid) * 100.0);
        auto chordFill = [=](int x, int y) {
            const double c = cross(x, y);
            return g.Sweep >= TwoPi || c == 0 || (c > 0) == (arcSide > 0);
        };
        PaintShape(dc, shape, true, chordFill, ring);
    }
    if (pen.Null() || g.Sweep >= TwoPi) return true;
    Stroker stroker(TargetOf(dc), pen);
    if (kind == ArcKind::Pie) {
        const POINT centre {LONG(std::lround(g.Cx)), LONG(std::lround(g.Cy))};
        stroker.Segment(centre, g.StartPoint, true);
        stroker.Segment(centre, g.EndPoint, true);
    } else {
        stroker.Segment(g.StartPoint, g.EndPoint, true);
    }
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Polygons: pixel (x, y) is inside when the point (x, y) is; edges follow the half-open top-left rule.

// Rows outside rowFrom .. rowTo - 1 are not made.
std::vector<std::vector<Span>> PolygonRows(
    const std::vector<POINT>& pts, int fillMode, int& top, int rowFrom, int rowTo) {
    int minY = pts[0].y;
    int maxY = pts[0].y;
    for (const POINT& p : pts) {
        minY = std::min(minY, int(p.y));
        maxY = std::max(maxY, int(p.y));
    }
    minY = std::max(minY, rowFrom);
    maxY = std::max(minY, std::min(maxY, rowTo));
    top = minY;
    std::vector<std::vector<Span>> rows(size_t(std::max(maxY - minY, 0)));
    struct Cross {
        double X;
        int Dir;
    };
    std::vector<Cross> crossings;
    for (int y = minY; y < maxY; ++y) {
        crossings.clear();
        for (size_t i = 0; i < pts.size(); ++i) {
            const POINT& a = pts[i];
            const POINT& b = pts[(i + 1) % pts.size()];
            if (a.y == b.y) continue;
            const bool down = b.y > a.y;
            const POINT& lo = down ? a : b;
            const POINT& hi = down ? b : a;
            if (y < lo.y || y >= hi.y) continue;
            const double x = lo.x + double(y - lo.y) * (hi.x - lo.x) / double(hi.y - lo.y);
            crossings.push_back(Cross {x, down ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(), [](const Cross& l, const Cross& r) { return l.X < r.X; });
        std::vector<Span>& row = rows[size_t(y - minY)];
        int winding = 0;
        for (size_t k = 0; k + 1 < crossings.size(); ++k) {
            winding += crossings[k].Dir;
            const bool inside = fillMode == WINDING ? winding != 0 : k % 2 == 0;
            if (!inside) continue;
            const int x0 = int(std::ceil(crossings[k].X));
            const int x1 = int(std::ceil(crossings[k + 1].X));
            if (x0 < x1) row.push_back(Span {x0, x1});
        }
    }
    return rows;
}

}

bool Rectangle(HDC dc, int left, int top, int right, int bottom) {
    return SimpleShape(dc, DrawKind::Rectangle, left, top, right, bottom,
        [](const RECT& r, int from, int to) { return RectSpans(r, from, to); });
}

bool RoundRect(HDC dc, int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
    return SimpleShape(dc, DrawKind::RoundRect, left, top, right, bottom,
        [=](const RECT& r, int from, int to) { return RoundRectSpans(r, cornerWidth, cornerHeight, from, to); });
}

bool Ellipse(HDC dc, int left, int top, int right, int bottom) {
    return SimpleShape(dc, DrawKind::Ellipse, left, top, right, bottom,
        [](const RECT& r, int from, int to) { return EllipseSpans(r, from, to); });
}

bool Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    return ArcShape(dc, ArcKind::Arc, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

bool Pie(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    return ArcShape(dc, ArcKind::Pie, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

bool Chord(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    return ArcShape(dc, ArcKind::Chord, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

bool Polygon(HDC dc, const POINT* points, int count) {
    if (!IsValidDC(dc) || !points || count < 2) return false;
    RECT box = ClampedRect(points[0].x, points[0].y, int64_t(points[0].x) + 1, int64_t(points[0].y) + 1);
    std::vector<POINT> pts;
    pts.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        box = RECT {std::min(box.left, points[i].x), std::min(box.top, points[i].y),
            std::max(box.right, ClampCoord(int64_t(points[i].x) + 1)),
            std::max(box.bottom, ClampCoord(int64_t(points[i].y) + 1))};
        pts.push_back(dc->ToSurface(points[i].x, points[i].y));
    }
    if (!RecordCall(dc, MakeCall(DrawKind::Polygon, box, {points, points + count}))) return true;
    const RasterTarget target = TargetOf(dc);
    if (!target) return true;
    if (const Brush* brush = FillBrush(dc)) {
        int top = 0;
        const RECT& view = target.Clip->Box();
        const auto rows = PolygonRows(pts, dc->State().PolyFillMode, top, view.top, view.bottom);
        for (size_t i = 0; i < rows.size(); ++i)
            for (const Span& s : rows[i])
                FillSpan(target, top + int(i), s.left, s.right, brush->Color(), dc->State().Rop2);
    }
    const PenStroke pen = PenOf(dc);
    if (!pen.Null()) {
        Stroker stroker(target, pen);
        for (size_t i = 0; i < pts.size(); ++i)
            stroker.Segment(pts[i], pts[(i + 1) % pts.size()]);
    }
    return true;
}

}

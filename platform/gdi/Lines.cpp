// Lines: pens, the current position, MoveToEx, LineTo and Polyline.
#include "platform/gdi/Drawing.h"

#include "platform/gdi/Recording.h"
#include "platform/gdi/Stroke.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace korvex::gdi {

namespace {

// Dash patterns of cosmetic pens: on, off, on, off ... lengths in pixels.
struct DashPattern {
    int Count;
    int Lengths[6];
};

constexpr DashPattern DashOf(int style) {
    switch (style) {
    case PS_DASH:
        return {2, {18, 6}};
    case PS_DOT:
        return {2, {3, 3}};
    case PS_DASHDOT:
        return {4, {9, 6, 3, 6}};
    case PS_DASHDOTDOT:
        return {6, {9, 3, 3, 3, 3, 3}};
    default:
        return {0, {}};
    }
}

// True when step `step` of the pattern is a drawn pixel.
bool DashOn(const DashPattern& pattern, int step) {
    int total = 0;
    for (int i = 0; i < pattern.Count; ++i)
        total += pattern.Lengths[i];
    int pos = step % total;
    for (int i = 0; i < pattern.Count; ++i) {
        if (pos < pattern.Lengths[i]) return i % 2 == 0;
        pos -= pattern.Lengths[i];
    }
    return true;
}

// Walks the line's points from `from` to `to` (Bresenham), calling visit(x, y, last) for each; last is true for
// `to`, the final call.
template <class Visit>
void WalkLine(POINT from, POINT to, Visit&& visit) {
    int x = from.x;
    int y = from.y;
    const int dx = std::abs(to.x - from.x);
    const int dy = -std::abs(to.y - from.y);
    const int sx = from.x < to.x ? 1 : -1;
    const int sy = from.y < to.y ? 1 : -1;
    int err = dx + dy;
    while (true) {
        const bool last = x == to.x && y == to.y;
        visit(x, y, last);
        if (last) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

}

PenStroke PenOf(HDC dc) {
    PenStroke stroke;
    const DcState& state = dc->State();
    if (!state.Pen) {
        stroke.Style = PS_NULL;
        return stroke;
    }
    stroke.Color = state.Pen->Color();
    stroke.Style = state.Pen->Style();
    stroke.Width = state.Pen->Width();
    stroke.Rop2 = state.Rop2;
    stroke.FillGaps = state.BkMode == OPAQUE;
    stroke.GapColor = state.BkColor;
    // Styles apply to one-pixel pens only, as for cosmetic pens.
    if (stroke.Width > 1 && stroke.Style >= PS_DASH && stroke.Style <= PS_DASHDOTDOT) stroke.Style = PS_SOLID;
    return stroke;
}

void Stroker::Dot(int x, int y) {
    const DashPattern pattern = DashOf(FPen.Style);
    if (pattern.Count == 0) {
        PlotPixel(FTarget, x, y, FPen.Color, FPen.Rop2);
        return;
    }
    if (DashOn(pattern, FStep++))
        PlotPixel(FTarget, x, y, FPen.Color, FPen.Rop2);
    else if (FPen.FillGaps)
        PlotPixel(FTarget, x, y, FPen.GapColor, FPen.Rop2);
}

// Cuts a segment to a box (Liang-Barsky); false when it misses the box. Long lines reaching far outside the
// clip are shortened this way before they are walked pixel by pixel.
static bool ClipSegment(POINT& from, POINT& to, const RECT& box) {
    const double x0 = from.x, y0 = from.y;
    const double dx = double(to.x) - from.x, dy = double(to.y) - from.y;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - box.left, box.right - 1 - x0, y0 - box.top, box.bottom - 1 - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const POINT a {LONG(std::lround(x0 + t0 * dx)), LONG(std::lround(y0 + t0 * dy))};
    const POINT b {LONG(std::lround(x0 + t1 * dx)), LONG(std::lround(y0 + t1 * dy))};
    from = a;
    to = b;
    return true;
}

void Stroker::Segment(POINT from, POINT to, bool drawLast) {
    if (FPen.Null() || !FTarget) return;
    RECT view = FTarget.Clip->Box();
    InflateRect(&view, FPen.Width + 2, FPen.Width + 2);
    if (!PtInRect(&view, from) || !PtInRect(&view, to)) {
        const POINT end = to;
        if (!ClipSegment(from, to, view)) return;
        // A cut end lies outside the clip anyway: draw up to it.
        if (!(to == end)) drawLast = true;
    }
    if (FPen.Width > 1) {
        WideSegment(from, to);
        return;
    }
    // Horizontal solid runs are the common case (frames, underlines): fill them as spans.
    if (from.y == to.y && DashOf(FPen.Style).Count == 0) {
        int x0 = std::min(from.x, to.x);
        int x1 = std::max(from.x, to.x);
        if (to.x > from.x && !drawLast) --x1;
        if (to.x < from.x && !drawLast) ++x0;
        if (from.x == to.x && !drawLast) return;
        FillSpan(FTarget, from.y, x0, x1 + 1, FPen.Color, FPen.Rop2);
        return;
    }
    WalkLine(from, to, [&](int x, int y, bool last) {
        if (!last || drawLast) Dot(x, y);
    });
}

void Stroker::WideSegment(POINT from, POINT to) {
    // A round pen swept along the line: the union of discs is convex, so each row is one span.
    const int w = FPen.Width;
    const int r = w / 2;
    const std::vector<Span> disc = EllipseSpans(RECT {-r, -r, -r + w, -r + w});
    const int top = std::min(from.y, to.y) - r;
    const int bottom = std::max(from.y, to.y) - r + w;
    std::vector<Span> rows(size_t(bottom - top), Span {INT32_MAX, INT32_MIN});
    WalkLine(from, to, [&](int x, int y, bool) {
        for (size_t i = 0; i < disc.size(); ++i) {
            Span& row = rows[size_t(y - r + int(i) - top)];
            row.left = std::min(row.left, x + disc[i].left);
            row.right = std::max(row.right, x + disc[i].right);
        }
    });
    FillSpans(FTarget, top, rows, FPen.Color, FPen.Rop2);
}

// ---------------------------------------------------------------------------------------------------------

bool MoveToEx(HDC dc, int x, int y, POINT* previous) {
    if (!IsValidDC(dc)) return false;
    POINT& pos = dc->MutableState().CurrentPos;
    if (previous) *previous = pos;
    pos = POINT {x, y};
    return true;
}

bool GetCurrentPositionEx(HDC dc, POINT* position) {
    if (!IsValidDC(dc) || !position) return false;
    *position = dc->State().CurrentPos;
    return true;
}

bool LineTo(HDC dc, int x, int y) {
    if (!IsValidDC(dc)) return false;
    const POINT from = dc->State().CurrentPos;
    dc->MutableState().CurrentPos = POINT {x, y};
    const RECT box = ClampedRect(
        std::min(from.x, x), std::min(from.y, y), int64_t(std::max(from.x, x)) + 1, int64_t(std::max(from.y, y)) + 1);
    if (!RecordCall(dc, MakeCall(DrawKind::LineTo, box, {from, POINT {x, y}}))) return true;
    Stroker stroker(TargetOf(dc), PenOf(dc));
    stroker.Segment(dc->ToSurface(from.x, from.y), dc->ToSurface(x, y));
    return true;
}

namespace {

RECT BoundsOf(const POINT* points, int count) {
    RECT box = ClampedRect(points[0].x, points[0].y, int64_t(points[0].x) + 1, int64_t(points[0].y) + 1);
    for (int i = 1; i < count; ++i) {
        box.left = std::min(box.left, points[i].x);
        box.top = std::min(box.top, points[i].y);
        box.right = std::max(box.right, ClampCoord(int64_t(points[i].x) + 1));
        box.bottom = std::max(box.bottom, ClampCoord(int64_t(points[i].y) + 1));
    }
    return box;
}

}

bool Polyline(HDC dc, const POINT* points, int count) {
    if (!IsValidDC(dc) || !points || count < 2) return false;
    if (!RecordCall(dc, MakeCall(DrawKind::Polyline, BoundsOf(points, count), {points, points + count}))) return true;
    Stroker stroker(TargetOf(dc), PenOf(dc));
    for (int i = 0; i + 1 < count; ++i)
        stroker.Segment(dc->ToSurface(points[i].x, points[i].y), dc->ToSurface(points[i + 1].x, points[i + 1].y));
    return true;
}

bool PolylineTo(HDC dc, const POINT* points, int count) {
    if (!IsValidDC(dc) || !points || count < 1) return false;
    for (int i = 0; i < count; ++i)
        LineTo(dc, points[i].x, points[i].y);
    return true;
}

}

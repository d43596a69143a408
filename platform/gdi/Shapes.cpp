// Span geometry of ellipses, rounded rectangles and their outlines.
#include "platform/gdi/Shapes.h"

#include <algorithm>
#include <cmath>

namespace korvex::gdi {

std::vector<Span> EllipseSpans(const RECT& box) {
    std::vector<Span> spans;
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    if (w <= 0 || h <= 0) return spans;
    spans.resize(size_t(h));
    const double a = w / 2.0;
    const double b = h / 2.0;
    // Centre in pixel-centre coordinates: the pixel x has its centre at x.
    const double cx = box.left + (w - 1) / 2.0;
    const double cy = box.top + (h - 1) / 2.0;
    for (int row = 0; row < h; ++row) {
        const double t = (box.top + row - cy) / b;
        double half = t * t < 1.0 ? a * std::sqrt(1.0 - t * t) : 0.0;
        half = std::max(half, 0.5);
        const int left = int(std::ceil(cx - half));
        const int right = int(std::floor(cx + half)) + 1;
        spans[size_t(row)] = Span {std::max(left, int(box.left)), std::min(right, int(box.right))};
    }
    return spans;
}

std::vector<Span> RectSpans(const RECT& box) {
    std::vector<Span> spans;
    if (IsRectEmpty(&box)) return spans;
    spans.assign(size_t(box.bottom - box.top), Span {box.left, box.right});
    return spans;
}

std::vector<Span> RoundRectSpans(const RECT& box, int cornerWidth, int cornerHeight) {
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    if (w <= 0 || h <= 0) return {};
    cornerWidth = std::clamp(cornerWidth, 0, w);
    cornerHeight = std::clamp(cornerHeight, 0, h);
    if (cornerWidth < 2 || cornerHeight < 2) return RectSpans(box);
    const std::vector<Span> corner = EllipseSpans(RECT {0, 0, cornerWidth, cornerHeight});
    std::vector<Span> spans = RectSpans(box);
    const int upper = (cornerHeight + 1) / 2;   // rows of the top corner half, the middle row included
    for (int row = 0; row < upper; ++row) {
        const Span& c = corner[size_t(row)];
        const int inset = c.left;   // left inset of the corner ellipse at this row
        const int insetRight = cornerWidth - c.right;
        spans[size_t(row)] = Span {box.left + inset, box.right - insetRight};
        const Span& cb = corner[size_t(cornerHeight - 1 - row)];
        spans[size_t(h - 1 - row)] = Span {box.left + cb.left, box.right - (cornerWidth - cb.right)};
    }
    return spans;
}

std::vector<Span> Erode(const std::vector<Span>& spans) {
    std::vector<Span> result(spans.size());
    for (size_t row = 0; row < spans.size(); ++row) {
        if (row == 0 || row + 1 == spans.size()) {
            result[row] = Span {0, 0};
            continue;
        }
        const Span& s = spans[row];
        const Span& up = spans[row - 1];
        const Span& down = spans[row + 1];
        int left = std::max({s.left + 1, up.left, down.left});
        int right = std::min({s.right - 1, up.right, down.right});
        if (s.Empty() || up.Empty() || down.Empty() || left >= right) left = right = 0;
        result[row] = Span {left, right};
    }
    return result;
}

void SubtractSpan(const Span& outer, const Span& inner, Span pieces[2], int& count) {
    count = 0;
    if (outer.Empty()) return;
    if (inner.Empty() || inner.right <= outer.left || inner.left >= outer.right) {
        pieces[count++] = outer;
        return;
    }
    if (inner.left > outer.left) pieces[count++] = Span {outer.left, inner.left};
    if (inner.right < outer.right) pieces[count++] = Span {inner.right, outer.right};
}

BandedRegion SpansToRegion(const std::vector<Span>& spans, int top) {
    std::vector<RECT> rects;
    rects.reserve(spans.size());
    for (size_t row = 0; row < spans.size(); ++row)
        if (!spans[row].Empty())
            rects.push_back(RECT {spans[row].left, top + int(row), spans[row].right, top + int(row) + 1});
    return BandedRegion::FromRects(rects);
}

}

// Span geometry of ellipses, rounded rectangles and their outlines.
#include "platform/gdi/Shapes.h"

#include <algorithm>
#include <cmath>

namespace korvex::gdi {

Span EllipseRow(const RECT& box, int y) {
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    if (w <= 0 || h <= 0 || y < box.top || y >= box.bottom) return Span {};
    const double a = w / 2.0;
    const double b = h / 2.0;
    // Centre in pixel-centre coordinates: the pixel x has its centre at x.
    const double cx = box.left + (w - 1) / 2.0;
    const double cy = box.top + (h - 1) / 2.0;
    const double t = (y - cy) / b;
    double half = t * t < 1.0 ? a * std::sqrt(1.0 - t * t) : 0.0;
    half = std::max(half, 0.5);
    const int left = int(std::ceil(cx - half));
    const int right = int(std::floor(cx + half)) + 1;
    return Span {std::max(left, int(box.left)), std::min(right, int(box.right))};
}

std::vector<Span> EllipseSpans(const RECT& box, int rowFrom, int rowTo) {
    std::vector<Span> spans;
    if (IsRectEmpty(&box) || rowFrom >= rowTo) return spans;
    spans.reserve(size_t(rowTo - rowFrom));
    for (int y = rowFrom; y < rowTo; ++y)
        spans.push_back(EllipseRow(box, y));
    return spans;
}

std::vector<Span> EllipseSpans(const RECT& box) {
    return EllipseSpans(box, box.top, box.bottom);
}

std::vector<Span> RectSpans(const RECT& box, int rowFrom, int rowTo) {
    std::vector<Span> spans;
    if (IsRectEmpty(&box) || rowFrom >= rowTo) return spans;
    spans.reserve(size_t(rowTo - rowFrom));
    for (int y = rowFrom; y < rowTo; ++y)
        spans.push_back(y >= box.top && y < box.bottom ? Span {box.left, box.right} : Span {});
    return spans;
}

std::vector<Span> RectSpans(const RECT& box) {
    return RectSpans(box, box.top, box.bottom);
}

std::vector<Span> RoundRectSpans(const RECT& box, int cornerWidth, int cornerHeight, int rowFrom, int rowTo) {
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    if (w <= 0 || h <= 0) return {};
    cornerWidth = std::clamp(cornerWidth, 0, w);
    cornerHeight = std::clamp(cornerHeight, 0, h);
    std::vector<Span> spans = RectSpans(box, rowFrom, rowTo);
    if (cornerWidth < 2 || cornerHeight < 2) return spans;
    const RECT corner {0, 0, cornerWidth, cornerHeight};
    const int upper = (cornerHeight + 1) / 2;   // rows of the top corner half, the middle row included
    for (int y = rowFrom; y < rowTo; ++y) {
        const int fromTop = y - box.top;
        const int fromBottom = box.bottom - 1 - y;
        int cornerRow = -1;
        if (fromTop >= 0 && fromTop < upper)
            cornerRow = fromTop;
        else if (fromBottom >= 0 && fromBottom < upper)
            cornerRow = cornerHeight - 1 - fromBottom;
        if (cornerRow < 0) continue;
        const Span c = EllipseRow(corner, cornerRow);
        spans[size_t(y - rowFrom)] = Span {box.left + c.left, box.right - (cornerWidth - c.right)};
    }
    return spans;
}

std::vector<Span> RoundRectSpans(const RECT& box, int cornerWidth, int cornerHeight) {
    return RoundRectSpans(box, cornerWidth, cornerHeight, box.top, box.bottom);
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

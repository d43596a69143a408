// GradientFill: shaded triangles and horizontal or vertical rectangle gradients.
#include "platform/gdi/Drawing.h"

#include "platform/gdi/Raster.h"
#include "platform/gdi/Recording.h"

#include <algorithm>
#include <cmath>

namespace korvex::gdi {

namespace {

struct Vertex {
    double X;
    double Y;
    double C[3];   // red, green, blue as 16-bit values
};

Vertex MakeVertex(const TRIVERTEX& v, POINT offset) {
    return Vertex {double(v.x) + offset.x, double(v.y) + offset.y, {double(v.Red), double(v.Green), double(v.Blue)}};
}

BYTE Channel(double value16) {
    const long v = std::lround(value16);
    return BYTE(std::clamp(v, 0L, 65535L) >> 8);
}

void PutPixel(Bitmap& surface, int x, int y, const double c[3]) {
    BYTE* p = surface.ScanLine(y) + size_t(x) * surface.BytesPerPixel();
    p[0] = Channel(c[2]);
    p[1] = Channel(c[1]);
    p[2] = Channel(c[0]);
    if (surface.BytesPerPixel() == 4) p[3] = 0;
}

// Pixel (x, y) belongs to the triangle when the point (x, y) does, shared edges counted once (top-left rule):
// the rows are half-open [top, bottom) and each row's span [ceil(xa), ceil(xb)).
void FillTriangle(const RasterTarget& target, const Vertex& a, const Vertex& b, const Vertex& c) {
    const double area = (b.X - a.X) * (c.Y - a.Y) - (c.X - a.X) * (b.Y - a.Y);
    if (area == 0) return;
    // Only the rows of the clip box are scanned.
    const RECT& view = target.Clip->Box();
    const int top = int(std::max(std::ceil(std::min({a.Y, b.Y, c.Y})), double(view.top)));
    const int bottom = int(std::min(std::ceil(std::max({a.Y, b.Y, c.Y})), double(view.bottom)));
    const Vertex* v[3] = {&a, &b, &c};
    for (int y = top; y < bottom; ++y) {
        double xs[2];
        int n = 0;
        for (int e = 0; e < 3 && n < 2; ++e) {
            const Vertex& p = *v[e];
            const Vertex& q = *v[(e + 1) % 3];
            if (p.Y == q.Y) continue;
            const Vertex& lo = p.Y < q.Y ? p : q;
            const Vertex& hi = p.Y < q.Y ? q : p;
            if (y < lo.Y || y >= hi.Y) continue;
            xs[n++] = lo.X + (y - lo.Y) * (hi.X - lo.X) / (hi.Y - lo.Y);
        }
        if (n < 2) continue;
        const int x0 = int(std::max(std::ceil(std::min(xs[0], xs[1])), double(view.left)));
        const int x1 = int(std::min(std::ceil(std::max(xs[0], xs[1])), double(view.right)));
        for (const RECT& r : target.Clip->RowRects(y)) {
            const int from = std::max(x0, int(r.left));
            const int to = std::min(x1, int(r.right));
            for (int x = from; x < to; ++x) {
                // Barycentric weights of the pixel's point.
                const double wb = ((x - a.X) * (c.Y - a.Y) - (c.X - a.X) * (y - a.Y)) / area;
                const double wc = ((b.X - a.X) * (y - a.Y) - (x - a.X) * (b.Y - a.Y)) / area;
                const double wa = 1.0 - wb - wc;
                double col[3];
                for (int k = 0; k < 3; ++k)
                    col[k] = a.C[k] * wa + b.C[k] * wb + c.C[k] * wc;
                PutPixel(*target.Surface, x, y, col);
            }
        }
    }
}

void FillGradientRect(const RasterTarget& target, const Vertex& ul, const Vertex& lr, bool vertical) {
    const int left = ClampCoord(int64_t(std::min(ul.X, lr.X)));
    const int right = ClampCoord(int64_t(std::max(ul.X, lr.X)));
    const int top = ClampCoord(int64_t(std::min(ul.Y, lr.Y)));
    const int bottom = ClampCoord(int64_t(std::max(ul.Y, lr.Y)));
    // The colours run from the upper-left vertex's side to the other.
    const Vertex& first = (vertical ? ul.Y <= lr.Y : ul.X <= lr.X) ? ul : lr;
    const Vertex& last = &first == &ul ? lr : ul;
    const int span = vertical ? bottom - top : right - left;
    if (span <= 0 || top >= bottom || left >= right) return;
    const BandedRegion visible = target.Clip->Intersect(RECT {left, top, right, bottom});
    for (const RECT& r : visible.Rects())
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                const double t = double(vertical ? y - top : x - left) / span;
                double col[3];
                for (int k = 0; k < 3; ++k)
                    col[k] = first.C[k] + (last.C[k] - first.C[k]) * t;
                PutPixel(*target.Surface, x, y, col);
            }
}

}

bool GradientFill(HDC dc, const TRIVERTEX* vertices, UINT vertexCount, const void* mesh, UINT meshCount, UINT mode) {
    if (!IsValidDC(dc) || !vertices || vertexCount == 0 || !mesh || meshCount == 0 || mode > GRADIENT_FILL_TRIANGLE)
        return false;
    // Every mesh index must name a vertex.
    if (mode == GRADIENT_FILL_TRIANGLE) {
        const auto* tri = static_cast<const GRADIENT_TRIANGLE*>(mesh);
        for (UINT i = 0; i < meshCount; ++i)
            if (tri[i].Vertex1 >= vertexCount || tri[i].Vertex2 >= vertexCount || tri[i].Vertex3 >= vertexCount)
                return false;
    } else {
        const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
        for (UINT i = 0; i < meshCount; ++i)
            if (rects[i].UpperLeft >= vertexCount || rects[i].LowerRight >= vertexCount) return false;
    }
    RECT box {vertices[0].x, vertices[0].y, vertices[0].x, vertices[0].y};
    std::vector<POINT> points;
    for (UINT i = 0; i < vertexCount; ++i) {
        box = RECT {std::min(box.left, vertices[i].x), std::min(box.top, vertices[i].y),
            std::max(box.right, vertices[i].x), std::max(box.bottom, vertices[i].y)};
        points.push_back(POINT {vertices[i].x, vertices[i].y});
    }
    DrawCall call = MakeCall(DrawKind::GradientFill, box, std::move(points));
    call.Flags = mode;
    if (!RecordCall(dc, std::move(call))) return true;
    const RasterTarget target = TargetOf(dc);
    if (!target) return true;
    const POINT o = dc->SurfaceOffset();
    if (mode == GRADIENT_FILL_TRIANGLE) {
        const auto* tri = static_cast<const GRADIENT_TRIANGLE*>(mesh);
        for (UINT i = 0; i < meshCount; ++i)
            FillTriangle(target, MakeVertex(vertices[tri[i].Vertex1], o), MakeVertex(vertices[tri[i].Vertex2], o),
                MakeVertex(vertices[tri[i].Vertex3], o));
    } else {
        const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
        for (UINT i = 0; i < meshCount; ++i)
            FillGradientRect(target, MakeVertex(vertices[rects[i].UpperLeft], o),
                MakeVertex(vertices[rects[i].LowerRight], o), mode == GRADIENT_FILL_RECT_V);
    }
    return true;
}

}

// Anti-aliased drawing into float layers.
#include "tools/skingen/Raster.h"

#include <algorithm>
#include <cmath>

namespace korvex::skingen {

namespace {

int Channel(float v) {
    return std::clamp(static_cast<int>(std::lround(v)), 0, 255);
}

TColor MakeColor(float r, float g, float b) {
    return static_cast<TColor>(Channel(r) | (Channel(g) << 8) | (Channel(b) << 16));
}

float Dist2(float x, float y) {
    return x * x + y * y;
}

}

TColor Mix(TColor a, TColor b, float f) {
    return MakeColor(RedOf(a) + (RedOf(b) - RedOf(a)) * f, GreenOf(a) + (GreenOf(b) - GreenOf(a)) * f,
        BlueOf(a) + (BlueOf(b) - BlueOf(a)) * f);
}

TColor Lighten(TColor c, float f) {
    return Mix(c, 0xFFFFFF, f);
}

TColor Darken(TColor c, float f) {
    return Mix(c, 0x000000, f);
}

bool TRoundRect::Contains(float x, float y) const {
    if (x < Box.X0 || x >= Box.X1 || y < Box.Y0 || y >= Box.Y1) return false;
    // The corner whose quadrant holds the point decides.
    const bool left = x < (Box.X0 + Box.X1) / 2, top = y < (Box.Y0 + Box.Y1) / 2;
    const float r = top ? (left ? Radius[0] : Radius[1]) : (left ? Radius[3] : Radius[2]);
    if (r <= 0) return true;
    const float cx = left ? Box.X0 + r : Box.X1 - r;
    const float cy = top ? Box.Y0 + r : Box.Y1 - r;
    const bool inCorner = (left ? x < cx : x > cx) && (top ? y < cy : y > cy);
    return !inCorner || Dist2(x - cx, y - cy) <= r * r;
}

bool TEllipse::Contains(float x, float y) const {
    if (Rx <= 0 || Ry <= 0) return false;
    return Dist2((x - Cx) / Rx, (y - Cy) / Ry) <= 1.0f;
}

TBox TCapsule::Bounds() const {
    const float h = Width / 2;
    return {std::min(X0, X1) - h, std::min(Y0, Y1) - h, std::max(X0, X1) + h, std::max(Y0, Y1) + h};
}

bool TCapsule::Contains(float x, float y) const {
    const float dx = X1 - X0, dy = Y1 - Y0;
    const float len2 = Dist2(dx, dy);
    float t = len2 > 0 ? ((x - X0) * dx + (y - Y0) * dy) / len2 : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    const float h = Width / 2;
    return Dist2(x - (X0 + t * dx), y - (Y0 + t * dy)) <= h * h;
}

TBox TPolygon::Bounds() const {
    TBox b {1e9f, 1e9f, -1e9f, -1e9f};
    for (const auto& p : Points) {
        b.X0 = std::min(b.X0, p[0]);
        b.Y0 = std::min(b.Y0, p[1]);
        b.X1 = std::max(b.X1, p[0]);
        b.Y1 = std::max(b.Y1, p[1]);
    }
    return b;
}

bool TPolygon::Contains(float x, float y) const {
    bool inside = false;
    const std::size_t n = Points.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const float xi = Points[i][0], yi = Points[i][1], xj = Points[j][0], yj = Points[j][1];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside;
}

TBox TPolyline::Bounds() const {
    TBox b = TPolygon {Points}.Bounds();
    return b.Inset(-Width / 2);
}

bool TPolyline::Contains(float x, float y) const {
    for (std::size_t i = 1; i < Points.size(); ++i)
        if (TCapsule {Points[i - 1][0], Points[i - 1][1], Points[i][0], Points[i][1], Width}.Contains(x, y))
            return true;
    return Points.size() == 1
        && TCapsule {Points[0][0], Points[0][1], Points[0][0], Points[0][1], Width}.Contains(x, y);
}

TMinus<TRoundRect, TRoundRect> Ring(TBox box, std::array<float, 4> radius, float width) {
    std::array<float, 4> inner {};
    for (int i = 0; i < 4; ++i)
        inner[static_cast<std::size_t>(i)] = std::max(0.0f, radius[static_cast<std::size_t>(i)] - width);
    return {TRoundRect(box, radius), TRoundRect(box.Inset(width), inner)};
}

TPaint TGradientPaint::operator()(float x, float y) const {
    if (Stops.empty()) return {0, 0};
    const float span = To - From;
    float t = span != 0 ? ((Vertical ? y : x) - From) / span : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    if (t <= Stops.front().first) return {Stops.front().second, Alpha};
    for (std::size_t i = 1; i < Stops.size(); ++i) {
        if (t <= Stops[i].first) {
            const float a = Stops[i - 1].first, b = Stops[i].first;
            const float f = b > a ? (t - a) / (b - a) : 1;
            return {Mix(Stops[i - 1].second, Stops[i].second, f), Alpha};
        }
    }
    return {Stops.back().second, Alpha};
}

TLayer::TLayer(int width, int height)
    : FWidth(std::max(0, width))
    , FHeight(std::max(0, height))
    , FPixels(static_cast<std::size_t>(FWidth * FHeight)) {
}

void TLayer::Blend(int x, int y, const TPaint& paint, float coverage) {
    const float a = std::clamp(paint.Alpha * coverage, 0.0f, 1.0f);
    TRgba& d = At(x, y);
    d.R = RedOf(paint.Color) / 255.0f * a + d.R * (1 - a);
    d.G = GreenOf(paint.Color) / 255.0f * a + d.G * (1 - a);
    d.B = BlueOf(paint.Color) / 255.0f * a + d.B * (1 - a);
    d.A = a + d.A * (1 - a);
}

void TLayer::Over(const TLayer& top) {
    const int w = std::min(FWidth, top.FWidth), h = std::min(FHeight, top.FHeight);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TRgba& s = top.At(x, y);
            TRgba& d = At(x, y);
            d.R = s.R + d.R * (1 - s.A);
            d.G = s.G + d.G * (1 - s.A);
            d.B = s.B + d.B * (1 - s.A);
            d.A = s.A + d.A * (1 - s.A);
        }
}

TLayer TLayer::RotatedClockwise() const {
    TLayer out(FHeight, FWidth);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            out.At(FHeight - 1 - y, x) = At(x, y);
    return out;
}

TLayer TLayer::FlippedVertically() const {
    TLayer out(FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            out.At(x, FHeight - 1 - y) = At(x, y);
    return out;
}

TLayer TLayer::FlippedHorizontally() const {
    TLayer out(FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            out.At(FWidth - 1 - x, y) = At(x, y);
    return out;
}

}

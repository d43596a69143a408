// Anti-aliased drawing into float layers: shapes give coverage (4 x 4 samples a pixel), paints give colour.
#pragma once

#include "platform/classes/Colors.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace korvex::skingen {

using classes::TColor;

// A web colour 0xRRGGBB as a skin colour 0x00BBGGRR.
constexpr TColor Web(std::uint32_t rgb) {
    return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}
inline constexpr int RedOf(TColor c) {
    return c & 0xFF;
}
inline constexpr int GreenOf(TColor c) {
    return (c >> 8) & 0xFF;
}
inline constexpr int BlueOf(TColor c) {
    return (c >> 16) & 0xFF;
}
// f = 0 gives a, f = 1 gives b.
TColor Mix(TColor a, TColor b, float f);
TColor Lighten(TColor c, float f);   // toward white
TColor Darken(TColor c, float f);   // toward black

struct TBox {
    float X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    TBox Inset(float d) const { return {X0 + d, Y0 + d, X1 - d, Y1 - d}; }
};

// ---- Shapes: Bounds() and Contains(x, y) in pixel units (pixel (i, j) spans i..i+1, j..j+1) ----

struct TRoundRect {
    TBox Box;
    std::array<float, 4> Radius {};   // top-left, top-right, bottom-right, bottom-left
    TRoundRect(TBox box, float r)
        : Box(box)
        , Radius {r, r, r, r} { }
    TRoundRect(TBox box, std::array<float, 4> r)
        : Box(box)
        , Radius(r) { }
    TBox Bounds() const { return Box; }
    bool Contains(float x, float y) const;
};

struct TEllipse {
    float Cx, Cy, Rx, Ry;
    TBox Bounds() const { return {Cx - Rx, Cy - Ry, Cx + Rx, Cy + Ry}; }
    bool Contains(float x, float y) const;
};

// A thick line with round ends.
struct TCapsule {
    float X0, Y0, X1, Y1, Width;
    TBox Bounds() const;
    bool Contains(float x, float y) const;
};

struct TPolygon {
    std::vector<std::array<float, 2>> Points;
    TBox Bounds() const;
    bool Contains(float x, float y) const;   // even-odd rule
};

// Points of a polyline joined by capsules.
struct TPolyline {
    std::vector<std::array<float, 2>> Points;
    float Width = 1;
    TBox Bounds() const;
    bool Contains(float x, float y) const;
};

template <class A, class B>
struct TMinus {
    A First;
    B Second;
    TBox Bounds() const { return First.Bounds(); }
    bool Contains(float x, float y) const { return First.Contains(x, y) && !Second.Contains(x, y); }
};
template <class A, class B>
TMinus<A, B> Minus(A a, B b) {
    return {a, b};
}

template <class A>
struct TClip {
    A Shape;
    TBox Box;
    TBox Bounds() const {
        TBox b = Shape.Bounds();
        return {std::max(b.X0, Box.X0), std::max(b.Y0, Box.Y0), std::min(b.X1, Box.X1), std::min(b.Y1, Box.Y1)};
    }
    bool Contains(float x, float y) const {
        return x >= Box.X0 && x < Box.X1 && y >= Box.Y0 && y < Box.Y1 && Shape.Contains(x, y);
    }
};
template <class A>
TClip<A> Clip(A a, TBox box) {
    return {a, box};
}

// The band between a rounded rectangle and the same shape inset by width.
TMinus<TRoundRect, TRoundRect> Ring(TBox box, std::array<float, 4> radius, float width);

// ---- Paints: colour and opacity at a point ----

struct TPaint {
    TColor Color = 0;
    float Alpha = 1;
};

struct TSolid {
    TColor Color;
    float Alpha = 1;
    TPaint operator()(float, float) const { return {Color, Alpha}; }
};

// Colour stops along y (Vertical) or x, between From and To.
struct TGradientPaint {
    bool Vertical = true;
    float From = 0, To = 1;
    std::vector<std::pair<float, TColor>> Stops;   // positions 0..1, ascending
    float Alpha = 1;
    TPaint operator()(float x, float y) const;
};

// ---- Layers ----

struct TRgba {
    float R = 0, G = 0, B = 0, A = 0;   // premultiplied, 0..1
};

class TLayer {
public:
    TLayer() = default;
    TLayer(int width, int height);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    TRgba& At(int x, int y) { return FPixels[static_cast<std::size_t>(y * FWidth + x)]; }
    const TRgba& At(int x, int y) const { return FPixels[static_cast<std::size_t>(y * FWidth + x)]; }

    // Paints over the layer where the shape covers it, weighted by the coverage.
    template <class Shape, class Paint>
    void Fill(const Shape& shape, const Paint& paint);
    // Composites another layer of the same size over this one.
    void Over(const TLayer& top);
    // The layer turned a quarter (clockwise) or mirrored, for the four directions of tabs and arrows.
    TLayer RotatedClockwise() const;
    TLayer FlippedVertically() const;
    TLayer FlippedHorizontally() const;

private:
    void Blend(int x, int y, const TPaint& paint, float coverage);
    int FWidth = 0;
    int FHeight = 0;
    std::vector<TRgba> FPixels;
};

inline constexpr int Samples = 4;   // per axis

// Share of pixel (x, y) that the shape covers, in 1 / (Samples * Samples) steps.
template <class Shape>
float Coverage(const Shape& shape, int x, int y) {
    int hits = 0;
    for (int j = 0; j < Samples; ++j)
        for (int i = 0; i < Samples; ++i)
            if (shape.Contains(x + (i + 0.5f) / Samples, y + (j + 0.5f) / Samples)) ++hits;
    return static_cast<float>(hits) / (Samples * Samples);
}

template <class Shape, class Paint>
void TLayer::Fill(const Shape& shape, const Paint& paint) {
    const TBox b = shape.Bounds();
    const int x0 = std::max(0, static_cast<int>(b.X0) - 1), y0 = std::max(0, static_cast<int>(b.Y0) - 1);
    const int x1 = std::min(FWidth, static_cast<int>(b.X1) + 2), y1 = std::min(FHeight, static_cast<int>(b.Y1) + 2);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const float c = Coverage(shape, x, y);
            if (c > 0) Blend(x, y, paint(x + 0.5f, y + 0.5f), c);
        }
}

// Pixels of the area w x h that a shape covers less than half: the holes (0xFF00FF) of a skin picture.
template <class Shape>
std::vector<bool> OutsideOf(const Shape& shape, int w, int h) {
    std::vector<bool> out(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out[static_cast<std::size_t>(y * w + x)] = Coverage(shape, x, y) < 0.5f;
    return out;
}

}

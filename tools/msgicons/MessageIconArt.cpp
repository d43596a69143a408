// The message icons: shapes in unit coordinates, composited per sample with 8 x 8 samples a pixel.
#include "tools/msgicons/MessageIconArt.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace korvex::msgicons {

namespace {

struct Rgba {
    double R = 0, G = 0, B = 0, A = 0;   // straight alpha
};

Rgba Hex(unsigned rgb, double alpha = 1.0) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}

Rgba Mix(Rgba a, Rgba b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t, a.A + (b.A - a.A) * t};
}

using Inside = std::function<bool(double x, double y)>;
using Paint = std::function<Rgba(double x, double y)>;

struct Layer {
    Inside Shape;
    Paint Fill;
};

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    double dx = bx - ax, dy = by - ay;
    double len = dx * dx + dy * dy;
    double t = len > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len, 0.0, 1.0) : 0.0;
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

Inside Circle(double cx, double cy, double r) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

// A polyline stroked with round ends and joins.
Inside Stroke(std::vector<std::pair<double, double>> points, double radius) {
    return [points = std::move(points), radius](double x, double y) {
        for (size_t i = 0; i + 1 < points.size(); ++i)
            if (SegmentDistance(x, y, points[i].first, points[i].second, points[i + 1].first, points[i + 1].second)
                <= radius)
                return true;
        return false;
    };
}

// A triangle with rounded corners: the points within radius of the inner triangle.
Inside RoundTriangle(double ax, double ay, double bx, double by, double cx, double cy, double radius) {
    return [=](double x, double y) {
        auto side = [&](double x0, double y0, double x1, double y1) { return (x1 - x0) * (y - y0) - (y1 - y0) * (x - x0); };
        double s0 = side(ax, ay, bx, by), s1 = side(bx, by, cx, cy), s2 = side(cx, cy, ax, ay);
        bool in = (s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0);
        return in || SegmentDistance(x, y, ax, ay, bx, by) <= radius || SegmentDistance(x, y, bx, by, cx, cy) <= radius
            || SegmentDistance(x, y, cx, cy, ax, ay) <= radius;
    };
}

// A glossy disc: a vertical gradient with a soft highlight in its upper half.
void Disc(std::vector<Layer>& layers, unsigned top, unsigned bottom, unsigned rim) {
    layers.push_back({Circle(0.5, 0.5, 0.47), [=](double, double) { return Hex(rim); }});
    layers.push_back({Circle(0.5, 0.5, 0.43), [=](double, double y) { return Mix(Hex(top), Hex(bottom), (y - 0.07) / 0.86); }});
    layers.push_back({Circle(0.5, 0.36, 0.30), [](double, double y) {
                          return Hex(0xFFFFFF, std::clamp(0.34 - (y - 0.06) * 0.9, 0.0, 0.34));
                      }});
}

Paint Solid(Rgba c) {
    return [c](double, double) { return c; };
}

// The question mark: a hook drawn as points along an arc and a tail, then the dot.
std::vector<std::pair<double, double>> QuestionHook() {
    std::vector<std::pair<double, double>> points;
    const double cx = 0.5, cy = 0.37, r = 0.14;
    for (int i = 0; i <= 16; ++i) {
        double a = 3.35 - i * (3.35 - (-0.9)) / 16.0;   // from the left round over the top to lower right
        points.emplace_back(cx + r * std::cos(a), cy - r * std::sin(a));
    }
    points.emplace_back(0.5, 0.56);
    points.emplace_back(0.5, 0.61);
    return points;
}

gdi::Bitmap* Render(const std::vector<Layer>& layers, int size) {
    gdi::Bitmap* bitmap = gdi::Bitmap::Create(size, size, gdi::PixelFormat::pf32bit);
    const int n = 8;
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            double r = 0, g = 0, b = 0, a = 0;   // premultiplied sums over the samples
            for (int sy = 0; sy < n; ++sy)
                for (int sx = 0; sx < n; ++sx) {
                    double x = (px + (sx + 0.5) / n) / size, y = (py + (sy + 0.5) / n) / size;
                    double cr = 0, cg = 0, cb = 0, ca = 0;
                    for (const Layer& layer : layers) {
                        if (!layer.Shape(x, y)) continue;
                        Rgba c = layer.Fill(x, y);
                        cr = c.R * c.A + cr * (1 - c.A);
                        cg = c.G * c.A + cg * (1 - c.A);
                        cb = c.B * c.A + cb * (1 - c.A);
                        ca = c.A + ca * (1 - c.A);
                    }
                    r += cr, g += cg, b += cb, a += ca;
                }
            const double samples = n * n;
            gdi::BYTE* d = bitmap->ScanLine(py) + px * 4;
            double alpha = a / samples;
            auto channel = [&](double v) { return gdi::BYTE(std::lround(alpha > 0 ? std::clamp(v / a, 0.0, 1.0) * 255 : 0)); };
            d[0] = channel(b);
            d[1] = channel(g);
            d[2] = channel(r);
            d[3] = gdi::BYTE(std::lround(std::clamp(alpha, 0.0, 1.0) * 255));
        }
    return bitmap;
}

}   // namespace

const char* IconName(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return "information";
    case MessageIcon::Warning:
        return "warning";
    case MessageIcon::Error:
        return "error";
    case MessageIcon::Question:
        return "question";
    }
    return "";
}

gdi::Bitmap* DrawIcon(MessageIcon icon, int size) {
    std::vector<Layer> layers;
    const Rgba white = Hex(0xFFFFFF);
    switch (icon) {
    case MessageIcon::Information:
        Disc(layers, 0x5AA9F0, 0x1C5FB8, 0x154A90);
        layers.push_back({Circle(0.5, 0.27, 0.065), Solid(white)});
        layers.push_back({Stroke({{0.5, 0.43}, {0.5, 0.74}}, 0.06), Solid(white)});
        break;
    case MessageIcon::Warning:
        layers.push_back({RoundTriangle(0.5, 0.07, 0.04, 0.90, 0.96, 0.90, 0.04), Solid(Hex(0xB07A00))});
        layers.push_back({RoundTriangle(0.5, 0.13, 0.10, 0.86, 0.90, 0.86, 0.02),
            [](double, double y) { return Mix(Hex(0xFFE36A), Hex(0xF5B400), (y - 0.13) / 0.73); }});
        layers.push_back({Stroke({{0.5, 0.36}, {0.5, 0.62}}, 0.055), Solid(Hex(0x2A2A2A))});
        layers.push_back({Circle(0.5, 0.755, 0.06), Solid(Hex(0x2A2A2A))});
        break;
    case MessageIcon::Error:
        Disc(layers, 0xF2665A, 0xB81E1E, 0x8E1414);
        layers.push_back({Stroke({{0.33, 0.33}, {0.67, 0.67}}, 0.065), Solid(white)});
        layers.push_back({Stroke({{0.67, 0.33}, {0.33, 0.67}}, 0.065), Solid(white)});
        break;
    case MessageIcon::Question:
        Disc(layers, 0x5AA9F0, 0x1C5FB8, 0x154A90);
        layers.push_back({Stroke(QuestionHook(), 0.058), Solid(white)});
        layers.push_back({Circle(0.5, 0.75, 0.065), Solid(white)});
        break;
    }
    return Render(layers, size);
}

}

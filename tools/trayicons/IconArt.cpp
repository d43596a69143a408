// The program's tray icons: shapes in unit coordinates, composited per sample with 8 x 8 samples a pixel.
#include "tools/trayicons/IconArt.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace korvex::trayicons {

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

Paint Solid(Rgba c) {
    return [c](double, double) { return c; };
}

Paint Vertical(Rgba top, Rgba bottom, double y0, double y1) {
    return [=](double, double y) { return Mix(top, bottom, (y - y0) / (y1 - y0)); };
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    double dx = bx - ax, dy = by - ay;
    double len = dx * dx + dy * dy;
    double t = len > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / len, 0.0, 1.0) : 0.0;
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

Inside Circle(double cx, double cy, double r) {
    return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

Inside Ring(double cx, double cy, double r0, double r1) {
    return [=](double x, double y) {
        double d = std::hypot(x - cx, y - cy);
        return d >= r0 && d <= r1;
    };
}

// Points joined by a stroke of the given radius with round ends and joins.
Inside Stroke(std::vector<std::pair<double, double>> points, double radius) {
    return [points = std::move(points), radius](double x, double y) {
        for (size_t i = 0; i + 1 < points.size(); ++i)
            if (SegmentDistance(x, y, points[i].first, points[i].second, points[i + 1].first, points[i + 1].second)
                <= radius)
                return true;
        return false;
    };
}

Inside RoundRect(double x0, double y0, double x1, double y1, double r) {
    return [=](double x, double y) {
        double cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
        return x >= x0 && x <= x1 && y >= y0 && y <= y1 && std::hypot(x - cx, y - cy) <= r;
    };
}

// The part of a ring between two angles (radians, clockwise on the screen from "east").
Inside Arc(double cx, double cy, double r0, double r1, double from, double span) {
    return [=](double x, double y) {
        double d = std::hypot(x - cx, y - cy);
        if (d < r0 || d > r1) return false;
        double a = std::atan2(y - cy, x - cx) - from;
        a = std::fmod(a + 4 * std::numbers::pi, 2 * std::numbers::pi);
        return a <= span;
    };
}

Inside Both(Inside a, Inside b) {
    return [=](double x, double y) { return a(x, y) && b(x, y); };
}

Inside Except(Inside a, Inside b) {
    return [=](double x, double y) { return a(x, y) && !b(x, y); };
}

Rgba Over(Rgba dst, Rgba src) {
    double a = src.A + dst.A * (1 - src.A);
    if (a <= 0) return {};
    auto channel = [&](double s, double d) { return (s * src.A + d * dst.A * (1 - src.A)) / a; };
    return {channel(src.R, dst.R), channel(src.G, dst.G), channel(src.B, dst.B), a};
}

gdi::Bitmap* Render(const std::vector<Layer>& layers, int size) {
    gdi::Bitmap* out = gdi::Bitmap::Create(size, size, gdi::PixelFormat::pf32bit);
    if (out == nullptr) return nullptr;
    constexpr int N = 8;
    for (int py = 0; py < size; ++py) {
        gdi::BYTE* row = out->ScanLine(py);
        for (int px = 0; px < size; ++px) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int j = 0; j < N; ++j)
                for (int i = 0; i < N; ++i) {
                    double x = (px + (i + 0.5) / N) / size, y = (py + (j + 0.5) / N) / size;
                    Rgba c;
                    for (const Layer& layer : layers)
                        if (layer.Shape(x, y)) c = Over(c, layer.Fill(x, y));
                    r += c.R * c.A;
                    g += c.G * c.A;
                    b += c.B * c.A;
                    a += c.A;
                }
            a /= N * N;
            auto straight = [&](double premultiplied) {
                return gdi::BYTE(a > 0 ? std::lround(std::clamp(premultiplied / (N * N) / a, 0.0, 1.0) * 255) : 0);
            };
            row[px * 4 + 0] = straight(b);
            row[px * 4 + 1] = straight(g);
            row[px * 4 + 2] = straight(r);
            row[px * 4 + 3] = gdi::BYTE(std::lround(a * 255));
        }
    }
    return out;
}

// The emblem: a blue disc with a gloss and a folding chain of three gold beads. scale shrinks it round
// the centre (the busy frames leave room for their arc).
void Emblem(std::vector<Layer>& layers, double scale) {
    auto at = [scale](double v) { return 0.5 + (v - 0.5) * scale; };
    double r = 0.47 * scale;
    layers.push_back({Circle(0.5, 0.5, r), Vertical(Hex(0x5AAEFA), Hex(0x1547A0), at(0.05), at(0.95))});
    layers.push_back({Ring(0.5, 0.5, r - 0.05 * scale, r), Solid(Hex(0x0E3274, 0.85))});
    layers.push_back(
        {Both(Circle(0.5, 0.5, r - 0.05 * scale), Circle(0.5, at(0.18), 0.36 * scale)), Solid(Hex(0xFFFFFF, 0.22))});
    std::vector<std::pair<double, double>> chain
        = {{at(0.25), at(0.63)}, {at(0.42), at(0.33)}, {at(0.58), at(0.65)}, {at(0.75), at(0.37)}};
    layers.push_back({Stroke(chain, 0.062 * scale), Solid(Hex(0xFFFFFF))});
    for (size_t i = 0; i < chain.size(); i += 1) {
        if (i == 1 || i == 2) continue;   // the ends and the folds: gold beads at the two ends
        layers.push_back({Circle(chain[i].first, chain[i].second, 0.105 * scale), Solid(Hex(0xB07A00))});
        layers.push_back({Circle(chain[i].first, chain[i].second, 0.075 * scale),
            Vertical(Hex(0xFFE37A), Hex(0xF2A900), chain[i].second - 0.08, chain[i].second + 0.08)});
    }
}

// A finished unit: a green badge with a check mark, pulsing in size over the frames.
void Badge(std::vector<Layer>& layers, double radius) {
    double cx = 0.72, cy = 0.72;
    layers.push_back({Circle(cx, cy, radius + 0.05), Solid(Hex(0xFFFFFF))});
    layers.push_back({Circle(cx, cy, radius), Vertical(Hex(0x4ADE6E), Hex(0x169A3E), cy - radius, cy + radius)});
    double k = radius / 0.25;
    layers.push_back(
        {Stroke({{cx - 0.12 * k, cy + 0.0 * k}, {cx - 0.03 * k, cy + 0.09 * k}, {cx + 0.12 * k, cy - 0.09 * k}},
             0.045 * k),
            Solid(Hex(0xFFFFFF))});
}

void BusyArc(std::vector<Layer>& layers, int frame, int frames) {
    double from = 2 * std::numbers::pi * frame / frames - std::numbers::pi / 2;
    layers.push_back({Ring(0.5, 0.5, 0.415, 0.5), Solid(Hex(0x1547A0, 0.30))});
    double span = std::numbers::pi * 0.6;
    // Brighter at the head: the arc's leading half on top of its tail.
    layers.push_back({Arc(0.5, 0.5, 0.415, 0.5, from, span), Solid(Hex(0xFF8A00))});
    layers.push_back({Arc(0.5, 0.5, 0.415, 0.5, from + span * 0.5, span * 0.5), Solid(Hex(0xFFD54A))});
}

void LogPage(std::vector<Layer>& layers, int frame) {
    double x0 = 0.16, y0 = 0.06, x1 = 0.84, y1 = 0.94, ear = 0.2;
    auto cornerCut = [=](double x, double y) { return x > x1 - ear && y < y0 + ear && (x - (x1 - ear)) > (y - y0); };
    Inside page = Except(RoundRect(x0, y0, x1, y1, 0.07), cornerCut);
    layers.push_back({page, Solid(Hex(0x4A5A72))});
    Inside inner = Except(RoundRect(x0 + 0.05, y0 + 0.05, x1 - 0.05, y1 - 0.05, 0.03), [=](double x, double y) {
        return x > x1 - ear - 0.03 && y < y0 + ear + 0.03 && (x - (x1 - ear)) > (y - y0) - 0.07;
    });
    layers.push_back({inner, Vertical(Hex(0xFFFFFF), Hex(0xE4EAF3), y0, y1)});
    // The dog-ear.
    layers.push_back({[=](double x, double y) {
                          return x >= x1 - ear && y <= y0 + ear && (x - (x1 - ear)) <= (y - y0) + 0.01 && x <= x1
                              && y >= y0;
                      },
        Solid(Hex(0xB8C4D6))});
    // Lines coloured as the viewer colours the client's log, scrolling up one line a frame.
    static const unsigned colors[] = {0x2A64D6, 0x8A96A8, 0xD8342C, 0x8A96A8, 0x2A64D6, 0x2AA052};
    static const double lengths[] = {0.46, 0.34, 0.40, 0.28, 0.44, 0.36};
    for (int line = 0; line < 4; ++line) {
        int k = (line + frame) % 6;
        double y = 0.36 + line * 0.155;
        double left = x0 + 0.13;
        layers.push_back({Both(inner, Stroke({{left, y}, {left + lengths[k] * (x1 - x0 - 0.26) / 0.46, y}}, 0.042)),
            Solid(Hex(colors[k]))});
    }
}

}   // namespace

int FrameCount(IconSet set) {
    switch (set) {
    case IconSet::Normal:
        return 4;
    case IconSet::Busy:
        return 8;
    case IconSet::Viewer:
        return 6;
    }
    return 0;
}

const char* SetName(IconSet set) {
    switch (set) {
    case IconSet::Normal:
        return "normal";
    case IconSet::Busy:
        return "busy";
    case IconSet::Viewer:
        return "viewer";
    }
    return "";
}

gdi::Bitmap* DrawFrame(IconSet set, int frame, int size) {
    std::vector<Layer> layers;
    switch (set) {
    case IconSet::Normal: {
        Emblem(layers, 1.0);
        static const double badge[] = {0, 0.2, 0.26, 0.23};
        if (frame > 0) Badge(layers, badge[frame % 4]);
        break;
    }
    case IconSet::Busy:
        Emblem(layers, 0.80);
        BusyArc(layers, frame, FrameCount(IconSet::Busy));
        break;
    case IconSet::Viewer:
        LogPage(layers, frame);
        break;
    }
    return Render(layers, size);
}

}

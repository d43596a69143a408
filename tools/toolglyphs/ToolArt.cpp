// The tool bar glyphs: gear, bars, circular arrows, page, clock, globe, monitors, door; arrow, folders, tiles.
#include "tools/toolglyphs/ToolArt.h"

#include "tools/skingen/Raster.h"

#include <cmath>
#include <numbers>
#include <string_view>

namespace korvex::toolglyphs {

using namespace korvex::skingen;

namespace {

constexpr float Pi = std::numbers::pi_v<float>;
constexpr TColor Outline = Web(0x2F3A48);

TGradientPaint Vertical(float y0, float y1, TColor top, TColor bottom) {
    TGradientPaint p;
    p.From = y0, p.To = y1;
    p.Stops = {{0.f, top}, {1.f, bottom}};
    return p;
}

// Points of an arc around (cx, cy) from angle a0 to a1 (radians, clockwise on screen).
std::vector<std::array<float, 2>> Arc(float cx, float cy, float r, float a0, float a1, int steps = 24) {
    std::vector<std::array<float, 2>> points;
    for (int i = 0; i <= steps; ++i) {
        const float a = a0 + (a1 - a0) * float(i) / float(steps);
        points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return points;
}

// A filled arrow head with its tip at (x, y) pointing along angle a.
TPolygon Head(float x, float y, float a, float length, float half) {
    const float bx = x - length * std::cos(a), by = y - length * std::sin(a);
    const float nx = -std::sin(a) * half, ny = std::cos(a) * half;
    return TPolygon {{{x, y}, {bx + nx, by + ny}, {bx - nx, by - ny}}};
}

void Gear(TLayer& l) {
    const float cx = 8, cy = 8;
    TPolygon body;
    const int teeth = 7;
    for (int i = 0; i < teeth * 4; ++i) {
        const float step = 2 * Pi / float(teeth * 4);
        const float a = (float(i) - 0.5f) * step + (i % 4 == 0 ? 0.35f : i % 4 == 1 ? -0.35f : 0.f) * step;
        const float r = (i % 4 == 0 || i % 4 == 1) ? 7.7f : 5.4f;
        body.Points.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    l.Fill(Minus(body, TEllipse {cx, cy, 2.3f, 2.3f}), TSolid {Outline});
    TPolygon inner;
    for (auto p : body.Points) inner.Points.push_back({cx + (p[0] - cx) * 0.8f, cy + (p[1] - cy) * 0.8f});
    l.Fill(Minus(inner, TEllipse {cx, cy, 3.2f, 3.2f}), Vertical(1, 15, Web(0xC9D2DC), Web(0x7D8A99)));
}

void Bars(TLayer& l) {
    const struct { float X, Top; std::uint32_t Light, Dark; } bars[] = {
        {2, 8, 0x7FC4F5, 0x2D7DC4}, {6.5f, 3, 0x9BE07A, 0x3C9A2A}, {11, 6, 0xF7C064, 0xD07A12}};
    for (const auto& b : bars) {
        l.Fill(TRoundRect(TBox {b.X, b.Top, b.X + 3.5f, 14.5f}, {0.8f, 0.8f, 0, 0}), TSolid {Outline});
        l.Fill(TRoundRect(TBox {b.X + 1, b.Top + 1, b.X + 2.5f, 14.5f}, 0.f),
            Vertical(b.Top, 14, Web(b.Light), Web(b.Dark)));
    }
    l.Fill(TRoundRect(TBox {0.5f, 14, 15.5f, 15.5f}, 0.f), TSolid {Outline});
}

void CircularArrows(TLayer& l) {
    const float cx = 8, cy = 8, r = 5.2f;
    const TColor dark = Web(0x1F6E2C), light = Web(0x4CB85A);
    for (int half = 0; half < 2; ++half) {
        const float a0 = half * Pi + 0.35f, a1 = half * Pi + Pi - 0.75f;
        l.Fill(TPolyline {Arc(cx, cy, r, a0, a1), 3.0f}, TSolid {dark});
        l.Fill(TPolyline {Arc(cx, cy, r, a0, a1), 1.4f}, TSolid {light});
        const float tx = cx + r * std::cos(a1 + 0.55f), ty = cy + r * std::sin(a1 + 0.55f);
        l.Fill(Head(tx, ty, a1 + 0.55f + Pi / 2, 4.2f, 3.4f), TSolid {dark});
    }
}

void Page(TLayer& l) {
    const float x0 = 2.5f, y0 = 0.5f, x1 = 13.5f, y1 = 15.5f, fold = 4;
    l.Fill(TPolygon {{{x0, y0}, {x1 - fold, y0}, {x1, y0 + fold}, {x1, y1}, {x0, y1}}}, TSolid {Outline});
    l.Fill(TPolygon {{{x0 + 1, y0 + 1}, {x1 - fold - 0.4f, y0 + 1}, {x1 - 1, y0 + fold + 0.4f}, {x1 - 1, y1 - 1},
               {x0 + 1, y1 - 1}}},
        Vertical(y0, y1, Web(0xFFFFFF), Web(0xD3E0EE)));
    l.Fill(TPolygon {{{x1 - fold, y0}, {x1, y0 + fold}, {x1 - fold, y0 + fold}}}, TSolid {Web(0x7F9AB8)});
    for (int i = 0; i < 5; ++i) {
        const float y = 5 + i * 2;
        l.Fill(TRoundRect(TBox {x0 + 2, y, x1 - (i == 4 ? 5.f : 2.f), y + 1}, 0.f), TSolid {Web(0x2F5F9A)});
    }
}

void Clock(TLayer& l) {
    const float cx = 8, cy = 8;
    l.Fill(TEllipse {cx, cy, 7.5f, 7.5f}, TSolid {Outline});
    l.Fill(TEllipse {cx, cy, 6.3f, 6.3f}, Vertical(1, 15, Web(0xFFFFFF), Web(0xDCE6F0)));
    for (int i = 0; i < 12; i += 3) {
        const float a = float(i) * Pi / 6;
        l.Fill(TCapsule {cx + 5.0f * std::cos(a), cy + 5.0f * std::sin(a), cx + 5.6f * std::cos(a),
                   cy + 5.6f * std::sin(a), 1.f},
            TSolid {Web(0x7C8794)});
    }
    l.Fill(TCapsule {cx, cy, cx, cy - 4.6f, 1.4f}, TSolid {Outline});
    l.Fill(TCapsule {cx, cy, cx + 3.3f, cy + 1.2f, 1.4f}, TSolid {Outline});
    l.Fill(TEllipse {cx, cy, 1.f, 1.f}, TSolid {Web(0xC23A2E)});
}

void Globe(TLayer& l) {
    const float cx = 7, cy = 7, r = 6.5f;
    l.Fill(TEllipse {cx, cy, r, r}, TSolid {Web(0x1F4E86)});
    l.Fill(TEllipse {cx, cy, r - 1, r - 1}, Vertical(1, 13, Web(0x8CCBF7), Web(0x2F7FCB)));
    const TSolid line {Web(0xFFFFFF), 0.7f};
    l.Fill(Minus(TEllipse {cx, cy, 2.6f, r - 1}, TEllipse {cx, cy, 1.9f, r - 1.6f}), line);
    l.Fill(TRoundRect(TBox {cx - r + 1, cy - 0.4f, cx + r - 1, cy + 0.4f}, 0.f), line);
    l.Fill(TRoundRect(TBox {cx - r + 2, cy - 3.5f, cx + r - 2, cy - 2.8f}, 0.f), line);
    l.Fill(TRoundRect(TBox {cx - r + 2, cy + 2.8f, cx + r - 2, cy + 3.5f}, 0.f), line);
    // The down arrow of a new version.
    l.Fill(TPolygon {{{10.5f, 6.5f}, {14.5f, 6.5f}, {14.5f, 10}, {16, 10}, {12.5f, 15.5f}, {9, 10}, {10.5f, 10}}},
        TSolid {Web(0x1F6E2C)});
    l.Fill(TPolygon {{{11.5f, 7.5f}, {13.5f, 7.5f}, {13.5f, 11}, {14.2f, 11}, {12.5f, 13.8f}, {10.8f, 11},
               {11.5f, 11}}},
        TSolid {Web(0x5CCB6A)});
}

void Monitor(TLayer& l) {
    l.Fill(TRoundRect(TBox {0.5f, 1.5f, 14.5f, 11.5f}, 1.2f), TSolid {Outline});
    l.Fill(TRoundRect(TBox {1.8f, 2.8f, 13.2f, 10.2f}, 0.f), Vertical(3, 10, Web(0x9ED4FA), Web(0x3A86CE)));
    l.Fill(TRoundRect(TBox {6, 11.5f, 9, 13.5f}, 0.f), TSolid {Web(0x5A6470)});
    l.Fill(TRoundRect(TBox {3.5f, 13.2f, 11.5f, 14.7f}, 0.6f), TSolid {Outline});
}

// A round badge at the bottom right with a plus (add) or a minus.
void Badge(TLayer& l, bool plus) {
    const float cx = 11.5f, cy = 11.5f;
    l.Fill(TEllipse {cx, cy, 4.4f, 4.4f}, TSolid {plus ? Web(0x1F6E2C) : Web(0x8E1E16)});
    l.Fill(TEllipse {cx, cy, 3.5f, 3.5f},
        plus ? Vertical(8, 15, Web(0x6BD37A), Web(0x2E9A3E)) : Vertical(8, 15, Web(0xF07A6E), Web(0xC2342A)));
    l.Fill(TRoundRect(TBox {cx - 2.4f, cy - 0.7f, cx + 2.4f, cy + 0.7f}, 0.f), TSolid {Web(0xFFFFFF)});
    if (plus) l.Fill(TRoundRect(TBox {cx - 0.7f, cy - 2.4f, cx + 0.7f, cy + 2.4f}, 0.f), TSolid {Web(0xFFFFFF)});
}

void Door(TLayer& l) {
    l.Fill(TRoundRect(TBox {1.5f, 0.5f, 10.5f, 15.5f}, 0.f), TSolid {Web(0x5A3A1C)});
    l.Fill(TRoundRect(TBox {2.5f, 1.5f, 9.5f, 15.5f}, 0.f), TSolid {Web(0x2A2F36)});
    // The open leaf, seen at an angle.
    l.Fill(TPolygon {{{2.5f, 1.5f}, {7, 3}, {7, 15.5f}, {2.5f, 15.5f}}}, Vertical(1, 15, Web(0xC98A4A), Web(0x8E5A26)));
    l.Fill(TEllipse {6, 9, 0.7f, 0.7f}, TSolid {Web(0xF4D27A)});
    // The arrow out.
    l.Fill(TPolygon {{{8, 6.5f}, {11.5f, 6.5f}, {11.5f, 4}, {15.7f, 8}, {11.5f, 12}, {11.5f, 9.5f}, {8, 9.5f}}},
        TSolid {Web(0x8E1E16)});
    l.Fill(TPolygon {{{9, 7.3f}, {12.4f, 7.3f}, {12.4f, 6}, {14.4f, 8}, {12.4f, 10}, {12.4f, 8.7f}, {9, 8.7f}}},
        TSolid {Web(0xF05A4A)});
}

void BackArrow(TLayer& l) {
    l.Fill(TPolygon {{{0.8f, 8}, {7.5f, 1.5f}, {7.5f, 5.2f}, {15, 5.2f}, {15, 10.8f}, {7.5f, 10.8f}, {7.5f, 14.5f}}},
        TSolid {Web(0x1F4E86)});
    l.Fill(TPolygon {{{2.4f, 8}, {6.5f, 4}, {6.5f, 6.2f}, {14, 6.2f}, {14, 9.8f}, {6.5f, 9.8f}, {6.5f, 12}}},
        Vertical(4, 12, Web(0x8CCBF7), Web(0x2F7FCB)));
}

void FolderShape(TLayer& l) {
    const float x0 = 0.5f, x1 = 15.5f, y0 = 2.5f, y1 = 14.5f;
    l.Fill(TPolygon {{{x0, y0}, {x0 + 5.5f, y0}, {x0 + 7, y0 + 1.5f}, {x1 - 1, y0 + 1.5f}, {x1 - 1, y1}, {x0, y1}}},
        TSolid {Web(0x9C6A12)});
    l.Fill(TPolygon {{{x0 + 1, y0 + 1}, {x0 + 5.1f, y0 + 1}, {x0 + 6.6f, y0 + 2.5f}, {x1 - 2, y0 + 2.5f},
               {x1 - 2, y1 - 1}, {x0 + 1, y1 - 1}}},
        Vertical(y0, y1, Web(0xF4C95D), Web(0xD9A032)));
    l.Fill(TPolygon {{{x0 + 2.5f, y0 + 4.5f}, {x1, y0 + 4.5f}, {x1 - 2, y1}, {x0, y1}}}, TSolid {Web(0x9C6A12)});
    l.Fill(TPolygon {{{x0 + 3.2f, y0 + 5.5f}, {x1 - 1.3f, y0 + 5.5f}, {x1 - 2.7f, y1 - 1}, {x0 + 1.2f, y1 - 1}}},
        Vertical(y0 + 5, y1, Web(0xFFE08A), Web(0xF0B43C)));
}

void FolderUp(TLayer& l) {
    FolderShape(l);
    l.Fill(TPolygon {{{8.5f, 0.3f}, {13.6f, 5.5f}, {10.6f, 5.5f}, {10.6f, 11}, {6.4f, 11}, {6.4f, 5.5f}, {3.4f, 5.5f}}},
        TSolid {Web(0x1F6E2C)});
    l.Fill(TPolygon {{{8.5f, 1.7f}, {11.3f, 4.6f}, {9.7f, 4.6f}, {9.7f, 10}, {7.3f, 10}, {7.3f, 4.6f}, {5.7f, 4.6f}}},
        TSolid {Web(0x5CCB6A)});
}

void NewFolder(TLayer& l) {
    FolderShape(l);
    // A plus at the top right.
    const float cx = 12, cy = 4;
    l.Fill(TRoundRect(TBox {cx - 4, cy - 1.6f, cx + 4, cy + 1.6f}, 0.5f), TSolid {Web(0x1F6E2C)});
    l.Fill(TRoundRect(TBox {cx - 1.6f, cy - 4, cx + 1.6f, cy + 4}, 0.5f), TSolid {Web(0x1F6E2C)});
    l.Fill(TRoundRect(TBox {cx - 3, cy - 0.6f, cx + 3, cy + 0.6f}, 0.f), TSolid {Web(0x6BD37A)});
    l.Fill(TRoundRect(TBox {cx - 0.6f, cy - 3, cx + 0.6f, cy + 3}, 0.f), TSolid {Web(0x6BD37A)});
}

void Tiles(TLayer& l) {
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col) {
            const float x = 1 + col * 7.5f, y = 1 + row * 7.5f;
            l.Fill(TRoundRect(TBox {x, y, x + 6.5f, y + 6.5f}, 0.8f), TSolid {Outline});
            l.Fill(TRoundRect(TBox {x + 1, y + 1, x + 5.5f, y + 5.5f}, 0.3f),
                Vertical(y, y + 6.5f, Web(0xFFFFFF), Web(0xB9D3EE)));
        }
}

void DrawArt(TLayer& l, std::string_view name) {
    if (name == "TB_OPTIONS") Gear(l);
    else if (name == "TB_CHARTS") Bars(l);
    else if (name == "TB_REFRESH") CircularArrows(l);
    else if (name == "TB_LOGS") Page(l);
    else if (name == "TB_HISTORY") Clock(l);
    else if (name == "TB_VERSION") Globe(l);
    else if (name == "TB_ADDHOST") Monitor(l), Badge(l, true);
    else if (name == "TB_DELHOST") Monitor(l), Badge(l, false);
    else if (name == "TB_EXIT") Door(l);
    else if (name == "DLG_BACK") BackArrow(l);
    else if (name == "DLG_UP") FolderUp(l);
    else if (name == "DLG_NEWFOLDER") NewFolder(l);
    else Tiles(l);
}

std::uint8_t Byte(float v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v * 255.f), 0L, 255L));
}

}

gdi::Bitmap* DrawToolGlyph(const TToolGlyph& glyph) {
    const int n = ToolGlyphSize;
    gdi::Bitmap* out = gdi::Bitmap::Create(n, n, gdi::PixelFormat::pf24bit);
    if (out == nullptr) return nullptr;
    TLayer layer(n, n);
    DrawArt(layer, glyph.Name);
    constexpr float EdgeGrey = 0xB8 / 255.f;   // edges read well on light and dark faces alike
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const TRgba& p = layer.At(x, y);
            std::uint8_t* pixel = out->ScanLine(y) + x * 3;
            if (p.A < 0.4f || (x == 0 && y == n - 1)) {
                pixel[0] = 0xFF, pixel[1] = 0x00, pixel[2] = 0xFF;
                continue;
            }
            const float rest = 1.f - p.A;
            pixel[0] = Byte(p.B + EdgeGrey * rest), pixel[1] = Byte(p.G + EdgeGrey * rest);
            pixel[2] = Byte(p.R + EdgeGrey * rest);
            // A picture pixel never equals the key.
            if (pixel[0] == 0xFF && pixel[1] == 0x00 && pixel[2] == 0xFF) pixel[1] = 0x01;
        }
    return out;
}

}

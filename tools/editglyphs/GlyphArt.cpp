// The edit buttons' glyphs: a document, a folder, a calendar, an ellipsis and a calculator, anti-aliased.
#include "tools/editglyphs/GlyphArt.h"

#include "tools/skingen/Raster.h"

#include <cmath>
#include <cstring>
#include <string_view>

namespace korvex::editglyphs {

using namespace korvex::skingen;

namespace {

constexpr int PieceHeight = GlyphBitmapHeight / 2;

// Colours of one state: hot and pressed are full, normal a little softer.
struct TTone {
    float Soft = 0;   // toward a quiet grey
    TColor operator()(std::uint32_t web) const { return Mix(Web(web), Web(0x9AA0A8), Soft); }
};

TGradientPaint Vertical(float y0, float y1, TColor top, TColor bottom) {
    TGradientPaint p;
    p.From = y0, p.To = y1;
    p.Stops = {{0.f, top}, {1.f, bottom}};
    return p;
}

void Document(TLayer& l, float dx, float dy, const TTone& t) {
    const float x0 = 4 + dx, y0 = 1.5f + dy, x1 = 15 + dx, y1 = 15.5f + dy, fold = 4;
    TPolygon sheet {{{x0, y0}, {x1 - fold, y0}, {x1, y0 + fold}, {x1, y1}, {x0, y1}}};
    TPolygon inner {{{x0 + 1, y0 + 1}, {x1 - fold - 0.4f, y0 + 1}, {x1 - 1, y0 + fold + 0.4f}, {x1 - 1, y1 - 1},
        {x0 + 1, y1 - 1}}};
    l.Fill(sheet, TSolid {t(0x4A6A8E)});
    l.Fill(inner, Vertical(y0, y1, t(0xFFFFFF), t(0xE4ECF5)));
    TPolygon corner {{{x1 - fold, y0}, {x1, y0 + fold}, {x1 - fold, y0 + fold}}};
    l.Fill(corner, TSolid {t(0x9DB4CE)});
    for (int i = 0; i < 4; ++i) {
        const float y = 7 + i * 2 + dy;
        l.Fill(TRoundRect(TBox {x0 + 2, y, x1 - (i == 3 ? 5.f : 2.f), y + 1}, 0.f), TSolid {t(0x5D7FA8)});
    }
}

void Folder(TLayer& l, float dx, float dy, const TTone& t) {
    const float x0 = 2 + dx, x1 = 18 + dx, y0 = 3 + dy, y1 = 15 + dy;
    TPolygon back {{{x0, y0 + 0.5f}, {x0 + 6, y0 + 0.5f}, {x0 + 7.5f, y0 + 2}, {x1 - 1, y0 + 2}, {x1 - 1, y1}, {x0, y1}}};
    l.Fill(back, TSolid {t(0x9C6A12)});
    TPolygon backInner {{{x0 + 1, y0 + 1.5f}, {x0 + 5.6f, y0 + 1.5f}, {x0 + 7.1f, y0 + 3}, {x1 - 2, y0 + 3},
        {x1 - 2, y1 - 1}, {x0 + 1, y1 - 1}}};
    l.Fill(backInner, Vertical(y0, y1, t(0xF4C95D), t(0xD9A032)));
    l.Fill(TRoundRect(TBox {x0 + 2.5f, y0 + 3.5f, x1 - 3, y0 + 6}, 0.5f), TSolid {t(0xFFFFFF), 0.9f});
    TPolygon front {{{x0 + 2.5f, y0 + 5.5f}, {x1, y0 + 5.5f}, {x1 - 2.5f, y1}, {x0, y1}}};
    l.Fill(front, TSolid {t(0x9C6A12)});
    TPolygon frontInner {{{x0 + 3.2f, y0 + 6.5f}, {x1 - 1.3f, y0 + 6.5f}, {x1 - 3.2f, y1 - 1}, {x0 + 1.2f, y1 - 1}}};
    l.Fill(frontInner, Vertical(y0 + 6, y1, t(0xFFE08A), t(0xF0B43C)));
}

void Calendar(TLayer& l, float dx, float dy, const TTone& t) {
    const TBox body {1.5f + dx, 3 + dy, 14.5f + dx, 15.5f + dy};
    l.Fill(TRoundRect(body, 1.5f), TSolid {t(0x5A6470)});
    l.Fill(TRoundRect(body.Inset(1), 0.8f), TSolid {t(0xFFFFFF)});
    l.Fill(TRoundRect(TBox {body.X0 + 1, body.Y0 + 1, body.X1 - 1, body.Y0 + 4}, {0.8f, 0.8f, 0, 0}),
        Vertical(body.Y0, body.Y0 + 4, t(0xE8584A), t(0xC23A2E)));
    for (float x : {5.f, 11.f})
        l.Fill(TRoundRect(TBox {body.X0 + x - 2 - 0.5f, 1.5f + dy, body.X0 + x - 2 + 1.5f, 5.5f + dy}, 0.9f),
            TSolid {t(0x3C444E)});
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col) {
            const float x = body.X0 + 2.5f + col * 2.5f, y = body.Y0 + 5.5f + row * 2.2f;
            const bool today = row == 1 && col == 2;
            l.Fill(TRoundRect(TBox {x, y, x + 1.5f, y + 1.4f}, 0.f), TSolid {today ? t(0xD2402F) : t(0x7C8794)});
        }
}

void Ellipsis(TLayer& l, float dx, float dy, const TTone& t) {
    for (int i = 0; i < 3; ++i) {
        const float cx = 4.5f + i * 4.5f + dx, cy = 11.5f + dy;
        l.Fill(TEllipse {cx, cy, 2.4f, 2.4f}, TSolid {t(0xFFFFFF), 0.55f});   // a halo for dark faces
        l.Fill(TEllipse {cx, cy, 1.6f, 1.6f}, TSolid {t(0x2E3640)});
    }
}

void Calculator(TLayer& l, float dx, float dy, const TTone& t) {
    const TBox body {3.5f + dx, 1.5f + dy, 15.5f + dx, 15.5f + dy};
    l.Fill(TRoundRect(body, 1.8f), TSolid {t(0x3E4650)});
    l.Fill(TRoundRect(body.Inset(1), 1.f), Vertical(body.Y0, body.Y1, t(0x8A949F), t(0x626C77)));
    l.Fill(TRoundRect(TBox {body.X0 + 2, body.Y0 + 2, body.X1 - 2, body.Y0 + 5}, 0.5f),
        Vertical(body.Y0 + 2, body.Y0 + 5, t(0xDDF2D2), t(0xB4D9A4)));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const float x = body.X0 + 2 + col * 2.8f, y = body.Y0 + 6.5f + row * 2.3f;
            const bool equals = row == 2 && col == 2;
            l.Fill(TRoundRect(TBox {x, y, x + 2, y + 1.6f}, 0.3f), TSolid {equals ? t(0xF0A030) : t(0xF4F6F8)});
        }
}

void DrawPiece(TLayer& l, std::string_view name, float dx, float dy, const TTone& tone) {
    if (name == "BTN_OPENFILE") Document(l, dx, dy, tone);
    else if (name == "BTN_OPENFOLDER") Folder(l, dx, dy, tone);
    else if (name == "BTN_DATE") Calendar(l, dx, dy, tone);
    else if (name == "BTN_ELLIPSIS") Ellipsis(l, dx, dy, tone);
    else Calculator(l, dx, dy, tone);
}

std::uint8_t Byte(float v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v * 255.f), 0L, 255L));
}

}

gdi::Bitmap* DrawGlyphBitmap(const TGlyphEntry& glyph) {
    gdi::Bitmap* out = gdi::Bitmap::Create(glyph.Width, GlyphBitmapHeight, gdi::PixelFormat::pf24bit);
    if (out == nullptr) return nullptr;
    const int w = glyph.Width / 3;
    // Slightly narrower glyphs centre their art.
    const float centre = (w - (glyph.Width == 48 ? 16 : glyph.Width == 54 ? 18 : 20)) / 2.f;
    const TTone tones[3] = {{0.28f}, {0.f}, {0.08f}};
    const float shift[3] = {0.f, 0.f, 1.f};   // pressed moves down and right
    for (int state = 0; state < 3; ++state) {
        TLayer layer(w, PieceHeight);
        DrawPiece(layer, glyph.Name, centre + shift[state], shift[state], tones[state]);
        for (int y = 0; y < PieceHeight; ++y)
            for (int x = 0; x < w; ++x) {
                const TRgba& p = layer.At(x, y);
                std::uint8_t* pic = out->ScanLine(y) + (state * w + x) * 3;
                std::uint8_t* mask = out->ScanLine(y + PieceHeight) + (state * w + x) * 3;
                const float a = p.A;
                const float r = a > 0 ? p.R / a : 0, g = a > 0 ? p.G / a : 0, b = a > 0 ? p.B / a : 0;
                pic[0] = Byte(b), pic[1] = Byte(g), pic[2] = Byte(r);
                const std::uint8_t m = Byte(1.f - a);
                mask[0] = mask[1] = mask[2] = m;
            }
    }
    return out;
}

}

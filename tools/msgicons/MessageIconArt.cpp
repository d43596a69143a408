// The message icons on the skin generator's rasteriser: shapes laid out in units of the icon's size.
#include "tools/msgicons/MessageIconArt.h"

#include "tools/skingen/Raster.h"

#include <algorithm>
#include <cmath>

namespace korvex::msgicons {

using namespace korvex::skingen;

namespace {

// A glossy disc: a rim, a vertical gradient and a soft highlight in its upper half.
void Disc(TLayer& l, float s, std::uint32_t top, std::uint32_t bottom, std::uint32_t rim) {
    l.Fill(TEllipse {0.5f * s, 0.5f * s, 0.47f * s, 0.47f * s}, TSolid {Web(rim)});
    TGradientPaint body;
    body.From = 0.07f * s, body.To = 0.93f * s;
    body.Stops = {{0.f, Web(top)}, {1.f, Web(bottom)}};
    l.Fill(TEllipse {0.5f * s, 0.5f * s, 0.43f * s, 0.43f * s}, body);
    TGradientPaint gloss;
    gloss.From = 0.06f * s, gloss.To = 0.45f * s;
    gloss.Stops = {{0.f, Web(0xFFFFFF)}, {1.f, Web(0xFFFFFF)}};
    gloss.Alpha = 0.3f;
    l.Fill(TEllipse {0.5f * s, 0.34f * s, 0.30f * s, 0.24f * s}, gloss);
}

// The question mark's hook: along an arc from the left over the top, then down to the stem.
TPolyline QuestionHook(float s) {
    TPolyline hook;
    hook.Width = 0.116f * s;
    const float cx = 0.5f, cy = 0.37f, r = 0.14f;
    for (int i = 0; i <= 16; ++i) {
        const float a = 3.35f - i * (3.35f + 0.9f) / 16.f;
        hook.Points.push_back({(cx + r * std::cos(a)) * s, (cy - r * std::sin(a)) * s});
    }
    hook.Points.push_back({0.5f * s, 0.56f * s});
    hook.Points.push_back({0.5f * s, 0.61f * s});
    return hook;
}

// The layer (premultiplied) as B, G, R and straight alpha.
gdi::Bitmap* ToBitmap(const TLayer& l) {
    gdi::Bitmap* bitmap = gdi::Bitmap::Create(l.Width(), l.Height(), gdi::PixelFormat::pf32bit);
    if (bitmap == nullptr) return nullptr;
    for (int y = 0; y < l.Height(); ++y)
        for (int x = 0; x < l.Width(); ++x) {
            const TRgba& p = l.At(x, y);
            gdi::BYTE* d = bitmap->ScanLine(y) + x * 4;
            auto channel = [&](float v) {
                return gdi::BYTE(p.A > 0 ? std::lround(std::clamp(v / p.A, 0.f, 1.f) * 255) : 0);
            };
            d[0] = channel(p.B);
            d[1] = channel(p.G);
            d[2] = channel(p.R);
            d[3] = gdi::BYTE(std::lround(std::clamp(p.A, 0.f, 1.f) * 255));
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
    case MessageIcon::Application:
        return "application";
    }
    return "";
}

gdi::Bitmap* DrawIcon(MessageIcon icon, int size) {
    const float s = static_cast<float>(size);
    TLayer l(size, size);
    const TSolid white {Web(0xFFFFFF)};
    switch (icon) {
    case MessageIcon::Information:
        Disc(l, s, 0x5AA9F0, 0x1C5FB8, 0x154A90);
        l.Fill(TEllipse {0.5f * s, 0.27f * s, 0.065f * s, 0.065f * s}, white);
        l.Fill(TCapsule {0.5f * s, 0.43f * s, 0.5f * s, 0.74f * s, 0.12f * s}, white);
        break;
    case MessageIcon::Warning: {
        const TPolygon outer {{{0.5f * s, 0.07f * s}, {0.04f * s, 0.90f * s}, {0.96f * s, 0.90f * s}}};
        TPolyline rim {{{0.5f * s, 0.07f * s}, {0.04f * s, 0.90f * s}, {0.96f * s, 0.90f * s}, {0.5f * s, 0.07f * s}},
            0.08f * s};
        l.Fill(outer, TSolid {Web(0xB07A00)});
        l.Fill(rim, TSolid {Web(0xB07A00)});
        TGradientPaint body;
        body.From = 0.13f * s, body.To = 0.86f * s;
        body.Stops = {{0.f, Web(0xFFE36A)}, {1.f, Web(0xF5B400)}};
        l.Fill(TPolygon {{{0.5f * s, 0.14f * s}, {0.10f * s, 0.86f * s}, {0.90f * s, 0.86f * s}}}, body);
        l.Fill(TCapsule {0.5f * s, 0.36f * s, 0.5f * s, 0.62f * s, 0.11f * s}, TSolid {Web(0x2A2A2A)});
        l.Fill(TEllipse {0.5f * s, 0.755f * s, 0.06f * s, 0.06f * s}, TSolid {Web(0x2A2A2A)});
        break;
    }
    case MessageIcon::Error:
        Disc(l, s, 0xF2665A, 0xB81E1E, 0x8E1414);
        l.Fill(TCapsule {0.33f * s, 0.33f * s, 0.67f * s, 0.67f * s, 0.13f * s}, white);
        l.Fill(TCapsule {0.67f * s, 0.33f * s, 0.33f * s, 0.67f * s, 0.13f * s}, white);
        break;
    case MessageIcon::Question:
        Disc(l, s, 0x5AA9F0, 0x1C5FB8, 0x154A90);
        l.Fill(QuestionHook(s), white);
        l.Fill(TEllipse {0.5f * s, 0.75f * s, 0.065f * s, 0.065f * s}, white);
        break;
    case MessageIcon::Application: {
        // A plain window: a dark rim, a blue title band with a light close box, a white client area.
        const TBox frame {0.06f * s, 0.12f * s, 0.94f * s, 0.88f * s};
        l.Fill(TRoundRect {frame, 0.07f * s}, TSolid {Web(0x2F3B4C)});
        TGradientPaint title;
        title.From = frame.Y0, title.To = 0.34f * s;
        title.Stops = {{0.f, Web(0x5AA9F0)}, {1.f, Web(0x1C5FB8)}};
        l.Fill(TRoundRect {TBox {frame.X0 + 0.04f * s, frame.Y0 + 0.04f * s, frame.X1 - 0.04f * s, 0.34f * s},
                   {0.04f * s, 0.04f * s, 0.f, 0.f}},
            title);
        l.Fill(TRoundRect {TBox {frame.X0 + 0.04f * s, 0.34f * s, frame.X1 - 0.04f * s, frame.Y1 - 0.04f * s}, 0.f},
            white);
        l.Fill(TRoundRect {TBox {0.72f * s, 0.195f * s, 0.84f * s, 0.285f * s}, 0.01f * s}, TSolid {Web(0xE8F1FB)});
        break;
    }
    }
    return ToBitmap(l);
}

}

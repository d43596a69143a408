// TsSkinManager recolouring: hue rotation and saturation shifts of the loaded skin's pictures and colours.
#include "skin/engine/sSkinManager.h"

#include "platform/base/Numbers.h"
#include "platform/classes/TBitmap.h"
#include "skin/engine/sUtils.h"

#include <algorithm>
#include <cstdint>

namespace korvex::skin {

using classes::TBitmap;
using classes::TColor;

namespace {

int RoundClamp(double v) {
    return static_cast<int>(std::clamp<std::int64_t>(base::Round(v), 0, 255));
}

int R(TColor c) {
    return static_cast<int>(static_cast<std::uint32_t>(c) & 0xFF);
}
int G(TColor c) {
    return static_cast<int>((static_cast<std::uint32_t>(c) >> 8) & 0xFF);
}
int B(TColor c) {
    return static_cast<int>((static_cast<std::uint32_t>(c) >> 16) & 0xFF);
}

// Every pixel of a 24-bit bitmap but the key colour and greys through `shift`.
template <class Shift>
void ShiftPixels(TBitmap& bitmap, Shift shift) {
    if (bitmap.PixelFormat() != classes::pf24bit) bitmap.SetPixelFormat(classes::pf24bit);
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint8_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x, p += 3) {
            const int b = p[0], g = p[1], r = p[2];
            if (r == g && g == b) continue;   // greys (and black and white) stay
            const TColor color = r | (g << 8) | (b << 16);
            if (color == TransparentSkinColor) continue;
            const TColor shifted = shift(color);
            p[0] = static_cast<std::uint8_t>(B(shifted));
            p[1] = static_cast<std::uint8_t>(G(shifted));
            p[2] = static_cast<std::uint8_t>(R(shifted));
        }
    }
}

}

TColor ChangeColorSaturation(TColor color, int amount) {
    if (amount == 0) return color;
    const int r = R(color), g = G(color), b = B(color);
    const double avg = (r + g + b) / 3.0;
    auto channel = [&](int x) { return RoundClamp(amount * (avg - x) / 100.0 + x); };
    const auto high = static_cast<std::uint32_t>(color) & 0xFF000000u;
    return static_cast<TColor>(high | static_cast<std::uint32_t>(channel(r))
        | (static_cast<std::uint32_t>(channel(g)) << 8) | (static_cast<std::uint32_t>(channel(b)) << 16));
}

TColor ChangeColorHue(int offset, TColor color) {
    color = classes::ColorToRGB(color);
    const double r = R(color), g = G(color), b = B(color);
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double delta = max - min;
    const double v = max;
    const double s = max == 0 ? 0 : delta / max;
    if (s == 0) return color;
    const double k = 60.0 / delta;
    double h;
    if (r == max)
        h = (g - b) * k;
    else if (g == max)
        h = 120 + (b - r) * k;
    else
        h = 240 + (r - g) * k;
    if (h < 0) h += 360;
    int hue = static_cast<int>(base::Round(h + offset) % 360);
    if (hue < 0) hue += 360;
    const int i = hue / 60;
    const double f = hue / 60.0 - i;
    const int p = RoundClamp((1 - s) * v);
    const int q = RoundClamp((1 - s * f) * v);
    const int t = RoundClamp((1 - (1 - f) * s) * v);
    const int vv = RoundClamp(v);
    int nr = 0, ng = 0, nb = 0;
    switch (i) {
    case 0:
        nr = vv, ng = t, nb = p;
        break;
    case 1:
        nr = q, ng = vv, nb = p;
        break;
    case 2:
        nr = p, ng = vv, nb = t;
        break;
    case 3:
        nr = p, ng = q, nb = vv;
        break;
    case 4:
        nr = t, ng = p, nb = vv;
        break;
    default:
        nr = vv, ng = p, nb = q;
        break;
    }
    return nr | (ng << 8) | (nb << 16);
}

void ChangeBitmapHue(TBitmap& bitmap, int offset) {
    ShiftPixels(bitmap, [offset](TColor c) { return ChangeColorHue(offset, c); });
}

void ChangeBitmapSaturation(TBitmap& bitmap, int amount) {
    ShiftPixels(bitmap, [amount](TColor c) { return ChangeColorSaturation(c, amount); });
}

namespace {

// The colours a shift changes: section colours, font colours in use, gradient colours and the skin shadow.
template <class Shift>
void ShiftTables(TsSkinManager& sm, Shift shift) {
    for (TsGeneralData& d : sm.Sections) {
        d.Color = shift(d.Color);
        d.HotColor = shift(d.HotColor);
        for (int i = 1; i <= 5; ++i) {
            if (d.FontColor[i] != -1) d.FontColor[i] = shift(d.FontColor[i]);
            if (d.HotFontColor[i] != -1) d.HotFontColor[i] = shift(d.HotFontColor[i]);
        }
        // as many normal steps as the text has complete groups of five words
        const std::size_t steps = std::min<std::size_t>(
            d.GradientArray.size(), static_cast<std::size_t>(WordCount(d.GradientData, ";") / 5));
        for (std::size_t i = 0; i < steps; ++i) {
            d.GradientArray[i].Color1 = shift(d.GradientArray[i].Color1);
            d.GradientArray[i].Color2 = shift(d.GradientArray[i].Color2);
        }
        for (TsGradientStep& step : d.HotGradientArray) {
            step.Color1 = shift(step.Color1);
            step.Color2 = shift(step.Color2);
        }
    }
    sm.LoadedSkin.Shadow1Color = shift(sm.LoadedSkin.Shadow1Color);
}

}

void TsSkinManager::ChangeSkinHue(int offset) {
    if (offset == 0) return;
    if (MasterBitmap != nullptr) ChangeBitmapHue(*MasterBitmap, offset);
    for (TsMaskData& m : Masks) {
        if (m.Bmp != nullptr) ChangeBitmapHue(*m.Bmp, offset);
    }
    ShiftTables(*this, [offset](TColor c) { return ChangeColorHue(offset, c); });
}

void TsSkinManager::ChangeSkinSaturation(int value) {
    if (value == 0) return;
    const int amount = (-value) % 101;   // truncating: the sign of -value
    if (MasterBitmap != nullptr) ChangeBitmapSaturation(*MasterBitmap, amount);
    for (TsMaskData& m : Masks) {
        if (m.Bmp != nullptr) ChangeBitmapSaturation(*m.Bmp, amount);
    }
    ShiftTables(*this, [amount](TColor c) { return ChangeColorSaturation(c, amount); });
}

}

// Colour routines of the skin engine: HSV conversions and colour mixing.
#include "skin/engine/sColorUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace korvex::skin {

namespace {

int Channel(double value) {
    return int(std::nearbyint(std::clamp(value, 0.0, 255.0)));
}

classes::TColor FromChannels(int r, int g, int b) {
    return classes::TColor(std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16));
}

}

classes::TColor HSVToRGB(double h, double s, double v) {
    const double value = v * 255.0;   // p, q and t are limited, and every channel when it is stored
    if (s == 0) {
        const int grey = Channel(value);
        return FromChannels(grey, grey, grey);
    }
    if (h == 360) h = 0;
    const double sector = std::floor(h / 60);
    const double f = h / 60 - sector;
    const double p = std::clamp((1 - s) * value, 0.0, 255.0);
    const double q = std::clamp((1 - s * f) * value, 0.0, 255.0);
    const double t = std::clamp((1 - (1 - f) * s) * value, 0.0, 255.0);
    double r = value, g = p, b = q;   // any other sector
    if (sector == 0)
        r = value, g = t, b = p;
    else if (sector == 1)
        r = q, g = value, b = p;
    else if (sector == 2)
        r = p, g = value, b = t;
    else if (sector == 3)
        r = p, g = q, b = value;
    else if (sector == 4)
        r = t, g = p, b = value;
    return FromChannels(Channel(r), Channel(g), Channel(b));
}

TsHSV RGBToHSV(classes::TColor color) {
    const std::uint32_t rgb = std::uint32_t(classes::ColorToRGB(color));
    const int r = int(rgb & 0xFF), g = int((rgb >> 8) & 0xFF), b = int((rgb >> 16) & 0xFF);
    const int high = std::max({r, g, b}), low = std::min({r, g, b});
    TsHSV hsv;
    hsv.V = high / 255.0;
    hsv.S = high == 0 ? 0.0 : double(high - low) / high;
    if (hsv.S > 0) {
        const double delta = high - low;
        double h;
        if (high == r)
            h = 60.0 * (g - b) / delta;
        else if (high == g)
            h = 120.0 + 60.0 * (b - r) / delta;
        else
            h = 240.0 + 60.0 * (r - g) / delta;
        if (h < 0) h += 360;
        hsv.H = int(std::nearbyint(h));
    }
    return hsv;
}

classes::TColor MixColors50(classes::TColor c1, classes::TColor c2) {
    std::uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = int((std::uint32_t(c1) >> shift) & 0xFF), b = int((std::uint32_t(c2) >> shift) & 0xFF);
        result |= std::uint32_t(((a - b) * 127 + b * 256) >> 8) << shift;
    }
    return classes::TColor(result);
}

classes::TColor MixColors(classes::TColor c1, classes::TColor c2, double f) {
    std::uint32_t result = std::uint32_t(c1) & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = int((std::uint32_t(c1) >> shift) & 0xFF), b = int((std::uint32_t(c2) >> shift) & 0xFF);
        result |= std::uint32_t(Channel((a - b) * f + b)) << shift;
    }
    return classes::TColor(result);
}

}

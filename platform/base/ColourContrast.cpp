// The contrast of two colours from their relative luminance (sRGB channels made linear, then weighted).
#include "platform/base/ColourContrast.h"

#include <algorithm>
#include <cmath>

namespace korvex::base {

namespace {

// The relative brightness of a colour: 0 black to 1 white.
double Luminance(int colour) {
    auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour & 0xFF) + 0.7152 * channel((colour >> 8) & 0xFF)
        + 0.0722 * channel((colour >> 16) & 0xFF);
}

}

double ColourContrast(int first, int second) {
    const double a = Luminance(first), b = Luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

}

// Colour routines of the skin engine: HSV conversions and colour mixing.
#pragma once

#include "platform/classes/Colors.h"

namespace korvex::skin {

// Hue in whole degrees (0..360 after rounding), saturation and value 0..1.
struct TsHSV {
    int H = 0;
    double S = 0;
    double V = 0;
};

// The standard HSV model: h in degrees (360 counts as 0), s and v 0..1; channels rounded (halves to even)
// and limited to 0..255.
classes::TColor HSVToRGB(double h, double s, double v);
// System colours are resolved first.
TsHSV RGBToHSV(classes::TColor color);

// Per channel c2 + (c1 - c2) * 127 / 256 in integers; top byte 0.
classes::TColor MixColors50(classes::TColor c1, classes::TColor c2);
// Per channel round((c1 - c2) * f + c2), limited to 0..255: f is the weight of c1; c1's top byte is kept.
classes::TColor MixColors(classes::TColor c1, classes::TColor c2, double f);
inline classes::TColor ColorAsIs(classes::TColor color) {
    return color;
}

}

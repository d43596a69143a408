// How far apart two colours read, as the eye weighs the channels.
#pragma once

namespace korvex::base {

// Colours are 0x00BBGGRR: 1 (equal brightness) to 21 (black on white).
double ColourContrast(int first, int second);
// Text reads well on a background from this contrast on.
inline constexpr double ReadableColourContrast = 4.5;

}

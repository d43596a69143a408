// Multi-step colour gradients of skin sections: the parsed form, the text parser and the painter.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skin {

// One step of a gradient. Only the first step's Mode counts, for the whole gradient:
// 0 top to bottom, 1 left to right, 2 four triangles through the corners and the centre; others paint nothing.
struct TsGradientStep {
    classes::TColor Color1 = 0;   // colour at the step's start
    classes::TColor Color2 = 0;   // colour at the step's end
    std::uint8_t Percent = 0;   // share of the gradient's length, 0..100
    std::int32_t Mode = 0;
    std::int32_t Reserved = 0;   // carried by the text, never read
};
using TsGradArray = std::vector<TsGradientStep>;

// Text form: "Color1;Color2;Percent;Mode;Reserved" per step, all steps in one line, decimal numbers.
// Replaces data with the complete steps of text. Never raises: a word that is not an integer ends the
// parse and only the steps before it are kept (none: empty). Percent is clamped to 0..100.
void ParseGradientData(const std::string& text, TsGradArray& data);
TsGradArray ParseGradientData(const std::string& text);

// Paints the gradient over rect of a 24-bit bitmap (other formats, an empty bitmap or empty data: nothing).
// Everything is clipped to the bitmap; a step whose band is empty is skipped and the last step always runs
// to the rectangle's bottom (mode 0) or right (mode 1) edge.
void PaintGradient(classes::TBitmap* bitmap, const classes::TRect& rect, const TsGradArray& data);

// The colour's blue, green and red bytes in the order of a 24-bit pixel.
void SplitColor(classes::TColor color, std::uint8_t (&bytes)[3]);

}

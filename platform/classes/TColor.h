// TColor helpers beside Colors.h: the gdi form of a colour and the non-raising text conversion.
#pragma once

#include "platform/classes/Colors.h"

#include <cstdint>
#include <string>

namespace korvex::classes {

// The colour as gdi draws it: ColorToRGB without the top byte (clNone thus draws white, as GDI does).
std::uint32_t ColorToColorRef(TColor color);

// StringToColor without raising: false, and color untouched, for a text that is neither a name nor a number.
bool TryStringToColor(const std::string& text, TColor& color);

}

// TColor helpers: the gdi form of a colour and the non-raising text conversion.
#include "platform/classes/TColor.h"

#include "platform/base/Numbers.h"

#include <cstdint>

namespace korvex::classes {

std::uint32_t ColorToColorRef(TColor color) {
    return static_cast<std::uint32_t>(ColorToRGB(color)) & 0x00FFFFFF;
}

bool TryStringToColor(const std::string& text, TColor& color) {
    if (IdentToColor(text, color)) return true;
    std::int64_t value = 0;
    if (!base::TryStrToInt64(text, value) || value < INT32_MIN || value > UINT32_MAX) return false;
    color = static_cast<TColor>(static_cast<std::uint32_t>(value));
    return true;
}

}

// General routines of the LED components: colour dimming, the edge border, and the property-file lines.
#pragma once

#include "platform/classes/Colors.h"
#include "platform/classes/GraphicsTypes.h"
#include "platform/classes/TPersistent.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvex::classes {
class TCanvas;
}

namespace korvex::leds {

using classes::TColor;

// ---------------------------------------------------------------------------------------------------------
// Painting helpers

// The colour's red, green and blue bytes each divided by divisor (integer division), the top byte cleared.
// System colours are resolved first; a divisor below 1 counts as 1.
TColor DimColor(TColor color, int divisor);

// Edge border styles of DrawEdgeBorder.
inline constexpr int iEdgeSunken = 0;
inline constexpr int iEdgeRaised = 1;

// Style 0: a sunken edge, style 1: a raised edge, both on every side of rect; other styles draw nothing.
void DrawEdgeBorder(classes::TCanvas* canvas, const classes::TRect& rect, int style);

// ---------------------------------------------------------------------------------------------------------
// Property files: lines "Name = Value", sub-objects with dotted names ("PopupMenu.AutoPopup = 1").
//
// Values: integers, booleans, enumerations and sets as their ordinal in decimal (a set's bit mask, a colour's
// 32-bit value), floats as FloatToStr writes them, strings as they are; sub-objects recurse with their
// name as prefix; events are left out. Only stored, writable properties take part, in declaration order.

inline constexpr std::string_view PropertyFileTypePrefix = "File Type = ";

// Appends the lines of obj's properties, leaving out the dotted names in exclusions (without case).
void AppendPropertyLines(classes::TPersistent& obj, const std::string& prefix, std::vector<std::string>& lines,
    const std::vector<std::string>& exclusions);

// Sets obj's properties from lines: per property the first line whose name (before the first '=', trimmed)
// equals the dotted name without case; its value is the rest, trimmed; the line is consumed. Properties
// without a line keep their values; lines matching nothing are left. A value that does not convert raises
// EConvertError at that property; the properties set before it keep their new values.
void LoadPropertyLines(classes::TPersistent& obj, const std::string& prefix, std::vector<std::string>& lines);

}

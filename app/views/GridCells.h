// How a cell of the main window's grid shows its value: a text colour readable on the cell's background,
// and a text cut to the cell's width.
#pragma once

#include <functional>
#include <string>

namespace korvex::app {

// The wanted text colour when it reads well on the background (contrast at least 3), else black or white,
// whichever reads better: the default warning colours are red text on red.
int ReadableTextColour(int background, int wanted);

// The cell's text as it fits `room` pixels, `width` measuring a text: the whole text when it fits; a time of
// day too wide loses its seconds and a number its decimals (rounded) first; what is still too wide keeps the
// whole characters that fit before an ellipsis. Nothing fits: empty.
std::string FitCellText(const std::string& text, int room, const std::function<int(const std::string&)>& width);

}

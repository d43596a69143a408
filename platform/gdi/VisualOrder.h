// Bidirectional reordering of one drawn line: logical (stored) order to the order glyphs are placed in.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvex::gdi {

// True when the line may look different in visual order: it holds a right-to-left character or an
// explicit direction mark, or the base direction is right to left and the text is not plain ASCII letters
// and digits. Latin and Cyrillic text in a left-to-right line is never reordered.
bool NeedsVisualOrder(std::string_view utf8, bool rtlBase);

// The line in visual order, mirrored brackets in right-to-left runs. When `logicalOfVisual` is given it
// receives, for each code point of the result, the index of the code point of `utf8` it came from.
// Text that needs no reordering comes back unchanged (the map then is the identity).
std::string VisualOrder(std::string_view utf8, bool rtlBase, std::vector<int>* logicalOfVisual = nullptr);

}

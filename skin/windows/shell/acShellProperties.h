// The "properties" verb: an item's name, type, place, size, time and attributes in a skinned message box.
#pragma once

#include <string>

namespace korvex::skin {

class TacShellFolder;

// The box's text for the item: one "Label: value" line each.
std::string ShellPropertiesText(const TacShellFolder& folder);
// Shows it modally, captioned "<name> Properties"; false for an item without a path.
bool ShowShellProperties(const TacShellFolder& folder);

}

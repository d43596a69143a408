// Pictures of a skin for people: its master bitmap and a sheet of its sections painted as controls, as PNG.
#pragma once

#include "skin/engine/Forward.h"

#include <memory>
#include <string>

namespace korvex::classes {
class TBitmap;
}

namespace korvex::skingen {

// A window-like sheet of the loaded skin: title bars, menus, tool bar, buttons in their states, fields,
// boxes, gauges, track bar, tabs, scroll bars, status bar, popup menu and hint. The backgrounds are painted
// from the section colours, gradients and textures; the frames and glyphs with the skin engine's painters.
std::unique_ptr<classes::TBitmap> PaintSheet(const skin::TsSkinManager& sm);

// Writes <dir>/<file stem>-master.png (the master bitmap, doubled) and <dir>/<file stem>-sheet.png.
// The stem is the skin name without blanks and brackets ("LongHorn (internal)" gives "LongHorn-internal").
void WriteSheetPictures(const skin::TsSkinManager& sm, const std::string& skinName, const std::string& dir);
std::string PictureStem(const std::string& skinName);

}

// The namespace's icons, drawn in code: desktop, home, computer, drive, folder (closed and open) and file.
#pragma once

#include "skin/windows/shell/acShellPidl.h"

namespace korvex::classes {
class TCanvas;
class TImageList;
}

namespace korvex::skin {

// Index of each icon in the system image lists.
enum TacShellIcon : int { siDesktop, siHome, siComputer, siDrive, siFolder, siFolderOpen, siFile, siCount };

// Draws one icon with its top-left corner at (x, y), size pixels square (16 and 32 are drawn for).
void DrawShellIcon(classes::TCanvas* canvas, TacShellIcon icon, int x, int y, int size);

// The process-wide system image lists (16 x 16 small, 32 x 32 large), made on first use, each holding the
// icons in TacShellIcon order, then the desktop theme's icons of the file types met so far (at the same index
// in both).
classes::TImageList* SystemImageList(bool large);

// The system image list index of an item: GetShellImage (PIDL, Large, Open). A file gets the desktop icon
// theme's icon of its MIME type when the theme has one as PNG, else (and an item that is gone) the file icon.
int GetShellImage(const TItemIDList& absolute, bool large, bool open);

// The system image list index of a file name's type icon (siFile when the desktop's icon theme has none).
int FileTypeImage(const std::string& fileName);

}

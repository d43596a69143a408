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
// icons in TacShellIcon order.
classes::TImageList* SystemImageList(bool large);

// The system image list index of an item: GetShellImage (PIDL, Large, Open). An item that is gone gets the
// file icon.
int GetShellImage(const TItemIDList& absolute, bool large, bool open);

}

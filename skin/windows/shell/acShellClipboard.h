// The shell's own clipboard of items: what "cut" and "copy" hold for "paste", inside this program.
#pragma once

#include <string>
#include <vector>

namespace korvex::skin {

// Holds paths for a later paste; a cut moves them at the paste, a copy copies them.
void SetShellClipboard(std::vector<std::string> paths, bool cut);
const std::vector<std::string>& ShellClipboardPaths();
bool ShellClipboardIsCut();
void ClearShellClipboard();

// A free name for `name` inside folder: the name itself, else "stem (2).ext", "stem (3).ext" ...
std::string FreeNameIn(const std::string& folder, const std::string& name);

// Pastes the held items into folder, never over an existing entry (a taken name gets the next free one): a
// copy copies each (folders with everything in them, links as links), a cut moves each and empties the
// clipboard. True when every item arrived.
bool PasteShellClipboard(const std::string& folder);

}

// Start with the session: the XDG autostart entry that stands for the registry's Run value.
#pragma once

#include <string>

namespace korvex::os {

// $XDG_CONFIG_HOME/autostart/korvex.desktop (else ~/.config/autostart/korvex.desktop).
std::string AutostartFilePath();

// The desktop entry's Exec line for a Run value: a program path, quoted or not, optionally followed by
// arguments. The path is mapped like a node path; a Windows name of the program that does not exist here
// ("<folder>\KORVEX.exe") finds the file without ".exe" or, in the program folder, the running executable.
// Arguments are quoted and escaped as desktop entries require.
std::string AutostartExecLine(const std::string& runValue);

// Writes (atomically) or removes the autostart entry; false with errno when that fails. Removing a missing
// entry succeeds. A link in the entry's place is replaced by the entry, or removed, never written through: the
// desktop file it leads to stays as it is.
bool WriteAutostartEntry(const std::string& runValue);
bool RemoveAutostartEntry();

}

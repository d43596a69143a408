// The program's own folder: where the executable lies; the program's notional current folder.
#pragma once

#include <string>

namespace korvex::os {

// Full path of the running executable (/proc/self/exe), or "" when it cannot be read.
std::string ProgramFileName();

// Folder of the executable, without a trailing delimiter ("/opt/korvex"). The program never changes the
// process's current folder; relative file names are taken relative to this folder instead.
std::string ProgramFolder();

// The current folder as the program sees it: always ProgramFolder().
std::string GetCurrentDir();

// Makes ProgramFolder() (and ProgramFileName()'s folder) answer `folder` until called with "" (tests).
void SetProgramFolderForTests(const std::string& folder);

}

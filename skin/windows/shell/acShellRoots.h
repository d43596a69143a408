// Root folders: the rf… names, their special folders on Linux, and making a root folder object from a root text.
#pragma once

#include "skin/windows/shell/acShellFolder.h"

#include <memory>
#include <optional>
#include <string>

namespace korvex::skin {

// A root: one of the rf… names, or a path.
using TacRoot = std::string;

enum TacRootFolder {
    rfDesktop, rfMyComputer, rfNetwork, rfRecycleBin, rfAppData, rfCommonDesktopDirectory, rfCommonPrograms,
    rfCommonStartMenu, rfCommonStartup, rfControlPanel, rfDesktopDirectory, rfFavorites, rfFonts, rfInternet,
    rfPersonal, rfPrinters, rfPrintHood, rfPrograms, rfRecent, rfSendTo, rfStartMenu, rfStartup, rfTemplates,
};

// The name's folder (case ignored); nothing for a text that is no rf… name.
std::optional<TacRootFolder> RootFolderFromName(const std::string& text);
const char* RootFolderName(TacRootFolder folder);
int RootFolderCsidl(TacRootFolder folder);   // the Windows CSIDL value

// Where a CSIDL value leads on Linux: the desktop, Computer, Home, or a folder such as ~/Templates when it
// exists. Nothing for folders this system has no counterpart of (control panel, printers, ...).
std::optional<TItemIDList> SpecialFolderLocation(int csidl);

// Whether two root texts name the same root: rf… names compare without case, paths exactly ("/data/A" and
// "/data/a" are different folders).
bool SameRoot(const TacRoot& a, const TacRoot& b);

// A folder object for an absolute list, its own folder bound when it is one (else the desktop's).
std::unique_ptr<TacShellFolder> CreateFolderFromPIDL(const TItemIDList& absolute);

// Replaces rootFolder by the folder that newRoot names. When newRoot names nothing (an unknown place, an
// empty text, a relative path), newRoot is set back to oldRoot, rootFolder is kept and base::Exception
// "Error Setting Path" is raised.
void CreateRootFolder(std::unique_ptr<TacShellFolder>& rootFolder, const TacRoot& oldRoot, TacRoot& newRoot);

}

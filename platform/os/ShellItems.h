// File-system entries as the shell namespace sees them: stat, folder listing, safe rename, new folders, delete.
#pragma once

#include "platform/base/DateTimeType.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvex::os {

// One folder entry. Paths here are exact Linux paths: no case folding, no Windows forms.
struct TShellEntry {
    std::string Name;   // the file name alone
    bool IsFolder = false;   // a folder, or a link to one
    bool IsLink = false;   // a symbolic link (dangling ones too)
    bool IsHidden = false;   // the name starts with '.'
    bool ReadOnly = false;   // we may not write it
    bool Readable = true;   // for a folder: we may list it
    std::int64_t Size = 0;   // bytes of a file (of the link's target); 0 for folders
    base::TDateTime Modified = 0;   // local time of the last write
    std::uint32_t Mode = 0;   // st_mode of the entry itself (lstat)
};

// Flags for ListShellEntries.
enum TShellListFlags : unsigned {
    slNone = 0,
    slFolders = 1 << 0,   // folders and links to folders
    slNonFolders = 1 << 1,   // everything else
    slHidden = 1 << 2,   // names starting with '.'
};

// Fills entry for path; false when nothing is there (errno kept).
bool StatShellEntry(const std::string& path, TShellEntry& entry);
// The same for name inside the folder open as dirFd; Name and IsHidden are left to the caller.
bool StatEntryAt(int dirFd, const std::string& name, TShellEntry& entry);

// The entries of folder (without "." and ".."), sorted by name bytes. False when the folder cannot be read.
bool ListShellEntries(const std::string& folder, unsigned flags, std::vector<TShellEntry>& entries);

// Whether folder holds at least one entry that flags admit; false for unreadable folders.
bool HasShellEntries(const std::string& folder, unsigned flags);


// Creates folder "New folder" (or "New folder (2)" ...) inside parent; returns its name, "" on failure.
std::string CreateNewFolder(const std::string& parent);

// Removes a file, a link or a folder with everything in it (links inside are removed, not followed).
bool DeleteShellEntry(const std::string& path);

// The user's home folder: $HOME, else the password database's entry, else "/".
std::string HomeFolder();

// Joins a folder and a name with one '/'.
std::string JoinShellPath(const std::string& folder, const std::string& name);

}

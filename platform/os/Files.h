// File and folder operations with the run time's names: existence, create, delete, rename, copy, age, size.
#pragma once

#include "platform/base/DateTimeType.h"

#include <cstdint>
#include <string>

namespace korvex::os {

// Every routine takes a path as the program writes it (Windows or Linux form, relative to the program
// folder when relative) and opens NativePath(path), so names resolve without case. None throws: failures
// return false (or -1), the reason left in errno.

bool FileExists(const std::string& path);   // a file (not a folder); symbolic links followed
bool DirectoryExists(const std::string& path);   // a folder; symbolic links followed
bool SameFile(const std::string& first, const std::string& second);   // one entry on disk; false when one is missing
bool CreateDir(const std::string& path);   // one folder; false when it exists or its parent is missing
bool ForceDirectories(const std::string& path);   // the folder and every missing parent; true when it exists
bool DeleteFile(const std::string& path);   // a file or a link; never a folder
bool RemoveDir(const std::string& path);   // an empty folder

// Renames or moves a file or folder; like the Windows call, fails when `newName` already exists.
bool RenameFile(const std::string& oldName, const std::string& newName);
// The same on exact paths (no case resolution): never replaces an existing entry (errno EEXIST).
bool RenameNoReplace(const std::string& from, const std::string& to);

// Copies a file. With failIfExists an existing target makes it fail. The copy is written to a file of its own
// in the target's folder and only then given the target name, so a half-written copy never stands under that
// name; mode and modification time are kept, and so are the source's holes (a sparse file's copy takes the
// room of its data only). The file being written has no name where the file system allows; elsewhere, and
// for the instant before it replaces an existing target, it is named "." + target name + ".korvex-" + the
// process id + "-" + a tail, which RemoveCopyLeftovers finds. The source's length when the copy starts is
// copied. A folder as source or target fails.
bool CopyFile(const std::string& source, const std::string& target, bool failIfExists);

// The process id in the name of a copy's temporary (see CopyFile); -1 for the temporary of an earlier version
// ("." + target name + ".copy-" + six characters), which names no writer; else 0.
int CopyTemporaryOwner(const std::string& name);
// Removes the temporaries that copies of other processes (killed while copying) left in the folder; those of
// this process may be copies under way and stay. The number removed.
int RemoveCopyLeftovers(const std::string& folder);

// Swaps two entries of one file system in one step (both must exist); false where the file system cannot.
bool ExchangeNames(const std::string& first, const std::string& second);

// Deletes a folder with everything in it. Symbolic links inside are removed, never followed. Returns true
// when the folder is gone (also when it was missing); on a partial failure what could go is gone.
bool DeleteDirectoryTree(const std::string& path);

// Last modification time of a file or folder as a local point in time; false when it does not exist.
bool FileAge(const std::string& path, base::TDateTime& modified);
// Size of a file in bytes, -1 when it does not exist or is a folder.
std::int64_t FileSize(const std::string& path);
// Bytes of a file's data, its holes not counted: what a copy of it writes. -1 as FileSize.
std::int64_t FileDataSize(const std::string& path);
// Bytes an unprivileged writer may still write on the file system holding `path`; -1 when unknown.
std::int64_t DiskFree(const std::string& path);

}

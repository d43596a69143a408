// Folder enumeration with Windows masks: FindFirst/FindNext/FindClose and a one-call FindFiles.
#pragma once

#include "platform/base/DateTimeType.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvex::os {

// Attribute bits, as the run time numbers them.
inline constexpr int faReadOnly = 0x01;   // no write permission for the owner
inline constexpr int faHidden = 0x02;   // name starts with '.'
inline constexpr int faSysFile = 0x04;   // not a regular file or folder (device, socket, fifo)
inline constexpr int faDirectory = 0x10;   // a folder
inline constexpr int faArchive = 0x20;   // a regular file
inline constexpr int faAnyFile = 0x3F;   // every entry

struct TSearchState;   // FindNext's position

struct TSearchRec {
    std::string Name;   // the entry's name, without folder
    std::int64_t Size = 0;   // bytes; 0 for folders
    int Attr = 0;   // fa* bits
    base::TDateTime Time = 0;   // last modification, local time
    bool IsDirectory() const { return (Attr & faDirectory) != 0; }

    std::shared_ptr<TSearchState> FindHandle;   // set by FindFirst, dropped by FindClose
};

// True when `name` matches the Windows mask: '*' any run of characters, '?' one character, letters
// without case; "*.*" matches every name (with or without a dot), and so does "*".
bool MatchesMask(const std::string& name, const std::string& mask);

// Entries of the folder part of `pattern` whose names match its last part ("C:\WU\*.exe"), sorted by name,
// without "." and "..". Folders, hidden and system entries come only when `attr` asks for them, as with
// the run time; faAnyFile takes all. A missing folder gives an empty list.
std::vector<TSearchRec> FindFiles(const std::string& pattern, int attr = faAnyFile);

// The run time's search loop: 0 when `rec` holds an entry, else a non-zero error (ENOENT when no more).
// Every FindFirst that returned 0 is paired with FindClose.
int FindFirst(const std::string& pattern, int attr, TSearchRec& rec);
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);

}

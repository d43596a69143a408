// Path names: the Windows-to-Linux node path mapping, name splitting and case-insensitive resolution.
#pragma once

#include <string>

namespace korvex::os {

inline constexpr char PathDelim = '/';
inline constexpr const char* DefaultUncRoot = "/net";

// True for '/' and '\': both separate folders in the paths the program builds.
inline bool IsPathDelimiterChar(char c) {
    return c == '/' || c == '\\';
}

// The user's configuration folder: $XDG_CONFIG_HOME when it is absolute, else ~/.config.
std::string ConfigHome();

// Root under which UNC hosts appear: $KORVEX_UNC_ROOT, else "/net" (no trailing delimiter).
std::string UncRoot();

// A Windows path as the program writes it, as a Linux path: every "\" becomes "/", and a UNC path
// \\host\share\rest becomes UncRoot()/host/share/rest. A Linux path comes back unchanged.
std::string MapPath(const std::string& path);

// Finds an existing file whose name differs only in case. Returns `path` itself when it exists as it is;
// otherwise walks it folder by folder and replaces each missing component by the entry of its parent
// folder that matches without case ("FAHLog.txt" finds "FAHlog.txt"; several matches: the first in byte
// order). From the first component that matches nothing on, the rest stays as given, so a target that does
// not exist yet keeps its name inside the resolved folders. Works on Linux paths ('/' only).
std::string ResolveNoCase(const std::string& path);

// The path every file routine opens: MapPath, made absolute against ProgramFolder() when relative,
// then ResolveNoCase.
std::string NativePath(const std::string& path);

// Run-time name routines; both delimiters count, and added delimiters are '/'.
std::string IncludeTrailingPathDelimiter(const std::string& path);
std::string ExcludeTrailingPathDelimiter(const std::string& path);
std::string ExtractFilePath(const std::string& path);   // up to and including the last delimiter
std::string ExtractFileDir(const std::string& path);   // the same without the delimiter ("/" stays)
std::string ExtractFileName(const std::string& path);   // after the last delimiter
std::string ExtractFileExt(const std::string& path);   // from the last '.' of the name, with the dot; or ""
std::string ChangeFileExt(const std::string& path, const std::string& ext);   // replaces or appends
// MapPath, made absolute against ProgramFolder() (the program's current folder), "." and ".." and doubled
// delimiters removed; a trailing delimiter is kept. Symbolic links are not followed.
std::string ExpandFileName(const std::string& path);

}

// Path names: the Windows-to-Linux node path mapping, name splitting and case-insensitive resolution.
#include "platform/os/Paths.h"

#include "platform/os/NameCompare.h"
#include "platform/os/ProgramFolder.h"

#include <cstdlib>
#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace korvex::os {

namespace {

size_t LastDelimiter(const std::string& path) {
    for (size_t i = path.size(); i > 0; --i)
        if (IsPathDelimiterChar(path[i - 1])) return i - 1;
    return std::string::npos;
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// The entry of `folder` equal to `name` without case; "" when none.
std::string FindNoCase(const std::string& folder, const std::string& name) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return {};
    std::string best;
    while (dirent* entry = ::readdir(dir)) {
        std::string_view candidate = entry->d_name;
        if (candidate == "." || candidate == "..") continue;
        if (SameName(candidate, name) && (best.empty() || candidate < best)) best = candidate;
    }
    ::closedir(dir);
    return best;
}

std::vector<std::string> SplitComponents(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string MakeAbsolute(const std::string& mapped) {
    if (!mapped.empty() && mapped[0] == '/') return mapped;
    std::string base = ProgramFolder();
    if (base.empty()) base = "/";
    if (mapped.empty()) return base;
    return base == "/" ? "/" + mapped : base + "/" + mapped;
}

}

std::string ConfigHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    std::string folder = home && *home ? home : "";
    if (folder.empty())
        if (passwd* pw = ::getpwuid(::getuid())) folder = pw->pw_dir;
    return folder + "/.config";
}

std::string UncRoot() {
    const char* root = std::getenv("KORVEX_UNC_ROOT");
    std::string result = (root && *root) ? root : DefaultUncRoot;
    while (result.size() > 1 && result.back() == '/')
        result.pop_back();
    return result;
}

std::string MapPath(const std::string& path) {
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        std::string rest = path.substr(2);
        for (char& c : rest)
            if (c == '\\') c = '/';
        size_t skip = 0;   // "\\\\host" with extra delimiters
        while (skip < rest.size() && rest[skip] == '/')
            ++skip;
        std::string root = UncRoot();
        return (root == "/" ? "" : root) + "/" + rest.substr(skip);
    }
    std::string result = path;
    for (char& c : result)
        if (c == '\\') c = '/';
    return result;
}

std::string ResolveNoCase(const std::string& path) {
    if (path.empty() || Exists(path)) return path;
    bool absolute = path[0] == '/';
    bool trailing = path.back() == '/';
    std::vector<std::string> parts = SplitComponents(path);
    std::string resolved = absolute ? "/" : "";
    bool searching = true;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        std::string name = part;
        if (searching && part != "." && part != "..") {
            std::string candidate = resolved + part;
            if (!Exists(candidate)) {
                std::string match = FindNoCase(resolved, part);
                if (match.empty())
                    searching = false;
                else
                    name = match;
            }
        }
        resolved += name;
        if (i + 1 < parts.size() || trailing) resolved += '/';
    }
    return resolved;
}

std::string NativePath(const std::string& path) {
    return ResolveNoCase(MakeAbsolute(MapPath(path)));
}

std::string IncludeTrailingPathDelimiter(const std::string& path) {
    if (!path.empty() && IsPathDelimiterChar(path.back())) return path;
    return path + PathDelim;
}

std::string ExcludeTrailingPathDelimiter(const std::string& path) {
    if (!path.empty() && IsPathDelimiterChar(path.back())) return path.substr(0, path.size() - 1);
    return path;
}

std::string ExtractFilePath(const std::string& path) {
    size_t pos = LastDelimiter(path);
    return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

std::string ExtractFileDir(const std::string& path) {
    size_t pos = LastDelimiter(path);
    if (pos == std::string::npos) return {};
    if (pos == 0) return path.substr(0, 1);
    return path.substr(0, pos);
}

std::string ExtractFileName(const std::string& path) {
    size_t pos = LastDelimiter(path);
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string ExtractFileExt(const std::string& path) {
    std::string name = ExtractFileName(path);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
    size_t nameStart = LastDelimiter(path);
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) return path + ext;
    return path.substr(0, dot) + ext;
}

std::string ExpandFileName(const std::string& path) {
    std::string absolute = MakeAbsolute(MapPath(path));
    bool trailing = absolute.size() > 1 && absolute.back() == '/';
    std::vector<std::string> kept;
    for (std::string& part : SplitComponents(absolute)) {
        if (part == ".") continue;
        if (part == "..") {
            if (!kept.empty()) kept.pop_back();
            continue;
        }
        kept.push_back(std::move(part));
    }
    std::string result;
    for (const std::string& part : kept)
        result += "/" + part;
    if (result.empty()) return "/";
    if (trailing) result += '/';
    return result;
}

}

// File-system entries as the shell namespace sees them: stat, folder listing, new folders, delete.
#include "platform/os/ShellItems.h"

#include "platform/base/ScopeGuard.h"
#include "platform/os/TimeZone.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvex::os {

namespace {

bool Admits(const TShellEntry& entry, unsigned flags) {
    if (entry.IsHidden && !(flags & slHidden)) return false;
    return entry.IsFolder ? (flags & slFolders) != 0 : (flags & slNonFolders) != 0;
}

// Calls visit(entry) for every entry of folder until it returns false; false when the folder cannot be read.
template <typename Visit>
bool ForEachEntry(const std::string& folder, Visit visit) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return false;
    auto closeDir = base::ScopeExit([dir] { ::closedir(dir); });
    const int fd = ::dirfd(dir);
    while (dirent* d = ::readdir(dir)) {
        std::string name = d->d_name;
        if (name == "." || name == "..") continue;
        TShellEntry entry;
        entry.Name = name;
        entry.IsHidden = name[0] == '.';
        if (!StatEntryAt(fd, name, entry)) continue;   // gone meanwhile
        if (!visit(std::move(entry))) break;
    }
    return true;
}

}

// The entry name in the folder open as dirFd (AT_FDCWD for a path): looked up relative to the folder, so a
// large listing does not walk the whole path for every entry.
bool StatEntryAt(int dirFd, const std::string& name, TShellEntry& entry) {
    struct stat own;
    if (::fstatat(dirFd, name.c_str(), &own, AT_SYMLINK_NOFOLLOW) != 0) return false;
    entry.Mode = own.st_mode;
    entry.IsLink = S_ISLNK(own.st_mode);
    struct stat target = own;
    if (entry.IsLink && ::fstatat(dirFd, name.c_str(), &target, 0) != 0) target = own;   // dangling or looping link
    entry.IsFolder = S_ISDIR(target.st_mode);
    entry.Size = entry.IsFolder ? 0 : static_cast<std::int64_t>(target.st_size);
    entry.Modified = UnixToLocalDateTime(target.st_mtim.tv_sec, target.st_mtim.tv_nsec);
    entry.ReadOnly = ::faccessat(dirFd, name.c_str(), W_OK, 0) != 0;
    entry.Readable = !entry.IsFolder || ::faccessat(dirFd, name.c_str(), R_OK | X_OK, 0) == 0;
    return true;
}

std::string JoinShellPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

bool StatShellEntry(const std::string& path, TShellEntry& entry) {
    std::string name = path;
    while (name.size() > 1 && name.back() == '/')
        name.pop_back();
    std::size_t slash = name.rfind('/');
    entry.Name = slash == std::string::npos || name == "/" ? name : name.substr(slash + 1);
    entry.IsHidden = !entry.Name.empty() && entry.Name[0] == '.';
    return StatEntryAt(AT_FDCWD, path, entry);
}

bool ListShellEntries(const std::string& folder, unsigned flags, std::vector<TShellEntry>& entries) {
    entries.clear();
    bool ok = ForEachEntry(folder, [&](TShellEntry entry) {
        if (Admits(entry, flags)) entries.push_back(std::move(entry));
        return true;
    });
    std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.Name < b.Name; });
    return ok;
}

bool HasShellEntries(const std::string& folder, unsigned flags) {
    bool found = false;
    ForEachEntry(folder, [&](const TShellEntry& entry) {
        found = Admits(entry, flags);
        return !found;
    });
    return found;
}

std::string CreateNewFolder(const std::string& parent) {
    for (int n = 1; n < 1000; ++n) {
        std::string name = n == 1 ? "New folder" : "New folder (" + std::to_string(n) + ")";
        if (::mkdir(JoinShellPath(parent, name).c_str(), 0777) == 0) return name;
        if (errno != EEXIST) return {};
    }
    return {};
}

bool DeleteShellEntry(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return false;
    std::error_code error;
    std::filesystem::remove_all(path, error);   // removes links, never follows them
    return !error && ::lstat(path.c_str(), &st) != 0;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir) return pw->pw_dir;
    return "/";
}

}

// The namespace on Linux: Desktop > Home and Computer, Computer > "/" and the mounted file systems, then folders.
#include "skin/windows/shell/acShellNamespace.h"

#include "platform/base/Strings.h"
#include "platform/os/Files.h"
#include "platform/os/MountPoints.h"
#include "platform/os/ShellItems.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace korvex::skin {

namespace {

bool ValidEntryName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos
        && name.find('\0') == std::string::npos;
}

// The mounted folders Computer holds: "/" first, then the real mounts.
std::vector<std::string> DriveFolders() {
    std::vector<std::string> folders{"/"};
    for (const os::TMountPoint& mount : os::RealMountPoints())
        folders.push_back(mount.Folder);
    return folders;
}

bool Removable(const std::string& folder) {
    return folder.rfind("/media/", 0) == 0 || folder.rfind("/run/media/", 0) == 0;
}

// Names in the order people expect: case ignored (Cyrillic too), then bytes so that the order is total.
int CompareNames(const std::string& a, const std::string& b) {
    if (int order = base::AnsiCompareText(a, b)) return order < 0 ? -1 : 1;
    int bytes = a.compare(b);
    return bytes < 0 ? -1 : bytes > 0 ? 1 : 0;
}

}

std::optional<std::string> PidlPath(const TItemIDList& absolute) {
    std::vector<TItemIDView> items = ItemsOf(absolute);
    if (items.empty()) return std::nullopt;
    std::string path;
    std::size_t next = 1;
    if (items[0].Kind == TacItemKind::Home && items[0].Name.empty()) {
        path = os::HomeFolder();
    } else if (items[0].Kind == TacItemKind::Computer && items[0].Name.empty()) {
        if (items.size() < 2 || items[1].Kind != TacItemKind::Drive || items[1].Name.empty()
            || items[1].Name[0] != '/')
            return std::nullopt;
        path = items[1].Name;
        next = 2;
    } else {
        return std::nullopt;
    }
    for (std::size_t i = next; i < items.size(); ++i) {
        if (items[i].Kind != TacItemKind::Entry || !ValidEntryName(items[i].Name)) return std::nullopt;
        path = os::JoinShellPath(path, items[i].Name);
    }
    return path;
}

TacNamespaceFolder::TacNamespaceFolder(TItemIDList absolute)
    : FAbsolute(std::move(absolute)) { }

TacNamespaceFolder DesktopFolder() {
    return TacNamespaceFolder(TItemIDList());
}

bool TacNamespaceFolder::EnumObjects(unsigned flags, std::vector<TItemIDList>& children, std::vector<bool>* isFolder) const {
    children.clear();
    if (isFolder != nullptr) isFolder->clear();
    std::vector<TItemIDView> items = ItemsOf(FAbsolute);
    const bool virtualFolder = items.empty() || (items.size() == 1 && items[0].Kind == TacItemKind::Computer);
    if (virtualFolder) {
        if (!(flags & SHCONTF_FOLDERS)) return true;
        if (items.empty()) {
            children.push_back(TItemIDList::Item(TacItemKind::Home, ""));
            children.push_back(TItemIDList::Item(TacItemKind::Computer, ""));
        } else {
            for (const std::string& folder : DriveFolders())
                children.push_back(TItemIDList::Item(TacItemKind::Drive, folder));
        }
        if (isFolder != nullptr) isFolder->assign(children.size(), true);
        return true;
    }
    std::optional<std::string> path = PidlPath(FAbsolute);
    if (!path) {
        errno = EINVAL;
        return false;
    }
    unsigned listFlags = (flags & SHCONTF_FOLDERS ? os::slFolders : 0u)
        | (flags & SHCONTF_NONFOLDERS ? os::slNonFolders : 0u) | (flags & SHCONTF_INCLUDEHIDDEN ? os::slHidden : 0u);
    std::vector<os::TShellEntry> entries;
    if (!os::ListShellEntries(*path, listFlags, entries)) return false;
    // The order of CompareIDs, by the names themselves (a large folder is sorted without building lists), each
    // name folded once.
    std::vector<std::pair<std::string, const os::TShellEntry*>> keyed;
    keyed.reserve(entries.size());
    for (const os::TShellEntry& entry : entries) keyed.emplace_back(base::AnsiUpperCase(entry.Name), &entry);
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        if (int order = a.first.compare(b.first)) return order < 0;
        return a.second->Name < b.second->Name;
    });
    children.reserve(entries.size());
    if (isFolder != nullptr) isFolder->reserve(entries.size());
    for (const auto& [key, entry] : keyed) {
        children.push_back(TItemIDList::Item(TacItemKind::Entry, entry->Name));
        if (isFolder != nullptr) isFolder->push_back(entry->IsFolder);
    }
    return true;
}

std::uint32_t TacNamespaceFolder::GetAttributesOf(const TItemIDList& relative, std::uint32_t request) const {
    TItemIDList absolute = ConcatPIDLs(&FAbsolute, relative);
    std::vector<TItemIDView> items = ItemsOf(absolute);
    if (items.empty())   // the desktop itself
        return SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER;
    const TItemIDView& item = items.back();
    if (item.Kind == TacItemKind::Computer) return SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_HASSUBFOLDER;
    std::optional<std::string> path = PidlPath(absolute);
    if (!path) return 0;
    os::TShellEntry entry;
    if (!os::StatShellEntry(*path, entry)) return 0;
    std::uint32_t attributes = SFGAO_FILESYSTEM | SFGAO_HASPROPSHEET;
    if (entry.IsFolder) attributes |= SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_DROPTARGET;
    if (entry.ReadOnly) attributes |= SFGAO_READONLY;
    if (item.Kind == TacItemKind::Drive && Removable(item.Name)) attributes |= SFGAO_REMOVABLE;
    if (item.Kind == TacItemKind::Entry) {
        attributes |= SFGAO_CANCOPY | SFGAO_CANLINK;
        if (entry.IsLink) attributes |= SFGAO_LINK;
        if (entry.IsHidden) attributes |= SFGAO_HIDDEN;
        TItemIDList parentID = absolute;
        StripLastID(parentID);
        std::optional<std::string> parent = PidlPath(parentID);
        if (parent && ::access(parent->c_str(), W_OK) == 0)
            attributes |= SFGAO_CANMOVE | SFGAO_CANRENAME | SFGAO_CANDELETE;
    }
    if ((request & SFGAO_HASSUBFOLDER) && entry.IsFolder && os::HasShellEntries(*path, os::slFolders))
        attributes |= SFGAO_HASSUBFOLDER;
    return attributes;
}

std::string TacNamespaceFolder::GetDisplayNameOf(const TItemIDList& relative, unsigned flags) const {
    bool parsing = (flags & SHGDN_FORPARSING) != 0;
    if (relative.IsDesktop() && FAbsolute.IsDesktop()) return parsing ? "" : DesktopName();
    TItemIDList absolute = ConcatPIDLs(&FAbsolute, relative);
    std::vector<TItemIDView> items = ItemsOf(absolute);
    if (items.empty()) return parsing ? "" : DesktopName();
    const TItemIDView& last = items.back();
    if (parsing) {
        if (flags & SHGDN_INFOLDER) return last.Kind == TacItemKind::Entry ? last.Name : PidlPath(absolute).value_or("");
        return PidlPath(absolute).value_or("");
    }
    switch (last.Kind) {
    case TacItemKind::Home: return HomeName();
    case TacItemKind::Computer: return ComputerName();
    case TacItemKind::Drive: return last.Name == "/" ? FileSystemName() : last.Name;
    case TacItemKind::Entry: return last.Name;
    }
    return {};
}

int TacNamespaceFolder::CompareIDs(const TItemIDList& a, const TItemIDList& b) const {
    std::vector<TItemIDView> x = ItemsOf(a), y = ItemsOf(b);
    std::size_t n = std::min(x.size(), y.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (x[i].Kind != y[i].Kind) return x[i].Kind < y[i].Kind ? -1 : 1;
        if (x[i].Kind == TacItemKind::Drive && (x[i].Name == "/") != (y[i].Name == "/"))
            return x[i].Name == "/" ? -1 : 1;
        if (int order = CompareNames(x[i].Name, y[i].Name)) return order;
    }
    if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
    return 0;
}

std::optional<TacNamespaceFolder> TacNamespaceFolder::BindToObject(const TItemIDList& relative) const {
    if (relative.IsDesktop()) return *this;
    if (!(GetAttributesOf(relative, 0) & SFGAO_FOLDER)) return std::nullopt;
    return TacNamespaceFolder(ConcatPIDLs(&FAbsolute, relative));
}

std::optional<TItemIDList> TacNamespaceFolder::SetNameOf(const TItemIDList& relative, const std::string& newName) const {
    TItemIDList absolute = ConcatPIDLs(&FAbsolute, relative);
    std::vector<TItemIDView> items = ItemsOf(absolute);
    TItemIDList parentID = absolute;
    StripLastID(parentID);
    std::optional<std::string> parent = PidlPath(parentID);
    if (items.empty() || items.back().Kind != TacItemKind::Entry || !parent || !ValidEntryName(newName)) {
        errno = EINVAL;
        return std::nullopt;
    }
    const std::string& oldName = items.back().Name;
    std::string from = os::JoinShellPath(*parent, oldName);
    struct stat st;
    if (::lstat(from.c_str(), &st) != 0) return std::nullopt;
    if (newName != oldName && !os::RenameNoReplace(from, os::JoinShellPath(*parent, newName)))
        return std::nullopt;
    TItemIDList renamed = relative;
    StripLastID(renamed);
    TItemIDList last = TItemIDList::Item(TacItemKind::Entry, newName);
    return ConcatPIDLs(&renamed, last);
}

std::optional<TItemIDList> ParseDisplayName(const std::string& path) {
    if (path.empty() || path[0] != '/') {
        errno = EINVAL;
        return std::nullopt;
    }
    std::string normal = std::filesystem::path(path).lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/')
        normal.pop_back();
    struct stat st;
    if (::lstat(normal.c_str(), &st) != 0) return std::nullopt;
    std::string drive = "/";
    for (const std::string& folder : DriveFolders())
        if (folder.size() > drive.size() && (normal == folder || normal.rfind(folder + "/", 0) == 0)) drive = folder;
    TItemIDList pidl = TItemIDList::Item(TacItemKind::Computer, "");
    pidl = ConcatPIDLs(&pidl, TItemIDList::Item(TacItemKind::Drive, drive));
    std::string rest = normal.substr(drive.size());
    std::size_t at = 0;
    while (at < rest.size()) {
        std::size_t slash = rest.find('/', at);
        std::string name = rest.substr(at, slash == std::string::npos ? std::string::npos : slash - at);
        at = slash == std::string::npos ? rest.size() : slash + 1;
        if (name.empty()) continue;
        if (!ValidEntryName(name)) {
            errno = EINVAL;
            return std::nullopt;
        }
        pidl = ConcatPIDLs(&pidl, TItemIDList::Item(TacItemKind::Entry, name));
    }
    return pidl;
}

}

// One listing of the WU folder answers the cache folder test of every node.
#include "app/monitor/CacheFolderList.h"

#include "app/cache/WorkUnitFiles.h"
#include "platform/os/NameCompare.h"
#include "platform/os/Paths.h"

#include <dirent.h>
#include <sys/stat.h>

namespace korvex::app {

namespace {

// The node a cache folder's name belongs to ("WU" and the index in decimal, letters without case); -1 for none.
int CacheFolderNode(std::string_view name, int nodes) {
    if (name.size() < 3 || name.size() > 12 || !os::SameName(name.substr(0, 2), "wu")) return -1;
    const std::string_view digits = name.substr(2);
    if (digits.size() > 1 && digits[0] == '0') return -1;   // "WU05" is no node's
    long node = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return -1;
        node = node * 10 + (c - '0');
    }
    return node < nodes ? static_cast<int>(node) : -1;
}

}

TCacheFolderList::TCacheFolderList(std::string programFolder, int nodes)
    : FProgramFolder(std::move(programFolder))
    , FExists(static_cast<std::size_t>(nodes), 0)
    , FAsked(static_cast<std::size_t>(nodes), 0) {
}

bool TCacheFolderList::Exists(int node) {
    std::lock_guard guard(FLock);
    if (node < 0 || static_cast<std::size_t>(node) >= FExists.size()) return false;
    const auto at = static_cast<std::size_t>(node);
    if (!FListed || FAsked[at]) List();
    FAsked[at] = 1;
    return FExists[at] != 0;
}

void TCacheFolderList::List() {
    FListed = true;
    FAsked.assign(FAsked.size(), 0);
    FExists.assign(FExists.size(), 0);
    const std::string folder = os::NativePath(CoresFolder(FProgramFolder));
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    // Each node's folder as a name resolves: the exact name when there is one, else the first in byte order.
    std::vector<std::string> names(FExists.size());
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        const int node = CacheFolderNode(name, static_cast<int>(FExists.size()));
        if (node < 0) continue;
        std::string& kept = names[static_cast<std::size_t>(node)];
        const std::string exact = "WU" + std::to_string(node);
        if (kept.empty() || name == exact || (kept != exact && name < kept)) kept = name;
    }
    ::closedir(dir);
    for (std::size_t node = 0; node < names.size(); ++node) {
        if (names[node].empty()) continue;
        struct stat st { };
        FExists[node] = ::stat((folder + "/" + names[node]).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
}

}

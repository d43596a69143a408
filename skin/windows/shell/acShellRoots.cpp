// Root folders: the rf… names, their special folders on Linux, and making a root folder object from a root text.
#include "skin/windows/shell/acShellRoots.h"

#include "platform/base/Exceptions.h"
#include "platform/base/Strings.h"
#include "platform/os/Paths.h"
#include "platform/os/ShellItems.h"

#include <array>
#include <cstdlib>
#include <sys/stat.h>

namespace korvex::skin {

namespace {

struct RootName {
    const char* Name;
    int Csidl;
};

constexpr std::array<RootName, 23> RootNames = {{
    {"rfDesktop", 0}, {"rfMyComputer", 17}, {"rfNetwork", 18}, {"rfRecycleBin", 10}, {"rfAppData", 26},
    {"rfCommonDesktopDirectory", 25}, {"rfCommonPrograms", 23}, {"rfCommonStartMenu", 22},
    {"rfCommonStartup", 24}, {"rfControlPanel", 3}, {"rfDesktopDirectory", 16}, {"rfFavorites", 6},
    {"rfFonts", 20}, {"rfInternet", 1}, {"rfPersonal", 5}, {"rfPrinters", 4}, {"rfPrintHood", 27},
    {"rfPrograms", 2}, {"rfRecent", 8}, {"rfSendTo", 9}, {"rfStartMenu", 11}, {"rfStartup", 7},
    {"rfTemplates", 21},
}};

std::string DataHome() {
    if (const char* dataHome = std::getenv("XDG_DATA_HOME"); dataHome && *dataHome && dataHome[0] == '/')
        return dataHome;
    return os::JoinShellPath(os::HomeFolder(), ".local/share");
}

// A path as the list under Home when it lies there, else under Computer; nothing when it does not exist.
std::optional<TItemIDList> LocationOf(const std::string& path) {
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
    std::string home = os::HomeFolder();
    while (home.size() > 1 && home.back() == '/')
        home.pop_back();
    if (home != "/" && path.rfind(home + "/", 0) == 0) {
        TItemIDList pidl = TItemIDList::Item(TacItemKind::Home, "");
        std::string rest = path.substr(home.size() + 1);
        std::size_t at = 0;
        while (at <= rest.size()) {
            std::size_t slash = rest.find('/', at);
            std::string name = rest.substr(at, slash == std::string::npos ? std::string::npos : slash - at);
            if (!name.empty()) {
                if (name == "." || name == "..") return ParseDisplayName(path);
                pidl = ConcatPIDLs(&pidl, TItemIDList::Item(TacItemKind::Entry, name));
            }
            if (slash == std::string::npos) break;
            at = slash + 1;
        }
        return pidl;
    }
    return ParseDisplayName(path);
}

}

std::optional<TacRootFolder> RootFolderFromName(const std::string& text) {
    for (std::size_t i = 0; i < RootNames.size(); ++i)
        if (base::SameText(RootNames[i].Name, text)) return static_cast<TacRootFolder>(i);
    return std::nullopt;
}

const char* RootFolderName(TacRootFolder folder) {
    return RootNames[static_cast<std::size_t>(folder)].Name;
}

int RootFolderCsidl(TacRootFolder folder) {
    return RootNames[static_cast<std::size_t>(folder)].Csidl;
}

std::optional<TItemIDList> SpecialFolderLocation(int csidl) {
    std::string home = os::HomeFolder();
    switch (csidl) {
    case 0: return TItemIDList();
    case 17: return TItemIDList::Item(TacItemKind::Computer, "");
    case 5: return TItemIDList::Item(TacItemKind::Home, "");
    case 16: return LocationOf(os::JoinShellPath(home, "Desktop"));
    case 26: return LocationOf(os::ConfigHome());
    case 21: return LocationOf(os::JoinShellPath(home, "Templates"));
    case 20: return LocationOf(os::JoinShellPath(DataHome(), "fonts"));
    case 10: return LocationOf(os::JoinShellPath(DataHome(), "Trash/files"));
    case 18: return LocationOf(os::UncRoot());
    default: return std::nullopt;
    }
}

bool SameRoot(const TacRoot& a, const TacRoot& b) {
    std::optional<TacRootFolder> x = RootFolderFromName(a), y = RootFolderFromName(b);
    if (x || y) return x == y;
    return a == b;
}

std::unique_ptr<TacShellFolder> CreateFolderFromPIDL(const TItemIDList& absolute) {
    TacNamespaceFolder desktop = DesktopFolder();
    std::optional<TacNamespaceFolder> bound = desktop.BindToObject(absolute);
    return std::make_unique<TacShellFolder>(nullptr, bound ? std::move(bound) : std::move(desktop), absolute);
}

void CreateRootFolder(std::unique_ptr<TacShellFolder>& rootFolder, const TacRoot& oldRoot, TacRoot& newRoot) {
    std::optional<TItemIDList> pidl;
    if (std::optional<TacRootFolder> name = RootFolderFromName(newRoot))
        pidl = SpecialFolderLocation(RootFolderCsidl(*name));
    else if (!newRoot.empty())
        pidl = LocationOf(newRoot).has_value() ? ParseDisplayName(newRoot) : std::nullopt;
    if (!pidl) {
        newRoot = oldRoot;
        throw base::Exception("Error Setting Path");
    }
    rootFolder = CreateFolderFromPIDL(*pidl);
}

}

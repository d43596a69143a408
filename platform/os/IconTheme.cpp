// The freedesktop icon theme layout: index.theme folders and sizes, inheritance, hicolor last.
#include "platform/os/IconTheme.h"

#include "platform/os/TextFiles.h"

#include <sys/stat.h>

#include <cstdlib>
#include <map>
#include <set>
#include <sstream>

namespace korvex::os {

namespace {

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> SplitList(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, separator))
        if (!(part = Trim(part)).empty()) parts.push_back(part);
    return parts;
}

// Desktop files read here are small: a pipe, a device or anything larger is not read (a theme index is
// tens of kB, the MIME generic icon list a few hundred).
constexpr std::int64_t MaxDesktopFileSize = std::int64_t(1) << 20;

// The file's text, or "" when it is missing, no regular file or too large.
std::string ReadDesktopFile(const std::string& path) {
    std::string content;
    if (!ReadWholeFile(path, content, MaxDesktopFileSize)) content.clear();
    return content;
}

// The sections of an INI-like file: section -> key -> value (first value wins).
using IniFile = std::map<std::string, std::map<std::string, std::string>>;

IniFile ReadIni(const std::string& path) {
    IniFile ini;
    std::istringstream in(ReadDesktopFile(path));
    std::string line, section;
    for (int lines = 0; std::getline(in, line) && lines < 100000; ++lines) {
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        ini[section].emplace(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
    return ini;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home && *home ? home : "";
}

// Icon theme paths are exact (no look-up without case, which would list folders for every name tried).
bool IsFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsRegularFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int ParseInt(const std::string& text, int fallback) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    return end != text.c_str() && value > 0 && value < 4096 ? int(value) : fallback;
}

// One theme as a look-up chain needs it, read once: its sized sub-folders that are there (a theme may be spread
// over several data folders; the first index.theme is its) and the themes it inherits.
struct Theme {
    std::vector<std::pair<std::string, int>> SizedFolders;   // full path, size; in the index's order
    std::vector<std::string> Inherits;
};

Theme ReadTheme(const std::string& name, const std::vector<std::string>& bases) {
    Theme theme;
    std::vector<std::string> paths;
    for (const std::string& base : bases)
        if (IsFolder(base + "/" + name)) paths.push_back(base + "/" + name);
    if (paths.empty()) return theme;
    const IniFile index = ReadIni(paths.front() + "/index.theme");
    const auto section = index.find("Icon Theme");
    if (section == index.end()) return theme;
    if (auto inherits = section->second.find("Inherits"); inherits != section->second.end())
        theme.Inherits = SplitList(inherits->second, ',');
    const auto directories = section->second.find("Directories");
    if (directories == section->second.end()) return theme;
    for (const std::string& sub : SplitList(directories->second, ',')) {
        const auto folder = index.find(sub);
        if (folder == index.end()) continue;
        const auto sizeEntry = folder->second.find("Size");
        const int size = sizeEntry == folder->second.end() ? 0 : ParseInt(sizeEntry->second, 0);
        if (size == 0) continue;
        for (const std::string& path : paths)
            if (IsFolder(path + "/" + sub)) theme.SizedFolders.emplace_back(path + "/" + sub, size);
    }
    return theme;
}

// The best file of one name in one theme: in the sub-folder whose size is nearest (the first of equals).
std::string LookInTheme(const Theme& theme, const std::string& name, int size) {
    std::string best;
    int bestDistance = 1 << 30;
    for (const auto& [folder, folderSize] : theme.SizedFolders) {
        const int distance = std::abs(folderSize - size);
        if (distance >= bestDistance) continue;
        if (const std::string file = folder + "/" + name + ".png"; IsRegularFile(file)) {
            best = file;
            bestDistance = distance;
        }
    }
    return best;
}

}   // namespace

std::vector<std::string> DesktopDataFolders() {
    std::vector<std::string> folders;
    if (const char* dataHome = std::getenv("XDG_DATA_HOME"); dataHome && *dataHome)
        folders.push_back(dataHome);
    else if (!HomeFolder().empty())
        folders.push_back(HomeFolder() + "/.local/share");
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    for (const std::string& dir : SplitList(dirs && *dirs ? dirs : "/usr/local/share:/usr/share", ':'))
        folders.push_back(dir);
    return folders;
}

std::string DesktopIconTheme() {
    std::string config;
    if (const char* configHome = std::getenv("XDG_CONFIG_HOME"); configHome && *configHome)
        config = configHome;
    else if (!HomeFolder().empty())
        config = HomeFolder() + "/.config";
    if (!config.empty()) {
        const IniFile settings = ReadIni(config + "/gtk-3.0/settings.ini");
        if (auto section = settings.find("Settings"); section != settings.end())
            if (auto name = section->second.find("gtk-icon-theme-name"); name != section->second.end())
                if (!name->second.empty() && name->second.find('/') == std::string::npos) return name->second;
    }
    return "Adwaita";
}

std::string FindThemeIcon(const std::vector<std::string>& names, int size, const std::string& theme,
    const std::vector<std::string>& dataFolders) {
    std::vector<std::string> bases;
    if (!HomeFolder().empty()) bases.push_back(HomeFolder() + "/.icons");
    for (const std::string& data : dataFolders)
        bases.push_back(data + "/icons");
    // The theme, what it inherits (breadth first, each once, 32 at most), hicolor last; each read once for all
    // names.
    std::vector<std::string> order {theme};
    std::set<std::string> seen {theme};
    std::vector<Theme> chain;
    for (std::size_t i = 0; i < order.size(); ++i) {
        chain.push_back(ReadTheme(order[i], bases));
        for (const std::string& parent : chain.back().Inherits)
            if (order.size() < 32 && parent.find('/') == std::string::npos && seen.insert(parent).second)
                order.push_back(parent);
    }
    if (seen.insert("hicolor").second) chain.push_back(ReadTheme("hicolor", bases));
    for (const std::string& name : names) {
        if (name.empty() || name.find('/') != std::string::npos) continue;
        for (const Theme& each : chain)
            if (std::string file = LookInTheme(each, name, size); !file.empty()) return file;
    }
    return {};
}

std::vector<std::string> MimeIconNames(const std::string& mimeType, const std::vector<std::string>& dataFolders) {
    std::vector<std::string> names;
    const auto slash = mimeType.find('/');
    if (slash == std::string::npos || slash == 0) return names;
    std::string own = mimeType;
    own[slash] = '-';
    names.push_back(own);
    for (const std::string& data : dataFolders) {
        std::istringstream in(ReadDesktopFile(data + "/mime/generic-icons"));
        std::string line;
        bool found = false;
        while (!found && std::getline(in, line)) {
            const auto colon = line.find(':');
            if (colon != std::string::npos && line.compare(0, colon, mimeType) == 0 && colon == mimeType.size()) {
                names.push_back(Trim(line.substr(colon + 1)));
                found = true;
            }
        }
        if (found) break;
    }
    const std::string generic = mimeType.substr(0, slash) + "-x-generic";
    if (names.back() != generic) names.push_back(generic);
    return names;
}

}

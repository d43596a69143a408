// The freedesktop icon theme layout: index.theme folders and sizes, inheritance, hicolor last.
#include "platform/os/IconTheme.h"

#include "platform/os/Files.h"
#include "platform/os/TextFiles.h"

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

struct ThemeFolder {
    std::string Path;   // the theme's folder in one data folder
    IniFile Index;
};

// Every folder of a theme (a theme may be spread over several data folders); the first index.theme is its.
std::vector<ThemeFolder> ThemeFolders(const std::string& theme, const std::vector<std::string>& bases) {
    std::vector<ThemeFolder> found;
    for (const std::string& base : bases) {
        const std::string path = base + "/" + theme;
        if (DirectoryExists(path)) found.push_back(ThemeFolder {path, ReadIni(path + "/index.theme")});
    }
    return found;
}

int ParseInt(const std::string& text, int fallback) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    return end != text.c_str() && value > 0 && value < 4096 ? int(value) : fallback;
}

// The best file of one name in one theme: the sub-folder whose size is nearest.
std::string LookInTheme(const std::vector<ThemeFolder>& folders, const std::string& name, int size) {
    if (folders.empty()) return {};
    const IniFile& index = folders.front().Index;
    const auto theme = index.find("Icon Theme");
    if (theme == index.end()) return {};
    const auto directories = theme->second.find("Directories");
    if (directories == theme->second.end()) return {};
    std::string best;
    int bestDistance = 1 << 30;
    for (const std::string& sub : SplitList(directories->second, ',')) {
        const auto section = index.find(sub);
        if (section == index.end()) continue;
        const auto sizeEntry = section->second.find("Size");
        const int dirSize = sizeEntry == section->second.end() ? 0 : ParseInt(sizeEntry->second, 0);
        if (dirSize == 0) continue;
        const int distance = std::abs(dirSize - size);
        if (distance >= bestDistance) continue;
        for (const ThemeFolder& folder : folders) {
            const std::string file = folder.Path + "/" + sub + "/" + name + ".png";
            if (FileExists(file)) {
                best = file;
                bestDistance = distance;
                break;
            }
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
    // The theme, what it inherits (breadth first, each once), hicolor last; each index read once for all names.
    std::vector<std::string> order {theme};
    std::set<std::string> seen {theme};
    std::vector<std::vector<ThemeFolder>> chain;
    for (std::size_t i = 0; i < order.size() && i < 32; ++i) {
        chain.push_back(ThemeFolders(order[i], bases));
        if (chain.back().empty()) continue;
        const auto section = chain.back().front().Index.find("Icon Theme");
        if (section == chain.back().front().Index.end()) continue;
        if (auto inherits = section->second.find("Inherits"); inherits != section->second.end())
            for (const std::string& parent : SplitList(inherits->second, ','))
                if (parent.find('/') == std::string::npos && seen.insert(parent).second) order.push_back(parent);
    }
    if (seen.insert("hicolor").second) chain.push_back(ThemeFolders("hicolor", bases));
    for (const std::string& name : names) {
        if (name.empty() || name.find('/') != std::string::npos) continue;
        for (const std::vector<ThemeFolder>& folders : chain)
            if (std::string file = LookInTheme(folders, name, size); !file.empty()) return file;
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

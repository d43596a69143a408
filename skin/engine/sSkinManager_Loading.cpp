// TsSkinManager loading: the skin directory, the load sequence and the inherited "Options.dat" reads.
#include "skin/engine/sSkinManager.h"

#include "platform/base/Strings.h"
#include "platform/classes/TMemIniFile.h"
#include "platform/os/Files.h"
#include "platform/os/Paths.h"
#include "skin/engine/sSkinIni.h"
#include "skin/engine/sStoredSkins.h"
#include "skin/engine/sUtils.h"

#include <algorithm>

namespace korvex::skin {

std::unique_ptr<classes::TMemIniFile>& SkinLoadIni() {
    static std::unique_ptr<classes::TMemIniFile> ini;
    return ini;
}

std::string TsSkinManager::GetFullSkinDirectory() const {
    const std::string& s = FSkinDirectory;
    const std::string program = ApplicationFolder();   // ends with '/'
    if (s.rfind("..", 0) == 0) {
        std::string parent = program.substr(0, program.size() - 1);
        while (!parent.empty() && !os::IsPathDelimiterChar(parent.back()))
            parent.pop_back();
        if (parent.empty()) parent = "/";   // the root has no parent: stay there
        return parent + (s.size() > 3 ? s.substr(3) : std::string());
    }
    if (s.rfind(".\\", 0) == 0 || s.rfind("./", 0) == 0) return program + s.substr(2);
    if (s.find(':') != std::string::npos) return s;
    if (!s.empty() && os::IsPathDelimiterChar(s[0])) return s;   // an absolute Linux path
    return program + s;
}

TsStoredSkin* TsSkinManager::FindStoredSkin() const {
    const int index = FInternalSkins->IndexOf(FSkinName);
    return index < 0 ? nullptr : FInternalSkins->Items(index);
}

std::string TsSkinManager::SkinFileName(const std::string& name) const {
    if (name.find(':') != std::string::npos || (!name.empty() && name[0] == '/')) return name;
    return LoadedSkin.SkinPath + name;
}

void TsSkinManager::LoadAllSkinData() {
    SkinChanging = true;
    SkinLoadIni().reset();
    const std::string dir = GetFullSkinDirectory();
    const std::string folder = dir + "/" + FSkinName + "/";
    if (!FSkinName.empty() && os::FileExists(folder + "Options.dat")) {
        SkinLoadIni() = std::make_unique<classes::TMemIniFile>(os::NativePath(folder + "Options.dat"));
        LoadedSkin.SkinPath = folder;
    } else {
        LoadedSkin.SkinPath.clear();
        if (FInternalSkins->Count() == 0) {
            FActive = false;
            return;
        }
        if (FInternalSkins->IndexOf(FSkinName) < 0) FSkinName = FInternalSkins->Items(0)->Name();
    }
    // Each loader is on its own: a failure inside one (a picture the codecs reject, memory) leaves its
    // table as far as it got and the load goes on.
    try {
        LoadAllMasks();
    } catch (...) { }
    try {
        LoadAllPatterns();
    } catch (...) { }
    try {
        LoadAllGeneralData();
    } catch (...) { }
    SkinLoadIni().reset();
}

std::string TsSkinManager::ReadIniStringFrom(const std::string& section, const std::string& key, const std::string& def,
    std::vector<std::string>& visited) const {
    const classes::TMemIniFile* ini = SkinLoadIni().get();
    if (ini == nullptr) return def;
    std::string v = ini->ReadString(section, key, "?");
    if (v == "?") {
        const std::string parent = ini->ReadString(section, "PARENTCLASS", "?");
        visited.push_back(section);
        const bool seen = std::any_of(
            visited.begin(), visited.end(), [&](const std::string& s) { return base::SameText(s, parent); });
        if (!parent.empty() && parent != "?" && !seen) v = ReadIniStringFrom(parent, key, "?", visited);
    }
    return v == "?" ? def : v;
}

int TsSkinManager::ReadIniIntegerFrom(
    const std::string& section, const std::string& key, int def, std::vector<std::string>& visited) const {
    const classes::TMemIniFile* ini = SkinLoadIni().get();
    if (ini == nullptr) return def;
    int v = ini->ReadInteger(section, key, -1);
    if (v == -1) {
        const std::string parent = ini->ReadString(section, "PARENTCLASS", "?");
        visited.push_back(section);
        const bool seen = std::any_of(
            visited.begin(), visited.end(), [&](const std::string& s) { return base::SameText(s, parent); });
        if (!parent.empty() && parent != "?" && !seen) v = ReadIniIntegerFrom(parent, key, -1, visited);
    }
    return v == -1 ? def : v;
}

std::string TsSkinManager::ReadIniString(
    const std::string& section, const std::string& key, const std::string& def) const {
    std::vector<std::string> visited;
    return ReadIniStringFrom(section, key, def, visited);
}

int TsSkinManager::ReadIniInteger(const std::string& section, const std::string& key, int def) const {
    std::vector<std::string> visited;
    return ReadIniIntegerFrom(section, key, def, visited);
}

}

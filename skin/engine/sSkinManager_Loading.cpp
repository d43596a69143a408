// TsSkinManager loading: the skin directory, the load sequence and the inherited "Options.dat" reads.
#include "skin/engine/sSkinManager.h"

#include "platform/base/Strings.h"
#include "platform/classes/TMemIniFile.h"
#include "platform/os/Files.h"
#include "platform/os/Paths.h"
#include "skin/engine/sSkinIni.h"
#include "skin/engine/sSkinPictures.h"
#include "skin/engine/sStoredSkins.h"
#include "skin/engine/sUtils.h"

namespace korvex::skin {

std::unique_ptr<classes::TMemIniFile>& SkinLoadIni() {
    static std::unique_ptr<classes::TMemIniFile> ini;
    return ini;
}

namespace {

std::unique_ptr<TsSkinIniIndex>& LoadIndex() {
    static std::unique_ptr<TsSkinIniIndex> index;
    return index;
}

}

const TsSkinIniIndex* SkinLoadIndex() {
    return SkinLoadIni() != nullptr ? LoadIndex().get() : nullptr;
}

void OpenSkinLoadIni(const std::string& fileName) {
    CloseSkinLoadIni();
    SkinLoadIni() = std::make_unique<classes::TMemIniFile>(fileName);
    LoadIndex() = std::make_unique<TsSkinIniIndex>(*SkinLoadIni());
}

void CloseSkinLoadIni() {
    LoadIndex().reset();
    SkinLoadIni().reset();
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
    CloseSkinLoadIni();
    const std::string dir = GetFullSkinDirectory();
    const std::string folder = dir + "/" + FSkinName + "/";
    if (os::FileExists(folder + "Options.dat")) {
        OpenSkinLoadIni(os::NativePath(folder + "Options.dat"));
        LoadedSkin.SkinPath = folder;
    } else {
        LoadedSkin.SkinPath.clear();
        if (FInternalSkins->Count() == 0) {
            FActive = false;
            return;
        }
        if (FInternalSkins->IndexOf(FSkinName) < 0) FSkinName = FInternalSkins->Items(0)->Name();
    }
    // Each picture file is decoded once for all three loaders.
    SkinLoadPictures() = std::make_unique<TsSkinPictures>();
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
    SkinLoadPictures().reset();
    CloseSkinLoadIni();
}

std::string TsSkinManager::ReadIniString(
    const std::string& section, const std::string& key, const std::string& def) const {
    const TsSkinIniIndex* index = SkinLoadIndex();
    return index == nullptr ? def : index->InheritedString(index->IndexOf(section), key, def);
}

int TsSkinManager::ReadIniInteger(const std::string& section, const std::string& key, int def) const {
    const TsSkinIniIndex* index = SkinLoadIndex();
    return index == nullptr ? def : index->InheritedInteger(index->IndexOf(section), key, def);
}

}

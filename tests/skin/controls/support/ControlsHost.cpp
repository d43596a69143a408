// Test support for the skinned controls: our skins by number and the picture folder.
#include "ControlsHost.h"

#include "support/SkinFixtures.h"

#include <filesystem>

namespace korvex::skin::controlstest {

namespace {
const char* const Names[] = {"MacOS (internal)", "LongHorn (internal)", "NextStyle (internal)", "Office2003 (internal)"};
}

const char* SkinName(int which) {
    return Names[which];
}

std::string SkinShortName(int which) {
    if (which < 0) return "NoSkin";
    const std::string name = Names[which];
    return name.substr(0, name.find(' '));
}

void LoadOurSkin(TsSkinManager& sm, int which) {
    test::LoadFolderSkin(sm, std::string(KORVEX_SOURCE_DIR) + "/skins", Names[which]);
}

std::string PictureDir() {
    const std::string dir = KORVEX_PICTURE_DIR;
    std::filesystem::create_directories(dir);
    return dir;
}

}

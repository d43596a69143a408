// Test support for the skinned controls: our four skins by number, loaded into a manager of the test.
#pragma once

#include <string>

namespace korvex::skin {
class TsSkinManager;
}

namespace korvex::skin::controlstest {

inline constexpr int SkinCount = 4;
const char* SkinName(int which);   // "MacOS (internal)" ...
std::string SkinShortName(int which);   // "MacOS" ...; "NoSkin" for -1
// Loads skin `which` from the source tree's skins/ folder into sm.
void LoadOurSkin(TsSkinManager& sm, int which);
std::string PictureDir();   // made when missing

}

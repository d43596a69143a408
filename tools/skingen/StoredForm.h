// The stored form of our skins: the component text of a skin manager holding them in InternalSkins.
#pragma once

#include "skin/engine/Forward.h"
#include "tools/skingen/SkinModel.h"

#include <string>
#include <vector>

namespace korvex::skingen {

// Copies the tables of a loaded skin (sections, images, patterns, master bitmap, global facts) into a stored
// skin named name, so that loading it back gives the same tables.
void CopyToStoredSkin(const skin::TsSkinManager& loaded, skin::TsStoredSkin& stored, const std::string& name);

// Each skin is written as a folder, loaded from it by the skin manager and copied into one stored skin, in the
// order given; the result is the text of an unnamed TsSkinManager holding them. Raises std::runtime_error
// when a skin does not load.
std::string StoredSkinsText(const std::vector<const TSkinModel*>& skins);

}

// Every skin section and image the engine, the skinned controls and the skinned windows look up by name.
#pragma once

#include <vector>

namespace korvex::skingen {

struct TLookup {
    const char* Section;
    const char* Image;   // nullptr: the section itself
    bool Required;   // our skins provide it (optional ones have a plain fall-back and are left out)
    const char* UsedBy;
};

// The table, sections first in the order our skins write them. Images are found with the parent fall-back.
const std::vector<TLookup>& SkinLookups();

}

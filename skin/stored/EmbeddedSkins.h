// The four skins stored with the main window, embedded in the program as component text.
#pragma once

#include <string>
#include <string_view>

namespace korvex::skin {

class TsSkinManager;

// Resource name of the stored form (korvex_embed); the text of an unnamed TsSkinManager whose InternalSkins
// hold "MacOS (internal)", "LongHorn (internal)", "NextStyle (internal)" and "Office2003 (internal)".
inline constexpr const char* StoredSkinsResource = "Skins.Stored";

// The embedded text; empty when the program was linked without it.
std::string_view EmbeddedStoredSkins();

// Reads the embedded skins into the manager's InternalSkins, replacing what they held; nothing is loaded
// (call it before SkinName is set). False, with the reason in *error when given, when the text is missing
// or cannot be read.
bool LoadEmbeddedSkins(TsSkinManager& manager, std::string* error = nullptr);

}

// The gallery's page of skinned controls and its skin chooser.
#pragma once

#include <string>

namespace korvex::classes {
class TForm;
}

namespace korvex::skin {
class TsSkinManager;
}

namespace korvex::gallery {

// A skin manager holding our four stored skins, owned by the application; nothing loaded yet.
skin::TsSkinManager* NewGallerySkinManager();
// Loads the skin: a stored name ("MacOS (internal)"), its short form ("MacOS"), or "none" for the plain look.
// False for a name that is none of these.
bool ChooseSkin(skin::TsSkinManager* manager, const std::string& name);
// A form with every skinned control in several states, and a row of buttons that switch the skin (the one of
// initialSkin shown down).
classes::TForm* BuildSkinnedPage(skin::TsSkinManager* manager, const std::string& initialSkin);

}

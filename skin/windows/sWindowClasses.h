// Registration of the skinned window classes, so that form text can name them.
#pragma once

namespace korvex::skin {

// Registers the skinned control classes and this library's own, and makes skin managers created afterwards
// skin the menus; call once before reading form text.
void RegisterSkinWindowClasses();

}

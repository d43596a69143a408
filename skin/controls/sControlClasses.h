// Registration of the skinned control classes, so that form text can name them.
#pragma once

namespace korvex::skin {

// Registers every skinned control class of this library; call once before reading form text that uses them.
void RegisterSkinControlClasses();

}

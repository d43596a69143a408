// Test fixtures made by the generator: small skin folders, each showing one part of the skin folder format.
#pragma once

#include <string>
#include <vector>

namespace korvex::skingen::fixtures {

// Each name is the folder written under the root.
inline constexpr const char* Minimal = "Minimal";   // GLOBALINFO and BUTTON with a "#" frame of three states
inline constexpr const char* ImageForms = "ImageForms";   // every image value form, files and holes included
inline constexpr const char* Inheritance = "Inheritance";   // parent chains, a cycle, a self parent, an orphan
inline constexpr const char* BadNumbers = "BadNumbers";   // values that are no numbers where numbers belong
inline constexpr const char* NoMaster = "NoMaster";   // a master bitmap that is not there
inline constexpr const char* Jpegs = "Jpegs";   // a JPEG just below and one at the 90 000-pixel threshold

void WriteMinimal(const std::string& root);
void WriteImageForms(const std::string& root);
void WriteInheritance(const std::string& root);
void WriteBadNumbers(const std::string& root);
void WriteNoMaster(const std::string& root);
void WriteJpegs(const std::string& root);

std::vector<std::string> Names();
void WriteAll(const std::string& root);

// Colours of the master bitmap of Minimal, one per state column, and its size.
inline constexpr int MinimalMasterWidth = 60;
inline constexpr int MinimalMasterHeight = 30;
inline constexpr int MinimalStateColors[3] = {0x0000FF, 0x00FF00, 0xFF0000};

// The JPEG sizes of Jpegs: 299 x 300 (a texture image) and 300 x 300 (a pattern).
inline constexpr int SmallJpegWidth = 299;
inline constexpr int LargeJpegWidth = 300;
inline constexpr int JpegHeight = 300;

}

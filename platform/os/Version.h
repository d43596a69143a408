// The program's file version (2.6.0.11), from the numbers the build generates.
#pragma once

#include <string>

namespace korvex::os {

struct TFileVersion {
    int Major = 0;
    int Minor = 0;
    int Release = 0;
    int Build = 0;
};

TFileVersion GetFileVersion();

// The first fieldCount numbers (clamped to 1..4) in decimal joined by "." ("2.6.0.11" for 4, "2.6" for 2).
std::string FileVersionText(int fieldCount = 4);

}

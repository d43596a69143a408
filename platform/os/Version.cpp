// The program's file version (2.6.0.11), from the numbers the build generates.
#include "platform/os/Version.h"

#include "platform/os/VersionNumbers.h"

namespace korvex::os {

TFileVersion GetFileVersion() {
    return {version::Major, version::Minor, version::Release, version::Build};
}

std::string FileVersionText(int fieldCount) {
    if (fieldCount < 1) fieldCount = 1;
    if (fieldCount > 4) fieldCount = 4;
    TFileVersion v = GetFileVersion();
    const int fields[4] = {v.Major, v.Minor, v.Release, v.Build};
    std::string text;
    for (int i = 0; i < fieldCount; ++i) {
        if (i > 0) text += '.';
        text += std::to_string(fields[i]);
    }
    return text;
}

}

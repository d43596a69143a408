// A tool's usage text: on standard output with status 0 when asked for (--help, -h), on the error output with
// status 2 after a wrong command line.
#pragma once

#include <cstdio>
#include <cstring>

namespace korvex::tools {

// Whether one of the arguments asks for the usage.
inline bool AsksForUsage(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) return true;
    return false;
}

inline int ShowUsage(const char* usage, bool asked) {
    std::fputs(usage, asked ? stdout : stderr);
    return asked ? 0 : 2;
}

}

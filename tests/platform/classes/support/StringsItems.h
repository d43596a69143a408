// The strings of a TStrings as a vector, for comparing a whole list in one expectation.
#pragma once

#include "platform/classes/TStrings.h"

#include <string>
#include <vector>

namespace korvex::classes::test {

inline std::vector<std::string> Items(const TStrings& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list.Strings(i));
    return out;
}

}

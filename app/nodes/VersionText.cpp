// A version text cut to a number of its fields.
#include "app/nodes/VersionText.h"

namespace korvex::app {

std::string VersionFields(const std::string& version, int fields) {
    if (fields < 1) return "";
    std::size_t end = 0;
    for (int field = 0; field < fields; ++field) {
        end = version.find('.', end == 0 && field == 0 ? 0 : end + 1);
        if (end == std::string::npos) return version;
    }
    return version.substr(0, end);
}

}

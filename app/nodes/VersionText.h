// A version text cut to a number of its fields.
#pragma once

#include <string>

namespace korvex::app {

// The first `fields` dot-separated fields of `version` ("2.6.0.11", 2 gives "2.6"); all of them when it has
// fewer; "" for fields < 1.
std::string VersionFields(const std::string& version, int fields);

}

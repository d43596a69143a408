// The file names of a text/uri-list, the form in which other programs hand over dragged files.
#pragma once

#include <string>
#include <vector>

namespace korvex::user {

// One name per file:// URI of this machine (no host, "localhost" or hostName), percent-decoded, in the list's
// order. Comment lines ('#'), other schemes, other hosts, relative paths and names that hold or would decode to a
// zero byte are left out. Lines end in CR LF or LF.
std::vector<std::string> FilesFromUriList(const std::string& list, const std::string& hostName);

}

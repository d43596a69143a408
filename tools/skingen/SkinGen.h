// The skin generator's tasks, as the command line and the build call them.
#pragma once

#include "tools/skingen/SkinModel.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace korvex::skingen {

// Our four skins, built, in the stored order; or the one named (none when no skin has the name).
std::vector<TSkinModel> BuildSkins(const std::string& onlyName = "");

// Names of the files that differ between the skins and the skin folders under root ("Name/Options.dat").
std::vector<std::string> CompareWithFolders(const std::vector<TSkinModel>& skins, const std::string& root);

// skingen [--out DIR] [--skin NAME | --all] [--fixtures DIR] [--stored FILE] [--sheet DIR] [--check DIR]
// Returns the process exit code; messages go to out and err.
int RunSkinGen(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}

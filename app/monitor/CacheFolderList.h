// Which nodes have a cache folder (WU\WU<n> under the program folder), from one listing of the WU folder instead
// of a folder test per node: the monitor's start asks it for every node's first cached flag.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace korvex::app {

class TCacheFolderList {
public:
    TCacheFolderList(std::string programFolder, int nodes);

    // Whether node `node`'s cache folder exists (a folder, links followed, names without case), as the WU folder
    // was listed last. The folder is listed again when the node asks a second time since that listing: a farm
    // cycle asks each node once, so each cycle lists it once and every node sees a listing made after its own
    // previous refresh. Any thread.
    bool Exists(int node);

private:
    void List();   // FLock held

    std::mutex FLock;
    std::string FProgramFolder;
    std::vector<char> FExists;   // by node, of the last listing
    std::vector<char> FAsked;   // by node: asked since the last listing
    bool FListed = false;
};

}

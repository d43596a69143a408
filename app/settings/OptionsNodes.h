// The options window's copy of the node list: read from the store at every showing, stored whole.
#pragma once

#include "app/settings/Settings.h"

#include <vector>

namespace korvex::app {

// Default values of a node the options window makes or fills in: named "new", core type 0 ("Auto").
TNodeSettings NewOptionsNode();

// Nodes 0..count-1: Label, Path, Ip, Hint and Progress as stored (missing: the new node's values); the GetWU
// values with each missing one's default written first.
std::vector<TNodeSettings> ReadOptionsNodes(int count);

// The whole list in one batch: HostCount, then every node's values; the values of the nodes past the list, up
// to `previousCount`, are deleted, so a later, longer list starts from defaults there.
void StoreOptionsNodes(const std::vector<TNodeSettings>& nodes, int previousCount);

// HostCount alone.
void StoreHostCount(int count);

}

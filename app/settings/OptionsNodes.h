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

// The whole list in one batch: HostCount, then every node's values. Values of nodes past the list stay where
// they are (nothing is deleted from the store): a later, longer list reads them again.
void StoreOptionsNodes(const std::vector<TNodeSettings>& nodes);

// HostCount alone.
void StoreHostCount(int count);

// Removes every value the store keeps of node `node` (a node past the list, or one about to be added), so that
// a node that takes its place starts from the defaults, not from a deleted node's values.
void ForgetNodeValues(int node);

}

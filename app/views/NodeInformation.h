// What the node information window shows of a unit read from a backup or cache folder, and the lamp colours
// it takes from the main window.
#pragma once

#include "app/views/HistoryTable.h"
#include "app/nodes/NodeReading.h"
#include "app/nodes/ProjectTable.h"

#include <string>
#include <vector>

namespace korvex::app {

// The last row (1..Count) whose name contains the unit's name or is contained in it; 0 when none. An empty
// unit name, and a row without a name, match nothing.
int FindUnitProject(const TProjectTable& projects, const std::string& wuName);

// One group's values: gauge, unit name, core, points and run-clone-gen.
struct TUnitInfoView {
    int Progress = 0;
    std::string WUName;
    std::string Core;
    std::string Points;
    std::string RCG;
};
TUnitInfoView MakeUnitInfoView(const TNodeReading& reading, const TProjectTable& projects);

// The expected speed of a cached unit from the history rows, in file order: the speed text of the first row of
// the unit's project (same first five characters of the name) on the shown node (its name held in the node's
// label), else the mean of the other nodes' speeds of that project ("0.00"; a speed that is not a number counts
// 3); "" when the project has no row.
std::string CachedUnitSpeed(const std::string& wuName, const std::string& nodeLabel,
    const std::vector<THistoryRow>& history);

// The "ON/OFF" lamp's colour for a status square colour: green shows as lime, others as they are.
int NodeLampColor(int statusColor);

}

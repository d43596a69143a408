// What the node information window shows of a unit read from a backup or cache folder.
#include "app/views/NodeInformation.h"

#include "app/monitor/RowRefresh.h"

#include "platform/base/Numbers.h"

namespace korvex::app {

int FindUnitProject(const TProjectTable& projects, const std::string& wuName) {
    if (wuName.empty()) return 0;
    for (int k = projects.Count(); k >= 1; --k) {
        const std::string& name = projects.Name(k);
        if (name.empty()) continue;
        if (name.find(wuName) != std::string::npos || wuName.find(name) != std::string::npos) return k;
    }
    return 0;
}

TUnitInfoView MakeUnitInfoView(const TNodeReading& reading, const TProjectTable& projects) {
    const int k = FindUnitProject(projects, reading.WUName);
    TUnitInfoView view;
    view.Progress = reading.Progress;
    view.WUName = reading.WUName;
    view.Core = projects.Core(k);
    view.Points = std::to_string(projects.Credit(k));
    view.RCG = reading.RCG;
    return view;
}

namespace {

// A speed text as the run time reads a number; 3 when it is none.
double SpeedNumber(const std::string& text) {
    return base::StrToFloatDef(text, 3);
}

}

std::string CachedUnitSpeed(const std::string& wuName, const std::string& nodeLabel,
    const std::vector<THistoryRow>& history) {
    const std::string key = wuName.substr(0, ProjectKeyLength);
    double sum = 0;
    int count = 0;
    for (const THistoryRow& row : history) {
        if (row[hcName].substr(0, ProjectKeyLength) != key) continue;
        // An empty node name is contained in no caption.
        if (!row[hcNode].empty() && nodeLabel.find(row[hcNode]) != std::string::npos) return row[hcSpeed];
        sum += SpeedNumber(row[hcSpeed]);
        ++count;
    }
    if (count == 0) return "";
    return base::FormatFloat("0.00", sum / count);
}

int NodeLampColor(int statusColor) {
    return statusColor == ColorGreen ? ColorLime : statusColor;
}

}

// What the node information window shows of a unit read from a backup or cache folder.
#include "app/views/NodeInformation.h"

#include "app/monitor/RowRefresh.h"

#include <charconv>
#include <cstdio>

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

double SpeedNumber(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [at, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && at == end && !text.empty() ? value : 3;
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
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", sum / count);
    return text;
}

int NodeLampColor(int statusColor) {
    return statusColor == ColorGreen ? ColorLime : statusColor;
}

}

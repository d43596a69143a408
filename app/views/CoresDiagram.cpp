// The cores diagram's numbers and texts.
#include "app/views/CoresDiagram.h"

#include "app/nodes/Estimates.h"
#include "app/settings/Settings.h"
#include "app/settings/SettingsKey.h"
#include "platform/base/Numbers.h"

#include <algorithm>
#include <cstring>

namespace korvex::app {

const std::array<TDiagramCore, DiagramCoreCount>& DiagramCores() {
    static const std::array<TDiagramCore, DiagramCoreCount> cores = {{
        {"Amber", "A", "Amber core", "AMBER -     ", "AMBER            - "},
        {"Tinker", "T", "Tinker core", "TINKER -    ", "TINKER           - "},
        {"Gromacs", "G", "Gromacs core", "GROMACS   - ", "GROMACS       - "},
        {"Dgromacs", "D", "Dgromacs core", "DGROMACS -  ", "DGROMACS     - "},
        {"Gbgromacs", "G", "GBgromacs core", "GBGROMACS - ", "GBGROMACS   - "},
        {"Qmd", "Q", "QMD core", "QMD -       ", "QMD                - "},
    }};
    return cores;
}

const char* ScaleLabel(int position, bool hpp) {
    static const char* const perHour[] = {"10", "12", "15", "20", "25", "30"};
    static const char* const perDay[] = {"240", "288", "360", "480", "600", "720"};
    const int p = std::clamp(position, 0, DiagramScaleCount - 1);
    return hpp ? perHour[p] : perDay[p];
}

int PerfectValue(int position) {
    return PerfectValues[std::size_t(std::clamp(position, 0, DiagramScaleCount - 1))];
}

int SectionEndValue(int perfect, int percent) {
    return int(std::int64_t(perfect) * percent / 100);
}

TNodeSpeeds ReadNodeSpeeds(int node) {
    TNodeSpeeds speeds;
    TSettingsKey data(DataKey);
    for (int e = 0; e < DiagramCoreCount; ++e)
        speeds[std::size_t(e)] = data.FloatIfPresent(NodeValue(DiagramCores()[std::size_t(e)].ValueWord, node));
    return speeds;
}

double DiagramValue(double pph, bool hpp) {
    return hpp ? pph : pph * 24;
}

double BarPosition(double pph, bool hpp) {
    return hpp ? pph * 100 : DiagramValue(pph, hpp) * 4.17;
}

int CurrentCoreRow(const std::string& coreName) {
    const std::string word = SpeedValueWord(coreName);
    if (word.empty()) return -1;
    for (int e = 0; e < DiagramCoreCount; ++e)
        if (word == DiagramCores()[std::size_t(e)].ValueWord) return e;
    return -1;
}

std::string NodePanelHint(const TNodeSpeeds& speeds, bool hpp) {
    std::string hint = hpp ? "Perfect value PPH:  \r\n" : "Perfect value PPD:  \r\n";
    for (int e = 0; e < DiagramCoreCount; ++e)
        if (const auto& v = speeds[std::size_t(e)])
            hint += std::string(DiagramCores()[std::size_t(e)].PanelPrefix)
                + base::FormatFloat("0.00", DiagramValue(*v, hpp)) + "\r\n";
    return hint;
}

std::string NodeResultsText(const std::string& nodeName, const TNodeSpeeds& speeds, bool hpp) {
    std::string text = "Information for  \"" + nodeName + "\"  node:\r\r";
    for (int e = 0; e < DiagramCoreCount; ++e) {
        const auto& v = speeds[std::size_t(e)];
        text += DiagramCores()[std::size_t(e)].MessagePrefix;
        text += v ? base::FormatFloat("0.00", DiagramValue(*v, hpp)) : "unknown";
        text += "\r";
    }
    return text + "\r";
}

}

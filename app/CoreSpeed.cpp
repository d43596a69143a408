// The measured speed per node and core family, kept smoothed in the settings store.
#include "app/Estimates.h"

#include "app/Settings.h"
#include "app/SettingsKey.h"

namespace korvex::app {

std::string SpeedValueWord(const std::string& core) {
    if (core == "AMBER") return "Amber";
    if (core == "TINKER") return "Tinker";
    if (core == "QMD") return "Qmd";
    if (core == "GROMACS" || core == "GROMACS33") return "Gromacs";
    if (core == "DGROMACS") return "Dgromacs";
    if (core == "GBGROMACS") return "Gbgromacs";
    return "";
}

std::string SpeedValueName(const std::string& core, int nodeIndex) {
    std::string word = SpeedValueWord(core);
    return word.empty() ? word : NodeValue(word.c_str(), nodeIndex);
}

double StoreCoreSpeed(int nodeIndex, const std::string& core, double v) {
    TSettingsKey data(DataKey);
    const std::string name = SpeedValueName(core, nodeIndex);
    if (!data.Exists(name)) data.WriteFloat(name, v);
    std::optional<double> stored = data.FloatIfPresent(name);
    if (!stored) return v;
    const double old = *stored == 0 ? v : *stored;
    const double r = BlendSpeed(old, v);
    data.WriteFloat(name, r);
    return r;
}

}

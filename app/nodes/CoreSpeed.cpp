// The measured speed per node and core family, kept smoothed in the settings store.
#include "app/nodes/Estimates.h"

#include "app/settings/Settings.h"
#include "app/settings/SettingsKey.h"

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

// Opens the key (made when missing); a missing value gets v written, then the value is read, a 0 taken as v, and
// the blend written.
double StoreCoreSpeed(int nodeIndex, const std::string& core, double v) {
    const std::string name = SpeedValueName(core, nodeIndex);
    TSettingsKey data(DataKey);
    if (!data.Exists(name)) data.WriteFloat(name, v);
    const std::optional<double> stored = data.FloatIfPresent(name);
    if (!stored) return v;   // wrong-typed (left alone), or it could not be written
    const double old = *stored == 0 ? v : *stored;
    const double r = BlendSpeed(old, v);
    data.WriteFloat(name, r);
    return r;
}

}

// The measured speed per node and core family, kept smoothed in the settings store.
#include "app/nodes/CoreSpeed.h"

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

double StoreCoreSpeed(TSettingsWrites& writes, int nodeIndex, const std::string& core, double v) {
    const std::string name = SpeedValueName(core, nodeIndex);
    std::optional<double> stored = writes.PendingFloat(DataKey, name);
    if (!stored) {
        TSettingsKey data(DataKey, false);
        if (data.Exists(name)) {
            stored = data.FloatIfPresent(name);
            if (!stored) return v;   // wrong-typed: left alone
        }
    }
    // A missing value starts at v, which the blend keeps.
    const double old = !stored || *stored == 0 ? v : *stored;
    const double r = BlendSpeed(old, v);
    if (!stored || *stored != r) writes.WriteFloat(DataKey, name, r);
    return r;
}

double StoreCoreSpeed(int nodeIndex, const std::string& core, double v) {
    TSettingsWrites writes;
    const double r = StoreCoreSpeed(writes, nodeIndex, core, v);
    writes.Flush();
    return r;
}

}

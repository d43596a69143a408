// The project table's look-up and its load from the settings store.
#include "app/nodes/ProjectTable.h"

#include "app/settings/ProgramLog.h"
#include "app/settings/Settings.h"
#include "app/settings/SettingsKey.h"

namespace korvex::app {

TProjectTable::TProjectTable() {
    FRows.reserve(BuiltInProjectCount + 1);
    FRows.emplace_back();
    const std::vector<TProjectRow>& builtIn = BuiltInProjects();
    FRows.insert(FRows.end(), builtIn.begin(), builtIn.end());
}

const TProjectRow& TProjectTable::Row(int k) const {
    return (k >= 0 && k <= Count()) ? FRows[static_cast<std::size_t>(k)] : FRows[0];
}

void TProjectTable::Add(TProjectRow row) {
    FRows.push_back(std::move(row));
}

int TProjectTable::Lookup(const std::string& wuName) const {
    if (wuName.empty()) return 0;
    const std::string_view key = std::string_view(wuName).substr(0, ProjectKeyLength);
    for (int k = Count(); k >= 1; --k)
        if (std::string_view(FRows[static_cast<std::size_t>(k)].Name).substr(0, ProjectKeyLength) == key) return k;
    return 0;
}

TProjectTable LoadProjectTable() {
    TProjectTable table;
    TSettingsKey units(UnitsKey, false);
    if (!units.IsOpen()) return table;
    std::optional<int> count = units.IntegerIfPresent("UnitsCount");
    if (!count) {
        WLog(std::string("Settings: ") + UnitsKey + "\\UnitsCount is missing; no user projects are read");
        return table;
    }
    const int rows = ClampUnitsCount(*count);
    for (int n = 1; n <= rows; ++n) {
        TProjectRow row;
        row.Name = units.TextIfPresent(NodeValue("Name", n)).value_or("");
        row.Core = units.TextIfPresent(NodeValue("Core", n)).value_or("");
        row.Credit = units.IntegerIfPresent(NodeValue("Credit", n)).value_or(0);
        table.Add(std::move(row));
    }
    return table;
}

}

// A project added to the project table by hand.
#include "app/nodes/ManualProject.h"

#include "app/settings/Settings.h"
#include "app/settings/SettingsKey.h"
#include "platform/base/DateTime.h"
#include "platform/base/Strings.h"

#include <cmath>
#include <limits>
#include <string_view>

namespace korvex::app {

namespace {

// A row of the table with the same first five characters (a shorter name: all it has).
bool KnownProject(const TProjectTable& table, const std::string& name) {
    const std::string_view key = std::string_view(name).substr(0, 5);
    for (int k = 1; k <= table.Count(); ++k)
        if (std::string_view(table.Name(k)).substr(0, 5) == key) return true;
    return false;
}

}

std::optional<TManualProjectAdded> AddManualProject(TProjectTable& table, const TProjectRow& row) {
    if (base::Trim(row.Name).empty() || KnownProject(table, row.Name)) return std::nullopt;
    table.Add(row);
    TSettingsKey units(UnitsKey);
    TManualProjectAdded added;
    added.UnitsCount = units.Integer("UnitsCount", 0) + 1;
    added.Date = base::Now();
    const std::string n = std::to_string(added.UnitsCount);
    units.WriteInteger("UnitsCount", added.UnitsCount);
    units.WriteFloat("Date", added.Date);
    units.WriteText("Name" + n, row.Name);
    units.WriteText("Core" + n, row.Core);
    units.WriteInteger("Credit" + n, row.Credit);
    return added;
}

int CreditOfValue(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = std::nearbyint(value);
    if (rounded >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (rounded <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return int(rounded);
}


}

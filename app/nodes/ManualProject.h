// A project added to the project table by hand: the table in memory and the user's list in Options\Units.
#pragma once

#include "app/nodes/ProjectTable.h"
#include "platform/base/DateTimeType.h"

#include <optional>
#include <string>

namespace korvex::app {

struct TManualProjectAdded {
    int UnitsCount = 0;   // the row's number n in the user's list (Name<n>, Core<n>, Credit<n>)
    base::TDateTime Date = 0;   // the list's new Date
};

// Adds the row unless its name is empty (blanks only count as empty) or known: a table row has the same first
// five characters. The table grows by the row; the list gets UnitsCount := UnitsCount + 1 (0 when
// missing), Date := now, Name<n>, Core<n> (as given) and Credit<n>. Nothing when not added.
std::optional<TManualProjectAdded> AddManualProject(TProjectTable& table, const TProjectRow& row);

// The credit a currency value gives: the nearest integer, kept within the integer range.
int CreditOfValue(double value);


}

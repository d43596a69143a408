// The numbers the row refresh makes of a reading: the node's measured speed per core family, the time
// remaining with the estimated finish, and the points per hour and per day.
#pragma once

#include "app/nodes/NodeReading.h"
#include "platform/base/DateTimeType.h"

#include <functional>
#include <string>

namespace korvex::app {

// ---- Speed -------------------------------------------------------------------------------------------------
// The speed of one percent: credit × 60000 / milliseconds per percent (the credit per minute of a percent).
// An unreadable time counts 20 minutes; a zero time gives 5 / 100 × credit.
double PercentSpeed(const std::string& timePerPercent, int credit);

// The smoothed speed from the stored one and a new measurement: the farther apart, the less the new one
// weighs ((3·old + v) / 4 under 3, (15·old + v) / 16 under 6, (63·old + v) / 64 under 10), and from 10 on
// (3·old + 4·v) / 7.
double BlendSpeed(double old, double v);

// The registry value word of a project core: "Amber", "Tinker", "Qmd", "Gromacs" (also for "GROMACS33"),
// "Dgromacs", "Gbgromacs"; "" for any other core.
std::string SpeedValueWord(const std::string& core);
// The value under SOFTWARE\Tellvar\Data: the word and the node index ("Gromacs2"); "" (the key's default
// value) for other cores.
std::string SpeedValueName(const std::string& core, int nodeIndex);

// Stores a new measurement v for the node and core: a missing value starts at v, a stored 0 counts as v,
// then the blend is written and returned. A wrong-typed value is left alone (logged) and v returned.
double StoreCoreSpeed(int nodeIndex, const std::string& core, double v);

// ---- Remaining time and finish -----------------------------------------------------------------------------
inline constexpr const char* RemainFormat = "##0.0;;END";
inline constexpr const char* PointsFormat = "##0.00;;0";

struct TFinishEstimate {
    double RemainMinutes = 0;   // the remaining time the text shows
    std::string RemainText;   // hours, RemainFormat ("END" for exactly none)
    base::TDateTime Finish = 0;
    bool Refined = false;   // taken from the last step's time per percent (or frame) near the end
};

// From the reading's progress, start and step times and the core shown for the node: the time elapsed and the
// time since the last step count to `now`, the finish from `cycleStart` (by default the same moment). `stage`
// hears the watchdog's sub-stages 261 to 269 as the estimate goes (266 to 269 only when it is refined near the
// end).
TFinishEstimate EstimateFinish(const TNodeReading& reading, const std::string& nodeCore, base::TDateTime now,
    base::TDateTime cycleStart = 0, const std::function<void(int stage)>& stage = {});

// ---- Points --------------------------------------------------------------------------------------------------
struct TPointsRates {
    double PerHour = 0;
    double PerDay = 0;
    std::string HourText;   // PointsFormat
    std::string DayText;
};

// The credit still to earn over the remaining hours of remainText (100 hours when it is not a number).
TPointsRates PointsRates(int progress, int credit, const std::string& remainText);

}

// The point in time: days since 1899-12-30 as a double, the fraction being the time of day.
#pragma once

namespace korvex::base {

using TDateTime = double;

inline constexpr double MSecsPerDay = 86400000.0;
inline constexpr double SecsPerDay = 86400.0;
inline constexpr int UnixDateDelta = 25569;   // 1970-01-01 as a point in time

}

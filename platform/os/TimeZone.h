// The local time zone: the UTC offset in force at an instant, and UTC <-> local conversions of points in time.
#pragma once

#include "platform/base/DateTimeType.h"

#include <cstdint>

namespace korvex::os {

// All routines use the system zone ($TZ respected, re-read on every call) and are safe from any thread.

// Minutes east of UTC in force at the instant (Berlin: +60 in winter, +120 in summer; Kolkata +330).
int UtcOffsetMinutesAt(std::int64_t unixSeconds);
// The same for a point in time given in UTC.
int UtcOffsetMinutesAtUtc(base::TDateTime utc);
// The same for a local wall-clock time (read back through LocalToUtc).
int UtcOffsetMinutesAtLocal(base::TDateTime local);
// The offset in force now.
int CurrentUtcOffsetMinutes();

// A point in time read as UTC, on the local wall clock, with the offset in force at that instant.
base::TDateTime UtcToLocal(base::TDateTime utc);
// A local wall-clock time as UTC. A time inside a daylight-saving gap or overlap resolves the way the
// system's mktime does (the standard-time reading).
base::TDateTime LocalToUtc(base::TDateTime local);

// Seconds (and nanoseconds) since 1970-01-01 UTC, as a local point in time: file times.
base::TDateTime UnixToLocalDateTime(std::int64_t seconds, std::int64_t nanoseconds = 0);

}

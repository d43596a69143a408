// Dates and times as the client writes them: "December 5 20:10:15" without a year, and "[hh:mm:ss]" stamps.
#pragma once

#include "app/nodes/NodeReading.h"
#include "platform/base/DateTimeType.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace korvex::app {

// A client date text taken apart: month name, day, time of day; the year is not written.
struct TClientDate {
    int Month = 0;   // 1..12
    int Day = 1;
    int Hour = 0;
    int Min = 0;
    int Sec = 0;
};

// Reads "Month day hh:mm:ss": the month is one of the twelve English names (exact case), the day defaults to 1
// and the time parts to 0 when they are not numbers. Nothing when the first word is not a month name.
std::optional<TClientDate> ParseClientDate(std::string_view text);

// The date in UTC in the latest year that puts it not later than limitUtc (nothing when no year of the last
// eight makes it a calendar date, e.g. February 30).
std::optional<base::TDateTime> LatestNotAfter(const TClientDate& date, base::TDateTime limitUtc);
// The date in UTC in the first year that puts it not earlier than fromUtc.
std::optional<base::TDateTime> FirstNotBefore(const TClientDate& date, base::TDateTime fromUtc);
// The date in UTC in the year that puts it nearest to aroundUtc.
std::optional<base::TDateTime> Nearest(const TClientDate& date, base::TDateTime aroundUtc);

// Milliseconds of the day of a log line's stamp (characters 2 to 9, "hh:mm:ss"); nothing when not a time.
std::optional<std::int64_t> StampMSecs(std::string_view line);

// Milliseconds from one stamp to a later one, adding a day when the later stamp is earlier in the day
// (the step crossed midnight).
std::int64_t StampDifference(std::int64_t fromMSecs, std::int64_t toMSecs);

// hh:nn:ss of a duration in milliseconds (its time of day: whole days drop out).
std::string DurationText(std::int64_t msecs);

// A local point in time and the UTC one it shows, with the zone's offset in force at that instant.
base::TDateTime UtcToLocalWith(base::TDateTime utc, const TUtcOffsetFunc& utcOffset);
base::TDateTime LocalToUtcWith(base::TDateTime local, const TUtcOffsetFunc& utcOffset);

}

// The local time zone: the UTC offset in force at an instant, and UTC <-> local conversions of points in time.
#include "platform/os/TimeZone.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <optional>
#include <string>

namespace korvex::os {

namespace {

constexpr std::int64_t MSecsPerDay = 86400000;
constexpr std::int64_t EpochDays = base::UnixDateDelta;

// Points before 1899-12-30 keep a positive time-of-day fraction (-1.25 is 1899-12-29 06:00).
std::int64_t DateTimeToMSecs(base::TDateTime dt) {
    double days = std::trunc(dt);
    double fraction = std::fabs(dt - days);
    return static_cast<std::int64_t>(days) * MSecsPerDay + std::llround(fraction * MSecsPerDay);
}

base::TDateTime MSecsToDateTime(std::int64_t msecs) {
    std::int64_t days = msecs / MSecsPerDay;
    std::int64_t timeOfDay = msecs % MSecsPerDay;
    if (timeOfDay < 0) {
        days -= 1;
        timeOfDay += MSecsPerDay;
    }
    double fraction = static_cast<double>(timeOfDay) / MSecsPerDay;
    return days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// localtime_r alone does not see a changed $TZ, and tzset looks at the zone file (a stat) at every call: the
// zone is read again at once when $TZ changed, and otherwise at most once a second for a changed zone file.
void ReadZoneIfChanged() {
    using Clock = std::chrono::steady_clock;
    static std::mutex lock;
    static std::optional<std::string> readTz;
    static bool read = false;
    static Clock::time_point readAt;
    const char* tz = std::getenv("TZ");
    const Clock::time_point now = Clock::now();
    std::lock_guard guard(lock);
    const bool sameTz = read && (tz ? readTz && *readTz == tz : !readTz);
    if (sameTz && now - readAt < std::chrono::seconds(1)) return;
    ::tzset();
    read = true;
    readTz = tz ? std::optional<std::string>(tz) : std::nullopt;
    readAt = now;
}

}

int UtcOffsetMinutesAt(std::int64_t unixSeconds) {
    ReadZoneIfChanged();
    std::time_t t = static_cast<std::time_t>(unixSeconds);
    std::tm local {};
    if (!::localtime_r(&t, &local)) return 0;
    return static_cast<int>(local.tm_gmtoff / 60);
}

int UtcOffsetMinutesAtUtc(base::TDateTime utc) {
    std::int64_t msecs = DateTimeToMSecs(utc) - EpochDays * MSecsPerDay;
    return UtcOffsetMinutesAt(FloorDiv(msecs, 1000));
}

int UtcOffsetMinutesAtLocal(base::TDateTime local) { return UtcOffsetMinutesAtUtc(LocalToUtc(local)); }

int CurrentUtcOffsetMinutes() {
    return UtcOffsetMinutesAt(static_cast<std::int64_t>(std::time(nullptr)));
}

base::TDateTime UtcToLocal(base::TDateTime utc) {
    std::int64_t msecs = DateTimeToMSecs(utc);
    int offset = UtcOffsetMinutesAt(FloorDiv(msecs - EpochDays * MSecsPerDay, 1000));
    return MSecsToDateTime(msecs + static_cast<std::int64_t>(offset) * 60000);
}

base::TDateTime LocalToUtc(base::TDateTime local) {
    std::int64_t msecs = DateTimeToMSecs(local) - EpochDays * MSecsPerDay;
    std::int64_t seconds = FloorDiv(msecs, 1000);
    std::int64_t millis = msecs - seconds * 1000;
    std::time_t asUtc = static_cast<std::time_t>(seconds);
    std::tm fields {};
    if (!::gmtime_r(&asUtc, &fields)) return local;
    fields.tm_isdst = -1;
    ::tzset();
    std::time_t utc = ::mktime(&fields);
    if (utc == static_cast<std::time_t>(-1) && fields.tm_year != 69) return local;
    return MSecsToDateTime((static_cast<std::int64_t>(utc) + EpochDays * 86400) * 1000 + millis);
}

base::TDateTime UnixToLocalDateTime(std::int64_t seconds, std::int64_t nanoseconds) {
    int offset = UtcOffsetMinutesAt(seconds);
    std::int64_t msecs
        = (seconds + EpochDays * 86400 + static_cast<std::int64_t>(offset) * 60) * 1000 + nanoseconds / 1000000;
    return MSecsToDateTime(msecs);
}

}

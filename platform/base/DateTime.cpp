// Calendar arithmetic, the clock and time stamps.
#include "platform/base/DateTime.h"

#include "platform/base/Exceptions.h"
#include "platform/base/Numbers.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>
#include <memory>
#include <mutex>

namespace korvex::base {

namespace {

constexpr std::int64_t MSecsPerDayInt = 86400000;
constexpr int MaxDateStamp = 3652059;   // 9999-12-31 as a time stamp day

// A date part and a time part joined the run time's way: the fraction counts away from the date,
// so for days before 1899-12-30 it is subtracted.
// The time stamp of dt, or the epoch's when dt lies outside the calendar (or is NaN).
TTimeStamp CalendarStamp(TDateTime dt) {
    TTimeStamp stamp = DateTimeToTimeStamp(dt);
    if (stamp.Date < 1 || stamp.Date > MaxDateStamp) return TTimeStamp {0, DateDelta};
    return stamp;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
    return date < 0 ? date - time : date + time;
}

struct TNowClock {
    std::mutex Lock;
    std::shared_ptr<const std::function<TDateTime()>> Provider;
};

TNowClock& NowClock() {
    static TNowClock clock;
    return clock;
}

TDateTime WallClockNow() {
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local {};
    localtime_r(&now.tv_sec, &local);
    TDateTime date = 0;
    TDateTime time = 0;
    TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date);
    TryEncodeTime(
        local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), static_cast<int>(now.tv_nsec / 1000000), time);
    return date + time;
}

}

// ---- Calendar -------------------------------------------------------------------------------------------------

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return days[month - 1] + ((month == 2 && IsLeapYear(year)) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
    for (int m = 1; m < month; ++m)
        day += DaysInMonth(year, m);
    int y = year - 1;
    result = static_cast<TDateTime>(y * 365 + y / 4 - y / 100 + y / 400 + day - DateDelta);
    return true;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result) {
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999) return false;
    result = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
    return true;
}

bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec, TDateTime& result) {
    TDateTime date = 0;
    TDateTime time = 0;
    if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, min, sec, msec, time)) return false;
    result = ComposeDateTime(date, time);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime result = 0;
    if (!TryEncodeDate(year, month, day, result)) throw EConvertError("Invalid argument to date encode");
    return result;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
    TDateTime result = 0;
    if (!TryEncodeTime(hour, min, sec, msec, result)) throw EConvertError("Invalid argument to time encode");
    return result;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec) {
    return ComposeDateTime(EncodeDate(year, month, day), EncodeTime(hour, min, sec, msec));
}

void DecodeDate(TDateTime dt, int& year, int& month, int& day) {
    int stamp = CalendarStamp(dt).Date;
    constexpr int D1 = 365;
    constexpr int D4 = D1 * 4 + 1;
    constexpr int D100 = D4 * 25 - 1;
    constexpr int D400 = D100 * 4 + 1;
    int t = stamp - 1;
    int y = 1 + (t / D400) * 400;
    t %= D400;
    int i = t / D100;
    int d = t % D100;
    if (i == 4) {   // last day of a 400-year cycle
        --i;
        d += D100;
    }
    y += i * 100;
    i = d / D4;
    d %= D4;
    y += i * 4;
    i = d / D1;
    d %= D1;
    if (i == 4) {   // last day of a leap cycle
        --i;
        d += D1;
    }
    y += i;
    int m = 1;
    while (d >= DaysInMonth(y, m)) {
        d -= DaysInMonth(y, m);
        ++m;
    }
    year = y;
    month = m;
    day = d + 1;
}

void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec) {
    int ms = CalendarStamp(dt).Time;
    hour = ms / 3600000;
    min = ms / 60000 % 60;
    sec = ms / 1000 % 60;
    msec = ms % 1000;
}

void DecodeDateTime(TDateTime dt, int& year, int& month, int& day, int& hour, int& min, int& sec, int& msec) {
    DecodeDate(dt, year, month, day);
    DecodeTime(dt, hour, min, sec, msec);
}

int DayOfWeek(TDateTime dt) {
    return CalendarStamp(dt).Date % 7 + 1;
}

// ---- The clock ------------------------------------------------------------------------------------------------

TDateTime Now() {
    std::shared_ptr<const std::function<TDateTime()>> provider;
    {
        std::lock_guard guard(NowClock().Lock);
        provider = NowClock().Provider;
    }
    return provider ? (*provider)() : WallClockNow();
}

TDateTime Date() {
    return DateTimeToTimeStamp(Now()).Date - DateDelta;
}

TDateTime Time() {
    return DateTimeToTimeStamp(Now()).Time / MSecsPerDay;
}

void SetNowProvider(std::function<TDateTime()> provider) {
    auto shared = provider ? std::make_shared<const std::function<TDateTime()>>(std::move(provider)) : nullptr;
    std::lock_guard guard(NowClock().Lock);
    NowClock().Provider = std::move(shared);
}

void ResetNowProvider() {
    SetNowProvider(nullptr);
}

// ---- Time stamps ----------------------------------------------------------------------------------------------

TTimeStamp DateTimeToTimeStamp(TDateTime dt) {
    std::int64_t ms = Round(dt * MSecsPerDay);   // saturates; NaN gives 0
    std::int64_t days = ms / MSecsPerDayInt + DateDelta;
    TTimeStamp result;
    result.Date = static_cast<int>(std::clamp<std::int64_t>(days, 0, std::numeric_limits<int>::max()));
    std::uint64_t magnitude = ms < 0 ? 0 - static_cast<std::uint64_t>(ms) : static_cast<std::uint64_t>(ms);
    result.Time = static_cast<int>(magnitude % MSecsPerDayInt);
    return result;
}

bool TryTimeStampToDateTime(const TTimeStamp& ts, TDateTime& result) {
    if (ts.Time < 0 || ts.Date <= 0) return false;
    result = ComposeDateTime(static_cast<TDateTime>(ts.Date - DateDelta), ts.Time / MSecsPerDay);
    return true;
}

TDateTime TimeStampToDateTime(const TTimeStamp& ts) {
    TDateTime result = 0;
    if (!TryTimeStampToDateTime(ts, result))
        throw EConvertError(
            "'" + std::to_string(ts.Date) + "." + std::to_string(ts.Time) + "' is not a valid timestamp");
    return result;
}

std::int64_t TimeStampToMSecs(const TTimeStamp& ts) {
    return static_cast<std::int64_t>(ts.Date) * MSecsPerDayInt + ts.Time;
}

TTimeStamp MSecsToTimeStamp(std::int64_t msecs) {
    TTimeStamp result;
    std::int64_t days = msecs / MSecsPerDayInt;
    result.Date = static_cast<int>(
        std::clamp<std::int64_t>(days, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    result.Time = static_cast<int>(msecs - days * MSecsPerDayInt);
    return result;
}

// ---- Unix time ------------------------------------------------------------------------------------------------

std::int64_t DateTimeToUnix(TDateTime dt) {
    return Round((dt - UnixDateDelta) * MSecsPerDay) / 1000;   // exact to the millisecond first
}

TDateTime UnixToDateTime(std::int64_t seconds) {
    return UnixDateDelta + static_cast<double>(seconds) / SecsPerDay;
}

}

// Client date texts and log stamps: reading them and placing a year-less date in the right year.
#include "app/nodes/ClientDates.h"

#include "platform/base/DateTime.h"
#include "platform/base/Numbers.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <string>

namespace korvex::app {

namespace {

constexpr std::array<std::string_view, 12> MonthNames = {"January", "February", "March", "April", "May", "June", "July",
    "August", "September", "October", "November", "December"};

// A leap day can be eight years away from the last one (around 2100).
constexpr int YearsToTry = 8;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The next word (a run of non-blanks) of s, which is advanced past it and the blanks before it.
std::string_view NextWord(std::string_view& s) {
    std::size_t start = 0;
    while (start < s.size() && IsBlank(s[start]))
        ++start;
    std::size_t stop = start;
    while (stop < s.size() && !IsBlank(s[stop]))
        ++stop;
    std::string_view word = s.substr(start, stop - start);
    s.remove_prefix(stop);
    return word;
}

int NumberOr(std::string_view text, int fallback) {
    int value = fallback;
    return base::TryStrToInt(std::string(TrimBlanks(text)), value) ? value : fallback;
}

std::optional<base::TDateTime> InYear(const TClientDate& date, int year) {
    base::TDateTime result = 0;
    if (!base::TryEncodeDateTime(year, date.Month, date.Day, date.Hour, date.Min, date.Sec, 0, result))
        return std::nullopt;
    return result;
}

int YearOf(base::TDateTime dt) {
    int year = 0, month = 0, day = 0;
    base::DecodeDate(dt, year, month, day);
    return year;
}

}

std::optional<TClientDate> ParseClientDate(std::string_view text) {
    std::string_view rest = text;
    std::string_view monthWord = NextWord(rest);
    TClientDate date;
    for (std::size_t i = 0; i < MonthNames.size(); ++i)
        if (monthWord == MonthNames[i]) date.Month = static_cast<int>(i) + 1;
    if (date.Month == 0) return std::nullopt;
    date.Day = NumberOr(NextWord(rest), 1);
    std::string_view time = TrimBlanks(rest);
    std::size_t colon = time.find(':');
    date.Hour = NumberOr(time.substr(0, colon), 0);
    if (colon == std::string_view::npos) return date;
    time.remove_prefix(colon + 1);
    colon = time.find(':');
    date.Min = NumberOr(time.substr(0, colon), 0);
    if (colon == std::string_view::npos) return date;
    date.Sec = NumberOr(time.substr(colon + 1), 0);
    return date;
}

std::optional<base::TDateTime> LatestNotAfter(const TClientDate& date, base::TDateTime limitUtc) {
    int year = YearOf(limitUtc);
    for (int y = year; y >= year - YearsToTry; --y) {
        std::optional<base::TDateTime> candidate = InYear(date, y);
        if (candidate && *candidate <= limitUtc) return candidate;
    }
    return std::nullopt;
}

std::optional<base::TDateTime> FirstNotBefore(const TClientDate& date, base::TDateTime fromUtc) {
    int year = YearOf(fromUtc);
    for (int y = year; y <= year + YearsToTry; ++y) {
        std::optional<base::TDateTime> candidate = InYear(date, y);
        if (candidate && *candidate >= fromUtc) return candidate;
    }
    return std::nullopt;
}

std::optional<base::TDateTime> Nearest(const TClientDate& date, base::TDateTime aroundUtc) {
    std::optional<base::TDateTime> before = LatestNotAfter(date, aroundUtc);
    std::optional<base::TDateTime> after = FirstNotBefore(date, aroundUtc);
    if (!before) return after;
    if (!after) return before;
    return (aroundUtc - *before <= *after - aroundUtc) ? before : after;
}

std::optional<std::int64_t> StampMSecs(std::string_view line) {
    if (line.size() < 2) return std::nullopt;
    base::TDateTime time = 0;
    if (!base::TryStrToTime(std::string(line.substr(1, 8)), time)) return std::nullopt;
    return base::DateTimeToTimeStamp(time).Time;
}

std::int64_t StampDifference(std::int64_t fromMSecs, std::int64_t toMSecs) {
    std::int64_t difference = toMSecs - fromMSecs;
    return difference < 0 ? difference + static_cast<std::int64_t>(base::MSecsPerDay) : difference;
}

std::string DurationText(std::int64_t msecs) {
    std::int64_t seconds = (msecs / 1000) % 86400;
    if (seconds < 0) seconds += 86400;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
        static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

base::TDateTime UtcToLocalWith(base::TDateTime utc, const TUtcOffsetFunc& utcOffset) {
    return utc + utcOffset(utc) / 1440.0;
}

base::TDateTime LocalToUtcWith(base::TDateTime local, const TUtcOffsetFunc& utcOffset) {
    // The offset of the instant itself: a first guess with the offset at the local reading, then corrected.
    base::TDateTime guess = local - utcOffset(local) / 1440.0;
    return local - utcOffset(guess) / 1440.0;
}

}

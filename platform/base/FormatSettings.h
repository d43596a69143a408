// The one fixed set of formats for dates, times and numbers, the same on every machine.
#pragma once

#include <array>
#include <string>

namespace korvex::base {

struct TFormatSettings {
    std::string ShortDateFormat;   // "dd.mm.yyyy"
    std::string LongDateFormat;   // "d mmmm yyyy"
    std::string ShortTimeFormat;   // "hh:nn"
    std::string LongTimeFormat;   // "hh:nn:ss"
    char DateSeparator;   // '.'
    char TimeSeparator;   // ':'
    char DecimalSeparator;   // '.'
    char ThousandSeparator;   // ','
    std::string TimeAMString;   // "AM"
    std::string TimePMString;   // "PM"
    std::array<std::string, 12> ShortMonthNames;   // "Jan" .. "Dec"
    std::array<std::string, 12> LongMonthNames;   // "January" .. "December"
    std::array<std::string, 7> ShortDayNames;   // "Sun" .. "Sat" (Sunday first, as DayOfWeek counts)
    std::array<std::string, 7> LongDayNames;   // "Sunday" .. "Saturday"
    int TwoDigitYearCenturyWindow;   // 50: a two-digit year lies within 50 years of today
};

// The process-wide settings; never changes, so it may be read from any thread.
const TFormatSettings& FormatSettings();

}

// The fixed format settings record.
#include "platform/base/FormatSettings.h"

namespace korvex::base {

const TFormatSettings& FormatSettings() {
    static const TFormatSettings settings {
        .ShortDateFormat = "dd.mm.yyyy",
        .LongDateFormat = "d mmmm yyyy",
        .ShortTimeFormat = "hh:nn",
        .LongTimeFormat = "hh:nn:ss",
        .DateSeparator = '.',
        .TimeSeparator = ':',
        .DecimalSeparator = '.',
        .ThousandSeparator = ',',
        .TimeAMString = "AM",
        .TimePMString = "PM",
        .ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
        .LongMonthNames = {"January", "February", "March", "April", "May", "June", "July", "August", "September",
            "October", "November", "December"},
        .ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
        .LongDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
        .TwoDigitYearCenturyWindow = 50,
    };
    return settings;
}

}

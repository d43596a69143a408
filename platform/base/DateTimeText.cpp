// Dates and times as text: FormatDateTime and the readers, with the fixed format settings.
#include "platform/base/DateTime.h"

#include "platform/base/Exceptions.h"
#include "platform/base/FormatSettings.h"

#include <cmath>

namespace korvex::base {

namespace {

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsNoCase(const std::string& s, std::size_t at, const char* prefix) {
    for (std::size_t i = 0; prefix[i]; ++i)
        if (at + i >= s.size() || UpperAscii(s[at + i]) != prefix[i]) return false;
    return true;
}

std::string Padded(int value, int width) {
    std::string digits = std::to_string(value);
    return digits.size() < static_cast<std::size_t>(width)
        ? std::string(static_cast<std::size_t>(width) - digits.size(), '0') + digits
        : digits;
}

struct TParts {
    int Year, Month, Day, Hour, Min, Sec, MSec, WeekDay;
};

// True when the format, from at on and outside quotes, holds an am/pm marker (12-hour clock).
bool HasAmPm(const std::string& format, std::size_t at) {
    char quote = 0;
    for (std::size_t i = at; i < format.size(); ++i) {
        char c = format[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (StartsNoCase(format, i, "AM/PM") || StartsNoCase(format, i, "A/P")
            || StartsNoCase(format, i, "AMPM")) {
            return true;
        }
    }
    return false;
}

void AppendFormatted(std::string& out, const std::string& format, const TParts& p, int depth) {
    const TFormatSettings& fs = FormatSettings();
    if (depth > 2) return;
    bool twelveHour = false;
    bool hourSeen = false;
    char lastToken = 0;
    std::size_t i = 0;
    while (i < format.size()) {
        char c = format[i];
        char token = UpperAscii(c);
        std::size_t count = 1;
        while (i + count < format.size() && UpperAscii(format[i + count]) == token && token >= 'A' && token <= 'Z')
            ++count;
        if (token >= 'A' && token <= 'Z') {
            if (token == 'M' && lastToken == 'H') token = 'N';   // m right after an hour means minutes
            lastToken = token;
        }
        switch (token) {
        case '"':
        case '\'': {
            std::size_t close = format.find(c, i + 1);
            if (close == std::string::npos) close = format.size();
            out.append(format, i + 1, close - i - 1);
            i = close + 1;
            continue;
        }
        case 'C':
            AppendFormatted(out, fs.ShortDateFormat, p, depth + 1);
            if (p.Hour != 0 || p.Min != 0 || p.Sec != 0) {
                out += ' ';
                AppendFormatted(out, fs.LongTimeFormat, p, depth + 1);
            }
            break;
        case 'D':
            if (count <= 2)
                out += Padded(p.Day, static_cast<int>(count));
            else if (count == 3)
                out += fs.ShortDayNames[static_cast<std::size_t>(p.WeekDay - 1)];
            else if (count == 4)
                out += fs.LongDayNames[static_cast<std::size_t>(p.WeekDay - 1)];
            else
                AppendFormatted(out, count == 5 ? fs.ShortDateFormat : fs.LongDateFormat, p, depth + 1);
            break;
        case 'M':
            if (count <= 2)
                out += Padded(p.Month, static_cast<int>(count));
            else if (count == 3)
                out += fs.ShortMonthNames[static_cast<std::size_t>(p.Month - 1)];
            else
                out += fs.LongMonthNames[static_cast<std::size_t>(p.Month - 1)];
            break;
        case 'Y':
            out += count <= 2 ? Padded(p.Year % 100, 2) : Padded(p.Year, 4);
            break;
        case 'H': {
            if (!hourSeen) {
                twelveHour = HasAmPm(format, i);
                hourSeen = true;
            }
            int hour = p.Hour;
            if (twelveHour) {
                hour %= 12;
                if (hour == 0) hour = 12;
            }
            out += Padded(hour, count >= 2 ? 2 : 1);
            break;
        }
        case 'N':
            out += Padded(p.Min, count >= 2 ? 2 : 1);
            break;
        case 'S':
            out += Padded(p.Sec, count >= 2 ? 2 : 1);
            break;
        case 'Z':
            out += Padded(p.MSec, count >= 3 ? 3 : 1);
            break;
        case 'T':
            AppendFormatted(out, count == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, p, depth + 1);
            break;
        case 'A': {
            bool pm = p.Hour >= 12;
            if (StartsNoCase(format, i, "AM/PM")) {
                bool lower = format[i] == 'a';
                out += pm ? (lower ? "pm" : "PM") : (lower ? "am" : "AM");
                count = 5;
            } else if (StartsNoCase(format, i, "A/P")) {
                bool lower = format[i] == 'a';
                out += pm ? (lower ? 'p' : 'P') : (lower ? 'a' : 'A');
                count = 3;
            } else if (StartsNoCase(format, i, "AMPM")) {
                out += pm ? fs.TimePMString : fs.TimeAMString;
                count = 4;
            } else {
                out.append(format, i, count);
            }
            break;
        }
        case '/':
            out += fs.DateSeparator;
            break;
        case ':':
            out += fs.TimeSeparator;
            break;
        default:
            out.append(format, i, count);
            break;
        }
        i += count;
    }
}

// ---- Readers ------------------------------------------------------------------------------------------
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string TrimBlanks(const std::string& s) {
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && IsBlank(s[begin]))
        ++begin;
    while (end > begin && IsBlank(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

// Reads minDigits..maxDigits decimal digits at pos.
bool ScanNumber(
    const std::string& s, std::size_t& pos, int minDigits, int maxDigits, int& value, int* digits = nullptr) {
    int count = 0;
    int result = 0;
    while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && count < maxDigits) {
        result = result * 10 + (s[pos++] - '0');
        ++count;
    }
    if (count < minDigits || (pos < s.size() && s[pos] >= '0' && s[pos] <= '9')) return false;
    value = result;
    if (digits) *digits = count;
    return true;
}

bool ScanChar(const std::string& s, std::size_t& pos, char c) {
    if (pos < s.size() && s[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

bool ScanTime(const std::string& s, TDateTime& value) {
    const char separator = FormatSettings().TimeSeparator;
    std::size_t pos = 0;
    int hour = 0, min = 0, sec = 0, msec = 0;
    if (!ScanNumber(s, pos, 1, 2, hour) || !ScanChar(s, pos, separator) || !ScanNumber(s, pos, 1, 2, min)) return false;
    if (ScanChar(s, pos, separator)) {
        if (!ScanNumber(s, pos, 1, 2, sec)) return false;
        if (ScanChar(s, pos, FormatSettings().DecimalSeparator)) {
            int digits = 0;
            if (!ScanNumber(s, pos, 1, 3, msec, &digits)) return false;
            for (; digits < 3; ++digits)
                msec *= 10;
        }
    }
    return pos == s.size() && TryEncodeTime(hour, min, sec, msec, value);
}

bool ScanDate(const std::string& s, TDateTime& value) {
    const TFormatSettings& fs = FormatSettings();
    std::size_t pos = 0;
    int day = 0, month = 0, year = 0, yearDigits = 0;
    if (!ScanNumber(s, pos, 1, 2, day) || !ScanChar(s, pos, fs.DateSeparator) || !ScanNumber(s, pos, 1, 2, month)
        || !ScanChar(s, pos, fs.DateSeparator) || !ScanNumber(s, pos, 1, 4, year, &yearDigits) || pos != s.size())
        return false;
    if (yearDigits <= 2) {
        int currentYear = 0, unusedMonth = 0, unusedDay = 0;
        DecodeDate(Now(), currentYear, unusedMonth, unusedDay);
        int century = currentYear - fs.TwoDigitYearCenturyWindow;
        year += century / 100 * 100;
        if (fs.TwoDigitYearCenturyWindow > 0 && year < century) year += 100;
    }
    return TryEncodeDate(year, month, day, value);
}

}

std::string FormatDateTime(const std::string& format, TDateTime dt) {
    TParts p {};
    DecodeDateTime(dt, p.Year, p.Month, p.Day, p.Hour, p.Min, p.Sec, p.MSec);
    p.WeekDay = DayOfWeek(dt);
    std::string result;
    AppendFormatted(result, format.empty() ? "c" : format, p, 0);
    return result;
}

std::string DateToStr(TDateTime dt) {
    return FormatDateTime(FormatSettings().ShortDateFormat, dt);
}

std::string TimeToStr(TDateTime dt) {
    return FormatDateTime(FormatSettings().LongTimeFormat, dt);
}

std::string DateTimeToStr(TDateTime dt) {
    return FormatDateTime("c", dt);
}

bool TryStrToTime(const std::string& s, TDateTime& value) {
    return ScanTime(TrimBlanks(s), value);
}

bool TryStrToDate(const std::string& s, TDateTime& value) {
    return ScanDate(TrimBlanks(s), value);
}

bool TryStrToDateTime(const std::string& s, TDateTime& value) {
    std::string text = TrimBlanks(s);
    std::size_t blank = text.find_first_of(" \t");
    TDateTime date = 0;
    TDateTime time = 0;
    if (blank == std::string::npos) {
        if (ScanDate(text, date)) {
            value = date;
            return true;
        }
        if (ScanTime(text, time)) {
            value = time;
            return true;
        }
        return false;
    }
    if (!ScanDate(text.substr(0, blank), date) || !ScanTime(TrimBlanks(text.substr(blank)), time)) return false;
    value = date < 0 ? date - time : date + time;
    return true;
}

TDateTime StrToTime(const std::string& s) {
    TDateTime value = 0;
    if (!TryStrToTime(s, value)) throw EConvertError("'" + s + "' is not a valid time");
    return value;
}

TDateTime StrToDate(const std::string& s) {
    TDateTime value = 0;
    if (!TryStrToDate(s, value)) throw EConvertError("'" + s + "' is not a valid date");
    return value;
}

TDateTime StrToDateTime(const std::string& s) {
    TDateTime value = 0;
    if (!TryStrToDateTime(s, value)) throw EConvertError("'" + s + "' is not a valid date and time");
    return value;
}

}

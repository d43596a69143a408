// Dates and times of the run time: encoding, decoding, the clock, time stamps, text conversion.
#pragma once

#include "platform/base/DateTimeType.h"

#include <cstdint>
#include <functional>
#include <string>

namespace korvex::base {

inline constexpr int DateDelta = 693594;   // days from 0001-01-01 to 1899-12-30, as time stamps count

// ---- Calendar ---------------------------------------------------------------------------------------------
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);   // 0 for a month outside 1..12

// Encode* raise EConvertError on a value outside the calendar (Feb 29 2007, month 13, hour 24, ...);
// years run 1..9999, hours 0..23, minutes and seconds 0..59, milliseconds 0..999.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime& result);   // result untouched on failure
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result);
bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec, TDateTime& result);

// Decoding rounds to the nearest millisecond first (23:59:59.9999 decodes as the next day's 00:00:00.000).
// Values outside years 1..9999 (and NaN) decode as 1899-12-30 00:00:00.000.
void DecodeDate(TDateTime dt, int& year, int& month, int& day);
void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec);
void DecodeDateTime(TDateTime dt, int& year, int& month, int& day, int& hour, int& min, int& sec, int& msec);
int DayOfWeek(TDateTime dt);   // 1 = Sunday .. 7 = Saturday

// ---- The clock ----------------------------------------------------------------------------------------------
// Now reads the local wall clock, or the provider set for tests. All three may be called from any thread.
TDateTime Now();
TDateTime Date();   // Now without its time of day
TDateTime Time();   // Now's time of day
// Replaces the clock behind Now/Date/Time (tests); an empty function restores the wall clock.
void SetNowProvider(std::function<TDateTime()> provider);
void ResetNowProvider();

// ---- Time stamps --------------------------------------------------------------------------------------------
// Date counts days so that 0001-01-01 is day 1 (1899-12-30 is DateDelta); Time is milliseconds of the day.
struct TTimeStamp {
    int Time = 0;   // milliseconds since midnight
    int Date = 0;   // days since 0001-01-01, plus one
};
// Rounds to the nearest millisecond; for points before 1899-12-30 the fraction is the time of day, as the
// run time stores them. Values outside the int range of days saturate.
TTimeStamp DateTimeToTimeStamp(TDateTime dt);
// Time may exceed one day (it is added as it is). Raises EConvertError when Time < 0 or Date <= 0.
TDateTime TimeStampToDateTime(const TTimeStamp& ts);
bool TryTimeStampToDateTime(const TTimeStamp& ts, TDateTime& result);
std::int64_t TimeStampToMSecs(const TTimeStamp& ts);   // Date * 86400000 + Time
TTimeStamp MSecsToTimeStamp(std::int64_t msecs);   // inverse of TimeStampToMSecs for msecs >= 0

// ---- Unix time ----------------------------------------------------------------------------------------------
// Plain arithmetic on the epoch, no time zone: 1970-01-01 00:00:00 is UnixDateDelta days.
std::int64_t DateTimeToUnix(TDateTime dt);   // whole seconds, truncated toward zero
TDateTime UnixToDateTime(std::int64_t seconds);

// ---- Text ---------------------------------------------------------------------------------------------------
// All text uses the fixed FormatSettings(): dates dd.mm.yyyy, times hh:nn:ss.
std::string DateToStr(TDateTime dt);   // "05.12.2007"
std::string TimeToStr(TDateTime dt);   // "20:10:15" (long time format)
// Short date, a blank and the long time; as the run time, the time is left out when hours, minutes and
// seconds are all zero ("05.12.2007" at midnight). StrToDateTime reads both forms back.
std::string DateTimeToStr(TDateTime dt);

// Readers accept blanks around the text.
// Time: h:n[:s[.z]] with ':' between (1-2 digits each, 1-3 for the milliseconds), hours 0..23.
// Date: d.m.y in that order, 1-2 digit day and month; a 1-2 digit year lies in the century window
// around the current year, 3-4 digits are taken as they are.
// Date and time: a date, optionally followed by blanks and a time; or a time alone (on day 0).
// The raising forms raise EConvertError "'<text>' is not a valid time" / "... date" / "... date and time".
TDateTime StrToTime(const std::string& s);
bool TryStrToTime(const std::string& s, TDateTime& value);   // value untouched on failure
TDateTime StrToDate(const std::string& s);
bool TryStrToDate(const std::string& s, TDateTime& value);
TDateTime StrToDateTime(const std::string& s);
bool TryStrToDateTime(const std::string& s, TDateTime& value);

// FormatDateTime specifiers (letters in any case):
//   c         short date, then a blank and the long time unless the time is exactly midnight
//   d dd      day 1..31 / 01..31      ddd dddd  short / long day name   ddddd dddddd  short / long date
//   m mm      month 1..12 / 01..12    mmm mmmm  short / long month name (m right after h or hh: minutes)
//   yy yyyy   two / four digit year   h hh      hour 0..23 / 00..23 (0..12 with am/pm or a/p)
//   n nn      minute                  s ss      second          z zzz   milliseconds 0..999 / 000..999
//   t tt      short / long time       am/pm a/p  12-hour clock marker   / :  date / time separator
//   "text" or 'text'  copied literally; any other character is copied as it is.
std::string FormatDateTime(const std::string& format, TDateTime dt);

}

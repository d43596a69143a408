// Stub bodies.
#include "platform/base/DateTime.h"

namespace korvex::base {
bool IsLeapYear(int year) { return {}; }
int DaysInMonth(int year, int month) { return {}; }
TDateTime EncodeDate(int year, int month, int day) { return {}; }
TDateTime EncodeTime(int hour, int min, int sec, int msec) { return {}; }
TDateTime EncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec) { return {}; }
bool TryEncodeDate(int year, int month, int day, TDateTime& result) { return {}; }
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& result) { return {}; }
bool TryEncodeDateTime(int year, int month, int day, int hour, int min, int sec, int msec, TDateTime& result) { return {}; }
void DecodeDate(TDateTime dt, int& year, int& month, int& day) {  }
void DecodeTime(TDateTime dt, int& hour, int& min, int& sec, int& msec) {  }
void DecodeDateTime(TDateTime dt, int& year, int& month, int& day, int& hour, int& min, int& sec, int& msec) {  }
int DayOfWeek(TDateTime dt) { return {}; }
TDateTime Now() { return {}; }
TDateTime Date() { return {}; }
TDateTime Time() { return {}; }
void SetNowProvider(std::function<TDateTime()> provider) {  }
void ResetNowProvider() {  }
TTimeStamp DateTimeToTimeStamp(TDateTime dt) { return {}; }
TDateTime TimeStampToDateTime(const TTimeStamp& ts) { return {}; }
bool TryTimeStampToDateTime(const TTimeStamp& ts, TDateTime& result) { return {}; }
std::int64_t TimeStampToMSecs(const TTimeStamp& ts) { return {}; }
TTimeStamp MSecsToTimeStamp(std::int64_t msecs) { return {}; }
std::int64_t DateTimeToUnix(TDateTime dt) { return {}; }
TDateTime UnixToDateTime(std::int64_t seconds) { return {}; }
std::string DateToStr(TDateTime dt) { return {}; }
std::string TimeToStr(TDateTime dt) { return {}; }
std::string DateTimeToStr(TDateTime dt) { return {}; }
TDateTime StrToTime(const std::string& s) { return {}; }
bool TryStrToTime(const std::string& s, TDateTime& value) { return {}; }
TDateTime StrToDate(const std::string& s) { return {}; }
bool TryStrToDate(const std::string& s, TDateTime& value) { return {}; }
TDateTime StrToDateTime(const std::string& s) { return {}; }
bool TryStrToDateTime(const std::string& s, TDateTime& value) { return {}; }
std::string FormatDateTime(const std::string& format, TDateTime dt) { return {}; }
}

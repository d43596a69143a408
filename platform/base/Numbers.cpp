// Stub bodies.
#include "platform/base/Numbers.h"

namespace korvex::base {
std::string IntToStr(std::int64_t value) { return {}; }
int StrToInt(const std::string& s) { return {}; }
bool TryStrToInt(const std::string& s, int& value) { return {}; }
int StrToIntDef(const std::string& s, int defaultValue) { return {}; }
std::int64_t StrToInt64(const std::string& s) { return {}; }
bool TryStrToInt64(const std::string& s, std::int64_t& value) { return {}; }
std::int64_t StrToInt64Def(const std::string& s, std::int64_t defaultValue) { return {}; }
double StrToFloat(const std::string& s) { return {}; }
bool TryStrToFloat(const std::string& s, double& value) { return {}; }
double StrToFloatDef(const std::string& s, double defaultValue) { return {}; }
std::string FloatToStr(double value) { return {}; }
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits) { return {}; }
std::string FormatFloat(const std::string& format, double value) { return {}; }
std::int64_t Round(double value) { return {}; }
std::int64_t Trunc(double value) { return {}; }
double Int(double value) { return {}; }
double Frac(double value) { return {}; }
}

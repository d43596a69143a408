// Number routines of the run time: integer and float text conversion, FormatFloat, rounding.
#pragma once

#include <cstdint>
#include <string>

namespace korvex::base {

// Decimal text of an integer ("-42"). One 64-bit overload serves every integer type.
std::string IntToStr(std::int64_t value);

// Integer text as the run time's Val reads it: leading blanks (space, tab), an optional sign, then decimal
// digits or hexadecimal digits after "$", "0x" or "0X". Trailing characters of any kind fail, as does an
// empty text. Decimal values must fit the type; hexadecimal values may use the full unsigned width and wrap
// ("$FFFFFFFF" is -1 as an int), as the run time reads bit patterns.
// StrToInt raises EConvertError "'<text>' is not a valid integer value".
int StrToInt(const std::string& s);
bool TryStrToInt(const std::string& s, int& value);   // value untouched on failure
int StrToIntDef(const std::string& s, int defaultValue);
std::int64_t StrToInt64(const std::string& s);
bool TryStrToInt64(const std::string& s, std::int64_t& value);
std::int64_t StrToInt64Def(const std::string& s, std::int64_t defaultValue);

// Float text with the fixed decimal point '.', whatever the process locale: optional blanks around it, a sign,
// digits with an optional fraction, an optional exponent ("1e3", "-2.5E-2"). No thousands separators, no
// hexadecimal, no "INF"/"NAN"; values beyond the double range fail.
// StrToFloat raises EConvertError "'<text>' is not a valid floating point value".
double StrToFloat(const std::string& s);
bool TryStrToFloat(const std::string& s, double& value);   // value untouched on failure
double StrToFloatDef(const std::string& s, double defaultValue);

// FloatToStr: general form with 15 significant digits and no trailing zeros ("0.5", "123.456", "1E20",
// "1.5E-7"); scientific from 1E15 up and below 0.0001. NaN gives "NAN", infinities "INF" and "-INF".
std::string FloatToStr(double value);

enum class TFloatFormat {
    General,   // shortest of fixed or scientific, precision significant digits, no trailing zeros
    Fixed,   // fixed point with digits decimals, no thousands separators
    Number,   // as Fixed, with thousands separators
};
// FloatToStrF: precision is clamped to 1..18 (significant digits taken before the decimals are cut).
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits);

// FormatFloat: up to three sections "positive;negative;zero". An empty or missing negative section uses the
// first section with a '-' in front; the zero section, when there is one and it is not empty, is used for any
// value that rounds to zero under the section it would otherwise use (so 0.04 with "0.0;;END" gives "END").
// In a section: '0' digit always shown, '#' digit shown when significant, '.' the decimal point, ',' anywhere before
// the point turns on thousands separators, text in quotes and any other character copied literally (a section without
// digit places, such as "END", is plain text). More integer digits than places all show; the decimal point is left out
// when no fraction digit shows. An empty format gives FloatToStr. No scientific sections. Rounding is half away from
// zero on the value's 15 significant digits (1.005 with "0.00" gives "1.01").
std::string FormatFloat(const std::string& format, double value);

// Round: to nearest, halves to even (0.5 -> 0, 1.5 -> 2, -2.5 -> -2). Saturates at the int64 range; NaN -> 0.
std::int64_t Round(double value);
// Trunc: toward zero. Saturates at the int64 range instead of overflowing; NaN -> 0.
std::int64_t Trunc(double value);
// Int: the integer part as a double; Frac: value - Int(value) (sign of value).
double Int(double value);
double Frac(double value);

// MulDiv as Windows has it: number * numerator / denominator from the exact product, rounded half away from zero.
int MulDiv(int number, int numerator, int denominator);

}

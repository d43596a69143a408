// Number routines of the run time.
#include "platform/base/Numbers.h"

#include "platform/base/Assert.h"
#include "platform/base/Exceptions.h"
#include "platform/base/FormatSettings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace korvex::base {

namespace {

// ---- Integer text -----------------------------------------------------------------------------------
// Val-style reading: blanks, sign, decimal or "$"/"0x" hexadecimal, nothing after the digits.
bool ParseInteger(
    const std::string& s, std::int64_t minimum, std::int64_t maximum, std::uint64_t hexMask, std::int64_t& result) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    bool hex = false;
    if (i < s.size() && s[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == s.size()) return false;
    std::uint64_t value = 0;
    if (hex) {
        for (; i < s.size(); ++i) {
            char c = s[i];
            unsigned digit;
            if (c >= '0' && c <= '9')
                digit = static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                digit = static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                digit = static_cast<unsigned>(c - 'A' + 10);
            else
                return false;
            if (value > (hexMask >> 4)) return false;
            value = (value << 4) | digit;
        }
        // The digits are a bit pattern of the target width; the sign applies to the pattern.
        std::uint64_t bits = negative ? 0 - value : value;
        result = hexMask == 0xFFFFFFFFu ? static_cast<std::int32_t>(static_cast<std::uint32_t>(bits))
                                        : static_cast<std::int64_t>(bits);
        return true;
    }
    std::uint64_t limit
        = negative ? static_cast<std::uint64_t>(-(minimum + 1)) + 1 : static_cast<std::uint64_t>(maximum);
    for (; i < s.size(); ++i) {
        char c = s[i];
        if (c < '0' || c > '9') return false;
        unsigned digit = static_cast<unsigned>(c - '0');
        if (value > (limit - digit) / 10) return false;
        value = value * 10 + digit;
    }
    result = negative ? static_cast<std::int64_t>(0ull - value) : static_cast<std::int64_t>(value);
    return true;
}

[[noreturn]] void RaiseNotInteger(const std::string& s) {
    throw EConvertError("'" + s + "' is not a valid integer value");
}

// ---- Decimal digits ---------------------------------------------------------------------------------
// |value| = 0.d1 d2 d3 ... * 10^Exponent; Digits has no trailing zeros and is empty for zero.
struct TDecimal {
    bool Negative = false;
    std::string Digits;
    int Exponent = 0;
};

TDecimal ToDecimal(double value, int precision) {
    TDecimal result;
    result.Negative = std::signbit(value);
    if (value == 0) return result;
    char buffer[64];
    auto [end, ec]
        = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, precision - 1);
    (void)ec;
    std::string text(buffer, end);
    std::size_t e = text.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] >= '0' && text[i] <= '9') result.Digits += text[i];
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), exponent);
    result.Exponent = exponent + 1;
    while (!result.Digits.empty() && result.Digits.back() == '0')
        result.Digits.pop_back();
    return result;
}

// Rounds half away from zero to the given number of decimals.
void RoundDecimals(TDecimal& d, int decimals) {
    int keep = d.Exponent + decimals;
    if (keep < 0) {
        d.Digits.clear();
        return;
    }
    if (static_cast<std::size_t>(keep) >= d.Digits.size()) return;
    bool up = d.Digits[static_cast<std::size_t>(keep)] >= '5';
    d.Digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.Digits[static_cast<std::size_t>(i)] == '9')
            d.Digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++d.Digits[static_cast<std::size_t>(i)];
        } else {
            d.Digits.insert(d.Digits.begin(), '1');
            ++d.Exponent;
        }
    }
    while (!d.Digits.empty() && d.Digits.back() == '0')
        d.Digits.pop_back();
}

// Integer digits of d ("" for a value below one).
std::string IntegerDigits(const TDecimal& d) {
    if (d.Digits.empty() || d.Exponent <= 0) return {};
    std::string result = d.Digits.substr(0, static_cast<std::size_t>(d.Exponent));
    result.append(static_cast<std::size_t>(d.Exponent) - result.size(), '0');
    return result;
}

// The first count fraction digits of d, padded with zeros.
std::string FractionDigits(const TDecimal& d, int count) {
    std::string result;
    for (int k = 0; k < count; ++k) {
        int index = d.Exponent + k;
        result += (index >= 0 && static_cast<std::size_t>(index) < d.Digits.size())
            ? d.Digits[static_cast<std::size_t>(index)]
            : '0';
    }
    return result;
}

std::string WithThousands(const std::string& digits) {
    std::string result;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) result += FormatSettings().ThousandSeparator;
        result += digits[i];
    }
    return result;
}

std::string SpecialText(double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string GeneralText(double value, int precision) {
    TDecimal d = ToDecimal(value, precision);
    if (d.Digits.empty()) return "0";
    std::string result = d.Negative ? "-" : "";
    if (d.Exponent > precision || d.Exponent < -3) {
        result += d.Digits[0];
        if (d.Digits.size() > 1) result += FormatSettings().DecimalSeparator + d.Digits.substr(1);
        result += "E" + std::to_string(d.Exponent - 1);
        return result;
    }
    std::string integer = IntegerDigits(d);
    result += integer.empty() ? "0" : integer;
    int fraction = static_cast<int>(d.Digits.size()) - d.Exponent;
    if (fraction > 0) result += FormatSettings().DecimalSeparator + FractionDigits(d, fraction);
    return result;
}

// ---- FormatFloat ------------------------------------------------------------------------------------
std::vector<std::string> SplitSections(const std::string& format) {
    std::vector<std::string> sections(1);
    char quote = 0;
    for (char c : format) {
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            sections.emplace_back();
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

struct TSectionLayout {
    int IntegerPlaces = 0;   // '0' and '#' before the point
    int IntegerMinimum = 0;   // places from the first '0' before the point up to the point
    int FractionPlaces = 0;   // '0' and '#' after the point
    int FractionMinimum = 0;   // places up to the last '0' after the point
    bool Thousands = false;
    bool HasPlaceholders = false;
};

// Walks a format section: the characters inside '...' or "..." go to literal (the quotes dropped), the others
// to code.
template <class TLiteral, class TCode>
void WalkSection(const std::string& section, TLiteral literal, TCode code) {
    char quote = 0;
    for (char c : section) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                literal(c);
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else {
            code(c);
        }
    }
}

TSectionLayout ScanSection(const std::string& section) {
    TSectionLayout layout;
    bool afterPoint = false;
    int firstZero = -1;
    WalkSection(section, [](char) {}, [&](char c) {
        switch (c) {
        case '.':
            afterPoint = true;
            break;
        case ',':
            if (!afterPoint) layout.Thousands = true;
            break;
        case '0':
        case '#':
            layout.HasPlaceholders = true;
            if (afterPoint) {
                ++layout.FractionPlaces;
                if (c == '0') layout.FractionMinimum = layout.FractionPlaces;
            } else {
                if (c == '0' && firstZero < 0) firstZero = layout.IntegerPlaces;
                ++layout.IntegerPlaces;
            }
            break;
        default:
            break;
        }
    });
    if (firstZero >= 0) layout.IntegerMinimum = layout.IntegerPlaces - firstZero;
    return layout;
}

// Writes |d| (already rounded) into the section's placeholders.
std::string ApplySection(const std::string& section, const TSectionLayout& layout, const TDecimal& d) {
    std::string integer = IntegerDigits(d);
    if (static_cast<int>(integer.size()) < layout.IntegerMinimum)
        integer.insert(0, static_cast<std::size_t>(layout.IntegerMinimum) - integer.size(), '0');
    std::string fraction = FractionDigits(d, layout.FractionPlaces);
    while (static_cast<int>(fraction.size()) > layout.FractionMinimum && fraction.back() == '0')
        fraction.pop_back();

    const int length = static_cast<int>(integer.size());
    std::string result;
    auto emitDigit = [&](int index) {
        result += integer[static_cast<std::size_t>(index)];
        if (layout.Thousands && index < length - 1 && (length - 1 - index) % 3 == 0)
            result += FormatSettings().ThousandSeparator;
    };
    bool afterPoint = false;
    int integerPlace = 0;
    int fractionPlace = 0;
    WalkSection(section, [&](char c) { result += c; }, [&](char c) {
        switch (c) {
        case ',':
            break;
        case '.':
            if (!afterPoint && !fraction.empty()) result += FormatSettings().DecimalSeparator;
            afterPoint = true;
            break;
        case '0':
        case '#':
            if (afterPoint) {
                if (fractionPlace < static_cast<int>(fraction.size()))
                    result += fraction[static_cast<std::size_t>(fractionPlace)];
                ++fractionPlace;
            } else {
                // Place k shows digit length - (places - k); the first place also takes any overflow.
                int index = length - (layout.IntegerPlaces - integerPlace);
                int from = integerPlace == 0 ? 0 : index;
                for (int i = std::max(from, 0); i <= index; ++i)
                    emitDigit(i);
                ++integerPlace;
            }
            break;
        default:
            result += c;
            break;
        }
    });
    return result;
}

}

std::string IntToStr(std::int64_t value) {
    return std::to_string(value);
}

int StrToInt(const std::string& s) {
    int value = 0;
    if (!TryStrToInt(s, value)) RaiseNotInteger(s);
    return value;
}

bool TryStrToInt(const std::string& s, int& value) {
    std::int64_t result = 0;
    if (!ParseInteger(s, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 0xFFFFFFFFu, result))
        return false;
    value = static_cast<int>(result);
    return true;
}

int StrToIntDef(const std::string& s, int defaultValue) {
    int value = defaultValue;
    return TryStrToInt(s, value) ? value : defaultValue;
}

std::int64_t StrToInt64(const std::string& s) {
    std::int64_t value = 0;
    if (!TryStrToInt64(s, value)) RaiseNotInteger(s);
    return value;
}

bool TryStrToInt64(const std::string& s, std::int64_t& value) {
    return ParseInteger(s, std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max(),
        ~std::uint64_t(0), value);
}

std::int64_t StrToInt64Def(const std::string& s, std::int64_t defaultValue) {
    std::int64_t value = defaultValue;
    return TryStrToInt64(s, value) ? value : defaultValue;
}

double StrToFloat(const std::string& s) {
    double value = 0;
    if (!TryStrToFloat(s, value)) throw EConvertError("'" + s + "' is not a valid floating point value");
    return value;
}

bool TryStrToFloat(const std::string& s, double& value) {
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && (s[begin] == ' ' || s[begin] == '\t'))
        ++begin;
    while (end > begin && (s[end - 1] == ' ' || s[end - 1] == '\t'))
        --end;
    // Check the shape first: sign, digits with one optional point, optional exponent.
    std::string text;
    std::size_t i = begin;
    bool negative = false;
    if (i < end && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    int mantissaDigits = 0;
    int integerDigits = 0;   // significant digits before the point
    bool seenPoint = false;
    bool leading = true;
    for (; i < end; ++i) {
        char c = s[i];
        if (c >= '0' && c <= '9') {
            ++mantissaDigits;
            if (c != '0') leading = false;
            if (!seenPoint && !leading) ++integerDigits;
            text += c;
        } else if (c == FormatSettings().DecimalSeparator && !seenPoint) {
            seenPoint = true;
            text += '.';
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) return false;
    int exponent = 0;
    if (i < end && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < end && (s[i] == '+' || s[i] == '-')) negativeExponent = s[i++] == '-';
        std::size_t digitsStart = i;
        while (i < end && s[i] >= '0' && s[i] <= '9') {
            if (exponent < 100000) exponent = exponent * 10 + (s[i] - '0');
            ++i;
        }
        if (i == digitsStart) return false;
        if (negativeExponent) exponent = -exponent;
        text += 'e' + std::to_string(exponent);
    }
    if (i != end) return false;
    double result = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), result);
    if (ec == std::errc::result_out_of_range) {
        if (leading || integerDigits + exponent < 0)
            result = 0;   // underflow reads as zero
        else
            return false;
    } else if (ec != std::errc() || ptr != text.data() + text.size()) {
        return false;
    }
    value = negative ? -result : result;
    return true;
}

double StrToFloatDef(const std::string& s, double defaultValue) {
    double value = defaultValue;
    return TryStrToFloat(s, value) ? value : defaultValue;
}

std::string FloatToStr(double value) {
    return FloatToStrF(value, TFloatFormat::General, 15, 0);
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits) {
    if (!std::isfinite(value)) return SpecialText(value);
    precision = std::clamp(precision, 1, 18);
    digits = std::clamp(digits, 0, 18);
    if (format == TFloatFormat::General) return GeneralText(value, precision);
    TDecimal d = ToDecimal(value, precision);
    if (d.Exponent > precision) return GeneralText(value, precision);
    RoundDecimals(d, digits);
    std::string integer = IntegerDigits(d);
    if (integer.empty()) integer = "0";
    std::string result = (d.Negative && !d.Digits.empty()) ? "-" : "";
    result += format == TFloatFormat::Number ? WithThousands(integer) : integer;
    if (digits > 0) result += FormatSettings().DecimalSeparator + FractionDigits(d, digits);
    return result;
}

std::string FormatFloat(const std::string& format, double value) {
    if (!std::isfinite(value)) return SpecialText(value);
    std::vector<std::string> sections = SplitSections(format);
    if (format.empty()) return FloatToStr(value);

    bool negative = value < 0;
    std::size_t chosen = (negative && sections.size() > 1 && !sections[1].empty()) ? 1 : 0;
    bool minus = negative && chosen == 0;
    TSectionLayout layout = ScanSection(sections[chosen]);
    TDecimal d = ToDecimal(value, 15);
    RoundDecimals(d, layout.FractionPlaces);
    if (d.Digits.empty()) {   // rounds to zero: the zero section when there is one, else unsigned
        minus = false;
        if (sections.size() > 2 && !sections[2].empty()) {
            chosen = 2;
            layout = ScanSection(sections[2]);
        }
    }
    if (!layout.HasPlaceholders) return (minus ? "-" : "") + ApplySection(sections[chosen], layout, TDecimal {});
    return (minus ? "-" : "") + ApplySection(sections[chosen], layout, d);
}

std::int64_t Round(double value) {
    if (std::isnan(value)) return 0;
    double floor = std::floor(value);
    double diff = value - floor;
    double rounded = floor;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(floor, 2.0) != 0)) rounded = floor + 1;
    return Trunc(rounded);
}

std::int64_t Trunc(double value) {
    constexpr double limit = 9223372036854775808.0;   // 2^63
    if (std::isnan(value)) return 0;
    if (value >= limit) return std::numeric_limits<std::int64_t>::max();
    if (value <= -limit) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

double Int(double value) {
    return std::trunc(value);
}

double Frac(double value) {
    return value - std::trunc(value);
}

int MulDiv(int number, int numerator, int denominator) {
    KORVEX_ASSERT(denominator != 0);
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = std::llabs(static_cast<long long>(denominator)) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const long long magnitude = (std::llabs(product) + half) / std::llabs(static_cast<long long>(denominator));
    return static_cast<int>(negative ? -magnitude : magnitude);
}

}

// Text routines of the run time.
#include "platform/base/Strings.h"

#include "platform/base/Utf8.h"

#include <algorithm>
#include <cstring>

namespace korvex::base {

namespace {

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsSpaceOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// Upper-case partner of a lower-case letter, or the letter itself.
char32_t UnicodeUpper(char32_t c) {
    if (c < 0x80) return static_cast<char32_t>(AsciiUpper(static_cast<char>(c)));
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x137) return c & ~char32_t(1);
    if (c >= 0x139 && c <= 0x148) return (c & 1) ? c : c - 1;
    if (c >= 0x14A && c <= 0x177) return c & ~char32_t(1);
    if (c == 0x17A || c == 0x17C || c == 0x17E) return c - 1;
    if ((c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2)) return c - 0x20;
    if (c == 0x3C2)   // final sigma
        return 0x3A3;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F)) return c & ~char32_t(1);
    if (c >= 0x4C1 && c <= 0x4CE) return (c & 1) ? c : c - 1;
    if (c == 0x4CF) return 0x4C0;
    return c;
}

// Lower-case partner of an upper-case letter, or the letter itself.
char32_t UnicodeLower(char32_t c) {
    if (c < 0x80) return static_cast<char32_t>(AsciiLower(static_cast<char>(c)));
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if (c == 0x178) return 0xFF;
    if (c >= 0x100 && c <= 0x137) return c | 1;
    if (c >= 0x139 && c <= 0x148) return (c & 1) ? c + 1 : c;
    if (c >= 0x14A && c <= 0x177) return c | 1;
    if (c == 0x179 || c == 0x17B || c == 0x17D) return c + 1;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F)) return c | 1;
    if (c >= 0x4C1 && c <= 0x4CE) return (c & 1) ? c + 1 : c;
    if (c == 0x4C0) return 0x4CF;
    return c;
}

// Maps every valid code point through map; invalid bytes are copied as they are.
template <typename Map>
std::string MapCodePoints(const std::string& s, Map map) {
    std::string result;
    result.reserve(s.size());
    std::size_t pos = 0;
    while (pos < s.size()) {
        std::size_t start = pos;
        char32_t c = Utf8DecodeNext(s, pos);
        if (c == ReplacementCharacter && pos - start == 1)   // an invalid byte, not an encoded U+FFFD
            result += s[start];
        else
            Utf8Append(result, map(c));
    }
    return result;
}

int CompareBytes(const std::string& a, const std::string& b) {
    int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}

int Pos(const std::string& needle, const std::string& s) {
    return PosEx(needle, s, 1);
}

int PosEx(const std::string& needle, const std::string& s, int offset) {
    if (needle.empty() || offset < 1 || static_cast<std::size_t>(offset) > s.size()) return 0;
    std::size_t found = s.find(needle, static_cast<std::size_t>(offset - 1));
    return found == std::string::npos ? 0 : static_cast<int>(found) + 1;
}

std::string Copy(const std::string& s, int index, int count) {
    if (index < 1) index = 1;
    if (count <= 0 || static_cast<std::size_t>(index) > s.size()) return {};
    return s.substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
}

void Delete(std::string& s, int index, int count) {
    if (index < 1 || count <= 0 || static_cast<std::size_t>(index) > s.size()) return;
    s.erase(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count));
}

void Insert(const std::string& sub, std::string& s, int index) {
    std::size_t at = static_cast<std::size_t>(std::clamp<long long>(index, 1, static_cast<long long>(s.size()) + 1));
    s.insert(at - 1, sub);
}

std::string StringReplace(
    const std::string& s, const std::string& oldPattern, const std::string& newPattern, TReplaceMode mode) {
    if (oldPattern.empty()) return s;
    std::string result;
    std::size_t from = 0;
    while (true) {
        std::size_t found = s.find(oldPattern, from);
        if (found == std::string::npos) break;
        result.append(s, from, found - from);
        result += newPattern;
        from = found + oldPattern.size();
        if (mode == TReplaceMode::FirstOnly) break;
    }
    result.append(s, from, std::string::npos);
    return result;
}

std::string Trim(const std::string& s) {
    return TrimLeft(TrimRight(s));
}

std::string TrimLeft(const std::string& s) {
    auto first = std::find_if_not(s.begin(), s.end(), IsSpaceOrControl);
    return std::string(first, s.end());
}

std::string TrimRight(const std::string& s) {
    auto last = std::find_if_not(s.rbegin(), s.rend(), IsSpaceOrControl);
    return std::string(s.begin(), last.base());
}

std::string UpperCase(const std::string& s) {
    std::string result = s;
    std::transform(result.begin(), result.end(), result.begin(), AsciiUpper);
    return result;
}

std::string LowerCase(const std::string& s) {
    std::string result = s;
    std::transform(result.begin(), result.end(), result.begin(), AsciiLower);
    return result;
}

std::string AnsiUpperCase(const std::string& s) {
    return MapCodePoints(s, UnicodeUpper);
}

std::string AnsiLowerCase(const std::string& s) {
    return MapCodePoints(s, UnicodeLower);
}

bool SameText(const std::string& a, const std::string& b) {
    return CompareText(a, b) == 0;
}

int CompareText(const std::string& a, const std::string& b) {
    return CompareBytes(UpperCase(a), UpperCase(b));
}

bool AnsiSameText(const std::string& a, const std::string& b) {
    return AnsiCompareText(a, b) == 0;
}

int AnsiCompareText(const std::string& a, const std::string& b) {
    return CompareBytes(AnsiUpperCase(a), AnsiUpperCase(b));
}

bool StartsStr(const std::string& subText, const std::string& text) {
    return text.size() >= subText.size() && text.compare(0, subText.size(), subText) == 0;
}

bool EndsStr(const std::string& subText, const std::string& text) {
    return text.size() >= subText.size() && text.compare(text.size() - subText.size(), subText.size(), subText) == 0;
}

bool StartsText(const std::string& subText, const std::string& text) {
    return text.size() >= subText.size() && SameText(text.substr(0, subText.size()), subText);
}

bool EndsText(const std::string& subText, const std::string& text) {
    return text.size() >= subText.size() && SameText(text.substr(text.size() - subText.size()), subText);
}

int WordCount(const std::string& s, const std::string& delimiters) {
    int count = 0;
    std::size_t pos = 0;
    while ((pos = s.find_first_not_of(delimiters, pos)) != std::string::npos) {
        ++count;
        pos = s.find_first_of(delimiters, pos);
    }
    return count;
}

std::string ExtractWord(int n, const std::string& s, const std::string& delimiters) {
    if (n < 1) return {};
    std::size_t pos = 0;
    while ((pos = s.find_first_not_of(delimiters, pos)) != std::string::npos) {
        std::size_t end = s.find_first_of(delimiters, pos);
        if (--n == 0) return s.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end;
    }
    return {};
}

std::string IntToHex(std::int64_t value, int digits) {
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    std::uint64_t bits = static_cast<std::uint64_t>(value);
    std::string result;
    do {
        result.insert(result.begin(), hexDigits[bits & 0xF]);
        bits >>= 4;
    } while (bits != 0);
    if (digits > static_cast<int>(result.size()))
        result.insert(0, static_cast<std::size_t>(digits) - result.size(), '0');
    return result;
}

std::string QuotedStr(const std::string& s) {
    return "'" + StringReplace(s, "'", "''") + "'";
}

std::string StringOfChar(char c, int count) {
    return count > 0 ? std::string(static_cast<std::size_t>(count), c) : "";
}

// Line breaks are looked for in windows that grow from a few lines' length, so that a text whose breaks are
// all of one kind is not scanned to its end for the other at every line.
std::size_t FindLineBreak(std::string_view text, std::size_t from) {
    std::size_t window = 256;
    while (from < text.size()) {
        const std::size_t size = std::min(window, text.size() - from);
        const char* begin = text.data() + from;
        const void* lf = std::memchr(begin, '\n', size);
        const std::size_t lfAt = lf ? std::size_t(static_cast<const char*>(lf) - begin) : size;
        if (const void* cr = std::memchr(begin, '\r', lfAt))
            return from + std::size_t(static_cast<const char*>(cr) - begin);
        if (lf) return from + lfAt;
        from += size;
        window = std::min(window * 2, std::size_t(1) << 16);
    }
    return std::string_view::npos;
}

std::size_t FindLastLineBreak(std::string_view text) {
    std::size_t window = 256;
    std::size_t end = text.size();
    while (end > 0) {
        const std::size_t size = std::min(window, end);
        const char* begin = text.data() + end - size;
        const void* lf = ::memrchr(begin, '\n', size);
        const std::size_t after = lf ? std::size_t(static_cast<const char*>(lf) - begin) + 1 : 0;
        if (const void* cr = ::memrchr(begin + after, '\r', size - after))
            return end - size + std::size_t(static_cast<const char*>(cr) - begin);
        if (lf) return end - size + after - 1;
        end -= size;
        window = std::min(window * 2, std::size_t(1) << 16);
    }
    return std::string_view::npos;
}

}

// Stub bodies.
#include "platform/base/Strings.h"

namespace korvex::base {
int Pos(const std::string& needle, const std::string& s) { return {}; }
int PosEx(const std::string& needle, const std::string& s, int offset) { return {}; }
std::string Copy(const std::string& s, int index, int count) { return {}; }
void Delete(std::string& s, int index, int count) {  }
void Insert(const std::string& sub, std::string& s, int index) {  }
std::string StringReplace(const std::string& s, const std::string& oldPattern, const std::string& newPattern,
    TReplaceMode mode) { return {}; }
std::string Trim(const std::string& s) { return {}; }
std::string TrimLeft(const std::string& s) { return {}; }
std::string TrimRight(const std::string& s) { return {}; }
std::string UpperCase(const std::string& s) { return {}; }
std::string LowerCase(const std::string& s) { return {}; }
std::string AnsiUpperCase(const std::string& s) { return {}; }
std::string AnsiLowerCase(const std::string& s) { return {}; }
bool SameText(const std::string& a, const std::string& b) { return {}; }
int CompareText(const std::string& a, const std::string& b) { return {}; }
bool AnsiSameText(const std::string& a, const std::string& b) { return {}; }
int AnsiCompareText(const std::string& a, const std::string& b) { return {}; }
bool StartsStr(const std::string& subText, const std::string& text) { return {}; }
bool EndsStr(const std::string& subText, const std::string& text) { return {}; }
bool StartsText(const std::string& subText, const std::string& text) { return {}; }
bool EndsText(const std::string& subText, const std::string& text) { return {}; }
int WordCount(const std::string& s, const std::string& delimiters) { return {}; }
std::string ExtractWord(int n, const std::string& s, const std::string& delimiters) { return {}; }
std::string IntToHex(std::int64_t value, int digits) { return {}; }
std::string QuotedStr(const std::string& s) { return {}; }
std::string StringOfChar(char c, int count) { return {}; }
}

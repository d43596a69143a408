// Text routines of the run time: 1-based positions, clamping copy/delete/insert, trimming, case, words.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvex::base {

// Positions are 1-based as in the run time; 0 means "not found".
// Pos: first occurrence of needle in s; an empty needle is never found.
int Pos(const std::string& needle, const std::string& s);
// PosEx: as Pos, searching from position offset (offset < 1 or past the end gives 0).
int PosEx(const std::string& needle, const std::string& s, int offset = 1);

// Copy: count bytes from index; index < 1 acts as 1, count <= 0 or index past the end gives "".
std::string Copy(const std::string& s, int index, int count);
// Delete: removes up to count bytes from index; nothing when index < 1, index past the end or count <= 0.
void Delete(std::string& s, int index, int count);
// Insert: puts sub into s before index, index clamped into 1..length+1.
void Insert(const std::string& sub, std::string& s, int index);

enum class TReplaceMode {
    All,   // every occurrence, scanning left to right
    FirstOnly,   // the first occurrence only
};
// StringReplace: case-sensitive; an empty oldPattern leaves s unchanged.
std::string StringReplace(const std::string& s, const std::string& oldPattern, const std::string& newPattern,
    TReplaceMode mode = TReplaceMode::All);

// Trimming removes every byte <= ' ' (blanks and control characters), as the run time does.
std::string Trim(const std::string& s);
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);

// ASCII-only case mapping; other bytes (UTF-8 sequences) are left untouched.
std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);
// UTF-8 aware case mapping: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters.
// Invalid bytes are copied unchanged.
std::string AnsiUpperCase(const std::string& s);
std::string AnsiLowerCase(const std::string& s);

// ASCII case-insensitive comparison; CompareText returns <0, 0 or >0 (byte order after folding).
bool SameText(const std::string& a, const std::string& b);
int CompareText(const std::string& a, const std::string& b);
// As SameText/CompareText, folding case with AnsiUpperCase (Cyrillic included).
bool AnsiSameText(const std::string& a, const std::string& b);
int AnsiCompareText(const std::string& a, const std::string& b);

// Prefix/suffix tests; the *Text forms ignore ASCII case. An empty subText always matches.
bool StartsStr(const std::string& subText, const std::string& text);
bool EndsStr(const std::string& subText, const std::string& text);
bool StartsText(const std::string& subText, const std::string& text);
bool EndsText(const std::string& subText, const std::string& text);

// Words are runs of bytes none of which is in delimiters; n counts from 1.
int WordCount(const std::string& s, const std::string& delimiters);
std::string ExtractWord(int n, const std::string& s, const std::string& delimiters);   // "" when there is none

// IntToHex: upper-case hex digits, at least digits wide (zero padded); negative values as two's complement
// of 64 bits (IntToHex(-1, 2) is "FFFFFFFFFFFFFFFF").
std::string IntToHex(std::int64_t value, int digits);
// QuotedStr: s in single quotes, each inner quote doubled.
std::string QuotedStr(const std::string& s);
// StringOfChar: count copies of c; "" for count <= 0.
std::string StringOfChar(char c, int count);

// The first CR or LF of text at or after `from` (the last one before `end`), npos when there is none: a fast scan
// for each of the two bytes, not a look at every byte for either (a long text without line ends costs little).
std::size_t FindLineBreak(std::string_view text, std::size_t from = 0);
std::size_t FindLastLineBreak(std::string_view text);

}

// Utility routines of the skin engine: the CommonSections reader, numbers, rectangles, words, files, messages.
#pragma once

#include "platform/classes/GraphicsTypes.h"

#include <cstdint>
#include <functional>
#include <string>

namespace korvex::classes {
class TIcon;
class TStrings;
class TStringList;
}

namespace korvex::skin {

// ---- CommonSections text -------------------------------------------------------------------------------
// Sections gets one entry per "[name]" line (name as written) whose object is a TStringList of the section's
// lines; Sections is made to own those lists. Empty lines and lines starting with ';' are skipped; lines before
// the first section are dropped.
void ParseCommonSections(const classes::TStrings& lines, classes::TStringList& sections);
// The text after "key=" in the section's line; def when the section or key is missing (both without case).
std::string ReadCommonString(const classes::TStringList& sections, const std::string& sectionName,
    const std::string& def, const std::string& keyName);
// "0x"/"0X" hexadecimal when longer than 2 characters, else decimal or "$" hex; def when not a number.
int ReadCommonInteger(
    const classes::TStringList& sections, const std::string& sectionName, int def, const std::string& keyName);

// ---- Numbers and texts ---------------------------------------------------------------------------------
int ClampToByte(int value);
std::int64_t HexToInt(const std::string& text);   // "1fH" gives 31; stops at the first non-digit
// The system decimal separator is '.'; a text with ',' but no '.' uses ','. Raises EConvertError on a text
// that is no number ("abc", "1e3", "1.5x").
double StrToFloatAnySep(const std::string& text);
bool IsValidFloatText(const std::string& text);
std::string AddThousandSeparators(const std::string& text, bool enabled);
int CombinePercents(int a, int b);   // Round((100 - b) * a / 100 + b)
int LargerOf(int a, int b);
int SmallerOf(int a, int b);
int ClampInt(int value, int lo, int hi);   // lo when below lo, else min(value, hi)
void SwapInts(int& a, int& b);
bool IsBetween(int value, int lo, int hi);
int ChooseInt(bool flag, int a, int b);
std::string ChooseStr(bool flag, const std::string& a, const std::string& b);

// ---- Rectangles ----------------------------------------------------------------------------------------
classes::TRect MakeRect(int left, int top, int right, int bottom);
int RectWidth(const classes::TRect& r);
int RectHeight(const classes::TRect& r);
bool RectsIntersect(const classes::TRect& a, const classes::TRect& b);   // a not empty and overlapping
bool RectIsInside(const classes::TRect& outer, const classes::TRect& inner);   // right/bottom edges count

// ---- Words (positions and word numbers from 1; empty words between delimiters do not count) -----------------
int WordCount(const std::string& text, const std::string& delimiters);
int WordPosition(int n, const std::string& text, const std::string& delimiters);   // 0 when none
std::string ExtractWord(int n, const std::string& text, const std::string& delimiters);   // "" when none
// The text from pos up to the next delimiter; pos moves past that delimiter (beyond the end when none).
std::string NextToken(const std::string& text, int& pos, const std::string& delimiters);
std::string RepeatChar(char c, int n);
std::string TrimSpaces(const std::string& text);
std::string TrimLeftSpaces(const std::string& text);
std::string TrimRightSpaces(const std::string& text);
std::string DeleteChars(const std::string& text, char c);
std::string ReplaceSubstring(const std::string& text, const std::string& oldText, const std::string& newText);
bool ContainsAnyChar(const std::string& text, const std::string& chars);

// ---- Files (Linux paths; "\" separators are read as "/") -----------------------------------------------------
std::string ApplicationFolder();   // the program's folder with a trailing '/'
bool IsValidFileName(const std::string& name);   // not empty, none of <>"[]|
bool FolderExists(const std::string& path);
// There are no 8.3 names here: both give the entry's name as it is on disk (found without case), "" when missing.
std::string GetFileLongName(const std::string& path);
std::string GetFileShortName(const std::string& path);
std::string GetLongPath(const std::string& path);   // every component as it is on disk
std::string GetShortPath(const std::string& path);
// Unchanged when it ends with '/'; a final '\' becomes '/'; a single drive letter gets ":/"; else '/' appended.
std::string EnsureTrailingBackslash(const std::string& path);
// A new icon for a file, the caller's to free; nullptr when the file is missing or has none. The running
// program's own file has the icons built into it (small: SM_CXSMICON wide, else SM_CXICON); a picture file
// (PNG or BMP) the icon class reads is its own icon at either size.
classes::TIcon* GetFileIcon(const std::string& fileName, bool small);
int GetStatusFontHeight();   // lfHeight of the status font
bool IsWindowsXPOrLater();

struct TsTripleAndFlag {
    int A = 0;
    int B = 0;
    int C = 0;
    int Flag = 0;
};
void FillTripleAndFlag(int a, int b, int c, TsTripleAndFlag& record);   // (a, b, c, 1)

// ---- Message boxes over the skinned message dialog ------------------------------------------------------------
enum class TsMessageKind { Confirmation, Warning, Error };
// The skinned dialog is installed by the window layer; returns true for Yes (or OK).
using TsMessageDialogHook = std::function<bool(const std::string& text, TsMessageKind kind)>;
void SetMessageDialogHook(TsMessageDialogHook hook);
bool AskYesNo(const std::string& text);   // false while no dialog is installed
void ShowWarning(const std::string& text);
void ShowError(const std::string& text);

}

// Utility routines of the skin engine.
#include "skin/engine/sUtils.h"

#include "platform/base/FormatSettings.h"
#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"
#include "platform/classes/TIcon.h"
#include "platform/classes/TStringList.h"
#include "platform/os/Files.h"
#include "platform/os/IconTheme.h"
#include "platform/os/MimeTypes.h"
#include "platform/os/Paths.h"
#include "platform/os/ProgramFolder.h"
#include "platform/user/SystemMetrics.h"

#include <algorithm>
#include <memory>

namespace korvex::skin {

using classes::TRect;

// ---- CommonSections text -------------------------------------------------------------------------------

void ParseCommonSections(const classes::TStrings& lines, classes::TStringList& sections) {
    sections.SetOwnsObjects(true);
    sections.Clear();
    classes::TStringList* current = nullptr;
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string line = lines.Strings(i);
        if (line.empty() || line[0] == ';') continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            auto list = std::make_unique<classes::TStringList>();
            current = list.get();
            sections.AddObject(line.substr(1, line.size() - 2), list.release());
        } else if (current != nullptr) {
            current->Add(line);
        }
    }
}

std::string ReadCommonString(const classes::TStringList& sections, const std::string& sectionName,
    const std::string& def, const std::string& keyName) {
    const int s = sections.IndexOf(sectionName);
    if (s < 0) return def;
    const auto* lines = dynamic_cast<const classes::TStrings*>(sections.Objects(s));
    if (lines == nullptr) return def;
    const int k = lines->IndexOfName(keyName);
    if (k < 0) return def;
    const std::string line = lines->Strings(k);
    return keyName.size() + 1 < line.size() ? line.substr(keyName.size() + 1) : std::string();
}

int ReadCommonInteger(
    const classes::TStringList& sections, const std::string& sectionName, int def, const std::string& keyName) {
    const std::string s = ReadCommonString(sections, sectionName, "", keyName);
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        int value = 0;
        return base::TryStrToInt("$" + s.substr(2), value) ? value : def;
    }
    return base::StrToIntDef(s, def);
}

// ---- Numbers and texts ---------------------------------------------------------------------------------

int ClampToByte(int value) {
    return std::clamp(value, 0, 255);
}

std::int64_t HexToInt(const std::string& text) {
    std::string s = base::UpperCase(text);
    if (!s.empty() && s.back() == 'H') s.pop_back();
    std::uint64_t value = 0;
    for (char c : s) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    return static_cast<std::int64_t>(value);
}

namespace {

// Raises EConvertError on a text that is no integer.
std::int64_t DigitsValue(const std::string& s) {
    return base::StrToInt64(s);
}

}

double StrToFloatAnySep(const std::string& text) {
    std::string s = base::Trim(text);
    if (s.empty()) return 0;
    char sep = base::FormatSettings().DecimalSeparator;
    const char other = sep == '.' ? ',' : '.';
    if (s.find(sep) == std::string::npos && s.find(other) != std::string::npos) sep = other;
    if (s[0] == sep) s.insert(s.begin(), '0');
    const std::size_t at = s.find(sep);
    if (at == std::string::npos) return static_cast<double>(DigitsValue(s));
    const bool negative = s[0] == '-';
    std::string intPart = s.substr(0, at);
    if (!intPart.empty() && (intPart[0] == '-' || intPart[0] == '+')) intPart.erase(0, 1);
    std::string frac = s.substr(at + 1, 6);
    double value = static_cast<double>(DigitsValue(intPart.empty() ? "0" : intPart));
    if (!frac.empty()) {
        double scale = 1;
        for (std::size_t i = 0; i < frac.size(); ++i)
            scale *= 10;
        value += static_cast<double>(DigitsValue(frac)) / scale;
    }
    return negative ? -value : value;
}

bool IsValidFloatText(const std::string& text) {
    const char sep = base::FormatSettings().DecimalSeparator;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || c == '+' || c == '-' || c == 'E' || c == 'e' || c == sep)) return false;
    }
    double value = 0;
    return base::TryStrToFloat(text, value);
}

std::string AddThousandSeparators(const std::string& text, bool enabled) {
    if (!enabled) return text;
    std::size_t start = 0;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) start = 1;
    std::size_t end = start;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    std::string digits = text.substr(start, end - start);
    std::string grouped;
    const char sep = base::FormatSettings().ThousandSeparator;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += sep;
        grouped += digits[i];
    }
    return text.substr(0, start) + grouped + text.substr(end);
}

int CombinePercents(int a, int b) {
    return static_cast<int>(base::Round((100.0 - b) * a / 100.0 + b));
}

int LargerOf(int a, int b) {
    return a > b ? a : b;
}
int SmallerOf(int a, int b) {
    return a < b ? a : b;
}
int ClampInt(int value, int lo, int hi) {
    return value < lo ? lo : std::min(value, hi);
}
void SwapInts(int& a, int& b) {
    std::swap(a, b);
}
bool IsBetween(int value, int lo, int hi) {
    return lo <= value && value <= hi;
}
int ChooseInt(bool flag, int a, int b) {
    return flag ? a : b;
}
std::string ChooseStr(bool flag, const std::string& a, const std::string& b) {
    return flag ? a : b;
}

// ---- Rectangles ----------------------------------------------------------------------------------------

TRect MakeRect(int left, int top, int right, int bottom) {
    return TRect {left, top, right, bottom};
}
int RectWidth(const TRect& r) {
    return r.right - r.left;
}
int RectHeight(const TRect& r) {
    return r.bottom - r.top;
}
bool RectsIntersect(const TRect& a, const TRect& b) {
    if (a.right <= a.left || a.bottom <= a.top) return false;
    return std::max(a.left, b.left) < std::min(a.right, b.right)
        && std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}
bool RectIsInside(const TRect& outer, const TRect& inner) {
    auto in = [&](int x, int y) { return outer.left <= x && x <= outer.right && outer.top <= y && y <= outer.bottom; };
    return in(inner.left, inner.top) && in(inner.right, inner.bottom);
}

// ---- Words ---------------------------------------------------------------------------------------------

namespace {

bool IsDelim(char c, const std::string& delimiters) {
    return delimiters.find(c) != std::string::npos;
}

}

int WordCount(const std::string& text, const std::string& delimiters) {
    int count = 0;
    bool inWord = false;
    for (char c : text) {
        if (IsDelim(c, delimiters)) {
            inWord = false;
        } else if (!inWord) {
            inWord = true;
            ++count;
        }
    }
    return count;
}

int WordPosition(int n, const std::string& text, const std::string& delimiters) {
    int count = 0;
    bool inWord = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsDelim(text[i], delimiters)) {
            inWord = false;
        } else if (!inWord) {
            inWord = true;
            if (++count == n) return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

std::string ExtractWord(int n, const std::string& text, const std::string& delimiters) {
    const int pos = WordPosition(n, text, delimiters);
    if (pos == 0) return {};
    std::size_t end = static_cast<std::size_t>(pos - 1);
    while (end < text.size() && !IsDelim(text[end], delimiters))
        ++end;
    return text.substr(static_cast<std::size_t>(pos - 1), end - static_cast<std::size_t>(pos - 1));
}

std::string NextToken(const std::string& text, int& pos, const std::string& delimiters) {
    if (pos < 1) pos = 1;
    std::size_t i = static_cast<std::size_t>(pos - 1);
    if (i >= text.size()) {
        pos = static_cast<int>(text.size()) + 1;
        return {};
    }
    std::size_t end = i;
    while (end < text.size() && !IsDelim(text[end], delimiters))
        ++end;
    pos = static_cast<int>(end) + 2;   // past the delimiter
    return text.substr(i, end - i);
}

std::string RepeatChar(char c, int n) {
    return n < 1 ? std::string() : std::string(static_cast<std::size_t>(n), c);
}

std::string TrimLeftSpaces(const std::string& text) {
    const std::size_t start = text.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : text.substr(start);
}
std::string TrimRightSpaces(const std::string& text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}
std::string TrimSpaces(const std::string& text) {
    return TrimLeftSpaces(TrimRightSpaces(text));
}

std::string DeleteChars(const std::string& text, char c) {
    std::string result = text;
    result.erase(std::remove(result.begin(), result.end(), c), result.end());
    return result;
}

std::string ReplaceSubstring(const std::string& text, const std::string& oldText, const std::string& newText) {
    if (oldText.empty()) return text;
    std::string result;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(oldText, from)) != std::string::npos; from = at + oldText.size())
        result += text.substr(from, at - from) + newText;
    return result + text.substr(from);
}

bool ContainsAnyChar(const std::string& text, const std::string& chars) {
    return !chars.empty() && text.find_first_of(chars) != std::string::npos;
}

// ---- Files ---------------------------------------------------------------------------------------------

std::string ApplicationFolder() {
    return os::IncludeTrailingPathDelimiter(os::ProgramFolder());
}

bool IsValidFileName(const std::string& name) {
    return !name.empty() && name.find_first_of("<>\"[]|") == std::string::npos;
}

bool FolderExists(const std::string& path) {
    return !path.empty() && os::DirectoryExists(path);
}

std::string GetFileLongName(const std::string& path) {
    if (path.empty() || (!os::FileExists(path) && !os::DirectoryExists(path))) return {};
    return os::ExtractFileName(os::ExcludeTrailingPathDelimiter(os::NativePath(path)));
}

std::string GetFileShortName(const std::string& path) {
    return GetFileLongName(path);
}

std::string GetLongPath(const std::string& path) {
    return path.empty() ? path : os::ResolveNoCase(os::MapPath(path));
}

std::string GetShortPath(const std::string& path) {
    return GetLongPath(path);
}

std::string EnsureTrailingBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '/') return path;
    if (!path.empty() && path.back() == '\\') return path.substr(0, path.size() - 1) + "/";
    if (path.size() == 1) return path + ":/";
    return path + "/";
}

namespace {

// The icon the running program carries for one size ("program/icon-16" ...); nullptr when it has none.
std::unique_ptr<classes::TIcon> ProgramFileIcon(bool small) {
    const int size = user::GetSystemMetrics(small ? user::SM_CXSMICON : user::SM_CXICON);
    return classes::LoadEmbeddedIcon("program/icon-" + std::to_string(size));
}

// The desktop icon theme's icon of the file's MIME type; nullptr when the theme has none as PNG.
std::unique_ptr<classes::TIcon> FileTypeIcon(const std::string& fileName, bool small) {
    const int size = user::GetSystemMetrics(small ? user::SM_CXSMICON : user::SM_CXICON);
    const std::vector<std::string> folders = os::DesktopDataFolders();
    const std::string file = os::FindThemeIcon(
        os::MimeIconNames(os::MimeTypeOf(os::ExtractFileName(fileName), false), folders), size, os::DesktopIconTheme(),
        folders);
    auto icon = std::make_unique<classes::TIcon>();
    if (file.empty() || !icon->TryLoadFromFile(file)) return nullptr;
    return icon;
}

}   // namespace

classes::TIcon* GetFileIcon(const std::string& fileName, bool small) {
    if (!os::FileExists(fileName)) return nullptr;
    std::unique_ptr<classes::TIcon> icon;
    if (os::SameFile(fileName, "/proc/self/exe")) {
        icon = ProgramFileIcon(small);
    } else {
        // An icon file shows itself; any other file the icon of its type.
        icon = std::make_unique<classes::TIcon>();
        if (!icon->TryLoadFromFile(fileName)) icon = FileTypeIcon(fileName, small);
    }
    if (icon == nullptr || icon->Empty()) return nullptr;
    return icon.release();
}

int GetStatusFontHeight() {
    user::NONCLIENTMETRICS metrics;
    if (!user::SystemParametersInfo(user::SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics)) return 0;
    return metrics.lfStatusFont.lfHeight;
}

bool IsWindowsXPOrLater() {
    return true;   // the platform layer gives everything the XP look needs
}

void FillTripleAndFlag(int a, int b, int c, TsTripleAndFlag& record) {
    record = TsTripleAndFlag {a, b, c, 1};
}

// ---- Message boxes -------------------------------------------------------------------------------------

namespace {

TsMessageDialogHook& MessageHook() {
    static TsMessageDialogHook hook;
    return hook;
}

}

void SetMessageDialogHook(TsMessageDialogHook hook) {
    MessageHook() = std::move(hook);
}

bool AskYesNo(const std::string& text) {
    return MessageHook() ? MessageHook()(text, TsMessageKind::Confirmation) : false;
}

void ShowWarning(const std::string& text) {
    if (MessageHook()) MessageHook()(text, TsMessageKind::Warning);
}

void ShowError(const std::string& text) {
    if (MessageHook()) MessageHook()(text, TsMessageKind::Error);
}

}
